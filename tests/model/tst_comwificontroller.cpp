#include "model/comwificontroller.h"

#include "link/cmsg.h"
#include "tests/model/linkedfake.h"

#include <QtTest>

#include <limits>

namespace {

using Strings = std::vector<std::string>;

const QString kNet = QStringLiteral("network");
const QString kWifi0 = QStringLiteral("wifi.0");

// "Café" as the device writes it (UTF-8), and a name in Cyrillic ("Студия").
const QByteArray kUtf8Ssid = "Caf\xC3\xA9";
const std::string kDeviceSsid = kUtf8Ssid.toStdString();
const std::string kCyrillicSsid = "\xD0\xA1\xD1\x82\xD1\x83\xD0\xB4\xD0\xB8\xD1\x8F";

ksm::CMsg message(int type,
                  const std::string &typeKey,
                  const std::string &typeWord,
                  const std::string &sourceKey,
                  const std::string &source)
{
    ksm::CMsg msg(type);
    msg.setParam(typeKey, typeWord);
    msg.setParam(sourceKey, source);
    return msg;
}

} // namespace

class tst_ComWifiController : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void authenticationWords_data();
    void authenticationWords();
    void signalLevels_data();
    void signalLevels();
    void receivedTexts();
    void setterWireWords_data();
    void setterWireWords();
    void settersKeepValueOnRefusal();
    void textsOnTheWire();
    void readAllKeysByFirmware_data();
    void readAllKeysByFirmware();
    void readAppliesValues();
    void writeSendsOnlyKnownValues();
    void ssidList();
    void networkInfo();
    void events();
    void assignmentAndReset();

private:
    LinkedFake m_link;
};

void tst_ComWifiController::init()
{
    QVERIFY(m_link.start());
}

void tst_ComWifiController::cleanup()
{
    m_link.stop();
}

void tst_ComWifiController::authenticationWords_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QByteArray>("word");

    QTest::newRow("none") << 0 << QByteArray("none");
    QTest::newRow("auto") << 1 << QByteArray("auto");
    QTest::newRow("WEP") << 2 << QByteArray("WEP");
    QTest::newRow("WPA-PSK") << 3 << QByteArray("WPA-PSK");
    QTest::newRow("WPA2-PSK") << 4 << QByteArray("WPA2-PSK");
}

void tst_ComWifiController::authenticationWords()
{
    QFETCH(int, value);
    QFETCH(QByteArray, word);

    QCOMPARE(QByteArray::fromStdString(TComWifiController::authenticationText(value)), word);
    QCOMPARE(TComWifiController::authenticationFromText(word.toStdString()), value);

    QCOMPARE(TComWifiController::authenticationText(7), std::string("none"));
    QCOMPARE(TComWifiController::authenticationText(-1), std::string("none"));
    QCOMPARE(TComWifiController::authenticationFromText(""), 0);
    QCOMPARE(TComWifiController::authenticationFromText("WPA3-SAE"), 0);
    QCOMPARE(TComWifiController::authenticationFromText("wep"), 0);
}

void tst_ComWifiController::signalLevels_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("dbm");

    QTest::newRow("-60") << QByteArray("-60") << 26 << -60;
    QTest::newRow("-60 dBm") << QByteArray("-60 dBm") << 26 << -60;
    QTest::newRow("-60dBm") << QByteArray("-60dBm") << 26 << -60;
    QTest::newRow("-73") << QByteArray("-73") << 20 << -73;
    QTest::newRow("-51") << QByteArray("-51") << 31 << -51;
    QTest::newRow("-113") << QByteArray("-113") << 0 << -113;
    QTest::newRow("-114: below the scale") << QByteArray("-114") << 0 << -114;
    QTest::newRow("-200 dBm") << QByteArray("-200 dBm") << 0 << -200;
    QTest::newRow("-30: above the scale") << QByteArray("-30") << 31 << -30;
    QTest::newRow("0: no reading") << QByteArray("0") << 0 << 0;
    QTest::newRow("0 dBm") << QByteArray("0 dBm") << 0 << 0;
    QTest::newRow("empty") << QByteArray() << 0 << 0;
    QTest::newRow("unit only") << QByteArray(" dBm") << 0 << 0;
    QTest::newRow("junk") << QByteArray("weak") << 0 << 0;
    QTest::newRow("huge") << QByteArray("99999999999") << 31 << std::numeric_limits<int>::max();
    QTest::newRow("huge negative")
        << QByteArray("-99999999999") << 0 << std::numeric_limits<int>::min();
}

