#include "tests/gallery/statusmenugallery.h"

#include "link/ccom.h"
#include "link/comclient.h"
#include "link/sharedobjects.h"
#include "model/accesslevel.h"
#include "model/comdevice.h"
#include "settings/qvantelsettingspage.h"
#include "settings/settingsids.h"
#include "tests/gallery/gallerydemo.h"
#include "tests/gallery/gallerysheet.h"
#include "tests/gallery/settingsgallery.h"
#include "tests/support/demounit.h"
#include "tests/support/fakequorix.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuitems.h"

#include <QScrollBar>

bool statusMenuPages(const QString &folder)
{
    FakeQuorix fake;
    if (!fake.listen())
        return false;
    installDemoUnit(fake);
    if (!gallerydemo::connectClient(fake) || !comDevice()->refresh())
        return false;

    return settingsgallery::walkMenu(
        folder,
        AccessLevel::Operator,
        [&fake](QVantelSettingsPage &menu, const settingsgallery::MenuSheet &sheet) {
            const auto open = [&menu]() -> QVantelMenuItems * {
                menu.showEntry(kPageStatus, 0);
                QVantelMenuItems *page = menu.currentPage();
                return page && page->id() == kPageStatus ? page : nullptr;
            };
            const auto showInterfaces = [](QVantelMenuItems *page) {
                if (QVantelMenuItem *row = page->findItem(kRowStatusEthernetFirst))
                    page->verticalScrollBar()->setValue(row->y());
            };
            // The demo modem waits for its PIN first.
            QVantelMenuItems *status = open();
            if (!status)
                return false;
            sheet(QStringLiteral("settings-status.png"));
            showInterfaces(status);
            sheet(QStringLiteral("settings-status-pin.png"));

            const QString network = QStringLiteral("network");
            const QString mobile = QStringLiteral("mobile.0");
            fake.setValue(QStringLiteral("pin"), QStringLiteral("ready"), network, mobile);
            fake.setValue(
                QStringLiteral("data_connection_state"), QStringLiteral("active"), network, mobile);
            fake.setValue(
                QStringLiteral("remote_access"), QStringLiteral("on"), QStringLiteral("general"));
            status = open();
            if (!status)
                return false;
            showInterfaces(status);
            sheet(QStringLiteral("settings-status-interfaces.png"));
            status->verticalScrollBar()->setValue(status->verticalScrollBar()->maximum());
            sheet(QStringLiteral("settings-status-bottom.png"));
            status->verticalScrollBar()->setValue(0);

            if (QVantelMenuItem *row = status->findItem(kPageMobileStatusFirst)) {
                menu.itemClicked(row);
                sheet(QStringLiteral("settings-status-mobile.png"));
            }
            return true;
        });
}
