#include "model/comisdncontroller.h"

#include "link/cmsg.h"
#include "link/protocolkeys.h"
#include "model/modelkeys.h"
#include "model/wordtable.h"

#include <array>
#include <map>

namespace {

const std::array<std::string, 4> kProtocolWords
    = {"isdn_udss1", "isdn_ni2", "isdn_ntt", "isdn_ni1"};

const std::string kOn = "on";
const std::string kOff = "off";

} // namespace

TComIsdnController::TComIsdnController(ksm::CCom *com)
    : TComNetworkController(com, IsdnController)
{}

TComIsdnController::~TComIsdnController() = default;

const std::string &TComIsdnController::protocolText(int protocol)
{
    return wordAt(kProtocolWords, protocol, ProtocolUdss1);
}

int TComIsdnController::protocolFromText(const std::string &text)
{
    return wordIndex(kProtocolWords, text, ProtocolUdss1);
}

bool TComIsdnController::setText(
    std::string &field, const std::string &key, const std::string &value, bool send, int param)
{
    if (value == field) {
        markKnown(key);
        return true;
    }
    if (send && !writeNetworkParam(key, value, true))
        return false;
    field = value;
    markKnown(key);
    Q_EMIT controllerParamChanged(this, param);
    return true;
}

bool TComIsdnController::set5as(bool on, bool send)
{
    if (on == m_fiveAs) {
        markKnown(kIsdnKey5as);
        return true;
    }
    if (send && !write5as(on))
        return false;
    m_fiveAs = on;
    markKnown(kIsdnKey5as);
    Q_EMIT controllerParamChanged(this, Param5as);
    return true;
}

bool TComIsdnController::setProtocol(int protocol, bool send)
{
    if (protocol == m_protocol) {
        markKnown(kIsdnKeyProtocol);
        return true;
    }
    if (send && protocol != -1
        && !writeNetworkParam(kIsdnKeyProtocol, protocolText(protocol), true))
        return false;
    m_protocol = protocol;
    markKnown(kIsdnKeyProtocol);
    Q_EMIT controllerParamChanged(this, ParamProtocol);
    return true;
}

bool TComIsdnController::setSpid(const std::string &spid, bool send)
{
    return setText(m_spid, kIsdnKeySpid, spid, send, ParamSpid);
}

bool TComIsdnController::setLocalNumber1(const std::string &number, bool send)
{
    return setText(m_localNumber1, kIsdnKeyAddrSb0Ch0, number, send, ParamLocalNumber1);
}

bool TComIsdnController::setLocalNumber2(const std::string &number, bool send)
{
    return setText(m_localNumber2, kIsdnKeyAddrSb0Ch1, number, send, ParamLocalNumber2);
}

bool TComIsdnController::setSubAddress1(const std::string &address, bool send)
{
    return setText(m_subAddress1, kIsdnKeySubaddrSb0Ch0, address, send, ParamSubAddress1);
}

bool TComIsdnController::setSubAddress2(const std::string &address, bool send)
{
    return setText(m_subAddress2, kIsdnKeySubaddrSb0Ch1, address, send, ParamSubAddress2);
}

bool TComIsdnController::write5as(bool on)
{
    ksm::CMsg msg(ksm::CMsg::Param);
    msg.setParam(kKeyTarget, kTargetAudio);
    msg.setParam(kIsdnKey5as, on ? kOn : kOff);
    return m_request.setParams(msg, TComRequest::DefaultTimeoutMs)
           == static_cast<int>(msg.params().size());
}

bool TComIsdnController::refresh5as()
{
    ksm::CMsg msg(ksm::CMsg::Param);
    msg.setParam(kKeyTarget, kTargetAudio);
    msg.addGet(kIsdnKey5as);
    std::string value;
    if (!m_request.getParam(msg, value, TComRequest::DefaultTimeoutMs))
        return false;
    return apply5as(value);
}

bool TComIsdnController::applyProtocol(const std::string &text)
{
    setProtocol(protocolFromText(text), false);
    return true;
}

