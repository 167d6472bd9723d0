#include "frontpanel/busyinputgate.h"

#include "link/ccom.h"
#include "link/cmsg.h"
#include "link/comclient.h"
#include "link/sharedobjects.h"
#include "tests/support/fakequorix.h"
#include "widgets/qvantelbutton.h"
#include "widgets/qvantelvirtual.h"

#include <QCloseEvent>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <QtTest/qtestspontaneevent.h>

#include <functional>
#include <memory>

// User input made while a synchronous device call waits: held back by the gate and handed on
// once the wait is over, in order and once, unless the wait replaced or removed what it was aimed
// at; then it is dropped and marked on the panel. A tap begun before the wait still ends as a
// tap, a Close and the input outside the panel go on between two calls, keys typed while a
// keyboard opens go into it, and a dialog opened during the wait still takes its own input.
class TestBusyInputGate : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void inputOnThePageShownGoesOnAfterTheWait();
    void inputOnAReplacedPageIsDroppedAndMarked_data();
    void inputOnAReplacedPageIsDroppedAndMarked();
    void typingIntoAnOpenKeyboardIsKeptWhole();
    void keysTypedWhileAKeyboardOpensGoIntoIt();
    void tapBegunBeforeAWaitEndsAfterIt();
    void heldReleaseWaitsThroughTheNextWait();
    void inputElsewhereWaitsForTheEndOfTheWait();
    void closeDuringAWaitAsksAfterIt();
    void closeAndInputElsewhereGoOnBetweenCalls();
    void dialogClosedByTheProgramCloses();
    void dialogInsideAWaitTakesInput();

private:
    // One synchronous read that the unit answers late; during runs while it waits. The read's
    // result.
    int readWhileWaiting(const std::function<void()> &during);
    // A keyboard popup of the panel, shown over it.
    QVantelVirtual *openKeyboard();

    std::unique_ptr<FakeQuorix> m_fake;
    // The panel; the gate is its child.
    std::unique_ptr<QWidget> m_widget;
    QPointer<BusyInputGate> m_gate;
    QPointer<QPushButton> m_button;
};

void TestBusyInputGate::init()
{
    m_fake = std::make_unique<FakeQuorix>();
    QVERIFY(m_fake->listen());
    m_fake->setValue(QStringLiteral("device"), QStringLiteral("vantel"), QStringLiteral("general"));
    m_fake->setReplyDelay(100);
    QVERIFY(comClient()->connect(QStringLiteral("127.0.0.1"), m_fake->port(), 0));
    QTRY_COMPARE(comClient()->state(), RpcConnection::Connected);

    m_widget = std::make_unique<QWidget>();
    m_gate = new BusyInputGate(comClient(), m_widget.get());
    QCOMPARE(comClient()->inputGate(), m_gate.data());
    m_button = new QPushButton(QStringLiteral("Back"), m_widget.get());
    new QVBoxLayout(m_widget.get());
    m_widget->layout()->addWidget(m_button);
    m_widget->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_widget.get()));
    m_button->setFocus();
}

void TestBusyInputGate::cleanup()
{
    m_widget.reset();
    QVERIFY(!m_gate);
    destroySharedObjects();
    m_fake.reset();
}

int TestBusyInputGate::readWhileWaiting(const std::function<void()> &during)
{
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection = connect(m_fake.get(), &FakeQuorix::requestReceived, this, [=] {
        disconnect(*connection);
        during();
    });
    ksm::CMsg request(ksm::CMsg::Param);
    request.setParam("target", "general");
    request.addGet("device");
    ksm::CMsg reply;
    // The time-out only ends a wait that went wrong; a slow machine stays well inside it.
    return comClient()->sendSyncMsg(request, reply, 0, 30000);
}

// Types text on the PC's keyboard into a window, as the window system hands it on.
void typeInto(QWindow *window, const QString &text)
{
    for (const QChar c : text)
        QTest::keyClick(window, c.toLatin1());
}

QVantelVirtual *TestBusyInputGate::openKeyboard()
{
    auto *keyboard = new QVantelVirtual(1, m_widget.get());
    keyboard->setWindowModality(Qt::ApplicationModal);
    keyboard->show();
    if (!QTest::qWaitForWindowExposed(keyboard))
        return nullptr;
    keyboard->lineEdit()->setFocus();
    return keyboard;
}

