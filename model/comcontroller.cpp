#include "model/comcontroller.h"

#include "link/cmsg.h"
#include "link/protocolkeys.h"

TComController::TComController(ksm::CCom *com, int type)
    : m_request(com)
    , m_type(type)
{}

TComController::~TComController() = default;

void TComController::reset()
{
    setState(StateUnknown);
}

bool TComController::handleInfo(const ksm::CMsg &)
{
    return false;
}

bool TComController::handleEvent(const ksm::CMsg &)
{
    return false;
}

void TComController::setState(int state)
{
    if (state == m_state)
        return;
    m_state = state;
    Q_EMIT controllerStateChanged(this);
}

bool TComController::startReading(const std::function<bool()> &readStep)
{
    if (m_state != StateUnknown)
        reset();
    const bool wasBlocked = blockSignals(true);
    const bool read = readStep();
    blockSignals(wasBlocked);
    if (!read)
        return false;
    setState(StateReady);
    return true;
}

int TComController::readTargetParams(const std::string &target,
                                     const std::vector<std::string> &keys,
                                     std::map<std::string, std::string> &values,
                                     std::map<std::string, std::string> &failed)
{
    ksm::CMsg msg(ksm::CMsg::Param);
    msg.setParam(kKeyTarget, target);
    for (const std::string &key : keys)
        msg.addGet(key);
    return m_request.getParams(msg, values, failed, TComRequest::DefaultTimeoutMs);
}

bool TComController::writeTargetParams(const std::string &target,
                                       const std::map<std::string, std::string> &params)
{
    ksm::CMsg address(ksm::CMsg::Param);
    address.setParam(kKeyTarget, target);
    std::map<std::string, std::string> values = params;
    values.erase(kKeyTarget);
    return m_request.writeParams(address, values, TComRequest::writeTimeoutMs()).holds(values);
}

int TComController::stateFromCause(const std::string &cause)
{
    switch (causeCodeFromText(cause)) {
    case 0:
    case 200:
        return StateReady;
    case 123:
        return StateNotRegistered;
    case 15:
        return StateNotAllowed;
    case 10:
        return StateSimMissing;
    case 11:
    case 124:
        return StateSimLocked;
    case 122:
        return StatePinRequired;
    default:
        return StateNotReady;
    }
}