void tst_ComWifiController::signalLevels()
{
    QFETCH(QByteArray, text);
    QFETCH(int, level);
    QFETCH(int, dbm);

    QCOMPARE(TComWifiController::signalLevelFromText(text.toStdString()), level);
    TComWifiController wifi(m_link.com.get());
    QVERIFY(wifi.applySignalQuality("-80"));
    QVERIFY(wifi.applySignalQuality(text.toStdString()));
    QCOMPARE(wifi.signalLevel(), level);
    QCOMPARE(TComWifiController::signalDbmFromText(text.toStdString()), dbm);
    QCOMPARE(wifi.signalDbm(), dbm);
}

void tst_ComWifiController::receivedTexts()
{
    TComWifiController wifi(m_link.com.get());
    const struct
    {
        const char *text;
        int state;
    } states[] = {{"failure", 1}, {"processing", 2}, {"active", 3}, {"", 0}, {"Active", 0}};
    for (const auto &row : states) {
        QVERIFY(wifi.applyDataConnectionState("processing"));
        QVERIFY(wifi.applyDataConnectionState(row.text));
        QCOMPARE(wifi.dataConnectionState(), row.state);
    }
    QVERIFY(wifi.applyDataConnection("on"));
    QVERIFY(wifi.dataConnection());
    QVERIFY(wifi.applyDataConnection("yes"));
    QVERIFY(!wifi.dataConnection());
    QVERIFY(wifi.applyCustomAuthentication("WPA2-PSK"));
    QCOMPARE(wifi.customAuthentication(), int(TComWifiController::AuthWpa2Psk));
    QVERIFY(wifi.applyAuthentication("none"));
    QCOMPARE(wifi.authentication(), 0);
    QVERIFY(wifi.applyNetworkQuality("middle"));
    QCOMPARE(wifi.networkQuality(), 3);
    QVERIFY(wifi.applyAjbProfile("?"));
    QCOMPARE(wifi.ajbProfile(), 1);
    QVERIFY(wifi.applyLocalAddress("10.0.0.9"));
    QCOMPARE(wifi.localAddress(), std::string("10.0.0.9"));
    QCOMPARE(m_link.fake->requestCount(), 0);
}

void tst_ComWifiController::setterWireWords_data()
{
    QTest::addColumn<QString>("setter");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("pair");

    QTest::newRow("ssid") << "ssid"
                          << "home" << QByteArray("ssid:home;");
    QTest::newRow("custom ssid") << "ssid_custom"
                                 << "hidden" << QByteArray("ssid_custom:hidden;");
    QTest::newRow("auth") << "authentication"
                          << "3" << QByteArray("authentication:WPA-PSK;");
    QTest::newRow("auth 7") << "authentication"
                            << "7" << QByteArray("authentication:none;");
    QTest::newRow("auth -1") << "authentication"
                             << "-1" << QByteArray();
    QTest::newRow("custom auth") << "authentication_custom"
                                 << "2" << QByteArray("authentication_custom:WEP;");
    QTest::newRow("passphrase") << "passphrase"
                                << "a;b\\c" << QByteArray("passphrase:a\\;b\\\\c;");
    QTest::newRow("data on") << "data_connection"
                             << "1" << QByteArray("data_connection:on;");
    QTest::newRow("quality") << "network_quality"
                             << "1" << QByteArray("network_quality:bad;");
    QTest::newRow("quality -1") << "network_quality"
                                << "-1" << QByteArray();
    QTest::newRow("profile") << "ajb_profile"
                             << "0" << QByteArray("ajb_profile:safe;");
    QTest::newRow("profile -1") << "ajb_profile"
                                << "-1" << QByteArray();
}

