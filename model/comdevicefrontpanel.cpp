// TComDevice: the conversations of the front-panel window and its pages.

#include "model/comdevice.h"

#include "link/ccom.h"
#include "link/cmsg.h"
#include "link/protocolkeys.h"
#include "model/firmwareversion.h"
#include "model/modelkeys.h"

namespace {

constexpr int kTimeoutMs = TComRequest::DefaultTimeoutMs;

const std::string kOn = "on";
const std::string kQuorix = "vantel";

const std::string kKeyDevice = "device";
const std::string kKeyVersion = "version";
const std::string kKeyBuildDate = "builddate";

// The web program's settings record, which holds the tab name.
const std::string kKeyControllerId = "controller_id";
const std::string kWebController = "web";
const std::string kKeyTabName = "tabname";

struct RemoteNumberKey
{
    const char *key;
    int link;
    int kind;
};
constexpr RemoteNumberKey kRemoteNumberKeys[] = {
    {"remote_aoip1", 1, TComNetworkIds::TransportIp},
    {"remote_aoip2", 2, TComNetworkIds::TransportIp},
    {"remote_isdn1", 1, TComNetworkIds::TransportIsdn},
    {"remote_isdn2", 2, TComNetworkIds::TransportIsdn},
    {"remote_voice", 2, TComNetworkIds::TransportVoice},
};

// Relay inputs, then outputs, 1 and 2.
constexpr const char *kRelayInputKeys[] = {"relay1_in", "relay2_in"};
constexpr const char *kRelayOutputKeys[] = {"relay1_out", "relay2_out"};

const std::string kKeyRecStatus = "rec_status";

const std::string kKeyPort = "port";
const std::string kKeyPeriod = "period";
const std::string kActionRequest = "request";
const std::string kCommEvents = "comm_events";

const std::string kKeyAutoRedial1 = "auto_redial_link1";
const std::string kKeyAutoRedial2 = "auto_redial_link2";
const std::string kAddressHistory = "addr-history";
const std::string kPhoneHistory = "phone-addr-history";

constexpr int kSoftkeyCount = 7;
constexpr int kLabelCount = 2;

bool isPanelKey(const std::string &key)
{
    const auto numbered = [&key](const std::string &prefix, int count) {
        if (key.size() != prefix.size() + 1 || key.compare(0, prefix.size(), prefix) != 0)
            return false;
        const char digit = key.back();
        return digit >= '1' && digit < char('1' + count);
    };
    return numbered(kPanelKeySoftkey, kSoftkeyCount) || numbered(kPanelKeyInfoLabel, kLabelCount)
           || numbered(kPanelKeyContactLabel, kLabelCount);
}

} // namespace

bool TComDevice::Identity::isQuorix() const
{
    return device == kQuorix;
}

bool TComDevice::readIdentity(Identity &identity)
{
    std::map<std::string, std::string> values;
    if (!readAll(kTargetGeneral, {kKeyDevice, kKeyVersion, kKeyBuildDate}, values)) {
        m_lastReadFailure = readFailureOf(m_request.lastCallResult());
        return false;
    }
    m_lastReadFailure = ReadFailure::None;
    identity.device = values[kKeyDevice];
    identity.version = values[kKeyVersion];
    identity.buildDate = values[kKeyBuildDate];
    return true;
}

bool TComDevice::readTabName(std::string &name)
{
    ksm::CCom *client = com();
    if (!client)
        return false;
    ksm::CMsg msg(ksm::CMsg::Param);
    msg.setParam(kKeyTarget, kTargetDb);
    msg.setParam(kKeyCat, client->category());
    msg.setParam(kKeyType, client->controllerId());
    msg.setParam(kKeyControllerId, kWebController);
    msg.addGet(kKeyTabName);
    std::map<std::string, std::string> values;
    std::map<std::string, std::string> failed;
    m_request.getParams(msg, values, failed, kTimeoutMs);
    const auto found = values.find(kKeyTabName);
    if (found == values.end())
        return false;
    name = found->second;
    return true;
}

bool TComDevice::readPanelRecord(PanelRecord &record)
{
    if (!com())
        return false;
    m_request.subscribe(kEventRemoteNumbers);

    const bool withRelays = firmwareAtLeast(kFirmware1_10);
    ksm::CMsg msg(ksm::CMsg::Param);
    msg.setParam(kKeyTarget, kTargetUi);
    msg.setParam(kTargetUi, kPanelKeyVnFrontpanel);
    for (const RemoteNumberKey &entry : kRemoteNumberKeys)
        msg.addGet(entry.key);
    if (withRelays) {
        for (const char *key : kRelayInputKeys)
            msg.addGet(key);
        for (const char *key : kRelayOutputKeys)
            msg.addGet(key);
    }
    std::map<std::string, std::string> values;
    std::map<std::string, std::string> failed;
    const int read = m_request.getParams(msg, values, failed, kTimeoutMs);

    record.numbers.clear();
    for (const RemoteNumberKey &entry : kRemoteNumberKeys) {
        const auto found = values.find(entry.key);
        if (found != values.end())
            record.numbers.push_back({entry.link, entry.kind, found->second});
    }
    for (size_t relay = 0; relay < 2; ++relay) {
        const auto input = values.find(kRelayInputKeys[relay]);
        record.relayInputs[relay]
            = input == values.end() ? std::nullopt : std::optional(input->second == kOn);
        const auto output = values.find(kRelayOutputKeys[relay]);
        record.relayOutputs[relay]
            = output == values.end() ? std::nullopt : std::optional(output->second == kOn);
    }
    return read >= 0 && failed.empty();
}

