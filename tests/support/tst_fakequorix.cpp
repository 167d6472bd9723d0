#include "fakequorix.h"

#include <QHostAddress>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTest>
#include <QUdpSocket>

#include <optional>

namespace {

// Frames are laid out and read back by hand here, so that the fake's own frame code is checked
// rather than trusted.
void putLe32(QByteArray &out, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        out.append(char((v >> (8 * i)) & 0xff));
}

quint32 getLe32(const QByteArray &in, int offset)
{
    quint32 v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | quint8(in.at(offset + i));
    return v;
}

QByteArray frameBytes(qint32 id, qint32 type, const QByteArray &body, qint32 code = 0)
{
    QByteArray out("TolvRpcM");
    putLe32(out, quint32(24 + body.size()));
    putLe32(out, quint32(id));
    putLe32(out, quint32(type));
    putLe32(out, quint32(code));
    return out + body;
}

struct Received
{
    qint32 id = 0;
    qint32 type = 0;
    qint32 code = 0;
    QByteArray body;
};

// A raw client of the fake: writes bytes, collects whole frames.
class RawClient
{
public:
    bool connectTo(quint16 port)
    {
        socket.connectToHost(QHostAddress::LocalHost, port);
        return socket.waitForConnected(5000);
    }

    void send(const QByteArray &bytes)
    {
        socket.write(bytes);
        socket.flush();
    }

    void request(qint32 id, const QByteArray &body) { send(frameBytes(id, 1, body)); }

    std::optional<Received> next(int timeoutMs = 5000)
    {
        const bool complete = QTest::qWaitFor(
            [this] {
                buffer += socket.readAll();
                return buffer.size() >= 24 && buffer.size() >= int(getLe32(buffer, 8));
            },
            timeoutMs);
        if (!complete)
            return std::nullopt;
        if (!buffer.startsWith("TolvRpcM"))
            return std::nullopt;
        const int length = int(getLe32(buffer, 8));
        Received r;
        r.id = qint32(getLe32(buffer, 12));
        r.type = qint32(getLe32(buffer, 16));
        r.code = qint32(getLe32(buffer, 20));
        r.body = buffer.mid(24, length - 24);
        buffer.remove(0, length);
        return r;
    }

    // Bodies of the next count frames, which must all be replies to id.
    QList<QByteArray> replyBodies(qint32 id, int count)
    {
        QList<QByteArray> bodies;
        for (int i = 0; i < count; ++i) {
            const auto r = next();
            if (!r || r->type != 2 || r->id != id)
                break;
            bodies.append(r->body);
        }
        return bodies;
    }

    QTcpSocket socket;
    QByteArray buffer;
};

} // namespace

class TestFakeQuorix : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void messageText_data();
    void messageText();
    void defaultAnswers_data();
    void defaultAnswers();
    void getIsLoggedExactly();
    void setsAreStoredPerScope();
    void progressParts();
    void silenceAndDelay();
    void errorReplyCode();
    void replyHook();
    void drop();
    void framingFaults_data();
    void framingFaults();
    void frameSplitIntoSingleBytes();
    void pushedSignals();
    void levelDatagrams();

private:
    std::unique_ptr<FakeQuorix> fake;
    std::unique_ptr<RawClient> client;
};

void TestFakeQuorix::init()
{
    fake = std::make_unique<FakeQuorix>();
    QVERIFY(fake->listen());
    QVERIFY(fake->port() != 0);
    client = std::make_unique<RawClient>();
    QVERIFY(client->connectTo(fake->port()));
    QVERIFY(fake->waitForConnection());
}

void TestFakeQuorix::cleanup()
{
    client.reset();
    fake.reset();
}

