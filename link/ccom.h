#pragma once

#include "link/cmsg.h"
#include "link/rpcclientconnection.h"
#include "link/rpcconnection.h"
#include "link/rpcmessage.h"

#include <QHostAddress>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <limits>
#include <map>
#include <string>
#include <vector>

class QUdpSocket;
class RpcAsyncCallWatcher;

namespace ksm {

class CCom;

// Marks the synchronous calls made while it lives, on the GUI thread, as one task's: the reads
// of a page being built or read again. A task can end before its calls do (the operator left the
// page while the unit answered slowly, or ended the session); from then on its reads (requests
// with GET or LIST entries, and the opening of a stored item) are not sent, and sendSyncMsg()
// returns -6 (cancelled) for them at once. Writes and commands always go: they are the
// operator's.
//
// Scopes nest. A task runs as long as its own test holds, nothing ended it, and the task around
// it runs too: a scope made inside another task's is part of that task. A neutral scope (made
// without a test) stands for code that is no part of any task around it (an event loop pass,
// input handed on after a wait), so that the task it interrupts cannot stop what runs inside it.
// Scopes end in the reverse order of their making.
class CallScope
{
public:
    // wanted says whether the task still wants its reads; empty for a neutral scope.
    CallScope(CCom *client, std::function<bool()> wanted = {});
    ~CallScope();
    Q_DISABLE_COPY_MOVE(CallScope)

    [[nodiscard]] bool isNeutral() const { return !m_wanted; }
    // The task still wants its reads: for a neutral scope, always.
    [[nodiscard]] bool stillWanted() const;
    // The scope this one is made inside; null for the outermost.
    [[nodiscard]] const CallScope *outer() const { return m_outer; }

private:
    friend class CCom;

    QPointer<CCom> m_client;
    CallScope *m_outer = nullptr;
    std::function<bool()> m_wanted;
    bool m_ended = false;
};

// Says, while it lives, that the program handles the unit's Signal message that arrived as
// number arrival (CCom::signalArrival() when it was received), so that what a handler takes from
// it can be told apart from what the answers of calls brought: a message that arrived before the
// answer of a call (CCom::signalsBeforeLastReply() then) is older than that answer, however long
// it waited in a queue. Scopes nest; the innermost counts, and ends in the reverse order of the
// making. Without one, whatever is handled counts as the newest news (CCom::kNewestSignal).
class HandledSignal
{
public:
    HandledSignal(CCom *client, qint64 arrival);
    ~HandledSignal();
    Q_DISABLE_COPY_MOVE(HandledSignal)

private:
    QPointer<CCom> m_client;
    qint64 m_outer = 0;
};

// The protocol client: the one object through which the program talks to the device.
//
// Ownership: holds its TCP message connection by value and owns the level-meter UDP socket
// (a child, made by connect() with a datagram port other than 0 and 1, deleted by disconnect())
// and the watcher of the running synchronous call (a child, deleted later once it has fired).
//
// Synchronous calls: sendSyncMsg() sends a request and runs a nested event loop that excludes
// user input until the reply, the time-out or the cancellation arrives. While it waits the
// client is busy: isReady() is false, and sendSyncMsg() and sendMsg() refuse at once with -1.
// Timers, socket notifications and posted events keep running inside the nested loop, so every
// signal of the client may be emitted during a synchronous call.
//
// User input made during the wait: without an input gate the nested loop holds it back, and the
// window system hands it on once the wait is over, to whatever is shown by then. With an input
// gate set (setInputGate()), the loop lets it through to the gate, an event filter of the
// application that the front panel installs to drop or hold back each event;
// isWaitLoopInnermost() tells the gate whether the input reached it from the wait's own loop.
//
// Signals:
// - stateChanged, errorOccurred, messageCompleted, messageReceived: the connection's signals
//   re-emitted unchanged. Received Signal messages are held back by the connection while a call
//   is pending and delivered once none is; signalArrival() tells, while messageReceived
//   delivers one, its number in the order the unit's Signal messages arrived, held back or not.
//   messageReceived also carries the level-meter
//   datagrams: only Signal frames holding an EVENT whose "event_type" is "audio_levels" and
//   sent from the connected unit's address pass. At most kDatagramBatch datagrams are read per
//   pass of the event loop; the rest wait for the next pass, so a flood cannot freeze the window.
// - callStarting() when a synchronous call is about to be sent (the client is ready): a slot may
//   hand on input held back during an earlier wait, and may itself make synchronous calls first.
// - taskEnded() when the scope of the last task that lived has ended.
// - busyStateChanged(true) once a synchronous call has been sent (isReady() is already false);
//   busyStateChanged(false) and then sendSyncMsgCompleted() once it has ended, whatever the
//   outcome (isReady() is true again). A call refused before sending emits nothing.
//
// GUI thread only. The process-wide instance is reached through comClient() (link/comclient.h).
// Runs one pass of the event loop with the socket notifiers left for later, as the program does
// to paint a popup it has just opened before it goes on. What the pass sets off (a timer's call,
// input handed on) belongs to no task around it (a neutral CallScope on the shared client).
void processEventsApart();

class CCom : public QObject
{
    Q_OBJECT

public:
    using ParamMap = std::map<std::string, std::string>;

