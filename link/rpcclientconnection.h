#pragma once

#include "link/rpcconnection.h"

// The client side of the transport: connects to a numeric address and port and, while engaged,
// tries again a fixed number of ticks (10 by default, see setRetryTicks()) after the link has
// fallen or an attempt has failed, until an attempt succeeds or disconnect() is called.
//
// Signals and ownership as RpcConnection.
class RpcClientConnection : public RpcConnection
{
    Q_OBJECT

public:
    explicit RpcClientConnection(QObject *parent = nullptr);
    ~RpcClientConnection() override;
    Q_DISABLE_COPY_MOVE(RpcClientConnection)

    // Starts connecting to the numeric address (no name lookup) and port. Ignored while engaged.
    void connect(const QString &address, quint16 port);

    // Ticks left before the next attempt; -1 when none is scheduled.
    int retryCountdown() const { return m_retryCountdown; }
    int retryTicks() const { return m_retryTicks; }
    // The number of ticks between a fall to Unconnected and the next attempt (10 by default).
    void setRetryTicks(int ticks);

protected slots:
    void timerEvent() override;
    void socketConnected() override;
    void socketChanged(QAbstractSocket::SocketState socketState) override;

protected:
    using RpcConnection::timerEvent;

private:
    void connectToPeer();

    int m_retryCountdown = -1;
    int m_retryTicks = 10;
};
