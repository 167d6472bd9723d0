#include "model/commobilecontroller.h"

#include "link/ccom.h"
#include "link/cmsg.h"
#include "link/protocolkeys.h"
#include "link/valueconversions.h"
#include "model/keytable.h"
#include "model/modelkeys.h"
#include "model/wordtable.h"

#include <array>
#include <map>

namespace {

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

int dataStateFromText(const std::string &text)
{
    return text.empty() ? TComMobileController::DataUnknown
                        : wordIndex(kDataStateWords, text, TComMobileController::DataUnknown);
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

const KeyTable &TComMobileController::keyTable() const
{
    using C = TComMobileController;
    // In the order readAll() asks for them; the live status last.
    static const KeyTable table = {
        KeyRow::word(kMobileKeyMode, &C::m_serviceMode, &serviceModeWord, &serviceModeFromWord)
            .unknownNeverSent(),
        KeyRow::text(kMobileKeyManufacturer, &C::m_manufacturer).onlyReported(),
        KeyRow::text(kMobileKeyModel, &C::m_model).onlyReported(),
        KeyRow::text(kMobileKeyRevision, &C::m_revision).onlyReported(),
        KeyRow::text(kMobileKeyImei, &C::m_imei).onlyReported(),
        KeyRow::text(kMobileKeyImsi, &C::m_imsi).onlyReported(),
        KeyRow::flag(kMobileKeyEchoCancel, &C::m_echoCancel).standsFor(CapEchoCancel),
        KeyRow::flag(kMobileKeyNoiseGate, &C::m_noiseGate).standsFor(CapNoiseGate),
        KeyRow::flag(kMobileKeyDiversity, &C::m_diversity).standsFor(CapDiversity),
        KeyRow::word(kMobileKeyRat,
                     &C::m_preferredTechnology,
                     &C::preferredTechnologyText,
                     &C::preferredTechnologyFromText)
            .unknownNeverSent(),
        KeyRow::text(kMobileKeyPlmn, &C::m_plmn).appliedBy(&C::applyPlmn),
        KeyRow::flag(kMobileKeyPinPersistent, &C::m_pinPersistent),
        KeyRow::text(kMobileKeyApn, &C::m_apn),
        KeyRow::text(kMobileKeyMsisdn, &C::m_msisdn).onlyReported(),
        KeyRow::flag(kMobileKeyDataConnection, &C::m_dataConnection),
        KeyRow::word(
            kMobileKeyDataConnectionState, &C::m_dataConnectionState, nullptr, &dataStateFromText)
            .onlyReported(),
        KeyRow::text(kMobileKeyUsername, &C::m_username),
        KeyRow::text(kMobileKeyPassword, &C::m_password),
        KeyRow::word(kMobileKeyAuthentication,
                     &C::m_authentication,
                     &C::authenticationText,
                     &C::authenticationFromText)
            .unknownNeverSent()
            .initially(AuthNone),
        networkQualityKey(),
        ajbProfileKey(),
        KeyRow::applied(kMobileKeyOperatorLong, &C::applyOperatorLong).notInReadAll(),
        KeyRow::applied(kMobileKeyOperatorShort, &C::applyOperatorShort).notInReadAll(),
        KeyRow::applied(kMobileKeySignalQuality, &C::applySignalQuality).notInReadAll(),
        KeyRow::applied(kMobileKeySignalQualityDbm, &C::applySignalQuality).notInReadAll(),
        KeyRow::applied(kMobileKeyTechnology, &C::applyTechnology).notInReadAll(),
    };
    return table;
}

bool TComMobileController::applyReceived(const KeyRow &row, const std::string &text)
{
    m_capabilities |= row.capability;
    return applyRow(row, text);
}

void TComMobileController::refused(const KeyRow &row)
{
    m_capabilities &= ~row.capability;
}

bool TComMobileController::setServiceMode(int mode, bool send)
{
    return store(m_serviceMode, mode, send);
}

bool TComMobileController::setServiceModeWord(const std::string &word, bool send)
{
    return setServiceMode(serviceModeFromWord(word), send);
}

bool TComMobileController::setDiversity(bool on, bool send)
{
    return store(m_diversity, on, send);
}

bool TComMobileController::setEchoCancel(bool on, bool send)
{
    return store(m_echoCancel, on, send);
}

bool TComMobileController::setNoiseGate(bool on, bool send)
{
    return store(m_noiseGate, on, send);
}

bool TComMobileController::setPreferredTechnology(int value, bool send)
{
    return store(m_preferredTechnology, value, send);
}

bool TComMobileController::setPinPersistent(bool on, bool send)
{
    return store(m_pinPersistent, on, send);
}

bool TComMobileController::setApn(const std::string &apn, bool send)
{
    return store(m_apn, apn, send);
}

bool TComMobileController::setDataConnection(bool on, bool send)
{
    return store(m_dataConnection, on, send);
}

bool TComMobileController::setUsername(const std::string &username, bool send)
{
    return store(m_username, username, send);
}

bool TComMobileController::setPassword(const std::string &password, bool send)
{
    return store(m_password, password, send);
}

bool TComMobileController::setAuthentication(int value, bool send)
{
    return store(m_authentication, value, send);
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
    if (send && !writeNetworkParam(kMobileKeyPlmn, stored, true, kPlmnTimeoutMs))
        return false;
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
    return applyField(&m_serviceMode, text);
}

bool TComMobileController::applyEchoCancel(const std::string &text)
{
    return applyField(&m_echoCancel, text);
}

bool TComMobileController::applyNoiseGate(const std::string &text)
{
    return applyField(&m_noiseGate, text);
}

bool TComMobileController::applyDiversity(const std::string &text)
{
    return applyField(&m_diversity, text);
}

bool TComMobileController::applyPreferredTechnology(const std::string &text)
{
    return applyField(&m_preferredTechnology, text);
}

bool TComMobileController::applyPlmn(const std::string &text)
{
    setPlmn(text, false);
    return true;
}

bool TComMobileController::applyPinPersistent(const std::string &text)
{
    return applyField(&m_pinPersistent, text);
}

bool TComMobileController::applyApn(const std::string &text)
{
    return applyField(&m_apn, text);
}

bool TComMobileController::applyDataConnection(const std::string &text)
{
    return applyField(&m_dataConnection, text);
}

bool TComMobileController::applyDataConnectionState(const std::string &text)
{
    return applyField(&m_dataConnectionState, text);
}

bool TComMobileController::applyUsername(const std::string &text)
{
    return applyField(&m_username, text);
}

bool TComMobileController::applyPassword(const std::string &text)
{
    return applyField(&m_password, text);
}

bool TComMobileController::applyAuthentication(const std::string &text)
{
    return applyField(&m_authentication, text);
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

bool TComMobileController::refreshServiceMode()
{
    return refreshField(&m_serviceMode);
}

bool TComMobileController::refreshDiversity()
{
    return refreshField(&m_diversity);
}

bool TComMobileController::refreshEchoCancel()
{
    return refreshField(&m_echoCancel);
}

bool TComMobileController::refreshNoiseGate()
{
    return refreshField(&m_noiseGate);
}

bool TComMobileController::refreshPreferredTechnology()
{
    return refreshField(&m_preferredTechnology);
}

bool TComMobileController::refreshPlmn()
{
    return refreshField(&m_plmn);
}

bool TComMobileController::refreshPinPersistent()
{
    return refreshField(&m_pinPersistent);
}

bool TComMobileController::refreshApn()
{
    return refreshField(&m_apn);
}

bool TComMobileController::refreshDataConnection()
{
    return refreshField(&m_dataConnection);
}

bool TComMobileController::refreshDataConnectionState()
{
    return refreshField(&m_dataConnectionState);
}

bool TComMobileController::refreshUsername()
{
    return refreshField(&m_username);
}

bool TComMobileController::refreshPassword()
{
    return refreshField(&m_password);
}

bool TComMobileController::refreshAuthentication()
{
    return refreshField(&m_authentication);
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
    // The capability mask stays: it describes the modem, which a reset does not change.
    resetKeys();
    m_operatorLong.clear();
    m_operatorShort.clear();
    m_signalQuality = 0;
    m_technology = -1;
    m_widebandVoice = false;
    clearKnown();
    TComNetworkController::reset();
}

bool TComMobileController::readAll()
{
    return read(keyTable().readAllKeys());
}

bool TComMobileController::read(const std::vector<std::string> &keys)
{
    return readKeys(keys);
}

bool TComMobileController::write(const std::vector<std::string> &keys)
{
    if (keys.empty())
        return false;
    const std::map<std::string, std::string> params = knownWrites(keys);
    if (params.empty())
        return false;

    const int timeoutMs
        = params.count(kMobileKeyPlmn) ? kPlmnWriteTimeoutMs : TComRequest::writeTimeoutMs();
    return writeNetworkParams(params, true, timeoutMs);
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
    // A mode older than a write of it the unit took leaves the mode written.
    const std::string &networkMode = *msg.param(kKeyNetworkMode, true);
    if (!networkMode.empty() && !isOlderThanTaken(kMobileKeyMode))
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
