#pragma once

#include <cstddef>
#include <initializer_list>
#include <vector>

// The few cryptographic primitives the password-value cipher needs: random bytes, MD5 and
// AES-128 in CBC mode with a raw key and PKCS #5 padding. Backed by OpenSSL's EVP interface,
// opened on first use (LibCrypto); no OpenSSL type appears here. Where libcrypto cannot be
// opened, every function fails as it would on a failed primitive, and wipe() still wipes.
//
// All functions are stateless and reentrant. Failures are reported through the bool result,
// never by exceptions; on failure output vectors are wiped and left empty. Every OpenSSL object
// that a call creates is released before it returns, on every path.
class CryptoProvider
{
public:
    static constexpr size_t kDigestSize = 16;
    static constexpr size_t kKeySize = 16;
    static constexpr size_t kBlockSize = 16;

    // A borrowed run of bytes; `data` may be null only when `size` is 0.
    struct Bytes
    {
        const unsigned char *data;
        size_t size;
    };

    CryptoProvider() = delete;

    // Fills `out` with `length` bytes from the cryptographically strong generator.
    [[nodiscard]] static bool randomBytes(unsigned char *out, size_t length);

    // MD5 over the concatenation of `parts`; writes kDigestSize bytes to `digest`.
    [[nodiscard]] static bool md5(std::initializer_list<Bytes> parts, unsigned char *digest);

    // Enciphers `plain` under the kKeySize-byte `key` and kBlockSize-byte `iv`, padding it to
    // whole blocks (an input of whole blocks gains one full block of padding), and APPENDS the
    // cipher text to `cipher`, so a caller can lay it behind a header it has already written.
    // On failure `cipher` is wiped and cleared.
    [[nodiscard]] static bool aes128CbcEncrypt(const unsigned char *key,
                                               const unsigned char *iv,
                                               Bytes plain,
                                               std::vector<unsigned char> &cipher);

    // Deciphers `cipher` (whole blocks) and strips the padding into `plain`, replacing its
    // content. Fails on a length that is not whole blocks or on malformed padding; `plain` is
    // then wiped and cleared. The caller should wipe `plain` (wipe()) when done with it.
    [[nodiscard]] static bool aes128CbcDecrypt(const unsigned char *key,
                                               const unsigned char *iv,
                                               Bytes cipher,
                                               std::vector<unsigned char> &plain);

    // Overwrites the bytes in a way the compiler will not optimise away.
    static void wipe(void *data, size_t size);
    static void wipe(std::vector<unsigned char> &bytes);
};
