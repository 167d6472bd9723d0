// Renders the front-panel window's login, main and connection pages, the status strip of the
// pages, the headphone pages and the settings menu in their main states into PNG files:
//
//     tallydesk_frontpanel_gallery [output folder]      (default: the gallery's build folder)
//
// Exit code 0 when every sheet was written.

#include "frontpanel/droppedinputmark.h"
#include "frontpanel/qvantelbanner.h"
#include "frontpanel/qvantelconnectionpage.h"
#include "frontpanel/qvantelmainpage.h"
#include "frontpanel/qvantelsoftkeys.h"
#include "frontpanel/qvantelwindow.h"
#include "link/codecconfig.h"
#include "link/sharedobjects.h"
#include "model/accesslevel.h"
#include "model/comdevice.h"
#include "resources/tallydeskresources.h"
#include "tests/gallery/audiopagesgallery.h"
#include "tests/gallery/bookgallery.h"
#include "tests/gallery/codingaudiogallery.h"
#include "tests/gallery/gallerysheet.h"
#include "tests/gallery/headphonegallery.h"
#include "tests/gallery/networkpagesgallery.h"
#include "tests/gallery/ravennagallery.h"
#include "tests/gallery/settingsgallery.h"
#include "tests/gallery/sippagesgallery.h"
#include "tests/gallery/statusgallery.h"
#include "tests/gallery/statusmenugallery.h"
#include "tests/gallery/troubleshootinggallery.h"
#include "widgets/qvantelconnpanel.h"
#include "widgets/qvantellocalize.h"
#include "widgets/qvantelstatuspanel.h"

#include <QApplication>
#include <QLabel>

