#include "model/comdevice.h"

#include "link/ccom.h"
#include "link/cmsg.h"
#include "link/comclient.h"
#include "link/protocolkeys.h"
#include "link/rpcasynccall.h"
#include "link/sharedobjects.h"
#include "link/valueconversions.h"
#include "model/comaudioconnection.h"
#include "model/comdataconnection.h"
#include "model/deviceoptionword.h"
#include "model/firmwareversion.h"
#include "model/modelkeys.h"

#include <memory>

namespace {

constexpr int kTimeoutMs = TComRequest::DefaultTimeoutMs;
// Reboot and shut-down pass less; the client raises it to its 5 s minimum.
constexpr int kPowerTimeoutMs = 300;

const std::string kOn = "on";
const std::string kOff = "off";
const std::string kEnabled = "enabled";
const std::string kDisabled = "disabled";
const std::string kStandard = "standard";
const std::string kExtended = "extended";
const std::string kCmodeNormal = "cmode_normal";
const std::string kCmodeDouble = "cmode_double";
const std::string kTypeIp = "ip";
const std::string kTypeIsdn = "isdn";

const std::string kKeyDeviceOpts = "device_opts";
const std::string kKeyDefaultNetwork = "default_network";
const std::string kKeySecondaryNetwork = "secondary_network";
const std::string kKeyOperationMode = "operation_mode";
const std::string kKeyAes67Reset = "aes67_reset";
const std::string kKeyAudio = "audio";
const std::string kKeyLevel = "level";
const std::string kKeyAutoJbuffer = "auto_jbuffer";
const std::string kKeyRelay1 = "relay1";
const std::string kKeyRelay2 = "relay2";
const std::string kKeyConfig1 = "config1";
const std::string kKeyConfig2 = "config2";
const std::string kKeyDcodec = "dcodec";

const std::string &value(const ksm::CMsg &msg, const std::string &key)
{
    return *msg.param(key, true);
}

bool startsWith(const std::string &text, const std::string &prefix, int &number)
{
    if (text.compare(0, prefix.size(), prefix) != 0)
        return false;
    number = stringToLong(text.substr(prefix.size()));
    return true;
}

} // namespace

TComDevice::TComDevice(ksm::CCom *com)
    : m_request(com)
    , m_aoipController(com)
    , m_ethernetController(com)
    , m_mobileController(com)
    , m_wifiController(com)
{
    m_relayInput2.number = 2;
    connect(&m_ethernetController,
            &TComController::controllerStateChanged,
            this,
            &TComDevice::ethernetControllerStateChanged);
    connect(&m_mobileController,
            &TComController::controllerStateChanged,
            this,
            &TComDevice::mobileControllerStateChanged);
    connect(&m_wifiController,
            &TComController::controllerStateChanged,
            this,
            &TComDevice::wifiControllerStateChanged);
}

TComDevice::~TComDevice()
{
    // The options described this device; none is connected once it goes.
    deviceOptionWord = 0;
    m_wifiController.disconnect();
    m_mobileController.disconnect();
    m_ethernetController.disconnect();
    // No action of a connection can be running while its device goes, so delete at once.
    while (!m_connections.empty())
        delete detachConnection(m_connections.begin());
}

// --- Life --------------------------------------------------------------------------------------

void TComDevice::reset(bool removeConnections)
{
    if (m_refreshing) {
        m_resetPending = true;
        m_resetRemovesConnections = m_resetRemovesConnections || removeConnections;
        return;
    }
    resetState(removeConnections);
}

void TComDevice::resetState(bool removeConnections)
{
    if (removeConnections)
        removeAllConnections();
    m_loaded = false;
    m_aes67Reset = false;
    m_mobileSignalBars = 0;
    m_wifiSignalBars = 0;
    m_codecMode = 0;
    m_coordinationMode = 0;
    m_dstreamMode = 0;
    m_operationMode = 0;
    m_coder1 = TCodecConfig();
    m_coder2 = TCodecConfig();
    m_defaultNetwork.clear();
    m_secondaryNetwork.clear();
    m_networks.clear();
    m_aoipController.reset();
    m_relayInputsKnown = false;
    m_relayInput1.active = false;
    m_relayInput1.config.clear();
    m_relayInput1.previousConfig.clear();
    m_relayInput2.active = false;
    m_relayInput2.config.clear();
    m_relayInput2.previousConfig.clear();
}

bool TComDevice::refresh()
{
    if (m_refreshing) {
        m_refreshPending = true;
        return false;
    }
    bool result = false;
    do {
        m_refreshPending = false;
        m_refreshing = true;
        result = runRefresh();
        m_refreshing = false;
        if (m_resetPending) {
            // A reset asked for meanwhile undoes what the refresh read; only a refresh asked for
            // after it loads the model again.
            m_resetPending = false;
            const bool removeConnections = m_resetRemovesConnections;
            m_resetRemovesConnections = false;
            resetState(removeConnections);
            result = false;
        }
    } while (m_refreshPending);
    return result;
}

