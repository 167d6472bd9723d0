// What the demo unit does beyond storing values: the codec lists it answers and the course of a
// call, seen from a client on loopback.

#include "demounit.h"
#include "fakeframereader.h"
#include "fakequorix.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QTcpSocket>
#include <QTest>

#include <optional>

namespace {

// A client of the demo unit that keeps every frame it receives.
class DemoClient
{
public:
    bool connectTo(quint16 port)
    {
        m_socket.connectToHost(QHostAddress::LocalHost, port);
        return m_socket.waitForConnected(5000);
    }

    void request(qint32 id, const QByteArray &text)
    {
        FakeFrame frame;
        frame.type = FakeFrame::Request;
        frame.id = id;
        frame.body = text;
        m_socket.write(frame.encode());
        m_socket.flush();
    }

    // The reply to request id, once it has arrived.
    std::optional<FakeMessage> reply(qint32 id)
    {
        std::optional<FakeMessage> found;
        const bool arrived = QTest::qWaitFor(
            [&] {
                read();
                for (const FakeFrame &frame : std::as_const(m_frames)) {
                    if (frame.type == FakeFrame::Reply && frame.id == id) {
                        found = FakeMessage::fromText(frame.body);
                        return true;
                    }
                }
                return false;
            },
            5000);
        return arrived ? found : std::nullopt;
    }

    // Whether request id was answered with an error frame instead of a reply, once it has arrived.
    std::optional<bool> refused(qint32 id)
    {
        std::optional<bool> found;
        const bool arrived = QTest::qWaitFor(
            [&] {
                read();
                for (const FakeFrame &frame : std::as_const(m_frames)) {
                    if (frame.id == id
                        && (frame.type == FakeFrame::Reply
                            || frame.type == FakeFrame::ErrorReply)) {
                        found = frame.type == FakeFrame::ErrorReply;
                        return true;
                    }
                }
                return false;
            },
            5000);
        return arrived ? found : std::nullopt;
    }

    // The events received so far, as "<event_type> <id>", oldest first.
    QStringList events()
    {
        read();
        QStringList seen;
        for (const FakeFrame &frame : std::as_const(m_frames)) {
            if (frame.type != FakeFrame::Signal)
                continue;
            const auto message = FakeMessage::fromText(frame.body);
            if (message && message->type == FakeMessage::Event)
                seen << message->value(QStringLiteral("event_type")) + QLatin1Char(' ')
                            + message->value(QStringLiteral("id"));
        }
        return seen;
    }

    // The INFO (or EVENT) messages received so far, oldest first.
    QList<FakeMessage> infos(FakeMessage::Type type = FakeMessage::Info)
    {
        read();
        QList<FakeMessage> seen;
        for (const FakeFrame &frame : std::as_const(m_frames)) {
            if (frame.type != FakeFrame::Signal)
                continue;
            const auto message = FakeMessage::fromText(frame.body);
            if (message && message->type == type)
                seen << *message;
        }
        return seen;
    }

    // Whether an answer to request id has arrived by now.
    bool answered(qint32 id)
    {
        read();
        for (const FakeFrame &frame : std::as_const(m_frames)) {
            if (frame.id == id
                && (frame.type == FakeFrame::Reply || frame.type == FakeFrame::ErrorReply))
                return true;
        }
        return false;
    }

    [[nodiscard]] bool waitForEvent(const QString &event, int timeoutMs = 5000)
    {
        return QTest::qWaitFor([&] { return events().contains(event); }, timeoutMs);
    }

private:
    void read() { m_frames += m_reader.feed(m_socket.readAll()); }

    QTcpSocket m_socket;
    FakeFrameReader m_reader;
    QList<FakeFrame> m_frames;
};

} // namespace