void tst_ComWifiController::setterWireWords()
{
    QFETCH(QString, setter);
    QFETCH(QString, value);
    QFETCH(QByteArray, pair);

    TComWifiController wifi(m_link.com.get());
    QVERIFY(wifi.setNetwork("wifi.0", 0, false));
    QVERIFY(wifi.setNetworkQuality(4, false));
    QVERIFY(wifi.setAjbProfile(2, false));
    QVERIFY(wifi.setAuthentication(1, false));

    const std::string text = value.toStdString();
    const int number = value.toInt();
    bool done = false;
    if (setter == "ssid")
        done = wifi.setSsid(text, true);
    else if (setter == "ssid_custom")
        done = wifi.setCustomSsid(text, true);
    else if (setter == "authentication")
        done = wifi.setAuthentication(number, true) && wifi.authentication() == number;
    else if (setter == "authentication_custom")
        done = wifi.setCustomAuthentication(number, true);
    else if (setter == "passphrase")
        done = wifi.setPassphrase(text, true) && wifi.passphrase() == text;
    else if (setter == "data_connection")
        done = wifi.setDataConnection(number, true) && wifi.dataConnection();
    else if (setter == "network_quality")
        done = wifi.setNetworkQuality(number, true) && wifi.networkQuality() == number;
    else if (setter == "ajb_profile")
        done = wifi.setAjbProfile(number, true) && wifi.ajbProfile() == number;
    QVERIFY(done);

    // The network sorts between the key and the target.
    QList<QByteArray> expected;
    if (!pair.isEmpty()) {
        const QByteArray network = "network:wifi.0;";
        expected << (pair < network ? "PARAM;" + pair + network + "target:network;"
                                    : "PARAM;" + network + pair + "target:network;");
    }
    QCOMPARE(m_link.bodies(), expected);
}

void tst_ComWifiController::settersKeepValueOnRefusal()
{
    TComWifiController wifi(m_link.com.get());
    QVERIFY(wifi.setNetwork("wifi.0", 0, false));
    QVERIFY(wifi.setSsid("home", true));
    m_link.fake->clearLog();
    QVERIFY(wifi.setSsid("home", true));
    QCOMPARE(m_link.fake->requestCount(), 0);

    m_link.fake->refuseKey(QStringLiteral("ssid"), QStringLiteral("105-invalid value"));
    m_link.fake->refuseKey(QStringLiteral("data_connection"), QStringLiteral("116-invalid state"));
    QVERIFY(!wifi.setSsid("other", true));
    QVERIFY(!wifi.setDataConnection(true, true));
    QCOMPARE(wifi.ssid(), std::string("home"));
    QVERIFY(!wifi.dataConnection());
}

