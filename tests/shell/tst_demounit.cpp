// The README's way of trying the program: the real fake-quorix executable, started as a
// process, and the real main window, through connect, login, the device loading, a call and
// the level meters.

#include "dialogscript.h"

#include "frontpanel/qvantelbanner.h"
#include "frontpanel/qvantelconnectionpage.h"
#include "frontpanel/qvantelloginpage.h"
#include "frontpanel/qvantelmainpage.h"
#include "frontpanel/qvantelwindow.h"
#include "link/ccom.h"
#include "link/comclient.h"
#include "link/sharedobjects.h"
#include "model/accesslevel.h"
#include "model/comdevice.h"
#include "model/comravennacontroller.h"
#include "settings/qvantelsettingspage.h"
#include "settings/settingsids.h"
#include "shell/applicationdirectory.h"
#include "shell/configuration.h"
#include "shell/connectdevicedialog.h"
#include "shell/quorix.h"
#include "widgets/qvantelbars.h"
#include "widgets/qvantelbutton.h"
#include "widgets/qvantelconninfo.h"
#include "widgets/qvantelconnpanel.h"
#include "widgets/qvantelmenuentries.h"
#include "widgets/qvantelmenuentry.h"
#include "widgets/qvantelmenuheader.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuitems.h"
#include "widgets/qvantelmessage.h"
#include "widgets/qvantelstatuspanel.h"
#include "widgets/qvantelswitch.h"
#include "widgets/qvantelvirtual.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUdpSocket>
#include <QtTest>

namespace {

// The passwords the README gives for the demo unit, by level (operator, expert, administrator).
const QString kPasswords[]
    = {QStringLiteral("operator"), QStringLiteral("expert"), QStringLiteral("admin")};

// Loading the device takes a few synchronous reads; generous for the sanitizer build.
constexpr int kLoadMs = 20000;

quint16 freeUdpPort()
{
    QUdpSocket probe;
    if (!probe.bind(QHostAddress::AnyIPv4, 0))
        return 0;
    return probe.localPort();
}

} // namespace

class TestDemoUnit : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void logInAtEachLevel_data();
    void logInAtEachLevel();
    void callDialledAndHungUp();
    void aoipModulePagesOpen();
    void lan2EventCrossingAWrite();

private:
    // Starts fake-quorix on a free port, with the given FAKE_QUORIX_* variables, opens the main
    // window and connects through the Connect dialog as the README says.
    void startAndConnect(const QList<std::pair<QString, QString>> &switches = {});
    // Chooses a level on the login page, presses "Log in" and answers the password keyboard.
    void logIn(int level, const QString &password);
    QVantelWindow *panel() const { return m_window->frontPanel(); }
    QString message() const
    {
        QVantelMessage *popup = panel()->messagePopup();
        return popup ? popup->text() : QString();
    }
    QLabel *statusLabel() const
    {
        return m_window->findChild<QLabel *>(QStringLiteral("statusLabel"));
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QProcess> m_fake;
    std::unique_ptr<Quorix> m_window;
    quint16 m_port = 0;
};

void TestDemoUnit::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    setApplicationDirectory(m_dir->path());
    Configuration configuration(m_dir->filePath(QStringLiteral("Tallydesk.xml")));
    configuration.baseDatagramPort = freeUdpPort();
    QVERIFY(configuration.baseDatagramPort > 0);
    QVERIFY(configuration.writeConfiguration());
}

void TestDemoUnit::cleanup()
{
    m_window.reset();
    destroySharedObjects();
    if (m_fake) {
        m_fake->kill();
        m_fake->waitForFinished(5000);
        m_fake.reset();
    }
    setApplicationDirectory(QString());
}

