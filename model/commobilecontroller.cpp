#include "model/commobilecontroller.h"

#include "link/ccom.h"
#include "link/cmsg.h"
#include "link/protocolkeys.h"
#include "link/valueconversions.h"
#include "model/firmwareversion.h"
#include "model/modelkeys.h"
#include "model/wordtable.h"

#include <array>
#include <map>

namespace {

const std::string kOn = "on";
const std::string kOff = "off";
const std::string kGsmVoice = "gsm_voice";
const std::string kData = "data";
const std::string kPinReady = "ready";
const std::string kPlmnAuto = "auto";
const std::string kKeyPin = "pin";
const std::string kKeyRegistrationState = "registration_state";
const std::string kKeyCodecInfo = "codec_info";

const std::array<std::string, 9> kRatWords = {"auto",
                                              "only UMTS",
                                              "only GSM",
                                              "UMTS first",
                                              "GSM first",
                                              "only GSM UMTS",
                                              "only LTE",
                                              "only LTE 5G",
                                              "only 5G"};
const std::array<std::string, 3> kAuthWords = {"", "PAP", "CHAP"};
const std::array<std::string, 4> kDataStateWords = {"", "failure", "processing", "active"};

// The wideband voice codecs a modem may report; only one modem family offers them.
const std::string kWidebandModel = "HE910";
const std::string kCodecUawb = "UAWB";
const std::string kCodecFawb = "FAWB";

// The client ignores this argument; every caller passes the same value.
constexpr int kUnusedFlag = 1000;
// Selecting an operator takes the modem longer than an ordinary write.
constexpr int kPlmnTimeoutMs = 6000;
constexpr int kPlmnWriteTimeoutMs = 60000;

// The capability bits that stand for "the device offers every mode / these technologies" when
// it cannot tell.
constexpr quint32 kFallbackModes
    = TComMobileController::CapGsmVoice | TComMobileController::CapData;
constexpr quint32 kFallbackRats
    = TComMobileController::CapRatAuto | TComMobileController::CapRatOnlyUmts
      | TComMobileController::CapRatOnlyGsm | TComMobileController::CapRatOnlyLte;

int serviceModeFromWord(const std::string &word)
{
    if (word == kGsmVoice)
        return TComMobileController::ServiceGsmVoice;
    if (word == kData)
        return TComMobileController::ServiceData;
    return -1;
}

const std::string &serviceModeWord(int mode)
{
    return mode == TComMobileController::ServiceData ? kData : kGsmVoice;
}

const std::string &onOff(bool on)
{
    return on ? kOn : kOff;
}

} // namespace

TComMobileController::TComMobileController(ksm::CCom *com)
    : TComNetworkController(com, MobileController)
{}

TComMobileController::~TComMobileController() = default;

const std::string &TComMobileController::preferredTechnologyText(int value)
{
    return wordAt(kRatWords, value, RatAuto);
}

int TComMobileController::preferredTechnologyFromText(const std::string &text)
{
    return wordIndex(kRatWords, text);
}

const std::string &TComMobileController::authenticationText(int value)
{
    return wordAt(kAuthWords, value, AuthNone);
}

int TComMobileController::authenticationFromText(const std::string &text)
{
    if (text.empty())
        return AuthNone;
    return wordIndex(kAuthWords, text, AuthNone);
}

bool TComMobileController::setFlag(bool &field, const std::string &key, bool on, bool send)
{
    return storeValue(field, key, on, send, true, onOff(on));
}

bool TComMobileController::setServiceMode(int mode, bool send)
{
    return storeValue(m_serviceMode, kMobileKeyMode, mode, send, mode != -1, serviceModeWord(mode));
}

bool TComMobileController::setServiceModeWord(const std::string &word, bool send)
{
    return setServiceMode(serviceModeFromWord(word), send);
}

bool TComMobileController::setDiversity(bool on, bool send)
{
    return setFlag(m_diversity, kMobileKeyDiversity, on, send);
}

bool TComMobileController::setEchoCancel(bool on, bool send)
{
    return setFlag(m_echoCancel, kMobileKeyEchoCancel, on, send);
}

bool TComMobileController::setNoiseGate(bool on, bool send)
{
    return setFlag(m_noiseGate, kMobileKeyNoiseGate, on, send);
}

bool TComMobileController::setPreferredTechnology(int value, bool send)
{
    return storeValue(m_preferredTechnology,
                      kMobileKeyRat,
                      value,
                      send,
                      value != -1,
                      preferredTechnologyText(value));
}

