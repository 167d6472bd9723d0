#pragma once

#include "link/levelframelog.h"
#include "link/rpcasynccall.h"
#include "link/rpcframeparser.h"
#include "link/rpcmessage.h"

#include <QAbstractSocket>
#include <QList>
#include <QObject>
#include <QString>

#include <map>

class QTcpSocket;
class QTimer;

// The transport endpoint: one TCP socket, the frames on it and the calls made over it.
//
// Ownership: the socket and the tick timer are children of the connection. Call records are
// shared with the callers' RpcAsyncCall handles.
//
// State: the socket's state is reported as ConnectionState. The socket's own Connected state maps
// to Unconnected; only the connected notification sets Connected, so every successful connection
// is reported as Connecting, Unconnected, Connected. Every change to a state other than Connected
// discards held-back signals and cancels every pending call (Cancelled, -6).
//
// Signals, all emitted synchronously from inside the operation that causes them:
// - stateChanged(state): each change of the reported state, and every connected notification;
// - errorOccurred(error): socket errors, framing errors, frames of unknown type, bodies that do
//   not parse and bad replies; the connection stays up;
// - messageCompleted(message): once per finished call (its toMessage()), after its watchers;
// - messageReceived(message): each Request and Signal from the peer. With setDeferSignals(true)
//   Signal messages that arrive while calls are pending are held back and delivered in arrival
//   order once no call is pending any more (after the last call's messageCompleted). Held-back
//   signals are capped in bytes (deferredSignalLimit()): past the cap the oldest are dropped,
//   with one warning line until the queue has been delivered. Every Signal frame received is
//   numbered in arrival order (signalsArrived()); while messageReceived delivers one,
//   deliveredSignal() tells its number, held back or not, so that a receiver can tell what
//   came before the answer of a call (the number of Signals arrived by then) from what came
//   after.
//
// Limits: the "PROGRESS" parts of one call are capped in count and bytes (replyPartLimit(),
// replyByteLimit()); past a cap the call fails as a bad reply (BadReply, -10, with
// MessageParseError) and its further parts are dropped as late answers, so the link stays usable.
// Bytes are the memory a parsed body takes, roughly.
//
// Slots may call back into the connection (disconnect() from stateChanged, a new asyncCall()
// from messageCompleted, ...). They must not delete it: use deleteLater().
//
// The tick (1000 ms by default, see setTickInterval()) runs while the connection is engaged: it
// expires calls whose time-out has passed (Timeout, -5) and delivers held-back signals.
//
// Log: every frame is logged at debug level, except level reports (EVENT "audio_levels"), which
// are only counted: the log says when they start, how many arrived and when they stop
// (LevelFrameLog).
class RpcConnection : public QObject, private RpcFrameParser::Owner
{
    Q_OBJECT

public:
    enum ConnectionState {
        Unconnected = 0,
        Closing = 1,
        Connecting = 2,
        Connected = 3,
    };
    Q_ENUM(ConnectionState)

    enum ConnectionError {
        InternalError = -1,
        SocketError = -4,
        FramingError = -8,
        UnknownMessageType = -9,
        MessageParseError = -10,
    };
    Q_ENUM(ConnectionError)

    explicit RpcConnection(QObject *parent = nullptr);
    // Cuts the socket's and the timer's signal connections, then runs disconnect(), which
    // cancels pending calls (each emits messageCompleted).
    ~RpcConnection() override;
    Q_DISABLE_COPY_MOVE(RpcConnection)

    ConnectionState state() const { return m_state; }
    // The socket error that ended or prevented the last connection, so that a user can be told
    // why; UnknownSocketError since the last successful connect.
    QAbstractSocket::SocketError lastSocketError() const { return m_lastSocketError; }
    // connect() or accept() has run and disconnect() has not.
    bool isEngaged() const { return m_engaged; }
    QString address() const { return m_address; }
    quint16 port() const { return m_port; }
    int lastId() const { return m_lastId; }
    // Sets the last id handed out; the next call gets the one after it.
    void setLastId(int id) { m_lastId = id; }
    int pendingCallCount() const { return int(m_pendingCalls.size()); }
    int deferredSignalCount() const { return int(m_deferredSignals.size()); }
    // Signal frames received since the connection was made, level reports and frames dropped
    // from the held-back queue included: the arrival number of the newest one (the first is 1).
    [[nodiscard]] qint64 signalsArrived() const { return m_signalsArrived; }
    // The arrival number of the Signal message that messageReceived is delivering now; 0
    // outside such a delivery (and while a Request is delivered).
    [[nodiscard]] qint64 deliveredSignal() const { return m_deliveredSignal; }

    static constexpr int kDefaultReplyPartLimit = 10000;
    static constexpr qint64 kDefaultReplyByteLimit = 64 * 1024 * 1024;
    static constexpr qint64 kDefaultDeferredSignalLimit = 32 * 1024 * 1024;

