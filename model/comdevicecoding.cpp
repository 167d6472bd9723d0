// TComDevice: the coding options the settings menu reads and writes outside the coder records
// (relay transmission and the automatic bit-rate adaptation).

#include "model/comdevice.h"

#include "link/cmsg.h"
#include "link/protocolkeys.h"
#include "link/valueconversions.h"

namespace {

constexpr int kTimeoutMs = TComRequest::DefaultTimeoutMs;

const std::string kOn = "on";
const std::string kOff = "off";
const std::string kKeyRelay = "relay";

const std::string &autoBitRateKey(TComDevice::AutoBitRateKey key)
{
    static const std::string keys[] = {"abr_calls", "abr_profile", "abr_minbr", "abr_maxbr"};
    return keys[int(key) & 3];
}

} // namespace

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
    ksm::CMsg msg(ksm::CMsg::Param);
    msg.setParam(kKeyTarget, kTargetAudio);
    msg.setParam(kKeyRelay, on ? kOn : kOff);
    return writeAll(msg);
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
    const auto value = [&values](AutoBitRateKey key) -> const std::string * {
        const auto found = values.find(autoBitRateKey(key));
        return found == values.end() ? nullptr : &found->second;
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
    ksm::CMsg msg(ksm::CMsg::Param);
    msg.setParam(kKeyTarget, kTargetAudio);
    msg.setParam(autoBitRateKey(key), value);
    return writeAll(msg);
}
