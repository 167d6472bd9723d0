#include "link/cryptoprovider.h"

#include "link/libcrypto.h"
#include "link/logtext.h"

#include <climits>
#include <memory>

namespace {

// An object exists only where the table handed it out, so the table is there to release it.
struct MdDeleter
{
    void operator()(EVP_MD *md) const { LibCrypto::functions()->mdFree(md); }
};
struct MdCtxDeleter
{
    void operator()(EVP_MD_CTX *ctx) const { LibCrypto::functions()->mdCtxFree(ctx); }
};
struct CipherDeleter
{
    void operator()(EVP_CIPHER *cipher) const { LibCrypto::functions()->cipherFree(cipher); }
};
struct CipherCtxDeleter
{
    void operator()(EVP_CIPHER_CTX *ctx) const { LibCrypto::functions()->cipherCtxFree(ctx); }
};

using MdPtr = std::unique_ptr<EVP_MD, MdDeleter>;
using MdCtxPtr = std::unique_ptr<EVP_MD_CTX, MdCtxDeleter>;
using CipherPtr = std::unique_ptr<EVP_CIPHER, CipherDeleter>;
using CipherCtxPtr = std::unique_ptr<EVP_CIPHER_CTX, CipherCtxDeleter>;

// EVP counts in int; anything that does not fit is refused rather than truncated.
constexpr size_t kMaxEvpInput = static_cast<size_t>(INT_MAX) - 2 * CryptoProvider::kBlockSize;

// Sets up an AES-128-CBC context with padding on, for enciphering or deciphering.
CipherCtxPtr newAesContext(const LibCrypto::Functions &crypto,
                           const unsigned char *key,
                           const unsigned char *iv,
                           bool encrypt)
{
    CipherPtr cipher(crypto.cipherFetch(nullptr, "AES-128-CBC", nullptr));
    if (!cipher) {
        logWarning(QStringLiteral("CryptoProvider: AES-128-CBC is not available"));
        return {};
    }
    CipherCtxPtr ctx(crypto.cipherCtxNew());
    if (!ctx)
        return {};
    if (crypto.cipherInit(ctx.get(), cipher.get(), key, iv, encrypt ? 1 : 0, nullptr) != 1)
        return {};
    if (crypto.cipherCtxSetPadding(ctx.get(), 1) != 1)
        return {};
    return ctx;
}

} // namespace

bool CryptoProvider::randomBytes(unsigned char *out, size_t length)
{
    if (length == 0)
        return true;
    if (!out || length > static_cast<size_t>(INT_MAX))
        return false;
    const LibCrypto::Functions *crypto = LibCrypto::functions();
    if (!crypto)
        return false;
    if (crypto->randBytes(out, static_cast<int>(length)) != 1) {
        logWarning(QStringLiteral("CryptoProvider: the random generator failed"));
        return false;
    }
    return true;
}

bool CryptoProvider::md5(std::initializer_list<Bytes> parts, unsigned char *digest)
{
    if (!digest)
        return false;
    const LibCrypto::Functions *crypto = LibCrypto::functions();
    if (!crypto)
        return false;
    MdPtr md(crypto->mdFetch(nullptr, "MD5", nullptr));
    if (!md) {
        logWarning(QStringLiteral("CryptoProvider: MD5 is not available"));
        return false;
    }
    MdCtxPtr ctx(crypto->mdCtxNew());
    if (!ctx || crypto->digestInit(ctx.get(), md.get(), nullptr) != 1)
        return false;
    for (const Bytes &part : parts) {
        if (part.size == 0)
            continue;
        if (!part.data || crypto->digestUpdate(ctx.get(), part.data, part.size) != 1)
            return false;
    }
    unsigned int written = 0;
    if (crypto->digestFinal(ctx.get(), digest, &written) != 1 || written != kDigestSize)
        return false;
    return true;
}

bool CryptoProvider::aes128CbcEncrypt(const unsigned char *key,
                                      const unsigned char *iv,
                                      Bytes plain,
                                      std::vector<unsigned char> &cipher)
{
    const auto fail = [&cipher] {
        wipe(cipher);
        cipher.clear();
        return false;
    };
    if (!key || !iv || (!plain.data && plain.size != 0) || plain.size > kMaxEvpInput)
        return fail();
    const LibCrypto::Functions *crypto = LibCrypto::functions();
    if (!crypto)
        return fail();
    CipherCtxPtr ctx = newAesContext(*crypto, key, iv, true);
    if (!ctx)
        return fail();

    // Padding adds 1 to 16 bytes: the output is the input rounded up to the next whole block.
    const size_t offset = cipher.size();
    const size_t room = (plain.size / kBlockSize + 1) * kBlockSize;
    cipher.resize(offset + room);
    unsigned char *out = cipher.data() + offset;

    int updated = 0;
    if (plain.size != 0
        && crypto->encryptUpdate(ctx.get(), out, &updated, plain.data, static_cast<int>(plain.size))
               != 1)
        return fail();
    int finished = 0;
    if (crypto->encryptFinal(ctx.get(), out + updated, &finished) != 1)
        return fail();
    if (static_cast<size_t>(updated) + static_cast<size_t>(finished) != room)
        return fail();
    return true;
}

bool CryptoProvider::aes128CbcDecrypt(const unsigned char *key,
                                      const unsigned char *iv,
                                      Bytes cipher,
                                      std::vector<unsigned char> &plain)
{
    const auto fail = [&plain] {
        wipe(plain);
        plain.clear();
        return false;
    };
    wipe(plain);
    plain.clear();
    if (!key || !iv || !cipher.data || cipher.size == 0 || cipher.size % kBlockSize != 0
        || cipher.size > kMaxEvpInput)
        return fail();
    const LibCrypto::Functions *crypto = LibCrypto::functions();
    if (!crypto)
        return fail();
    CipherCtxPtr ctx = newAesContext(*crypto, key, iv, false);
    if (!ctx)
        return fail();

    // EVP may write up to one block beyond the input length during the update step.
    plain.resize(cipher.size + kBlockSize);
    int updated = 0;
    if (crypto->decryptUpdate(
            ctx.get(), plain.data(), &updated, cipher.data, static_cast<int>(cipher.size))
        != 1)
        return fail();
    int finished = 0;
    if (crypto->decryptFinal(ctx.get(), plain.data() + updated, &finished) != 1)
        return fail();
    const size_t length = static_cast<size_t>(updated) + static_cast<size_t>(finished);
    if (length >= cipher.size + kBlockSize)
        return fail();
    // Wipe the tail before shrinking: it may hold deciphered padding or stale plain text.
    wipe(plain.data() + length, plain.size() - length);
    plain.resize(length);
    return true;
}

void CryptoProvider::wipe(void *data, size_t size)
{
    if (!data || size == 0)
        return;
    if (const LibCrypto::Functions *crypto = LibCrypto::functions()) {
        crypto->cleanse(data, size);
        return;
    }
    // Without the library a failed call still wipes what it touched; volatile stores are not
    // optimised away.
    auto *bytes = static_cast<volatile unsigned char *>(data);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = 0;
}

void CryptoProvider::wipe(std::vector<unsigned char> &bytes)
{
    wipe(bytes.data(), bytes.size());
}
