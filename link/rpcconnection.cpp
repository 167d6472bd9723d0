#include "link/rpcconnection.h"

#include "link/levelframelog.h"
#include "link/logtext.h"
#include "link/rpcasynccalldata.h"
#include "link/rpcasynccallwatcher.h"
#include "link/rpcframe.h"

#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

#include <limits>
#include <string>
#include <string_view>

namespace {

constexpr int kDefaultTickMs = 1000;
const std::string kReturnKey = "return";
const std::string kReturnFmtKey = "returnFmt";
const std::string kNotSet = "101-parameter not set";

void registerMetaTypes()
{
    static const bool registered = [] {
        qRegisterMetaType<RpcMessage>();
        qRegisterMetaType<RpcConnection::ConnectionState>();
        qRegisterMetaType<RpcConnection::ConnectionError>();
        qRegisterMetaType<RpcAsyncCallWatcher *>();
        return true;
    }();
    Q_UNUSED(registered)
}

// The body's text as a frame carries it, with secret values masked and long texts cut. A body of
// type 0 travels as no text at all, so it logs as none.
QString logText(const ksm::CMsg &body)
{
    if (body.type() == ksm::CMsg::None)
        return {};
    return logBody(body.toLogString());
}

// The message without the reply bookkeeping keys of a part.
ksm::CMsg withoutReturnKeys(const ksm::CMsg &body)
{
    ksm::CMsg out(body.type());
    for (const auto &[key, value] : body.params()) {
        if (key != kReturnKey && key != kReturnFmtKey)
            out.setParam(key, value);
    }
    return out;
}

// Reads the body of a frame of size bytes into body: CMsg::parse()'s result, -1 when the frame
// carries no body.
int parseBody(const char *frame, quint32 size, ksm::CMsg &body)
{
    if (size <= RpcFrame::kHeaderSize)
        return -1;
    return ksm::CMsg::parse(
        std::string_view(frame + RpcFrame::kHeaderSize, size - RpcFrame::kHeaderSize), body);
}

// A message the unit sent and the link could not take is dropped (or fails its call): a warning
// says so whatever the log level, with the cause.
void warnRefused(
    const QString &address, quint16 port, qint32 id, qint32 type, quint32 size, int parsed)
{
    const QString cause
        = parsed == ksm::CMsg::TooManyEntries
              ? QStringLiteral("more than %1 entries").arg(QString::number(ksm::CMsg::kMaxEntries))
              : QStringLiteral("no readable message");
    logWarning(QStringLiteral("RpcConnection::parserReady(address=%1:%2) message %3 of type %4 "
                              "and %5 bytes refused: %6")
                   .arg(address,
                        QString::number(port),
                        QString::number(id),
                        QString::number(type),
                        QString::number(size),
                        cause));
}

RpcConnection::ConnectionState fromSocketState(QAbstractSocket::SocketState socketState)
{
    switch (socketState) {
    case QAbstractSocket::HostLookupState:
    case QAbstractSocket::ConnectingState:
        return RpcConnection::Connecting;
    case QAbstractSocket::ClosingState:
        return RpcConnection::Closing;
    case QAbstractSocket::UnconnectedState:
    case QAbstractSocket::BoundState:
    case QAbstractSocket::ListeningState:
    case QAbstractSocket::ConnectedState:
        break;
    }
    return RpcConnection::Unconnected;
}

} // namespace

RpcConnection::RpcConnection(QObject *parent)
    : QObject(parent)
    , m_parser(this)
    , m_timer(new QTimer(this))
    , m_socket(new QTcpSocket(this))
{
    registerMetaTypes();
    m_timer->setInterval(kDefaultTickMs);
    QObject::connect(m_timer,
                     &QTimer::timeout,
                     this,
                     qOverload<>(&RpcConnection::timerEvent),
                     Qt::DirectConnection);
    QObject::connect(
        m_socket, &QTcpSocket::readyRead, this, &RpcConnection::socketRead, Qt::DirectConnection);
    QObject::connect(m_socket,
                     &QTcpSocket::connected,
                     this,
                     &RpcConnection::socketConnected,
                     Qt::DirectConnection);
    QObject::connect(m_socket,
                     &QTcpSocket::stateChanged,
                     this,
                     &RpcConnection::socketChanged,
                     Qt::DirectConnection);
    QObject::connect(m_socket,
                     &QTcpSocket::errorOccurred,
                     this,
                     &RpcConnection::socketError,
                     Qt::DirectConnection);
}