bool TComMobileController::setPinPersistent(bool on, bool send)
{
    return setFlag(m_pinPersistent, kMobileKeyPinPersistent, on, send);
}

bool TComMobileController::setApn(const std::string &apn, bool send)
{
    return storeValue(m_apn, kMobileKeyApn, apn, send, true, apn);
}

bool TComMobileController::setDataConnection(bool on, bool send)
{
    return setFlag(m_dataConnection, kMobileKeyDataConnection, on, send);
}

bool TComMobileController::setUsername(const std::string &username, bool send)
{
    return storeValue(m_username, kMobileKeyUsername, username, send, true, username);
}

bool TComMobileController::setPassword(const std::string &password, bool send)
{
    return storeValue(m_password, kMobileKeyPassword, password, send, true, password);
}

bool TComMobileController::setAuthentication(int value, bool send)
{
    return storeValue(m_authentication,
                      kMobileKeyAuthentication,
                      value,
                      send,
                      value != -1,
                      authenticationText(value));
}

bool TComMobileController::setNetworkQuality(int quality, bool send)
{
    return storeValue(m_networkQuality,
                      kNetworkKeyNetworkQuality,
                      quality,
                      send,
                      quality != -1,
                      networkQualityText(quality));
}

bool TComMobileController::setAjbProfile(int profile, bool send)
{
    return storeValue(
        m_ajbProfile, kNetworkKeyAjbProfile, profile, send, profile != -1, ajbProfileText(profile));
}

bool TComMobileController::setPlmn(const std::string &plmn, bool send)
{
    // Compared as stored, so that an empty selection on a fresh controller still becomes
    // "auto" and is not sent again once it is.
    const std::string &stored = plmn.empty() ? kPlmnAuto : plmn;
    if (stored == m_plmn) {
        markKnown(kMobileKeyPlmn);
        return true;
    }
    if (send) {
        ksm::CMsg msg(ksm::CMsg::Param);
        msg.setParam(kKeyTarget, kTargetNetwork);
        msg.setParam(kKeyNetwork, networkId());
        msg.setParam(kMobileKeyPlmn, stored);
        if (m_request.setParams(msg, kPlmnTimeoutMs) != static_cast<int>(msg.params().size()))
            return false;
    }
    m_plmn = stored;
    markKnown(kMobileKeyPlmn);
    return true;
}

bool TComMobileController::setManufacturer(const std::string &text)
{
    m_manufacturer = text;
    return true;
}

bool TComMobileController::setModel(const std::string &text)
{
    m_model = text;
    return true;
}

bool TComMobileController::setRevision(const std::string &text)
{
    m_revision = text;
    return true;
}

bool TComMobileController::setImei(const std::string &text)
{
    m_imei = text;
    return true;
}

bool TComMobileController::setImsi(const std::string &text)
{
    m_imsi = text;
    return true;
}

bool TComMobileController::setMsisdn(const std::string &text)
{
    m_msisdn = text;
    return true;
}

bool TComMobileController::applyServiceMode(const std::string &text)
{
    setServiceModeWord(text, false);
    return true;
}

bool TComMobileController::applyEchoCancel(const std::string &text)
{
    m_capabilities |= CapEchoCancel;
    setEchoCancel(text == kOn, false);
    return true;
}

bool TComMobileController::applyNoiseGate(const std::string &text)
{
    m_capabilities |= CapNoiseGate;
    setNoiseGate(text == kOn, false);
    return true;
}

bool TComMobileController::applyDiversity(const std::string &text)
{
    m_capabilities |= CapDiversity;
    setDiversity(text == kOn, false);
    return true;
}

bool TComMobileController::applyPreferredTechnology(const std::string &text)
{
    setPreferredTechnology(preferredTechnologyFromText(text), false);
    return true;
}

bool TComMobileController::applyPlmn(const std::string &text)
{
    setPlmn(text, false);
    return true;
}

bool TComMobileController::applyPinPersistent(const std::string &text)
{
    setPinPersistent(text == kOn, false);
    return true;
}

bool TComMobileController::applyApn(const std::string &text)
{
    setApn(text, false);
    return true;
}

bool TComMobileController::applyDataConnection(const std::string &text)
{
    setDataConnection(text == kOn, false);
    return true;
}

bool TComMobileController::applyDataConnectionState(const std::string &text)
{
    m_dataConnectionState
        = text.empty() ? DataUnknown : wordIndex(kDataStateWords, text, DataUnknown);
    return true;
}

