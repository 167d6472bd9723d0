#include "settings/qvantelsettingspage.h"

#include "link/ccom.h"
#include "link/cmsg.h"
#include "link/comclient.h"
#include "link/sharedobjects.h"
#include "model/accesslevel.h"
#include "model/comaudioconnection.h"
#include "model/comdevice.h"
#include "model/passwordtext.h"
#include "settings/settingsids.h"
#include "tests/settings/settingspagerig.h"
#include "tests/support/fakequorix.h"
#include "widgets/qvantelmenuentries.h"
#include "widgets/qvantelmenuentry.h"
#include "widgets/qvantelmenuheader.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuitems.h"
#include "widgets/qvantelmessage.h"
#include "widgets/qvantelpagestack.h"
#include "widgets/qvantelvirtual.h"
#include "widgets/qvantelwheel.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {

const QString kRefusal = QStringLiteral("Cannot apply changes\n(a connection is established)");

ksm::CMsg deviceEvent(std::initializer_list<std::pair<std::string, std::string>> params)
{
    ksm::CMsg message(ksm::CMsg::Event);
    for (const auto &param : params)
        message.setParam(param.first, param.second);
    return message;
}

} // namespace

// The settings page's core: root menu, hooks, notifications, the access-level dialogue and
// teardown. The section pages are pushed bare where a test needs one on the stack.
class TestSettingsCore : public QObject, private SettingsPageRig
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void texts_data();
    void texts();
    void keyWords();
    void callProfile();

    void rootMenu();
    void applyRefusals_data();
    void applyRefusals();
    void pageLeftInsideApplyIsDeletedLater();
    void statisticsSlots();
    void tapClosesOpenWheel();
    void rowThatOpensNothingLeavesNoTitle();
    void configurationEvents();
    void accessLevelWithoutKnownPasswords();
    void accessLevelWithPassword();
    void accessLevelLinkDropsDuringEntry();
    void teardownLeavesNothingBehind();

private:
    QVantelMenuItems *push(int id, std::initializer_list<int> rows = {}, int data = -1);
    TComAudioConnection *addCall(int commLink, int id, const std::string &network);
    void setPassword(const char *key, const char *plain);
};

void TestSettingsCore::init()
{
    QVERIFY(startUnit({}, AccessLevel::Operator));
    showPage();
}

void TestSettingsCore::cleanup()
{
    stopUnit();
}

void TestSettingsCore::setPassword(const char *key, const char *plain)
{
    m_fake->setValue(QLatin1String(key),
                     QString::fromLatin1(encryptPassword(plain).c_str()),
                     QStringLiteral("db"),
                     QStringLiteral("vn_frontpanel"));
}

QVantelMenuItems *TestSettingsCore::push(int id, std::initializer_list<int> rows, int data)
{
    auto *page = new QVantelMenuItems(id, data, m_page.get());
    for (const int row : rows)
        page->addItem(new QVantelMenuItem(row, QVantelMenuItem::Navigation, page));
    m_page->pushPage(page);
    return page;
}

TComAudioConnection *TestSettingsCore::addCall(int commLink, int id, const std::string &network)
{
    auto *call = new TComAudioConnection(comClient(), commLink);
    call->attach(0, id, network);
    if (!comDevice()->addConnection(call)) {
        delete call;
        return nullptr;
    }
    return call;
}

void TestSettingsCore::texts_data()
{
    QTest::addColumn<int>("table");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");
    const auto row = [](const char *name, int table, int value, const char *text) {
        QTest::newRow(name) << table << value << QString::fromUtf8(text);
    };
    row("transport 2", 0, 2, "Voice");
    row("transport other", 0, 3, "Unknown");
    row("ethernet mode 3", 1, 3, "BGAN");
    row("ethernet mode -1", 1, -1, "Unknown");
    row("link mode 0", 2, 0, "Auto Negotiation");
    row("link mode 8", 2, 8, "10BaseT-HD");
    row("link mode 9", 2, 9, "Unknown");
    row("audio mode 0", 3, 0, "SIP");
    row("audio mode 2", 3, 2, "Multicast");
    row("audio mode 3", 3, 3, "SIP");
    row("nat 0", 4, 0, "Unknown");
    row("nat 8", 4, 8, "Port Restricted Cone");
    row("technology 2", 5, 2, "4G/LTE");
    row("technology 4", 5, 4, "Unknown");
    row("connection 0", 6, 0, "Disabled");
    row("connection 3", 6, 3, "Connection Established");
    row("activity 0", 7, 0, "Not active");
    row("activity 1", 7, 1, "Not Connected or Failure");
    row("stream 0", 8, 0, "Disabled");
    row("stream 9", 8, 9, "Not Enough Decoders");
    row("stream 10", 8, 10, "Unknown Status");
    row("ptp 3", 9, 3, "Disabled");
    row("ptp 9", 9, 9, "Slave");
    row("lock 0", 10, 0, "Unknown State");
    row("lock 3", 10, 3, "Locked");
    row("input event 13", 11, 13, "Coord 4");
    row("input event -1", 11, -1, "Disabled");
    row("relay 7", 12, 7, "On Air Status");
    row("relay 8", 12, 8, "Disabled");
}

