#include "tests/frontpanel/windowfixture.h"

#include "frontpanel/qvantelbasepage.h"
#include "frontpanel/qvantelmainpage.h"
#include "model/audiosettings.h"
#include "model/comdevice.h"
#include "model/comravennacontroller.h"
#include "model/comrequest.h"
#include "model/matrixsettings.h"
#include "widgets/qvantelbars.h"
#include "widgets/qvantelevent.h"
#include "widgets/qvantelnetquality.h"
#include "widgets/qvantelstatuspanel.h"
#include "widgets/qvantelswitch.h"

#include <QElapsedTimer>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {

bool isGetOf(const FakeRequest &request, const char *name)
{
    return request.isGetOf(QLatin1String(name));
}

// The slots the recording pages were built for, in order, and whether the model's change signals
// were blocked at the time.
QList<int> builtSlots;
QList<bool> builtBlocked;

template<int Slot>
QWidget *recordingPage(QVantelWindow *window)
{
    builtSlots << Slot;
    builtBlocked << (matrixSettings()->signalsBlocked() && audioSettings()->signalsBlocked());
    return new QWidget(window);
}

void registerRecordingPages()
{
    builtSlots.clear();
    builtBlocked.clear();
    QVantelWindow::setPageFactory(QVantel::AudioPage, &recordingPage<QVantel::AudioPage>);
    QVantelWindow::setPageFactory(QVantel::Headphone2Page, &recordingPage<QVantel::Headphone2Page>);
    QVantelWindow::setPageFactory(QVantel::AudioInputPage, &recordingPage<QVantel::AudioInputPage>);
}

QVantelStatusPanel *panelOf(QWidget *page)
{
    auto *basePage = qobject_cast<QVantelBasePage *>(page);
    return basePage ? basePage->statusPanel() : nullptr;
}

} // namespace

class TestQVantelWindow : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();

    void loginAtEachLevel_data();
    void loginAtEachLevel();
    void loginRefused_data();
    void loginRefused();
    void firmwareVersionAtLogin_data();
    void firmwareVersionAtLogin();
    void loginSwitchesShowCurrentLevel();
    void loginWithoutTabName();
    void initialisationAfterLogin();
    void initialisationByFirmware_data();
    void initialisationByFirmware();
    void keepAliveAndItsFailure();
    void levelReportsReachTheStatusPanel();
    void infoAndEventDispatch();
    void deferredMessagesWaitForSynchronousCall();
    void idleMessagesHandledInOrder();
    void reinitDuringSetupRunsAfterIt();
    void lateListsLeaveTheEventLoopBetweenPasses();
    void linkDropMidSession();
    void passwordPromptOutlivesLink();
    void statusRefreshFromModel();
    void pageNavigation_data();
    void pageNavigation();
    void forwardedKeys();
    void pagesNeedConnection();
    void messagePopupReplacesText();
    void pagesFollowTheFirstFrame();
    void pagesBuiltWhenAskedFor();

private:
    // Logs in at Operator without password and waits until the device model is loaded.
    void loginAndLoad();

    WindowFixture f;
};

void TestQVantelWindow::cleanup()
{
    f.stop();
}

void TestQVantelWindow::loginAndLoad()
{
    QVERIFY(f.start());
    f.pressLogin(0);
    QCOMPARE(f.window->currentPage(), int(QVantel::MainPage));
    QTRY_VERIFY_WITH_TIMEOUT(comDevice()->loaded(), 10000);
}

void TestQVantelWindow::loginAtEachLevel_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<QString>("stored"); // the level's password on the device
    QTest::addColumn<QString>("typed");  // null: no keyboard answer (Cancel when one opens)
    QTest::addColumn<bool>("admitted");
    QTest::addColumn<QString>("message");

    QTest::newRow("operator without password") << 0 << QString() << QString() << true << QString();
    QTest::newRow("expert, right password")
        << 1 << QStringLiteral("Ex!1") << QStringLiteral("Ex!1") << true << QString();
    QTest::newRow("administrator, right password")
        << 2 << QStringLiteral("root pw") << QStringLiteral("root pw") << true << QString();
    QTest::newRow("administrator, wrong password")
        << 2 << QStringLiteral("root pw") << QStringLiteral("Root pw") << false
        << QStringLiteral("Wrong password!");
    QTest::newRow("expert, blank is no match")
        << 1 << QStringLiteral("Ex!1") << QStringLiteral("Ex!1 ") << false
        << QStringLiteral("Wrong password!");
    QTest::newRow("expert, keyboard cancelled")
        << 1 << QStringLiteral("Ex!1") << QString() << false << QString();
}

void TestQVantelWindow::loginAtEachLevel()
{
    QFETCH(int, level);
    QFETCH(QString, stored);
    QFETCH(QString, typed);
    QFETCH(bool, admitted);
    QFETCH(QString, message);

    QVERIFY(f.start());
    f.setPasswords(level == 2 ? stored : QString(),
                   level == 1 ? stored : QString(),
                   level == 0 ? stored : QString());
    QSignalSpy logins(f.window.get(), &QVantelWindow::loginClicked);

    f.pressLogin(level);
    if (stored.isEmpty()) {
        QVERIFY(!f.loginPage()->keyboard());
    } else {
        QVERIFY(f.loginPage()->keyboard());
        QCOMPARE(f.loginPage()->keyboard()->lineEdit()->echoMode(), QLineEdit::Password);
        QVERIFY(f.answerKeyboard(typed));
    }

    QCOMPARE(f.message(), message);
    if (admitted) {
        QCOMPARE(int(accessLevel), level);
        QCOMPARE(f.window->currentPage(), int(QVantel::MainPage));
        QCOMPARE(logins.count(), 1);
        QCOMPARE(logins.at(0).at(0).toString(), QStringLiteral("Studio A"));
        QVERIFY(f.window->setupTimer()->isActive());
    } else {
        QCOMPARE(int(accessLevel), 0);
        QCOMPARE(f.window->currentPage(), int(QVantel::LoginPage));
        QCOMPARE(logins.count(), 0);
        QVERIFY(!f.window->setupTimer()->isActive());
    }
}

