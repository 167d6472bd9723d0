#pragma once

// The settings page against an in-process demo unit on loopback, for the tests of pages that
// read and write the unit: the unit, the page, and what the tests look at afterwards. A test
// class inherits it and calls startUnit() in init() and stopUnit() in cleanup().

#include "link/ccom.h"
#include "link/comclient.h"
#include "link/sharedobjects.h"
#include "model/accesslevel.h"
#include "model/comdevice.h"
#include "model/firmwareversion.h"
#include "settings/qvantelsettingspage.h"
#include "tests/support/demoarea.h"
#include "tests/support/fakequorix.h"
#include "widgets/qvantelmessage.h"

#include <QCoreApplication>
#include <QTest>

#include <functional>
#include <memory>

class SettingsPageRig
{
protected:
    // A fresh unit with the areas install puts in, listening; an Administrator and an unknown
    // firmware, so that every row is offered unless a test says otherwise.
    [[nodiscard]] bool startUnit(const std::function<void(DemoUnit &)> &install)
    {
        accessLevel = AccessLevel::Administrator;
        firmwareVersion = kFirmwareVersionUnknown;
        m_fake = std::make_unique<FakeQuorix>();
        install(*new DemoUnit(*m_fake));
        return m_fake->listen();
    }

    // Connects the shared protocol client, reads the device options and shows a fresh page.
    [[nodiscard]] bool connectPage()
    {
        if (comClient()->initialize("ui", "vn_frontpanel") != 0
            || !comClient()->connect(QStringLiteral("127.0.0.1"), m_fake->port(), 0))
            return false;
        if (!QTest::qWaitFor([] { return comClient()->state() == RpcConnection::Connected; }, 5000)
            || !comDevice()->readDeviceOptions())
            return false;
        m_page = std::make_unique<QVantelSettingsPage>();
        m_page->resize(800, 480);
        m_page->show();
        return true;
    }

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

    // The text of the message the page shows; empty when none is shown.
    [[nodiscard]] QString shownMessage() const
    {
        QVantelMessage *message = m_page->message();
        return message && message->isVisible() ? message->text() : QString();
    }

    std::unique_ptr<FakeQuorix> m_fake;
    std::unique_ptr<QVantelSettingsPage> m_page;
};
