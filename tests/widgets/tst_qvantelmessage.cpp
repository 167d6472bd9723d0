#include "tests/widgets/keysink.h"
#include "widgets/qvantelbutton.h"
#include "widgets/qvantelevent.h"
#include "widgets/qvantelmessage.h"

#include <QLabel>
#include <QLayout>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {

// Records the popup's cancelled flag when popupClosed() arrives, as an owner does.
struct CloseRecord
{
    int count = 0;
    bool cancelled = false;
};

void recordClose(QVantelPopup *popup, CloseRecord *record)
{
    QObject::connect(popup, &QVantelPopup::popupClosed, popup, [popup, record] {
        ++record->count;
        record->cancelled = popup->isCancelled();
    });
}

// The messages' click guard reads this clock, which moves only when a test moves it.
qint64 s_now = 0;

qint64 testClock()
{
    return s_now;
}

} // namespace

class TestQVantelMessage : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void buttonsCloseWithTheirFlag_data();
    void buttonsCloseWithTheirFlag();
    void kindZeroClosesByTimer();
    void setTextRestartsOrStopsTheTimer();
    void closingTwiceSignalsOnce();
    void clickBeforeTheTextAppearedIsIgnored_data();
    void clickBeforeTheTextAppearedIsIgnored();
    void keysGoToTheFrontPanel();
    void textIsNeverCutOff_data();
    void textIsNeverCutOff();
    void longerTextGrowsAboutTheCentre();
};

void TestQVantelMessage::init()
{
    s_now = 100000;
    QVantelMessage::setClock(&testClock);
}

void TestQVantelMessage::cleanup()
{
    QVantelMessage::setClock(nullptr);
}

void TestQVantelMessage::buttonsCloseWithTheirFlag_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("cancelled");
    QTest::newRow("ok") << QStringLiteral("ok") << false;
    QTest::newRow("cancel") << QStringLiteral("cancel") << true;
    QTest::newRow("background") << QStringLiteral("background") << true;
    QTest::newRow("timer") << QStringLiteral("timer") << true;
}

void TestQVantelMessage::buttonsCloseWithTheirFlag()
{
    QFETCH(QString, how);
    QFETCH(bool, cancelled);

    QWidget owner;
    QPointer<QVantelMessage> message
        = new QVantelMessage(QStringLiteral("Apply?"), QVantelMessage::CancelAndOk, &owner);
    QVERIFY(message->cancelButton());
    QVERIFY(message->okButton());
    QCOMPARE(message->cancelButton()->text(), QStringLiteral("Cancel"));
    QCOMPARE(message->okButton()->text(), QStringLiteral("OK"));
    CloseRecord record;
    recordClose(message, &record);
    message->setAutoCloseMs(how == QLatin1String("timer") ? 20 : 0);
    message->popup();
    QVERIFY(QTest::qWaitForWindowExposed(message));

    if (how == QLatin1String("ok"))
        QTest::mouseClick(message->okButton(), Qt::LeftButton);
    else if (how == QLatin1String("cancel"))
        QTest::mouseClick(message->cancelButton(), Qt::LeftButton);
    else if (how == QLatin1String("background")) {
        // A click on the text, once it could be read.
        s_now += QVantelMessage::kClickGuardMs;
        QTest::mouseClick(message->textLabel(), Qt::LeftButton);
    }

    QTRY_COMPARE(record.count, 1);
    QCOMPARE(record.cancelled, cancelled);
    // The popup survives its own closing handlers and goes with the next event-loop pass.
    QTRY_VERIFY(message.isNull());
}

void TestQVantelMessage::kindZeroClosesByTimer()
{
    QWidget owner;
    auto *message = new QVantelMessage(QStringLiteral("Please wait"), 0, &owner);
    QVERIFY(!message->cancelButton());
    QVERIFY(!message->okButton());
    CloseRecord record;
    recordClose(message, &record);
    message->setAutoCloseMs(1000);
    message->popup();
    QCOMPARE(message->autoCloseMs(), 0);
    QVERIFY(message->autoCloseTimer()->isActive());
    QCOMPARE(message->autoCloseTimer()->interval(), 1000);
    QTRY_COMPARE_WITH_TIMEOUT(record.count, 1, 10000);
    QVERIFY(record.cancelled);
}

void TestQVantelMessage::setTextRestartsOrStopsTheTimer()
{
    QWidget owner;
    auto *message = new QVantelMessage(QStringLiteral("one"), 0, &owner);
    message->setAutoCloseMs(5000);
    message->popup();
    QTimer *timer = message->autoCloseTimer();
    QCOMPARE(timer->interval(), 5000);

    // A new text with a new pending time restarts the timer from that time.
    message->setAutoCloseMs(8000);
    message->setText(QStringLiteral("two"));
    QCOMPARE(message->textLabel()->text(), QStringLiteral("two"));
    QCOMPARE(timer->interval(), 8000);
    QVERIFY(timer->isActive());

    // The same text again leaves the running timer and the pending time alone.
    message->setAutoCloseMs(100);
    message->setText(QStringLiteral("two"));
    QCOMPARE(timer->interval(), 8000);
    QCOMPARE(message->autoCloseMs(), 100);

    // A new text with no pending time stops the timer: the message stays until closed.
    message->setAutoCloseMs(0);
    message->setText(QStringLiteral("three"));
    QVERIFY(!timer->isActive());
    QVERIFY(message->isVisible());
    message->close();
}

