#include "shell/messagehandler.h"

#include "shell/logfile.h"

#include <QElapsedTimer>
#include <QMutex>
#include <QMutexLocker>

#include <algorithm>
#include <atomic>

namespace {
std::atomic<LogFileSource> s_logFileSource{nullptr};
QMutex s_writeMutex;
thread_local bool t_inHandler = false;

// The bytes of debug lines the log takes in one burst: a quarter of everything the log files
// may hold, refilled over a minute. A flood of messages from the unit so cannot push the earlier
// files (the connect and login lines) out; warnings and errors are never held back.
class DebugBudget
{
public:
    // True when a debug line of this many bytes may be written now. note receives the line that
    // tells how many were dropped before, once writing resumes.
    bool admit(const LogFile &log, qint64 bytes, QByteArray &note)
    {
        if (log.maxSize() < 1 || log.maxFiles() < 1)
            return true;
        const qint64 capacity = std::max<qint64>(log.maxSize() * log.maxFiles() / 4, 4096);
        if (!m_clock.isValid()) {
            m_clock.start();
            m_tokens = capacity;
        } else {
            // The clock restarts only once a whole byte has come in, so that frequent lines
            // do not round every refill down to nothing.
            const qint64 refill = capacity * m_clock.elapsed() / 60000;
            if (refill > 0) {
                m_tokens = std::min(capacity, m_tokens + refill);
                m_clock.restart();
            }
        }
        if (m_tokens < bytes) {
            ++m_dropped;
            return false;
        }
        m_tokens -= bytes;
        if (m_dropped > 0) {
            note = QByteArray::number(m_dropped) + " debug lines dropped in a burst";
            m_dropped = 0;
        }
        return true;
    }

private:
    QElapsedTimer m_clock;
    qint64 m_tokens = 0;
    qint64 m_dropped = 0;
};
DebugBudget s_debugBudget;

// Control characters as visible escapes: text from the unit must not start a line of its own
// or reach a terminal as control codes. Tabs stay.
void appendEscaped(QByteArray &line, const QByteArray &text)
{
    static const char hex[] = "0123456789abcdef";
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if ((u >= 0x20 && u != 0x7f) || u == '\t') {
            line += c;
        } else if (u == '\n') {
            line += "\\n";
        } else if (u == '\r') {
            line += "\\r";
        } else {
            line += "\\x";
            line += hex[u >> 4];
            line += hex[u & 0xf];
        }
    }
}

const char *tagFor(QtMsgType type)
{
    switch (type) {
    case QtDebugMsg:
        return " debug ";
    case QtWarningMsg:
        return " info  ";
    case QtCriticalMsg:
        return " error ";
    case QtFatalMsg:
        return " fatal ";
    default:
        return nullptr;
    }
}
} // namespace

void setLogFileSource(LogFileSource source)
{
    s_logFileSource.store(source);
}

QByteArray messageLine(QtMsgType type, const QTime &time, const QByteArray &text)
{
    const char *tag = tagFor(type);
    if (!tag)
        return QByteArray();
    const bool cut = text.size() > kMaxLogTextBytes;
    const QByteArray shown = cut ? text.left(kMaxLogTextBytes) : text;
    QByteArray line;
    line.reserve(12 + 7 + shown.size() + 48);
    line += time.toString(QStringLiteral("hh:mm:ss.zzz")).toLatin1();
    line += tag;
    appendEscaped(line, shown);
    if (cut)
        line += " [cut, " + QByteArray::number(text.size()) + " bytes in all]";
    line += '\n';
    return line;
}

void messageHandler(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    if (t_inHandler)
        return;
    t_inHandler = true;
    const QTime now = QTime::currentTime();
    if (tagFor(type)) {
        QMutexLocker locker(&s_writeMutex);
        const LogFileSource source = s_logFileSource.load();
        LogFile *log = source ? source() : nullptr;
        if (log && log->isOpen()) {
            const QByteArray line = messageLine(type, now, text.toLocal8Bit());
            QByteArray note;
            if (type != QtDebugMsg || s_debugBudget.admit(*log, line.size(), note)) {
                if (!note.isEmpty())
                    log->write(messageLine(QtWarningMsg, now, note));
                log->write(line);
            }
        }
    }
    t_inHandler = false;
}