class TestDemoAreas : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void codecListsAnswerWithoutStoring_data();
    void codecListsAnswerWithoutStoring();
    void callRunsThroughAndIsReleasedOnHangUp();
    void callHungUpEarlyReportsNothingMore();
    void failureSwitchesFromEnvironment();
    void behaviourSwitchesFromEnvironment();
    void hardwareVariantFromEnvironment_data();
    void hardwareVariantFromEnvironment();
    void optionsFromEnvironment();
    void olderFirmwareFromEnvironment_data();
    void olderFirmwareFromEnvironment();

private:
    // A fresh unit installed while variable holds keys, and a client of it.
    void restartWith(const char *variable, const QByteArray &keys);
    // The same with several variables set at once.
    void restartWith(const QList<std::pair<const char *, QByteArray>> &variables);

    std::unique_ptr<FakeQuorix> m_fake;
    std::unique_ptr<DemoClient> m_client;
};

void TestDemoAreas::init()
{
    m_fake = std::make_unique<FakeQuorix>();
    installDemoUnit(*m_fake);
    QVERIFY(m_fake->listen());
    m_client = std::make_unique<DemoClient>();
    QVERIFY(m_client->connectTo(m_fake->port()));
}

void TestDemoAreas::cleanup()
{
    m_client.reset();
    m_fake.reset();
}

void TestDemoAreas::restartWith(const char *variable, const QByteArray &keys)
{
    restartWith({{variable, keys}});
}

void TestDemoAreas::restartWith(const QList<std::pair<const char *, QByteArray>> &variables)
{
    m_client.reset();
    m_fake = std::make_unique<FakeQuorix>();
    for (const auto &[variable, keys] : variables)
        qputenv(variable, keys);
    installDemoUnit(*m_fake);
    for (const auto &[variable, keys] : variables)
        qunsetenv(variable);
    QVERIFY(m_fake->listen());
    m_client = std::make_unique<DemoClient>();
    QVERIFY(m_client->connectTo(m_fake->port()));
}

void TestDemoAreas::codecListsAnswerWithoutStoring_data()
{
    QTest::addColumn<QByteArray>("question");
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("answer");

    const QByteArray base = "PARAM;target:audio;codec_mode:single_codec;network:ip;";
    QTest::newRow("algorithms") << base + "LIST:alg;"
                                << "alg"
                                << "OPUS,MPA2,AAC-ld,L16,G722,PCMA";
    QTest::newRow("channel modes") << base + "alg:MPA2;LIST:mode;"
                                   << "mode"
                                   << "mono,dmono,stereo,jstereo";
    QTest::newRow("sample rates") << base + "alg:MPA2;mode:stereo;LIST:samplerate;"
                                  << "samplerate"
                                  << "48000,32000";
    QTest::newRow("mono bit rates") << base + "alg:OPUS;mode:mono;samplerate:48000;LIST:bitrate;"
                                    << "bitrate"
                                    << "32000,48000,64000";
    QTest::newRow("stereo bit rates")
        << base + "alg:OPUS;mode:stereo;samplerate:48000;LIST:bitrate;"
        << "bitrate"
        << "64000,96000,128000";
    QTest::newRow("unknown algorithm") << base + "alg:NONE;LIST:mode;"
                                       << "mode"
                                       << "";
}

void TestDemoAreas::codecListsAnswerWithoutStoring()
{
    QFETCH(QByteArray, question);
    QFETCH(QString, list);
    QFETCH(QString, answer);

    m_client->request(7, question);
    const auto reply = m_client->reply(7);
    QVERIFY(reply);
    QCOMPARE(reply->value(list), answer);
    QCOMPARE(reply->value(QStringLiteral("return")), QStringLiteral("OK"));
    // The question's words are not settings: the unit's own codec mode and codec stay.
    const QString audio = QStringLiteral("audio");
    QCOMPARE(m_fake->value(QStringLiteral("codec_mode"), audio), QStringLiteral("cmode_normal"));
    QCOMPARE(m_fake->value(QStringLiteral("codec"), audio),
             QStringLiteral("OPUS/48000/stereo/64000"));
    QVERIFY(!m_fake->hasValue(QStringLiteral("alg"), audio, QStringLiteral("ip")));
}

