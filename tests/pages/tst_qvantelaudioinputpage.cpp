#include "pages/qvantelaudioinputpage.h"

#include "tests/pages/pagefixture.h"
#include "widgets/qvantelbutton.h"
#include "widgets/qvantelswitch.h"
#include "widgets/qvantelvirtual.h"

#include <QLabel>
#include <QTest>

#include <memory>

using Page = QVantelAudioInputPage;

class TestQVantelAudioInputPage : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void standardModeShowsOneProgrammeColumn();
    void extendedModePairsHideTheInnerSwitches();
    void switchesWriteTheirSettings();
    void renameThroughTheKeyboard();
    void compactUnitHasNoFourthInput();

private:
    PageFixture m_fixture;
    std::unique_ptr<Page> m_page;
};

void TestQVantelAudioInputPage::init()
{
    QVERIFY(m_fixture.start());
    m_page = std::make_unique<Page>();
    m_page->resetView();
    m_page->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_page.get()));
}

void TestQVantelAudioInputPage::cleanup()
{
    m_page.reset();
    m_fixture.stop();
}

void TestQVantelAudioInputPage::standardModeShowsOneProgrammeColumn()
{
    PageFixture::refreshed(0);
    const auto header = m_page->findChild<QLabel *>(QStringLiteral("programLeftHeader"));
    QCOMPARE(header->text(), QStringLiteral("Program"));
    QCOMPARE(header->pos(), QPoint(586, 90));
    QVERIFY(!m_page->findChild<QLabel *>(QStringLiteral("programRightHeader"))->isVisible());
    for (int row = 0; row < Page::RowCount; ++row) {
        QCOMPARE(m_page->switchAt(row, Page::ProgramLeft)->pos(), QPoint(609, 132 + 68 * row));
        QVERIFY(m_page->switchAt(row, Page::ProgramLeft)->isVisible());
        QVERIFY(m_page->switchAt(row, Page::Coord)->isVisible());
    }

    // No right-programme switch in standard mode, neither after the audio settings report
    // ready nor after a pair flag changes: rows 1 and 3 would lie on the coordination switches.
    const auto noRightProgramme = [this] {
        for (int row = 0; row < Page::RowCount; ++row) {
            if (m_page->switchAt(row, Page::ProgramRight)->isVisible())
                return false;
        }
        return true;
    };
    QVERIFY(noRightProgramme());
    PageFixture::audioReady();
    QVERIFY(noRightProgramme());
    QVERIFY(audioSettings()->setInput4Pair(true, false));
    QVERIFY(audioSettings()->setInput4Pair(false, false));
    QVERIFY(audioSettings()->setInput2Pair(true, false));
    QVERIFY(audioSettings()->setInput2Pair(false, false));
    QVERIFY(noRightProgramme());

    // A click on the coordination switch of row 1 reaches the coordination node.
    QTest::mouseClick(m_page->switchAt(0, Page::Coord), Qt::LeftButton);
    QVERIFY(matrixSettings()->node(0, 1).isOn());
    QVERIFY(!matrixSettings()->node(0, 18).isOn());
}

void TestQVantelAudioInputPage::extendedModePairsHideTheInnerSwitches()
{
    PageFixture::refreshed(1);
    QCOMPARE(m_page->switchAt(0, Page::ProgramLeft)->pos(), QPoint(539, 132));
    QCOMPARE(m_page->switchAt(0, Page::ProgramRight)->pos(), QPoint(627, 132));
    for (int row = 0; row < Page::RowCount; ++row)
        QVERIFY(m_page->switchAt(row, Page::ProgramRight)->isVisible());

    QVERIFY(audioSettings()->setInput2Pair(true, false));
    QVERIFY(!m_page->switchAt(0, Page::ProgramRight)->isVisible());
    QVERIFY(!m_page->switchAt(1, Page::ProgramLeft)->isVisible());
    QVERIFY(m_page->switchAt(0, Page::ProgramLeft)->isVisible());
    QVERIFY(m_page->switchAt(1, Page::ProgramRight)->isVisible());

    QVERIFY(audioSettings()->setInput4Pair(true, false));
    QVERIFY(!m_page->switchAt(2, Page::ProgramRight)->isVisible());
    QVERIFY(!m_page->switchAt(3, Page::ProgramLeft)->isVisible());
    QVERIFY(!m_page->switchAt(3, Page::MicLine)->isEnabled());

    QVERIFY(audioSettings()->setInput2Pair(false, false));
    QVERIFY(m_page->switchAt(0, Page::ProgramRight)->isVisible());
    QVERIFY(m_page->switchAt(1, Page::ProgramLeft)->isVisible());
}

