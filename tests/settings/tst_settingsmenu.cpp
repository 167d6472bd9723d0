#include "tests/frontpanel/windowfixture.h"

#include "frontpanel/qvantelconnectionpage.h"
#include "frontpanel/qvantelmainpage.h"
#include "model/comaudioconnection.h"
#include "model/comdevice.h"
#include "settings/settingsids.h"
#include "tests/support/demoarea.h"
#include "tests/support/demounit.h"
#include "widgets/qvantelmenuentries.h"
#include "widgets/qvantelmenuentry.h"
#include "widgets/qvantelmenuheader.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuitems.h"
#include "widgets/qvantelmessage.h"
#include "widgets/qvantelpagestack.h"

#include <QLabel>
#include <QScopeGuard>
#include <QTest>

#include <memory>

// The settings menu in the running front panel, logged in against the fake unit.
class TestSettingsMenu : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { f.stop(); }

    void rootEntriesOpenAndLeave_data();
    void rootEntriesOpenAndLeave();
    void codecPagesFromThePanel_data();
    void codecPagesFromThePanel();
    void everyEntryReadsItsPage_data();
    void everyEntryReadsItsPage();
    void backTappedWhileAPageIsReadGoesBack();
    void sectionTappedWhileAPageIsReadOpens();
    void leavingTheProfileListEndsItsOpens_data();
    void leavingTheProfileListEndsItsOpens();
    void pageButtonTappedWhileAnEntryIsReadOpens();
    void twoPageButtonsTappedInOneWait_data();
    void twoPageButtonsTappedInOneWait();
    void noticeOfAnEntryStandsOnThePanel();
    void unitEventsWaitForTheMenusStep();

private:
    // Logs in as Administrator on the demo Book and opens the menu's Book; null when it fails.
    QVantelSettingsPage *openBook();
    // Logs in as Administrator on the whole demo unit, with no set-up pass or keep-alive between
    // the menu's own requests; the settings menu, null when it fails.
    QVantelSettingsPage *logInToTheDemo();

    WindowFixture f;
};

void TestSettingsMenu::rootEntriesOpenAndLeave_data()
{
    QTest::addColumn<int>("level");
    QTest::newRow("operator") << 0;
    QTest::newRow("administrator") << 2;
}

void TestSettingsMenu::rootEntriesOpenAndLeave()
{
    QFETCH(int, level);
    QVERIFY(f.start());
    f.pressLogin(level);
    QTRY_COMPARE(f.window->currentPage(), int(QVantel::MainPage));
    QCOMPARE(int(accessLevel), level);

    // Opened from the panel's Network shortcut; the menu remembers the page it came from.
    f.window->pageActivated(QVantel::SettingsNetwork);
    QCOMPARE(f.window->currentPage(), int(QVantel::SettingsPage));
    auto *menu = qobject_cast<QVantelSettingsPage *>(f.window->settingsPage());
    QVERIFY(menu);
    QCOMPARE(menu->currentEntry, 1);

    // Tap every root entry in turn. Audio stays closed to an Operator.
    QVantelMenuEntries *entries = menu->entries();
    for (int id = kPageNetwork; id <= kPageStatus; ++id) {
        QVantelMenuEntry *entry = entries->findEntry(id);
        QVERIFY(entry);
        entries->childClicked(entry->titleLabel());
        const bool closed = id == kPageAudio && level == 0;
        QCOMPARE(entry->state() == QVantelMenuEntry::Disabled, closed);
        if (closed)
            continue;
        QCOMPARE(menu->currentEntry, id);
        QCOMPARE(menu->lastSectionId(), id);
        QCOMPARE(menu->titlePath(), QStringList{entry->titleLabel()->text()});
        QVERIFY(!menu->header()->isModified());
        // Back on a section's own page leaves the menu where it is.
        menu->backClicked();
        QCOMPARE(menu->currentEntry, id);
    }

    // Exit returns to the page the menu was opened from; page 11 reopens the last section.
    entries->childClicked(entries->findEntry(kEntryExit)->titleLabel());
    QCOMPARE(f.window->currentPage(), int(QVantel::MainPage));
    f.window->pageActivated(QVantel::SettingsPage);
    QCOMPARE(f.window->currentPage(), int(QVantel::SettingsPage));
    QCOMPARE(menu->currentEntry, int(kPageStatus));
}

