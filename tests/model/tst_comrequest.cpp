#include "model/comrequest.h"

#include "link/ccom.h"
#include "link/cmsg.h"
#include "link/rpcconnection.h"
#include "tests/model/linkedfake.h"
#include "tests/support/fakequorix.h"

#include <QElapsedTimer>
#include <QtTest>

#include <memory>

namespace {

using StringMap = std::map<std::string, std::string>;
using Strings = std::vector<std::string>;

ksm::CMsg paramMessage(const StringMap &pairs, const Strings &gets = {}, const Strings &lists = {})
{
    ksm::CMsg msg(ksm::CMsg::Param);
    for (const auto &pair : pairs)
        msg.setParam(pair.first, pair.second);
    for (const std::string &name : gets)
        msg.addGet(name);
    for (const std::string &name : lists)
        msg.addList(name);
    return msg;
}

ksm::CMsg doMessage(const StringMap &pairs)
{
    ksm::CMsg msg(ksm::CMsg::Do);
    for (const auto &pair : pairs)
        msg.setParam(pair.first, pair.second);
    return msg;
}

const QString kNet = QStringLiteral("network");
const QString kEth0 = QStringLiteral("eth.0");

} // namespace

// The request helper against the fake unit, through the real protocol client.
class tst_ComRequest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void requestText_data();
    void requestText();
    void getParam();
    void getParams();
    void getParamsWithProgressParts();
    void setParams();
    void list();
    void execute();
    void executeWithReply();
    void preconditionsSendNothing();
    void failedCalls();

private:
    int sent() const { return m_link.fake->requestCount(); }

    LinkedFake m_link;
};

void tst_ComRequest::init()
{
    QVERIFY(m_link.start());
}

void tst_ComRequest::cleanup()
{
    m_link.stop();
}

// The exact text each operation puts on the wire.
void tst_ComRequest::requestText_data()
{
    QTest::addColumn<int>("operation");
    QTest::addColumn<QByteArray>("text");

    QTest::newRow("getParam") << 0 << QByteArray("PARAM;network:eth.0;target:network;GET:mode;");
    QTest::newRow("getParams") << 1
                               << QByteArray("PARAM;target:network;GET:dns2;GET:dns1;GET:cable;");
    QTest::newRow("setParams") << 2 << QByteArray("PARAM;SIP_UDP_PORT:5060;target:network;");
    QTest::newRow("list") << 3 << QByteArray("PARAM;target:db;LIST:addr-history;");
    QTest::newRow("execute") << 4 << QByteArray("DO;action:reinit;network:eth.1;target:network;");
    QTest::newRow("subscribe") << 5 << QByteArray("DO;action:subscribe;info:config info;");
    QTest::newRow("unsubscribe") << 6 << QByteArray("DO;action:unsubscribe;info:remote_numbers;");
}

void tst_ComRequest::requestText()
{
    QFETCH(int, operation);
    QFETCH(QByteArray, text);

    TComRequest request(m_link.com.get());
    std::string value;
    StringMap values, failed;
    Strings items;
    switch (operation) {
    case 0:
        request.getParam(
            paramMessage({{"target", "network"}, {"network", "eth.0"}}, {"mode"}), value, 5000);
        break;
    case 1:
        request.getParams(
            paramMessage({{"target", "network"}}, {"dns2", "dns1", "cable"}), values, failed, 5000);
        break;
    case 2:
        request.setParams(paramMessage({{"target", "network"}, {"SIP_UDP_PORT", "5060"}}), 5000);
        break;
    case 3:
        request.list(paramMessage({{"target", "db"}}, {}, {"addr-history"}), items, 5000);
        break;
    case 4:
        request.execute(
            doMessage({{"action", "reinit"}, {"target", "network"}, {"network", "eth.1"}}), 5000);
        break;
    case 5:
        request.subscribe("config info");
        break;
    case 6:
        request.unsubscribe("remote_numbers");
        break;
    }
    QCOMPARE(m_link.fake->requestCount(), 1);
    QCOMPARE(m_link.fake->lastRequest().body, text);
}

