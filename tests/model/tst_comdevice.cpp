#include "link/comclient.h"
#include "link/sharedobjects.h"
#include "model/commobilecontroller.h"
#include "model/deviceoptionword.h"
#include "tests/model/devicefixture.h"

#include <QtTest>

namespace {

ksm::CMsg parsed(const QString &text)
{
    ksm::CMsg msg;
    if (ksm::CMsg::parse(text.toStdString(), msg) != 0)
        qFatal("unreadable message text in a test table");
    return msg;
}

const QString kGeneral = QStringLiteral("general");
const QString kNetwork = QStringLiteral("network");
const QString kAudio = QStringLiteral("audio");

// A unit with an AoIP interface, Ethernet, Wi-Fi (with a running data link, id 3) and a network
// the model does not know; single codec, stereo MPA2.
void scriptUnit(FakeQuorix &fake)
{
    fake.setList(QStringLiteral("device_opts"), {"ip_dstream_1", "hardware_2", "gizmo"}, kGeneral);
    fake.setList(kNetwork, {"aoip", "eth.0", "wifi.0", "pots.0"}, kNetwork);
    fake.setValue(QStringLiteral("default_network"), QStringLiteral("eth.0"), kNetwork);
    fake.setValue(QStringLiteral("secondary_network"), QStringLiteral("wifi.0"), kNetwork);
    fake.setValue(QStringLiteral("codec_mode"), QStringLiteral("cmode_normal"), kAudio);
    fake.setValue(QStringLiteral("coord_mode"), QStringLiteral("disabled"), kAudio);
    fake.setValue(QStringLiteral("codec"), QStringLiteral("MPA2/48000/stereo/256000/0"), kAudio);
    fake.setValue(QStringLiteral("operation_mode"), QStringLiteral("standard"), kAudio);
    fake.setValue(QStringLiteral("dstream_mode"), QStringLiteral("disabled"), kAudio);
    fake.setValue(QStringLiteral("aes67_reset"), QStringLiteral("on"), kAudio);
    fake.setValue(QStringLiteral("id"), QStringLiteral("3"), kNetwork, QStringLiteral("wifi.0"));
}

bool askedFor(const FakeQuorix &fake, const QString &key)
{
    const QList<FakeRequest> requests = fake.requests();
    for (const FakeRequest &request : requests) {
        if (request.isGetOf(key))
            return true;
    }
    return false;
}

// Makes the device refuse the n-th request from now on (1 = the next one): PARAM keys with a
// cause, DO commands with "ERROR".
void refuseNthRequest(FakeQuorix &fake, int n)
{
    auto count = std::make_shared<int>(0);
    fake.setReplyHook([count, n](const FakeRequest &request) -> std::optional<QList<FakeReply>> {
        if (++*count != n)
            return std::nullopt;
        FakeMessage refusal(request.message.type, {{"return", "ERROR"}});
        if (request.message.type == FakeMessage::Do) {
            refusal.set(QStringLiteral("cause"), QStringLiteral("116-invalid state"));
        } else {
            for (const auto &pair : request.message.params) {
                if (pair.first != QLatin1String("target") && pair.first != QLatin1String("network"))
                    refusal.set(pair.first, QStringLiteral("103-parameter set error"));
            }
        }
        return QList<FakeReply>{FakeReply::reply(refusal)};
    });
}

} // namespace

// The device root: refresh, option word, networks, device-state codes, coding settings and
// routing codes, and its refresh under re-entry.
class tst_ComDevice : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void refresh();
    void refreshWithoutAoip();
    void refreshGates_data();
    void refreshGates();
    void reinitInsideRefresh();
    void resetKeepsOptionsAndBattery();
    void deviceOptions_data();
    void deviceOptions();
    void deviceStateCodes_data();
    void deviceStateCodes();
    void relayInputsOfLinkTwoCall();
    void interfaceCodesAndBars();
    void controllerStates();
    void signalBars();
    void setterStopsAtFirstRefusal_data();
    void setterStopsAtFirstRefusal();
    void unchangedOrUnreadableSendsNothing();
    void networkNewsOlderThanATakenWrite();
    void audioRouting_data();
    void audioRouting();
    void currentAudioRoutingFollowsCall();
    void capabilityLists();
    void rebootWithLinkDown();
    void toolsConversations();
    void sharedInstance();

private:
    DeviceFixture m_fx;
};

void tst_ComDevice::init()
{
    QVERIFY(m_fx.open());
}

void tst_ComDevice::cleanup()
{
    m_fx.close();
    destroySharedObjects();
}