void TestDemoAreas::callRunsThroughAndIsReleasedOnHangUp()
{
    m_client->request(3, "DO;action:con;comm_link:audio;network:eth.0;remote_addr:10.0.0.9;");
    const auto dialled = m_client->reply(3);
    QVERIFY(dialled);
    QCOMPARE(dialled->value(QStringLiteral("return")), QStringLiteral("OK"));
    const QString id = dialled->value(QStringLiteral("id"));
    QVERIFY(!id.isEmpty());

    QVERIFY(m_client->waitForEvent(QStringLiteral("dsp_status ") + id));
    // Link quality follows once the call runs.
    QVERIFY(m_client->waitForEvent(QStringLiteral("rx-quality-report ") + id));
    QCOMPARE(m_client->events().mid(0, 3),
             QStringList({QStringLiteral("0100-call proceeding ") + id,
                          QStringLiteral("1000-call active ") + id,
                          QStringLiteral("dsp_status ") + id}));

    m_client->request(4, "DO;action:dcon;network:eth.0;id:" + id.toLatin1() + ";");
    QVERIFY(m_client->reply(4));
    QVERIFY(m_client->waitForEvent(QStringLiteral("1900-call released ") + id));
}

void TestDemoAreas::callHungUpEarlyReportsNothingMore()
{
    m_client->request(3, "DO;action:con;comm_link:audio;network:eth.0;remote_addr:a;");
    const auto first = m_client->reply(3);
    QVERIFY(first);
    const QString id = first->value(QStringLiteral("id"));
    m_client->request(4, "DO;action:dcon;network:eth.0;id:" + id.toLatin1() + ";");
    QVERIFY(m_client->reply(4));
    QVERIFY(m_client->waitForEvent(QStringLiteral("1900-call released ") + id));

    // A second call, dialled after the first ended, becomes active after the first would have.
    m_client->request(5, "DO;action:con;comm_link:audio;network:eth.0;remote_addr:b;");
    const auto second = m_client->reply(5);
    QVERIFY(second);
    const QString secondId = second->value(QStringLiteral("id"));
    QVERIFY(secondId != id);
    QVERIFY(m_client->waitForEvent(QStringLiteral("1000-call active ") + secondId));
    const QStringList events = m_client->events();
    QVERIFY2(!events.contains(QStringLiteral("1000-call active ") + id),
             qPrintable(events.join(", ")));
    QVERIFY(!events.contains(QStringLiteral("dsp_status ") + id));
    QCOMPARE(events.count(QStringLiteral("1900-call released ") + id), 1);
}

