#include "tests/widgets/keysink.h"
#include "widgets/qvantelevent.h"
#include "widgets/qvantelknob.h"
#include "widgets/qvantelwheel.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTest>

#include <memory>

class TestKeyForwarding : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_receiver = std::make_unique<KeySink>();
        frontPanelReceiver = m_receiver.get();
        m_knob = std::make_unique<QVantelKnob>(false);
        m_knob->setMaximum(10);
        m_knob->show();
    }

    void cleanup()
    {
        m_knob.reset();
        frontPanelReceiver = nullptr;
        m_receiver.reset();
    }

    void eventCarriesItsFields()
    {
        QVantelEvent event(QVantelEvent::DeviceMessage, -1, 0);
        QCOMPARE(int(event.type()), 1000);
        QCOMPARE(event.keyEventType, 1000);
        QCOMPARE(event.key, -1);
        QCOMPARE(event.fromControl, 0);
    }

    void nothingIsPostedWithoutReceiver()
    {
        frontPanelReceiver = nullptr;
        QTest::keyClick(m_knob.get(), Qt::Key_A);
        forwardKey(Qt::Key_B, QVantelEvent::KeyPress, false);
        frontPanelReceiver = m_receiver.get();
        QCoreApplication::sendPostedEvents();
        QVERIFY(m_receiver->events.isEmpty());
        QCOMPARE(m_knob->value(), 0);
    }

    void eventsArePostedNotSent()
    {
        forwardKey(Qt::Key_Up, QVantelEvent::KeyPress, false);
        QVERIFY(m_receiver->events.isEmpty());
        QCoreApplication::sendPostedEvents();
        QCOMPARE(m_receiver->events.size(), qsizetype(1));
        QCOMPARE(m_receiver->events[0][1], int(Qt::Key_Up));
        QCOMPARE(m_receiver->events[0][2], 0);
    }

    void destroyedReceiverIsNotPostedTo()
    {
        m_receiver.reset();
        QVERIFY(frontPanelReceiver.isNull());
        QTest::keyClick(m_knob.get(), Qt::Key_A);
        QCoreApplication::sendPostedEvents();
    }

    void engagedKnobForwardsUnusedKeys()
    {
        m_knob->setChecked(true);
        QTest::keyClick(m_knob.get(), Qt::Key_A);
        QCoreApplication::sendPostedEvents();
        QCOMPARE(m_receiver->events.size(), qsizetype(2));
        QCOMPARE(m_receiver->events[0][0], 6);
        QCOMPARE(m_receiver->events[1][0], 7);
        for (const QList<int> &event : std::as_const(m_receiver->events)) {
            QCOMPARE(event[1], 65);
            QCOMPARE(event[2], 1);
        }
    }

    void engagedKnobKeepsItsKeys()
    {
        m_knob->setValue(10);
        m_knob->setChecked(true);
        // "+" at the maximum changes nothing but is still the knob's; only its release goes on.
        QTest::keyClick(m_knob.get(), Qt::Key_Plus);
        QTest::keyClick(m_knob.get(), Qt::Key_Return);
        QCoreApplication::sendPostedEvents();
        QCOMPARE(m_receiver->events.size(), qsizetype(2));
        QCOMPARE(m_receiver->events[0][0], 7);
        QCOMPARE(m_receiver->events[0][1], int(Qt::Key_Plus));
        QCOMPARE(m_receiver->events[1][1], int(Qt::Key_Return));
    }

    void idleKnobForwardsEverything()
    {
        QSignalSpy values(m_knob.get(), &QVantelKnob::valueChanged);
        QTest::keyPress(m_knob.get(), Qt::Key_Plus);
        QCoreApplication::sendPostedEvents();
        QCOMPARE(m_receiver->events.size(), qsizetype(1));
        QCOMPARE(m_receiver->events[0][0], 6);
        QCOMPARE(m_receiver->events[0][1], 43);
        QCOMPARE(values.count(), 0);
    }

    void mouseWheelAndRightButtonGoThroughKeyHandling()
    {
        // Not engaged: a wheel turn forwards "+" or "-", a right click forwards Enter.
        QWheelEvent up(QPointF(5, 5),
                       QPointF(5, 5),
                       QPoint(),
                       QPoint(0, 120),
                       Qt::NoButton,
                       Qt::NoModifier,
                       Qt::NoScrollPhase,
                       false);
        QCoreApplication::sendEvent(m_knob.get(), &up);
        QWheelEvent down(QPointF(5, 5),
                         QPointF(5, 5),
                         QPoint(),
                         QPoint(0, -120),
                         Qt::NoButton,
                         Qt::NoModifier,
                         Qt::NoScrollPhase,
                         false);
        QCoreApplication::sendEvent(m_knob.get(), &down);
        QTest::mousePress(m_knob.get(), Qt::RightButton);
        QCoreApplication::sendPostedEvents();
        QCOMPARE(m_receiver->events.size(), qsizetype(3));
        QCOMPARE(m_receiver->events[0][1], int(Qt::Key_Plus));
        QCOMPARE(m_receiver->events[1][1], int(Qt::Key_Minus));
        QCOMPARE(m_receiver->events[2][1], int(Qt::Key_Enter));
        QVERIFY(!m_knob->isChecked());
    }

    void wheelForwardsLikeTheKnob()
    {
        QVantelWheel wheel;
        wheel.setMaximum(3);
        wheel.show();
        QTest::keyClick(&wheel, Qt::Key_Plus);
        wheel.setChecked(true);
        QTest::keyClick(&wheel, Qt::Key_Plus);
        QTest::keyClick(&wheel, Qt::Key_Escape);
        QCoreApplication::sendPostedEvents();
        // press + release of the idle "+", release of the engaged "+", press + release of Esc.
        QCOMPARE(m_receiver->events.size(), qsizetype(5));
        QCOMPARE(m_receiver->events[2][0], 7);
        QCOMPARE(m_receiver->events[3][1], int(Qt::Key_Escape));
        QCOMPARE(wheel.value(), 1);
    }

private:
    std::unique_ptr<KeySink> m_receiver;
    std::unique_ptr<QVantelKnob> m_knob;
};

QTEST_MAIN(TestKeyForwarding)
#include "tst_keyforwarding.moc"
