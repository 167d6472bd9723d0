#include "widgets/qvantellinkstatecolour.h"

#include "model/comaudioconnection.h"

namespace QVantel {

LinkState linkState(const TComAudioConnection *call, LinkState idle)
{
    if (!call)
        return idle;
    switch (call->state()) {
    case TComAudioConnection::StateSettingUp:
        return LinkCalling;
    case TComAudioConnection::StateDisconnecting:
        return LinkReleasing;
    case TComAudioConnection::StateActive:
        switch (call->status()) {
        case TComAudioConnection::StatusActive:
        case TComAudioConnection::StatusNegotiating:
        case TComAudioConnection::StatusWaitingForSync:
            return LinkCalling;
        case TComAudioConnection::StatusSyncLost:
            return LinkSyncLost;
        default:
            return LinkUp;
        }
    default:
        return idle;
    }
}

QColor linkStateColour(int state)
{
    switch (state) {
    case LinkIdle:
        return QColor(170, 255, 170);
    case LinkAddressed:
        return QColor(Qt::green);
    case LinkCalling:
        return QColor(Qt::yellow);
    case LinkUp:
        return QColor(Qt::red);
    case LinkSyncLost:
        return QColor(240, 101, 101);
    case LinkReleasing:
        return QColor(234, 177, 102);
    default:
        return QColor(127, 127, 127);
    }
}

} // namespace QVantel
