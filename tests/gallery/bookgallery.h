#pragma once

// The Book of the settings menu, against the demo unit on loopback:
//     book-menu.png (the Book page), book-presets.png (the preset list for an Expert),
//     book-preset.png (one preset's page), book-sip-operator.png (the SIP profile list for an
//     Operator), book-callprofiles.png (the call profile list with its summaries),
//     book-callprofile.png (one call profile's page), book-callprofile-new.png (a new one),
//     book-callprofile-actions.png (its Load and Delete rows), book-preset-delete.png (the
//     question before a preset is deleted), book-presets-long.png (the preset list with a name
//     too long for its row)

#include "link/comclient.h"
#include "model/accesslevel.h"
#include "model/storeditems.h"
#include "settings/qvantelsettingspage.h"
#include "settings/settingsids.h"
#include "tests/gallery/gallerydemo.h"
#include "tests/gallery/settingsgallery.h"
#include "tests/support/demounit.h"
#include "tests/support/fakequorix.h"
#include "widgets/qvantelmenuentries.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuitems.h"

#include <QApplication>
#include <QScrollBar>

namespace bookgallery {

// Taps the row id of the page on top, if there is one.
inline void tap(QVantelSettingsPage &menu, int rowId, int data = -1)
{
    QVantelMenuItems *page = menu.currentPage();
    QVantelMenuItem *row
        = page ? (data < 0 ? page->findItem(rowId) : page->findItem(rowId, data)) : nullptr;
    if (row)
        menu.itemClicked(row);
}

inline void openBook(QVantelSettingsPage &menu)
{
    menu.entryClicked(menu.entries()->findEntry(kPageBook));
}

inline bool bookPages(const QString &folder)
{
    FakeQuorix fake;
    installDemoUnit(fake);
    if (!fake.listen() || !gallerydemo::connectClient(fake))
        return false;

    using settingsgallery::writeMenu;
    bool ok = writeMenu(folder, QStringLiteral("book-menu.png"), AccessLevel::Expert, openBook);
    ok = writeMenu(folder,
                   QStringLiteral("book-presets.png"),
                   AccessLevel::Expert,
                   [](QVantelSettingsPage &menu) {
                       openBook(menu);
                       tap(menu, kPagePresets);
                   })
         && ok;
    ok = writeMenu(folder,
                   QStringLiteral("book-preset.png"),
                   AccessLevel::Expert,
                   [](QVantelSettingsPage &menu) {
                       openBook(menu);
                       tap(menu, kPagePresets);
                       tap(menu, kFirstStoredRow + 1, kPagePresets);
                   })
         && ok;
    ok = writeMenu(folder,
                   QStringLiteral("book-sip-operator.png"),
                   AccessLevel::Operator,
                   [](QVantelSettingsPage &menu) {
                       openBook(menu);
                       tap(menu, kPageSipProfiles);
                   })
         && ok;
    ok = writeMenu(folder,
                   QStringLiteral("book-callprofiles.png"),
                   AccessLevel::Expert,
                   [](QVantelSettingsPage &menu) {
                       openBook(menu);
                       tap(menu, kPageCallProfiles);
                   })
         && ok;
    ok = writeMenu(folder,
                   QStringLiteral("book-callprofile.png"),
                   AccessLevel::Expert,
                   [](QVantelSettingsPage &menu) {
                       openBook(menu);
                       tap(menu, kPageCallProfiles);
                       tap(menu, kFirstStoredRow + 1, kPageCallProfiles);
                   })
         && ok;
    ok = writeMenu(folder,
                   QStringLiteral("book-callprofile-actions.png"),
                   AccessLevel::Expert,
                   [](QVantelSettingsPage &menu) {
                       openBook(menu);
                       tap(menu, kPageCallProfiles);
                       tap(menu, kFirstStoredRow + 1, kPageCallProfiles);
                       QApplication::processEvents();
                       if (QVantelMenuItems *page = menu.currentPage())
                           page->verticalScrollBar()->setValue(
                               page->verticalScrollBar()->maximum());
                   })
         && ok;
    ok = writeMenu(folder,
                   QStringLiteral("book-preset-delete.png"),
                   AccessLevel::Expert,
                   [](QVantelSettingsPage &menu) {
                       openBook(menu);
                       tap(menu, kPagePresets);
                       tap(menu, kFirstStoredRow + 1, kPagePresets);
                       tap(menu, kRowStoredItemDelete, kFirstStoredRow + 1);
                       settingsgallery::inlinePopups(menu);
                   })
         && ok;
    ok = writeMenu(folder,
                   QStringLiteral("book-callprofile-new.png"),
                   AccessLevel::Expert,
                   [](QVantelSettingsPage &menu) {
                       openBook(menu);
                       tap(menu, kPageCallProfiles);
                       tap(menu, kRowNewStoredItem);
                   })
         && ok;
    // Last, as it adds a preset to the unit: its name is cut short and the list keeps its icons.
    ok = TStoredItems(comClient())
             .create("local_profile",
                     QStringLiteral("Saturday Afternoon Sports Roundup With Extended Coverage"))
         && ok;
    ok = writeMenu(folder,
                   QStringLiteral("book-presets-long.png"),
                   AccessLevel::Expert,
                   [](QVantelSettingsPage &menu) {
                       openBook(menu);
                       tap(menu, kPagePresets);
                   })
         && ok;
    comClient()->disconnect();
    return ok;
}

} // namespace bookgallery
