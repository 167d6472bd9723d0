#include "model/comgeneralsettings.h"

#include "link/cmsg.h"
#include "link/protocolkeys.h"
#include "model/comrequest.h"

const std::string kGeneralKeyLogLevel = "log_level";
const std::string kGeneralKeyLogAddr = "log_addr";
const std::string kGeneralKeyRemoteAccess = "remote_access";
const std::string kGeneralKeyRemoteAccessNetwork = "remote_access_network";
const std::string kGeneralKeyRemoteAccessServer = "remote_access_server";
const std::string kGeneralKeyRemoteAccessPwd = "remote_access_pwd";
const std::string kGeneralKeySerialNo = "serialno";
const std::string kGeneralKeyCodecId = "codec_id";
const std::string kGeneralKeyVersion = "version";
const std::string kGeneralKeyBuildDate = "builddate";
const std::string kGeneralKeyRemoteAccessStatus = "remote_access_status";

namespace {

const std::string kActionChangeSyslog = "change_syslog";
const std::string kKeyLevel = "level";

} // namespace

TComGeneralSettings::TComGeneralSettings(ksm::CCom *com)
    : m_com(com)
{}

std::map<std::string, std::string> TComGeneralSettings::read(const std::vector<std::string> &keys,
                                                             bool *ok) const
{
    std::map<std::string, std::string> values;
    if (ok)
        *ok = keys.empty();
    if (keys.empty())
        return values;
    ksm::CMsg msg(ksm::CMsg::Param);
    msg.setParam(kKeyTarget, kTargetGeneral);
    for (const std::string &key : keys)
        msg.addGet(key);
    std::map<std::string, std::string> failed;
    TComRequest request(m_com);
    if (request.getParams(msg, values, failed, kTimeoutMs) < 0) {
        values.clear();
        return values;
    }
    if (ok)
        *ok = !values.empty() || !failed.empty();
    return values;
}

bool TComGeneralSettings::changeSyslog(const std::string &key, const std::string &value) const
{
    ksm::CMsg msg(ksm::CMsg::Do);
    msg.setParam(kKeyTarget, kTargetGeneral);
    msg.setParam(kKeyAction, kActionChangeSyslog);
    msg.setParam(key, value);
    TComRequest request(m_com);
    return request.setParams(msg, kTimeoutMs) == static_cast<int>(msg.params().size());
}

bool TComGeneralSettings::write(const std::map<std::string, std::string> &values) const
{
    ksm::CMsg address(ksm::CMsg::Param);
    address.setParam(kKeyTarget, kTargetGeneral);
    TComRequest request(m_com);
    return request.writeParams(address, values, TComRequest::writeTimeoutMs()).holds(values);
}

bool TComGeneralSettings::reset(const std::string &level, int timeoutMs) const
{
    ksm::CMsg msg(ksm::CMsg::Do);
    msg.setParam(kKeyAction, kActionReset);
    msg.setParam(kKeyLevel, level);
    TComRequest request(m_com);
    return request.execute(msg, timeoutMs);
}