void TestFakeQuorix::messageText_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QStringList>("pairs"); // key=value in order
    QTest::addColumn<QStringList>("gets");
    QTest::addColumn<QStringList>("lists");

    QTest::newRow("empty param") << QByteArray("PARAM;") << true << "PARAM" << QStringList()
                                 << QStringList() << QStringList();
    QTest::newRow("escapes and leading separators")
        << QByteArray(";;INFO;;a:1;;b:x\\;y\\\\z") << true << "INFO"
        << QStringList{"a=1", "b=x;y\\z"} << QStringList() << QStringList();
    QTest::newRow("get and list names")
        << QByteArray("PARAM;target:audio;GET:a:b;GET:;LIST:l;LIST:;") << true << "PARAM"
        << QStringList{"target=audio"} << QStringList{"a:b"} << QStringList{"l"};
    QTest::newRow("value with colon and duplicate key")
        << QByteArray("DO;k:a:b;k:2;") << true << "DO" << QStringList{"k=a:b", "k=2"}
        << QStringList() << QStringList();
    QTest::newRow("segment without colon")
        << QByteArray("EVENT;bare;") << true << "EVENT" << QStringList{"bare="} << QStringList()
        << QStringList();
    QTest::newRow("lower-case type") << QByteArray("param;x:1;") << false << "" << QStringList()
                                     << QStringList() << QStringList();
    QTest::newRow("no separator") << QByteArray("PARAM") << false << "" << QStringList()
                                  << QStringList() << QStringList();
    QTest::newRow("trailing backslash") << QByteArray("DO;a:1\\") << true << "DO"
                                        << QStringList{"a=1"} << QStringList() << QStringList();
}

void TestFakeQuorix::messageText()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, valid);
    QFETCH(QString, type);
    QFETCH(QStringList, pairs);
    QFETCH(QStringList, gets);
    QFETCH(QStringList, lists);

    const auto message = FakeMessage::fromText(text);
    QCOMPARE(message.has_value(), valid);
    if (!valid)
        return;
    QCOMPARE(message->typeWord(), type);
    QStringList actual;
    for (const auto &pair : message->params)
        actual.append(pair.first + QLatin1Char('=') + pair.second);
    QCOMPARE(actual, pairs);
    QCOMPARE(message->gets, gets);
    QCOMPARE(message->lists, lists);

    // What the fake writes reads back the same.
    QCOMPARE(FakeMessage::fromText(message->toText()), message);
}

void TestFakeQuorix::defaultAnswers_data()
{
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArray>("reply");

    QTest::newRow("get stored") << QByteArray("PARAM;target:general;GET:device;")
                                << QByteArray("PARAM;device:vantel;return:OK;");
    QTest::newRow("get unknown") << QByteArray("PARAM;target:general;GET:nothing;")
                                 << QByteArray("PARAM;nothing:101-parameter not set;return:ERROR;");
    QTest::newRow("get in another scope") << QByteArray("PARAM;target:audio;GET:device;")
                                          << QByteArray("PARAM;device:101-parameter not set;"
                                                        "return:ERROR;");
    QTest::newRow("get escaped value") << QByteArray("PARAM;target:general;GET:odd;")
                                       << QByteArray("PARAM;odd:a\\;b\\\\c;return:OK;");
    QTest::newRow("get refused and stored")
        << QByteArray("PARAM;target:general;GET:device;GET:locked;")
        << QByteArray("PARAM;device:vantel;locked:015-not allowed;return:ERROR;");
    QTest::newRow("set") << QByteArray("PARAM;target:audio;input1_gain:12;")
                         << QByteArray("PARAM;return:OK;");
    QTest::newRow("set refused") << QByteArray("PARAM;locked:1;target:audio;x:2;")
                                 << QByteArray("PARAM;locked:015-not allowed;return:ERROR;");
    QTest::newRow("list") << QByteArray("PARAM;target:network;LIST:network;")
                          << QByteArray("PARAM;network:eth.0,wifi\\\\,0;return:OK;");
    QTest::newRow("settings record") << QByteArray("PARAM;cat:ui;controller_id:web;target:db;"
                                                   "type:vn_frontpanel;GET:tabname;")
                                     << QByteArray("PARAM;tabname:Studio 1;return:OK;");
    QTest::newRow("subscribe") << QByteArray("DO;action:subscribe;info:network_info;")
                               << QByteArray("DO;return:OK;");
    QTest::newRow("subscribe without name") << QByteArray("DO;action:subscribe;")
                                            << QByteArray("DO;cause:104-mandatory parameter "
                                                          "missing;return:ERROR;");
    QTest::newRow("levels without port")
        << QByteArray("DO;action:subscribe;event_type:audio_levels;period:150;")
        << QByteArray("DO;cause:105-invalid value;return:ERROR;");
    QTest::newRow("levels port too big")
        << QByteArray("DO;action:subscribe;event_type:audio_levels;port:70000;")
        << QByteArray("DO;cause:105-invalid value;return:ERROR;");
    QTest::newRow("command") << QByteArray("DO;action:reinit;network:aoip;target:network;")
                             << QByteArray("DO;return:OK;");
    QTest::newRow("command with reply")
        << QByteArray("DO;action:con;remote_addr:1234;") << QByteArray("DO;id:7;return:OK;");
    QTest::newRow("command refused")
        << QByteArray("DO;action:reboot;") << QByteArray("DO;cause:015-not allowed;return:ERROR;");
    QTest::newRow("command without action") << QByteArray("DO;info:x;")
                                            << QByteArray("DO;cause:104-mandatory parameter "
                                                          "missing;return:ERROR;");
    QTest::newRow("info request") << QByteArray("INFO;info_type:x;")
                                  << QByteArray("INFO;cause:204-unknown command;return:ERROR;");
}

