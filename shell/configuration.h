#pragma once

#include "shell/knowndevice.h"
#include "shell/recentdevice.h"

#include <QList>
#include <QMap>
#include <QSet>
#include <QString>

class QIODevice;
class QXmlStreamAttributes;

// The program's settings and its two device lists, kept in one XML file ("Tallydesk.xml").
//
// Plain value class, no signals. The settings and lists are public fields: the known-device
// dialogs edit `knownDevices` directly, keyed by the address's text form
// (QHostAddress::toString()). The file name is fixed at construction.
//
// Reading replaces both lists and takes each setting the file gives validly; bad content is
// skipped silently and reading still succeeds. A bad byte or an XML error costs only the record
// it is in: the records before it and every whole record tag behind it are still taken. After a
// read that met such a fault (or a file above kMaxFileBytes) the next write first copies the
// file as it was to unreadableFileName() and logs so. A file that is there but cannot be opened
// for reading is never written over: writes are refused (readError() says why) until a read
// succeeds or the file is gone, and the store's changes stay in memory only. Writing replaces the
// file atomically: when it fails, the previous file stays whole. Failures to open report a
// critical message; a path that is not a regular file (a FIFO, a directory) counts as a missing
// file.
class Configuration
{
public:
    // The most of a file that is read; the rest counts as a fault.
    static constexpr qint64 kMaxFileBytes = 64 * 1024 * 1024;

    explicit Configuration(const QString &fileName);

    QString fileName() const { return m_fileName; }
    // Where the next write keeps a file that read with faults: the file name plus ".bad".
    QString unreadableFileName() const { return m_fileName + QStringLiteral(".bad"); }
    // The last read met a fault and the next write will keep the file it read.
    bool keepsUnreadableFile() const { return !m_unreadableDigest.isEmpty(); }
    // The file's error text when the file is there but the last read could not open it; empty
    // after a read that succeeded or found no file, and after a write that succeeded. While it
    // is set, writeConfiguration() refuses to replace the file.
    QString readError() const { return m_readError; }
    // Why the last write failed; empty when it succeeded or none was made yet.
    QString writeError() const { return m_writeError; }

    // The first recent entry with this address; a miss gives a null address, port 7001 and
    // datagram port 0.
    [[nodiscard]] RecentDevice findRecentDevice(const QHostAddress &address) const;
    // The known entry under this address's text; a miss gives a null address, port 7001, an
    // empty name and audioLevels false.
    [[nodiscard]] KnownDevice findKnownDevice(const QHostAddress &address) const;

    // Gives the known device at this address the connection's port and transport. False for an
    // invalid record or an address that is not known.
    bool updateKnownDevice(const RecentDevice &device);
    // Adds a known device without a name; false for an invalid record or a known address.
    bool addKnownDevice(const RecentDevice &device);
    // Adds the record as it is; false for a null address, a port below 1 or a known address.
    bool addKnownDevice(const KnownDevice &device);

    // The lowest port from baseDatagramPort upward that no recent device uses. Past 65535 the
    // search goes on from 1024 (the first port bound without privileges) up to the base; with
    // every one of them in use it gives the base. Always a UDP port, 2 to 65535 (1 stands for
    // levels over TCP).
    [[nodiscard]] int nextDatagramPort() const;
    // Puts the connection at the head of the recent list, dropping older entries for the same
    // address and entries beyond maxDevices. The file is not written.
    bool addRecentDevice(const RecentDevice &device);

    // Replaces the lists (and the settings the file gives) with the file's content. False only
    // when the file cannot be opened; the store is then unchanged.
    bool readConfiguration();
    // Writes the whole store to the file anew. False when the file cannot be written, or when
    // it is there and could not be read (see readError()).
    bool writeConfiguration();

    // The reading step of readConfiguration, on an already open device.
    void readConfiguration(QIODevice &device);
    // The document writeConfiguration writes.
    [[nodiscard]] QByteArray toXml() const;

    int logMaxSize = 512;                    // KB per log file
    int logMaxFiles = 25;                    // log files kept
    int maxDevices = 10;                     // recent devices kept
    int defaultPort = 7001;                  // TCP port offered for a new device
    int baseDatagramPort = 3000;             // first local UDP port tried for level meters
    QList<RecentDevice> recentDevices;       // most recent first
    QMap<QString, KnownDevice> knownDevices; // keyed by address text

private:
    void takeLogger(const QXmlStreamAttributes &attributes);
    void takeKnownDevice(const QXmlStreamAttributes &attributes);
    void takeRecentList(const QXmlStreamAttributes &attributes);
    void takeRecentDevice(const QXmlStreamAttributes &attributes, QSet<QString> &addresses);
    void recoverFrom(const QString &text,
                     qsizetype position,
                     int section,
                     bool accepted,
                     QSet<QString> &recentAddresses);
    bool keepUnreadableFile();

    QString m_fileName;
    // Hash of the file content of a read that met a fault; empty otherwise.
    QByteArray m_unreadableDigest;
    QString m_readError;
    QString m_writeError;
};
