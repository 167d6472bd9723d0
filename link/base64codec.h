#pragma once

#include <cstddef>
#include <vector>

// Base64 with the standard alphabet ("A"-"Z", "a"-"z", "0"-"9", "+", "/") and "=" padding.
//
// Encoding is strict and standard. Decoding is lenient in one defined way: every character
// outside the alphabet, the "=" padding among them, is skipped, and the remaining characters
// are read as one run of 6-bit groups; a final group of fewer than 8 bits is dropped. Decoding
// therefore never fails; callers check the length of what comes out.
//
// Stateless; no allocation beyond the returned vector.
class Base64Codec
{
public:
    Base64Codec() = delete;

    // Number of characters encode() writes for `size` input bytes (no terminating NUL), or 0
    // when that number would not fit in size_t.
    [[nodiscard]] static size_t encodedLength(size_t size);

    // Writes encodedLength(size) characters to `out`. Writes no NUL.
    static void encode(const unsigned char *data, size_t size, char *out);

    // Lenient decoding as described above.
    [[nodiscard]] static std::vector<unsigned char> decode(const char *text, size_t length);
};
