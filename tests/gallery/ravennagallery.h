#pragma once

// The audio-over-IP module pages of the settings menu, against the demo unit's module on a
// loopback fake:
//     settings-aoip-module.png, settings-aoip-address.png, settings-aoip-inputs.png,
//     settings-aoip-stream.png, settings-aoip-output.png (both interfaces in use)

#include "link/sharedobjects.h"
#include "model/accesslevel.h"
#include "model/audiosettings.h"
#include "model/comdevice.h"
#include "model/comravennacontroller.h"
#include "model/firmwareversion.h"
#include "settings/qvantelsettingspage.h"
#include "settings/settingsids.h"
#include "tests/gallery/gallerydemo.h"
#include "tests/gallery/gallerysheet.h"
#include "tests/gallery/settingsgallery.h"
#include "tests/support/demounit.h"
#include "tests/support/fakequorix.h"
#include "widgets/qvantelmenuentries.h"
#include "widgets/qvantelmenuentry.h"
#include "widgets/qvantelmenuheader.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuitems.h"

#include <initializer_list>

namespace ravennagallery {

inline bool ravennaPages(const QString &folder)
{
    FakeQuorix fake;
    if (!fake.listen())
        return false;
    // The whole demo unit: the Audio page leads to the module only with the module's option,
    // the auxiliary board and the audio settings read.
    installDemoUnit(fake);
    const quint32 firmwareBefore = firmwareVersion;
    bool ok = gallerydemo::connectClient(fake) && comDevice()->refresh()
              && audioSettings()->start(true);
    firmwareVersion = firmwareVersionOf(1, 14);
    ok = ok && ravennaController()->startWithIdentity();
    const struct
    {
        const char *name;
        std::initializer_list<int> rows;
    } sheets[]
        = {{"settings-aoip-module.png", {kPageRavenna}},
           {"settings-aoip-address.png", {kPageRavenna, kPageRavennaAddress1}},
           {"settings-aoip-inputs.png", {kPageRavenna, kPageRavennaInputs}},
           {"settings-aoip-stream.png", {kPageRavenna, kPageRavennaInputs, kPageStreamFirst}},
           {"settings-aoip-output.png", {kPageRavenna, kPageRavennaOutput}}};
    fake.setValue(QStringLiteral("rav_netif_ou"), QStringLiteral("2"), QStringLiteral("audio"));
    for (const auto &sheet : sheets) {
        if (!ok)
            break;
        ok = settingsgallery::writeMenu(folder,
                                        QString::fromLatin1(sheet.name),
                                        AccessLevel::Administrator,
                                        [&sheet](QVantelSettingsPage &menu) {
                                            settingsgallery::openPages(
                                                menu, kPageAudio, sheet.rows);
                                        });
    }
    destroySharedObjects();
    firmwareVersion = firmwareBefore;
    return ok;
}

} // namespace ravennagallery