void tst_ComWifiController::textsOnTheWire()
{
    TComWifiController wifi(m_link.com.get());
    QVERIFY(wifi.setNetwork("wifi.0", 0, false));
    QVERIFY(wifi.setSsid(kDeviceSsid, true));
    QVERIFY(wifi.setCustomSsid(kCyrillicSsid, true));
    QVERIFY(wifi.setPassphrase("pa\xDF", true));
    QCOMPARE(wifi.ssid(), kDeviceSsid);
    const QList<FakeRequest> requests = m_link.fake->requests();
    QCOMPARE(requests.size(), 3);
    // Network names go out as the bytes given; the Latin-1 passphrase as UTF-8.
    QVERIFY(requests.at(0).body.contains("ssid:" + kUtf8Ssid + ";"));
    QVERIFY(requests.at(1).body.contains("ssid_custom:" + QByteArray::fromStdString(kCyrillicSsid)
                                         + ";"));
    QVERIFY(requests.at(2).body.contains("passphrase:pa\xC3\x9F;"));

    // Read back from the device: the same bytes, and the same Latin-1 passphrase.
    TComWifiController copy(m_link.com.get());
    QVERIFY(copy.setNetwork("wifi.0", 0, false));
    QVERIFY(copy.read({"ssid", "ssid_custom", "passphrase"}));
    QCOMPARE(copy.ssid(), kDeviceSsid);
    QCOMPARE(copy.customSsid(), kCyrillicSsid);
    QCOMPARE(copy.passphrase(), std::string("pa\xDF"));
}

void tst_ComWifiController::readAllKeysByFirmware_data()
{
    QTest::addColumn<quint32>("version");
    QTest::addColumn<int>("count");

    QTest::newRow("1.11.0") << quint32(0x10B00) << 8;
    QTest::newRow("1.12.0") << quint32(0x10C00) << 9;
}

void tst_ComWifiController::readAllKeysByFirmware()
{
    QFETCH(quint32, version);
    QFETCH(int, count);

    firmwareVersion = version;
    TComWifiController wifi(m_link.com.get());
    QVERIFY(wifi.setNetwork("wifi.0", TComNetworkController::ReadAllFlag, false));
    QStringList expected = {"ssid",
                            "ssid_custom",
                            "authentication",
                            "authentication_custom",
                            "passphrase",
                            "data_connection",
                            "data_connection_state",
                            "network_quality",
                            "ajb_profile"};
    QCOMPARE(m_link.fake->lastRequest().gets(), expected.mid(0, count));
    QCOMPARE(m_link.fake->lastRequest().network(), kWifi0);
}

void tst_ComWifiController::readAppliesValues()
{
    const auto set = [this](const QString &key, const QString &value) {
        m_link.fake->setValue(key, value, kNet, kWifi0);
    };
    set(QStringLiteral("ssid_custom"), QStringLiteral("hidden"));
    set(QStringLiteral("authentication"), QStringLiteral("WPA2-PSK"));
    set(QStringLiteral("authentication_custom"), QStringLiteral("WEP"));
    set(QStringLiteral("data_connection"), QStringLiteral("on"));
    set(QStringLiteral("data_connection_state"), QStringLiteral("active"));
    set(QStringLiteral("network_quality"), QStringLiteral("very_bad"));
    set(QStringLiteral("signal_quality_dbm"), QStringLiteral("-73 dBm"));
    set(QStringLiteral("local_addr"), QStringLiteral("10.2.3.4"));
    m_link.fake->refuseKey(QStringLiteral("ssid"), QStringLiteral("102-unknown parameter"));

    TComWifiController wifi(m_link.com.get());
    QVERIFY(wifi.setNetwork("wifi.0", 0, false));
    QVERIFY(wifi.setSsid("kept", false));
    QVERIFY(wifi.read({"ssid",
                       "ssid_custom",
                       "authentication",
                       "authentication_custom",
                       "data_connection",
                       "data_connection_state",
                       "network_quality",
                       "signal_quality_dbm",
                       "local_addr",
                       "foo"}));
    QCOMPARE(wifi.ssid(), std::string("kept"));
    QCOMPARE(wifi.customSsid(), std::string("hidden"));
    QCOMPARE(wifi.authentication(), int(TComWifiController::AuthWpa2Psk));
    QCOMPARE(wifi.customAuthentication(), int(TComWifiController::AuthWep));
    QVERIFY(wifi.dataConnection());
    QCOMPARE(wifi.dataConnectionState(), int(TComWifiController::DataActive));
    QCOMPARE(wifi.networkQuality(), 0);
    QCOMPARE(wifi.signalLevel(), 20);
    QCOMPARE(wifi.localAddress(), std::string("10.2.3.4"));

    QVERIFY(!wifi.read({"ssid"}));
    QVERIFY(!wifi.read({}));
    QCOMPARE(wifi.ssid(), std::string("kept"));
}