void tst_ComDevice::refresh()
{
    scriptUnit(*m_fx.fake());
    TComDevice &device = *m_fx.device;
    DeviceTrail trail(&device);

    QVERIFY(device.refresh());
    QVERIFY(device.loaded());
    QCOMPARE(trail.take(), QStringList({"device:0", "added:3", "data:3:2"}));
    QCOMPARE(device.networks(),
             (std::map<int, std::string>{{0, "aoip"}, {0x100, "eth.0"}, {0x400, "wifi.0"}}));
    QCOMPARE(device.deviceOptions(), quint32(0x20 | 0xA00));
    QCOMPARE(device.hardwareVariant(), 2);
    QCOMPARE(device.defaultNetwork(), std::string("eth.0"));
    QCOMPARE(device.secondaryNetwork(), std::string("wifi.0"));
    QCOMPARE(device.ethernetController()->networkId(), std::string("eth.0"));
    QCOMPARE(device.coder1().channelMode, 2);
    QCOMPARE(device.coder2().algorithm, -1);
    QVERIFY(device.aes67Reset());
    QCOMPARE(device.linkTransport(1), int(TComDevice::TransportIp));
    QVERIFY(device.hasTransport(TComDevice::TransportIp));
    QVERIFY(!device.hasTransport(TComDevice::TransportIsdn));
    QVERIFY(device.hasNetwork("wifi.0"));
    const QStringList subscriptions = m_fx.fake()->subscriptions();
    QCOMPARE(subscriptions.mid(subscriptions.size() - 3),
             QStringList({"audio_changeset", "network_info", "battery_level"}));
    TComBaseConnection *link = device.connection(3);
    QVERIFY(link);
    QCOMPARE(link->network(), std::string("wifi.0"));
    QCOMPARE(link->state(), 2);

    // Again: the running link is known already.
    QVERIFY(device.refresh());
    QCOMPARE(trail.take(), QStringList({"device:0"}));
    QCOMPARE(device.connections().size(), size_t(1));
}

void tst_ComDevice::refreshWithoutAoip()
{
    scriptUnit(*m_fx.fake());
    m_fx.fake()->setList(kNetwork, {"eth.0"}, kNetwork);
    DeviceTrail trail(m_fx.device.get());
    QVERIFY(!m_fx.device->refresh());
    QVERIFY(!m_fx.device->loaded());
    QVERIFY(trail.lines.isEmpty());
    QCOMPARE(m_fx.device->audioRouting(), 1);
    QVERIFY(!m_fx.device->hasCoordinationLine());
    QVERIFY(!m_fx.device->signalsBlocked());
}

void tst_ComDevice::refreshGates_data()
{
    QTest::addColumn<uint>("firmware");
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("asked");

    QTest::newRow("jitterab, 1.11.255") << 0x10BFFu << "jitterab" << false;
    QTest::newRow("jitterab, 1.12.0") << 0x10C00u << "jitterab" << true;
    QTest::newRow("aes67_reset, 1.12.255") << 0x10CFFu << "aes67_reset" << false;
    QTest::newRow("aes67_reset, 1.13.0") << 0x10D00u << "aes67_reset" << true;
    QTest::newRow("operation_mode, 1.255.255") << 0x1FFFFu << "operation_mode" << false;
    QTest::newRow("operation_mode, 2.0.0") << 0x20000u << "operation_mode" << true;
}

void tst_ComDevice::refreshGates()
{
    QFETCH(uint, firmware);
    QFETCH(QString, key);
    QFETCH(bool, asked);

    scriptUnit(*m_fx.fake());
    firmwareVersion = firmware;
    QVERIFY(m_fx.device->refresh());
    QCOMPARE(askedFor(*m_fx.fake(), key), asked);
}

void tst_ComDevice::reinitInsideRefresh()
{
    // The device announces "reinit" while the refresh waits for its first answer; the handler
    // resets and refreshes the model, as the window does.
    scriptUnit(*m_fx.fake());
    bool first = true;
    m_fx.fake()->setReplyHook([&](const FakeRequest &request) -> std::optional<QList<FakeReply>> {
        if (!first || !request.isListOf(QStringLiteral("device_opts")))
            return std::nullopt;
        first = false;
        FakeMessage reinit(FakeMessage::Event, {{"event_type", "reinit"}});
        return QList<FakeReply>{FakeReply::signal(reinit)} + m_fx.fake()->defaultReplies(request);
    });
    int depth = 0;
    int deepest = 0;
    int reinits = 0;
    TComDevice &device = *m_fx.device;
    QObject::connect(m_fx.com(), &ksm::CCom::busyStateChanged, &m_fx.context, [&](bool busy) {
        depth += busy ? 1 : -1;
        deepest = std::max(deepest, depth);
    });
    m_fx.onEvent = [&](const ksm::CMsg &msg) {
        if (*msg.param("event_type") != "reinit")
            return;
        ++reinits;
        QVERIFY(!m_fx.com()->isReady()); // inside the refresh's own call
        device.reset(true);
        QVERIFY(!device.refresh());
    };
    DeviceTrail trail(&device);

    QVERIFY(device.refresh());
    QCOMPARE(reinits, 1);
    QCOMPARE(deepest, 1); // never a call inside a call
    QVERIFY(device.loaded());
    // The first pass reported its result, the reset removed the link it found, the second pass
    // read everything again.
    QCOMPARE(
        trail.take(),
        QStringList(
            {"device:0", "added:3", "data:3:2", "removed:3", "device:0", "added:3", "data:3:2"}));
    int optionReads = 0;
    const QList<FakeRequest> requests = m_fx.fake()->requests();
    for (const FakeRequest &request : requests)
        optionReads += request.isListOf(QStringLiteral("device_opts")) ? 1 : 0;
    QCOMPARE(optionReads, 2);
}

