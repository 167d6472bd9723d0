#include "model/comaoipcontroller.h"
#include "model/firmwareversion.h"
#include "model/passwordtext.h"

#include "tests/model/linkedfake.h"

#include <QSignalSpy>
#include <QtTest>

#include <functional>
#include <map>

namespace {

const QString kNet = QStringLiteral("network");
const QString kAoip = QStringLiteral("aoip");

// Integer access to every setting by key, so that one table can drive all setters.
struct SettingAccess
{
    std::function<bool(TComAoIPController &, int, bool)> set;
    std::function<int(const TComAoIPController &)> get;
    std::function<bool(TComAoIPController &, const std::string &)> fromText;
};

template<typename Value>
SettingAccess access(bool (TComAoIPController::*setter)(Value, bool),
                     Value (TComAoIPController::*getter)() const,
                     bool (TComAoIPController::*fromText)(const std::string &))
{
    return {[setter](TComAoIPController &c, int v, bool send) {
                return (c.*setter)(static_cast<Value>(v), send);
            },
            [getter](const TComAoIPController &c) { return static_cast<int>((c.*getter)()); },
            [fromText](TComAoIPController &c, const std::string &t) { return (c.*fromText)(t); }};
}

const std::map<QString, SettingAccess> &settingAccess()
{
    using C = TComAoIPController;
    static const std::map<QString, SettingAccess> table = {
        {"audio_mode", access(&C::setAudioMode, &C::audioMode, &C::setAudioModeFromText)},
        {"stream_pattern",
         access(&C::setStreamPattern, &C::streamPattern, &C::setStreamPatternFromText)},
        {"double_codec", access(&C::setDoubleCodec, &C::doubleCodec, &C::setDoubleCodecFromText)},
        {"double_stream",
         access(&C::setDoubleStream, &C::doubleStream, &C::setDoubleStreamFromText)},
        {"jitterab", access(&C::setJitterab, &C::jitterab, &C::setJitterabFromText)},
        {"sip_mode", access(&C::setSipMode, &C::sipMode, &C::setSipModeFromText)},
        {"sip_acc_calls", access(&C::setSipAccCalls, &C::sipAccCalls, &C::setSipAccCallsFromText)},
        {"sip_chk_calls", access(&C::setSipChkCalls, &C::sipChkCalls, &C::setSipChkCallsFromText)},
        {"sip_use_uport2",
         access(&C::setSipUseUport2, &C::sipUseUport2, &C::setSipUseUport2FromText)},
        {"sip_def_account",
         access(&C::setSipDefAccount, &C::sipDefAccount, &C::setSipDefAccountFromText)},
        {"SIP_KA_INTERVAL",
         access(&C::setSipKaInterval, &C::sipKaInterval, &C::setSipKaIntervalFromText)},
        {"SIP_KA_TARGET", access(&C::setSipKaTarget, &C::sipKaTarget, &C::setSipKaTargetFromText)},
        {"SIP_RE_REG_TO", access(&C::setSipReRegTo, &C::sipReRegTo, &C::setSipReRegToFromText)},
        {"SIP_UDP_PORT", access(&C::setSipUdpPort, &C::sipUdpPort, &C::setSipUdpPortFromText)},
        {"RTP_START_PORT",
         access(&C::setRtpStartPort, &C::rtpStartPort, &C::setRtpStartPortFromText)},
        {"sip_sess_timers",
         access(&C::setSipSessTimers, &C::sipSessTimers, &C::setSipSessTimersFromText)},
        {"drtp_acc_calls",
         access(&C::setDrtpAccCalls, &C::drtpAccCalls, &C::setDrtpAccCallsFromText)},
        {"drtp_send_only",
         access(&C::setDrtpSendOnly, &C::drtpSendOnly, &C::setDrtpSendOnlyFromText)},
        {"drtp_rtp_port", access(&C::setDrtpRtpPort, &C::drtpRtpPort, &C::setDrtpRtpPortFromText)},
        {"drtp_rel_timeout",
         access(&C::setDrtpRelTimeout, &C::drtpRelTimeout, &C::setDrtpRelTimeoutFromText)},
        {"stun_mode", access(&C::setStunMode, &C::stunMode, &C::setStunModeFromText)},
        {"rtp_tos", access(&C::setRtpTos, &C::rtpTos, &C::setRtpTosFromText)},
        {"MP_ECM_BF_SHIFT",
         access(&C::setMpEcmBfShift, &C::mpEcmBfShift, &C::setMpEcmBfShiftFromText)},
    };
    return table;
}

QStringList toQStringList(const std::vector<std::string> &keys)
{
    QStringList result;
    for (const std::string &key : keys)
        result << QString::fromStdString(key);
    return result;
}

int failingEncipher(const char *, int, char **out)
{
    *out = nullptr;
    return -1;
}

QStringList s_logLines;

void captureMessage(QtMsgType, const QMessageLogContext &, const QString &text)
{
    s_logLines << text;
}

} // namespace

