#include "model/comethernetcontroller.h"

#include "link/ccom.h"
#include "link/cmsg.h"
#include "tests/model/linkedfake.h"

#include <QSignalSpy>
#include <QtTest>

namespace {

using Strings = std::vector<std::string>;

const QString kNet = QStringLiteral("network");
const QString kEth0 = QStringLiteral("eth.0");

QList<int> params(const QSignalSpy &spy)
{
    QList<int> result;
    for (const QList<QVariant> &arguments : spy)
        result << arguments.at(1).toInt();
    return result;
}

ksm::CMsg deviceEvent(const std::string &type, const std::string &network)
{
    ksm::CMsg msg(ksm::CMsg::Event);
    msg.setParam("event_type", type);
    msg.setParam("network", network);
    return msg;
}

} // namespace

class tst_ComEthernetController : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void modeWords_data();
    void modeWords();
    void linkModeWords_data();
    void linkModeWords();
    void setterSendConditions_data();
    void setterSendConditions();
    void refusedSetterKeepsValue();
    void reportedValuesSignalOnChange();
    void readAllAsksForProfileFromFirmware_data();
    void readAllAsksForProfileFromFirmware();
    void readAppliesValues();
    void readFailureChangesNothing();
    void writeSendsOnlyKnownValues();
    void writeRefusals();
    void events();
    void heldKeysKeepTheValueBeingWritten();
    void newsOlderThanATakenWrite();
    void resetSignalsOnlyState();
    void assignmentEndsReady();

private:
    LinkedFake m_link;
};

void tst_ComEthernetController::init()
{
    QVERIFY(m_link.start());
}

void tst_ComEthernetController::cleanup()
{
    m_link.stop();
}

void tst_ComEthernetController::modeWords_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QByteArray>("word");

    QTest::newRow("dhcp") << 0 << QByteArray("dhcp");
    QTest::newRow("manual") << 1 << QByteArray("manual");
    QTest::newRow("pppoe") << 2 << QByteArray("pppoe");
    QTest::newRow("bgan") << 3 << QByteArray("bgan");
}

void tst_ComEthernetController::modeWords()
{
    QFETCH(int, value);
    QFETCH(QByteArray, word);

    QCOMPARE(QByteArray::fromStdString(TComEthernetController::modeText(value)), word);
    QCOMPARE(TComEthernetController::modeFromText(word.toStdString()), value);

    // Outside the table: the text falls back to "dhcp", the word to unknown.
    QCOMPARE(TComEthernetController::modeText(-1), std::string("dhcp"));
    QCOMPARE(TComEthernetController::modeText(4), std::string("dhcp"));
    QCOMPARE(TComEthernetController::modeFromText("static"), -1);
    QCOMPARE(TComEthernetController::modeFromText(""), -1);
    QCOMPARE(TComEthernetController::modeFromText("DHCP"), -1);
}

void tst_ComEthernetController::linkModeWords_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QByteArray>("word");

    QTest::newRow("auto") << 0 << QByteArray("autonegotiation");
    QTest::newRow("10G") << 1 << QByteArray("10000baseT-FD");
    QTest::newRow("2.5G") << 2 << QByteArray("2500baseT-FD");
    QTest::newRow("1G FD") << 3 << QByteArray("1000baseT-FD");
    QTest::newRow("1G HD") << 4 << QByteArray("1000baseT-HD");
    QTest::newRow("100M FD") << 5 << QByteArray("100baseT-FD");
    QTest::newRow("100M HD") << 6 << QByteArray("100baseT-HD");
    QTest::newRow("10M FD") << 7 << QByteArray("10baseT-FD");
    QTest::newRow("10M HD") << 8 << QByteArray("10baseT-HD");
}

