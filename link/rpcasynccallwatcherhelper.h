#pragma once

#include <QObject>

// The one notifier of a call record: made on demand when the first watcher of the call is
// created, owned (and deleted) by the record, parentless. It emits finished() exactly once, when
// the call leaves the Pending state; every watcher of the call listens to it.
class RpcAsyncCallWatcherHelper : public QObject
{
    Q_OBJECT

public:
    explicit RpcAsyncCallWatcherHelper(QObject *parent = nullptr);
    ~RpcAsyncCallWatcherHelper() override;
    Q_DISABLE_COPY_MOVE(RpcAsyncCallWatcherHelper)

signals:
    void finished();
};