RpcConnection::~RpcConnection()
{
    QObject::disconnect(m_socket, nullptr, nullptr, nullptr);
    QObject::disconnect(m_timer, nullptr, nullptr, nullptr);
    disconnect();
}

int RpcConnection::tickInterval() const
{
    return m_timer->interval();
}

void RpcConnection::setTickInterval(int milliseconds)
{
    m_timer->setInterval(milliseconds > 0 ? milliseconds : kDefaultTickMs);
}

void RpcConnection::setPeer(const QString &address, quint16 port)
{
    m_address = address;
    m_port = port;
}

void RpcConnection::logLine(const char *className,
                            const char *operation,
                            const QString &details) const
{
    if (!logDebugEnabled())
        return;
    logDebug(QStringLiteral("%1::%2(address=%3:%4%5)")
                 .arg(QLatin1String(className),
                      QLatin1String(operation),
                      m_address,
                      QString::number(m_port),
                      details));
}

void RpcConnection::disconnect()
{
    if (!m_engaged)
        return;
    m_engaged = false;
    logLine("RpcClientConnection", "disconnect", QStringLiteral(", disconnecting from host"));
    logLevelLine("disconnect", m_levelLog.linkEnded());
    m_timer->stop();
    m_parser.reset();
    clearDeferredSignals();
    cancelPendingCalls();
    switch (m_socket->state()) {
    case QAbstractSocket::HostLookupState:
    case QAbstractSocket::ConnectingState:
        m_socket->abort();
        break;
    case QAbstractSocket::ConnectedState:
        m_socket->disconnectFromHost();
        break;
    default:
        break;
    }
}

bool RpcConnection::send(const RpcMessage &message)
{
    if (m_state != Connected || message.type() == RpcMessage::None)
        return false;
    const QByteArray frame = message.encode();
    if (frame.isEmpty())
        return false;
    if (logDebugEnabled()) {
        logLine("RpcConnection",
                "send",
                QStringLiteral(", header=%1/%2/%3, message=%4")
                    .arg(QString::number(message.id()),
                         QString::number(message.type()),
                         QString::number(message.code()),
                         logText(message.body())));
    }
    return m_socket->write(frame) != -1;
}

RpcAsyncCall RpcConnection::asyncCall(const RpcMessage &request, int timeoutSeconds)
{
    const int id = m_lastId >= 0 && m_lastId < std::numeric_limits<int>::max() ? m_lastId + 1 : 0;
    m_lastId = id;
    RpcAsyncCall call(id);

    if (m_state != Connected) {
        call.refuse(RpcAsyncCall::NotConnected);
        return call;
    }
    if (request.type() != RpcMessage::Request) {
        call.refuse(RpcAsyncCall::NotARequest);
        return call;
    }
    const ksm::CMsg &body = request.body();
    const QByteArray frame = body.type() == ksm::CMsg::None
                                 ? QByteArray()
                                 : RpcMessage::encodeFrame(id, RpcMessage::Request, 0, body);
    if (frame.isEmpty()) {
        call.refuse(RpcAsyncCall::EncodeError);
        return call;
    }

    if (logDebugEnabled()) {
        logLine("RpcConnection",
                "asyncCall",
                QStringLiteral(", header=%1/%2/0, message=%3, timeout=%4")
                    .arg(QString::number(id),
                         QString::number(int(RpcMessage::Request)),
                         logText(body),
                         QString::number(timeoutSeconds)));
    }
    if (m_socket->write(frame) == -1) {
        call.refuse(RpcAsyncCall::WriteFailed);
        return call;
    }

    call.data()->listRequest = body.type() == ksm::CMsg::Param && !body.lists().empty();
    call.startTimeout(timeoutSeconds);
    m_pendingCalls[quint32(id)] = call;
    return call;
}

void RpcConnection::cancelPendingCall(RpcAsyncCall &call)
{
    const auto it = call.isNull() ? m_pendingCalls.end() : m_pendingCalls.find(quint32(call.id()));
    if (it != m_pendingCalls.end() && it->second == call) {
        logLine("RpcConnection",
                "cancelPendingCall",
                QStringLiteral(", canceling message %1").arg(call.id()));
        m_pendingCalls.erase(it);
        failCall(call, RpcAsyncCall::Cancelled);
    }
    notifyDeferredSignals();
}

