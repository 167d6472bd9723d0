#include "tests/model/devicefixture.h"

#include <QPointer>
#include <QtTest>

namespace {

const QString kCallProceeding = QStringLiteral("0100-call proceeding");
const QString kCallActive = QStringLiteral("1000-call active");
const QString kCallReceived = QStringLiteral("0600-call received");
const QString kCallRing = QStringLiteral("call ring");
const QString kCallDisconnected = QStringLiteral("1200-call disconnected");
const QString kCallReleased = QStringLiteral("1900-call released");
const QString kCallLost = QStringLiteral("1901-call lost");

FakePairs callOn(const QString &id, const QString &network, const FakePairs &more = {})
{
    FakePairs pairs{{QStringLiteral("id"), id}, {QStringLiteral("network"), network}};
    return pairs + more;
}

} // namespace

// Call and data-link life cycles as the device scripts them, seen through the device's signals
// and its connection map.
class tst_ComDeviceCalls : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void outgoingCall();
    void incomingCall();
    void lostCall();
    void coordinationLineCall();
    void dataLink();
    void releaseInsideHangUp();
    void disconnectionInsideDataHangUp();
    void ignoredMessages_data();
    void ignoredMessages();
    void eventCreatingWithoutNetworkIsDropped();

private:
    DeviceFixture m_fx;
};

void tst_ComDeviceCalls::init()
{
    QVERIFY(m_fx.open());
}

void tst_ComDeviceCalls::cleanup()
{
    m_fx.close();
}

void tst_ComDeviceCalls::outgoingCall()
{
    m_fx.fake()->setCommandReply(QStringLiteral("con"),
                                 {{QStringLiteral("id"), QStringLiteral("7")}});
    DeviceTrail trail(m_fx.device.get());

    auto *call = new TComAudioConnection(m_fx.com(), 0);
    QCOMPARE(call->dial("eth.0", "sip:studio@example.org"), 0);
    const FakeRequest sent = m_fx.fake()->lastRequest();
    QVERIFY(sent.isCommand(QStringLiteral("con")));
    QCOMPARE(sent.value(QStringLiteral("comm_link")), QStringLiteral("audio"));
    QCOMPARE(sent.value(QStringLiteral("remote_addr")), QStringLiteral("sip:studio@example.org"));
    QCOMPARE(sent.network(), QStringLiteral("eth.0"));
    QCOMPARE(call->id(), 7);
    QCOMPARE(call->state(), 1);
    QCOMPARE(call->status(), 1);
    QCOMPARE(call->direction(), 0);
    QVERIFY(call->remoteAddresses().empty());
    QVERIFY(trail.lines.isEmpty()); // no owner yet

    QVERIFY(m_fx.device->addConnection(call));
    QVERIFY(m_fx.pushEvent(kCallProceeding, callOn("7", "eth.0")));
    QVERIFY(m_fx.pushEvent(kCallActive,
                           callOn("7",
                                  "eth.0",
                                  {{"codec_tx", "MPA2/48000/stereo/256000/0"},
                                   {"codec_rx", "G722"},
                                   {"auto_bitrate", "on"},
                                   {"remote_addr", "10.1.1.1"}})));
    QCOMPARE(call->codecTx().algorithm, codecFromString("MPA2"));
    QCOMPARE(call->codecTx().channelMode, 2);
    QCOMPARE(call->codecRx().algorithm, codecFromString("G722"));
    QVERIFY(call->autoBitrate());
    QCOMPARE(call->remoteAddresses(), std::string("10.1.1.1"));
    QCOMPARE(m_fx.device->audioConnection(1), call);
    QCOMPARE(TComDevice::connectionTransport(call), int(TComDevice::TransportIp));

    QPointer<TComAudioConnection> watch(call);
    QVERIFY(m_fx.pushEvent(kCallReleased,
                           callOn("7", "eth.0", {{"cause", "001-location unavailable"}})));
    QCOMPARE(trail.take(),
             QStringList({"added:7",
                          "status:7:4",
                          "status:7:6",
                          "state:7:2",
                          "status:7:12",
                          "state:7:4",
                          "removed:7"}));
    QVERIFY(m_fx.device->connections().empty());
    // Deleted once the event loop ran (the wait for the event did that).
    DeviceFixture::flushDeletions();
    QVERIFY(watch.isNull());
}

