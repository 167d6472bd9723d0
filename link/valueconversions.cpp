#include "link/valueconversions.h"

#include <cstdio>
#include <locale>
#include <sstream>

namespace {

const char kDecimalChars[] = "+-.0123456789";
const char kHexChars[] = "0123456789ABCDEFabcdef";

// Reads a T from the start of text when every character is in allowed, else 0. On a failed read
// the stream stores 0 (nothing read) or the type's limit (out of range), which is what we want.
template<typename T>
T readNumber(const std::string &text, const char *allowed, bool hex)
{
    if (text.empty() || text.find_first_not_of(allowed) != std::string::npos)
        return T(0);
    std::istringstream in(text);
    in.imbue(std::locale::classic());
    if (hex)
        in >> std::hex;
    T value{};
    in >> value;
    return value;
}

std::string hexText(std::uint32_t value, int width)
{
    static const char kDigits[] = "0123456789ABCDEF";
    char digits[8];
    int count = 0;
    do {
        digits[count++] = kDigits[value & 0xFu];
        value >>= 4;
    } while (value != 0);

    std::string out;
    if (width > count)
        out.assign(static_cast<size_t>(width - count), '0');
    while (count > 0)
        out += digits[--count];
    return out;
}

template<typename Container>
int splitInto(const std::string &text, Container &out, const char *delimiters)
{
    const std::string delimiterSet = delimiters ? std::string(delimiters) : std::string();
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t begin = text.find_first_not_of(delimiterSet, pos);
        if (begin == std::string::npos)
            break;
        size_t end = text.find_first_of(delimiterSet, begin);
        if (end == std::string::npos)
            end = text.size();
        out.push_back(text.substr(begin, end - begin));
        pos = end;
    }
    return static_cast<int>(out.size());
}

} // namespace

std::string longToString(long value)
{
    return std::to_string(value);
}

int stringToInt(const std::string &text)
{
    return readNumber<int>(text, kDecimalChars, false);
}

std::int32_t stringToLong(const std::string &text)
{
    return readNumber<std::int32_t>(text, kDecimalChars, false);
}

short stringToShort(const std::string &text)
{
    return readNumber<short>(text, kDecimalChars, false);
}

float stringToFloat(const std::string &text)
{
    return readNumber<float>(text, kDecimalChars, false);
}

std::string floatToString(float value)
{
    std::ostringstream out;
    out.imbue(std::locale::classic());
    out << static_cast<double>(value);
    return out.str();
}

std::string longToHexString(std::int32_t value, int width)
{
    return hexText(static_cast<std::uint32_t>(value), width);
}

std::string ulongToHexString(std::uint32_t value, int width)
{
    return hexText(value, width);
}

std::int32_t hexStringToLong(const std::string &text)
{
    return static_cast<std::int32_t>(hexStringToULong(text));
}

std::uint32_t hexStringToULong(const std::string &text)
{
    return readNumber<std::uint32_t>(text, kHexChars, true);
}

std::string utf8ToLatin1(const std::string &text)
{
    std::string out;
    out.reserve(text.size());
    const size_t size = text.size();
    for (size_t i = 0; i < size; ++i) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if ((lead == 0xC2 || lead == 0xC3) && i + 1 < size) {
            const auto follower = static_cast<unsigned char>(text[i + 1]);
            if ((follower & 0xC0) == 0x80) {
                const unsigned base = lead == 0xC2 ? 0x80u : 0xC0u;
                out += static_cast<char>(base + (follower & 0x3Fu));
                ++i;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

std::string latin1ToUtf8(const std::string &text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 4);
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xC0u | (byte >> 6));
            out += static_cast<char>(0x80u | (byte & 0x3Fu));
        }
    }
    return out;
}

int split(const std::string &text, std::vector<std::string> &out, const char *delimiters)
{
    return splitInto(text, out, delimiters);
}

int splitToList(const std::string &text, std::list<std::string> &out, const char *delimiters)
{
    return splitInto(text, out, delimiters);
}

int formatDuration(const quint64 &seconds, std::string &out)
{
    const unsigned long long hours = seconds / 3600;
    const unsigned long long minutes = (seconds % 3600) / 60;
    const unsigned long long rest = seconds % 60;
    char buffer[48];
    const int length
        = std::snprintf(buffer, sizeof buffer, "%.2llu:%.2llu:%.2llu", hours, minutes, rest);
    out.assign(buffer, length > 0 ? static_cast<size_t>(length) : 0);
    return static_cast<int>(out.size());
}