class tst_ComAoIPController : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup();

    void constructionDefaults();
    void setterSendsWireForm_data();
    void setterSendsWireForm();
    void textSettersConvertToUtf8();
    void refusedWriteKeepsValue();
    void fromText_data();
    void fromText();
    void readAllKeys_data();
    void readAllKeys();
    void readSplitsSettingsAndStatus();
    void readAppliesEveryGroup();
    void readFailures();
    void singleKeyReads();
    void writeShape();
    void writeRefusals();
    void passwordsNeverReachTheLog();
    void setNetworkSubscribes();
    void resetRestoresDefaults();
    void handleInfo_data();
    void handleInfo();

private:
    // Opens the link and attaches a controller to "aoip" without reading; the log starts empty.
    std::unique_ptr<TComAoIPController> attached();

    LinkedFake m_link;
};

void tst_ComAoIPController::cleanup()
{
    m_link.stop();
    firmwareVersion = kFirmwareVersionUnknown;
    setPasswordEncipher(nullptr);
}

std::unique_ptr<TComAoIPController> tst_ComAoIPController::attached()
{
    if (!m_link.start())
        return nullptr;
    auto controller = std::make_unique<TComAoIPController>(m_link.com.get());
    if (!controller->setNetwork("aoip", 0, false))
        return nullptr;
    m_link.fake->clearLog();
    return controller;
}

void tst_ComAoIPController::constructionDefaults()
{
    const TComAoIPController c(nullptr);
    QCOMPARE(c.type(), int(TComController::AoipController));
    QCOMPARE(c.state(), int(TComController::StateUnknown));
    QVERIFY(c.networkId().empty());
    QCOMPARE(c.sipDefAccount(), 1);
    QCOMPARE(c.sipKaInterval(), 15);
    QCOMPARE(c.sipReRegTo(), 300);
    QCOMPARE(c.sipUdpPort(), 5060);
    QCOMPARE(c.rtpStartPort(), 5004);
    QCOMPARE(c.drtpRtpPort(), 9000);
    QCOMPARE(c.drtpRelTimeout(), 30);
    QCOMPARE(c.account1().index(), 1);
    QCOMPARE(c.account2().index(), 2);
    QCOMPARE(&c.account(2), &c.account2());
    QCOMPARE(&c.account(7), &c.account1());
}