void tst_ComDeviceCalls::incomingCall()
{
    DeviceTrail trail(m_fx.device.get());

    QVERIFY(m_fx.pushEvent(kCallReceived, callOn("9", "isdn.0", {{"comm_link", "audio2"}})));
    auto *call = qobject_cast<TComAudioConnection *>(m_fx.device->connection(9));
    QVERIFY(call);
    QCOMPARE(call->type(), int(TComBaseConnection::AudioLink2));
    QCOMPARE(call->direction(), 1);
    QCOMPARE(trail.take(), QStringList({"added:9", "state:9:1", "status:9:5"}));

    QVERIFY(m_fx.pushEvent(kCallRing, callOn("9", "isdn.0", {{"remote_addr", "0301234"}})));
    QVERIFY(m_fx.pushEvent(kCallRing, callOn("9", "isdn.0")));
    QCOMPARE(call->ringCount(), 3);
    QCOMPARE(call->remoteAddresses(), std::string("0301234"));
    QCOMPARE(trail.take(), QStringList({"status:9:5", "status:9:5"}));

    // The page accepts with its own object; the device's record of the call stays the one.
    TComAudioConnection accepting(m_fx.com(), 1);
    m_fx.fake()->setCommandReply(QStringLiteral("conacc"),
                                 {{QStringLiteral("id"), QStringLiteral("9")}});
    QVERIFY(accepting.accept(9, "isdn.0"));
    const FakeRequest sent = m_fx.fake()->lastRequest();
    QVERIFY(sent.isCommand(QStringLiteral("conacc")));
    QCOMPARE(sent.value(QStringLiteral("id")), QStringLiteral("9"));
    QCOMPARE(accepting.status(), 2);
    QCOMPARE(accepting.direction(), 1);
    QVERIFY(!m_fx.device->addConnection(&accepting));

    QVERIFY(m_fx.pushEvent(kCallActive, callOn("9", "isdn.0", {{"codec_rx", "G722"}})));
    QVERIFY(m_fx.pushEvent(kCallDisconnected, callOn("9", "isdn.0")));
    QCOMPARE(m_fx.device->connection(9), call);
    QVERIFY(m_fx.pushEvent(kCallReleased, callOn("9", "isdn.0")));
    QCOMPARE(trail.take(),
             QStringList({"status:9:6",
                          "state:9:2",
                          "status:9:11",
                          "state:9:3",
                          "status:9:12",
                          "state:9:4",
                          "removed:9"}));
    QVERIFY(!m_fx.device->connection(9));
}

void tst_ComDeviceCalls::lostCall()
{
    DeviceTrail trail(m_fx.device.get());
    std::string cause;
    int previousStatus = -1;
    QObject::connect(m_fx.device.get(),
                     &TComDevice::connectionRemoved,
                     &trail.context,
                     [&](TComBaseConnection *c) {
                         auto *audio = qobject_cast<TComAudioConnection *>(c);
                         cause = audio->cause();
                         previousStatus = audio->previousStatus();
                     });
    QVERIFY(m_fx.pushEvent(kCallProceeding, callOn("4", "mobile.0")));
    QPointer<TComAudioConnection> call
        = qobject_cast<TComAudioConnection *>(m_fx.device->connection(4));
    QVERIFY(call);
    QCOMPARE(call->direction(), 0);

    QVERIFY(m_fx.pushEvent(kCallLost, callOn("4", "mobile.0", {{"cause", "120-no connection"}})));
    QCOMPARE(trail.take(),
             QStringList(
                 {"added:4", "state:4:1", "status:4:4", "status:4:14", "state:4:4", "removed:4"}));
    QCOMPARE(cause, std::string("120-no connection"));
    QCOMPARE(previousStatus, 4);
    DeviceFixture::flushDeletions();
    QVERIFY(call.isNull());
}

