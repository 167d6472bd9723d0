#include "link/rpcserverconnection.h"

#include <QHostAddress>
#include <QTcpSocket>
#include <QTimer>

RpcServerConnection::RpcServerConnection(QObject *parent)
    : RpcConnection(parent)
{}

RpcServerConnection::~RpcServerConnection() = default;

void RpcServerConnection::accept(qintptr socketDescriptor)
{
    if (isEngaged())
        return;
    parser().reset();
    timer()->start();
    if (!socket()->setSocketDescriptor(
            socketDescriptor, QAbstractSocket::ConnectedState, QIODevice::ReadWrite)) {
        timer()->stop();
        return;
    }
    setEngaged(true);
    setPeer(socket()->peerAddress().toString(), socket()->peerPort());
    logLine("RpcServerConnection", "accept", QStringLiteral(", accepting connection"));
    // An adopted socket gives no connected notification of its own.
    socketConnected();
}