void TestSettingsCore::texts()
{
    using Table = QString (*)(int);
    static const Table tables[] = {&QVantelSettingsPage::transportText,
                                   &QVantelSettingsPage::ethernetModeText,
                                   &QVantelSettingsPage::linkModeText,
                                   &QVantelSettingsPage::audioModeText,
                                   &QVantelSettingsPage::natTypeText,
                                   &QVantelSettingsPage::mobileTechnologyText,
                                   &QVantelSettingsPage::connectionStateText,
                                   &QVantelSettingsPage::activityStateText,
                                   &QVantelSettingsPage::streamStateText,
                                   &QVantelSettingsPage::ptpStateText,
                                   &QVantelSettingsPage::lockStateText,
                                   &QVantelSettingsPage::inputEventText,
                                   &QVantelSettingsPage::relayStateText};
    QFETCH(int, table);
    QFETCH(int, value);
    QFETCH(QString, text);
    QCOMPARE(tables[table](value), text);
}

void TestSettingsCore::keyWords()
{
    QCOMPARE(QVantelSettingsPage::inputEventFromKey("input_event_redrel2"), 8);
    QCOMPARE(QVantelSettingsPage::inputEventFromKey("input_event_coord5on"), 0);
    QCOMPARE(QVantelSettingsPage::inputEventFromKey(""), 0);
    QCOMPARE(QVantelSettingsPage::inputEventKey(9), std::string("input_event_progsoff"));
    QCOMPARE(QVantelSettingsPage::inputEventKey(14), std::string("input_event_none"));
    QCOMPARE(QVantelSettingsPage::relayStateFromKey("relay_state_onair"), 7);
    // Exact match only.
    QCOMPARE(QVantelSettingsPage::relayStateFromKey("RELAY_STATE_R1"), 0);
    QCOMPARE(QVantelSettingsPage::relayStateKey(-1), std::string("relay_state_none"));
    QCOMPARE(QVantelSettingsPage::relayStateKey(4), std::string("relay_state_sync"));

    QVERIFY(!QVantelSettingsPage::nameLessThan(QStringLiteral("Studio"), QStringLiteral("STUDIO")));
    QVERIFY(!QVantelSettingsPage::nameLessThan(QStringLiteral("STUDIO"), QStringLiteral("Studio")));
    QVERIFY(QVantelSettingsPage::nameLessThan(QStringLiteral("alpha"), QStringLiteral("Beta")));
    QVERIFY(!QVantelSettingsPage::nameLessThan(QStringLiteral("Beta"), QStringLiteral("alpha")));
}

void TestSettingsCore::callProfile()
{
    TCallProfile profile;
    profile.name = QStringLiteral("A");
    QVERIFY(!profile.isComplete()); // eth.0, a name, but neither coding nor remote number
    profile.codec.algorithm = 0;
    QVERIFY(profile.isComplete());
    profile.codec.algorithm = -1;
    profile.remoteAddress = QStringLiteral("sip:studio");
    QVERIFY(profile.isComplete());
    profile.network = 0x500; // no such family
    QVERIFY(!profile.isComplete());
    profile.network = 0x100;
    profile.name.clear();
    QVERIFY(!profile.isComplete());

    // Equality looks at what the operator edits, not at the bookkeeping.
    TCallProfile a;
    a.name = QStringLiteral("Studio");
    TCallProfile b = a;
    b.state = 0;
    b.rowId = 310;
    b.target = 19;
    b.links = 3;
    b.codecMode = 1;
    b.coordination = 1;
    QVERIFY(a == b);
    b.codec.bitRate = 64000;
    QVERIFY(a != b);
    b = a;
    b.remoteAddress2 = QStringLiteral("2");
    QVERIFY(a != b);

    b.clear();
    QVERIFY(b.name.isNull());
    QCOMPARE(b.network, 0x100);
    QCOMPARE(b.rowId, -1);
    QCOMPARE(b.codec.algorithm, -1);
}