void tst_ComDevice::resetKeepsOptionsAndBattery()
{
    scriptUnit(*m_fx.fake());
    TComDevice &device = *m_fx.device;
    QVERIFY(device.refresh());
    device.handleInfo(parsed("INFO;info_type:battery_level;level:80;"));
    device.handleEvent(parsed("EVENT;event_type:relay_in;relay1:on;"));
    DeviceTrail trail(&device);

    device.reset(true);
    QCOMPARE(trail.take(), QStringList({"removed:3"}));
    QVERIFY(!device.loaded());
    QVERIFY(device.networks().empty());
    QVERIFY(device.defaultNetwork().empty());
    QVERIFY(!device.relayInputsKnown());
    QVERIFY(!device.relayInput1().active);
    QCOMPARE(device.coder1().algorithm, -1);
    QCOMPARE(device.batteryLevel(), 80);
    QCOMPARE(device.deviceOptions(), quint32(0xA20));
    QCOMPARE(device.hardwareVariant(), 2);
}

void tst_ComDevice::deviceOptions_data()
{
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<uint>("options");
    QTest::addColumn<int>("variant");

    QTest::newRow("plain words") << QStringList{"ip_dcodec", "isdn_dcodec", "ravenna"} << 0x7u << 0;
    QTest::newRow("remote access 3, double stream 2")
        << QStringList{"remote_access_3", "ip_dstream_2"} << 0x78u << 0;
    QTest::newRow("remote access 1, double stream 1")
        << QStringList{"remote_access_1", "ip_dstream_1"} << 0x28u << 0;
    QTest::newRow("ravenna_1, ravenna_2") << QStringList{"ravenna_1"} << 0x0u << 0;
    QTest::newRow("ravenna_2, record")
        << QStringList{"ravenna_2", "record_1", "record_0"} << 0x500u << 0;
    QTest::newRow("hardware 1") << QStringList{"hardware_1"} << 0x280u << 1;
    QTest::newRow("hardware 3") << QStringList{"hardware_3"} << 0x1080u << 3;
    QTest::newRow("hardware 4") << QStringList{"hardware_4"} << 0x280u << 4;
    QTest::newRow("hardware 18") << QStringList{"hardware_18"} << 0xA00u << 18;
    QTest::newRow("unreadable number") << QStringList{"hardware_x", "remote_access_"} << 0x0u << 0;
}

void tst_ComDevice::deviceOptions()
{
    QFETCH(QStringList, words);
    QFETCH(uint, options);
    QFETCH(int, variant);

    m_fx.fake()->setList(QStringLiteral("device_opts"), words, kGeneral);
    QVERIFY(m_fx.device->readDeviceOptions());
    QCOMPARE(m_fx.device->deviceOptions(), quint32(options));
    QCOMPARE(m_fx.device->hardwareVariant(), variant);

    // A failed read keeps what the previous one gave.
    m_fx.fake()->refuseKey(QStringLiteral("device_opts"), QStringLiteral("102-unknown parameter"));
    QVERIFY(!m_fx.device->readDeviceOptions());
    QCOMPARE(m_fx.device->deviceOptions(), quint32(options));
}

void tst_ComDevice::deviceStateCodes_data()
{
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QList<int>>("codes");

    const auto row = [](const char *name, const QStringList &messages, const QList<int> &codes) {
        QTest::newRow(name) << messages << codes;
    };
    row("default network on Ethernet", {"EVENT;event_type:default_network;network:eth.0;"}, {1, 8});
    row("default network on AoIP", {"EVENT;event_type:default_network;network:aoip;"}, {1});
    row("secondary network", {"EVENT;event_type:secondary_network;network:wifi.0;"}, {2});
    row("default codec, single",
        {"EVENT;event_type:default_codec;operation_mode:extended;codec_mode:cmode_normal;type:ip;"
         "dstream_mode:enabled;coord_mode:enabled;codec:G722;"},
        {18, 7, 6, 3});
    row("default codec, double turns double streaming off",
        {"EVENT;event_type:codec_change;type:ip;codec_mode:cmode_normal;dstream_mode:enabled;",
         "EVENT;event_type:default_codec;codec_mode:cmode_double;dstream_mode:enabled;"
         "dcodec_1:G722;dcodec_2:MPA2/48000/mono/64000/0;"},
        {7, 7, 5, 3, 4});
    row("default codec, other words",
        {"EVENT;event_type:default_codec;operation_mode:turbo;codec_mode:cmode_triple;"},
        {});
    row("codec change on ISDN",
        {"EVENT;event_type:codec_change;type:isdn;codec_mode:cmode_normal;dstream_mode:enabled;"},
        {});
    row("battery twice",
        {"INFO;info_type:battery_level;level:55;", "INFO;info_type:battery_level;level:55;"},
        {16});
    row("registrations",
        {"INFO;info_type:sip_registration;sip_state:registered;",
         "INFO;info_type:sip_registration;sip_state:registered;",
         "INFO;info_type:sip_registration2;sip_state2:failed;sip_state_cause2:123-not registered;"},
        {13, 14});
    row("relay inputs",
        {"EVENT;event_type:relay_in;relay1:on;config1:r1;",
         "EVENT;event_type:relay_in;relay1:on;config1:r1;",
         "EVENT;event_type:relay_in;relay1:on;config1:r2;"},
        {15, 15});
    row("AES67 reset",
        {"INFO;info_type:audio_changeset;aes67_reset:on;", "INFO;info_type:audio_changeset;"},
        {17});
    row("network info nobody takes", {"INFO;info_type:network_info;network:mobile.0;"}, {});
    row("configuration of no assigned interface",
        {"EVENT;event_type:config info;network:eth.3;"},
        {});
    row("AoIP configuration", {"EVENT;event_type:aoip_config;auto_jbuffer:on;"}, {});
}