bool TComMobileController::applyUsername(const std::string &text)
{
    setUsername(text, false);
    return true;
}

bool TComMobileController::applyPassword(const std::string &text)
{
    setPassword(text, false);
    return true;
}

bool TComMobileController::applyAuthentication(const std::string &text)
{
    setAuthentication(authenticationFromText(text), false);
    return true;
}

bool TComMobileController::applyNetworkQuality(const std::string &text)
{
    setNetworkQuality(networkQualityFromText(text), false);
    return true;
}

bool TComMobileController::applyAjbProfile(const std::string &text)
{
    setAjbProfile(ajbProfileFromText(text), false);
    return true;
}

bool TComMobileController::applyOperatorLong(const std::string &text)
{
    if (stateFromCause(text) == StateReady)
        m_operatorLong = text;
    return true;
}

bool TComMobileController::applyOperatorShort(const std::string &text)
{
    if (stateFromCause(text) == StateReady)
        m_operatorShort = text;
    return true;
}

bool TComMobileController::applySignalQuality(const std::string &text)
{
    if (text.empty()) {
        m_signalQuality = 0;
        return true;
    }
    // "-71 dBm": the number ends where the unit begins.
    m_signalQuality = stringToLong(text.substr(0, text.find_first_of(" dBm")));
    return true;
}

bool TComMobileController::applyTechnology(const std::string &text)
{
    if (text.empty())
        m_technology = -1;
    else if (text == "GSM" || text == "GSM COMPACT" || text == "GPRS" || text == "EDGE")
        m_technology = Technology2G;
    else if (text == "LTE")
        m_technology = TechnologyLte;
    else if (text == "5G")
        m_technology = Technology5G;
    else
        m_technology = Technology3G;
    return true;
}

bool TComMobileController::refreshSwitch(const std::string &key,
                                         quint32 capability,
                                         bool (TComMobileController::*apply)(const std::string &))
{
    if (refreshKey(key, apply))
        return true;
    m_capabilities &= ~capability;
    return false;
}

bool TComMobileController::refreshServiceMode()
{
    return refreshKey(kMobileKeyMode, &TComMobileController::applyServiceMode);
}

bool TComMobileController::refreshDiversity()
{
    return refreshSwitch(kMobileKeyDiversity, CapDiversity, &TComMobileController::applyDiversity);
}

bool TComMobileController::refreshEchoCancel()
{
    return refreshSwitch(
        kMobileKeyEchoCancel, CapEchoCancel, &TComMobileController::applyEchoCancel);
}

bool TComMobileController::refreshNoiseGate()
{
    return refreshSwitch(kMobileKeyNoiseGate, CapNoiseGate, &TComMobileController::applyNoiseGate);
}

bool TComMobileController::refreshPreferredTechnology()
{
    return refreshKey(kMobileKeyRat, &TComMobileController::applyPreferredTechnology);
}

bool TComMobileController::refreshPlmn()
{
    return refreshKey(kMobileKeyPlmn, &TComMobileController::applyPlmn);
}

bool TComMobileController::refreshPinPersistent()
{
    return refreshKey(kMobileKeyPinPersistent, &TComMobileController::applyPinPersistent);
}

bool TComMobileController::refreshApn()
{
    return refreshKey(kMobileKeyApn, &TComMobileController::applyApn);
}

bool TComMobileController::refreshDataConnection()
{
    return refreshKey(kMobileKeyDataConnection, &TComMobileController::applyDataConnection);
}

bool TComMobileController::refreshDataConnectionState()
{
    return refreshKey(kMobileKeyDataConnectionState,
                      &TComMobileController::applyDataConnectionState);
}

bool TComMobileController::refreshUsername()
{
    return refreshKey(kMobileKeyUsername, &TComMobileController::applyUsername);
}

bool TComMobileController::refreshPassword()
{
    return refreshKey(kMobileKeyPassword, &TComMobileController::applyPassword);
}

bool TComMobileController::refreshAuthentication()
{
    return refreshKey(kMobileKeyAuthentication, &TComMobileController::applyAuthentication);
}

bool TComMobileController::refreshNetworkQuality()
{
    return refreshKey(kNetworkKeyNetworkQuality, &TComMobileController::applyNetworkQuality);
}

bool TComMobileController::refreshAjbProfile()
{
    return refreshKey(kNetworkKeyAjbProfile, &TComMobileController::applyAjbProfile);
}