bool TComDevice::runRefresh()
{
    const bool wasBlocked = blockSignals(true);
    resetState(false);
    readDeviceOptions();
    if (readNetworks() && m_networks.count(AoipFamily) != 0) {
        std::vector<std::string> aoipKeys{kAoipKeyAoipVersion, kAoipKeySipState, kAoipKeySipState2};
        if (firmwareAtLeast(kFirmware1_12))
            aoipKeys.push_back(kAoipKeyJitterab);
        if (m_aoipController.setNetwork(kDeviceKeyAoip, 0, false) && m_aoipController.read(aoipKeys)
            && readNetworkSettings() && readCodecSettings() && readAes67Reset()) {
            m_loaded = true;
            m_request.subscribe(kEventAudioChangeset);
            m_request.subscribe(kEventNetworkInfo);
            m_request.subscribe(kEventBatteryLevel);
        }
    }
    blockSignals(wasBlocked);
    if (!m_loaded)
        return false;
    emitState(DeviceStateAll);
    pickUpDataConnections();
    return true;
}

void TComDevice::pickUpDataConnections()
{
    // Copied: the synchronous queries below may let a slot change the map.
    const std::map<int, std::string> networks = m_networks;
    for (const auto &[networkId, network] : networks) {
        const int family = networkIdFamily(networkId);
        if (family != MobileFamily && family != WifiFamily)
            continue;
        auto c = std::make_unique<TComDataConnection>(com());
        const int id = c->queryId(network);
        if (id == -1 || m_connections.count(id) != 0)
            continue;
        if (c->state() == TComDataConnection::StateIdle)
            c->attach(id, network, TComDataConnection::StateConnected);
        TComDataConnection *raw = c.get();
        if (addConnection(raw)) {
            c.release();
            notifyDataConnectionStateChanged(raw);
        }
    }
}

bool TComDevice::readDeviceOptions()
{
    ksm::CMsg msg(ksm::CMsg::Param);
    msg.setParam(kKeyTarget, kTargetGeneral);
    msg.addList(kKeyDeviceOpts);
    std::vector<std::string> words;
    if (!m_request.list(msg, words, kTimeoutMs))
        return false;
    m_deviceOptions = 0;
    m_hardwareVariant = 0;
    for (const std::string &word : words)
        applyDeviceOption(word);
    deviceOptionWord = m_deviceOptions;
    return true;
}

void TComDevice::applyDeviceOption(const std::string &word)
{
    int n = 0;
    if (word == "ip_dcodec") {
        m_deviceOptions |= OptionIpDoubleCodec;
    } else if (word == "isdn_dcodec") {
        m_deviceOptions |= OptionIsdnDoubleCodec;
    } else if (word == "ravenna") {
        m_deviceOptions |= OptionRavenna;
    } else if (startsWith(word, "ravenna_", n)) {
        if (n == 2)
            m_deviceOptions |= OptionRavenna2;
    } else if (startsWith(word, "remote_access_", n)) {
        if (n > 0)
            m_deviceOptions |= OptionRemoteAccess;
        if (n > 2)
            m_deviceOptions |= OptionRemoteAccessFull;
    } else if (startsWith(word, "ip_dstream_", n)) {
        if (n > 0)
            m_deviceOptions |= OptionIpDoubleStream;
        if (n > 0 && n != 1)
            m_deviceOptions |= OptionIpDoubleStreamMulti;
    } else if (startsWith(word, "record_", n)) {
        if (n > 0)
            m_deviceOptions |= OptionRecord;
    } else if (startsWith(word, "hardware_", n)) {
        m_hardwareVariant = n;
        const int variant = n & 15;
        if (variant == 1 || variant == 3 || variant == 4)
            m_deviceOptions |= OptionHardware134;
        if (variant == 1 || variant == 2 || variant == 4)
            m_deviceOptions |= OptionHardware124;
        if (variant == 2)
            m_deviceOptions |= OptionHardware2;
        if (variant == 3)
            m_deviceOptions |= OptionHardware3;
    }
}

// --- Networks ----------------------------------------------------------------------------------

bool TComDevice::readNetworks()
{
    ksm::CMsg msg(ksm::CMsg::Param);
    msg.setParam(kKeyTarget, kTargetNetwork);
    msg.addList(kKeyNetwork);
    std::vector<std::string> items;
    if (!m_request.list(msg, items, kTimeoutMs))
        return false;
    m_networks.clear();
    for (const std::string &item : items) {
        const int networkId = networkFromString(item);
        if (networkId != NoNetwork)
            m_networks.emplace(networkId, item);
    }
    return !m_networks.empty();
}

bool TComDevice::hasNetwork(const std::string &network) const
{
    return m_networks.count(networkFromString(network)) != 0;
}

