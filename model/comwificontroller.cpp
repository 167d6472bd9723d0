#include "model/comwificontroller.h"

#include "link/cmsg.h"
#include "link/protocolkeys.h"
#include "link/valueconversions.h"
#include "model/keytable.h"
#include "model/modelkeys.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <map>

namespace {

const std::array<std::string, 5> kAuthWords = {"none", "auto", "WEP", "WPA-PSK", "WPA2-PSK"};
const std::array<std::string, 4> kDataStateWords = {"", "failure", "processing", "active"};

// dBm to the 0-31 scale that mobile modems report: -113 dBm and below is 0, -51 and above 31.
constexpr std::int64_t kDbmOffset = 113;
constexpr int kMaxLevel = 31;

int dataStateFromText(const std::string &text)
{
    for (std::size_t i = TComWifiController::DataFailure; i < kDataStateWords.size(); ++i) {
        if (kDataStateWords[i] == text)
            return static_cast<int>(i);
    }
    return TComWifiController::DataUnknown;
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

const KeyTable &TComWifiController::keyTable() const
{
    using C = TComWifiController;
    // In the order readAll() asks for them; the signal and the address last.
    static const KeyTable table = {
        KeyRow::text(kWifiKeySsid, &C::m_ssid),
        KeyRow::text(kWifiKeySsidCustom, &C::m_customSsid),
        KeyRow::word(kWifiKeyAuthentication,
                     &C::m_authentication,
                     &C::authenticationText,
                     &C::authenticationFromText)
            .unknownNeverSent()
            .initially(AuthNone),
        KeyRow::word(kWifiKeyAuthenticationCustom,
                     &C::m_customAuthentication,
                     &C::authenticationText,
                     &C::authenticationFromText)
            .unknownNeverSent()
            .initially(AuthNone),
        KeyRow::text(kWifiKeyPassphrase, &C::m_passphrase).inLatin1(),
        KeyRow::flag(kWifiKeyDataConnection, &C::m_dataConnection),
        KeyRow::word(
            kWifiKeyDataConnectionState, &C::m_dataConnectionState, nullptr, &dataStateFromText)
            .onlyReported(),
        networkQualityKey(),
        ajbProfileKey(),
        KeyRow::applied(kWifiKeySignalQuality, &C::applySignalQuality).notInReadAll(),
        KeyRow::applied(kWifiKeySignalQualityDbm, &C::applySignalQuality).notInReadAll(),
        KeyRow::text(kWifiKeyLocalAddr, &C::m_localAddress).onlyReported().notInReadAll(),
    };
    return table;
}

bool TComWifiController::setSsid(const std::string &ssid, bool send)
{
    return store(m_ssid, ssid, send);
}

bool TComWifiController::setCustomSsid(const std::string &ssid, bool send)
{
    return store(m_customSsid, ssid, send);
}

bool TComWifiController::setAuthentication(int value, bool send)
{
    return store(m_authentication, value, send);
}

bool TComWifiController::setCustomAuthentication(int value, bool send)
{
    return store(m_customAuthentication, value, send);
}

bool TComWifiController::setPassphrase(const std::string &passphrase, bool send)
{
    return store(m_passphrase, passphrase, send);
}

bool TComWifiController::setDataConnection(bool on, bool send)
{
    return store(m_dataConnection, on, send);
}

bool TComWifiController::applySsid(const std::string &text)
{
    return applyField(&m_ssid, text);
}

bool TComWifiController::applyCustomSsid(const std::string &text)
{
    return applyField(&m_customSsid, text);
}

bool TComWifiController::applyAuthentication(const std::string &text)
{
    return applyField(&m_authentication, text);
}

bool TComWifiController::applyCustomAuthentication(const std::string &text)
{
    return applyField(&m_customAuthentication, text);
}

bool TComWifiController::applyPassphrase(const std::string &text)
{
    return applyField(&m_passphrase, text);
}

bool TComWifiController::applyDataConnection(const std::string &text)
{
    return applyField(&m_dataConnection, text);
}

bool TComWifiController::applyDataConnectionState(const std::string &text)
{
    return applyField(&m_dataConnectionState, text);
}

bool TComWifiController::applySignalQuality(const std::string &text)
{
    m_signalLevel = signalLevelFromText(text);
    m_signalDbm = signalDbmFromText(text);
    return true;
}

bool TComWifiController::applyLocalAddress(const std::string &text)
{
    return applyField(&m_localAddress, text);
}

bool TComWifiController::refreshSsid()
{
    return refreshField(&m_ssid);
}

bool TComWifiController::refreshCustomSsid()
{
    return refreshField(&m_customSsid);
}

bool TComWifiController::refreshAuthentication()
{
    return refreshField(&m_authentication);
}

bool TComWifiController::refreshCustomAuthentication()
{
    return refreshField(&m_customAuthentication);
}

bool TComWifiController::refreshPassphrase()
{
    return refreshField(&m_passphrase);
}

bool TComWifiController::refreshDataConnection()
{
    return refreshField(&m_dataConnection);
}

bool TComWifiController::refreshDataConnectionState()
{
    return refreshField(&m_dataConnectionState);
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
    // The SSID list stays: it is what the device last saw, not a setting.
    resetKeys();
    m_signalLevel = 0;
    m_signalDbm = 0;
    clearKnown();
    TComNetworkController::reset();
}

bool TComWifiController::readAll()
{
    return read(keyTable().readAllKeys());
}

bool TComWifiController::read(const std::vector<std::string> &keys)
{
    return readKeys(keys);
}

bool TComWifiController::write(const std::vector<std::string> &keys)
{
    if (keys.empty())
        return false;
    const std::map<std::string, std::string> params = knownWrites(keys);
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