void tst_ComEthernetController::linkModeWords()
{
    QFETCH(int, value);
    QFETCH(QByteArray, word);

    QCOMPARE(QByteArray::fromStdString(TComEthernetController::linkModeText(value)), word);
    QCOMPARE(TComEthernetController::linkModeFromText(word.toStdString()), value);

    QCOMPARE(TComEthernetController::linkModeText(-1), std::string("autonegotiation"));
    QCOMPARE(TComEthernetController::linkModeText(9), std::string("autonegotiation"));
    QCOMPARE(TComEthernetController::linkModeFromText(""), -1);
    QCOMPARE(TComEthernetController::linkModeFromText("10baset-hd"), -1);
}

// Each row: the stored mode, a setter and its value, then what goes on the wire (empty: nothing)
// and the parameter number signalled. The value is stored in every case.
void tst_ComEthernetController::setterSendConditions_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("setter");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<int>("param");

    const QByteArray head = "PARAM;";
    const QByteArray tail = "network:eth.0;target:network;";
    QTest::newRow("mode") << 0 << "mode"
                          << "1" << head + "mode:manual;" + tail << 0;
    QTest::newRow("mode -1") << 0 << "mode"
                             << "-1" << QByteArray() << 0;
    QTest::newRow("address, dhcp") << 0 << "local_addr"
                                   << "10.0.0.5" << QByteArray() << 1;
    QTest::newRow("address, manual") << 1 << "local_addr"
                                     << "10.0.0.5" << head + "local_addr:10.0.0.5;" + tail << 1;
    QTest::newRow("address empty, manual") << 1 << "local_addr"
                                           << "" << QByteArray() << 1;
    QTest::newRow("subnet empty, manual") << 1 << "subnet"
                                          << "" << QByteArray() << 2;
    QTest::newRow("subnet, pppoe") << 2 << "subnet"
                                   << "255.0.0.0" << QByteArray() << 2;
    QTest::newRow("gateway empty, manual") << 1 << "gateway"
                                           << "" << head + "gateway:;" + tail << 3;
    QTest::newRow("gateway, dhcp") << 0 << "gateway"
                                   << "10.0.0.1" << QByteArray() << 3;
    QTest::newRow("dns1, manual") << 1 << "dns1"
                                  << "9.9.9.9" << head + "dns1:9.9.9.9;" + tail << 4;
    QTest::newRow("dns2 empty, manual") << 1 << "dns2"
                                        << "" << head + "dns2:;" + tail << 5;
    QTest::newRow("link mode") << 0 << "link_mode"
                               << "5" << head + "link_mode:100baseT-FD;" + tail << 6;
    QTest::newRow("link mode 42") << 0 << "link_mode"
                                  << "42" << head + "link_mode:autonegotiation;" + tail << 6;
    QTest::newRow("link mode -1") << 0 << "link_mode"
                                  << "-1" << QByteArray() << 6;
    QTest::newRow("quality") << 0 << "network_quality"
                             << "4" << head + "network:eth.0;network_quality:high;target:network;"
                             << 10;
    QTest::newRow("quality -1") << 0 << "network_quality"
                                << "-1" << QByteArray() << 10;
    QTest::newRow("profile") << 0 << "ajb_profile"
                             << "0" << head + "ajb_profile:safe;" + tail << 11;
    QTest::newRow("profile -1") << 0 << "ajb_profile"
                                << "-1" << QByteArray() << 11;
}

