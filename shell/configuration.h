#pragma once

#include "shell/knowndevice.h"
#include "shell/recentdevice.h"

#include <QList>
#include <QMap>
#include <QString>

class QIODevice;

// The program's settings and its two device lists, kept in one XML file ("Tallydesk.xml").
//
// Plain value class, no signals. The settings and lists are public fields: the known-device
// dialogs edit `knownDevices` directly, keyed by the address's text form
// (QHostAddress::toString()). The file name is fixed at construction.
//
// Reading replaces both lists and takes each setting the file gives validly; bad content is
// skipped silently and reading still succeeds. Writing replaces the file atomically: when it
// fails, the previous file stays whole. Failures to open report a critical message.
class Configuration
{
public:
    explicit Configuration(const QString &fileName);

    QString fileName() const { return m_fileName; }

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

    // The lowest port from baseDatagramPort upward that no recent device uses.
    [[nodiscard]] int nextDatagramPort() const;
    // Puts the connection at the head of the recent list, dropping older entries for the same
    // address and entries beyond maxDevices. The file is not written.
    bool addRecentDevice(const RecentDevice &device);

    // Replaces the lists (and the settings the file gives) with the file's content. False only
    // when the file cannot be opened; the store is then unchanged.
    bool readConfiguration();
    // Writes the whole store to the file anew. False when the file cannot be written.
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
    QString m_fileName;
};