    int replyPartLimit() const { return m_replyPartLimit; }
    qint64 replyByteLimit() const { return m_replyByteLimit; }
    // Values below 1 restore the defaults; tests lower them.
    void setReplyLimits(int parts, qint64 bytes);
    qint64 deferredSignalLimit() const { return m_deferredSignalLimit; }
    // A value below 1 restores the default; tests lower it.
    void setDeferredSignalLimit(qint64 bytes);
    // The bytes the held-back signals take, as counted against the limit.
    qint64 deferredSignalBytes() const { return m_deferredBytes; }

    // Roughly the heap memory a parsed body takes.
    [[nodiscard]] static qint64 footprint(const ksm::CMsg &body);

    bool deferSignals() const { return m_deferSignals; }
    void setDeferSignals(bool defer) { m_deferSignals = defer; }

    int tickInterval() const;
    // The tick period in milliseconds (1000 by default); tests shorten it.
    void setTickInterval(int milliseconds);

    // Stops the tick, forgets held-back signals, cancels every pending call and closes the
    // socket. Does nothing unless engaged.
    void disconnect();

    // One-way transmission of any message but None, framed with the message's own id, type and
    // code. False when not Connected, for type None, for a body that does not serialise or when
    // the socket refuses the frame.
    bool send(const RpcMessage &message);

    // Sends a request under the next call id and returns its call at once. A non-zero result()
    // means the call was refused before or while sending (NotConnected, NotARequest,
    // EncodeError, WriteFailed); such a call is never reported. timeoutSeconds of 0 or less means
    // no time-out.
    RpcAsyncCall asyncCall(const RpcMessage &request, int timeoutSeconds);
    // Cancels one pending call (Cancelled, -6); then delivers held-back signals if none is
    // pending any more.
    void cancelPendingCall(RpcAsyncCall &call);
    // Cancels every pending call, in id order; calls made meanwhile by slots are not cancelled.
    void cancelPendingCalls();

    // Removes and returns the oldest held-back signal; a default message when there is none.
    RpcMessage dequeueSignal();
    // Delivers all held-back signals, oldest first, when no call is pending.
    void notifyDeferredSignals();

    void notifyStateChanged(RpcConnection::ConnectionState state);
    void notifyErrorOccurred(RpcConnection::ConnectionError error);

signals:
    void stateChanged(RpcConnection::ConnectionState state);
    void errorOccurred(RpcConnection::ConnectionError error);
    void messageCompleted(const RpcMessage &message);
    void messageReceived(const RpcMessage &message);

protected slots:
    // The tick: call time-outs, then held-back signals.
    virtual void timerEvent();
    virtual void socketConnected();
    virtual void socketChanged(QAbstractSocket::SocketState socketState);
    virtual void socketError(QAbstractSocket::SocketError socketError);

protected:
    using QObject::timerEvent;

    QTcpSocket *socket() const { return m_socket; }
    QTimer *timer() const { return m_timer; }
    RpcFrameParser &parser() { return m_parser; }
    void setEngaged(bool engaged) { m_engaged = engaged; }
    void setPeer(const QString &address, quint16 port);
    // "<className>::<operation>(address=<address>:<port><details>)", logged at debug level.
    void logLine(const char *className, const char *operation, const QString &details = {}) const;

private slots:
    void socketRead();

private:
    void parserReady(const char *frame, quint32 size) override;
    void parserFailed() override;
    void handleReply(qint32 id, const char *frame, quint32 size);
    void handleErrorReply(qint32 id, qint32 code);
    void completeCall(RpcAsyncCall call, int result);
    void failCall(RpcAsyncCall call, int result);
    void expireCalls();
    void deferSignal(const RpcMessage &message, qint64 arrival);
    // Removes the oldest held-back signal and logs its dequeue as a line of operation (level
    // reports excepted: they are only counted, on arrival); arrival receives its number.
    RpcMessage takeDeferredSignal(const char *operation, qint64 *arrival = nullptr);
    // messageReceived(message), with deliveredSignal() saying arrival meanwhile.
    void deliver(const RpcMessage &message, qint64 arrival);
    void clearDeferredSignals();
    // Logs details, unless empty, as a line of operation.
    void logLevelLine(const char *operation, const QString &details) const;

    bool m_engaged = false;
    bool m_deferSignals = false;
    ConnectionState m_state = Unconnected;
    QAbstractSocket::SocketError m_lastSocketError = QAbstractSocket::UnknownSocketError;
    int m_lastId = 0;
    quint16 m_port = 0;
    QString m_address = QStringLiteral("0.0.0.0");
    bool m_deferredOverflowReported = false;
    int m_replyPartLimit = kDefaultReplyPartLimit;
    qint64 m_replyByteLimit = kDefaultReplyByteLimit;
    qint64 m_deferredSignalLimit = kDefaultDeferredSignalLimit;
    qint64 m_deferredBytes = 0;
    QList<RpcMessage> m_deferredSignals;
    QList<qint64> m_deferredSizes;
    QList<qint64> m_deferredArrivals;
    qint64 m_signalsArrived = 0;
    qint64 m_deliveredSignal = 0;
    std::map<quint32, RpcAsyncCall> m_pendingCalls;
    LevelFrameLog m_levelLog;
    RpcFrameParser m_parser;
    QTimer *m_timer = nullptr;
    QTcpSocket *m_socket = nullptr;
};