void TestDemoAreas::failureSwitchesFromEnvironment()
{
    const QString general = QStringLiteral("general");
    const QString password = QStringLiteral("remote_access_pwd");

    // A missed key is left out of the answer; the others come.
    restartWith("FAKE_QUORIX_MISS", "remote_access_pwd");
    m_client->request(1, "PARAM;target:general;GET:remote_access;GET:remote_access_pwd;");
    auto answer = m_client->reply(1);
    QVERIFY(answer);
    QCOMPARE(answer->value(QStringLiteral("remote_access")), QStringLiteral("off"));
    QVERIFY(!answer->has(password));

    // A failing read fails whenever it asks for the key; a write of it goes through.
    restartWith("FAKE_QUORIX_FAIL_READ", "remote_access");
    m_client->request(2, "PARAM;target:general;GET:serialno;GET:remote_access;");
    QCOMPARE(m_client->refused(2), std::optional<bool>(true));
    m_client->request(3, "PARAM;target:general;remote_access:on;");
    QCOMPARE(m_client->refused(3), std::optional<bool>(false));
    QCOMPARE(m_fake->value(QStringLiteral("remote_access"), general), QStringLiteral("on"));

    // A failing read-back reads the key until it is written, and fails every read of it after.
    restartWith("FAKE_QUORIX_FAIL_READBACK", "remote_access_pwd");
    m_client->request(4, "PARAM;target:general;GET:remote_access_pwd;");
    answer = m_client->reply(4);
    QVERIFY(answer);
    QCOMPARE(answer->value(password), QStringLiteral("demo"));
    m_client->request(5, "PARAM;target:general;remote_access_pwd:n3w;");
    QCOMPARE(m_client->refused(5), std::optional<bool>(false));
    QCOMPARE(m_fake->value(password, general), QStringLiteral("n3w"));
    m_client->request(6, "PARAM;target:general;GET:remote_access_pwd;");
    QCOMPARE(m_client->refused(6), std::optional<bool>(true));
    m_client->request(7, "PARAM;target:general;GET:serialno;");
    QCOMPARE(m_client->refused(7), std::optional<bool>(false));

    // Set together, a missing key leaves the failing reads failing, and a failing read fails
    // even where an area answers it itself (the mobile interface's lists).
    restartWith(
        {{"FAKE_QUORIX_MISS", "rav_device_name"}, {"FAKE_QUORIX_FAIL_READ", "gateway,rat"}});
    m_client->request(8, "PARAM;network:eth.0;target:network;GET:subnet;GET:gateway;");
    QCOMPARE(m_client->refused(8), std::optional<bool>(true));
    m_client->request(9, "PARAM;network:mobile.0;target:network;LIST:rat;");
    QCOMPARE(m_client->refused(9), std::optional<bool>(true));
    m_client->request(10, "PARAM;target:audio;GET:rav_device_name;GET:rav_sample_rate;");
    answer = m_client->reply(10);
    QVERIFY(answer);
    QVERIFY(!answer->has(QStringLiteral("rav_device_name")));
    QVERIFY(answer->has(QStringLiteral("rav_sample_rate")));
}

