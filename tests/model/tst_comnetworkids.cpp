#include "model/comnetworkids.h"

#include <QtTest>

#include <string>

using Ids = TComNetworkIds;

class tst_ComNetworkIds : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fromText_data();
    void fromText();
    void toText_data();
    void toText();
    void transports();
    void callTransport();
};

// Text form → integer form, family, index and transport kind.
void tst_ComNetworkIds::fromText_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("family");
    QTest::addColumn<int>("transport");

    QTest::newRow("aoip") << QByteArray("aoip") << 0x000 << int(Ids::AoipFamily)
                          << int(Ids::TransportNone);
    QTest::newRow("eth.0") << QByteArray("eth.0") << 0x100 << int(Ids::EthernetFamily)
                           << int(Ids::TransportIp);
    QTest::newRow("isdn.1") << QByteArray("isdn.1") << 0x201 << int(Ids::IsdnFamily)
                            << int(Ids::TransportIsdn);
    QTest::newRow("mobile.1") << QByteArray("mobile.1") << 0x301 << int(Ids::MobileFamily)
                              << int(Ids::TransportIp);
    QTest::newRow("wifi.3") << QByteArray("wifi.3") << 0x403 << int(Ids::WifiFamily)
                            << int(Ids::TransportIp);
    QTest::newRow("wifi.255") << QByteArray("wifi.255") << 0x4FF << int(Ids::WifiFamily)
                              << int(Ids::TransportIp);
    QTest::newRow("prefix alone") << QByteArray("eth.") << 0x100 << int(Ids::EthernetFamily)
                                  << int(Ids::TransportIp);
    QTest::newRow("letters as index")
        << QByteArray("isdn.ab") << 0x200 << int(Ids::IsdnFamily) << int(Ids::TransportIsdn);
    QTest::newRow("fraction cut") << QByteArray("eth.2.7") << 0x102 << int(Ids::EthernetFamily)
                                  << int(Ids::TransportIp);
    // An oversized or negative index stays inside its family.
    QTest::newRow("index 256") << QByteArray("eth.256") << 0x100 << int(Ids::EthernetFamily)
                               << int(Ids::TransportIp);
    QTest::newRow("index 513") << QByteArray("isdn.513") << 0x201 << int(Ids::IsdnFamily)
                               << int(Ids::TransportIsdn);
    QTest::newRow("index -1") << QByteArray("mobile.-1") << 0x3FF << int(Ids::MobileFamily)
                              << int(Ids::TransportIp);

    // Malformed ids.
    const int none = Ids::NoNetwork;
    const int invalid = Ids::InvalidFamily;
    const int noTransport = Ids::TransportNone;
    QTest::newRow("empty") << QByteArray() << none << invalid << noTransport;
    QTest::newRow("no dot") << QByteArray("eth0") << none << invalid << noTransport;
    QTest::newRow("capitals") << QByteArray("ETH.0") << none << invalid << noTransport;
    QTest::newRow("aoip with index") << QByteArray("aoip.1") << none << invalid << noTransport;
    QTest::newRow("aoip capitals") << QByteArray("AOIP") << none << invalid << noTransport;
    QTest::newRow("leading blank") << QByteArray(" eth.0") << none << invalid << noTransport;
    QTest::newRow("unknown family") << QByteArray("pots.0") << none << invalid << noTransport;
    QTest::newRow("truncated prefix") << QByteArray("mobile") << none << invalid << noTransport;
}

void tst_ComNetworkIds::fromText()
{
    QFETCH(QByteArray, text);
    QFETCH(int, id);
    QFETCH(int, family);
    QFETCH(int, transport);

    const std::string network = text.toStdString();
    QCOMPARE(Ids::networkFamily(network), family);
    QCOMPARE(Ids::networkFromString(network), id);
    QCOMPARE(Ids::networkIndex(network), id & 0xFF);
    QCOMPARE(Ids::networkTransport(network), transport);
    QCOMPARE(Ids::networkIdTransport(id), transport);
}

// Integer form → text form and family.
void tst_ComNetworkIds::toText_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("family");

    QTest::newRow("0") << 0x000 << QByteArray("aoip") << 0x000;
    QTest::newRow("aoip ignores index") << 0x005 << QByteArray("aoip") << 0x000;
    QTest::newRow("0x100") << 0x100 << QByteArray("eth.0") << 0x100;
    QTest::newRow("0x2FF") << 0x2FF << QByteArray("isdn.255") << 0x200;
    QTest::newRow("0x301") << 0x301 << QByteArray("mobile.1") << 0x300;
    QTest::newRow("0x403") << 0x403 << QByteArray("wifi.3") << 0x400;
    QTest::newRow("no network") << 0xFFFF << QByteArray() << 0xFFFF;
    QTest::newRow("0x500") << 0x500 << QByteArray() << 0xFFFF;
    QTest::newRow("0x5FF") << 0x5FF << QByteArray() << 0xFFFF;
    QTest::newRow("-1") << -1 << QByteArray() << 0xFFFF;
}

void tst_ComNetworkIds::toText()
{
    QFETCH(int, id);
    QFETCH(QByteArray, text);
    QFETCH(int, family);

    QCOMPARE(QByteArray::fromStdString(Ids::networkToString(id)), text);
    QCOMPARE(Ids::networkIdFamily(id), family);
    QCOMPARE(Ids::networkIdIndex(id), id & 0xFF);
    if (!text.isEmpty() && text != "aoip")
        QCOMPARE(Ids::networkFromString(text.toStdString()), id);
}

void tst_ComNetworkIds::transports()
{
    QCOMPARE(Ids::familyTransport(Ids::AoipFamily), int(Ids::TransportNone));
    QCOMPARE(Ids::familyTransport(Ids::EthernetFamily), int(Ids::TransportIp));
    QCOMPARE(Ids::familyTransport(Ids::IsdnFamily), int(Ids::TransportIsdn));
    QCOMPARE(Ids::familyTransport(Ids::MobileFamily), int(Ids::TransportIp));
    QCOMPARE(Ids::familyTransport(Ids::WifiFamily), int(Ids::TransportIp));
    QCOMPARE(Ids::familyTransport(Ids::InvalidFamily), int(Ids::TransportNone));
    QCOMPARE(Ids::familyTransport(0x500), int(Ids::TransportNone));
    QCOMPARE(Ids::networkIdTransport(0x201), int(Ids::TransportIsdn));
}

void tst_ComNetworkIds::callTransport()
{
    // A mobile voice call (GSM) is voice whatever its network.
    QCOMPARE(Ids::callTransport(3, "isdn.0", Ids::GsmAlgorithm), int(Ids::TransportVoice));
    QCOMPARE(Ids::callTransport(3, "eth.0", Ids::GsmAlgorithm), int(Ids::TransportVoice));
    QCOMPARE(Ids::callTransport(3, "isdn.0", 4), int(Ids::TransportIsdn));
    QCOMPARE(Ids::callTransport(3, "mobile.0", 4), int(Ids::TransportIp));
    QCOMPARE(Ids::callTransport(3, "aoip", 4), int(Ids::TransportNone));
    // Without an id or a network there is no call to classify.
    QCOMPARE(Ids::callTransport(-1, "isdn.0", Ids::GsmAlgorithm), int(Ids::TransportNone));
    QCOMPARE(Ids::callTransport(3, "", Ids::GsmAlgorithm), int(Ids::TransportNone));
}

QTEST_GUILESS_MAIN(tst_ComNetworkIds)
#include "tst_comnetworkids.moc"
