#include "link/rpcasynccallwatcher.h"
#include "link/rpcclientconnection.h"
#include "link/rpcserverconnection.h"
#include "tests/support/fakequorix.h"

#include <QTcpServer>
#include <QtTest>

#include <climits>
#include <functional>

namespace {

constexpr int kTickMs = 20;
constexpr int kRetryTicks = 5;

QStringList s_log;
void captureLog(QtMsgType, const QMessageLogContext &, const QString &text)
{
    s_log << text;
}

// Keeps the warnings only: the lines a log without debug lines still holds.
void captureWarnings(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    if (type != QtDebugMsg && type != QtInfoMsg)
        s_log << text;
}

ksm::CMsg message(int type, const std::map<std::string, std::string> &params = {})
{
    ksm::CMsg body(type);
    for (const auto &[key, value] : params)
        body.setParam(key, value);
    return body;
}

std::string param(const ksm::CMsg &body, const char *key)
{
    const std::string *value = body.param(key, false);
    return value ? *value : std::string("<absent>");
}

FakeMessage fake(int type, const FakePairs &pairs)
{
    return FakeMessage(type, pairs);
}

// Everything the connection reports, in order, as short texts ("state 3", "error -8", ...).
class Recorder : public QObject
{
public:
    explicit Recorder(RpcConnection *connection)
    {
        QObject::connect(connection,
                         &RpcConnection::stateChanged,
                         this,
                         [this](RpcConnection::ConnectionState s) {
                             states << int(s);
                             events << QStringLiteral("state %1").arg(int(s));
                         });
        QObject::connect(connection,
                         &RpcConnection::errorOccurred,
                         this,
                         [this](RpcConnection::ConnectionError e) {
                             errors << int(e);
                             events << QStringLiteral("error %1").arg(int(e));
                         });
        QObject::connect(
            connection, &RpcConnection::messageCompleted, this, [this](const RpcMessage &m) {
                completed << m;
                events << QStringLiteral("completed %1").arg(m.id());
            });
        QObject::connect(
            connection, &RpcConnection::messageReceived, this, [this](const RpcMessage &m) {
                received << m;
                events << QStringLiteral("received %1").arg(m.id());
            });
    }

    QList<int> states;
    QList<int> errors;
    QList<RpcMessage> completed;
    QList<RpcMessage> received;
    QStringList events;
};

} // namespace

class TestRpcConnection : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<FakeQuorix> m_fake;
    std::unique_ptr<RpcClientConnection> m_connection;

    void connectToFake(RpcClientConnection &connection)
    {
        connection.setTickInterval(kTickMs);
        connection.setRetryTicks(kRetryTicks);
        connection.connect(QStringLiteral("127.0.0.1"), m_fake->port());
        QTRY_COMPARE(connection.state(), RpcConnection::Connected);
        QVERIFY(m_fake->waitForConnection());
    }

    // Makes a call and waits for it to finish.
    RpcAsyncCall finishedCall(const ksm::CMsg &request, int timeoutSeconds = 5)
    {
        RpcAsyncCall call = m_connection->asyncCall(RpcMessage::request(request), timeoutSeconds);
        [&] {
            QCOMPARE(call.result(), 0);
            QTRY_VERIFY(call.isFinished());
        }();
        return call;
    }

