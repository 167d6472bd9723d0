#include "model/comethernetcontroller.h"

#include "link/cmsg.h"
#include "link/protocolkeys.h"
#include "model/firmwareversion.h"
#include "model/modelkeys.h"
#include "model/wordtable.h"

#include <array>
#include <map>

namespace {

const std::array<std::string, 4> kModeWords = {"dhcp", "manual", "pppoe", "bgan"};

const std::array<std::string, 9> kLinkModeWords = {"autonegotiation",
                                                   "10000baseT-FD",
                                                   "2500baseT-FD",
                                                   "1000baseT-FD",
                                                   "1000baseT-HD",
                                                   "100baseT-FD",
                                                   "100baseT-HD",
                                                   "10baseT-FD",
                                                   "10baseT-HD"};

const std::string kCablePlugged = "plugged";

} // namespace

TComEthernetController::TComEthernetController(ksm::CCom *com)
    : TComNetworkController(com, EthernetController)
{}

TComEthernetController::~TComEthernetController() = default;

const std::string &TComEthernetController::modeText(int mode)
{
    return wordAt(kModeWords, mode);
}

int TComEthernetController::modeFromText(const std::string &text)
{
    return wordIndex(kModeWords, text);
}

const std::string &TComEthernetController::linkModeText(int linkMode)
{
    return wordAt(kLinkModeWords, linkMode);
}

int TComEthernetController::linkModeFromText(const std::string &text)
{
    return wordIndex(kLinkModeWords, text);
}

bool TComEthernetController::setText(std::string &field,
                                     const std::string &key,
                                     const std::string &value,
                                     bool send,
                                     bool sendEmpty,
                                     int param)
{
    if (value == field) {
        markKnown(key);
        return true;
    }
    // Addresses are the device's own business while it gets them by DHCP, PPPoE or BGAN.
    const bool sendable = m_mode == ModeManual && (sendEmpty || !value.empty());
    if (send && sendable && !writeNetworkParam(key, value, true))
        return false;
    field = value;
    markKnown(key);
    Q_EMIT controllerParamChanged(this, param);
    return true;
}

bool TComEthernetController::setNumber(
    int &field, const std::string &key, int value, const std::string &word, bool send, int param)
{
    if (value == field) {
        markKnown(key);
        return true;
    }
    if (send && value != -1 && !writeNetworkParam(key, word, true))
        return false;
    field = value;
    markKnown(key);
    Q_EMIT controllerParamChanged(this, param);
    return true;
}

bool TComEthernetController::setMode(int mode, bool send)
{
    return setNumber(m_mode, kEthernetKeyMode, mode, modeText(mode), send, ParamMode);
}

bool TComEthernetController::setLocalAddr(const std::string &addr, bool send)
{
    return setText(m_localAddr, kEthernetKeyLocalAddr, addr, send, false, ParamLocalAddr);
}

bool TComEthernetController::setSubnet(const std::string &subnet, bool send)
{
    return setText(m_subnet, kEthernetKeySubnet, subnet, send, false, ParamSubnet);
}

bool TComEthernetController::setGateway(const std::string &gateway, bool send)
{
    return setText(m_gateway, kEthernetKeyGateway, gateway, send, true, ParamGateway);
}

bool TComEthernetController::setDns1(const std::string &dns, bool send)
{
    return setText(m_dns1, kEthernetKeyDns1, dns, send, true, ParamDns1);
}

bool TComEthernetController::setDns2(const std::string &dns, bool send)
{
    return setText(m_dns2, kEthernetKeyDns2, dns, send, true, ParamDns2);
}

bool TComEthernetController::setLinkMode(int linkMode, bool send)
{
    return setNumber(
        m_linkMode, kEthernetKeyLinkMode, linkMode, linkModeText(linkMode), send, ParamLinkMode);
}

bool TComEthernetController::setNetworkQuality(int quality, bool send)
{
    return setNumber(m_networkQuality,
                     kNetworkKeyNetworkQuality,
                     quality,
                     networkQualityText(quality),
                     send,
                     ParamNetworkQuality);
}

bool TComEthernetController::setAjbProfile(int profile, bool send)
{
    return setNumber(m_ajbProfile,
                     kNetworkKeyAjbProfile,
                     profile,
                     ajbProfileText(profile),
                     send,
                     ParamAjbProfile);
}

bool TComEthernetController::applyLinkModeNeg(const std::string &text)
{
    const int value = linkModeFromText(text);
    if (value != m_linkModeNeg) {
        m_linkModeNeg = value;
        Q_EMIT controllerParamChanged(this, ParamLinkModeNeg);
    }
    return true;
}

bool TComEthernetController::setHwAddr(const std::string &addr)
{
    if (addr != m_hwAddr) {
        m_hwAddr = addr;
        Q_EMIT controllerParamChanged(this, ParamHwAddr);
    }
    return true;
}

bool TComEthernetController::applyCable(const std::string &text)
{
    const bool plugged = text == kCablePlugged;
    if (plugged != m_cable) {
        m_cable = plugged;
        Q_EMIT controllerParamChanged(this, ParamCable);
    }
    return true;
}

bool TComEthernetController::applyMode(const std::string &text)
{
    setMode(modeFromText(text), false);
    return true;
}

bool TComEthernetController::applyLinkMode(const std::string &text)
{
    setLinkMode(linkModeFromText(text), false);
    return true;
}

bool TComEthernetController::applyNetworkQuality(const std::string &text)
{
    setNetworkQuality(networkQualityFromText(text), false);
    return true;
}

bool TComEthernetController::applyAjbProfile(const std::string &text)
{
    setAjbProfile(ajbProfileFromText(text), false);
    return true;
}

