#include "tests/model/devicefixture.h"

#include <QtTest>

namespace {

const QString kNetwork = QStringLiteral("network");

ksm::CMsg dataEvent(const std::string &type, const std::string &id, const std::string &network)
{
    return eventMessage(type, {{"id", id}, {"network", network}});
}

} // namespace

// A data link's events and actions: which events it takes, the messages of dial, attach, id
// query and hang-up, and what each leaves behind.
class tst_ComDataConnection : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void events();
    void dialOnMobile();
    void attachAndQuery();
    void refusedActionsChangeNothing();

private:
    DeviceFixture m_fx;
};

void tst_ComDataConnection::init()
{
    QVERIFY(m_fx.open());
}

void tst_ComDataConnection::cleanup()
{
    m_fx.close();
}

void tst_ComDataConnection::events()
{
    auto *link = new TComDataConnection(m_fx.com());
    QVERIFY(link->attach(3, "mobile.0", 1));
    QVERIFY(!link->attach(4, "mobile.1", 1)); // not idle any more
    QVERIFY(m_fx.device->addConnection(link));
    DeviceTrail trail(m_fx.device.get());

    QVERIFY(!link->handleEvent(dataEvent("data connected", "3", "mobile.1")));
    QVERIFY(!link->handleEvent(eventMessage("data connected", {{"id", "3"}})));
    QVERIFY(!link->handleEvent(dataEvent("data connected", "4", "mobile.0")));
    QVERIFY(!link->handleEvent(dataEvent("1900-call released", "3", "mobile.0")));
    QVERIFY(trail.lines.isEmpty());

    QVERIFY(link->handleEvent(dataEvent("data connected", "3", "mobile.0")));
    QVERIFY(link->handleEvent(dataEvent("data connected", "3", "mobile.0")));
    QCOMPARE(trail.take(), QStringList({"data:3:2"}));

    link->reset();
    QCOMPARE(trail.take(), QStringList({"data:-1:0"}));
    QCOMPARE(link->network(), std::string());
}

void tst_ComDataConnection::dialOnMobile()
{
    m_fx.fake()->setCommandReply(QStringLiteral("con"),
                                 {{QStringLiteral("id"), QStringLiteral("5")}});
    TComDataConnection link(m_fx.com());
    QVERIFY(link.dial("mobile.0"));
    const FakeRequest sent = m_fx.fake()->lastRequest();
    QVERIFY(sent.isCommand(QStringLiteral("con")));
    QCOMPARE(sent.value(QStringLiteral("comm_link")), QStringLiteral("data"));
    QCOMPARE(sent.value(QStringLiteral("mode")), QStringLiteral("data"));
    QCOMPARE(link.id(), 5);
    QCOMPARE(link.state(), 1);
    QVERIFY(!link.dial("mobile.0")); // not idle
}

void tst_ComDataConnection::attachAndQuery()
{
    FakeQuorix &fake = *m_fx.fake();
    fake.setValue(QStringLiteral("id"), QStringLiteral("11"), kNetwork, QStringLiteral("wifi.0"));

    TComDataConnection link(m_fx.com());
    QCOMPARE(link.queryId("wifi.0"), 11);
    const FakeRequest sent = fake.lastRequest();
    QVERIFY(sent.isGetOf(QStringLiteral("id")));
    QCOMPARE(sent.target(), kNetwork);
    QCOMPARE(sent.value(QStringLiteral("mode")), QStringLiteral("wifi"));
    QCOMPARE(link.state(), 0); // a query changes nothing

    QCOMPARE(link.queryId("mobile.0"), -1); // no link there
    QVERIFY(!link.attach("mobile.0"));
    QCOMPARE(link.state(), 0);
    QCOMPARE(link.id(), -1);

    QVERIFY(link.attach("wifi.0"));
    QCOMPARE(link.id(), 11);
    QCOMPARE(link.state(), 2);
    QCOMPARE(link.network(), std::string("wifi.0"));

    TComDataConnection unlinked(nullptr);
    QCOMPARE(unlinked.queryId("wifi.0"), -1);
}

void tst_ComDataConnection::refusedActionsChangeNothing()
{
    m_fx.fake()->refuseCommand(QStringLiteral("con"),
                               QStringLiteral("129-mobile data service off"));
    m_fx.fake()->refuseCommand(QStringLiteral("dcon"), QStringLiteral("120-no connection"));
    TComDataConnection link(m_fx.com());
    QVERIFY(!link.dial("mobile.0"));
    QCOMPARE(link.state(), 0);
    QCOMPARE(link.id(), -1);
    QVERIFY(!link.hangUp()); // idle: nothing sent

    link.attach(2, "mobile.0", 2);
    QVERIFY(!link.hangUp());
    QCOMPARE(link.state(), 2);
}

QTEST_GUILESS_MAIN(tst_ComDataConnection)
#include "tst_comdataconnection.moc"
