#pragma once

// Connects the shared protocol client to an in-process demo unit on loopback, for the sheets of
// pages that read the unit. False when the unit could not be reached within ten seconds.

#include "link/ccom.h"
#include "link/comclient.h"
#include "tests/support/fakequorix.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

namespace gallerydemo {

inline bool connectClient(const FakeQuorix &fake)
{
    comClient()->initialize("ui", "vn_frontpanel");
    if (!comClient()->connect(QStringLiteral("127.0.0.1"), fake.port(), 0))
        return false;
    QDeadlineTimer deadline(10000);
    while (comClient()->state() != RpcConnection::Connected && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return comClient()->state() == RpcConnection::Connected;
}

} // namespace gallerydemo
