// The audio and headphone pages against a unit that did not send one of the matrix rows or words
// they write: the page says so, its controls of that row are locked (a tap or a wheel step
// reaches nothing and nothing is written), and once the row arrives, read again when the page is
// shown, they come alive. A row the unit's firmware never sends keeps them locked, and is never
// asked for.

#include "pages/matrixrowlock.h"
#include "pages/qvantelaudioauxiliarypage.h"
#include "pages/qvantelaudioinputpage.h"
#include "pages/qvantelaudiooutputpage.h"
#include "pages/qvantelaudiopage.h"
#include "pages/qvantelheadphone1page.h"
#include "pages/qvantelheadphone2page.h"
#include "pages/qvantelheadphone3page.h"
#include "pages/qvantelheadphone4page.h"
#include "tests/pages/pagefixture.h"
#include "tests/support/fakematrixdemo.h"
#include "widgets/qvantelaudiobalance.h"
#include "widgets/qvantelaudiobutton.h"
#include "widgets/qvantelaudioinput.h"
#include "widgets/qvantelknob.h"
#include "widgets/qvantelswitch.h"

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QWheelEvent>

#include <functional>
#include <memory>

namespace {

const QString kAudio = QStringLiteral("audio");

using MakePage = std::function<QWidget *()>;
// The control of the page that writes the missing row.
using FindControl = std::function<QWidget *(QWidget *page)>;
// An operator's action on a control: a tap or a wheel step.
using Act = std::function<void(QWidget *control)>;

// Where the window system would deliver a press at the middle of control.
QPoint middleOf(QWidget *control)
{
    return control->mapTo(control->window(), control->rect().center());
}

void tap(QWidget *control)
{
    QTest::mouseClick(control->window()->windowHandle(), Qt::LeftButton, {}, middleOf(control));
}

// One wheel step up, sent to whatever lies at the middle of control, as the window system
// sends it: an ignored step goes on to the parents.
void wheelStep(QWidget *control)
{
    QWidget *window = control->window();
    const QPoint at = middleOf(control);
    QWidget *target = window->childAt(at);
    if (!target)
        target = window;
    QWheelEvent step(target->mapFrom(window, QPointF(at)),
                     window->mapToGlobal(QPointF(at)),
                     QPoint(),
                     QPoint(0, 120),
                     Qt::NoButton,
                     Qt::NoModifier,
                     Qt::NoScrollPhase,
                     false);
    QApplication::sendEvent(target, &step);
}

// A knob or a balance is engaged by a tap and then turned.
void turn(QWidget *control)
{
    tap(control);
    wheelStep(control);
}

template<typename Page>
MakePage make()
{
    return [] { return new Page(); };
}

template<typename Page>
FindControl stripKnob(int input)
{
    return [input](QWidget *page) { return static_cast<Page *>(page)->strip(input)->knob(); };
}

} // namespace

class TestUnsentMatrixRows : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void controlsLockedUntilTheRowArrives_data();
    void controlsLockedUntilTheRowArrives();

private:
    PageFixture m_fixture;
};

void TestUnsentMatrixRows::init()
{
    QVERIFY(m_fixture.start());
    fillMatrixDemoValues(*m_fixture.fake);
}

void TestUnsentMatrixRows::cleanup()
{
    m_fixture.stop();
}

