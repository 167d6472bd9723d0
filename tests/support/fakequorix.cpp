#include "fakequorix.h"

#include "fakeframereader.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <QUdpSocket>

#include <algorithm>

namespace {

const QString kTarget = QStringLiteral("target");
const QString kNetwork = QStringLiteral("network");
const QString kDb = QStringLiteral("db");
const QString kControllerId = QStringLiteral("controller_id");
const QString kReturn = QStringLiteral("return");
const QString kCause = QStringLiteral("cause");
const QString kAction = QStringLiteral("action");
const QString kInfo = QStringLiteral("info");
const QString kEventType = QStringLiteral("event_type");
const QString kInfoType = QStringLiteral("info_type");
const QString kAudioLevels = QStringLiteral("audio_levels");
const QString kOk = QStringLiteral("OK");
const QString kError = QStringLiteral("ERROR");
const QString kProgress = QStringLiteral("PROGRESS");
const QString kNotSet = QStringLiteral("101-parameter not set");
const QString kMandatoryMissing = QStringLiteral("104-mandatory parameter missing");
const QString kInvalidValue = QStringLiteral("105-invalid value");
const QString kUnknownCommand = QStringLiteral("204-unknown command");

// The ErrorReply code for a request whose body is missing or unreadable ("003-wrong format").
constexpr qint32 kUnreadableRequestCode = 3;

// Words that say where a request goes rather than what it reads or writes.
bool isRoutingKey(const QString &key, const QString &target)
{
    if (key == kTarget || key == kNetwork)
        return true;
    return target == kDb
           && (key == QLatin1String("cat") || key == QLatin1String("type") || key == kControllerId);
}

// A command that reads a stored item ("open"): held back as a read is.
bool isReadCommand(const FakeRequest &request)
{
    return request.isCommand(QStringLiteral("open"));
}

// A command that changes what the unit stores (the Book's create, update, delete and rename):
// held back as a write is. Calls, loads and subscriptions keep their own pace.
bool isWriteCommand(const FakeRequest &request)
{
    for (const char *action : {"create", "update", "delete", "rename"}) {
        if (request.isCommand(QLatin1String(action)))
            return true;
    }
    return false;
}

} // namespace

bool FakeRequest::isCommand(const QString &actionName) const
{
    return message.type == FakeMessage::Do && message.value(kAction) == actionName;
}

bool FakeRequest::isGetOf(const QString &name) const
{
    return message.type == FakeMessage::Param && message.gets.contains(name);
}

bool FakeRequest::isListOf(const QString &name) const
{
    return message.type == FakeMessage::Param && message.lists.contains(name);
}

bool FakeRequest::isSetOf(const QString &key, const std::optional<QString> &expected) const
{
    if (message.type != FakeMessage::Param || !message.has(key))
        return false;
    return !expected || message.value(key) == *expected;
}

FakeReply FakeReply::reply(const FakeMessage &message, qint32 code)
{
    FakeReply r;
    r.kind = Kind::Reply;
    r.body = message;
    r.code = code;
    return r;
}

FakeReply FakeReply::errorReply(qint32 code)
{
    FakeReply r;
    r.kind = Kind::ErrorReply;
    r.code = code;
    return r;
}

FakeReply FakeReply::signal(const FakeMessage &message)
{
    FakeReply r;
    r.kind = Kind::Signal;
    r.body = message;
    return r;
}

FakeReply FakeReply::rawBytes(const QByteArray &bytes)
{
    FakeReply r;
    r.kind = Kind::Raw;
    r.raw = bytes;
    return r;
}

FakeReply FakeReply::drop()
{
    FakeReply r;
    r.kind = Kind::Drop;
    return r;
}

struct FakeQuorix::Client
{
    int serial = 0;
    FakeFrameReader reader;
};

FakeQuorix::FakeQuorix(QObject *parent)
    : QObject(parent)
    , m_server(new QTcpServer(this))
{
    qRegisterMetaType<FakeRequest>();
    connect(m_server, &QTcpServer::newConnection, this, &FakeQuorix::acceptClients);
}

FakeQuorix::~FakeQuorix()
{
    // The sockets would report their disconnection from their destructors, after the members
    // that the slot needs are gone: cut them loose first.
    for (const auto &entry : m_clients) {
        QTcpSocket *socket = entry.first;
        QObject::disconnect(socket, nullptr, this, nullptr);
        socket->abort();
    }
    m_clients.clear();
}