void tst_ComDevice::deviceStateCodes()
{
    QFETCH(QStringList, messages);
    QFETCH(QList<int>, codes);

    TComDevice &device = *m_fx.device;
    QList<int> seen;
    QObject::connect(&device,
                     &TComDevice::deviceStateChanged,
                     &m_fx.context,
                     [&seen](TComDevice::DeviceState code) { seen << int(code); });
    for (const QString &text : std::as_const(messages)) {
        const ksm::CMsg msg = parsed(text);
        QVERIFY(msg.type() == ksm::CMsg::Info ? device.handleInfo(msg) : device.handleEvent(msg));
    }
    QCOMPARE(seen, codes);
}

void tst_ComDevice::relayInputsOfLinkTwoCall()
{
    TComDevice &device = *m_fx.device;
    auto *call = new TComAudioConnection(m_fx.com(), 1);
    call->attach(1, 6, "eth.0");
    QVERIFY(device.addConnection(call));
    DeviceTrail trail(&device);

    QVERIFY(device.handleEvent(parsed("EVENT;event_type:relay_in;id:6;relay1:on;")));
    QVERIFY(!device.relayInputsKnown());
    QVERIFY(device.handleEvent(parsed("EVENT;event_type:relay_in;relay1:on;config2:c;")));
    QVERIFY(device.handleEvent(parsed("EVENT;event_type:relay_in;relay2:on;config2:d;")));
    QCOMPARE(trail.take(), QStringList({"device:15", "device:15"}));
    QVERIFY(!device.relayInput1().active);
    QVERIFY(device.relayInput2().active);
    QCOMPARE(device.relayInput2().config, std::string("d"));
    QCOMPARE(device.relayInput2().previousConfig, std::string("c"));
    QCOMPARE(device.relayInput2().number, 2);
}

void tst_ComDevice::interfaceCodesAndBars()
{
    // The default network moves from interface to interface; each assigned controller's changes
    // and the device's reports for it surface as the codes 8 to 12, the levels as bars.
    FakeQuorix &fake = *m_fx.fake();
    const QString mobile = QStringLiteral("mobile.0");
    fake.setValue(QStringLiteral("pin"), QStringLiteral("ready"), kNetwork, mobile);
    fake.setValue(QStringLiteral("registration_state"), QStringLiteral("home"), kNetwork, mobile);
    fake.setValue(QStringLiteral("signal_quality"), QStringLiteral("20"), kNetwork, mobile);
    fake.setValue(QStringLiteral("signal_quality"),
                  QStringLiteral("-73 dBm"),
                  kNetwork,
                  QStringLiteral("wifi.0"));
    TComDevice &device = *m_fx.device;
    QList<int> seen;
    QObject::connect(&device,
                     &TComDevice::deviceStateChanged,
                     &m_fx.context,
                     [&seen](TComDevice::DeviceState code) { seen << int(code); });
    const auto handle = [&](const char *text) {
        const ksm::CMsg msg = parsed(QLatin1String(text));
        const bool taken
            = msg.type() == ksm::CMsg::Info ? device.handleInfo(msg) : device.handleEvent(msg);
        const QList<int> codes = seen;
        seen.clear();
        return taken ? codes : QList<int>{-1};
    };

    // Its state, found by the assignment, is covered by the one interface code.
    QCOMPARE(handle("EVENT;event_type:default_network;network:mobile.0;"), QList<int>({1, 9}));
    QCOMPARE(device.mobileController()->state(), int(TComController::StateReady));
    QCOMPARE(device.mobileSignalBars(), 4);
    QCOMPARE(handle("INFO;info_type:network_info;info_source:mobile.0;signal_quality:6;"
                    "registration_state:123-not registered;"),
             QList<int>({9, 10}));
    QCOMPARE(device.mobileController()->state(), int(TComController::StateNotRegistered));
    QCOMPARE(device.mobileSignalBars(), 2);
    QCOMPARE(handle("EVENT;event_type:config info;network:mobile.0;network_mode:data;"),
             QList<int>({9}));
    QCOMPARE(device.mobileController()->serviceMode(), 1);

    QCOMPARE(handle("EVENT;event_type:default_network;network:wifi.0;"), QList<int>({1, 11}));
    QCOMPARE(device.wifiSignalBars(), 2); // -73 dBm: level 20
    QCOMPARE(handle("INFO;info_type:network_info;info_source:wifi.0;signal_quality_dbm:-60 dBm;"),
             QList<int>({12}));
    QCOMPARE(device.wifiSignalBars(), 4); // level 26
    QCOMPARE(handle("EVENT;event_type:config info;network:wifi.0;"), QList<int>({11}));

    QCOMPARE(handle("EVENT;event_type:default_network;network:eth.0;"), QList<int>({1, 8}));
    QCOMPARE(handle("EVENT;event_type:config info;network:eth.0;mode:manual;"), QList<int>({8}));
    QCOMPARE(device.ethernetController()->mode(), int(TComEthernetController::ModeManual));
    // The mobile controller keeps its interface and its reports.
    QCOMPARE(handle("INFO;info_type:network_info;info_source:mobile.0;signal_quality:26;"
                    "registration_state:123-not registered;"),
             QList<int>({10}));
    QCOMPARE(device.mobileSignalBars(), 5);
    QCOMPARE(handle("EVENT;event_type:config info;network:isdn.0;"), QList<int>());
}

