#include "link/passwordcipher.h"
#include "link/passwordkeytable.h"

#include <openssl/evp.h>

#include <QRegularExpression>
#include <QSet>
#include <QtTest>

#include <cstdlib>
#include <cstring>
#include <memory>

// The records here are also laid out byte by byte with direct OpenSSL calls, so that a shared
// misreading of the record format between the cipher and its test cannot hide.

namespace {

struct CipherCtxFree
{
    void operator()(EVP_CIPHER_CTX *ctx) const { EVP_CIPHER_CTX_free(ctx); }
};

QByteArray tableEntry(unsigned char selector)
{
    return QByteArray(reinterpret_cast<const char *>(PasswordKeyTable::data()) + selector, 16);
}

QByteArray md5(const QByteArray &data)
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    if (EVP_Digest(data.constData(), size_t(data.size()), digest, &size, EVP_md5(), nullptr) != 1)
        return {};
    return QByteArray(reinterpret_cast<const char *>(digest), int(size));
}

QByteArray aes(bool encrypt,
               const QByteArray &key,
               const QByteArray &iv,
               const QByteArray &in,
               bool padding = true)
{
    std::unique_ptr<EVP_CIPHER_CTX, CipherCtxFree> ctx(EVP_CIPHER_CTX_new());
    if (!ctx
        || EVP_CipherInit_ex(ctx.get(),
                             EVP_aes_128_cbc(),
                             nullptr,
                             reinterpret_cast<const unsigned char *>(key.constData()),
                             reinterpret_cast<const unsigned char *>(iv.constData()),
                             encrypt ? 1 : 0)
               != 1)
        return {};
    EVP_CIPHER_CTX_set_padding(ctx.get(), padding ? 1 : 0);
    QByteArray out(in.size() + 32, '\0');
    int n = 0;
    int m = 0;
    auto *o = reinterpret_cast<unsigned char *>(out.data());
    if (EVP_CipherUpdate(ctx.get(),
                         o,
                         &n,
                         reinterpret_cast<const unsigned char *>(in.constData()),
                         int(in.size()))
            != 1
        || EVP_CipherFinal_ex(ctx.get(), o + n, &m) != 1)
        return QByteArray("<failed>");
    out.truncate(n + m);
    return out;
}

QByteArray checkValue(const QByteArray &head, const QByteArray &cipher)
{
    const QByteArray digestA = md5(tableEntry(uchar(head[4])) + cipher);
    return md5(tableEntry(uchar(head[5])) + digestA);
}

// A record with the given 8 head bytes and cipher text, and a check value that fits them.
QByteArray buildRecord(const QByteArray &head, const QByteArray &cipher)
{
    return head + checkValue(head, cipher) + cipher;
}

QByteArray head(int version, int key, int iv, int digest1, int digest2)
{
    const char bytes[8] = {char((version << 4) | 0x7),
                           char(key),
                           char(iv),
                           char(0x5a),
                           char(digest1),
                           char(digest2),
                           char(0xc3),
                           char(0x3c)};
    return QByteArray(bytes, 8);
}

QByteArray encipheredRecord(const QByteArray &headBytes, const QByteArray &value)
{
    const QByteArray cipher
        = aes(true, tableEntry(uchar(headBytes[1])), tableEntry(uchar(headBytes[2])), value);
    return buildRecord(headBytes, cipher);
}

// Runs encryptString; returns the text, or "<-1>" when it failed.
QByteArray encrypt(const QByteArray &value, int *result = nullptr)
{
    char *out = nullptr;
    const int n = encryptString(value.constData(), int(value.size()), &out);
    if (result)
        *result = n;
    if (n < 0)
        return QByteArray("<-1>");
    const QByteArray text(out, n);
    std::free(out);
    return text;
}

struct Opened
{
    int result = -1;
    QByteArray value;
    bool terminated = false;
    bool outNullOnFailure = false;
};

Opened decrypt(const QByteArray &text)
{
    Opened opened;
    char *out = reinterpret_cast<char *>(&opened); // must be overwritten on every path
    opened.result = decryptString(text.constData(), int(text.size()), &out);
    if (opened.result >= 0) {
        opened.value = QByteArray(out, opened.result);
        opened.terminated = out[opened.result] == '\0';
        std::free(out);
    } else {
        opened.outNullOnFailure = out == nullptr;
    }
    return opened;
}

} // namespace

