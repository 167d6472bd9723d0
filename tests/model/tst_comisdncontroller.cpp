#include "model/comisdncontroller.h"

#include "link/cmsg.h"
#include "tests/model/linkedfake.h"

#include <QSignalSpy>
#include <QtTest>

namespace {

const QString kNet = QStringLiteral("network");
const QString kAudio = QStringLiteral("audio");
const QString kIsdn0 = QStringLiteral("isdn.0");

QList<int> params(const QSignalSpy &spy)
{
    QList<int> result;
    for (const QList<QVariant> &arguments : spy)
        result << arguments.at(1).toInt();
    return result;
}

} // namespace

class tst_ComIsdnController : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void protocolWords_data();
    void protocolWords();
    void ni1IsWrittenBackAsNi1();
    void setters();
    void readSplitsTargets();
    void readSucceedsWhenEitherRequestDelivers();
    void writeSplitsTargets();
    void writeSendsOnlyKnownValues();
    void resetSignalsOnlyState();

private:
    LinkedFake m_link;
};

void tst_ComIsdnController::init()
{
    QVERIFY(m_link.start());
}

void tst_ComIsdnController::cleanup()
{
    m_link.stop();
}

void tst_ComIsdnController::protocolWords_data()
{
    QTest::addColumn<QByteArray>("word");
    QTest::addColumn<int>("value");
    QTest::addColumn<QByteArray>("written");

    QTest::newRow("udss1") << QByteArray("isdn_udss1") << 0 << QByteArray("isdn_udss1");
    QTest::newRow("ni1") << QByteArray("isdn_ni1") << 3 << QByteArray("isdn_ni1");
    QTest::newRow("ni2") << QByteArray("isdn_ni2") << 1 << QByteArray("isdn_ni2");
    QTest::newRow("ntt") << QByteArray("isdn_ntt") << 2 << QByteArray("isdn_ntt");
    QTest::newRow("empty") << QByteArray() << 0 << QByteArray("isdn_udss1");
    QTest::newRow("unknown") << QByteArray("isdn_dss1") << 0 << QByteArray("isdn_udss1");
}

void tst_ComIsdnController::protocolWords()
{
    QFETCH(QByteArray, word);
    QFETCH(int, value);
    QFETCH(QByteArray, written);

    QCOMPARE(TComIsdnController::protocolFromText(word.toStdString()), value);
    QCOMPARE(QByteArray::fromStdString(TComIsdnController::protocolText(value)), written);
    QCOMPARE(TComIsdnController::protocolText(-1), std::string("isdn_udss1"));
    QCOMPARE(TComIsdnController::protocolText(5), std::string("isdn_udss1"));
}

void tst_ComIsdnController::ni1IsWrittenBackAsNi1()
{
    m_link.fake->setValue(QStringLiteral("protocol"), QStringLiteral("isdn_ni1"), kNet, kIsdn0);
    TComIsdnController isdn(m_link.com.get());
    QVERIFY(isdn.setNetwork("isdn.0", TComNetworkController::ReadAllFlag, false));
    QCOMPARE(isdn.protocol(), int(TComIsdnController::ProtocolNi1));

    m_link.fake->clearLog();
    QVERIFY(isdn.write({"protocol"}));
    QCOMPARE(m_link.bodies(),
             QList<QByteArray>({"PARAM;network:isdn.0;protocol:isdn_ni1;target:network;"}));
    QCOMPARE(m_link.fake->value(QStringLiteral("protocol"), kNet, kIsdn0),
             QStringLiteral("isdn_ni1"));
}

