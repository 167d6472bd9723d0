#include "link/rpcdelegatecall.h"

#include "link/rpcasynccalldata.h"
#include "link/rpcasynccallwatcher.h"
#include "link/rpcconnection.h"

RpcDelegateCall::RpcDelegateCall(int id, QObject *parent)
    : QObject(parent)
    , RpcAsyncCall(id)
{}

RpcDelegateCall::RpcDelegateCall(int id, const ksm::CMsg &body, QObject *parent)
    : QObject(parent)
    , RpcAsyncCall(id)
    , m_body(body)
{}

RpcDelegateCall::RpcDelegateCall(const RpcMessage &message, QObject *parent)
    : QObject(parent)
    , RpcAsyncCall(message.id())
    , m_body(message.body())
{}

RpcDelegateCall::~RpcDelegateCall() = default;

void RpcDelegateCall::start(RpcConnection *connection)
{
    if (isNull()) {
        announceFinished();
        return;
    }
    if (!connection) {
        fail(NoCall);
        return;
    }
    data()->connection = connection;
    run(connection);
}

void RpcDelegateCall::run(RpcConnection *connection)
{
    ksm::CMsg request;
    int timeoutSeconds = -1;
    if (!nextRequest(request, timeoutSeconds)) {
        fail(NoCall);
        return;
    }
    const RpcAsyncCall call = connection->asyncCall(RpcMessage::request(request), timeoutSeconds);
    if (call.result() != NoError) {
        fail(call.result());
        return;
    }
    auto *watcher = new RpcAsyncCallWatcher(call, this);
    QObject::connect(
        watcher, &RpcAsyncCallWatcher::finished, this, &RpcDelegateCall::callCompleted);
}

void RpcDelegateCall::callCompleted(RpcAsyncCallWatcher *watcher)
{
    watcher->deleteLater();
    handleReply(watcher->toMessage());
    if (isFinished()) {
        announceFinished();
        return;
    }
    RpcConnection *connection = data()->connection.data();
    if (!connection) {
        fail(NoCall);
        return;
    }
    run(connection);
}

void RpcDelegateCall::fail(int result)
{
    if (!finish(RpcAsyncCallData::Failed, result))
        return;
    announceFinished();
}

void RpcDelegateCall::failIfPending(int result)
{
    fail(result);
}

void RpcDelegateCall::announceFinished()
{
    if (m_announced)
        return;
    m_announced = true;
    emit finished(this);
}
