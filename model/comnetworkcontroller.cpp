#include "model/comnetworkcontroller.h"

#include "link/cmsg.h"
#include "link/protocolkeys.h"
#include "link/valueconversions.h"
#include "model/firmwareversion.h"
#include "model/keytable.h"
#include "model/modelkeys.h"
#include "model/wordtable.h"

#include <array>

namespace {

const std::array<std::string, 6> kQualityWords
    = {"very_bad", "bad", "low", "middle", "high", "very_high"};
constexpr int kQualityFallback = 2;

const std::array<std::string, 3> kProfileWords = {"safe", "standard", "punchy"};
constexpr int kProfileFallback = 1;

} // namespace

TComNetworkController::TComNetworkController(ksm::CCom *com, int type)
    : TComKeyedController(com, type)
{}

TComNetworkController::~TComNetworkController() = default;

bool TComNetworkController::setNetwork(const std::string &networkId, int flags, bool makeDefault)
{
    if (networkId.empty())
        return false;
    // Values of another interface go even when the state was never confirmed (a reset
    // followed by a read leaves values with an unknown state): a failed read of the new
    // interface must not show the old one's.
    if (state() != StateUnknown || (!m_networkId.empty() && networkId != m_networkId))
        reset();
    if (makeDefault && !setDefaultNetwork(networkId))
        return false;
    m_networkId = networkId;

    const bool wasBlocked = blockSignals(true);
    if ((flags & ReadAllFlag) && !readAll()) {
        blockSignals(wasBlocked);
        return false;
    }
    blockSignals(wasBlocked);
    setState(StateNotReady);
    return true;
}

ksm::CMsg TComNetworkController::networkMessage(bool withNetwork) const
{
    ksm::CMsg msg(ksm::CMsg::Param);
    msg.setParam(kKeyTarget, kTargetNetwork);
    if (withNetwork)
        msg.setParam(kKeyNetwork, m_networkId);
    return msg;
}

bool TComNetworkController::readNetworkParam(const std::string &key,
                                             std::string &value,
                                             bool withNetwork)
{
    ksm::CMsg msg = networkMessage(withNetwork);
    msg.addGet(key);
    return m_request.getParam(msg, value, TComRequest::DefaultTimeoutMs);
}

int TComNetworkController::readNetworkParams(const std::vector<std::string> &keys,
                                             std::map<std::string, std::string> &values,
                                             std::map<std::string, std::string> &failed,
                                             bool withNetwork)
{
    ksm::CMsg msg = networkMessage(withNetwork);
    for (const std::string &key : keys)
        msg.addGet(key);
    return m_request.getParams(msg, values, failed, TComRequest::DefaultTimeoutMs);
}

bool TComNetworkController::writeNetworkParam(const std::string &key,
                                              const std::string &value,
                                              bool withNetwork,
                                              int timeoutMs)
{
    return writeNetworkParams({{key, value}}, withNetwork, timeoutMs);
}

bool TComNetworkController::writeNetworkParams(const std::map<std::string, std::string> &params,
                                               bool withNetwork,
                                               int timeoutMs)
{
    const ksm::CMsg address = networkMessage(withNetwork);
    if (params.empty())
        return m_request.setParams(address, timeoutMs) == static_cast<int>(address.params().size());
    std::map<std::string, std::string> values = params;
    values.erase(kKeyTarget);
    values.erase(kKeyNetwork);
    return m_request.writeParams(address, values, timeoutMs).holds(values);
}

bool TComNetworkController::listNetwork(const std::string &listName,
                                        std::vector<std::string> &items,
                                        bool withNetwork,
                                        int timeoutMs)
{
    ksm::CMsg msg = networkMessage(withNetwork);
    msg.addList(listName);
    return m_request.list(msg, items, timeoutMs);
}

bool TComNetworkController::setDefaultNetwork(const std::string &networkId)
{
    // The key shares its text with the event that reports a new default network.
    return writeNetworkParams({{kEventDefaultNetwork, networkId}}, false);
}

