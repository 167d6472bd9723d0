// The audio-over-IP module of the demo unit: a two-port RAVENNA module with its clocking, both
// ports' addressing, one transmit stream and two receive slots, and the streams it sees on the
// network. It refuses what a module would: a multicast address outside 224-239.x.x.x, and an
// interface address, mask or gateway that is not four numbers from 0 to 255.

#include "demoarea.h"

#include <QHash>
#include <QStringList>
#include <QtGlobal>

#include <algorithm>
#include <utility>

namespace {

const QString kAudio = QStringLiteral("audio");

bool dottedQuad(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return false;
    for (const QString &part : parts) {
        bool ok = false;
        const int number = part.toInt(&ok, 10);
        if (!ok || number < 0 || number > 255)
            return false;
    }
    return true;
}

// The cause the module gives for a value it does not take; empty when it takes it.
QString refusal(const QString &key, const QString &value)
{
    if (key.startsWith(QLatin1String("rav_mc_addr_ou"))) {
        const int first = value.section(QLatin1Char('.'), 0, 0).toInt();
        if (!dottedQuad(value) || first < 224 || first > 239)
            return QStringLiteral("105-invalid value");
    }
    const bool address = key.startsWith(QLatin1String("rav_ip_addr"))
                         || key.startsWith(QLatin1String("rav_subnet"))
                         || (key.startsWith(QLatin1String("rav_gateway")) && !value.isEmpty());
    if (address && !dottedQuad(value))
        return QStringLiteral("105-invalid value");
    return {};
}

} // namespace

void installDemoRavenna(DemoUnit &demo)
{
    FakeQuorix &fake = demo.fake();
    const std::pair<const char *, const char *> values[] = {
        {"rav_manufacturer", "Merging Technologies"},
        {"rav_hardware_name", "RAVENNA Module"},
        {"rav_if_count", "2"},
        {"rav_device_name", "Quorix-Studio"},
        {"rav_sample_rate", "48000"},
        {"rav_resolution", "24"},
        {"rav_ptp_domain", "0"},
        {"rav_net_mode", "switch"},
        {"rav_dhcp", "off"},
        {"rav_ip_addr", "10.20.0.21"},
        {"rav_subnet", "255.255.255.0"},
        {"rav_gateway", "10.20.0.1"},
        {"rav_hw_addr", "00:0a:35:00:12:21"},
        {"rav_vlan_id", "1"},
        {"rav_link_state", "on"},
        {"rav_ptp_state", "slave"},
        {"rav_dhcp1", "zeroconf"},
        {"rav_ip_addr1", "169.254.12.22"},
        {"rav_subnet1", "255.255.0.0"},
        {"rav_gateway1", ""},
        {"rav_hw_addr1", "00:0a:35:00:12:22"},
        {"rav_vlan_id1", "1"},
        {"rav_link_state1", "off"},
        {"rav_ptp_state1", "listening"},
        {"rav_stream_in0", "101/0/Studio A"},
        {"rav_status_in0", "receiving"},
        {"rav_stream_in1", "65535/0/None"},
        {"rav_status_in1", "receiving,receiving no sync"},
        {"rav_stream_in2", "65535/0/None"},
        {"rav_status_in2", "disabled"},
        {"rav_stream_in3", "65535/0/None"},
        {"rav_status_in3", "disabled"},
        {"rav_stream_in4", "65535/0/None"},
        {"rav_status_in4", "disabled"},
        {"rav_stream_in5", "65535/0/None"},
        {"rav_status_in5", "disabled"},
        {"rav_delay_min_in", "1"},
        {"rav_delay_max_in", "24000"},
        {"rav_delay_in", "0"},
        {"rav_name_ou", "Quorix Out"},
        {"rav_mode_ou", "on"},
        {"rav_netif_ou", "0"},
        {"rav_autoconf_ou", "off"},
        {"rav_mc_addr_ou", "239.20.0.21"},
        {"rav_mc_port_ou", "5004"},
        {"rav_autoconf_ou1", "on"},
        {"rav_mc_addr_ou1", "239.20.1.21"},
        {"rav_mc_port_ou1", "5004"},
        {"rav_ch_count_ou", "2"},
        {"rav_ptime_ou", "1"},
        {"rav_sync_state", "1"},
        {"rav_lock_state", "locked"},
        {"rav_hardware_rev", "B"},
        {"rav_firmware_ver", "4.2.0"},
        {"rav_firmware_rev", "1.8.12"},
        {"rav_rescueos_rev", "1.2.3"},
    };
    for (const auto &[key, value] : values)
        fake.setValue(QLatin1String(key), QLatin1String(value), kAudio);
    // The lists share their names with the module's current values, so they are answered here
    // rather than from the store. Stream items: stream id, channel count, name.
    QHash<QString, QStringList> lists = {
        {QStringLiteral("rav_sample_rate"),
         {QStringLiteral("44100"), QStringLiteral("48000"), QStringLiteral("96000")}},
        {QStringLiteral("rav_resolution"), {QStringLiteral("16"), QStringLiteral("24")}},
        {QStringLiteral("rav_stream_in"),
         {QStringLiteral("101/2/Studio A"),
          QStringLiteral("102/8/Studio B"),
          QStringLiteral("103/1/Newsroom")}},
    };
    // FAKE_QUORIX_LIST_ITEMS=N adds N streams the module sees, for a long choice popup.
    const int extra = std::clamp(qEnvironmentVariableIntValue("FAKE_QUORIX_LIST_ITEMS"), 0, 100000);
    for (int i = 0; i < extra; ++i)
        lists[QStringLiteral("rav_stream_in")]
            << QStringLiteral("%1/2/Stream %2").arg(1000 + i).arg(i + 1);
    demo.addHandler([lists](const FakeRequest &request) -> std::optional<QList<FakeReply>> {
        if (request.message.type != FakeMessage::Param || request.target() != kAudio
            || request.lists().isEmpty() || !request.gets().isEmpty())
            return std::nullopt;
        FakeMessage answer(FakeMessage::Param);
        for (const QString &name : request.lists()) {
            const auto found = lists.constFind(name);
            if (found == lists.constEnd())
                return std::nullopt;
            answer.set(name, FakeMessage::joinList(found.value()));
        }
        answer.set(QStringLiteral("return"), QStringLiteral("OK"));
        return QList<FakeReply>{FakeReply::reply(answer)};
    });

    demo.addHandler([&fake](const FakeRequest &request) -> std::optional<QList<FakeReply>> {
        if (request.message.type != FakeMessage::Param || request.target() != kAudio)
            return std::nullopt;
        QStringList refused;
        for (const auto &[key, value] : request.message.params) {
            const QString cause = refusal(key, value);
            if (!cause.isEmpty()) {
                fake.refuseKey(key, cause);
                refused << key;
            }
        }
        if (refused.isEmpty())
            return std::nullopt;
        QList<FakeReply> replies = fake.defaultReplies(request);
        for (const QString &key : refused)
            fake.acceptKey(key);
        return replies;
    });
}