void TestDemoAreas::behaviourSwitchesFromEnvironment()
{
    const QString audio = QStringLiteral("audio");
    const QString returnKey = QStringLiteral("return");

    // Values in place of the demo's, with or without a network.
    restartWith("FAKE_QUORIX_SET",
                "audio/abr_profile=turbo;audio/rav_stream_in1=102/8/Studio B;"
                "network/isdn.0/protocol=isdn_ni1;no value");
    m_client->request(1, "PARAM;target:audio;GET:abr_profile;GET:rav_stream_in1;");
    auto answer = m_client->reply(1);
    QVERIFY(answer);
    QCOMPARE(answer->value(QStringLiteral("abr_profile")), QStringLiteral("turbo"));
    QCOMPARE(answer->value(QStringLiteral("rav_stream_in1")), QStringLiteral("102/8/Studio B"));
    m_client->request(2, "PARAM;target:network;network:isdn.0;GET:protocol;");
    answer = m_client->reply(2);
    QVERIFY(answer);
    QCOMPARE(answer->value(QStringLiteral("protocol")), QStringLiteral("isdn_ni1"));

    // Refused writes, with the usual or the given cause; reads and the other keys of the same
    // write go through.
    restartWith("FAKE_QUORIX_REFUSE", "matrix_in5,pin:124-puk required");
    m_client->request(3, "PARAM;target:audio;matrix_in5:0020,Feed;wave_scut:on;");
    answer = m_client->reply(3);
    QVERIFY(answer);
    QCOMPARE(answer->value(returnKey), QStringLiteral("ERROR"));
    QCOMPARE(answer->value(QStringLiteral("matrix_in5")), QStringLiteral("015-not allowed"));
    QCOMPARE(m_fake->value(QStringLiteral("matrix_in5"), audio), QStringLiteral("0020,Studio"));
    QCOMPARE(m_fake->value(QStringLiteral("wave_scut"), audio), QStringLiteral("on"));
    m_client->request(4, "PARAM;target:network;network:mobile.0;pin:1234;");
    answer = m_client->reply(4);
    QVERIFY(answer);
    QCOMPARE(answer->value(QStringLiteral("pin")), QStringLiteral("124-puk required"));
    m_client->request(5, "PARAM;target:audio;GET:matrix_in5;");
    answer = m_client->reply(5);
    QVERIFY(answer);
    QCOMPARE(answer->value(returnKey), QStringLiteral("OK"));

    // The first read of a slow name goes unanswered; the next one is answered.
    restartWith("FAKE_QUORIX_SLOW_READ", "remote_access");
    m_client->request(6, "PARAM;target:general;GET:serialno;GET:remote_access;");
    m_client->request(7, "PARAM;target:general;GET:remote_access;");
    answer = m_client->reply(7);
    QVERIFY(answer);
    QCOMPARE(answer->value(QStringLiteral("remote_access")), QStringLiteral("off"));
    QVERIFY(!m_client->answered(6));

    // Every read is answered late, no sooner than the delay.
    restartWith("FAKE_QUORIX_READ_DELAY", "300");
    QElapsedTimer sinceRead;
    sinceRead.start();
    m_client->request(20, "PARAM;target:general;GET:remote_access;");
    QVERIFY(m_client->reply(20));
    QVERIFY2(sinceRead.elapsed() >= 300, qPrintable(QString::number(sinceRead.elapsed())));
    // Opening a stored item is a read; loading one is not held back.
    m_client->request(23, "DO;target:general;action:open;type:local_profile;id:1;");
    m_client->request(24, "DO;target:general;action:load;type:local_profile;id:1;");
    QVERIFY(m_client->reply(24));
    QVERIFY(!m_client->answered(23));
    QVERIFY(m_client->reply(23));

    // The Book's changes are answered as late as writes, though carried out at once.
    restartWith("FAKE_QUORIX_WRITE_DELAY", "1000");
    m_client->request(25, "DO;target:general;action:create;type:snapshot;name:Late One;");
    m_client->request(26, "DO;target:general;action:delete;type:local_profile;id:2;");
    m_client->request(27, "PARAM;target:general;LIST:snapshot;LIST:local_profile;");
    answer = m_client->reply(27);
    QVERIFY(answer);
    QVERIFY(!m_client->answered(25) && !m_client->answered(26));
    QVERIFY(FakeMessage::splitList(answer->value(QStringLiteral("snapshot")))
                .contains(QStringLiteral("20/Late One")));
    QVERIFY(!FakeMessage::splitList(answer->value(QStringLiteral("local_profile")))
                 .contains(QStringLiteral("2/sports desk")));
    QVERIFY(m_client->reply(25));
    QVERIFY(m_client->reply(26));

    // The Book's updates refused, as late as the writes: the item keeps its name; a delete
    // and the settings writes are not refused.
    restartWith({{"FAKE_QUORIX_WRITE_DELAY", "1000"},
                 {"FAKE_QUORIX_REFUSE_BOOK", "update:200-unknown error"}});
    m_client->request(28, "DO;target:general;action:update;type:local_profile;id:2;name:Renamed;");
    m_client->request(29, "DO;target:general;action:delete;type:local_profile;id:1;");
    m_client->request(30, "PARAM;target:general;LIST:local_profile;");
    answer = m_client->reply(30);
    QVERIFY(answer);
    QVERIFY(!m_client->answered(28));
    const QStringList presets
        = FakeMessage::splitList(answer->value(QStringLiteral("local_profile")));
    QVERIFY(presets.contains(QStringLiteral("2/sports desk")));
    QVERIFY(!presets.contains(QStringLiteral("1/Morning Show")));
    answer = m_client->reply(28);
    QVERIFY(answer);
    QCOMPARE(answer->value(returnKey), QStringLiteral("ERROR"));
    QCOMPARE(answer->value(QStringLiteral("cause")), QStringLiteral("200-unknown error"));
    answer = m_client->reply(29);
    QVERIFY(answer);
    QCOMPARE(answer->value(returnKey), QStringLiteral("OK"));

    // Lists alone come late; another read is answered at once, after the late list.
    restartWith("FAKE_QUORIX_LIST_DELAY", "300");
    QElapsedTimer sinceList;
    sinceList.start();
    m_client->request(21, "PARAM;target:network;LIST:network;");
    m_client->request(22, "PARAM;target:general;GET:remote_access;");
    QVERIFY(m_client->reply(22));
    QVERIFY(!m_client->answered(21));
    QVERIFY(m_client->reply(21));
    QVERIFY2(sinceList.elapsed() >= 300, qPrintable(QString::number(sinceList.elapsed())));

    // A dialled call waits before it proceeds: "proceeding" comes no sooner than the delay after
    // the dial (a busy machine only makes it later).
    restartWith("FAKE_QUORIX_CALL_DELAY", "1000");
    QElapsedTimer sinceDial;
    sinceDial.start();
    m_client->request(8, "DO;action:con;comm_link:audio;network:eth.0;remote_addr:a;");
    answer = m_client->reply(8);
    QVERIFY(answer);
    const QString proceeding
        = QStringLiteral("0100-call proceeding ") + answer->value(QStringLiteral("id"));
    QVERIFY(m_client->waitForEvent(proceeding, 10000));
    QVERIFY2(sinceDial.elapsed() >= 1000, qPrintable(QString::number(sinceDial.elapsed())));

    // Overridden values are reported wherever the key is, in reads and in list answers.
    restartWith("FAKE_QUORIX_VALUES", "drc_lim_threshold=2147483647,rav_stream_in=1/99/X");
    m_client->request(9, "PARAM;target:audio;GET:drc_lim_threshold;GET:drc_state;");
    answer = m_client->reply(9);
    QVERIFY(answer);
    QCOMPARE(answer->value(QStringLiteral("drc_lim_threshold")), QStringLiteral("2147483647"));
    QCOMPARE(answer->value(QStringLiteral("drc_state")), QStringLiteral("off"));
    m_client->request(10, "PARAM;target:audio;LIST:rav_stream_in;");
    answer = m_client->reply(10);
    QVERIFY(answer);
    QCOMPARE(answer->value(QStringLiteral("rav_stream_in")), QStringLiteral("1/99/X"));

    // Long lists in the Book: that many items more of each kind.
    restartWith("FAKE_QUORIX_BOOK_ITEMS", "300");
    m_client->request(11, "PARAM;target:general;LIST:local_profile;LIST:remote_profile;");
    answer = m_client->reply(11);
    QVERIFY(answer);
    QCOMPARE(FakeMessage::splitList(answer->value(QStringLiteral("local_profile"))).size(), 303);
    QCOMPARE(FakeMessage::splitList(answer->value(QStringLiteral("remote_profile"))).size(), 302);

    // An INFO with more settings than a message may hold follows a subscription to the changes.
    restartWith("FAKE_QUORIX_DENSE_INFO", "10001");
    m_client->request(12, "DO;action:subscribe;info:audio_changeset;");
    QVERIFY(m_client->reply(12));
    QTRY_COMPARE(m_client->infos().size(), 1);
    const FakeMessage dense = m_client->infos().first();
    QCOMPARE(dense.value(QStringLiteral("info_type")), QStringLiteral("audio_changeset"));
    QCOMPARE(dense.params.size(), 10002);

    // Configuration events of LAN2 on cue: the unit takes the values given, or the gateway and
    // auxiliary DNS of the demo's own choice, and reports what it then holds.
    const QString network = QStringLiteral("network");
    const QString lan2 = QStringLiteral("eth.1");
    for (const QByteArray &setting : {QByteArray("100;dns1=10.0.0.53"), QByteArray("100")}) {
        restartWith("FAKE_QUORIX_CONFIG_EVENT", setting);
        QTRY_VERIFY(!m_client->infos(FakeMessage::Event).isEmpty());
        const FakeMessage event = m_client->infos(FakeMessage::Event).first();
        const bool given = setting.contains(';');
        QCOMPARE(event.value(QStringLiteral("event_type")), QStringLiteral("config info"));
        QCOMPARE(event.value(network), lan2);
        QCOMPARE(event.value(QStringLiteral("mode")), QStringLiteral("manual"));
        QCOMPARE(event.value(QStringLiteral("dns1")),
                 given ? QStringLiteral("10.0.0.53") : QStringLiteral("10.0.0.1"));
        QCOMPARE(event.value(QStringLiteral("gateway")),
                 given ? QStringLiteral("10.0.0.1") : QStringLiteral("10.0.0.99"));
        QCOMPARE(event.value(QStringLiteral("dns2")),
                 given ? QStringLiteral("10.0.0.2") : QStringLiteral("10.0.0.98"));
        QCOMPARE(event.value(QStringLiteral("cable")), QStringLiteral("plugged"));
        QCOMPARE(m_fake->value(QStringLiteral("gateway"), network, lan2),
                 event.value(QStringLiteral("gateway")));
    }
    // Just before the unit takes a write of LAN2, not a read: the event, carrying what the write
    // replaces, comes before the write's answer; with a list of keys it carries those alone.
    restartWith(
        {{"FAKE_QUORIX_CONFIG_EVENT", "write"}, {"FAKE_QUORIX_CONFIG_EVENT_KEYS", "gateway,dns1"}});
    m_client->request(13, "PARAM;target:network;network:eth.1;GET:gateway;");
    QVERIFY(m_client->reply(13));
    m_client->request(14, "PARAM;target:network;network:eth.1;gateway:10.0.0.77;");
    QVERIFY(m_client->reply(14));
    const QList<FakeMessage> crossed = m_client->infos(FakeMessage::Event);
    QCOMPARE(crossed.size(), 1);
    QCOMPARE(crossed.first().params,
             (FakePairs{{QStringLiteral("event_type"), QStringLiteral("config info")},
                        {network, lan2},
                        {QStringLiteral("gateway"), QStringLiteral("10.0.0.99")},
                        {QStringLiteral("dns1"), QStringLiteral("10.0.0.1")}}));
    QCOMPARE(m_fake->value(QStringLiteral("gateway"), network, lan2), QStringLiteral("10.0.0.77"));
    QCOMPARE(m_fake->value(QStringLiteral("dns2"), network, lan2), QStringLiteral("10.0.0.98"));

    // Just before the unit answers a read of LAN2: the event carries what it holds, the answer
    // what it took after.
    restartWith("FAKE_QUORIX_CONFIG_EVENT", "read");
    m_client->request(15, "PARAM;target:network;network:eth.1;gateway:10.0.0.77;");
    QVERIFY(m_client->reply(15));
    QVERIFY(m_client->infos(FakeMessage::Event).isEmpty());
    m_client->request(16, "PARAM;target:network;network:eth.1;GET:gateway;");
    answer = m_client->reply(16);
    QVERIFY(answer);
    QCOMPARE(answer->value(QStringLiteral("gateway")), QStringLiteral("10.0.0.99"));
    const QList<FakeMessage> older = m_client->infos(FakeMessage::Event);
    QCOMPARE(older.size(), 1);
    QCOMPARE(older.first().value(QStringLiteral("gateway")), QStringLiteral("10.0.0.77"));

    // Below the fewest milliseconds, the unit sends none.
    restartWith("FAKE_QUORIX_CONFIG_EVENT", "10");
    QTest::qWait(300);
    QVERIFY(m_client->infos(FakeMessage::Event).isEmpty());
}