void tst_ComIsdnController::setters()
{
    TComIsdnController isdn(m_link.com.get());
    QVERIFY(isdn.setNetwork("isdn.0", 0, false));
    QSignalSpy spy(&isdn, &TComNetworkController::controllerParamChanged);

    QVERIFY(isdn.set5as(true, true));
    QVERIFY(isdn.setProtocol(5, true));
    QCOMPARE(isdn.protocol(), 5);
    QVERIFY(isdn.setSpid("0123", true));
    QVERIFY(isdn.setSpid("", true));
    QVERIFY(isdn.setLocalNumber1("301", true));
    QVERIFY(isdn.setLocalNumber2("302", true));
    QVERIFY(isdn.setSubAddress1("1", true));
    QVERIFY(isdn.setSubAddress2("2", true));
    // -1 is stored but never sent.
    QVERIFY(isdn.setProtocol(-1, true));
    QCOMPARE(isdn.protocol(), -1);
    QVERIFY(isdn.setProtocol(5, false));
    // Unchanged: nothing sent, nothing signalled.
    QVERIFY(isdn.setSubAddress2("2", true));
    QVERIFY(isdn.set5as(true, true));

    QCOMPARE(m_link.bodies(),
             QList<QByteArray>({"PARAM;5as:on;target:audio;",
                                "PARAM;network:isdn.0;protocol:isdn_udss1;target:network;",
                                "PARAM;network:isdn.0;spid:0123;target:network;",
                                "PARAM;network:isdn.0;spid:;target:network;",
                                "PARAM;addr_sb0_ch0:301;network:isdn.0;target:network;",
                                "PARAM;addr_sb0_ch1:302;network:isdn.0;target:network;",
                                "PARAM;network:isdn.0;subaddr_sb0_ch0:1;target:network;",
                                "PARAM;network:isdn.0;subaddr_sb0_ch1:2;target:network;"}));
    QCOMPARE(params(spy), QList<int>({0, 1, 2, 2, 3, 4, 5, 6, 1, 1}));

    // A refusal keeps the old value and signals nothing.
    spy.clear();
    m_link.fake->refuseKey(QStringLiteral("5as"), QStringLiteral("105-invalid value"));
    QVERIFY(!isdn.set5as(false, true));
    QVERIFY(isdn.fiveAs());
    m_link.fake->refuseKey(QStringLiteral("spid"), QStringLiteral("105-invalid value"));
    QVERIFY(!isdn.setSpid("99", true));
    QVERIFY(isdn.spid().empty());
    QCOMPARE(spy.count(), 0);

    // Without send only the value changes.
    m_link.fake->clearLog();
    QVERIFY(isdn.apply5as("off"));
    QVERIFY(!isdn.fiveAs());
    QVERIFY(isdn.apply5as("on"));
    QVERIFY(isdn.fiveAs());
    QVERIFY(isdn.apply5as("ON"));
    QVERIFY(!isdn.fiveAs());
    QVERIFY(isdn.applyProtocol("isdn_ntt"));
    QCOMPARE(isdn.protocol(), int(TComIsdnController::ProtocolNtt));
    QCOMPARE(m_link.fake->requestCount(), 0);

    QVERIFY(!isdn.handleInfo(ksm::CMsg(ksm::CMsg::Info)));
    QVERIFY(!isdn.handleEvent(ksm::CMsg(ksm::CMsg::Event)));
}

void tst_ComIsdnController::readSplitsTargets()
{
    m_link.fake->setValue(QStringLiteral("5as"), QStringLiteral("on"), kAudio);
    m_link.fake->setValue(QStringLiteral("protocol"), QStringLiteral("isdn_ntt"), kNet, kIsdn0);
    m_link.fake->setValue(QStringLiteral("spid"), QStringLiteral("55"), kNet, kIsdn0);
    m_link.fake->setValue(QStringLiteral("addr_sb0_ch1"), QStringLiteral("302"), kNet, kIsdn0);
    TComIsdnController isdn(m_link.com.get());
    QVERIFY(isdn.setNetwork("isdn.0", 0, false));

    QVERIFY(isdn.read({"5as"}));
    QVERIFY(isdn.fiveAs());
    QVERIFY(isdn.read({"spid"}));
    QCOMPARE(isdn.spid(), std::string("55"));
    QCOMPARE(m_link.bodies(),
             QList<QByteArray>(
                 {"PARAM;target:audio;GET:5as;", "PARAM;network:isdn.0;target:network;GET:spid;"}));

    m_link.fake->clearLog();
    QVERIFY(isdn.readAll());
    QCOMPARE(m_link.bodies(),
             QList<QByteArray>({"PARAM;network:isdn.0;target:network;GET:protocol;GET:spid;"
                                "GET:addr_sb0_ch0;GET:addr_sb0_ch1;GET:subaddr_sb0_ch0;"
                                "GET:subaddr_sb0_ch1;",
                                "PARAM;target:audio;GET:5as;"}));
    QCOMPARE(isdn.protocol(), int(TComIsdnController::ProtocolNtt));
    QCOMPARE(isdn.localNumber2(), std::string("302"));

    QVERIFY(!isdn.read({}));
}

