#include "link/rpcasynccallwatcher.h"

#include "link/rpcasynccalldata.h"
#include "link/rpcasynccallwatcherhelper.h"

#include <QMetaObject>

RpcAsyncCallWatcher::RpcAsyncCallWatcher(const RpcAsyncCall &call, QObject *parent)
    : QObject(parent)
    , RpcAsyncCall(call)
{
    RpcAsyncCallData *record = data();
    if (!record)
        return;
    if (isFinished()) {
        // Nothing will announce this call any more; report it once, after the caller has had
        // the chance to connect to finished().
        QMetaObject::invokeMethod(this, &RpcAsyncCallWatcher::helperFinished, Qt::QueuedConnection);
        return;
    }
    if (!record->watcherHelper)
        record->watcherHelper = std::make_unique<RpcAsyncCallWatcherHelper>();
    QObject::connect(record->watcherHelper.get(),
                     &RpcAsyncCallWatcherHelper::finished,
                     this,
                     &RpcAsyncCallWatcher::helperFinished,
                     Qt::DirectConnection);
}

RpcAsyncCallWatcher::~RpcAsyncCallWatcher() = default;

void RpcAsyncCallWatcher::helperFinished()
{
    if (m_announced)
        return;
    m_announced = true;
    emit finished(this);
}