// The hardware variant comes from the environment; anything but 1 to 4 names none.
void TestDemoAreas::hardwareVariantFromEnvironment_data()
{
    QTest::addColumn<QByteArray>("variant");
    QTest::addColumn<QString>("option");

    QTest::newRow("none") << QByteArray() << QString();
    QTest::newRow("1") << QByteArray("1") << QStringLiteral("hardware_1");
    QTest::newRow("2") << QByteArray("2") << QStringLiteral("hardware_2");
    QTest::newRow("5") << QByteArray("5") << QString();
    QTest::newRow("12") << QByteArray("12") << QString();
}

void TestDemoAreas::hardwareVariantFromEnvironment()
{
    QFETCH(QByteArray, variant);
    QFETCH(QString, option);

    restartWith("FAKE_QUORIX_HARDWARE", variant);
    m_client->request(1, "PARAM;target:general;LIST:device_opts;");
    const auto answer = m_client->reply(1);
    QVERIFY(answer);
    const QStringList options = answer->value(QStringLiteral("device_opts")).split(u',');
    QVERIFY(options.contains(QStringLiteral("ravenna")));
    QCOMPARE(options.filter(QStringLiteral("hardware_")),
             option.isEmpty() ? QStringList() : QStringList{option});
}

// The options replace the demo's; the hardware variant is still added.
void TestDemoAreas::optionsFromEnvironment()
{
    restartWith({{"FAKE_QUORIX_OPTIONS", "ip_dcodec, record_1"}, {"FAKE_QUORIX_HARDWARE", "1"}});
    m_client->request(1, "PARAM;target:general;LIST:device_opts;");
    const auto answer = m_client->reply(1);
    QVERIFY(answer);
    const QStringList options = answer->value(QStringLiteral("device_opts")).split(u',');
    QVERIFY(!options.contains(QStringLiteral("ravenna")));
    QCOMPARE(options.mid(0, 3),
             (QStringList{QStringLiteral("ip_dcodec"),
                          QStringLiteral("record_1"),
                          QStringLiteral("hardware_1")}));
}

