#include "model/commobilecontroller.h"

#include "link/cmsg.h"
#include "tests/model/linkedfake.h"

#include <QtTest>

namespace {

const QString kNet = QStringLiteral("network");
const QString kMobile0 = QStringLiteral("mobile.0");
const QString kPin = QStringLiteral("pin");
const QString kRegistration = QStringLiteral("registration_state");

// A row's answer for one key: a value, a refusal with a cause ("!cause"), or none at all (the
// fake then reports it not set, which reads as an empty value).
void script(FakeQuorix &fake, const QString &key, const QString &answer)
{
    if (answer.startsWith(QLatin1Char('!')))
        fake.refuseKey(key, answer.mid(1));
    else
        fake.setValue(key, answer, kNet, kMobile0);
}

ksm::CMsg infoFrom(const std::string &source)
{
    ksm::CMsg msg(ksm::CMsg::Info);
    msg.setParam("info_type", "network_info");
    msg.setParam("info_source", source);
    return msg;
}

} // namespace

class tst_ComMobileRegistration : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void registrationStates_data();
    void registrationStates();
    void registrationWithoutAnswer();
    void pinCode_data();
    void pinCode();
    void pinCodeWithoutClient();
    void rejectedPinIsNotRepeated();
    void capabilities_data();
    void capabilities();
    void networkInfo_data();
    void networkInfo();
    void networkInfoForOthers();
    void widebandVoice();
    void events();

private:
    LinkedFake m_link;
};

void tst_ComMobileRegistration::init()
{
    QVERIFY(m_link.start());
}

void tst_ComMobileRegistration::cleanup()
{
    m_link.stop();
}

void tst_ComMobileRegistration::registrationStates_data()
{
    QTest::addColumn<QString>("pin");
    QTest::addColumn<QString>("registration");
    QTest::addColumn<int>("state");

    QTest::newRow("ready") << "ready"
                           << "registered" << 0;
    QTest::newRow("ready, unknown error") << "ready"
                                          << "200-unknown error" << 0;
    QTest::newRow("ready, empty registration") << "ready"
                                               << "" << 1;
    QTest::newRow("ready, not registered") << "ready"
                                           << "!123-not registered" << 1;
    QTest::newRow("not ready") << "busy"
                               << "registered" << 1;
    QTest::newRow("SIM missing") << "!010-sim missing"
                                 << "!010-sim missing" << 4;
    QTest::newRow("SIM locked") << "!011-sim locked"
                                << "!011-sim locked" << 5;
    QTest::newRow("PUK required") << "!124-puk required"
                                  << "!124-puk required" << 5;
    QTest::newRow("PIN required") << "!122-pin required"
                                  << "!122-pin required" << 6;
    QTest::newRow("not allowed") << "!015-not allowed"
                                 << "!015-not allowed" << 3;
    QTest::newRow("other cause") << "!017-sim busy"
                                 << "!017-sim busy" << 1;
    QTest::newRow("only pin fails") << "!010-sim missing"
                                    << "registered" << 1;
}

void tst_ComMobileRegistration::registrationStates()
{
    QFETCH(QString, pin);
    QFETCH(QString, registration);
    QFETCH(int, state);

    script(*m_link.fake, kPin, pin);
    script(*m_link.fake, kRegistration, registration);

    TComMobileController mobile(m_link.com.get());
    StateTrail trail(&mobile);
    QVERIFY(mobile.setNetwork("mobile.0", 0, false));
    QCOMPARE(mobile.state(), state);
    QList<int> expected = {TComController::StateNotReady};
    if (state != TComController::StateNotReady)
        expected << state;
    QCOMPARE(trail.states, expected);
    QCOMPARE(m_link.bodies(),
             QList<QByteArray>(
                 {"PARAM;network:mobile.0;target:network;GET:pin;GET:registration_state;"}));

    int checked = -5;
    QVERIFY(mobile.checkRegistration(checked));
    QCOMPARE(checked, state);
}

void tst_ComMobileRegistration::registrationWithoutAnswer()
{
    m_link.fake->replyWithErrorCode(-1);
    TComMobileController mobile(m_link.com.get());
    QVERIFY(mobile.setNetwork("mobile.0", 0, false));
    QCOMPARE(mobile.state(), int(TComController::StateNotReady));

    int state = -5;
    QVERIFY(!mobile.checkRegistration(state));
    QCOMPARE(state, int(TComController::StateNotReady));

    TComMobileController detached(nullptr);
    QVERIFY(!detached.checkRegistration(state));
}