void tst_ComEthernetController::setterSendConditions()
{
    QFETCH(int, mode);
    QFETCH(QString, setter);
    QFETCH(QString, value);
    QFETCH(QByteArray, sent);
    QFETCH(int, param);

    TComEthernetController eth(m_link.com.get());
    QVERIFY(eth.setNetwork("eth.0", 0, false));
    QVERIFY(eth.setMode(mode, false));
    // Start every field from a value that differs from the row's.
    QVERIFY(eth.setLinkMode(1, false));
    QVERIFY(eth.setNetworkQuality(1, false));
    QVERIFY(eth.setAjbProfile(1, false));
    for (auto set : {&TComEthernetController::setLocalAddr,
                     &TComEthernetController::setSubnet,
                     &TComEthernetController::setGateway,
                     &TComEthernetController::setDns1,
                     &TComEthernetController::setDns2})
        QVERIFY((eth.*set)("1.1.1.1", false));
    QSignalSpy spy(&eth, &TComNetworkController::controllerParamChanged);

    const std::string text = value.toStdString();
    const int number = value.toInt();
    bool done = false;
    if (setter == "mode")
        done = eth.setMode(number, true);
    else if (setter == "local_addr")
        done = eth.setLocalAddr(text, true);
    else if (setter == "subnet")
        done = eth.setSubnet(text, true);
    else if (setter == "gateway")
        done = eth.setGateway(text, true);
    else if (setter == "dns1")
        done = eth.setDns1(text, true);
    else if (setter == "dns2")
        done = eth.setDns2(text, true);
    else if (setter == "link_mode")
        done = eth.setLinkMode(number, true);
    else if (setter == "network_quality")
        done = eth.setNetworkQuality(number, true);
    else if (setter == "ajb_profile")
        done = eth.setAjbProfile(number, true);
    QVERIFY(done);

    QCOMPARE(m_link.bodies(), sent.isEmpty() ? QList<QByteArray>() : QList<QByteArray>{sent});
    QCOMPARE(params(spy), QList<int>{param});

    // Setting the same value again sends and signals nothing.
    m_link.fake->clearLog();
    if (setter == "local_addr")
        QVERIFY(eth.setLocalAddr(text, true));
    else if (setter == "mode")
        QVERIFY(eth.setMode(number, true));
    QCOMPARE(m_link.fake->requestCount(), 0);
    QCOMPARE(spy.count(), 1);
}

void tst_ComEthernetController::refusedSetterKeepsValue()
{
    TComEthernetController eth(m_link.com.get());
    QVERIFY(eth.setNetwork("eth.0", 0, false));
    QVERIFY(eth.setMode(TComEthernetController::ModeManual, true));
    QVERIFY(eth.setLocalAddr("10.0.0.5", true));
    QSignalSpy spy(&eth, &TComNetworkController::controllerParamChanged);

    m_link.fake->refuseKey(QStringLiteral("local_addr"), QStringLiteral("105-invalid value"));
    QVERIFY(!eth.setLocalAddr("10.0.0.300", true));
    QCOMPARE(eth.localAddr(), std::string("10.0.0.5"));
    m_link.fake->refuseKey(QStringLiteral("mode"), QStringLiteral("105-invalid value"));
    QVERIFY(!eth.setMode(TComEthernetController::ModeBgan, true));
    QCOMPARE(eth.mode(), int(TComEthernetController::ModeManual));
    QCOMPARE(spy.count(), 0);
}

void tst_ComEthernetController::reportedValuesSignalOnChange()
{
    TComEthernetController eth(m_link.com.get());
    QSignalSpy spy(&eth, &TComNetworkController::controllerParamChanged);

    QVERIFY(eth.applyCable("plugged"));
    QVERIFY(eth.cable());
    QVERIFY(eth.applyCable("plugged"));
    QVERIFY(eth.applyCable("unplugged"));
    QVERIFY(!eth.cable());
    QVERIFY(eth.applyCable(""));
    QCOMPARE(params(spy), QList<int>({9, 9}));

    // The negotiated mode signals when it differs from the one negotiated before, even when it
    // equals the configured mode.
    spy.clear();
    QVERIFY(eth.setLinkMode(TComEthernetController::Link1000BaseTFd, false));
    QVERIFY(eth.applyLinkModeNeg("1000baseT-FD"));
    QVERIFY(eth.applyLinkModeNeg("1000baseT-FD"));
    QCOMPARE(eth.linkModeNeg(), int(TComEthernetController::Link1000BaseTFd));
    QVERIFY(eth.applyLinkModeNeg("bogus"));
    QCOMPARE(eth.linkModeNeg(), -1);
    QVERIFY(eth.setHwAddr("00:11:22:33:44:55"));
    QVERIFY(eth.setHwAddr("00:11:22:33:44:55"));
    QCOMPARE(params(spy), QList<int>({6, 7, 7, 8}));

    QVERIFY(eth.applyMode("bgan"));
    QCOMPARE(eth.mode(), int(TComEthernetController::ModeBgan));
    QVERIFY(eth.applyMode("static"));
    QCOMPARE(eth.mode(), -1);
    QCOMPARE(m_link.fake->requestCount(), 0);
}

