#pragma once

// The audio-over-IP module pages of the settings menu, against the demo unit's module on a
// loopback fake:
//     settings-aoip-module.png, settings-aoip-address.png, settings-aoip-inputs.png,
//     settings-aoip-stream.png, settings-aoip-output.png (both interfaces in use)

#include "link/ccom.h"
#include "link/comclient.h"
#include "model/accesslevel.h"
#include "model/comravennacontroller.h"
#include "model/firmwareversion.h"
#include "settings/qvantelsettingspage.h"
#include "tests/gallery/gallerysheet.h"
#include "tests/gallery/settingsgallery.h"
#include "tests/support/demoarea.h"
#include "tests/support/fakequorix.h"
#include "widgets/qvantelmenuheader.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuitems.h"

#include <QTest>

#include <initializer_list>

namespace ravennagallery {

// Taps the rows in turn, each on the page the tap before opened; the first on a bare page.
inline void openPages(QVantelSettingsPage &menu, std::initializer_list<int> rows)
{
    auto *start = new QVantelMenuItems(3, &menu);
    auto *first = new QVantelMenuItem(*rows.begin(), QVantelMenuItem::Navigation, start);
    start->addItem(first);
    menu.pushPage(start);
    menu.itemClicked(first);
    for (auto id = rows.begin() + 1; id != rows.end(); ++id) {
        QVantelMenuItems *page = menu.currentPage();
        if (QVantelMenuItem *row = page ? page->findItem(*id) : nullptr)
            menu.itemClicked(row);
    }
}

inline bool ravennaPages(const QString &folder)
{
    FakeQuorix fake;
    if (!fake.listen())
        return false;
    installDemoRavenna(*new DemoUnit(fake));
    const quint32 firmwareBefore = firmwareVersion;
    firmwareVersion = firmwareVersionOf(1, 14);
    bool ok
        = comClient()->initialize("ui", "vn_frontpanel") == 0
          && comClient()->connect(QStringLiteral("127.0.0.1"), fake.port(), 0)
          && QTest::qWaitFor([] { return comClient()->state() == RpcConnection::Connected; }, 5000)
          && ravennaController()->startWithIdentity();
    const struct
    {
        const char *name;
        std::initializer_list<int> rows;
    } sheets[] = {{"settings-aoip-module.png", {123}},
                  {"settings-aoip-address.png", {123, 129}},
                  {"settings-aoip-inputs.png", {123, 137}},
                  {"settings-aoip-stream.png", {123, 137, 138}},
                  {"settings-aoip-output.png", {123, 148}}};
    fake.setValue(QStringLiteral("rav_netif_ou"), QStringLiteral("2"), QStringLiteral("audio"));
    for (const auto &sheet : sheets) {
        if (!ok)
            break;
        ok = settingsgallery::writeMenu(
            folder,
            QString::fromLatin1(sheet.name),
            AccessLevel::Administrator,
            [&sheet](QVantelSettingsPage &menu) { openPages(menu, sheet.rows); });
    }
    comClient()->disconnect();
    ravennaController()->reset();
    firmwareVersion = firmwareBefore;
    return ok;
}

} // namespace ravennagallery