bool TComMobileController::checkRegistration(int &state)
{
    state = StateNotReady;
    if (!m_request.com())
        return false;
    std::map<std::string, std::string> values;
    std::map<std::string, std::string> failed;
    const int got = readNetworkParams({kKeyPin, kKeyRegistrationState}, values, failed, true);
    if (got >= 1) {
        const auto pin = values.find(kKeyPin);
        const auto registration = values.find(kKeyRegistrationState);
        if (pin != values.end() && pin->second == kPinReady && registration != values.end()
            && !registration->second.empty()) {
            state = stateFromCause(registration->second);
        }
        return true;
    }
    if (failed.empty())
        return false;
    const auto pin = failed.find(kKeyPin);
    if (pin != failed.end())
        state = stateFromCause(pin->second);
    return true;
}

int TComMobileController::applyPinCode(const std::string &pin, int timeoutMs)
{
    ksm::CCom *com = m_request.com();
    if (!com)
        return PinFailed;
    ksm::CMsg msg(ksm::CMsg::Param);
    msg.setParam(kKeyTarget, kTargetNetwork);
    msg.setParam(kKeyNetwork, networkId());
    msg.setParam(kKeyPin, pin);
    if (com->sendSyncMsg(msg, msg, kUnusedFlag, timeoutMs) != 0)
        return PinFailed;

    if (*msg.param(kKeyReturn, true) == kReplyProgress) {
        // The refusal, if any, is the part the client held back.
        if (com->pendingReply(msg, timeoutMs) < 0)
            return PinAccepted;
    }
    if (*msg.param(kKeyReturn, true) == kReplyOk)
        return PinAccepted;

    std::string cause = *msg.param(kKeyPin, true);
    if (cause.empty())
        cause = *msg.param(kKeyCause, true);
    if (cause.empty())
        cause = kCauseUnknownError;
    if (cause == kCauseWrongPassword)
        return PinWrong;
    if (cause == kCausePukRequired) {
        setState(StateSimLocked);
        return PinPukRequired;
    }
    return PinFailed;
}

bool TComMobileController::listCapabilities(const std::string &key,
                                            const std::vector<std::string> &words,
                                            quint32 first)
{
    std::vector<std::string> items;
    if (!listNetwork(key, items, true))
        return false;
    for (const std::string &item : items) {
        for (std::size_t i = 0; i < words.size(); ++i) {
            if (words[i] == item)
                m_capabilities |= first << i;
        }
    }
    return true;
}

bool TComMobileController::listServiceModes()
{
    return listCapabilities(kMobileKeyMode, {kGsmVoice, kData}, CapGsmVoice);
}

bool TComMobileController::listPreferredTechnologies()
{
    return listCapabilities(
        kMobileKeyRat, std::vector<std::string>(kRatWords.begin(), kRatWords.end()), CapRatAuto);
}

bool TComMobileController::listAuthentications()
{
    return listCapabilities(
        kMobileKeyAuthentication, {kAuthWords[AuthPap], kAuthWords[AuthChap]}, CapPap);
}

bool TComMobileController::scanOperators(std::vector<std::string> &names)
{
    return listNetwork(kMobileKeyPlmn, names, true, OperatorScanTimeoutMs);
}

void TComMobileController::reset()
{
    const bool wasBlocked = blockSignals(true);
    m_serviceMode = -1;
    m_manufacturer.clear();
    m_model.clear();
    m_revision.clear();
    m_plmn.clear();
    m_operatorLong.clear();
    m_operatorShort.clear();
    m_apn.clear();
    m_imei.clear();
    m_imsi.clear();
    m_msisdn.clear();
    m_username.clear();
    m_password.clear();
    m_signalQuality = 0;
    m_technology = -1;
    m_diversity = false;
    m_echoCancel = false;
    m_noiseGate = false;
    m_pinPersistent = false;
    m_widebandVoice = false;
    m_dataConnection = false;
    m_dataConnectionState = DataUnknown;
    m_preferredTechnology = -1;
    m_authentication = AuthNone;
    m_networkQuality = -1;
    m_ajbProfile = -1;
    clearKnown();
    blockSignals(wasBlocked);
    TComNetworkController::reset();
}