void tst_ComDeviceCalls::coordinationLineCall()
{
    DeviceTrail trail(m_fx.device.get());
    QVERIFY(
        m_fx.pushEvent(kCallProceeding, callOn("5", "mobile.0", {{"comm_link", "coord_line"}})));
    auto *call = qobject_cast<TComAudioConnection *>(m_fx.device->connection(5));
    QVERIFY(call);
    QCOMPARE(call->type(), int(TComBaseConnection::CoordinationLine));
    QCOMPARE(call->codecTx().algorithm, 17);
    QCOMPARE(call->codecRx().algorithm, 17);
    QCOMPARE(m_fx.device->audioConnection(2), call);
    QCOMPARE(TComDevice::connectionTransport(call), int(TComDevice::TransportVoice));

    // Active: the line's GSM coding stays, and it is in sync at once.
    QVERIFY(m_fx.pushEvent(kCallActive, callOn("5", "mobile.0", {{"codec_tx", "G722"}})));
    QCOMPARE(call->codecTx().algorithm, 17);
    QCOMPARE(call->status(), 9);
    QVERIFY(m_fx.pushEvent(kCallReleased, callOn("5", "mobile.0")));
    QCOMPARE(trail.take(),
             QStringList({"added:5",
                          "state:5:1",
                          "status:5:4",
                          "status:5:6",
                          "state:5:2",
                          "status:5:9",
                          "status:5:12",
                          "state:5:4",
                          "removed:5"}));
}

void tst_ComDeviceCalls::dataLink()
{
    m_fx.fake()->setCommandReply(QStringLiteral("con"),
                                 {{QStringLiteral("id"), QStringLiteral("3")}});
    DeviceTrail trail(m_fx.device.get());

    auto *link = new TComDataConnection(m_fx.com());
    QVERIFY(link->dial("wifi.0"));
    const FakeRequest sent = m_fx.fake()->lastRequest();
    QCOMPARE(sent.value(QStringLiteral("comm_link")), QStringLiteral("data"));
    QCOMPARE(sent.value(QStringLiteral("mode")), QStringLiteral("wifi"));
    QCOMPARE(sent.network(), QStringLiteral("wifi.0"));
    QCOMPARE(link->state(), 1);
    QVERIFY(m_fx.device->addConnection(link));

    QVERIFY(m_fx.pushEvent(QStringLiteral("data connected"), callOn("3", "wifi.0")));
    QVERIFY(link->hangUp());
    QCOMPARE(m_fx.fake()->lastRequest().value(QStringLiteral("id")), QStringLiteral("3"));
    QVERIFY(m_fx.pushEvent(QStringLiteral("data disconnected"), callOn("3", "wifi.0")));
    QCOMPARE(trail.take(),
             QStringList({"added:3", "data:3:2", "data:3:3", "data:3:4", "removed:3"}));
    QVERIFY(m_fx.device->connections().empty());

    // A link the device announces itself is created in state 1 and connected by the event.
    QVERIFY(m_fx.pushEvent(QStringLiteral("data connected"), callOn("8", "mobile.0")));
    QCOMPARE(trail.take(), QStringList({"added:8", "data:8:2"}));
    QCOMPARE(m_fx.device->connection(8)->type(), int(TComBaseConnection::DataLink));
}

void tst_ComDeviceCalls::releaseInsideHangUp()
{
    // The device announces the release before it answers the hang-up, so the release is handled
    // while the hang-up still waits in its synchronous call.
    m_fx.fake()->setReplyHook([this](
                                  const FakeRequest &request) -> std::optional<QList<FakeReply>> {
        if (!request.isCommand(QStringLiteral("dcon")))
            return std::nullopt;
        FakeMessage released(FakeMessage::Event,
                             {{"event_type", kCallReleased}, {"id", "7"}, {"network", "eth.0"}});
        return QList<FakeReply>{FakeReply::signal(released)} + m_fx.fake()->defaultReplies(request);
    });
    QVERIFY(m_fx.pushEvent(kCallProceeding, callOn("7", "eth.0")));
    QPointer<TComAudioConnection> call
        = qobject_cast<TComAudioConnection *>(m_fx.device->connection(7));
    QVERIFY(call);

    DeviceTrail trail(m_fx.device.get());
    bool hangingUp = false;
    bool removedDuringHangUp = false;
    QObject::connect(m_fx.device.get(),
                     &TComDevice::connectionRemoved,
                     &trail.context,
                     [&](TComBaseConnection *) { removedDuringHangUp = hangingUp; });
    hangingUp = true;
    QVERIFY(call->hangUp());
    hangingUp = false;

    QVERIFY(removedDuringHangUp);
    QCOMPARE(trail.take(), QStringList({"status:7:12", "state:7:4", "removed:7"}));
    QVERIFY(!call.isNull());
    QCOMPARE(call->state(), 4); // ended stays ended
    QCOMPARE(call->status(), 12);
    DeviceFixture::flushDeletions();
    QVERIFY(call.isNull());
}

