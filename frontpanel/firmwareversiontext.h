#pragma once

#include <QtGlobal>

#include <string>

// The packed firmware version (major << 16 | minor << 8 | patch, 8 bits each) of a device's
// version text. At most three fields are read from the start; each is a number in decimal (a
// leading zero does not make it octal, so "1.08.0" is 1.8.0), or in hexadecimal after "0x";
// leading blanks and a sign are accepted as the C library's unsigned conversion accepts them.
// Each value is cut to its low 8 bits. After a field exactly one character, whatever it is, is
// skipped as the separator. Reading stops at the end of the text or where no digits follow; the
// fields read until then are kept. An empty text gives 0; "2.00.0.5197" gives 0x020000.
[[nodiscard]] quint32 parseFirmwareVersion(const std::string &text);
