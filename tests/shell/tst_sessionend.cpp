#include "dialogscript.h"

#include "frontpanel/qvantelloginpage.h"
#include "frontpanel/qvantelwindow.h"
#include "link/ccom.h"
#include "link/comclient.h"
#include "link/sharedobjects.h"
#include "shell/applicationdirectory.h"
#include "shell/configuration.h"
#include "shell/connectdevicedialog.h"
#include "shell/quorix.h"
#include "tests/support/fakequorix.h"
#include "widgets/qvantelbutton.h"
#include "widgets/qvantelmenuwidget.h"
#include "widgets/qvantelmessage.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest/qtestspontaneevent.h>
#include <QtTest>

#include <functional>
#include <memory>

// The operator ends the session (Exit, Disconnect) while the program waits for a slow unit in
// the middle of a run of reads: a page being built, the controllers' set-up, the log-in. Yes to
// Exit ends the program's event loop at once; Yes to Disconnect shows what an idle Disconnect
// shows. Either way the rest of the run is not sent, no page builds on and nothing is said of
// the reads the operator cut.
class TestSessionEnd : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void exitDuringARunOfReadsEndsTheProgram_data();
    void exitDuringARunOfReadsEndsTheProgram();
    void disconnectDuringAPageBuildShowsTheLoginPage();

private:
    // Opens the main window and connects it to the fake through the Connect dialog.
    bool openAndConnect();
    bool logIn();
    // Runs during at the start of the call that follows the first request of the unit's log
    // numbered from (the operator's input is handed on there, between two calls).
    void betweenCallsAfter(int from, const std::function<void()> &during);
    // Answers the question the test expects with Yes, noting in sentAtYes how many requests the
    // unit had then received.
    void answerYes(DialogScript &script, int &sentAtYes) const;
    // Nothing was asked of the unit after the question was answered (sentAtYes requests), and
    // nothing was said of the cut reads: no window but the main one, no message of the panel.
    void checkNothingAfterYes(int sentAtYes);
    // Whether a window of the program other than the main window is shown.
    static QStringList otherWindowsShown(const QWidget *main);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FakeQuorix> m_fake;
    std::unique_ptr<Quorix> m_window;
};

void TestSessionEnd::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    setApplicationDirectory(m_dir->path());
    m_fake = std::make_unique<FakeQuorix>();
    QVERIFY(m_fake->listen());
    const QString general = QStringLiteral("general");
    m_fake->setValue(QStringLiteral("device"), QStringLiteral("vantel"), general);
    m_fake->setValue(QStringLiteral("version"), QStringLiteral("2.00.7"), general);
    const QString network = QStringLiteral("network");
    m_fake->setList(network, {QStringLiteral("eth.0"), QStringLiteral("eth.1")}, network);
    comClient()->setTickInterval(100);
}

void TestSessionEnd::cleanup()
{
    m_window.reset();
    destroySharedObjects();
    m_fake.reset();
    setApplicationDirectory(QString());
}

bool TestSessionEnd::openAndConnect()
{
    m_window = std::make_unique<Quorix>();
    m_window->show();
    if (!QTest::qWaitForWindowExposed(m_window.get()))
        return false;
    DialogScript script;
    const quint16 port = m_fake->port();
    script.then([port](QDialog &dialog) {
        auto *form = qobject_cast<ConnectDeviceDialog *>(&dialog);
        if (!form)
            return int(QDialog::Rejected);
        form->addressEdit()->setText(QStringLiteral("127.0.0.1"));
        form->portEdit()->setText(QString::number(port));
        form->tcpCheckBox()->setChecked(true);
        return int(QDialog::Accepted);
    });
    m_window->findChild<QAction *>(QStringLiteral("connectAction"))->trigger();
    return QTest::qWaitFor([] { return comClient()->state() == RpcConnection::Connected; }, 10000);
}

bool TestSessionEnd::logIn()
{
    QVantelWindow *panel = m_window->frontPanel();
    QTest::mouseClick(panel->loginPage()->loginButton(), Qt::LeftButton);
    return QTest::qWaitFor([panel] { return panel->currentPage() == QVantel::MainPage; }, 10000);
}

void TestSessionEnd::betweenCallsAfter(int from, const std::function<void()> &during)
{
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection = connect(comClient(), &ksm::CCom::callStarting, this, [=] {
        if (m_fake->requests().size() <= from)
            return;
        disconnect(*connection);
        during();
    });
}

void TestSessionEnd::answerYes(DialogScript &script, int &sentAtYes) const
{
    script.then([this, &sentAtYes](QDialog &) {
        sentAtYes = int(m_fake->requests().size());
        return int(QMessageBox::Yes);
    });
}

