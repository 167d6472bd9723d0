#include "link/ccom.h"

#include "link/comclient.h"
#include "link/logtext.h"
#include "link/protocolkeys.h"
#include "link/rpcasynccall.h"
#include "link/rpcasynccallwatcher.h"

#include <QAbstractSocket>
#include <QByteArray>
#include <QCoreApplication>
#include <QEventLoop>
#include <QHostAddress>
#include <QThread>
#include <QUdpSocket>

#include <algorithm>
#include <optional>

namespace ksm {

namespace {

// The settings-record key naming this program's record; the model's keys are elsewhere.
const std::string kKeyControllerId = "controller_id";

// Datagram port value meaning that the level meters come over the TCP link.
constexpr quint16 kLevelsOverTcp = 1;
// Time-out, in seconds, of a synchronous call whose time-out is below one second.
constexpr int kDefaultTimeoutSeconds = 5;

// Message texts are the device's UTF-8; long ones are cut for the log.
QString logText(const CMsg &message)
{
    return logBody(message.toLogString());
}

// Adds the settings-record routing to a PARAM message; present keys keep their values.
void addRecordRouting(CMsg &message, const std::string &category, const std::string &controllerId)
{
    message.setParam(kKeyTarget, kTargetDb);
    message.setParam(kKeyCat, category);
    message.setParam(kKeyType, controllerId);
    message.setParam(kKeyControllerId, controllerId);
}

// A read: a request that asks for values or lists and sets nothing but its routing, or the
// opening of a stored item, which only shows what the item holds.
bool isRead(const CMsg &request)
{
    if (request.type() == CMsg::Do)
        return *request.param(kKeyAction) == kActionOpen;
    return request.type() == CMsg::Param && (!request.gets().empty() || !request.lists().empty());
}

} // namespace

CallScope::CallScope(CCom *client, std::function<bool()> wanted)
    : m_client(client)
    , m_wanted(std::move(wanted))
{
    if (client) {
        m_outer = client->m_scope;
        client->m_scope = this;
    }
}

CallScope::~CallScope()
{
    if (!m_client || m_client->m_scope != this)
        return;
    m_client->m_scope = m_outer;
    if (!isNeutral() && !m_client->hasTask())
        emit m_client->taskEnded();
}

bool CallScope::stillWanted() const
{
    if (isNeutral())
        return true;
    if (m_ended || !m_wanted())
        return false;
    return !m_outer || m_outer->isNeutral() || m_outer->stillWanted();
}

HandledSignal::HandledSignal(CCom *client, qint64 arrival)
    : m_client(client)
{
    if (client) {
        m_outer = client->m_handledSignal;
        client->m_handledSignal = arrival;
    }
}

HandledSignal::~HandledSignal()
{
    if (m_client)
        m_client->m_handledSignal = m_outer;
}

void processEventsApart()
{
    const CallScope apart(comClient());
    QCoreApplication::processEvents(QEventLoop::ExcludeSocketNotifiers);
}

CCom::CCom(QObject *parent)
    : QObject(parent)
{
    qRegisterMetaType<RpcMessage>();
    qRegisterMetaType<RpcConnection::ConnectionState>();
    qRegisterMetaType<RpcConnection::ConnectionError>();
    qRegisterMetaType<RpcAsyncCallWatcher *>();

    m_connection.setDeferSignals(true);
    QObject::connect(&m_connection, &RpcConnection::stateChanged, this, &CCom::stateChanged);
    QObject::connect(&m_connection, &RpcConnection::errorOccurred, this, &CCom::errorOccurred);
    QObject::connect(
        &m_connection, &RpcConnection::messageCompleted, this, &CCom::messageCompleted);
    QObject::connect(&m_connection, &RpcConnection::messageReceived, this, &CCom::messageReceived);
}

CCom::~CCom()
{
    QObject::disconnect(&m_connection, nullptr, nullptr, nullptr);
    disconnect();
}

int CCom::timeoutSeconds(int timeoutMs)
{
    const int seconds = timeoutMs / 1000;
    return seconds < 1 ? kDefaultTimeoutSeconds : seconds;
}

bool CCom::connect(const QString &host, quint16 tcpPort, quint16 datagramPort)
{
    if (m_connection.isEngaged())
        return false;
    QHostAddress address;
    if (tcpPort == 0 || !address.setAddress(host)
        || address.protocol() != QAbstractSocket::IPv4Protocol)
        return false;

    if (!m_datagramSocket && datagramPort != 0) {
        m_datagramPort = datagramPort;
        // Port 1 asks the device for levels over the TCP link: nothing to listen on.
        if (datagramPort != kLevelsOverTcp) {
            m_datagramSocket = new QUdpSocket(this);
            if (!m_datagramSocket->bind(QHostAddress::AnyIPv4, datagramPort))
                logWarning(
                    QStringLiteral("CCom::connect(datagramPort=%1) bind failed: %2")
                        .arg(QString::number(datagramPort), m_datagramSocket->errorString()));
            QObject::connect(
                m_datagramSocket, &QUdpSocket::readyRead, this, &CCom::readPendingDatagrams);
        }
    }

    m_host = host;
    m_hostAddress = address;
    m_tcpPort = tcpPort;
    m_connection.connect(host, tcpPort);
    return true;
}

void CCom::dropDatagramSocket()
{
    if (!m_datagramSocket)
        return;
    QObject::disconnect(m_datagramSocket, nullptr, nullptr, nullptr);
    // Deleted later: disconnect() may run from a slot while the socket's own code is on the
    // stack (a level datagram handled in the nested loop of a synchronous call).
    m_datagramSocket->close();
    m_datagramSocket->deleteLater();
    m_datagramSocket = nullptr;
}

void CCom::disconnect()
{
    if (!m_connection.isEngaged())
        return;
    dropDatagramSocket();
    m_connection.disconnect();
}

int CCom::initialize(const std::string &category, const std::string &controllerId)
{
    m_category = category;
    m_controllerId = controllerId;
    return 0;
}

int CCom::sendMsg(const CMsg &msg, int /*unused*/)
{
    if (!m_ready)
        return -1;
    if (logDebugEnabled())
        logDebug(QStringLiteral("CCom::sendMsg(%1)").arg(logText(msg)));
    return m_connection.send(RpcMessage::request(-1, msg)) ? 0 : -1;
}

int CCom::sendSyncMsg(const CMsg &request, CMsg &reply, int /*unused*/, int timeoutMs)
{
    if (!m_ready)
        return RpcAsyncCall::NoCall;
    {
        // What is handed on here may make calls of its own, close the link, or end the client.
        const QPointer<CCom> self(this);
        emit callStarting();
        if (!self)
            return RpcAsyncCall::Cancelled;
        if (!m_ready)
            return RpcAsyncCall::NoCall;
    }
    if (m_scope && !m_scope->stillWanted() && isRead(request)) {
        if (logDebugEnabled()) {
            logDebug(QStringLiteral("CCom::sendSyncMsg not sent, its task has ended: %1")
                         .arg(logText(request)));
        }
        return RpcAsyncCall::Cancelled;
    }

    const int seconds = timeoutSeconds(timeoutMs);
    if (logDebugEnabled()) {
        logDebug(QStringLiteral("CCom::sendSyncMsg(timeout=%1 s, %2)")
                     .arg(QString::number(seconds), logText(request)));
    }
    // The request is copied into the message here, so reply may be the request itself.
    RpcAsyncCall call = m_connection.asyncCall(RpcMessage::request(request), seconds);
    if (call.isFinished() && call.result() != RpcAsyncCall::NoError) {
        logDebug(QStringLiteral("CCom::sendSyncMsg refused, result=%1").arg(call.result()));
        return call.result();
    }

    // Busy before anyone hears of it, so a slot of busyStateChanged cannot start a second call.
    m_ready = false;
    m_waiting = true;
    m_result = 0;
    emit busyStateChanged(true);

    auto *watcher = new RpcAsyncCallWatcher(call, this);
    m_watcher = watcher;
    QObject::connect(watcher, &RpcAsyncCallWatcher::finished, this, &CCom::callCompleted);

    // The client may be destroyed from inside the nested loop (the destructor cancels the call,
    // which ends the wait): then nothing of it may be touched any more.
    const QPointer<CCom> self(this);
    // With a gate, the input made meanwhile reaches it now and is judged there; held back by
    // the loop, all of it would be carried out after the wait, on whatever page is shown by then.
    m_waitLoopLevel = QThread::currentThread()->loopLevel();
    // What runs in the loop (timers, posted events, signals of the link) is no part of the task
    // that made the call.
    std::optional<CallScope> apart(std::in_place, this);
    while (self && m_waiting) {
        QEventLoop::ProcessEventsFlags flags = QEventLoop::WaitForMoreEvents;
        if (!m_inputGate)
            flags |= QEventLoop::ExcludeUserInputEvents;
        QCoreApplication::processEvents(flags);
    }
    if (!self) {
        // The scope's client is gone with it: nothing is left to undo.
        reply.clear();
        return RpcAsyncCall::Cancelled;
    }
    apart.reset();

    reply = m_reply;
    const int result = m_result;
    m_waitLoopLevel = -1;
    m_ready = true;
    if (logDebugEnabled()) {
        logDebug(QStringLiteral("CCom::sendSyncMsg result=%1, %2")
                     .arg(QString::number(result), logText(reply)));
    }
    emit busyStateChanged(false);
    emit sendSyncMsgCompleted();
    return result;
}

bool CCom::hasTask() const
{
    for (const CallScope *scope = m_scope; scope; scope = scope->outer()) {
        if (!scope->isNeutral())
            return true;
    }
    return false;
}

void CCom::endTasks()
{
    for (CallScope *scope = m_scope; scope; scope = scope->m_outer) {
        if (!scope->isNeutral())
            scope->m_ended = true;
    }
}

bool CCom::isWaitLoopInnermost() const
{
    return !m_ready && m_waitLoopLevel >= 0
           && QThread::currentThread()->loopLevel() == m_waitLoopLevel;
}

void CCom::callCompleted(RpcAsyncCallWatcher *watcher)
{
    if (!watcher)
        return;
    watcher->deleteLater();
    if (watcher != m_watcher)
        return;
    m_watcher = nullptr;
    // The call ends as its answer is read: what has arrived by now came before it.
    m_replySignals = m_connection.signalsArrived();

    m_reply.clear();
    m_heldBack.clear();

    const RpcMessage message = watcher->toMessage();
    if (message.type() != RpcMessage::Reply) {
        m_result = message.code();
        m_waiting = false;
        return;
    }

    const CMsg &body = message.body();
    const bool paramReply = body.type() == CMsg::Param;
    m_reply.setType(body.type());
    for (const auto &[key, value] : body.params()) {
        if (key == kKeyReturn)
            continue;
        if (value.empty() || value == kCauseParameterNotSet)
            m_reply.setParam(key, kEmptyText, CMsg::Replace);
        else if (paramReply && causeCodeFromText(value) != 200)
            m_heldBack.setParam(key, value, CMsg::Replace);
        else
            m_reply.setParam(key, value, CMsg::Replace);
    }

    if (paramReply) {
        if (!m_heldBack.params().empty()) {
            m_heldBack.setType(CMsg::Param);
            m_heldBack.setParam(kKeyReturn, kReplyError, CMsg::Replace);
            m_reply.setParam(kKeyReturn, kReplyProgress, CMsg::Replace);
        } else {
            // A bare "ERROR" (nothing but "return") names no refused key to hold back; it is
            // still a refusal and must not read as success.
            const bool bareError
                = body.params().size() == 1 && *body.param(kKeyReturn) == kReplyError;
            m_reply.setParam(kKeyReturn, bareError ? kReplyError : kReplyOk, CMsg::Replace);
        }
    } else {
        const std::string *received = body.param(kKeyReturn, false);
        m_reply.setParam(
            kKeyReturn, received && !received->empty() ? *received : kReplyError, CMsg::Replace);
    }

    m_result = RpcAsyncCall::NoError;
    m_waiting = false;
}

int CCom::pendingReply(CMsg &out, int /*unused1*/, int /*unused2*/)
{
    if (m_heldBack.params().empty())
        return -1;
    out = m_heldBack;
    return 0;
}

int CCom::setControllerParams(const ParamMap &params, int timeoutMs)
{
    if (params.empty())
        return 0;
    if (m_category.empty() || m_controllerId.empty())
        return -1;

    CMsg message(CMsg::Param);
    for (const auto &[key, value] : params)
        message.setParam(key, value);
    addRecordRouting(message, m_category, m_controllerId);

    const int result = sendSyncMsg(message, message, 1000, timeoutMs);
    if (result != 0)
        return result;
    return *message.param(kKeyReturn) == kReplyOk ? 0 : -1;
}

int CCom::getControllerParams(const std::vector<std::string> &names, ParamMap &out, int timeoutMs)
{
    if (names.empty())
        return 0;
    if (m_category.empty() || m_controllerId.empty())
        return -1;

    CMsg message(CMsg::Param);
    for (const std::string &name : names)
        message.addGet(name);
    addRecordRouting(message, m_category, m_controllerId);

    CMsg reply;
    const int result = sendSyncMsg(message, reply, 1000, timeoutMs);
    if (result != 0)
        return result;
    for (const auto &[key, value] : reply.params()) {
        if (key != kKeyReturn)
            out.emplace(key, value);
    }
    return *reply.param(kKeyReturn) == kReplyOk ? 0 : -1;
}

void CCom::readPendingDatagrams()
{
    // The socket may go (disconnect() from a messageReceived slot) while datagrams are pending.
    const QPointer<QUdpSocket> socket(m_datagramSocket);
    for (int count = 0; socket && socket == m_datagramSocket && socket->hasPendingDatagrams();
         ++count) {
        // The rest waits for the next pass: paints, timers and the keep-alive run between. The
        // socket reports the datagrams left as soon as the loop comes round again.
        if (count == kDatagramBatch)
            return;
        const qint64 size = socket->pendingDatagramSize();
        QByteArray datagram(qsizetype(std::clamp<qint64>(size, 0, 65536)), Qt::Uninitialized);
        QHostAddress sender;
        const qint64 read = socket->readDatagram(datagram.data(), datagram.size(), &sender);
        if (read < 0)
            break; // an error: nothing more is read now; readyRead comes again for the rest
        // Levels come from the unit itself; anyone else on the network could forge them.
        if (read == 0 || !sender.isEqual(m_hostAddress, QHostAddress::TolerantConversion))
            continue;
        datagram.truncate(qsizetype(read));

        const RpcMessage message = RpcMessage::fromDatagram(datagram);
        if (message.type() != RpcMessage::Signal || message.body().type() != CMsg::Event
            || *message.body().param(kKeyEventType) != kEventAudioLevels)
            continue;
        emit messageReceived(message);
    }
}

} // namespace ksm