void TestFakeQuorix::defaultAnswers()
{
    QFETCH(QByteArray, request);
    QFETCH(QByteArray, reply);

    fake->setValue(QStringLiteral("device"), QStringLiteral("vantel"), QStringLiteral("general"));
    fake->setValue(QStringLiteral("odd"), QStringLiteral("a;b\\c"), QStringLiteral("general"));
    fake->setValue(QStringLiteral("locked"), QStringLiteral("1"), QStringLiteral("general"));
    fake->setList(QStringLiteral("network"),
                  {QStringLiteral("eth.0"), QStringLiteral("wifi,0")},
                  QStringLiteral("network"));
    fake->setValue(QStringLiteral("tabname"),
                   QStringLiteral("Studio 1"),
                   QStringLiteral("db"),
                   QStringLiteral("web"));
    fake->refuseKey(QStringLiteral("locked"), QStringLiteral("015-not allowed"));
    fake->refuseCommand(QStringLiteral("reboot"), QStringLiteral("015-not allowed"));
    fake->setCommandReply(QStringLiteral("con"), {{QStringLiteral("id"), QStringLiteral("7")}});

    client->request(42, request);
    const auto r = client->next();
    QVERIFY(r);
    QCOMPARE(r->type, 2);
    QCOMPARE(r->id, 42);
    QCOMPARE(r->code, 0);
    QCOMPARE(r->body, reply);
}

void TestFakeQuorix::getIsLoggedExactly()
{
    QSignalSpy spy(fake.get(), &FakeQuorix::requestReceived);
    const QByteArray body("PARAM;network:eth.0;target:network;GET:ip_addr;GET:netmask;");
    client->request(5, body);

    FakeRequest request;
    QVERIFY(fake->waitForRequest(
        [](const FakeRequest &r) { return r.isGetOf("netmask"); }, 5000, &request));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(request.body, body);
    QCOMPARE(request.frameType, 1);
    QCOMPARE(request.id, 5);
    QCOMPARE(request.length, quint32(24 + body.size()));
    QVERIFY(request.parsed);
    QCOMPARE(request.typeWord(), QStringLiteral("PARAM"));
    QCOMPARE(request.target(), QStringLiteral("network"));
    QCOMPARE(request.network(), QStringLiteral("eth.0"));
    QCOMPARE(request.gets(), (QStringList{"ip_addr", "netmask"}));
    QCOMPARE(request.client, 1);
    QVERIFY(client->next());

    // A frame of another type is logged but not answered; an unreadable body gets an
    // ErrorReply with code 3.
    client->send(frameBytes(9, 4, "EVENT;event_type:x;"));
    client->request(10, "garbage;");
    const auto r = client->next();
    QVERIFY(r);
    QCOMPARE(r->id, 10);
    QCOMPARE(r->type, 3);
    QCOMPARE(r->code, 3);
    QCOMPARE(r->body, QByteArray());
    QCOMPARE(fake->requestCount(), 3);
    QCOMPARE(fake->requests().at(1).frameType, 4);
    QVERIFY(!fake->lastRequest().parsed);
    QCOMPARE(fake->lastRequest().body, QByteArray("garbage;"));

    fake->clearLog();
    QCOMPARE(fake->requestCount(), 0);
}

