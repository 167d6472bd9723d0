// TComDevice: the coding of the two coders (codec, codec and coordination modes, operation mode,
// AES67 reset, transmit codings) and the audio routing it gives, the coding events, the coding
// choices the device lists, and the coding options the settings menu reads and writes outside the
// coder records (relay transmission and the automatic bit-rate adaptation).

#include "model/comdevice.h"

#include "link/cmsg.h"
#include "link/protocolkeys.h"
#include "link/valueconversions.h"
#include "model/comaudioconnection.h"
#include "model/firmwareversion.h"
#include "model/modelkeys.h"

namespace {

constexpr int kTimeoutMs = TComRequest::DefaultTimeoutMs;

const std::string kOn = "on";
const std::string kOff = "off";
const std::string kEnabled = "enabled";
const std::string kDisabled = "disabled";
const std::string kStandard = "standard";
const std::string kExtended = "extended";
const std::string kCmodeNormal = "cmode_normal";
const std::string kCmodeDouble = "cmode_double";
const std::string kTypeIp = "ip";
const std::string kTypeIsdn = "isdn";

const std::string kKeyOperationMode = "operation_mode";
const std::string kKeyAudio = "audio";
const std::string kKeyDcodec = "dcodec";
const std::string kKeyRelay = "relay";

const std::string &autoBitRateKey(TComDevice::AutoBitRateKey key)
{
    static const std::string keys[] = {"abr_calls", "abr_profile", "abr_minbr", "abr_maxbr"};
    return keys[int(key) & 3];
}

} // namespace

// --- Coding ------------------------------------------------------------------------------------

bool TComDevice::setCodecMode(int mode, bool send)
{
    if (mode == m_codecMode)
        return true;
    if (send) {
        const bool isDouble = mode == 1;
        ksm::CMsg aoip(ksm::CMsg::Param);
        aoip.setParam(kKeyTarget, kTargetNetwork);
        aoip.setParam(kKeyNetwork, kDeviceKeyAoip);
        std::map<std::string, std::string> network{{kAoipKeyDoubleCodec, isDouble ? kOn : kOff}};
        if (isDouble)
            network[kAoipKeyAudioMode] = "SIP";
        if (!writeAll(aoip, network))
            return false;

        const std::string &word = isDouble ? kCmodeDouble : kCmodeNormal;
        std::map<std::string, std::string> audio{{"ip-" + kKeyCodecMode, word}};
        if (m_deviceOptions & OptionIsdnDoubleCodec)
            audio["isdn-" + kKeyCodecMode] = word;
        if (!writeAll(kTargetAudio, audio))
            return false;

        ksm::CMsg reinit(ksm::CMsg::Do);
        reinit.setParam(kKeyAction, kActionReinit);
        reinit.setParam(kKeyTarget, kTargetNetwork);
        reinit.setParam(kKeyNetwork, kDeviceKeyAoip);
        if (!m_request.execute(reinit, kTimeoutMs))
            return false;
    }
    m_codecMode = mode;
    emitState(CodecModeState);
    return true;
}

bool TComDevice::setCoordinationMode(int mode, bool send)
{
    if (mode == m_coordinationMode)
        return true;
    if (send) {
        if (!writeAll(kTargetAudio, {{kKeyCoordMode, mode == 1 ? kEnabled : kDisabled}}))
            return false;
    }
    m_coordinationMode = mode;
    emitState(CoordinationModeState);
    return true;
}

bool TComDevice::setOperationMode(int mode, bool send)
{
    if (mode == m_operationMode)
        return true;
    if (send) {
        const std::string &word = mode == 0 ? kStandard : kExtended;
        for (const std::string *part : {&kDeviceKeyDsp, &kDeviceKeyAic}) {
            ksm::CMsg audio(ksm::CMsg::Param);
            audio.setParam(kKeyTarget, kTargetAudio);
            audio.setParam(kKeyAudio, *part);
            if (!writeAll(audio, {{kKeyOperationMode, word}}))
                return false;
        }
        ksm::CMsg aoip(ksm::CMsg::Param);
        aoip.setParam(kKeyTarget, kTargetNetwork);
        aoip.setParam(kKeyNetwork, kDeviceKeyAoip);
        if (!writeAll(aoip, {{kKeyOperationMode, word}}))
            return false;

        ksm::CMsg reinit(ksm::CMsg::Do);
        reinit.setParam(kKeyAction, kActionReinit);
        reinit.setParam(kKeyTarget, kTargetNetwork);
        reinit.setParam(kKeyNetwork, kDeviceKeyAoip);
        if (!m_request.execute(reinit, kTimeoutMs))
            return false;
    }
    m_operationMode = mode;
    emitState(OperationModeState);
    return true;
}

