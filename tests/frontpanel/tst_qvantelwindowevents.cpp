#include "tests/frontpanel/windowfixture.h"

#include "frontpanel/ivantelheadphonepage.h"
#include "frontpanel/qvantelbanner.h"
#include "frontpanel/qvantelconnectionpage.h"
#include "frontpanel/qvantelmainpage.h"
#include "model/comaudioconnection.h"
#include "model/comdevice.h"
#include "widgets/qvantelconnpanel.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuitems.h"
#include "widgets/qvantelstatuspanel.h"

#include <QStringList>
#include <QTest>

namespace {

// A headphone page as the window sees it: it asks for copies and records the ones it takes.
class StubHeadphonePage : public QWidget, public IVantelHeadphonePage
{
    Q_OBJECT

public:
    explicit StubHeadphonePage(QWidget *parent)
        : QWidget(parent)
    {}

    void copySettingsFrom(QWidget *source) override { copiedFrom.append(source); }

    QList<QWidget *> copiedFrom;

signals:
    void pageActivated(QVantel::Page page);
    void copySettingsClicked(int target);
};

// The settings page with the call profile's two remote addresses and a record of its hooks.
class StubSettingsPage : public QVantelSettingsPage
{
    Q_OBJECT

public:
    explicit StubSettingsPage(QWidget *parent)
        : QVantelSettingsPage(parent)
    {}

    QString remoteAddressText(int index) const override { return addresses.value(index); }
    void deviceBusy(bool busy) override { hooks << QStringLiteral("busy:%1").arg(busy); }
    void deviceReleased(bool released) override
    {
        hooks << QStringLiteral("released:%1").arg(released);
    }
    void audioConnectionStateChanged(TComAudioConnection *c) override
    {
        hooks << QStringLiteral("state:%1").arg(c->state());
    }
    void audioCallStatusChanged(TComAudioConnection *c) override
    {
        hooks << QStringLiteral("status:%1").arg(c->status());
    }
    void audioCallStatisticChanged(TComAudioConnection *c) override
    {
        hooks << QStringLiteral("statistic:%1").arg(c->id());
    }
    void configurationEvent(const ksm::CMsg &message) override
    {
        handledAs.append({message.value("event_type"), comClient()->handledSignal()});
        QVantelSettingsPage::configurationEvent(message);
    }

    QStringList addresses;
    QStringList hooks;
    // Each configuration event, with the arrival number the client said it was handled as.
    QList<QPair<std::string, qint64>> handledAs;
};

} // namespace

class TestQVantelWindowEvents : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void copyOfAMonitoringMix();
    void remoteAddressFromTheSettingsMenu();
    void settingsHooksFollowCalls();
    void dataLinkOfTheDefaultNetwork();
    void messagesHandledAsOldAsTheirArrival();

private:
    StubSettingsPage *settings() const
    {
        return static_cast<StubSettingsPage *>(f.window->settingsPage());
    }

    WindowFixture f;
};

void TestQVantelWindowEvents::init()
{
    // The fixture's window, rebuilt with the stand-in pages, then logged in.
    QVERIFY(f.start(false));
    f.window.reset();
    // Only headphone pages 1 and 2 ask for copies.
    QVantelWindow::registerHeadphonePage<StubHeadphonePage>(QVantel::Headphone1Page);
    QVantelWindow::registerHeadphonePage<StubHeadphonePage>(QVantel::Headphone2Page);
    QVantelWindow::registerPage<StubHeadphonePage>(QVantel::Headphone3Page);
    QVantelWindow::registerPage<StubHeadphonePage>(QVantel::Headphone4Page);
    QVantelWindow::registerPage<StubSettingsPage>(QVantel::SettingsPage);
    f.window = std::make_unique<QVantelWindow>();
    f.window->setTiming({10, 400, 400});
    f.window->show();
    QVERIFY(f.connectClient());
    f.pressLogin(0);
    QTRY_VERIFY_WITH_TIMEOUT(comDevice()->loaded(), 10000);
    QTRY_VERIFY(comClient()->isReady());
}

void TestQVantelWindowEvents::cleanup()
{
    f.stop();
}

void TestQVantelWindowEvents::copyOfAMonitoringMix()
{
    auto *first = static_cast<StubHeadphonePage *>(f.window->page(QVantel::Headphone1Page));
    auto *second = static_cast<StubHeadphonePage *>(f.window->page(QVantel::Headphone2Page));
    auto *fourth = static_cast<StubHeadphonePage *>(f.window->page(QVantel::Headphone4Page));
    emit first->copySettingsClicked(4);
    QCOMPARE(fourth->copiedFrom, QList<QWidget *>{first});
    emit second->copySettingsClicked(1);
    QCOMPARE(first->copiedFrom, QList<QWidget *>{second});
    // Only pages 1 to 4 exist.
    emit first->copySettingsClicked(5);
    emit first->copySettingsClicked(0);
    QCOMPARE(fourth->copiedFrom.size(), 1);
    QCOMPARE(first->copiedFrom.size(), 1);
}