void TestSettingsMenu::codecPagesFromThePanel_data()
{
    QTest::addColumn<int>("panelPage");
    QTest::addColumn<int>("busyLink");  // the link with a call; 0: none
    QTest::addColumn<int>("codecPage"); // -1: the menu stays closed

    QTest::newRow("codec 1") << int(QVantel::SettingsCodingLink1) << 0 << kPageCodec1;
    QTest::newRow("codec 2, its row locked")
        << int(QVantel::SettingsCodingLink2) << 0 << kPageCodec2;
    QTest::newRow("codec 1, link 1 busy") << int(QVantel::SettingsCodingLink1) << 1 << -1;
    QTest::newRow("codec 2, link 2 busy") << int(QVantel::SettingsCodingLink2) << 2 << -1;
    QTest::newRow("codec 2, link 1 busy") << int(QVantel::SettingsCodingLink2) << 1 << kPageCodec2;
}

// The panel opens a link's codec page through the Coding section, also where the Coding page's
// row for it is locked (coder 2 in single codec mode), but not while that link has a call.
void TestSettingsMenu::codecPagesFromThePanel()
{
    QFETCH(int, panelPage);
    QFETCH(int, busyLink);
    QFETCH(int, codecPage);
    QVERIFY(f.start());
    f.pressLogin(2);
    QTRY_COMPARE(f.window->currentPage(), int(QVantel::MainPage));
    if (busyLink != 0) {
        auto *call = new TComAudioConnection(comClient(), busyLink - 1);
        call->attach(0, 41, "eth.0");
        QVERIFY(comDevice()->addConnection(call));
    }

    f.window->pageActivated(QVantel::Page(panelPage));
    if (codecPage == -1) {
        QCOMPARE(f.window->currentPage(), int(QVantel::MainPage));
        return;
    }
    QCOMPARE(f.window->currentPage(), int(QVantel::SettingsPage));
    auto *menu = qobject_cast<QVantelSettingsPage *>(f.window->settingsPage());
    QVERIFY(menu);
    QCOMPARE(menu->currentEntry, int(kPageCoding));
    QCOMPARE(menu->currentPage()->id(), codecPage);
    // Single codec mode: a tap on row 99 would not open it.
    menu->backClicked();
    QCOMPARE(menu->currentPage()->id(), kPageCoding);
    QVERIFY(menu->currentPage()->findItem(kPageCodec2)->isReadOnly());
}

void TestSettingsMenu::everyEntryReadsItsPage_data()
{
    QTest::addColumn<int>("route");
    QTest::addColumn<QString>("leave"); // how the menu is left between the two entries

    const std::pair<QVantel::Page, const char *> routes[] = {
        {QVantel::SettingsPage, "last section"},
        {QVantel::SettingsNetwork, "network"},
        {QVantel::SettingsCoding, "coding"},
        {QVantel::SettingsCodingLink1, "codec 1"},
        {QVantel::SettingsCodingLink2, "codec 2"},
        {QVantel::SettingsAudio, "audio"},
        {QVantel::SettingsTools, "tools"},
        {QVantel::SettingsBook, "book"},
        {QVantel::SettingsBookLink1, "book of link 1"},
        {QVantel::SettingsBookLink2, "book of link 2"},
        {QVantel::SettingsStatus, "status"},
    };
    for (const auto &[route, name] : routes) {
        for (const char *leave : {"exit", "page change"}) {
            QTest::addRow("%s, %s", name, leave) << int(route) << QString::fromLatin1(leave);
        }
    }
}