void TestSettingsCore::rootMenu()
{
    QVantelMenuEntries *entries = m_page->entries();
    const QStringList titles{QStringLiteral("Exit"),
                             QStringLiteral("Network"),
                             QStringLiteral("Coding"),
                             QStringLiteral("Audio"),
                             QStringLiteral("Book"),
                             QStringLiteral("Tools"),
                             QStringLiteral("Status")};
    for (int id = 0; id < titles.size(); ++id) {
        QVantelMenuEntry *entry = entries->findEntry(id);
        QVERIFY(entry);
        QCOMPARE(entry->titleLabel()->text(), titles.at(id));
    }

    // An Operator finds Audio disabled and cannot open it from outside.
    QVERIFY(!m_page->showEntry(kPageAudio, 0));
    QCOMPARE(entries->findEntry(kPageAudio)->state(), int(QVantelMenuEntry::Disabled));
    accessLevel = AccessLevel::Expert;
    QVERIFY(m_page->showEntry(kPageAudio, 0));
    QCOMPARE(m_page->lastSectionId(), kPageAudio);
    QCOMPARE(m_page->currentEntry, kPageAudio);
    QCOMPARE(m_page->titlePath(), QStringList{QStringLiteral("Audio")});

    // Exit goes back to the page the window set, the main page unless told otherwise.
    QSignalSpy activated(m_page.get(), &QVantelMenuWidget::pageActivated);
    QVERIFY(m_page->showEntry(kEntryExit, 0));
    QCOMPARE(activated.size(), 1);
    QCOMPARE(activated.at(0).at(0).value<QVantel::Page>(), QVantel::MainPage);
    QCOMPARE(m_page->lastSectionId(), kPageAudio);
}

void TestSettingsCore::applyRefusals_data()
{
    QTest::addColumn<int>("pageId");
    QTest::addColumn<int>("commLink");
    QTest::addColumn<QString>("network");
    QTest::addColumn<bool>("refused");
    const auto row = [](const char *name, int page, int link, const char *network, bool refused) {
        QTest::newRow(name) << page << link << QString::fromLatin1(network) << refused;
    };
    row("sip, IP call", kPageSip, 0, "eth.0", true);
    row("sip, ISDN call", kPageSip, 0, "isdn.0", false);
    row("sip account 1, Wi-Fi call", kPageSipAccount1, 1, "wifi.0", true);
    row("sip account 2, mobile call", kPageSipAccount2, 0, "mobile.0", true);
    row("isdn", kPageIsdn, 1, "isdn.0", true);
    row("eth.1, call on eth.1", kPageEthernetFirst + 1, 0, "eth.1", true);
    row("eth.1, call on eth.0", kPageEthernetFirst + 1, 0, "eth.0", false);
    row("eth.0, call on eth.0", kPageEthernetFirst, 1, "eth.0", true);
    row("mobile.1", kPageMobileFirst + 1, 0, "mobile.1", true);
    row("mobile.1, call on mobile.0", kPageMobileFirst + 1, 0, "mobile.0", false);
    row("wifi.3", kPageWifiLast, 0, "wifi.3", true);
    row("codec 1, link 1 call", kPageCodec1, 0, "isdn.0", true);
    row("codec 1, link 2 call", kPageCodec1, 1, "eth.0", false);
    row("codec 2, link 2 call", kPageCodec2, 1, "isdn.0", true);
    row("codec 2, coordination line", kPageCodec2, 2, "eth.0", true);
    row("codec 2, link 1 call", kPageCodec2, 0, "eth.0", false);
    row("monitoring", kPageMonitoring, 0, "eth.0", false);
}

void TestSettingsCore::applyRefusals()
{
    QFETCH(int, pageId);
    QFETCH(int, commLink);
    QFETCH(QString, network);
    QFETCH(bool, refused);

    QVERIFY(addCall(commLink, 5, network.toStdString()));
    push(pageId);
    m_page->header()->setModified(true);
    m_page->applyClicked();
    if (refused) {
        QCOMPARE(messageText(), kRefusal);
        QVERIFY(m_page->header()->isModified());
    } else {
        QVERIFY(messageText() != kRefusal);
    }
}