void RpcConnection::cancelPendingCalls()
{
    logLine("RpcConnection", "cancelPendingCalls");
    std::map<quint32, RpcAsyncCall> calls;
    calls.swap(m_pendingCalls);
    for (auto &[id, call] : calls) {
        logLine("RpcConnection",
                "cancelPendingCalls",
                QStringLiteral(", canceling message %1").arg(qint32(id)));
        failCall(call, RpcAsyncCall::Cancelled);
    }
    notifyDeferredSignals();
}

void RpcConnection::setReplyLimits(int parts, qint64 bytes)
{
    m_replyPartLimit = parts > 0 ? parts : kDefaultReplyPartLimit;
    m_replyByteLimit = bytes > 0 ? bytes : kDefaultReplyByteLimit;
}

void RpcConnection::setDeferredSignalLimit(qint64 bytes)
{
    m_deferredSignalLimit = bytes > 0 ? bytes : kDefaultDeferredSignalLimit;
}

qint64 RpcConnection::footprint(const ksm::CMsg &body)
{
    // A map node and two short strings cost about this much besides the characters.
    constexpr qint64 kPerParam = 128;
    constexpr qint64 kPerName = 32;
    qint64 bytes = qint64(sizeof(ksm::CMsg));
    for (const auto &[key, value] : body.params())
        bytes += kPerParam + qint64(key.size()) + qint64(value.size());
    for (const std::string &name : body.gets())
        bytes += kPerName + qint64(name.size());
    for (const std::string &name : body.lists())
        bytes += kPerName + qint64(name.size());
    return bytes;
}

void RpcConnection::deferSignal(const RpcMessage &message, qint64 arrival)
{
    const qint64 size = footprint(message.body());
    m_deferredSignals.append(message);
    m_deferredSizes.append(size);
    m_deferredArrivals.append(arrival);
    m_deferredBytes += size;
    // The newest stays even when it alone is past the cap: it is already in memory.
    int dropped = 0;
    while (m_deferredBytes > m_deferredSignalLimit && m_deferredSignals.size() > 1) {
        m_deferredBytes -= m_deferredSizes.takeFirst();
        m_deferredSignals.removeFirst();
        m_deferredArrivals.removeFirst();
        ++dropped;
    }
    if (dropped > 0 && !m_deferredOverflowReported) {
        m_deferredOverflowReported = true;
        logWarning(
            QStringLiteral("RpcConnection::parserReady(address=%1:%2) held-back signals "
                           "exceed %3 bytes, dropping the oldest")
                .arg(m_address, QString::number(m_port), QString::number(m_deferredSignalLimit)));
    }
}

RpcMessage RpcConnection::takeDeferredSignal(const char *operation, qint64 *arrival)
{
    m_deferredBytes -= m_deferredSizes.takeFirst();
    const qint64 number = m_deferredArrivals.takeFirst();
    if (arrival)
        *arrival = number;
    if (m_deferredSignals.size() == 1)
        m_deferredOverflowReported = false;
    const RpcMessage message = m_deferredSignals.takeFirst();
    if (!LevelFrameLog::isLevelFrame(message.body())) {
        logLine("RpcConnection",
                operation,
                QStringLiteral(", dequeue message id=%1").arg(message.id()));
    }
    return message;
}

void RpcConnection::clearDeferredSignals()
{
    m_deferredSignals.clear();
    m_deferredSizes.clear();
    m_deferredArrivals.clear();
    m_deferredBytes = 0;
    m_deferredOverflowReported = false;
}

RpcMessage RpcConnection::dequeueSignal()
{
    if (m_deferredSignals.isEmpty())
        return {};
    return takeDeferredSignal("dequeueSignal");
}

void RpcConnection::notifyDeferredSignals()
{
    if (!m_pendingCalls.empty())
        return;
    while (!m_deferredSignals.isEmpty()) {
        qint64 arrival = 0;
        const RpcMessage message = takeDeferredSignal("notifyDeferredSignals", &arrival);
        deliver(message, arrival);
    }
}

void RpcConnection::deliver(const RpcMessage &message, qint64 arrival)
{
    // A slot may run the event loop, and a message delivered there has its own number.
    const qint64 outer = m_deliveredSignal;
    m_deliveredSignal = arrival;
    const QPointer<RpcConnection> self(this);
    emit messageReceived(message);
    if (self)
        m_deliveredSignal = outer;
}

void RpcConnection::notifyStateChanged(RpcConnection::ConnectionState state)
{
    logLine("RpcConnection", "notifyStateChanged", QStringLiteral(", state=%1").arg(int(state)));
    emit stateChanged(state);
}

