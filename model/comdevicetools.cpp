// TComDevice: the Tools conversations (access-level passwords, sound ID, GPIO, relays, auto
// redial and time server).

#include "model/comdevice.h"
#include "model/readfailures.h"

#include "link/ccom.h"
#include "link/cmsg.h"
#include "link/protocolkeys.h"
#include "model/modelkeys.h"

#include <set>
#include <vector>

namespace {

// Passwords travel through the settings record, which may be slow to answer.
constexpr int kSettingsRecordTimeoutMs = 10000;
constexpr int kTimeoutMs = TComRequest::DefaultTimeoutMs;

const std::string kTypeRecord = "record";
const std::string kKeyRecordControllerId = "controller_id";

bool isPasswordKey(const std::string &key)
{
    return key == kPasswordKeyAdministrator || key == kPasswordKeyExpert
           || key == kPasswordKeyOperator;
}

bool isNetworkToolsKey(const std::string &key)
{
    return key == kToolsKeyAutoRedial1 || key == kToolsKeyAutoRedial2
           || key == kToolsKeyAutoRedialAttempts || key == kToolsKeyAutoRedialTime;
}

bool isGeneralToolsKey(const std::string &key)
{
    return key == kToolsKeyInput1 || key == kToolsKeyInput2 || key == kToolsKeyRelay1
           || key == kToolsKeyRelay2 || key == kToolsKeyNtpAddr || key == kToolsKeyNtpAddrCustom;
}

} // namespace

bool TComDevice::readAccessPasswords(std::map<std::string, std::string> &values)
{
    ksm::CCom *client = com();
    if (!client) {
        m_lastReadFailure = ReadFailure::NotConnected;
        return false;
    }
    const std::vector<std::string> names{
        kPasswordKeyAdministrator, kPasswordKeyExpert, kPasswordKeyOperator};
    ksm::CCom::ParamMap read;
    const int result = client->getControllerParams(names, read, kSettingsRecordTimeoutMs);
    if (result != 0) {
        m_lastReadFailure = readFailureOf(result);
        countFailedRead(result);
        return false;
    }
    m_lastReadFailure = ReadFailure::None;
    for (const std::string &name : names) {
        const auto found = read.find(name);
        if (found != read.end())
            values[name] = found->second;
    }
    return true;
}

bool TComDevice::writeAccessPassword(const std::string &key, const std::string &enciphered)
{
    return isPasswordKey(key) && writeRecordParam(key, enciphered);
}

bool TComDevice::writeAutoLogin(bool on)
{
    return writeRecordParam(kPasswordKeyAutoLogin, on ? "on" : "off");
}

bool TComDevice::writeRecordParam(const std::string &key, const std::string &value)
{
    ksm::CCom *client = com();
    if (!client || client->category().empty() || client->controllerId().empty())
        return false;
    // The record's address, as the client's own record writes give it.
    ksm::CMsg address(ksm::CMsg::Param);
    address.setParam(kKeyTarget, kTargetDb);
    address.setParam(kKeyCat, client->category());
    address.setParam(kKeyType, client->controllerId());
    address.setParam(kKeyRecordControllerId, client->controllerId());
    // The record is slow to answer: its writes wait twice as long as others.
    return m_request.writeParams(address, {{key, value}}, 2 * TComRequest::writeTimeoutMs())
        .holds({{key, value}});
}

bool TComDevice::soundIdFileExists()
{
    ksm::CMsg msg(ksm::CMsg::Do);
    msg.setParam(kKeyTarget, kTargetGeneral);
    msg.setParam(kKeyAction, kActionOpen);
    msg.setParam(kKeyType, kTypeRecord);
    msg.setParam(kKeyName, kSoundIdFile);
    return m_request.execute(msg, kTimeoutMs);
}

void TComDevice::readToolsParams(std::map<std::string, std::string> &values)
{
    ksm::CMsg network(ksm::CMsg::Param);
    network.setParam(kKeyTarget, kTargetNetwork);
    for (const std::string *key : {&kToolsKeyAutoRedial1,
                                   &kToolsKeyAutoRedial2,
                                   &kToolsKeyAutoRedialAttempts,
                                   &kToolsKeyAutoRedialTime}) {
        network.addGet(*key);
    }
    std::map<std::string, std::string> failed;
    m_request.getParams(network, values, failed, kTimeoutMs);

    ksm::CMsg general(ksm::CMsg::Param);
    general.setParam(kKeyTarget, kTargetGeneral);
    for (const std::string *key : {&kToolsKeyInput1,
                                   &kToolsKeyInput2,
                                   &kToolsKeyRelay1,
                                   &kToolsKeyRelay2,
                                   &kToolsKeyNtpAddr,
                                   &kToolsKeyNtpAddrCustom}) {
        general.addGet(*key);
    }
    m_request.getParams(general, values, failed, kTimeoutMs);
}

bool TComDevice::listGpioChoices(const std::string &key, std::vector<std::string> &words)
{
    words.clear();
    if (key != kToolsKeyInput1 && key != kToolsKeyInput2 && key != kToolsKeyRelay1
        && key != kToolsKeyRelay2) {
        return false;
    }
    ksm::CMsg msg(ksm::CMsg::Param);
    msg.setParam(kKeyTarget, kTargetGeneral);
    msg.addList(key);
    std::vector<std::string> read;
    if (!m_request.list(msg, read, kTimeoutMs))
        return false;
    words = std::move(read);
    return true;
}

WriteReport TComDevice::writeToolsParams(const std::map<std::string, std::string> &values)
{
    std::map<std::string, std::string> general;
    std::map<std::string, std::string> network;
    WriteReport report;
    for (const auto &[key, value] : values) {
        if (isGeneralToolsKey(key))
            general.insert({key, value});
        else if (isNetworkToolsKey(key))
            network.insert({key, value});
        else
            report.kept.insert(key);
    }
    // Both are sent even when the first is refused: each carries settings of its own.
    for (const auto &[target, keys] :
         {std::pair{&kTargetGeneral, &general}, std::pair{&kTargetNetwork, &network}}) {
        ksm::CMsg address(ksm::CMsg::Param);
        address.setParam(kKeyTarget, *target);
        report.merge(m_request.writeParams(address, *keys, TComRequest::writeTimeoutMs()));
    }
    return report;
}