void TestDemoUnit::startAndConnect(const QList<std::pair<QString, QString>> &switches)
{
    m_fake = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const auto &[name, value] : switches)
        environment.insert(name, value);
    m_fake->setProcessEnvironment(environment);
    m_fake->setProgram(QStringLiteral(TALLYDESK_FAKE_QUORIX));
    m_fake->setArguments(
        {QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--quiet")});
    m_fake->start();
    QVERIFY2(m_fake->waitForStarted(5000), qPrintable(m_fake->errorString()));
    // It names the port it listens on in its first line.
    const QRegularExpression listening(QStringLiteral("listening on 127\\.0\\.0\\.1:(\\d+)"));
    QRegularExpressionMatch match;
    QTRY_VERIFY_WITH_TIMEOUT(
        (match = listening.match(QString::fromLatin1(m_fake->peek(4096)))).hasMatch(), 10000);
    m_port = quint16(match.captured(1).toUInt());
    QVERIFY(m_port > 0);

    m_window = std::make_unique<Quorix>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));

    DialogScript script;
    const quint16 port = m_port;
    script.then([port](QDialog &dialog) {
        auto *form = qobject_cast<ConnectDeviceDialog *>(&dialog);
        if (!form)
            return int(QDialog::Rejected);
        form->addressEdit()->setText(QStringLiteral("127.0.0.1"));
        form->portEdit()->setText(QString::number(port));
        return int(QDialog::Accepted);
    });
    m_window->findChild<QAction *>(QStringLiteral("connectAction"))->trigger();
    QVERIFY(script.allUsed());
    QTRY_COMPARE_WITH_TIMEOUT(
        statusLabel()->text(), QStringLiteral("Connected to device <127.0.0.1>"), 10000);
    QCOMPARE(panel()->currentPage(), int(QVantel::LoginPage));
}

void TestDemoUnit::logIn(int level, const QString &password)
{
    QVantelLoginPage *login = panel()->loginPage();
    QTest::mouseClick(login->levelSwitch(level), Qt::LeftButton);
    QTest::mouseClick(login->loginButton(), Qt::LeftButton);
    // Every level of the demo unit has a password.
    QTRY_VERIFY(login->keyboard());
    QVantelVirtual *keyboard = login->keyboard();
    QCOMPARE(keyboard->titleLabel()->text(), QStringLiteral("Enter Password"));
    keyboard->lineEdit()->setText(password);
    QTest::mouseClick(keyboard->key(31), Qt::LeftButton);
}

void TestDemoUnit::logInAtEachLevel_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<bool>("right");
    const char *names[] = {"operator", "expert", "administrator"};
    for (int level = 0; level < 3; ++level) {
        QTest::addRow("%s, right password", names[level]) << level << true;
        QTest::addRow("%s, wrong password", names[level]) << level << false;
    }
}

void TestDemoUnit::logInAtEachLevel()
{
    QFETCH(int, level);
    QFETCH(bool, right);
    startAndConnect();
    if (QTest::currentTestFailed())
        return;

    // Another level's password does not open this one.
    const QString typed = right ? kPasswords[level] : kPasswords[(level + 1) % 3];
    logIn(level, typed);
    if (!right) {
        QTRY_COMPARE(message(), QStringLiteral("Wrong password!"));
        QCOMPARE(panel()->currentPage(), int(QVantel::LoginPage));
        return;
    }

    QTRY_COMPARE(panel()->currentPage(), int(QVantel::MainPage));
    QCOMPARE(int(accessLevel), level);
    // The device loads completely: the banner names the network and the coding.
    QTRY_VERIFY_WITH_TIMEOUT(comDevice()->loaded(), kLoadMs);
    QVantelBanner *banner = panel()->mainPage()->banner();
    QTRY_COMPARE_WITH_TIMEOUT(banner->record(1).interfaceText, QStringLiteral("Ethernet"), kLoadMs);
    QVERIFY(!banner->record(1).codingText.isEmpty());
    QVERIFY(!banner->record(1).codingText.contains(QLatin1String("Invalid")));
    QVERIFY(message().isEmpty());

    // The level meters move: datagrams from the unit reach the main page's transmit bars.
    auto *status = panel()->mainPage()->findChild<QVantelStatusPanel *>();
    QVERIFY(status);
    QVantelBars *bars = status->bars(1, false);
    QVERIFY(bars);
    const int first = bars->level(0);
    QTRY_VERIFY_WITH_TIMEOUT(bars->level(0) != first, 10000);
}

