#include "model/comaudioconnection.h"

#include "link/ccom.h"
#include "link/cmsg.h"
#include "link/protocolkeys.h"
#include "link/valueconversions.h"
#include "model/comdevice.h"
#include "model/comrequest.h"

#include <vector>

namespace {

constexpr int kCommandTimeoutMs = 5000;
// The cause code of a call that failed before the device could give a reason.
constexpr int kUnknownCause = 200;

const std::string kKeyBChannel = "bchannelno";
const std::string kKeySubBus = "sb";
const std::string kKeyStreamId = "stream_id";
const std::string kKeyAutoBitrate = "auto_bitrate";
const std::string kKeyRelay = "relay";
const std::string kKeyRelay1 = "relay1";
const std::string kKeyRelay2 = "relay2";
const std::string kKeyNetQuality = "net-quality";
const std::string kOn = "on";

const std::string kDspNegotiating = "negotiating";
const std::string kDspWaitingForSync = "waiting for sync";
const std::string kDspSync = "sync";
const std::string kDspSyncLost = "sync lost";

// Replaces field by the integer value of key when the report carries a non-empty one.
void takeInt(const ksm::CMsg &msg, const char *key, qint32 &field)
{
    const std::string &text = msg.value(key);
    if (!text.empty())
        field = stringToLong(text);
}

} // namespace

TComAudioConnection::TComAudioConnection(ksm::CCom *com, int commLink)
    : TComBaseConnection(com,
                         commLink == 0   ? AudioLink1
                         : commLink == 1 ? AudioLink2
                                         : CoordinationLine)
{}

TComAudioConnection::~TComAudioConnection() = default;

TCodecConfig TComAudioConnection::coordinationLineCodec()
{
    TCodecConfig codec;
    codec.algorithm = TComDevice::GsmAlgorithm;
    return codec;
}

void TComAudioConnection::setOwner(TComDevice *device)
{
    TComBaseConnection::setOwner(device);
    m_doubleCodec = device && device->codecMode() == 1;
}

void TComAudioConnection::reset()
{
    TComBaseConnection::reset();
    m_codecRx = TCodecConfig();
    m_codecTx = TCodecConfig();
    m_direction = DirectionNone;
    m_streamAddressing = false;
    m_relayMode = false;
    m_autoBitrate = false;
    m_ringCount = 0;
    m_rxStatistics[0] = m_rxStatistics[1] = RxQualityReport();
    m_txStatistics[0] = m_txStatistics[1] = TxQualityReport();
    m_relaysValid = false;
    m_relay1 = false;
    m_relay2 = false;
    m_cause.clear();
    clearRemoteAddresses();
    setStatus(StateIdle, StatusNone);
}

void TComAudioConnection::setStatus(int state, int status)
{
    const bool stateChanged = state != m_state;
    bool statusChanged = false;
    if (status == m_status && status != StatusRinging && status != StatusSync) {
        if (!stateChanged)
            return;
        m_state = state;
    } else {
        m_state = state;
        m_previousStatus = m_status;
        m_status = status;
        statusChanged = true;
    }
    if (status == StatusRinging)
        ++m_ringCount;
    if (!m_owner)
        return;
    // The owner's slots may remove this connection from the map; it stays alive until control
    // returns to the event loop, so finishing here is safe.
    TComDevice *owner = m_owner;
    if (statusChanged)
        owner->notifyAudioCallStatusChanged(this);
    if (stateChanged)
        owner->notifyAudioConnectionStateChanged(this);
}

void TComAudioConnection::bindCall(int direction, int id, const std::string &network, int status)
{
    m_ringCount = 0;
    m_id = id;
    m_direction = direction;
    m_network = network;
    if (m_type == CoordinationLine) {
        m_codecRx = coordinationLineCodec();
        m_codecTx = coordinationLineCodec();
    }
    setStatus(StateSettingUp, status);
}

bool TComAudioConnection::attach(int direction, int id, const std::string &network)
{
    bindCall(direction, id, network, StatusNone);
    return true;
}