void tst_ComMobileRegistration::pinCode_data()
{
    QTest::addColumn<QString>("refusal");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("state");

    QTest::newRow("accepted") << QString() << 0 << 0;
    QTest::newRow("wrong") << "100-wrong password" << -2 << 0;
    QTest::newRow("PUK") << "124-puk required" << -3 << 5;
    QTest::newRow("other cause") << "122-pin required" << -1 << 0;
}

void tst_ComMobileRegistration::pinCode()
{
    QFETCH(QString, refusal);
    QFETCH(int, result);
    QFETCH(int, state);

    script(*m_link.fake, kPin, QStringLiteral("ready"));
    script(*m_link.fake, kRegistration, QStringLiteral("home"));
    TComMobileController mobile(m_link.com.get());
    QVERIFY(mobile.setNetwork("mobile.0", 0, false));
    QCOMPARE(mobile.state(), 0);

    if (!refusal.isEmpty())
        m_link.fake->refuseKey(kPin, refusal);
    m_link.fake->clearLog();
    QCOMPARE(mobile.applyPinCode("1234", 15000), result);
    QCOMPARE(mobile.state(), state);
    QCOMPARE(m_link.bodies(),
             QList<QByteArray>({"PARAM;network:mobile.0;pin:1234;target:network;"}));
}

void tst_ComMobileRegistration::pinCodeWithoutClient()
{
    TComMobileController detached(nullptr);
    QCOMPARE(detached.applyPinCode("1234", 15000), -1);

    // A bare refusal names no cause: an unknown error.
    TComMobileController mobile(m_link.com.get());
    QVERIFY(mobile.setNetwork("mobile.0", 0, false));
    m_link.fake->setReplyHook([](const FakeRequest &request) -> std::optional<QList<FakeReply>> {
        if (!request.has(QStringLiteral("pin")))
            return std::nullopt;
        return QList<FakeReply>{FakeReply::reply(FakeMessage(
            FakeMessage::Param, {{QStringLiteral("return"), QStringLiteral("ERROR")}}))};
    });
    QCOMPARE(mobile.applyPinCode("1234", 15000), -1);

    m_link.fake->resetScript();
    m_link.fake->replyWithErrorCode(-1);
    QCOMPARE(mobile.applyPinCode("1234", 15000), -1);
}

void tst_ComMobileRegistration::rejectedPinIsNotRepeated()
{
    TComMobileController mobile(m_link.com.get());
    QVERIFY(mobile.setNetwork("mobile.0", 0, false));
    QVERIFY(mobile.setApn("internet", false));
    m_link.fake->refuseKey(kPin, QStringLiteral("100-wrong password"));
    QCOMPARE(mobile.applyPinCode("0000", 15000), -2);

    m_link.fake->clearLog();
    QVERIFY(mobile.write({"apn", "pin"}));
    QVERIFY(!mobile.write({"pin"}));
    QCOMPARE(m_link.bodies(),
             QList<QByteArray>({"PARAM;apn:internet;network:mobile.0;target:network;"}));
}

void tst_ComMobileRegistration::capabilities_data()
{
    QTest::addColumn<QStringList>("modes");
    QTest::addColumn<QStringList>("rats");
    QTest::addColumn<QStringList>("auths");
    QTest::addColumn<quint32>("expected");

    const QStringList none;
    const QStringList refused = {QStringLiteral("!")};
    QTest::newRow("everything") << QStringList({"gsm_voice", "data"})
                                << QStringList({"auto",
                                                "only UMTS",
                                                "only GSM",
                                                "UMTS first",
                                                "GSM first",
                                                "only GSM UMTS",
                                                "only LTE",
                                                "only LTE 5G",
                                                "only 5G"})
                                << QStringList({"PAP", "CHAP"}) << quint32(0x1FFF0);
    QTest::newRow("some, with unknown words")
        << QStringList({"data", "fax"}) << QStringList({"only LTE", "LTE first"})
        << QStringList({"CHAP", "MSCHAP"}) << quint32(0x20 | 0x1000 | 0x10000);
    QTest::newRow("empty answers") << none << none << none << quint32(0);
    QTest::newRow("refused: fallbacks")
        << refused << refused << refused << quint32(0x30 | 0x40 | 0x80 | 0x100 | 0x1000);
}