void tst_ComAoIPController::setterSendsWireForm_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("wire"); // null: nothing is sent
    QTest::addColumn<int>("stored");

    QTest::newRow("audio_mode RTP") << "audio_mode" << 1 << "RTP" << 1;
    QTest::newRow("audio_mode MC") << "audio_mode" << 2 << "MC" << 2;
    QTest::newRow("audio_mode other") << "audio_mode" << 5 << "SIP" << 5;
    QTest::newRow("stream_pattern 2-3") << "stream_pattern" << 2 << "2-3" << 2;
    QTest::newRow("stream_pattern 1-3") << "stream_pattern" << 3 << "1-3" << 3;
    QTest::newRow("stream_pattern other") << "stream_pattern" << 9 << "1-1" << 9;
    QTest::newRow("replication 2") << "MP_ECM_BF_SHIFT" << 2 << "2" << 2;
    QTest::newRow("replication other") << "MP_ECM_BF_SHIFT" << 3 << "0" << 3;
    QTest::newRow("flag on") << "double_codec" << 1 << "on" << 1;
    QTest::newRow("session timers") << "sip_sess_timers" << 1 << "on" << 1;
    QTest::newRow("drtp send only") << "drtp_send_only" << 1 << "on" << 1;
    QTest::newRow("keep-alive target any") << "SIP_KA_TARGET" << 7 << "7" << 7;
    QTest::newRow("udp port") << "SIP_UDP_PORT" << 5070 << "5070" << 5070;
    QTest::newRow("udp port 0 ignored") << "SIP_UDP_PORT" << 0 << QString() << 5060;
    QTest::newRow("account 0 ignored") << "sip_def_account" << 0 << QString() << 1;
    QTest::newRow("account 2") << "sip_def_account" << 2 << "2" << 2;
    QTest::newRow("interval 0 ignored") << "SIP_KA_INTERVAL" << 0 << QString() << 15;
    QTest::newRow("re-register") << "SIP_RE_REG_TO" << 600 << "600" << 600;
    QTest::newRow("rtp port") << "RTP_START_PORT" << 6000 << "6000" << 6000;
    QTest::newRow("drtp port -1 ignored") << "drtp_rtp_port" << -1 << QString() << 9000;
    QTest::newRow("drtp timeout") << "drtp_rel_timeout" << 60 << "60" << 60;
    QTest::newRow("tos -1 ignored") << "rtp_tos" << -1 << QString() << 0;
    QTest::newRow("tos 46") << "rtp_tos" << 46 << "46" << 46;
    QTest::newRow("unchanged") << "SIP_UDP_PORT" << 5060 << QString() << 5060;
}

void tst_ComAoIPController::setterSendsWireForm()
{
    QFETCH(QString, key);
    QFETCH(int, value);
    QFETCH(QString, wire);
    QFETCH(int, stored);

    const auto c = attached();
    QVERIFY(c);
    const SettingAccess &setting = settingAccess().at(key);
    QVERIFY(setting.set(*c, value, true));
    QCOMPARE(setting.get(*c), stored);
    if (wire.isNull()) {
        QTest::qWait(20);
        QCOMPARE(m_link.fake->requestCount(), 0);
        return;
    }
    QCOMPARE(m_link.fake->requestCount(), 1);
    const FakeRequest request = m_link.fake->lastRequest();
    QCOMPARE(request.typeWord(), QStringLiteral("PARAM"));
    QCOMPARE(request.message.params.size(), 3);
    QCOMPARE(request.target(), kNet);
    QCOMPARE(request.network(), kAoip);
    QCOMPARE(request.value(key), wire);
}

void tst_ComAoIPController::textSettersConvertToUtf8()
{
    const auto c = attached();
    QVERIFY(c);
    QVERIFY(c->setSipProxy("pr\xf6xy.example", true));
    QCOMPARE(c->sipProxy(), std::string("pr\xf6xy.example"));
    QCOMPARE(m_link.fake->lastRequest().value(QStringLiteral("sip_proxy")),
             QString::fromUtf8("pr\xc3\xb6xy.example"));
    QVERIFY(c->setStunServer("stun.example", true));
    QCOMPARE(m_link.fake->lastRequest().value(QStringLiteral("stun_server")),
             QStringLiteral("stun.example"));
    QCOMPARE(m_link.fake->requestCount(), 2);

    QVERIFY(c->setStunServerFromText("st\xc3\xbcn"));
    QCOMPARE(c->stunServer(), std::string("st\xfcn"));
    QCOMPARE(m_link.fake->requestCount(), 2);
}

void tst_ComAoIPController::refusedWriteKeepsValue()
{
    const auto c = attached();
    QVERIFY(c);
    m_link.fake->refuseKey(QStringLiteral("SIP_UDP_PORT"), QStringLiteral("015-not allowed"));
    m_link.fake->refuseKey(QStringLiteral("sip_proxy"), QStringLiteral("015-not allowed"));
    QVERIFY(!c->setSipUdpPort(5070, true));
    QCOMPARE(c->sipUdpPort(), 5060);
    QVERIFY(!c->setSipProxy("proxy", true));
    QVERIFY(c->sipProxy().empty());

    // Without a link every write fails the same way.
    m_link.com->disconnect();
    QVERIFY(!c->setSipMode(true, true));
    QVERIFY(!c->sipMode());
    QVERIFY(c->setSipMode(true, false));
    QVERIFY(c->sipMode());
}

