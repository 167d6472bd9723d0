#include "link/base64codec.h"

#include <cstdint>
#include <limits>

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// The 6-bit value of an alphabet character, or -1 for any other byte.
int sextet(unsigned char c)
{
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '+')
        return 62;
    if (c == '/')
        return 63;
    return -1;
}

} // namespace

size_t Base64Codec::encodedLength(size_t size)
{
    const size_t groups = size / 3 + (size % 3 != 0 ? 1 : 0);
    if (groups > std::numeric_limits<size_t>::max() / 4)
        return 0;
    return groups * 4;
}

void Base64Codec::encode(const unsigned char *data, size_t size, char *out)
{
    size_t i = 0;
    for (; i + 3 <= size; i += 3) {
        const uint32_t triple
            = (uint32_t(data[i]) << 16) | (uint32_t(data[i + 1]) << 8) | uint32_t(data[i + 2]);
        *out++ = kAlphabet[(triple >> 18) & 0x3F];
        *out++ = kAlphabet[(triple >> 12) & 0x3F];
        *out++ = kAlphabet[(triple >> 6) & 0x3F];
        *out++ = kAlphabet[triple & 0x3F];
    }
    const size_t rest = size - i;
    if (rest == 0)
        return;
    uint32_t triple = uint32_t(data[i]) << 16;
    if (rest == 2)
        triple |= uint32_t(data[i + 1]) << 8;
    *out++ = kAlphabet[(triple >> 18) & 0x3F];
    *out++ = kAlphabet[(triple >> 12) & 0x3F];
    *out++ = rest == 2 ? kAlphabet[(triple >> 6) & 0x3F] : '=';
    *out++ = '=';
}

std::vector<unsigned char> Base64Codec::decode(const char *text, size_t length)
{
    std::vector<unsigned char> bytes;
    if (!text)
        return bytes;
    bytes.reserve(length / 4 * 3 + 3);
    uint32_t bits = 0;
    int bitCount = 0;
    for (size_t i = 0; i < length; ++i) {
        const int value = sextet(static_cast<unsigned char>(text[i]));
        if (value < 0)
            continue;
        // Only the bits not yet emitted matter; at most 13 of them are ever pending.
        bits = ((bits << 6) | uint32_t(value)) & 0xFFFF;
        bitCount += 6;
        if (bitCount >= 8) {
            bitCount -= 8;
            bytes.push_back(static_cast<unsigned char>((bits >> bitCount) & 0xFF));
        }
    }
    return bytes;
}
