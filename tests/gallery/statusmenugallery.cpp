#include "tests/gallery/statusmenugallery.h"

#include "link/ccom.h"
#include "link/comclient.h"
#include "link/sharedobjects.h"
#include "model/accesslevel.h"
#include "model/comdevice.h"
#include "settings/qvantelsettingspage.h"
#include "tests/gallery/gallerysheet.h"
#include "tests/support/demounit.h"
#include "tests/support/fakequorix.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuitems.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QScrollBar>

namespace {

void styleMenu(QWidget *menu)
{
    menu->setFixedSize(800, 480);
    QPalette p = menu->palette();
    p.setColor(QPalette::Window, Qt::black);
    p.setColor(QPalette::WindowText, Qt::white);
    menu->setPalette(p);
    menu->setAutoFillBackground(true);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(14);
    menu->setFont(f);
}

bool connectTo(const FakeQuorix &fake)
{
    if (!comClient()->connect(QStringLiteral("127.0.0.1"), fake.port(), 0))
        return false;
    QDeadlineTimer deadline(10000);
    while (comClient()->state() != RpcConnection::Connected && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return comClient()->state() == RpcConnection::Connected;
}

} // namespace

bool statusMenuPages(const QString &folder)
{
    FakeQuorix fake;
    if (!fake.listen())
        return false;
    installDemoUnit(fake);
    comClient()->initialize("ui", "vn_frontpanel");
    if (!connectTo(fake) || !comDevice()->refresh())
        return false;

    const AccessLevel level = accessLevel;
    accessLevel = AccessLevel::Operator;
    bool ok = true;
    {
        QVantelSettingsPage menu;
        styleMenu(&menu);
        const auto sheet = [&](const QString &name) { ok = writeSheet(folder, name, menu) && ok; };
        const auto open = [&menu]() -> QVantelMenuItems * {
            menu.showEntry(QVantelSettingsPage::StatusSection, 0);
            QVantelMenuItems *page = menu.currentPage();
            return page && page->id() == 6 ? page : nullptr;
        };
        const auto showInterfaces = [](QVantelMenuItems *page) {
            if (QVantelMenuItem *row = page->findItem(285))
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

        if (QVantelMenuItem *row = status->findItem(289)) {
            menu.itemClicked(row);
            sheet(QStringLiteral("settings-status-mobile.png"));
        }
    }
    accessLevel = level;
    comClient()->disconnect();
    destroySharedObjects();
    return ok;
}