void tst_ComAoIPController::fromText_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("preset");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");

    QTest::newRow("mode RTP") << "audio_mode" << 0 << "RTP" << 1;
    QTest::newRow("mode MC") << "audio_mode" << 0 << "MC" << 2;
    QTest::newRow("mode lower case") << "audio_mode" << 2 << "rtp" << 0;
    QTest::newRow("mode empty") << "audio_mode" << 2 << "" << 0;
    QTest::newRow("pattern 2-3") << "stream_pattern" << 0 << "2-3" << 2;
    QTest::newRow("pattern unknown") << "stream_pattern" << 3 << "3-3" << 0;
    QTest::newRow("flag on") << "sip_mode" << 0 << "on" << 1;
    QTest::newRow("flag ON") << "sip_mode" << 1 << "ON" << 0;
    QTest::newRow("flag empty") << "stun_mode" << 1 << "" << 0;
    QTest::newRow("account empty") << "sip_def_account" << 2 << "" << 1;
    QTest::newRow("account 0") << "sip_def_account" << 2 << "0" << 2;
    QTest::newRow("account word") << "sip_def_account" << 2 << "abc" << 2;
    QTest::newRow("account 2") << "sip_def_account" << 1 << "2" << 2;
    QTest::newRow("interval empty") << "SIP_KA_INTERVAL" << 30 << "" << 15;
    QTest::newRow("interval negative") << "SIP_KA_INTERVAL" << 30 << "-3" << 30;
    QTest::newRow("target 1") << "SIP_KA_TARGET" << 0 << "1" << 1;
    QTest::newRow("target 2") << "SIP_KA_TARGET" << 1 << "2" << 0;
    QTest::newRow("target empty") << "SIP_KA_TARGET" << 1 << "" << 0;
    QTest::newRow("re-register empty") << "SIP_RE_REG_TO" << 60 << "" << 300;
    QTest::newRow("udp port empty") << "SIP_UDP_PORT" << 5070 << "" << 5060;
    QTest::newRow("rtp port empty") << "RTP_START_PORT" << 6000 << "" << 5004;
    QTest::newRow("rtp port huge") << "RTP_START_PORT" << 6000 << "99999999999" << 2147483647;
    QTest::newRow("drtp port empty") << "drtp_rtp_port" << 1 << "" << 9000;
    QTest::newRow("drtp timeout empty") << "drtp_rel_timeout" << 1 << "" << 30;
    QTest::newRow("tos empty") << "rtp_tos" << 10 << "" << 0;
    QTest::newRow("tos negative") << "rtp_tos" << 10 << "-1" << 10;
    QTest::newRow("tos word") << "rtp_tos" << 10 << "ef" << 0;
    QTest::newRow("replication 2") << "MP_ECM_BF_SHIFT" << 0 << "2" << 2;
    QTest::newRow("replication 3") << "MP_ECM_BF_SHIFT" << 2 << "3" << 0;
}

void tst_ComAoIPController::fromText()
{
    QFETCH(QString, key);
    QFETCH(int, preset);
    QFETCH(QString, text);
    QFETCH(int, expected);

    TComAoIPController c(nullptr);
    const SettingAccess &setting = settingAccess().at(key);
    QVERIFY(setting.set(c, preset, false));
    QCOMPARE(setting.get(c), preset);
    QVERIFY(setting.fromText(c, text.toStdString()));
    QCOMPARE(setting.get(c), expected);
}

void tst_ComAoIPController::readAllKeys_data()
{
    QTest::addColumn<quint32>("version");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("absent");

    const QStringList gated = {"sip_use_uport2",
                               "sip_chk_calls",
                               "sip_def_account",
                               "stream_pattern",
                               "sip_sess_timers",
                               "SIP_KA_TARGET",
                               "sip_registrar2"};
    QTest::newRow("1.7.1") << quint32(0x10701) << 31 << QStringList() << gated;
    QTest::newRow("1.8.1") << quint32(0x10801) << 32 << QStringList({"sip_use_uport2"})
                           << gated.mid(1);
    QTest::newRow("1.8.2") << quint32(0x10802) << 35
                           << QStringList({"sip_chk_calls", "sip_def_account", "sip_registrar2"})
                           << QStringList({"stream_pattern", "sip_sess_timers", "SIP_KA_TARGET"});
    QTest::newRow("1.10.0") << quint32(0x10a00) << 36 << QStringList({"stream_pattern"})
                            << QStringList({"sip_sess_timers"});
    QTest::newRow("1.15.0") << quint32(0x10f00) << 37 << QStringList({"sip_sess_timers"})
                            << QStringList({"SIP_KA_TARGET"});
    QTest::newRow("unknown") << kFirmwareVersionUnknown << 38 << gated << QStringList();
}