void TestQVantelWindow::loginRefused_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("message");

    QTest::newRow("not connected") << QStringLiteral("offline") << QStringLiteral("Not connected!");
    QTest::newRow("not a Quorix") << QStringLiteral("device")
                                  << QStringLiteral("Remote device is not\na Quorix!");
    // The status bar says "Connected to device" in the cases below: the message names the cause.
    QTest::newRow("type and version refused")
        << QStringLiteral("version")
        << QStringLiteral("The unit refuses to send\nits type and version!");
    QTest::newRow("passwords refused")
        << QStringLiteral("password_el")
        << QStringLiteral("The unit refuses to send\nits passwords!");
    QTest::newRow("unit does not answer")
        << QStringLiteral("silent") << QStringLiteral("The unit does not answer!");
    QTest::newRow("unit falls silent after a part of its answer")
        << QStringLiteral("progress") << QStringLiteral("The unit does not answer!");
    QTest::newRow("link lost during the read")
        << QStringLiteral("drop") << QStringLiteral("Not connected!");
}

void TestQVantelWindow::loginRefused()
{
    QFETCH(QString, fault);
    QFETCH(QString, message);

    QVERIFY(f.start(fault != QLatin1String("offline")));
    f.setPasswords({}, {}, {});
    if (fault == QLatin1String("device")) {
        f.fake->setValue(
            QStringLiteral("device"), QStringLiteral("vantel2"), QStringLiteral("general"));
    } else if (fault == QLatin1String("silent") || fault == QLatin1String("progress")) {
        if (fault == QLatin1String("silent")) {
            f.fake->setSilent(true);
        } else {
            f.fake->setReplyHook([](const FakeRequest &request) {
                FakeMessage part(FakeMessage::Param);
                part.set(QStringLiteral("device"), QStringLiteral("vantel"));
                part.set(QStringLiteral("return"), QStringLiteral("PROGRESS"));
                return request.isGetOf(QStringLiteral("device"))
                           ? std::optional<QList<FakeReply>>({FakeReply::reply(part)})
                           : std::nullopt;
            });
        }
        // The shortest wait the client knows, checked at a short tick.
        comDevice()->setReadTimeoutMs(1000);
        comClient()->setTickInterval(50);
    } else if (fault == QLatin1String("drop")) {
        f.fake->setReplyHook([](const FakeRequest &request) {
            return request.isGetOf(QStringLiteral("device"))
                       ? std::optional<QList<FakeReply>>({FakeReply::drop()})
                       : std::nullopt;
        });
    } else if (fault != QLatin1String("offline")) {
        f.fake->refuseKey(fault, QStringLiteral("015-not allowed"));
    }
    firmwareVersion = 0x010203;
    QSignalSpy logins(f.window.get(), &QVantelWindow::loginClicked);

    f.pressLogin(1);
    QCOMPARE(f.message(), message);
    QCOMPARE(int(accessLevel), 0);
    QCOMPARE(f.window->currentPage(), int(QVantel::LoginPage));
    QCOMPARE(logins.count(), 0);
    QVERIFY(!f.loginPage()->keyboard());
    if (fault == QLatin1String("device"))
        QCOMPARE(firmwareVersion, 0x010203u);
}

void TestQVantelWindow::firmwareVersionAtLogin_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<quint32>("packed");
    QTest::addColumn<bool>("warned");

    QTest::newRow("same major and minor") << QStringLiteral("2.00.7") << 0x020007u << false;
    QTest::newRow("newer minor") << QStringLiteral("2.01.0") << 0x020100u << true;
    QTest::newRow("older") << QStringLiteral("1.15.0") << 0x010F00u << false;
    QTest::newRow("no version") << QString() << 0xFFFFFFu << false;
}

void TestQVantelWindow::firmwareVersionAtLogin()
{
    QFETCH(QString, version);
    QFETCH(quint32, packed);
    QFETCH(bool, warned);

    QVERIFY(f.start());
    f.fake->setValue(QStringLiteral("version"), version, QStringLiteral("general"));
    firmwareVersion = 0x010000;
    f.pressLogin(0);
    QCOMPARE(firmwareVersion, packed);
    QCOMPARE(f.message().startsWith(QLatin1String("Newer firmware detected on this\nunit (Version ")
                                    + version + QLatin1Char(')')),
             warned);
    // The warning does not stop the login.
    QCOMPARE(f.window->currentPage(), int(QVantel::MainPage));
}

void TestQVantelWindow::loginSwitchesShowCurrentLevel()
{
    QVERIFY(f.start());
    accessLevel = AccessLevel::Expert;
    f.loginPage()->hide();
    f.loginPage()->show();
    for (int level = 0; level < 3; ++level) {
        QCOMPARE(f.loginPage()->levelSwitch(level)->isChecked(), level == 1);
        QCOMPARE(f.loginPage()->levelSwitch(level)->isEnabled(), level != 1);
        // Held on, not locked: the chosen level keeps its live look.
        QVERIFY(!f.loginPage()->levelSwitch(level)->isDimmedWhenDisabled());
    }
    QTest::mouseClick(f.loginPage()->levelSwitch(2), Qt::LeftButton);
    QCOMPARE(f.loginPage()->chosenLevel(), 2);
    QVERIFY(!f.loginPage()->levelSwitch(2)->isEnabled());
    QVERIFY(f.loginPage()->levelSwitch(1)->isEnabled());
    QVERIFY(!f.loginPage()->levelSwitch(1)->isChecked());
}