void tst_ComRequest::getParam()
{
    m_link.fake->setValue(QStringLiteral("mode"), QStringLiteral("dhcp"), kNet, kEth0);
    m_link.fake->setValue(QStringLiteral("gateway"), QStringLiteral("10.0.0.1"), kNet, kEth0);
    m_link.fake->refuseKey(QStringLiteral("gateway"), QStringLiteral("115-resource busy"));
    TComRequest request(m_link.com.get());
    const StringMap scope = {{"target", "network"}, {"network", "eth.0"}};

    std::string value = "stale";
    QVERIFY(request.getParam(paramMessage(scope, {"mode"}), value, 5000));
    QCOMPARE(value, std::string("dhcp"));

    // Not set on the device: a success with an empty value.
    value = "stale";
    QVERIFY(request.getParam(paramMessage(scope, {"dns1"}), value, 5000));
    QCOMPARE(value, std::string());

    // Refused: the cause comes back as the value; lastError is for DO commands only.
    QVERIFY(!request.getParam(paramMessage(scope, {"gateway"}), value, 5000));
    QCOMPARE(value, std::string("115-resource busy"));
    QVERIFY(request.lastError().empty());
}

void tst_ComRequest::getParams()
{
    m_link.fake->setValue(QStringLiteral("a"), QStringLiteral("1"), kNet);
    m_link.fake->setValue(QStringLiteral("b"), QStringLiteral("2"), kNet);
    m_link.fake->setValue(QStringLiteral("c"), QStringLiteral("3"), kNet);
    m_link.fake->refuseKey(QStringLiteral("b"), QStringLiteral("105-invalid value"));
    TComRequest request(m_link.com.get());

    // Entries already in the maps stay untouched.
    StringMap values = {{"c", "mine"}, {"z", "kept"}};
    StringMap failed;
    const int count = request.getParams(
        paramMessage({{"target", "network"}}, {"a", "b", "c", "d"}), values, failed, 5000);
    QCOMPARE(count, 4);
    QCOMPARE(values, StringMap({{"a", "1"}, {"c", "mine"}, {"d", ""}, {"z", "kept"}}));
    QCOMPARE(failed, StringMap({{"b", "105-invalid value"}}));
}

void tst_ComRequest::getParamsWithProgressParts()
{
    for (const char *key : {"a", "b", "c", "d"})
        m_link.fake->setValue(
            QString::fromLatin1(key), QStringLiteral("v") + QLatin1String(key), kNet);
    m_link.fake->refuseKey(QStringLiteral("c"), QStringLiteral("102-unknown parameter"));
    m_link.fake->setProgressParts(2);
    TComRequest request(m_link.com.get());

    StringMap values, failed;
    QCOMPARE(request.getParams(
                 paramMessage({{"target", "network"}}, {"a", "b", "c", "d"}), values, failed, 5000),
             3);
    QCOMPARE(values, StringMap({{"a", "va"}, {"b", "vb"}, {"d", "vd"}}));
    QCOMPARE(failed, StringMap({{"c", "102-unknown parameter"}}));

    // A refused single read is taken from the held-back part, not from the progress parts.
    std::string value;
    QVERIFY(!request.getParam(paramMessage({{"target", "network"}}, {"c"}), value, 5000));
    QCOMPARE(value, std::string("102-unknown parameter"));
    QVERIFY(request.getParam(paramMessage({{"target", "network"}}, {"d"}), value, 5000));
    QCOMPARE(value, std::string("vd"));
}

