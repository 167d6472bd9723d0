#pragma once

#include "fakeframe.h"
#include "fakemessage.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <memory>
#include <optional>

class FakeFrameReader;
class QTcpServer;
class QTcpSocket;
class QUdpSocket;

// One frame received from a client, decoded.
struct FakeRequest
{
    int client = 0;       // serial number of the connection it came on (1, 2, ...)
    qint32 frameType = 0; // FakeFrame::Type word of the header
    qint32 id = -1;
    qint32 code = 0;
    quint32 length = 0;  // length word of the header
    bool parsed = false; // the body was present and its text readable
    FakeMessage message; // the decoded body (type None when not parsed)
    QByteArray body;     // the body exactly as received

    QString typeWord() const { return message.typeWord(); }
    bool has(const QString &key) const { return message.has(key); }
    QString value(const QString &key) const { return message.value(key); }
    QStringList gets() const { return message.gets; }
    QStringList lists() const { return message.lists; }
    QString target() const { return message.value(QStringLiteral("target")); }
    QString network() const { return message.value(QStringLiteral("network")); }
    QString action() const { return message.value(QStringLiteral("action")); }
    bool isRequest() const { return frameType == FakeFrame::Request; }
    // A DO request with this "action".
    bool isCommand(const QString &actionName) const;
    // A PARAM request with a GET entry (or a LIST entry) of this name.
    bool isGetOf(const QString &name) const;
    bool isListOf(const QString &name) const;
    // A PARAM request that sets key (optionally to value).
    bool isSetOf(const QString &key, const std::optional<QString> &value = {}) const;
};

// One thing the fake writes in answer to a request, in order.
struct FakeReply
{
    enum class Kind { Reply, ErrorReply, Signal, Raw, Drop };

    Kind kind = Kind::Reply;
    std::optional<qint32> id; // default: the request's id (Signal: -1)
    qint32 code = 0;          // header code word (ErrorReply: the failure code)
    FakeMessage body;         // Reply and Signal
    QByteArray raw;           // Raw: written unchanged

    static FakeReply reply(const FakeMessage &message, qint32 code = 0);
    static FakeReply errorReply(qint32 code);
    static FakeReply signal(const FakeMessage &message);
    static FakeReply rawBytes(const QByteArray &bytes);
    // Cuts the link after the frames before it are written.
    static FakeReply drop();
};

// Returns the frames to answer a request with; std::nullopt leaves the request to the fake's
// default handling, an empty list leaves it unanswered.
using FakeReplyHook = std::function<std::optional<QList<FakeReply>>(const FakeRequest &)>;
using FakeRequestPredicate = std::function<bool(const FakeRequest &)>;
using FakePairs = QList<QPair<QString, QString>>;