bool FakeQuorix::listen(quint16 port)
{
    if (m_server->isListening())
        return false;
    return m_server->listen(QHostAddress::LocalHost, port);
}

void FakeQuorix::close()
{
    m_server->close();
    dropClient();
}

bool FakeQuorix::isListening() const
{
    return m_server->isListening();
}

quint16 FakeQuorix::port() const
{
    return m_server->serverPort();
}

QString FakeQuorix::storeKey(const QString &target, const QString &network, const QString &key)
{
    // The unit separator cannot occur in protocol words.
    return target + QChar(0x1f) + network + QChar(0x1f) + key;
}

QString FakeQuorix::scopeOf(const FakeMessage &message, QString *network)
{
    const QString target = message.value(kTarget);
    *network = message.value(target == kDb ? kControllerId : kNetwork);
    return target;
}

void FakeQuorix::setValue(const QString &key,
                          const QString &newValue,
                          const QString &target,
                          const QString &network)
{
    m_store.insert(storeKey(target, network, key), newValue);
}

QString FakeQuorix::value(const QString &key, const QString &target, const QString &network) const
{
    return m_store.value(storeKey(target, network, key));
}

bool FakeQuorix::hasValue(const QString &key, const QString &target, const QString &network) const
{
    return m_store.contains(storeKey(target, network, key));
}

void FakeQuorix::removeValue(const QString &key, const QString &target, const QString &network)
{
    m_store.remove(storeKey(target, network, key));
}

void FakeQuorix::setList(const QString &name,
                         const QStringList &items,
                         const QString &target,
                         const QString &network)
{
    setValue(name, FakeMessage::joinList(items), target, network);
}

void FakeQuorix::clearValues()
{
    m_store.clear();
}

void FakeQuorix::refuseKey(const QString &key, const QString &cause)
{
    m_refusedKeys.insert(key, cause);
}

void FakeQuorix::acceptKey(const QString &key)
{
    m_refusedKeys.remove(key);
}

void FakeQuorix::refuseCommand(const QString &action, const QString &cause)
{
    m_refusedCommands.insert(action, cause);
}

void FakeQuorix::setCommandReply(const QString &action, const FakePairs &pairs)
{
    m_commandReplies.insert(action, pairs);
}

void FakeQuorix::setProgressParts(int parts)
{
    m_progressParts = std::max(parts, 0);
}

void FakeQuorix::setReplyDelay(int ms)
{
    m_replyDelayMs = std::max(ms, 0);
}

void FakeQuorix::setReadDelay(int ms)
{
    m_readDelayMs = std::max(ms, 0);
}

void FakeQuorix::setListDelay(int ms)
{
    m_listDelayMs = std::max(ms, 0);
}

void FakeQuorix::setWriteDelay(int ms)
{
    m_writeDelayMs = std::max(ms, 0);
}

void FakeQuorix::setSilent(bool silent)
{
    m_silent = silent;
}

void FakeQuorix::replyWithErrorCode(qint32 code)
{
    m_errorCode = code;
}

void FakeQuorix::clearErrorReply()
{
    m_errorCode.reset();
}

void FakeQuorix::setReplyHook(FakeReplyHook hook)
{
    m_hook = std::move(hook);
}

void FakeQuorix::resetScript()
{
    m_refusedKeys.clear();
    m_refusedCommands.clear();
    m_commandReplies.clear();
    m_progressParts = 0;
    m_replyDelayMs = 0;
    m_readDelayMs = 0;
    m_listDelayMs = 0;
    m_writeDelayMs = 0;
    m_silent = false;
    m_errorCode.reset();
    m_hook = nullptr;
}

QList<FakeReply> FakeQuorix::defaultReplies(const FakeRequest &request)
{
    if (!request.parsed)
        return {FakeReply::errorReply(kUnreadableRequestCode)};
    switch (request.message.type) {
    case FakeMessage::Param:
        return answerParam(request);
    case FakeMessage::Do:
        return answerDo(request);
    default: {
        FakeMessage answer(request.message.type);
        answer.set(kCause, kUnknownCommand);
        answer.set(kReturn, kError);
        return {FakeReply::reply(answer)};
    }
    }
}

