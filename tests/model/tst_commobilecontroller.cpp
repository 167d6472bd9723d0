#include "model/commobilecontroller.h"

#include "tests/model/linkedfake.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QtTest>

namespace {

using Strings = std::vector<std::string>;

const QString kNet = QStringLiteral("network");
const QString kMobile0 = QStringLiteral("mobile.0");

const Strings kWritable = {"mode",
                           "echo_cancel",
                           "noise_gate",
                           "diversity",
                           "rat",
                           "plmn",
                           "pin_persistent",
                           "apn",
                           "data_connection",
                           "username",
                           "password",
                           "authentication",
                           "network_quality",
                           "ajb_profile"};

// The keys every firmware reads, in the order the controller asks for them.
const QStringList kReadKeys = {"mode",
                               "manufacturer",
                               "model",
                               "revision",
                               "imei",
                               "imsi",
                               "echo_cancel",
                               "noise_gate",
                               "diversity",
                               "rat",
                               "plmn",
                               "pin_persistent",
                               "apn",
                               "msisdn",
                               "data_connection",
                               "data_connection_state",
                               "username",
                               "password",
                               "authentication",
                               "network_quality"};

QByteArray body(const QByteArray &pairs)
{
    return "PARAM;" + pairs + "target:network;";
}

// The time-outs, in seconds, with which the protocol client was asked for synchronous calls, as
// its log lines name them.
QList<int> s_clientTimeouts;

void collectClientTimeouts(QtMsgType, const QMessageLogContext &, const QString &text)
{
    static const QRegularExpression call(QStringLiteral("CCom::sendSyncMsg\\(timeout=(\\d+) s"));
    const QRegularExpressionMatch match = call.match(text);
    if (match.hasMatch())
        s_clientTimeouts << match.captured(1).toInt();
}

} // namespace

class tst_ComMobileController : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void preferredTechnologyWords_data();
    void preferredTechnologyWords();
    void authenticationWords();
    void receivedTexts_data();
    void receivedTexts();
    void operatorNamesIgnoreCauses();
    void setterWireWords_data();
    void setterWireWords();
    void settersKeepValueOnRefusal();
    void plmn();
    void readAllKeysByFirmware_data();
    void readAllKeysByFirmware();
    void readAppliesValuesAndCapabilities();
    void refreshes();
    void writeSendsOnlyKnownValues();
    void writeWithPlmnWaitsLonger();
    void resetKeepsCapabilities();

private:
    LinkedFake m_link;
};

void tst_ComMobileController::init()
{
    QVERIFY(m_link.start());
}

void tst_ComMobileController::cleanup()
{
    m_link.stop();
}

void tst_ComMobileController::preferredTechnologyWords_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QByteArray>("word");

    const char *words[] = {"auto",
                           "only UMTS",
                           "only GSM",
                           "UMTS first",
                           "GSM first",
                           "only GSM UMTS",
                           "only LTE",
                           "only LTE 5G",
                           "only 5G"};
    for (int i = 0; i < 9; ++i)
        QTest::newRow(words[i]) << i << QByteArray(words[i]);
}

void tst_ComMobileController::preferredTechnologyWords()
{
    QFETCH(int, value);
    QFETCH(QByteArray, word);

    QCOMPARE(QByteArray::fromStdString(TComMobileController::preferredTechnologyText(value)), word);
    QCOMPARE(TComMobileController::preferredTechnologyFromText(word.toStdString()), value);

    QCOMPARE(TComMobileController::preferredTechnologyText(-1), std::string("auto"));
    QCOMPARE(TComMobileController::preferredTechnologyText(9), std::string("auto"));
    QCOMPARE(TComMobileController::preferredTechnologyFromText(""), -1);
    QCOMPARE(TComMobileController::preferredTechnologyFromText("only lte"), -1);
}