bool TComAudioConnection::attachIfIdle(int direction, int id, const std::string &network)
{
    if (m_state != StateIdle)
        return false;
    return attach(direction, id, network);
}

void TComAudioConnection::clearRemoteAddresses()
{
    m_remoteAddresses.clear();
    m_remoteAddress1.clear();
    m_remoteAddress2.clear();
    m_remoteAddress3.clear();
    m_remoteAddress4.clear();
}

void TComAudioConnection::setRemoteAddresses(const std::string &list)
{
    clearRemoteAddresses();
    std::vector<std::string> parts;
    if (split(list, parts, ",") == 0)
        return;
    m_remoteAddresses = list;
    std::string *fields[]
        = {&m_remoteAddress1, &m_remoteAddress2, &m_remoteAddress3, &m_remoteAddress4};
    for (size_t i = 0; i < parts.size() && i < 4; ++i)
        *fields[i] = parts[i];
}

void TComAudioConnection::updateRemoteAddresses(const ksm::CMsg &msg)
{
    const std::string &address = msg.value(kKeyRemoteAddr);
    if (address.empty())
        return;

    const std::string &channel = msg.value(kKeyBChannel);
    const std::string &stream = msg.value(kKeyStreamId);
    if (!channel.empty()) {
        std::string *target = nullptr;
        if (m_doubleCodec) {
            target = &m_remoteAddress1;
        } else {
            const bool secondBus = msg.value(kKeySubBus) == "1";
            if (channel == "1")
                target = secondBus ? &m_remoteAddress3 : &m_remoteAddress1;
            else if (channel == "2")
                target = secondBus ? &m_remoteAddress4 : &m_remoteAddress2;
        }
        if (target && target->empty())
            *target = address;
    } else if (!stream.empty()) {
        m_streamAddressing = true;
        (stream == "2" ? m_remoteAddress2 : m_remoteAddress1) = address;
    } else {
        m_remoteAddress1 = address;
        const std::string &address2 = msg.value(kKeyRemoteAddr2);
        const std::string &address3 = msg.value(kKeyRemoteAddr3);
        const std::string &address4 = msg.value(kKeyRemoteAddr4);
        if (!address2.empty())
            m_remoteAddress2 = address2;
        if (!address3.empty())
            m_remoteAddress3 = address3;
        if (!address4.empty())
            m_remoteAddress4 = address4;
    }

    m_remoteAddresses.clear();
    for (const std::string *field :
         {&m_remoteAddress1, &m_remoteAddress2, &m_remoteAddress3, &m_remoteAddress4}) {
        if (field->empty())
            continue;
        if (!m_remoteAddresses.empty())
            m_remoteAddresses += ',';
        m_remoteAddresses += *field;
    }
}

void TComAudioConnection::takeCodecs(const ksm::CMsg &msg)
{
    const std::string &rx = msg.value(kKeyCodecRx);
    const std::string &tx = msg.value(kKeyCodecTx);
    if (!rx.empty())
        m_codecRx = codecConfigFromString(rx);
    if (!tx.empty())
        m_codecTx = codecConfigFromString(tx);
}

void TComAudioConnection::applyStatistics(const ksm::CMsg &msg, bool transmit)
{
    const std::string &quality = msg.value(kKeyNetQuality);
    if (quality.empty())
        return;
    const int stream = msg.value(kKeyStreamId) == "2" ? 1 : 0;
    if (transmit) {
        TxQualityReport &report = m_txStatistics[stream];
        report.netQuality = stringToLong(quality);
        takeInt(msg, "duration", report.duration);
        takeInt(msg, "pkts-total", report.packetsTotal);
        takeInt(msg, "pkts-lost", report.packetsLost);
        takeInt(msg, "jtr-avg", report.jitterAverage);
        takeInt(msg, "jtr-max", report.jitterMax);
    } else {
        RxQualityReport &report = m_rxStatistics[stream];
        report.netQuality = stringToLong(quality);
        takeInt(msg, "duration", report.duration);
        takeInt(msg, "pkts-total", report.packetsTotal);
        takeInt(msg, "pkts-lost", report.packetsLost);
        takeInt(msg, "pkts-discarded", report.packetsDiscarded);
        takeInt(msg, "pkts-duplicated", report.packetsDuplicated);
        takeInt(msg, "pkts-reorderd", report.packetsReordered);
        takeInt(msg, "jtr-avg", report.jitterAverage);
        takeInt(msg, "jtr-max", report.jitterMax);
        takeInt(msg, "jb-curr", report.bufferCurrent);
        takeInt(msg, "jb-mark", report.bufferMark);
    }
    if (m_owner)
        m_owner->notifyAudioCallStatisticChanged(this);
}