void TestBusyInputGate::inputOnThePageShownGoesOnAfterTheWait()
{
    QSignalSpy clicked(m_button, &QAbstractButton::clicked);
    QSignalSpy dropped(m_gate.data(), &BusyInputGate::inputDropped);
    QCOMPARE(readWhileWaiting([&] {
                 QTest::mouseClick(m_button, Qt::LeftButton);
                 QTest::keyClick(m_button, Qt::Key_Space);
                 // Nothing runs inside the wait.
                 QCOMPARE(clicked.count(), 0);
             }),
             0);
    // The button is still there: both taps are carried out, once each.
    QTRY_COMPARE(clicked.count(), 2);
    QTest::qWait(50);
    QCOMPARE(clicked.count(), 2);
    QCOMPARE(dropped.count(), 0);
    QCOMPARE(m_gate->heldBackCount(), 0);

    // Without its gate the client holds input back again.
    delete m_gate;
    QVERIFY(!comClient()->inputGate());
}

// What the wait does to the page the tap was aimed at.
enum class Replaced { Hidden, Deleted, Covered, PopupOver };

void TestBusyInputGate::inputOnAReplacedPageIsDroppedAndMarked_data()
{
    QTest::addColumn<Replaced>("replaced");
    QTest::newRow("page hidden") << Replaced::Hidden;
    QTest::newRow("button deleted") << Replaced::Deleted;
    QTest::newRow("another page over it") << Replaced::Covered;
    QTest::newRow("a message of the panel over it") << Replaced::PopupOver;
}

void TestBusyInputGate::inputOnAReplacedPageIsDroppedAndMarked()
{
    QFETCH(Replaced, replaced);
    QSignalSpy clicked(m_button, &QAbstractButton::clicked);
    QSignalSpy pressed(m_button, &QAbstractButton::pressed);
    QSignalSpy dropped(m_gate.data(), &BusyInputGate::inputDropped);
    const QPoint tap = m_button->mapToGlobal(m_button->rect().center());
    QPointer<QWidget> cover;
    QCOMPARE(readWhileWaiting([&] {
                 QTest::mousePress(m_button, Qt::LeftButton);
                 // The answer replaces the page, inside the wait, as a page builder's does.
                 switch (replaced) {
                 case Replaced::Hidden:
                     m_button->hide();
                     break;
                 case Replaced::Deleted:
                     delete m_button;
                     break;
                 case Replaced::Covered:
                     cover = new QWidget(m_widget.get());
                     cover->setGeometry(m_widget->rect());
                     cover->show();
                     break;
                 case Replaced::PopupOver:
                     cover = openKeyboard();
                     break;
                 }
             }),
             0);
    QTRY_COMPARE(dropped.count(), 1);
    QCOMPARE(dropped.at(0).at(0).toPoint(), tap);
    QVERIFY(m_widget->findChild<QWidget *>(QStringLiteral("droppedInputMark")));
    // The release that comes later belongs to the dropped press.
    if (m_button && m_button->isVisible())
        QTest::mouseRelease(m_button, Qt::LeftButton);
    QTest::qWait(50);
    QCOMPARE(pressed.count(), 0);
    QCOMPARE(clicked.count(), 0);
    QCOMPARE(m_gate->heldBackCount(), 0);
    delete cover;
}

void TestBusyInputGate::typingIntoAnOpenKeyboardIsKeptWhole()
{
    // A keyboard of the panel is open while a timer's read (the keep-alive) waits: the typing
    // and the taps on its keys are all kept, in order.
    QVantelVirtual *keyboard = openKeyboard();
    QVERIFY(keyboard);
    QWindow *window = keyboard->windowHandle();
    // Taps on its keys, as the window system hands them on: to the popup's window.
    const auto tap = [keyboard, window](int key) {
        QWidget *button = keyboard->key(key);
        const QPoint at = button->mapTo(keyboard, button->rect().center());
        QTest::mouseClick(window, Qt::LeftButton, {}, at);
    };
    QCOMPARE(readWhileWaiting([&] {
                 typeInto(window, QStringLiteral("10.0"));
                 tap(1); // "w" on the first page
                 typeInto(window, QStringLiteral(".1"));
                 tap(2);
                 tap(3);
             }),
             0);
    tap(4);
    QTRY_COMPARE(keyboard->lineEdit()->text(), QStringLiteral("10.0w.1ert"));
    QTest::qWait(50);
    QCOMPARE(keyboard->lineEdit()->text(), QStringLiteral("10.0w.1ert"));
    delete keyboard;
}