void tst_ComMobileController::authenticationWords()
{
    QCOMPARE(TComMobileController::authenticationText(1), std::string("PAP"));
    QCOMPARE(TComMobileController::authenticationText(2), std::string("CHAP"));
    QCOMPARE(TComMobileController::authenticationText(0), std::string());
    QCOMPARE(TComMobileController::authenticationText(3), std::string());
    QCOMPARE(TComMobileController::authenticationText(-1), std::string());
    QCOMPARE(TComMobileController::authenticationFromText("PAP"), 1);
    QCOMPARE(TComMobileController::authenticationFromText("CHAP"), 2);
    QCOMPARE(TComMobileController::authenticationFromText(""), 0);
    QCOMPARE(TComMobileController::authenticationFromText("none"), 0);
    QCOMPARE(TComMobileController::authenticationFromText("pap"), 0);
}

// Received texts through their appliers: which field, and what it holds afterwards.
void tst_ComMobileController::receivedTexts_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("expected");

    QTest::newRow("mode gsm_voice") << "mode" << QByteArray("gsm_voice") << 0;
    QTest::newRow("mode data") << "mode" << QByteArray("data") << 1;
    QTest::newRow("mode empty") << "mode" << QByteArray() << -1;
    QTest::newRow("mode other") << "mode" << QByteArray("voip") << -1;

    QTest::newRow("signal bare") << "signal_quality" << QByteArray("17") << 17;
    QTest::newRow("signal dBm") << "signal_quality" << QByteArray("-93 dBm") << -93;
    QTest::newRow("signal dBm no blank") << "signal_quality" << QByteArray("-71dBm") << -71;
    QTest::newRow("signal empty") << "signal_quality" << QByteArray() << 0;
    QTest::newRow("signal junk") << "signal_quality" << QByteArray("strong") << 0;
    QTest::newRow("signal huge") << "signal_quality" << QByteArray("99999999999") << 2147483647;

    QTest::newRow("tech empty") << "technology" << QByteArray() << -1;
    QTest::newRow("tech GSM") << "technology" << QByteArray("GSM") << 0;
    QTest::newRow("tech GSM COMPACT") << "technology" << QByteArray("GSM COMPACT") << 0;
    QTest::newRow("tech GPRS") << "technology" << QByteArray("GPRS") << 0;
    QTest::newRow("tech EDGE") << "technology" << QByteArray("EDGE") << 0;
    QTest::newRow("tech UMTS") << "technology" << QByteArray("UMTS") << 1;
    QTest::newRow("tech HSPA+") << "technology" << QByteArray("HSPA+") << 1;
    QTest::newRow("tech LTE") << "technology" << QByteArray("LTE") << 2;
    QTest::newRow("tech 5G") << "technology" << QByteArray("5G") << 3;
    QTest::newRow("tech lte") << "technology" << QByteArray("lte") << 1;

    QTest::newRow("data state failure") << "data_connection_state" << QByteArray("failure") << 1;
    QTest::newRow("data state processing")
        << "data_connection_state" << QByteArray("processing") << 2;
    QTest::newRow("data state active") << "data_connection_state" << QByteArray("active") << 3;
    QTest::newRow("data state empty") << "data_connection_state" << QByteArray() << 0;
    QTest::newRow("data state other") << "data_connection_state" << QByteArray("idle") << 0;

    QTest::newRow("auth CHAP") << "authentication" << QByteArray("CHAP") << 2;
    QTest::newRow("auth other") << "authentication" << QByteArray("MSCHAP") << 0;
    QTest::newRow("rat only LTE") << "rat" << QByteArray("only LTE") << 6;
    QTest::newRow("rat other") << "rat" << QByteArray("LTE first") << -1;
    QTest::newRow("quality") << "network_quality" << QByteArray("bad") << 1;
    QTest::newRow("quality other") << "network_quality" << QByteArray("") << 2;
    QTest::newRow("profile") << "ajb_profile" << QByteArray("safe") << 0;
    QTest::newRow("profile other") << "ajb_profile" << QByteArray("x") << 1;

    QTest::newRow("diversity on") << "diversity" << QByteArray("on") << 1;
    QTest::newRow("diversity On") << "diversity" << QByteArray("On") << 0;
    QTest::newRow("data connection on") << "data_connection" << QByteArray("on") << 1;
    QTest::newRow("pin persistent off") << "pin_persistent" << QByteArray("off") << 0;
}

