#pragma once

// The settings page against an in-process demo unit on loopback, for the tests of pages that
// read and write the unit: the unit, the page, and what the tests look at afterwards. A test
// class inherits it and calls startUnit() or startDemoUnit() in init() and stopUnit() in
// cleanup(); in between, connectPage() or its steps connectClient() and showPage().

#include "link/ccom.h"
#include "link/comclient.h"
#include "link/sharedobjects.h"
#include "model/accesslevel.h"
#include "model/comdevice.h"
#include "model/firmwareversion.h"
#include "settings/qvantelsettingspage.h"
#include "tests/support/demoarea.h"
#include "tests/support/demounit.h"
#include "tests/support/fakequorix.h"
#include "widgets/qvantelmessage.h"

#include <QCoreApplication>
#include <QTest>

#include <functional>
#include <memory>

class SettingsPageRig
{
protected:
    // A fresh unit with the areas install puts in (none when install is empty), listening, and
    // the protocol client named as the front panel. An Administrator and an unknown firmware
    // unless a test says otherwise, so that every row is offered.
    [[nodiscard]] bool startUnit(const std::function<void(DemoUnit &)> &install,
                                 AccessLevel level = AccessLevel::Administrator,
                                 quint32 firmware = kFirmwareVersionUnknown)
    {
        newUnit(level, firmware);
        if (install)
            install(*new DemoUnit(*m_fake));
        return listenAndName();
    }

    // As startUnit(), with every area of the demo unit that fake-quorix serves.
    [[nodiscard]] bool startDemoUnit(AccessLevel level = AccessLevel::Administrator,
                                     quint32 firmware = kFirmwareVersionUnknown)
    {
        newUnit(level, firmware);
        installDemoUnit(*m_fake);
        return listenAndName();
    }

    // Connects the shared protocol client to the unit and waits until it is connected.
    [[nodiscard]] bool connectClient(int timeoutMs = 5000)
    {
        return comClient()->connect(QStringLiteral("127.0.0.1"), m_fake->port(), 0)
               && QTest::qWaitFor([] { return comClient()->state() == RpcConnection::Connected; },
                                  timeoutMs);
    }

    // A fresh page at the front panel's size, shown.
    void showPage()
    {
        m_page = std::make_unique<QVantelSettingsPage>();
        m_page->resize(800, 480);
        m_page->show();
    }

    // Connects, lets read load the model (by default only the device options) and shows a
    // fresh page.
    [[nodiscard]] bool connectPage(const std::function<bool()> &read = readDeviceOptions)
    {
        if (!connectClient() || !read())
            return false;
        showPage();
        return true;
    }

    [[nodiscard]] static bool readDeviceOptions() { return comDevice()->readDeviceOptions(); }
    [[nodiscard]] static bool refreshDevice() { return comDevice()->refresh(); }

    // The page first (with what it deleted later), then the shared objects, the unit last.
    void stopUnit()
    {
        m_page.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        destroySharedObjects();
        m_fake.reset();
        firmwareVersion = kFirmwareVersionUnknown;
        accessLevel = AccessLevel::Operator;
    }

    [[nodiscard]] QList<FakeRequest>
    requestsWhere(const std::function<bool(const FakeRequest &)> &match) const
    {
        QList<FakeRequest> found;
        for (const FakeRequest &request : m_fake->requests()) {
            if (match(request))
                found << request;
        }
        return found;
    }

    // Runs the page's Apply on a cleared request log; the requests it sent that match.
    [[nodiscard]] QList<FakeRequest>
    applyAndCollect(const std::function<bool(const FakeRequest &)> &match)
    {
        m_fake->clearLog();
        m_page->applyClicked();
        return requestsWhere(match);
    }

    // The text of the message the page shows; empty when none is shown.
    [[nodiscard]] QString shownMessage() const
    {
        QVantelMessage *message = m_page->message();
        return message && message->isVisible() ? message->text() : QString();
    }

    // The text the page's message holds, whether or not it is on screen.
    [[nodiscard]] QString messageText() const
    {
        QVantelMessage *message = m_page->message();
        return message ? message->text() : QString();
    }

    std::unique_ptr<FakeQuorix> m_fake;
    std::unique_ptr<QVantelSettingsPage> m_page;

private:
    void newUnit(AccessLevel level, quint32 firmware)
    {
        accessLevel = level;
        firmwareVersion = firmware;
        m_fake = std::make_unique<FakeQuorix>();
    }

    [[nodiscard]] bool listenAndName()
    {
        return m_fake->listen() && comClient()->initialize("ui", "vn_frontpanel") == 0;
    }
};