void tst_ComEthernetController::readAllAsksForProfileFromFirmware_data()
{
    QTest::addColumn<quint32>("version");
    QTest::addColumn<bool>("withProfile");

    QTest::newRow("1.11.255") << quint32(0x10BFF) << false;
    QTest::newRow("1.12.0") << quint32(0x10C00) << true;
}

void tst_ComEthernetController::readAllAsksForProfileFromFirmware()
{
    QFETCH(quint32, version);
    QFETCH(bool, withProfile);

    firmwareVersion = version;
    TComEthernetController eth(m_link.com.get());
    QVERIFY(eth.setNetwork("eth.0", TComNetworkController::ReadAllFlag, false));
    QByteArray expected = "PARAM;network:eth.0;target:network;GET:cable;GET:mode;GET:local_addr;"
                          "GET:subnet;GET:gateway;GET:dns1;GET:dns2;GET:link_mode;"
                          "GET:link_mode_neg;GET:hw_addr;GET:network_quality;";
    if (withProfile)
        expected += "GET:ajb_profile;";
    QCOMPARE(m_link.bodies(), QList<QByteArray>{expected});
}

void tst_ComEthernetController::readAppliesValues()
{
    const auto set = [this](const char *key, const char *value) {
        m_link.fake->setValue(QLatin1String(key), QLatin1String(value), kNet, kEth0);
    };
    set("cable", "plugged");
    set("mode", "manual");
    set("local_addr", "192.168.1.20");
    set("subnet", "255.255.255.0");
    set("gateway", "192.168.1.1");
    set("dns1", "192.168.1.2");
    set("link_mode", "100baseT-HD");
    set("link_mode_neg", "100baseT-HD");
    set("hw_addr", "00:0A:0B:0C:0D:0E");
    set("network_quality", "very_high");
    set("ajb_profile", "punchy");
    m_link.fake->refuseKey(QStringLiteral("dns2"), QStringLiteral("102-unknown parameter"));

    TComEthernetController eth(m_link.com.get());
    QVERIFY(eth.setNetwork("eth.0", 0, false));
    QSignalSpy spy(&eth, &TComNetworkController::controllerParamChanged);
    QVERIFY(eth.readAll());

    QVERIFY(eth.cable());
    QCOMPARE(eth.mode(), int(TComEthernetController::ModeManual));
    QCOMPARE(eth.localAddr(), std::string("192.168.1.20"));
    QCOMPARE(eth.subnet(), std::string("255.255.255.0"));
    QCOMPARE(eth.gateway(), std::string("192.168.1.1"));
    QCOMPARE(eth.dns1(), std::string("192.168.1.2"));
    QVERIFY(eth.dns2().empty());
    QCOMPARE(eth.linkMode(), int(TComEthernetController::Link100BaseTHd));
    QCOMPARE(eth.linkModeNeg(), int(TComEthernetController::Link100BaseTHd));
    QCOMPARE(eth.hwAddr(), std::string("00:0A:0B:0C:0D:0E"));
    QCOMPARE(eth.networkQuality(), 5);
    QCOMPARE(eth.ajbProfile(), 2);
    // Values from the device are never written back.
    QCOMPARE(m_link.fake->requestCount(), 1);
    QCOMPARE(spy.count(), 11);
}