namespace {

// Counts the reads the client left unsent because their task had ended.
int g_unsentReads = 0;
QtMessageHandler g_nextHandler = nullptr;

void countUnsentReads(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (text.contains(QLatin1String("not sent, its task has ended")))
        ++g_unsentReads;
    g_nextHandler(type, context, text);
}

// What a page shows: each row's title and value.
QStringList rowsOf(const QVantelMenuItems *page)
{
    QStringList rows;
    const QList<QVantelMenuItem *> items = page->items();
    for (const QVantelMenuItem *item : items)
        rows << item->titleText() + QLatin1Char('=') + item->valueText();
    return rows;
}

} // namespace

// Every route into the menu reads the entry's page the second time as it did the first, however
// the menu was left in between: nothing is left unsent, the page shows what it showed.
void TestSettingsMenu::everyEntryReadsItsPage()
{
    QFETCH(int, route);
    QFETCH(QString, leave);
    QVantelSettingsPage *menu = logInToTheDemo();
    QVERIFY(menu);
    // The page the last section opens is the Status page's.
    menu->showEntry(kPageStatus, -1);

    g_unsentReads = 0;
    g_nextHandler = qInstallMessageHandler(countUnsentReads);
    const auto restore = qScopeGuard([] { qInstallMessageHandler(g_nextHandler); });
    QStringList shown[2];
    for (QStringList &rows : shown) {
        f.window->pageActivated(QVantel::Page(route));
        QCOMPARE(f.window->currentPage(), int(QVantel::SettingsPage));
        QVERIFY(menu->isVisible());
        QVERIFY(!menu->message());
        rows = rowsOf(menu->currentPage());
        if (leave == QLatin1String("exit")) {
            QVantelMenuEntries *entries = menu->entries();
            entries->childClicked(entries->findEntry(kEntryExit)->titleLabel());
        } else {
            f.window->pageActivated(QVantel::ConnectionPage);
        }
        QVERIFY(!menu->isVisible());
    }
    QCOMPARE(g_unsentReads, 0);
    QVERIFY(!shown[0].isEmpty());
    QCOMPARE(shown[1], shown[0]);
}

QVantelSettingsPage *TestSettingsMenu::logInToTheDemo()
{
    if (!f.start())
        return nullptr;
    installDemoUnit(*f.fake);
    f.pressLogin(2);
    if (!f.answerKeyboard(QStringLiteral("admin"))
        || !QTest::qWaitFor([this] { return f.window->currentPage() == QVantel::MainPage; }, 5000))
        return nullptr;
    f.window->setTiming({10, 600000, 600000});
    return qobject_cast<QVantelSettingsPage *>(f.window->settingsPage());
}

QVantelSettingsPage *TestSettingsMenu::openBook()
{
    if (!f.start())
        return nullptr;
    installDemoBook(*new DemoUnit(*f.fake));
    f.pressLogin(2);
    if (!QTest::qWaitFor([this] { return f.window->currentPage() == QVantel::MainPage; }, 5000))
        return nullptr;
    // No set-up pass or keep-alive comes between the menu's own requests.
    f.window->setTiming({10, 600000, 600000});
    f.window->pageActivated(QVantel::SettingsBook);
    return qobject_cast<QVantelSettingsPage *>(f.window->settingsPage());
}

// While a page's builder waits for the unit the header still names the page whose rows are
// shown, and a Back tapped meanwhile leaves that page: the page being read is given up after the
// answer in flight, nothing more is read for it, and the Back is carried out on the page shown.
void TestSettingsMenu::backTappedWhileAPageIsReadGoesBack()
{
    QVantelSettingsPage *menu = openBook();
    QVERIFY(menu);
    menu->itemClicked(menu->currentPage()->findItem(kPageCallProfiles));
    QCOMPARE(menu->currentPage()->id(), kPageCallProfiles);
    QVantelMenuHeader *header = menu->header();
    const QString listTitle = QStringLiteral("Book > Call Profiles");
    QCOMPARE(header->titleLabel()->text(), listTitle);

    f.fake->setReplyDelay(100);
    QString titleMeanwhile;
    int tappedAt = -1;
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection = connect(f.fake.get(), &FakeQuorix::requestReceived, this, [&, connection] {
        disconnect(*connection);
        titleMeanwhile = header->titleLabel()->text();
        tappedAt = int(f.fake->requests().size());
        QTest::mouseClick(header->backIcon(), Qt::LeftButton);
    });
    menu->itemClicked(menu->currentPage()->findItem(kFirstStoredRow + 1));
    QCOMPARE(titleMeanwhile, listTitle);
    QTRY_COMPARE(menu->currentPage()->id(), int(kPageBook));
    QCOMPARE(header->titleLabel()->text(), QStringLiteral("Book"));
    QCOMPARE(menu->pageStack()->count(), 1);
    QVERIFY(!menu->message());
    // Nothing was read for the profile after the tap.
    QCOMPARE(int(f.fake->requests().size()), tappedAt);
}

