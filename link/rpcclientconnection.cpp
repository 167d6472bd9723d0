#include "link/rpcclientconnection.h"

#include <QHostAddress>
#include <QTcpSocket>
#include <QTimer>

RpcClientConnection::RpcClientConnection(QObject *parent)
    : RpcConnection(parent)
{
    m_retryCountdown = -1;
}

RpcClientConnection::~RpcClientConnection() = default;

void RpcClientConnection::setRetryTicks(int ticks)
{
    m_retryTicks = ticks > 0 ? ticks : 10;
}

void RpcClientConnection::connect(const QString &address, quint16 port)
{
    if (isEngaged())
        return;
    // A socket still closing from the last session would refuse the new attempt.
    if (socket()->state() != QAbstractSocket::UnconnectedState)
        socket()->abort();
    setEngaged(true);
    m_retryCountdown = -1;
    setPeer(address, port);
    logLine("RpcClientConnection", "connect", QStringLiteral(", connecting to host"));
    timer()->start();
    connectToPeer();
}

void RpcClientConnection::connectToPeer()
{
    parser().reset();
    socket()->connectToHost(QHostAddress(address()), port(), QIODevice::ReadWrite);
}

void RpcClientConnection::timerEvent()
{
    RpcConnection::timerEvent();
    if (!isEngaged() || state() != Unconnected || m_retryCountdown <= 0)
        return;
    if (--m_retryCountdown > 0)
        return;
    logLine("RpcClientConnection", "timerEvent", QStringLiteral(", connecting to host"));
    connectToPeer();
}

void RpcClientConnection::socketConnected()
{
    RpcConnection::socketConnected();
    m_retryCountdown = -1;
}

void RpcClientConnection::socketChanged(QAbstractSocket::SocketState socketState)
{
    RpcConnection::socketChanged(socketState);
    if (isEngaged() && state() == Unconnected) {
        m_retryCountdown = m_retryTicks;
        logLine("RpcClientConnection",
                "socketChanged",
                QStringLiteral(", will retry connecting to host in %1 seconds").arg(m_retryTicks));
    }
}