void tst_ComEthernetController::readFailureChangesNothing()
{
    TComEthernetController eth(m_link.com.get());
    QVERIFY(eth.setNetwork("eth.0", 0, false));
    QVERIFY(eth.setMode(TComEthernetController::ModePppoe, false));

    QVERIFY(!eth.read({}));
    QCOMPARE(m_link.fake->requestCount(), 0);

    m_link.fake->refuseKey(QStringLiteral("mode"), QStringLiteral("102-unknown parameter"));
    QVERIFY(!eth.read({"mode"}));
    QCOMPARE(eth.mode(), int(TComEthernetController::ModePppoe));

    m_link.fake->resetScript();
    m_link.fake->replyWithErrorCode(-1);
    QVERIFY(!eth.read({"mode"}));
    QCOMPARE(eth.mode(), int(TComEthernetController::ModePppoe));
}

void tst_ComEthernetController::writeSendsOnlyKnownValues()
{
    TComEthernetController eth(m_link.com.get());
    QVERIFY(eth.setNetwork("eth.0", 0, false));
    const Strings all = {"mode",
                         "link_mode",
                         "local_addr",
                         "subnet",
                         "gateway",
                         "dns1",
                         "dns2",
                         "network_quality",
                         "ajb_profile",
                         "cable",
                         "link_mode_neg",
                         "hw_addr"};

    // Nothing read or set yet: sending defaults would overwrite the device's settings.
    QVERIFY(!eth.write(all));
    QCOMPARE(m_link.fake->requestCount(), 0);

    QVERIFY(eth.setMode(TComEthernetController::ModeDhcp, false));
    QVERIFY(eth.setGateway("", false));
    QVERIFY(eth.setLocalAddr("10.9.8.7", false));
    QVERIFY(eth.setNetworkQuality(3, false));
    QVERIFY(eth.setLinkMode(-1, false));
    QVERIFY(eth.write(all));
    QCOMPARE(m_link.bodies(),
             QList<QByteArray>({"PARAM;gateway:;local_addr:10.9.8.7;mode:dhcp;network:eth.0;"
                                "network_quality:middle;target:network;"}));

    // Read-only and unknown keys alone: nothing to send.
    m_link.fake->clearLog();
    QVERIFY(!eth.write({"hw_addr", "cable"}));
    QVERIFY(!eth.write({"foo"}));
    QVERIFY(!eth.write({}));
    QCOMPARE(m_link.fake->requestCount(), 0);

    // After a reset nothing is known again.
    eth.reset();
    QVERIFY(!eth.write(all));
    QCOMPARE(m_link.fake->requestCount(), 0);
}

void tst_ComEthernetController::writeRefusals()
{
    TComEthernetController eth(m_link.com.get());
    QVERIFY(eth.setNetwork("eth.0", 0, false));
    QVERIFY(eth.setMode(TComEthernetController::ModeManual, false));
    QVERIFY(eth.setDns1("8.8.8.8", false));

    m_link.fake->refuseKey(QStringLiteral("dns1"), QStringLiteral("105-invalid value"));
    QVERIFY(!eth.write({"mode", "dns1"}));
    // The accepted part stays on the device; the controller's fields are not touched.
    QCOMPARE(m_link.fake->value(QStringLiteral("mode"), kNet, kEth0), QStringLiteral("manual"));
    QCOMPARE(eth.dns1(), std::string("8.8.8.8"));

    m_link.fake->resetScript();
    QVERIFY(eth.write({"mode", "dns1"}));
}

