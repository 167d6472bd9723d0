// The headphone pages in the front-panel window, logged in to the demo unit in the standard
// operation mode: a login leaves the unit's headphone mixes as they are, apart from the hidden
// PROGRAM and COORD strips, which start at 0 dB on no ear; a second login writes nothing.

#include "frontpanel/qvantelloginpage.h"
#include "frontpanel/qvantelwindow.h"
#include "link/ccom.h"
#include "link/comclient.h"
#include "link/sharedobjects.h"
#include "model/accesslevel.h"
#include "model/audiosettings.h"
#include "model/comdevice.h"
#include "model/firmwareversion.h"
#include "model/matrixsettings.h"
#include "pages/pageregistration.h"
#include "pages/qvantelheadphone1page.h"
#include "pages/qvantelheadphone4page.h"
#include "settings/qvantelsettingspage.h"
#include "tests/support/demounit.h"
#include "tests/support/fakematrixdemo.h"
#include "tests/support/fakequorix.h"
#include "widgets/qvantelaudiobutton.h"
#include "widgets/qvantelaudioinput.h"
#include "widgets/qvantelbutton.h"
#include "widgets/qvantelswitch.h"
#include "widgets/qvantelvirtual.h"

#include <QLineEdit>
#include <QTest>

#include <memory>

namespace {

const QString kAudio = QStringLiteral("audio");

QString mixKey(int headphone)
{
    return QStringLiteral("matrix_hp%1").arg(headphone + 1);
}

} // namespace

class TestHeadphoneMixesAtLogin : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void loginLeavesTheMixesAlone();

private:
    // Connects, logs in as Operator and waits until the audio controller is ready.
    void logIn();
    void logOut();

    std::unique_ptr<FakeQuorix> m_fake;
    std::unique_ptr<QVantelWindow> m_window;
};

void TestHeadphoneMixesAtLogin::init()
{
    firmwareVersion = kFirmwareVersionUnknown;
    m_fake = std::make_unique<FakeQuorix>();
    installDemoUnit(*m_fake);
    QVERIFY(m_fake->listen());
    registerPages();
    // The window reads the unit's passwords through the settings page.
    QVantelSettingsPage::registerPage();
    m_window = std::make_unique<QVantelWindow>();
    m_window->setTiming({10, 400, 15000});
    m_window->show();
}

void TestHeadphoneMixesAtLogin::cleanup()
{
    m_window.reset();
    destroySharedObjects();
    m_fake.reset();
    for (int page = 1; page < QVantelWindow::kPageCount; ++page)
        QVantelWindow::setPageFactory(QVantel::Page(page), nullptr);
    firmwareVersion = kFirmwareVersionUnknown;
    accessLevel = AccessLevel::Operator;
}

void TestHeadphoneMixesAtLogin::logIn()
{
    QVERIFY(comClient()->connect(QStringLiteral("127.0.0.1"), m_fake->port(), 1));
    QTRY_VERIFY_WITH_TIMEOUT(comClient()->state() == RpcConnection::Connected, 15000);
    QVantelLoginPage *login = m_window->loginPage();
    login->switchClicked(0);
    login->loginButton()->click();
    QVantelVirtual *keyboard = login->keyboard();
    QVERIFY(keyboard);
    keyboard->lineEdit()->setText(QStringLiteral("operator"));
    keyboard->key(31)->click();
    QCOMPARE(m_window->currentPage(), int(QVantel::MainPage));
    QTRY_COMPARE_WITH_TIMEOUT(audioSettings()->state(), int(TComController::StateReady), 20000);
    QCOMPARE(matrixSettings()->state(), int(TComController::StateReady));
}

void TestHeadphoneMixesAtLogin::logOut()
{
    comClient()->disconnect();
    QTRY_VERIFY(comClient()->state() == RpcConnection::Unconnected);
    m_window->pageActivated(QVantel::LoginPage);
}

void TestHeadphoneMixesAtLogin::loginLeavesTheMixesAlone()
{
    std::array<QString, 4> rows;
    for (int h = 0; h < 4; ++h)
        rows[size_t(h)] = m_fake->value(mixKey(h), kAudio);

    logIn();
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(comDevice()->operationMode(), 0);
    for (const FakeRequest &request : m_fake->requests()) {
        for (int h = 0; h < 4; ++h) {
            if (!request.isSetOf(mixKey(h)))
                continue;
            const QString row = request.value(mixKey(h));
            QCOMPARE(row.size(), rows[size_t(h)].size());
            for (int input : changedMixInputs(h, rows[size_t(h)], row)) {
                QVERIFY2(input == 20 || input == 21,
                         qPrintable(QStringLiteral("%1 changes input %2: %3 to %4")
                                        .arg(mixKey(h))
                                        .arg(input)
                                        .arg(rows[size_t(h)], row)));
            }
            rows[size_t(h)] = row;
        }
    }

    // Headphone 1 keeps COORD RETURN at -3 dB on the left ear; its position shows that.
    auto *first = qobject_cast<QVantelHeadphone1Page *>(m_window->page(QVantel::Headphone1Page));
    QVERIFY(first);
    QCOMPARE(matrixSettings()->node(13, 2).gain, -3.0F);
    QVantelAudioButton *coordReturn = first->positionButton(4);
    QCOMPARE(coordReturn->input(), 13);
    QCOMPARE(coordReturn->gain(), -3);
    QCOMPARE(coordReturn->panning(), int(QVantel::PanLeft));
    // Headphone 4 follows headphone 1: only headphone 1's microphone (INPUT 1) can be turned.
    auto *fourth = qobject_cast<QVantelHeadphone4Page *>(m_window->page(QVantel::Headphone4Page));
    QVERIFY(fourth);
    QVERIFY(fourth->followSwitch(1)->isChecked());
    QCOMPARE(matrixSettings()->copySource(8), 2);
    QList<int> live;
    int locked = 0;
    for (const auto &[input, strip] : fourth->strips()) {
        if (strip->state() == 0)
            live << input;
        else if (strip->state() == 1)
            ++locked;
    }
    QCOMPARE(live, QList<int>{0});
    QVERIFY(locked > 0);

    // The unit now holds what the pages start from: the next login writes no mix at all.
    logOut();
    m_fake->clearLog();
    logIn();
    if (QTest::currentTestFailed())
        return;
    QStringList written;
    for (const FakeRequest &request : m_fake->requests()) {
        for (int h = 0; h < 4; ++h) {
            if (request.isSetOf(mixKey(h)))
                written << mixKey(h) + QLatin1Char('=') + request.value(mixKey(h));
        }
    }
    QCOMPARE(written, QStringList());
}

QTEST_MAIN(TestHeadphoneMixesAtLogin)
#include "tst_headphonemixesatlogin.moc"