void TestUnsentMatrixRows::controlsLockedUntilTheRowArrives_data()
{
    QTest::addColumn<MakePage>("makePage");
    QTest::addColumn<quint32>("firmware");
    QTest::addColumn<int>("mode");
    // The unit's options switch the side tone on (and its strip shows once the audio is ready).
    QTest::addColumn<bool>("sideTone");
    QTest::addColumn<QString>("key");
    // Empty: the unit does not send the row; "ERROR": it answers the whole read with an error.
    QTest::addColumn<QString>("unitValue");
    QTest::addColumn<QString>("notice");
    QTest::addColumn<FindControl>("control");
    QTest::addColumn<Act>("act");

    const quint32 kCurrent = 0x20007;
    const QString mix = QStringLiteral("The unit did not send this headphone's mix.");
    QTest::newRow("headphone 2, mix")
        << make<QVantelHeadphone2Page>() << kCurrent << 0 << false << "matrix_hp2" << QString()
        << mix << stripKnob<QVantelHeadphone2Page>(8) << Act(turn);
    QTest::newRow("headphone 2, whole read refused")
        << make<QVantelHeadphone2Page>() << kCurrent << 0 << false << "matrix_hp2"
        << QStringLiteral("ERROR") << "The unit did not send its routing matrix."
        << stripKnob<QVantelHeadphone2Page>(8) << Act(turn);
    QTest::newRow("headphone 4, mix not hex")
        << make<QVantelHeadphone4Page>() << kCurrent << 0 << false << "matrix_hp4"
        << QStringLiteral("C0").repeated(20) + "C?" << mix << stripKnob<QVantelHeadphone4Page>(0)
        << Act(turn);
    QTest::newRow("headphone 1, positions")
        << make<QVantelHeadphone1Page>() << kCurrent << 0 << false << "matrix_po1" << QString()
        << "The unit did not send this headphone's positions." << FindControl([](QWidget *page) {
               return static_cast<QWidget *>(
                   static_cast<QVantelHeadphone1Page *>(page)->positionButton(2));
           })
        << Act();
    QTest::newRow("headphone 3, follow setting")
        << make<QVantelHeadphone3Page>() << kCurrent << 0 << false << "matrix_po3" << QString()
        << "The unit did not send which headphone this one follows."
        << FindControl([](QWidget *page) {
               return static_cast<QWidget *>(
                   static_cast<QVantelHeadphone3Page *>(page)->followSwitch(2));
           })
        << Act(tap);
    QTest::newRow("headphone 4, balance")
        << make<QVantelHeadphone4Page>() << kCurrent << 1 << false << "matrix_bal4" << QString()
        << "The unit did not send this headphone's balance." << FindControl([](QWidget *page) {
               return static_cast<QWidget *>(
                   static_cast<QVantelHeadphone4Page *>(page)->strip(20)->balanceControl());
           })
        << Act(turn);
    QTest::newRow("input page") << make<QVantelAudioInputPage>() << kCurrent << 0 << false
                                << "matrix_in1" << QString()
                                << "The unit did not send its settings of INPUT 1."
                                << FindControl([](QWidget *page) {
                                       return static_cast<QWidget *>(
                                           static_cast<QVantelAudioInputPage *>(page)->switchAt(
                                               0, QVantelAudioInputPage::ProgramLeft));
                                   })
                                << Act(tap);
    QTest::newRow("auxiliary page, row not hex")
        << make<QVantelAudioAuxiliaryPage>() << kCurrent << 0 << false << "matrix_in9"
        << QStringLiteral("ZZ,Laptop") << "The unit did not send its settings of USB."
        << FindControl([](QWidget *page) {
               return static_cast<QWidget *>(
                   static_cast<QVantelAudioAuxiliaryPage *>(page)->switchAt(
                       0, QVantelAudioAuxiliaryPage::CoordRow));
           })
        << Act(tap);
    QTest::newRow("audio page") << make<QVantelAudioPage>() << kCurrent << 0 << false
                                << "matrix_in5" << QString()
                                << "The unit did not send its settings of AUX 1."
                                << FindControl([](QWidget *page) {
                                       return static_cast<QWidget *>(
                                           page->findChild<QVantelKnob *>("aux1Knob"));
                                   })
                                << Act(turn);
    QTest::newRow("output page")
        << make<QVantelAudioOutputPage>() << kCurrent << 0 << false << "matrix_ou12" << QString()
        << "The unit did not send its routing of USB." << FindControl([](QWidget *page) {
               return static_cast<QWidget *>(static_cast<QVantelAudioOutputPage *>(page)->switchAt(
                   QVantelAudioOutputPage::UsbRow, QVantelAudioOutputPage::Coord));
           })
        << Act(tap);

    // The words: the master gains and the side-tone levels.
    QTest::newRow("audio page, master gains")
        << make<QVantelAudioPage>() << kCurrent << 0 << false << "matrix_mgn" << QString()
        << "The unit did not send its master gains." << FindControl([](QWidget *page) {
               return static_cast<QWidget *>(page->findChild<QVantelKnob *>("programKnob"));
           })
        << Act(turn);
    const QString sideTone
        = QStringLiteral("The unit did not send this headphone's side-tone level.");
    const auto sideToneKnob = [](QWidget *page) {
        return static_cast<QWidget *>(
            static_cast<QVantelHeadphoneWidget *>(page)->sideToneStrip()->knob());
    };
    QTest::newRow("headphone 1, side tone")
        << make<QVantelHeadphone1Page>() << kCurrent << 0 << true << "matrix_vol" << QString()
        << sideTone << FindControl(sideToneKnob) << Act(turn);
    // Before 1.8 the unit never sends the side-tone levels, before 2.0 no balance.
    QTest::newRow("headphone 3, side tone before 1.8")
        << make<QVantelHeadphone3Page>() << firmwareVersionOf(1, 7, 9) << 0 << true << "matrix_vol"
        << QString() << sideTone << FindControl(sideToneKnob) << Act(turn);
    QTest::newRow("headphone 2, balance before 2.0")
        << make<QVantelHeadphone2Page>() << firmwareVersionOf(1, 13, 9) << 1 << false
        << "matrix_bal2" << QString() << "The unit did not send this headphone's balance."
        << FindControl([](QWidget *page) {
               return static_cast<QWidget *>(
                   static_cast<QVantelHeadphone2Page *>(page)->strip(20)->balanceControl());
           })
        << Act(turn);
}