void tst_ComEthernetController::events()
{
    TComEthernetController eth(m_link.com.get());
    QVERIFY(eth.setNetwork("eth.0", 0, false));
    QVERIFY(eth.setDns2("4.4.4.4", false));
    QVERIFY(eth.setGateway("10.1.1.254", false));
    QSignalSpy spy(&eth, &TComNetworkController::controllerParamChanged);

    ksm::CMsg other = deviceEvent("config info", "eth.1");
    other.setParam("mode", "manual");
    QVERIFY(!eth.handleEvent(other));
    QVERIFY(!eth.handleEvent(deviceEvent("config info", "")));
    QVERIFY(!eth.handleEvent(deviceEvent("", "eth.0")));
    QVERIFY(!eth.handleEvent(deviceEvent("call_info", "eth.0")));
    QVERIFY(!eth.handleInfo(deviceEvent("config info", "eth.0")));
    QCOMPARE(spy.count(), 0);

    ksm::CMsg config = deviceEvent("config info", "eth.0");
    config.setParam("mode", "manual");
    config.setParam("local_addr", "10.1.1.1");
    config.setParam("subnet", "255.0.0.0");
    config.setParam("gateway", "");
    config.setParam("cable", "plugged");
    QVERIFY(eth.handleEvent(config));
    QCOMPARE(eth.mode(), int(TComEthernetController::ModeManual));
    QCOMPARE(eth.localAddr(), std::string("10.1.1.1"));
    // An address the event carries empty is no longer set; one it leaves out keeps its value.
    QVERIFY(eth.gateway().empty());
    QCOMPARE(eth.dns2(), std::string("4.4.4.4"));
    QVERIFY(eth.cable());
    QCOMPARE(params(spy), QList<int>({0, 1, 2, 3, 9, 12}));

    // An event of one key changes that key alone.
    spy.clear();
    ksm::CMsg oneKey = deviceEvent("config info", "eth.0");
    oneKey.setParam("gateway", "10.0.0.254");
    QVERIFY(eth.handleEvent(oneKey));
    QCOMPARE(eth.gateway(), std::string("10.0.0.254"));
    QCOMPARE(eth.mode(), int(TComEthernetController::ModeManual));
    QCOMPARE(eth.localAddr(), std::string("10.1.1.1"));
    QCOMPARE(eth.subnet(), std::string("255.0.0.0"));
    QCOMPARE(eth.dns2(), std::string("4.4.4.4"));
    QVERIFY(eth.cable());
    QCOMPARE(params(spy), QList<int>({3, 12}));

    spy.clear();
    ksm::CMsg changed = deviceEvent("default_network", "eth.0");
    changed.setParam("mode", "dhcp");
    QVERIFY(eth.handleEvent(changed));
    QCOMPARE(eth.mode(), int(TComEthernetController::ModeDhcp));
    QVERIFY(eth.handleEvent(deviceEvent("default_network", "eth.0")));
    QCOMPARE(eth.mode(), int(TComEthernetController::ModeDhcp));
    QCOMPARE(params(spy), QList<int>({0}));
    // The device reported these: nothing is sent back.
    QCOMPARE(m_link.fake->requestCount(), 0);
}

// A key held for a write keeps the value staged through the unit's news; the news is applied
// once the write was refused (the last of it last), dropped once the unit took the write.
void tst_ComEthernetController::heldKeysKeepTheValueBeingWritten()
{
    TComEthernetController eth(m_link.com.get());
    QVERIFY(eth.setNetwork("eth.0", 0, false));
    QVERIFY(eth.setMode(TComEthernetController::ModeManual, false));
    QVERIFY(eth.setGateway("10.0.0.77", false));
    const auto news = [](const std::string &gateway, const std::string &dns1) {
        ksm::CMsg config = deviceEvent("config info", "eth.0");
        config.setParam("mode", "dhcp");
        config.setParam("gateway", gateway);
        config.setParam("dns1", dns1);
        return config;
    };

    for (const bool refused : {false, true}) {
        eth.holdKey("gateway");
        eth.holdKey("mode");
        eth.holdKey("no such key");
        QVERIFY(eth.isHeld("gateway"));
        QVERIFY(!eth.isHeld("no such key"));
        QVERIFY(eth.handleEvent(news("10.0.0.98", "10.0.0.53")));
        QVERIFY(eth.handleEvent(news("10.0.0.99", "10.0.0.54")));
        ksm::CMsg mode = deviceEvent("default_network", "eth.0");
        mode.setParam("mode", "dhcp");
        QVERIFY(eth.handleEvent(mode));
        QCOMPARE(eth.gateway(), std::string("10.0.0.77"));
        QCOMPARE(eth.mode(), int(TComEthernetController::ModeManual));
        QCOMPARE(eth.dns1(), std::string("10.0.0.54"));

        eth.releaseHeld(refused);
        QVERIFY(!eth.isHeld("gateway"));
        QCOMPARE(eth.gateway(), std::string(refused ? "10.0.0.99" : "10.0.0.77"));
        QCOMPARE(
            eth.mode(),
            int(refused ? TComEthernetController::ModeDhcp : TComEthernetController::ModeManual));
    }
    // Without a hold, the news goes straight in.
    QVERIFY(eth.handleEvent(news("10.0.0.1", "10.0.0.1")));
    QCOMPARE(eth.gateway(), std::string("10.0.0.1"));
    QCOMPARE(m_link.fake->requestCount(), 0);
}

