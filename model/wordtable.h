#pragma once

#include <array>
#include <cstddef>
#include <string>

// Lookups in the fixed word tables of device values, in which a value is the index of its word.

// The index of text in words (exact, case-sensitive), or fallback when it is none of them.
template<std::size_t N>
[[nodiscard]] int
wordIndex(const std::array<std::string, N> &words, const std::string &text, int fallback = -1)
{
    for (std::size_t i = 0; i < N; ++i) {
        if (words[i] == text)
            return static_cast<int>(i);
    }
    return fallback;
}

// The word of value, or the word at fallbackIndex for a value outside the table.
template<std::size_t N>
[[nodiscard]] const std::string &
wordAt(const std::array<std::string, N> &words, int value, std::size_t fallbackIndex = 0)
{
    static_assert(N > 0, "a word table needs at least one word");
    if (value < 0 || value >= static_cast<int>(N))
        return words[fallbackIndex < N ? fallbackIndex : 0];
    return words[static_cast<std::size_t>(value)];
}