private slots:
    void init()
    {
        m_fake = std::make_unique<FakeQuorix>();
        QVERIFY(m_fake->listen());
        m_connection = std::make_unique<RpcClientConnection>();
        s_log.clear();
    }

    void cleanup()
    {
        qInstallMessageHandler(nullptr);
        m_connection.reset();
        m_fake.reset();
    }

    void connectReportsConnectingThenUnconnectedThenConnected()
    {
        qInstallMessageHandler(captureLog);
        Recorder recorder(m_connection.get());
        connectToFake(*m_connection);
        QCOMPARE(recorder.states, (QList<int>{2, 0, 3}));
        QCOMPARE(m_connection->retryCountdown(), -1);
        QVERIFY(m_connection->isEngaged());

        const QString peer = QStringLiteral("127.0.0.1:%1").arg(m_fake->port());
        QCOMPARE(s_log.first(),
                 QStringLiteral("\"RpcClientConnection::connect(address=%1, "
                                "connecting to host)\" ")
                     .arg(peer));
        QCOMPARE(s_log.filter(QStringLiteral("will retry")),
                 QStringList{QStringLiteral("\"RpcClientConnection::socketChanged(address=%1, "
                                            "will retry connecting to host in %2 seconds)\" ")
                                 .arg(peer)
                                 .arg(kRetryTicks)});
        QVERIFY(s_log.contains(
            QStringLiteral("\"RpcConnection::notifyStateChanged(address=%1, state=3)\" ")
                .arg(peer)));

        // A second connect while engaged is ignored, even to another address.
        m_connection->connect(QStringLiteral("127.0.0.2"), 1);
        QCOMPARE(m_connection->address(), QStringLiteral("127.0.0.1"));
        QCOMPARE(m_connection->state(), RpcConnection::Connected);
        QCOMPARE(recorder.states.size(), 3);
    }

    void refusedConnectRetriesUntilThePeerListens()
    {
        const quint16 port = m_fake->port();
        m_fake->close();
        Recorder recorder(m_connection.get());
        m_connection->setTickInterval(kTickMs);
        m_connection->setRetryTicks(kRetryTicks);
        m_connection->connect(QStringLiteral("127.0.0.1"), port);
        QTRY_VERIFY(recorder.errors.contains(RpcConnection::SocketError));
        QTRY_COMPARE(m_connection->state(), RpcConnection::Unconnected);
        // Error and state arrive in the order the socket reports them.
        QCOMPARE(recorder.states.mid(0, 2), (QList<int>{2, 0}));
        QVERIFY(m_connection->retryCountdown() > 0);

        // Attempts repeat; one succeeds once the peer listens again.
        QTRY_VERIFY(recorder.errors.count(RpcConnection::SocketError) >= 2);
        QVERIFY(m_fake->listen(port));
        QTRY_COMPARE(m_connection->state(), RpcConnection::Connected);
        QCOMPARE(recorder.states.mid(recorder.states.size() - 3), (QList<int>{2, 0, 3}));
    }

    void lostLinkCancelsCallsAndReconnects()
    {
        connectToFake(*m_connection);
        m_fake->setSilent(true);
        Recorder recorder(m_connection.get());
        QList<RpcAsyncCall> calls;
        QList<int> watcherFired; // per call, from its two watchers
        for (int i = 0; i < 3; ++i) {
            calls << m_connection->asyncCall(RpcMessage::request(message(ksm::CMsg::Do)), 0);
            watcherFired << 0;
            for (int w = 0; w < 2; ++w) {
                auto *watcher = new RpcAsyncCallWatcher(calls.last(), m_connection.get());
                QObject::connect(watcher,
                                 &RpcAsyncCallWatcher::finished,
                                 watcher,
                                 [&, i, watcher](RpcAsyncCallWatcher *fired) {
                                     ++watcherFired[i];
                                     QCOMPARE(fired, watcher);
                                     // Watchers fire before the connection reports the call.
                                     QCOMPARE(recorder.completed.size(), i);
                                     QCOMPARE(fired->result(), int(RpcAsyncCall::Cancelled));
                                 });
            }
        }
        QVERIFY(m_fake->waitForRequestCount(3));
        QCOMPARE(m_connection->pendingCallCount(), 3);

        m_fake->dropClient();
        QTRY_COMPARE(recorder.completed.size(), 3);
        QCOMPARE(watcherFired, (QList<int>{2, 2, 2}));
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(recorder.completed[i].id(), calls[i].id());
            QCOMPARE(recorder.completed[i].type(), RpcMessage::ErrorReply);
            QCOMPARE(recorder.completed[i].code(), int(RpcAsyncCall::Cancelled));
            QVERIFY(calls[i].isFailed());
        }
        QCOMPARE(m_connection->pendingCallCount(), 0);

        // The client falls to Unconnected, tries again after the retry ticks and gets through.
        m_fake->setSilent(false);
        QTRY_COMPARE(m_connection->state(), RpcConnection::Connected);
        QVERIFY(recorder.states.size() >= 4);
        QCOMPARE(recorder.states.mid(recorder.states.size() - 4), (QList<int>{0, 2, 0, 3}));
        QCOMPARE(recorder.completed.size(), 3);
        const RpcAsyncCall call = finishedCall(message(ksm::CMsg::Param, {{"x", "1"}}));
        QVERIFY(call.isReplied());
    }

    void disconnectCancelsAndStaysDown()
    {
        qInstallMessageHandler(captureLog);
        // Never connected: nothing happens and nothing is logged.
        m_connection->disconnect();
        QVERIFY(s_log.isEmpty());

        connectToFake(*m_connection);
        m_fake->setSilent(true);
        Recorder recorder(m_connection.get());
        const RpcAsyncCall call
            = m_connection->asyncCall(RpcMessage::request(message(ksm::CMsg::Do)), 0);
        QVERIFY(m_fake->waitForRequestCount(1));
        m_connection->disconnect();
        QCOMPARE(call.result(), int(RpcAsyncCall::Cancelled));
        QCOMPARE(recorder.completed.size(), 1);
        QVERIFY(!m_connection->isEngaged());
        QTRY_COMPARE(m_connection->state(), RpcConnection::Unconnected);
        QVERIFY(m_fake->waitForDisconnection());
        QCOMPARE(m_connection->retryCountdown(), -1);
        QCOMPARE(recorder.completed.size(), 1);

        // A new connect starts over.
        connectToFake(*m_connection);
    }

    void refusedCallsReportTheirResult()
    {
        // Not connected: refused, id consumed, nothing reported.
        Recorder recorder(m_connection.get());
        RpcAsyncCall call = m_connection->asyncCall(RpcMessage::request(message(1)), 5);
        QCOMPARE(call.result(), int(RpcAsyncCall::NotConnected));
        QCOMPARE(call.id(), 1);
        QVERIFY(!m_connection->send(RpcMessage::request(message(1))));

        // Still connecting: refused the same way, and nothing reaches the peer.
        m_connection->setTickInterval(kTickMs);
        m_connection->connect(QStringLiteral("127.0.0.1"), m_fake->port());
        QCOMPARE(m_connection->state(), RpcConnection::Connecting);
        call = m_connection->asyncCall(RpcMessage::request(message(1)), 5);
        QCOMPARE(call.result(), int(RpcAsyncCall::NotConnected));
        QCOMPARE(call.id(), 2);
        QTRY_COMPARE(m_connection->state(), RpcConnection::Connected);
        QVERIFY(m_fake->waitForConnection());

        call = m_connection->asyncCall(RpcMessage::signal(message(1)), 5);
        QCOMPARE(call.result(), int(RpcAsyncCall::NotARequest));
        QCOMPARE(call.id(), 3);
        call = m_connection->asyncCall(RpcMessage::request(ksm::CMsg()), 5);
        QCOMPARE(call.result(), int(RpcAsyncCall::EncodeError));
        call = m_connection->asyncCall(RpcMessage::request(message(9)), 5);
        QCOMPARE(call.result(), int(RpcAsyncCall::EncodeError));
        QVERIFY(call.isFinished());
        QCOMPARE(call.toMessage().code(), int(RpcAsyncCall::EncodeError));
        QCOMPARE(m_connection->pendingCallCount(), 0);
        QVERIFY(recorder.completed.isEmpty());

        // Ids wrap to 0 after the largest one.
        m_connection->setLastId(INT_MAX);
        call = m_connection->asyncCall(RpcMessage::request(message(ksm::CMsg::Param, {{"a", "1"}})),
                                       5);
        QCOMPARE(call.id(), 0);
        QTRY_VERIFY(call.isFinished());
        QVERIFY(call.isReplied());
        QCOMPARE(m_fake->lastRequest().id, 0);
        QVERIFY(m_fake->requestCount() == 1);
    }

    void repliesAreGathered_data()
    {
        QTest::addColumn<bool>("listRequest");
        QTest::addColumn<QString>("returnFmt");
        QTest::addColumn<QByteArray>("expectedA");
        QTest::newRow("LIST joined with commas") << true << QString() << QByteArray("1,2,3");
        QTest::newRow("LIST joined with group separators") << true << QStringLiteral("EXT")
                                                           << QByteArray("1\x1d"
                                                                         "2\x1d"
                                                                         "3");
        QTest::newRow("other request keeps the first part")
            << false << QString() << QByteArray("1");
    }

    void repliesAreGathered()
    {
        QFETCH(bool, listRequest);
        QFETCH(QString, returnFmt);
        QFETCH(QByteArray, expectedA);
        connectToFake(*m_connection);
        m_fake->setReplyHook([returnFmt](const FakeRequest &) {
            QList<FakeReply> parts;
            const QStringList returns
                = {QStringLiteral("PROGRESS"), QStringLiteral("PROGRESS"), QStringLiteral("OK")};
            for (int i = 0; i < 3; ++i) {
                FakePairs pairs = {{QStringLiteral("a"), QString::number(i + 1)},
                                   {QStringLiteral("return"), returns[i]}};
                if (!returnFmt.isEmpty())
                    pairs.append({QStringLiteral("returnFmt"), returnFmt});
                if (i == 1)
                    pairs.append({QStringLiteral("b"), QStringLiteral("only here")});
                parts << FakeReply::reply(fake(FakeMessage::Param, pairs));
            }
            return std::optional<QList<FakeReply>>(parts);
        });
        Recorder recorder(m_connection.get());
        ksm::CMsg request(ksm::CMsg::Param);
        if (listRequest)
            request.addList("a");
        else
            request.addGet("a");
        const RpcAsyncCall call = finishedCall(request);
        QVERIFY(call.isReplied());
        QCOMPARE(call.result(), 0);
        QCOMPARE(recorder.completed.size(), 1);
        const ksm::CMsg reply = recorder.completed.first().body();
        QCOMPARE(reply.type(), int(ksm::CMsg::Param));
        QCOMPARE(QByteArray::fromStdString(param(reply, "a")), expectedA);
        QCOMPARE(param(reply, "b"), std::string("only here"));
        QCOMPARE(param(reply, "return"), std::string("OK"));
        QCOMPARE(reply, call.reply());
    }

    void finalAnswersDecideTheResult()
    {
        struct Case
        {
            const char *name;
            FakePairs pairs; // the one reply's parameters
            int result;
            const char *returned; // "return" of the gathered reply; nullptr when the call fails
            const char *x;        // "x" of the gathered reply
            int error;            // errorOccurred, 0 for none
        };
        const QString notSet = QStringLiteral("101-parameter not set");
        const QList<Case> cases = {
            {"not set only", {{"x", notSet}, {"return", "ERROR"}}, 0, "OK", "", 0},
            {"not set and a cause",
             {{"x", notSet}, {"cause", "105-invalid value"}, {"return", "ERROR"}},
             0,
             "ERROR",
             "",
             0},
            {"bare ERROR", {{"return", "ERROR"}}, 0, "ERROR", "<absent>", 0},
            {"OK", {{"x", "1"}, {"return", "OK"}}, 0, "OK", "1", 0},
            {"NOK",
             {{"x", "1"}, {"return", "NOK"}},
             RpcAsyncCall::BadReply,
             nullptr,
             "<absent>",
             RpcConnection::MessageParseError},
            {"no return",
             {{"x", "1"}},
             RpcAsyncCall::BadReply,
             nullptr,
             "<absent>",
             RpcConnection::MessageParseError},
        };
        connectToFake(*m_connection);
        for (const Case &c : cases) {
            m_fake->setReplyHook([&c](const FakeRequest &) {
                return std::optional<QList<FakeReply>>(
                    {FakeReply::reply(fake(FakeMessage::Do, c.pairs))});
            });
            Recorder recorder(m_connection.get());
            const RpcAsyncCall call = finishedCall(message(ksm::CMsg::Do, {{"action", "x"}}));
            QVERIFY2(call.result() == c.result, c.name);
            QVERIFY2(recorder.completed.size() == 1, c.name);
            QVERIFY2(recorder.errors == (c.error ? QList<int>{c.error} : QList<int>{}), c.name);
            QVERIFY2(param(call.reply(), "x") == c.x, c.name);
            if (c.returned) {
                QVERIFY2(call.isReplied(), c.name);
                QVERIFY2(param(call.reply(), "return") == c.returned, c.name);
                QVERIFY2(recorder.completed.first().type() == RpcMessage::Reply, c.name);
            } else {
                QVERIFY2(call.isFailed(), c.name);
                QVERIFY2(recorder.completed.first().type() == RpcMessage::ErrorReply, c.name);
                QVERIFY2(recorder.completed.first().code() == RpcAsyncCall::BadReply, c.name);
            }
        }
    }

    void errorRepliesAndBodilessRepliesFailTheCall()
    {
        connectToFake(*m_connection);
        Recorder recorder(m_connection.get());
        m_fake->replyWithErrorCode(1234);
        RpcAsyncCall call = finishedCall(message(ksm::CMsg::Do, {{"action", "x"}}));
        QCOMPARE(call.result(), 1234);
        QVERIFY(call.isFailed());
        QCOMPARE(recorder.completed.last().type(), RpcMessage::ErrorReply);
        QCOMPARE(recorder.completed.last().code(), 1234);
        QCOMPARE(recorder.completed.last().id(), call.id());
        QVERIFY(recorder.errors.isEmpty());

        // Code 0 names no failure: the call must not end as a success.
        m_fake->replyWithErrorCode(0);
        call = finishedCall(message(ksm::CMsg::Do, {{"action", "x"}}));
        QCOMPARE(call.result(), int(RpcAsyncCall::BadReply));
        QVERIFY(call.isFailed());
        QCOMPARE(recorder.completed.last().code(), int(RpcAsyncCall::BadReply));
        QCOMPARE(recorder.errors, QList<int>{RpcConnection::MessageParseError});
        recorder.errors.clear();
        m_fake->clearErrorReply();

        // A reply frame without body.
        m_fake->setReplyHook([](const FakeRequest &request) {
            return std::optional<QList<FakeReply>>(
                {FakeReply::rawBytes(FakeFrame::header(24, request.id, FakeFrame::Reply, 0))});
        });
        call = finishedCall(message(ksm::CMsg::Do, {{"action", "x"}}));
        QCOMPARE(call.result(), int(RpcAsyncCall::BadReply));
        QCOMPARE(recorder.errors, QList<int>{RpcConnection::MessageParseError});
    }

    void timeoutFailsTheCallAndLateRepliesAreIgnored()
    {
        connectToFake(*m_connection);
        m_fake->setSilent(true);
        Recorder recorder(m_connection.get());
        QElapsedTimer clock;
        clock.start();
        const RpcAsyncCall timed
            = m_connection->asyncCall(RpcMessage::request(message(ksm::CMsg::Do)), 1);
        const RpcAsyncCall waiting
            = m_connection->asyncCall(RpcMessage::request(message(ksm::CMsg::Do)), 0);
        QTRY_VERIFY_WITH_TIMEOUT(timed.isFinished(), 10000);
        QVERIFY(clock.elapsed() >= 1000);
        QCOMPARE(timed.result(), int(RpcAsyncCall::Timeout));
        QCOMPARE(recorder.completed.size(), 1);
        QCOMPARE(recorder.completed.first().code(), int(RpcAsyncCall::Timeout));
        // Without a time-out the other call waits on.
        QVERIFY(!waiting.isFinished());
        QCOMPARE(m_connection->pendingCallCount(), 1);

        // The late answer to the timed-out call is dropped; the waiting one completes.
        FakeFrame late;
        late.id = timed.id();
        late.type = FakeFrame::Reply;
        late.body = "DO;return:OK;";
        FakeFrame answer = late;
        answer.id = waiting.id();
        QVERIFY(m_fake->sendRaw(late.encode() + answer.encode()));
        QTRY_VERIFY(waiting.isFinished());
        QVERIFY(waiting.isReplied());
        QCOMPARE(timed.result(), int(RpcAsyncCall::Timeout));
        QCOMPARE(recorder.completed.size(), 2);
        QVERIFY(recorder.errors.isEmpty());
    }

    // A unit that never ends its answer: past the cap the call fails and the link still serves
    // the next call. The hook answers only requests for "flood".
    void endlessRepliesAreCapped_data()
    {
        QTest::addColumn<int>("partLimit");
        QTest::addColumn<qint64>("byteLimit");
        QTest::addColumn<int>("valueSize");
        QTest::newRow("too many parts") << 20 << qint64(0) << 1;
        QTest::newRow("too many bytes") << 0 << qint64(16 * 1024) << 1024;
    }

    void endlessRepliesAreCapped()
    {
        QFETCH(int, partLimit);
        QFETCH(qint64, byteLimit);
        QFETCH(int, valueSize);
        connectToFake(*m_connection);
        m_connection->setReplyLimits(partLimit, byteLimit);
        m_fake->setReplyHook([valueSize](const FakeRequest &request) {
            if (!request.message.lists.contains(QStringLiteral("flood")))
                return std::optional<QList<FakeReply>>();
            QList<FakeReply> parts;
            for (int i = 0; i < 200; ++i)
                parts << FakeReply::reply(
                    fake(FakeMessage::Param,
                         {{QStringLiteral("flood"), QString(valueSize, QLatin1Char('x'))},
                          {QStringLiteral("return"), QStringLiteral("PROGRESS")}}));
            return std::optional<QList<FakeReply>>(parts);
        });
        Recorder recorder(m_connection.get());
        ksm::CMsg request(ksm::CMsg::Param);
        request.addList("flood");
        RpcAsyncCall call = finishedCall(request, 0);
        QCOMPARE(call.result(), int(RpcAsyncCall::BadReply));
        QVERIFY(call.reply().params().empty());
        QCOMPARE(recorder.errors, QList<int>{RpcConnection::MessageParseError});

        m_fake->setReplyHook({});
        call = finishedCall(message(ksm::CMsg::Do, {{"action", "x"}}));
        QCOMPARE(call.result(), 0);
        QVERIFY(call.isReplied());
        QCOMPARE(m_connection->state(), RpcConnection::Connected);
        QCOMPARE(recorder.errors.size(), 1);
    }

    // A reply holding more keys than any message may: the call fails and the link serves the
    // next call; one key fewer is taken.
    void denseRepliesAreRefused()
    {
        connectToFake(*m_connection);
        m_fake->setReplyHook([](const FakeRequest &request) {
            const QString count = request.message.value(QStringLiteral("keys"));
            if (count.isEmpty())
                return std::optional<QList<FakeReply>>();
            FakeMessage answer(FakeMessage::Do, {{QStringLiteral("return"), QStringLiteral("OK")}});
            for (int i = 1; i < count.toInt(); ++i)
                answer.params << qMakePair(QStringLiteral("k%1").arg(i), QString());
            return std::optional<QList<FakeReply>>({FakeReply::reply(answer)});
        });
        Recorder recorder(m_connection.get());
        const int most = int(ksm::CMsg::kMaxEntries);
        qInstallMessageHandler(captureWarnings);
        RpcAsyncCall call
            = finishedCall(message(ksm::CMsg::Do, {{"keys", std::to_string(most + 1)}}));
        qInstallMessageHandler(nullptr);
        QCOMPARE(call.result(), int(RpcAsyncCall::BadReply));
        QVERIFY(call.reply().params().empty());
        QCOMPARE(recorder.errors, QList<int>{RpcConnection::MessageParseError});
        // The refusal is a warning that names the message and the cause.
        const QStringList refusals = s_log.filter(QStringLiteral("refused"));
        QCOMPARE(refusals.size(), 1);
        QVERIFY2(
            refusals.first().contains(QStringLiteral("message %1 of type 2 and ").arg(call.id()))
                && refusals.first().contains(QLatin1String("refused: more than 10000 entries")),
            qPrintable(refusals.first()));

        call = finishedCall(message(ksm::CMsg::Do, {{"keys", std::to_string(most)}}));
        QVERIFY(call.isReplied());
        QCOMPARE(call.reply().params().size(), size_t(most));
        QCOMPARE(m_connection->state(), RpcConnection::Connected);
        QCOMPARE(recorder.errors.size(), 1);
    }

    void signalsAreHeldBackWhileACallIsPending_data()
    {
        QTest::addColumn<bool>("defer");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("deferred") << true
                                  << QStringList{QStringLiteral("completed 1"),
                                                 QStringLiteral("received 70"),
                                                 QStringLiteral("received 71")};
        QTest::newRow("at once") << false
                                 << QStringList{QStringLiteral("received 70"),
                                                QStringLiteral("received 71"),
                                                QStringLiteral("completed 1")};
    }

    void signalsAreHeldBackWhileACallIsPending()
    {
        QFETCH(bool, defer);
        QFETCH(QStringList, order);
        connectToFake(*m_connection);
        m_connection->setDeferSignals(defer);
        m_fake->setReplyHook([](const FakeRequest &request) {
            FakeReply first = FakeReply::signal(
                fake(FakeMessage::Info, {{QStringLiteral("info_type"), QStringLiteral("a")}}));
            first.id = 70;
            FakeReply second = first;
            second.id = 71;
            return std::optional<QList<FakeReply>>(
                {first, second, FakeReply::reply(fake(request.message.type, {{"return", "OK"}}))});
        });
        Recorder recorder(m_connection.get());
        finishedCall(message(ksm::CMsg::Do, {{"action", "x"}}));
        QTRY_COMPARE(recorder.events.size(), 3);
        QCOMPARE(recorder.events, order);
        QCOMPARE(recorder.received.first().type(), RpcMessage::Signal);
        QCOMPARE(param(recorder.received.first().body(), "info_type"), std::string("a"));
    }

    void heldBackSignalsAreLostWhenTheLinkFalls()
    {
        connectToFake(*m_connection);
        m_connection->setDeferSignals(true);
        m_fake->setReplyHook([](const FakeRequest &) {
            QList<FakeReply> infos;
            for (const qint32 id : {70, 71, 72}) {
                infos << FakeReply::signal(
                    fake(FakeMessage::Info, {{QStringLiteral("info_type"), QStringLiteral("a")}}));
                infos.last().id = id;
            }
            return std::optional<QList<FakeReply>>(infos);
        });
        Recorder recorder(m_connection.get());
        const RpcAsyncCall call
            = m_connection->asyncCall(RpcMessage::request(message(ksm::CMsg::Do)), 0);
        QTRY_COMPARE(m_connection->deferredSignalCount(), 3);

        // The oldest can be taken out by hand; an empty queue gives the default message.
        QCOMPARE(m_connection->dequeueSignal().id(), 70);
        QCOMPARE(m_connection->deferredSignalCount(), 2);

        m_fake->dropClient();
        QTRY_VERIFY(call.isFinished());
        QCOMPARE(call.result(), int(RpcAsyncCall::Cancelled));
        QCOMPARE(m_connection->deferredSignalCount(), 0);
        QVERIFY(recorder.received.isEmpty());
        QCOMPARE(m_connection->dequeueSignal().type(), RpcMessage::None);
    }

    void badFramesAreReported_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("error");
        // The warning that names the refused message; empty: none is expected.
        QTest::addColumn<QString>("warning");
        QTest::newRow("signal without body")
            << FakeFrame::header(24, 5, FakeFrame::Signal, 0)
            << int(RpcConnection::MessageParseError)
            << "message 5 of type 4 and 24 bytes refused: no readable message";
        QTest::newRow("request with unreadable body")
            << FakeFrame::header(29, 5, FakeFrame::Request, 0) + "param"
            << int(RpcConnection::MessageParseError)
            << "message 5 of type 1 and 29 bytes refused: no readable message";
        QByteArray dense("INFO;");
        for (std::size_t i = 0; i <= ksm::CMsg::kMaxEntries; ++i)
            dense += "k" + QByteArray::number(qulonglong(i)) + ":;";
        QTest::newRow("signal with too many entries")
            << FakeFrame::header(quint32(24 + dense.size()), 6, FakeFrame::Signal, 0) + dense
            << int(RpcConnection::MessageParseError)
            << QStringLiteral("message 6 of type 4 and %1 bytes refused: more than 10000 entries")
                   .arg(24 + dense.size());
        QTest::newRow("type 7") << FakeFrame::header(24, 5, 7, 0)
                                << int(RpcConnection::UnknownMessageType) << QString();
    }

    void badFramesAreReported()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, error);
        QFETCH(QString, warning);
        connectToFake(*m_connection);
        Recorder recorder(m_connection.get());
        qInstallMessageHandler(captureWarnings);
        QVERIFY(m_fake->sendRaw(bytes));
        QTRY_COMPARE(recorder.errors, QList<int>{error});
        qInstallMessageHandler(nullptr);
        const QStringList refusals = s_log.filter(QStringLiteral("refused"));
        if (warning.isEmpty()) {
            QVERIFY2(refusals.isEmpty(), qPrintable(refusals.join(QLatin1Char('\n'))));
        } else {
            QCOMPARE(refusals.size(), 1);
            QVERIFY2(refusals.first().contains(warning), qPrintable(refusals.first()));
        }
        // The link stays up and later frames are heard.
        QVERIFY(m_fake->pushInfo(QStringLiteral("after")));
        QTRY_COMPARE(recorder.received.size(), 1);
        QCOMPARE(m_connection->state(), RpcConnection::Connected);
    }

    void brokenStreamSilencesReceptionUntilReconnect_data()
    {
        QTest::addColumn<QByteArray>("garbage");
        QTest::newRow("bad magic") << QByteArray("GET / HTTP/1.1\r\nHost: x\r\n\r\n");
        QTest::newRow("huge length") << FakeFrame::header(0x7fffffff, 1, FakeFrame::Signal, 0);
    }

    void brokenStreamSilencesReceptionUntilReconnect()
    {
        QFETCH(QByteArray, garbage);
        connectToFake(*m_connection);
        Recorder recorder(m_connection.get());
        QVERIFY(m_fake->sendRaw(garbage));
        QTRY_COMPARE(recorder.errors, QList<int>{RpcConnection::FramingError});
        QVERIFY(m_fake->pushInfo(QStringLiteral("unheard")));
        // A call's answer is unheard as well: the call times out only by its own clock.
        const RpcAsyncCall call
            = m_connection->asyncCall(RpcMessage::request(message(ksm::CMsg::Do)), 0);
        QVERIFY(m_fake->waitForRequestCount(1));
        QSignalSpy anything(m_connection.get(), &RpcConnection::messageReceived);
        QVERIFY(!anything.wait(200));
        QCOMPARE(recorder.errors.size(), 1);
        QVERIFY(recorder.received.isEmpty());
        QVERIFY(!call.isFinished());

        m_connection->disconnect();
        QVERIFY(m_fake->waitForDisconnection());
        connectToFake(*m_connection);
        QVERIFY(m_fake->pushInfo(QStringLiteral("heard")));
        QTRY_COMPARE(recorder.received.size(), 1);
        QCOMPARE(param(recorder.received.first().body(), "info_type"), std::string("heard"));
    }

    void disconnectFromASlotDropsTheRestOfTheChunk()
    {
        connectToFake(*m_connection);
        Recorder recorder(m_connection.get());
        QObject::connect(m_connection.get(),
                         &RpcConnection::messageReceived,
                         m_connection.get(),
                         [this] { m_connection->disconnect(); });
        FakeFrame info;
        info.type = FakeFrame::Signal;
        info.body = "INFO;info_type:a;";
        QVERIFY(m_fake->sendRaw(info.encode() + info.encode() + info.encode()));
        QTRY_COMPARE(recorder.received.size(), 1);
        QVERIFY(m_fake->waitForDisconnection());
        QCOMPARE(recorder.received.size(), 1);
        QVERIFY(!m_connection->isEngaged());
    }

    void sendFramesTheMessageAsItIs()
    {
        connectToFake(*m_connection);
        RpcMessage reply = RpcMessage::reply(RpcMessage::request(42, ksm::CMsg()),
                                             message(ksm::CMsg::Param, {{"a", "1"}}));
        reply.setCode(7);
        QVERIFY(m_connection->send(reply));
        QVERIFY(m_connection->send(RpcMessage::request(message(ksm::CMsg::Do, {{"action", "x"}}))));
        QVERIFY(!m_connection->send(RpcMessage()));
        // A body of type 0 travels as no text, and is logged as none.
        qInstallMessageHandler(captureLog);
        QVERIFY(
            m_connection->send(RpcMessage::errorReply(RpcMessage::request(5, ksm::CMsg()), -6)));
        qInstallMessageHandler(nullptr);
        QCOMPARE(s_log,
                 QStringList{QStringLiteral("\"RpcConnection::send(address=127.0.0.1:%1, "
                                            "header=5/3/-6, message=)\" ")
                                 .arg(m_fake->port())});
        QVERIFY(m_fake->waitForRequestCount(3));
        const QList<FakeRequest> requests = m_fake->requests();
        QCOMPARE(requests[0].frameType, qint32(FakeFrame::Reply));
        QCOMPARE(requests[0].id, 42);
        QCOMPARE(requests[0].code, 7);
        QCOMPARE(requests[0].body, QByteArray("PARAM;a:1;"));
        QCOMPARE(requests[1].id, -1);
        QCOMPARE(requests[2].frameType, qint32(FakeFrame::ErrorReply));
        QCOMPARE(requests[2].length, 24u);
        QCOMPARE(m_connection->pendingCallCount(), 0);
    }

    void requestsFromThePeerAreDelivered()
    {
        connectToFake(*m_connection);
        m_connection->setDeferSignals(true);
        Recorder recorder(m_connection.get());
        FakeFrame request;
        request.id = 9;
        request.type = FakeFrame::Request;
        request.code = 55;
        request.body = "DO;action:ping;";
        QVERIFY(m_fake->sendRaw(request.encode()));
        QTRY_COMPARE(recorder.received.size(), 1);
        QCOMPARE(recorder.received.first().type(), RpcMessage::Request);
        QCOMPARE(recorder.received.first().id(), 9);
        QCOMPARE(recorder.received.first().code(), 0);
        QCOMPARE(param(recorder.received.first().body(), "action"), std::string("ping"));
    }

    void cancelOneCall()
    {
        connectToFake(*m_connection);
        m_fake->setSilent(true);
        Recorder recorder(m_connection.get());
        RpcAsyncCall first = m_connection->asyncCall(RpcMessage::request(message(2)), 0);
        RpcAsyncCall second = m_connection->asyncCall(RpcMessage::request(message(2)), 0);
        m_connection->cancelPendingCall(first);
        QCOMPARE(first.result(), int(RpcAsyncCall::Cancelled));
        QCOMPARE(recorder.completed.size(), 1);
        m_connection->cancelPendingCall(first); // no longer pending: nothing more
        RpcAsyncCall empty;
        m_connection->cancelPendingCall(empty);
        QCOMPARE(recorder.completed.size(), 1);
        QVERIFY(!second.isFinished());
        QCOMPARE(m_connection->pendingCallCount(), 1);
    }

    // An event flood during an unanswered call: the queue stays under its cap by dropping the
    // oldest, says so once, and what is left is delivered in order after the call.
    void heldBackSignalsAreCappedInBytes()
    {
        connectToFake(*m_connection);
        m_connection->setDeferSignals(true);
        constexpr int kSignals = 300;
        const ksm::CMsg body = message(ksm::CMsg::Event, {{"event_type", std::string(200, 'e')}});
        const qint64 limit = 50 * RpcConnection::footprint(body);
        m_connection->setDeferredSignalLimit(limit);
        m_fake->setReplyHook([](const FakeRequest &request) {
            if (!request.has(QStringLiteral("flood")))
                return std::optional<QList<FakeReply>>();
            QList<FakeReply> events;
            for (int i = 0; i < kSignals; ++i) {
                events << FakeReply::signal(
                    fake(FakeMessage::Event, {{QStringLiteral("event_type"), QString(200, 'e')}}));
                events.last().id = 1000 + i;
            }
            return std::optional<QList<FakeReply>>(events);
        });
        qInstallMessageHandler(captureLog);
        Recorder recorder(m_connection.get());
        RpcAsyncCall call = m_connection->asyncCall(
            RpcMessage::request(message(ksm::CMsg::Do, {{"flood", "1"}})), 0);
        // The answer to a second call comes after the whole flood.
        QVERIFY(finishedCall(message(ksm::CMsg::Do, {{"action", "x"}})).isReplied());
        QCOMPARE(m_connection->deferredSignalCount(), 50);
        QVERIFY(m_connection->deferredSignalBytes() <= limit);
        QCOMPARE(s_log.filter(QStringLiteral("held-back signals exceed")).size(), 1);

        m_connection->cancelPendingCall(call);
        QCOMPARE(recorder.received.size(), 50);
        QCOMPARE(recorder.received.first().id(), 1000 + kSignals - 50);
        QCOMPARE(recorder.received.last().id(), 1000 + kSignals - 1);
        QCOMPARE(m_connection->deferredSignalBytes(), 0);
    }

    // Level reports over the TCP link arrive several times a second for the whole session: the
    // log says when they start, counts them once a minute and says when they stop, so a minute
    // of them writes the same few lines at any rate. Other frames are logged as before.
    void levelFramesAreCountedNotLogged_data()
    {
        QTest::addColumn<int>("framesPerTick");
        QTest::newRow("one per second") << 1;
        QTest::newRow("thirty per second") << 30;
    }

    void levelFramesAreCountedNotLogged()
    {
        QFETCH(int, framesPerTick);
        connectToFake(*m_connection);
        m_connection->setDeferSignals(true);
        // The test drives the ticks itself, one for each second of a session.
        m_connection->setTickInterval(3600 * 1000);
        const auto tick = [this] { QMetaObject::invokeMethod(m_connection.get(), "timerEvent"); };
        Recorder recorder(m_connection.get());
        const FakePairs levels{{QStringLiteral("txL"), QStringLiteral("40")},
                               {QStringLiteral("in1"), QStringLiteral("12")}};
        qInstallMessageHandler(captureLog);

        int sent = 0;
        for (int second = 0; second < 2 * LevelFrameLog::kReportTicks; ++second) {
            // Once, levels arrive while a call waits for its answer: they are held back without
            // a line either.
            RpcAsyncCall call;
            if (second == 1) {
                m_fake->setSilent(true);
                call = m_connection->asyncCall(RpcMessage::request(message(ksm::CMsg::Param)), 0);
            }
            for (int i = 0; i < framesPerTick; ++i)
                QVERIFY(m_fake->pushEvent(QStringLiteral("audio_levels"), levels));
            sent += framesPerTick;
            if (second == 1) {
                QTRY_COMPARE(m_connection->deferredSignalCount(), framesPerTick);
                m_connection->cancelPendingCall(call);
                m_fake->setSilent(false);
            }
            QTRY_COMPARE(recorder.received.size(), sent);
            tick();
        }
        QVERIFY(m_fake->pushEvent(QStringLiteral("reinit")));
        QTRY_COMPARE(recorder.received.size(), sent + 1);
        for (int second = 0; second < LevelFrameLog::kQuietTicks; ++second)
            tick();
        qInstallMessageHandler(nullptr);

        const QString perMinute = QString::number(framesPerTick * LevelFrameLog::kReportTicks);
        const QStringList levelLines = s_log.filter(QStringLiteral("level frames"));
        QCOMPARE(levelLines.size(), 4);
        QVERIFY(levelLines[0].contains(QStringLiteral("parserReady(address=127.0.0.1:")));
        QVERIFY(levelLines[0].contains(QStringLiteral("level frames started")));
        QVERIFY2(levelLines[1].contains(QStringLiteral("level frames: ") + perMinute + ' '),
                 qPrintable(levelLines[1]));
        QVERIFY2(levelLines[2].contains(QStringLiteral("level frames: ") + perMinute + ' '),
                 qPrintable(levelLines[2]));
        QVERIFY2(levelLines[3].contains(QStringLiteral("level frames stopped, 0 since")),
                 qPrintable(levelLines[3]));
        QVERIFY(s_log.filter(QStringLiteral("audio_levels")).isEmpty());
        QVERIFY(s_log.filter(QStringLiteral("queue message id=-1")).isEmpty());
        // The other event keeps its header and message lines.
        QCOMPARE(s_log.filter(QStringLiteral("header=-1/4/0")).size(), 1);
        QCOMPARE(s_log.filter(QStringLiteral("message=EVENT;event_type:reinit;")).size(), 1);
        // Besides, only the call and its cancellation.
        QCOMPARE(s_log.size(), 4 + 2 + 2);
    }

    void levelFramesStopWithTheLink()
    {
        connectToFake(*m_connection);
        Recorder recorder(m_connection.get());
        QVERIFY(m_fake->pushEvent(QStringLiteral("audio_levels")));
        QVERIFY(m_fake->pushEvent(QStringLiteral("audio_levels")));
        QTRY_COMPARE(recorder.received.size(), 2);
        qInstallMessageHandler(captureLog);
        m_fake->dropClient();
        QTRY_COMPARE(m_connection->state(), RpcConnection::Unconnected);
        qInstallMessageHandler(nullptr);
        QCOMPARE(
            s_log.filter(QStringLiteral("level frames stopped, 2 since the last count")).size(), 1);
    }

    void secretsAreMaskedInTheLog()
    {
        connectToFake(*m_connection);
        qInstallMessageHandler(captureLog);
        finishedCall(message(ksm::CMsg::Param, {{"admin_password", "hunter2"}, {"pin", "1234"}}));
        qInstallMessageHandler(nullptr);
        const QStringList calls = s_log.filter(QStringLiteral("asyncCall"));
        QCOMPARE(calls.size(), 1);
        QVERIFY(calls.first().contains(QStringLiteral("admin_password:***;")));
        QVERIFY(!s_log.join(QString()).contains(QStringLiteral("hunter2")));
        QVERIFY(!s_log.join(QString()).contains(QStringLiteral("1234")));
    }

    void destructionCancelsPendingCalls()
    {
        connectToFake(*m_connection);
        m_fake->setSilent(true);
        const RpcAsyncCall call = m_connection->asyncCall(RpcMessage::request(message(2)), 0);
        int fired = 0;
        RpcAsyncCallWatcher watcher(call);
        QObject::connect(&watcher,
                         &RpcAsyncCallWatcher::finished,
                         &watcher,
                         [&](RpcAsyncCallWatcher *) { ++fired; });
        m_connection.reset();
        QCOMPARE(fired, 1);
        QCOMPARE(call.result(), int(RpcAsyncCall::Cancelled));
    }

    void serverConnectionAnswersAClient()
    {
        class Server : public QTcpServer
        {
        public:
            RpcServerConnection connection;

        protected:
            void incomingConnection(qintptr descriptor) override { connection.accept(descriptor); }
        } server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        QObject::connect(&server.connection,
                         &RpcConnection::messageReceived,
                         &server,
                         [&](const RpcMessage &request) {
                             ksm::CMsg body = request.body();
                             body.setParam("return", "OK");
                             server.connection.send(RpcMessage::reply(request, body));
                         });

        m_connection->setTickInterval(kTickMs);
        m_connection->connect(QStringLiteral("127.0.0.1"), server.serverPort());
        QTRY_COMPARE(m_connection->state(), RpcConnection::Connected);
        QTRY_COMPARE(server.connection.state(), RpcConnection::Connected);
        QCOMPARE(server.connection.address(), QStringLiteral("127.0.0.1"));

        const RpcAsyncCall call = finishedCall(message(ksm::CMsg::Param, {{"echo", "yes"}}));
        QVERIFY(call.isReplied());
        QCOMPARE(param(call.reply(), "echo"), std::string("yes"));

        // The peer's side falls when the client leaves, and does not come back.
        m_connection->disconnect();
        QTRY_COMPARE(server.connection.state(), RpcConnection::Unconnected);
    }
};

QTEST_GUILESS_MAIN(TestRpcConnection)
#include "tst_rpcconnection.moc"