void tst_ComDevice::controllerStates()
{
    TComDevice &device = *m_fx.device;
    DeviceTrail trail(&device);
    device.ethernetController()->setState(TComController::StateReady);
    device.mobileController()->setState(TComController::StateSimMissing);
    device.wifiController()->setState(TComController::StateReady);
    device.aoipController()->setState(TComController::StateReady);
    QCOMPARE(trail.take(), QStringList({"device:8", "device:9", "device:11"}));
}

void tst_ComDevice::signalBars()
{
    const QList<QPair<int, int>> mobile{
        {26, 5}, {25, 4}, {20, 4}, {14, 3}, {6, 2}, {5, 1}, {1, 1}, {0, 0}, {-3, 0}};
    for (const auto &[quality, bars] : mobile)
        QCOMPARE(TComDevice::mobileSignalBarsFor(quality), bars);
    const QList<QPair<int, int>> wifi{
        {29, 5}, {23, 4}, {21, 3}, {20, 2}, {17, 2}, {16, 1}, {12, 1}, {11, 0}};
    for (const auto &[quality, bars] : wifi)
        QCOMPARE(TComDevice::wifiSignalBarsFor(quality), bars);
}

void tst_ComDevice::setterStopsAtFirstRefusal_data()
{
    QTest::addColumn<QString>("setter");
    QTest::addColumn<int>("refused"); // the request refused, 0 for none
    QTest::addColumn<int>("requests");

    QTest::newRow("codec mode, AoIP refuses") << "codecMode" << 1 << 1;
    QTest::newRow("codec mode, audio refuses") << "codecMode" << 2 << 2;
    QTest::newRow("codec mode, reinit fails") << "codecMode" << 3 << 3;
    QTest::newRow("codec mode, accepted") << "codecMode" << 0 << 3;
    QTest::newRow("operation mode, DSP refuses") << "operationMode" << 1 << 1;
    QTest::newRow("operation mode, AIC refuses") << "operationMode" << 2 << 2;
    QTest::newRow("operation mode, AoIP refuses") << "operationMode" << 3 << 3;
    QTest::newRow("operation mode, reinit fails") << "operationMode" << 4 << 4;
    QTest::newRow("operation mode, accepted") << "operationMode" << 0 << 4;
    QTest::newRow("coordination, refused") << "coordinationMode" << 1 << 1;
    QTest::newRow("coordination, accepted") << "coordinationMode" << 0 << 1;
    QTest::newRow("codec, refused") << "codec" << 1 << 1;
    QTest::newRow("aes67 reset, accepted") << "aes67Reset" << 0 << 1;
    QTest::newRow("default network, refused") << "defaultNetwork" << 1 << 1;
    QTest::newRow("secondary network, accepted") << "secondaryNetwork" << 0 << 1;
}

void tst_ComDevice::setterStopsAtFirstRefusal()
{
    QFETCH(QString, setter);
    QFETCH(int, refused);
    QFETCH(int, requests);

    TComDevice &device = *m_fx.device;
    if (refused)
        refuseNthRequest(*m_fx.fake(), refused);
    QList<int> seen;
    QObject::connect(&device,
                     &TComDevice::deviceStateChanged,
                     &m_fx.context,
                     [&seen](TComDevice::DeviceState code) { seen << int(code); });
    m_fx.fake()->clearLog();

    bool result = false;
    int code = -1;
    bool changed = false;
    if (setter == QLatin1String("codecMode")) {
        result = device.setCodecMode(1, true);
        code = 5;
        changed = device.codecMode() == 1;
    } else if (setter == QLatin1String("operationMode")) {
        result = device.setOperationMode(1, true);
        code = 18;
        changed = device.operationMode() == 1;
    } else if (setter == QLatin1String("coordinationMode")) {
        result = device.setCoordinationMode(1, true);
        code = 6;
        changed = device.coordinationMode() == 1;
    } else if (setter == QLatin1String("codec")) {
        result = device.setCodec(1, "G722", true);
        code = 3;
        changed = device.coder1().algorithm != -1;
    } else if (setter == QLatin1String("aes67Reset")) {
        result = device.setAes67Reset(true, true);
        code = 17;
        changed = device.aes67Reset();
    } else if (setter == QLatin1String("defaultNetwork")) {
        result = device.setDefaultNetwork("aoip", true);
        code = 1;
        changed = device.defaultNetwork() == "aoip";
    } else {
        result = device.setSecondaryNetwork("wifi.0", true);
        code = 2;
        changed = device.secondaryNetwork() == "wifi.0";
    }

    QCOMPARE(m_fx.fake()->requestCount(), requests);
    QCOMPARE(result, refused == 0);
    QCOMPARE(changed, refused == 0);
    QCOMPARE(seen, refused == 0 ? QList<int>{code} : QList<int>{});
}

