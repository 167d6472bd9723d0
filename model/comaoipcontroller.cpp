#include "model/comaoipcontroller.h"

#include "link/cmsg.h"
#include "link/protocolkeys.h"
#include "link/valueconversions.h"
#include "model/firmwareversion.h"
#include "model/keytable.h"
#include "model/modelkeys.h"
#include "model/wordtable.h"

#include <algorithm>
#include <array>
#include <map>

namespace {

const std::array<std::string, 3> kAudioModeWords = {"SIP", "RTP", "MC"};
const std::array<std::string, 4> kStreamPatternWords = {"1-1", "1-2", "2-3", "1-3"};
const std::array<std::string, 3> kReplicationWords = {"0", "1", "2"};
// Index + 1 is the NAT type; anything else is unknown (0).
const std::array<std::string, 8> kNatWords = {"failure",
                                              "nat-open",
                                              "nat-blocked",
                                              "nat-symmetric-udp",
                                              "nat-full-cone",
                                              "nat-symmetric",
                                              "nat-restricted",
                                              "nat-port-restricted"};

std::string decimal(int value)
{
    return longToString(value);
}

int keepAliveTargetFromText(const std::string &text)
{
    return stringToInt(text) == 1 ? 1 : 0;
}

bool isStatusKey(const std::string &key)
{
    return key == kAoipKeySipState || key == kAoipKeySipState2 || key == kAoipKeyStunNatType
           || key == kAoipKeyPublicAddr || key == kAoipKeyAoipVersion;
}

} // namespace

TComAoIPController::TComAoIPController(ksm::CCom *com)
    : TComNetworkController(com, AoipController)
{}

TComAoIPController::~TComAoIPController() = default;

const KeyTable &TComAoIPController::keyRows()
{
    using C = TComAoIPController;
    // In the order readAll() asks for them; each firmware gate builds on the one before, as
    // later keys came with later firmware.
    static const KeyTable table = {
        KeyRow::word(
            kAoipKeyAudioMode, &C::m_audioMode, &C::audioModeToText, &C::audioModeFromText),
        KeyRow::flag(kAoipKeyDoubleCodec, &C::m_doubleCodec),
        KeyRow::flag(kAoipKeyDoubleStream, &C::m_doubleStream),
        KeyRow::flag(kAoipKeySipMode, &C::m_sipMode),
        KeyRow::flag(kAoipKeySipAccCalls, &C::m_sipAccCalls),
        KeyRow::text(kAoipKeySipProxy, &C::m_sipProxy).inLatin1(),
        KeyRow::number(kAoipKeySipKaInterval, &C::m_sipKaInterval, 1, 15),
        KeyRow::number(kAoipKeySipReRegTo, &C::m_sipReRegTo, 1, 300),
        KeyRow::number(kAoipKeySipUdpPort, &C::m_sipUdpPort, 1, 5060),
        KeyRow::number(kAoipKeyRtpStartPort, &C::m_rtpStartPort, 1, 5004),
        KeyRow::flag(kAoipKeyDrtpAccCalls, &C::m_drtpAccCalls),
        KeyRow::flag(kAoipKeyDrtpSendOnly, &C::m_drtpSendOnly),
        KeyRow::number(kAoipKeyDrtpRtpPort, &C::m_drtpRtpPort, 1, 9000),
        KeyRow::number(kAoipKeyDrtpRelTimeout, &C::m_drtpRelTimeout, 1, 30),
        KeyRow::number(kAoipKeyRtpTos, &C::m_rtpTos, 0, 0),
        KeyRow::flag(kAoipKeyStunMode, &C::m_stunMode),
        KeyRow::text(kAoipKeyStunServer, &C::m_stunServer).inLatin1(),
        KeyRow::applied(kAoipKeyStunNatType, &C::setStunNatTypeFromText),
        KeyRow::applied(kAoipKeyPublicAddr, &C::setPublicAddrFromText),
        KeyRow::word(kAoipKeyMpEcmBfShift,
                     &C::m_mpEcmBfShift,
                     &C::mpEcmBfShiftToText,
                     &C::mpEcmBfShiftFromText),
        KeyRow::flag(kAoipKeySipUseUport2, &C::m_sipUseUport2).readFrom(kFirmware1_7_2),
        KeyRow::flag(kAoipKeySipChkCalls, &C::m_sipChkCalls).readFrom(kFirmware1_8_2),
        KeyRow::number(kAoipKeySipDefAccount, &C::m_sipDefAccount, 1, 1).readFrom(kFirmware1_8_2),
        KeyRow::word(kAoipKeyStreamPattern,
                     &C::m_streamPattern,
                     &C::streamPatternToText,
                     &C::streamPatternFromText)
            .readFrom(kFirmware1_10),
        KeyRow::flag(kAoipKeySipSessTimers, &C::m_sipSessTimers).readFrom(kFirmware1_15),
        KeyRow::word(kAoipKeySipKaTarget, &C::m_sipKaTarget, &decimal, &keepAliveTargetFromText)
            .readFrom(kFirmware1_17),
        // Set by the device's "aoip_config" events, never read as a whole.
        KeyRow::flag(kAoipKeyJitterab, &C::m_jitterab).notInReadAll(),
    };
    return table;
}

