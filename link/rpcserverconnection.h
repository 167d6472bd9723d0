#pragma once

#include "link/rpcconnection.h"

// The server side of the transport: adopts a socket that a listening server has already
// accepted. An adopted socket is Connected at once (stateChanged(Connected) is emitted from
// accept()); when its link falls it stays down, there is no retry.
//
// Signals and ownership as RpcConnection.
class RpcServerConnection : public RpcConnection
{
    Q_OBJECT

public:
    explicit RpcServerConnection(QObject *parent = nullptr);
    ~RpcServerConnection() override;
    Q_DISABLE_COPY_MOVE(RpcServerConnection)

    // Adopts the connected socket descriptor. Ignored while engaged; on failure the connection
    // stays unengaged.
    void accept(qintptr socketDescriptor);
};
