#pragma once

#include "link/cmsg.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QSharedData>

#include <memory>

class RpcConnection;
class RpcAsyncCallWatcherHelper;

// The shared record behind RpcAsyncCall handles. The last handle released deletes it, and with
// it the watcher helper. Only the call classes and the connection read or change it.
class RpcAsyncCallData : public QSharedData
{
public:
    enum State { Pending, Replied, Failed };

    explicit RpcAsyncCallData(int callId);
    ~RpcAsyncCallData();
    RpcAsyncCallData(const RpcAsyncCallData &) = delete;
    RpcAsyncCallData &operator=(const RpcAsyncCallData &) = delete;

    int id = -1;
    // Set by RpcDelegateCall::start only.
    QPointer<RpcConnection> connection;
    std::unique_ptr<RpcAsyncCallWatcherHelper> watcherHelper;
    // The request is a PARAM message with LIST entries: parts of its answer are joined.
    bool listRequest = false;
    State state = Pending;
    ksm::CMsg reply;
    // "PROGRESS" parts received so far and the memory their bodies take.
    int partCount = 0;
    qint64 partBytes = 0;
    int result = 0;
    qint64 timeoutMs = -1;
    QElapsedTimer elapsed;
};