void tst_ComDevice::unchangedOrUnreadableSendsNothing()
{
    TComDevice &device = *m_fx.device;
    QVERIFY(device.setDefaultNetwork("aoip", false));
    m_fx.fake()->clearLog();
    QVERIFY(device.setDefaultNetwork("aoip", true));
    QVERIFY(device.setCodec(2, "xyz", true));
    QVERIFY(device.setCodecMode(0, true));
    TCodecConfig out;
    QVERIFY(!device.readTxCodec(1, "isdn", out)); // no ISDN option
    QVERIFY(!device.writeTxCodec(1, "pots", "G722"));
    QCOMPARE(m_fx.fake()->requestCount(), 0);

    // Double codec mode writes the ISDN key only with the ISDN option.
    QVERIFY(device.setCodecMode(1, true));
    QVERIFY(!m_fx.fake()->requests().at(1).has(QStringLiteral("isdn-codec_mode")));
    QCOMPARE(m_fx.fake()->requests().at(1).value(QStringLiteral("ip-codec_mode")),
             QStringLiteral("cmode_double"));
    QCOMPARE(m_fx.fake()->requests().at(0).value(QStringLiteral("audio_mode")),
             QStringLiteral("SIP"));

    // Transmit codec of coder 2 over IP.
    m_fx.fake()->setValue(QStringLiteral("ip-dcodec_tx_2"), QStringLiteral("G722"), kAudio);
    QVERIFY(device.readTxCodec(2, "ip", out));
    QCOMPARE(out.algorithm, codecFromString("G722"));
}

// A default or secondary network written and taken: the unit's event of it that arrived before
// the write's answer (one that waited in the window's queue while the write ran) is older than
// what was written and leaves it; one that came after it is the unit's news and counts.
void tst_ComDevice::networkNewsOlderThanATakenWrite()
{
    TComDevice &device = *m_fx.device;
    ksm::CCom *com = m_fx.link.com.get();
    QVERIFY(device.setDefaultNetwork("eth.0", false));
    QVERIFY(device.setSecondaryNetwork("wifi.0", false));
    QVERIFY(device.setDefaultNetwork("eth.1", true));
    QVERIFY(device.setSecondaryNetwork("mobile.0", true));
    const qint64 answered = com->signalsBeforeLastReply();

    const auto event = [&](const char *type, const char *network, qint64 arrival) {
        ksm::CMsg msg(ksm::CMsg::Event);
        msg.setParam("event_type", type);
        msg.setParam("network", network);
        const ksm::HandledSignal handled(com, arrival);
        QVERIFY(device.handleEvent(msg));
    };
    event("default_network", "eth.0", answered);
    event("secondary_network", "wifi.0", answered);
    QCOMPARE(device.defaultNetwork(), std::string("eth.1"));
    QCOMPARE(device.secondaryNetwork(), std::string("mobile.0"));

    event("default_network", "aoip", answered + 1);
    event("secondary_network", "wifi.0", answered + 1);
    QCOMPARE(device.defaultNetwork(), std::string("aoip"));
    QCOMPARE(device.secondaryNetwork(), std::string("wifi.0"));

    // A read's answer is as new as a write's. The unit says something first, so that the read
    // is answered later than the writes.
    bool said = false;
    connect(com, &ksm::CCom::messageReceived, this, [&] { said = true; });
    QVERIFY(m_fx.link.fake->pushInfo(QStringLiteral("ping")));
    QVERIFY(QTest::qWaitFor([&] { return said; }, 5000));
    QVERIFY(device.readNetworkSettings());
    QVERIFY(device.readSecondaryNetwork());
    const qint64 read = com->signalsBeforeLastReply();
    event("default_network", "aoip", read);
    event("secondary_network", "wifi.0", read);
    QCOMPARE(device.defaultNetwork(), std::string("eth.1"));
    QCOMPARE(device.secondaryNetwork(), std::string("mobile.0"));

    // The mobile interface's service mode, which its configuration events carry.
    TComMobileController &mobile = *device.mobileController();
    QVERIFY(mobile.setNetwork("mobile.0", 0, false));
    QVERIFY(mobile.setServiceMode(TComMobileController::ServiceGsmVoice, false));
    QVERIFY(mobile.setServiceMode(TComMobileController::ServiceData, true));
    const qint64 modeAnswered = com->signalsBeforeLastReply();
    const auto modeEvent = [&](const char *mode, qint64 arrival) {
        ksm::CMsg msg(ksm::CMsg::Event);
        msg.setParam("event_type", "config info");
        msg.setParam("network", "mobile.0");
        msg.setParam("network_mode", mode);
        const ksm::HandledSignal handled(com, arrival);
        QVERIFY(mobile.handleEvent(msg));
    };
    modeEvent("gsm_voice", modeAnswered);
    QCOMPARE(mobile.serviceMode(), int(TComMobileController::ServiceData));
    modeEvent("gsm_voice", modeAnswered + 1);
    QCOMPARE(mobile.serviceMode(), int(TComMobileController::ServiceGsmVoice));
}

void tst_ComDevice::audioRouting_data()
{
    QTest::addColumn<QString>("codecMode");
    QTest::addColumn<QString>("codec");
    QTest::addColumn<QString>("coordMode");
    QTest::addColumn<QString>("operationMode");
    QTest::addColumn<int>("routing");

    const QString stereo = QStringLiteral("MPA2/48000/stereo/256000/0");
    const QString dmono = QStringLiteral("MPA2/48000/dmono/256000/0");
    const QString mono = QStringLiteral("MPA2/48000/mono/128000/0");
    const QString jstereo = QStringLiteral("MPA2/48000/jstereo/256000/0");
    QTest::newRow("mono") << "cmode_normal" << mono << "disabled"
                          << "standard" << 1;
    QTest::newRow("mono, coordination") << "cmode_normal" << mono << "enabled"
                                        << "standard" << 8;
    QTest::newRow("stereo") << "cmode_normal" << stereo << "disabled"
                            << "extended" << 2;
    QTest::newRow("stereo, coordination, standard") << "cmode_normal" << stereo << "enabled"
                                                    << "standard" << 2;
    QTest::newRow("stereo, coordination, extended") << "cmode_normal" << stereo << "enabled"
                                                    << "extended" << 64;
    QTest::newRow("dual mono") << "cmode_normal" << dmono << "disabled"
                               << "standard" << 4;
    QTest::newRow("dual mono, coordination") << "cmode_normal" << dmono << "enabled"
                                             << "standard" << 64;
    QTest::newRow("joint stereo") << "cmode_normal" << jstereo << "enabled"
                                  << "extended" << 1;
    QTest::newRow("double, joint stereo") << "cmode_double" << jstereo << "disabled"
                                          << "standard" << 16;
    QTest::newRow("double, stereo") << "cmode_double" << stereo << "disabled"
                                    << "standard" << 32;
}