void TestBusyInputGate::keysTypedWhileAKeyboardOpensGoIntoIt()
{
    // The tap asks for a keyboard, which opens once the unit has answered; what the operator
    // types on the PC's keyboard meanwhile is the keyboard's.
    QPointer<QVantelVirtual> keyboard;
    connect(m_button, &QAbstractButton::clicked, this, [&] {
        QCOMPARE(
            readWhileWaiting([&] { typeInto(m_widget->windowHandle(), QStringLiteral("admin")); }),
            0);
        keyboard = openKeyboard();
    });
    QTest::mouseClick(m_button, Qt::LeftButton);
    QVERIFY(keyboard);
    QTRY_COMPARE(keyboard->lineEdit()->text(), QStringLiteral("admin"));
    delete keyboard;
}

void TestBusyInputGate::tapBegunBeforeAWaitEndsAfterIt()
{
    // Counts the moves that reach the button.
    struct Moves : QObject
    {
        int count = 0;
        bool eventFilter(QObject *, QEvent *event) override
        {
            count += event->type() == QEvent::MouseMove ? 1 : 0;
            return false;
        }
    } moves;
    m_button->installEventFilter(&moves);
    QSignalSpy clicked(m_button, &QAbstractButton::clicked);
    const QPoint inside = m_button->rect().center();
    QTest::mousePress(m_button, Qt::LeftButton, {}, inside);
    QCOMPARE(readWhileWaiting([&] {
                 QTest::mouseMove(m_button, inside + QPoint(1, 1));
                 QTest::mouseRelease(m_button, Qt::LeftButton, {}, inside + QPoint(1, 1));
             }),
             0);
    // The move and the release are kept back through the wait and handed on after it.
    QCOMPARE(moves.count, 0);
    QCOMPARE(clicked.count(), 0);
    QTRY_COMPARE(clicked.count(), 1);
    QCOMPARE(moves.count, 1);
    QVERIFY(!m_button->isDown());
}

void TestBusyInputGate::heldReleaseWaitsThroughTheNextWait()
{
    // The step of the tap reads the unit twice in a row: the tap's own handler may not run
    // inside the second read, where its device calls would be refused.
    QList<bool> readyWhenClicked;
    connect(m_button, &QAbstractButton::clicked, this, [&readyWhenClicked] {
        readyWhenClicked << comClient()->isReady();
    });
    const QPoint inside = m_button->rect().center();
    QTest::mousePress(m_button, Qt::LeftButton, {}, inside);
    QCOMPARE(readWhileWaiting([&] { QTest::mouseRelease(m_button, Qt::LeftButton, {}, inside); }),
             0);
    QCOMPARE(readWhileWaiting([] {}), 0);
    QTRY_COMPARE(readyWhenClicked, QList<bool>{true});
    QVERIFY(!m_button->isDown());
}

// A dialog open when a timer's read starts (Connect... during the keep-alive) keeps what is typed
// into it meanwhile; it comes after the wait, before what is typed later.
void TestBusyInputGate::inputElsewhereWaitsForTheEndOfTheWait()
{
    QDialog dialog;
    auto *edit = new QLineEdit(&dialog);
    new QVBoxLayout(&dialog);
    dialog.layout()->addWidget(edit);
    int read = -1;
    QString typedMeanwhile;
    QTimer::singleShot(0, &dialog, [&] {
        // However this step ends, the dialog closes with it: the checks below judge it.
        const auto close = qScopeGuard([&dialog] { dialog.accept(); });
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QWindow *window = dialog.windowHandle();
        edit->setFocus();
        read = readWhileWaiting([&] {
            QTest::keyClicks(edit, QStringLiteral("12"));
            QTest::keyClick(window, Qt::Key_7);
            typedMeanwhile = edit->text();
        });
        QTest::keyClick(window, Qt::Key_0);
        QTRY_COMPARE_WITH_TIMEOUT(edit->text(), QStringLiteral("1270"), 30000);
    });
    // Only a safety net against a step that never runs; a slow machine must not trip it.
    QTimer::singleShot(120000, &dialog, &QDialog::reject);
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    QCOMPARE(edit->text(), QStringLiteral("1270"));
    QCOMPARE(read, 0);
    QCOMPARE(typedMeanwhile, QString());
}

// Records when a window is asked to close, and keeps it open.
struct CloseAsker : QObject
{
    QList<bool> readyWhenAsked;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::Close)
            return false;
        readyWhenAsked << comClient()->isReady();
        event->ignore();
        return true;
    }
};

