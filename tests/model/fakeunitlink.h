#pragma once

#include "link/ccom.h"
#include "link/rpcconnection.h"
#include "tests/support/fakequorix.h"

#include <QObject>
#include <QtTest>

#include <memory>

// A fake unit on loopback and a protocol client connected to it, for controller tests.
struct FakeUnitLink
{
    std::unique_ptr<FakeQuorix> fake;
    std::unique_ptr<ksm::CCom> com;

    // Listens, connects and waits until the client reports the connected state.
    bool open()
    {
        fake = std::make_unique<FakeQuorix>();
        if (!fake->listen())
            return false;
        com = std::make_unique<ksm::CCom>(nullptr);
        bool connected = false;
        QObject context;
        QObject::connect(com.get(),
                         &ksm::CCom::stateChanged,
                         &context,
                         [&connected](RpcConnection::ConnectionState state) {
                             connected = state == RpcConnection::Connected;
                         });
        if (!com->connect(QStringLiteral("127.0.0.1"), fake->port(), 0))
            return false;
        return QTest::qWaitFor([&connected] { return connected; }, 5000);
    }

    void close()
    {
        com.reset();
        fake.reset();
    }

    // The requests the fake received, as sent.
    QList<FakeRequest> requests() const { return fake->requests(); }
};
