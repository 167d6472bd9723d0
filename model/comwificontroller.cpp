#include "model/comwificontroller.h"

#include "link/cmsg.h"
#include "link/protocolkeys.h"
#include "link/valueconversions.h"
#include "model/firmwareversion.h"
#include "model/modelkeys.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <map>

namespace {

const std::string kOn = "on";
const std::string kOff = "off";

const std::array<std::string, 5> kAuthWords = {"none", "auto", "WEP", "WPA-PSK", "WPA2-PSK"};
const std::array<std::string, 4> kDataStateWords = {"", "failure", "processing", "active"};

// dBm to the 0-31 scale that mobile modems report: -113 dBm and below is 0, -51 and above 31.
constexpr std::int64_t kDbmOffset = 113;
constexpr int kMaxLevel = 31;

const std::string &onOff(bool on)
{
    return on ? kOn : kOff;
}

} // namespace

TComWifiController::TComWifiController(ksm::CCom *com)
    : TComNetworkController(com, WifiController)
{}

TComWifiController::~TComWifiController() = default;

const std::string &TComWifiController::authenticationText(int value)
{
    if (value < AuthAuto || value > AuthWpa2Psk)
        return kAuthWords[AuthNone];
    return kAuthWords[static_cast<std::size_t>(value)];
}

int TComWifiController::authenticationFromText(const std::string &text)
{
    for (std::size_t i = AuthAuto; i < kAuthWords.size(); ++i) {
        if (kAuthWords[i] == text)
            return static_cast<int>(i);
    }
    return AuthNone;
}

