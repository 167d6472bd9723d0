#include "shell/logfile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {
// How many further names one second may take ("...ss.001-" to "...ss.999-").
constexpr int kMaxSameSecondNames = 999;
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
    return openNewFile();
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
        if (file->open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Text
                       | QIODevice::Unbuffered)) {
            m_file = std::move(file);
            m_files.append(QFileInfo(path).absoluteFilePath());
            prune();
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
    if (m_maxSize >= 1 && m_file->size() > m_maxSize) {
        m_file->close();
        m_file.reset();
        openNewFile();
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
    while (m_files.size() > m_maxFiles) {
        const QString oldest = m_files.takeFirst();
        if (oldest != current)
            QFile::remove(oldest);
    }
}