void TComAudioConnection::applyRelayOutputs(const ksm::CMsg &msg)
{
    const bool out1 = msg.value(kKeyRelay1) == kOn;
    const bool out2 = msg.value(kKeyRelay2) == kOn;
    if (m_relaysValid && out1 == m_relay1 && out2 == m_relay2)
        return;
    m_relaysValid = true;
    m_relay1 = out1;
    m_relay2 = out2;
    if (m_owner)
        m_owner->notifyAudioCallRelayChanged(this);
}

bool TComAudioConnection::handleEvent(const ksm::CMsg &msg)
{
    const std::string &type = msg.value(kKeyEventType);
    const std::string &id = msg.value(kKeyId);
    if (type.empty() || id.empty() || stringToInt(id) != m_id)
        return false;

    if (type == kEventRelayOut) {
        applyRelayOutputs(msg);
        return true;
    }

    const std::string &network = msg.value(kKeyNetwork);
    if (network.empty() || network != m_network)
        return false;

    if (type == kEventCallReceived) {
        setStatus(StateSettingUp, StatusRinging);
    } else if (type == kEventCallRing) {
        updateRemoteAddresses(msg);
        setStatus(StateSettingUp, StatusRinging);
    } else if (type == kEventCallInfo) {
        updateRemoteAddresses(msg);
    } else if (type == kEventCallAutoRedial) {
        setStatus(StateSettingUp, StatusAutoRedial);
    } else if (type == kEventCallProceeding) {
        setStatus(StateSettingUp, StatusProceeding);
    } else if (type == kEventCallActive) {
        updateRemoteAddresses(msg);
        if (m_type != CoordinationLine) {
            takeCodecs(msg);
            const std::string &autoBitrate = msg.value(kKeyAutoBitrate);
            if (!autoBitrate.empty())
                m_autoBitrate = autoBitrate == kOn;
        }
        setStatus(StateActive, StatusActive);
        if (m_type == CoordinationLine)
            setStatus(StateActive, StatusSync);
    } else if (type == kEventDspStatus) {
        updateRemoteAddresses(msg);
        const std::string &dspState = msg.value(kKeyState);
        if (dspState == kDspNegotiating) {
            setStatus(StateActive, StatusNegotiating);
        } else if (dspState == kDspWaitingForSync) {
            setStatus(StateActive, StatusWaitingForSync);
        } else if (dspState == kDspSync) {
            takeCodecs(msg);
            const std::string &relay = msg.value(kKeyRelay);
            if (!relay.empty())
                m_relayMode = relay == kOn;
            setStatus(StateActive, StatusSync);
        } else if (dspState == kDspSyncLost) {
            setStatus(StateActive, StatusSyncLost);
        }
    } else if (type == kEventCallDisconnected) {
        setStatus(StateDisconnecting, StatusDisconnecting);
    } else if (type == kEventCallReleased) {
        m_cause = msg.value(kKeyCause);
        setStatus(StateEnded, StatusReleased);
    } else if (type == kEventCallError) {
        m_cause = msg.value(kKeyCause);
        setStatus(StateEnded, StatusError);
    } else if (type == kEventCallLost) {
        m_cause = msg.value(kKeyCause);
        setStatus(StateEnded, StatusLost);
    } else if (type == kEventTxQualityReport) {
        applyStatistics(msg, true);
    } else if (type == kEventRxQualityReport) {
        applyStatistics(msg, false);
    } else {
        return false;
    }
    return true;
}

