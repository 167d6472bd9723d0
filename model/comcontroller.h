#pragma once

#include "link/cmsg.h"
#include "model/comrequest.h"

#include <QObject>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace ksm {
class CCom;
} // namespace ksm

// Base of every parameter controller: an object that keeps the typed values of a group of
// device keys, reads them, writes them back, follows the device's INFO and EVENT messages, and
// signals changes.
//
// Controllers have no Qt parent; whoever holds one (an accessor's static storage, TComDevice, a
// settings page's edit copy) owns it. The protocol client given to the constructor is not owned.
// Destruction sends nothing to the device.
//
// Signals: controllerStateChanged(this) whenever the state really changes (setState with a new
// value, or reset from a known state). Subclass setters take (value, bool send): an unchanged
// value returns true and sends nothing; with send the key is written first and a refusal keeps
// the old value and returns false; then the value is stored and the class's change signal fires.
//
// Subclass contract for the virtual operations:
// - reset(): with signals blocked, restore every constructor default without sending; restore
//   the blocking; then call TComController::reset(), so that one controllerStateChanged (state
//   Unknown) is the only signal a reset emits.
// - readAll(): build the list of all keys (some depend on firmwareVersion) and return read().
// - read(keys): get the keys (one request per target), pass each value to its setter with send
//   off; false when nothing could be read.
// - write(keys): send the current values (one request per target, read-only keys skipped);
//   true only when the device accepted all of them.
// - handleInfo()/handleEvent(): apply a message that may concern the controller; true when it
//   was used (the caller then emits its own change notice).
//
// GUI thread only; every request blocks in the client's nested event loop.
class TComController : public QObject
{
    Q_OBJECT

public:
    enum ControllerType {
        GeneralController = 0, // audio, matrix and RAVENNA
        AoipController = 1,
        EthernetController = 2,
        IsdnController = 3,
        MobileController = 4,
        WifiController = 5,
    };
    Q_ENUM(ControllerType)

    enum ControllerState {
        StateUnknown = -1, // not read since construction or the last reset
        StateReady = 0,
        StateNotReady = 1, // network assigned but not confirmed, or an unlisted failure
        StateNotRegistered = 2,
        StateNotAllowed = 3,
        StateSimMissing = 4,
        StateSimLocked = 5,
        StatePinRequired = 6,
    };
    Q_ENUM(ControllerState)

    TComController(ksm::CCom *com, int type);
    ~TComController() override;
    Q_DISABLE_COPY_MOVE(TComController)

    [[nodiscard]] int type() const { return m_type; }
    [[nodiscard]] int state() const { return m_state; }
    [[nodiscard]] TComRequest &request() { return m_request; }
    [[nodiscard]] const TComRequest &request() const { return m_request; }

    // Back to StateUnknown, with controllerStateChanged unless the state already is unknown.
    virtual void reset();
    virtual bool readAll() = 0;
    virtual bool read(const std::vector<std::string> &keys) = 0;
    virtual bool write(const std::vector<std::string> &keys) = 0;
    // Not used by the base: false.
    virtual bool handleInfo(const ksm::CMsg &msg);
    virtual bool handleEvent(const ksm::CMsg &msg);

    // Stores the state and emits controllerStateChanged when it differs from the current one.
    void setState(int state);

    // The state a device cause text stands for: none (0) and "200-unknown error" (also any text
    // that is no cause, the empty one included) are ready; "123-not registered" not registered;
    // "015-not allowed" not allowed; "010-sim missing" SIM missing; "011-sim locked" and
    // "124-puk required" SIM locked; "122-pin required" PIN required; any other cause not ready.
    [[nodiscard]] static int stateFromCause(const std::string &cause);

Q_SIGNALS:
    void controllerStateChanged(TComController *controller);

protected:
    // The start-up of the controllers that are not network interfaces: a known state is reset
    // first, then readStep runs with signals blocked (the previous blocking is restored either
    // way). A failed read returns false and leaves the state as it is; otherwise the state
    // becomes StateReady (one controllerStateChanged) and the result is true.
    bool startReading(const std::function<bool()> &readStep);
    // PARAM "target" = target with one GET per key, in order; the result of
    // TComRequest::getParams() with the 5000 ms time-out.
    int readTargetParams(const std::string &target,
                         const std::vector<std::string> &keys,
                         std::map<std::string, std::string> &values,
                         std::map<std::string, std::string> &failed);
    // PARAM "target" = target and every entry of params (an entry named "target" is not sent);
    // true only when the unit holds every value afterwards: the device accepted them all, or a
    // write it answered too late or took only in part was read back with them
    // (TComRequest::writeParams()).
    bool writeTargetParams(const std::string &target,
                           const std::map<std::string, std::string> &params);

    TComRequest m_request;

private:
    const int m_type;
    int m_state = StateUnknown;
};