    // Level datagrams read per pass of the event loop.
    static constexpr int kDatagramBatch = 64;

    explicit CCom(QObject *parent = nullptr);
    // Cuts the connection's signals, disconnects, then frees the members.
    ~CCom() override;
    Q_DISABLE_COPY_MOVE(CCom)

    // Starts the TCP connection to host (a numeric IPv4 address) and tcpPort. A datagramPort
    // other than 0 is stored and, unless it is 1 (level meters over the TCP link), a UDP socket
    // is bound to it on the IPv4 any-address to receive level meters; a socket that exists
    // already stays with its old port. False, changing nothing, when the client is engaged
    // already, host is not an IPv4 address or tcpPort is 0.
    bool connect(const QString &host, quint16 tcpPort, quint16 datagramPort);
    // When engaged: drops the datagram socket and closes the TCP connection (pending calls are
    // cancelled with -6). The stored host and ports stay, so a reconnect can reuse them.
    void disconnect();

    // Stores the identity carried by the settings-record requests; always 0.
    int initialize(const std::string &category, const std::string &controllerId);

    // One-way send of msg as a Request with id -1. -1 while a synchronous call waits or when
    // the connection refuses the frame, else 0. The int is not used.
    int sendMsg(const CMsg &msg, int unused = 0);

    // Sends request and waits for its answer in a nested event loop. The time-out is
    // timeoutMs / 1000 whole seconds; below 1 second it becomes 5 seconds. reply may be the
    // request object itself. The third argument is not used.
    // Returns 0 when a reply arrived; -1 while another synchronous call waits; the refusal code
    // when the call cannot start (-3 not connected, -2, -7); -5 timed out, -6 cancelled, or the
    // code of an error reply. On 0, reply holds the main part: every parameter but "return",
    // an empty value or "101-parameter not set" as an empty value. For a PARAM reply the values
    // that are cause texts of a code other than 200 are held back for pendingReply(), and
    // "return" is "PROGRESS" when something was held back, else "OK". For other replies
    // "return" is the device's own, or "ERROR" when missing or empty. On any other result reply
    // is emptied (type 0), except for a call that could not start, which leaves it untouched.
    int sendSyncMsg(const CMsg &request, CMsg &reply, int unused, int timeoutMs);

    // The held-back part of the last synchronous PARAM reply (the refused keys with their cause
    // texts and "return" "ERROR"): copied into out with 0, or -1 when nothing is held back. It is
    // not emptied, so a caller looping while "return" is "PROGRESS" stops at its "ERROR". Does
    // not wait and sends nothing; the ints are not used.
    int pendingReply(CMsg &out, int unused1 = 0, int unused2 = 0);

    // Writes params into this program's settings record on the device ("target" "db", "cat"
    // category, "type" and "controller_id" controllerId). 0 for an empty map or a reply whose
    // "return" is "OK"; -1 without identity or for any other "return"; a non-zero sendSyncMsg()
    // result is returned unchanged.
    int setControllerParams(const ParamMap &params, int timeoutMs);
    // Reads names from the settings record. 0 for an empty vector or a reply whose "return" is
    // "OK"; -1 without identity or for any other "return"; a non-zero sendSyncMsg() result is
    // returned unchanged. After a reply every parameter but "return" is inserted into out (also
    // when "return" was not "OK"); keys already in out keep their values.
    int getControllerParams(const std::vector<std::string> &names, ParamMap &out, int timeoutMs);

