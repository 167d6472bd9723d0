#include "link/rpcasynccallwatcherhelper.h"

RpcAsyncCallWatcherHelper::RpcAsyncCallWatcherHelper(QObject *parent)
    : QObject(parent)
{}

RpcAsyncCallWatcherHelper::~RpcAsyncCallWatcherHelper() = default;