void TestSettingsCore::pageLeftInsideApplyIsDeletedLater()
{
    // The mobile PIN page goes back to the network page from inside Apply, once the SIM took
    // the PIN.
    QVERIFY(connectClient());
    QVantelMenuItems *network = push(kPageNetwork, {kPageMobileFirst});
    QPointer<QVantelMenuItems> mobile = push(kPageMobileFirst, {kRowMobilePin});
    mobile->findItem(kRowMobilePin)->setValueText(QStringLiteral("1234"));
    QVERIFY(addCall(0, 5, "eth.0")); // a call elsewhere locks the network row, not the apply
    m_page->applyClicked();

    QCOMPARE(m_page->currentPage(), network);
    QVERIFY(mobile); // still alive until control returns to the event loop
    QCOMPARE(m_page->pageStack()->indexOf(mobile.data()), -1);
    QVantelMenuItem *row = network->findItem(kPageMobileFirst);
    QCOMPARE(row->valueText(), QStringLiteral("Configure the Mobile controller"));
    QVERIFY(row->isReadOnly());

    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!mobile);
    QCOMPARE(m_page->currentPage(), network);
}

void TestSettingsCore::statisticsSlots()
{
    const auto report = [](TComAudioConnection *call, const char *type, const char *stream, int q) {
        call->handleEvent(deviceEvent({{"event_type", type},
                                       {"id", std::to_string(call->id())},
                                       {"network", call->network()},
                                       {"stream_id", stream},
                                       {"net-quality", std::to_string(q)},
                                       {"pkts-total", "100"}}));
    };
    TComAudioConnection *link1 = addCall(0, 5, "eth.0");
    TComAudioConnection *link2 = addCall(1, 6, "eth.0");
    TComAudioConnection *coordination = addCall(2, 7, "eth.0");
    QVERIFY(link1 && link2 && coordination);
    report(link1, "rx-quality-report", "1", 10);
    report(link1, "rx-quality-report", "2", 12);
    report(link1, "tx-quality-report", "2", 13);
    report(link2, "rx-quality-report", "1", 20);
    report(link2, "tx-quality-report", "1", 21);
    report(coordination, "rx-quality-report", "1", 30);

    m_page->audioCallStatisticChanged(link2);
    QCOMPARE(m_page->rxStatisticsSlot(1).netQuality, 20);
    QCOMPARE(m_page->txStatisticsSlot(1).netQuality, 21);
    QCOMPARE(m_page->rxStatisticsSlot(3).netQuality, -1); // link 2 has no second stream yet
    QCOMPARE(m_page->rxStatisticsSlot(0).netQuality, -1);

    m_page->audioCallStatisticChanged(link1);
    QCOMPARE(m_page->rxStatisticsSlot(0).netQuality, 10);
    QCOMPARE(m_page->rxStatisticsSlot(2).netQuality, 12);
    QCOMPARE(m_page->txStatisticsSlot(2).netQuality, 13);
    QCOMPARE(m_page->rxStatisticsSlot(2).packetsTotal, 100);

    // The coordination line is not copied, and the copies outlive the call.
    push(kPageConnections);
    m_page->audioCallStatisticChanged(coordination);
    comDevice()->removeAllConnections();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (int slot = 0; slot < 4; ++slot)
        QVERIFY(m_page->rxStatisticsSlot(slot).netQuality != 30);
    QCOMPARE(m_page->rxStatisticsSlot(1).netQuality, 20);
    QCOMPARE(m_page->rxStatisticsSlot(4).netQuality, -1);
}

void TestSettingsCore::tapClosesOpenWheel()
{
    QVantelMenuItems *page = push(kPageAudio);
    auto *row = new QVantelMenuItem(kRowOperationMode, QVantelMenuItem::WheelOnRelease, page);
    page->addItem(row);
    row->addValue(0, QStringLiteral("Standard"));
    row->addValue(1, QStringLiteral("Extended"));
    row->selectValue(1, true, false);
    row->updateControl();
    QVERIFY(row->wheel()->isCheckable());
    row->wheel()->setChecked(true);
    row->wheelChanged(0); // turned, not yet let go
    QCOMPARE(row->valueText(), QStringLiteral("Standard"));

    // A tap on the row closes the wheel on the value the row had.
    m_page->itemClicked(row);
    QVERIFY(!row->wheel()->isChecked());
    QCOMPARE(row->currentValue()->value, 1);
    QCOMPARE(row->valueText(), QStringLiteral("Extended"));
}