void TestQVantelWindow::loginWithoutTabName()
{
    QVERIFY(f.start());
    f.fake->removeValue(QStringLiteral("tabname"), QStringLiteral("db"), QStringLiteral("web"));
    QSignalSpy logins(f.window.get(), &QVantelWindow::loginClicked);
    f.pressLogin(0);
    QCOMPARE(logins.count(), 1);
    QVERIFY(logins.at(0).at(0).toString().isEmpty());
    QCOMPARE(f.window->currentPage(), int(QVantel::MainPage));
}

void TestQVantelWindow::initialisationAfterLogin()
{
    loginAndLoad();
    // Passwords, the tab name, the model's refresh, then the front panel's own requests.
    FakeRequest tabName;
    QVERIFY(f.fake->waitForRequest(
        [](const FakeRequest &r) { return isGetOf(r, "tabname"); }, 5000, &tabName));
    QCOMPARE(tabName.target(), QStringLiteral("db"));
    QCOMPARE(tabName.value(QStringLiteral("cat")), QStringLiteral("ui"));
    QCOMPARE(tabName.value(QStringLiteral("type")), QStringLiteral("vn_frontpanel"));
    QCOMPARE(tabName.value(QStringLiteral("controller_id")), QStringLiteral("web"));
    QVERIFY(f.received([](const FakeRequest &r) {
        return r.isCommand(QStringLiteral("subscribe"))
               && r.value(QStringLiteral("info")) == QLatin1String("remote_numbers");
    }));
    FakeRequest numbers;
    QVERIFY(f.fake->waitForRequest(
        [](const FakeRequest &r) { return isGetOf(r, "remote_aoip1"); }, 5000, &numbers));
    QCOMPARE(numbers.target(), QStringLiteral("ui"));
    QCOMPARE(numbers.value(QStringLiteral("ui")), QStringLiteral("vn_frontpanel"));
    QCOMPARE(numbers.gets().size(), 9); // firmware 2.0: the relays too
    QVERIFY(f.received([](const FakeRequest &r) { return isGetOf(r, "rec_status"); }));
    QVERIFY(f.received([](const FakeRequest &r) {
        return r.isCommand(QStringLiteral("request"))
               && r.value(QStringLiteral("event_type")) == QLatin1String("comm_events");
    }));
    QCOMPARE(f.fake->levelPort(), quint16(1));
    QCOMPARE(f.fake->levelPeriod(), 150);
    QTRY_COMPARE(audioSettings()->state(), int(TComController::StateReady));
    QTRY_COMPARE(matrixSettings()->state(), int(TComController::StateReady));
    // Passwords are read at the login and again when initialisation starts.
    QVERIFY(f.countOf([](const FakeRequest &r) { return isGetOf(r, "password_al"); }) >= 2);

    // Later passes find nothing to do: one refresh, one front-panel set-up.
    const int setups = f.countOf([](const FakeRequest &r) { return isGetOf(r, "remote_aoip1"); });
    QTest::qWait(3 * f.window->timing().setupIntervalMs);
    QCOMPARE(f.countOf([](const FakeRequest &r) { return isGetOf(r, "remote_aoip1"); }), setups);
    QCOMPARE(setups, 1);
}

void TestQVantelWindow::initialisationByFirmware_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<int>("remoteNames"); // the remote numbers, and from 1.10 the relays
    QTest::addColumn<QStringList>("ravennaKeys");

    const QString name = QStringLiteral("rav_device_name");
    const QString hardware = QStringLiteral("rav_hardware_rev");
    const QString maker = QStringLiteral("rav_manufacturer");
    const QString hardwareName = QStringLiteral("rav_hardware_name");
    QTest::newRow("1.6") << QStringLiteral("1.6.4") << 5 << QStringList{name, hardware};
    QTest::newRow("1.9") << QStringLiteral("1.9.2") << 5
                         << QStringList{maker, hardwareName, name, hardware};
    QTest::newRow("1.10")
        << QStringLiteral("1.10.0") << 9
        << QStringList{maker, hardwareName, QStringLiteral("rav_if_count"), name, hardware};
}

void TestQVantelWindow::initialisationByFirmware()
{
    QFETCH(QString, version);
    QFETCH(int, remoteNames);
    QFETCH(QStringList, ravennaKeys);

    QVERIFY(f.start());
    const QString general = QStringLiteral("general");
    f.fake->setValue(QStringLiteral("version"), version, general);
    f.fake->setList(QStringLiteral("device_opts"),
                    {QStringLiteral("record_1"), QStringLiteral("ravenna")},
                    general);
    const QString audio = QStringLiteral("audio");
    f.fake->setValue(QStringLiteral("auxiliary_board"), QStringLiteral("yes"), audio);
    f.fake->setValue(QStringLiteral("rav_firmware_rev"), QStringLiteral("4.2"), audio);
    f.pressLogin(0);

    FakeRequest numbers;
    QVERIFY(f.fake->waitForRequest(
        [](const FakeRequest &r) { return isGetOf(r, "remote_aoip1"); }, 10000, &numbers));
    QCOMPARE(numbers.gets().size(), remoteNames);
    // The module's start read, then the details this firmware knows.
    FakeRequest details;
    QVERIFY(f.fake->waitForRequest(
        [](const FakeRequest &r) { return isGetOf(r, "rav_device_name"); }, 10000, &details));
    QCOMPARE(details.gets(), ravennaKeys);
    QTRY_COMPARE(ravennaController()->state(), int(TComController::StateReady));
}