void RpcConnection::notifyErrorOccurred(RpcConnection::ConnectionError error)
{
    logLine("RpcConnection", "notifyErrorOccurred", QStringLiteral(", error=%1").arg(int(error)));
    emit errorOccurred(error);
}

void RpcConnection::timerEvent()
{
    expireCalls();
    logLevelLine("timerEvent", m_levelLog.tick(m_timer->interval()));
    notifyDeferredSignals();
}

void RpcConnection::logLevelLine(const char *operation, const QString &details) const
{
    if (!details.isEmpty())
        logLine("RpcConnection", operation, details);
}

void RpcConnection::expireCalls()
{
    QList<RpcAsyncCall> expired;
    for (auto it = m_pendingCalls.begin(); it != m_pendingCalls.end();) {
        if (it->second.isNull()) {
            it = m_pendingCalls.erase(it);
        } else if (it->second.hasExpired()) {
            expired.append(it->second);
            it = m_pendingCalls.erase(it);
        } else {
            ++it;
        }
    }
    for (const RpcAsyncCall &call : std::as_const(expired)) {
        logLine("RpcConnection",
                "timerEvent",
                QStringLiteral(", time out on message %1").arg(call.id()));
        failCall(call, RpcAsyncCall::Timeout);
    }
}

void RpcConnection::socketConnected()
{
    m_lastSocketError = QAbstractSocket::UnknownSocketError;
    m_state = Connected;
    notifyStateChanged(Connected);
}

void RpcConnection::socketChanged(QAbstractSocket::SocketState socketState)
{
    const ConnectionState mapped = fromSocketState(socketState);
    if (mapped == m_state)
        return;
    m_state = mapped;
    notifyStateChanged(mapped);
    // A slot may have changed the state while it was being reported.
    if (m_state != Connected) {
        logLevelLine("socketChanged", m_levelLog.linkEnded());
        clearDeferredSignals();
        cancelPendingCalls();
    }
}

void RpcConnection::socketError(QAbstractSocket::SocketError socketError)
{
    logLine("RpcConnection", "socketError", QStringLiteral(", error=%1").arg(int(socketError)));
    m_lastSocketError = socketError;
    notifyErrorOccurred(SocketError);
}

void RpcConnection::socketRead()
{
    const QByteArray bytes = m_socket->readAll();
    // Bytes that arrive after disconnect() belong to a session the owner has left.
    if (!m_engaged)
        return;
    m_parser.feed(bytes.constData(), bytes.size());
}

void RpcConnection::parserFailed()
{
    notifyErrorOccurred(FramingError);
}

void RpcConnection::parserReady(const char *frame, quint32 size)
{
    const qint32 id = RpcFrame::id(frame);
    const qint32 type = RpcFrame::type(frame);
    const qint32 code = RpcFrame::code(frame);
    ksm::CMsg body;
    const bool carriesBody = type == RpcMessage::Request || type == RpcMessage::Signal;
    const int parseResult = carriesBody ? parseBody(frame, size, body) : -1;
    const bool parsed = carriesBody && parseResult == 0;
    const bool level = parsed && type == RpcMessage::Signal && LevelFrameLog::isLevelFrame(body);
    if (level) {
        logLevelLine("parserReady", m_levelLog.frameArrived());
    } else if (logDebugEnabled()) {
        logLine("RpcConnection",
                "parserReady",
                QStringLiteral(", header=%1/%2/%3")
                    .arg(QString::number(id), QString::number(type), QString::number(code)));
    }

    switch (type) {
    case RpcMessage::Request:
    case RpcMessage::Signal: {
        if (!parsed) {
            warnRefused(m_address, m_port, id, type, size, parseResult);
            notifyErrorOccurred(MessageParseError);
            break;
        }
        if (!level && logDebugEnabled())
            logLine("RpcConnection", "parserReady", QStringLiteral(", message=") + logText(body));
        const RpcMessage message = type == RpcMessage::Request ? RpcMessage::request(id, body)
                                                               : RpcMessage::signal(id, body);
        const qint64 arrival = type == RpcMessage::Signal ? ++m_signalsArrived : 0;
        if (type == RpcMessage::Signal && m_deferSignals && !m_pendingCalls.empty()) {
            if (!level) {
                logLine("RpcConnection",
                        "parserReady",
                        QStringLiteral(", enqueue message id=%1").arg(id));
            }
            deferSignal(message, arrival);
        } else {
            deliver(message, arrival);
        }
        break;
    }
    case RpcMessage::Reply:
        handleReply(id, frame, size);
        break;
    case RpcMessage::ErrorReply:
        handleErrorReply(id, code);
        break;
    default:
        notifyErrorOccurred(UnknownMessageType);
        break;
    }
    notifyDeferredSignals();
}

