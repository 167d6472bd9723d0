#include "shell/messagehandler.h"

#include "shell/logfile.h"

#include <QMutex>
#include <QMutexLocker>

#include <atomic>

namespace {
std::atomic<LogFileSource> s_logFileSource{nullptr};
QMutex s_writeMutex;
thread_local bool t_inHandler = false;

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
    QByteArray line;
    line.reserve(12 + 7 + text.size() + 1);
    line += time.toString(QStringLiteral("hh:mm:ss.zzz")).toLatin1();
    line += tag;
    line += text;
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
        if (log && log->isOpen())
            log->write(messageLine(type, now, text.toLocal8Bit()));
    }
    t_inHandler = false;
}
