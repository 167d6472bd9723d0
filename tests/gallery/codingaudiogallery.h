#pragma once

// The Coding and Audio sections of the settings menu, filled from the demo unit on loopback:
//     settings-coding.png (the coding page), settings-codec1.png (coder 1's codec page),
//     settings-autobitrate.png, settings-audio.png (an auxiliary board with AES67) and
//     settings-monitoring.png

#include "link/sharedobjects.h"
#include "model/accesslevel.h"
#include "model/audiosettings.h"
#include "model/comdevice.h"
#include "model/firmwareversion.h"
#include "model/matrixsettings.h"
#include "settings/qvantelsettingspage.h"
#include "settings/settingsids.h"
#include "tests/gallery/gallerydemo.h"
#include "tests/gallery/gallerysheet.h"
#include "tests/gallery/settingsgallery.h"
#include "tests/support/demounit.h"
#include "tests/support/fakequorix.h"
#include "widgets/qvantelmenuentries.h"
#include "widgets/qvantelmenuentry.h"
#include "widgets/qvantelmenuitems.h"

#include <QLabel>

namespace codingaudiogallery {

inline bool codingAudioPages(const QString &folder)
{
    FakeQuorix fake;
    if (!fake.listen())
        return false;
    installDemoUnit(fake);
    fake.setList(
        QStringLiteral("device_opts"),
        {QStringLiteral("ip_dcodec"), QStringLiteral("hardware_1"), QStringLiteral("ravenna")},
        QStringLiteral("general"));
    if (!gallerydemo::connectClient(fake) || !comDevice()->refresh()
        || !audioSettings()->start(true) || !matrixSettings()->start(true)) {
        std::fprintf(stderr, "demo unit not reached\n");
        destroySharedObjects();
        return false;
    }
    firmwareVersion = 0x20007;
    const auto sheet = [&folder](
                           const QString &name, int section, std::initializer_list<int> rows) {
        return settingsgallery::writeMenu(
            folder, name, AccessLevel::Administrator, [section, rows](QVantelSettingsPage &menu) {
                settingsgallery::openPages(menu, section, rows);
            });
    };
    bool ok = sheet(QStringLiteral("settings-coding.png"), kPageCoding, {});
    ok = sheet(QStringLiteral("settings-codec1.png"), kPageCoding, {kPageCodec1}) && ok;
    ok = sheet(QStringLiteral("settings-autobitrate.png"), kPageCoding, {kPageAutoBitRate}) && ok;
    ok = sheet(QStringLiteral("settings-audio.png"), kPageAudio, {}) && ok;
    ok = sheet(QStringLiteral("settings-monitoring.png"), kPageAudio, {kPageMonitoring}) && ok;
    destroySharedObjects();
    firmwareVersion = kFirmwareVersionUnknown;
    return ok;
}

} // namespace codingaudiogallery