// A row whose step builds no page (its read failed) leaves no title behind: the next page
// pushed, by whatever step, is not named after it.
void TestSettingsCore::rowThatOpensNothingLeavesNoTitle()
{
    const int nowhere = 9999;
    QVantelMenuItems *page = push(kPageStatus, {nowhere});
    const QStringList path = m_page->titlePath();
    QVantelMenuItem *row = page->findItem(nowhere);
    row->titleLabel()->setText(QStringLiteral("Nowhere"));
    m_page->itemClicked(row);
    QCOMPARE(m_page->currentPage(), page);
    push(kPageAudio);
    QCOMPARE(m_page->titlePath(), path);
}

void TestSettingsCore::configurationEvents()
{
    QVERIFY(connectClient());
    const auto configInfo = [](const char *network) {
        return deviceEvent({{"event_type", "config info"}, {"network", network}, {"mode", "dhcp"}});
    };

    // Not an Ethernet network, or no page shown: nothing.
    m_page->configurationEvent(configInfo("eth.2"));
    QVERIFY(m_page->editEthernet.networkId().empty());
    QSignalSpy params(&m_page->editEthernet, &TComNetworkController::controllerParamChanged);
    // On an Ethernet page an edit copy that was never pointed at a network ignores the event.
    push(kPageEthernetFirst);
    m_page->configurationEvent(configInfo("eth.2"));
    QVERIFY(params.isEmpty());
    push(kPageStatus);
    m_page->configurationEvent(configInfo("wifi.0"));
    QVERIFY(m_page->editEthernet.networkId().empty());
    m_page->configurationEvent(deviceEvent({{"network", "eth.2"}}));
    QVERIFY(m_page->editEthernet.networkId().empty());

    // On the Status page the edit copy follows the event's interface, with no request sent,
    // and takes the event.
    m_fake->clearLog();
    m_page->configurationEvent(configInfo("eth.2"));
    QCOMPARE(m_page->editEthernet.networkId(), std::string("eth.2"));
    QCOMPARE(m_fake->requestCount(), 0);
    QVERIFY(!params.isEmpty());

    // Every other event type and page is a refresh only: nothing is sent, nothing breaks.
    for (const int page : {kPageNetwork, kPageCoding, kPageAudio, kPageStatus}) {
        push(page, {kRowDefaultNetwork, kRowSecondaryNetwork, kRowCodecMode});
        for (const char *type :
             {"default_network", "secondary_network", "default_codec", "codec_change", "other"})
            m_page->configurationEvent(deviceEvent({{"event_type", type}}));
    }
    QCOMPARE(m_fake->requestCount(), 0);
}

void TestSettingsCore::accessLevelWithoutKnownPasswords()
{
    QVantelMenuItems *tools = push(kPageTools);
    auto *row = new QVantelMenuItem(kRowAccessLevel, QVantelMenuItem::Choice, tools);
    tools->addItem(row);
    row->addValue(0, QStringLiteral("Operator"));
    row->addValue(1, QStringLiteral("Expert"));
    row->addValue(2, QStringLiteral("Administrator"));
    row->selectValue(2, true, false);

    // No link: the passwords cannot be read and none are known, so even a level that may have
    // no password is refused, in the login's words.
    QVERIFY(!m_page->passwordsKnown());
    m_page->changeAccessLevel(row);
    QCOMPARE(accessLevel, AccessLevel::Operator);
    QCOMPARE(messageText(), QStringLiteral("Not connected!"));
    QCOMPARE(row->currentValue()->value, 0);
    m_page->closeMessage();

    // Read once on this connection: a level without password is granted at once, no keyboard.
    QVERIFY(connectClient());
    row->selectValue(2, true, false);
    m_page->changeAccessLevel(row);
    QVERIFY(m_page->passwordsKnown());
    QCOMPARE(accessLevel, AccessLevel::Administrator);
    QVERIFY(!m_page->findChild<QVantelVirtual *>());

    // A later read that fails grants nothing: the unit may have changed its passwords since.
    m_fake->refuseKey(QStringLiteral("password_el"), QStringLiteral("015-not allowed"));
    row->selectValue(1, true, false);
    m_page->changeAccessLevel(row);
    QCOMPARE(accessLevel, AccessLevel::Administrator);
    QCOMPARE(row->currentValue()->value, 2);
    QCOMPARE(messageText(), QStringLiteral("The unit refuses to send\nits passwords!"));
}