void tst_ComAoIPController::readAllKeys()
{
    QFETCH(quint32, version);
    QFETCH(int, count);
    QFETCH(QStringList, present);
    QFETCH(QStringList, absent);

    firmwareVersion = version;
    const QStringList keys = toQStringList(TComAoIPController::readAllKeys());
    QCOMPARE(keys.size(), count);
    QCOMPARE(keys.first(), QStringLiteral("audio_mode"));
    for (const QString &key : present)
        QVERIFY2(keys.contains(key), qPrintable(key));
    for (const QString &key : absent)
        QVERIFY2(!keys.contains(key), qPrintable(key));
    QVERIFY(!keys.contains(QStringLiteral("jitterab")));
    QVERIFY(!keys.contains(QStringLiteral("aoip_version")));
}

void tst_ComAoIPController::readSplitsSettingsAndStatus()
{
    const auto c = attached();
    QVERIFY(c);
    m_link.fake->setValue(QStringLiteral("sip_mode"), QStringLiteral("on"), kNet, kAoip);
    m_link.fake->setValue(QStringLiteral("public_addr"), QStringLiteral("198.51.100.7"), kNet);

    QVERIFY(c->read({"sip_state", "sip_mode", "public_addr", "sip_mode", "bogus_key"}));
    const QList<FakeRequest> requests = m_link.fake->requests();
    QCOMPARE(requests.size(), 2);
    QCOMPARE(requests[0].network(), kAoip);
    QCOMPARE(requests[0].target(), kNet);
    QCOMPARE(requests[0].gets(), QStringList({"sip_mode", "bogus_key"}));
    QVERIFY(!requests[1].has(kNet));
    QCOMPARE(requests[1].target(), kNet);
    QCOMPARE(requests[1].gets(), QStringList({"sip_state", "public_addr"}));
    QVERIFY(c->sipMode());
    QCOMPARE(c->publicAddr(), std::string("198.51.100.7"));

    // Status alone: one request without the network; the version is stored as received.
    m_link.fake->clearLog();
    m_link.fake->setValue(QStringLiteral("aoip_version"), QStringLiteral("2.1 (b7)"), kNet);
    QVERIFY(c->read({"aoip_version"}));
    QCOMPARE(m_link.fake->requestCount(), 1);
    QVERIFY(!m_link.fake->lastRequest().has(kNet));
    QCOMPARE(c->aoipVersion(), std::string("2.1 (b7)"));
}

void tst_ComAoIPController::readAppliesEveryGroup()
{
    QVERIFY(m_link.start());
    FakeQuorix &fake = *m_link.fake;
    const auto setting = [&fake](const char *key, const QString &value) {
        fake.setValue(QString::fromLatin1(key), value, kNet, kAoip);
    };
    setting("audio_mode", "MC");
    setting("stream_pattern", "1-2");
    setting("sip_proxy", QString::fromUtf8("pr\xc3\xb6xy"));
    setting("RTP_START_PORT", "");
    setting("sip_user", "alice");
    setting("sip_user2", QString::fromUtf8("b\xc3\xb6"));
    setting("sip_password2", QString::fromStdString(encryptPassword("s3cret")));
    setting("sip_registrar2", "reg.example:5080");
    fake.setValue(QStringLiteral("sip_state"), QStringLiteral("registered"), kNet);
    fake.setValue(QStringLiteral("sip_state2"), QStringLiteral("408 timeout"), kNet);
    fake.setValue(QStringLiteral("stun_nat_type"), QStringLiteral("nat-full-cone"), kNet);
    fake.setValue(QStringLiteral("public_addr"), QStringLiteral("203.0.113.9"), kNet);

    TComAoIPController c(m_link.com.get());
    QSignalSpy stateSpy(&c, &TComController::controllerStateChanged);
    QVERIFY(c.setRtpStartPort(6000, false));
    QVERIFY(c.setNetwork("aoip", TComNetworkController::ReadAllFlag, false));
    QCOMPARE(stateSpy.count(), 2);
    QCOMPARE(c.state(), int(TComController::StateReady));

    QCOMPARE(c.audioMode(), 2);
    QCOMPARE(c.streamPattern(), 1);
    QCOMPARE(c.sipProxy(), std::string("pr\xf6xy"));
    // Keys the device does not hold arrive empty and take their empty-text value.
    QCOMPARE(c.rtpStartPort(), 5004);
    QCOMPARE(c.sipUdpPort(), 5060);
    QCOMPARE(c.account1().user(), std::string("alice"));
    QVERIFY(c.account1().registered());
    QCOMPARE(c.account2().user(), std::string("b\xf6"));
    QCOMPARE(c.account2().password(), std::string("s3cret"));
    QCOMPARE(c.account2().registrarPort(), 5080);
    QVERIFY(!c.account2().registered());
    QCOMPARE(c.account2().cause(), std::string("408 timeout"));
    QCOMPARE(c.stunNatType(), int(TComAoIPController::NatFullCone));
    QCOMPARE(c.publicAddr(), std::string("203.0.113.9"));
}

