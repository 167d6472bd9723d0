#pragma once

#include <QString>

#include <string>

// Every diagnostic line of the program carries its text in one form: the text in double quotes,
// unescaped, followed by one blank ("\"text\" "). Qt 6's streaming operators escape quotes and
// drop the trailing blank, so all logging goes through these functions instead.

// Returns the text in its logged form: a double quote, the text as it is, a double quote, a blank.
[[nodiscard]] QString logQuoted(const QString &text);

// Whether a debug line would be written now: the default category lets debug lines through and
// the program's message sink takes them. Text that costs something to build (message bodies) is
// built only when this holds; logDebug() drops its line when it does not.
[[nodiscard]] bool logDebugEnabled();
// Told by the program whose message handler writes debug lines only to its log file: false
// while no log file is open. Defaults to true (Qt's own output writes every line).
void setLogDebugWritten(bool written);

void logDebug(const QString &text);
void logWarning(const QString &text);
void logCritical(const QString &text);

// The longest message body a log line shows, in bytes.
inline constexpr std::size_t kMaxLoggedBodyBytes = 4096;

// A message body's text (UTF-8) for a log line: up to kMaxLoggedBodyBytes, cut on a character
// boundary, then " [cut, <size> bytes in all]".
[[nodiscard]] QString logBody(const std::string &text);