void tst_ComMobileController::receivedTexts()
{
    QFETCH(QString, key);
    QFETCH(QByteArray, text);
    QFETCH(int, expected);

    TComMobileController mobile(m_link.com.get());
    QVERIFY(mobile.setNetwork("mobile.0", 0, false));
    m_link.fake->clearLog();
    const std::string value = text.toStdString();
    int actual = -100;
    if (key == "mode") {
        QVERIFY(mobile.setServiceMode(5, false));
        QVERIFY(mobile.applyServiceMode(value));
        actual = mobile.serviceMode();
    } else if (key == "signal_quality") {
        QVERIFY(mobile.applySignalQuality("5"));
        QVERIFY(mobile.applySignalQuality(value));
        actual = mobile.signalQuality();
    } else if (key == "technology") {
        QVERIFY(mobile.applyTechnology(value));
        actual = mobile.technology();
    } else if (key == "data_connection_state") {
        QVERIFY(mobile.applyDataConnectionState("active"));
        QVERIFY(mobile.applyDataConnectionState(value));
        actual = mobile.dataConnectionState();
    } else if (key == "authentication") {
        QVERIFY(mobile.setAuthentication(1, false));
        QVERIFY(mobile.applyAuthentication(value));
        actual = mobile.authentication();
    } else if (key == "rat") {
        QVERIFY(mobile.applyPreferredTechnology(value));
        actual = mobile.preferredTechnology();
    } else if (key == "network_quality") {
        QVERIFY(mobile.applyNetworkQuality(value));
        actual = mobile.networkQuality();
    } else if (key == "ajb_profile") {
        QVERIFY(mobile.applyAjbProfile(value));
        actual = mobile.ajbProfile();
    } else if (key == "diversity") {
        QVERIFY(mobile.applyDiversity(value));
        actual = mobile.diversity();
    } else if (key == "data_connection") {
        QVERIFY(mobile.applyDataConnection(value));
        actual = mobile.dataConnection();
    } else if (key == "pin_persistent") {
        QVERIFY(mobile.setPinPersistent(true, false));
        QVERIFY(mobile.applyPinPersistent(value));
        actual = mobile.pinPersistent();
    }
    QCOMPARE(actual, expected);
    // Received values are never sent back.
    QCOMPARE(m_link.fake->requestCount(), 0);
}

void tst_ComMobileController::operatorNamesIgnoreCauses()
{
    TComMobileController mobile(m_link.com.get());
    QVERIFY(mobile.applyOperatorLong("Telco One"));
    QVERIFY(mobile.applyOperatorShort("T1"));
    QVERIFY(mobile.applyOperatorLong("123-not registered"));
    QVERIFY(mobile.applyOperatorShort("010-sim missing"));
    QCOMPARE(mobile.operatorLong(), std::string("Telco One"));
    QCOMPARE(mobile.operatorShort(), std::string("T1"));
    QVERIFY(mobile.applyOperatorLong("200-unknown error"));
    QCOMPARE(mobile.operatorLong(), std::string("200-unknown error"));
    QVERIFY(mobile.applyOperatorShort(""));
    QVERIFY(mobile.operatorShort().empty());
}

