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

// A connection attached as call 7 on "eth.0" and added to the device.
TComAudioConnection *addedCall(TComDevice &device, int commLink = 0)
{
    auto *call = new TComAudioConnection(device.com(), commLink);
    call->attach(0, 7, "eth.0");
    device.addConnection(call);
    return call;
}

} // namespace

// The bookkeeping of one audio call: status and state, remote addresses, event details, reset,
// and the actions' messages and results.
class tst_ComAudioConnection : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void construction_data();
    void construction();
    void statusBookkeeping();
    void remoteAddresses_data();
    void remoteAddresses();
    void eventDetails();
    void statistics();
    void resetKeepsDoubleCodec();
    void dialMessage_data();
    void dialMessage();
    void dialFailures();
    void hangUpAndReleaseMessages();

private:
    DeviceFixture m_fx;
};

void tst_ComAudioConnection::init()
{
    QVERIFY(m_fx.open());
}

void tst_ComAudioConnection::cleanup()
{
    m_fx.close();
}

void tst_ComAudioConnection::construction_data()
{
    QTest::addColumn<int>("commLink");
    QTest::addColumn<int>("type");
    QTest::newRow("0") << 0 << int(TComBaseConnection::AudioLink1);
    QTest::newRow("1") << 1 << int(TComBaseConnection::AudioLink2);
    QTest::newRow("2") << 2 << int(TComBaseConnection::CoordinationLine);
    QTest::newRow("-1") << -1 << int(TComBaseConnection::CoordinationLine);
}

void tst_ComAudioConnection::construction()
{
    QFETCH(int, commLink);
    QFETCH(int, type);
    TComAudioConnection call(nullptr, commLink);
    QCOMPARE(call.type(), type);
    QCOMPARE(call.state(), 0);
    QCOMPARE(call.id(), -1);
    QCOMPARE(call.direction(), -1);
    QCOMPARE(call.codecTx().algorithm, -1);
    QCOMPARE(call.rxStatistics(1).netQuality, -1);
    QCOMPARE(call.txStatistics(0).netQuality, -1);

    // Attaching gives the coordination line its GSM coding, the audio links keep theirs.
    call.attach(1, 4, "mobile.0");
    QCOMPARE(call.codecRx().algorithm, type == TComBaseConnection::CoordinationLine ? 17 : -1);
    QCOMPARE(call.state(), 1);
    QVERIFY(!call.attachIfIdle(0, 5, "eth.0"));
    QCOMPARE(call.id(), 4);
}

void tst_ComAudioConnection::statusBookkeeping()
{
    TComAudioConnection *call = addedCall(*m_fx.device);
    DeviceTrail trail(m_fx.device.get());

    call->setStatus(1, 5);
    call->setStatus(1, 5);
    call->setStatus(1, 5);
    QCOMPARE(call->ringCount(), 3);
    QCOMPARE(trail.take(), QStringList({"status:7:5", "status:7:5", "status:7:5"}));

    call->setStatus(2, 9);
    call->setStatus(2, 9);
    QCOMPARE(call->ringCount(), 3);
    QCOMPARE(trail.take(), QStringList({"status:7:9", "state:7:2", "status:7:9"}));
    QCOMPARE(call->previousStatus(), 9);

    call->setStatus(2, 6);
    call->setStatus(2, 6); // the same status other than 5 or 9: nothing
    QCOMPARE(trail.take(), QStringList({"status:7:6"}));
    call->setStatus(3, 6); // only the state
    QCOMPARE(trail.take(), QStringList({"state:7:3"}));
    QCOMPARE(call->previousStatus(), 9);

    // Detached, it signals nothing.
    m_fx.device->removeConnection(7);
    trail.take();
    call->setStatus(4, 12);
    QVERIFY(trail.lines.isEmpty());
}

