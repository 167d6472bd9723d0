#include "frontpanel/firmwareversiontext.h"

#include <cstdint>
#include <limits>

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int digitValue(char c, int base)
{
    int value = -1;
    if (c >= '0' && c <= '9')
        value = c - '0';
    else if (c >= 'a' && c <= 'f')
        value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        value = c - 'A' + 10;
    return value < base ? value : -1;
}

// Reads one field at pos the way strtoul() reads an unsigned number, except that a leading
// zero means decimal. False, with pos unchanged, when no digits follow; else the value (an
// overflow gives the largest value, a minus sign the negation, as strtoul() does) and pos just
// behind the digits.
bool readField(const std::string &text, size_t &pos, std::uint64_t &value)
{
    size_t at = pos;
    while (at < text.size() && isBlank(text[at]))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    }
    int base = 10;
    if (at + 2 < text.size() && text[at] == '0' && (text[at + 1] == 'x' || text[at + 1] == 'X')
        && digitValue(text[at + 2], 16) >= 0) {
        base = 16;
        at += 2;
    }
    if (at >= text.size() || digitValue(text[at], base) < 0)
        return false;

    constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
    std::uint64_t result = 0;
    bool overflow = false;
    for (; at < text.size(); ++at) {
        const int digit = digitValue(text[at], base);
        if (digit < 0)
            break;
        if (result > (kMax - std::uint64_t(digit)) / std::uint64_t(base))
            overflow = true;
        else
            result = result * std::uint64_t(base) + std::uint64_t(digit);
    }
    if (overflow)
        result = kMax;
    else if (negative)
        result = std::uint64_t(0) - result;
    value = result;
    pos = at;
    return true;
}

} // namespace

quint32 parseFirmwareVersion(const std::string &text)
{
    quint32 packed = 0;
    size_t pos = 0;
    for (int shift = 16; shift >= 0; shift -= 8) {
        std::uint64_t value = 0;
        if (!readField(text, pos, value))
            break;
        packed |= quint32(value & 0xFFu) << shift;
        if (pos >= text.size())
            break;
        ++pos; // the separator, whatever it is
    }
    return packed;
}