void tst_ComAoIPController::readFailures()
{
    const auto c = attached();
    QVERIFY(c);
    QVERIFY(!c->read({}));
    QCOMPARE(m_link.fake->requestCount(), 0);

    // Settings yield nothing: false, and the status keys are not asked for.
    m_link.fake->refuseKey(QStringLiteral("sip_mode"), QStringLiteral("015-not allowed"));
    QVERIFY(!c->read({"sip_mode", "sip_state"}));
    QCOMPARE(m_link.fake->requestCount(), 1);

    // Status keys yield nothing.
    m_link.fake->clearLog();
    m_link.fake->refuseKey(QStringLiteral("stun_nat_type"), QStringLiteral("015-not allowed"));
    m_link.fake->setValue(QStringLiteral("stun_nat_type"), QStringLiteral("failure"), kNet);
    QVERIFY(!c->read({"stun_nat_type"}));
    QCOMPARE(c->stunNatType(), 0);
}

void tst_ComAoIPController::singleKeyReads()
{
    const auto c = attached();
    QVERIFY(c);
    m_link.fake->setValue(QStringLiteral("stun_nat_type"), QStringLiteral("nat-open"), kNet, kAoip);
    m_link.fake->setValue(QStringLiteral("SIP_KA_TARGET"), QStringLiteral("1"), kNet, kAoip);

    QVERIFY(c->readStunNatType());
    QCOMPARE(m_link.fake->lastRequest().network(), kAoip);
    QCOMPARE(c->stunNatType(), int(TComAoIPController::NatOpen));
    QVERIFY(c->readSipKaTarget());
    QCOMPARE(c->sipKaTarget(), 1);

    m_link.fake->refuseKey(QStringLiteral("SIP_UDP_PORT"), QStringLiteral("015-not allowed"));
    QVERIFY(!c->readSipUdpPort());
    QCOMPARE(c->sipUdpPort(), 5060);
}

void tst_ComAoIPController::writeShape()
{
    const auto c = attached();
    QVERIFY(c);
    QVERIFY(c->setSipMode(true, false));
    QVERIFY(c->setAudioMode(1, false));
    QVERIFY(c->account1().setPassword("p\xe4ss", false));
    QVERIFY(c->account2().setUser("b\xf6", false));
    QCOMPARE(m_link.fake->requestCount(), 0);

    QVERIFY(c->write(
        {"sip_mode", "audio_mode", "sip_mode", "sip_state", "bogus", "sip_password", "sip_user2"}));
    QCOMPARE(m_link.fake->requestCount(), 1);
    const FakeRequest request = m_link.fake->lastRequest();
    QCOMPARE(request.message.params.size(), 6);
    QCOMPARE(request.target(), kNet);
    QCOMPARE(request.network(), kAoip);
    QCOMPARE(request.value(QStringLiteral("sip_mode")), QStringLiteral("on"));
    QCOMPARE(request.value(QStringLiteral("audio_mode")), QStringLiteral("RTP"));
    QCOMPARE(request.value(QStringLiteral("sip_user2")), QString::fromUtf8("b\xc3\xb6"));
    const QString cipher = request.value(QStringLiteral("sip_password"));
    QVERIFY(!request.body.contains("p\xc3\xa4ss"));
    QCOMPARE(decryptPassword(cipher.toStdString()), std::string("p\xc3\xa4ss"));
}