void TestQVantelAudioInputPage::switchesWriteTheirSettings()
{
    PageFixture::audioReady();
    m_fixture.fake->clearLog();
    QTest::mouseClick(m_page->switchAt(0, Page::Phantom), Qt::LeftButton);
    QTest::mouseClick(m_page->switchAt(3, Page::Filter), Qt::LeftButton);
    QTest::mouseClick(m_page->switchAt(2, Page::MicLine), Qt::LeftButton);
    QCOMPARE(m_fixture.writesOf(QStringLiteral("input1_power")), QStringList{"48V"});
    QCOMPARE(m_fixture.writesOf(QStringLiteral("input4_filter")), QStringList{"on"});
    QCOMPARE(m_fixture.writesOf(QStringLiteral("input3_pad")), QStringList{"on"});

    // The model's own changes only show.
    m_fixture.fake->clearLog();
    QVERIFY(audioSettings()->setInput2Limiter(true, false));
    QVERIFY(m_page->switchAt(1, Page::Limiter)->isChecked());
    QCOMPARE(m_fixture.fake->requestCount(), 0);
}

void TestQVantelAudioInputPage::renameThroughTheKeyboard()
{
    QVantelButton *button = m_page->nameButton(2);
    QCOMPARE(button->text(), QStringLiteral("INPUT 3"));
    QTest::mouseClick(button, Qt::LeftButton);
    QVantelVirtual *keyboard = m_page->keyboard();
    QVERIFY(keyboard);
    QCOMPARE(keyboard->titleLabel()->text(), QStringLiteral("INPUT 3"));
    QVERIFY(keyboard->lineEdit()->text().isEmpty());
    keyboard->lineEdit()->setText(QStringLiteral("Guest"));
    keyboard->key(31)->click(); // OK
    QCOMPARE(matrixSettings()->inputNames(2), QStringLiteral("Guest"));
    QCOMPARE(button->text(), QStringLiteral("INPUT 3\nGuest"));

    // The device-given name starts the edit field; Cancel sends nothing.
    QTest::mouseClick(button, Qt::LeftButton);
    QTRY_VERIFY(m_page->keyboard());
    QCOMPARE(m_page->keyboard()->lineEdit()->text(), QStringLiteral("Guest"));
    m_page->keyboard()->lineEdit()->setText(QStringLiteral("Other"));
    m_page->keyboard()->key(28)->click(); // Cancel
    QCOMPARE(matrixSettings()->inputNames(2), QStringLiteral("Guest"));

    // An empty name removes the device-given one.
    QTest::mouseClick(button, Qt::LeftButton);
    QTRY_VERIFY(m_page->keyboard());
    m_page->keyboard()->lineEdit()->clear();
    m_page->keyboard()->key(31)->click();
    QCOMPARE(button->text(), QStringLiteral("INPUT 3"));
}

void TestQVantelAudioInputPage::compactUnitHasNoFourthInput()
{
    QVERIFY(m_fixture.setDeviceOptions({QStringLiteral("hardware_2")}));
    PageFixture::refreshed(1);
    PageFixture::audioReady();
    QVERIFY(!m_page->nameButton(3)->isVisible());
    for (int column = 0; column < Page::ColumnCount; ++column) {
        if (QVantelSwitch *toggle = m_page->switchAt(3, column))
            QVERIFY(!toggle->isVisible());
    }
    m_page->resetView();
    QVERIFY(m_page->nameButton(3)->isVisible());
    QVERIFY(m_page->switchAt(3, Page::Limiter)->isVisible());
}

QTEST_MAIN(TestQVantelAudioInputPage)
#include "tst_qvantelaudioinputpage.moc"