void TestQVantelWindow::keepAliveAndItsFailure()
{
    loginAndLoad();
    QTRY_VERIFY(f.window->keepAliveTimer()->isActive());
    const auto probes = [this] {
        return f.countOf(
            [](const FakeRequest &r) { return r.isListOf(QStringLiteral("network")); });
    };
    const int before = probes();
    QTRY_VERIFY_WITH_TIMEOUT(probes() > before, 5000);
    QVERIFY(comClient()->state() == RpcConnection::Connected);

    // A failed probe cuts the link and connects again to the same address and ports.
    QSignalSpy disconnections(f.fake.get(), &FakeQuorix::clientDisconnected);
    QSignalSpy connections(f.fake.get(), &FakeQuorix::clientConnected);
    f.fake->refuseKey(QStringLiteral("network"), QStringLiteral("200-unknown error"));
    QTRY_VERIFY_WITH_TIMEOUT(disconnections.count() >= 1, 5000);
    QTRY_VERIFY_WITH_TIMEOUT(connections.count() >= 1, 5000);
    QCOMPARE(comClient()->tcpPort(), f.fake->port());
    QCOMPARE(comClient()->datagramPort(), quint16(1));
    // The reconnection restarts the initialisation without a new login; the probe timer waits
    // for the next full refresh, which the refused network list now prevents.
    QTRY_VERIFY_WITH_TIMEOUT(comClient()->state() == RpcConnection::Connected, 5000);
    QCOMPARE(f.window->currentPage(), int(QVantel::MainPage));
    QTRY_VERIFY(f.window->setupTimer()->isActive());
    QVERIFY(!f.window->keepAliveTimer()->isActive());
}

void TestQVantelWindow::levelReportsReachTheStatusPanel()
{
    QVERIFY(f.start());
    // On the login page, which has no status strip, reports are ignored.
    f.pressLogin(0);
    QTRY_VERIFY_WITH_TIMEOUT(f.fake->levelPort() == 1, 10000);
    QVantelStatusPanel *panel = panelOf(f.window->page(QVantel::MainPage));
    QVERIFY(panel);

    QVERIFY(f.fake->sendLevels({{QStringLiteral("txL"), QStringLiteral("5")},
                                {QStringLiteral("txR"), QStringLiteral("6")},
                                {QStringLiteral("rxL"), QStringLiteral("7")},
                                {QStringLiteral("rxR"), QStringLiteral("8")},
                                {QStringLiteral("ou1"), QStringLiteral("9")},
                                {QStringLiteral("in3"), QStringLiteral("12")}}));
    QTRY_COMPARE(f.window->cachedLevels()[QVantelWindow::TxLeft], 5);
    const auto &levels = f.window->cachedLevels();
    QCOMPARE(levels[QVantelWindow::TxRight], 6);
    QCOMPARE(levels[QVantelWindow::RxLeft], 7);
    QCOMPARE(levels[QVantelWindow::RxRight], 8);
    QCOMPARE(levels[QVantelWindow::Output1], 9);
    QCOMPARE(levels[QVantelWindow::Output2], QVantelWindow::kNoLevel);
    // Input meters are read only while the audio page shows.
    QCOMPARE(levels[QVantelWindow::Input1 + 2], QVantelWindow::kNoLevel);
    // Programme bars: txL and ou1 (transmit), rxL and ou2 (receive); coordination: txR, rxR.
    QCOMPARE(panel->bars(1, false)->level(0), 5);
    QCOMPARE(panel->bars(1, false)->level(1), 9);
    QCOMPARE(panel->bars(2, false)->level(0), 6);
    QCOMPARE(panel->bars(1, true)->level(0), 7);
    QCOMPARE(panel->bars(2, true)->level(0), 8);

    // A report without "txL" reads it as 0.
    QVERIFY(f.fake->sendLevels({{QStringLiteral("txR"), QStringLiteral("3")}}));
    QTRY_COMPARE(f.window->cachedLevels()[QVantelWindow::TxRight], 3);
    QCOMPARE(f.window->cachedLevels()[QVantelWindow::TxLeft], 0);
    QCOMPARE(f.window->cachedLevels()[QVantelWindow::Output1], QVantelWindow::kNoLevel);

    f.window->pageActivated(QVantel::AudioPage);
    QVERIFY(f.fake->sendLevels({{QStringLiteral("in3"), QStringLiteral("12")}}));
    QTRY_COMPARE(f.window->cachedLevels()[QVantelWindow::Input1 + 2], 12);
}