void TestUnsentMatrixRows::controlsLockedUntilTheRowArrives()
{
    QFETCH(MakePage, makePage);
    QFETCH(quint32, firmware);
    QFETCH(int, mode);
    QFETCH(bool, sideTone);
    QFETCH(QString, key);
    QFETCH(QString, unitValue);
    QFETCH(QString, notice);
    QFETCH(FindControl, control);
    QFETCH(Act, act);

    firmwareVersion = firmware;
    if (sideTone)
        m_fixture.fake->setValue(QStringLiteral("matrix_opt"), QStringLiteral("20000000"), kAudio);
    const QString rowOfTheUnit = m_fixture.fake->value(key, kAudio);
    const bool readRefused = unitValue == QLatin1String("ERROR");
    if (readRefused)
        m_fixture.fake->replyWithErrorCode(3);
    else if (unitValue.isEmpty())
        m_fixture.fake->removeValue(key, kAudio);
    else
        m_fixture.fake->setValue(key, unitValue, kAudio);
    const std::unique_ptr<QWidget> page(makePage());
    page->resize(800, 480);
    page->show();
    QVERIFY(QTest::qWaitForWindowExposed(page.get()));
    PageFixture::refreshed(mode);
    QCOMPARE(matrixSettings()->start(true), !readRefused);
    m_fixture.fake->clearErrorReply();
    if (sideTone)
        PageFixture::audioReady();

    auto *lock = page->findChild<MatrixRowLock *>();
    QVERIFY(lock);
    auto *label = page->findChild<QLabel *>(QStringLiteral("rowNotice"));
    QVERIFY(label && label->isVisible());
    QCOMPARE(label->text(), notice);
    QWidget *held = control(page.get());
    QVERIFY(held->isVisible());
    QVERIFY(lock->isHeld(held));
    // What lies over the control takes the operator's tap and passes it by the control.
    QCOMPARE(
        page->childAt(page->mapFromGlobal(held->mapToGlobal(held->rect().center())))->objectName(),
        QStringLiteral("rowVeil"));
    m_fixture.fake->clearLog();
    if (act) {
        const bool checked = qobject_cast<QAbstractButton *>(held)
                             && qobject_cast<QAbstractButton *>(held)->isChecked();
        act(held);
        QVERIFY(m_fixture.writesOf(key).isEmpty());
        if (auto *button = qobject_cast<QAbstractButton *>(held))
            QCOMPARE(button->isChecked(), checked);
    }

    // The unit sends the row when the page is shown again, or when the window starts the
    // matrix again after a read it refused; a firmware without the row is not asked for it.
    m_fixture.fake->setValue(key, rowOfTheUnit, kAudio);
    m_fixture.fake->clearLog();
    page->hide();
    page->show();
    if (firmware < 0x20000) {
        QTest::qWait(50);
        QVERIFY(!m_fixture.fake->waitForRequest(
            [&key](const FakeRequest &request) { return request.isGetOf(key); }, 0));
        QVERIFY(label->isVisible());
        QVERIFY(lock->isHeld(held));
        return;
    }
    if (readRefused)
        QVERIFY(matrixSettings()->start(true));
    QTRY_VERIFY(!label->isVisible());
    QVERIFY(!lock->isHeld(held));
    if (act) {
        m_fixture.fake->clearLog();
        act(held);
        QVERIFY(!m_fixture.writesOf(key).isEmpty());
    }
}

QTEST_MAIN(TestUnsentMatrixRows)
#include "tst_unsentmatrixrows.moc"