void TestQVantelWindowEvents::remoteAddressFromTheSettingsMenu()
{
    QVantelMenuWidget *menu = f.window->settingsPage();
    auto *entries = new QVantelMenuItems(40, menu);
    auto *item = new QVantelMenuItem(19, 3, entries);
    QVantelConnPanel *panel1 = f.window->connectionPage()->panel(1);

    // Codes other than 19 and 20, an empty first address and an item without page do nothing.
    settings()->addresses = QStringList{QStringLiteral("10.0.0.5"), QStringLiteral("10.0.0.6")};
    emit menu->menuItemChanges(item, 21);
    QVantelMenuItem orphan(19, 3);
    emit menu->menuItemChanges(&orphan, 19);
    settings()->addresses = QStringList{QString(), QStringLiteral("10.0.0.6")};
    emit menu->menuItemChanges(item, 19);
    QVERIFY(panel1->remoteAddress(QVantelConnPanel::IpAddress).isEmpty());

    settings()->addresses = QStringList{QStringLiteral("10.0.0.5"), QStringLiteral("10.0.0.6")};
    emit menu->menuItemChanges(item, 19);
    const QString joined = QStringLiteral("10.0.0.5,10.0.0.6");
    QCOMPARE(panel1->remoteAddress(QVantelConnPanel::IpAddress), joined);
    QCOMPARE(f.window->connectionPage()->statusPanel()->linkState(1), 2);
    QCOMPARE(f.window->mainPage()->banner()->record(1).detailText, joined);
    QVERIFY(f.received([&joined](const FakeRequest &r) {
        return r.typeWord() == QLatin1String("INFO")
               && r.value(QStringLiteral("remote_aoip1")) == joined;
    }));

    settings()->addresses = QStringList{QStringLiteral("10.0.0.8")};
    emit menu->menuItemChanges(item, 20);
    QCOMPARE(f.window->connectionPage()->panel(2)->remoteAddress(QVantelConnPanel::IpAddress),
             QStringLiteral("10.0.0.8"));
    QVERIFY(f.received([](const FakeRequest &r) {
        return r.value(QStringLiteral("remote_aoip2")) == QLatin1String("10.0.0.8");
    }));
}

void TestQVantelWindowEvents::settingsHooksFollowCalls()
{
    const FakePairs ids{{QStringLiteral("id"), QStringLiteral("4")},
                        {QStringLiteral("network"), QStringLiteral("eth.0")},
                        {QStringLiteral("comm_link"), QStringLiteral("audio2")}};
    QVERIFY(f.fake->pushEvent(QStringLiteral("0100-call proceeding"), ids));
    QTRY_VERIFY(comDevice()->audioConnection(2));
    QVERIFY(
        f.fake->pushEvent(QStringLiteral("tx-quality-report"),
                          ids + FakePairs{{QStringLiteral("net-quality"), QStringLiteral("3")}}));
    QVERIFY(f.fake->pushEvent(QStringLiteral("1900-call released"), ids));
    QTRY_VERIFY(!comDevice()->audioConnection(2));
    QCOMPARE(settings()->hooks,
             (QStringList{QStringLiteral("busy:1"),
                          QStringLiteral("state:1"),
                          QStringLiteral("status:4"),
                          QStringLiteral("statistic:4"),
                          QStringLiteral("status:12"),
                          QStringLiteral("state:4"),
                          QStringLiteral("released:1")}));
}

void TestQVantelWindowEvents::dataLinkOfTheDefaultNetwork()
{
    // A data link of another network refreshes nothing; one of the default network does.
    QVantelMainPage *main = f.window->mainPage();
    main->statusPanel()->setBatteryLevel(7);
    QVERIFY(f.fake->pushEvent(QStringLiteral("data connected"),
                              {{QStringLiteral("id"), QStringLiteral("30")},
                               {QStringLiteral("network"), QStringLiteral("wifi.0")}}));
    QTRY_VERIFY(comDevice()->connection(30));
    QTest::qWait(50);
    QCOMPARE(main->statusPanel()->batteryLevel(), 7);
    QVERIFY(settings()->hooks.isEmpty());
    QVERIFY(f.fake->pushEvent(QStringLiteral("data connected"),
                              {{QStringLiteral("id"), QStringLiteral("31")},
                               {QStringLiteral("network"), QStringLiteral("eth.0")}}));
    QTRY_COMPARE(main->statusPanel()->batteryLevel(), comDevice()->batteryLevel());
}

// The window handles the unit's messages after the call they came during, and says while it
// handles one that it is as old as its arrival: the one that came before the call's answer is
// older than that answer, the one that came when no call ran is handled at once.
void TestQVantelWindowEvents::messagesHandledAsOldAsTheirArrival()
{
    QList<QPair<std::string, qint64>> arrived;
    connect(comClient(), &ksm::CCom::messageReceived, this, [&arrived](const RpcMessage &m) {
        arrived.append({m.body().value("event_type"), comClient()->signalArrival()});
    });
    settings()->handledAs.clear();
    QVERIFY(f.fake->pushEvent(QStringLiteral("test_idle")));
    QTRY_COMPARE(settings()->handledAs.size(), 1);

    QObject scope;
    connect(f.fake.get(), &FakeQuorix::requestReceived, &scope, [this](const FakeRequest &r) {
        if (r.isGetOf(QStringLiteral("test_key")))
            (void)f.fake->pushEvent(QStringLiteral("test_during"));
    });
    ksm::CMsg read(ksm::CMsg::Param);
    read.setParam("target", "general");
    read.addGet("test_key");
    QCOMPARE(comClient()->sendSyncMsg(read, read, 0, 5000), 0);
    const qint64 beforeAnswer = comClient()->signalsBeforeLastReply();
    QCOMPARE(settings()->handledAs.size(), 1);
    QTRY_COMPARE(settings()->handledAs.size(), 2);

    QCOMPARE(arrived.size(), 2);
    QCOMPARE(settings()->handledAs, arrived);
    QCOMPARE(arrived.at(1).first, std::string("test_during"));
    QVERIFY(arrived.at(1).second <= beforeAnswer);
    QVERIFY(arrived.at(0).second < arrived.at(1).second);
    QCOMPARE(comClient()->handledSignal(), ksm::CCom::kNewestSignal);
}

QTEST_MAIN(TestQVantelWindowEvents)
#include "tst_qvantelwindowevents.moc"
