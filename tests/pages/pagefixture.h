#pragma once

#include "link/ccom.h"
#include "link/comclient.h"
#include "link/sharedobjects.h"
#include "model/audiosettings.h"
#include "model/comdevice.h"
#include "model/firmwareversion.h"
#include "model/matrixsettings.h"
#include "tests/support/fakequorix.h"

#include <QStringList>
#include <QTest>

#include <memory>

// The shared protocol client connected to a fake unit on loopback, so that the model's writes
// succeed and the test can read exactly what reached the unit. The device's option words and
// operation mode are set through the model as a refresh would set them; the controllers are
// declared ready by hand.
struct PageFixture
{
    std::unique_ptr<FakeQuorix> fake;

    [[nodiscard]] bool start(quint32 firmware = 0x20007)
    {
        firmwareVersion = firmware;
        fake = std::make_unique<FakeQuorix>();
        if (!fake->listen())
            return false;
        if (!comClient()->connect(QStringLiteral("127.0.0.1"), fake->port(), 0))
            return false;
        return QTest::qWaitFor([] { return comClient()->state() == RpcConnection::Connected; },
                               15000);
    }

    void stop()
    {
        destroySharedObjects();
        fake.reset();
        firmwareVersion = kFirmwareVersionUnknown;
    }

    // The option words of "device_opts" ("ravenna", "hardware_2", ...), read into the model.
    [[nodiscard]] bool setDeviceOptions(const QStringList &words)
    {
        fake->setList(QStringLiteral("device_opts"), words, QStringLiteral("general"));
        return comDevice()->readDeviceOptions();
    }

    // Sets the mode without writing it; the device reports the change.
    static void setOperationMode(int mode) { comDevice()->setOperationMode(mode, false); }

    // A completed refresh of a device in this operation mode.
    static void refreshed(int mode)
    {
        setOperationMode(mode);
        emit comDevice()->deviceStateChanged(TComDevice::DeviceStateAll);
    }

    static void audioReady()
    {
        audioSettings()->setState(TComController::StateUnknown);
        audioSettings()->setState(TComController::StateReady);
    }

    // The PARAM writes of key the unit received, as their values, in order.
    [[nodiscard]] QStringList writesOf(const QString &key) const
    {
        QStringList values;
        for (const FakeRequest &request : fake->requests()) {
            if (request.isSetOf(key))
                values << request.value(key);
        }
        return values;
    }
};