QList<FakeReply> FakeQuorix::answerParam(const FakeRequest &request)
{
    const FakeMessage &message = request.message;
    QString network;
    const QString target = scopeOf(message, &network);

    FakeMessage accepted(FakeMessage::Param);
    FakeMessage refused(FakeMessage::Param);

    const auto readName = [&](const QString &name) {
        const auto refusal = m_refusedKeys.constFind(name);
        if (refusal != m_refusedKeys.constEnd()) {
            refused.set(name, refusal.value());
            return;
        }
        const QString key = storeKey(target, network, name);
        const auto stored = m_store.constFind(key);
        if (stored == m_store.constEnd())
            refused.set(name, kNotSet);
        else
            accepted.set(name, stored.value());
    };
    for (const QString &name : message.gets)
        readName(name);
    for (const QString &name : message.lists)
        readName(name);

    for (const auto &pair : message.params) {
        if (isRoutingKey(pair.first, target))
            continue;
        const auto refusal = m_refusedKeys.constFind(pair.first);
        if (refusal != m_refusedKeys.constEnd())
            refused.set(pair.first, refusal.value());
        else
            m_store.insert(storeKey(target, network, pair.first), pair.second);
    }

    return splitIntoParts(refused, accepted, request);
}

QList<FakeReply> FakeQuorix::answerDo(const FakeRequest &request)
{
    const FakeMessage &message = request.message;
    const QString action = message.value(kAction);

    FakeMessage refused(FakeMessage::Do);
    FakeMessage accepted(FakeMessage::Do);
    const auto fail = [&](const QString &cause) {
        refused.set(kCause, cause);
        return splitIntoParts(refused, accepted, request);
    };

    if (action.isEmpty())
        return fail(kMandatoryMissing);
    const auto refusal = m_refusedCommands.constFind(action);
    if (refusal != m_refusedCommands.constEnd())
        return fail(refusal.value());

    const bool subscribe = action == QLatin1String("subscribe");
    if (subscribe || action == QLatin1String("unsubscribe")) {
        const QString name = message.has(kInfo) ? message.value(kInfo) : message.value(kEventType);
        if (name.isEmpty())
            return fail(kMandatoryMissing);
        if (subscribe && name == kAudioLevels) {
            bool ok = false;
            const uint levelPort = message.value(QStringLiteral("port")).toUInt(&ok);
            if (!ok || levelPort == 0 || levelPort > 65535)
                return fail(kInvalidValue);
            m_levelPort = quint16(levelPort);
            m_levelPeriod = message.value(QStringLiteral("period")).toInt();
        }
        if (subscribe) {
            if (!m_subscriptions.contains(name))
                m_subscriptions.append(name);
        } else {
            m_subscriptions.removeAll(name);
            if (name == kAudioLevels) {
                m_levelPort = 0;
                m_levelPeriod = 0;
            }
        }
    }

    for (const auto &pair : m_commandReplies.value(action))
        accepted.set(pair.first, pair.second);
    return splitIntoParts(refused, accepted, request);
}

QList<FakeReply> FakeQuorix::splitIntoParts(const FakeMessage &refused,
                                            const FakeMessage &accepted,
                                            const FakeRequest &request) const
{
    const QString finalWord = refused.params.isEmpty() ? kOk : kError;
    const int partCount = m_progressParts + 1;
    QList<FakeMessage> parts;
    for (int i = 0; i < partCount; ++i)
        parts.append(FakeMessage(accepted.type));

    // Accepted values are spread in order over the parts; a LIST value is spread item by item,
    // so that the parts joined with "," give the whole list back.
    const qsizetype pairCount = accepted.params.size();
    for (qsizetype i = 0; i < pairCount; ++i) {
        const auto &pair = accepted.params.at(i);
        if (request.message.lists.contains(pair.first) && partCount > 1) {
            const QStringList items = FakeMessage::splitList(pair.second);
            const qsizetype itemCount = items.size();
            for (int p = 0; p < partCount; ++p) {
                const qsizetype from = itemCount * p / partCount;
                const qsizetype to = itemCount * (p + 1) / partCount;
                if (to > from)
                    parts[p].set(pair.first, FakeMessage::joinList(items.mid(from, to - from)));
            }
            continue;
        }
        parts[int(i * partCount / pairCount)].set(pair.first, pair.second);
    }
    // Refusals always travel in the final part: the final "return" word depends on them.
    for (const auto &pair : refused.params)
        parts.last().set(pair.first, pair.second);

    QList<FakeReply> replies;
    for (int p = 0; p < partCount; ++p) {
        parts[p].set(kReturn, p + 1 < partCount ? kProgress : finalWord);
        replies.append(FakeReply::reply(parts.at(p)));
    }
    return replies;
}

int FakeQuorix::clientCount() const
{
    return int(m_clients.size());
}