void tst_ComDevice::audioRouting()
{
    QFETCH(QString, codecMode);
    QFETCH(QString, codec);
    QFETCH(QString, coordMode);
    QFETCH(QString, operationMode);
    QFETCH(int, routing);

    FakeQuorix &fake = *m_fx.fake();
    scriptUnit(fake);
    fake.setValue(QStringLiteral("codec_mode"), codecMode, kAudio);
    fake.setValue(QStringLiteral("codec"), codec, kAudio);
    fake.setValue(QStringLiteral("dcodec_1"), codec, kAudio);
    fake.setValue(QStringLiteral("coord_mode"), coordMode, kAudio);
    fake.setValue(QStringLiteral("operation_mode"), operationMode, kAudio);
    QVERIFY(m_fx.device->refresh());

    QCOMPARE(m_fx.device->audioRouting(), routing);
    QCOMPARE(m_fx.device->currentAudioRouting(), routing); // no call
    QCOMPARE(m_fx.device->isDoubleCodecRouting(), routing == 16 || routing == 32);
    QCOMPARE(m_fx.device->hasCoordinationLine(), routing == 8 || routing == 64);
    QCOMPARE(m_fx.device->linkTransport(2),
             routing == 8 || routing == 64 ? int(TComDevice::TransportVoice)
                                           : int(TComDevice::TransportIp));
}

void tst_ComDevice::currentAudioRoutingFollowsCall()
{
    scriptUnit(*m_fx.fake());
    m_fx.fake()->setValue(QStringLiteral("coord_mode"), QStringLiteral("enabled"), kAudio);
    TComDevice &device = *m_fx.device;
    QVERIFY(device.refresh());
    QCOMPARE(device.audioRouting(), 2); // stereo with coordination, standard operation mode

    QVERIFY(device.handleEvent(parsed("EVENT;event_type:1000-call active;id:1;network:eth.0;"
                                      "codec_tx:MPA2/48000/stereo/256000/0;")));
    QCOMPARE(device.currentAudioRouting(), 64);
    QVERIFY(device.handleEvent(parsed("EVENT;event_type:dsp_status;id:1;network:eth.0;state:sync;"
                                      "codec_tx:MPA2/48000/mono/64000/0;")));
    QCOMPARE(device.currentAudioRouting(), 8);
    QCOMPARE(device.findAudioConnectionByTransport(TComDevice::TransportIp),
             device.audioConnection(1));
    QCOMPARE(device.findAudioConnection("eth.0"), device.audioConnection(1));
    QVERIFY(!device.findConnection(TComBaseConnection::DataLink, "eth.0"));
    QVERIFY(device.hasAudioConnection());
}

void tst_ComDevice::capabilityLists()
{
    TComDevice &device = *m_fx.device;
    FakeQuorix &fake = *m_fx.fake();
    fake.setList(QStringLiteral("bitrate"), {"64000", "128000"}, kAudio, QStringLiteral("isdn"));
    fake.setList(QStringLiteral("alg"), {"G722", "nonsense"}, kAudio);

    std::vector<int> out{99};
    QVERIFY(device.listBitRates(1, codecFromString("MPA2"), 2, 48000, out, TComDevice::IsdnFamily));
    QCOMPARE(out, (std::vector<int>{64000, 128000}));
    const FakeRequest sent = fake.lastRequest();
    QVERIFY(sent.isListOf(QStringLiteral("bitrate")));
    QCOMPARE(sent.value(QStringLiteral("codec_mode")), QStringLiteral("double_codec"));
    QCOMPARE(sent.value(QStringLiteral("alg")), QStringLiteral("MPA2"));
    QCOMPARE(sent.value(QStringLiteral("mode")), QStringLiteral("stereo"));
    QCOMPARE(sent.value(QStringLiteral("samplerate")), QStringLiteral("48000"));
    QCOMPARE(sent.network(), QStringLiteral("isdn"));

    QVERIFY(device.listAlgorithms(0, out, TComDevice::AoipFamily));
    QCOMPARE(out, (std::vector<int>{codecFromString("G722"), -1}));
    QVERIFY(!fake.lastRequest().has(QStringLiteral("network")));

    fake.refuseKey(QStringLiteral("mode"), QStringLiteral("102-unknown parameter"));
    QVERIFY(!device.listChannelModes(0, 0, 1, out, TComDevice::WifiFamily));
    QVERIFY(out.empty());
}

void tst_ComDevice::rebootWithLinkDown()
{
    QVERIFY(m_fx.device->reboot());
    QVERIFY(m_fx.fake()->lastRequest().isCommand(QStringLiteral("reboot")));
    m_fx.com()->disconnect();
    QVERIFY(m_fx.device->shutdown());
    TComDevice unlinked(nullptr);
    QVERIFY(!unlinked.reboot());
}

