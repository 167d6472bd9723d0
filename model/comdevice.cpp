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

const std::string kKeyDeviceOpts = "device_opts";
const std::string kKeyDefaultNetwork = "default_network";
const std::string kKeySecondaryNetwork = "secondary_network";

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
    m_defaultNetworkKnown = false;
    m_defaultNetworkTakenAt = -1;
    m_secondaryNetworkTakenAt = -1;
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
    if (network == m_defaultNetwork && m_defaultNetworkKnown)
        return true;
    if (send) {
        const WriteWatch watch;
        if (!writeAll(kTargetNetwork, {{kKeyDefaultNetwork, network}})) {
            // The unit may hold the old value or the new one: it holds neither as far as anyone
            // knows, until it is read again.
            if (watch.leftUnknown() && m_defaultNetworkKnown) {
                m_defaultNetworkKnown = false;
                emitState(DefaultNetworkState);
            }
            return false;
        }
        m_defaultNetworkTakenAt = takenAt();
    }
    const bool changed = network != m_defaultNetwork;
    m_defaultNetwork = network;
    m_defaultNetworkKnown = true;
    emitState(DefaultNetworkState);
    if (!changed)
        return true;

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
        if (!writeAll(kTargetNetwork, {{kKeySecondaryNetwork, network}}))
            return false;
        m_secondaryNetworkTakenAt = takenAt();
    }
    m_secondaryNetwork = network;
    emitState(SecondaryNetworkState);
    return true;
}

qint64 TComDevice::takenAt() const
{
    const ksm::CCom *client = com();
    return client ? client->signalsBeforeLastReply() : -1;
}

bool TComDevice::isOlderThan(qint64 takenAt) const
{
    const ksm::CCom *client = com();
    return client && takenAt >= 0 && client->handledSignal() <= takenAt;
}

bool TComDevice::readDefaultNetwork()
{
    std::map<std::string, std::string> values;
    if (!readAll(kTargetNetwork, {kKeyDefaultNetwork}, values))
        return false;
    m_defaultNetworkTakenAt = takenAt();
    return setDefaultNetwork(values[kKeyDefaultNetwork], false);
}

bool TComDevice::readSecondaryNetwork()
{
    std::map<std::string, std::string> values;
    if (!readAll(kTargetNetwork, {kKeySecondaryNetwork}, values))
        return false;
    m_secondaryNetworkTakenAt = takenAt();
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
    // Taken before the default network's reads of its interface make their own calls.
    const qint64 answeredAt = takenAt();
    m_defaultNetworkTakenAt = answeredAt;
    const bool result = setDefaultNetwork(values[kKeyDefaultNetwork], false);
    const auto secondary = values.find(kKeySecondaryNetwork);
    if (secondary == values.end())
        return result;
    m_secondaryNetworkTakenAt = answeredAt;
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

// --- Requests ----------------------------------------------------------------------------------

bool TComDevice::writeAll(const ksm::CMsg &address,
                          const std::map<std::string, std::string> &values)
{
    return m_request.writeParams(address, values, TComRequest::writeTimeoutMs()).holds(values);
}

bool TComDevice::writeAll(const std::string &target,
                          const std::map<std::string, std::string> &values)
{
    ksm::CMsg address(ksm::CMsg::Param);
    address.setParam(kKeyTarget, target);
    return writeAll(address, values);
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