void FakeQuorix::acceptClients()
{
    while (QTcpSocket *socket = m_server->nextPendingConnection()) {
        socket->setParent(this);
        auto client = std::make_unique<Client>();
        client->serial = m_nextClient++;
        m_clients.emplace(socket, std::move(client));
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readClient(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] { forgetClient(socket); });
        emit clientConnected();
        if (socket->bytesAvailable() > 0)
            readClient(socket);
    }
}

void FakeQuorix::forgetClient(QTcpSocket *socket)
{
    const auto it = m_clients.find(socket);
    if (it == m_clients.end())
        return;
    m_clients.erase(it);
    QObject::disconnect(socket, nullptr, this, nullptr);
    socket->deleteLater();
    // Subscriptions belong to the session: with nobody left there is no one to report to.
    if (m_clients.empty()) {
        m_subscriptions.clear();
        m_levelPort = 0;
        m_levelPeriod = 0;
    }
    emit clientDisconnected();
}

void FakeQuorix::dropClient()
{
    std::vector<QTcpSocket *> sockets;
    for (const auto &entry : m_clients)
        sockets.push_back(entry.first);
    for (QTcpSocket *socket : sockets) {
        socket->flush();
        socket->abort();
        forgetClient(socket); // in case the socket reported nothing
    }
}

void FakeQuorix::readClient(QTcpSocket *socket)
{
    const QByteArray bytes = socket->readAll();
    const auto it = m_clients.find(socket);
    if (it == m_clients.end())
        return;
    FakeFrameReader &reader = it->second->reader;
    const bool failedBefore = reader.hasFailed();
    const QList<FakeFrame> frames = reader.feed(bytes);
    const bool failedNow = !failedBefore && reader.hasFailed();
    const QString errorText = reader.errorText();

    for (const FakeFrame &frame : frames) {
        // A slot reacting to an earlier frame may have dropped this client.
        if (m_clients.find(socket) == m_clients.end())
            return;
        handleFrame(socket, frame);
    }
    if (failedNow) {
        ++m_framingErrors;
        emit framingError(errorText);
    }
}

void FakeQuorix::handleFrame(QTcpSocket *socket, const FakeFrame &frame)
{
    FakeRequest request;
    request.client = m_clients.at(socket)->serial;
    request.frameType = frame.type;
    request.id = frame.id;
    request.code = frame.code;
    request.length = frame.length;
    request.body = frame.body;
    if (!frame.body.isEmpty()) {
        if (const auto message = FakeMessage::fromText(frame.body)) {
            request.parsed = true;
            request.message = *message;
        }
    }
    m_log.append(request);
    emit requestReceived(request);

    if (request.frameType != FakeFrame::Request || m_silent)
        return;

    QList<FakeReply> replies;
    std::optional<QList<FakeReply>> scripted;
    if (m_hook)
        scripted = m_hook(request);
    if (scripted)
        replies = *scripted;
    else if (m_errorCode)
        replies = {FakeReply::errorReply(*m_errorCode)};
    else
        replies = defaultReplies(request);
    writeReplies(socket, request, replies);
}

void FakeQuorix::writeReplies(QTcpSocket *socket,
                              const FakeRequest &request,
                              const QList<FakeReply> &replies)
{
    if (replies.isEmpty())
        return;
    const auto writeNow = [this, socket, request, replies] {
        for (const FakeReply &reply : replies) {
            if (m_clients.find(socket) == m_clients.end())
                return;
            FakeFrame frame;
            switch (reply.kind) {
            case FakeReply::Kind::Drop:
                // Whatever was written before the drop still goes out first.
                socket->flush();
                socket->abort();
                forgetClient(socket);
                return;
            case FakeReply::Kind::Raw:
                socket->write(reply.raw);
                continue;
            case FakeReply::Kind::Reply:
                frame.type = FakeFrame::Reply;
                frame.id = reply.id.value_or(request.id);
                frame.body = reply.body.toText();
                break;
            case FakeReply::Kind::ErrorReply:
                frame.type = FakeFrame::ErrorReply;
                frame.id = reply.id.value_or(request.id);
                break;
            case FakeReply::Kind::Signal:
                frame.type = FakeFrame::Signal;
                frame.id = reply.id.value_or(-1);
                frame.body = reply.body.toText();
                break;
            }
            frame.code = reply.code;
            socket->write(frame.encode());
        }
    };
    const bool param = request.message.type == FakeMessage::Param;
    const bool read = param && (!request.gets().isEmpty() || !request.lists().isEmpty());
    int delay = m_replyDelayMs;
    if (read || isReadCommand(request))
        delay = std::max(delay, m_readDelayMs);
    else if (param || isWriteCommand(request))
        delay = std::max(delay, m_writeDelayMs);
    if (!request.lists().isEmpty())
        delay = std::max(delay, m_listDelayMs);
    if (delay > 0)
        QTimer::singleShot(delay, socket, writeNow);
    else
        writeNow();
}

