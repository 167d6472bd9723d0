#include "tests/gallery/networkpagesgallery.h"

#include "link/comclient.h"
#include "link/sharedobjects.h"
#include "model/accesslevel.h"
#include "model/comdevice.h"
#include "settings/qvantelsettingspage.h"
#include "settings/settingsids.h"
#include "tests/gallery/gallerydemo.h"
#include "tests/gallery/gallerysheet.h"
#include "tests/gallery/settingsgallery.h"
#include "tests/support/demonetworks.h"
#include "tests/support/fakequorix.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuitems.h"

namespace {

const QString kNetwork = QStringLiteral("network");
const QString kAudio = QStringLiteral("audio");

} // namespace

bool networkPages(const QString &folder)
{
    FakeQuorix fake;
    if (!fake.listen())
        return false;
    fillNetworkDemo(fake);
    fake.setValue(QStringLiteral("default_network"), QStringLiteral("eth.0"), kNetwork);
    fake.setValue(QStringLiteral("codec_mode"), QStringLiteral("cmode_normal"), kAudio);
    fake.setValue(QStringLiteral("coord_mode"), QStringLiteral("disabled"), kAudio);
    fake.setValue(QStringLiteral("codec"), QStringLiteral("MPA2/48000/mono/128000/0"), kAudio);
    fake.setValue(QStringLiteral("operation_mode"), QStringLiteral("standard"), kAudio);
    fake.setValue(QStringLiteral("dstream_mode"), QStringLiteral("disabled"), kAudio);
    fake.setValue(QStringLiteral("aes67_reset"), QStringLiteral("off"), kAudio);
    fake.setReplyHook(
        [&fake](const FakeRequest &request) { return answerNetworkDemo(fake, request); });
    if (!gallerydemo::connectClient(fake) || !comDevice()->refresh())
        return false;

    return settingsgallery::walkMenu(
        folder,
        AccessLevel::Administrator,
        [&fake](QVantelSettingsPage &menu, const settingsgallery::MenuSheet &sheet) {
            // Through the menu as a user goes: the Network entry, then each interface's row.
            const auto open = [&menu](int rowId) {
                while (menu.currentPage() && menu.currentPage()->id() != kPageNetwork)
                    menu.backClicked();
                if (QVantelMenuItems *network = menu.currentPage())
                    menu.itemClicked(network->findItem(rowId));
            };
            menu.showEntry(kPageNetwork, 0);
            sheet(QStringLiteral("settings-network.png"));
            open(kPageEthernetFirst);
            sheet(QStringLiteral("settings-ethernet-dhcp.png"));
            open(kPageEthernetFirst + 1);
            sheet(QStringLiteral("settings-ethernet-manual.png"));
            open(kPageMobileFirst);
            sheet(QStringLiteral("settings-mobile-pin.png"));
            fake.setValue(QStringLiteral("pin"),
                          QStringLiteral("ready"),
                          kNetwork,
                          QStringLiteral("mobile.0"));
            open(kPageMobileFirst);
            sheet(QStringLiteral("settings-mobile.png"));
            open(kPageWifiFirst);
            sheet(QStringLiteral("settings-wifi.png"));
            open(kPageIsdn);
            sheet(QStringLiteral("settings-isdn.png"));
            return true;
        });
}
