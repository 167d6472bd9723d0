#include "frontpanel/busyinputgate.h"

#include "link/ccom.h"
#include "link/cmsg.h"
#include "link/comclient.h"
#include "link/sharedobjects.h"
#include "tests/support/fakequorix.h"

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

// User input made on the panel while a synchronous device call waits: dropped by the gate, not
// carried out once the wait is over; a tap begun before the wait still ends as a tap, input
// elsewhere is handed on after the wait, and a dialog opened during the wait still takes its own
// input.
class TestBusyInputGate : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void inputDuringAWaitIsDropped();
    void tapBegunBeforeAWaitEndsAfterIt();
    void pressDuringAWaitDropsItsRelease();
    void heldReleaseWaitsThroughTheNextWait();
    void inputElsewhereWaitsForTheEndOfTheWait();
    void closeDuringAWaitAsksAfterIt();
    void dialogClosedByTheProgramCloses();
    void dialogInsideAWaitTakesInput();

private:
    // One synchronous read that the unit answers late; during runs while it waits. The read's
    // result.
    int readWhileWaiting(const std::function<void()> &during);

    std::unique_ptr<FakeQuorix> m_fake;
    // The panel; the gate is its child.
    std::unique_ptr<QWidget> m_widget;
    QPointer<BusyInputGate> m_gate;
    QPushButton *m_button = nullptr;
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

void TestBusyInputGate::inputDuringAWaitIsDropped()
{
    QSignalSpy clicked(m_button, &QAbstractButton::clicked);
    QCOMPARE(readWhileWaiting([this] {
                 QTest::mouseClick(m_button, Qt::LeftButton);
                 QTest::mouseDClick(m_button, Qt::LeftButton);
                 QTest::keyClick(m_button, Qt::Key_Space);
             }),
             0);
    // Not carried out afterwards either.
    QTest::qWait(50);
    QCOMPARE(clicked.count(), 0);

    // Once the wait is over, a tap is a tap again.
    QTest::mouseClick(m_button, Qt::LeftButton);
    QTest::keyClick(m_button, Qt::Key_Space);
    QCOMPARE(clicked.count(), 2);

    // Without its gate the client holds input back again.
    delete m_gate;
    QVERIFY(!comClient()->inputGate());
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

void TestBusyInputGate::pressDuringAWaitDropsItsRelease()
{
    QSignalSpy clicked(m_button, &QAbstractButton::clicked);
    QSignalSpy pressed(m_button, &QAbstractButton::pressed);
    QCOMPARE(readWhileWaiting([this] { QTest::mousePress(m_button, Qt::LeftButton); }), 0);
    // The release of a press that was dropped is no tap, however late it comes.
    QTest::mouseRelease(m_button, Qt::LeftButton);
    QTest::qWait(50);
    QCOMPARE(pressed.count(), 0);
    QCOMPARE(clicked.count(), 0);
    QTest::mouseClick(m_button, Qt::LeftButton);
    QCOMPARE(clicked.count(), 1);
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
                 // The panel's taps are still dropped.
                 QTest::mouseClick(m_button, Qt::LeftButton);
                 QCOMPARE(mainWindow.readyWhenAsked, QList<bool>{});
                 QCOMPARE(otherWindow.readyWhenAsked, QList<bool>{false});
             }),
             0);
    QTRY_COMPARE(mainWindow.readyWhenAsked, QList<bool>{true});
    QVERIFY(m_widget->isVisible());
    QTest::qWait(50);
    QCOMPARE(clicked.count(), 0);
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