void tst_ComAudioConnection::remoteAddresses_data()
{
    QTest::addColumn<bool>("doubleCodec");
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<QStringList>("fields"); // 1 to 4, then the joined text

    QTest::newRow("plain") << false
                           << QStringList{"EVENT;remote_addr:a;remote_addr2:b;remote_addr4:d;"}
                           << QStringList{"a", "b", "", "d", "a,b,d"};
    QTest::newRow("later event keeps fields it does not name")
        << false << QStringList{"EVENT;remote_addr:a;remote_addr3:c;", "EVENT;remote_addr:x;"}
        << QStringList{"x", "", "c", "", "x,c"};
    QTest::newRow("empty address changes nothing")
        << false << QStringList{"EVENT;remote_addr:a;", "EVENT;remote_addr2:b;"}
        << QStringList{"a", "", "", "", "a"};
    QTest::newRow("b-channels, second bus") << false
                                            << QStringList{"EVENT;remote_addr:1;bchannelno:1;sb:1;",
                                                           "EVENT;remote_addr:2;bchannelno:2;sb:1;",
                                                           "EVENT;remote_addr:9;bchannelno:2;sb:1;"}
                                            << QStringList{"", "", "1", "2", "1,2"};
    QTest::newRow("b-channels, first bus, unknown channel")
        << false
        << QStringList{"EVENT;remote_addr:1;bchannelno:1;sb:0;",
                       "EVENT;remote_addr:3;bchannelno:3;"}
        << QStringList{"1", "", "", "", "1"};
    QTest::newRow("b-channel in double codec mode")
        << true
        << QStringList{"EVENT;remote_addr:2;bchannelno:2;sb:1;",
                       "EVENT;remote_addr:5;bchannelno:1;"}
        << QStringList{"2", "", "", "", "2"};
    QTest::newRow("streams") << false
                             << QStringList{"EVENT;remote_addr:s1;stream_id:1;",
                                            "EVENT;remote_addr:s2;stream_id:2;"}
                             << QStringList{"s1", "s2", "", "", "s1,s2"};
}

void tst_ComAudioConnection::remoteAddresses()
{
    QFETCH(bool, doubleCodec);
    QFETCH(QStringList, events);
    QFETCH(QStringList, fields);

    m_fx.device->setCodecMode(doubleCodec ? 1 : 0, false);
    TComAudioConnection *call = addedCall(*m_fx.device);
    QCOMPARE(call->doubleCodec(), doubleCodec);
    for (const QString &text : std::as_const(events))
        call->updateRemoteAddresses(parsed(text));
    QCOMPARE(QString::fromStdString(call->remoteAddress1()), fields.at(0));
    QCOMPARE(QString::fromStdString(call->remoteAddress2()), fields.at(1));
    QCOMPARE(QString::fromStdString(call->remoteAddress3()), fields.at(2));
    QCOMPARE(QString::fromStdString(call->remoteAddress4()), fields.at(3));
    QCOMPARE(QString::fromStdString(call->remoteAddresses()), fields.at(4));
    QCOMPARE(call->streamAddressing(), events.first().contains(QLatin1String("stream_id")));
}

void tst_ComAudioConnection::eventDetails()
{
    TComAudioConnection *call = addedCall(*m_fx.device);
    DeviceTrail trail(m_fx.device.get());

    // Another id, an unknown type, an unknown DSP state: not for it, or nothing to do.
    QVERIFY(!call->handleEvent(parsed("EVENT;event_type:call ring;id:8;network:eth.0;")));
    QVERIFY(!call->handleEvent(parsed("EVENT;event_type:0200-call alerting;id:7;network:eth.0;")));
    QVERIFY(
        call->handleEvent(parsed("EVENT;event_type:dsp_status;id:7;network:eth.0;state:idle;")));
    QCOMPARE(call->status(), 0);
    QVERIFY(trail.lines.isEmpty());

    // Relay outputs ignore the network and signal only changes.
    QVERIFY(call->handleEvent(parsed("EVENT;event_type:relay_out;id:7;network:isdn.0;relay2:on;")));
    QVERIFY(call->handleEvent(parsed("EVENT;event_type:relay_out;id:7;relay2:on;")));
    QVERIFY(call->relaysValid());
    QVERIFY(!call->relay1());
    QVERIFY(call->relay2());
    QCOMPARE(trail.take(), QStringList({"relay:7"}));

    // Synchronised: codecs and relay mode.
    QVERIFY(call->handleEvent(parsed("EVENT;event_type:dsp_status;id:7;network:eth.0;state:sync;"
                                     "codec_tx:MPA2/48000/mono/128000/0;relay:on;")));
    QCOMPARE(call->codecTx().channelMode, 0);
    QVERIFY(call->relayMode());
    QCOMPARE(call->status(), 9);
    QVERIFY(call->handleEvent(
        parsed("EVENT;event_type:dsp_status;id:7;network:eth.0;state:sync lost;")));
    QCOMPARE(trail.take(), QStringList({"status:7:9", "state:7:2", "status:7:10"}));
}