const KeyTable &TComAoIPController::keyTable() const
{
    return keyRows();
}

// --- wire words ---

std::string TComAoIPController::audioModeToText(int value)
{
    return wordAt(kAudioModeWords, value);
}

std::string TComAoIPController::streamPatternToText(int value)
{
    return wordAt(kStreamPatternWords, value);
}

std::string TComAoIPController::mpEcmBfShiftToText(int value)
{
    return wordAt(kReplicationWords, value);
}

int TComAoIPController::audioModeFromText(const std::string &text)
{
    return wordIndex(kAudioModeWords, text, 0);
}

int TComAoIPController::streamPatternFromText(const std::string &text)
{
    return wordIndex(kStreamPatternWords, text, 0);
}

int TComAoIPController::mpEcmBfShiftFromText(const std::string &text)
{
    return wordIndex(kReplicationWords, text, 0);
}

int TComAoIPController::natTypeFromText(const std::string &text)
{
    return wordIndex(kNatWords, text) + 1;
}

// --- setters ---

#define TALLYDESK_AOIP_SETTING(Name, Type, Field)                                                  \
    bool TComAoIPController::set##Name(Type value, bool send)                                      \
    {                                                                                              \
        return store(Field, value, send);                                                          \
    }                                                                                              \
    bool TComAoIPController::set##Name##FromText(const std::string &text)                          \
    {                                                                                              \
        return applyField(&Field, text);                                                           \
    }                                                                                              \
    bool TComAoIPController::read##Name()                                                          \
    {                                                                                              \
        return refreshField(&Field);                                                               \
    }