void TestQVantelMessage::closingTwiceSignalsOnce()
{
    QWidget owner;
    auto *message = new QVantelMessage(QStringLiteral("x"), 3, &owner);
    CloseRecord record;
    recordClose(message, &record);
    message->popup();
    message->close();
    message->close();
    QCOMPARE(record.count, 1);
}

void TestQVantelMessage::clickBeforeTheTextAppearedIsIgnored_data()
{
    QTest::addColumn<bool>("newText");
    QTest::addColumn<bool>("outside");
    QTest::newRow("new message, click on it") << false << false;
    QTest::newRow("new message, click beside it") << false << true;
    QTest::newRow("new text, click on it") << true << false;
}

// While the program waits for the unit, user input is held back; when the wait ends the held
// clicks arrive at once, just after the message the wait produced appeared. They must not
// close it before it can be read.
void TestQVantelMessage::clickBeforeTheTextAppearedIsIgnored()
{
    QFETCH(bool, newText);
    QFETCH(bool, outside);

    QWidget owner;
    QPointer<QVantelMessage> message
        = new QVantelMessage(QStringLiteral("Please wait..."), 0, &owner);
    CloseRecord record;
    recordClose(message, &record);
    message->popup();
    QVERIFY(QTest::qWaitForWindowExposed(message));
    if (newText) {
        // The first text could be read a while; then the answer replaces it.
        s_now += 2 * QVantelMessage::kClickGuardMs;
        message->setText(QStringLiteral("The unit does not answer!"));
    }
    const QPoint where = outside ? QPoint(-20, -20) : message->rect().center();
    s_now += QVantelMessage::kClickGuardMs - 1;
    QTest::mouseClick(message, Qt::LeftButton, {}, where);
    QCOMPARE(record.count, 0);
    QVERIFY(message->isVisible());

    // A click made once the text could be read closes it.
    s_now += 1;
    QTest::mouseClick(message, Qt::LeftButton, {}, where);
    QCOMPARE(record.count, 1);
    QVERIFY(record.cancelled);
}

void TestQVantelMessage::keysGoToTheFrontPanel()
{
    KeySink sink;
    frontPanelReceiver = &sink;
    QWidget owner;
    QPointer<QVantelMessage> message = new QVantelMessage(QStringLiteral("x"), 3, &owner);
    CloseRecord record;
    recordClose(message, &record);
    message->popup();
    QVERIFY(QTest::qWaitForWindowExposed(message));
    QTest::keyClick(message, Qt::Key_Return);
    QTest::keyClick(message, Qt::Key_A);
    QCoreApplication::sendPostedEvents(&sink);
    frontPanelReceiver = nullptr;
    const QList<QList<int>> expected
        = {{6, Qt::Key_Return, 0}, {7, Qt::Key_Return, 0}, {6, Qt::Key_A, 0}, {7, Qt::Key_A, 0}};
    QCOMPARE(sink.events, expected);
    // The keys did not press the buttons.
    QCOMPARE(record.count, 0);
    delete message;
}

namespace {

// The login page's notice for firmware 2.01.3: seven lines at the message's font.
QString newerFirmwareText()
{
    return QStringLiteral("Newer firmware detected on this\nunit (Version 2.01.3)\n\nAn update of "
                          "the \"My Quorix\" application is recommended to access all the "
                          "features of the device");
}

// The label shows its whole text when the height its text needs at its width fits in it.
bool showsWholeText(QVantelMessage &message)
{
    message.layout()->activate();
    const QLabel *label = message.textLabel();
    return label->heightForWidth(label->width()) <= label->height();
}

} // namespace

void TestQVantelMessage::textIsNeverCutOff_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("usualSize");

    QTest::newRow("short notice") << QStringLiteral("Please wait...") << 0 << true;
    QTest::newRow("short question")
        << QStringLiteral("Are you sure you want to hang up?") << 3 << true;
    QTest::newRow("newer firmware") << newerFirmwareText() << 0 << false;
    QTest::newRow("newer firmware with buttons") << newerFirmwareText() << 3 << false;
    QTest::newRow("far too long") << QStringLiteral("line\n").repeated(20) << 3 << false;
}

void TestQVantelMessage::textIsNeverCutOff()
{
    QFETCH(QString, text);
    QFETCH(int, kind);
    QFETCH(bool, usualSize);

    QVantelMessage message(text, kind);
    message.show();
    QVERIFY(showsWholeText(message));
    QCOMPARE(message.width(), 400);
    if (usualSize)
        QCOMPARE(message.height(), 180);
    else
        QVERIFY(message.height() > 180);
    // Never taller than the front panel.
    QVERIFY(message.height() <= 460);
    QCOMPARE(message.minimumSize(), message.maximumSize());
    if (kind != 0)
        QVERIFY(message.okButton()->geometry().bottom() < message.height());
}

void TestQVantelMessage::longerTextGrowsAboutTheCentre()
{
    QVantelMessage message(QStringLiteral("Please wait..."), 0);
    message.move(200, 150);
    message.show();
    const QPoint centre = message.geometry().center();
    message.setText(newerFirmwareText());
    QVERIFY(message.height() > 180);
    QVERIFY(showsWholeText(message));
    QVERIFY((message.geometry().center() - centre).manhattanLength() <= 1);

    // Back to a short text, back to the usual size.
    message.setText(QStringLiteral("Done"));
    QCOMPARE(message.size(), QSize(400, 180));
}

QTEST_MAIN(TestQVantelMessage)
#include "tst_qvantelmessage.moc"