void TestQVantelWindow::infoAndEventDispatch()
{
    loginAndLoad();
    QVantelStatusPanel *panel = panelOf(f.window->page(QVantel::MainPage));

    // INFO into the device model, and the status strip follows.
    QVERIFY(f.fake->pushInfo(QStringLiteral("battery_level"),
                             {{QStringLiteral("level"), QStringLiteral("64")}}));
    QTRY_COMPARE(comDevice()->batteryLevel(), 64);
    QTRY_COMPARE(panel->batteryLevel(), 64);

    // The recorder's state drives the sound-ID indicator.
    QVERIFY(f.fake->pushEvent(QStringLiteral("rec_status"),
                              {{QStringLiteral("state"), QStringLiteral("play")}}));
    QTRY_COMPARE(f.window->soundIdPlayerState(), 0);
    QCOMPARE(panel->soundIdState(), 1);
    QVERIFY(f.fake->pushEvent(QStringLiteral("rec_status"),
                              {{QStringLiteral("state"), QStringLiteral("recording")}}));
    QVERIFY(f.fake->pushEvent(QStringLiteral("rec_status"),
                              {{QStringLiteral("state"), QStringLiteral("stopped")}}));
    QTRY_COMPARE(f.window->soundIdPlayerState(), -1);
    QCOMPARE(panel->soundIdState(), 0);

    // System messages go to the popup; a second one replaces the text.
    QVERIFY(f.fake->pushEvent(QStringLiteral("display"), {{QStringLiteral("message"), QString()}}));
    QVERIFY(f.fake->pushEvent(QStringLiteral("rebooting")));
    QTRY_COMPARE(f.message(), QStringLiteral("System is restarting..."));
    QVERIFY(f.fake->pushEvent(QStringLiteral("display"),
                              {{QStringLiteral("message"), QStringLiteral("Hello")}}));
    QTRY_COMPARE(f.message(), QStringLiteral("Hello"));
    QVERIFY(f.fake->pushInfo(QStringLiteral("audio_changeset"),
                             {{QStringLiteral("info_source"), QStringLiteral("bklyn.0")},
                              {QStringLiteral("system_update"), QStringLiteral("1")},
                              {QStringLiteral("progress"), QStringLiteral("40")}}));
    QTRY_COMPARE(
        f.message(),
        QStringLiteral(
            "AES67 module update...\n\nUploading firmware 40%\n\nDo not turn off the unit!"));
    QTRY_COMPARE(f.window->deferredMessageCount(), 0);
}

void TestQVantelWindow::deferredMessagesWaitForSynchronousCall()
{
    loginAndLoad();
    QTRY_COMPARE(f.window->deferredMessageCount(), 0);
    // Record whether each handling ran inside a synchronous call.
    QList<bool> handledWhileBusy;
    QList<int> levels;
    QObject context;
    connect(
        comDevice(), &TComDevice::deviceStateChanged, &context, [&](TComDevice::DeviceState state) {
            if (state == TComDevice::BatteryLevelState) {
                handledWhileBusy << !comClient()->isReady();
                levels << comDevice()->batteryLevel();
            }
        });

    // One message from the device, and one handed to the window directly while the call
    // waits, as a message the transport released at that moment would be.
    f.fake->setReplyDelay(300);
    QTimer::singleShot(50, &context, [this] {
        f.fake->pushInfo(QStringLiteral("battery_level"),
                         {{QStringLiteral("level"), QStringLiteral("10")}});
    });
    QTimer::singleShot(100, &context, [this] {
        ksm::CMsg info(ksm::CMsg::Info);
        info.setParam("info_type", "battery_level");
        info.setParam("level", "20");
        f.window->messageReceived(RpcMessage::signal(info));
    });
    bool queuedDuringCall = false;
    QTimer::singleShot(200, &context, [&] {
        queuedDuringCall = f.window->deferredMessageCount() >= 1 && levels.isEmpty();
    });
    TComRequest request(comClient());
    ksm::CMsg query(ksm::CMsg::Param);
    query.setParam("target", "general");
    query.addGet("device");
    std::string value;
    QVERIFY(request.getParam(query, value, 5000));
    f.fake->setReplyDelay(0);

    QVERIFY(queuedDuringCall);
    QTRY_COMPARE(levels.size(), 2);
    QCOMPARE(comDevice()->batteryLevel(), levels.last());
    QCOMPARE(handledWhileBusy, (QList<bool>{false, false}));
    QCOMPARE(f.window->deferredMessageCount(), 0);
}

void TestQVantelWindow::idleMessagesHandledInOrder()
{
    loginAndLoad();
    QTRY_COMPARE(f.window->deferredMessageCount(), 0);
    QList<int> levels;
    QObject context;
    connect(
        comDevice(), &TComDevice::deviceStateChanged, &context, [&](TComDevice::DeviceState state) {
            if (state == TComDevice::BatteryLevelState)
                levels << comDevice()->batteryLevel();
        });
    for (const char *level : {"31", "32", "33"})
        QVERIFY(f.fake->pushInfo(QStringLiteral("battery_level"),
                                 {{QStringLiteral("level"), QLatin1String(level)}}));
    QTRY_COMPARE(levels, (QList<int>{31, 32, 33}));
}

void TestQVantelWindow::reinitDuringSetupRunsAfterIt()
{
    QVERIFY(f.start());
    // Slow answers keep the set-up in its synchronous calls while a "reinit" arrives and the
    // set-up timer fires.
    QObject context;
    bool pushed = false;
    connect(f.fake.get(), &FakeQuorix::requestReceived, &context, [&](const FakeRequest &r) {
        if (!pushed && r.isListOf(QStringLiteral("network"))) {
            pushed = true;
            f.fake->pushEvent(QStringLiteral("reinit"));
        }
        // The first set-up's last request: the rest needs no slowness.
        if (r.value(QStringLiteral("event_type")) == QLatin1String("comm_events"))
            f.fake->setReplyDelay(0);
    });
    f.fake->setReplyDelay(150);
    f.window->setTiming({10, 100, 400});
    f.pressLogin(0);
    QVERIFY(pushed);
    // The reinit reset the model and ran the set-up again, after the first one.
    QTRY_VERIFY_WITH_TIMEOUT(f.countOf([](const FakeRequest &r) {
        return r.isListOf(QStringLiteral("device_opts"));
    }) >= 2,
                             30000);
    QTRY_VERIFY_WITH_TIMEOUT(comDevice()->loaded(), 30000);
    // The second refresh began only after the first set-up had sent its last request.
    const QList<FakeRequest> log = f.fake->requests();
    int firstSetupEnd = -1;
    int secondRefresh = -1;
    int refreshes = 0;
    for (int i = 0; i < log.size(); ++i) {
        if (firstSetupEnd < 0
            && log.at(i).value(QStringLiteral("event_type")) == QLatin1String("comm_events"))
            firstSetupEnd = i;
        if (log.at(i).isListOf(QStringLiteral("device_opts")) && ++refreshes == 2)
            secondRefresh = i;
    }
    QVERIFY(firstSetupEnd >= 0);
    QVERIFY(secondRefresh > firstSetupEnd);
    QTRY_COMPARE(f.window->deferredMessageCount(), 0);
    // Passwords: login, initialisation, reinit.
    QVERIFY(f.countOf([](const FakeRequest &r) { return isGetOf(r, "password_al"); }) >= 3);
}

