#include "model/comnetworkcontroller.h"

#include "link/ccom.h"
#include "link/rpcconnection.h"
#include "tests/model/linkedfake.h"
#include "tests/support/fakequorix.h"

#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace {

using StringMap = std::map<std::string, std::string>;
using Strings = std::vector<std::string>;

const QString kNet = QStringLiteral("network");
const QString kEth0 = QStringLiteral("eth.0");

// A network controller with two keys and setters that follow the model's convention.
class Probe : public TComNetworkController
{
    Q_OBJECT

public:
    explicit Probe(ksm::CCom *com)
        : TComNetworkController(com, EthernetController)
    {}

    void reset() override
    {
        const bool wasBlocked = blockSignals(true);
        setMode(std::string(), false);
        setAddress(std::string(), false);
        blockSignals(wasBlocked);
        TComNetworkController::reset();
    }
    bool readAll() override { return read({"mode", "local_addr"}); }
    bool read(const Strings &keys) override
    {
        StringMap values, failed;
        if (readNetworkParams(keys, values, failed, true) <= 0)
            return false;
        if (values.count("mode"))
            setMode(values["mode"], false);
        if (values.count("local_addr"))
            setAddress(values["local_addr"], false);
        return true;
    }
    bool write(const Strings &keys) override
    {
        StringMap params;
        for (const std::string &key : keys)
            params[key] = key == "mode" ? mode : address;
        return writeNetworkParams(params, true);
    }

    bool setMode(const std::string &value, bool send)
    {
        if (value == mode)
            return true;
        if (send && !writeNetworkParam("mode", value, true))
            return false;
        mode = value;
        Q_EMIT controllerParamChanged(this, 0);
        return true;
    }
    bool setAddress(const std::string &value, bool send)
    {
        if (value == address)
            return true;
        if (send && !writeNetworkParam("local_addr", value, true))
            return false;
        address = value;
        Q_EMIT controllerParamChanged(this, 1);
        return true;
    }

    std::string mode;
    std::string address;
};

// The states announced by controllerStateChanged, read when each signal fires.
class StateLog : public QObject
{
public:
    explicit StateLog(TComController *controller)
    {
        connect(controller,
                &TComController::controllerStateChanged,
                this,
                [this](TComController *sender) { states << sender->state(); });
    }

    QList<int> states;
};

} // namespace

class tst_ComNetworkController : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void assignWithoutReading();
    void assignReadsWithSignalsBlocked();
    void reassignResetsFirst();
    void reassignDropsValuesOfUnknownState();
    void assignAsDefaultNetwork();
    void assignFailures();
    void writeForms();
    void setterKeepsValueOnRefusal();
    void listNetwork();
    void reinitNetwork();
    void valueWords_data();
    void valueWords();

private:
    LinkedFake m_link;
};

void tst_ComNetworkController::init()
{
    QVERIFY(m_link.start());
    m_link.fake->setValue(QStringLiteral("mode"), QStringLiteral("dhcp"), kNet, kEth0);
    m_link.fake->setValue(QStringLiteral("local_addr"), QStringLiteral("10.1.2.3"), kNet, kEth0);
}

void tst_ComNetworkController::cleanup()
{
    m_link.stop();
}

void tst_ComNetworkController::assignWithoutReading()
{
    Probe probe(m_link.com.get());
    StateLog stateLog(&probe);

    QVERIFY(probe.setNetwork("eth.0", 0, false));
    QCOMPARE(probe.networkId(), std::string("eth.0"));
    QCOMPARE(stateLog.states, QList<int>({TComController::StateNotReady}));
    QVERIFY(probe.mode.empty());
    QTest::qWait(20);
    QCOMPARE(m_link.fake->requestCount(), 0);
}

void tst_ComNetworkController::assignReadsWithSignalsBlocked()
{
    Probe probe(m_link.com.get());
    StateLog stateLog(&probe);
    QSignalSpy paramSpy(&probe, &TComNetworkController::controllerParamChanged);

    QVERIFY(probe.setNetwork("eth.0", TComNetworkController::ReadAllFlag, false));
    QCOMPARE(m_link.bodies(),
             QList<QByteArray>({"PARAM;network:eth.0;target:network;GET:mode;"
                                "GET:local_addr;"}));
    QCOMPARE(probe.mode, std::string("dhcp"));
    QCOMPARE(probe.address, std::string("10.1.2.3"));
    QCOMPARE(paramSpy.count(), 0);
    QCOMPARE(stateLog.states, QList<int>({TComController::StateNotReady}));
    QVERIFY(!probe.signalsBlocked());

    // Later changes signal again.
    QVERIFY(probe.setMode("manual", false));
    QCOMPARE(paramSpy.count(), 1);
}

