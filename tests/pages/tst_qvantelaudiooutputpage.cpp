#include "pages/qvantelaudiooutputpage.h"

#include "tests/pages/pagefixture.h"
#include "widgets/qvantelknob.h"
#include "widgets/qvantelpair.h"
#include "widgets/qvantelslidesimple.h"
#include "widgets/qvantelswitch.h"

#include <QLabel>
#include <QScrollBar>
#include <QTest>

#include <climits>
#include <memory>

using Page = QVantelAudioOutputPage;

class TestQVantelAudioOutputPage : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void lineLevelSetsTheOutputGain_data();
    void lineLevelSetsTheOutputGain();
    void turningALevelKnobWritesTheLevel();
    void headphone4ColumnAndCompactUnit_data();
    void headphone4ColumnAndCompactUnit();
    void line2RowNeedsBoardAndSharedConnection();
    void rightMembersFollowModeAndPairs_data();
    void rightMembersFollowModeAndPairs();
    void resetViewScrollsToTheTop();
    void nodesMapToTheirSwitches();
    void aoipRowsLockedWithoutTheModule_data();
    void aoipRowsLockedWithoutTheModule();

private:
    PageFixture m_fixture;
    std::unique_ptr<Page> m_page;
};

void TestQVantelAudioOutputPage::init()
{
    QVERIFY(m_fixture.start());
    m_page = std::make_unique<Page>();
    m_page->resetView();
    m_page->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_page.get()));
}

void TestQVantelAudioOutputPage::cleanup()
{
    m_page.reset();
    m_fixture.stop();
}

void TestQVantelAudioOutputPage::lineLevelSetsTheOutputGain_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("shown");
    QTest::addColumn<float>("gain");

    QTest::newRow("16") << 16 << 16 << -6.0F;
    QTest::newRow("22") << 22 << 22 << 0.0F;
    QTest::newRow("4") << 4 << 4 << -18.0F;
    // Out of the knob's range: shown clamped, the gain follows the unit's own value.
    QTest::newRow("30") << 30 << 22 << 8.0F;
    QTest::newRow("0") << 0 << 4 << -22.0F;
    // The ends of an int: the gain is worked out without overflowing.
    QTest::newRow("INT_MIN") << INT_MIN << 4 << float(double(INT_MIN) - 22.0);
    QTest::newRow("INT_MAX") << INT_MAX << 22 << float(double(INT_MAX) - 22.0);
}

void TestQVantelAudioOutputPage::lineLevelSetsTheOutputGain()
{
    QFETCH(int, level);
    QFETCH(int, shown);
    QFETCH(float, gain);

    QVERIFY(audioSettings()->setLineOutputLevel(-1, false));
    QVERIFY(audioSettings()->setLineOutput2Level(-1, false));
    m_fixture.fake->clearLog();
    QVERIFY(audioSettings()->setLineOutputLevel(level, false));
    QCOMPARE(m_page->levelKnob(1)->value(), shown);
    QCOMPARE(matrixSettings()->outputGain(10), gain);
    QVERIFY(audioSettings()->setLineOutput2Level(level, false));
    QCOMPARE(m_page->levelKnob(2)->value(), shown);
    QCOMPARE(matrixSettings()->outputGain(14), gain);
    // Showing the level never writes it back.
    QVERIFY(m_fixture.writesOf(QStringLiteral("line_output_level")).isEmpty());
    QVERIFY(m_fixture.writesOf(QStringLiteral("line_output2_level")).isEmpty());
    QCOMPARE(audioSettings()->lineOutputLevel(), level);
}

void TestQVantelAudioOutputPage::turningALevelKnobWritesTheLevel()
{
    m_fixture.fake->clearLog();
    m_page->levelKnob(1)->setValue(10);
    QCOMPARE(m_fixture.writesOf(QStringLiteral("line_output_level")), QStringList{"10"});
    QCOMPARE(audioSettings()->lineOutputLevel(), 10);
    QCOMPARE(matrixSettings()->outputGain(10), -12.0F);

    QTest::mouseClick(m_page->linePairButton(), Qt::LeftButton);
    QCOMPARE(m_fixture.writesOf(QStringLiteral("line_pair")), QStringList{"on"});
}

void TestQVantelAudioOutputPage::headphone4ColumnAndCompactUnit_data()
{
    QTest::addColumn<quint32>("firmware");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<bool>("headphone4");
    QTest::addColumn<bool>("usb");

    QTest::newRow("1.13.x") << quint32(0x10d05) << QStringList{} << false << true;
    QTest::newRow("1.14.0") << quint32(0x10e00) << QStringList{} << true << true;
    QTest::newRow("1.14.0, compact")
        << quint32(0x10e00) << QStringList{QStringLiteral("hardware_2")} << false << false;
}