bool TComDevice::setCodec(int coder, const std::string &codec, bool send)
{
    const TCodecConfig parsed = codecConfigFromString(codec);
    if (parsed.algorithm == -1)
        return true;
    TCodecConfig &stored = coder == 2 ? m_coder2 : m_coder1;
    if (parsed == stored)
        return true;
    if (send) {
        const std::string &key = coder == 2         ? kKeyDcodec2
                                 : m_codecMode == 1 ? kKeyDcodec1
                                                    : kKeyCodec;
        if (!writeAll(kTargetAudio, {{key, codec}}))
            return false;
    }
    stored = parsed;
    emitState(coder == 2 ? Coder2State : Coder1State);
    return true;
}

bool TComDevice::setAes67Reset(bool on, bool send)
{
    if (on == m_aes67Reset)
        return true;
    if (send) {
        if (!writeAll(kTargetAudio, {{kKeyAes67Reset, on ? kOn : kOff}}))
            return false;
    }
    m_aes67Reset = on;
    emitState(Aes67ResetState);
    return true;
}

void TComDevice::setDstreamMode(int value)
{
    if (value == m_dstreamMode)
        return;
    m_dstreamMode = value;
    emitState(DstreamModeState);
}

bool TComDevice::readCodecSettings()
{
    std::vector<std::string> keys{
        kKeyCodecMode, kKeyCoordMode, kKeyCodec, kKeyDcodec1, kKeyDcodec2};
    if (firmwareAtLeast(kFirmware2_0))
        keys.push_back(kKeyOperationMode);
    if (m_deviceOptions & OptionIpDoubleStream)
        keys.push_back(kKeyDstreamMode);
    std::map<std::string, std::string> values;
    if (!readAll(kTargetAudio, keys, values))
        return false;

    const auto present = [&values](const std::string &key) { return values.count(key) != 0; };
    const bool isDouble = present(kKeyCodecMode) && values[kKeyCodecMode] == kCmodeDouble;
    if (present(kKeyCoordMode))
        m_coordinationMode = values[kKeyCoordMode] == kEnabled ? 1 : 0;
    if (present(kKeyOperationMode))
        m_operationMode = values[kKeyOperationMode] != kStandard ? 1 : 0;
    if (present(kKeyDstreamMode))
        m_dstreamMode = values[kKeyDstreamMode] == kEnabled ? 1 : 0;
    m_coder1 = TCodecConfig();
    m_coder2 = TCodecConfig();
    if (!isDouble) {
        if (present(kKeyCodec))
            m_coder1 = codecConfigFromString(values[kKeyCodec]);
    } else {
        if (present(kKeyDcodec1))
            m_coder1 = codecConfigFromString(values[kKeyDcodec1]);
        if (present(kKeyDcodec2))
            m_coder2 = codecConfigFromString(values[kKeyDcodec2]);
    }
    return setCodecMode(isDouble ? 1 : 0, false);
}

bool TComDevice::readAes67Reset()
{
    if (!firmwareAtLeast(kFirmware1_13))
        return true;
    ksm::CMsg msg(ksm::CMsg::Param);
    msg.setParam(kKeyTarget, kTargetAudio);
    msg.addGet(kKeyAes67Reset);
    std::map<std::string, std::string> values;
    std::map<std::string, std::string> failed;
    // A device that cannot tell keeps the flag as it was; only a reply without the key fails.
    if (m_request.getParams(msg, values, failed, kTimeoutMs) != 1)
        return true;
    const auto it = values.find(kKeyAes67Reset);
    if (it == values.end())
        return false;
    m_aes67Reset = it->second == kOn;
    return true;
}

std::string TComDevice::txCodecKey(int coder, const std::string &transport) const
{
    std::string prefix;
    if (transport == kTypeIp)
        prefix = "ip-";
    else if (transport == kTypeIsdn && (m_deviceOptions & OptionIsdnDoubleCodec))
        prefix = "isdn-";
    else
        return {};
    return prefix + (coder == 2 ? kKeyDcodecTx2 : kKeyDcodecTx1);
}

bool TComDevice::readTxCodec(int coder, const std::string &transport, TCodecConfig &out)
{
    const std::string key = txCodecKey(coder, transport);
    if (key.empty())
        return false;
    std::map<std::string, std::string> values;
    if (!readAll(kTargetAudio, {key}, values))
        return false;
    out = codecConfigFromString(values[key]);
    return true;
}

bool TComDevice::writeTxCodec(int coder, const std::string &transport, const std::string &codec)
{
    const std::string key = txCodecKey(coder, transport);
    if (key.empty())
        return false;
    return writeAll(kTargetAudio, {{key, codec}});
}

