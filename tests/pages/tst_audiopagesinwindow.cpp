#include "frontpanel/qvantelwindow.h"
#include "link/ccom.h"
#include "link/cmsg.h"
#include "link/comclient.h"
#include "link/rpcmessage.h"
#include "pages/pageregistration.h"
#include "pages/qvantelaudioauxiliarypage.h"
#include "pages/qvantelaudioinputpage.h"
#include "pages/qvantelaudiooutputpage.h"
#include "pages/qvantelaudiopage.h"
#include "tests/pages/pagefixture.h"
#include "widgets/qvantelbars.h"
#include "widgets/qvantelbutton.h"
#include "widgets/qvantelknob.h"
#include "widgets/qvantelswitch.h"

#include <QTest>
#include <QWheelEvent>
#include <QtTest/qtestspontaneevent.h>

#include <memory>

// The audio pages as the front-panel window builds them: registered, navigated between, and a
// knob turned on the shown page reaching the unit.
class TestAudioPagesInWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void pagesAreBuiltAndNavigated();
    void aTurnedKnobReachesTheUnit();
    void levelReportsReachTheMeters();
    void controlsTouchedInOneWaitAreAllCarriedOut_data();
    void controlsTouchedInOneWaitAreAllCarriedOut();
    void switchesTappedInOneWaitAreAllCarriedOut();

private:
    PageFixture m_fixture;
    std::unique_ptr<QVantelWindow> m_window;
};

