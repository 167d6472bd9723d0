#include "model/comcontroller.h"

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