void tst_ComWifiController::writeSendsOnlyKnownValues()
{
    TComWifiController wifi(m_link.com.get());
    QVERIFY(wifi.setNetwork("wifi.0", 0, false));
    const Strings all = {"ssid",
                         "ssid_custom",
                         "authentication",
                         "authentication_custom",
                         "passphrase",
                         "data_connection",
                         "network_quality",
                         "ajb_profile",
                         "data_connection_state",
                         "local_addr",
                         "signal_quality"};
    QVERIFY(!wifi.write(all));
    QCOMPARE(m_link.fake->requestCount(), 0);

    QVERIFY(wifi.setSsid(kDeviceSsid, false));
    QVERIFY(wifi.setAuthentication(0, false));
    QVERIFY(wifi.setNetworkQuality(-1, false));
    QVERIFY(wifi.setDataConnection(false, false));
    QVERIFY(wifi.write(all));
    QCOMPARE(m_link.bodies(),
             QList<QByteArray>({"PARAM;authentication:none;data_connection:off;network:wifi.0;ssid:"
                                + kUtf8Ssid + ";target:network;"}));

    m_link.fake->refuseKey(QStringLiteral("ssid"), QStringLiteral("105-invalid value"));
    QVERIFY(!wifi.write(all));
    QCOMPARE(wifi.ssid(), kDeviceSsid);

    m_link.fake->clearLog();
    QVERIFY(!wifi.write({"local_addr", "signal_quality"}));
    QVERIFY(!wifi.write({}));
    wifi.reset();
    QVERIFY(!wifi.write(all));
    QCOMPARE(m_link.fake->requestCount(), 0);
}

void tst_ComWifiController::ssidList()
{
    m_link.fake->setList(
        QStringLiteral("ssid"),
        {QStringLiteral("home"), QStringLiteral("a,b"), QString::fromUtf8(kUtf8Ssid)},
        kNet,
        kWifi0);
    TComWifiController wifi(m_link.com.get());
    QVERIFY(wifi.setNetwork("wifi.0", 0, false));
    QVERIFY(wifi.refreshSsidList());
    // Kept as received: no character conversion.
    QCOMPARE(wifi.ssidList(), Strings({"home", "a,b", kUtf8Ssid.toStdString()}));
    QCOMPARE(m_link.fake->lastRequest().body,
             QByteArray("PARAM;network:wifi.0;target:network;LIST:ssid;"));

    m_link.fake->refuseKey(QStringLiteral("ssid"), QStringLiteral("118-resource unavailable"));
    QVERIFY(!wifi.refreshSsidList());
    QCOMPARE(wifi.ssidList().size(), std::size_t(3));

    // A reset keeps the list.
    wifi.reset();
    QCOMPARE(wifi.ssidList().size(), std::size_t(3));
}

void tst_ComWifiController::networkInfo()
{
    TComWifiController wifi(m_link.com.get());
    QVERIFY(wifi.setNetwork("wifi.0", 0, false));

    ksm::CMsg info = message(ksm::CMsg::Info, "info_type", "network_info", "info_source", "wifi.0");
    info.setParam("signal_quality_dbm", "-60 dBm");
    QVERIFY(wifi.handleInfo(info));
    QCOMPARE(wifi.signalLevel(), 26);

    ksm::CMsg other
        = message(ksm::CMsg::Info, "info_type", "network_info", "info_source", "wifi.1");
    other.setParam("signal_quality_dbm", "-90");
    QVERIFY(!wifi.handleInfo(other));
    QVERIFY(!wifi.handleInfo(
        message(ksm::CMsg::Info, "info_type", "call_info", "info_source", "wifi.0")));
    QVERIFY(!wifi.handleInfo(message(ksm::CMsg::Info, "info_type", "", "info_source", "wifi.0")));
    QCOMPARE(wifi.signalLevel(), 26);

    // Without a reading the level drops to 0.
    QVERIFY(wifi.handleInfo(
        message(ksm::CMsg::Info, "info_type", "network_info", "info_source", "wifi.0")));
    QCOMPARE(wifi.signalLevel(), 0);
}