TALLYDESK_AOIP_SETTING(AudioMode, int, m_audioMode)
TALLYDESK_AOIP_SETTING(StreamPattern, int, m_streamPattern)
TALLYDESK_AOIP_SETTING(DoubleCodec, bool, m_doubleCodec)
TALLYDESK_AOIP_SETTING(DoubleStream, bool, m_doubleStream)
TALLYDESK_AOIP_SETTING(Jitterab, bool, m_jitterab)
TALLYDESK_AOIP_SETTING(SipMode, bool, m_sipMode)
TALLYDESK_AOIP_SETTING(SipAccCalls, bool, m_sipAccCalls)
TALLYDESK_AOIP_SETTING(SipChkCalls, bool, m_sipChkCalls)
TALLYDESK_AOIP_SETTING(SipUseUport2, bool, m_sipUseUport2)
TALLYDESK_AOIP_SETTING(SipProxy, const std::string &, m_sipProxy)
TALLYDESK_AOIP_SETTING(SipDefAccount, int, m_sipDefAccount)
TALLYDESK_AOIP_SETTING(SipKaInterval, int, m_sipKaInterval)
TALLYDESK_AOIP_SETTING(SipKaTarget, int, m_sipKaTarget)
TALLYDESK_AOIP_SETTING(SipReRegTo, int, m_sipReRegTo)
TALLYDESK_AOIP_SETTING(SipUdpPort, int, m_sipUdpPort)
TALLYDESK_AOIP_SETTING(RtpStartPort, int, m_rtpStartPort)
TALLYDESK_AOIP_SETTING(SipSessTimers, bool, m_sipSessTimers)
TALLYDESK_AOIP_SETTING(DrtpAccCalls, bool, m_drtpAccCalls)
TALLYDESK_AOIP_SETTING(DrtpSendOnly, bool, m_drtpSendOnly)
TALLYDESK_AOIP_SETTING(DrtpRtpPort, int, m_drtpRtpPort)
TALLYDESK_AOIP_SETTING(DrtpRelTimeout, int, m_drtpRelTimeout)
TALLYDESK_AOIP_SETTING(StunMode, bool, m_stunMode)
TALLYDESK_AOIP_SETTING(StunServer, const std::string &, m_stunServer)
TALLYDESK_AOIP_SETTING(RtpTos, int, m_rtpTos)
TALLYDESK_AOIP_SETTING(MpEcmBfShift, int, m_mpEcmBfShift)

#undef TALLYDESK_AOIP_SETTING

bool TComAoIPController::setStunNatTypeFromText(const std::string &text)
{
    m_stunNatType = natTypeFromText(text);
    return true;
}

bool TComAoIPController::setPublicAddrFromText(const std::string &text)
{
    m_publicAddr = text;
    return true;
}

bool TComAoIPController::readStunNatType()
{
    std::string value;
    if (!readNetworkParam(kAoipKeyStunNatType, value, true))
        return false;
    return setStunNatTypeFromText(value);
}

bool TComAoIPController::readPublicAddr()
{
    std::string value;
    if (!readNetworkParam(kAoipKeyPublicAddr, value, true))
        return false;
    return setPublicAddrFromText(value);
}

bool TComAoIPController::applyValue(const std::string &key, const std::string &text)
{
    if (const KeyRow *row = keyRows().find(key))
        return applyRow(*row, text);
    // The accounts' keys are known as the table's are, so that a page tells an account's
    // setting the unit did not send from one it sent empty.
    SipAccount::Field field;
    for (SipAccount *account : {&m_account1, &m_account2}) {
        if (account->fieldOfKey(key, field)) {
            markKnown(key);
            return account->setFromText(field, text);
        }
    }
    return true;
}

bool TComAoIPController::wireText(const std::string &key, std::string &out, bool &refused)
{
    refused = false;
    if (const KeyRow *row = keyRows().find(key)) {
        if (!row->writable(*this))
            return false;
        out = row->currentWire(*this);
        return true;
    }
    SipAccount::Field field;
    for (const SipAccount *account : {&m_account1, &m_account2}) {
        if (account->fieldOfKey(key, field)) {
            refused = !account->wireText(field, out);
            return !refused;
        }
    }
    return false;
}

// --- controller operations ---

std::vector<std::string> TComAoIPController::readAllKeys()
{
    std::vector<std::string> list = keyRows().readAllKeys();
    for (const std::string *key : {&kAoipKeySipState,
                                   &kAoipKeySipRegistrar,
                                   &kAoipKeySipUser,
                                   &kAoipKeySipDisplayName,
                                   &kAoipKeySipAuthUser,
                                   &kAoipKeySipPassword,
                                   &kAoipKeySipState2,
                                   &kAoipKeySipUser2,
                                   &kAoipKeySipDisplayName2,
                                   &kAoipKeySipAuthUser2,
                                   &kAoipKeySipPassword2})
        list.push_back(*key);
    if (firmwareAtLeast(kFirmware1_8_2))
        list.push_back(kAoipKeySipRegistrar2);
    return list;
}

