#pragma once

#include <QColor>

class TComAudioConnection;

namespace QVantel {

// The state a call link shows: the status strip's link buttons, the connection tiles and the
// banner take it through their setLinkState().
enum LinkState : int {
    LinkUnused = 0,    // no call, and the link is not in use or there is no network
    LinkIdle = 1,      // no call, no remote address remembered for the link's transport
    LinkAddressed = 2, // no call, a remote address remembered
    LinkCalling = 3,   // setting up, or active and not yet synchronised
    LinkUp = 4,        // active and synchronised (any other call status)
    LinkSyncLost = 5,  // active, synchronisation lost
    LinkReleasing = 6, // disconnecting
};

// The state the link of a call shows: setting up gives LinkCalling; active gives LinkCalling
// while the call status is active, negotiating or waiting for sync, LinkSyncLost once sync is
// lost, LinkUp otherwise; disconnecting gives LinkReleasing. A null call, or one that is idle or
// has ended, gives idle, the caller's choice between LinkUnused, LinkIdle and LinkAddressed.
[[nodiscard]] LinkState linkState(const TComAudioConnection *call, LinkState idle);

// Fill colour of a link shown in the state `state`: 1 light green, 2 green, 3 yellow, 4 red,
// 5 light red, 6 orange, any other state grey. The status strip's link buttons and the
// connection tile draw links in these colours, always with black text.
QColor linkStateColour(int state);

} // namespace QVantel
