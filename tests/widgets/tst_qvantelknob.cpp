#include "widgets/qvantelknob.h"
#include "widgets/qvantelwheel.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

// The knob and the wheel: values, bounds, panning, engagement and revert. Keys are delivered
// with no front-panel receiver set, so forwarded keys go nowhere.
class TestQVantelKnob : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void stepsWithinBounds()
    {
        QVantelKnob knob(false);
        knob.show();
        knob.setMaximum(10);
        knob.setStep(3);
        knob.setValue(9);
        knob.setChecked(true);
        QSignalSpy values(&knob, &QVantelKnob::valueChanged);
        QTest::keyClick(&knob, Qt::Key_Plus);
        QCOMPARE(knob.value(), 9);
        QCOMPARE(values.count(), 0);
        QTest::keyClick(&knob, Qt::Key_Minus);
        QCOMPARE(knob.value(), 6);
        QCOMPARE(values.count(), 1);
        QCOMPARE(values.at(0).at(0).toInt(), 6);
    }

    void setValueClamps_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("stored");
        QTest::newRow("below") << -40 << -31;
        QTest::newRow("inside") << 3 << 3;
        QTest::newRow("above") << 99 << 16;
        QTest::newRow("int min") << INT_MIN << -31;
        QTest::newRow("int max") << INT_MAX << 16;
    }

    void setValueClamps()
    {
        QFETCH(int, value);
        QFETCH(int, stored);
        QVantelKnob knob(false);
        knob.setMinimum(-31, QStringLiteral("Off"));
        knob.setMaximum(16);
        knob.setValue(value);
        QCOMPARE(knob.value(), stored);
    }

    void setValueSignalsOnlyWhileVisible()
    {
        QVantelKnob knob(false);
        knob.setMaximum(10);
        QSignalSpy values(&knob, &QVantelKnob::valueChanged);
        knob.setValue(4);
        QCOMPARE(knob.value(), 4);
        QCOMPARE(values.count(), 0);
        knob.show();
        knob.setValue(4);
        QCOMPARE(values.count(), 0);
        knob.setValue(5);
        QCOMPARE(values.count(), 1);
    }

    void boundsMoveTheValueSilently()
    {
        QVantelKnob knob(false);
        knob.show();
        knob.setMaximum(50);
        knob.setValue(40);
        QSignalSpy values(&knob, &QVantelKnob::valueChanged);
        knob.setMaximum(30);
        QCOMPARE(knob.value(), 30);
        knob.setMinimum(35);
        QCOMPARE(knob.value(), 35);
        QCOMPARE(values.count(), 0);
    }

    void displayText()
    {
        QVantelKnob knob(false);
        knob.setMinimum(-17, QStringLiteral("Off"));
        knob.setMaximum(12);
        knob.addValue(-13, QStringLiteral("-20"));
        knob.addValue(-17, QStringLiteral("-120"));
        knob.setValue(-13);
        QCOMPARE(knob.displayText(), QStringLiteral("-13"));
        knob.setUseValueTexts(true);
        QCOMPARE(knob.displayText(), QStringLiteral("-20"));
        knob.setValue(-17);
        QCOMPARE(knob.displayText(), QStringLiteral("Off"));
        knob.setValue(5);
        QCOMPARE(knob.displayText(), QStringLiteral("5"));
    }

    void valueList()
    {
        QVantelKnob knob(false);
        knob.addValue(7, QStringLiteral("seven"));
        knob.addValue(8, QStringLiteral("eight"));
        knob.addValue(7, QStringLiteral("again"));
        QCOMPARE(knob.indexOfValue(7), 0);
        QCOMPARE(knob.indexOfValue(9), -1);
        QCOMPARE(knob.indexOfText(QStringLiteral("eight")), 1);
        QCOMPARE(knob.indexOfText(QStringLiteral("nine")), -1);
        QCOMPARE(knob.valueAt(2), 7);
        QCOMPARE(knob.valueAt(3), -1);
        QCOMPARE(knob.valueAt(-1), -1);
        QCOMPARE(knob.textAt(1), QStringLiteral("eight"));
        QVERIFY(knob.textAt(5).isEmpty());
    }

    void panningCycle_data()
    {
        QTest::addColumn<bool>("stereoAllowed");
        QTest::addColumn<QList<int>>("cycle");
        QTest::newRow("no stereo") << false << QList<int>{3, 1, 2, 0, 3};
        QTest::newRow("stereo") << true << QList<int>{4, 3, 1, 2, 0};
    }

    void panningCycle()
    {
        QFETCH(bool, stereoAllowed);
        QFETCH(QList<int>, cycle);
        QVantelKnob knob(true, nullptr, stereoAllowed);
        knob.show();
        knob.setChecked(true);
        QSignalSpy pans(&knob, &QVantelKnob::panningChanged);
        for (const int expected : cycle) {
            QTest::keyClick(&knob, Qt::Key_Return);
            QCOMPARE(knob.panning(), expected);
        }
        QCOMPARE(pans.count(), cycle.size());
        QCOMPARE(pans.last().at(0).value<QVantel::PanCtrl>(), QVantel::PanCtrl(cycle.last()));
        QCOMPARE(QVantelKnob::nextPanning(7, true), 3);
    }

    void panningNeedsAPanningKnob()
    {
        QVantelKnob plain(false);
        plain.show();
        plain.setChecked(true);
        QSignalSpy pans(&plain, &QVantelKnob::panningChanged);
        QTest::keyClick(&plain, Qt::Key_Enter);
        plain.setPanning(3);
        QCOMPARE(plain.panning(), 0);
        QCOMPARE(pans.count(), 0);

        QVantelKnob panning(true);
        QSignalSpy hidden(&panning, &QVantelKnob::panningChanged);
        panning.setPanning(3);
        QCOMPARE(panning.panning(), 3);
        QCOMPARE(hidden.count(), 0);
        panning.show();
        panning.setPanning(1);
        QCOMPARE(hidden.count(), 1);
    }

    void pointerAngle()
    {
        QVantelKnob knob(false);
        knob.setMinimum(-30);
        knob.setMaximum(30);
        knob.setValue(-30);
        QCOMPARE(knob.pointerAngle(), 30.0);
        knob.setValue(0);
        QCOMPARE(knob.pointerAngle(), 180.0);
        knob.setValue(30);
        QCOMPARE(knob.pointerAngle(), 330.0);
        // Equal bounds: nothing to sweep, no division by zero.
        QVantelKnob empty(false);
        QCOMPARE(empty.pointerAngle(), 30.0);
        empty.resize(84, 84);
        QVERIFY(!empty.grab().isNull());
    }

    void clickEngagesAndFocusLossDisengages()
    {
        QWidget window;
        auto *knob = new QVantelKnob(false, &window);
        knob->setGeometry(0, 0, 84, 84);
        auto *other = new QLineEdit(&window);
        other->setGeometry(100, 0, 80, 30);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::mouseClick(knob, Qt::LeftButton);
        QVERIFY(knob->isChecked());
        QVERIFY(knob->hasFocus());
        other->setFocus();
        QVERIFY(!knob->isChecked());
        QTest::mouseClick(knob, Qt::LeftButton);
        QTest::mouseClick(knob, Qt::LeftButton);
        QVERIFY(!knob->isChecked());
    }

    void wheelSteps()
    {
        QVantelWheel wheel;
        wheel.show();
        wheel.setMaximum(2);
        wheel.setValue(1);
        wheel.setChecked(true);
        QSignalSpy values(&wheel, &QVantelWheel::valueChanged);
        QTest::keyClick(&wheel, Qt::Key_Plus);
        QTest::keyClick(&wheel, Qt::Key_Plus);
        QCOMPARE(wheel.value(), 2);
        QTest::keyClick(&wheel, Qt::Key_Minus);
        QTest::keyClick(&wheel, Qt::Key_Minus);
        QTest::keyClick(&wheel, Qt::Key_Minus);
        QCOMPARE(wheel.value(), 0);
        QCOMPARE(values.count(), 3);
        QCOMPARE(wheel.committedValue(), 1);
    }

    void wheelSetters()
    {
        QVantelWheel wheel;
        QSignalSpy values(&wheel, &QVantelWheel::valueChanged);
        wheel.setMaximum(5);
        wheel.setValue(6);
        QCOMPARE(wheel.value(), 0);
        wheel.setValue(-1);
        QCOMPARE(wheel.value(), 0);
        wheel.setValue(4);
        QCOMPARE(wheel.value(), 4);
        wheel.setMaximum(2);
        QCOMPARE(wheel.value(), 2);
        QCOMPARE(wheel.committedValue(), 2);
        QCOMPARE(values.count(), 0);
        QCOMPARE(wheel.pointerAngle(), 330.0);
    }

    void oneEntryWheel()
    {
        QVantelWheel wheel;
        wheel.setMaximum(0);
        wheel.resize(58, 58);
        wheel.show();
        wheel.setChecked(true);
        QTest::keyClick(&wheel, Qt::Key_Plus);
        QCOMPARE(wheel.value(), 0);
        QCOMPARE(wheel.pointerAngle(), 30.0);
        QVERIFY(!wheel.grab().isNull());
    }

    void wheelRevertsOnFocusLoss_data()
    {
        QTest::addColumn<bool>("revert");
        QTest::addColumn<int>("after");
        QTest::newRow("revert") << true << 1;
        QTest::newRow("keep") << false << 3;
    }

    void wheelRevertsOnFocusLoss()
    {
        QFETCH(bool, revert);
        QFETCH(int, after);
        QWidget window;
        auto *wheel = new QVantelWheel(&window);
        wheel->setGeometry(0, 0, 58, 58);
        auto *other = new QLineEdit(&window);
        other->setGeometry(100, 0, 80, 30);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        wheel->setMaximum(5);
        wheel->setValue(1);
        wheel->setRevert(revert);
        QTest::mouseClick(wheel, Qt::LeftButton);
        QVERIFY(wheel->isChecked());
        QTest::keyClick(wheel, Qt::Key_Plus);
        QTest::keyClick(wheel, Qt::Key_Plus);
        QSignalSpy toggles(wheel, &QVantelWheel::toggled);
        other->setFocus();
        QCOMPARE(wheel->value(), after);
        QVERIFY(!wheel->isChecked());
        QCOMPARE(toggles.count(), 1);
    }
};

QTEST_MAIN(TestQVantelKnob)
#include "tst_qvantelknob.moc"