void TestBusyInputGate::closeDuringAWaitAsksAfterIt()
{
    // The main window asks before it closes; any other window closes when told to.
    CloseAsker mainWindow;
    m_widget->installEventFilter(&mainWindow);
    QWidget other;
    CloseAsker otherWindow;
    other.installEventFilter(&otherWindow);
    other.show();
    QVERIFY(QTest::qWaitForWindowExposed(&other));
    const auto closeSpontaneously = [](QWidget *widget) {
        QCloseEvent close;
        QSpontaneKeyEvent::setSpontaneous(&close);
        QCoreApplication::instance()->notify(widget->windowHandle(), &close);
    };
    QSignalSpy clicked(m_button, &QAbstractButton::clicked);
    QCOMPARE(readWhileWaiting([&] {
                 closeSpontaneously(m_widget.get());
                 closeSpontaneously(&other);
                 QTest::mouseClick(m_button, Qt::LeftButton);
                 QCOMPARE(mainWindow.readyWhenAsked, QList<bool>{});
                 QCOMPARE(otherWindow.readyWhenAsked, QList<bool>{false});
             }),
             0);
    QTRY_COMPARE(mainWindow.readyWhenAsked, QList<bool>{true});
    QVERIFY(m_widget->isVisible());
    // The panel's tap, on the page still shown, is carried out too.
    QTRY_COMPARE(clicked.count(), 1);
}

// A run of calls that follow each other (a page that reads the unit several times) does not
// hold back a Close or the input outside the panel until its end: they go on between two calls.
// Taps on the panel wait for the end of the run, so that no handler runs inside another task.
void TestBusyInputGate::closeAndInputElsewhereGoOnBetweenCalls()
{
    CloseAsker mainWindow;
    m_widget->installEventFilter(&mainWindow);
    QWidget other;
    auto *otherButton = new QPushButton(QStringLiteral("?"), &other);
    other.show();
    QVERIFY(QTest::qWaitForWindowExposed(&other));
    QSignalSpy panelClicked(m_button, &QAbstractButton::clicked);
    QList<int> otherClickedAtRead;
    int read = 0;
    connect(otherButton, &QAbstractButton::clicked, this, [&] { otherClickedAtRead << read; });
    const auto closeSpontaneously = [](QWidget *widget) {
        QCloseEvent close;
        QSpontaneKeyEvent::setSpontaneous(&close);
        QCoreApplication::instance()->notify(widget->windowHandle(), &close);
    };
    QCOMPARE(readWhileWaiting([&] {
                 closeSpontaneously(m_widget.get());
                 QTest::mouseClick(otherButton, Qt::LeftButton);
                 QTest::mouseClick(m_button, Qt::LeftButton);
             }),
             0);
    for (read = 1; read < 3; ++read)
        QCOMPARE(readWhileWaiting([] {}), 0);
    // Both were handed on as the second read began, the Close asked while the client was ready.
    QCOMPARE(mainWindow.readyWhenAsked, QList<bool>{true});
    QCOMPARE(otherClickedAtRead, QList<int>{1});
    QCOMPARE(panelClicked.count(), 0);
    QTRY_COMPARE(panelClicked.count(), 1);
}

void TestBusyInputGate::dialogClosedByTheProgramCloses()
{
    // While typing held back in a wait is still being handed on, the dialog closes itself: it
    // is accepted once, and no late Close turns that into a Cancel.
    QDialog dialog;
    auto *edit = new QLineEdit(&dialog);
    new QVBoxLayout(&dialog);
    dialog.layout()->addWidget(edit);
    QList<int> finished;
    connect(&dialog, &QDialog::finished, this, [&finished](int result) { finished << result; });
    QTimer::singleShot(0, &dialog, [&] {
        const auto close = qScopeGuard([&dialog] { dialog.accept(); });
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        edit->setFocus();
        QCOMPARE(readWhileWaiting([&] { QTest::keyClicks(edit, QStringLiteral("12")); }), 0);
    });
    // Only a safety net against a step that never runs.
    QTimer::singleShot(120000, &dialog, &QDialog::reject);
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    QTest::qWait(50);
    QCOMPARE(finished, QList<int>{QDialog::Accepted});
    QVERIFY(!dialog.isVisible());
}

void TestBusyInputGate::dialogInsideAWaitTakesInput()
{
    int answer = -1;
    QCOMPARE(readWhileWaiting([&answer] {
                 QDialog dialog;
                 auto *ok = new QPushButton(QStringLiteral("OK"), &dialog);
                 connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
                 // The dialog's loop is its own: a tap on its button closes it. Should the tap be
                 // dropped, the dialog closes itself, rejected, rather than waiting for ever.
                 QTimer::singleShot(0, ok, [ok] { QTest::mouseClick(ok, Qt::LeftButton); });
                 QTimer::singleShot(20000, &dialog, &QDialog::reject);
                 answer = dialog.exec();
             }),
             0);
    QCOMPARE(answer, int(QDialog::Accepted));
}

QTEST_MAIN(TestBusyInputGate)
#include "tst_busyinputgate.moc"
