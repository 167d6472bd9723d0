#include "link/passwordcipher.h"

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

// Feeds arbitrary texts to decryptString, and arbitrary values through encryptString and back.
// Any crash, leak, sanitizer report or failed round trip is a finding.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > static_cast<size_t>(INT_MAX))
        return 0;
    const char *text = reinterpret_cast<const char *>(data);
    const int length = static_cast<int>(size);

    char *value = nullptr;
    const int opened = decryptString(text, length, &value);
    if (opened >= 0) {
        if (!value || value[opened] != '\0')
            std::abort();
        std::free(value);
    } else if (value) {
        std::abort();
    }

    char *cipherText = nullptr;
    const int enciphered = encryptString(text, length, &cipherText);
    if (enciphered < 56 || !cipherText || std::strlen(cipherText) != size_t(enciphered))
        std::abort();
    char *plain = nullptr;
    const int reopened = decryptString(cipherText, enciphered, &plain);
    if (reopened != length || !plain || std::memcmp(plain, text, size) != 0)
        std::abort();
    std::free(plain);
    std::free(cipherText);
    return 0;
}