bool TComDevice::hasTransport(int kind) const
{
    for (const auto &entry : m_networks) {
        if (networkIdTransport(entry.first) == kind)
            return true;
    }
    return false;
}

int TComDevice::linkTransport(int link) const
{
    if (link == 2 && hasCoordinationLine())
        return TransportVoice;
    return networkTransport(m_defaultNetwork);
}

int TComDevice::connectionTransport(const TComBaseConnection *connection)
{
    if (!connection)
        return TransportNone;
    int txAlgorithm = -1;
    if (const auto *audio = qobject_cast<const TComAudioConnection *>(connection))
        txAlgorithm = audio->codecTx().algorithm;
    return callTransport(connection->id(), connection->network(), txAlgorithm);
}

bool TComDevice::setDefaultNetwork(const std::string &network, bool send)
{
    if (network == m_defaultNetwork)
        return true;
    if (send) {
        ksm::CMsg msg(ksm::CMsg::Param);
        msg.setParam(kKeyTarget, kTargetNetwork);
        msg.setParam(kKeyDefaultNetwork, network);
        if (!writeAll(msg))
            return false;
    }
    m_defaultNetwork = network;
    emitState(DefaultNetworkState);

    // The interface that now carries the calls is assigned and read at once; its own state
    // changes are covered by the one code emitted afterwards.
    switch (networkFamily(network)) {
    case EthernetFamily: {
        const bool wasBlocked = blockSignals(true);
        if (m_ethernetController.setNetwork(network, 0, false))
            m_ethernetController.read({kEthernetKeyMode, kEthernetKeyCable});
        blockSignals(wasBlocked);
        emitState(EthernetState);
        break;
    }
    case MobileFamily: {
        const bool wasBlocked = blockSignals(true);
        if (m_mobileController.setNetwork(network, 0, false))
            m_mobileController.read({kMobileKeyMode, kMobileKeySignalQuality});
        m_mobileSignalBars = mobileSignalBarsFor(m_mobileController.signalQuality());
        blockSignals(wasBlocked);
        emitState(MobileState);
        break;
    }
    case WifiFamily: {
        const bool wasBlocked = blockSignals(true);
        if (m_wifiController.setNetwork(network, 0, false))
            m_wifiController.read({kWifiKeySignalQuality});
        m_wifiSignalBars = wifiSignalBarsFor(m_wifiController.signalLevel());
        blockSignals(wasBlocked);
        emitState(WifiState);
        break;
    }
    default:
        break;
    }
    return true;
}

bool TComDevice::setSecondaryNetwork(const std::string &network, bool send)
{
    if (network == m_secondaryNetwork)
        return true;
    if (send) {
        ksm::CMsg msg(ksm::CMsg::Param);
        msg.setParam(kKeyTarget, kTargetNetwork);
        msg.setParam(kKeySecondaryNetwork, network);
        if (!writeAll(msg))
            return false;
    }
    m_secondaryNetwork = network;
    emitState(SecondaryNetworkState);
    return true;
}

bool TComDevice::readDefaultNetwork()
{
    std::map<std::string, std::string> values;
    if (!readAll(kTargetNetwork, {kKeyDefaultNetwork}, values))
        return false;
    return setDefaultNetwork(values[kKeyDefaultNetwork], false);
}

bool TComDevice::readSecondaryNetwork()
{
    std::map<std::string, std::string> values;
    if (!readAll(kTargetNetwork, {kKeySecondaryNetwork}, values))
        return false;
    return setSecondaryNetwork(values[kKeySecondaryNetwork], false);
}

bool TComDevice::readNetworkSettings()
{
    std::vector<std::string> keys{kKeyDefaultNetwork};
    if (m_deviceOptions & OptionIpDoubleStream)
        keys.push_back(kKeySecondaryNetwork);
    std::map<std::string, std::string> values;
    if (!readAll(kTargetNetwork, keys, values))
        return false;
    const bool result = setDefaultNetwork(values[kKeyDefaultNetwork], false);
    const auto secondary = values.find(kKeySecondaryNetwork);
    if (secondary == values.end())
        return result;
    return setSecondaryNetwork(secondary->second, false) && result;
}

int TComDevice::mobileSignalBarsFor(int quality)
{
    if (quality > 25)
        return 5;
    if (quality > 19)
        return 4;
    if (quality > 13)
        return 3;
    if (quality > 5)
        return 2;
    if (quality > 0)
        return 1;
    return 0;
}

int TComDevice::wifiSignalBarsFor(int quality)
{
    if (quality > 28)
        return 5;
    if (quality > 22)
        return 4;
    if (quality > 20)
        return 3;
    if (quality > 16)
        return 2;
    if (quality >= 12)
        return 1;
    return 0;
}

// --- Connections -------------------------------------------------------------------------------

bool TComDevice::addConnection(TComBaseConnection *c)
{
    if (!c || c->id() == -1 || c->network().empty() || m_connections.count(c->id()) != 0)
        return false;
    m_connections.emplace(c->id(), c);
    c->setParent(this);
    c->setOwner(this);
    emit connectionAdded(c);
    return true;
}