bool TComMobileController::readAll()
{
    std::vector<std::string> keys = {kMobileKeyMode,
                                     kMobileKeyManufacturer,
                                     kMobileKeyModel,
                                     kMobileKeyRevision,
                                     kMobileKeyImei,
                                     kMobileKeyImsi,
                                     kMobileKeyEchoCancel,
                                     kMobileKeyNoiseGate,
                                     kMobileKeyDiversity,
                                     kMobileKeyRat,
                                     kMobileKeyPlmn,
                                     kMobileKeyPinPersistent,
                                     kMobileKeyApn,
                                     kMobileKeyMsisdn,
                                     kMobileKeyDataConnection,
                                     kMobileKeyDataConnectionState,
                                     kMobileKeyUsername,
                                     kMobileKeyPassword,
                                     kMobileKeyAuthentication,
                                     kNetworkKeyNetworkQuality};
    if (firmwareAtLeast(kFirmware1_12))
        keys.push_back(kNetworkKeyAjbProfile);
    return read(keys);
}

bool TComMobileController::read(const std::vector<std::string> &keys)
{
    using Applier = bool (TComMobileController::*)(const std::string &);
    static const std::map<std::string, Applier> appliers = {
        {kMobileKeyMode, &TComMobileController::applyServiceMode},
        {kMobileKeyManufacturer, &TComMobileController::setManufacturer},
        {kMobileKeyModel, &TComMobileController::setModel},
        {kMobileKeyRevision, &TComMobileController::setRevision},
        {kMobileKeyImei, &TComMobileController::setImei},
        {kMobileKeyImsi, &TComMobileController::setImsi},
        {kMobileKeyEchoCancel, &TComMobileController::applyEchoCancel},
        {kMobileKeyNoiseGate, &TComMobileController::applyNoiseGate},
        {kMobileKeyDiversity, &TComMobileController::applyDiversity},
        {kMobileKeyRat, &TComMobileController::applyPreferredTechnology},
        {kMobileKeyPlmn, &TComMobileController::applyPlmn},
        {kMobileKeyPinPersistent, &TComMobileController::applyPinPersistent},
        {kMobileKeyApn, &TComMobileController::applyApn},
        {kMobileKeyMsisdn, &TComMobileController::setMsisdn},
        {kMobileKeyDataConnection, &TComMobileController::applyDataConnection},
        {kMobileKeyDataConnectionState, &TComMobileController::applyDataConnectionState},
        {kMobileKeyUsername, &TComMobileController::applyUsername},
        {kMobileKeyPassword, &TComMobileController::applyPassword},
        {kMobileKeyAuthentication, &TComMobileController::applyAuthentication},
        {kNetworkKeyNetworkQuality, &TComMobileController::applyNetworkQuality},
        {kNetworkKeyAjbProfile, &TComMobileController::applyAjbProfile},
        {kMobileKeyOperatorLong, &TComMobileController::applyOperatorLong},
        {kMobileKeyOperatorShort, &TComMobileController::applyOperatorShort},
        {kMobileKeySignalQuality, &TComMobileController::applySignalQuality},
        {kMobileKeySignalQualityDbm, &TComMobileController::applySignalQuality},
        {kMobileKeyTechnology, &TComMobileController::applyTechnology},
    };
    std::map<std::string, std::string> failed;
    if (!readApplying(keys, appliers, failed))
        return false;
    for (const auto &entry : failed) {
        if (entry.first == kMobileKeyEchoCancel)
            m_capabilities &= ~quint32(CapEchoCancel);
        else if (entry.first == kMobileKeyNoiseGate)
            m_capabilities &= ~quint32(CapNoiseGate);
        else if (entry.first == kMobileKeyDiversity)
            m_capabilities &= ~quint32(CapDiversity);
    }
    return true;
}

