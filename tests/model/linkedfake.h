#pragma once

#include "link/ccom.h"
#include "link/rpcconnection.h"
#include "model/comcontroller.h"
#include "model/firmwareversion.h"
#include "tests/support/fakequorix.h"

#include <QList>
#include <QSignalSpy>
#include <QTest>

#include <memory>

// A fake unit on loopback with a protocol client connected to it, for the interface controller
// tests. start() returns once the client is connected; stop() closes both and restores the
// firmware version a test may have changed.
struct LinkedFake
{
    std::unique_ptr<FakeQuorix> fake;
    std::unique_ptr<ksm::CCom> com;

    [[nodiscard]] bool start()
    {
        fake = std::make_unique<FakeQuorix>();
        if (!fake->listen())
            return false;
        com = std::make_unique<ksm::CCom>(nullptr);
        if (!com->connect(QStringLiteral("127.0.0.1"), fake->port(), 0))
            return false;
        // Generous: the CI machine runs the sanitized tests in parallel on two cores.
        return QTest::qWaitFor([this] { return com->state() == RpcConnection::Connected; }, 15000);
    }

    void stop()
    {
        com.reset();
        fake.reset();
        firmwareVersion = kFirmwareVersionUnknown;
    }

    // The bodies of the requests the fake received, in order.
    [[nodiscard]] QList<QByteArray> bodies() const
    {
        QList<QByteArray> result;
        for (const FakeRequest &request : fake->requests())
            result << request.body;
        return result;
    }
};

// The states a controller went through, as controllerStateChanged reported them.
struct StateTrail
{
    QList<int> states;
    QMetaObject::Connection connection;

    explicit StateTrail(TComController *controller)
    {
        connection
            = QObject::connect(controller,
                               &TComController::controllerStateChanged,
                               controller,
                               [this](TComController *changed) { states << changed->state(); });
    }
    ~StateTrail() { QObject::disconnect(connection); }
    StateTrail(const StateTrail &) = delete;
    StateTrail &operator=(const StateTrail &) = delete;
};
