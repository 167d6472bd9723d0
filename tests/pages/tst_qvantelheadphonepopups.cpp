#include "pages/qvantelheadphoneaudio.h"
#include "pages/qvantelheadphoneselect.h"
#include "widgets/qvantelaudio.h"
#include "widgets/qvantelaudioinput.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

class tst_QVantelHeadphonePopups : public QObject
{
    Q_OBJECT

private slots:
    void encoderSteps_data();
    void encoderSteps();
    void panningCycles_data();
    void panningCycles();
    void setCurrentAndResults();
    void audioPopupResults();

private:
    static void press(QWidget *widget, int key)
    {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &event);
    }
    static void wheel(QWidget *widget, int delta)
    {
        QWheelEvent event(QPointF(10, 10),
                          widget->mapToGlobal(QPointF(10, 10)),
                          QPoint(),
                          QPoint(0, delta),
                          Qt::NoButton,
                          Qt::NoModifier,
                          Qt::NoScrollPhase,
                          false);
        QCoreApplication::sendEvent(widget, &event);
    }
};

// Steps of the encoder ("+", "-", wheel up "w+", wheel down or still "w-"/"w0") from the popup's
// first state, and the text and value then shown.
void tst_QVantelHeadphonePopups::encoderSteps_data()
{
    QTest::addColumn<int>("choices");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");

    QTest::newRow("no choices") << 0 << QStringList{"+", "-", "w+", "w-"} << "Use encoder" << -1;
    QTest::newRow("plus from none") << 3 << QStringList{"+"} << "B" << 11;
    QTest::newRow("minus from none") << 3 << QStringList{"-"} << "D" << 13;
    QTest::newRow("plus wraps") << 3 << QStringList{"+", "+", "+", "+"} << "B" << 11;
    QTest::newRow("minus wraps") << 3 << QStringList{"+", "-"} << "D" << 13;
    QTest::newRow("wheel") << 3 << QStringList{"w+", "w+", "w0"} << "B" << 11;
}

void tst_QVantelHeadphonePopups::encoderSteps()
{
    QFETCH(int, choices);
    QFETCH(QStringList, steps);
    QFETCH(QString, text);
    QFETCH(int, value);

    QWidget page;
    auto *popup = new QVantelHeadphoneSelect(&page);
    const QStringList texts = {"B", "C", "D"};
    for (int i = 0; i < choices; ++i)
        popup->addItem(11 + i, texts.at(i));
    for (const QString &step : steps) {
        if (step == "+" || step == "-")
            press(popup, step == "+" ? Qt::Key_Plus : Qt::Key_Minus);
        else
            wheel(popup, step == "w+" ? 120 : (step == "w-" ? -120 : 0));
    }
    QCOMPARE(popup->display()->text(), text);
    QCOMPARE(popup->display()->value(), value);

    QSignalSpy closed(popup, &QVantelPopup::popupClosed);
    popup->okClicked();
    QCOMPARE(closed.count(), 1);
    QCOMPARE(popup->selectedValue(), value);
    QCOMPARE(popup->selectedPanning(), int(QVantel::PanBoth));
}

void tst_QVantelHeadphonePopups::panningCycles_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("key");
    QTest::addColumn<QList<int>>("seen");

    for (int start : {3, 1, 2, 0}) {
        const QByteArray name = "from " + QByteArray::number(start);
        QTest::newRow((name + " by Enter").constData()) << start << int(Qt::Key_Enter)
                                                        << (start == 3   ? QList<int>{1, 2, 0, 3}
                                                            : start == 1 ? QList<int>{2, 0, 3, 1}
                                                            : start == 2 ? QList<int>{0, 3, 1, 2}
                                                                         : QList<int>{3, 1, 2, 0});
    }
    QTest::newRow("Return") << 3 << int(Qt::Key_Return) << QList<int>{1, 2, 0, 3};
    QTest::newRow("encoder key") << 3 << QVantelHeadphoneSelect::kEncoderKey
                                 << QList<int>{1, 2, 0, 3};
    QTest::newRow("right click") << 3 << -1 << QList<int>{1, 2, 0, 3};
}

void tst_QVantelHeadphonePopups::panningCycles()
{
    QFETCH(int, start);
    QFETCH(int, key);
    QFETCH(QList<int>, seen);

    QWidget page;
    auto *popup = new QVantelHeadphoneSelect(&page);
    popup->display()->setPanning(start);
    QList<int> got;
    for (int i = 0; i < 4; ++i) {
        if (key == -1) {
            QMouseEvent click(QEvent::MouseButtonPress,
                              QPointF(5, 5),
                              popup->mapToGlobal(QPointF(5, 5)),
                              Qt::RightButton,
                              Qt::RightButton,
                              Qt::NoModifier);
            QCoreApplication::sendEvent(popup, &click);
            QVERIFY(click.isAccepted());
        } else {
            press(popup, key);
        }
        got << popup->display()->panning();
    }
    QCOMPARE(got, seen);
}

void tst_QVantelHeadphonePopups::setCurrentAndResults()
{
    QWidget page;
    auto *popup = new QVantelHeadphoneSelect(&page);
    popup->addItem(8, "USB");
    popup->addItem(4, "AUX 1");

    popup->setCurrent(4);
    QCOMPARE(popup->currentIndex(), 1);
    QCOMPARE(popup->display()->text(), QStringLiteral("AUX 1"));
    press(popup, Qt::Key_Enter);
    popup->setCurrent(8);
    QCOMPARE(popup->display()->panning(), int(QVantel::PanBoth));
    QCOMPARE(popup->display()->value(), 8);

    popup->setCurrent(99);
    QCOMPARE(popup->currentIndex(), -1);
    QCOMPARE(popup->display()->text(), QStringLiteral("Use encoder"));
    QCOMPARE(popup->display()->value(), -1);

    // Cancel after a change keeps the results at nothing chosen.
    press(popup, Qt::Key_Plus);
    press(popup, Qt::Key_Enter);
    QPointer<QVantelHeadphoneSelect> alive(popup);
    popup->cancelClicked();
    QCOMPARE(popup->selectedValue(), -1);
    QCOMPARE(popup->selectedPanning(), 0);
    QVERIFY(popup->isCancelled());
    QTRY_VERIFY(alive.isNull());
}

void tst_QVantelHeadphonePopups::audioPopupResults()
{
    QWidget page;
    auto *cancelled = new QVantelHeadphoneAudio(&page);
    QCOMPARE(cancelled->strip()->panning(), int(QVantel::PanBoth));
    cancelled->strip()->setGain(5);
    cancelled->strip()->setPanning(QVantel::PanLeft);
    cancelled->cancelClicked();
    QVERIFY(!cancelled->accepted());
    QCOMPARE(cancelled->strip()->gain(), 5);

    auto *accepted = new QVantelHeadphoneAudio(&page);
    QSignalSpy closed(accepted, &QVantelPopup::popupClosed);
    accepted->okClicked();
    QVERIFY(accepted->accepted());
    QCOMPARE(closed.count(), 1);
}

QTEST_MAIN(tst_QVantelHeadphonePopups)
#include "tst_qvantelheadphonepopups.moc"