void TestAudioPagesInWindow::init()
{
    QVERIFY(m_fixture.start());
    registerPages();
    m_window = std::make_unique<QVantelWindow>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestAudioPagesInWindow::cleanup()
{
    m_window.reset();
    for (int page = QVantel::AudioPage; page < QVantelWindow::kPageCount; ++page)
        QVantelWindow::setPageFactory(QVantel::Page(page), nullptr);
    m_fixture.stop();
}

void TestAudioPagesInWindow::pagesAreBuiltAndNavigated()
{
    QVERIFY(qobject_cast<QVantelAudioPage *>(m_window->page(QVantel::AudioPage)));
    QVERIFY(qobject_cast<QVantelAudioInputPage *>(m_window->page(QVantel::AudioInputPage)));
    auto *auxiliary
        = qobject_cast<QVantelAudioAuxiliaryPage *>(m_window->page(QVantel::AudioAuxiliaryPage));
    QVERIFY(auxiliary);
    QVERIFY(qobject_cast<QVantelAudioOutputPage *>(m_window->page(QVantel::AudioOutputPage)));

    const auto click = [this](int page, const char *button) {
        auto *widget = m_window->page(page)->findChild<QVantelButton *>(QLatin1String(button));
        QVERIFY2(widget, button);
        QTest::mouseClick(widget, Qt::LeftButton);
    };
    m_window->pageActivated(QVantel::AudioPage);
    QCOMPARE(m_window->shownPage(), int(QVantel::AudioPage));
    click(QVantel::AudioPage, "inputSettingsButton");
    QCOMPARE(m_window->shownPage(), int(QVantel::AudioInputPage));
    click(QVantel::AudioInputPage, "auxSettingsButton");
    QCOMPARE(m_window->shownPage(), int(QVantel::AudioAuxiliaryPage));
    click(QVantel::AudioAuxiliaryPage, "outputSettingsButton");
    QCOMPARE(m_window->shownPage(), int(QVantel::AudioOutputPage));
    click(QVantel::AudioOutputPage, "inputSettingsButton");
    QCOMPARE(m_window->shownPage(), int(QVantel::AudioInputPage));
    click(QVantel::AudioInputPage, "backButton");
    QCOMPARE(m_window->shownPage(), int(QVantel::AudioPage));
    click(QVantel::AudioPage, "homeButton");
    QCOMPARE(m_window->shownPage(), int(QVantel::MainPage));
}

void TestAudioPagesInWindow::aTurnedKnobReachesTheUnit()
{
    m_window->pageActivated(QVantel::AudioPage);
    auto *knob = m_window->page(QVantel::AudioPage)
                     ->findChild<QVantelKnob *>(QStringLiteral("input1Knob"));
    QVERIFY(knob && knob->isVisible());
    m_fixture.fake->clearLog();
    // A tap engages the knob; the plus key turns it one step.
    QTest::mouseClick(knob, Qt::LeftButton);
    QVERIFY(knob->isChecked());
    QTest::keyClick(knob, Qt::Key_Plus);
    QCOMPARE(knob->value(), 1);
    FakeRequest request;
    QVERIFY(m_fixture.fake->waitForRequest(
        [](const FakeRequest &r) { return r.isSetOf(QStringLiteral("input1_gain")); },
        5000,
        &request));
    QCOMPARE(request.value(QStringLiteral("input1_gain")), QString::number(knob->value()));
    QCOMPARE(request.target(), QStringLiteral("audio"));
    QCOMPARE(audioSettings()->input1Gain(), knob->value());
}

void TestAudioPagesInWindow::levelReportsReachTheMeters()
{
    m_window->pageActivated(QVantel::AudioPage);
    auto *page = qobject_cast<QVantelAudioPage *>(m_window->page(QVantel::AudioPage));
    ksm::CMsg levels(ksm::CMsg::Event);
    levels.setParam("event_type", "audio_levels");
    for (int input = 1; input <= 11; ++input) {
        if (input != 5) // AUX 1 missing from the report
            levels.setParam("in" + std::to_string(input), std::to_string(input + 2));
    }
    m_window->messageReceived(RpcMessage::signal(levels));
    const auto &meters = page->meters();
    QCOMPARE(meters.at(0)->level(), 3);
    QCOMPARE(meters.at(8)->level(), 11); // "in9" is USB
    QCOMPARE(meters.at(10)->level(), 13);
    QCOMPARE(meters.at(4)->level(), meters.at(4)->maximum());
}

namespace {

// What the operator does to a control of the panel, as the window system hands it on.
enum class Touch { Tap, WheelUp, Key };

void touch(QWidget *window, QWidget *control, Touch how)
{
    const QPoint local = control->mapTo(window, control->rect().center());
    switch (how) {
    case Touch::Tap:
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, local);
        return;
    case Touch::WheelUp: {
        QWheelEvent wheel(local,
                          window->mapToGlobal(local),
                          QPoint(),
                          QPoint(0, 120),
                          Qt::NoButton,
                          Qt::NoModifier,
                          Qt::NoScrollPhase,
                          false);
        QSpontaneKeyEvent::setSpontaneous(&wheel);
        QCoreApplication::instance()->notify(window->windowHandle(), &wheel);
        return;
    }
    case Touch::Key:
        QTest::keyClick(window->windowHandle(), Qt::Key_Plus);
        return;
    }
}

} // namespace

void TestAudioPagesInWindow::controlsTouchedInOneWaitAreAllCarriedOut_data()
{
    QTest::addColumn<QStringList>("knobs");
    QTest::addColumn<QList<Touch>>("touches"); // for every knob in turn
    QTest::newRow("two knobs, a tap and a wheel step each")
        << QStringList{QStringLiteral("usbKnob"), QStringLiteral("aux1Knob")}
        << QList<Touch>{Touch::Tap, Touch::WheelUp};
    QTest::newRow("three knobs, a tap and a wheel step each")
        << QStringList{QStringLiteral("usbKnob"),
                       QStringLiteral("aux1Knob"),
                       QStringLiteral("input1Knob")}
        << QList<Touch>{Touch::Tap, Touch::WheelUp};
    QTest::newRow("two knobs, a tap and a key each")
        << QStringList{QStringLiteral("usbKnob"), QStringLiteral("aux1Knob")}
        << QList<Touch>{Touch::Tap, Touch::Key};
}

