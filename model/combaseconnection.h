#pragma once

#include <QObject>

#include <string>

namespace ksm {
class CCom;
class CMsg;
} // namespace ksm

class TComDevice;

// One link that the device currently holds: an audio call on link 1 or 2 or on the
// coordination line, or a data link. The base keeps what every link has: the protocol client
// through which its actions send, the owning device, the link type, a state, the device's id of
// the link and the network that carries it.
//
// Ownership: a connection is built without Qt parent. Whoever builds it owns it until
// TComDevice::addConnection() accepts it; from then on the device owns it (as a Qt child), sets
// itself as owner and deletes it when the link ends or the model is reset. The device deletes
// with deleteLater(), so a connection whose own action is still on the stack (a release handled
// inside its hang-up's synchronous call) stays valid until that action has returned.
//
// Signals: none of its own. While it has an owner, the subclasses report their changes through
// the owner's signals; a connection without owner (not yet added, or already removed) reports
// nothing. The protocol client is not owned.
//
// GUI thread only.
class TComBaseConnection : public QObject
{
    Q_OBJECT

public:
    // The link types; the first three are the device's "comm_link" words "audio", "audio2" and
    // "coord_line".
    enum Type { AudioLink1 = 0, AudioLink2 = 1, CoordinationLine = 2, DataLink = 3 };
    Q_ENUM(Type)

    TComBaseConnection(ksm::CCom *com, int type);
    ~TComBaseConnection() override;
    Q_DISABLE_COPY_MOVE(TComBaseConnection)

    // Called by TComDevice::addConnection() once the device holds the connection.
    virtual void setOwner(TComDevice *device);
    // Called by the device when it lets the connection go; the argument is not examined.
    virtual void clearOwner(TComDevice *device);
    // Forgets the link: id -1, no network; the state stays (subclasses decide).
    virtual void reset();
    // Applies an EVENT message that may concern this link; true when it was consumed.
    virtual bool handleEvent(const ksm::CMsg &msg) = 0;

    [[nodiscard]] ksm::CCom *com() const { return m_com; }
    [[nodiscard]] TComDevice *owner() const { return m_owner; }
    [[nodiscard]] int type() const { return m_type; }
    [[nodiscard]] int state() const { return m_state; }
    [[nodiscard]] int id() const { return m_id; }
    [[nodiscard]] const std::string &network() const { return m_network; }
    [[nodiscard]] bool isAudio() const { return m_type != DataLink; }

    // The "comm_link" word of an audio link type: "audio2" for AudioLink2, "coord_line" for
    // CoordinationLine, "audio" for anything else.
    [[nodiscard]] static const std::string &commLinkText(int type);
    // The audio link type of a "comm_link" word: "audio2" AudioLink2, "coord_line"
    // CoordinationLine, any other word AudioLink1.
    [[nodiscard]] static int typeFromCommLink(const std::string &word);

protected:
    ksm::CCom *m_com = nullptr;
    TComDevice *m_owner = nullptr;
    const int m_type;
    int m_state = 0;
    int m_id = -1;
    std::string m_network;
};