void tst_ComMobileController::setterWireWords_data()
{
    QTest::addColumn<QString>("setter");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("sent");

    QTest::newRow("mode data") << "mode"
                               << "1" << body("mode:data;network:mobile.0;");
    QTest::newRow("mode 7") << "mode"
                            << "7" << body("mode:gsm_voice;network:mobile.0;");
    QTest::newRow("mode -1") << "mode"
                             << "-1" << QByteArray();
    QTest::newRow("mode word") << "modeWord"
                               << "data" << body("mode:data;network:mobile.0;");
    QTest::newRow("mode word other") << "modeWord"
                                     << "voip" << QByteArray();
    QTest::newRow("diversity") << "diversity"
                               << "1" << body("diversity:on;network:mobile.0;");
    QTest::newRow("echo") << "echo_cancel"
                          << "1" << body("echo_cancel:on;network:mobile.0;");
    QTest::newRow("noise") << "noise_gate"
                           << "1" << body("network:mobile.0;noise_gate:on;");
    QTest::newRow("rat") << "rat"
                         << "8" << body("network:mobile.0;rat:only 5G;");
    QTest::newRow("rat 12") << "rat"
                            << "12" << body("network:mobile.0;rat:auto;");
    QTest::newRow("rat -1") << "rat"
                            << "-1" << QByteArray();
    QTest::newRow("pin persistent") << "pin_persistent"
                                    << "1" << body("network:mobile.0;pin_persistent:on;");
    QTest::newRow("apn") << "apn"
                         << "internet" << body("apn:internet;network:mobile.0;");
    QTest::newRow("apn empty") << "apn"
                               << "" << body("apn:;network:mobile.0;");
    QTest::newRow("data") << "data_connection"
                          << "1" << body("data_connection:on;network:mobile.0;");
    QTest::newRow("user") << "username"
                          << "joe"
                          << QByteArray("PARAM;network:mobile.0;target:network;username:joe;");
    QTest::newRow("password") << "password"
                              << "s3cr;t" << body("network:mobile.0;password:s3cr\\;t;");
    QTest::newRow("auth PAP") << "authentication"
                              << "1" << body("authentication:PAP;network:mobile.0;");
    QTest::newRow("auth -1") << "authentication"
                             << "-1" << QByteArray();
    QTest::newRow("auth 5") << "authentication"
                            << "5" << body("authentication:;network:mobile.0;");
    QTest::newRow("quality") << "network_quality"
                             << "0" << body("network:mobile.0;network_quality:very_bad;");
    QTest::newRow("quality -1") << "network_quality"
                                << "-1" << QByteArray();
    QTest::newRow("profile") << "ajb_profile"
                             << "2" << body("ajb_profile:punchy;network:mobile.0;");
    QTest::newRow("profile -1") << "ajb_profile"
                                << "-1" << QByteArray();
}

void tst_ComMobileController::setterWireWords()
{
    QFETCH(QString, setter);
    QFETCH(QString, value);
    QFETCH(QByteArray, sent);

    TComMobileController mobile(m_link.com.get());
    QVERIFY(mobile.setNetwork("mobile.0", 0, false));
    // Values that differ from every row's.
    QVERIFY(mobile.setServiceMode(0, false));
    QVERIFY(mobile.setPreferredTechnology(0, false));
    QVERIFY(mobile.setNetworkQuality(3, false));
    QVERIFY(mobile.setAjbProfile(1, false));
    QVERIFY(mobile.setApn("x", false));
    m_link.fake->clearLog();

    const std::string text = value.toStdString();
    const int number = value.toInt();
    bool done = false;
    int stored = -100;
    if (setter == "mode") {
        done = mobile.setServiceMode(number, true);
        stored = mobile.serviceMode();
    } else if (setter == "modeWord") {
        done = mobile.setServiceModeWord(text, true);
        QCOMPARE(mobile.serviceMode(), text == "data" ? 1 : -1);
    } else if (setter == "diversity") {
        done = mobile.setDiversity(number, true);
        stored = mobile.diversity();
    } else if (setter == "echo_cancel") {
        done = mobile.setEchoCancel(number, true);
        stored = mobile.echoCancel();
    } else if (setter == "noise_gate") {
        done = mobile.setNoiseGate(number, true);
        stored = mobile.noiseGate();
    } else if (setter == "rat") {
        done = mobile.setPreferredTechnology(number, true);
        stored = mobile.preferredTechnology();
    } else if (setter == "pin_persistent") {
        done = mobile.setPinPersistent(number, true);
        stored = mobile.pinPersistent();
    } else if (setter == "apn") {
        done = mobile.setApn(text, true);
        QCOMPARE(mobile.apn(), text);
    } else if (setter == "data_connection") {
        done = mobile.setDataConnection(number, true);
        stored = mobile.dataConnection();
    } else if (setter == "username") {
        done = mobile.setUsername(text, true);
        QCOMPARE(mobile.username(), text);
    } else if (setter == "password") {
        done = mobile.setPassword(text, true);
        QCOMPARE(mobile.password(), text);
    } else if (setter == "authentication") {
        done = mobile.setAuthentication(number, true);
        stored = mobile.authentication();
    } else if (setter == "network_quality") {
        done = mobile.setNetworkQuality(number, true);
        stored = mobile.networkQuality();
    } else if (setter == "ajb_profile") {
        done = mobile.setAjbProfile(number, true);
        stored = mobile.ajbProfile();
    }
    QVERIFY(done);
    if (stored != -100)
        QCOMPARE(stored, number);
    QCOMPARE(m_link.bodies(), sent.isEmpty() ? QList<QByteArray>() : QList<QByteArray>{sent});
}