// A scriptable stand-in for a Quorix unit, serving the device link on 127.0.0.1.
//
// Store. Values are kept per scope (target, network) and key. A request names its scope by its
// "target" and "network" parameters; a request without them addresses the device's own keys
// (empty target and network). Requests with "target" "db" (the settings records of the
// programs) name their owner by "controller_id" in place of a network, and their "cat" and
// "type" are routing words as well: setValue("tabname", "x", "db", "web") answers a GET of
// "tabname" sent with "target" "db" and "controller_id" "web". The routing words are never
// stored.
//
// Default answers to a Request frame (the reply's message type is the request's):
// - PARAM: each GET name gives its value, "101-parameter not set" when the scope has none;
//   each LIST name gives its stored text (a comma list, see setList); each other pair sets the
//   value (set values are not echoed). A refused key (refuseKey) gives its cause text instead
//   and is not set. "return" is "OK" when every name and pair succeeded, else "ERROR".
// - DO with "action" "subscribe"/"unsubscribe": "info" (or "event_type") names what is
//   followed; "event_type" "audio_levels" also takes "port" (1 to 65535) and "period". Other
//   actions answer "OK" plus the pairs given with setCommandReply, or "ERROR" with the cause of
//   refuseCommand. A DO without "action" fails with "104-mandatory parameter missing".
// - INFO or EVENT requests fail with "204-unknown command"; a body that is missing or
//   unreadable is answered with an ErrorReply of code 3.
// - With n progress parts set, n parts with "return" "PROGRESS" go before the final part, and
//   the accepted pairs (for a LIST, its items) are spread in order over all n + 1 parts;
//   refusals stay in the final part.
// Frames of other types from the client are logged and not answered.
//
// Scripting order per request: it is logged and requestReceived fires; then silence, the reply
// hook, a scripted error code, and the default answer are tried in that order. A reply delay
// holds back everything written for the request.
//
// Ownership: the server, client sockets and UDP socket are children of the fake. Signals:
// clientConnected when a client is accepted, clientDisconnected when one goes, requestReceived
// for every frame a client sends (before it is answered), framingError when a client's byte
// stream breaks (its later input is then ignored until it reconnects). All on the caller's
// thread; the wait helpers spin the event loop.
class FakeQuorix : public QObject
{
    Q_OBJECT

public:
    explicit FakeQuorix(QObject *parent = nullptr);
    ~FakeQuorix() override;
    Q_DISABLE_COPY_MOVE(FakeQuorix)

    // Listens on 127.0.0.1; port 0 picks a free one.
    [[nodiscard]] bool listen(quint16 port = 0);
    void close();
    bool isListening() const;
    quint16 port() const;

    // Store.
    void setValue(const QString &key,
                  const QString &value,
                  const QString &target = {},
                  const QString &network = {});
    QString
    value(const QString &key, const QString &target = {}, const QString &network = {}) const;
    bool
    hasValue(const QString &key, const QString &target = {}, const QString &network = {}) const;
    void removeValue(const QString &key, const QString &target = {}, const QString &network = {});
    // Stores a LIST answer: the items joined with "," (commas inside items escaped).
    void setList(const QString &name,
                 const QStringList &items,
                 const QString &target = {},
                 const QString &network = {});
    void clearValues();

    // Script. resetScript() undoes all of it (the store and the log stay).
    void refuseKey(const QString &key, const QString &cause);
    void acceptKey(const QString &key);
    void refuseCommand(const QString &action, const QString &cause);
    void setCommandReply(const QString &action, const FakePairs &pairs);
    void setProgressParts(int parts);
    void setReplyDelay(int ms);
    // Answers to reads (PARAM requests with GET or LIST entries, and DO "open", which reads a
    // stored item) are held back this long, or as long as the reply delay when that is longer.
    void setReadDelay(int ms);
    // Answers to reads with LIST entries are held back this long, or as long as the read or reply
    // delay when that is longer.
    void setListDelay(int ms);
    // Answers to writes (PARAM requests without GET or LIST entries, and the DO commands that
    // change stored items: "create", "update", "delete", "rename") are held back this long, or
    // as long as the reply delay when that is longer; the values are stored, and the commands
    // carried out, at once.
    void setWriteDelay(int ms);
    void setSilent(bool silent);
    // Every request is answered with an ErrorReply frame carrying code, until clearErrorReply().
    void replyWithErrorCode(qint32 code);
    void clearErrorReply();
    void setReplyHook(FakeReplyHook hook);
    void resetScript();
    // The answer the fake would give without hook or scripted error code; applies sets and
    // subscriptions as a side effect. For hooks that adjust the default answer.
    QList<FakeReply> defaultReplies(const FakeRequest &request);

    // Link.
    int clientCount() const;
    // Cuts every client's connection at once (after writing out what is already queued).
    void dropClient();
    // Writes bytes unchanged to every client; false when no client is connected.
    bool sendRaw(const QByteArray &bytes);
    // A Signal frame with this body to every client.
    bool pushSignal(const FakeMessage &message, qint32 id = -1);
    // INFO with "info_type" = infoType, then pairs.
    bool pushInfo(const QString &infoType, const FakePairs &pairs = {});
    // EVENT with "event_type" = eventType, then pairs.
    bool pushEvent(const QString &eventType, const FakePairs &pairs = {});