int TComDevice::audioRouting() const
{
    if (!m_loaded)
        return RoutingMono;
    const int mode = m_coder1.channelMode;
    if (m_codecMode == 1)
        return mode == 1 || mode == 2 ? RoutingDoubleStereo : RoutingDouble;
    switch (mode) {
    case 2:
        return m_coordinationMode == 1 && isExtendedMode() ? RoutingCoordination : RoutingStereo;
    case 1:
        return m_coordinationMode == 1 ? RoutingCoordination : RoutingDualMono;
    case 0:
        return m_coordinationMode == 1 ? RoutingMonoCoordination : RoutingMono;
    default:
        return RoutingMono;
    }
}

int TComDevice::currentAudioRouting() const
{
    if (!m_loaded)
        return RoutingMono;
    const TComAudioConnection *call = audioConnection(1);
    if (!call || call->codecTx().algorithm == -1)
        return audioRouting();
    const int mode = call->codecTx().channelMode;
    const bool coordination = m_coordinationMode == 1;
    if (m_codecMode == 1) {
        if (mode == 1 || mode == 2)
            return RoutingDoubleStereo;
        if (mode == 0)
            return RoutingDouble;
        return audioRouting();
    }
    switch (mode) {
    case 2:
        return coordination ? RoutingCoordination : RoutingStereo;
    case 1:
        return coordination ? RoutingCoordination : RoutingDualMono;
    case 0:
        return coordination ? RoutingMonoCoordination : RoutingMono;
    default:
        return audioRouting();
    }
}

bool TComDevice::isDoubleCodecRouting() const
{
    const int routing = audioRouting();
    return routing == RoutingDouble || routing == RoutingDoubleStereo;
}

bool TComDevice::hasCoordinationLine() const
{
    const int routing = audioRouting();
    return routing == RoutingMonoCoordination || routing == RoutingCoordination;
}

// --- Coding events -----------------------------------------------------------------------------

void TComDevice::handleDefaultCodec(const ksm::CMsg &msg)
{
    const std::string &operation = msg.value(kKeyOperationMode);
    if (operation == kStandard)
        setOperationMode(0, false);
    else if (operation == kExtended)
        setOperationMode(1, false);

    const std::string &codecMode = msg.value(kKeyCodecMode);
    if (codecMode == kCmodeNormal) {
        if (msg.value(kKeyType) == kTypeIp) {
            const std::string &dstream = msg.value(kKeyDstreamMode);
            if (dstream == kDisabled)
                setDstreamMode(0);
            else if (dstream == kEnabled)
                setDstreamMode(1);
        }
        const std::string &coordination = msg.value(kKeyCoordMode);
        if (coordination == kDisabled)
            setCoordinationMode(0, false);
        else if (coordination == kEnabled)
            setCoordinationMode(1, false);
        setCodecMode(0, false);
        const std::string &codec = msg.value(kKeyCodec);
        if (!codec.empty())
            setCodec(1, codec, false);
    } else if (codecMode == kCmodeDouble) {
        setDstreamMode(0);
        setCoordinationMode(0, false);
        setCodecMode(1, false);
        const std::string &codec1 = msg.value(kKeyDcodec1);
        const std::string &codec2 = msg.value(kKeyDcodec2);
        if (!codec1.empty())
            setCodec(1, codec1, false);
        if (!codec2.empty())
            setCodec(2, codec2, false);
    }
}

void TComDevice::handleCodecChange(const ksm::CMsg &msg)
{
    if (msg.value(kKeyType) != kTypeIp)
        return;
    const std::string &codecMode = msg.value(kKeyCodecMode);
    if (codecMode == kCmodeNormal) {
        const std::string &dstream = msg.value(kKeyDstreamMode);
        if (dstream == kEnabled)
            setDstreamMode(1);
        else if (dstream == kDisabled)
            setDstreamMode(0);
    } else if (codecMode == kCmodeDouble) {
        setDstreamMode(0);
    }
}

// --- Coding choices ----------------------------------------------------------------------------

bool TComDevice::listCapability(ksm::CMsg &msg,
                                const std::string &listName,
                                int family,
                                std::vector<std::string> &items)
{
    if (family == EthernetFamily || family == MobileFamily || family == WifiFamily)
        msg.setParam(kKeyNetwork, kTypeIp);
    else if (family == IsdnFamily)
        msg.setParam(kKeyNetwork, kTypeIsdn);
    msg.addList(listName);
    return m_request.list(msg, items, kTimeoutMs);
}

namespace {

ksm::CMsg capabilityMessage(int codecMode)
{
    ksm::CMsg msg(ksm::CMsg::Param);
    msg.setParam(kKeyTarget, kTargetAudio);
    msg.setParam(kKeyCodecMode, codecMode == 1 ? "double_codec" : "single_codec");
    return msg;
}

} // namespace

bool TComDevice::listAlgorithms(int codecMode, std::vector<int> &out, int family)
{
    out.clear();
    ksm::CMsg msg = capabilityMessage(codecMode);
    std::vector<std::string> items;
    if (!listCapability(msg, kKeyAlg, family, items))
        return false;
    for (const std::string &item : items)
        out.push_back(codecFromString(item));
    return true;
}