void tst_ComMobileRegistration::capabilities()
{
    QFETCH(QStringList, modes);
    QFETCH(QStringList, rats);
    QFETCH(QStringList, auths);
    QFETCH(quint32, expected);

    const auto answer = [this](const QString &name, const QStringList &items) {
        if (items == QStringList{QStringLiteral("!")})
            m_link.fake->refuseKey(name, QStringLiteral("109-not supported"));
        else
            m_link.fake->setList(name, items, kNet, kMobile0);
    };
    answer(QStringLiteral("mode"), modes);
    answer(QStringLiteral("rat"), rats);
    answer(QStringLiteral("authentication"), auths);
    m_link.fake->setValue(QStringLiteral("echo_cancel"), QStringLiteral("on"), kNet, kMobile0);

    TComMobileController mobile(m_link.com.get());
    QVERIFY(mobile.applyDiversity("on"));
    QVERIFY(mobile.setNetwork("mobile.0", TComMobileController::CapabilitiesFlag, false));
    QCOMPARE(mobile.capabilities(), expected);
    QCOMPARE(m_link.fake->requests().size(), 4);
    QCOMPARE(m_link.fake->requests().at(1).body,
             QByteArray("PARAM;network:mobile.0;target:network;LIST:mode;"));
    QCOMPARE(m_link.fake->requests().at(2).lists(), QStringList{QStringLiteral("rat")});
    QCOMPARE(m_link.fake->requests().at(3).lists(), QStringList{QStringLiteral("authentication")});

    // Without the flag nothing is asked and the mask starts anew, also after a read that set
    // the voice-path bits.
    m_link.fake->clearLog();
    QVERIFY(mobile.setNetwork("mobile.0", TComNetworkController::ReadAllFlag, false));
    QCOMPARE(mobile.capabilities(), quint32(0));
    QVERIFY(mobile.echoCancel());
    QCOMPARE(m_link.fake->requests().size(), 2);
}

void tst_ComMobileRegistration::networkInfo_data()
{
    QTest::addColumn<QByteArray>("registration");
    QTest::addColumn<QByteArray>("operatorLong");
    QTest::addColumn<int>("state");
    QTest::addColumn<bool>("named");

    QTest::newRow("registered") << QByteArray("home") << QByteArray("Telco One") << 0 << true;
    QTest::newRow("registered, no name") << QByteArray("home") << QByteArray() << 0 << true;
    QTest::newRow("not registered, name")
        << QByteArray("123-not registered") << QByteArray("Telco One") << 0 << true;
    QTest::newRow("not registered")
        << QByteArray("123-not registered") << QByteArray() << 2 << false;
    QTest::newRow("name is a cause")
        << QByteArray("home") << QByteArray("015-not allowed") << 3 << false;
    QTest::newRow("SIM missing") << QByteArray("010-sim missing") << QByteArray("Telco One") << 4
                                 << false;
    QTest::newRow("PIN required") << QByteArray("122-pin required") << QByteArray() << 6 << false;
    QTest::newRow("SIM locked") << QByteArray("011-sim locked") << QByteArray() << 5 << false;
    QTest::newRow("empty registration") << QByteArray() << QByteArray("Telco One") << 1 << false;
}

void tst_ComMobileRegistration::networkInfo()
{
    QFETCH(QByteArray, registration);
    QFETCH(QByteArray, operatorLong);
    QFETCH(int, state);
    QFETCH(bool, named);

    TComMobileController mobile(m_link.com.get());
    QVERIFY(mobile.setNetwork("mobile.0", 0, false));
    QVERIFY(mobile.applyOperatorLong("Old"));
    QVERIFY(mobile.applyOperatorShort("O"));

    ksm::CMsg msg = infoFrom("mobile.0");
    msg.setParam("registration_state", registration.toStdString());
    msg.setParam("operator_long", operatorLong.toStdString());
    msg.setParam("operator_short", "T1");
    msg.setParam("signal_quality", "-85 dBm");
    msg.setParam("technology", "UMTS");
    m_link.fake->clearLog();
    QVERIFY(mobile.handleInfo(msg));

    QCOMPARE(mobile.state(), state);
    QCOMPARE(mobile.operatorLong(), named ? operatorLong.toStdString() : std::string());
    QCOMPARE(mobile.operatorShort(), named ? std::string("T1") : std::string());
    QCOMPARE(mobile.signalQuality(), -85);
    QCOMPARE(mobile.technology(), int(TComMobileController::Technology3G));
    QCOMPARE(m_link.fake->requestCount(), 0);
}