// News of a key that arrived before the answer to a write of it the unit took is older than
// the value written: handled later (as the window handles what waited while the write ran), it
// leaves that value, while it still sets the keys not written. News that came after the
// answer, news of a refused write, and news after a reset go in.
void tst_ComEthernetController::newsOlderThanATakenWrite()
{
    ksm::CCom *com = m_link.com.get();
    TComEthernetController eth(com);
    QVERIFY(eth.setNetwork("eth.0", 0, false));
    QVERIFY(eth.setMode(TComEthernetController::ModeManual, false));
    QVERIFY(eth.setGateway("10.0.0.1", false));
    QVERIFY(eth.setDns1("10.0.0.1", false));

    // The unit's events, each with its number in the order they arrived.
    QList<QPair<ksm::CMsg, qint64>> arrived;
    connect(com, &ksm::CCom::messageReceived, this, [&](const RpcMessage &message) {
        arrived.append({message.body(), com->signalArrival()});
    });
    const auto unitSends = [&](const QString &gateway, const QString &dns1) {
        const int before = int(arrived.size());
        (void)m_link.fake->pushEvent(QStringLiteral("config info"),
                                     {{QStringLiteral("network"), kEth0},
                                      {QStringLiteral("gateway"), gateway},
                                      {QStringLiteral("dns1"), dns1}});
        return QTest::qWaitFor([&] { return arrived.size() > before; }, 5000);
    };
    const auto handle = [&](int index) {
        const ksm::HandledSignal handled(com, arrived.at(index).second);
        return eth.handleEvent(arrived.at(index).first);
    };

    // Written by the setter and by a bulk write whose caller notes the key taken.
    QVERIFY(unitSends(QStringLiteral("10.0.0.99"), QStringLiteral("10.0.0.53")));
    QVERIFY(eth.setGateway("10.0.0.77", true));
    QVERIFY(unitSends(QStringLiteral("10.0.0.98"), QStringLiteral("10.0.0.54")));
    QVERIFY(eth.setDns1("10.0.0.55", false));
    QVERIFY(eth.write({"dns1"}));
    eth.noteTaken("dns1");
    QVERIFY(handle(0));
    QCOMPARE(eth.gateway(), std::string("10.0.0.77"));
    QCOMPARE(eth.dns1(), std::string("10.0.0.55"));
    // The second came after the gateway's answer, before the name server's.
    QVERIFY(handle(1));
    QCOMPARE(eth.gateway(), std::string("10.0.0.98"));
    QCOMPARE(eth.dns1(), std::string("10.0.0.55"));

    // Newer than the answer, or handled without saying when it came: the unit's news.
    QVERIFY(unitSends(QStringLiteral("10.0.0.97"), QStringLiteral("10.0.0.56")));
    QVERIFY(handle(2));
    QCOMPARE(eth.gateway(), std::string("10.0.0.97"));
    QCOMPARE(eth.dns1(), std::string("10.0.0.56"));
    QVERIFY(eth.handleEvent(arrived.at(0).first));
    QCOMPARE(eth.gateway(), std::string("10.0.0.99"));
    QCOMPARE(eth.dns1(), std::string("10.0.0.53"));

    // A refused write takes nothing: the news before it still goes in.
    QVERIFY(unitSends(QStringLiteral("10.0.0.96"), QStringLiteral("10.0.0.57")));
    m_link.fake->refuseKey(QStringLiteral("gateway"), QStringLiteral("015-not allowed"));
    QVERIFY(!eth.setGateway("10.0.0.78", true));
    QVERIFY(handle(3));
    QCOMPARE(eth.gateway(), std::string("10.0.0.96"));

    // A reset forgets what was written.
    m_link.fake->acceptKey(QStringLiteral("gateway"));
    QVERIFY(unitSends(QStringLiteral("10.0.0.95"), QStringLiteral("10.0.0.58")));
    QVERIFY(eth.setGateway("10.0.0.79", true));
    QVERIFY(eth.setNetwork("eth.0", 0, false));
    QVERIFY(handle(4));
    QCOMPARE(eth.gateway(), std::string("10.0.0.95"));

    // A read's answer is as new: news of a key it gave that came before it is older, news of a
    // key it did not ask for still goes in.
    m_link.fake->setValue(QStringLiteral("gateway"), QStringLiteral("10.0.0.80"), kNet, kEth0);
    QVERIFY(unitSends(QStringLiteral("10.0.0.94"), QStringLiteral("10.0.0.59")));
    QVERIFY(eth.read({"gateway"}));
    QVERIFY(handle(5));
    QCOMPARE(eth.gateway(), std::string("10.0.0.80"));
    QCOMPARE(eth.dns1(), std::string("10.0.0.59"));
    QVERIFY(unitSends(QStringLiteral("10.0.0.93"), QStringLiteral("10.0.0.60")));
    QVERIFY(handle(6));
    QCOMPARE(eth.gateway(), std::string("10.0.0.93"));
}

