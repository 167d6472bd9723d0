#pragma once

#include "link/ccom.h"
#include "link/cmsg.h"
#include "link/rpcmessage.h"
#include "model/comaudioconnection.h"
#include "model/comdataconnection.h"
#include "model/comdevice.h"
#include "model/firmwareversion.h"
#include "tests/model/linkedfake.h"

#include <QCoreApplication>
#include <QEvent>
#include <QStringList>
#include <QTest>

#include <functional>
#include <memory>

// Everything a device signal reports, as one line per signal in emission order:
// "device:<code>", "added:<id>", "removed:<id>", "data:<id>:<state>",
// "state:<id>:<state>", "status:<id>:<status>", "stat:<id>", "relay:<id>".
// The connection is read while the signal runs, so the line shows its values at that moment.
struct DeviceTrail
{
    QStringList lines;
    QObject context;

    explicit DeviceTrail(TComDevice *device)
    {
        QObject::connect(device,
                         &TComDevice::deviceStateChanged,
                         &context,
                         [this](TComDevice::DeviceState code) {
                             lines << QStringLiteral("device:%1").arg(int(code));
                         });
        QObject::connect(
            device, &TComDevice::connectionAdded, &context, [this](TComBaseConnection *c) {
                lines << QStringLiteral("added:%1").arg(c->id());
            });
        QObject::connect(
            device, &TComDevice::connectionRemoved, &context, [this](TComBaseConnection *c) {
                lines << QStringLiteral("removed:%1").arg(c->id());
            });
        QObject::connect(device,
                         &TComDevice::dataConnectionStateChanged,
                         &context,
                         [this](TComDataConnection *c) {
                             lines << QStringLiteral("data:%1:%2").arg(c->id()).arg(c->state());
                         });
        QObject::connect(device,
                         &TComDevice::audioConnectionStateChanged,
                         &context,
                         [this](TComAudioConnection *c) {
                             lines << QStringLiteral("state:%1:%2").arg(c->id()).arg(c->state());
                         });
        QObject::connect(
            device, &TComDevice::audioCallStatusChanged, &context, [this](TComAudioConnection *c) {
                lines << QStringLiteral("status:%1:%2").arg(c->id()).arg(c->status());
            });
        QObject::connect(
            device,
            &TComDevice::audioCallStatisticChanged,
            &context,
            [this](TComAudioConnection *c) { lines << QStringLiteral("stat:%1").arg(c->id()); });
        QObject::connect(
            device, &TComDevice::audioCallRelayChanged, &context, [this](TComAudioConnection *c) {
                lines << QStringLiteral("relay:%1").arg(c->id());
            });
    }

    // The lines since the last take(), and forget them.
    QStringList take()
    {
        QStringList result = lines;
        lines.clear();
        return result;
    }
};

// A fake unit on loopback, a protocol client connected to it and a device on that client. The
// device gets every INFO and EVENT the client receives, at once, the way the front-panel window
// hands them over (here without the window's queue, so they may arrive inside a synchronous call
// the device itself runs).
struct DeviceFixture
{
    // Generous: the CI machine runs the sanitized tests in parallel on two cores.
    static constexpr int kWaitMs = 15000;

    LinkedFake link;
    std::unique_ptr<TComDevice> device;
    int routed = 0;
    // Runs for every routed EVENT before the device sees it; a test may act on it.
    std::function<void(const ksm::CMsg &)> onEvent;
    QObject context;

    [[nodiscard]] bool open()
    {
        firmwareVersion = kFirmwareVersionUnknown;
        if (!link.start())
            return false;
        device = std::make_unique<TComDevice>(link.com.get());
        QObject::connect(link.com.get(),
                         &ksm::CCom::messageReceived,
                         &context,
                         [this](const RpcMessage &message) {
                             const ksm::CMsg &body = message.body();
                             if (body.type() == ksm::CMsg::Event) {
                                 if (onEvent)
                                     onEvent(body);
                                 device->handleEvent(body);
                             } else if (body.type() == ksm::CMsg::Info) {
                                 device->handleInfo(body);
                             }
                             ++routed;
                         });
        return true;
    }

    void close()
    {
        onEvent = nullptr;
        device.reset();
        link.stop();
        flushDeletions();
        firmwareVersion = kFirmwareVersionUnknown;
    }

    FakeQuorix *fake() const { return link.fake.get(); }
    ksm::CCom *com() const { return link.com.get(); }

    // Pushes an EVENT (or INFO) and waits until the device has been given it.
    [[nodiscard]] bool pushEvent(const QString &type, const FakePairs &pairs = {})
    {
        const int before = routed;
        return fake()->pushEvent(type, pairs)
               && QTest::qWaitFor([&] { return routed > before; }, kWaitMs);
    }
    [[nodiscard]] bool pushInfo(const QString &type, const FakePairs &pairs = {})
    {
        const int before = routed;
        return fake()->pushInfo(type, pairs)
               && QTest::qWaitFor([&] { return routed > before; }, kWaitMs);
    }

    // Runs the deletions the device left for the event loop.
    static void flushDeletions()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

// An EVENT message for the direct-call tests.
inline ksm::CMsg eventMessage(const std::string &type,
                              std::initializer_list<std::pair<std::string, std::string>> pairs)
{
    ksm::CMsg msg(ksm::CMsg::Event);
    msg.setParam("event_type", type);
    for (const auto &pair : pairs)
        msg.setParam(pair.first, pair.second);
    return msg;
}

inline ksm::CMsg infoMessage(const std::string &type,
                             std::initializer_list<std::pair<std::string, std::string>> pairs)
{
    ksm::CMsg msg(ksm::CMsg::Info);
    msg.setParam("info_type", type);
    for (const auto &pair : pairs)
        msg.setParam(pair.first, pair.second);
    return msg;
}