void TestQVantelAudioOutputPage::headphone4ColumnAndCompactUnit()
{
    QFETCH(quint32, firmware);
    QFETCH(QStringList, options);
    QFETCH(bool, headphone4);
    QFETCH(bool, usb);

    firmwareVersion = firmware;
    QVERIFY(m_fixture.setDeviceOptions(options));
    PageFixture::refreshed(0);
    QCOMPARE(m_page->switchAt(Page::Line1Row, Page::Headphone4)->isVisible(), headphone4);
    QCOMPARE(m_page->findChild<QLabel *>(QStringLiteral("headphone4Header"))->isVisible(),
             headphone4);
    QCOMPARE(m_page->scrollArea()->width(), headphone4 ? 758 : 652);
    QCOMPARE(m_page->rowLabel(Page::Line1Row)->x(), headphone4 ? 640 : 534);
    QCOMPARE(m_page->rowLabel(Page::UsbRow)->isVisible(), usb);
    QCOMPARE(m_page->switchAt(Page::UsbRow, Page::Program)->isVisible(), usb);

    // The next login shows the full layout again.
    m_page->resetView();
    QVERIFY(m_page->switchAt(Page::Line1Row, Page::Headphone4)->isVisible());
    QVERIFY(m_page->rowLabel(Page::UsbRow)->isVisible());
}

void TestQVantelAudioOutputPage::line2RowNeedsBoardAndSharedConnection()
{
    PageFixture::audioReady();
    QVERIFY(!m_page->rowLabel(Page::Line2Row)->isVisible());

    QVERIFY(audioSettings()->applyParams({{"auxiliary_board", "yes"}}));
    QVERIFY(m_fixture.setDeviceOptions({QStringLiteral("hardware_1")}));
    PageFixture::audioReady();
    QVERIFY(m_page->rowLabel(Page::Line2Row)->isVisible());
    QVERIFY(m_page->levelKnob(2)->isVisible());
    QCOMPARE(m_page->scrollArea()->inner()->height(), 368);
    QCOMPARE(m_page->switchAt(Page::Aoip2Row, Page::Program)->y(), 331);

    // Extended mode with the line pair on: LINE 2 follows LINE 1.
    PageFixture::setOperationMode(1);
    QVERIFY(audioSettings()->setLinePair(true, false));
    QVERIFY(!m_page->levelKnob(2)->isEnabled());
    QVERIFY(!m_page->switchAt(Page::Line2Row, Page::Program)->isEnabled());
    PageFixture::setOperationMode(0);
    QVERIFY(m_page->levelKnob(2)->isEnabled());
}

// Knob 2 and the LINE 2 switches (and the second audio-over-IP row) are locked only while their
// pair is on in the extended mode: a mode change, a login and another unit free them again.
void TestQVantelAudioOutputPage::rightMembersFollowModeAndPairs_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("pairs");
    QTest::addColumn<bool>("login");

    QTest::newRow("mode changed to standard") << 0 << true << false;
    QTest::newRow("login, standard mode, pairs on") << 0 << true << true;
    QTest::newRow("login, extended mode, pairs off") << 1 << false << true;
}

void TestQVantelAudioOutputPage::rightMembersFollowModeAndPairs()
{
    QFETCH(int, mode);
    QFETCH(bool, pairs);
    QFETCH(bool, login);

    QVERIFY(audioSettings()->applyParams({{"auxiliary_board", "yes"}}));
    QVERIFY(m_fixture.setDeviceOptions({QStringLiteral("hardware_1"), QStringLiteral("ravenna")}));
    PageFixture::refreshed(1);
    PageFixture::audioReady();
    QVERIFY(audioSettings()->setLinePair(true, false));
    QVERIFY(audioSettings()->setRavOuPair(true, false));
    const auto rightMembers = [this] {
        QList<QWidget *> controls{m_page->levelKnob(2)};
        for (int row : {Page::Line2Row, Page::Aoip2Row}) {
            for (int column = 0; column < Page::ColumnCount; ++column)
                controls << m_page->switchAt(row, column);
        }
        return controls;
    };
    for (QWidget *control : rightMembers())
        QVERIFY(!control->isEnabled());

    if (login) {
        // The next session reads the unit quietly, then reports the audio settings ready.
        m_page->resetView();
        {
            const QSignalBlocker device(comDevice());
            const QSignalBlocker audio(audioSettings());
            PageFixture::setOperationMode(mode);
            QVERIFY(audioSettings()->setLinePair(pairs, false));
            QVERIFY(audioSettings()->setRavOuPair(pairs, false));
        }
        PageFixture::refreshed(mode);
        PageFixture::audioReady();
    } else {
        PageFixture::setOperationMode(mode);
    }
    for (QWidget *control : rightMembers())
        QVERIFY2(control->isEnabled(), qPrintable(control->objectName()));
    QTest::mouseClick(m_page->switchAt(Page::Line2Row, Page::Coord), Qt::LeftButton);
    QVERIFY(matrixSettings()->node(21, 14).isOn());
}