void tst_ComMobileController::settersKeepValueOnRefusal()
{
    TComMobileController mobile(m_link.com.get());
    QVERIFY(mobile.setNetwork("mobile.0", 0, false));
    QVERIFY(mobile.setApn("internet", true));
    QVERIFY(mobile.setDiversity(true, true));
    // Unchanged values go nowhere.
    m_link.fake->clearLog();
    QVERIFY(mobile.setApn("internet", true));
    QVERIFY(mobile.setDiversity(true, true));
    QCOMPARE(m_link.fake->requestCount(), 0);

    m_link.fake->refuseKey(QStringLiteral("apn"), QStringLiteral("105-invalid value"));
    m_link.fake->refuseKey(QStringLiteral("diversity"), QStringLiteral("109-not supported"));
    QVERIFY(!mobile.setApn("other", true));
    QVERIFY(!mobile.setDiversity(false, true));
    QCOMPARE(mobile.apn(), std::string("internet"));
    QVERIFY(mobile.diversity());
}

void tst_ComMobileController::plmn()
{
    TComMobileController mobile(m_link.com.get());
    QVERIFY(mobile.setNetwork("mobile.0", 0, false));
    m_link.fake->clearLog();

    // Empty means automatic selection: stored and sent as "auto", also on a fresh controller.
    QVERIFY(mobile.setPlmn("", true));
    QCOMPARE(mobile.plmn(), std::string("auto"));
    QVERIFY(mobile.setPlmn("26201", true));
    QCOMPARE(mobile.plmn(), std::string("26201"));
    QVERIFY(mobile.setPlmn("26201", true));
    QCOMPARE(m_link.bodies(),
             QList<QByteArray>(
                 {body("network:mobile.0;plmn:auto;"), body("network:mobile.0;plmn:26201;")}));

    m_link.fake->refuseKey(QStringLiteral("plmn"), QStringLiteral("015-not allowed"));
    QVERIFY(!mobile.setPlmn("26202", true));
    QCOMPARE(mobile.plmn(), std::string("26201"));

    QVERIFY(mobile.applyPlmn(""));
    QCOMPARE(mobile.plmn(), std::string("auto"));
    m_link.fake->clearLog();
    QVERIFY(mobile.setPlmn("", true));
    QVERIFY(mobile.setPlmn("auto", true));
    QCOMPARE(m_link.fake->requestCount(), 0);
}

void tst_ComMobileController::readAllKeysByFirmware_data()
{
    QTest::addColumn<quint32>("version");
    QTest::addColumn<int>("count");

    QTest::newRow("1.11.9") << quint32(0x10B09) << 20;
    QTest::newRow("1.12.0") << quint32(0x10C00) << 21;
}

