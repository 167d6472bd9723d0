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
#include "settings/settingspagetable.h"
#include "tests/support/demoarea.h"
#include "tests/support/demounit.h"
#include "tests/support/fakequorix.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuitems.h"
#include "widgets/qvantelmessage.h"

#include <QCoreApplication>
#include <QTest>

#include <functional>
#include <memory>

// Selects the entry after the row's current one (the first when none is current); false, with
// nothing selected, for a row without entries.
inline bool chooseNextValue(QVantelMenuItem *row)
{
    const QList<QVantelMenuItem::Value> values = row->values();
    if (values.isEmpty())
        return false;
    int next = 0;
    for (int i = 0; i < values.size(); ++i) {
        if (row->currentValue() && values.at(i).value == row->currentValue()->value)
            next = (i + 1) % values.size();
    }
    row->selectValue(values.at(next).value, true, false);
    return true;
}

// Gives every editable row of page another value, in page order, as a user would: a switch
// flips and a choice row takes the entry after its current one (the first when none is
// current), each committed; an entry row gets a number made from its id (id % 50 + 1, within
// the range of ports and DSCP), or "row<id>-changed" when it takes text, and is committed. A row
// that opens a list (Action) gets "row<id>-changed" without a commit, which would open the list.
inline void changeEveryRow(QVantelMenuItems *page)
{
    const QList<QVantelMenuItem *> rows = page->items();
    for (QVantelMenuItem *row : rows) {
        if (row->isReadOnly())
            continue;
        const QString text = QStringLiteral("row%1-changed").arg(row->id());
        switch (row->kind()) {
        case QVantelMenuItem::Switch:
            row->setChecked(!row->isChecked());
            break;
        case QVantelMenuItem::Choice:
            if (!chooseNextValue(row))
                continue;
            break;
        case QVantelMenuItem::NumericEntry:
        case QVantelMenuItem::NumericMaskedEntry:
            row->setValueText(QString::number(row->id() % 50 + 1));
            break;
        case QVantelMenuItem::TextEntry:
        case QVantelMenuItem::MaskedEntry:
            row->setValueText(text);
            break;
        case QVantelMenuItem::Action:
            row->setValueText(text);
            continue;
        default:
            continue;
        }
        page->commitItem(row);
    }
}

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
        // A write time-out a test shortened holds for the whole program.
        comDevice()->setWriteTimeoutMs(TComRequest::DefaultTimeoutMs);
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

    // Opens the root entry and taps the rows of path in turn; the page on top at the end, or null
    // when a row is missing or a tap opens no page.
    QVantelMenuItems *openPath(int entry, const QList<int> &path)
    {
        if (!m_page->showEntry(entry, -1))
            return nullptr;
        for (const int id : path) {
            QVantelMenuItems *page = m_page->currentPage();
            QVantelMenuItem *row = page ? page->findItem(id) : nullptr;
            if (!row)
                return nullptr;
            m_page->itemClicked(row);
            if (m_page->currentPage() == page)
                return nullptr;
        }
        return m_page->currentPage();
    }

    // Builds the page that a tap on the row rowId (carrying data) opens, as the page table
    // declares it, and returns it once it is on top; null when no row opens a page.
    QVantelMenuItems *buildPage(int rowId, int data = SettingsPageRow::kAnyData)
    {
        const SettingsPageRow *row = QVantelSettingsPage::pageRow(rowId, data);
        if (!row || !row->open)
            return nullptr;
        row->open(*m_page, rowId);
        return m_page->currentPage();
    }

    // The page's change test as the table declares it; false for a page without one.
    [[nodiscard]] bool pageHasChanges(QVantelMenuItems *page) const
    {
        const SettingsPageRow *row = QVantelSettingsPage::pageRow(page);
        return row && row->hasChanges && row->hasChanges(*m_page, page);
    }

    // The page's own applier as the table declares it, without the menu's Apply steps around it;
    // Refused for a page without one.
    [[nodiscard]] SettingsApplied applyPage(QVantelMenuItems *page)
    {
        const SettingsPageRow *row = QVantelSettingsPage::pageRow(page);
        return row && row->apply ? row->apply(*m_page, page) : SettingsApplied::Refused;
    }

    // The page's refresh step as the table declares it, without the header's message.
    void refreshPage(QVantelMenuItems *page)
    {
        if (const SettingsPageRow *row = QVantelSettingsPage::pageRow(page); row && row->refresh)
            row->refresh(*m_page, page);
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