bool TComIsdnController::apply5as(const std::string &text)
{
    set5as(text == kOn, false);
    return true;
}

void TComIsdnController::reset()
{
    const bool wasBlocked = blockSignals(true);
    set5as(false, false);
    setProtocol(ProtocolUdss1, false);
    setSpid(std::string(), false);
    setLocalNumber1(std::string(), false);
    setLocalNumber2(std::string(), false);
    setSubAddress1(std::string(), false);
    setSubAddress2(std::string(), false);
    clearKnown();
    blockSignals(wasBlocked);
    TComNetworkController::reset();
}

bool TComIsdnController::readAll()
{
    return read({kIsdnKey5as,
                 kIsdnKeyProtocol,
                 kIsdnKeySpid,
                 kIsdnKeyAddrSb0Ch0,
                 kIsdnKeyAddrSb0Ch1,
                 kIsdnKeySubaddrSb0Ch0,
                 kIsdnKeySubaddrSb0Ch1});
}

bool TComIsdnController::read(const std::vector<std::string> &keys)
{
    if (keys.empty())
        return false;
    bool with5as = false;
    std::vector<std::string> networkKeys;
    for (const std::string &key : keys) {
        if (key == kIsdnKey5as)
            with5as = true;
        else
            networkKeys.push_back(key);
    }

    std::map<std::string, std::string> values;
    std::map<std::string, std::string> failed;
    bool got = false;
    if (!networkKeys.empty())
        got = readNetworkParams(networkKeys, values, failed, true) > 0;
    bool result = (with5as && refresh5as()) || got;

    for (const auto &[key, value] : values) {
        if (key == kIsdnKeyProtocol)
            result = applyProtocol(value) && result;
        else if (key == kIsdnKeySpid)
            result = setSpid(value, false) && result;
        else if (key == kIsdnKeyAddrSb0Ch0)
            result = setLocalNumber1(value, false) && result;
        else if (key == kIsdnKeyAddrSb0Ch1)
            result = setLocalNumber2(value, false) && result;
        else if (key == kIsdnKeySubaddrSb0Ch0)
            result = setSubAddress1(value, false) && result;
        else if (key == kIsdnKeySubaddrSb0Ch1)
            result = setSubAddress2(value, false) && result;
    }
    return result;
}

bool TComIsdnController::write(const std::vector<std::string> &keys)
{
    if (keys.empty())
        return false;
    bool with5as = false;
    std::map<std::string, std::string> params;
    const auto addText = [this, &params](const std::string &key, const std::string &value) {
        if (isKnown(key))
            params[key] = value;
    };
    for (const std::string &key : keys) {
        if (key == kIsdnKey5as)
            with5as = isKnown(key);
        else if (key == kIsdnKeyProtocol && m_protocol != -1)
            addText(key, protocolText(m_protocol));
        else if (key == kIsdnKeySpid)
            addText(key, m_spid);
        else if (key == kIsdnKeyAddrSb0Ch0)
            addText(key, m_localNumber1);
        else if (key == kIsdnKeyAddrSb0Ch1)
            addText(key, m_localNumber2);
        else if (key == kIsdnKeySubaddrSb0Ch0)
            addText(key, m_subAddress1);
        else if (key == kIsdnKeySubaddrSb0Ch1)
            addText(key, m_subAddress2);
    }

    if (params.empty())
        return with5as && write5as(m_fiveAs);
    const bool networkDone = writeNetworkParams(params, true);
    if (!with5as)
        return networkDone;
    // The switch is a separate setting of the audio target; a refused network part must not
    // keep it from being written.
    const bool fiveAsDone = write5as(m_fiveAs);
    return networkDone && fiveAsDone;
}

bool TComIsdnController::handleInfo(const ksm::CMsg &)
{
    return false;
}

bool TComIsdnController::handleEvent(const ksm::CMsg &)
{
    return false;
}

bool TComIsdnController::setNetwork(const std::string &networkId, int flags, bool makeDefault)
{
    if (!TComNetworkController::setNetwork(networkId, flags, makeDefault))
        return false;
    setState(StateReady);
    return true;
}