void tst_ComMobileController::readAllKeysByFirmware()
{
    QFETCH(quint32, version);
    QFETCH(int, count);

    firmwareVersion = version;
    TComMobileController mobile(m_link.com.get());
    QVERIFY(mobile.setNetwork("mobile.0", 0, false));
    m_link.fake->clearLog();
    QVERIFY(mobile.readAll());
    const FakeRequest request = m_link.fake->lastRequest();
    QCOMPARE(request.gets().size(), count);
    QCOMPARE(request.gets().mid(0, 20), kReadKeys);
    QCOMPARE(request.network(), kMobile0);
}

void tst_ComMobileController::readAppliesValuesAndCapabilities()
{
    const auto set = [this](const char *key, const char *value) {
        m_link.fake->setValue(QLatin1String(key), QLatin1String(value), kNet, kMobile0);
    };
    set("mode", "data");
    set("manufacturer", "Telit");
    set("model", "HE910-D");
    set("revision", "12.00.024");
    set("imei", "356938035643809");
    set("imsi", "262011234567890");
    set("echo_cancel", "on");
    set("noise_gate", "off");
    set("rat", "UMTS first");
    set("plmn", "");
    set("pin_persistent", "on");
    set("apn", "web.example");
    set("msisdn", "+491701234567");
    set("data_connection", "on");
    set("data_connection_state", "processing");
    set("username", "u");
    set("password", "p");
    set("authentication", "CHAP");
    set("network_quality", "high");
    set("ajb_profile", "punchy");
    set("operator_long", "Telco One");
    set("signal_quality_dbm", "-71 dBm");
    set("technology", "LTE");
    m_link.fake->refuseKey(QStringLiteral("diversity"), QStringLiteral("109-not supported"));

    TComMobileController mobile(m_link.com.get());
    QVERIFY(mobile.setNetwork("mobile.0", 0, false));
    QVERIFY(mobile.setDiversity(true, false));
    QVERIFY(mobile.applyDiversity("on"));
    QCOMPARE(mobile.capabilities(), quint32(TComMobileController::CapDiversity));

    Strings keys;
    for (const QString &key : kReadKeys)
        keys.push_back(key.toStdString());
    keys.insert(keys.end(), {"ajb_profile", "operator_long", "signal_quality_dbm", "technology"});
    QVERIFY(mobile.read(keys));
    QCOMPARE(mobile.serviceMode(), int(TComMobileController::ServiceData));
    QCOMPARE(mobile.manufacturer(), std::string("Telit"));
    QCOMPARE(mobile.model(), std::string("HE910-D"));
    QCOMPARE(mobile.revision(), std::string("12.00.024"));
    QCOMPARE(mobile.imei(), std::string("356938035643809"));
    QCOMPARE(mobile.imsi(), std::string("262011234567890"));
    QCOMPARE(mobile.msisdn(), std::string("+491701234567"));
    QVERIFY(mobile.echoCancel());
    QVERIFY(!mobile.noiseGate());
    QCOMPARE(mobile.preferredTechnology(), int(TComMobileController::RatUmtsFirst));
    QCOMPARE(mobile.plmn(), std::string("auto"));
    QVERIFY(mobile.pinPersistent());
    QCOMPARE(mobile.apn(), std::string("web.example"));
    QVERIFY(mobile.dataConnection());
    QCOMPARE(mobile.dataConnectionState(), int(TComMobileController::DataProcessing));
    QCOMPARE(mobile.username(), std::string("u"));
    QCOMPARE(mobile.password(), std::string("p"));
    QCOMPARE(mobile.authentication(), int(TComMobileController::AuthChap));
    QCOMPARE(mobile.networkQuality(), 4);
    QCOMPARE(mobile.ajbProfile(), 2);
    QCOMPARE(mobile.operatorLong(), std::string("Telco One"));
    QCOMPARE(mobile.signalQuality(), -71);
    QCOMPARE(mobile.technology(), int(TComMobileController::TechnologyLte));

    // A failed "diversity" takes its capability away and leaves the flag alone.
    QVERIFY(mobile.diversity());
    QCOMPARE(mobile.capabilities(),
             quint32(TComMobileController::CapEchoCancel | TComMobileController::CapNoiseGate));

    // Nothing at all: false, nothing changes.
    m_link.fake->refuseKey(QStringLiteral("apn"), QStringLiteral("102-unknown parameter"));
    QVERIFY(!mobile.read({"apn", "diversity"}));
    QCOMPARE(mobile.apn(), std::string("web.example"));
    QVERIFY(!mobile.read({}));
}

