#include "demosip.h"

#include <QStringList>

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

void appendToList(FakeQuorix &fake,
                  const QString &name,
                  const QString &item,
                  const QString &target,
                  const QString &network = {})
{
    QStringList items = FakeMessage::splitList(fake.value(name, target, network));
    if (!items.contains(item))
        items << item;
    fake.setList(name, items, target, network);
}

} // namespace

void fillSipDemo(FakeQuorix &fake)
{
    appendToList(fake, kNetwork, kAoip, kNetwork);
    appendToList(fake,
                 QStringLiteral("device_opts"),
                 QStringLiteral("ip_dstream_2"),
                 QStringLiteral("general"));

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
        {"sip_password", ""},
        {"sip_registrar2", "backup.demo.invalid:5070"},
        {"sip_user2", "studio1-backup"},
        {"sip_display_name2", "Studio 1 (backup)"},
        {"sip_auth_user2", "studio1b"},
        {"sip_password2", ""},
    };
    for (const auto &[key, value] : settings)
        fake.setValue(QLatin1String(key), QLatin1String(value), kNetwork, kAoip);

    // Status keys are asked for without the network.
    const std::pair<const char *, const char *> status[] = {
        {"sip_state", "registered"},
        {"sip_state2", "unregistered"},
        {"stun_nat_type", "nat-open"},
        {"public_addr", "127.0.0.1"},
        {"aoip_version", "demo 1.0"},
    };
    for (const auto &[key, value] : status)
        fake.setValue(QLatin1String(key), QLatin1String(value), kNetwork);
}

std::optional<QList<FakeReply>> answerSipDemo(const FakeRequest &request)
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