void TestSessionEnd::checkNothingAfterYes(int sentAtYes)
{
    QCOMPARE(int(m_fake->requests().size()), sentAtYes);
    QCOMPARE(otherWindowsShown(m_window.get()), QStringList());
    QVantelWindow *panel = m_window->frontPanel();
    QVERIFY(!panel->messagePopup());
    QVERIFY(!panel->settingsPage()->message());
}

QStringList TestSessionEnd::otherWindowsShown(const QWidget *main)
{
    QStringList shown;
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (const QWidget *window : windows) {
        if (window != main && window->isVisible())
            shown << QString::fromLatin1(window->metaObject()->className());
    }
    return shown;
}

void TestSessionEnd::exitDuringARunOfReadsEndsTheProgram_data()
{
    QTest::addColumn<QString>("during");
    QTest::addColumn<bool>("quitAsked"); // the program asked to quit, not its window closed
    QTest::newRow("status page built from the main page") << "status" << false;
    QTest::newRow("network section built from the main page") << "network" << false;
    QTest::newRow("controllers set up") << "setup" << false;
    QTest::newRow("log-in") << "login" << false;
    QTest::newRow("status page built, the program asked to quit") << "status" << true;
}

void TestSessionEnd::exitDuringARunOfReadsEndsTheProgram()
{
    QFETCH(QString, during);
    QFETCH(bool, quitAsked);
    QVERIFY(openAndConnect());
    if (during != QLatin1String("login"))
        QVERIFY(logIn());
    QVantelWindow *panel = m_window->frontPanel();
    // Every answer comes late: a run of reads takes long, and the operator closes the window
    // while it goes on.
    m_fake->setReplyDelay(300);
    const int before = int(m_fake->requests().size());
    int sentAtYes = -1;
    DialogScript script;
    answerYes(script, sentAtYes);
    betweenCallsAfter(before, [this, quitAsked] {
        if (quitAsked) {
            QCoreApplication::quit();
            return;
        }
        QCloseEvent close;
        QSpontaneKeyEvent::setSpontaneous(&close);
        QCoreApplication::instance()->notify(m_window->windowHandle(), &close);
    });
    QTimer::singleShot(0, this, [&] {
        if (during == QLatin1String("status"))
            panel->pageActivated(QVantel::SettingsStatus);
        else if (during == QLatin1String("network"))
            panel->pageActivated(QVantel::SettingsNetwork);
        else if (during == QLatin1String("setup"))
            panel->setupControllers();
        else
            QTest::mouseClick(panel->loginPage()->loginButton(), Qt::LeftButton);
    });
    // A program that does not end is stopped here, with another code.
    QTimer::singleShot(60000, this, [] { QCoreApplication::exit(99); });

    QCOMPARE(QCoreApplication::exec(), 0);
    QCOMPARE(script.texts(), QStringList{QStringLiteral("Are you sure to exit?")});
    QVERIFY(sentAtYes > before);
    checkNothingAfterYes(sentAtYes);
}

void TestSessionEnd::disconnectDuringAPageBuildShowsTheLoginPage()
{
    QVERIFY(openAndConnect());
    QVERIFY(logIn());
    QVantelWindow *panel = m_window->frontPanel();
    m_fake->setReplyDelay(300);
    const int before = int(m_fake->requests().size());
    int sentAtYes = -1;
    DialogScript script;
    answerYes(script, sentAtYes);
    // The Disconnect of the menu bar is handed on between two calls of the build.
    betweenCallsAfter(before, [this] {
        m_window->findChild<QAction *>(QStringLiteral("connectAction"))->trigger();
    });
    panel->pageActivated(QVantel::SettingsStatus);

    QCOMPARE(script.texts(), QStringList{QStringLiteral("Are you sure to disconnect?")});
    QVERIFY(sentAtYes > before);
    // As an idle Disconnect: the login page, the idle menus, and nothing else.
    QCOMPARE(panel->currentPage(), int(QVantel::LoginPage));
    QCOMPARE(panel->shownPage(), int(QVantel::LoginPage));
    QCOMPARE(m_window->findChild<QLabel *>(QStringLiteral("statusLabel"))->text(),
             QStringLiteral("No active connection"));
    QCOMPARE(m_window->findChild<QAction *>(QStringLiteral("connectAction"))->text(),
             QStringLiteral("&Connect..."));
    QTest::qWait(100);
    checkNothingAfterYes(sentAtYes);
}

QTEST_MAIN(TestSessionEnd)
#include "tst_sessionend.moc"
