#pragma once

#include "link/rpcasynccall.h"

#include <QObject>

// Watches one call and is itself a handle to it (it keeps the call's record alive).
//
// finished(this) is emitted once, synchronously, when the watched call finishes (reply, error,
// time-out or cancellation), before the connection's messageCompleted for that call. Many
// watchers may watch one call; they share the record's one helper. A watcher of an empty handle
// never fires; a watcher made for a call that has already finished fires once from the event
// loop. The watcher is an ordinary child of its parent; delete it with deleteLater() when it is
// done with, never directly from inside its own finished().
class RpcAsyncCallWatcher : public QObject, public RpcAsyncCall
{
    Q_OBJECT

public:
    explicit RpcAsyncCallWatcher(const RpcAsyncCall &call, QObject *parent = nullptr);
    ~RpcAsyncCallWatcher() override;
    Q_DISABLE_COPY_MOVE(RpcAsyncCallWatcher)

signals:
    void finished(RpcAsyncCallWatcher *watcher);

private:
    void helperFinished();

    bool m_announced = false;
};

Q_DECLARE_METATYPE(RpcAsyncCallWatcher *)