// Scrolled down to the audio-over-IP rows, the page opens at its top again after the next
// login, with LINE 1 under the column headings, though it is hidden while the unit is read.
void TestQVantelAudioOutputPage::resetViewScrollsToTheTop()
{
    QVERIFY(audioSettings()->applyParams({{"auxiliary_board", "yes"}}));
    QVERIFY(m_fixture.setDeviceOptions({QStringLiteral("hardware_1")}));
    PageFixture::audioReady();
    QScrollBar *bar = m_page->scrollArea()->verticalScrollBar();
    QVERIFY(bar->maximum() > 0);
    bar->setValue(bar->maximum());
    QVERIFY(m_page->scrollArea()->inner()->y() < 0);

    m_page->hide();
    m_page->resetView();
    PageFixture::audioReady();
    m_page->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_page.get()));
    QCOMPARE(bar->value(), 0);
    QCOMPARE(m_page->scrollArea()->inner()->y(), 0);
}

void TestQVantelAudioOutputPage::nodesMapToTheirSwitches()
{
    QVERIFY(matrixSettings()->setNodeOn(24, 14, true));
    QVERIFY(m_page->switchAt(Page::Line2Row, Page::Program)->isChecked());
    QVERIFY(matrixSettings()->setNodeOn(22, 11, true));
    QVERIFY(matrixSettings()->setNodeOn(23, 10, true));
    QVERIFY(!m_page->switchAt(Page::UsbRow, Page::Coord)->isChecked());
    QVERIFY(!m_page->switchAt(Page::Line1Row, Page::Headphone4)->isChecked());
    QVERIFY(matrixSettings()->setNodeOn(22, 12, true));
    QVERIFY(m_page->switchAt(Page::Aoip1Row, Page::Headphone4)->isChecked());

    // A click on the second audio-over-IP row routes the right programme in extended mode.
    PageFixture::setOperationMode(1);
    QTest::mouseClick(m_page->switchAt(Page::Aoip2Row, Page::ProgramReturn), Qt::LeftButton);
    QVERIFY(matrixSettings()->node(19, 13).isOn());
    QVERIFY(!matrixSettings()->node(12, 13).isOn());
}

// Without an audio-over-IP module (or without the board that carries it) the audio-over-IP
// switches cannot be switched on: they are drawn locked, whatever the mode and pair flags say
// later, until a login to a unit that has the module.
void TestQVantelAudioOutputPage::aoipRowsLockedWithoutTheModule_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("board");

    QTest::newRow("no RAVENNA option") << QStringList{QStringLiteral("hardware_1")} << "yes";
    QTest::newRow("no auxiliary board")
        << QStringList{QStringLiteral("hardware_1"), QStringLiteral("ravenna")} << "no";
}

void TestQVantelAudioOutputPage::aoipRowsLockedWithoutTheModule()
{
    QFETCH(QStringList, options);
    QFETCH(QString, board);

    QVERIFY(audioSettings()->applyParams({{"auxiliary_board", board.toStdString()}}));
    QVERIFY(matrixSettings()->setNodeOn(QVantel::InputProgram, QVantel::OutputAoip1, true));
    QVERIFY(m_fixture.setDeviceOptions(options));
    PageFixture::refreshed(1);
    PageFixture::audioReady();
    QVERIFY(audioSettings()->setRavOuPair(true, false));
    PageFixture::setOperationMode(0);
    QVERIFY(matrixSettings()->setNodeOn(QVantel::InputCoord, QVantel::OutputAoip2, true));
    const auto aoipSwitches = [this] {
        QList<QVantelSwitch *> switches;
        for (int row : {Page::Aoip1Row, Page::Aoip2Row}) {
            for (int column = 0; column < Page::ColumnCount; ++column)
                switches << m_page->switchAt(row, column);
        }
        return switches;
    };
    // Locked, they show how the unit routes those outputs.
    for (QVantelSwitch *toggle : aoipSwitches()) {
        QVERIFY2(!toggle->isEnabled(), qPrintable(toggle->objectName()));
        const bool routed = toggle == m_page->switchAt(Page::Aoip1Row, Page::Program)
                            || toggle == m_page->switchAt(Page::Aoip2Row, Page::Coord);
        QCOMPARE(toggle->isChecked(), routed);
    }

    m_page->resetView();
    QVERIFY(audioSettings()->applyParams({{"auxiliary_board", "yes"}}));
    QVERIFY(m_fixture.setDeviceOptions({QStringLiteral("hardware_1"), QStringLiteral("ravenna")}));
    PageFixture::refreshed(0);
    PageFixture::audioReady();
    for (QVantelSwitch *toggle : aoipSwitches())
        QVERIFY(toggle->isEnabled() && toggle->isCheckable());
}

QTEST_MAIN(TestQVantelAudioOutputPage)
#include "tst_qvantelaudiooutputpage.moc"
