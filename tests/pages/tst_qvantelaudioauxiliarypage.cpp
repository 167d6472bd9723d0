#include "pages/qvantelaudioauxiliarypage.h"

#include "tests/pages/pagefixture.h"
#include "widgets/qvantelbutton.h"
#include "widgets/qvantelswitch.h"
#include "widgets/qvantelvirtual.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <memory>

using Page = QVantelAudioAuxiliaryPage;

namespace {

enum Column { Usb, Aux1, Aux2, Aes1, Aes2, Aoip1, Aoip2 };

} // namespace

class TestQVantelAudioAuxiliaryPage : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void rowsFollowTheOperationMode_data();
    void rowsFollowTheOperationMode();
    void pairsSplitLeftAndRight();
    void inputSourceGreysTheUnusedSide();
    void switchesFollowAndWriteTheirNodes();
    void compactUnitLayoutAndReset();
    void boardlessUnitGreysBoardSources();
    void ravennaSourcesLockedWithoutTheModule();
    void renameThroughTheKeyboard();

private:
    PageFixture m_fixture;
    std::unique_ptr<Page> m_page;
};

void TestQVantelAudioAuxiliaryPage::init()
{
    QVERIFY(m_fixture.start());
    m_page = std::make_unique<Page>();
    m_page->resetView();
    m_page->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_page.get()));
}

void TestQVantelAudioAuxiliaryPage::cleanup()
{
    m_page.reset();
    m_fixture.stop();
}

void TestQVantelAudioAuxiliaryPage::rowsFollowTheOperationMode_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("rightRow");
    QTest::addColumn<int>("coordY");
    QTest::addColumn<QString>("firstLabel");

    QTest::newRow("standard") << QStringList{} << 0 << false << 276 << "Prog.";
    // Without the shared AUX 2/AES connection the coordination row stays at 276 in extended
    // mode, under the right-programme row, as the unit's own panel has it.
    QTest::newRow("extended") << QStringList{} << 1 << true << 276 << "Prog\nLeft";
    QTest::newRow("extended, hardware 1")
        << QStringList{QStringLiteral("hardware_1")} << 1 << true << 336 << "Prog\nLeft";
}

void TestQVantelAudioAuxiliaryPage::rowsFollowTheOperationMode()
{
    QFETCH(QStringList, options);
    QFETCH(int, mode);
    QFETCH(bool, rightRow);
    QFETCH(int, coordY);
    QFETCH(QString, firstLabel);

    QVERIFY(m_fixture.setDeviceOptions(options));
    PageFixture::refreshed(1 - mode);
    PageFixture::refreshed(mode);
    QCOMPARE(m_page->rowLabel(Page::ProgramRow)->text(), firstLabel);
    QCOMPARE(m_page->rowLabel(Page::CoordRow)->isVisible(), rightRow);
    for (int column = 0; column < Page::ColumnCount; ++column) {
        QCOMPARE(m_page->switchAt(column, Page::ProgramRightRow)->isVisible(), rightRow);
        QCOMPARE(m_page->switchAt(column, Page::CoordRow)->y(), coordY);
    }
}

void TestQVantelAudioAuxiliaryPage::pairsSplitLeftAndRight()
{
    PageFixture::refreshed(1);
    QVERIFY(audioSettings()->setAuxPair(true, false));
    QVERIFY(m_page->switchAt(Aux1, Page::ProgramRow)->isVisible());
    QVERIFY(!m_page->switchAt(Aux1, Page::ProgramRightRow)->isVisible());
    QVERIFY(!m_page->switchAt(Aux2, Page::ProgramRow)->isVisible());
    QVERIFY(m_page->switchAt(Aux2, Page::ProgramRightRow)->isVisible());
    // The other pairs are untouched.
    QVERIFY(m_page->switchAt(Aes2, Page::ProgramRow)->isVisible());

    QVERIFY(audioSettings()->setAuxPair(false, false));
    for (int row : {Page::ProgramRow, Page::ProgramRightRow}) {
        QVERIFY(m_page->switchAt(Aux1, row)->isVisible());
        QVERIFY(m_page->switchAt(Aux2, row)->isVisible());
    }
}

void TestQVantelAudioAuxiliaryPage::inputSourceGreysTheUnusedSide()
{
    // Without the option or the board the input source changes nothing.
    QVERIFY(audioSettings()->setInputSource(1, false));
    QVERIFY(m_page->switchAt(Aux2, Page::ProgramRow)->isCheckable());
    QVERIFY(audioSettings()->setInputSource(0, false));

    QVERIFY(m_fixture.setDeviceOptions({QStringLiteral("hardware_3"), QStringLiteral("ravenna")}));
    QVERIFY(audioSettings()->applyParams({{"auxiliary_board", "yes"}}));
    QVERIFY(audioSettings()->auxiliaryBoard());
    PageFixture::refreshed(0);
    PageFixture::audioReady();
    QVERIFY(!m_page->switchAt(Aes1, Page::ProgramRow)->isEnabled());
    QVERIFY(m_page->switchAt(Aux2, Page::ProgramRow)->isEnabled());

    // Greyed, a source still shows how the unit routes it.
    QVERIFY(matrixSettings()->setNodeOn(QVantel::InputAux2, QVantel::OutputCoord, true));
    QVERIFY(audioSettings()->setInputSource(1, false));
    QVERIFY(!m_page->switchAt(Aux2, Page::CoordRow)->isEnabled());
    QVERIFY(m_page->switchAt(Aux2, Page::CoordRow)->isChecked());
    QVERIFY(m_page->switchAt(Aes1, Page::ProgramRow)->isCheckable());
    QVERIFY(m_page->switchAt(Aes2, Page::CoordRow)->isEnabled());
}

