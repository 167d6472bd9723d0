#include "link/libcrypto.h"

#include "link/logtext.h"

#include <openssl/opensslv.h>

#include <dlfcn.h>

#include <atomic>
#include <type_traits>

#define TALLYDESK_TEXT(x) #x
#define TALLYDESK_NUMBER_TEXT(x) TALLYDESK_TEXT(x)

namespace {

std::atomic<const char *> s_fileName{LibCrypto::kFileName};

// Closes a library handle unless it is released to the table that needs it.
struct HandleCloser
{
    void operator()(void *handle) const { dlclose(handle); }
};

} // namespace

const char *const LibCrypto::kFileName
    = "libcrypto.so." TALLYDESK_NUMBER_TEXT(OPENSSL_VERSION_MAJOR);

std::unique_ptr<LibCrypto::Functions> LibCrypto::open(const char *fileName, std::string *error)
{
    const auto fail = [error](std::string reason) -> std::unique_ptr<Functions> {
        if (error)
            *error = std::move(reason);
        return {};
    };
    if (!fileName || !*fileName)
        return fail("no library name");
    std::unique_ptr<void, HandleCloser> handle(dlopen(fileName, RTLD_NOW | RTLD_LOCAL));
    if (!handle) {
        const char *reason = dlerror();
        return fail(reason ? reason : std::string(fileName) + " cannot be opened");
    }

    auto table = std::make_unique<Functions>();
    std::string missing;
    const auto resolve = [&handle, &missing](auto &slot, const char *name) {
        void *symbol = dlsym(handle.get(), name);
        if (!symbol) {
            if (!missing.empty())
                missing += ", ";
            missing += name;
            return;
        }
        slot = reinterpret_cast<std::remove_reference_t<decltype(slot)>>(symbol);
    };
    // The name looked up is the one whose declared type the slot has.
#define TALLYDESK_RESOLVE(slot, symbol)                                                            \
    static_assert(std::is_same_v<decltype(Functions::slot), decltype(&::symbol)>);                 \
    resolve(table->slot, #symbol)
    TALLYDESK_RESOLVE(mdFetch, EVP_MD_fetch);
    TALLYDESK_RESOLVE(mdFree, EVP_MD_free);
    TALLYDESK_RESOLVE(mdCtxNew, EVP_MD_CTX_new);
    TALLYDESK_RESOLVE(mdCtxFree, EVP_MD_CTX_free);
    TALLYDESK_RESOLVE(digestInit, EVP_DigestInit_ex2);
    TALLYDESK_RESOLVE(digestUpdate, EVP_DigestUpdate);
    TALLYDESK_RESOLVE(digestFinal, EVP_DigestFinal_ex);
    TALLYDESK_RESOLVE(cipherFetch, EVP_CIPHER_fetch);
    TALLYDESK_RESOLVE(cipherFree, EVP_CIPHER_free);
    TALLYDESK_RESOLVE(cipherCtxNew, EVP_CIPHER_CTX_new);
    TALLYDESK_RESOLVE(cipherCtxFree, EVP_CIPHER_CTX_free);
    TALLYDESK_RESOLVE(cipherCtxSetPadding, EVP_CIPHER_CTX_set_padding);
    TALLYDESK_RESOLVE(cipherInit, EVP_CipherInit_ex2);
    TALLYDESK_RESOLVE(encryptUpdate, EVP_EncryptUpdate);
    TALLYDESK_RESOLVE(encryptFinal, EVP_EncryptFinal_ex);
    TALLYDESK_RESOLVE(decryptUpdate, EVP_DecryptUpdate);
    TALLYDESK_RESOLVE(decryptFinal, EVP_DecryptFinal_ex);
    TALLYDESK_RESOLVE(randBytes, RAND_bytes);
    TALLYDESK_RESOLVE(cleanse, OPENSSL_cleanse);
    TALLYDESK_RESOLVE(memcmp, CRYPTO_memcmp);
#undef TALLYDESK_RESOLVE
    if (!missing.empty())
        return fail(std::string(fileName) + " lacks " + missing);

    // The library stays loaded for as long as the process runs: its functions are in the table.
    handle.release();
    return table;
}

const LibCrypto::Functions *LibCrypto::functions()
{
    // A function-local static is initialised exactly once, and other threads wait for it.
    static const std::unique_ptr<Functions> s_table = [] {
        const char *fileName = s_fileName.load();
        std::string error;
        std::unique_ptr<Functions> table = open(fileName, &error);
        if (!table)
            logWarning(QStringLiteral("LibCrypto: cannot use %1: %2")
                           .arg(QString::fromUtf8(fileName ? fileName : ""),
                                QString::fromStdString(error)));
        return table;
    }();
    return s_table.get();
}

void LibCrypto::setFileName(const char *fileName)
{
    s_fileName.store(fileName);
}