std::vector<TComDevice::RemoteNumber> TComDevice::remoteNumbers(const ksm::CMsg &info)
{
    std::vector<RemoteNumber> numbers;
    for (const RemoteNumberKey &entry : kRemoteNumberKeys) {
        if (const std::string *value = info.param(entry.key, false))
            numbers.push_back({entry.link, entry.kind, *value});
    }
    return numbers;
}

bool TComDevice::storeRemoteNumber(int link, const std::string &number, int kind)
{
    ksm::CCom *client = com();
    if (!client)
        return false;
    const int wanted = link == 2 ? 2 : 1;
    const RemoteNumberKey *key = nullptr;
    for (const RemoteNumberKey &entry : kRemoteNumberKeys) {
        // The voice number belongs to link 2 whichever link asks.
        if (entry.kind == kind && (entry.link == wanted || kind == TransportVoice))
            key = &entry;
    }
    if (!key)
        return false;
    ksm::CMsg info(ksm::CMsg::Info);
    info.setParam(kKeyInfoType, kEventRemoteNumbers);
    info.setParam(key->key, number);
    return client->sendMsg(info) == 0;
}

bool TComDevice::readRecorderPlaying(bool &playing)
{
    ksm::CMsg msg(ksm::CMsg::Param);
    msg.setParam(kKeyTarget, kTargetAudio);
    msg.addGet(kKeyRecStatus);
    std::map<std::string, std::string> values;
    std::map<std::string, std::string> failed;
    m_request.getParams(msg, values, failed, kTimeoutMs);
    const auto found = values.find(kKeyRecStatus);
    if (found == values.end())
        return false;
    playing = found->second == kRecorderPlay || found->second == kRecorderPlayPaused;
    return true;
}

bool TComDevice::subscribeAudioLevels(int periodMs)
{
    ksm::CCom *client = com();
    if (!client)
        return false;
    ksm::CMsg msg(ksm::CMsg::Do);
    msg.setParam(kKeyAction, kActionSubscribe);
    msg.setParam(kKeyEventType, kEventAudioLevels);
    msg.setParam(kKeyPort, std::to_string(client->datagramPort()));
    msg.setParam(kKeyPeriod, std::to_string(periodMs));
    return m_request.execute(msg, kTimeoutMs);
}

bool TComDevice::requestCommEvents()
{
    ksm::CMsg msg(ksm::CMsg::Do);
    msg.setParam(kKeyAction, kActionRequest);
    msg.setParam(kKeyEventType, kCommEvents);
    return m_request.execute(msg, kTimeoutMs);
}

bool TComDevice::readAutoRedial(bool &link1, bool &link2)
{
    ksm::CMsg msg(ksm::CMsg::Param);
    msg.setParam(kKeyTarget, kTargetNetwork);
    msg.addGet(kKeyAutoRedial1);
    msg.addGet(kKeyAutoRedial2);
    std::map<std::string, std::string> values;
    std::map<std::string, std::string> failed;
    const int read = m_request.getParams(msg, values, failed, kTimeoutMs);
    const auto isOn = [&values](const std::string &key) {
        const auto found = values.find(key);
        return found != values.end() && found->second == kOn;
    };
    link1 = isOn(kKeyAutoRedial1);
    link2 = isOn(kKeyAutoRedial2);
    return read == 2;
}

bool TComDevice::setAutoRedial(int link, bool on)
{
    return writeAll(kTargetNetwork,
                    {{link == 2 ? kKeyAutoRedial2 : kKeyAutoRedial1, on ? kOn : "off"}});
}

bool TComDevice::readAddressHistory(bool phoneNumbers, std::vector<std::string> &entries)
{
    ksm::CMsg msg(ksm::CMsg::Param);
    msg.setParam(kKeyTarget, kTargetDb);
    msg.addList(phoneNumbers ? kPhoneHistory : kAddressHistory);
    return m_request.list(msg, entries, kTimeoutMs);
}

bool TComDevice::readPanelKeys(std::map<std::string, std::string> &values)
{
    if (!com())
        return false;
    m_request.subscribe(kEventConfigChangeset);
    std::vector<std::string> keys;
    for (int number = 1; number <= kLabelCount; ++number)
        keys.push_back(kPanelKeyInfoLabel + std::to_string(number));
    for (int number = 1; number <= kLabelCount; ++number)
        keys.push_back(kPanelKeyContactLabel + std::to_string(number));
    for (int number = 1; number <= kSoftkeyCount; ++number)
        keys.push_back(kPanelKeySoftkey + std::to_string(number));
    std::map<std::string, std::string> read;
    if (!readAll(kTargetGeneral, keys, read))
        return false;
    values.insert(read.begin(), read.end());
    return true;
}

bool TComDevice::writePanelKey(const std::string &key, const std::string &value)
{
    return isPanelKey(key) && writePanelKeyReported(key, value).holds({{key, value}});
}

WriteReport TComDevice::writePanelKeyReported(const std::string &key, const std::string &value)
{
    if (!isPanelKey(key)) {
        WriteReport report;
        report.kept.insert(key);
        return report;
    }
    ksm::CMsg address(ksm::CMsg::Param);
    address.setParam(kKeyTarget, kTargetGeneral);
    return m_request.writeParams(address, {{key, value}}, TComRequest::writeTimeoutMs());
}

bool TComDevice::displayMessage(const std::string &text)
{
    ksm::CMsg msg(ksm::CMsg::Do);
    msg.setParam(kKeyAction, kActionDisplay);
    msg.setParam(kKeyMessage, text);
    return m_request.execute(msg, kTimeoutMs);
}

ksm::CMsg TComDevice::coreAudioChangeset()
{
    ksm::CMsg core(ksm::CMsg::Info);
    core.setParam(kKeyInfoType, kEventAudioChangeset);
    core.setParam(kKeyInfoSource, kSourceCore);
    return core;
}
