#include "tests/gallery/sippagesgallery.h"

#include "link/comclient.h"
#include "link/sharedobjects.h"
#include "model/accesslevel.h"
#include "model/comaoipcontroller.h"
#include "model/comdevice.h"
#include "settings/qvantelsettingspage.h"
#include "settings/settingsids.h"
#include "tests/gallery/gallerydemo.h"
#include "tests/gallery/gallerysheet.h"
#include "tests/gallery/settingsgallery.h"
#include "tests/support/demoarea.h"
#include "tests/support/fakequorix.h"
#include "widgets/qvantelmenuheader.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuitems.h"

#include <QLabel>
#include <QScrollBar>

bool sipPages(const QString &folder)
{
    FakeQuorix fake;
    if (!fake.listen())
        return false;
    installDemoSip(*new DemoUnit(fake));
    if (!gallerydemo::connectClient(fake) || !comDevice()->readDeviceOptions()
        || !comDevice()->aoipController()->setNetwork("aoip", 0, false))
        return false;

    return settingsgallery::walkMenu(
        folder,
        AccessLevel::Administrator,
        [](QVantelSettingsPage &menu, const settingsgallery::MenuSheet &sheet) {
            menu.showEntry(kPageNetwork, 0);
            // A bare Network page holds the row that opens the SIP page, as a user taps it.
            auto *network = new QVantelMenuItems(kPageNetwork, &menu);
            auto *sipRow = new QVantelMenuItem(kPageSip, QVantelMenuItem::Navigation, network);
            sipRow->titleLabel()->setText(QStringLiteral("SIP"));
            network->addItem(sipRow);
            menu.pushPage(network);
            menu.itemClicked(sipRow);
            QVantelMenuItems *sip = menu.currentPage();
            if (!sip || sip->id() != kPageSip)
                return false;
            sheet(QStringLiteral("settings-sip.png"));
            // Scrolled to the rows below the SIP caption.
            if (QVantelMenuItem *proxy = sip->findItem(kRowSipOutboundProxy)) {
                sip->verticalScrollBar()->setValue(proxy->y());
                sheet(QStringLiteral("settings-sip-lower.png"));
                sip->verticalScrollBar()->setValue(sip->verticalScrollBar()->maximum());
                sheet(QStringLiteral("settings-sip-bottom.png"));
                sip->verticalScrollBar()->setValue(0);
            }
            for (const int account : {kPageSipAccount1, kPageSipAccount2}) {
                menu.itemClicked(sip->findItem(account));
                sheet(QStringLiteral("settings-sip-account%1.png")
                          .arg(account - kPageSipAccount1 + 1));
                menu.backClicked();
            }
            return true;
        });
}