int TComWifiController::signalDbmFromText(const std::string &text)
{
    if (text.empty())
        return 0;
    // The device may add the unit ("-60 dBm"); the number is the same either way.
    const std::int64_t dbm = stringToLong(text.substr(0, text.find_first_of(" dBm")));
    return static_cast<int>(std::clamp<std::int64_t>(
        dbm, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

int TComWifiController::signalLevelFromText(const std::string &text)
{
    const std::int64_t dbm = signalDbmFromText(text);
    if (dbm == 0)
        return 0;
    const std::int64_t level = (dbm + kDbmOffset) / 2;
    return static_cast<int>(std::clamp<std::int64_t>(level, 0, kMaxLevel));
}

bool TComWifiController::setSsid(const std::string &ssid, bool send)
{
    return storeValue(m_ssid, kWifiKeySsid, ssid, send, true, ssid);
}

bool TComWifiController::setCustomSsid(const std::string &ssid, bool send)
{
    return storeValue(m_customSsid, kWifiKeySsidCustom, ssid, send, true, ssid);
}

bool TComWifiController::setAuthentication(int value, bool send)
{
    return storeValue(m_authentication,
                      kWifiKeyAuthentication,
                      value,
                      send,
                      value != -1,
                      authenticationText(value));
}

bool TComWifiController::setCustomAuthentication(int value, bool send)
{
    return storeValue(m_customAuthentication,
                      kWifiKeyAuthenticationCustom,
                      value,
                      send,
                      value != -1,
                      authenticationText(value));
}

bool TComWifiController::setPassphrase(const std::string &passphrase, bool send)
{
    return storeValue(
        m_passphrase, kWifiKeyPassphrase, passphrase, send, true, latin1ToUtf8(passphrase));
}

bool TComWifiController::setDataConnection(bool on, bool send)
{
    return storeValue(m_dataConnection, kWifiKeyDataConnection, on, send, true, onOff(on));
}

bool TComWifiController::setNetworkQuality(int quality, bool send)
{
    return storeValue(m_networkQuality,
                      kNetworkKeyNetworkQuality,
                      quality,
                      send,
                      quality != -1,
                      networkQualityText(quality));
}

bool TComWifiController::setAjbProfile(int profile, bool send)
{
    return storeValue(
        m_ajbProfile, kNetworkKeyAjbProfile, profile, send, profile != -1, ajbProfileText(profile));
}

bool TComWifiController::applySsid(const std::string &text)
{
    setSsid(text, false);
    return true;
}

bool TComWifiController::applyCustomSsid(const std::string &text)
{
    setCustomSsid(text, false);
    return true;
}

bool TComWifiController::applyAuthentication(const std::string &text)
{
    setAuthentication(authenticationFromText(text), false);
    return true;
}

bool TComWifiController::applyCustomAuthentication(const std::string &text)
{
    setCustomAuthentication(authenticationFromText(text), false);
    return true;
}

bool TComWifiController::applyPassphrase(const std::string &text)
{
    setPassphrase(utf8ToLatin1(text), false);
    return true;
}

bool TComWifiController::applyDataConnection(const std::string &text)
{
    setDataConnection(text == kOn, false);
    return true;
}

bool TComWifiController::applyDataConnectionState(const std::string &text)
{
    m_dataConnectionState = DataUnknown;
    for (std::size_t i = DataFailure; i < kDataStateWords.size(); ++i) {
        if (kDataStateWords[i] == text)
            m_dataConnectionState = static_cast<int>(i);
    }
    return true;
}

bool TComWifiController::applyNetworkQuality(const std::string &text)
{
    setNetworkQuality(networkQualityFromText(text), false);
    return true;
}

bool TComWifiController::applyAjbProfile(const std::string &text)
{
    setAjbProfile(ajbProfileFromText(text), false);
    return true;
}

bool TComWifiController::applySignalQuality(const std::string &text)
{
    m_signalLevel = signalLevelFromText(text);
    m_signalDbm = signalDbmFromText(text);
    return true;
}

bool TComWifiController::applyLocalAddress(const std::string &text)
{
    m_localAddress = text;
    return true;
}

bool TComWifiController::refreshSsid()
{
    return refreshKey(kWifiKeySsid, &TComWifiController::applySsid);
}

bool TComWifiController::refreshCustomSsid()
{
    return refreshKey(kWifiKeySsidCustom, &TComWifiController::applyCustomSsid);
}

bool TComWifiController::refreshAuthentication()
{
    return refreshKey(kWifiKeyAuthentication, &TComWifiController::applyAuthentication);
}

bool TComWifiController::refreshCustomAuthentication()
{
    return refreshKey(kWifiKeyAuthenticationCustom, &TComWifiController::applyCustomAuthentication);
}

bool TComWifiController::refreshPassphrase()
{
    return refreshKey(kWifiKeyPassphrase, &TComWifiController::applyPassphrase);
}

bool TComWifiController::refreshDataConnection()
{
    return refreshKey(kWifiKeyDataConnection, &TComWifiController::applyDataConnection);
}

bool TComWifiController::refreshDataConnectionState()
{
    return refreshKey(kWifiKeyDataConnectionState, &TComWifiController::applyDataConnectionState);
}

bool TComWifiController::refreshNetworkQuality()
{
    return refreshKey(kNetworkKeyNetworkQuality, &TComWifiController::applyNetworkQuality);
}

bool TComWifiController::refreshAjbProfile()
{
    return refreshKey(kNetworkKeyAjbProfile, &TComWifiController::applyAjbProfile);
}

bool TComWifiController::refreshSsidList()
{
    std::vector<std::string> items;
    if (!listNetwork(kWifiKeySsid, items, true))
        return false;
    m_ssidList = std::move(items);
    return true;
}

void TComWifiController::reset()
{
    const bool wasBlocked = blockSignals(true);
    m_ssid.clear();
    m_customSsid.clear();
    m_localAddress.clear();
    m_passphrase.clear();
    m_authentication = AuthNone;
    m_customAuthentication = AuthNone;
    m_dataConnection = false;
    m_dataConnectionState = DataUnknown;
    m_signalLevel = 0;
    m_signalDbm = 0;
    m_networkQuality = -1;
    m_ajbProfile = -1;
    clearKnown();
    blockSignals(wasBlocked);
    TComNetworkController::reset();
}

bool TComWifiController::readAll()
{
    std::vector<std::string> keys = {kWifiKeySsid,
                                     kWifiKeySsidCustom,
                                     kWifiKeyAuthentication,
                                     kWifiKeyAuthenticationCustom,
                                     kWifiKeyPassphrase,
                                     kWifiKeyDataConnection,
                                     kWifiKeyDataConnectionState,
                                     kNetworkKeyNetworkQuality};
    if (firmwareAtLeast(kFirmware1_12))
        keys.push_back(kNetworkKeyAjbProfile);
    return read(keys);
}

bool TComWifiController::read(const std::vector<std::string> &keys)
{
    using Applier = bool (TComWifiController::*)(const std::string &);
    static const std::map<std::string, Applier> appliers = {
        {kWifiKeySsid, &TComWifiController::applySsid},
        {kWifiKeySsidCustom, &TComWifiController::applyCustomSsid},
        {kWifiKeyAuthentication, &TComWifiController::applyAuthentication},
        {kWifiKeyAuthenticationCustom, &TComWifiController::applyCustomAuthentication},
        {kWifiKeyPassphrase, &TComWifiController::applyPassphrase},
        {kWifiKeyDataConnection, &TComWifiController::applyDataConnection},
        {kWifiKeyDataConnectionState, &TComWifiController::applyDataConnectionState},
        {kNetworkKeyNetworkQuality, &TComWifiController::applyNetworkQuality},
        {kNetworkKeyAjbProfile, &TComWifiController::applyAjbProfile},
        {kWifiKeySignalQuality, &TComWifiController::applySignalQuality},
        {kWifiKeySignalQualityDbm, &TComWifiController::applySignalQuality},
        {kWifiKeyLocalAddr, &TComWifiController::applyLocalAddress},
    };
    std::map<std::string, std::string> failed;
    return readApplying(keys, appliers, failed);
}

bool TComWifiController::write(const std::vector<std::string> &keys)
{
    if (keys.empty())
        return false;
    std::map<std::string, std::string> params;
    const auto add = [this, &params](const std::string &key, const std::string &value) {
        if (isKnown(key))
            params[key] = value;
    };
    for (const std::string &key : keys) {
        if (key == kWifiKeySsid)
            add(key, m_ssid);
        else if (key == kWifiKeySsidCustom)
            add(key, m_customSsid);
        else if (key == kWifiKeyPassphrase)
            add(key, latin1ToUtf8(m_passphrase));
        else if (key == kWifiKeyAuthentication && m_authentication != -1)
            add(key, authenticationText(m_authentication));
        else if (key == kWifiKeyAuthenticationCustom && m_customAuthentication != -1)
            add(key, authenticationText(m_customAuthentication));
        else if (key == kWifiKeyDataConnection)
            add(key, onOff(m_dataConnection));
        else if (key == kNetworkKeyNetworkQuality && m_networkQuality != -1)
            add(key, networkQualityText(m_networkQuality));
        else if (key == kNetworkKeyAjbProfile && m_ajbProfile != -1)
            add(key, ajbProfileText(m_ajbProfile));
    }
    if (params.empty())
        return false;
    return writeNetworkParams(params, true);
}

bool TComWifiController::handleInfo(const ksm::CMsg &msg)
{
    const std::string &infoType = *msg.param(kKeyInfoType, true);
    const std::string &infoSource = *msg.param(kKeyInfoSource, true);
    if (infoType.empty() || infoSource.empty() || infoSource != networkId()
        || infoType != kEventNetworkInfo) {
        return false;
    }
    applySignalQuality(*msg.param(kWifiKeySignalQualityDbm, true));
    return true;
}

bool TComWifiController::handleEvent(const ksm::CMsg &msg)
{
    const std::string &eventType = *msg.param(kKeyEventType, true);
    const std::string &network = *msg.param(kKeyNetwork, true);
    if (eventType.empty() || network.empty() || network != networkId())
        return false;
    return eventType == kEventDefaultNetwork || eventType == kEventConfigInfo;
}

bool TComWifiController::setNetwork(const std::string &networkId, int flags, bool makeDefault)
{
    if (!TComNetworkController::setNetwork(networkId, flags, makeDefault))
        return false;
    setState(StateReady);
    return true;
}