void TestSettingsCore::accessLevelWithPassword()
{
    QVERIFY(connectClient());
    setPassword("password_el", "Ex pert");
    QVantelMenuItems *tools = push(kPageTools);
    auto *row = new QVantelMenuItem(kRowAccessLevel, QVantelMenuItem::Choice, tools);
    tools->addItem(row);
    row->addValue(0, QStringLiteral("Operator"));
    row->addValue(1, QStringLiteral("Expert"));
    row->selectValue(1, true, false);

    m_page->changeAccessLevel(row);
    QPointer<QVantelVirtual> keyboard = m_page->findChild<QVantelVirtual *>();
    QVERIFY(keyboard);
    QCOMPARE(keyboard->titleLabel()->text(), QStringLiteral("Enter Password"));
    QCOMPARE(keyboard->lineEdit()->echoMode(), QLineEdit::Password);
    QVERIFY(keyboard->lineEdit()->text().isEmpty());
    QCOMPARE(keyboard->property("vkb_accessLevel").toInt(), 1);
    QCOMPARE(row->currentValue()->value, 0); // the level in force until the password is right
    QCOMPARE(accessLevel, AccessLevel::Operator);

    // Case and blanks count.
    keyboard->lineEdit()->setText(QStringLiteral("ex pert"));
    m_page->keyboardAccepted(row, keyboard);
    QCOMPARE(messageText(), QStringLiteral("Wrong password!"));
    QCOMPARE(accessLevel, AccessLevel::Operator);
    QCOMPARE(row->currentValue()->value, 0);

    keyboard->lineEdit()->setText(QStringLiteral("Ex pert"));
    m_page->keyboardAccepted(row, keyboard);
    QCOMPARE(accessLevel, AccessLevel::Expert);
    QCOMPARE(row->currentValue()->value, 1);
    QCOMPARE(row->valueText(), QStringLiteral("Expert"));
    keyboard->close();
}

void TestSettingsCore::accessLevelLinkDropsDuringEntry()
{
    QVERIFY(connectClient());
    setPassword("password_al", "adm");
    QVantelMenuItems *tools = push(kPageTools);
    auto *row = new QVantelMenuItem(kRowAccessLevel, QVantelMenuItem::Choice, tools);
    tools->addItem(row);
    row->addValue(0, QStringLiteral("Operator"));
    row->addValue(2, QStringLiteral("Administrator"));
    row->selectValue(2, true, false);
    m_page->changeAccessLevel(row);
    QPointer<QVantelVirtual> keyboard = m_page->findChild<QVantelVirtual *>();
    QVERIFY(keyboard);

    // The link drops: the cache empties, and an empty entry must not pass for "no password".
    comClient()->disconnect();
    QVERIFY(!m_page->passwordsKnown());
    QVERIFY(m_page->password(2).isEmpty());
    row->selectValue(2, true, false);
    m_page->keyboardAccepted(row, keyboard);
    QCOMPARE(accessLevel, AccessLevel::Operator);
    QCOMPARE(messageText(), QStringLiteral("Failed to proceed!"));
    keyboard->close();
}

void TestSettingsCore::teardownLeavesNothingBehind()
{
    QVERIFY(connectClient());
    push(kPageStatus);
    push(kPageConnections);
    QPointer<QVantelMenuItems> shown = m_page->currentPage();
    m_page->showMessage(QStringLiteral("Refreshing..."), 0);
    QPointer<QVantelMessage> message = m_page->message();
    QVERIFY(message);
    m_fake->clearLog();

    m_page.reset();
    QVERIFY(!shown);
    QVERIFY(!message);
    QCOMPARE(m_fake->requestCount(), 0);
    QVERIFY(comClient()->isReady());
    // No connection to the freed page is left behind.
    emit audioSettings()->controllerParamChanged(audioSettings(), TAudioSettings::LimiterThreshold);
    comClient()->disconnect();
}

QTEST_MAIN(TestSettingsCore)
#include "tst_settingscore.moc"