void tst_ComAudioConnection::statistics()
{
    TComAudioConnection *call = addedCall(*m_fx.device);
    DeviceTrail trail(m_fx.device.get());

    QVERIFY(call->handleEvent(parsed("EVENT;event_type:rx-quality-report;id:7;network:eth.0;"
                                     "net-quality:4;pkts-total:100;pkts-reorderd:3;jb-mark:40;")));
    QVERIFY(call->handleEvent(parsed("EVENT;event_type:rx-quality-report;id:7;network:eth.0;"
                                     "stream_id:2;net-quality:3;")));
    QVERIFY(call->handleEvent(parsed("EVENT;event_type:tx-quality-report;id:7;network:eth.0;"
                                     "pkts-lost:9;"))); // no net quality: ignored
    QVERIFY(call->handleEvent(parsed("EVENT;event_type:tx-quality-report;id:7;network:eth.0;"
                                     "net-quality:5;jtr-max:12;duration:;")));
    QCOMPARE(trail.take(), QStringList({"stat:7", "stat:7", "stat:7"}));

    const RxQualityReport &first = call->rxStatistics(0);
    QCOMPARE(first.netQuality, 4);
    QCOMPARE(first.packetsTotal, 100);
    QCOMPARE(first.packetsReordered, 3);
    QCOMPARE(first.bufferMark, 40);
    QCOMPARE(first.duration, 0);
    const RxQualityReport &second = call->rxStatistics(1);
    QCOMPARE(second.netQuality, 3);
    QCOMPARE(second.packetsTotal, 0);
    QCOMPARE(call->txStatistics(0).netQuality, 5);
    QCOMPARE(call->txStatistics(0).jitterMax, 12);
    QCOMPARE(call->txStatistics(0).packetsLost, 0);
}

void tst_ComAudioConnection::resetKeepsDoubleCodec()
{
    m_fx.device->setCodecMode(1, false);
    TComAudioConnection *call = addedCall(*m_fx.device);
    call->handleEvent(parsed("EVENT;event_type:call ring;id:7;network:eth.0;remote_addr:a;"));
    call->handleEvent(parsed("EVENT;event_type:relay_out;id:7;relay1:on;"));
    DeviceTrail trail(m_fx.device.get());

    call->reset();
    QCOMPARE(trail.take(), QStringList({"status:-1:0", "state:-1:0"}));
    QCOMPARE(call->previousStatus(), 5);
    QCOMPARE(call->ringCount(), 0);
    QVERIFY(call->remoteAddresses().empty());
    QCOMPARE(call->direction(), -1);
    QVERIFY(!call->relaysValid());
    QVERIFY(call->doubleCodec());
}

void tst_ComAudioConnection::dialMessage_data()
{
    QTest::addColumn<int>("commLink");
    QTest::addColumn<QString>("list");
    QTest::addColumn<QStringList>("expected"); // remote_addr .. remote_addr4, "-" when absent

    QTest::newRow("six addresses, one empty")
        << 1 << "A,B,,C,D,E" << QStringList{"A", "B", "C", "D"};
    QTest::newRow("empty part dropped") << 0 << "A,,C" << QStringList{"A", "C", "-", "-"};
    QTest::newRow("empty list") << 0 << "" << QStringList{"", "-", "-", "-"};
    QTest::newRow("coordination line") << 2 << "0171" << QStringList{"0171", "-", "-", "-"};
}