// A unit whose list of networks fails only after the set-up interval has passed, as a list
// answered after the give-up does: every pass of the set-up outlasts the interval. A tick that
// comes while another call waits must not start passes that follow each other without end: the
// program comes back to its event loop after each pass, and the next pass follows a whole
// interval after the last one ended.
void TestQVantelWindow::lateListsLeaveTheEventLoopBetweenPasses()
{
    constexpr int kReplyDelayMs = 200;
    constexpr int kIntervalMs = 300;
    QVERIFY(f.start());
    bool failing = true;
    f.fake->setReplyHook([&failing](const FakeRequest &request) -> std::optional<QList<FakeReply>> {
        if (failing && request.isListOf(QStringLiteral("network")))
            return QList<FakeReply>{FakeReply::errorReply(-5)};
        return std::nullopt;
    });
    // When each request of the set-up's refresh came, in milliseconds from the login.
    QElapsedTimer clock;
    QList<std::pair<bool, qint64>> refreshRequests; // true: the list of networks
    QObject context;
    connect(f.fake.get(), &FakeQuorix::requestReceived, &context, [&](const FakeRequest &r) {
        if (r.isListOf(QStringLiteral("device_opts")) || r.isListOf(QStringLiteral("network")))
            refreshRequests.append({r.isListOf(QStringLiteral("network")), clock.elapsed()});
    });
    f.fake->setReplyDelay(kReplyDelayMs);
    f.window->setTiming({10, kIntervalMs, 60000});
    clock.start();
    f.pressLogin(0);
    QCOMPARE(f.window->currentPage(), int(QVantel::MainPage));
    QVERIFY(f.window->setupTimer()->isActive());
    // Another task's reads, long enough for a set-up tick to come while one of them waits.
    for (int read = 0; read < 3; ++read) {
        ksm::CMsg request(ksm::CMsg::Param);
        request.setParam("target", "general");
        request.addGet("device");
        ksm::CMsg reply;
        QCOMPARE(comClient()->sendSyncMsg(request, reply, 0, 5000), 0);
    }
    // Should the passes follow each other without end, a unit that answers again ends them, so
    // that the test fails instead of hanging.
    QTimer::singleShot(2500, f.fake.get(), [this, &failing] {
        failing = false;
        f.fake->setReplyDelay(0);
    });
    QTRY_VERIFY_WITH_TIMEOUT(comDevice()->loaded(), 15000);
    // Each pass ended when its list of networks failed, a reply delay after it was asked for;
    // the next began with the list of options, not before a whole interval later.
    int gaps = 0;
    for (int i = 1; i < refreshRequests.size(); ++i) {
        if (!refreshRequests.at(i - 1).first || refreshRequests.at(i).first)
            continue;
        const qint64 gap = refreshRequests.at(i).second - refreshRequests.at(i - 1).second;
        QVERIFY2(gap >= kReplyDelayMs + kIntervalMs - 50,
                 qPrintable(QStringLiteral("a pass began %1 ms after the last").arg(gap)));
        ++gaps;
    }
    QVERIFY(gaps >= 2);
}

void TestQVantelWindow::linkDropMidSession()
{
    loginAndLoad();
    f.setPasswords(QStringLiteral("adm"), {}, {});
    auto *settings = qobject_cast<QVantelSettingsPage *>(f.window->settingsPage());
    QVERIFY(settings->loadPasswords());
    QCOMPARE(settings->password(2), QStringLiteral("adm"));
    QVERIFY(f.fake->sendLevels({{QStringLiteral("txL"), QStringLiteral("4")}}));
    QTRY_COMPARE(f.window->cachedLevels()[QVantelWindow::TxLeft], 4);
    QTRY_VERIFY(f.window->keepAliveTimer()->isActive());

    f.fake->close();
    f.fake->dropClient();
    QTRY_VERIFY(comClient()->state() != RpcConnection::Connected);
    QVERIFY(!f.window->setupTimer()->isActive());
    QVERIFY(!f.window->keepAliveTimer()->isActive());
    QCOMPARE(f.window->cachedLevels()[QVantelWindow::TxLeft], QVantelWindow::kNoLevel);
    QCOMPARE(f.window->deferredMessageCount(), 0);
    QVERIFY(!comDevice()->loaded());
    QCOMPARE(audioSettings()->state(), int(TComController::StateUnknown));
    QVERIFY(settings->password(2).isEmpty());
    // The page stays; the status falls back to no network and idle links.
    QCOMPARE(f.window->currentPage(), int(QVantel::MainPage));
    QVantelStatusPanel *panel = panelOf(f.window->page(QVantel::MainPage));
    QCOMPARE(panel->networkType(), 0xFFFF);
    QCOMPARE(panel->linkState(1), 0);
    QCOMPARE(panel->linkState(2), 0);
    QCOMPARE(panel->bars(1, false)->level(0), panel->bars(1, false)->maximum());

    // The main window returns to the login page; other pages need the link.
    f.window->pageActivated(QVantel::LoginPage);
    QCOMPARE(f.window->currentPage(), int(QVantel::LoginPage));
    QCOMPARE(f.window->shownPage(), int(QVantel::LoginPage));
    f.window->pageActivated(QVantel::MainPage);
    QCOMPARE(f.window->currentPage(), int(QVantel::LoginPage));
}

