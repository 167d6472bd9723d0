#include "model/comdataconnection.h"

#include "link/ccom.h"
#include "link/cmsg.h"
#include "link/protocolkeys.h"
#include "link/valueconversions.h"
#include "model/comdevice.h"

namespace {

constexpr int kCommandTimeoutMs = 5000;

} // namespace

TComDataConnection::TComDataConnection(ksm::CCom *com)
    : TComBaseConnection(com, DataLink)
{}

TComDataConnection::~TComDataConnection() = default;

const std::string &TComDataConnection::modeWord(const std::string &network)
{
    static const std::string wifi = "wifi";
    static const std::string data = "data";
    return TComDevice::networkFamily(network) == TComDevice::WifiFamily ? wifi : data;
}

void TComDataConnection::reset()
{
    TComBaseConnection::reset();
    setState(StateIdle);
}

void TComDataConnection::setState(int state)
{
    if (state == m_state)
        return;
    m_state = state;
    if (m_owner)
        m_owner->notifyDataConnectionStateChanged(this);
}

bool TComDataConnection::attach(int id, const std::string &network, int state)
{
    if (m_state != StateIdle)
        return false;
    m_id = id;
    m_network = network;
    setState(state);
    return true;
}

bool TComDataConnection::handleEvent(const ksm::CMsg &msg)
{
    const std::string &type = msg.value(kKeyEventType);
    const std::string &id = msg.value(kKeyId);
    const std::string &network = msg.value(kKeyNetwork);
    if (type.empty() || id.empty() || network.empty())
        return false;
    if (stringToInt(id) != m_id || network != m_network)
        return false;
    if (type == kEventDataConnected) {
        setState(StateConnected);
        return true;
    }
    if (type == kEventDataDisconnected) {
        setState(StateDisconnected);
        return true;
    }
    return false;
}

bool TComDataConnection::dial(const std::string &network)
{
    if (!m_com || m_state != StateIdle)
        return false;

    ksm::CMsg msg(ksm::CMsg::Do);
    msg.setParam(kKeyAction, kActionCon);
    msg.setParam(kKeyCommLink, "data");
    msg.setParam(kKeyMode, modeWord(network));
    msg.setParam(kKeyNetwork, network);
    ksm::CMsg reply;
    if (m_com->sendSyncMsg(msg, reply, 1000, kCommandTimeoutMs) != 0
        || reply.value(kKeyReturn) != kReplyOk) {
        return false;
    }
    m_id = stringToInt(reply.value(kKeyId));
    m_network = network;
    setState(StateKnown);
    return true;
}

bool TComDataConnection::readLinkId(const std::string &network, std::string &idText)
{
    ksm::CMsg msg(ksm::CMsg::Param);
    msg.setParam(kKeyTarget, kTargetNetwork);
    msg.setParam(kKeyNetwork, network);
    msg.setParam(kKeyMode, modeWord(network));
    msg.addGet(kKeyId);
    ksm::CMsg reply;
    if (m_com->sendSyncMsg(msg, reply, 1000, kCommandTimeoutMs) != 0
        || reply.value(kKeyReturn) != kReplyOk) {
        return false;
    }
    idText = reply.value(kKeyId);
    return true;
}

bool TComDataConnection::attach(const std::string &network)
{
    if (!m_com || m_state != StateIdle)
        return false;
    std::string idText;
    // A link without id is no link: the device answers an empty id when none runs there.
    if (!readLinkId(network, idText) || idText.empty())
        return false;
    m_id = stringToInt(idText);
    m_network = network;
    setState(StateConnected);
    return true;
}

int TComDataConnection::queryId(const std::string &network)
{
    if (!m_com)
        return -1;
    std::string idText;
    if (!readLinkId(network, idText) || idText.empty())
        return -1;
    return stringToInt(idText);
}

bool TComDataConnection::hangUp()
{
    if (!m_com || (m_state != StateKnown && m_state != StateConnected))
        return false;

    ksm::CMsg msg(ksm::CMsg::Do);
    msg.setParam(kKeyAction, kActionDcon);
    msg.setParam(kKeyNetwork, m_network);
    msg.setParam(kKeyId, longToString(m_id));
    ksm::CMsg reply;
    if (m_com->sendSyncMsg(msg, reply, 1000, kCommandTimeoutMs) != 0
        || reply.value(kKeyReturn) != kReplyOk) {
        return false;
    }
    if (m_state != StateDisconnected)
        setState(StateDisconnecting);
    return true;
}
