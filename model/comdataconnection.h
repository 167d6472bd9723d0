#pragma once

#include "model/combaseconnection.h"

#include <string>

// A data link of a mobile or Wi-Fi interface (type DataLink): its state, kept current from the
// device's "data connected" and "data disconnected" events, and the data-link actions (dial,
// attach to a running link, query its id, hang up).
//
// States: 0 idle, 1 known (placed here and accepted by the device, or announced by the device),
// 2 connected, 3 hang-up accepted by the device, 4 disconnected.
//
// Signals: setState() emits the owner's dataConnectionStateChanged(this) on a real change while
// an owner is set. Actions send through the client's synchronous call (5000 ms) and change the
// connection only on an "OK" reply. Ownership and threading as TComBaseConnection.
class TComDataConnection : public TComBaseConnection
{
    Q_OBJECT

public:
    enum State {
        StateIdle = 0,
        StateKnown = 1,
        StateConnected = 2,
        StateDisconnecting = 3,
        StateDisconnected = 4
    };
    Q_ENUM(State)

    explicit TComDataConnection(ksm::CCom *com);
    ~TComDataConnection() override;
    Q_DISABLE_COPY_MOVE(TComDataConnection)

    // id -1, no network, then setState(0).
    void reset() override;
    // "data connected" (state 2) and "data disconnected" (state 4) for this id and network.
    bool handleEvent(const ksm::CMsg &msg) override;

    // Stores a changed state and signals it on the owner.
    void setState(int state);
    // When idle: stores id and network, then setState(state); true. Otherwise false.
    bool attach(int id, const std::string &network, int state);

    // Opens a data link on network (DO "con"): on "OK" id from the reply, network, state 1.
    bool dial(const std::string &network);
    // Takes over the data link that runs on network (its id read from the device): on success
    // id, network, state 2. False when idle is not the state, on any failure, and when the device
    // reports no link there.
    bool attach(const std::string &network);
    // The id of the data link running on network, -1 when there is none or the query fails.
    [[nodiscard]] int queryId(const std::string &network);
    // Ends this link (state 1 or 2 only): on "OK" state 3 unless a disconnection handled
    // meanwhile already ended it. True on "OK".
    bool hangUp();

    // "wifi" for a Wi-Fi network, "data" for every other one.
    [[nodiscard]] static const std::string &modeWord(const std::string &network);

private:
    // Asks for the id of the link on network; true with the reply's id text when "OK".
    bool readLinkId(const std::string &network, std::string &idText);
};