class TestPasswordCipher : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<int>("textLength");
        QByteArray all;
        for (int i = 0; i < 256; ++i)
            all.append(char(i));
        QTest::newRow("empty") << QByteArray() << 56;
        QTest::newRow("1 byte") << QByteArray("x") << 56;
        QTest::newRow("15 bytes") << QByteArray(15, 'a') << 56;
        QTest::newRow("16 bytes") << QByteArray(16, 'b') << 76;
        QTest::newRow("17 bytes") << QByteArray(17, 'c') << 76;
        QTest::newRow("32 bytes") << QByteArray(32, 'd') << 96;
        QTest::newRow("1000 bytes") << QByteArray(1000, 'e') << 1376;
        QTest::newRow("UTF-8") << QStringLiteral("Grüße, Œuvre €").toUtf8() << 76;
        QTest::newRow("Latin-1") << QByteArray("\xe4\xf6\xfc\xdf\xa7") << 56;
        QTest::newRow("inner NUL") << QByteArray("pa\0ss", 5) << 56;
        QTest::newRow("every byte value") << all << 396;
    }

    void roundTrip()
    {
        QFETCH(QByteArray, value);
        QFETCH(int, textLength);

        int result = 0;
        const QByteArray text = encrypt(value, &result);
        QCOMPARE(result, textLength);
        QCOMPARE(text.size(), textLength);
        static const QRegularExpression alphabet(QStringLiteral("^[A-Za-z0-9+/]+={0,2}$"));
        QVERIFY(alphabet.match(QString::fromLatin1(text)).hasMatch());

        // The record follows the published layout: read it back without the cipher's help.
        const QByteArray record = QByteArray::fromBase64(text);
        QCOMPARE(record.size(), 24 + (value.size() / 16 + 1) * 16);
        QCOMPARE(uchar(record[0]) >> 4, 1);
        QCOMPARE(record.mid(8, 16), checkValue(record.left(8), record.mid(24)));
        QCOMPARE(
            aes(false, tableEntry(uchar(record[1])), tableEntry(uchar(record[2])), record.mid(24)),
            value);

        const Opened opened = decrypt(text);
        QCOMPARE(opened.result, int(value.size()));
        QCOMPARE(opened.value, value);
        QVERIFY(opened.terminated);
    }

    void encryptedTextIsNulTerminated()
    {
        char *out = nullptr;
        const int n = encryptString("secret", 6, &out);
        QVERIFY(n > 0);
        QCOMPARE(int(std::strlen(out)), n);
        std::free(out);
    }

    void everyRecordDrawsAFreshHead()
    {
        QSet<QByteArray> texts;
        QSet<char> keySelectors;
        for (int i = 0; i < 32; ++i) {
            const QByteArray text = encrypt("same value");
            texts.insert(text);
            keySelectors.insert(QByteArray::fromBase64(text)[1]);
        }
        QCOMPARE(texts.size(), 32);
        QVERIFY(keySelectors.size() > 1);
    }

    void independentRecordOpens_data()
    {
        QTest::addColumn<QByteArray>("headBytes");
        QTest::addColumn<QByteArray>("value");
        QTest::newRow("selectors at table start") << head(1, 0, 0, 0, 0) << QByteArray("pw");
        QTest::newRow("selectors at table end") << head(1, 255, 255, 255, 255) << QByteArray("pw");
        QTest::newRow("mixed selectors, empty") << head(1, 17, 200, 3, 128) << QByteArray();
        QTest::newRow("mixed selectors, two blocks")
            << head(1, 99, 1, 254, 42) << QByteArray("0123456789abcdefXYZ");
    }

    void independentRecordOpens()
    {
        QFETCH(QByteArray, headBytes);
        QFETCH(QByteArray, value);
        const Opened opened = decrypt(encipheredRecord(headBytes, value).toBase64());
        QCOMPARE(opened.result, int(value.size()));
        QCOMPARE(opened.value, value);
        QVERIFY(opened.terminated);
    }

    // Characters outside the alphabet are skipped, so a valid text survives added line breaks
    // or padding as long as the length rules hold.
    void junkAroundAValidTextIsSkipped_data()
    {
        QTest::addColumn<QByteArray>("text");
        const QByteArray valid = encipheredRecord(head(1, 5, 6, 7, 8), "pass").toBase64();
        QCOMPARE(valid.size(), 56);
        QTest::newRow("line break and padding") << valid + "\r\n==";
        QTest::newRow("junk inside") << valid.left(20) + "!*- " + valid.mid(20);
        QTest::newRow("padding in front") << QByteArray("====") + valid;
    }

    void junkAroundAValidTextIsSkipped()
    {
        QFETCH(QByteArray, text);
        const Opened opened = decrypt(text);
        QCOMPARE(opened.result, 4);
        QCOMPARE(opened.value, QByteArray("pass"));
    }

    void refusedTexts_data()
    {
        QTest::addColumn<QByteArray>("text");
        const QByteArray valid = encipheredRecord(head(1, 10, 20, 30, 40), "pass").toBase64();
        QCOMPARE(valid.size(), 56);

        QTest::newRow("empty") << QByteArray();
        QTest::newRow("55 characters") << valid.left(55);
        QTest::newRow("57 characters") << valid + "A";
        QTest::newRow("58 characters") << valid + "AA";
        QTest::newRow("59 characters") << valid + "AAA";
        QTest::newRow("56 junk characters") << QByteArray(56, '!');
        QTest::newRow("56 padding characters") << QByteArray(56, '=');
        // 52 alphabet characters left: 39 bytes, one short of the smallest record.
        QTest::newRow("39 bytes after skipping") << valid.left(52) + "****";
        QTest::newRow("head only")
            << buildRecord(head(1, 1, 2, 3, 4), {}).toBase64() + QByteArray(24, '=');

        // These carry a check value that fits, so only the other checks can refuse them.
        const QByteArray oneBlock = aes(true, tableEntry(1), tableEntry(2), "pass");
        QTest::newRow("cipher text not whole blocks")
            << buildRecord(head(1, 1, 2, 3, 4), oneBlock + "xyz").toBase64();
        QTest::newRow("version 0") << encipheredRecord(head(0, 1, 2, 3, 4), "pass").toBase64();
        QTest::newRow("version 2") << encipheredRecord(head(2, 1, 2, 3, 4), "pass").toBase64();
        QTest::newRow("version 15") << encipheredRecord(head(15, 1, 2, 3, 4), "pass").toBase64();
        const QByteArray zeroPad
            = aes(true, tableEntry(1), tableEntry(2), QByteArray(16, '\0'), false);
        QTest::newRow("malformed padding") << buildRecord(head(1, 1, 2, 3, 4), zeroPad).toBase64();
        const QByteArray longPad
            = aes(true, tableEntry(1), tableEntry(2), QByteArray(15, 'a') + char(17), false);
        QTest::newRow("padding longer than a block")
            << buildRecord(head(1, 1, 2, 3, 4), longPad).toBase64();
    }

    void refusedTexts()
    {
        QFETCH(QByteArray, text);
        const Opened opened = decrypt(text);
        QCOMPARE(opened.result, -1);
        QVERIFY(opened.outNullOnFailure);
    }

    // The check value guards the cipher text and the digest keys; the version nibble is read
    // before anything else. Flipping any of their bits must refuse the text. The random bytes
    // carry no meaning, so flipping those leaves the value readable.
    void flippedBitsAreRefused()
    {
        const QByteArray value("a value of two blocks");
        const QByteArray record = QByteArray::fromBase64(encrypt(value));
        QCOMPARE(record.size(), 56);

        for (int byte = 0; byte < record.size(); ++byte) {
            if (byte == 1 || byte == 2)
                continue; // AES key and IV selectors lie outside the check value
            for (int bit = 0; bit < 8; ++bit) {
                QByteArray flipped = record;
                flipped[byte] = char(flipped[byte] ^ (1 << bit));
                const Opened opened = decrypt(flipped.toBase64());
                const bool meaningless
                    = (byte == 0 && bit < 4) || byte == 3 || byte == 6 || byte == 7;
                const QByteArray where = QByteArray::number(byte) + "/" + QByteArray::number(bit);
                if (meaningless) {
                    QVERIFY2(opened.value == value, where.constData());
                } else {
                    QVERIFY2(opened.result == -1, where.constData());
                    QVERIFY2(opened.outNullOnFailure, where.constData());
                }
            }
        }
    }

    void badArgumentsAreRefused()
    {
        const QByteArray valid = encrypt("pass");
        char *out = reinterpret_cast<char *>(this);
        QCOMPARE(decryptString(nullptr, 56, &out), -1);
        QCOMPARE(out, nullptr);
        out = reinterpret_cast<char *>(this);
        QCOMPARE(decryptString(valid.constData(), -56, &out), -1);
        QCOMPARE(out, nullptr);
        QCOMPARE(decryptString(valid.constData(), int(valid.size()), nullptr), -1);

        out = reinterpret_cast<char *>(this);
        QCOMPARE(encryptString(nullptr, 3, &out), -1);
        QCOMPARE(out, nullptr);
        out = reinterpret_cast<char *>(this);
        QCOMPARE(encryptString("x", -1, &out), -1);
        QCOMPARE(out, nullptr);
        QCOMPARE(encryptString("x", 1, nullptr), -1);

        // A null value of length 0 is the empty value.
        QVERIFY(encryptString(nullptr, 0, &out) == 56);
        std::free(out);
    }

    void hashWithKeyIsMd5OfKeyThenData()
    {
        const auto *key = reinterpret_cast<const unsigned char *>("0123456789abcdef");
        unsigned char digest[16];
        QCOMPARE(hashWithKey(key, reinterpret_cast<const unsigned char *>("abc"), 3, digest), 16);
        QCOMPARE(QByteArray(reinterpret_cast<char *>(digest), 16).toHex(),
                 QByteArray("f9a30d1bd8d31f9595e97e4a484e9fed"));
        QCOMPARE(hashWithKey(key, nullptr, 0, digest), 16);
        QCOMPARE(QByteArray(reinterpret_cast<char *>(digest), 16).toHex(),
                 QByteArray("4032af8d61035123906e58e067140cc5"));

        QCOMPARE(hashWithKey(nullptr, key, 3, digest), -1);
        QCOMPARE(hashWithKey(key, key, -1, digest), -1);
        QCOMPARE(hashWithKey(key, nullptr, 3, digest), -1);
        QCOMPARE(hashWithKey(key, key, 3, nullptr), -1);
    }
};

QTEST_GUILESS_MAIN(TestPasswordCipher)
#include "tst_passwordcipher.moc"