// The column of sections means the same whatever page the menu shows: a section tapped while a
// page is read leaves that page, whose reads end after the one in flight, and opens.
void TestSettingsMenu::sectionTappedWhileAPageIsReadOpens()
{
    QVantelSettingsPage *menu = openBook();
    QVERIFY(menu);
    QWidget *tools = menu->entries()->findEntry(kPageTools);
    QVERIFY(tools);

    f.fake->setReplyDelay(100);
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection = connect(f.fake.get(), &FakeQuorix::requestReceived, this, [&, connection] {
        disconnect(*connection);
        QWidget *window = menu->window();
        QTest::mouseClick(window->windowHandle(),
                          Qt::LeftButton,
                          {},
                          tools->mapTo(window, tools->rect().center()));
    });
    menu->itemClicked(menu->currentPage()->findItem(kPageCallProfiles));
    QTRY_COMPARE(menu->currentEntry, int(kPageTools));
    QCOMPARE(menu->currentPage()->id(), int(kPageTools));
    QCOMPARE(menu->pageStack()->count(), 1);
}

void TestSettingsMenu::leavingTheProfileListEndsItsOpens_data()
{
    QTest::addColumn<QString>("leave");
    QTest::newRow("another section") << "section";
    QTest::newRow("exit") << "exit";
}

// The Call Profiles list opens every stored profile to show what it holds: a tap that leaves the
// list ends that chain after the open in flight, and the tapped place opens.
void TestSettingsMenu::leavingTheProfileListEndsItsOpens()
{
    QFETCH(QString, leave);
    qputenv("FAKE_QUORIX_BOOK_ITEMS", "20");
    const auto unset = qScopeGuard([] { qunsetenv("FAKE_QUORIX_BOOK_ITEMS"); });
    QVantelSettingsPage *menu = openBook();
    QVERIFY(menu);
    const bool exit = leave == QLatin1String("exit");
    QWidget *tapped = menu->entries()->findEntry(exit ? kEntryExit : kPageTools)->titleLabel();
    const auto isOpen
        = [](const FakeRequest &request) { return request.isCommand(QStringLiteral("open")); };

    f.fake->setReplyDelay(50);
    int opensAtTap = -1;
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection = connect(f.fake.get(), &FakeQuorix::requestReceived, this, [&, connection] {
        if (f.countOf(isOpen) < 3)
            return;
        disconnect(*connection);
        opensAtTap = f.countOf(isOpen);
        QWidget *window = menu->window();
        QTest::mouseClick(window->windowHandle(),
                          Qt::LeftButton,
                          {},
                          tapped->mapTo(window, tapped->rect().center()));
    });
    menu->itemClicked(menu->currentPage()->findItem(kPageCallProfiles));
    if (exit) {
        QTRY_COMPARE(f.window->currentPage(), int(QVantel::MainPage));
    } else {
        QTRY_COMPARE(menu->currentPage()->id(), int(kPageTools));
        QCOMPARE(menu->pageStack()->count(), 1);
    }
    QVERIFY(!menu->message());
    QCOMPARE(opensAtTap, 3);
    QCOMPARE(f.countOf(isOpen), opensAtTap);
}