namespace {

void darken(QWidget *widget, const QColor &background)
{
    widget->setAutoFillBackground(true);
    QPalette p = widget->palette();
    p.setColor(QPalette::Window, background);
    p.setColor(QPalette::WindowText, Qt::white);
    p.setColor(QPalette::Text, Qt::white);
    widget->setPalette(p);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(14);
    widget->setFont(f);
}

// The login page the window shows first, in the main window's colours and font.
bool loginPage(const QString &folder)
{
    QWidget host;
    styleFrontPanel(&host);
    auto *window = new QVantelWindow(&host);
    window->setGeometry(0, 0, 800, 480);
    host.show();
    return writeSheet(folder, QStringLiteral("loginpage.png"), host);
}

void session(IVantelStatusPanel *status, int routing, int link1, int link2)
{
    status->setBatteryLevel(80);
    status->setNetworkType(0x100, 0);
    status->setDataActive(true);
    status->setSipState(1, 1);
    status->setCodecMode(routing, 0);
    status->setLinkState(1, link1);
    status->setLinkState(2, link2);
    status->setLinkEnabled(1, link1 == 4);
    status->setLinkQuality(1, 90, 70);
    status->setAudioLevels(6, 14, 9, 18, 7, 11, true);
}

// The main page: fresh, and in a session with a call on link 1 and soft keys set.
bool mainPages(const QString &folder)
{
    QWidget host;
    styleFrontPanel(&host);
    auto *window = new QVantelWindow(&host);
    host.show();
    QVantelMainPage *page = window->mainPage();
    bool ok = writePage(folder, QStringLiteral("mainpage-fresh.png"), page);

    accessLevel = AccessLevel::Expert;
    page->hide();
    page->show();
    const int categories[] = {0, 1, 2, 3, 4, 5, 6};
    for (int index = 0; index < QVantelSoftkeys::kKeyCount; ++index)
        softkey(index)->setCategory(categories[index]);
    page->setInfoLamp(0, true);
    page->setContactLamp(1, true);
    page->contactLabelChanged(0, QStringLiteral("Door bell"));
    session(page, 8, 4, 2);
    QVantelBanner *banner = page->banner();
    const QString opus
        = QVantelLocalize::codingSummary(codecConfigFromString("OPUS/48000/stereo/64000"));
    banner->setLinkNames(1, QStringLiteral("Ethernet"), opus);
    banner->setLinkDetail(1, QStringLiteral("sip:studio@10.0.0.9"));
    banner->setLinkNames(2, QStringLiteral("Mobile"), QVantelLocalize::codecName(17));
    banner->setLinkDetail(2, QStringLiteral("+41 79 000 11 22"));
    ok = writePage(folder, QStringLiteral("mainpage-session.png"), page) && ok;

    // A tap made while the program waited for the unit, on a soft key the answer replaced: the
    // panel marks where it was dropped.
    auto *key = page->findChild<QWidget *>(QStringLiteral("softkeyButton2"));
    DroppedInputMark::show(page, key->mapToGlobal(key->rect().center()));
    ok = writePage(folder, QStringLiteral("mainpage-dropped-tap.png"), page) && ok;
    accessLevel = AccessLevel::Operator;
    return ok;
}

// The connection page: idle in single codec mode, and a call on link 1 with the coordination
// line remembered on link 2.
bool connectionPages(const QString &folder)
{
    QWidget host;
    styleFrontPanel(&host);
    auto *window = new QVantelWindow(&host);
    host.show();
    QVantelConnectionPage *page = window->connectionPage();
    const QString g722 = QVantelLocalize::codingSummary(codecConfigFromString("G722"));
    session(page, 1, 1, 0);
    page->setLinkInfo(1, QStringLiteral("Ethernet / ") + g722);
    bool ok = writePage(folder, QStringLiteral("connectionpage-idle.png"), page);

    const QString opus
        = QVantelLocalize::codingSummary(codecConfigFromString("OPUS/48000/stereo/64000"));
    session(page, 8, 4, 2);
    page->setLinkMessage(1, QStringLiteral("Call established (synchronized)"));
    page->setLinkInfo(1, QStringLiteral("Ethernet\n") + opus);
    page->setRemoteAddress(1, QStringLiteral("sip:studio@10.0.0.9"), -1);
    page->setLinkInfo(2, QStringLiteral("Mobile / ") + QVantelLocalize::codecName(17));
    page->setRemoteAddress(2, QStringLiteral("+41 79 000 11 22"), QVantelConnPanel::VoiceAddress);
    ok = writePage(folder, QStringLiteral("connectionpage-call.png"), page) && ok;

    session(page, 8, 6, 3);
    page->setLinkMessage(1, QStringLiteral("Releasing call..."));
    page->setLinkMessage(2, QStringLiteral("Call in progress..."));
    ok = writePage(folder, QStringLiteral("connectionpage-ending.png"), page) && ok;
    return ok;
}

// The full strip in several sessions, and the compact one.
bool statusPanels(const QString &folder)
{
    QWidget sheet;
    sheet.setFixedSize(580, 680);
    darken(&sheet, QColor(0, 0, 0));

    struct Look
    {
        const char *caption;
        int codecMode;
        int coordination;
        int network;
        int technology;
        int link1;
        int link2;
        int sip1;
        int sip2;
        int sound;
        int battery;
    };
    const Look looks[] = {
        {"fresh page: codec mode 1, nothing known", 1, 0, 0xFFFF, 0, 0, 0, 0, 0, 0, -1},
        {"Ethernet, link 1 idle, SIP registered", 1, 0, 0x100, 0, 1, 0, 1, 0, 2, 80},
        {"4G, call established, coordination calling", 8, 0, 0x300, 3, 4, 3, 2, 3, 1, 120},
        {"stereo without coordination", 2, 0, 0x400, 0, 5, 0, 0, 0, 0, 15},
        {"double stereo, releasing", 32, 1, 0x200, 0, 6, 2, 0, 1, 0, 140},
    };
    int y = 20;
    for (const Look &look : looks) {
        auto *caption = new QLabel(QString::fromLatin1(look.caption), &sheet);
        caption->setGeometry(20, y - 16, 520, 14);
        auto *panel = new QVantelStatusPanel(false, &sheet);
        panel->move(20, y);
        panel->setCodecMode(look.codecMode, look.coordination);
        panel->setNetworkType(look.network, look.technology);
        panel->setSignalQuality(0, 3);
        panel->setDataActive(look.network == 0x300);
        panel->setLinkState(1, look.link1);
        panel->setLinkState(2, look.link2);
        panel->setSipState(1, look.sip1);
        panel->setSipState(2, look.sip2);
        panel->setSoundIdState(look.sound);
        panel->setBatteryLevel(look.battery);
        panel->setLinkEnabled(1, look.link1 >= 3);
        panel->setLinkQuality(1, 80, 45);
        panel->setLinkEnabled(2, look.link2 >= 3);
        panel->setLinkQuality(2, 60, -1);
        panel->setAudioLevels(4, 12, 8, 20, 6, 10, true);
        y += 110;
    }
    auto *caption = new QLabel(QStringLiteral("compact strip"), &sheet);
    caption->setGeometry(20, y - 16, 520, 14);
    auto *compact = new QVantelStatusPanel(true, &sheet);
    compact->move(20, y);
    compact->setCodecMode(8, 1);
    compact->setNetworkType(0x100, 0);
    compact->setLinkState(1, 2);
    compact->setAudioLevels(4, 12, 8, 20, 6, 10, true);
    return writeSheet(folder, QStringLiteral("statuspanels.png"), sheet);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    initTallydeskResources();
    const QString folder
        = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(TALLYDESK_GALLERY_DIR);
    bool ok = statusPanels(folder);
    ok = loginPage(folder) && ok;
    ok = mainPages(folder) && ok;
    ok = connectionPages(folder) && ok;
    ok = audioPages(folder) && ok;
    ok = headphonegallery::headphonePages(folder) && ok;
    ok = settingsgallery::settingsPages(folder) && ok;
    ok = ravennagallery::ravennaPages(folder) && ok;
    ok = bookgallery::bookPages(folder) && ok;
    ok = troubleshootinggallery::troubleshootingPages(folder) && ok;
    ok = networkPages(folder) && ok;
    ok = sipPages(folder) && ok;
    ok = codingaudiogallery::codingAudioPages(folder) && ok;
    ok = statusgallery::statusPages(folder) && ok;
    ok = statusMenuPages(folder) && ok;
    destroySharedObjects();
    return ok ? 0 : 1;
}
