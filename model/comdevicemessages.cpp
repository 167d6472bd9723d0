// TComDevice: the routing of the device's INFO and EVENT messages to the device-wide state, the
// embedded controllers and the call and data connections, creating the connections of links not
// seen yet.

#include "model/comdevice.h"

#include "link/cmsg.h"
#include "link/protocolkeys.h"
#include "link/valueconversions.h"
#include "model/comaudioconnection.h"
#include "model/comdataconnection.h"
#include "model/modelkeys.h"

#include <memory>

namespace {

const std::string kOn = "on";

const std::string kKeyLevel = "level";
const std::string kKeyAutoJbuffer = "auto_jbuffer";
const std::string kKeyRelay1 = "relay1";
const std::string kKeyRelay2 = "relay2";
const std::string kKeyConfig1 = "config1";
const std::string kKeyConfig2 = "config2";

} // namespace

bool TComDevice::handleInfo(const ksm::CMsg &msg)
{
    const std::string &type = msg.value(kKeyInfoType);
    if (type.empty())
        return false;

    if (type == kEventNetworkInfo) {
        if (m_mobileController.handleInfo(msg)) {
            m_mobileSignalBars = mobileSignalBarsFor(m_mobileController.signalQuality());
            emitState(MobileSignalState);
        } else if (m_wifiController.handleInfo(msg)) {
            m_wifiSignalBars = wifiSignalBarsFor(m_wifiController.signalLevel());
            emitState(WifiSignalState);
        }
        return true;
    }
    if (type == kEventBatteryLevel) {
        const std::string &level = msg.value(kKeyLevel);
        if (!level.empty() && stringToInt(level) != m_batteryLevel) {
            m_batteryLevel = stringToInt(level);
            emitState(BatteryLevelState);
        }
        return true;
    }
    if (type == kEventSipRegistration || type == kEventSipRegistration2) {
        const bool second = type == kEventSipRegistration2;
        const SipAccount &account = m_aoipController.account(second ? 2 : 1);
        const bool wasRegistered = account.registered();
        const std::string oldCause = account.cause();
        if (m_aoipController.handleInfo(msg)
            && (account.registered() != wasRegistered || account.cause() != oldCause)) {
            emitState(second ? SipRegistration2State : SipRegistration1State);
        }
        return true;
    }
    if (type == kEventAudioChangeset) {
        const std::string &reset = msg.value(kKeyAes67Reset);
        if (!reset.empty())
            setAes67Reset(reset == kOn, false);
        return true;
    }
    return false;
}

bool TComDevice::handleEvent(const ksm::CMsg &msg)
{
    const std::string &type = msg.value(kKeyEventType);
    if (type.empty())
        return false;

    // News of a network older than a write of it the unit took leaves the network written.
    if (type == kEventDefaultNetwork) {
        if (!isOlderThan(m_defaultNetworkTakenAt))
            setDefaultNetwork(msg.value(kKeyNetwork), false);
        return true;
    }
    if (type == kEventSecondaryNetwork) {
        if (!isOlderThan(m_secondaryNetworkTakenAt))
            setSecondaryNetwork(msg.value(kKeyNetwork), false);
        return true;
    }
    if (type == kEventDefaultCodec) {
        handleDefaultCodec(msg);
        return true;
    }
    if (type == kEventCodecChange) {
        handleCodecChange(msg);
        return true;
    }
    if (type == kEventConfigInfo) {
        if (m_ethernetController.handleEvent(msg))
            emitState(EthernetState);
        if (m_mobileController.handleEvent(msg))
            emitState(MobileState);
        if (m_wifiController.handleEvent(msg))
            emitState(WifiState);
        return true;
    }
    if (type == kEventAoipConfig) {
        m_aoipController.setJitterab(msg.value(kKeyAutoJbuffer) == kOn, false);
        return true;
    }
    if (type == kEventCallAutoRedial || type == kEventCallProceeding || type == kEventCallActive
        || type == kEventDspStatus) {
        return handleCallEvent(msg, type, TComAudioConnection::DirectionOutgoing);
    }
    if (type == kEventCallReceived || type == kEventCallRing)
        return handleCallEvent(msg, type, TComAudioConnection::DirectionIncoming);
    if (type == kEventDataConnected)
        return handleDataConnected(msg);
    if (type == kEventRelayIn)
        return handleRelayInputs(msg);

    const std::string &id = msg.value(kKeyId);
    if (id.empty())
        return false;
    TComBaseConnection *c = connection(stringToInt(id));
    if (!c)
        return false;
    passEvent(c, msg);
    return true;
}