void tst_ComRequest::setParams()
{
    TComRequest request(m_link.com.get());
    const ksm::CMsg five
        = paramMessage({{"target", "network"}, {"k1", "1"}, {"k2", "2"}, {"k3", "3"}, {"k4", "4"}});

    QCOMPARE(request.setParams(five, 5000), 5);
    QCOMPARE(m_link.fake->value(QStringLiteral("k3"), kNet), QStringLiteral("3"));

    m_link.fake->refuseKey(QStringLiteral("k2"), QStringLiteral("105-invalid value"));
    m_link.fake->refuseKey(QStringLiteral("k4"), QStringLiteral("103-parameter set error"));
    QCOMPARE(request.setParams(five, 5000), 3);
    m_link.fake->setProgressParts(2);
    QCOMPARE(request.setParams(five, 5000), 3);

    // Every parameter refused.
    m_link.fake->setProgressParts(0);
    m_link.fake->refuseKey(QStringLiteral("k1"), QStringLiteral("105-invalid value"));
    m_link.fake->refuseKey(QStringLiteral("k3"), QStringLiteral("105-invalid value"));
    QCOMPARE(
        request.setParams(paramMessage({{"k1", "1"}, {"k2", "2"}, {"k3", "3"}, {"k4", "4"}}), 5000),
        0);
}

void tst_ComRequest::list()
{
    m_link.fake->setList(QStringLiteral("addr-history"),
                         {QStringLiteral("sip:a@b"), QStringLiteral("x,y"), QString()},
                         QStringLiteral("db"));
    TComRequest request(m_link.com.get());
    const ksm::CMsg msg = paramMessage({{"target", "db"}}, {}, {"addr-history"});

    // Items are appended; an escaped comma stays inside its item.
    Strings items = {"earlier"};
    QVERIFY(request.list(msg, items, 5000));
    QCOMPARE(items, Strings({"earlier", "sip:a@b", "x,y", ""}));

    // Items spread over progress parts arrive in order.
    m_link.fake->setProgressParts(2);
    items.clear();
    QVERIFY(request.list(msg, items, 5000));
    QCOMPARE(items, Strings({"sip:a@b", "x,y", ""}));
    m_link.fake->setProgressParts(0);

    // An empty list is a success with nothing added.
    m_link.fake->setList(QStringLiteral("addr-history"), {}, QStringLiteral("db"));
    items.clear();
    QVERIFY(request.list(msg, items, 5000));
    QVERIFY(items.empty());

    m_link.fake->refuseKey(QStringLiteral("addr-history"), QStringLiteral("112-file not found"));
    QVERIFY(!request.list(msg, items, 5000));
    QVERIFY(items.empty());
}

void tst_ComRequest::execute()
{
    TComRequest request(m_link.com.get());
    const ksm::CMsg reboot = doMessage({{"action", "reboot"}});

    QVERIFY(request.execute(reboot, 5000));
    QVERIFY(request.lastError().empty());

    // A refusal with a cause.
    m_link.fake->refuseCommand(QStringLiteral("reboot"), QStringLiteral("015-not allowed"));
    QVERIFY(!request.execute(reboot, 5000));
    QCOMPARE(request.lastError(), std::string("015-not allowed"));

    // The next operation starts with an empty error, whatever its outcome.
    std::string value;
    request.getParam(paramMessage({{"target", "general"}}, {"device"}), value, 5000);
    QVERIFY(request.lastError().empty());

    // "NOK" is no reply word the link accepts: the call fails without a cause.
    m_link.fake->resetScript();
    m_link.fake->setReplyHook([](const FakeRequest &) -> std::optional<QList<FakeReply>> {
        const FakeMessage nok(FakeMessage::Do,
                              {{QStringLiteral("return"), QStringLiteral("NOK")},
                               {QStringLiteral("cause"), QStringLiteral("015-not allowed")}});
        return QList<FakeReply>{FakeReply::reply(nok)};
    });
    QVERIFY(!request.execute(reboot, 5000));
    QVERIFY(request.lastError().empty());
}

