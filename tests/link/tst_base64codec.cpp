#include "link/base64codec.h"

#include <QtTest>

namespace {

QByteArray encoded(const QByteArray &bytes)
{
    const size_t size = Base64Codec::encodedLength(size_t(bytes.size()));
    QByteArray text(qsizetype(size), '\0');
    Base64Codec::encode(reinterpret_cast<const unsigned char *>(bytes.constData()),
                        size_t(bytes.size()),
                        text.data());
    return text;
}

QByteArray decoded(const QByteArray &text)
{
    const std::vector<unsigned char> bytes
        = Base64Codec::decode(text.constData(), size_t(text.size()));
    return QByteArray(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size()));
}

} // namespace

class TestBase64Codec : public QObject
{
    Q_OBJECT

private slots:
    void standardVectors_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("empty") << QByteArray() << QByteArray();
        QTest::newRow("f") << QByteArray("f") << QByteArray("Zg==");
        QTest::newRow("fo") << QByteArray("fo") << QByteArray("Zm8=");
        QTest::newRow("foo") << QByteArray("foo") << QByteArray("Zm9v");
        QTest::newRow("foob") << QByteArray("foob") << QByteArray("Zm9vYg==");
        QTest::newRow("fooba") << QByteArray("fooba") << QByteArray("Zm9vYmE=");
        QTest::newRow("foobar") << QByteArray("foobar") << QByteArray("Zm9vYmFy");
        QTest::newRow("high bits")
            << QByteArray("\xff\xfe\xfb\x00\x3e", 5) << QByteArray("//77AD4=");
    }

    void standardVectors()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, text);
        QCOMPARE(encoded(bytes), text);
        QCOMPARE(decoded(text), bytes);
    }

    void agreesWithQtOnEveryByteValue()
    {
        QByteArray all;
        for (int i = 0; i < 256; ++i)
            all.append(char(i));
        for (int cut = 0; cut < 4; ++cut) {
            const QByteArray bytes = all.left(all.size() - cut);
            QCOMPARE(encoded(bytes), bytes.toBase64());
            QCOMPARE(decoded(bytes.toBase64()), bytes);
        }
    }

    // Everything outside the alphabet is skipped wherever it stands, padding included; what
    // remains is read as one run, and a trailing group of fewer than 8 bits is dropped.
    void lenientDecoding_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("padding missing") << QByteArray("TWE") << QByteArray("Ma");
        QTest::newRow("padding inside") << QByteArray("T=W=F=u=") << QByteArray("Man");
        QTest::newRow("padding first") << QByteArray("====TWFu") << QByteArray("Man");
        QTest::newRow("too much padding") << QByteArray("TQ======") << QByteArray("M");
        QTest::newRow("blanks and newlines") << QByteArray(" TW\r\nFu\t") << QByteArray("Man");
        QTest::newRow("url-safe letters are junk") << QByteArray("-_TWFu") << QByteArray("Man");
        QTest::newRow("NUL and high bytes") << QByteArray("T\0W\x80\xff"
                                                          "Fu",
                                                          7)
                                            << QByteArray("Man");
        QTest::newRow("one lone character") << QByteArray("T") << QByteArray();
        QTest::newRow("two characters") << QByteArray("TW") << QByteArray("M");
        QTest::newRow("five characters") << QByteArray("TWFuT") << QByteArray("Man");
        QTest::newRow("only junk") << QByteArray("!!!!====") << QByteArray();
        QTest::newRow("nonzero spare bits") << QByteArray("TR==") << QByteArray("M");
    }

    void lenientDecoding()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(decoded(text), bytes);
    }

    void nullTextDecodesToNothing() { QVERIFY(Base64Codec::decode(nullptr, 8).empty()); }
};

QTEST_GUILESS_MAIN(TestBase64Codec)
#include "tst_base64codec.moc"