bool TComNetworkController::reinitNetwork(const std::string &networkId, bool resetOwn)
{
    ksm::CMsg msg(ksm::CMsg::Do);
    msg.setParam(kKeyAction, kActionReinit);
    msg.setParam(kKeyTarget, kTargetNetwork);
    msg.setParam(kKeyNetwork, networkId);
    const bool done = m_request.execute(msg, TComRequest::DefaultTimeoutMs);
    if (done && resetOwn && networkId == m_networkId)
        reset();
    return done;
}

const std::string &TComNetworkController::networkQualityText(int value)
{
    return wordAt(kQualityWords, value, kQualityFallback);
}

int TComNetworkController::networkQualityFromText(const std::string &text)
{
    return wordIndex(kQualityWords, text, kQualityFallback);
}

const std::string &TComNetworkController::ajbProfileText(int value)
{
    return wordAt(kProfileWords, value, kProfileFallback);
}

int TComNetworkController::ajbProfileFromText(const std::string &text)
{
    return wordIndex(kProfileWords, text, kProfileFallback);
}

// --- The streaming presets --------------------------------------------------------------------

KeyRow TComNetworkController::networkQualityKey()
{
    return KeyRow::word(kNetworkKeyNetworkQuality,
                        &TComNetworkController::m_networkQuality,
                        &networkQualityText,
                        &networkQualityFromText)
        .unknownNeverSent();
}

KeyRow TComNetworkController::ajbProfileKey()
{
    return KeyRow::word(kNetworkKeyAjbProfile,
                        &TComNetworkController::m_ajbProfile,
                        &ajbProfileText,
                        &ajbProfileFromText)
        .unknownNeverSent()
        .readFrom(kFirmware1_12);
}

bool TComNetworkController::setNetworkQuality(int quality, bool send)
{
    return store(m_networkQuality, quality, send);
}

bool TComNetworkController::setAjbProfile(int profile, bool send)
{
    return store(m_ajbProfile, profile, send);
}

bool TComNetworkController::applyNetworkQuality(const std::string &text)
{
    return applyField(&m_networkQuality, text);
}

bool TComNetworkController::applyAjbProfile(const std::string &text)
{
    return applyField(&m_ajbProfile, text);
}

bool TComNetworkController::refreshNetworkQuality()
{
    return refreshField(&m_networkQuality);
}

bool TComNetworkController::refreshAjbProfile()
{
    return refreshField(&m_ajbProfile);
}

// --- The key table ----------------------------------------------------------------------------

bool TComNetworkController::writeKey(const std::string &key, const std::string &value)
{
    return writeNetworkParam(key, value, true);
}

void TComNetworkController::rowChanged(const KeyRow &row)
{
    if (row.param >= 0)
        Q_EMIT controllerParamChanged(this, row.param);
}

void TComNetworkController::refused(const KeyRow &) {}

bool TComNetworkController::refreshField(const void *field)
{
    const KeyRow *row = rowOfField(field);
    if (!row)
        return false;
    std::string value;
    if (!readNetworkParam(*row->key, value, true)) {
        refused(*row);
        return false;
    }
    noteTaken(*row->key);
    return applyReceived(*row, value);
}

bool TComNetworkController::readKeys(const std::vector<std::string> &keys)
{
    if (keys.empty())
        return false;
    std::map<std::string, std::string> values;
    std::map<std::string, std::string> failed;
    const int got = readNetworkParams(keys, values, failed, true);
    if (got >= 0)
        forgetUnanswered(keys, values);
    if (got < 1)
        return false;
    // The answer is as new as the unit's values get: news of these keys that came before it is
    // older and is not applied over them.
    for (const auto &entry : values)
        noteTaken(entry.first);
    applyValues(values);
    for (const auto &entry : failed) {
        if (const KeyRow *row = keyTable().find(entry.first))
            refused(*row);
    }
    return true;
}
