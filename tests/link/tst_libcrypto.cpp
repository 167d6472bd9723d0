#include "link/cryptoprovider.h"
#include "link/libcrypto.h"
#include "link/passwordcipher.h"

#include <QFile>
#include <QtTest>

#include <string>
#include <vector>

// This test does not link libcrypto, like the program: the library must be absent until it is
// opened, and the program must fail cleanly where it cannot be opened.

namespace {

const char kMissingLibrary[] = "libtallydesk-no-such-crypto.so.0";

QStringList s_warnings;

void collectWarnings(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    if (type == QtWarningMsg)
        s_warnings.append(text);
}

bool libcryptoMapped()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly))
        return true;
    return maps.readAll().contains(QByteArrayLiteral("/libcrypto.so"));
}

} // namespace

class TestLibCrypto : public QObject
{
    Q_OBJECT

private slots:
    void notLoadedAtStart() { QVERIFY(!libcryptoMapped()); }

    void openResolvesAllOrNothing_data()
    {
        QTest::addColumn<QByteArray>("fileName");
        QTest::addColumn<bool>("opens");
        QTest::addColumn<QString>("reason");
        QTest::newRow("libcrypto") << QByteArray(LibCrypto::kFileName) << true << QString();
        // A library that opens but has none of the functions: nothing may be handed out.
        QTest::newRow("other library") << QByteArray("libm.so.6") << false
                                       << QStringLiteral("lacks EVP_MD_fetch, EVP_MD_free");
        QTest::newRow("missing") << QByteArray(kMissingLibrary) << false
                                 << QString::fromLatin1(kMissingLibrary);
        QTest::newRow("no name") << QByteArray() << false << QStringLiteral("no library name");
    }

    void openResolvesAllOrNothing()
    {
        QFETCH(QByteArray, fileName);
        QFETCH(bool, opens);
        QFETCH(QString, reason);
        std::string error;
        const std::unique_ptr<LibCrypto::Functions> table
            = LibCrypto::open(fileName.constData(), &error);
        QCOMPARE(bool(table), opens);
        if (!opens) {
            QVERIFY2(QString::fromStdString(error).contains(reason), error.c_str());
            return;
        }
        QVERIFY(libcryptoMapped());
        // The resolved functions are the library's: MD5("abc") through the table.
        EVP_MD *md = table->mdFetch(nullptr, "MD5", nullptr);
        QVERIFY(md);
        EVP_MD_CTX *ctx = table->mdCtxNew();
        unsigned char digest[16];
        unsigned int size = 0;
        const bool digested = ctx && table->digestInit(ctx, md, nullptr) == 1
                              && table->digestUpdate(ctx, "abc", 3) == 1
                              && table->digestFinal(ctx, digest, &size) == 1;
        table->mdCtxFree(ctx);
        table->mdFree(md);
        QVERIFY(digested);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(digest), int(size)).toHex(),
                 QByteArray("900150983cd24fb0d6963f7d28e17f72"));
    }

    // Must run last: the program's table is settled by its first use.
    void missingLibraryFailsEveryCall()
    {
        LibCrypto::setFileName(kMissingLibrary);
        s_warnings.clear();
        const QtMessageHandler previous = qInstallMessageHandler(&collectWarnings);

        const unsigned char key[16] = {1, 2, 3};
        const unsigned char iv[16] = {4, 5, 6};
        const unsigned char text[] = "secret";
        for (int round = 0; round < 2; ++round) {
            unsigned char random[8] = {};
            QVERIFY(!CryptoProvider::randomBytes(random, sizeof random));
            unsigned char digest[16];
            QVERIFY(!CryptoProvider::md5({{text, 6}}, digest));

            std::vector<unsigned char> cipher{0xAA, 0xBB};
            QVERIFY(!CryptoProvider::aes128CbcEncrypt(key, iv, {text, 6}, cipher));
            QVERIFY(cipher.empty());
            std::vector<unsigned char> block(16, 0x11);
            std::vector<unsigned char> plain{0xCC};
            QVERIFY(!CryptoProvider::aes128CbcDecrypt(key, iv, {block.data(), 16}, plain));
            QVERIFY(plain.empty());

            QCOMPARE(hashWithKey(key, text, 6, digest), -1);
            char *out = reinterpret_cast<char *>(&out);
            QCOMPARE(encryptString("secret", 6, &out), -1);
            QVERIFY(!out);
            const QByteArray record(56, 'A');
            out = reinterpret_cast<char *>(&out);
            QCOMPARE(decryptString(record.constData(), int(record.size()), &out), -1);
            QVERIFY(!out);
        }
        std::vector<unsigned char> secret{1, 2, 3, 4};
        CryptoProvider::wipe(secret);
        QCOMPARE(secret, std::vector<unsigned char>(4, 0));

        qInstallMessageHandler(previous);
        QVERIFY(!LibCrypto::functions());
        // The reason is given once, not on every call.
        QCOMPARE(s_warnings.size(), 1);
        QVERIFY2(s_warnings.first().contains(QString::fromLatin1(kMissingLibrary)),
                 qPrintable(s_warnings.first()));
    }
};

QTEST_GUILESS_MAIN(TestLibCrypto)
#include "tst_libcrypto.moc"
