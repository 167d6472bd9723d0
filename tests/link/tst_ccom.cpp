#include "link/ccom.h"
#include "link/comclient.h"
#include "link/sharedobjects.h"
#include "tests/support/fakequorix.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QUdpSocket>
#include <QtTest>

#include <climits>
#include <memory>

namespace {

constexpr int kTickMs = 20;

std::string param(const ksm::CMsg &body, const char *key)
{
    const std::string *value = body.param(key, false);
    return value ? *value : std::string("<absent>");
}

// The parameters of a message as "key=value" texts in key order.
QStringList pairsOf(const ksm::CMsg &body)
{
    QStringList out;
    for (const auto &[key, value] : body.params())
        out << QString::fromStdString(key + "=" + value);
    return out;
}

// A port that nothing on 127.0.0.1 listens on at the moment of asking.
quint16 freeUdpPort()
{
    QUdpSocket probe;
    if (!probe.bind(QHostAddress::AnyIPv4, 0))
        return 0;
    return probe.localPort();
}

QByteArray frame(qint32 type, const QByteArray &body)
{
    FakeFrame f;
    f.type = type;
    f.body = body;
    return f.encode();
}

} // namespace

class TestCCom : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<FakeQuorix> m_fake;
    std::unique_ptr<ksm::CCom> m_com;
    QList<bool> m_busy;        // busyStateChanged values, in order
    QList<bool> m_readyAtBusy; // isReady() seen by each busyStateChanged
    int m_completed = 0;       // sendSyncMsgCompleted count

    void watch(ksm::CCom *com)
    {
        connect(com, &ksm::CCom::busyStateChanged, this, [this, com](bool busy) {
            m_busy << busy;
            m_readyAtBusy << com->isReady();
        });
        connect(com, &ksm::CCom::sendSyncMsgCompleted, this, [this] { ++m_completed; });
    }

    void connectToFake(quint16 datagramPort = 0)
    {
        QVERIFY(m_com->connect(QStringLiteral("127.0.0.1"), m_fake->port(), datagramPort));
        QTRY_COMPARE(m_com->state(), RpcConnection::Connected);
        QVERIFY(m_fake->waitForConnection());
    }

    int call(const ksm::CMsg &request, ksm::CMsg &reply, int timeoutMs = 5000)
    {
        return m_com->sendSyncMsg(request, reply, 1000, timeoutMs);
    }