void TestQVantelWindow::passwordPromptOutlivesLink()
{
    QVERIFY(f.start());
    f.setPasswords({}, QStringLiteral("Ex"), {});
    f.pressLogin(1);
    QVERIFY(f.loginPage()->keyboard());
    // The link drops while the prompt is open: the cached password is gone with it, and an
    // empty entry must not pass as a match.
    f.fake->close();
    f.fake->dropClient();
    QTRY_VERIFY(comClient()->state() != RpcConnection::Connected);
    QVERIFY(f.answerKeyboard(QStringLiteral("")));
    QCOMPARE(f.message(), QStringLiteral("Not connected!"));
    QCOMPARE(int(accessLevel), 0);
    QCOMPARE(f.window->currentPage(), int(QVantel::LoginPage));
}

void TestQVantelWindow::statusRefreshFromModel()
{
    loginAndLoad();
    QVantelStatusPanel *panel = panelOf(f.window->page(QVantel::MainPage));
    // Ethernet default network, no call: link 1 idle without remembered address, link 2 unused
    // in single-codec mode.
    QTRY_COMPARE(panel->networkType(), 0x100);
    QCOMPARE(panel->linkState(1), 1);
    QCOMPARE(panel->linkState(2), 0);
    QVERIFY(!panel->isLinkEnabled(1));
    QCOMPARE(panel->qualityGauge(1, false)->quality(), 100);

    // A registration of SIP account 1 on an IP link.
    QVERIFY(f.fake->pushInfo(QStringLiteral("sip_registration"),
                             {{QStringLiteral("sip_state"), QStringLiteral("registered")}}));
    QTRY_COMPARE(f.window->sipState(1), 1);
    QTRY_COMPARE(panel->sipState(1), 1);
    QCOMPARE(f.window->sipState(2), 0);
    QVERIFY(
        f.fake->pushInfo(QStringLiteral("sip_registration2"),
                         {{QStringLiteral("sip_state2"), QStringLiteral("failed")},
                          {QStringLiteral("sip_state_cause2"), QStringLiteral("403-forbidden")}}));
    QTRY_COMPARE(f.window->sipState(2), 3);

    // A call being set up on link 1.
    QVERIFY(f.fake->pushEvent(QStringLiteral("0100-call proceeding"),
                              {{QStringLiteral("id"), QStringLiteral("7")},
                               {QStringLiteral("network"), QStringLiteral("eth.0")},
                               {QStringLiteral("comm_link"), QStringLiteral("audio")}}));
    QTRY_VERIFY(comDevice()->audioConnection(1));
    f.window->refreshCurrentPage(QVantel::MainPage);
    QCOMPARE(panel->linkState(1), 3);
    QVERIFY(!panel->isLinkEnabled(1));

    // The recorder's short-cut shows as state 2 on the main page only.
    QVERIFY(audioSettings()->setWaveScut(true, false));
    f.window->refreshCurrentPage(QVantel::MainPage);
    QCOMPARE(panel->soundIdState(), 2);
    f.window->pageActivated(QVantel::AudioPage);
    QCOMPARE(panelOf(f.window->page(QVantel::AudioPage))->soundIdState(), 0);
}

void TestQVantelWindow::pageNavigation_data()
{
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QList<int>>("pages"); // the page after each key

    const int phone = 0x105;
    const int headphone = 0x101;
    QTest::newRow("phone, headphone, phone, phone") << QList<int>{phone, headphone, phone, phone}
                                                    << QList<int>{QVantel::ConnectionPage,
                                                                  QVantel::Headphone1Page,
                                                                  QVantel::ConnectionPage,
                                                                  QVantel::MainPage};
    QTest::newRow("headphone twice") << QList<int>{headphone, headphone}
                                     << QList<int>{QVantel::Headphone1Page, QVantel::MainPage};
    QTest::newRow("headphone, phone, headphone, headphone")
        << QList<int>{headphone, phone, headphone, headphone}
        << QList<int>{QVantel::Headphone1Page,
                      QVantel::ConnectionPage,
                      QVantel::Headphone1Page,
                      QVantel::MainPage};
    QTest::newRow("other keys do nothing")
        << QList<int>{int(Qt::Key_A), 0x102} << QList<int>{QVantel::MainPage, QVantel::MainPage};
}

void TestQVantelWindow::pageNavigation()
{
    QFETCH(QList<int>, keys);
    QFETCH(QList<int>, pages);

    QVERIFY(f.start());
    // On the login page keys do nothing.
    QKeyEvent ignored(QEvent::KeyPress, 0x105, Qt::NoModifier);
    QCoreApplication::sendEvent(f.window.get(), &ignored);
    QCOMPARE(f.window->currentPage(), int(QVantel::LoginPage));

    f.pressLogin(0);
    QCOMPARE(f.window->currentPage(), int(QVantel::MainPage));
    for (int i = 0; i < keys.size(); ++i) {
        QKeyEvent press(QEvent::KeyPress, keys.at(i), Qt::NoModifier);
        QKeyEvent release(QEvent::KeyRelease, keys.at(i), Qt::NoModifier);
        QCoreApplication::sendEvent(f.window.get(), &press);
        QCoreApplication::sendEvent(f.window.get(), &release);
        QCOMPARE(f.window->currentPage(), pages.at(i));
        QCOMPARE(f.window->shownPage(), pages.at(i));
    }
}