void RpcConnection::handleErrorReply(qint32 id, qint32 code)
{
    const auto it = m_pendingCalls.find(quint32(id));
    if (it == m_pendingCalls.end())
        return;
    const RpcAsyncCall call = it->second;
    m_pendingCalls.erase(it);
    if (call.isNull()) {
        notifyErrorOccurred(InternalError);
        return;
    }
    // Code 0 would read as success: an error answer that names no failure is a bad answer.
    if (code == RpcAsyncCall::NoError) {
        failCall(call, RpcAsyncCall::BadReply);
        notifyErrorOccurred(MessageParseError);
        return;
    }
    failCall(call, code);
}

void RpcConnection::handleReply(qint32 id, const char *frame, quint32 size)
{
    // Late answers (after a time-out or cancellation) and answers to one-way requests end here.
    const auto it = m_pendingCalls.find(quint32(id));
    if (it == m_pendingCalls.end())
        return;
    const RpcAsyncCall call = it->second;
    if (call.isNull()) {
        m_pendingCalls.erase(it);
        notifyErrorOccurred(InternalError);
        return;
    }

    ksm::CMsg body;
    if (const int parseResult = parseBody(frame, size, body); parseResult != 0) {
        warnRefused(m_address, m_port, id, RpcMessage::Reply, size, parseResult);
        m_pendingCalls.erase(it);
        failCall(call, RpcAsyncCall::BadReply);
        notifyErrorOccurred(MessageParseError);
        return;
    }
    if (logDebugEnabled())
        logLine("RpcConnection", "parserReady", QStringLiteral(", message=") + logText(body));

    RpcAsyncCallData *record = call.data();
    const std::string returned = *body.param(kReturnKey);
    const int mergeMode = record->listRequest ? ksm::CMsg::Append : ksm::CMsg::KeepFirst;
    const char separator = *body.param(kReturnFmtKey) == "EXT" ? '\x1d' : ',';

    if (returned == "PROGRESS") {
        // One part of the answer; the call's time-out keeps running from the request. A unit
        // that never ends its answer must not fill the memory before the time-out.
        record->partBytes += footprint(body);
        if (++record->partCount > m_replyPartLimit || record->partBytes > m_replyByteLimit) {
            m_pendingCalls.erase(it);
            logWarning(QStringLiteral("RpcConnection::parserReady(address=%1:%2) reply to message "
                                      "%3 exceeds %4 parts or %5 bytes")
                           .arg(m_address,
                                QString::number(m_port),
                                QString::number(id),
                                QString::number(m_replyPartLimit),
                                QString::number(m_replyByteLimit)));
            record->reply.clear();
            failCall(call, RpcAsyncCall::BadReply);
            notifyErrorOccurred(MessageParseError);
            return;
        }
        record->reply.merge(withoutReturnKeys(body), mergeMode, separator);
        return;
    }

    m_pendingCalls.erase(it);
    if (returned == "OK") {
        record->reply.setType(body.type());
        record->reply.merge(body, mergeMode, separator);
        completeCall(call, RpcAsyncCall::NoError);
    } else if (returned == "ERROR") {
        record->reply.setType(body.type());
        bool anyParameter = false;
        bool anyFailure = false;
        for (const auto &[key, value] : body.params()) {
            if (key == kReturnKey)
                continue;
            anyParameter = true;
            if (value == kNotSet) {
                record->reply.setParam(key, std::string());
            } else {
                anyFailure = true;
                record->reply.setParam(key, value);
            }
        }
        // Parameters that are merely not set make a successful answer; a bare "ERROR" stays one.
        record->reply.setParam(
            kReturnKey, anyFailure || !anyParameter ? "ERROR" : "OK", ksm::CMsg::Replace);
        completeCall(call, RpcAsyncCall::NoError);
    } else {
        failCall(call, RpcAsyncCall::BadReply);
        notifyErrorOccurred(MessageParseError);
    }
}

void RpcConnection::completeCall(RpcAsyncCall call, int result)
{
    if (call.finish(RpcAsyncCallData::Replied, result))
        emit messageCompleted(call.toMessage());
}

void RpcConnection::failCall(RpcAsyncCall call, int result)
{
    if (call.finish(RpcAsyncCallData::Failed, result))
        emit messageCompleted(call.toMessage());
}