void tst_ComRequest::executeWithReply()
{
    m_link.fake->setCommandReply(QStringLiteral("con"),
                                 {{QStringLiteral("id"), QStringLiteral("7")},
                                  {QStringLiteral("network"), QStringLiteral("isdn.0")}});
    TComRequest request(m_link.com.get());
    const ksm::CMsg dial = doMessage({{"action", "con"}, {"remote_addr", "1234"}});

    StringMap reply = {{"network", "mine"}};
    QVERIFY(request.executeWithReply(dial, reply, 5000));
    QCOMPARE(reply, StringMap({{"id", "7"}, {"network", "mine"}}));

    m_link.fake->refuseCommand(QStringLiteral("con"), QStringLiteral("119-remote address missing"));
    reply.clear();
    QVERIFY(!request.executeWithReply(dial, reply, 5000));
    QCOMPARE(request.lastError(), std::string("119-remote address missing"));
    QVERIFY(reply.empty());
}

void tst_ComRequest::preconditionsSendNothing()
{
    TComRequest request(m_link.com.get());
    std::string value;
    StringMap values, failed;
    Strings items;

    QVERIFY(!request.execute(ksm::CMsg(ksm::CMsg::Do), 5000));
    QVERIFY(!request.getParam(paramMessage({{"target", "general"}}), value, 5000));
    QVERIFY(!request.getParam(paramMessage({{"target", "general"}}, {"a", "b"}), value, 5000));
    QCOMPARE(request.getParams(paramMessage({{"target", "general"}}), values, failed, 5000), -1);
    QCOMPARE(request.setParams(paramMessage({}, {"a"}), 5000), -1);
    QVERIFY(!request.list(paramMessage({}, {}, {"addr-history"}), items, 5000));
    QVERIFY(!request.list(paramMessage({{"target", "db"}}, {}, {"a", "b"}), items, 5000));

    // No client at all.
    TComRequest detached;
    QVERIFY(!detached.execute(doMessage({{"action", "reboot"}}), 5000));
    QVERIFY(!detached.getParam(paramMessage({{"target", "general"}}, {"a"}), value, 5000));
    QCOMPARE(detached.setParams(paramMessage({{"target", "general"}}), 5000), -1);
    QVERIFY(!detached.subscribe("config info"));

    QTest::qWait(50);
    QCOMPARE(sent(), 0);
}

// Calls that end without a reply: time-out, error reply, lost link, no connection.
void tst_ComRequest::failedCalls()
{
    TComRequest request(m_link.com.get());
    std::string value = "stale";
    StringMap values, failed;

    m_link.com->setTickInterval(50);
    m_link.fake->setSilent(true);
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!request.getParam(paramMessage({{"target", "general"}}, {"device"}), value, 1000));
    QVERIFY(value.empty());
    // The call's own second, not the 5 s default; the slack is for a loaded machine.
    QVERIFY(clock.elapsed() < 4500);
    m_link.fake->setSilent(false);

    m_link.fake->replyWithErrorCode(-10);
    QCOMPARE(request.setParams(paramMessage({{"target", "general"}, {"a", "1"}}), 5000), -1);
    QVERIFY(!request.execute(doMessage({{"action", "reboot"}}), 5000));
    QVERIFY(request.lastError().empty());
    m_link.fake->clearErrorReply();

    m_link.fake->setReplyHook([](const FakeRequest &) -> std::optional<QList<FakeReply>> {
        return QList<FakeReply>{FakeReply::drop()};
    });
    QCOMPARE(request.getParams(paramMessage({{"target", "general"}}, {"a"}), values, failed, 5000),
             -1);
    QVERIFY(values.empty());
    m_link.fake->setReplyHook({});

    // Not connected: the client refuses at once.
    ksm::CCom idle(nullptr);
    TComRequest offline(&idle);
    QCOMPARE(offline.setParams(paramMessage({{"target", "general"}, {"a", "1"}}), 5000), -1);
    QVERIFY(!offline.subscribe("config info"));
}

QTEST_GUILESS_MAIN(tst_ComRequest)
#include "tst_comrequest.moc"
