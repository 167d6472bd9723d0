#include "model/accesslevel.h"
#include "model/comcontroller.h"
#include "model/firmwareversion.h"

#include <QSignalSpy>
#include <QtTest>

namespace {

// The smallest controller: one value with a setter that follows the model's convention.
class Probe : public TComController
{
    Q_OBJECT

public:
    Probe()
        : TComController(nullptr, GeneralController)
    {}

    void reset() override
    {
        const bool wasBlocked = blockSignals(true);
        m_value = 0;
        blockSignals(wasBlocked);
        TComController::reset();
    }
    bool readAll() override { return read({}); }
    bool read(const std::vector<std::string> &) override { return false; }
    bool write(const std::vector<std::string> &) override { return false; }

    int m_value = 0;
};

} // namespace

class tst_ComController : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void processStartValues();
    void initialState();
    void setStateSignalsOnlyOnChange();
    void reset();
    void baseHandlersDeclineMessages();
    void stateFromCause_data();
    void stateFromCause();
};

// Read before any login: an unknown version must compare above every firmware gate, so that
// every gated key is used, and the level must be the narrowest one.
void tst_ComController::processStartValues()
{
    QCOMPARE(firmwareVersion, 0xFFFFFFU);
    QCOMPARE(kFirmwareVersionUnknown, 0xFFFFFFU);
    QVERIFY(firmwareVersion > 0x1ffffU);
    QCOMPARE(int(accessLevel), int(AccessLevel::Operator));
    QCOMPARE(int(AccessLevel::Operator), 0);
    QCOMPARE(int(AccessLevel::Expert), 1);
    QCOMPARE(int(AccessLevel::Administrator), 2);
}

void tst_ComController::initialState()
{
    Probe probe;
    QCOMPARE(probe.state(), int(TComController::StateUnknown));
    QCOMPARE(probe.type(), int(TComController::GeneralController));
    QCOMPARE(probe.request().com(), nullptr);
    QVERIFY(probe.request().lastError().empty());
}

void tst_ComController::setStateSignalsOnlyOnChange()
{
    Probe probe;
    QSignalSpy spy(&probe, &TComController::controllerStateChanged);

    probe.setState(TComController::StateNotAllowed);
    probe.setState(TComController::StateNotAllowed);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).value<TComController *>(), &probe);
    QCOMPARE(probe.state(), int(TComController::StateNotAllowed));

    probe.setState(TComController::StateReady);
    QCOMPARE(spy.count(), 2);
    QCOMPARE(probe.state(), int(TComController::StateReady));
}

void tst_ComController::reset()
{
    Probe probe;
    QSignalSpy spy(&probe, &TComController::controllerStateChanged);

    // Nothing to announce from the unknown state.
    probe.reset();
    QCOMPARE(spy.count(), 0);

    probe.setState(TComController::StatePinRequired);
    probe.m_value = 7;
    spy.clear();
    probe.reset();
    QCOMPARE(spy.count(), 1);
    QCOMPARE(probe.state(), int(TComController::StateUnknown));
    QCOMPARE(probe.m_value, 0);
    QVERIFY(!probe.signalsBlocked());
}

void tst_ComController::baseHandlersDeclineMessages()
{
    Probe probe;
    const ksm::CMsg info(ksm::CMsg::Info);
    const ksm::CMsg event(ksm::CMsg::Event);
    QVERIFY(!probe.handleInfo(info));
    QVERIFY(!probe.handleEvent(event));
}

void tst_ComController::stateFromCause_data()
{
    QTest::addColumn<QByteArray>("cause");
    QTest::addColumn<int>("state");

    QTest::newRow("empty") << QByteArray() << int(TComController::StateReady);
    QTest::newRow("unknown error")
        << QByteArray("200-unknown error") << int(TComController::StateReady);
    QTest::newRow("no cause") << QByteArray("garbage") << int(TComController::StateReady);
    QTest::newRow("pin") << QByteArray("122-pin required") << int(TComController::StatePinRequired);
    QTest::newRow("puk") << QByteArray("124-puk required") << int(TComController::StateSimLocked);
    QTest::newRow("sim locked") << QByteArray("011-sim locked")
                                << int(TComController::StateSimLocked);
    QTest::newRow("sim missing") << QByteArray("010-sim missing")
                                 << int(TComController::StateSimMissing);
    QTest::newRow("not allowed") << QByteArray("015-not allowed")
                                 << int(TComController::StateNotAllowed);
    QTest::newRow("not registered")
        << QByteArray("123-not registered") << int(TComController::StateNotRegistered);
    QTest::newRow("other cause") << QByteArray("102-unknown parameter")
                                 << int(TComController::StateNotReady);
    QTest::newRow("hardware error")
        << QByteArray("201-hardware error") << int(TComController::StateNotReady);
    QTest::newRow("wrong case") << QByteArray("122-PIN required")
                                << int(TComController::StateReady);
}

void tst_ComController::stateFromCause()
{
    QFETCH(QByteArray, cause);
    QFETCH(int, state);
    QCOMPARE(TComController::stateFromCause(cause.toStdString()), state);
}

QTEST_GUILESS_MAIN(tst_ComController)
#include "tst_comcontroller.moc"