void tst_ComMobileRegistration::networkInfoForOthers()
{
    TComMobileController mobile(m_link.com.get());
    QVERIFY(mobile.setNetwork("mobile.0", 0, false));
    const int before = mobile.state();
    QVERIFY(mobile.applySignalQuality("20"));

    ksm::CMsg other = infoFrom("mobile.1");
    other.setParam("registration_state", "home");
    other.setParam("signal_quality", "5");
    QVERIFY(!mobile.handleInfo(other));
    QVERIFY(!mobile.handleInfo(infoFrom("")));
    ksm::CMsg wrongType = infoFrom("mobile.0");
    wrongType.setParam("info_type", "call_info", ksm::CMsg::Replace);
    QVERIFY(!mobile.handleInfo(wrongType));
    ksm::CMsg noType(ksm::CMsg::Info);
    noType.setParam("info_source", "mobile.0");
    QVERIFY(!mobile.handleInfo(noType));
    QCOMPARE(mobile.signalQuality(), 20);
    QCOMPARE(mobile.state(), before);
}

void tst_ComMobileRegistration::widebandVoice()
{
    TComMobileController other(m_link.com.get());
    TComMobileController telit(m_link.com.get());
    QVERIFY(other.setNetwork("mobile.0", 0, false));
    QVERIFY(telit.setNetwork("mobile.0", 0, false));
    QVERIFY(other.setModel("LE910"));
    QVERIFY(telit.setModel("HE910-EUG"));

    for (const char *codec : {"UAWB", "FAWB"}) {
        ksm::CMsg msg = infoFrom("mobile.0");
        msg.setParam("codec_info", codec);
        QVERIFY(telit.handleInfo(msg));
        QVERIFY(other.handleInfo(msg));
        QVERIFY(telit.widebandVoice());
        QVERIFY(!other.widebandVoice());
    }
    ksm::CMsg narrow = infoFrom("mobile.0");
    narrow.setParam("codec_info", "FR");
    QVERIFY(telit.handleInfo(narrow));
    QVERIFY(!telit.widebandVoice());

    ksm::CMsg wide = infoFrom("mobile.0");
    wide.setParam("codec_info", "UAWB");
    QVERIFY(telit.handleInfo(wide));
    QVERIFY(telit.handleInfo(infoFrom("mobile.0")));
    QVERIFY(!telit.widebandVoice());
}

void tst_ComMobileRegistration::events()
{
    TComMobileController mobile(m_link.com.get());
    QVERIFY(mobile.setNetwork("mobile.0", 0, false));
    QVERIFY(mobile.setServiceMode(0, false));
    m_link.fake->clearLog();

    const auto event = [](const std::string &type, const std::string &network) {
        ksm::CMsg msg(ksm::CMsg::Event);
        msg.setParam("event_type", type);
        msg.setParam("network", network);
        return msg;
    };
    QVERIFY(mobile.handleEvent(event("config info", "mobile.0")));
    QCOMPARE(mobile.serviceMode(), 0);

    ksm::CMsg change = event("default_network", "mobile.0");
    change.setParam("network_mode", "data");
    QVERIFY(mobile.handleEvent(change));
    QCOMPARE(mobile.serviceMode(), 1);
    change.setParam("network_mode", "fax", ksm::CMsg::Replace);
    QVERIFY(mobile.handleEvent(change));
    QCOMPARE(mobile.serviceMode(), -1);

    ksm::CMsg other = event("config info", "mobile.1");
    other.setParam("network_mode", "data");
    QVERIFY(!mobile.handleEvent(other));
    QVERIFY(!mobile.handleEvent(event("call_info", "mobile.0")));
    QVERIFY(!mobile.handleEvent(event("", "mobile.0")));
    QVERIFY(!mobile.handleEvent(event("config info", "")));
    QCOMPARE(mobile.serviceMode(), -1);
    QCOMPARE(m_link.fake->requestCount(), 0);
}

QTEST_GUILESS_MAIN(tst_ComMobileRegistration)
#include "tst_commobileregistration.moc"