// A page button of the panel tapped while the menu's entry is read from the main page: the entry
// is given up after the answer in flight, the menu is not shown, and the tapped page opens.
void TestSettingsMenu::pageButtonTappedWhileAnEntryIsReadOpens()
{
    QVantelSettingsPage *menu = logInToTheDemo();
    QVERIFY(menu);
    QWidget *settingsButton = f.window->mainPage()->settingsButton();

    f.fake->setReplyDelay(50);
    f.fake->clearLog();
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection = connect(f.fake.get(), &FakeQuorix::requestReceived, this, [&, connection] {
        disconnect(*connection);
        QTest::mouseClick(f.window->windowHandle(),
                          Qt::LeftButton,
                          {},
                          settingsButton->mapTo(f.window.get(), settingsButton->rect().center()));
    });
    f.window->pageActivated(QVantel::SettingsStatus);
    // The Status entry was given up: the main page stays until the tap is carried out.
    QCOMPARE(f.window->currentPage(), int(QVantel::MainPage));
    QVERIFY(!menu->isVisible());
    QTRY_COMPARE(f.window->currentPage(), int(QVantel::SettingsPage));
    QCOMPARE(menu->currentEntry, int(kPageNetwork));
    QVERIFY(menu->isVisible());
    QVERIFY(!menu->message());
    // Nothing of the Status page was read after the read in flight at the tap.
    const auto statusRead = [](const FakeRequest &request) {
        return request.isGetOf(QStringLiteral("serialno"))
               || request.isGetOf(QStringLiteral("remote_access_status"));
    };
    QCOMPARE(f.countOf(statusRead), 0);
}

void TestSettingsMenu::twoPageButtonsTappedInOneWait_data()
{
    QTest::addColumn<QString>("from");
    QTest::newRow("main page: Status, then Settings") << "main";
    QTest::newRow("connection page: Network, then Home") << "connection";
    QTest::newRow("menu: a section, then another") << "menu";
    QTest::newRow("menu: a navigation row, then a section") << "row";
    QTest::newRow("menu: Apply, then a section") << "apply";
}

