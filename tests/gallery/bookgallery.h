#pragma once

// The Book of the settings menu, against the demo unit on loopback:
//     book-menu.png (the Book page), book-presets.png (the preset list for an Expert),
//     book-preset.png (one preset's page), book-sip-operator.png (the SIP profile list for an
//     Operator)

#include "link/ccom.h"
#include "link/comclient.h"
#include "model/accesslevel.h"
#include "settings/qvantelsettingspage.h"
#include "tests/gallery/settingsgallery.h"
#include "tests/support/demounit.h"
#include "tests/support/fakequorix.h"
#include "widgets/qvantelmenuentries.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuitems.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

namespace bookgallery {

// Taps the row id of the page on top, if there is one.
inline void tap(QVantelSettingsPage &menu, int rowId, int data = -1)
{
    QVantelMenuItems *page = menu.currentPage();
    QVantelMenuItem *row = page ? (data < 0 ? page->findItem(rowId) : page->findItem(rowId, data))
                                : nullptr;
    if (row)
        menu.itemClicked(row);
}

inline void openBook(QVantelSettingsPage &menu)
{
    menu.entryClicked(menu.entries()->findEntry(QVantelSettingsPage::BookSection));
}

inline bool bookPages(const QString &folder)
{
    FakeQuorix fake;
    installDemoUnit(fake);
    if (!fake.listen())
        return false;
    comClient()->initialize("ui", "vn_frontpanel");
    if (!comClient()->connect(QStringLiteral("127.0.0.1"), fake.port(), 0))
        return false;
    QDeadlineTimer deadline(10000);
    while (comClient()->state() != RpcConnection::Connected && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    if (comClient()->state() != RpcConnection::Connected)
        return false;

    using settingsgallery::writeMenu;
    bool ok = writeMenu(folder, QStringLiteral("book-menu.png"), AccessLevel::Expert, openBook);
    ok = writeMenu(folder,
                   QStringLiteral("book-presets.png"),
                   AccessLevel::Expert,
                   [](QVantelSettingsPage &menu) {
                       openBook(menu);
                       tap(menu, 174);
                   })
         && ok;
    ok = writeMenu(folder,
                   QStringLiteral("book-preset.png"),
                   AccessLevel::Expert,
                   [](QVantelSettingsPage &menu) {
                       openBook(menu);
                       tap(menu, 174);
                       tap(menu, 306 + 1, 174);
                   })
         && ok;
    ok = writeMenu(folder,
                   QStringLiteral("book-sip-operator.png"),
                   AccessLevel::Operator,
                   [](QVantelSettingsPage &menu) {
                       openBook(menu);
                       tap(menu, 175);
                   })
         && ok;
    comClient()->disconnect();
    return ok;
}

} // namespace bookgallery