void TestQVantelAudioAuxiliaryPage::switchesFollowAndWriteTheirNodes()
{
    QVERIFY(m_fixture.setDeviceOptions({QStringLiteral("ravenna")}));
    PageFixture::refreshed(1);
    QTest::mouseClick(m_page->switchAt(Aux1, Page::ProgramRightRow), Qt::LeftButton);
    QVERIFY(matrixSettings()->node(4, 18).isOn());

    QVERIFY(matrixSettings()->setNodeOn(9, 1, true));
    QVERIFY(m_page->switchAt(Aoip1, Page::CoordRow)->isChecked());
    // Outputs and inputs outside the grid are not shown here.
    QVERIFY(matrixSettings()->setNodeOn(4, 2, true));
    QVERIFY(matrixSettings()->setNodeOn(3, 0, true));
    for (int column = 0; column < Page::ColumnCount; ++column) {
        for (int row = 0; row < Page::RowCount; ++row) {
            const bool expected = (column == Aux1 && row == Page::ProgramRightRow)
                                  || (column == Aoip1 && row == Page::CoordRow);
            QCOMPARE(m_page->switchAt(column, row)->isChecked(), expected);
        }
    }

    // Without an audio-over-IP module its columns cannot be switched, and still follow the
    // unit's routing.
    QVERIFY(m_fixture.setDeviceOptions({}));
    PageFixture::refreshed(1);
    QVERIFY(!m_page->columnButton(Aoip2)->isEnabled());
    QVERIFY(!m_page->switchAt(Aoip2, Page::ProgramRow)->isEnabled());
    QVERIFY(m_page->switchAt(Aoip1, Page::CoordRow)->isChecked());
    QVERIFY(matrixSettings()->setNodeOn(10, 0, true));
    QVERIFY(m_page->switchAt(Aoip2, Page::ProgramRow)->isChecked());
}

// The compact unit (hardware variant 2) has only AUX 1 and the audio-over-IP inputs, moved to
// the left, and two rows; the reset after the next login restores the full grid.
void TestQVantelAudioAuxiliaryPage::compactUnitLayoutAndReset()
{
    QVERIFY(m_fixture.setDeviceOptions({QStringLiteral("hardware_2"), QStringLiteral("ravenna")}));
    PageFixture::refreshed(0);
    for (int column : {Usb, Aux2, Aes1, Aes2}) {
        QVERIFY(!m_page->columnButton(column)->isVisible());
        for (int row = 0; row < Page::RowCount; ++row)
            QVERIFY(!m_page->switchAt(column, row)->isVisible());
    }
    QVERIFY(m_page->columnButton(Aux1)->isVisible());
    QCOMPARE(m_page->columnButton(Aoip1)->pos(), QPoint(228, 138));
    QCOMPARE(m_page->switchAt(Aoip1, Page::ProgramRow)->pos(), QPoint(247, 216));
    QCOMPARE(m_page->switchAt(Aoip2, Page::CoordRow)->pos(), QPoint(349, 276));
    QCOMPARE(m_page->rowLabel(Page::ProgramRow)->pos(), QPoint(428, 216));
    QCOMPARE(m_page->rowLabel(Page::ProgramRightRow)->text(), QStringLiteral("Coord."));
    // The absent sources stay hidden through a mode change and a pair reported by the unit.
    PageFixture::setOperationMode(1);
    QVERIFY(audioSettings()->setAesPair(true, false));
    QVERIFY(audioSettings()->setAesPair(false, false));
    for (int column : {Usb, Aux2, Aes1, Aes2}) {
        for (int row = 0; row < Page::RowCount; ++row)
            QVERIFY(!m_page->switchAt(column, row)->isVisible());
    }
    QVERIFY(m_page->switchAt(Aux1, Page::ProgramRow)->isVisible());

    m_page->resetView();
    for (int column = 0; column < Page::ColumnCount; ++column) {
        QVERIFY(m_page->columnButton(column)->isVisible());
        QVERIFY(m_page->switchAt(column, Page::ProgramRow)->isVisible());
    }
    QCOMPARE(m_page->columnButton(Aoip1)->pos(), QPoint(534, 138));
    QCOMPARE(m_page->switchAt(Aoip1, Page::ProgramRow)->pos(), QPoint(553, 216));
    QCOMPARE(m_page->switchAt(Aoip2, Page::CoordRow)->pos(), QPoint(655, 276));
    QCOMPARE(m_page->rowLabel(Page::ProgramRow)->pos(), QPoint(734, 216));
}

