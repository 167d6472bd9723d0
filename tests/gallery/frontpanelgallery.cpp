// Renders the front-panel window's login page and the status strip of the pages in their main
// states into PNG files:
//
//     tallydesk_frontpanel_gallery [output folder]      (default: the gallery's build folder)
//
// Exit code 0 when every sheet was written.

#include "frontpanel/qvantelwindow.h"
#include "link/sharedobjects.h"
#include "resources/tallydeskresources.h"
#include "widgets/qvantelstatuspanel.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPixmap>

#include <cstdio>

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

bool write(const QString &folder, const QString &name, QWidget &sheet)
{
    sheet.show();
    QApplication::processEvents();
    const QString path = QDir(folder).filePath(name);
    const QPixmap picture = sheet.grab();
    if (picture.isNull() || !picture.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

bool loginPage(const QString &folder)
{
    QVantelWindow window;
    darken(&window, QColor(0, 0, 0));
    return write(folder, QStringLiteral("loginpage.png"), window);
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
    return write(folder, QStringLiteral("statuspanels.png"), sheet);
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
    destroySharedObjects();
    return ok ? 0 : 1;
}