void TComEthernetController::reset()
{
    const bool wasBlocked = blockSignals(true);
    setLocalAddr(std::string(), false);
    setSubnet(std::string(), false);
    setGateway(std::string(), false);
    setDns1(std::string(), false);
    setDns2(std::string(), false);
    setHwAddr(std::string());
    setMode(-1, false);
    setLinkMode(-1, false);
    m_linkModeNeg = -1;
    m_cable = false;
    setNetworkQuality(-1, false);
    setAjbProfile(-1, false);
    clearKnown();
    blockSignals(wasBlocked);
    TComNetworkController::reset();
}

bool TComEthernetController::readAll()
{
    std::vector<std::string> keys = {kEthernetKeyCable,
                                     kEthernetKeyMode,
                                     kEthernetKeyLocalAddr,
                                     kEthernetKeySubnet,
                                     kEthernetKeyGateway,
                                     kEthernetKeyDns1,
                                     kEthernetKeyDns2,
                                     kEthernetKeyLinkMode,
                                     kEthernetKeyLinkModeNeg,
                                     kEthernetKeyHwAddr,
                                     kNetworkKeyNetworkQuality};
    if (firmwareAtLeast(kFirmware1_12))
        keys.push_back(kNetworkKeyAjbProfile);
    return read(keys);
}

bool TComEthernetController::read(const std::vector<std::string> &keys)
{
    if (keys.empty())
        return false;
    std::map<std::string, std::string> values;
    std::map<std::string, std::string> failed;
    if (readNetworkParams(keys, values, failed, true) <= 0)
        return false;

    bool result = true;
    for (const auto &[key, value] : values) {
        if (key == kEthernetKeyCable)
            result = applyCable(value) && result;
        else if (key == kEthernetKeyMode)
            result = applyMode(value) && result;
        else if (key == kEthernetKeyLinkMode)
            result = applyLinkMode(value) && result;
        else if (key == kEthernetKeyLinkModeNeg)
            result = applyLinkModeNeg(value) && result;
        else if (key == kNetworkKeyNetworkQuality)
            result = applyNetworkQuality(value) && result;
        else if (key == kNetworkKeyAjbProfile)
            result = applyAjbProfile(value) && result;
        else if (key == kEthernetKeyLocalAddr)
            result = setLocalAddr(value, false) && result;
        else if (key == kEthernetKeySubnet)
            result = setSubnet(value, false) && result;
        else if (key == kEthernetKeyGateway)
            result = setGateway(value, false) && result;
        else if (key == kEthernetKeyDns1)
            result = setDns1(value, false) && result;
        else if (key == kEthernetKeyDns2)
            result = setDns2(value, false) && result;
        else if (key == kEthernetKeyHwAddr)
            result = setHwAddr(value) && result;
    }
    return result;
}

bool TComEthernetController::write(const std::vector<std::string> &keys)
{
    if (keys.empty())
        return false;
    std::map<std::string, std::string> params;
    const auto addNumber
        = [this, &params](const std::string &key, int value, const std::string &word) {
              if (value != -1 && isKnown(key))
                  params[key] = word;
          };
    const auto addText = [this, &params](const std::string &key, const std::string &value) {
        if (isKnown(key))
            params[key] = value;
    };
    for (const std::string &key : keys) {
        if (key == kEthernetKeyMode)
            addNumber(key, m_mode, modeText(m_mode));
        else if (key == kEthernetKeyLinkMode)
            addNumber(key, m_linkMode, linkModeText(m_linkMode));
        else if (key == kNetworkKeyNetworkQuality)
            addNumber(key, m_networkQuality, networkQualityText(m_networkQuality));
        else if (key == kNetworkKeyAjbProfile)
            addNumber(key, m_ajbProfile, ajbProfileText(m_ajbProfile));
        else if (key == kEthernetKeyLocalAddr)
            addText(key, m_localAddr);
        else if (key == kEthernetKeySubnet)
            addText(key, m_subnet);
        else if (key == kEthernetKeyGateway)
            addText(key, m_gateway);
        else if (key == kEthernetKeyDns1)
            addText(key, m_dns1);
        else if (key == kEthernetKeyDns2)
            addText(key, m_dns2);
    }
    if (params.empty())
        return false;
    return writeNetworkParams(params, true);
}

bool TComEthernetController::handleInfo(const ksm::CMsg &)
{
    return false;
}

bool TComEthernetController::handleEvent(const ksm::CMsg &msg)
{
    const std::string &eventType = *msg.param(kKeyEventType, true);
    const std::string &network = *msg.param(kKeyNetwork, true);
    if (eventType.empty() || network.empty() || network != networkId())
        return false;

    const std::string &mode = *msg.param(kEthernetKeyMode, true);
    if (eventType == kEventDefaultNetwork) {
        if (!mode.empty())
            applyMode(mode);
        return true;
    }
    if (eventType == kEventConfigInfo) {
        if (!mode.empty())
            applyMode(mode);
        // The event carries the whole address set: a key it leaves out is no longer set.
        setLocalAddr(*msg.param(kEthernetKeyLocalAddr, true), false);
        setSubnet(*msg.param(kEthernetKeySubnet, true), false);
        setGateway(*msg.param(kEthernetKeyGateway, true), false);
        setDns1(*msg.param(kEthernetKeyDns1, true), false);
        setDns2(*msg.param(kEthernetKeyDns2, true), false);
        const std::string &cable = *msg.param(kEthernetKeyCable, true);
        if (!cable.empty())
            applyCable(cable);
        Q_EMIT controllerParamChanged(this, ParamConfigInfo);
        return true;
    }
    return false;
}

bool TComEthernetController::setNetwork(const std::string &networkId, int flags, bool makeDefault)
{
    if (!TComNetworkController::setNetwork(networkId, flags, makeDefault))
        return false;
    setState(StateReady);
    return true;
}