    // Subscriptions made by the client ("info" or "event_type" values), in the order made.
    // They end when the last client disconnects.
    QStringList subscriptions() const;
    bool isSubscribed(const QString &name) const;
    // Port and period of the "audio_levels" subscription; port 0 while there is none.
    quint16 levelPort() const;
    int levelPeriod() const;
    // An EVENT "audio_levels" with pairs, as a Signal frame in one UDP datagram to
    // 127.0.0.1:levelPort(); over the TCP link instead when the subscribed port is 1. False when
    // nothing is subscribed or the write fails.
    bool sendLevels(const FakePairs &pairs);
    // Writes one datagram to 127.0.0.1:port (levelPort() when port is 0).
    bool sendDatagram(const QByteArray &bytes, quint16 port = 0);

    // Request log.
    QList<FakeRequest> requests() const;
    int requestCount() const;
    // The newest logged frame; a default FakeRequest when the log is empty.
    FakeRequest lastRequest() const;
    void clearLog();
    int framingErrors() const;

    // Wait helpers: spin the event loop until the condition holds or timeoutMs passes.
    // waitForRequest looks at the whole log (clear it first to wait for a new one) and copies
    // the first matching entry to found.
    [[nodiscard]] bool waitForRequest(const FakeRequestPredicate &predicate,
                                      int timeoutMs = 5000,
                                      FakeRequest *found = nullptr) const;
    [[nodiscard]] bool waitForRequestCount(int count, int timeoutMs = 5000) const;
    [[nodiscard]] bool waitForConnection(int timeoutMs = 5000) const;
    [[nodiscard]] bool waitForDisconnection(int timeoutMs = 5000) const;

signals:
    void clientConnected();
    void clientDisconnected();
    void requestReceived(const FakeRequest &request);
    void framingError(const QString &text);

private:
    struct Client;

    void acceptClients();
    void readClient(QTcpSocket *socket);
    void forgetClient(QTcpSocket *socket);
    void handleFrame(QTcpSocket *socket, const FakeFrame &frame);
    void
    writeReplies(QTcpSocket *socket, const FakeRequest &request, const QList<FakeReply> &replies);
    bool writeToClients(const QByteArray &bytes);

    QList<FakeReply> answerParam(const FakeRequest &request);
    QList<FakeReply> answerDo(const FakeRequest &request);
    QList<FakeReply> splitIntoParts(const FakeMessage &finalPart,
                                    const FakeMessage &accepted,
                                    const FakeRequest &request) const;
    static QString scopeOf(const FakeMessage &message, QString *network);
    static QString storeKey(const QString &target, const QString &network, const QString &key);

    QTcpServer *m_server = nullptr;
    QUdpSocket *m_udp = nullptr;
    std::map<QTcpSocket *, std::unique_ptr<Client>> m_clients;
    int m_nextClient = 1;

    QHash<QString, QString> m_store;
    QHash<QString, QString> m_refusedKeys;
    QHash<QString, QString> m_refusedCommands;
    QHash<QString, FakePairs> m_commandReplies;
    int m_progressParts = 0;
    int m_replyDelayMs = 0;
    int m_readDelayMs = 0;
    int m_listDelayMs = 0;
    int m_writeDelayMs = 0;
    bool m_silent = false;
    std::optional<qint32> m_errorCode;
    FakeReplyHook m_hook;

    QStringList m_subscriptions;
    quint16 m_levelPort = 0;
    int m_levelPeriod = 0;

    QList<FakeRequest> m_log;
    int m_framingErrors = 0;
};

Q_DECLARE_METATYPE(FakeRequest)