void tst_ComIsdnController::readSucceedsWhenEitherRequestDelivers()
{
    m_link.fake->setValue(QStringLiteral("5as"), QStringLiteral("on"), kAudio);
    TComIsdnController isdn(m_link.com.get());
    QVERIFY(isdn.setNetwork("isdn.0", 0, false));

    m_link.fake->refuseKey(QStringLiteral("spid"), QStringLiteral("102-unknown parameter"));
    QVERIFY(isdn.read({"spid", "5as"}));
    QVERIFY(isdn.fiveAs());

    m_link.fake->refuseKey(QStringLiteral("5as"), QStringLiteral("102-unknown parameter"));
    QVERIFY(!isdn.read({"spid", "5as"}));
    QVERIFY(isdn.fiveAs());
}

void tst_ComIsdnController::writeSplitsTargets()
{
    TComIsdnController isdn(m_link.com.get());
    QVERIFY(isdn.setNetwork("isdn.0", 0, false));
    QVERIFY(isdn.set5as(true, false));
    QVERIFY(isdn.setSpid("77", false));

    QVERIFY(isdn.write({"5as", "spid"}));
    QVERIFY(isdn.write({"5as"}));
    QCOMPARE(m_link.bodies(),
             QList<QByteArray>({"PARAM;network:isdn.0;spid:77;target:network;",
                                "PARAM;5as:on;target:audio;",
                                "PARAM;5as:on;target:audio;"}));

    // A refused network part does not keep the switch from being written.
    m_link.fake->clearLog();
    m_link.fake->refuseKey(QStringLiteral("spid"), QStringLiteral("105-invalid value"));
    QVERIFY(!isdn.write({"5as", "spid"}));
    QCOMPARE(m_link.fake->requestCount(), 2);
    QCOMPARE(m_link.fake->lastRequest().body, QByteArray("PARAM;5as:on;target:audio;"));

    m_link.fake->resetScript();
    m_link.fake->refuseKey(QStringLiteral("5as"), QStringLiteral("105-invalid value"));
    QVERIFY(!isdn.write({"5as", "spid"}));

    m_link.fake->clearLog();
    QVERIFY(!isdn.write({"foo"}));
    QVERIFY(!isdn.write({}));
    QCOMPARE(m_link.fake->requestCount(), 0);
}

void tst_ComIsdnController::writeSendsOnlyKnownValues()
{
    TComIsdnController isdn(m_link.com.get());
    QVERIFY(isdn.setNetwork("isdn.0", 0, false));
    const std::vector<std::string> all = {"5as",
                                          "protocol",
                                          "spid",
                                          "addr_sb0_ch0",
                                          "addr_sb0_ch1",
                                          "subaddr_sb0_ch0",
                                          "subaddr_sb0_ch1"};
    QVERIFY(!isdn.write(all));
    QCOMPARE(m_link.fake->requestCount(), 0);

    // A device that reports some keys as not set: those are known (empty) and written back.
    m_link.fake->setValue(QStringLiteral("protocol"), QStringLiteral("isdn_ni2"), kNet, kIsdn0);
    m_link.fake->refuseKey(QStringLiteral("addr_sb0_ch1"), QStringLiteral("102-unknown parameter"));
    QVERIFY(isdn.read({"protocol", "spid", "addr_sb0_ch1"}));
    m_link.fake->clearLog();
    QVERIFY(isdn.write(all));
    QCOMPARE(m_link.bodies(),
             QList<QByteArray>({"PARAM;network:isdn.0;protocol:isdn_ni2;spid:;target:network;"}));
}

void tst_ComIsdnController::resetSignalsOnlyState()
{
    TComIsdnController isdn(m_link.com.get());
    QCOMPARE(isdn.type(), int(TComController::IsdnController));
    StateTrail trail(&isdn);
    QVERIFY(isdn.setNetwork("isdn.0", 0, false));
    QCOMPARE(trail.states, QList<int>({TComController::StateNotReady, TComController::StateReady}));
    QVERIFY(isdn.set5as(true, false));
    QVERIFY(isdn.setProtocol(2, false));
    QVERIFY(isdn.setSpid("1", false));
    QVERIFY(isdn.setLocalNumber1("1", false));
    QVERIFY(isdn.setSubAddress2("1", false));

    QSignalSpy spy(&isdn, &TComNetworkController::controllerParamChanged);
    trail.states.clear();
    isdn.reset();
    QCOMPARE(spy.count(), 0);
    QCOMPARE(trail.states, QList<int>{TComController::StateUnknown});
    QVERIFY(!isdn.fiveAs());
    QCOMPARE(isdn.protocol(), 0);
    QVERIFY(isdn.spid().empty() && isdn.localNumber1().empty() && isdn.subAddress2().empty());
    QVERIFY(!isdn.signalsBlocked());
}

QTEST_GUILESS_MAIN(tst_ComIsdnController)
#include "tst_comisdncontroller.moc"