    // False from the start of a synchronous call's wait until it has completed.
    bool isReady() const { return m_ready; }
    // The object that takes the user input made while a synchronous call waits; null (the
    // default) holds that input back instead. Not owned: a gate that is destroyed counts as
    // none. Takes effect from the next wait.
    void setInputGate(QObject *gate) { m_inputGate = gate; }
    QObject *inputGate() const { return m_inputGate; }
    // True while a synchronous call waits and events are handled by its own nested loop, not by
    // an event loop started inside the wait (such as a modal dialog's, whose input is the
    // dialog's to take).
    [[nodiscard]] bool isWaitLoopInnermost() const;
    RpcConnection::ConnectionState state() const { return m_connection.state(); }
    // connect() has been accepted and disconnect() has not run since.
    bool isEngaged() const { return m_connection.isEngaged(); }
    // Why the last connection ended or failed; UnknownSocketError since the last connect.
    QAbstractSocket::SocketError lastSocketError() const { return m_connection.lastSocketError(); }
    // Host and ports of the last accepted connect().
    QString host() const { return m_host; }
    quint16 tcpPort() const { return m_tcpPort; }
    quint16 datagramPort() const { return m_datagramPort; }
    bool hasDatagramSocket() const { return m_datagramSocket != nullptr; }
    // The identity given to initialize(); empty until then.
    const std::string &category() const { return m_category; }
    const std::string &controllerId() const { return m_controllerId; }
    // Result of the last synchronous call that was sent.
    int lastResult() const { return m_result; }

    // The arrival number of the Signal message that messageReceived delivers now (the first of
    // the connection's is 1, RpcConnection::signalsArrived()); 0 outside such a delivery and for
    // the level datagrams.
    [[nodiscard]] qint64 signalArrival() const { return m_connection.deliveredSignal(); }
    // How many Signal messages had arrived when the last synchronous call that was sent ended
    // (its answer came, or it failed): those numbered up to this one came before that answer.
    [[nodiscard]] qint64 signalsBeforeLastReply() const { return m_replySignals; }
    // The arrival number of the Signal message being handled (the innermost HandledSignal);
    // kNewestSignal, newer than any answer, when none is said to be.
    static constexpr qint64 kNewestSignal = std::numeric_limits<qint64>::max();
    [[nodiscard]] qint64 handledSignal() const { return m_handledSignal; }
    // The innermost CallScope made on this client; null when none lives.
    [[nodiscard]] const CallScope *scope() const { return m_scope; }
    // A task's scope lives now, whatever neutral scopes were made inside it since.
    [[nodiscard]] bool hasTask() const;
    // Ends every task that lives now (the operator left what they were doing, or ended the
    // session): their further reads are not sent. A task begun afterwards runs as usual.
    void endTasks();

    // The connection's tick in milliseconds (1000 by default): time-outs are checked and
    // reconnects counted on it. Tests shorten it.
    int tickInterval() const { return m_connection.tickInterval(); }
    void setTickInterval(int milliseconds) { m_connection.setTickInterval(milliseconds); }

    // The whole seconds of time-out that sendSyncMsg() gives a call for timeoutMs.
    [[nodiscard]] static int timeoutSeconds(int timeoutMs);

signals:
    void stateChanged(RpcConnection::ConnectionState state);
    void errorOccurred(RpcConnection::ConnectionError error);
    void messageCompleted(const RpcMessage &message);
    void messageReceived(const RpcMessage &message);
    void sendSyncMsgCompleted();
    void busyStateChanged(bool busy);
    void callStarting();
    void taskEnded();

private slots:
    void callCompleted(RpcAsyncCallWatcher *watcher);
    void readPendingDatagrams();

private:
    friend class CallScope;
    friend class HandledSignal;

    void dropDatagramSocket();

    RpcClientConnection m_connection;
    QUdpSocket *m_datagramSocket = nullptr;
    QPointer<RpcAsyncCallWatcher> m_watcher;
    QString m_host;
    QHostAddress m_hostAddress;
    quint16 m_tcpPort = 0;
    quint16 m_datagramPort = 0;
    std::string m_category;
    std::string m_controllerId;
    bool m_ready = true;
    bool m_waiting = false;
    // The thread's event loop level at which the running wait handles events; -1 when none.
    int m_waitLoopLevel = -1;
    QPointer<QObject> m_inputGate;
    int m_result = 0;
    CMsg m_reply;
    CMsg m_heldBack;
    CallScope *m_scope = nullptr;
    qint64 m_replySignals = 0;
    qint64 m_handledSignal = kNewestSignal;
};

} // namespace ksm