void TestFakeQuorix::setsAreStoredPerScope()
{
    client->request(1, "PARAM;network:eth.0;target:network;ip_mode:dhcp;");
    client->request(2,
                    "PARAM;cat:ui;controller_id:vn_frontpanel;target:db;type:vn_frontpanel;"
                    "pwd_admin:abc;");
    client->request(3, "PARAM;network:eth.0;target:network;GET:ip_mode;");
    QCOMPARE(client->replyBodies(1, 1), QList<QByteArray>{"PARAM;return:OK;"});
    QCOMPARE(client->replyBodies(2, 1), QList<QByteArray>{"PARAM;return:OK;"});
    QCOMPARE(client->replyBodies(3, 1), QList<QByteArray>{"PARAM;ip_mode:dhcp;return:OK;"});

    QCOMPARE(fake->value("ip_mode", "network", "eth.0"), QStringLiteral("dhcp"));
    QVERIFY(!fake->hasValue("ip_mode", "network"));
    QCOMPARE(fake->value("pwd_admin", "db", "vn_frontpanel"), QStringLiteral("abc"));
    // Routing words are not stored.
    QVERIFY(!fake->hasValue("target", "network", "eth.0"));
    QVERIFY(!fake->hasValue("cat", "db", "vn_frontpanel"));
}

void TestFakeQuorix::progressParts()
{
    fake->setList("items", {"a", "b", "c", "d"}, "general");
    fake->setValue("x", "1", "general");
    fake->setValue("y", "2", "general");
    fake->setProgressParts(2);

    client->request(1, "PARAM;target:general;LIST:items;");
    QCOMPARE(client->replyBodies(1, 3),
             (QList<QByteArray>{"PARAM;items:a;return:PROGRESS;",
                                "PARAM;items:b;return:PROGRESS;",
                                "PARAM;items:c,d;return:OK;"}));

    // Plain values are spread in order; a refusal stays with the final "return".
    client->request(2, "PARAM;target:general;GET:x;GET:y;GET:z;");
    QCOMPARE(client->replyBodies(2, 3),
             (QList<QByteArray>{"PARAM;x:1;return:PROGRESS;",
                                "PARAM;y:2;return:PROGRESS;",
                                "PARAM;z:101-parameter not set;return:ERROR;"}));
}

void TestFakeQuorix::silenceAndDelay()
{
    fake->setValue("x", "1");
    fake->setSilent(true);
    client->request(1, "PARAM;GET:x;");
    QVERIFY(fake->waitForRequestCount(1));

    fake->setSilent(false);
    fake->setReplyDelay(50);
    QElapsedTimer timer;
    timer.start();
    client->request(2, "PARAM;GET:x;");
    const auto r = client->next();
    QVERIFY(r);
    QCOMPARE(r->id, 2); // the silenced request never got an answer
    QVERIFY(timer.elapsed() >= 45);
    QCOMPARE(fake->requestCount(), 2);
}

void TestFakeQuorix::errorReplyCode()
{
    fake->replyWithErrorCode(1234);
    client->request(8, "PARAM;GET:x;");
    auto r = client->next();
    QVERIFY(r);
    QCOMPARE(r->type, 3);
    QCOMPARE(r->id, 8);
    QCOMPARE(r->code, 1234);
    QCOMPARE(r->body, QByteArray());

    fake->clearErrorReply();
    client->request(9, "PARAM;GET:x;");
    r = client->next();
    QVERIFY(r);
    QCOMPARE(r->type, 2);
}

