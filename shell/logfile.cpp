#include "shell/logfile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <sys/file.h>
#endif

namespace {
// How many further names one second may take ("...ss.001-" to "...ss.999-").
constexpr int kMaxSameSecondNames = 999;
// After a failed roll-over the next attempt waits this long; the current file goes on meanwhile.
constexpr qint64 kRollRetryMs = 1000;

// The file being written is locked, so that another instance sharing the directory knows to
// leave it alone when it prunes. Elsewhere than on Unix an open file cannot be deleted anyway.
void lockForWriting(QFile &file)
{
#ifdef Q_OS_UNIX
    (void)::flock(file.handle(), LOCK_EX | LOCK_NB);
#else
    Q_UNUSED(file)
#endif
}

// True when some instance (this one included) writes the file at the moment.
bool isBeingWritten(const QString &path)
{
#ifdef Q_OS_UNIX
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    if (::flock(file.handle(), LOCK_EX | LOCK_NB) != 0)
        return true;
    (void)::flock(file.handle(), LOCK_UN);
#else
    Q_UNUSED(path)
#endif
    return false;
}
} // namespace

LogFile::LogFile(const QString &baseName)
    : m_baseName(baseName)
{}

LogFile::~LogFile()
{
    m_files.clear();
    if (m_file)
        m_file->close();
}

void LogFile::setMaxSize(qint64 bytes)
{
    m_maxSize = bytes;
}

void LogFile::setMaxFiles(int count)
{
    if (count == m_maxFiles)
        return;
    if (count >= 1) {
        m_maxFiles = count;
        if (m_file)
            prune();
    } else {
        m_maxFiles = -1;
    }
}

bool LogFile::isOpen() const
{
    return m_file != nullptr;
}

QString LogFile::currentFileName() const
{
    return m_file ? m_file->fileName() : QString();
}

bool LogFile::open(const QString &directory)
{
    if (m_file)
        return false;
    QDir dir(directory);
    if (!dir.exists() && !dir.mkpath(QStringLiteral(".")))
        return false;
    m_directory = directory;

    m_files.clear();
    const QString suffix = QLatin1Char('-') + m_baseName + QLatin1String(".log");
    const QFileInfoList entries
        = dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        // Names are compared case-sensitively whatever the file system does; a symbolic link
        // counts only when it leads to a regular file.
        if (entry.isFile() && entry.fileName().endsWith(suffix, Qt::CaseSensitive))
            m_files.append(entry.absoluteFilePath());
    }
    std::sort(m_files.begin(), m_files.end());
    if (!openNewFile())
        return false;
    prune();
    return true;
}

bool LogFile::openNewFile()
{
    if (m_file)
        return false;
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyMMddThhmmss"));
    const QString stem = m_directory + QLatin1Char('/') + stamp;
    const QString tail = QLatin1Char('-') + m_baseName + QLatin1String(".log");

    for (int n = 0; n <= kMaxSameSecondNames; ++n) {
        const QString path = n == 0 ? stem + tail
                                    : stem + QLatin1Char('.')
                                          + QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0'))
                                          + tail;
        const QFileInfo info(path);
        if (info.exists() || info.isSymLink())
            continue;
        auto file = std::make_unique<QFile>(path);
        // NewOnly refuses an existing file, so an earlier log of the same name is never truncated
        // even when it appears between the check above and this call.
        // The log may hold what the unit sends and what the user types: owner only.
        if (file->open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Text
                           | QIODevice::Unbuffered,
                       QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
            lockForWriting(*file);
            m_file = std::move(file);
            m_files.append(QFileInfo(path).absoluteFilePath());
            return true;
        }
        if (!QFileInfo::exists(path))
            return false;
    }
    return false;
}

void LogFile::write(const QByteArray &bytes)
{
    if (!m_file)
        return;
    m_file->write(bytes);
    if (m_maxSize < 1 || m_file->size() <= m_maxSize)
        return;
    if (m_rollFailed.isValid() && !m_rollFailed.hasExpired(kRollRetryMs))
        return;
    // The new file is made before the old one closes: when no name is free (every name of this
    // second taken) the log goes on in the old file rather than closing for the rest of the run.
    std::unique_ptr<QFile> previous = std::move(m_file);
    if (openNewFile()) {
        m_rollFailed.invalidate();
        previous->close();
        previous.reset();
        prune();
    } else {
        m_file = std::move(previous);
        m_rollFailed.start();
    }
}

void LogFile::writeLine(const QByteArray &line)
{
    QByteArray bytes;
    bytes.reserve(line.size() + 1);
    bytes += line;
    bytes += '\n';
    write(bytes);
}

void LogFile::prune()
{
    if (m_maxFiles < 1)
        return;
    const QString current = m_file ? QFileInfo(m_file->fileName()).absoluteFilePath() : QString();
    // Oldest first; a file another running instance writes is passed over and stays listed.
    qsizetype index = 0;
    while (m_files.size() > m_maxFiles && index < m_files.size()) {
        const QString &oldest = m_files.at(index);
        if (oldest == current || isBeingWritten(oldest)) {
            ++index;
            continue;
        }
        QFile::remove(oldest);
        m_files.removeAt(index);
    }
}