// An older firmware to play, and the width of the input rows' words.
void TestDemoAreas::olderFirmwareFromEnvironment_data()
{
    QTest::addColumn<QByteArray>("variable");
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("inputRow");

    QTest::newRow("demo") << QByteArray("FAKE_QUORIX_FIRMWARE") << QByteArray() << "2.00.7"
                          << "0020,Studio";
    QTest::newRow("1.13.9") << QByteArray("FAKE_QUORIX_FIRMWARE") << QByteArray("1.13.9")
                            << "1.13.9"
                            << "0020,Studio";
    QTest::newRow("two digits") << QByteArray("FAKE_QUORIX_INPUT_WORD") << QByteArray("2")
                                << "2.00.7"
                                << "20,Studio";
}

void TestDemoAreas::olderFirmwareFromEnvironment()
{
    QFETCH(QByteArray, variable);
    QFETCH(QByteArray, value);
    QFETCH(QString, version);
    QFETCH(QString, inputRow);

    restartWith(variable.constData(), value);
    m_client->request(1, "PARAM;target:general;GET:version;");
    const auto general = m_client->reply(1);
    QVERIFY(general);
    QCOMPARE(general->value(QStringLiteral("version")), version);
    m_client->request(2, "PARAM;target:audio;GET:matrix_in5;GET:matrix_hp1;");
    const auto audio = m_client->reply(2);
    QVERIFY(audio);
    QCOMPARE(audio->value(QStringLiteral("matrix_in5")), inputRow);
    QCOMPARE(audio->value(QStringLiteral("matrix_hp1")).size(), 42);
}

QTEST_GUILESS_MAIN(TestDemoAreas)
#include "tst_demoareas.moc"