void TComDevice::passEvent(TComBaseConnection *c, const ksm::CMsg &msg)
{
    if (!c->handleEvent(msg) || c->state() != TComAudioConnection::StateEnded)
        return;
    // Only when the map still holds this very connection: a slot run by the event may have
    // removed it already, or put another one under the id.
    const int id = c->id();
    const auto it = m_connections.find(id);
    if (it != m_connections.end() && it->second == c)
        removeConnection(id);
}

bool TComDevice::handleCallEvent(const ksm::CMsg &msg, const std::string &type, int direction)
{
    // A call event without an id names no call: nothing is created for it.
    const std::string &idText = msg.value(kKeyId);
    if (idText.empty())
        return false;
    const int id = stringToInt(idText);
    if (TComBaseConnection *known = connection(id)) {
        passEvent(known, msg);
        return true;
    }

    const int link = TComBaseConnection::typeFromCommLink(msg.value(kKeyCommLink));
    auto created = std::make_unique<TComAudioConnection>(com(), link);
    created->attachIfIdle(direction, id, msg.value(kKeyNetwork));
    if (type == kEventDspStatus)
        created->updateRemoteAddresses(msg);
    TComAudioConnection *c = created.get();
    if (!addConnection(c))
        return true;
    created.release();
    // Its first state change happened before it had an owner.
    notifyAudioConnectionStateChanged(c);
    // A slot may have removed it meanwhile; it is alive until the event loop runs again.
    if (c->owner() == this)
        passEvent(c, msg);
    return true;
}

bool TComDevice::handleDataConnected(const ksm::CMsg &msg)
{
    const std::string &idText = msg.value(kKeyId);
    if (idText.empty())
        return false;
    const int id = stringToInt(idText);
    if (TComBaseConnection *known = connection(id)) {
        passEvent(known, msg);
        return true;
    }
    auto created = std::make_unique<TComDataConnection>(com());
    created->attach(id, msg.value(kKeyNetwork), TComDataConnection::StateKnown);
    TComDataConnection *c = created.get();
    if (!addConnection(c))
        return true;
    created.release();
    if (c->owner() == this)
        passEvent(c, msg);
    return true;
}

bool TComDevice::handleRelayInputs(const ksm::CMsg &msg)
{
    const std::string &idText = msg.value(kKeyId);
    if (!idText.empty()) {
        const TComBaseConnection *c = connection(stringToInt(idText));
        if (c && c->type() != TComBaseConnection::AudioLink1)
            return true;
    }
    const bool active1 = msg.value(kKeyRelay1) == kOn;
    const bool active2 = msg.value(kKeyRelay2) == kOn;
    const std::string &config1 = msg.value(kKeyConfig1);
    const std::string &config2 = msg.value(kKeyConfig2);
    if (m_relayInputsKnown && active1 == m_relayInput1.active && active2 == m_relayInput2.active
        && config1 == m_relayInput1.config && config2 == m_relayInput2.config) {
        return true;
    }
    m_relayInputsKnown = true;
    m_relayInput1.previousConfig = m_relayInput1.config;
    m_relayInput2.previousConfig = m_relayInput2.config;
    m_relayInput1.active = active1;
    m_relayInput2.active = active2;
    m_relayInput1.config = config1;
    m_relayInput2.config = config2;
    emitState(RelayInputsState);
    return true;
}