void tst_ComMobileController::refreshes()
{
    m_link.fake->setValue(QStringLiteral("noise_gate"), QStringLiteral("on"), kNet, kMobile0);
    m_link.fake->setValue(QStringLiteral("rat"), QStringLiteral("only GSM"), kNet, kMobile0);
    m_link.fake->setValue(QStringLiteral("plmn"), QStringLiteral("23415"), kNet, kMobile0);
    TComMobileController mobile(m_link.com.get());
    QVERIFY(mobile.setNetwork("mobile.0", 0, false));
    m_link.fake->clearLog();

    QVERIFY(mobile.refreshNoiseGate());
    QVERIFY(mobile.noiseGate());
    QCOMPARE(mobile.capabilities(), quint32(TComMobileController::CapNoiseGate));
    QVERIFY(mobile.refreshPreferredTechnology());
    QCOMPARE(mobile.preferredTechnology(), int(TComMobileController::RatOnlyGsm));
    QVERIFY(mobile.refreshPlmn());
    QCOMPARE(mobile.plmn(), std::string("23415"));
    QCOMPARE(m_link.fake->lastRequest().body,
             QByteArray("PARAM;network:mobile.0;target:network;GET:plmn;"));

    m_link.fake->refuseKey(QStringLiteral("noise_gate"), QStringLiteral("109-not supported"));
    QVERIFY(!mobile.refreshNoiseGate());
    QVERIFY(mobile.noiseGate());
    QCOMPARE(mobile.capabilities(), quint32(0));
}

void tst_ComMobileController::writeSendsOnlyKnownValues()
{
    TComMobileController mobile(m_link.com.get());
    QVERIFY(mobile.setNetwork("mobile.0", 0, false));
    m_link.fake->clearLog();

    // Nothing read or set: every writable key would send a default over the device's value.
    QVERIFY(!mobile.write(kWritable));
    QCOMPARE(m_link.fake->requestCount(), 0);

    QVERIFY(mobile.setServiceMode(-1, false));
    QVERIFY(mobile.setPreferredTechnology(-1, false));
    QVERIFY(mobile.setNetworkQuality(-1, false));
    QVERIFY(mobile.setAuthentication(0, false));
    QVERIFY(mobile.setApn("", false));
    QVERIFY(mobile.setEchoCancel(true, false));
    QVERIFY(mobile.write({"apn",
                          "authentication",
                          "echo_cancel",
                          "mode",
                          "rat",
                          "network_quality",
                          "manufacturer",
                          "data_connection_state",
                          "apn"}));
    QCOMPARE(m_link.bodies(),
             QList<QByteArray>({body("apn:;authentication:;echo_cancel:on;network:mobile.0;")}));

    // Known values of every kind.
    m_link.fake->clearLog();
    QVERIFY(mobile.setServiceMode(1, false));
    QVERIFY(mobile.setPreferredTechnology(6, false));
    QVERIFY(mobile.setNetworkQuality(5, false));
    QVERIFY(mobile.setAjbProfile(0, false));
    QVERIFY(mobile.setUsername("user", false));
    QVERIFY(mobile.setPassword("pw", false));
    QVERIFY(mobile.setPinPersistent(false, false));
    QVERIFY(mobile.setDataConnection(true, false));
    QVERIFY(mobile.write(kWritable));
    QCOMPARE(m_link.bodies(),
             QList<QByteArray>(
                 {QByteArray("PARAM;ajb_profile:safe;apn:;authentication:;data_connection:on;"
                             "echo_cancel:on;mode:data;network:mobile.0;"
                             "network_quality:very_high;password:pw;pin_persistent:off;"
                             "rat:only LTE;target:network;username:user;")}));

    m_link.fake->refuseKey(QStringLiteral("username"), QStringLiteral("105-invalid value"));
    QVERIFY(!mobile.write(kWritable));
    QCOMPARE(mobile.username(), std::string("user"));

    // After a reset the stored operator selection is empty and unknown: it is not sent.
    mobile.reset();
    m_link.fake->clearLog();
    QVERIFY(!mobile.write({"plmn"}));
    QCOMPARE(m_link.fake->requestCount(), 0);
}