// Several controls touched while the program waits for the unit: each input is carried out
// after the wait, in order, on the control it was aimed at (or dropped and marked): none is lost.
void TestAudioPagesInWindow::controlsTouchedInOneWaitAreAllCarriedOut()
{
    QFETCH(QStringList, knobs);
    QFETCH(QList<Touch>, touches);
    QVERIFY(m_fixture.setDeviceOptions({QStringLiteral("record_1")}));
    PageFixture::matrixRowsReported();
    m_window->pageActivated(QVantel::AudioPage);
    QWidget *page = m_window->page(QVantel::AudioPage);
    QList<QVantelKnob *> turned;
    QList<int> before;
    for (const QString &name : std::as_const(knobs)) {
        auto *knob = page->findChild<QVantelKnob *>(name);
        QVERIFY(knob && knob->isVisible() && knob->isEnabled());
        turned << knob;
        before << knob->value();
    }

    m_fixture.fake->setReplyDelay(100);
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection
        = connect(m_fixture.fake.get(), &FakeQuorix::requestReceived, this, [&, connection] {
              disconnect(*connection);
              for (QVantelKnob *knob : std::as_const(turned)) {
                  for (Touch how : std::as_const(touches))
                      touch(m_window.get(), knob, how);
              }
          });
    ksm::CMsg request(ksm::CMsg::Param);
    request.setParam("target", "general");
    request.addGet("device");
    ksm::CMsg reply;
    QCOMPARE(comClient()->sendSyncMsg(request, reply, 0, 30000), 0);

    // Every knob was engaged and turned one step up.
    for (int i = 0; i < turned.size(); ++i)
        QTRY_COMPARE(turned.at(i)->value(), before.at(i) + 1);
    QVERIFY(!m_window->findChild<QWidget *>(QStringLiteral("droppedInputMark")));
}

void TestAudioPagesInWindow::switchesTappedInOneWaitAreAllCarriedOut()
{
    PageFixture::audioReady();
    m_window->pageActivated(QVantel::AudioInputPage);
    auto *page = qobject_cast<QVantelAudioInputPage *>(m_window->page(QVantel::AudioInputPage));
    QVERIFY(page);
    // Phantom, then Limiter of INPUT 3.
    const QList<QVantelSwitch *> switches{page->switchAt(2, QVantelAudioInputPage::Phantom),
                                          page->switchAt(2, QVantelAudioInputPage::Limiter)};
    QList<bool> before;
    for (QVantelSwitch *toggle : switches) {
        QVERIFY(toggle && toggle->isVisible() && toggle->isEnabled());
        before << toggle->isChecked();
    }

    m_fixture.fake->setReplyDelay(100);
    m_fixture.fake->clearLog();
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection
        = connect(m_fixture.fake.get(), &FakeQuorix::requestReceived, this, [&, connection] {
              disconnect(*connection);
              for (QVantelSwitch *toggle : switches)
                  touch(m_window.get(), toggle, Touch::Tap);
          });
    ksm::CMsg request(ksm::CMsg::Param);
    request.setParam("target", "general");
    request.addGet("device");
    ksm::CMsg reply;
    QCOMPARE(comClient()->sendSyncMsg(request, reply, 0, 30000), 0);

    for (int i = 0; i < switches.size(); ++i)
        QTRY_COMPARE(switches.at(i)->isChecked(), !before.at(i));
    for (const char *key : {"input3_power", "input3_limiter"}) {
        QVERIFY2(m_fixture.fake->waitForRequest(
                     [key](const FakeRequest &r) { return r.isSetOf(QLatin1String(key)); }),
                 key);
    }
    QVERIFY(!m_window->findChild<QWidget *>(QStringLiteral("droppedInputMark")));
}

QTEST_MAIN(TestAudioPagesInWindow)
#include "tst_audiopagesinwindow.moc"