void tst_ComWifiController::events()
{
    TComWifiController wifi(m_link.com.get());
    QVERIFY(wifi.setNetwork("wifi.0", 0, false));
    QVERIFY(wifi.setSsid("home", false));

    ksm::CMsg config = message(ksm::CMsg::Event, "event_type", "config info", "network", "wifi.0");
    config.setParam("ssid", "other");
    QVERIFY(wifi.handleEvent(config));
    QVERIFY(wifi.handleEvent(
        message(ksm::CMsg::Event, "event_type", "default_network", "network", "wifi.0")));
    QCOMPARE(wifi.ssid(), std::string("home"));
    QVERIFY(!wifi.handleEvent(
        message(ksm::CMsg::Event, "event_type", "config info", "network", "wifi.1")));
    QVERIFY(!wifi.handleEvent(
        message(ksm::CMsg::Event, "event_type", "call_info", "network", "wifi.0")));
    QVERIFY(!wifi.handleEvent(message(ksm::CMsg::Event, "event_type", "", "network", "wifi.0")));
    QCOMPARE(m_link.fake->requestCount(), 0);
}

void tst_ComWifiController::assignmentAndReset()
{
    TComWifiController wifi(m_link.com.get());
    QCOMPARE(wifi.type(), int(TComController::WifiController));
    StateTrail trail(&wifi);
    QVERIFY(wifi.setNetwork("wifi.0", 0, false));
    QCOMPARE(trail.states, QList<int>({TComController::StateNotReady, TComController::StateReady}));

    QVERIFY(wifi.setSsid("a", false));
    QVERIFY(wifi.setCustomSsid("b", false));
    QVERIFY(wifi.setPassphrase("c", false));
    QVERIFY(wifi.applyLocalAddress("d"));
    QVERIFY(wifi.setAuthentication(2, false));
    QVERIFY(wifi.setCustomAuthentication(3, false));
    QVERIFY(wifi.setDataConnection(true, false));
    QVERIFY(wifi.applyDataConnectionState("active"));
    QVERIFY(wifi.applySignalQuality("-60"));
    QVERIFY(wifi.setNetworkQuality(5, false));
    QVERIFY(wifi.setAjbProfile(0, false));

    trail.states.clear();
    wifi.reset();
    QCOMPARE(trail.states, QList<int>{TComController::StateUnknown});
    QVERIFY(wifi.ssid().empty() && wifi.customSsid().empty() && wifi.passphrase().empty());
    QVERIFY(wifi.localAddress().empty());
    QCOMPARE(wifi.authentication(), 0);
    QCOMPARE(wifi.customAuthentication(), 0);
    QVERIFY(!wifi.dataConnection());
    QCOMPARE(wifi.dataConnectionState(), 0);
    QCOMPARE(wifi.signalLevel(), 0);
    QCOMPARE(wifi.networkQuality(), -1);
    QCOMPARE(wifi.ajbProfile(), -1);

    // A refused default network fails the assignment and leaves the state where the base left it.
    m_link.fake->refuseKey(QStringLiteral("default_network"), QStringLiteral("110-not available"));
    QVERIFY(!wifi.setNetwork("wifi.1", 0, true));
    QCOMPARE(wifi.state(), int(TComController::StateUnknown));
}

QTEST_GUILESS_MAIN(tst_ComWifiController)
#include "tst_comwificontroller.moc"