void TestQVantelWindow::forwardedKeys()
{
    QVERIFY(f.start());
    f.pressLogin(0);
    // A phone key forwarded by a popup is ignored; the same key from a control switches pages.
    QCoreApplication::postEvent(f.window.get(), new QVantelEvent(QVantelEvent::KeyPress, 0x105, 0));
    QCoreApplication::sendPostedEvents(f.window.get(), QVantelEvent::kType);
    QCOMPARE(f.window->currentPage(), int(QVantel::MainPage));
    QCoreApplication::postEvent(f.window.get(), new QVantelEvent(QVantelEvent::KeyPress, 0x105, 1));
    QCoreApplication::sendPostedEvents(f.window.get(), QVantelEvent::kType);
    QCOMPARE(f.window->currentPage(), int(QVantel::ConnectionPage));
    // A device-message notice that finds the queue empty does nothing.
    QCoreApplication::postEvent(f.window.get(),
                                new QVantelEvent(QVantelEvent::DeviceMessage, -1, 0));
    QCoreApplication::sendPostedEvents(f.window.get(), QVantelEvent::kType);
    QCOMPARE(f.window->currentPage(), int(QVantel::ConnectionPage));
}

void TestQVantelWindow::pagesNeedConnection()
{
    QVERIFY(f.start(false));
    QVERIFY(comClient()->connect(QStringLiteral("127.0.0.1"), f.fake->port(), 1));
    // Connecting: nothing but the login page can be shown.
    f.window->pageActivated(QVantel::AudioPage);
    QCOMPARE(f.window->currentPage(), int(QVantel::LoginPage));
    QTRY_VERIFY(comClient()->state() == RpcConnection::Connected);
    // The connected state on the login page starts nothing; the login does.
    QTest::qWait(50);
    QVERIFY(!f.window->setupTimer()->isActive());

    f.pressLogin(0);
    QVantelStatusPanel *panel = panelOf(f.window->page(QVantel::AudioPage));
    f.window->pageActivated(QVantel::AudioPage);
    QCOMPARE(f.window->shownPage(), int(QVantel::AudioPage));
    // Showing a page pushes the status into it; the same page again pushes nothing.
    QCOMPARE(panel->codecMode(), comDevice()->currentAudioRouting());
    panel->setBatteryLevel(-7);
    f.window->pageActivated(QVantel::AudioPage);
    QCOMPARE(panel->batteryLevel(), -7);
    // Empty slots and a settings menu with no section opened yet do nothing; a section opens it.
    f.window->pageActivated(QVantel::AudioInputPage);
    f.window->pageActivated(QVantel::SettingsPage);
    QCOMPARE(f.window->currentPage(), int(QVantel::AudioPage));
    f.window->pageActivated(QVantel::SettingsNetwork);
    QCOMPARE(f.window->currentPage(), int(QVantel::SettingsPage));
    // The settings menu asks for pages through its signal.
    emit f.window->settingsPage()->pageActivated(QVantel::ConnectionPage);
    QCOMPARE(f.window->currentPage(), int(QVantel::ConnectionPage));
}

void TestQVantelWindow::messagePopupReplacesText()
{
    QVERIFY(f.start());
    f.window->showMessagePopup(QStringLiteral("one"), 0);
    QVantelMessage *first = f.window->messagePopup();
    QVERIFY(first);
    f.window->showMessagePopup(QStringLiteral("two"), 0);
    QCOMPARE(f.window->messagePopup(), first);
    QCOMPARE(first->text(), QStringLiteral("two"));
    f.closeMessage();
    QVERIFY(!f.window->messagePopup());
}

void TestQVantelWindow::pagesFollowTheFirstFrame()
{
    QVERIFY(f.start(false));
    registerRecordingPages();
    // The first frame shows the login page alone; the rest follow it in slot order, each built
    // while the model keeps its change signals to itself.
    QVantelWindow window;
    QCOMPARE(window.findChildren<QVantelLoginPage *>().size(), 1);
    QVERIFY(window.findChildren<QVantelMainPage *>().isEmpty());
    QVERIFY(builtSlots.isEmpty());
    window.show();
    QTRY_COMPARE(
        builtSlots,
        (QList<int>{QVantel::AudioPage, QVantel::AudioInputPage, QVantel::Headphone2Page}));
    QCOMPARE(builtBlocked, (QList<bool>{true, true, true}));
    QVERIFY(!matrixSettings()->signalsBlocked());
    QVERIFY(!audioSettings()->signalsBlocked());
    QCOMPARE(window.findChildren<QVantelMainPage *>().size(), 1);
    QCOMPARE(window.shownPage(), int(QVantel::LoginPage));
    QVERIFY(window.settings());
    // Built once only.
    QTest::qWait(20);
    QCOMPARE(builtSlots.size(), 3);
}

void TestQVantelWindow::pagesBuiltWhenAskedFor()
{
    QVERIFY(f.start(false));
    registerRecordingPages();
    {
        // A window that goes before it was shown builds none of its pages.
        QVantelWindow unseen;
    }
    QVERIFY(builtSlots.isEmpty());
    // Asking for any page before the first frame builds them all at once.
    QVantelWindow window;
    QVERIFY(window.page(QVantel::Headphone2Page));
    QCOMPARE(builtSlots,
             (QList<int>{QVantel::AudioPage, QVantel::AudioInputPage, QVantel::Headphone2Page}));
    QVERIFY(window.mainPage());
    QVERIFY(window.connectionPage());
    QCOMPARE(builtSlots.size(), 3);
    // The factories registered when the window was made build its pages, not later ones.
    QVantelWindow early;
    QVantelWindow::setPageFactory(QVantel::AudioPage, nullptr);
    builtSlots.clear();
    QVERIFY(early.page(QVantel::AudioPage));
    QCOMPARE(builtSlots.first(), int(QVantel::AudioPage));
}

QTEST_MAIN(TestQVantelWindow)
#include "tst_qvantelwindow.moc"
