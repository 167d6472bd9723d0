#include "link/passwordcipher.h"

#include "link/base64codec.h"
#include "link/cryptoprovider.h"
#include "link/libcrypto.h"
#include "link/passwordkeytable.h"

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr size_t kHeadSize = 8;
constexpr size_t kCheckOffset = 8;
constexpr size_t kCheckSize = CryptoProvider::kDigestSize;
constexpr size_t kCipherOffset = kCheckOffset + kCheckSize;
constexpr size_t kMinRecordSize = kCipherOffset + CryptoProvider::kBlockSize; // 40
constexpr int kMinTextLength = 56;
constexpr unsigned char kVersion = 1;

enum HeadByte : size_t {
    VersionByte = 0,
    KeySelector = 1,
    IvSelector = 2,
    FirstDigestSelector = 4,
    SecondDigestSelector = 5,
};

// Writes the check value of `record` (whose cipher text starts at kCipherOffset) to `check`.
bool computeCheckValue(const std::vector<unsigned char> &record, unsigned char *check)
{
    const size_t cipherSize = record.size() - kCipherOffset;
    if (cipherSize > static_cast<size_t>(INT_MAX))
        return false;
    constexpr int kDigestSize = int(CryptoProvider::kDigestSize);
    unsigned char digestA[kDigestSize];
    if (hashWithKey(PasswordKeyTable::entry(record[FirstDigestSelector]),
                    record.data() + kCipherOffset,
                    static_cast<int>(cipherSize),
                    digestA)
        != kDigestSize)
        return false;
    return hashWithKey(
               PasswordKeyTable::entry(record[SecondDigestSelector]), digestA, kDigestSize, check)
           == kDigestSize;
}

} // namespace

int hashWithKey(const unsigned char *key,
                const unsigned char *data,
                int length,
                unsigned char *digest)
{
    if (!key || !digest || length < 0 || (!data && length != 0))
        return -1;
    if (!CryptoProvider::md5(
            {{key, PasswordKeyTable::kEntrySize}, {data, static_cast<size_t>(length)}}, digest))
        return -1;
    return int(CryptoProvider::kDigestSize);
}

int encryptString(const char *data, int length, char **out)
{
    if (!out)
        return -1;
    *out = nullptr;
    if (length < 0 || (!data && length != 0))
        return -1;

    // Refuse values whose text would not fit the int result rather than overflow.
    const uint64_t cipherSize
        = (uint64_t(length) / CryptoProvider::kBlockSize + 1) * CryptoProvider::kBlockSize;
    const uint64_t recordSize = kCipherOffset + cipherSize;
    const size_t textLength = Base64Codec::encodedLength(static_cast<size_t>(recordSize));
    if (textLength == 0 || textLength > static_cast<size_t>(INT_MAX) - 1)
        return -1;

    std::vector<unsigned char> record(kCipherOffset, 0);
    if (!CryptoProvider::randomBytes(record.data(), kHeadSize))
        return -1;
    record[VersionByte]
        = static_cast<unsigned char>((kVersion << 4) | (record[VersionByte] & 0x0F));

    const CryptoProvider::Bytes plain{reinterpret_cast<const unsigned char *>(data),
                                      static_cast<size_t>(length)};
    if (!CryptoProvider::aes128CbcEncrypt(PasswordKeyTable::entry(record[KeySelector]),
                                          PasswordKeyTable::entry(record[IvSelector]),
                                          plain,
                                          record))
        return -1;
    if (record.size() != recordSize)
        return -1;
    if (!computeCheckValue(record, record.data() + kCheckOffset))
        return -1;

    char *text = static_cast<char *>(std::malloc(textLength + 1));
    if (!text)
        return -1;
    Base64Codec::encode(record.data(), record.size(), text);
    text[textLength] = '\0';
    *out = text;
    return static_cast<int>(textLength);
}

int decryptString(const char *data, int length, char **out)
{
    if (!out)
        return -1;
    *out = nullptr;
    if (!data || length < kMinTextLength || length % 4 != 0)
        return -1;

    const std::vector<unsigned char> record
        = Base64Codec::decode(data, static_cast<size_t>(length));
    // Skipped characters can leave less than one whole record, or a cipher text that is not
    // whole blocks; neither can be genuine, so both are refused before any digest is taken.
    if (record.size() < kMinRecordSize)
        return -1;
    const size_t cipherSize = record.size() - kCipherOffset;
    if (cipherSize % CryptoProvider::kBlockSize != 0)
        return -1;
    if ((record[VersionByte] >> 4) != kVersion)
        return -1;

    unsigned char check[kCheckSize];
    if (!computeCheckValue(record, check))
        return -1;
    // Constant time, so the comparison does not tell a forger how much of the value matched.
    // The check value was just computed, so the library is there.
    const LibCrypto::Functions *crypto = LibCrypto::functions();
    if (!crypto || crypto->memcmp(check, record.data() + kCheckOffset, kCheckSize) != 0)
        return -1;

    std::vector<unsigned char> plain;
    if (!CryptoProvider::aes128CbcDecrypt(PasswordKeyTable::entry(record[KeySelector]),
                                          PasswordKeyTable::entry(record[IvSelector]),
                                          {record.data() + kCipherOffset, cipherSize},
                                          plain))
        return -1;

    char *value = static_cast<char *>(std::malloc(plain.size() + 1));
    if (!value) {
        CryptoProvider::wipe(plain);
        return -1;
    }
    if (!plain.empty())
        std::memcpy(value, plain.data(), plain.size());
    value[plain.size()] = '\0';
    const int valueLength = static_cast<int>(plain.size());
    CryptoProvider::wipe(plain);
    *out = value;
    return valueLength;
}