void tst_ComMobileController::writeWithPlmnWaitsLonger()
{
    TComMobileController mobile(m_link.com.get());
    QVERIFY(mobile.setNetwork("mobile.0", 0, false));
    QVERIFY(mobile.setPlmn("26201", false));
    QVERIFY(mobile.setApn("internet", false));

    // Selecting an operator takes the modem a while: a write that holds it waits a minute, the
    // single operator write six seconds, everything else the usual five.
    m_link.fake->clearLog();
    s_clientTimeouts.clear();
    const QtMessageHandler previous = qInstallMessageHandler(&collectClientTimeouts);
    const bool withPlmn = mobile.write({"apn", "plmn"});
    const bool withoutPlmn = mobile.write({"apn"});
    const bool selected = mobile.setPlmn("26202", true);
    qInstallMessageHandler(previous);

    QVERIFY(withPlmn && withoutPlmn && selected);
    QCOMPARE(s_clientTimeouts, QList<int>({60, 5, 6}));
    QCOMPARE(m_link.bodies().first(), body("apn:internet;network:mobile.0;plmn:26201;"));
}

void tst_ComMobileController::resetKeepsCapabilities()
{
    TComMobileController mobile(m_link.com.get());
    QCOMPARE(mobile.type(), int(TComController::MobileController));
    QVERIFY(mobile.setNetwork("mobile.0", 0, false));
    QVERIFY(mobile.applyEchoCancel("on"));
    QVERIFY(mobile.applyDiversity("on"));
    QVERIFY(mobile.setServiceMode(1, false));
    QVERIFY(mobile.setPlmn("1", false));
    QVERIFY(mobile.setManufacturer("m"));
    QVERIFY(mobile.applySignalQuality("20"));
    QVERIFY(mobile.applyTechnology("LTE"));
    QVERIFY(mobile.applyDataConnectionState("active"));
    QVERIFY(mobile.setAuthentication(2, false));
    QVERIFY(mobile.setNetworkQuality(1, false));

    StateTrail trail(&mobile);
    mobile.reset();
    QCOMPARE(trail.states, QList<int>{TComController::StateUnknown});
    QCOMPARE(mobile.serviceMode(), -1);
    QVERIFY(mobile.plmn().empty() && mobile.manufacturer().empty());
    QVERIFY(!mobile.echoCancel() && !mobile.diversity());
    QCOMPARE(mobile.signalQuality(), 0);
    QCOMPARE(mobile.technology(), -1);
    QCOMPARE(mobile.dataConnectionState(), 0);
    QCOMPARE(mobile.authentication(), 0);
    QCOMPARE(mobile.networkQuality(), -1);
    QCOMPARE(mobile.capabilities(),
             quint32(TComMobileController::CapEchoCancel | TComMobileController::CapDiversity));

    // A second reset from the unknown state is silent.
    mobile.reset();
    QCOMPARE(trail.states.size(), 1);
}

QTEST_GUILESS_MAIN(tst_ComMobileController)
#include "tst_commobilecontroller.moc"
