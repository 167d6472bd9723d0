#include "model/comaoipcontroller.h"

#include "link/cmsg.h"
#include "link/protocolkeys.h"
#include "link/valueconversions.h"
#include "model/firmwareversion.h"
#include "model/modelkeys.h"
#include "model/wordtable.h"

#include <algorithm>
#include <array>
#include <climits>
#include <map>

// One writable setting: its key, the field it feeds and how its value travels.
struct TComAoIPController::Setting
{
    enum Kind {
        Flag,   // "on" / "off"
        Number, // decimal; empty text gives emptyValue; values below minimum are ignored
        Word,   // toWire / fromWire
        Text,   // Latin-1 held, UTF-8 on the wire
    };

    const std::string *key = nullptr;
    Kind kind = Flag;
    bool TComAoIPController::*flag = nullptr;
    int TComAoIPController::*number = nullptr;
    std::string TComAoIPController::*text = nullptr;
    int minimum = INT_MIN;
    int emptyValue = 0;
    std::string (*toWire)(int) = nullptr;
    int (*fromWire)(const std::string &) = nullptr;
};

namespace {

const std::string kOn = "on";
const std::string kOff = "off";

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

const std::vector<TComAoIPController::Setting> &TComAoIPController::settings()
{
    using C = TComAoIPController;
    const auto flag = [](const std::string &key, bool C::*field) {
        Setting s;
        s.key = &key;
        s.kind = Setting::Flag;
        s.flag = field;
        return s;
    };
    const auto number = [](const std::string &key, int C::*field, int minimum, int emptyValue) {
        Setting s;
        s.key = &key;
        s.kind = Setting::Number;
        s.number = field;
        s.minimum = minimum;
        s.emptyValue = emptyValue;
        return s;
    };
    const auto word = [](const std::string &key,
                         int C::*field,
                         std::string (*toWire)(int),
                         int (*fromWire)(const std::string &)) {
        Setting s;
        s.key = &key;
        s.kind = Setting::Word;
        s.number = field;
        s.toWire = toWire;
        s.fromWire = fromWire;
        return s;
    };
    const auto text = [](const std::string &key, std::string C::*field) {
        Setting s;
        s.key = &key;
        s.kind = Setting::Text;
        s.text = field;
        return s;
    };

    static const std::vector<Setting> table = {
        word(kAoipKeyAudioMode, &C::m_audioMode, &C::audioModeToText, &C::audioModeFromText),
        word(kAoipKeyStreamPattern,
             &C::m_streamPattern,
             &C::streamPatternToText,
             &C::streamPatternFromText),
        flag(kAoipKeyDoubleCodec, &C::m_doubleCodec),
        flag(kAoipKeyDoubleStream, &C::m_doubleStream),
        flag(kAoipKeyJitterab, &C::m_jitterab),
        flag(kAoipKeySipMode, &C::m_sipMode),
        flag(kAoipKeySipAccCalls, &C::m_sipAccCalls),
        flag(kAoipKeySipChkCalls, &C::m_sipChkCalls),
        flag(kAoipKeySipUseUport2, &C::m_sipUseUport2),
        text(kAoipKeySipProxy, &C::m_sipProxy),
        number(kAoipKeySipDefAccount, &C::m_sipDefAccount, 1, 1),
        number(kAoipKeySipKaInterval, &C::m_sipKaInterval, 1, 15),
        word(kAoipKeySipKaTarget, &C::m_sipKaTarget, &decimal, &keepAliveTargetFromText),
        number(kAoipKeySipReRegTo, &C::m_sipReRegTo, 1, 300),
        number(kAoipKeySipUdpPort, &C::m_sipUdpPort, 1, 5060),
        number(kAoipKeyRtpStartPort, &C::m_rtpStartPort, 1, 5004),
        flag(kAoipKeySipSessTimers, &C::m_sipSessTimers),
        flag(kAoipKeyDrtpAccCalls, &C::m_drtpAccCalls),
        flag(kAoipKeyDrtpSendOnly, &C::m_drtpSendOnly),
        number(kAoipKeyDrtpRtpPort, &C::m_drtpRtpPort, 1, 9000),
        number(kAoipKeyDrtpRelTimeout, &C::m_drtpRelTimeout, 1, 30),
        number(kAoipKeyRtpTos, &C::m_rtpTos, 0, 0),
        flag(kAoipKeyStunMode, &C::m_stunMode),
        text(kAoipKeyStunServer, &C::m_stunServer),
        word(kAoipKeyMpEcmBfShift,
             &C::m_mpEcmBfShift,
             &C::mpEcmBfShiftToText,
             &C::mpEcmBfShiftFromText),
    };
    return table;
}

const TComAoIPController::Setting *TComAoIPController::findSetting(const std::string &key)
{
    for (const Setting &setting : settings()) {
        if (*setting.key == key)
            return &setting;
    }
    return nullptr;
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

bool TComAoIPController::setFlag(const Setting &setting, bool value, bool send)
{
    bool &field = this->*setting.flag;
    if (value == field)
        return true;
    if (send && !writeNetworkParam(*setting.key, value ? kOn : kOff, true))
        return false;
    field = value;
    return true;
}

bool TComAoIPController::setNumber(const Setting &setting, int value, bool send)
{
    int &field = this->*setting.number;
    if (value == field)
        return true;
    if (value < setting.minimum)
        return true;
    if (send) {
        const std::string wire
            = setting.kind == Setting::Word ? setting.toWire(value) : longToString(value);
        if (!writeNetworkParam(*setting.key, wire, true))
            return false;
    }
    field = value;
    return true;
}

bool TComAoIPController::setText(const Setting &setting, const std::string &value, bool send)
{
    std::string &field = this->*setting.text;
    if (value == field)
        return true;
    if (send && !writeNetworkParam(*setting.key, latin1ToUtf8(value), true))
        return false;
    field = value;
    return true;
}

bool TComAoIPController::applyText(const Setting &setting, const std::string &text)
{
    switch (setting.kind) {
    case Setting::Flag:
        this->*setting.flag = text == kOn;
        break;
    case Setting::Number:
        if (text.empty()) {
            this->*setting.number = setting.emptyValue;
        } else {
            const int value = stringToInt(text);
            if (value >= setting.minimum)
                this->*setting.number = value;
        }
        break;
    case Setting::Word:
        this->*setting.number = setting.fromWire(text);
        break;
    case Setting::Text:
        setText(setting, utf8ToLatin1(text), false);
        break;
    }
    return true;
}

#define TALLYDESK_AOIP_SETTING(Name, Type, Setter, Key)                                            \
    bool TComAoIPController::set##Name(Type value, bool send)                                      \
    {                                                                                              \
        return Setter(*findSetting(Key), value, send);                                             \
    }                                                                                              \
    bool TComAoIPController::set##Name##FromText(const std::string &text)                          \
    {                                                                                              \
        return applyText(*findSetting(Key), text);                                                 \
    }                                                                                              \
    bool TComAoIPController::read##Name()                                                          \
    {                                                                                              \
        return readSetting(Key);                                                                   \
    }

TALLYDESK_AOIP_SETTING(AudioMode, int, setNumber, kAoipKeyAudioMode)
TALLYDESK_AOIP_SETTING(StreamPattern, int, setNumber, kAoipKeyStreamPattern)
TALLYDESK_AOIP_SETTING(DoubleCodec, bool, setFlag, kAoipKeyDoubleCodec)
TALLYDESK_AOIP_SETTING(DoubleStream, bool, setFlag, kAoipKeyDoubleStream)
TALLYDESK_AOIP_SETTING(Jitterab, bool, setFlag, kAoipKeyJitterab)
TALLYDESK_AOIP_SETTING(SipMode, bool, setFlag, kAoipKeySipMode)
TALLYDESK_AOIP_SETTING(SipAccCalls, bool, setFlag, kAoipKeySipAccCalls)
TALLYDESK_AOIP_SETTING(SipChkCalls, bool, setFlag, kAoipKeySipChkCalls)
TALLYDESK_AOIP_SETTING(SipUseUport2, bool, setFlag, kAoipKeySipUseUport2)
TALLYDESK_AOIP_SETTING(SipProxy, const std::string &, setText, kAoipKeySipProxy)
TALLYDESK_AOIP_SETTING(SipDefAccount, int, setNumber, kAoipKeySipDefAccount)
TALLYDESK_AOIP_SETTING(SipKaInterval, int, setNumber, kAoipKeySipKaInterval)
TALLYDESK_AOIP_SETTING(SipKaTarget, int, setNumber, kAoipKeySipKaTarget)
TALLYDESK_AOIP_SETTING(SipReRegTo, int, setNumber, kAoipKeySipReRegTo)
TALLYDESK_AOIP_SETTING(SipUdpPort, int, setNumber, kAoipKeySipUdpPort)
TALLYDESK_AOIP_SETTING(RtpStartPort, int, setNumber, kAoipKeyRtpStartPort)
TALLYDESK_AOIP_SETTING(SipSessTimers, bool, setFlag, kAoipKeySipSessTimers)
TALLYDESK_AOIP_SETTING(DrtpAccCalls, bool, setFlag, kAoipKeyDrtpAccCalls)
TALLYDESK_AOIP_SETTING(DrtpSendOnly, bool, setFlag, kAoipKeyDrtpSendOnly)
TALLYDESK_AOIP_SETTING(DrtpRtpPort, int, setNumber, kAoipKeyDrtpRtpPort)
TALLYDESK_AOIP_SETTING(DrtpRelTimeout, int, setNumber, kAoipKeyDrtpRelTimeout)
TALLYDESK_AOIP_SETTING(StunMode, bool, setFlag, kAoipKeyStunMode)
TALLYDESK_AOIP_SETTING(StunServer, const std::string &, setText, kAoipKeyStunServer)
TALLYDESK_AOIP_SETTING(RtpTos, int, setNumber, kAoipKeyRtpTos)
TALLYDESK_AOIP_SETTING(MpEcmBfShift, int, setNumber, kAoipKeyMpEcmBfShift)

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

bool TComAoIPController::readSetting(const std::string &key)
{
    std::string value;
    if (!readNetworkParam(key, value, true))
        return false;
    return applyReceived(key, value);
}

bool TComAoIPController::applyReceived(const std::string &key, const std::string &text)
{
    if (const Setting *setting = findSetting(key))
        return applyText(*setting, text);
    SipAccount::Field field;
    if (m_account1.fieldOfKey(key, field))
        return m_account1.setFromText(field, text);
    if (m_account2.fieldOfKey(key, field))
        return m_account2.setFromText(field, text);
    return true;
}

bool TComAoIPController::wireText(const std::string &key, std::string &out, bool &refused) const
{
    refused = false;
    if (const Setting *setting = findSetting(key)) {
        switch (setting->kind) {
        case Setting::Flag:
            out = this->*setting->flag ? kOn : kOff;
            break;
        case Setting::Number:
            out = longToString(this->*setting->number);
            break;
        case Setting::Word:
            out = setting->toWire(this->*setting->number);
            break;
        case Setting::Text:
            out = latin1ToUtf8(this->*setting->text);
            break;
        }
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
    std::vector<std::string> keys = {
        kAoipKeyAudioMode,   kAoipKeyDoubleCodec,    kAoipKeyDoubleStream,  kAoipKeySipMode,
        kAoipKeySipAccCalls, kAoipKeySipProxy,       kAoipKeySipKaInterval, kAoipKeySipReRegTo,
        kAoipKeySipUdpPort,  kAoipKeyRtpStartPort,   kAoipKeyDrtpAccCalls,  kAoipKeyDrtpSendOnly,
        kAoipKeyDrtpRtpPort, kAoipKeyDrtpRelTimeout, kAoipKeyRtpTos,        kAoipKeyStunMode,
        kAoipKeyStunServer,  kAoipKeyStunNatType,    kAoipKeyPublicAddr,    kAoipKeyMpEcmBfShift,
    };
    // Each gate builds on the one before: later keys came with later firmware.
    if (firmwareAtLeast(kFirmware1_7_2)) {
        keys.push_back(kAoipKeySipUseUport2);
        if (firmwareAtLeast(kFirmware1_8_2)) {
            keys.push_back(kAoipKeySipChkCalls);
            keys.push_back(kAoipKeySipDefAccount);
            if (firmwareAtLeast(kFirmware1_10)) {
                keys.push_back(kAoipKeyStreamPattern);
                if (firmwareAtLeast(kFirmware1_15)) {
                    keys.push_back(kAoipKeySipSessTimers);
                    if (firmwareAtLeast(kFirmware1_17))
                        keys.push_back(kAoipKeySipKaTarget);
                }
            }
        }
    }
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
        keys.push_back(*key);
    if (firmwareAtLeast(kFirmware1_8_2))
        keys.push_back(kAoipKeySipRegistrar2);
    return keys;
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
    if (!settingKeys.empty() && readNetworkParams(settingKeys, values, failed, true) < 1)
        result = false;
    else if (!statusKeys.empty())
        result = readNetworkParams(statusKeys, statusValues, failed, false) > 0;

    for (const auto &entry : values)
        result = applyReceived(entry.first, entry.second) && result;

    for (const auto &entry : statusValues) {
        const std::string &key = entry.first;
        if (key == kAoipKeySipState)
            result = m_account1.setRegistrationState(entry.second) && result;
        else if (key == kAoipKeySipState2)
            result = m_account2.setRegistrationState(entry.second) && result;
        else if (key == kAoipKeyStunNatType)
            result = setStunNatTypeFromText(entry.second) && result;
        else if (key == kAoipKeyPublicAddr)
            result = setPublicAddrFromText(entry.second) && result;
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
    m_audioMode = AudioModeSip;
    m_streamPattern = 0;
    m_doubleCodec = false;
    m_doubleStream = false;
    m_jitterab = false;
    m_sipMode = false;
    m_sipAccCalls = false;
    m_sipChkCalls = false;
    m_sipUseUport2 = false;
    setSipProxy(std::string(), false);
    m_sipDefAccount = 1;
    m_sipKaInterval = 15;
    m_sipKaTarget = 0;
    m_sipReRegTo = 300;
    m_sipUdpPort = 5060;
    // The device's own reset value, unlike the 5004 of a fresh or empty reading.
    m_rtpStartPort = 5006;
    m_sipSessTimers = false;
    m_drtpAccCalls = false;
    m_drtpSendOnly = false;
    m_drtpRtpPort = 9000;
    m_drtpRelTimeout = 30;
    m_stunMode = false;
    setStunServer(std::string(), false);
    m_rtpTos = 0;
    m_mpEcmBfShift = 0;
    blockSignals(wasBlocked);
    TComNetworkController::reset();
}