// Two taps made while the program waits for the unit on something of its own (a keep-alive):
// both are held, the first is carried out when the wait is over, and the second is carried out
// within one answer's time. Where the first opens a page (a page button, a section, a
// navigation row), the second, which leaves that page, ends its build: nothing more is read for
// it. An Apply is no page's build: it runs to its end, and the section opens after it.
void TestSettingsMenu::twoPageButtonsTappedInOneWait()
{
    QFETCH(QString, from);
    QVantelSettingsPage *menu = logInToTheDemo();
    QVERIFY(menu);
    QWidget *first = nullptr;
    QWidget *second = nullptr;
    if (from == QLatin1String("main")) {
        first = f.window->mainPage()->statusButton();
        second = f.window->mainPage()->settingsButton();
    } else if (from == QLatin1String("connection")) {
        f.window->pageActivated(QVantel::ConnectionPage);
        QCOMPARE(f.window->currentPage(), int(QVantel::ConnectionPage));
        first = f.window->connectionPage()->networkButton();
        second = f.window->connectionPage()->homeButton();
    } else if (from == QLatin1String("row")) {
        f.window->pageActivated(QVantel::SettingsNetwork);
        QCOMPARE(menu->currentEntry, int(kPageNetwork));
        first = menu->currentPage()->findItem(kPageEthernetFirst + 1);
        second = menu->entries()->findEntry(kPageAudio)->titleLabel();
    } else {
        f.window->pageActivated(QVantel::SettingsTools);
        QCOMPARE(menu->currentEntry, int(kPageTools));
        second = menu->entries()->findEntry(kPageAudio)->titleLabel();
        if (from == QLatin1String("menu")) {
            first = menu->entries()->findEntry(kPageStatus)->titleLabel();
        } else {
            menu->itemClicked(menu->currentPage()->findItem(kPageRemoteAssistance));
            QCOMPARE(menu->currentPage()->id(), int(kPageRemoteAssistance));
            QVantelMenuItem *access = menu->currentPage()->findItem(kRowRemoteAccess);
            QVERIFY(access && !access->isReadOnly());
            access->setChecked(!access->isChecked());
            menu->itemCommitted(access);
            QVERIFY(menu->header()->isModified());
            first = menu->header()->applyIcon();
        }
    }
    QVERIFY(first && second);
    const int opened = f.window->currentPage();

    f.fake->setReplyDelay(100);
    f.fake->clearLog();
    g_unsentReads = 0;
    g_nextHandler = qInstallMessageHandler(countUnsentReads);
    const auto restore = qScopeGuard([] { qInstallMessageHandler(g_nextHandler); });
    QWidget *window = f.window->window();
    const auto tap = [window](QWidget *control) {
        QTest::mouseClick(window->windowHandle(),
                          Qt::LeftButton,
                          {},
                          control->mapTo(window, control->rect().center()));
    };
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection = connect(f.fake.get(), &FakeQuorix::requestReceived, this, [&, connection] {
        disconnect(*connection);
        tap(first);
        tap(second);
    });
    // The program's own wait, such as a keep-alive: no page's task.
    ksm::CMsg keepAlive(ksm::CMsg::Param);
    keepAlive.addGet("device");
    keepAlive.setParam("target", "general");
    QCOMPARE(comClient()->sendSyncMsg(keepAlive, keepAlive, 0, 5000), 0);
    const int afterWait = int(f.fake->requests().size());

    if (from == QLatin1String("main")) {
        QTRY_COMPARE(f.window->currentPage(), int(QVantel::SettingsPage));
        QCOMPARE(menu->currentEntry, int(kPageNetwork));
    } else if (from == QLatin1String("connection")) {
        // The Network build was begun and ended: some of its reads went unsent.
        QTRY_VERIFY(g_unsentReads > 0);
        QTRY_COMPARE(f.window->currentPage(), int(QVantel::MainPage));
    } else {
        QTRY_COMPARE(menu->currentEntry, int(kPageAudio));
        QCOMPARE(menu->currentPage()->id(), int(kPageAudio));
        QCOMPARE(menu->pageStack()->count(), 1);
        QCOMPARE(f.window->currentPage(), opened);
    }
    QVERIFY(!menu->message());
    QTRY_VERIFY(comClient()->isReady());
    const QList<FakeRequest> requests = f.fake->requests();
    if (from == QLatin1String("apply")) {
        // The Apply read the unit's settings and wrote the change; nothing of it was cut.
        QCOMPARE(g_unsentReads, 0);
        bool written = false;
        for (const FakeRequest &request : requests)
            written = written || request.isSetOf(QStringLiteral("remote_access"));
        QVERIFY(written);
        return;
    }
    // The first tap was carried out: its page's build began, and ended before its next read.
    QVERIFY(g_unsentReads > 0);
    // At most the read in flight when the second tap was judged was made for the first page:
    // the rest of what was sent is the second page's.
    const auto firstPageRead = [&from](const FakeRequest &request) {
        if (from == QLatin1String("main") || from == QLatin1String("menu"))
            return request.isGetOf(QStringLiteral("serialno"))
                   || request.isGetOf(QStringLiteral("remote_access_status"));
        if (from == QLatin1String("row"))
            return request.network() == QLatin1String("eth.1");
        // The Network page's reads: its interfaces and the default network.
        return request.isListOf(QStringLiteral("network"))
               || request.isGetOf(QStringLiteral("default_network"));
    };
    int firstPageReads = 0;
    for (int i = afterWait; i < requests.size(); ++i)
        firstPageReads += firstPageRead(requests.at(i)) ? 1 : 0;
    QVERIFY2(firstPageReads <= 1, qPrintable(QString::number(firstPageReads)));
}