bool TComDevice::listChannelModes(
    int codecMode, int algorithm, int coder, std::vector<int> &out, int family)
{
    out.clear();
    ksm::CMsg msg = capabilityMessage(codecMode);
    msg.setParam(kKeyAlg, codecToString(algorithm));
    if (isExtendedMode() && codecMode == 1)
        msg.setParam(kKeyDcodec, coder == 2 ? kKeyDcodec2 : kKeyDcodec1);
    std::vector<std::string> items;
    if (!listCapability(msg, kKeyMode, family, items))
        return false;
    for (const std::string &item : items)
        out.push_back(channelModeFromString(item));
    return true;
}

bool TComDevice::listSampleRates(
    int codecMode, int algorithm, int channelMode, std::vector<int> &out, int family)
{
    out.clear();
    ksm::CMsg msg = capabilityMessage(codecMode);
    msg.setParam(kKeyAlg, codecToString(algorithm));
    msg.setParam(kKeyMode, channelModeToString(channelMode));
    std::vector<std::string> items;
    if (!listCapability(msg, kKeySamplerate, family, items))
        return false;
    for (const std::string &item : items)
        out.push_back(stringToInt(item));
    return true;
}

bool TComDevice::listBitRates(int codecMode,
                              int algorithm,
                              int channelMode,
                              int sampleRate,
                              std::vector<int> &out,
                              int family)
{
    out.clear();
    ksm::CMsg msg = capabilityMessage(codecMode);
    msg.setParam(kKeyAlg, codecToString(algorithm));
    msg.setParam(kKeyMode, channelModeToString(channelMode));
    msg.setParam(kKeySamplerate, longToString(sampleRate));
    std::vector<std::string> items;
    if (!listCapability(msg, kKeyBitrate, family, items))
        return false;
    for (const std::string &item : items)
        out.push_back(stringToInt(item));
    return true;
}

// --- Coding options ----------------------------------------------------------------------------

bool TComDevice::readRelay(bool &active)
{
    ksm::CMsg msg(ksm::CMsg::Param);
    msg.setParam(kKeyTarget, kTargetAudio);
    msg.addGet(kKeyRelay);
    std::map<std::string, std::string> values;
    std::map<std::string, std::string> failed;
    if (m_request.getParams(msg, values, failed, kTimeoutMs) < 1)
        return false;
    const auto found = values.find(kKeyRelay);
    if (found == values.end() || (found->second != kOn && found->second != kOff))
        return false;
    active = found->second == kOn;
    return true;
}

bool TComDevice::setRelay(bool on)
{
    return writeAll(kTargetAudio, {{kKeyRelay, on ? kOn : kOff}});
}

bool TComDevice::readAutoBitRate(AutoBitRate &out)
{
    ksm::CMsg msg(ksm::CMsg::Param);
    msg.setParam(kKeyTarget, kTargetAudio);
    for (const AutoBitRateKey key : {AbrCalls, AbrProfile, AbrMinBitRate, AbrMaxBitRate})
        msg.addGet(autoBitRateKey(key));
    std::map<std::string, std::string> values;
    std::map<std::string, std::string> failed;
    const int read = m_request.getParams(msg, values, failed, kTimeoutMs);
    out = AutoBitRate();
    const auto value = [&values, &out](AutoBitRateKey key) -> const std::string * {
        const auto found = values.find(autoBitRateKey(key));
        if (found == values.end())
            return nullptr;
        out.sent.insert(key);
        return &found->second;
    };
    if (const std::string *calls = value(AbrCalls))
        out.calls = *calls;
    if (const std::string *profile = value(AbrProfile))
        out.profile = *profile;
    if (const std::string *minimum = value(AbrMinBitRate))
        out.minBitRate = stringToInt(*minimum);
    if (const std::string *maximum = value(AbrMaxBitRate))
        out.maxBitRate = stringToInt(*maximum);
    return read >= 0;
}

bool TComDevice::listAutoBitRates(AutoBitRateKey key, std::vector<int> &out)
{
    out.clear();
    if (key != AbrMinBitRate && key != AbrMaxBitRate)
        return false;
    ksm::CMsg msg(ksm::CMsg::Param);
    msg.setParam(kKeyTarget, kTargetAudio);
    msg.addList(autoBitRateKey(key));
    std::vector<std::string> items;
    if (!m_request.list(msg, items, kTimeoutMs))
        return false;
    for (const std::string &item : items)
        out.push_back(stringToInt(item));
    return true;
}

bool TComDevice::writeAutoBitRate(AutoBitRateKey key, const std::string &value)
{
    return writeAll(kTargetAudio, {{autoBitRateKey(key), value}});
}
