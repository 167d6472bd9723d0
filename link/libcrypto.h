#pragma once

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

#include <memory>
#include <string>

// The part of OpenSSL's libcrypto the program uses, opened at run time rather than linked.
//
// The library is only needed once the user logs in or a password value is enciphered, and
// loading, relocating and initialising it when the program starts costs a noticeable share of
// the time to the first frame. So it is opened with dlopen the first time a crypto function is
// wanted, by the run-time name that matches the headers the program was built against.
//
// Every entry keeps the type the OpenSSL headers declare, so a function whose signature differs
// from what the code calls fails to compile. A table is handed out only when the library opened
// and every function in it resolved; nothing is ever half-resolved. The library is never closed
// once its table has been handed out.
class LibCrypto
{
public:
    struct Functions
    {
        decltype(&::EVP_MD_fetch) mdFetch;
        decltype(&::EVP_MD_free) mdFree;
        decltype(&::EVP_MD_CTX_new) mdCtxNew;
        decltype(&::EVP_MD_CTX_free) mdCtxFree;
        decltype(&::EVP_DigestInit_ex2) digestInit;
        decltype(&::EVP_DigestUpdate) digestUpdate;
        decltype(&::EVP_DigestFinal_ex) digestFinal;
        decltype(&::EVP_CIPHER_fetch) cipherFetch;
        decltype(&::EVP_CIPHER_free) cipherFree;
        decltype(&::EVP_CIPHER_CTX_new) cipherCtxNew;
        decltype(&::EVP_CIPHER_CTX_free) cipherCtxFree;
        decltype(&::EVP_CIPHER_CTX_set_padding) cipherCtxSetPadding;
        decltype(&::EVP_CipherInit_ex2) cipherInit;
        decltype(&::EVP_EncryptUpdate) encryptUpdate;
        decltype(&::EVP_EncryptFinal_ex) encryptFinal;
        decltype(&::EVP_DecryptUpdate) decryptUpdate;
        decltype(&::EVP_DecryptFinal_ex) decryptFinal;
        decltype(&::RAND_bytes) randBytes;
        decltype(&::OPENSSL_cleanse) cleanse;
        decltype(&::CRYPTO_memcmp) memcmp;
    };

    LibCrypto() = delete;

    // The run-time name of the libcrypto the headers describe ("libcrypto.so.3").
    static const char *const kFileName;

    // The program's table: the library is opened on the first call, once, even when several
    // threads ask at the same time. Null when the library or one of its functions is missing;
    // the reason is logged once, and every later call returns null again without retrying.
    [[nodiscard]] static const Functions *functions();

    // Opens `fileName` and resolves every function. Returns null when that fails, with the
    // library closed again and the reason in `*error` (when not null). Not cached.
    [[nodiscard]] static std::unique_ptr<Functions> open(const char *fileName,
                                                         std::string *error = nullptr);

    // The library functions() opens; for tests that must see the program without libcrypto.
    // Only a call made before the first functions() has any effect.
    static void setFileName(const char *fileName);
};