TComBaseConnection *TComDevice::detachConnection(std::map<int, TComBaseConnection *>::iterator it)
{
    TComBaseConnection *c = it->second;
    c->clearOwner(this);
    m_connections.erase(it);
    emit connectionRemoved(c);
    return c;
}

void TComDevice::removeConnection(int id)
{
    const auto it = m_connections.find(id);
    if (it == m_connections.end())
        return;
    // Later, not now: the connection's own code may be on the stack (an event handled inside
    // its hang-up's synchronous call).
    detachConnection(it)->deleteLater();
}

void TComDevice::removeAllConnections()
{
    // One at a time from the front: a slot of connectionRemoved may change the map.
    while (!m_connections.empty())
        detachConnection(m_connections.begin())->deleteLater();
}

TComBaseConnection *TComDevice::connection(int id) const
{
    const auto it = m_connections.find(id);
    return it == m_connections.end() ? nullptr : it->second;
}

TComBaseConnection *TComDevice::connectionOfType(int type) const
{
    for (const auto &entry : m_connections) {
        if (entry.second->type() == type)
            return entry.second;
    }
    return nullptr;
}

bool TComDevice::hasAudioConnection() const
{
    for (const auto &entry : m_connections) {
        if (entry.second->isAudio())
            return true;
    }
    return false;
}

TComAudioConnection *TComDevice::audioConnection(int link) const
{
    for (const auto &entry : m_connections) {
        const int type = entry.second->type();
        const bool match = link == 1 ? type == TComBaseConnection::AudioLink1
                                     : (type == TComBaseConnection::AudioLink2
                                        || type == TComBaseConnection::CoordinationLine);
        if (match)
            return static_cast<TComAudioConnection *>(entry.second);
    }
    return nullptr;
}

TComBaseConnection *TComDevice::findConnection(int type, const std::string &network) const
{
    for (const auto &entry : m_connections) {
        if (entry.second->type() == type && entry.second->network() == network)
            return entry.second;
    }
    return nullptr;
}

TComAudioConnection *TComDevice::findAudioConnection(const std::string &network) const
{
    for (const auto &entry : m_connections) {
        if (entry.second->isAudio() && entry.second->network() == network)
            return static_cast<TComAudioConnection *>(entry.second);
    }
    return nullptr;
}

TComAudioConnection *TComDevice::findAudioConnectionByTransport(int kind) const
{
    for (const auto &entry : m_connections) {
        if (entry.second->isAudio() && connectionTransport(entry.second) == kind)
            return static_cast<TComAudioConnection *>(entry.second);
    }
    return nullptr;
}

void TComDevice::notifyConnectionAdded(TComBaseConnection *c)
{
    emit connectionAdded(c);
}

void TComDevice::notifyConnectionRemoved(TComBaseConnection *c)
{
    emit connectionRemoved(c);
}

void TComDevice::notifyDataConnectionStateChanged(TComDataConnection *c)
{
    emit dataConnectionStateChanged(c);
}

void TComDevice::notifyAudioConnectionStateChanged(TComAudioConnection *c)
{
    emit audioConnectionStateChanged(c);
}

void TComDevice::notifyAudioCallStatusChanged(TComAudioConnection *c)
{
    emit audioCallStatusChanged(c);
}

void TComDevice::notifyAudioCallStatisticChanged(TComAudioConnection *c)
{
    emit audioCallStatisticChanged(c);
}

void TComDevice::notifyAudioCallRelayChanged(TComAudioConnection *c)
{
    emit audioCallRelayChanged(c);
}

// --- Device actions ----------------------------------------------------------------------------

bool TComDevice::powerRequestDone(ksm::CCom *client, const ksm::CMsg &msg)
{
    ksm::CMsg reply;
    const int result = client->sendSyncMsg(msg, reply, 1000, kPowerTimeoutMs);
    // A unit that restarts may drop the link before it answers, or have dropped it already;
    // an answer counts only when it is "OK" (a refusal is not a restart).
    if (result == 0)
        return *reply.param(kKeyReturn, true) == kReplyOk;
    return result == -3 || result == -6;
}

bool TComDevice::reboot()
{
    ksm::CCom *client = com();
    if (!client)
        return false;
    ksm::CMsg msg(ksm::CMsg::Do);
    msg.setParam(kKeyAction, kActionReboot);
    return powerRequestDone(client, msg);
}

bool TComDevice::shutdown()
{
    ksm::CCom *client = com();
    if (!client)
        return false;
    ksm::CMsg msg(ksm::CMsg::Do);
    msg.setParam(kKeyAction, kActionShutdown);
    return powerRequestDone(client, msg);
}

// --- Messages ----------------------------------------------------------------------------------

