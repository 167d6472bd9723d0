#include "link/valueconversions.h"

#include <QTest>

#include <cmath>
#include <limits>

namespace {

std::string bytes(const QByteArray &data)
{
    return std::string(data.constData(), static_cast<size_t>(data.size()));
}

} // namespace

class tst_ValueConversions : public QObject
{
    Q_OBJECT

private slots:
    void readIntegers_data();
    void readIntegers();
    void readFloat_data();
    void readFloat();
    void writeNumbers();
    void hex_data();
    void hex();
    void hexRoundTrip();
    void utf8ToLatin1_data();
    void utf8ToLatin1();
    void latin1RoundTripOfEveryByte();
    void split();
    void formatDuration_data();
    void formatDuration();
};

void tst_ValueConversions::readIntegers_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("asInt");
    QTest::addColumn<int>("asShort");

    QTest::newRow("empty") << QByteArray() << 0 << 0;
    QTest::newRow("plain") << QByteArray("48000") << 48000 << 32767;
    QTest::newRow("negative") << QByteArray("-7") << -7 << -7;
    QTest::newRow("plus sign") << QByteArray("+12") << 12 << 12;
    QTest::newRow("letter") << QByteArray("12a") << 0 << 0;
    QTest::newRow("hex prefix") << QByteArray("0x10") << 0 << 0;
    QTest::newRow("leading space") << QByteArray(" 5") << 0 << 0;
    QTest::newRow("fraction cut") << QByteArray("1.5") << 1 << 1;
    QTest::newRow("stops at sign") << QByteArray("12-3") << 12 << 12;
    QTest::newRow("no number") << QByteArray(".5") << 0 << 0;
    QTest::newRow("signs only") << QByteArray("+-") << 0 << 0;
    QTest::newRow("saturates high") << QByteArray("99999999999") << 2147483647 << 32767;
    QTest::newRow("saturates low") << QByteArray("-99999999999") << int(-2147483647 - 1) << -32768;
}

void tst_ValueConversions::readIntegers()
{
    QFETCH(QByteArray, text);
    QFETCH(int, asInt);
    QFETCH(int, asShort);
    QCOMPARE(stringToInt(bytes(text)), asInt);
    QCOMPARE(stringToLong(bytes(text)), std::int32_t(asInt));
    QCOMPARE(int(stringToShort(bytes(text))), asShort);
}

void tst_ValueConversions::readFloat_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<float>("expected");

    QTest::newRow("plain") << QByteArray("2.5") << 2.5f;
    QTest::newRow("leading point") << QByteArray("-.5") << -0.5f;
    QTest::newRow("exponent refused") << QByteArray("1e5") << 0.0f;
    QTest::newRow("stops at second point") << QByteArray("1.2.3") << 1.2f;
    QTest::newRow("empty") << QByteArray() << 0.0f;
    QTest::newRow("point only") << QByteArray(".") << 0.0f;
}

void tst_ValueConversions::readFloat()
{
    QFETCH(QByteArray, text);
    QFETCH(float, expected);
    QCOMPARE(stringToFloat(bytes(text)), expected);
}

void tst_ValueConversions::writeNumbers()
{
    QCOMPARE(longToString(-5), std::string("-5"));
    QCOMPARE(longToString(48000), std::string("48000"));
    QCOMPARE(floatToString(0.5f), std::string("0.5"));
    QCOMPARE(floatToString(1234567.0f), std::string("1.23457e+06"));
    QCOMPARE(floatToString(-3.0f), std::string("-3"));
    // A huge number of digits saturates instead of giving infinity or garbage.
    const float huge = stringToFloat("1" + std::string(60, '0'));
    QVERIFY(std::isfinite(huge));
    QCOMPARE(huge, std::numeric_limits<float>::max());
}

void tst_ValueConversions::hex_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<qint32>("signedValue");
    QTest::addColumn<quint32>("unsignedValue");

    QTest::newRow("lower") << QByteArray("ff") << 255 << 255u;
    QTest::newRow("upper") << QByteArray("FF") << 255 << 255u;
    QTest::newRow("prefix refused") << QByteArray("0xFF") << 0 << 0u;
    QTest::newRow("empty") << QByteArray() << 0 << 0u;
    QTest::newRow("sign refused") << QByteArray("-1") << 0 << 0u;
    QTest::newRow("top bit") << QByteArray("FFFFFFFF") << -1 << 0xFFFFFFFFu;
    QTest::newRow("matrix row") << QByteArray("03FFFFFF") << 0x03FFFFFF << 0x03FFFFFFu;
    QTest::newRow("beyond 32 bits saturates") << QByteArray("123456789") << -1 << 0xFFFFFFFFu;
}