void tst_ComNetworkController::reassignResetsFirst()
{
    Probe probe(m_link.com.get());
    QVERIFY(probe.setNetwork("eth.0", TComNetworkController::ReadAllFlag, false));
    StateLog stateLog(&probe);
    QSignalSpy paramSpy(&probe, &TComNetworkController::controllerParamChanged);

    QVERIFY(probe.setNetwork("eth.1", 0, false));
    QCOMPARE(stateLog.states,
             QList<int>({TComController::StateUnknown, TComController::StateNotReady}));
    QCOMPARE(paramSpy.count(), 0);
    QVERIFY(probe.mode.empty());
    QCOMPARE(probe.networkId(), std::string("eth.1"));
}

// A reset followed by a read leaves eth.0's values with an unknown state; pointing the
// controller at eth.1 must still drop them, so that a failed read there shows nothing of eth.0.
// The same network keeps them.
void tst_ComNetworkController::reassignDropsValuesOfUnknownState()
{
    Probe probe(m_link.com.get());
    QVERIFY(probe.setNetwork("eth.0", 0, false));
    probe.reset();
    QVERIFY(probe.read({"mode", "local_addr"}));
    QCOMPARE(probe.state(), int(TComController::StateUnknown));

    QVERIFY(probe.setNetwork("eth.0", 0, false));
    QCOMPARE(probe.address, std::string("10.1.2.3"));
    probe.reset();
    QVERIFY(probe.read({"mode", "local_addr"}));

    m_link.fake->refuseKey(QStringLiteral("mode"), QStringLiteral("102-unknown parameter"));
    m_link.fake->refuseKey(QStringLiteral("local_addr"), QStringLiteral("102-unknown parameter"));
    QVERIFY(probe.setNetwork("eth.1", 0, false));
    QVERIFY(!probe.read({"mode", "local_addr"}));
    QVERIFY(probe.mode.empty());
    QVERIFY(probe.address.empty());
}

void tst_ComNetworkController::assignAsDefaultNetwork()
{
    Probe probe(m_link.com.get());
    QVERIFY(probe.setNetwork("eth.0", TComNetworkController::ReadAllFlag, true));
    QCOMPARE(m_link.bodies(),
             QList<QByteArray>({"PARAM;default_network:eth.0;target:network;",
                                "PARAM;network:eth.0;target:network;GET:mode;"
                                "GET:local_addr;"}));
    QCOMPARE(probe.state(), int(TComController::StateNotReady));

    // Refused: the controller stays reset on its old network and reads nothing.
    m_link.fake->clearLog();
    m_link.fake->refuseKey(QStringLiteral("default_network"), QStringLiteral("110-not available"));
    StateLog stateLog(&probe);
    QVERIFY(!probe.setNetwork("wifi.0", TComNetworkController::ReadAllFlag, true));
    QCOMPARE(m_link.bodies(), QList<QByteArray>({"PARAM;default_network:wifi.0;target:network;"}));
    QCOMPARE(probe.networkId(), std::string("eth.0"));
    QCOMPARE(stateLog.states, QList<int>({TComController::StateUnknown}));
    QVERIFY(probe.mode.empty());
}

void tst_ComNetworkController::assignFailures()
{
    Probe probe(m_link.com.get());
    StateLog stateLog(&probe);

    QVERIFY(!probe.setNetwork(std::string(), TComNetworkController::ReadAllFlag, true));
    QVERIFY(probe.networkId().empty());

    // A read that yields nothing fails the assignment; the signals are unblocked again.
    m_link.fake->refuseKey(QStringLiteral("mode"), QStringLiteral("102-unknown parameter"));
    m_link.fake->refuseKey(QStringLiteral("local_addr"), QStringLiteral("102-unknown parameter"));
    QVERIFY(!probe.setNetwork("eth.0", TComNetworkController::ReadAllFlag, false));
    QVERIFY(!probe.signalsBlocked());
    QCOMPARE(probe.state(), int(TComController::StateUnknown));
    QCOMPARE(m_link.fake->requestCount(), 1);
    QCOMPARE(stateLog.states.size(), 0);
}

void tst_ComNetworkController::writeForms()
{
    Probe probe(m_link.com.get());
    QVERIFY(probe.setNetwork("eth.0", 0, false));

    // An empty map still sends the address.
    QVERIFY(probe.writeNetworkParams({}, true));
    // Entries cannot replace the address.
    QVERIFY(probe.writeNetworkParams({{"target", "db"}, {"network", "wifi.0"}, {"dns1", "9.9.9.9"}},
                                     true));
    QVERIFY(probe.writeNetworkParam("gateway", "10.1.2.254", false));
    QCOMPARE(m_link.bodies(),
             QList<QByteArray>({"PARAM;network:eth.0;target:network;",
                                "PARAM;dns1:9.9.9.9;network:eth.0;target:network;",
                                "PARAM;gateway:10.1.2.254;target:network;"}));
    QCOMPARE(m_link.fake->value(QStringLiteral("dns1"), kNet, kEth0), QStringLiteral("9.9.9.9"));

    m_link.fake->refuseKey(QStringLiteral("dns2"), QStringLiteral("105-invalid value"));
    QVERIFY(!probe.writeNetworkParams({{"dns1", "1.1.1.1"}, {"dns2", "x"}}, true));
    QVERIFY(!probe.writeNetworkParam("dns2", "x", true));

    std::string value;
    QVERIFY(probe.readNetworkParam("mode", value, true));
    QCOMPARE(value, std::string("dhcp"));
}

