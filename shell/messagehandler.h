#pragma once

#include <QByteArray>
#include <QString>
#include <QTime>
#include <QtGlobal>

class LogFile;

// The process-wide Qt message handler: every debug, warning, critical and fatal message of the
// program and of Qt becomes one line of the main window's rotating log file, and nothing is
// written anywhere else (no console).
//
// A line is the local time "hh:mm:ss.zzz", a seven-character tag (" debug ", " info  " for
// warnings, " error " for critical, " fatal "), the message text and one "\n". In the text,
// control characters but the tab are escaped ("\n", "\r", "\x1b"), and a text above
// kMaxLogTextBytes is cut there with a marker. Other message types (qInfo) are dropped.
//
// Debug lines share a budget of a quarter of what the log files may hold, refilled over a
// minute; lines past it are dropped and counted, and the count is written as one info line once
// debug lines fit again. Warnings and errors always pass.
//
// The handler reaches the log file only through the log-file source: a function that the main
// window's code installs and that returns the main window's LogFile while the main window is
// published (`mainWindow` set), and null otherwise. Until a source is installed, while it returns
// null, and while the log file has no open file, messages are dropped.
//
// The handler may be called from any thread; lines are written one at a time. A message raised
// while the handler itself is writing (for instance by the file layer) is dropped instead of
// recursing.

using LogFileSource = LogFile *(*)();

// The longest message text a line holds.
inline constexpr qsizetype kMaxLogTextBytes = 16 * 1024;

// Installs (or, with nullptr, removes) the function through which the handler finds the log file.
void setLogFileSource(LogFileSource source);

// The handler to pass to qInstallMessageHandler.
void messageHandler(QtMsgType type, const QMessageLogContext &context, const QString &text);

// The line the handler writes for a message, or an empty array for a type it does not log.
[[nodiscard]] QByteArray messageLine(QtMsgType type, const QTime &time, const QByteArray &text);