bool TComDevice::handleInfo(const ksm::CMsg &msg)
{
    const std::string &type = value(msg, kKeyInfoType);
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
        const std::string &level = value(msg, kKeyLevel);
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
        const std::string &reset = value(msg, kKeyAes67Reset);
        if (!reset.empty())
            setAes67Reset(reset == kOn, false);
        return true;
    }
    return false;
}

bool TComDevice::handleEvent(const ksm::CMsg &msg)
{
    const std::string &type = value(msg, kKeyEventType);
    if (type.empty())
        return false;

    if (type == kEventDefaultNetwork) {
        setDefaultNetwork(value(msg, kKeyNetwork), false);
        return true;
    }
    if (type == kEventSecondaryNetwork) {
        setSecondaryNetwork(value(msg, kKeyNetwork), false);
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
        m_aoipController.setJitterab(value(msg, kKeyAutoJbuffer) == kOn, false);
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

    const std::string &id = value(msg, kKeyId);
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
    const std::string &idText = value(msg, kKeyId);
    if (idText.empty())
        return false;
    const int id = stringToInt(idText);
    if (TComBaseConnection *known = connection(id)) {
        passEvent(known, msg);
        return true;
    }

    const int link = TComBaseConnection::typeFromCommLink(value(msg, kKeyCommLink));
    auto created = std::make_unique<TComAudioConnection>(com(), link);
    created->attachIfIdle(direction, id, value(msg, kKeyNetwork));
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
    const std::string &idText = value(msg, kKeyId);
    if (idText.empty())
        return false;
    const int id = stringToInt(idText);
    if (TComBaseConnection *known = connection(id)) {
        passEvent(known, msg);
        return true;
    }
    auto created = std::make_unique<TComDataConnection>(com());
    created->attach(id, value(msg, kKeyNetwork), TComDataConnection::StateKnown);
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
    const std::string &idText = value(msg, kKeyId);
    if (!idText.empty()) {
        const TComBaseConnection *c = connection(stringToInt(idText));
        if (c && c->type() != TComBaseConnection::AudioLink1)
            return true;
    }
    const bool active1 = value(msg, kKeyRelay1) == kOn;
    const bool active2 = value(msg, kKeyRelay2) == kOn;
    const std::string &config1 = value(msg, kKeyConfig1);
    const std::string &config2 = value(msg, kKeyConfig2);
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

void TComDevice::handleDefaultCodec(const ksm::CMsg &msg)
{
    const std::string &operation = value(msg, kKeyOperationMode);
    if (operation == kStandard)
        setOperationMode(0, false);
    else if (operation == kExtended)
        setOperationMode(1, false);

    const std::string &codecMode = value(msg, kKeyCodecMode);
    if (codecMode == kCmodeNormal) {
        if (value(msg, kKeyType) == kTypeIp) {
            const std::string &dstream = value(msg, kKeyDstreamMode);
            if (dstream == kDisabled)
                setDstreamMode(0);
            else if (dstream == kEnabled)
                setDstreamMode(1);
        }
        const std::string &coordination = value(msg, kKeyCoordMode);
        if (coordination == kDisabled)
            setCoordinationMode(0, false);
        else if (coordination == kEnabled)
            setCoordinationMode(1, false);
        setCodecMode(0, false);
        const std::string &codec = value(msg, kKeyCodec);
        if (!codec.empty())
            setCodec(1, codec, false);
    } else if (codecMode == kCmodeDouble) {
        setDstreamMode(0);
        setCoordinationMode(0, false);
        setCodecMode(1, false);
        const std::string &codec1 = value(msg, kKeyDcodec1);
        const std::string &codec2 = value(msg, kKeyDcodec2);
        if (!codec1.empty())
            setCodec(1, codec1, false);
        if (!codec2.empty())
            setCodec(2, codec2, false);
    }
}

void TComDevice::handleCodecChange(const ksm::CMsg &msg)
{
    if (value(msg, kKeyType) != kTypeIp)
        return;
    const std::string &codecMode = value(msg, kKeyCodecMode);
    if (codecMode == kCmodeNormal) {
        const std::string &dstream = value(msg, kKeyDstreamMode);
        if (dstream == kEnabled)
            setDstreamMode(1);
        else if (dstream == kDisabled)
            setDstreamMode(0);
    } else if (codecMode == kCmodeDouble) {
        setDstreamMode(0);
    }
}

// --- Coding ------------------------------------------------------------------------------------

bool TComDevice::writeAll(const ksm::CMsg &msg)
{
    return m_request.setParams(msg, kTimeoutMs) == static_cast<int>(msg.params().size());
}

bool TComDevice::readAll(const std::string &target,
                         const std::vector<std::string> &keys,
                         std::map<std::string, std::string> &values)
{
    ksm::CMsg msg(ksm::CMsg::Param);
    msg.setParam(kKeyTarget, target);
    for (const std::string &key : keys)
        msg.addGet(key);
    std::map<std::string, std::string> failed;
    if (m_request.getParams(msg, values, failed, m_readTimeoutMs) < 0)
        return false;
    for (const std::string &key : keys) {
        if (values.count(key) == 0)
            return false;
    }
    return true;
}

bool TComDevice::setCodecMode(int mode, bool send)
{
    if (mode == m_codecMode)
        return true;
    if (send) {
        const bool isDouble = mode == 1;
        ksm::CMsg network(ksm::CMsg::Param);
        network.setParam(kKeyTarget, kTargetNetwork);
        network.setParam(kKeyNetwork, kDeviceKeyAoip);
        network.setParam(kAoipKeyDoubleCodec, isDouble ? kOn : kOff);
        if (isDouble)
            network.setParam(kAoipKeyAudioMode, "SIP");
        if (!writeAll(network))
            return false;

        const std::string &word = isDouble ? kCmodeDouble : kCmodeNormal;
        ksm::CMsg audio(ksm::CMsg::Param);
        audio.setParam(kKeyTarget, kTargetAudio);
        audio.setParam("ip-" + kKeyCodecMode, word);
        if (m_deviceOptions & OptionIsdnDoubleCodec)
            audio.setParam("isdn-" + kKeyCodecMode, word);
        if (!writeAll(audio))
            return false;

        ksm::CMsg reinit(ksm::CMsg::Do);
        reinit.setParam(kKeyAction, kActionReinit);
        reinit.setParam(kKeyTarget, kTargetNetwork);
        reinit.setParam(kKeyNetwork, kDeviceKeyAoip);
        if (!m_request.execute(reinit, kTimeoutMs))
            return false;
    }
    m_codecMode = mode;
    emitState(CodecModeState);
    return true;
}

bool TComDevice::setCoordinationMode(int mode, bool send)
{
    if (mode == m_coordinationMode)
        return true;
    if (send) {
        ksm::CMsg msg(ksm::CMsg::Param);
        msg.setParam(kKeyTarget, kTargetAudio);
        msg.setParam(kKeyCoordMode, mode == 1 ? kEnabled : kDisabled);
        if (!writeAll(msg))
            return false;
    }
    m_coordinationMode = mode;
    emitState(CoordinationModeState);
    return true;
}

bool TComDevice::setOperationMode(int mode, bool send)
{
    if (mode == m_operationMode)
        return true;
    if (send) {
        const std::string &word = mode == 0 ? kStandard : kExtended;
        for (const std::string *part : {&kDeviceKeyDsp, &kDeviceKeyAic}) {
            ksm::CMsg audio(ksm::CMsg::Param);
            audio.setParam(kKeyTarget, kTargetAudio);
            audio.setParam(kKeyAudio, *part);
            audio.setParam(kKeyOperationMode, word);
            if (!writeAll(audio))
                return false;
        }
        ksm::CMsg network(ksm::CMsg::Param);
        network.setParam(kKeyTarget, kTargetNetwork);
        network.setParam(kKeyNetwork, kDeviceKeyAoip);
        network.setParam(kKeyOperationMode, word);
        if (!writeAll(network))
            return false;

        ksm::CMsg reinit(ksm::CMsg::Do);
        reinit.setParam(kKeyAction, kActionReinit);
        reinit.setParam(kKeyTarget, kTargetNetwork);
        reinit.setParam(kKeyNetwork, kDeviceKeyAoip);
        if (!m_request.execute(reinit, kTimeoutMs))
            return false;
    }
    m_operationMode = mode;
    emitState(OperationModeState);
    return true;
}

bool TComDevice::setCodec(int coder, const std::string &codec, bool send)
{
    const TCodecConfig parsed = codecConfigFromString(codec);
    if (parsed.algorithm == -1)
        return true;
    TCodecConfig &stored = coder == 2 ? m_coder2 : m_coder1;
    if (parsed == stored)
        return true;
    if (send) {
        ksm::CMsg msg(ksm::CMsg::Param);
        msg.setParam(kKeyTarget, kTargetAudio);
        const std::string &key = coder == 2         ? kKeyDcodec2
                                 : m_codecMode == 1 ? kKeyDcodec1
                                                    : kKeyCodec;
        msg.setParam(key, codec);
        if (!writeAll(msg))
            return false;
    }
    stored = parsed;
    emitState(coder == 2 ? Coder2State : Coder1State);
    return true;
}

bool TComDevice::setAes67Reset(bool on, bool send)
{
    if (on == m_aes67Reset)
        return true;
    if (send) {
        ksm::CMsg msg(ksm::CMsg::Param);
        msg.setParam(kKeyTarget, kTargetAudio);
        msg.setParam(kKeyAes67Reset, on ? kOn : kOff);
        if (!writeAll(msg))
            return false;
    }
    m_aes67Reset = on;
    emitState(Aes67ResetState);
    return true;
}

void TComDevice::setDstreamMode(int value)
{
    if (value == m_dstreamMode)
        return;
    m_dstreamMode = value;
    emitState(DstreamModeState);
}

bool TComDevice::readCodecSettings()
{
    std::vector<std::string> keys{
        kKeyCodecMode, kKeyCoordMode, kKeyCodec, kKeyDcodec1, kKeyDcodec2};
    if (firmwareAtLeast(kFirmware2_0))
        keys.push_back(kKeyOperationMode);
    if (m_deviceOptions & OptionIpDoubleStream)
        keys.push_back(kKeyDstreamMode);
    std::map<std::string, std::string> values;
    if (!readAll(kTargetAudio, keys, values))
        return false;

    const auto present = [&values](const std::string &key) { return values.count(key) != 0; };
    const bool isDouble = present(kKeyCodecMode) && values[kKeyCodecMode] == kCmodeDouble;
    if (present(kKeyCoordMode))
        m_coordinationMode = values[kKeyCoordMode] == kEnabled ? 1 : 0;
    if (present(kKeyOperationMode))
        m_operationMode = values[kKeyOperationMode] != kStandard ? 1 : 0;
    if (present(kKeyDstreamMode))
        m_dstreamMode = values[kKeyDstreamMode] == kEnabled ? 1 : 0;
    m_coder1 = TCodecConfig();
    m_coder2 = TCodecConfig();
    if (!isDouble) {
        if (present(kKeyCodec))
            m_coder1 = codecConfigFromString(values[kKeyCodec]);
    } else {
        if (present(kKeyDcodec1))
            m_coder1 = codecConfigFromString(values[kKeyDcodec1]);
        if (present(kKeyDcodec2))
            m_coder2 = codecConfigFromString(values[kKeyDcodec2]);
    }
    return setCodecMode(isDouble ? 1 : 0, false);
}

bool TComDevice::readAes67Reset()
{
    if (!firmwareAtLeast(kFirmware1_13))
        return true;
    ksm::CMsg msg(ksm::CMsg::Param);
    msg.setParam(kKeyTarget, kTargetAudio);
    msg.addGet(kKeyAes67Reset);
    std::map<std::string, std::string> values;
    std::map<std::string, std::string> failed;
    // A device that cannot tell keeps the flag as it was; only a reply without the key fails.
    if (m_request.getParams(msg, values, failed, kTimeoutMs) != 1)
        return true;
    const auto it = values.find(kKeyAes67Reset);
    if (it == values.end())
        return false;
    m_aes67Reset = it->second == kOn;
    return true;
}

std::string TComDevice::txCodecKey(int coder, const std::string &transport) const
{
    std::string prefix;
    if (transport == kTypeIp)
        prefix = "ip-";
    else if (transport == kTypeIsdn && (m_deviceOptions & OptionIsdnDoubleCodec))
        prefix = "isdn-";
    else
        return {};
    return prefix + (coder == 2 ? kKeyDcodecTx2 : kKeyDcodecTx1);
}

bool TComDevice::readTxCodec(int coder, const std::string &transport, TCodecConfig &out)
{
    const std::string key = txCodecKey(coder, transport);
    if (key.empty())
        return false;
    std::map<std::string, std::string> values;
    if (!readAll(kTargetAudio, {key}, values))
        return false;
    out = codecConfigFromString(values[key]);
    return true;
}

bool TComDevice::writeTxCodec(int coder, const std::string &transport, const std::string &codec)
{
    const std::string key = txCodecKey(coder, transport);
    if (key.empty())
        return false;
    ksm::CMsg msg(ksm::CMsg::Param);
    msg.setParam(kKeyTarget, kTargetAudio);
    msg.setParam(key, codec);
    return writeAll(msg);
}

int TComDevice::audioRouting() const
{
    if (!m_loaded)
        return RoutingMono;
    const int mode = m_coder1.channelMode;
    if (m_codecMode == 1)
        return mode == 1 || mode == 2 ? RoutingDoubleStereo : RoutingDouble;
    switch (mode) {
    case 2:
        return m_coordinationMode == 1 && isExtendedMode() ? RoutingCoordination : RoutingStereo;
    case 1:
        return m_coordinationMode == 1 ? RoutingCoordination : RoutingDualMono;
    case 0:
        return m_coordinationMode == 1 ? RoutingMonoCoordination : RoutingMono;
    default:
        return RoutingMono;
    }
}

int TComDevice::currentAudioRouting() const
{
    if (!m_loaded)
        return RoutingMono;
    const TComAudioConnection *call = audioConnection(1);
    if (!call || call->codecTx().algorithm == -1)
        return audioRouting();
    const int mode = call->codecTx().channelMode;
    const bool coordination = m_coordinationMode == 1;
    if (m_codecMode == 1) {
        if (mode == 1 || mode == 2)
            return RoutingDoubleStereo;
        if (mode == 0)
            return RoutingDouble;
        return audioRouting();
    }
    switch (mode) {
    case 2:
        return coordination ? RoutingCoordination : RoutingStereo;
    case 1:
        return coordination ? RoutingCoordination : RoutingDualMono;
    case 0:
        return coordination ? RoutingMonoCoordination : RoutingMono;
    default:
        return audioRouting();
    }
}

bool TComDevice::isDoubleCodecRouting() const
{
    const int routing = audioRouting();
    return routing == RoutingDouble || routing == RoutingDoubleStereo;
}

bool TComDevice::hasCoordinationLine() const
{
    const int routing = audioRouting();
    return routing == RoutingMonoCoordination || routing == RoutingCoordination;
}

bool TComDevice::listCapability(ksm::CMsg &msg,
                                const std::string &listName,
                                int family,
                                std::vector<std::string> &items)
{
    if (family == EthernetFamily || family == MobileFamily || family == WifiFamily)
        msg.setParam(kKeyNetwork, kTypeIp);
    else if (family == IsdnFamily)
        msg.setParam(kKeyNetwork, kTypeIsdn);
    msg.addList(listName);
    return m_request.list(msg, items, kTimeoutMs);
}

namespace {

ksm::CMsg capabilityMessage(int codecMode)
{
    ksm::CMsg msg(ksm::CMsg::Param);
    msg.setParam(kKeyTarget, kTargetAudio);
    msg.setParam(kKeyCodecMode, codecMode == 1 ? "double_codec" : "single_codec");
    return msg;
}

} // namespace

bool TComDevice::listAlgorithms(int codecMode, std::vector<int> &out, int family)
{
    out.clear();
    ksm::CMsg msg = capabilityMessage(codecMode);
    std::vector<std::string> items;
    if (!listCapability(msg, kKeyAlg, family, items))
        return false;
    for (const std::string &item : items)
        out.push_back(codecFromString(item));
    return true;
}

bool TComDevice::listChannelModes(
    int codecMode, int algorithm, int coder, std::vector<int> &out, int family)
{
    out.clear();
    ksm::CMsg msg = capabilityMessage(codecMode);
    msg.setParam(kKeyAlg, codecToString(algorithm));
    if (isExtendedMode() && codecMode == 1)
        msg.setParam(kKeyDcodec, coder == 2 ? kKeyDcodec2 : kKeyDcodec1);
    std::vector<std::string> items;
    if (!listCapability(msg, kKeyMode, family, items))
        return false;
    for (const std::string &item : items)
        out.push_back(channelModeFromString(item));
    return true;
}

bool TComDevice::listSampleRates(
    int codecMode, int algorithm, int channelMode, std::vector<int> &out, int family)
{
    out.clear();
    ksm::CMsg msg = capabilityMessage(codecMode);
    msg.setParam(kKeyAlg, codecToString(algorithm));
    msg.setParam(kKeyMode, channelModeToString(channelMode));
    std::vector<std::string> items;
    if (!listCapability(msg, kKeySamplerate, family, items))
        return false;
    for (const std::string &item : items)
        out.push_back(stringToInt(item));
    return true;
}

bool TComDevice::listBitRates(int codecMode,
                              int algorithm,
                              int channelMode,
                              int sampleRate,
                              std::vector<int> &out,
                              int family)
{
    out.clear();
    ksm::CMsg msg = capabilityMessage(codecMode);
    msg.setParam(kKeyAlg, codecToString(algorithm));
    msg.setParam(kKeyMode, channelModeToString(channelMode));
    msg.setParam(kKeySamplerate, longToString(sampleRate));
    std::vector<std::string> items;
    if (!listCapability(msg, kKeyBitrate, family, items))
        return false;
    for (const std::string &item : items)
        out.push_back(stringToInt(item));
    return true;
}

// --- Controller state ----------------------------------------------------------------------

void TComDevice::ethernetControllerStateChanged(TComController *)
{
    emitState(EthernetState);
}

void TComDevice::mobileControllerStateChanged(TComController *)
{
    emitState(MobileState);
}

void TComDevice::wifiControllerStateChanged(TComController *)
{
    emitState(WifiState);
}

void TComDevice::emitState(DeviceState state)
{
    emit deviceStateChanged(state);
}

TComDevice::ReadFailure TComDevice::readFailureOf(int callResult) const
{
    const ksm::CCom *client = com();
    // A call cancelled or refused for want of a link: the link went down before or during it.
    if (!client || client->state() != RpcConnection::Connected
        || callResult == RpcAsyncCall::NotConnected || callResult == RpcAsyncCall::Cancelled)
        return ReadFailure::NotConnected;
    if (callResult == RpcAsyncCall::Timeout)
        return ReadFailure::NoAnswer;
    return ReadFailure::Refused;
}

// --- Accessor ----------------------------------------------------------------------------------

TComDevice *comDevice()
{
    static SharedObject<TComDevice> device;
    return device.instance([] { return comClient(); });
}