private slots:
    void init()
    {
        m_fake = std::make_unique<FakeQuorix>();
        QVERIFY(m_fake->listen());
        m_com = std::make_unique<ksm::CCom>();
        m_com->setTickInterval(kTickMs);
        m_busy.clear();
        m_readyAtBusy.clear();
        m_completed = 0;
        watch(m_com.get());
    }

    void cleanup()
    {
        m_com.reset();
        m_fake.reset();
    }

    void connectDisconnectAndGetters()
    {
        QVERIFY(m_com->isReady());
        QVERIFY(!m_com->isEngaged());
        QCOMPARE(m_com->state(), RpcConnection::Unconnected);

        // Refused: not an IPv4 address, TCP port 0. Nothing changes.
        QVERIFY(!m_com->connect(QStringLiteral("localhost"), m_fake->port(), 3000));
        QVERIFY(!m_com->connect(QStringLiteral("::1"), m_fake->port(), 3000));
        QVERIFY(!m_com->connect(QString(), m_fake->port(), 3000));
        QVERIFY(!m_com->connect(QStringLiteral("127.0.0.1"), 0, 3000));
        QVERIFY(!m_com->isEngaged());
        QVERIFY(!m_com->hasDatagramSocket());
        QCOMPARE(m_com->host(), QString());
        QCOMPARE(m_com->datagramPort(), quint16(0));

        QList<int> states;
        connect(m_com.get(), &ksm::CCom::stateChanged, this, [&](RpcConnection::ConnectionState s) {
            states << int(s);
        });
        const quint16 udp = freeUdpPort();
        QVERIFY(udp != 0);
        connectToFake(udp);
        QCOMPARE(states, (QList<int>{2, 0, 3}));
        QVERIFY(m_com->isEngaged());
        QCOMPARE(m_com->host(), QStringLiteral("127.0.0.1"));
        QCOMPARE(m_com->tcpPort(), m_fake->port());
        QCOMPARE(m_com->datagramPort(), udp);
        QVERIFY(m_com->hasDatagramSocket());

        // Engaged: a second connect is refused and keeps everything.
        QVERIFY(!m_com->connect(QStringLiteral("127.0.0.2"), 7001, 4000));
        QCOMPARE(m_com->host(), QStringLiteral("127.0.0.1"));
        QCOMPARE(m_com->datagramPort(), udp);

        // Device messages over TCP are passed on.
        QSignalSpy received(m_com.get(), &ksm::CCom::messageReceived);
        QVERIFY(m_fake->pushInfo(QStringLiteral("config info")));
        QVERIFY(received.wait());
        QCOMPARE(received.first().first().value<RpcMessage>().body().type(), int(ksm::CMsg::Info));

        m_com->disconnect();
        QVERIFY(!m_com->isEngaged());
        QVERIFY(!m_com->hasDatagramSocket());
        QCOMPARE(m_com->state(), RpcConnection::Unconnected);
        // The stored peer stays for a reconnect.
        QCOMPARE(m_com->host(), QStringLiteral("127.0.0.1"));
        QCOMPARE(m_com->tcpPort(), m_fake->port());
        m_com->disconnect(); // not engaged: nothing happens

        // A fresh socket on the new port; port 1 (levels over TCP) and 0 make none.
        const quint16 udp2 = freeUdpPort();
        connectToFake(udp2);
        QCOMPARE(m_com->datagramPort(), udp2);
        QVERIFY(m_com->hasDatagramSocket());
        m_com->disconnect();

        connectToFake(1);
        QCOMPARE(m_com->datagramPort(), quint16(1));
        QVERIFY(!m_com->hasDatagramSocket());
        m_com->disconnect();

        connectToFake(0);
        QVERIFY(!m_com->hasDatagramSocket());
    }

    void synchronousRoundTrip()
    {
        connectToFake();
        m_fake->setValue(
            QStringLiteral("device"), QStringLiteral("Quorix"), QStringLiteral("general"));

        // The reply may be the request object itself.
        ksm::CMsg msg(ksm::CMsg::Param);
        msg.setParam("target", "general");
        msg.addGet("device");
        QCOMPARE(call(msg, msg), 0);
        QCOMPARE(pairsOf(msg), (QStringList{"device=Quorix", "return=OK"}));
        QCOMPARE(m_fake->lastRequest().body, QByteArray("PARAM;target:general;GET:device;"));
        QCOMPARE(m_fake->lastRequest().frameType, qint32(FakeFrame::Request));

        // Busy exactly around the call; isReady() agrees with each signal.
        QCOMPARE(m_busy, (QList<bool>{true, false}));
        QCOMPARE(m_readyAtBusy, (QList<bool>{false, true}));
        QCOMPARE(m_completed, 1);
        QVERIFY(m_com->isReady());

        // A second call, then one-way sends.
        ksm::CMsg reply;
        QCOMPARE(call(msg, reply), 0);
        QCOMPARE(m_busy, (QList<bool>{true, false, true, false}));
        QCOMPARE(m_completed, 2);

        ksm::CMsg oneWay(ksm::CMsg::Do);
        oneWay.setParam("action", "send_user_info");
        m_fake->clearLog();
        QCOMPARE(m_com->sendMsg(oneWay, 1000), 0);
        FakeRequest sent;
        QVERIFY(m_fake->waitForRequest(
            [](const FakeRequest &r) { return r.isCommand("send_user_info"); }, 5000, &sent));
        QCOMPARE(sent.id, -1);
        QCOMPARE(m_busy.size(), 4); // one-way sends are not synchronous calls
    }

    void replySplit_data()
    {
        QTest::addColumn<int>("requestType");
        QTest::addColumn<FakePairs>("answer");
        QTest::addColumn<QStringList>("main");
        QTest::addColumn<QStringList>("heldBack"); // empty: pendingReply() gives -1

        using P = QPair<QString, QString>;
        QTest::newRow("param partly refused")
            << int(ksm::CMsg::Param)
            << FakePairs{P("a", "1"), P("b", "105-invalid value"), P("return", "OK")}
            << QStringList{"a=1", "return=PROGRESS"}
            << QStringList{"b=105-invalid value", "return=ERROR"};
        QTest::newRow("param not set, empty and unknown error stay")
            << int(ksm::CMsg::Param)
            << FakePairs{P("a", "101-parameter not set"),
                         P("b", ""),
                         P("c", "200-unknown error"),
                         P("return", "ERROR")}
            << QStringList{"a=", "b=", "c=200-unknown error", "return=OK"} << QStringList{};
        QTest::newRow("param bare error stays error")
            << int(ksm::CMsg::Param) << FakePairs{P("return", "ERROR")}
            << QStringList{"return=ERROR"} << QStringList{};
        QTest::newRow("do refused with cause")
            << int(ksm::CMsg::Do) << FakePairs{P("cause", "117-no network"), P("return", "ERROR")}
            << QStringList{"cause=117-no network", "return=ERROR"} << QStringList{};
        QTest::newRow("do not set and cause stay in main part")
            << int(ksm::CMsg::Do)
            << FakePairs{P("x", "101-parameter not set"),
                         P("y", "105-invalid value"),
                         P("return", "OK")}
            << QStringList{"return=OK", "x=", "y=105-invalid value"} << QStringList{};
        QTest::newRow("do ok") << int(ksm::CMsg::Do) << FakePairs{P("id", "7"), P("return", "OK")}
                               << QStringList{"id=7", "return=OK"} << QStringList{};
    }

    void replySplit()
    {
        QFETCH(int, requestType);
        QFETCH(FakePairs, answer);
        QFETCH(QStringList, main);
        QFETCH(QStringList, heldBack);

        connectToFake();
        m_fake->setReplyHook([&](const FakeRequest &) {
            return std::optional<QList<FakeReply>>(
                QList<FakeReply>{FakeReply::reply(FakeMessage(requestType, answer))});
        });

        ksm::CMsg request(requestType);
        request.setParam("action", "con");
        request.setParam("a", "1");
        ksm::CMsg reply;
        QCOMPARE(call(request, reply), 0);
        QCOMPARE(pairsOf(reply), main);

        ksm::CMsg pending(ksm::CMsg::Info);
        pending.setParam("untouched", "1");
        if (heldBack.isEmpty()) {
            QCOMPARE(m_com->pendingReply(pending, 5000), -1);
            QCOMPARE(pairsOf(pending), QStringList{"untouched=1"});
        } else {
            // Not emptied by reading: a caller looping on "PROGRESS" stops at its "ERROR".
            for (int i = 0; i < 2; ++i) {
                QCOMPARE(m_com->pendingReply(pending, 5000), 0);
                QCOMPARE(pairsOf(pending), heldBack);
            }
        }

        // The next call starts from nothing held back.
        m_fake->setReplyHook({});
        ksm::CMsg get(ksm::CMsg::Param);
        get.addGet("nothing");
        QCOMPARE(call(get, reply), 0);
        QCOMPARE(m_com->pendingReply(pending), -1);
    }

    void reentryRefused()
    {
        connectToFake();
        m_fake->setReplyDelay(150);

        int nestedSync = 0;
        int nestedSend = 0;
        bool fired = false;
        // Runs inside the nested loop of the first call.
        QTimer::singleShot(30, this, [&] {
            fired = true;
            QVERIFY(!m_com->isReady());
            ksm::CMsg second(ksm::CMsg::Param);
            second.addGet("second");
            ksm::CMsg secondReply;
            nestedSync = call(second, secondReply);
            nestedSend = m_com->sendMsg(second);
        });
        // A slot of busyStateChanged(true) cannot slip a second call in either.
        int fromBusySlot = 0;
        connect(m_com.get(), &ksm::CCom::busyStateChanged, this, [&](bool busy) {
            if (busy) {
                ksm::CMsg other(ksm::CMsg::Param);
                other.addGet("other");
                fromBusySlot = call(other, other);
            }
        });

        ksm::CMsg first(ksm::CMsg::Param);
        first.addGet("first");
        ksm::CMsg reply;
        QCOMPARE(call(first, reply), 0);
        QVERIFY(fired);
        QCOMPARE(nestedSync, -1);
        QCOMPARE(nestedSend, -1);
        QCOMPARE(fromBusySlot, -1);
        QCOMPARE(m_busy, (QList<bool>{true, false}));
        QCOMPARE(m_completed, 1);
        // Only the first request reached the device.
        QTest::qWait(50);
        QCOMPARE(m_fake->requestCount(), 1);
        QVERIFY(m_fake->lastRequest().isGetOf(QStringLiteral("first")));
    }

    // The unit's Signal messages are numbered as they arrive, also those held back while a call
    // waits: the one before the call's answer is numbered within signalsBeforeLastReply(), the
    // one after it beyond, though both are delivered after the call has ended.
    void signalsNumberedInArrivalOrder()
    {
        connectToFake();
        QList<QPair<std::string, qint64>> delivered;
        connect(m_com.get(), &ksm::CCom::messageReceived, this, [&](const RpcMessage &message) {
            delivered.append({param(message.body(), "event_type"), m_com->signalArrival()});
        });
        const auto event = [](const char *type) {
            FakeMessage body(FakeMessage::Event);
            body.params.append({QStringLiteral("event_type"), QLatin1String(type)});
            return FakeReply::signal(body);
        };
        QVERIFY(m_fake->pushEvent(QStringLiteral("first")));
        QTRY_COMPARE(delivered.size(), 1);
        m_fake->setReplyHook([&](const FakeRequest &) -> std::optional<QList<FakeReply>> {
            FakeMessage answer(FakeMessage::Param);
            answer.params.append({QStringLiteral("return"), QStringLiteral("OK")});
            return QList<FakeReply>{event("before"), FakeReply::reply(answer), event("after")};
        });
        ksm::CMsg write(ksm::CMsg::Param);
        write.setParam("gateway", "10.0.0.77");
        ksm::CMsg reply;
        QCOMPARE(call(write, reply), 0);
        QTRY_COMPARE(delivered.size(), 3);
        QCOMPARE(delivered,
                 (QList<QPair<std::string, qint64>>{{"first", 1}, {"before", 2}, {"after", 3}}));
        QCOMPARE(m_com->signalsBeforeLastReply(), qint64(2));
        QCOMPARE(m_com->signalArrival(), qint64(0));

        // What is handled counts as the newest unless a scope says otherwise; the inner wins.
        QCOMPARE(m_com->handledSignal(), ksm::CCom::kNewestSignal);
        {
            const ksm::HandledSignal outer(m_com.get(), 3);
            {
                const ksm::HandledSignal inner(m_com.get(), 2);
                QCOMPARE(m_com->handledSignal(), qint64(2));
            }
            QCOMPARE(m_com->handledSignal(), qint64(3));
        }
        QCOMPARE(m_com->handledSignal(), ksm::CCom::kNewestSignal);
    }

    void refusedBeforeSending()
    {
        // Not connected: -3 at once, the reply untouched, no busy signals.
        ksm::CMsg request(ksm::CMsg::Param);
        request.addGet("device");
        ksm::CMsg reply(ksm::CMsg::Do);
        reply.setParam("keep", "me");
        QCOMPARE(call(request, reply), -3);
        QCOMPARE(pairsOf(reply), QStringList{"keep=me"});
        QVERIFY(m_busy.isEmpty());
        QCOMPARE(m_completed, 0);
        QCOMPARE(m_com->sendMsg(request), -1);

        // A body that cannot be encoded (type 0).
        connectToFake();
        QCOMPARE(call(ksm::CMsg(), reply), -7);
        QVERIFY(m_busy.isEmpty());
    }

    void callEndsWithoutReply_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("result");
        QTest::newRow("error reply") << "error reply" << 42;
        QTest::newRow("error reply with code 0") << "error reply" << -10;
        QTest::newRow("link dropped") << "drop" << -6;
        QTest::newRow("time-out") << "silent" << -5;
    }

    void callEndsWithoutReply()
    {
        QFETCH(QString, how);
        QFETCH(int, result);

        connectToFake();
        if (how == QLatin1String("error reply")) {
            m_fake->replyWithErrorCode(result == 42 ? 42 : 0);
        } else {
            m_fake->setSilent(true);
            if (how == QLatin1String("drop"))
                connect(m_fake.get(), &FakeQuorix::requestReceived, this, [this] {
                    QTimer::singleShot(20, m_fake.get(), [this] { m_fake->dropClient(); });
                });
        }

        ksm::CMsg request(ksm::CMsg::Param);
        request.addGet("device");
        ksm::CMsg reply(ksm::CMsg::Do);
        reply.setParam("stale", "1");
        QElapsedTimer clock;
        clock.start();
        // 1500 ms is one whole second of time-out, well apart from the 5 seconds of a time-out
        // below one second; the upper bound leaves room for a loaded machine.
        QCOMPARE(call(request, reply, 1500), result);
        if (how == QLatin1String("silent")) {
            QVERIFY(clock.elapsed() >= 1000);
            QVERIFY(clock.elapsed() < 4000);
        }
        QCOMPARE(reply.type(), int(ksm::CMsg::None));
        QVERIFY(reply.params().empty());
        QCOMPARE(m_com->lastResult(), result);
        QCOMPARE(m_busy, (QList<bool>{true, false}));
        QCOMPARE(m_completed, 1);
        QVERIFY(m_com->isReady());
        QCOMPARE(m_com->pendingReply(reply), -1);
    }

    void timeoutSeconds_data()
    {
        QTest::addColumn<int>("timeoutMs");
        QTest::addColumn<int>("seconds");
        QTest::newRow("300") << 300 << 5;
        QTest::newRow("999") << 999 << 5;
        QTest::newRow("1500") << 1500 << 1;
        QTest::newRow("1999") << 1999 << 1;
        QTest::newRow("5000") << 5000 << 5;
        QTest::newRow("10000") << 10000 << 10;
        QTest::newRow("0") << 0 << 5;
        QTest::newRow("negative") << -3000 << 5;
        QTest::newRow("largest") << INT_MAX << INT_MAX / 1000;
    }

    void timeoutSeconds()
    {
        QFETCH(int, timeoutMs);
        QFETCH(int, seconds);
        QCOMPARE(ksm::CCom::timeoutSeconds(timeoutMs), seconds);
    }

    void clientDestroyedDuringCall()
    {
        connectToFake();
        m_fake->setSilent(true);
        QTimer::singleShot(30, this, [this] { m_com.reset(); });
        ksm::CCom *com = m_com.get();
        ksm::CMsg request(ksm::CMsg::Param);
        request.addGet("device");
        ksm::CMsg reply(ksm::CMsg::Do);
        reply.setParam("stale", "1");
        QCOMPARE(com->sendSyncMsg(request, reply, 1000, 5000), -6);
        QVERIFY(reply.params().empty());
        QVERIFY(!m_com);
    }

    void levelDatagramsFiltered()
    {
        const quint16 udp = freeUdpPort();
        QVERIFY(udp != 0);
        connectToFake(udp);
        QSignalSpy received(m_com.get(), &ksm::CCom::messageReceived);

        const QByteArray levels("EVENT;event_type:audio_levels;txL:-12;");
        const QByteArray good = frame(FakeFrame::Signal, levels);
        const QList<QByteArray> dropped{
            QByteArray("garbage that is no frame at all"),
            QByteArray(),
            good.left(30),                                              // cut short
            FakeFrame::header(5000, -1, FakeFrame::Signal, 0) + levels, // lies about its size
            frame(FakeFrame::Signal, "INFO;info_type:audio_levels;"),
            frame(FakeFrame::Signal, "EVENT;event_type:comm_events;"),
            frame(FakeFrame::Signal, "EVENT;txL:-12;"),
            frame(FakeFrame::Reply, levels),
            frame(FakeFrame::Request, levels),
            frame(FakeFrame::Signal, "NOTATYPE;event_type:audio_levels;"),
        };
        QVERIFY(m_fake->sendDatagram(good, udp));
        for (const QByteArray &bytes : dropped)
            QVERIFY(m_fake->sendDatagram(bytes, udp));
        QVERIFY(m_fake->sendDatagram(frame(FakeFrame::Signal, levels + "txR:-3;"), udp));

        QTRY_COMPARE(received.size(), 2);
        QTest::qWait(50); // nothing else trickles in
        QCOMPARE(received.size(), 2);
        const auto first = received.at(0).at(0).value<RpcMessage>();
        const auto last = received.at(1).at(0).value<RpcMessage>();
        QCOMPARE(first.type(), RpcMessage::Signal);
        QCOMPARE(param(first.body(), "txL"), std::string("-12"));
        QCOMPARE(param(last.body(), "txR"), std::string("-3"));

        // After disconnect nothing is received on the port any more.
        m_com->disconnect();
        QCoreApplication::processEvents();
        (void)m_fake->sendDatagram(good, udp);
        QTest::qWait(50);
        QCOMPARE(received.size(), 2);
    }

    // A flood on the level port is read a batch per pass of the event loop, so timers and
    // paints run in between; datagrams from any other address than the unit's are dropped.
    void levelFloodYieldsAndStrangersAreIgnored()
    {
        const quint16 udp = freeUdpPort();
        QVERIFY(udp != 0);
        connectToFake(udp);
        QSignalSpy received(m_com.get(), &ksm::CCom::messageReceived);
        const QByteArray good = frame(FakeFrame::Signal, "EVENT;event_type:audio_levels;txL:-12;");

        QUdpSocket stranger;
        QVERIFY(stranger.bind(QHostAddress(QStringLiteral("127.0.0.2")), 0));
        for (int i = 0; i < 10; ++i)
            QCOMPARE(stranger.writeDatagram(good, QHostAddress::LocalHost, udp), good.size());
        constexpr int kFlood = 2 * ksm::CCom::kDatagramBatch + 10;
        for (int i = 0; i < kFlood; ++i)
            QVERIFY(m_fake->sendDatagram(good, udp));

        QList<int> handledAtPass{0};
        QTimer ticker;
        ticker.setInterval(0);
        connect(&ticker, &QTimer::timeout, this, [&] { handledAtPass << int(received.size()); });
        ticker.start();
        QTRY_COMPARE(received.size(), kFlood);
        ticker.stop();
        handledAtPass << int(received.size());
        int mostInOnePass = 0;
        for (qsizetype i = 1; i < handledAtPass.size(); ++i)
            mostInOnePass = std::max(mostInOnePass, handledAtPass[i] - handledAtPass[i - 1]);
        QVERIFY2(mostInOnePass <= ksm::CCom::kDatagramBatch,
                 qPrintable(QString::number(mostInOnePass)));
        QCoreApplication::processEvents();
        QCOMPARE(received.size(), kFlood);
    }

    void settingsRecord()
    {
        connectToFake();
        ksm::CCom::ParamMap params{{"pwd_level1", "secret"}, {"auto_login", "on"}};
        ksm::CCom::ParamMap out;

        // Without identity nothing is sent; empty inputs succeed at once.
        QCOMPARE(m_com->setControllerParams(params, 10000), -1);
        QCOMPARE(m_com->getControllerParams({"pwd_level1"}, out, 10000), -1);
        QCOMPARE(m_com->initialize("ui", "vn_frontpanel"), 0);
        QCOMPARE(m_com->category(), std::string("ui"));
        QCOMPARE(m_com->controllerId(), std::string("vn_frontpanel"));
        QCOMPARE(m_com->setControllerParams({}, 10000), 0);
        QCOMPARE(m_com->getControllerParams({}, out, 10000), 0);
        QCOMPARE(m_fake->requestCount(), 0);
        QVERIFY(m_busy.isEmpty());

        QCOMPARE(m_com->setControllerParams(params, 10000), 0);
        QCOMPARE(m_fake->lastRequest().body,
                 QByteArray("PARAM;auto_login:on;cat:ui;controller_id:vn_frontpanel;"
                            "pwd_level1:secret;target:db;type:vn_frontpanel;"));
        QCOMPARE(m_fake->value(QStringLiteral("pwd_level1"),
                               QStringLiteral("db"),
                               QStringLiteral("vn_frontpanel")),
                 QStringLiteral("secret"));

        out = {{"auto_login", "kept"}};
        QCOMPARE(m_com->getControllerParams({"pwd_level1", "auto_login"}, out, 10000), 0);
        QCOMPARE(m_fake->lastRequest().body,
                 QByteArray("PARAM;cat:ui;controller_id:vn_frontpanel;target:db;"
                            "type:vn_frontpanel;GET:pwd_level1;GET:auto_login;"));
        QCOMPARE(out, (ksm::CCom::ParamMap{{"auto_login", "kept"}, {"pwd_level1", "secret"}}));

        // A refused write gives -1; a refused read still fills what came back.
        m_fake->refuseKey(QStringLiteral("pwd_level2"), QStringLiteral("105-invalid value"));
        QCOMPARE(m_com->setControllerParams({{"pwd_level2", "x"}}, 10000), -1);
        out.clear();
        QCOMPARE(m_com->getControllerParams({"pwd_level1", "pwd_level2"}, out, 10000), -1);
        QCOMPARE(out, (ksm::CCom::ParamMap{{"pwd_level1", "secret"}}));

        // A failed call passes its result through.
        m_com->disconnect();
        QCOMPARE(m_com->setControllerParams(params, 10000), -3);
        QCOMPARE(m_com->getControllerParams({"pwd_level1"}, out, 10000), -3);
    }

    void logLinesCarryDeviceTextAndMaskSecrets()
    {
        connectToFake();
        static QStringList lines;
        lines.clear();
        const QtMessageHandler previous = qInstallMessageHandler(
            [](QtMsgType, const QMessageLogContext &, const QString &text) { lines << text; });
        ksm::CMsg request(ksm::CMsg::Param);
        request.setParam("name",
                         "Gr\xc3\xbc\xc3\x9f"
                         "e"); // UTF-8, as the device speaks
        request.setParam("sip_password", "hunter2");
        ksm::CMsg reply;
        QCOMPARE(call(request, reply), 0);
        qInstallMessageHandler(previous);

        const QString expected
            = QString::fromUtf8("\"CCom::sendSyncMsg(timeout=5 s, PARAM;name:Gr\xc3\xbc\xc3\x9f"
                                "e;sip_password:***;)\" ");
        QVERIFY2(lines.contains(expected), qPrintable(lines.join(QLatin1Char('\n'))));
        QVERIFY(!lines.join(QString()).contains(QStringLiteral("hunter2")));
    }

    void processWideClient()
    {
        destroySharedObjects();
        ksm::CCom *client = comClient();
        QVERIFY(client);
        QCOMPARE(comClient(), client);
        QVERIFY(!client->parent());
        QCOMPARE(sharedObjectCount(), 1);
        QVERIFY(client->connect(QStringLiteral("127.0.0.1"), m_fake->port(), 0));
        QTRY_COMPARE(client->state(), RpcConnection::Connected);

        // Reset between tests: the next call builds a fresh, idle client.
        destroySharedObjects();
        QCOMPARE(sharedObjectCount(), 0);
        QVERIFY(comClient());
        QVERIFY(!comClient()->isEngaged());
        destroySharedObjects();
    }
};

QTEST_GUILESS_MAIN(TestCCom)
#include "tst_ccom.moc"