void tst_ComNetworkController::setterKeepsValueOnRefusal()
{
    Probe probe(m_link.com.get());
    QVERIFY(probe.setNetwork("eth.0", TComNetworkController::ReadAllFlag, false));
    QSignalSpy paramSpy(&probe, &TComNetworkController::controllerParamChanged);

    QVERIFY(probe.setMode("manual", true));
    QCOMPARE(m_link.fake->value(QStringLiteral("mode"), kNet, kEth0), QStringLiteral("manual"));
    QCOMPARE(paramSpy.count(), 1);

    m_link.fake->refuseKey(QStringLiteral("mode"), QStringLiteral("105-invalid value"));
    QVERIFY(!probe.setMode("bogus", true));
    QCOMPARE(probe.mode, std::string("manual"));
    QCOMPARE(paramSpy.count(), 1);
}

void tst_ComNetworkController::listNetwork()
{
    m_link.fake->setList(QStringLiteral("ssid_list"),
                         {QStringLiteral("home"), QStringLiteral("a,b")},
                         kNet,
                         QStringLiteral("wifi.0"));
    Probe probe(m_link.com.get());
    QVERIFY(probe.setNetwork("wifi.0", 0, false));
    Strings items;
    QVERIFY(probe.listNetwork("ssid_list", items, true));
    QCOMPARE(items, Strings({"home", "a,b"}));
    QCOMPARE(m_link.fake->lastRequest().body,
             QByteArray("PARAM;network:wifi.0;target:network;LIST:ssid_list;"));
}

void tst_ComNetworkController::reinitNetwork()
{
    Probe probe(m_link.com.get());
    QVERIFY(probe.setNetwork("eth.0", 0, false));
    StateLog stateLog(&probe);

    // Another interface: nothing of this controller changes.
    QVERIFY(probe.reinitNetwork("eth.1", true));
    QCOMPARE(m_link.fake->lastRequest().body,
             QByteArray("DO;action:reinit;network:eth.1;target:network;"));
    QCOMPARE(stateLog.states.size(), 0);

    QVERIFY(probe.reinitNetwork("eth.0", false));
    QCOMPARE(stateLog.states.size(), 0);

    m_link.fake->refuseCommand(QStringLiteral("reinit"), QStringLiteral("116-invalid state"));
    QVERIFY(!probe.reinitNetwork("eth.0", true));
    QCOMPARE(probe.request().lastError(), std::string("116-invalid state"));
    QCOMPARE(stateLog.states.size(), 0);
    m_link.fake->resetScript();

    QVERIFY(probe.reinitNetwork("eth.0", true));
    QCOMPARE(stateLog.states, QList<int>({TComController::StateUnknown}));
}

void tst_ComNetworkController::valueWords_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QByteArray>("quality");
    QTest::addColumn<QByteArray>("profile");

    QTest::newRow("-1") << -1 << QByteArray("low") << QByteArray("standard");
    QTest::newRow("0") << 0 << QByteArray("very_bad") << QByteArray("safe");
    QTest::newRow("1") << 1 << QByteArray("bad") << QByteArray("standard");
    QTest::newRow("2") << 2 << QByteArray("low") << QByteArray("punchy");
    QTest::newRow("3") << 3 << QByteArray("middle") << QByteArray("standard");
    QTest::newRow("4") << 4 << QByteArray("high") << QByteArray("standard");
    QTest::newRow("5") << 5 << QByteArray("very_high") << QByteArray("standard");
    QTest::newRow("7") << 7 << QByteArray("low") << QByteArray("standard");
}

void tst_ComNetworkController::valueWords()
{
    QFETCH(int, value);
    QFETCH(QByteArray, quality);
    QFETCH(QByteArray, profile);

    QCOMPARE(QByteArray::fromStdString(TComNetworkController::networkQualityText(value)), quality);
    QCOMPARE(QByteArray::fromStdString(TComNetworkController::ajbProfileText(value)), profile);
    if (value >= 0 && value <= 5)
        QCOMPARE(TComNetworkController::networkQualityFromText(quality.toStdString()), value);
    if (value >= 0 && value <= 2)
        QCOMPARE(TComNetworkController::ajbProfileFromText(profile.toStdString()), value);
    QCOMPARE(TComNetworkController::networkQualityFromText("VERY_BAD"), 2);
    QCOMPARE(TComNetworkController::ajbProfileFromText(""), 1);
}

QTEST_GUILESS_MAIN(tst_ComNetworkController)
#include "tst_comnetworkcontroller.moc"