void tst_ComAoIPController::writeRefusals()
{
    const auto c = attached();
    QVERIFY(c);
    QVERIFY(!c->write({}));
    QVERIFY(!c->write({"sip_state"}));
    QVERIFY(!c->write({"bogus", "aoip_version", "stun_nat_type"}));
    QCOMPARE(m_link.fake->requestCount(), 0);

    // The device refuses one parameter: false, and the model keeps its values.
    QVERIFY(c->setSipUdpPort(5070, false));
    m_link.fake->refuseKey(QStringLiteral("SIP_UDP_PORT"), QStringLiteral("015-not allowed"));
    QVERIFY(!c->write({"SIP_UDP_PORT", "sip_mode"}));
    QCOMPARE(c->sipUdpPort(), 5070);

    // A password that cannot be enciphered stops the whole write.
    m_link.fake->clearLog();
    QVERIFY(c->account2().setPassword("secret", false));
    setPasswordEncipher(&failingEncipher);
    QVERIFY(!c->write({"sip_mode", "sip_password2"}));
    QTest::qWait(20);
    QCOMPARE(m_link.fake->requestCount(), 0);
}

void tst_ComAoIPController::passwordsNeverReachTheLog()
{
    const auto c = attached();
    QVERIFY(c);
    const std::string plain = "Pl41nSecret";
    const std::string stored = encryptPassword("St0redSecret");
    m_link.fake->setValue(
        QStringLiteral("sip_password"), QString::fromStdString(stored), kNet, kAoip);
    QVERIFY(c->account2().setPassword(plain, false));

    s_logLines.clear();
    const QtMessageHandler previous = qInstallMessageHandler(&captureMessage);
    const bool written = c->write({"sip_password2"});
    const bool read = c->read({"sip_password"});
    qInstallMessageHandler(previous);

    QVERIFY(written);
    QVERIFY(read);
    QCOMPARE(c->account1().password(), std::string("St0redSecret"));
    const QString sent = m_link.fake->requests().first().value(QStringLiteral("sip_password2"));
    QVERIFY(!s_logLines.isEmpty());
    for (const QString &line : std::as_const(s_logLines)) {
        QVERIFY2(!line.contains(QString::fromStdString(plain)), qPrintable(line));
        QVERIFY2(!line.contains(QStringLiteral("St0redSecret")), qPrintable(line));
        QVERIFY2(!line.contains(sent), qPrintable(line));
        QVERIFY2(!line.contains(QString::fromStdString(stored)), qPrintable(line));
    }
}

void tst_ComAoIPController::setNetworkSubscribes()
{
    QVERIFY(m_link.start());
    TComAoIPController c(m_link.com.get());
    QSignalSpy stateSpy(&c, &TComController::controllerStateChanged);

    QVERIFY(!c.setNetwork("", 0, false));
    QCOMPARE(stateSpy.count(), 0);

    // Reset from the unknown state sends nothing.
    c.reset();
    QTest::qWait(20);
    QCOMPARE(m_link.fake->requestCount(), 0);

    QVERIFY(c.setNetwork("aoip", 0, false));
    QCOMPARE(c.networkId(), std::string("aoip"));
    QCOMPARE(stateSpy.count(), 2);
    QCOMPARE(c.state(), int(TComController::StateReady));
    QCOMPARE(m_link.fake->subscriptions(), QStringList({"sip_registration", "sip_registration2"}));

    // A second attachment unsubscribes (through the reset) before it subscribes again.
    m_link.fake->clearLog();
    QVERIFY(c.setNetwork("aoip", 0, false));
    QStringList actions;
    for (const FakeRequest &request : m_link.fake->requests())
        actions << request.action() + QLatin1Char(' ') + request.value(QStringLiteral("info"));
    QCOMPARE(actions,
             QStringList({"unsubscribe sip_registration",
                          "unsubscribe sip_registration2",
                          "subscribe sip_registration",
                          "subscribe sip_registration2"}));
    QCOMPARE(m_link.fake->subscriptions(), QStringList({"sip_registration", "sip_registration2"}));
}