// Without the auxiliary board every source but USB is greyed, and its switches cannot be
// switched by a click; they show the unit's routing. The next login's reset gives them back.
// A unit without the audio-over-IP module: its two columns cannot be switched, and their
// switches are drawn locked like those of a greyed column, until the next login. Locked, they
// still show how the unit routes those inputs.
void TestQVantelAudioAuxiliaryPage::ravennaSourcesLockedWithoutTheModule()
{
    QVERIFY(matrixSettings()->setNodeOn(QVantel::InputAoip1, QVantel::OutputProgram, true));
    QVERIFY(m_fixture.setDeviceOptions({QStringLiteral("hardware_1")}));
    PageFixture::refreshed(1);
    QVERIFY(matrixSettings()->setNodeOn(QVantel::InputAoip2, QVantel::OutputCoord, true));
    for (int column : {Aoip1, Aoip2}) {
        QVERIFY(!m_page->columnButton(column)->isEnabled());
        for (int row = 0; row < Page::RowCount; ++row) {
            QVantelSwitch *toggle = m_page->switchAt(column, row);
            QVERIFY(!toggle->isEnabled());
            QVERIFY(toggle->isDimmedWhenDisabled());
            const bool routed = (column == Aoip1 && row == Page::ProgramRow)
                                || (column == Aoip2 && row == Page::CoordRow);
            QCOMPARE(toggle->isChecked(), routed);
        }
    }
    QVERIFY(m_page->switchAt(Aes1, Page::ProgramRow)->isEnabled());

    m_page->resetView();
    for (int row = 0; row < Page::RowCount; ++row)
        QVERIFY(m_page->switchAt(Aoip1, row)->isEnabled());
}

void TestQVantelAudioAuxiliaryPage::boardlessUnitGreysBoardSources()
{
    QVERIFY(!audioSettings()->auxiliaryBoard());
    PageFixture::audioReady();
    const QColor normal = m_page->columnButton(Usb)->palette().color(QPalette::WindowText);
    for (int column = Aux1; column < Page::ColumnCount; ++column) {
        QVERIFY(!m_page->columnButton(column)->isEnabled());
        QVERIFY(m_page->columnButton(column)->palette().color(QPalette::WindowText) != normal);
        QVERIFY(!m_page->switchAt(column, Page::ProgramRow)->isEnabled());
        QVERIFY(!m_page->switchAt(column, Page::CoordRow)->isEnabled());
    }
    QVERIFY(m_page->switchAt(Usb, Page::ProgramRow)->isCheckable());
    QVERIFY(m_page->switchAt(Usb, Page::ProgramRow)->isEnabled());
    QVERIFY(matrixSettings()->setNodeOn(4, 0, true));
    QVERIFY(m_page->switchAt(Aux1, Page::ProgramRow)->isChecked());

    m_page->resetView();
    for (int column = Aux1; column < Page::ColumnCount; ++column) {
        QVERIFY(m_page->columnButton(column)->isEnabled());
        QCOMPARE(m_page->columnButton(column)->palette().color(QPalette::WindowText), normal);
        QVERIFY(m_page->switchAt(column, Page::CoordRow)->isCheckable());
    }
}

// A column button opens the keyboard on the source's name; OK renames the source in the matrix,
// and the button shows the unit's name once the matrix reports it. Cancel renames nothing.
void TestQVantelAudioAuxiliaryPage::renameThroughTheKeyboard()
{
    QVantelButton *button = m_page->columnButton(Aux1);
    QCOMPARE(button->text(), QStringLiteral("AUX 1"));
    QTest::mouseClick(button, Qt::LeftButton);
    QVantelVirtual *keyboard = m_page->keyboard();
    QVERIFY(keyboard);
    QCOMPARE(keyboard->titleLabel()->text(), QStringLiteral("AUX 1"));
    QVERIFY(keyboard->lineEdit()->text().isEmpty());
    keyboard->lineEdit()->setText(QStringLiteral("Studio"));
    keyboard->key(31)->click(); // OK
    QCOMPARE(matrixSettings()->inputNames(4), QStringLiteral("Studio"));
    QCOMPARE(button->text(), QStringLiteral("AUX 1\nStudio"));

    QTest::mouseClick(button, Qt::LeftButton);
    QTRY_VERIFY(m_page->keyboard());
    QCOMPARE(m_page->keyboard()->lineEdit()->text(), QStringLiteral("Studio"));
    m_page->keyboard()->lineEdit()->setText(QStringLiteral("Other"));
    m_page->keyboard()->key(28)->click(); // Cancel
    QCOMPARE(matrixSettings()->inputNames(4), QStringLiteral("Studio"));

    // A name given on the unit reaches the other columns' buttons too.
    QVERIFY(matrixSettings()->setInputName(8, QStringLiteral("Laptop")));
    QCOMPARE(m_page->columnButton(Usb)->text(), QStringLiteral("USB\nLaptop"));
}

QTEST_MAIN(TestQVantelAudioAuxiliaryPage)
#include "tst_qvantelaudioauxiliarypage.moc"