void tst_ComDeviceCalls::disconnectionInsideDataHangUp()
{
    m_fx.fake()->setReplyHook(
        [this](const FakeRequest &request) -> std::optional<QList<FakeReply>> {
            if (!request.isCommand(QStringLiteral("dcon")))
                return std::nullopt;
            FakeMessage gone(
                FakeMessage::Event,
                {{"event_type", "data disconnected"}, {"id", "3"}, {"network", "mobile.0"}});
            return QList<FakeReply>{FakeReply::signal(gone)} + m_fx.fake()->defaultReplies(request);
        });
    QVERIFY(m_fx.pushEvent(QStringLiteral("data connected"), callOn("3", "mobile.0")));
    QPointer<TComDataConnection> link
        = qobject_cast<TComDataConnection *>(m_fx.device->connection(3));
    QVERIFY(link);
    QVERIFY(link->hangUp());
    QCOMPARE(link->state(), 4);
    QVERIFY(m_fx.device->connections().empty());
    DeviceFixture::flushDeletions();
    QVERIFY(link.isNull());
}

void tst_ComDeviceCalls::ignoredMessages_data()
{
    QTest::addColumn<bool>("info");
    QTest::addColumn<QStringList>("pairs"); // key, value, key, value ...
    QTest::addColumn<bool>("taken");

    const auto row = [](const char *name, bool info, const QStringList &pairs, bool taken) {
        QTest::newRow(name) << info << pairs << taken;
    };
    row("event without type", false, {"id", "7", "network", "eth.0"}, false);
    row("call event without id",
        false,
        {"event_type", "0100-call proceeding", "network", "eth.0"},
        false);
    row("release of an unknown id",
        false,
        {"event_type", "1900-call released", "id", "99", "network", "eth.0"},
        false);
    row("release on another network",
        false,
        {"event_type", "1900-call released", "id", "7", "network", "eth.1"},
        true);
    row("release without network", false, {"event_type", "1900-call released", "id", "7"}, true);
    row("statistics of another id",
        false,
        {"event_type", "rx-quality-report", "id", "70", "network", "eth.0", "net-quality", "3"},
        false);
    row("unknown type without id", false, {"event_type", "0200-call alerting"}, false);
    row("data disconnected, unknown id",
        false,
        {"event_type", "data disconnected", "id", "12", "network", "wifi.0"},
        false);
    row("info without type", true, {"level", "40"}, false);
    row("unknown info", true, {"info_type", "weather", "level", "40"}, false);
    row("battery without level", true, {"info_type", "battery_level"}, true);
}

void tst_ComDeviceCalls::ignoredMessages()
{
    QFETCH(bool, info);
    QFETCH(QStringList, pairs);
    QFETCH(bool, taken);

    TComDevice &device = *m_fx.device;
    auto *call = new TComAudioConnection(m_fx.com(), 0);
    call->attach(0, 7, "eth.0");
    QVERIFY(device.addConnection(call));
    DeviceTrail trail(&device);

    ksm::CMsg msg(info ? ksm::CMsg::Info : ksm::CMsg::Event);
    for (int i = 0; i + 1 < pairs.size(); i += 2)
        msg.setParam(pairs.at(i).toStdString(), pairs.at(i + 1).toStdString());
    QCOMPARE(info ? device.handleInfo(msg) : device.handleEvent(msg), taken);

    QVERIFY(trail.lines.isEmpty());
    QCOMPARE(device.connections().size(), size_t(1));
    QCOMPARE(call->state(), 1);
    QCOMPARE(call->status(), 0);
    QCOMPARE(call->rxStatistics(0).netQuality, -1);
    QCOMPARE(device.batteryLevel(), -1);
}

void tst_ComDeviceCalls::eventCreatingWithoutNetworkIsDropped()
{
    DeviceTrail trail(m_fx.device.get());
    QVERIFY(m_fx.device->handleEvent(eventMessage("0600-call received", {{"id", "2"}})));
    QVERIFY(m_fx.device->handleEvent(eventMessage("data connected", {{"id", "3"}})));
    QVERIFY(m_fx.device->connections().empty());
    QVERIFY(trail.lines.isEmpty());
}

QTEST_GUILESS_MAIN(tst_ComDeviceCalls)
#include "tst_comdevicecalls.moc"