bool TComAoIPController::readAll()
{
    return read(readAllKeys());
}

bool TComAoIPController::read(const std::vector<std::string> &keys)
{
    if (keys.empty())
        return false;

    // Status keys are device-wide, settings belong to the network; a key listed twice is
    // asked for once.
    std::vector<std::string> statusKeys;
    std::vector<std::string> settingKeys;
    for (const std::string &key : keys) {
        std::vector<std::string> &group = isStatusKey(key) ? statusKeys : settingKeys;
        if (std::find(group.begin(), group.end(), key) == group.end())
            group.push_back(key);
    }

    bool result = true;
    std::map<std::string, std::string> values;
    std::map<std::string, std::string> statusValues;
    std::map<std::string, std::string> failed;
    int got = -1;
    if (!settingKeys.empty() && (got = readNetworkParams(settingKeys, values, failed, true)) < 1)
        result = false;
    else if (!statusKeys.empty())
        result = readNetworkParams(statusKeys, statusValues, failed, false) > 0;
    if (got >= 0)
        forgetUnanswered(settingKeys, values);

    for (const auto &entry : values)
        result = applyValue(entry.first, entry.second) && result;

    for (const auto &entry : statusValues) {
        const std::string &key = entry.first;
        if (key == kAoipKeySipState)
            result = m_account1.setRegistrationState(entry.second) && result;
        else if (key == kAoipKeySipState2)
            result = m_account2.setRegistrationState(entry.second) && result;
        else if (const KeyRow *row = keyRows().find(key))
            result = applyRow(*row, entry.second) && result;
        else if (key == kAoipKeyAoipVersion)
            m_aoipVersion = entry.second;
    }
    return result;
}

bool TComAoIPController::write(const std::vector<std::string> &keys)
{
    if (keys.empty())
        return false;
    std::map<std::string, std::string> params;
    for (const std::string &key : keys) {
        std::string text;
        bool refused = false;
        if (wireText(key, text, refused))
            params[key] = text;
        else if (refused)
            return false;
    }
    if (params.empty())
        return false;
    return writeNetworkParams(params, true);
}

bool TComAoIPController::handleInfo(const ksm::CMsg &msg)
{
    const std::string &type = *msg.param(kKeyInfoType, true);
    if (type == kEventSipRegistration) {
        m_account1.setRegistration(*msg.param(kAoipKeySipState, true),
                                   *msg.param(kAoipKeySipStateCause, true));
        return true;
    }
    if (type == kEventSipRegistration2) {
        m_account2.setRegistration(*msg.param(kAoipKeySipState2, true),
                                   *msg.param(kAoipKeySipStateCause2, true));
        return true;
    }
    return false;
}

bool TComAoIPController::handleEvent(const ksm::CMsg &)
{
    return false;
}

bool TComAoIPController::setNetwork(const std::string &networkId, int flags, bool makeDefault)
{
    if (!TComNetworkController::setNetwork(networkId, flags, makeDefault))
        return false;
    setState(StateReady);
    m_request.subscribe(kEventSipRegistration);
    m_request.subscribe(kEventSipRegistration2);
    return true;
}

void TComAoIPController::reset()
{
    if (state() != StateUnknown) {
        m_request.unsubscribe(kEventSipRegistration);
        m_request.unsubscribe(kEventSipRegistration2);
    }
    const bool wasBlocked = blockSignals(true);
    m_stunNatType = NatUnknown;
    m_publicAddr.clear();
    m_account1.reset();
    m_account2.reset();
    resetKeys();
    clearKnown();
    // The device's own reset value, unlike the 5004 of a fresh or empty reading.
    m_rtpStartPort = 5006;
    blockSignals(wasBlocked);
    TComNetworkController::reset();
}
