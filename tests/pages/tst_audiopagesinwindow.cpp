#include "frontpanel/qvantelwindow.h"
#include "link/cmsg.h"
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

#include <QTest>

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

QTEST_MAIN(TestAudioPagesInWindow)
#include "tst_audiopagesinwindow.moc"