void tst_ComEthernetController::resetSignalsOnlyState()
{
    TComEthernetController eth(m_link.com.get());
    QVERIFY(eth.setNetwork("eth.0", 0, false));
    QVERIFY(eth.setMode(1, false));
    QVERIFY(eth.setLinkMode(2, false));
    QVERIFY(eth.applyLinkModeNeg("2500baseT-FD"));
    QVERIFY(eth.applyCable("plugged"));
    QVERIFY(eth.setNetworkQuality(1, false));
    QVERIFY(eth.setAjbProfile(0, false));
    for (auto set : {&TComEthernetController::setLocalAddr,
                     &TComEthernetController::setSubnet,
                     &TComEthernetController::setGateway,
                     &TComEthernetController::setDns1,
                     &TComEthernetController::setDns2})
        QVERIFY((eth.*set)("1.2.3.4", false));
    QVERIFY(eth.setHwAddr("aa"));

    QSignalSpy paramSpy(&eth, &TComNetworkController::controllerParamChanged);
    StateTrail trail(&eth);
    eth.reset();

    QCOMPARE(paramSpy.count(), 0);
    QCOMPARE(trail.states, QList<int>{TComController::StateUnknown});
    QCOMPARE(eth.mode(), -1);
    QCOMPARE(eth.linkMode(), -1);
    QCOMPARE(eth.linkModeNeg(), -1);
    QCOMPARE(eth.networkQuality(), -1);
    QCOMPARE(eth.ajbProfile(), -1);
    QVERIFY(!eth.cable());
    QVERIFY(eth.localAddr().empty() && eth.subnet().empty() && eth.gateway().empty());
    QVERIFY(eth.dns1().empty() && eth.dns2().empty() && eth.hwAddr().empty());
    QVERIFY(!eth.signalsBlocked());
    QCOMPARE(m_link.fake->requestCount(), 0);
}

void tst_ComEthernetController::assignmentEndsReady()
{
    TComEthernetController eth(m_link.com.get());
    QCOMPARE(eth.type(), int(TComController::EthernetController));
    StateTrail trail(&eth);
    QVERIFY(eth.setNetwork("eth.1", 0, false));
    QCOMPARE(trail.states, QList<int>({TComController::StateNotReady, TComController::StateReady}));
    QVERIFY(!eth.setNetwork("", 0, false));
    QCOMPARE(eth.networkId(), std::string("eth.1"));
}

QTEST_GUILESS_MAIN(tst_ComEthernetController)
#include "tst_comethernetcontroller.moc"
