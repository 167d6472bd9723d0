#include "link/rpcasynccall.h"

#include "link/rpcasynccalldata.h"
#include "link/rpcasynccallwatcherhelper.h"

RpcAsyncCallData::RpcAsyncCallData(int callId)
    : id(callId)
{}

RpcAsyncCallData::~RpcAsyncCallData() = default;

RpcAsyncCall::RpcAsyncCall() = default;

RpcAsyncCall::RpcAsyncCall(int id)
    : d(new RpcAsyncCallData(id))
{}

RpcAsyncCall::RpcAsyncCall(const RpcAsyncCall &other) = default;
RpcAsyncCall::RpcAsyncCall(RpcAsyncCall &&other) noexcept = default;
RpcAsyncCall &RpcAsyncCall::operator=(const RpcAsyncCall &other) = default;
RpcAsyncCall &RpcAsyncCall::operator=(RpcAsyncCall &&other) noexcept = default;
RpcAsyncCall::~RpcAsyncCall() = default;

RpcAsyncCall RpcAsyncCall::failed(int result)
{
    RpcAsyncCall call(-1);
    call.d->state = RpcAsyncCallData::Failed;
    call.d->result = result;
    return call;
}

RpcAsyncCall RpcAsyncCall::replied(const ksm::CMsg &reply)
{
    RpcAsyncCall call(-1);
    call.d->state = RpcAsyncCallData::Replied;
    call.d->reply = reply;
    return call;
}

int RpcAsyncCall::id() const
{
    return d ? d->id : -1;
}

int RpcAsyncCall::result() const
{
    return d ? d->result : NoCall;
}

bool RpcAsyncCall::isFinished() const
{
    return !d || d->state != RpcAsyncCallData::Pending;
}

bool RpcAsyncCall::isReplied() const
{
    return d && d->state == RpcAsyncCallData::Replied;
}

bool RpcAsyncCall::isFailed() const
{
    return !d || d->state == RpcAsyncCallData::Failed;
}

ksm::CMsg RpcAsyncCall::reply() const
{
    return d ? d->reply : ksm::CMsg();
}

RpcMessage RpcAsyncCall::toMessage() const
{
    RpcMessage message;
    message.setType(RpcMessage::ErrorReply);
    message.setCode(NoCall);
    if (!d)
        return message;
    message.setId(d->id);
    switch (d->state) {
    case RpcAsyncCallData::Replied:
        message.setType(RpcMessage::Reply);
        message.setCode(0);
        message.setBody(d->reply);
        break;
    case RpcAsyncCallData::Failed:
        message.setCode(d->result);
        break;
    case RpcAsyncCallData::Pending:
        break;
    }
    return message;
}

QString RpcAsyncCall::errorText() const
{
    return QStringLiteral("errorCode ") + QString::number(result());
}

void RpcAsyncCall::startTimeout(int seconds)
{
    if (!d || seconds <= 0)
        return;
    d->timeoutMs = qint64(seconds) * 1000;
    d->elapsed.start();
}

bool RpcAsyncCall::hasExpired() const
{
    return d && d->timeoutMs > 0 && d->elapsed.isValid() && d->elapsed.elapsed() > d->timeoutMs;
}

bool RpcAsyncCall::finish(int state, int result)
{
    if (!d || d->state != RpcAsyncCallData::Pending)
        return false;
    // Hold the record while the watchers run: one of them may drop the last other handle.
    const QExplicitlySharedDataPointer<RpcAsyncCallData> keep = d;
    keep->state = RpcAsyncCallData::State(state);
    keep->result = result;
    if (keep->watcherHelper)
        emit keep->watcherHelper->finished();
    return true;
}

void RpcAsyncCall::refuse(int result)
{
    if (!d || d->state != RpcAsyncCallData::Pending)
        return;
    d->state = RpcAsyncCallData::Failed;
    d->result = result;
}
