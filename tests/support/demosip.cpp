// The SIP side of the audio-over-IP module: protocol, STUN, registration, keep-alive, direct RTP
// and quality-of-service settings, and two SIP accounts, the first registered at a demo
// registrar and the second at another one, so the default-account switch can be used. The unit
// also offers double streaming over IP. Account 1's password is "sipdemo"; what the program
// writes is kept.
//
// A refused write can be tried by hand: the unit refuses a settings write to "aoip" whose
// registrar, outbound proxy or STUN server holds a blank ("105-invalid value" for that key) and
// then keeps none of the request's values.

#include "demoarea.h"

#include "link/passwordcipher.h"

#include <QStringList>

#include <cstdlib>

namespace {

const QString kNetwork = QStringLiteral("network");
const QString kAoip = QStringLiteral("aoip");

// Host names hold no blanks; these keys are refused when one does.
const QStringList &checkedHostKeys()
{
    static const QStringList keys = {QStringLiteral("sip_registrar"),
                                     QStringLiteral("sip_registrar2"),
                                     QStringLiteral("sip_proxy"),
                                     QStringLiteral("stun_server")};
    return keys;
}

// A unit keeps SIP passwords enciphered; an empty text when the cipher fails.
QString enciphered(const QByteArray &text)
{
    char *cipher = nullptr;
    const int length = encryptString(text.constData(), int(text.size()), &cipher);
    if (length < 0)
        return {};
    const QString result = QString::fromLatin1(cipher, length);
    std::free(cipher);
    return result;
}

std::optional<QList<FakeReply>> refuseBlankHost(const FakeRequest &request)
{
    if (request.message.type != FakeMessage::Param || request.target() != kNetwork
        || request.network() != kAoip)
        return std::nullopt;
    for (const auto &[key, value] : request.message.params) {
        if (!checkedHostKeys().contains(key) || !value.contains(QLatin1Char(' ')))
            continue;
        FakeMessage answer(FakeMessage::Param);
        answer.set(QStringLiteral("return"), QStringLiteral("ERROR"));
        answer.set(key, QStringLiteral("105-invalid value"));
        return QList<FakeReply>{FakeReply::reply(answer)};
    }
    return std::nullopt;
}

} // namespace

void installDemoSip(DemoUnit &demo)
{
    FakeQuorix &fake = demo.fake();
    const QString general = QStringLiteral("general");
    QStringList options
        = FakeMessage::splitList(fake.value(QStringLiteral("device_opts"), general));
    if (!options.contains(QStringLiteral("ip_dstream_2")))
        options << QStringLiteral("ip_dstream_2");
    fake.setList(QStringLiteral("device_opts"), options, general);

    const std::pair<const char *, const char *> settings[] = {
        {"audio_mode", "SIP"},
        {"double_codec", "off"},
        {"double_stream", "off"},
        {"stream_pattern", "1-1"},
        {"jitterab", "on"},
        {"stun_mode", "on"},
        {"stun_server", "stun.demo.invalid"},
        {"sip_mode", "on"},
        {"sip_acc_calls", "on"},
        {"sip_chk_calls", "off"},
        {"sip_def_account", "1"},
        {"sip_use_uport2", "off"},
        {"sip_proxy", ""},
        {"SIP_KA_INTERVAL", "30"},
        {"SIP_KA_TARGET", "1"},
        {"SIP_RE_REG_TO", "300"},
        {"SIP_UDP_PORT", "5060"},
        {"RTP_START_PORT", "5004"},
        {"sip_sess_timers", "off"},
        {"drtp_acc_calls", "on"},
        {"drtp_send_only", "off"},
        {"drtp_rtp_port", "9000"},
        {"drtp_rel_timeout", "10"},
        {"rtp_tos", "46"},
        {"MP_ECM_BF_SHIFT", "2"},
        {"sip_registrar", "sip.demo.invalid"},
        {"sip_user", "studio1"},
        {"sip_display_name", "Studio 1"},
        {"sip_auth_user", "studio1"},
        {"sip_registrar2", "backup.demo.invalid:5070"},
        {"sip_user2", "studio1-backup"},
        {"sip_display_name2", "Studio 1 (backup)"},
        {"sip_auth_user2", "studio1b"},
        {"sip_password2", ""},
    };
    for (const auto &[key, value] : settings)
        fake.setValue(QLatin1String(key), QLatin1String(value), kNetwork, kAoip);
    fake.setValue(QStringLiteral("sip_password"), enciphered("sipdemo"), kNetwork, kAoip);

    // Status keys are asked for without naming the module.
    fake.setValue(QStringLiteral("stun_nat_type"), QStringLiteral("nat-open"), kNetwork);
    fake.setValue(QStringLiteral("public_addr"), QStringLiteral("127.0.0.1"), kNetwork);

    demo.addHandler(refuseBlankHost);
}