void tst_ComAudioConnection::dialMessage()
{
    QFETCH(int, commLink);
    QFETCH(QString, list);
    QFETCH(QStringList, expected);

    m_fx.fake()->setCommandReply(QStringLiteral("con"),
                                 {{QStringLiteral("id"), QStringLiteral("12")}});
    TComAudioConnection call(m_fx.com(), commLink);
    QCOMPARE(call.dial("mobile.0", list.toStdString()), 0);

    const FakeRequest sent = m_fx.fake()->lastRequest();
    QCOMPARE(sent.value(QStringLiteral("comm_link")),
             QString::fromStdString(TComBaseConnection::commLinkText(call.type())));
    const QStringList keys{"remote_addr", "remote_addr2", "remote_addr3", "remote_addr4"};
    for (int i = 0; i < keys.size(); ++i) {
        if (expected.at(i) == QLatin1String("-"))
            QVERIFY2(!sent.has(keys.at(i)), qPrintable(keys.at(i)));
        else
            QCOMPARE(sent.value(keys.at(i)), expected.at(i));
    }
    QCOMPARE(call.id(), 12);
    QCOMPARE(call.network(), std::string("mobile.0"));
    QCOMPARE(call.status(), 1);
    QCOMPARE(call.codecTx().algorithm, commLink == 2 ? 17 : -1);
}

void tst_ComAudioConnection::dialFailures()
{
    m_fx.fake()->refuseCommand(QStringLiteral("con"), QStringLiteral("113-unknown destination"));
    TComAudioConnection refused(m_fx.com(), 0);
    QCOMPARE(refused.dial("eth.0", "x"), 113);
    QCOMPARE(refused.state(), 0);
    QCOMPARE(refused.id(), -1);

    // Not idle: nothing is sent.
    TComAudioConnection busy(m_fx.com(), 0);
    busy.attach(0, 3, "eth.0");
    const int before = m_fx.fake()->requestCount();
    QCOMPARE(busy.dial("eth.0", "x"), 200);
    QVERIFY(!busy.accept(3, "eth.0"));
    QCOMPARE(m_fx.fake()->requestCount(), before);

    TComAudioConnection unlinked(nullptr, 0);
    QCOMPARE(unlinked.dial("eth.0", "x"), 200);
    QVERIFY(!unlinked.releaseCall(3, "eth.0"));

    // A lost link: 200.
    m_fx.fake()->resetScript();
    m_fx.fake()->setReplyHook(
        [](const FakeRequest &) { return QList<FakeReply>{FakeReply::drop()}; });
    TComAudioConnection dropped(m_fx.com(), 0);
    QCOMPARE(dropped.dial("eth.0", "x"), 200);
    QCOMPARE(dropped.state(), 0);
}

void tst_ComAudioConnection::hangUpAndReleaseMessages()
{
    TComAudioConnection call(m_fx.com(), 0);
    QVERIFY(!call.hangUp()); // idle: nothing to end
    call.attach(1, 21, "isdn.0");
    QVERIFY(call.hangUp());
    FakeRequest sent = m_fx.fake()->lastRequest();
    QVERIFY(sent.isCommand(QStringLiteral("dcon")));
    QCOMPARE(sent.value(QStringLiteral("id")), QStringLiteral("21"));
    QCOMPARE(sent.network(), QStringLiteral("isdn.0"));
    QCOMPARE(call.state(), 3);
    QCOMPARE(call.status(), 11);

    QVERIFY(call.releaseCall(22, "eth.0"));
    sent = m_fx.fake()->lastRequest();
    QCOMPARE(sent.value(QStringLiteral("id")), QStringLiteral("22"));
    QCOMPARE(call.status(), 11); // releasing another call changes nothing here

    m_fx.fake()->refuseCommand(QStringLiteral("dcon"), QStringLiteral("120-no connection"));
    TComAudioConnection other(m_fx.com(), 0);
    other.attach(0, 5, "eth.0");
    QVERIFY(!other.hangUp());
    QCOMPARE(other.state(), 1);
}

QTEST_GUILESS_MAIN(tst_ComAudioConnection)
#include "tst_comaudioconnection.moc"