bool FakeQuorix::writeToClients(const QByteArray &bytes)
{
    bool written = false;
    for (const auto &entry : m_clients) {
        if (entry.first->write(bytes) == bytes.size())
            written = true;
    }
    return written;
}

bool FakeQuorix::sendRaw(const QByteArray &bytes)
{
    return writeToClients(bytes);
}

bool FakeQuorix::pushSignal(const FakeMessage &message, qint32 id)
{
    FakeFrame frame;
    frame.type = FakeFrame::Signal;
    frame.id = id;
    frame.body = message.toText();
    return writeToClients(frame.encode());
}

bool FakeQuorix::pushInfo(const QString &infoType, const FakePairs &pairs)
{
    FakeMessage message(FakeMessage::Info);
    message.params.append({kInfoType, infoType});
    message.params.append(pairs);
    return pushSignal(message);
}

bool FakeQuorix::pushEvent(const QString &eventType, const FakePairs &pairs)
{
    FakeMessage message(FakeMessage::Event);
    message.params.append({kEventType, eventType});
    message.params.append(pairs);
    return pushSignal(message);
}

QStringList FakeQuorix::subscriptions() const
{
    return m_subscriptions;
}

bool FakeQuorix::isSubscribed(const QString &name) const
{
    return m_subscriptions.contains(name);
}

quint16 FakeQuorix::levelPort() const
{
    return m_levelPort;
}

int FakeQuorix::levelPeriod() const
{
    return m_levelPeriod;
}

bool FakeQuorix::sendLevels(const FakePairs &pairs)
{
    if (m_levelPort == 0)
        return false;
    FakeMessage message(FakeMessage::Event);
    message.params.append({kEventType, kAudioLevels});
    message.params.append(pairs);
    FakeFrame frame;
    frame.type = FakeFrame::Signal;
    frame.body = message.toText();
    // Port 1 asks for the levels over the TCP link.
    if (m_levelPort == 1)
        return writeToClients(frame.encode());
    return sendDatagram(frame.encode());
}

bool FakeQuorix::sendDatagram(const QByteArray &bytes, quint16 toPort)
{
    const quint16 target = toPort != 0 ? toPort : m_levelPort;
    if (target == 0)
        return false;
    if (!m_udp) {
        m_udp = new QUdpSocket(this);
        if (!m_udp->bind(QHostAddress::LocalHost, 0))
            return false;
    }
    // Always loopback: the fake never sends anywhere else.
    return m_udp->writeDatagram(bytes, QHostAddress::LocalHost, target) == bytes.size();
}

QList<FakeRequest> FakeQuorix::requests() const
{
    return m_log;
}

int FakeQuorix::requestCount() const
{
    return int(m_log.size());
}

FakeRequest FakeQuorix::lastRequest() const
{
    return m_log.isEmpty() ? FakeRequest() : m_log.last();
}

void FakeQuorix::clearLog()
{
    m_log.clear();
}

int FakeQuorix::framingErrors() const
{
    return m_framingErrors;
}

bool FakeQuorix::waitForRequest(const FakeRequestPredicate &predicate,
                                int timeoutMs,
                                FakeRequest *found) const
{
    const auto match = [&] {
        for (const FakeRequest &request : m_log) {
            if (predicate(request)) {
                if (found)
                    *found = request;
                return true;
            }
        }
        return false;
    };
    return QTest::qWaitFor(match, timeoutMs);
}

bool FakeQuorix::waitForRequestCount(int count, int timeoutMs) const
{
    return QTest::qWaitFor([&] { return m_log.size() >= count; }, timeoutMs);
}

bool FakeQuorix::waitForConnection(int timeoutMs) const
{
    return QTest::qWaitFor([&] { return !m_clients.empty(); }, timeoutMs);
}

bool FakeQuorix::waitForDisconnection(int timeoutMs) const
{
    return QTest::qWaitFor([&] { return m_clients.empty(); }, timeoutMs);
}