void TestFakeQuorix::replyHook()
{
    fake->setReplyHook([](const FakeRequest &request) -> std::optional<QList<FakeReply>> {
        if (!request.isCommand("dial"))
            return std::nullopt;
        FakeMessage part(FakeMessage::Do, {{"return", "NOK"}});
        FakeReply lateReply = FakeReply::reply(part);
        lateReply.id = request.id + 100;
        return QList<FakeReply>{
            FakeReply::signal(FakeMessage(FakeMessage::Event, {{"event_type", "call ring"}})),
            lateReply,
            FakeReply::rawBytes("TolvRpcM")};
    });
    client->request(3, "DO;action:dial;");
    auto r = client->next();
    QVERIFY(r);
    QCOMPARE(r->type, 4);
    QCOMPARE(r->id, -1);
    QCOMPARE(r->body, QByteArray("EVENT;event_type:call ring;"));
    r = client->next();
    QVERIFY(r);
    QCOMPARE(r->id, 103);
    QCOMPARE(r->body, QByteArray("DO;return:NOK;"));
    QVERIFY(QTest::qWaitFor([this] {
        client->buffer += client->socket.readAll();
        return client->buffer == "TolvRpcM";
    }));
    client->buffer.clear();

    // Requests the hook declines get the default answer; after a reset the hook is gone.
    client->request(4, "DO;action:reinit;");
    QCOMPARE(client->replyBodies(4, 1), QList<QByteArray>{"DO;return:OK;"});
    fake->setReplyHook([](const FakeRequest &) { return QList<FakeReply>{}; });
    fake->resetScript();
    client->request(5, "DO;action:dial;");
    QCOMPARE(client->replyBodies(5, 1), QList<QByteArray>{"DO;return:OK;"});
}

void TestFakeQuorix::drop()
{
    QSignalSpy gone(fake.get(), &FakeQuorix::clientDisconnected);
    fake->dropClient();
    QCOMPARE(fake->clientCount(), 0);
    QTRY_COMPARE(client->socket.state(), QAbstractSocket::UnconnectedState);
    QCOMPARE(gone.count(), 1);

    // A hook can cut the link after a first part of the answer.
    fake->setReplyHook([](const FakeRequest &) {
        return QList<FakeReply>{
            FakeReply::reply(FakeMessage(FakeMessage::Param, {{"return", "PROGRESS"}})),
            FakeReply::drop()};
    });
    RawClient second;
    QVERIFY(second.connectTo(fake->port()));
    QVERIFY(fake->waitForConnection());
    second.request(1, "PARAM;GET:x;");
    const auto r = second.next();
    QVERIFY(r);
    QCOMPARE(r->body, QByteArray("PARAM;return:PROGRESS;"));
    QTRY_COMPARE(second.socket.state(), QAbstractSocket::UnconnectedState);
    QVERIFY(fake->waitForDisconnection());
    QCOMPARE(fake->lastRequest().client, 2);
}

void TestFakeQuorix::framingFaults_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("bad magic") << QByteArray("TolvRpcX").append(16, '\0');
    QByteArray huge("TolvRpcM");
    putLe32(huge, 0x7fffffffu);
    huge.append(12, '\0');
    QTest::newRow("huge length") << huge;
    QTest::newRow("garbage") << QByteArray(40, '\xff');
}

void TestFakeQuorix::framingFaults()
{
    QFETCH(QByteArray, bytes);
    QSignalSpy errors(fake.get(), &FakeQuorix::framingError);

    // A valid frame in front of the fault is still taken.
    client->send(frameBytes(1, 1, "PARAM;GET:x;") + bytes + frameBytes(2, 1, "PARAM;GET:y;"));
    QTRY_COMPARE(errors.count(), 1);
    QCOMPARE(fake->framingErrors(), 1);
    QCOMPARE(fake->requestCount(), 1);
    QVERIFY(client->next());

    // Later input from that connection is ignored; a new connection starts afresh.
    client->request(3, "PARAM;GET:x;");
    RawClient second;
    QVERIFY(second.connectTo(fake->port()));
    second.request(4, "PARAM;GET:x;");
    QVERIFY(second.next());
    QCOMPARE(fake->requestCount(), 2);
    QCOMPARE(fake->lastRequest().id, 4);
    QCOMPARE(errors.count(), 1);
}

