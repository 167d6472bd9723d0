#pragma once

#include <QtGlobal>

#include <cstdint>
#include <list>
#include <string>
#include <vector>

// Conversions between numbers and the device's protocol text, between the device's UTF-8 and the
// program's Latin-1 byte strings, and token splitting. Free functions without state; texts are
// byte strings. Numbers are written and read in the "C" locale whatever the process locale is.
//
// The number readers accept only a restricted character set and otherwise give 0; within it they
// read a number from the start of the text like an input string stream does (reading stops at the
// first character that cannot continue the number; no number at all gives 0; a number beyond the
// result type saturates at its limit).

// Decimal text of the value ("-5", "48000").
[[nodiscard]] std::string longToString(long value);

// 0 when text is empty or holds any character outside "+-.0123456789"; otherwise the integer read
// from the start ("1.5" gives 1, "12-3" gives 12).
[[nodiscard]] int stringToInt(const std::string &text);
[[nodiscard]] std::int32_t stringToLong(const std::string &text);
[[nodiscard]] short stringToShort(const std::string &text);
// The same check and reading for a float ("1e5" gives 0: "e" is not accepted).
[[nodiscard]] float stringToFloat(const std::string &text);
// The value widened to double, in the default stream format (six significant digits: "0.5",
// "1.23457e+06").
[[nodiscard]] std::string floatToString(float value);

// Upper-case hexadecimal, filled with "0" on the left to at least width characters. A negative
// value is written as its 32-bit two's complement ("FFFFFFFF" for -1).
[[nodiscard]] std::string longToHexString(std::int32_t value, int width);
[[nodiscard]] std::string ulongToHexString(std::uint32_t value, int width);
// 0 when text is empty or holds any character outside "0123456789ABCDEFabcdef" (so "0xFF" gives
// 0); otherwise read as hexadecimal, saturating at 0xFFFFFFFF. The signed reader takes those 32
// bits as two's complement, so it reads back what longToHexString() writes.
[[nodiscard]] std::int32_t hexStringToLong(const std::string &text);
[[nodiscard]] std::uint32_t hexStringToULong(const std::string &text);

// Each two-byte UTF-8 sequence of a Latin-1 character (lead byte 0xC2 or 0xC3, then a
// continuation byte) becomes that one byte; every other byte, including those of longer UTF-8
// sequences, is copied unchanged.
[[nodiscard]] std::string utf8ToLatin1(const std::string &text);
// Bytes below 0x80 are copied; each byte from 0x80 up becomes its two-byte UTF-8 form.
[[nodiscard]] std::string latin1ToUtf8(const std::string &text);

// Appends every maximal run of characters that are not in delimiters, in order (empty runs
// vanish); returns the container's size afterwards.
int split(const std::string &text, std::vector<std::string> &out, const char *delimiters);
int splitToList(const std::string &text, std::list<std::string> &out, const char *delimiters);

// out := hours, minutes and seconds as "hh:mm:ss", each field at least two digits and the hours
// not wrapped ("00:01:05", "100:00:00"); returns the length of out.
int formatDuration(const quint64 &seconds, std::string &out);