void tst_ComAoIPController::resetRestoresDefaults()
{
    const auto c = attached();
    QVERIFY(c);
    m_link.fake->setValue(QStringLiteral("aoip_version"), QStringLiteral("3.0"), kNet);
    QVERIFY(c->read({"aoip_version"}));
    for (const auto &entry : settingAccess())
        entry.second.set(*c, 2, false);
    QVERIFY(c->setSipProxy("proxy", false));
    QVERIFY(c->setStunNatTypeFromText("nat-open"));
    QVERIFY(c->account1().setUser("alice", false));
    c->account2().setRegistration("registered", "");

    QSignalSpy stateSpy(c.get(), &TComController::controllerStateChanged);
    c->reset();
    QCOMPARE(stateSpy.count(), 1);
    QCOMPARE(c->state(), int(TComController::StateUnknown));
    QVERIFY(m_link.fake->subscriptions().isEmpty());

    QCOMPARE(c->audioMode(), 0);
    QCOMPARE(c->sipMode(), false);
    QCOMPARE(c->jitterab(), false);
    QCOMPARE(c->sipDefAccount(), 1);
    QCOMPARE(c->sipKaInterval(), 15);
    QCOMPARE(c->sipKaTarget(), 0);
    QCOMPARE(c->rtpStartPort(), 5006);
    QCOMPARE(c->drtpRtpPort(), 9000);
    QCOMPARE(c->rtpTos(), 0);
    QCOMPARE(c->mpEcmBfShift(), 0);
    QCOMPARE(c->stunNatType(), 0);
    QVERIFY(c->sipProxy().empty());
    QVERIFY(c->account1().user().empty());
    QVERIFY(!c->account2().registered());
    QCOMPARE(c->aoipVersion(), std::string("3.0"));
    QCOMPARE(c->networkId(), std::string("aoip"));
}

void tst_ComAoIPController::handleInfo_data()
{
    QTest::addColumn<QString>("infoType");
    QTest::addColumn<bool>("consumed");
    QTest::addColumn<bool>("registered1");
    QTest::addColumn<QString>("cause1");
    QTest::addColumn<bool>("registered2");
    QTest::addColumn<QString>("cause2");

    QTest::newRow("account 1") << "sip_registration" << true << true << "c1" << false << "";
    QTest::newRow("account 2") << "sip_registration2" << true << false << "" << true << "c2";
    QTest::newRow("other") << "audio_changeset" << false << false << "" << false << "";
    QTest::newRow("empty") << "" << false << false << "" << false << "";
}

void tst_ComAoIPController::handleInfo()
{
    QFETCH(QString, infoType);
    QFETCH(bool, consumed);
    QFETCH(bool, registered1);
    QFETCH(QString, cause1);
    QFETCH(bool, registered2);
    QFETCH(QString, cause2);

    TComAoIPController c(nullptr);
    ksm::CMsg info(ksm::CMsg::Info);
    if (!infoType.isEmpty())
        info.setParam("info_type", infoType.toStdString());
    info.setParam("sip_state", "registered");
    info.setParam("sip_state_cause", "c1");
    info.setParam("sip_state2", "registered");
    info.setParam("sip_state_cause2", "c2");
    QSignalSpy stateSpy(&c, &TComController::controllerStateChanged);

    QCOMPARE(c.handleInfo(info), consumed);
    QCOMPARE(c.account1().registered(), registered1);
    QCOMPARE(QString::fromStdString(c.account1().cause()), cause1);
    QCOMPARE(c.account2().registered(), registered2);
    QCOMPARE(QString::fromStdString(c.account2().cause()), cause2);
    QCOMPARE(stateSpy.count(), 0);
    QVERIFY(!c.handleEvent(info));

    // A registration INFO without state or cause applies empty texts.
    c.account1().setRegistration("registered", "x");
    ksm::CMsg bare(ksm::CMsg::Info);
    bare.setParam("info_type", "sip_registration");
    QVERIFY(c.handleInfo(bare));
    QVERIFY(!c.account1().registered());
    QVERIFY(c.account1().cause().empty());
}

QTEST_GUILESS_MAIN(tst_ComAoIPController)
#include "tst_comaoipcontroller.moc"