void TestDemoUnit::callDialledAndHungUp()
{
    startAndConnect();
    if (QTest::currentTestFailed())
        return;
    logIn(0, kPasswords[0]);
    QTRY_COMPARE(panel()->currentPage(), int(QVantel::MainPage));
    QTRY_VERIFY_WITH_TIMEOUT(comDevice()->loaded(), kLoadMs);

    // The phone button below the panel opens the connection page.
    QTest::mouseClick(m_window->findChild<QVantelButton *>(QStringLiteral("phoneButton")),
                      Qt::LeftButton);
    QTRY_COMPARE(panel()->currentPage(), int(QVantel::ConnectionPage));
    QVantelConnectionPage *page = panel()->connectionPage();
    QVantelConnPanel *link1 = page->panel(1);

    link1->dialButton()->click();
    auto *keyboard = qobject_cast<QVantelVirtual *>(page->openPopup());
    QVERIFY(keyboard);
    keyboard->lineEdit()->setText(QStringLiteral("10.0.0.9"));
    keyboard->key(31)->click();
    QTRY_VERIFY(!page->openPopup());

    // A tap on the tile dials; the unit proceeds, answers and synchronises.
    QTest::mouseClick(link1->connInfo(), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(
        link1->stateLabel()->text(), QStringLiteral("Call established (synchronized)"), 10000);
    QCOMPARE(page->statusPanel()->linkState(1), 4);
    QCOMPARE(link1->connInfo()->addressLabel()->text(), QStringLiteral("10.0.0.9"));

    // Hanging up asks first; the unit releases the call and the link is idle again.
    QTest::mouseClick(link1->connInfo(), Qt::LeftButton);
    auto *question = qobject_cast<QVantelMessage *>(page->openPopup());
    QVERIFY(question);
    QCOMPARE(question->text(), QStringLiteral("Are you sure you want to hang up?"));
    question->okButton()->click();
    QTRY_COMPARE_WITH_TIMEOUT(
        link1->stateLabel()->text(), QStringLiteral("Call released (normal clearing)"), 10000);
    QTRY_VERIFY(!comDevice()->audioConnection(1));
    QCOMPARE(page->statusPanel()->linkState(1), 2);
}

void TestDemoUnit::aoipModulePagesOpen()
{
    startAndConnect();
    if (QTest::currentTestFailed())
        return;
    logIn(2, kPasswords[2]);
    QTRY_COMPARE(panel()->currentPage(), int(QVantel::MainPage));
    QTRY_VERIFY_WITH_TIMEOUT(comDevice()->loaded(), kLoadMs);
    // The window starts the module's controller once the audio settings show the module.
    QTRY_VERIFY_WITH_TIMEOUT(ravennaController()->state() != TComController::StateUnknown, kLoadMs);

    QTest::mouseClick(m_window->findChild<QVantelButton *>(QStringLiteral("settingsButton")),
                      Qt::LeftButton);
    auto *menu = qobject_cast<QVantelSettingsPage *>(panel()->settingsPage());
    QVERIFY(menu);
    QTRY_COMPARE(panel()->currentPage(), int(QVantel::SettingsPage));
    QVantelMenuEntries *entries = menu->entries();
    entries->childClicked(entries->findEntry(kPageAudio)->titleLabel());
    QLabel *title = menu->header()->titleLabel();
    QCOMPARE(title->text(), QStringLiteral("Audio"));

    // Each tap opens the next page and names it in the header after the pages it came through.
    const struct
    {
        int row;
        const char *title;
    } steps[] = {{123, "Audio > RAVENNA"},
                 {137, "Audio > RAVENNA > Input Streams"},
                 {138, "Audio > RAVENNA > Input Streams > Input Stream 1"}};
    for (const auto &step : steps) {
        QVantelMenuItem *row = menu->currentPage()->findItem(step.row);
        QVERIFY2(row && !row->isReadOnly(), qPrintable(QString::number(step.row)));
        menu->itemClicked(row);
        QCOMPARE(menu->currentPage()->id(), step.row);
        QCOMPARE(title->text(), QString::fromUtf8(step.title));
    }
}

// Network, LAN2 settings, against a unit that reports LAN2's Default Gateway and Auxiliary DNS,
// and nothing else, just before it takes a write, and answers the write late: the event comes
// while the write waits and is handled after the Apply. The row written keeps the value the unit
// took, the row the event names and the write left alone follows the unit, the rows it does not
// name keep theirs, and nothing is marked; the page read again shows the same.
void TestDemoUnit::lan2EventCrossingAWrite()
{
    startAndConnect(
        {{QStringLiteral("FAKE_QUORIX_CONFIG_EVENT"), QStringLiteral("write")},
         {QStringLiteral("FAKE_QUORIX_CONFIG_EVENT_KEYS"), QStringLiteral("gateway,dns2")},
         {QStringLiteral("FAKE_QUORIX_WRITE_DELAY"), QStringLiteral("1500")}});
    if (QTest::currentTestFailed())
        return;
    logIn(2, kPasswords[2]);
    QTRY_COMPARE(panel()->currentPage(), int(QVantel::MainPage));
    QTRY_VERIFY_WITH_TIMEOUT(comDevice()->loaded(), kLoadMs);

    QTest::mouseClick(m_window->findChild<QVantelButton *>(QStringLiteral("settingsButton")),
                      Qt::LeftButton);
    auto *menu = qobject_cast<QVantelSettingsPage *>(panel()->settingsPage());
    QVERIFY(menu);
    QTRY_COMPARE(panel()->currentPage(), int(QVantel::SettingsPage));
    QVantelMenuEntries *entries = menu->entries();
    entries->childClicked(entries->findEntry(kPageNetwork)->titleLabel());
    const auto openLan2 = [menu] {
        QVantelMenuItem *lan2 = menu->currentPage()->findItem(kPageEthernetFirst + 1);
        QVERIFY(lan2 && !lan2->isReadOnly());
        menu->itemClicked(lan2);
        QCOMPARE(menu->currentPage()->id(), kPageEthernetFirst + 1);
    };
    openLan2();
    if (QTest::currentTestFailed())
        return;
    const auto shown = [menu](int rowId) {
        QVantelMenuItem *row = menu->currentPage()->findItem(rowId);
        return row ? row->valueText() : QStringLiteral("(no row)");
    };
    QCOMPARE(shown(kRowEthernetGateway), QStringLiteral("10.0.0.1"));
    QCOMPARE(shown(kRowEthernetDns2), QStringLiteral("10.0.0.2"));

    QVantelMenuItem *gateway = menu->currentPage()->findItem(kRowEthernetGateway);
    QVERIFY(!gateway->isReadOnly());
    gateway->setValueText(QStringLiteral("10.0.0.77"));
    menu->currentPage()->commitItem(gateway);
    QVERIFY(menu->header()->isModified());
    QTest::mouseClick(menu->header()->applyIcon(), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(shown(kRowEthernetDns2), QStringLiteral("10.0.0.98"), 10000);
    QCOMPARE(shown(kRowEthernetGateway), QStringLiteral("10.0.0.77"));
    QCOMPARE(shown(kRowEthernetSubnet), QStringLiteral("255.0.0.0"));
    QCOMPARE(shown(kRowEthernetDns1), QStringLiteral("10.0.0.1"));
    QVERIFY(!menu->header()->isModified());

    menu->backClicked();
    QCOMPARE(menu->currentPage()->id(), kPageNetwork);
    openLan2();
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(shown(kRowEthernetGateway), QStringLiteral("10.0.0.77"));
    QCOMPARE(shown(kRowEthernetDns2), QStringLiteral("10.0.0.98"));
    QCOMPARE(shown(kRowEthernetSubnet), QStringLiteral("255.0.0.0"));
}

QTEST_MAIN(TestDemoUnit)
#include "tst_demounit.moc"
