#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>
#include <QStringList>

#include <memory>

class QFile;

// Writes finished log lines into files in one directory, starting a new file once the current one
// has grown past a size limit and deleting the oldest files beyond a file limit.
//
// Files are named "yyMMddThhmmss-<baseName>.log" after their local creation time, so ordering by
// name orders them by age. A file whose timestamped name already exists (a restart or roll-over
// within the same second) gets a counter instead: "yyMMddThhmmss.001-<baseName>.log", which sorts
// after the plain name. An existing file is never truncated, and the file being written is never
// deleted, nor is a file that another running instance writes in the same directory (the file
// being written is locked). When no name is free at a roll-over the log goes on in the current
// file and tries again a second later. Files are created readable and writable by the owner
// only.
//
// Plain class, no signals, not thread-safe: the message handler serialises its calls. Owns its
// open file; the destructor closes it and deletes nothing on disk. Nothing is reported on
// failure, since this is where reports go: a failed open or roll-over leaves the log closed.
class LogFile
{
public:
    explicit LogFile(const QString &baseName);
    ~LogFile();
    LogFile(const LogFile &) = delete;
    LogFile &operator=(const LogFile &) = delete;

    // Size limit in bytes; below 1 means no limit. Takes effect at the next write.
    void setMaxSize(qint64 bytes);
    qint64 maxSize() const { return m_maxSize; }

    // Most log files to keep, the current one included; below 1 stores -1 (no limit). Lowering
    // the limit while a file is open prunes at once.
    void setMaxFiles(int count);
    int maxFiles() const { return m_maxFiles; }

    // Creates the directory if needed, learns the log files already there and opens a new file.
    // Returns false when a file is already open or the directory or file cannot be made.
    [[nodiscard]] bool open(const QString &directory);
    bool isOpen() const;

    // Writes the bytes unbuffered; rolls over to a new file once the size passes the limit.
    void write(const QByteArray &bytes);
    void writeLine(const QByteArray &line);

    QString directory() const { return m_directory; }
    // Paths of this log's files, oldest first; the current file is the last entry.
    QStringList files() const { return m_files; }
    // Path of the file being written, empty while closed.
    QString currentFileName() const;

private:
    bool openNewFile();
    void prune();

    // Started when a roll-over found no free name; invalid otherwise.
    QElapsedTimer m_rollFailed;
    qint64 m_maxSize = -1;
    int m_maxFiles = -1;
    std::unique_ptr<QFile> m_file;
    const QString m_baseName;
    QString m_directory;
    QStringList m_files;
};