void tst_ValueConversions::hex()
{
    QFETCH(QByteArray, text);
    QFETCH(qint32, signedValue);
    QFETCH(quint32, unsignedValue);
    QCOMPARE(hexStringToLong(bytes(text)), signedValue);
    QCOMPARE(hexStringToULong(bytes(text)), unsignedValue);
}

void tst_ValueConversions::hexRoundTrip()
{
    QCOMPARE(longToHexString(10, 4), std::string("000A"));
    QCOMPARE(longToHexString(0, 0), std::string("0"));
    QCOMPARE(longToHexString(0x12345, 2), std::string("12345"));
    QCOMPARE(longToHexString(-1, 4), std::string("FFFFFFFF"));
    QCOMPARE(longToHexString(-2, -3), std::string("FFFFFFFE"));
    QCOMPARE(ulongToHexString(0xABCDEF01u, 10), std::string("00ABCDEF01"));
    for (const std::int32_t value : {0, 1, -1, 0x7FFFFFFF, int(0x80000000), 0x1234ABCD})
        QCOMPARE(hexStringToLong(longToHexString(value, 8)), value);
}

void tst_ValueConversions::utf8ToLatin1_data()
{
    QTest::addColumn<QByteArray>("utf8");
    QTest::addColumn<QByteArray>("latin1");

    QTest::newRow("ascii") << QByteArray("abc") << QByteArray("abc");
    QTest::newRow("e acute") << QByteArray("\xc3\xa9") << QByteArray("\xe9");
    QTest::newRow("no-break space") << QByteArray("\xc2\xa0x") << QByteArray("\xa0x");
    QTest::newRow("lead byte alone at end") << QByteArray("a\xc3") << QByteArray("a\xc3");
    QTest::newRow("lead byte before ascii") << QByteArray("\xc3"
                                                          "a")
                                            << QByteArray("\xc3"
                                                          "a");
    QTest::newRow("euro sign stays") << QByteArray("\xe2\x82\xac") << QByteArray("\xe2\x82\xac");
    QTest::newRow("other two-byte lead stays") << QByteArray("\xc4\x80") << QByteArray("\xc4\x80");
}

void tst_ValueConversions::utf8ToLatin1()
{
    QFETCH(QByteArray, utf8);
    QFETCH(QByteArray, latin1);
    QCOMPARE(QByteArray::fromStdString(::utf8ToLatin1(bytes(utf8))), latin1);
}

void tst_ValueConversions::latin1RoundTripOfEveryByte()
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    const std::string utf8 = latin1ToUtf8(all);
    QCOMPARE(latin1ToUtf8("\xe9"), std::string("\xc3\xa9"));
    QCOMPARE(QString::fromUtf8(utf8.data(), qsizetype(utf8.size())),
             QString::fromLatin1(all.data(), qsizetype(all.size())));
    QCOMPARE(::utf8ToLatin1(utf8), all);
}

void tst_ValueConversions::split()
{
    std::vector<std::string> parts = {"kept"};
    QCOMPARE(::split(",,a,,b,", parts, ","), 3);
    QCOMPARE(parts, (std::vector<std::string>{"kept", "a", "b"}));

    std::list<std::string> items;
    QCOMPARE(splitToList("/MPA2//48000/", items, "/"), 2);
    QCOMPARE(items, (std::list<std::string>{"MPA2", "48000"}));

    items.clear();
    QCOMPARE(splitToList("a b;c", items, " ;"), 3);
    QCOMPARE(splitToList(",,,", items, ","), 3);
    QCOMPARE(splitToList("whole", items, nullptr), 4);
    QCOMPARE(items.back(), std::string("whole"));
}

void tst_ValueConversions::formatDuration_data()
{
    QTest::addColumn<quint64>("seconds");
    QTest::addColumn<QByteArray>("text");

    QTest::newRow("zero") << quint64(0) << QByteArray("00:00:00");
    QTest::newRow("one minute five") << quint64(65) << QByteArray("00:01:05");
    QTest::newRow("mixed") << quint64(3725) << QByteArray("01:02:05");
    QTest::newRow("past a day") << quint64(25 * 3600) << QByteArray("25:00:00");
    QTest::newRow("hundred hours") << quint64(360000) << QByteArray("100:00:00");
    QTest::newRow("largest") << std::numeric_limits<quint64>::max()
                             << QByteArray("5124095576030431:00:15");
}

void tst_ValueConversions::formatDuration()
{
    QFETCH(quint64, seconds);
    QFETCH(QByteArray, text);
    std::string out = "old";
    QCOMPARE(::formatDuration(seconds, out), int(text.size()));
    QCOMPARE(QByteArray::fromStdString(out), text);
}

QTEST_GUILESS_MAIN(tst_ValueConversions)
#include "tst_valueconversions.moc"