bool TComMobileController::write(const std::vector<std::string> &keys)
{
    if (keys.empty())
        return false;
    std::map<std::string, std::string> params;
    const auto add = [this, &params](const std::string &key, const std::string &value) {
        if (isKnown(key))
            params[key] = value;
    };
    const auto addNumber = [&add](const std::string &key, int value, const std::string &word) {
        if (value != -1)
            add(key, word);
    };
    for (const std::string &key : keys) {
        if (key == kMobileKeyMode)
            addNumber(key, m_serviceMode, serviceModeWord(m_serviceMode));
        else if (key == kMobileKeyEchoCancel)
            add(key, onOff(m_echoCancel));
        else if (key == kMobileKeyNoiseGate)
            add(key, onOff(m_noiseGate));
        else if (key == kMobileKeyDiversity)
            add(key, onOff(m_diversity));
        else if (key == kMobileKeyPinPersistent)
            add(key, onOff(m_pinPersistent));
        else if (key == kMobileKeyDataConnection)
            add(key, onOff(m_dataConnection));
        else if (key == kMobileKeyRat)
            addNumber(key, m_preferredTechnology, preferredTechnologyText(m_preferredTechnology));
        else if (key == kMobileKeyPlmn)
            add(key, m_plmn);
        else if (key == kMobileKeyApn)
            add(key, m_apn);
        else if (key == kMobileKeyUsername)
            add(key, m_username);
        else if (key == kMobileKeyPassword)
            add(key, m_password);
        else if (key == kMobileKeyAuthentication)
            addNumber(key, m_authentication, authenticationText(m_authentication));
        else if (key == kNetworkKeyNetworkQuality)
            addNumber(key, m_networkQuality, networkQualityText(m_networkQuality));
        else if (key == kNetworkKeyAjbProfile)
            addNumber(key, m_ajbProfile, ajbProfileText(m_ajbProfile));
    }
    if (params.empty())
        return false;

    const int timeoutMs
        = params.count(kMobileKeyPlmn) ? kPlmnWriteTimeoutMs : TComRequest::DefaultTimeoutMs;
    ksm::CMsg msg(ksm::CMsg::Param);
    msg.setParam(kKeyTarget, kTargetNetwork);
    msg.setParam(kKeyNetwork, networkId());
    for (const auto &entry : params)
        msg.setParam(entry.first, entry.second);
    return m_request.setParams(msg, timeoutMs) == static_cast<int>(msg.params().size());
}

bool TComMobileController::handleInfo(const ksm::CMsg &msg)
{
    const std::string &infoType = *msg.param(kKeyInfoType, true);
    const std::string &infoSource = *msg.param(kKeyInfoSource, true);
    if (infoType.empty() || infoSource.empty() || infoSource != networkId()
        || infoType != kEventNetworkInfo) {
        return false;
    }
    const std::string &operatorLong = *msg.param(kMobileKeyOperatorLong, true);
    const std::string &operatorShort = *msg.param(kMobileKeyOperatorShort, true);
    const std::string &registration = *msg.param(kKeyRegistrationState, true);
    const std::string &codecInfo = *msg.param(kKeyCodecInfo, true);

    applyTechnology(*msg.param(kMobileKeyTechnology, true));
    applySignalQuality(*msg.param(kMobileKeySignalQuality, true));

    m_widebandVoice = !codecInfo.empty()
                      && m_model.compare(0, kWidebandModel.size(), kWidebandModel) == 0
                      && (codecInfo == kCodecUawb || codecInfo == kCodecFawb);

    int working = StateNotReady;
    if (!registration.empty()) {
        working = stateFromCause(registration);
        // A plain operator name means the modem is on a network, whatever the registration
        // state says; a cause text in its place says why it is not.
        if ((working == StateReady || working == StateNotRegistered) && !operatorLong.empty())
            working = stateFromCause(operatorLong);
    }
    if (working == StateReady) {
        m_operatorLong = operatorLong;
        m_operatorShort = operatorShort;
    } else {
        m_operatorLong.clear();
        m_operatorShort.clear();
    }
    setState(working);
    return true;
}

bool TComMobileController::handleEvent(const ksm::CMsg &msg)
{
    const std::string &eventType = *msg.param(kKeyEventType, true);
    const std::string &network = *msg.param(kKeyNetwork, true);
    if (eventType.empty() || network.empty() || network != networkId())
        return false;
    if (eventType != kEventDefaultNetwork && eventType != kEventConfigInfo)
        return false;
    const std::string &networkMode = *msg.param(kKeyNetworkMode, true);
    if (!networkMode.empty())
        applyServiceMode(networkMode);
    return true;
}

bool TComMobileController::setNetwork(const std::string &networkId, int flags, bool makeDefault)
{
    if (!TComNetworkController::setNetwork(networkId, flags, makeDefault))
        return false;
    int registration = StateNotReady;
    if (checkRegistration(registration))
        setState(registration);

    // The capabilities describe this interface's modem only.
    m_capabilities = 0;
    if (!(flags & CapabilitiesFlag))
        return true;
    if (!listServiceModes())
        m_capabilities |= kFallbackModes;
    if (!listPreferredTechnologies())
        m_capabilities |= kFallbackRats;
    listAuthentications();
    return true;
}
