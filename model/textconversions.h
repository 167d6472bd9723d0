#pragma once

#include <QString>

#include <string>

// Text between the user interface (QString) and the device (byte strings). Qt text always goes
// through Latin-1, one byte per character; characters beyond Latin-1 become '?'.

// The Latin-1 bytes of text.
[[nodiscard]] std::string toStdString(const QString &text);
// Each byte taken as one Latin-1 character.
[[nodiscard]] QString toQString(const std::string &bytes);
// Text typed by the user in the form the device expects: toStdString(), then every byte from
// 0x80 up as its two-byte UTF-8 form.
[[nodiscard]] std::string toDeviceString(const QString &text);
// Text reported by the device: every two-byte UTF-8 sequence of a Latin-1 character becomes
// that character; other bytes are taken as they are.
[[nodiscard]] QString fromDeviceString(const std::string &bytes);