bool TComAudioConnection::sendCommand(const ksm::CMsg &msg, ksm::CMsg &reply, bool *callFailed)
{
    const int result = m_com->sendSyncMsg(msg, reply, 1000, kCommandTimeoutMs);
    if (callFailed)
        *callFailed = result != 0;
    return result == 0 && reply.value(kKeyReturn) == kReplyOk;
}

int TComAudioConnection::dial(const std::string &network, const std::string &addressList)
{
    if (!m_com || m_state != StateIdle)
        return kUnknownCause;

    setRemoteAddresses(addressList);
    ksm::CMsg msg(ksm::CMsg::Do);
    msg.setParam(kKeyAction, kActionCon);
    msg.setParam(kKeyCommLink, commLinkText(m_type));
    msg.setParam(kKeyRemoteAddr, m_remoteAddress1);
    msg.setParam(kKeyNetwork, network);
    // Further addresses only while the ones before them are present.
    if (!m_remoteAddress2.empty()) {
        msg.setParam(kKeyRemoteAddr2, m_remoteAddress2);
        if (!m_remoteAddress3.empty()) {
            msg.setParam(kKeyRemoteAddr3, m_remoteAddress3);
            if (!m_remoteAddress4.empty())
                msg.setParam(kKeyRemoteAddr4, m_remoteAddress4);
        }
    }
    // The connection keeps no dialled address: the device reports the remote side itself.
    clearRemoteAddresses();

    ksm::CMsg reply;
    bool callFailed = false;
    if (!sendCommand(msg, reply, &callFailed))
        return callFailed ? kUnknownCause : reply.causeCode();

    bindCall(DirectionOutgoing, stringToInt(reply.value(kKeyId)), network, StatusDialled);
    return 0;
}

bool TComAudioConnection::accept(int id, const std::string &network)
{
    if (!m_com || m_state != StateIdle)
        return false;

    ksm::CMsg msg(ksm::CMsg::Do);
    msg.setParam(kKeyAction, kActionConacc);
    msg.setParam(kKeyId, longToString(id));
    msg.setParam(kKeyNetwork, network);
    ksm::CMsg reply;
    if (!sendCommand(msg, reply))
        return false;

    // The device names the accepted call; a reply without the id still means the one asked for.
    const std::string &acceptedId = reply.value(kKeyId);
    bindCall(DirectionIncoming,
             acceptedId.empty() ? id : stringToInt(acceptedId),
             network,
             StatusAccepted);
    return true;
}

bool TComAudioConnection::releaseCall(int id, const std::string &network)
{
    if (!m_com)
        return false;

    ksm::CMsg msg(ksm::CMsg::Do);
    msg.setParam(kKeyAction, kActionDcon);
    msg.setParam(kKeyNetwork, network);
    msg.setParam(kKeyId, longToString(id));
    ksm::CMsg reply;
    return sendCommand(msg, reply);
}

bool TComAudioConnection::sendTxBitRate(int bitRate)
{
    if (!m_com || m_id < 0)
        return false;
    ksm::CMsg msg(ksm::CMsg::Do);
    msg.setParam(kKeyAction, kActionSendUserInfo);
    msg.setParam(kKeyId, longToString(m_id));
    msg.setParam(kKeyInfo, "AT#TXBITRATE=" + longToString(bitRate) + ";");
    TComRequest request(m_com);
    return request.execute(msg, kCommandTimeoutMs);
}

bool TComAudioConnection::hangUp()
{
    if (!m_com || (m_state != StateSettingUp && m_state != StateActive))
        return false;

    ksm::CMsg msg(ksm::CMsg::Do);
    msg.setParam(kKeyAction, kActionDcon);
    msg.setParam(kKeyNetwork, m_network);
    msg.setParam(kKeyId, longToString(m_id));
    ksm::CMsg reply;
    if (!sendCommand(msg, reply))
        return false;

    // A release that arrived while waiting for the answer has ended the call already; an ended
    // call does not go back to disconnecting.
    if (m_state != StateEnded)
        setStatus(StateDisconnecting, StatusDisconnecting);
    return true;
}
