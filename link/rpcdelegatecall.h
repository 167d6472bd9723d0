#pragma once

#include "link/cmsg.h"
#include "link/rpcasynccall.h"

#include <QObject>

class RpcAsyncCallWatcher;
class RpcConnection;

// A call made of successive requests that a derived class decides: nextRequest() gives the next
// request body and its time-out, handleReply() sees each answer and ends the chain by finishing
// the delegate's own call with fail() or failIfPending().
//
// The delegate is itself a handle to its own call record. It announces its end exactly once:
// the record's watchers fire, then finished(this). It owns the watchers it makes for its steps
// and deletes them later. The connection must outlive the chain; if it goes away between steps
// the chain fails with NoCall.
class RpcDelegateCall : public QObject, public RpcAsyncCall
{
    Q_OBJECT

public:
    explicit RpcDelegateCall(int id, QObject *parent = nullptr);
    RpcDelegateCall(int id, const ksm::CMsg &body, QObject *parent = nullptr);
    // Takes id and body from the message.
    explicit RpcDelegateCall(const RpcMessage &message, QObject *parent = nullptr);
    ~RpcDelegateCall() override;
    Q_DISABLE_COPY_MOVE(RpcDelegateCall)

    const ksm::CMsg &body() const { return m_body; }

    // Runs the first step on connection; without a connection the call fails with NoCall.
    void start(RpcConnection *connection);
    // Finishes the own call as Failed with result and announces it; nothing when already finished.
    void fail(int result);
    void failIfPending(int result);

signals:
    void finished(RpcDelegateCall *call);

protected:
    // One step: asks nextRequest() and sends it; fails with NoCall when it declines, or with the
    // call's result when the request is refused.
    virtual void run(RpcConnection *connection);
    // Fills the next request body and its time-out in seconds (-1 beforehand); false ends the
    // chain with NoCall.
    virtual bool nextRequest(ksm::CMsg &body, int &timeoutSeconds) = 0;
    // Sees the final message of each step (RpcAsyncCall::toMessage()).
    virtual void handleReply(const RpcMessage &reply) = 0;

    ksm::CMsg m_body;

private:
    void callCompleted(RpcAsyncCallWatcher *watcher);
    void announceFinished();

    bool m_announced = false;
};
