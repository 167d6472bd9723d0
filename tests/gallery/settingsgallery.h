#pragma once

// The settings menu for the front-panel gallery:
//     settings-operator.png (no section open, Audio closed to an Operator),
//     settings-section.png (a section open for an Expert, with its title and the Apply mark),
//     settings-tools-operator.png, settings-tools-admin.png (the Tools page by access level),
//     settings-soundid.png (the sound ID page without the file),
//     settings-passwords.png (the passwords page, masked)

#include "link/comclient.h"
#include "link/sharedobjects.h"
#include "model/accesslevel.h"
#include "settings/qvantelsettingspage.h"
#include "settings/settingsids.h"
#include "tests/gallery/gallerysheet.h"
#include "widgets/qvantelmenuentries.h"
#include "widgets/qvantelmenuentry.h"
#include "widgets/qvantelmenuheader.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuitems.h"
#include "widgets/qvantelpopup.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>

#include <functional>
#include <initializer_list>

namespace settingsgallery {

// Lays the popups the menu shows (choices, questions) into the menu itself where they stand, so
// that a sheet of the menu pictures them: a popup is a window of its own, which grab() leaves out.
inline void inlinePopups(QVantelSettingsPage &menu)
{
    const QList<QVantelPopup *> popups = menu.findChildren<QVantelPopup *>();
    for (QVantelPopup *popup : popups) {
        if (!popup->isVisible() || !popup->isWindow())
            continue;
        const QPoint at = menu.mapFromGlobal(popup->pos());
        popup->setWindowFlags(Qt::Widget);
        popup->move(at);
        popup->show();
        popup->raise();
    }
}

// Opens a root section as a tap on its entry does, then taps the rows in turn, each on the page
// the tap before opened, as an operator reaches them: the header then names the whole path.
inline void openPages(QVantelSettingsPage &menu, int section, std::initializer_list<int> rows)
{
    QVantelMenuEntries *entries = menu.entries();
    entries->childClicked(entries->findEntry(section)->titleLabel());
    for (const int id : rows) {
        QVantelMenuItems *page = menu.currentPage();
        if (QVantelMenuItem *row = page ? page->findItem(id) : nullptr)
            menu.itemClicked(row);
    }
}

// One sheet of the settings page at an access level, prepared by prepare.
inline bool writeMenu(const QString &folder,
                      const QString &name,
                      AccessLevel level,
                      const std::function<void(QVantelSettingsPage &)> &prepare)
{
    const AccessLevel before = accessLevel;
    accessLevel = level;
    QWidget host;
    styleFrontPanel(&host);
    auto *menu = new QVantelSettingsPage(&host);
    menu->setGeometry(0, 0, 800, 480);
    // Shown and laid out first, as in the window: popups are placed and pages scrolled by the
    // geometry they find.
    host.show();
    QApplication::processEvents();
    prepare(*menu);
    const bool written = writeSheet(folder, name, host);
    accessLevel = before;
    return written;
}

// Writes a named sheet of the menu as it stands.
using MenuSheet = std::function<void(const QString &name)>;

// The settings page on a sheet of its own at an access level, walked through by walk as a user
// goes, which writes a sheet with sheet(name) wherever it wants a picture and returns false
// when the menu did not go where it should. The link to the demo unit is closed and the shared
// objects destroyed afterwards. True when walk succeeded and every sheet was written.
inline bool walkMenu(const QString &folder,
                     AccessLevel level,
                     const std::function<bool(QVantelSettingsPage &, const MenuSheet &)> &walk)
{
    const AccessLevel before = accessLevel;
    accessLevel = level;
    bool ok = true;
    {
        QVantelSettingsPage menu;
        styleFrontPanel(&menu);
        const MenuSheet sheet
            = [&](const QString &name) { ok = writeSheet(folder, name, menu) && ok; };
        ok = walk(menu, sheet) && ok;
    }
    accessLevel = before;
    comClient()->disconnect();
    destroySharedObjects();
    return ok;
}

inline bool settingsPages(const QString &folder)
{
    bool ok = writeMenu(folder,
                        QStringLiteral("settings-operator.png"),
                        AccessLevel::Operator,
                        [](QVantelSettingsPage &) {});
    ok = writeMenu(folder,
                   QStringLiteral("settings-section.png"),
                   AccessLevel::Expert,
                   [](QVantelSettingsPage &menu) {
                       menu.showEntry(kPageTools, 0);
                       // A bare page stands in for the section's rows.
                       auto *page = new QVantelMenuItems(kPageTools, &menu);
                       auto *row
                           = new QVantelMenuItem(kRowAccessLevel, QVantelMenuItem::Choice, page);
                       row->grid()->setContentsMargins(10, 0, 10, 0);
                       row->titleLabel()->setText(QStringLiteral("Access Level"));
                       row->addValue(1, QStringLiteral("Expert"));
                       row->selectValue(1, true, false);
                       page->addItem(row);
                       menu.pushPage(page);
                       menu.header()->setModified(true);
                   })
         && ok;
    ok = writeMenu(folder,
                   QStringLiteral("settings-tools-operator.png"),
                   AccessLevel::Operator,
                   [](QVantelSettingsPage &menu) { menu.showEntry(kPageTools, 0); })
         && ok;
    ok = writeMenu(folder,
                   QStringLiteral("settings-tools-admin.png"),
                   AccessLevel::Administrator,
                   [](QVantelSettingsPage &menu) { menu.showEntry(kPageTools, 0); })
         && ok;
    ok = writeMenu(folder,
                   QStringLiteral("settings-soundid.png"),
                   AccessLevel::Expert,
                   [](QVantelSettingsPage &menu) {
                       menu.showEntry(kPageTools, 0);
                       // The gallery's unit has no recorder option, so a stand-in row opens it.
                       auto *from = new QVantelMenuItems(kPageTools, &menu);
                       from->hide();
                       auto *row
                           = new QVantelMenuItem(kPageSoundId, QVantelMenuItem::Navigation, from);
                       row->titleLabel()->setText(QStringLiteral("Sound ID"));
                       from->addItem(row);
                       menu.itemClicked(row);
                   })
         && ok;
    ok = writeMenu(folder,
                   QStringLiteral("settings-passwords.png"),
                   AccessLevel::Administrator,
                   [](QVantelSettingsPage &menu) {
                       menu.setAdministratorPassword(QStringLiteral("admin"), false);
                       menu.setOperatorPassword(QStringLiteral("op"), false);
                       menu.showEntry(kPageTools, 0);
                       if (QVantelMenuItems *tools = menu.currentPage()) {
                           if (QVantelMenuItem *row = tools->findItem(kPagePasswords))
                               menu.itemClicked(row);
                       }
                   })
         && ok;
    return ok;
}

} // namespace settingsgallery