// The notice of a failed read, opened while the entry's page is built and before the window
// shows the menu, stands where the menu's notices stand: over its page, on the panel.
void TestSettingsMenu::noticeOfAnEntryStandsOnThePanel()
{
    qputenv("FAKE_QUORIX_FAIL_READ", "serialno");
    const auto unset = qScopeGuard([] { qunsetenv("FAKE_QUORIX_FAIL_READ"); });
    QVantelSettingsPage *menu = logInToTheDemo();
    QVERIFY(menu);

    f.window->pageActivated(QVantel::SettingsStatus);
    QCOMPARE(f.window->currentPage(), int(QVantel::SettingsPage));
    QVantelMessage *notice = menu->message();
    QVERIFY(notice);
    QCOMPARE(notice->text(), QStringLiteral("Failed to read the settings!"));
    const QRect panel(f.window->mapToGlobal(QPoint(0, 0)), f.window->size());
    QVERIFY2(panel.contains(notice->frameGeometry()),
             qPrintable(QStringLiteral("notice at %1,%2 %3x%4")
                            .arg(notice->x())
                            .arg(notice->y())
                            .arg(notice->width())
                            .arg(notice->height())));
    // Where the same notice stands when the menu opens it while shown.
    const QRect placed = notice->frameGeometry();
    menu->closeMessage();
    menu->showMessage(QStringLiteral("Failed to read the settings!"), 0);
    QVERIFY(menu->message());
    QCOMPARE(placed, menu->message()->frameGeometry());
}

// A configuration event of the unit that comes while the operator's Apply runs is handled once
// the Apply is over, in the order it came: it never changes what the Apply writes.
void TestSettingsMenu::unitEventsWaitForTheMenusStep()
{
    QVantelSettingsPage *menu = logInToTheDemo();
    QVERIFY(menu);
    f.window->pageActivated(QVantel::SettingsNetwork);
    // LAN2, addressed by hand.
    const int lan2 = kPageEthernetFirst + 1;
    menu->itemClicked(menu->currentPage()->findItem(lan2));
    QCOMPARE(menu->currentPage()->id(), lan2);
    const auto row = [menu](int id) { return menu->currentPage()->findItem(id); };
    QCOMPARE(row(kRowEthernetDns2)->valueText(), QStringLiteral("10.0.0.2"));
    row(kRowEthernetGateway)->setValueText(QStringLiteral("10.0.0.77"));
    menu->itemCommitted(row(kRowEthernetGateway));
    QVERIFY(menu->header()->isModified());

    // The unit reports the interface's configuration just as the Apply starts.
    ksm::CMsg event(ksm::CMsg::Event);
    event.setParam("event_type", "config info");
    event.setParam("network", "eth.1");
    event.setParam("mode", "manual");
    event.setParam("local_addr", "10.0.0.40");
    event.setParam("subnet", "255.0.0.0");
    event.setParam("gateway", "10.0.0.99");
    event.setParam("dns1", "10.0.0.1");
    event.setParam("dns2", "10.0.0.9");
    f.window->messageReceived(RpcMessage::signal(event));
    QString dnsAtTheWrite;
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection = connect(f.fake.get(),
                          &FakeQuorix::requestReceived,
                          this,
                          [&, connection](const FakeRequest &request) {
                              if (!request.isSetOf(QStringLiteral("gateway")))
                                  return;
                              disconnect(*connection);
                              dnsAtTheWrite = row(kRowEthernetDns2)->valueText();
                          });
    menu->applyClicked();

    FakeRequest write;
    QVERIFY(f.fake->waitForRequest(
        [](const FakeRequest &r) { return r.isSetOf(QStringLiteral("gateway")); }, 5000, &write));
    QCOMPARE(write.value(QStringLiteral("gateway")), QStringLiteral("10.0.0.77"));
    QCOMPARE(write.network(), QStringLiteral("eth.1"));
    // The event waited for the Apply; then the page followed it.
    QCOMPARE(dnsAtTheWrite, QStringLiteral("10.0.0.2"));
    QTRY_COMPARE(row(kRowEthernetDns2)->valueText(), QStringLiteral("10.0.0.9"));
    QCOMPARE(f.window->deferredMessageCount(), 0);
}

QTEST_MAIN(TestSettingsMenu)
#include "tst_settingsmenu.moc"
