#pragma once

// Troubleshooting and remote assistance of the Tools section, against the demo unit on loopback:
//     settings-troubleshooting.png (event log and the Reset row),
//     settings-troubleshooting-reset.png (the reset categories offered),
//     settings-remote-admin.png (remote access for an Administrator, every row editable),
//     settings-remote-expert.png (the same page for an Expert: server and password locked)

#include "link/comclient.h"
#include "link/sharedobjects.h"
#include "model/accesslevel.h"
#include "model/comdevice.h"
#include "settings/qvantelsettingspage.h"
#include "settings/settingsids.h"
#include "tests/gallery/bookgallery.h"
#include "tests/gallery/gallerydemo.h"
#include "tests/gallery/settingsgallery.h"
#include "tests/support/demounit.h"
#include "tests/support/fakequorix.h"

namespace troubleshootinggallery {

inline void openTools(QVantelSettingsPage &menu, int rowId)
{
    menu.showEntry(kPageTools, 0);
    bookgallery::tap(menu, rowId);
}

inline bool troubleshootingPages(const QString &folder)
{
    FakeQuorix fake;
    installDemoUnit(fake);
    if (!fake.listen() || !gallerydemo::connectClient(fake) || !comDevice()->readDeviceOptions())
        return false;

    using settingsgallery::writeMenu;
    bool ok = writeMenu(folder,
                        QStringLiteral("settings-troubleshooting.png"),
                        AccessLevel::Expert,
                        [](QVantelSettingsPage &menu) { openTools(menu, kPageTroubleshooting); });
    ok = writeMenu(folder,
                   QStringLiteral("settings-troubleshooting-reset.png"),
                   AccessLevel::Expert,
                   [](QVantelSettingsPage &menu) {
                       openTools(menu, kPageTroubleshooting);
                       bookgallery::tap(menu, kRowReset);
                       settingsgallery::inlinePopups(menu);
                   })
         && ok;
    ok = writeMenu(folder,
                   QStringLiteral("settings-remote-admin.png"),
                   AccessLevel::Administrator,
                   [](QVantelSettingsPage &menu) { openTools(menu, kPageRemoteAssistance); })
         && ok;
    ok = writeMenu(folder,
                   QStringLiteral("settings-remote-expert.png"),
                   AccessLevel::Expert,
                   [](QVantelSettingsPage &menu) { openTools(menu, kPageRemoteAssistance); })
         && ok;
    comClient()->disconnect();
    destroySharedObjects();
    return ok;
}

} // namespace troubleshootinggallery