void TestFakeQuorix::frameSplitIntoSingleBytes()
{
    // A header-only frame (length word 10) followed by a request sent one byte at a time.
    QByteArray shortFrame("TolvRpcM");
    putLe32(shortFrame, 10);
    putLe32(shortFrame, 7);
    putLe32(shortFrame, 2);
    putLe32(shortFrame, 0);
    const QByteArray bytes = shortFrame + frameBytes(11, 1, "PARAM;GET:x;");
    for (const char c : bytes) {
        client->send(QByteArray(1, c));
        QCoreApplication::processEvents();
    }
    QVERIFY(fake->waitForRequestCount(2));
    QCOMPARE(fake->requests().at(0).length, 10u);
    QCOMPARE(fake->requests().at(0).body, QByteArray());
    QVERIFY(!fake->requests().at(0).parsed);
    QCOMPARE(fake->requests().at(1).id, 11);
    QCOMPARE(fake->requests().at(1).gets(), QStringList{"x"});
    QCOMPARE(fake->framingErrors(), 0);
}

void TestFakeQuorix::pushedSignals()
{
    QVERIFY(fake->pushInfo("config_changeset", {{"softkey1", "on;off"}}));
    QVERIFY(fake->pushEvent("1000-call active", {{"id", "3"}}));
    auto r = client->next();
    QVERIFY(r);
    QCOMPARE(r->type, 4);
    QCOMPARE(r->id, -1);
    QCOMPARE(r->body, QByteArray("INFO;info_type:config_changeset;softkey1:on\\;off;"));
    r = client->next();
    QVERIFY(r);
    QCOMPARE(r->body, QByteArray("EVENT;event_type:1000-call active;id:3;"));

    QVERIFY(fake->sendRaw("TolvRpcM"));
    QVERIFY(QTest::qWaitFor([this] {
        client->buffer += client->socket.readAll();
        return client->buffer == "TolvRpcM";
    }));

    fake->dropClient();
    QVERIFY(!fake->pushInfo("x"));
}

void TestFakeQuorix::levelDatagrams()
{
    QVERIFY(!fake->sendLevels({{"txL", "1"}})); // nothing subscribed

    QUdpSocket receiver;
    QVERIFY(receiver.bind(QHostAddress::LocalHost, 0));
    client->request(1,
                    "DO;action:subscribe;event_type:audio_levels;period:150;port:"
                        + QByteArray::number(receiver.localPort()) + ";");
    QCOMPARE(client->replyBodies(1, 1), QList<QByteArray>{"DO;return:OK;"});
    QCOMPARE(fake->levelPort(), receiver.localPort());
    QCOMPARE(fake->levelPeriod(), 150);
    QVERIFY(fake->isSubscribed("audio_levels"));

    QVERIFY(fake->sendLevels({{"txL", "12"}, {"in1", "40"}}));
    QTRY_VERIFY(receiver.hasPendingDatagrams());
    QByteArray datagram(int(receiver.pendingDatagramSize()), '\0');
    QCOMPARE(receiver.readDatagram(datagram.data(), datagram.size()), qint64(datagram.size()));
    QCOMPARE(datagram, frameBytes(-1, 4, "EVENT;event_type:audio_levels;txL:12;in1:40;"));

    // Port 1 sends the levels over the TCP link; unsubscribing stops them.
    client->request(2, "DO;action:subscribe;event_type:audio_levels;period:150;port:1;");
    QCOMPARE(client->replyBodies(2, 1), QList<QByteArray>{"DO;return:OK;"});
    QVERIFY(fake->sendLevels({{"rxL", "3"}}));
    const auto r = client->next();
    QVERIFY(r);
    QCOMPARE(r->type, 4);
    QCOMPARE(r->body, QByteArray("EVENT;event_type:audio_levels;rxL:3;"));

    client->request(3, "DO;action:unsubscribe;event_type:audio_levels;");
    QCOMPARE(client->replyBodies(3, 1), QList<QByteArray>{"DO;return:OK;"});
    QCOMPARE(fake->levelPort(), quint16(0));
    QVERIFY(!fake->isSubscribed("audio_levels"));

    // Subscriptions end with the session.
    client->request(4, "DO;action:subscribe;info:battery_level;");
    QCOMPARE(client->replyBodies(4, 1), QList<QByteArray>{"DO;return:OK;"});
    QCOMPARE(fake->subscriptions(), QStringList{"battery_level"});
    client->socket.disconnectFromHost();
    QVERIFY(fake->waitForDisconnection());
    QVERIFY(fake->subscriptions().isEmpty());
}

QTEST_GUILESS_MAIN(TestFakeQuorix)
#include "tst_fakequorix.moc"