void tst_ComDevice::toolsConversations()
{
    FakeQuorix &fake = *m_fx.fake();
    TComDevice &device = *m_fx.device;
    const QString db = QStringLiteral("db");
    const QString panel = QStringLiteral("vn_frontpanel");
    QCOMPARE(m_fx.com()->initialize("ui", "vn_frontpanel"), 0);

    // A restart refused is not a restart; a refused shutdown neither.
    fake.refuseCommand(QStringLiteral("reboot"), QStringLiteral("015-not allowed"));
    QVERIFY(!device.reboot());
    fake.refuseCommand(QStringLiteral("shutdown"), QStringLiteral("015-not allowed"));
    QVERIFY(!device.shutdown());
    fake.resetScript();

    // Passwords: read as stored, an unset key as empty; a failed read leaves values alone.
    fake.setValue(QStringLiteral("password_al"), QStringLiteral("c1pher"), db, panel);
    std::map<std::string, std::string> values{{"password_ol", "kept"}};
    QVERIFY(device.readAccessPasswords(values));
    QCOMPARE(values["password_al"], std::string("c1pher"));
    QCOMPARE(values["password_el"], std::string());
    fake.refuseKey(QStringLiteral("password_el"), QStringLiteral("015-not allowed"));
    std::map<std::string, std::string> untouched{{"password_al", "x"}};
    QVERIFY(!device.readAccessPasswords(untouched));
    QCOMPARE(untouched.size(), size_t(1));
    QCOMPARE(untouched["password_al"], std::string("x"));

    // Writes: only the three password keys; a refusal is reported.
    QVERIFY(device.writeAccessPassword("password_ol", "n3w"));
    QCOMPARE(fake.value(QStringLiteral("password_ol"), db, panel), QStringLiteral("n3w"));
    QVERIFY(!device.writeAccessPassword("tabname", "n3w"));
    QVERIFY(!device.writeAccessPassword("password_el", ""));
    QVERIFY(device.writeAutoLogin(true));
    QCOMPARE(fake.value(QStringLiteral("autologin"), db, panel), QStringLiteral("on"));

    // The sound ID file.
    QVERIFY(device.soundIdFileExists());
    const FakeRequest open = fake.lastRequest();
    QVERIFY(open.isCommand(QStringLiteral("open")));
    QCOMPARE(open.value(QStringLiteral("type")), QStringLiteral("record"));
    QCOMPARE(open.value(QStringLiteral("name")), QStringLiteral("/mnt/datax/sound_ID.wav"));
    fake.refuseCommand(QStringLiteral("open"), QStringLiteral("104-file not found"));
    QVERIFY(!device.soundIdFileExists());

    // Tools keys go to their targets; other keys are not sent.
    fake.clearLog();
    const std::map<std::string, std::string> tools
        = {{"ext_relay1", "call_active"}, {"auto_redial_time", "10"}};
    std::map<std::string, std::string> withOther = tools;
    withOther.insert({"password_al", ""});
    const WriteReport written = device.writeToolsParams(withOther);
    QVERIFY(written.holds(tools));
    QCOMPARE(written.kept, std::set<std::string>{"password_al"});
    QCOMPARE(fake.value(QStringLiteral("ext_relay1"), QStringLiteral("general")),
             QStringLiteral("call_active"));
    QCOMPARE(fake.value(QStringLiteral("auto_redial_time"), QStringLiteral("network")),
             QStringLiteral("10"));
    QCOMPARE(fake.requestCount(), 2);
    QVERIFY(!device.writeToolsParams({{"tabname", "x"}}).holds({{"tabname", "x"}}));
    QCOMPARE(fake.requestCount(), 2);
    // A refused key fails the write; the other target's keys are still sent.
    fake.refuseKey(QStringLiteral("ext_relay1"), QStringLiteral("015-not allowed"));
    const WriteReport refused
        = device.writeToolsParams({{"ext_relay1", "relay_state_none"}, {"auto_redial_time", "20"}});
    QCOMPARE(refused.kept, std::set<std::string>{"ext_relay1"});
    QCOMPARE(refused.held, (std::map<std::string, std::string>{{"auto_redial_time", "20"}}));
    QCOMPARE(fake.value(QStringLiteral("ext_relay1"), QStringLiteral("general")),
             QStringLiteral("call_active"));
    QCOMPARE(fake.value(QStringLiteral("auto_redial_time"), QStringLiteral("network")),
             QStringLiteral("20"));

    TComDevice unlinked(nullptr);
    std::map<std::string, std::string> none;
    QVERIFY(!unlinked.readAccessPasswords(none));
    QVERIFY(!unlinked.writeAccessPassword("password_al", ""));
    QVERIFY(!unlinked.writeAutoLogin(false));
    QVERIFY(!unlinked.soundIdFileExists());
}

void tst_ComDevice::sharedInstance()
{
    QCOMPARE(deviceOptionWord, quint32(0));
    TComDevice *device = comDevice();
    QVERIFY(device);
    QCOMPARE(comDevice(), device);
    QCOMPARE(device->com(), comClient());
    QCOMPARE(deviceOptionWord, quint32(0));
    destroySharedObjects();
    QCOMPARE(deviceOptionWord, quint32(0));
}

QTEST_GUILESS_MAIN(tst_ComDevice)
#include "tst_comdevice.moc"
