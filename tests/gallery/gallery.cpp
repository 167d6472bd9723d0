// Renders the front panel's painted controls in their main states into PNG files:
//
//     tallydesk_gallery [output folder]      (default: the gallery's build folder)
//
// Each sheet is one dark panel with the controls placed on it; the images sheet shows every
// compiled-in image on the dark panel and on a white button face. Exit code 0 when every sheet
// was written.

#include "widgets/qvantelaudio.h"
#include "widgets/qvantelaudiobutton.h"
#include "widgets/qvantelaudioinput.h"
#include "widgets/qvantelbars.h"
#include "widgets/qvantelbattery.h"
#include "widgets/qvantelbutton.h"
#include "widgets/qvantelconninfo.h"
#include "widgets/qvantelconnpanel.h"
#include "widgets/qvanteldataactive.h"
#include "widgets/qvantelknob.h"
#include "widgets/qvantelmenuentries.h"
#include "widgets/qvantelmenuentry.h"
#include "widgets/qvantelmenuheader.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuitems.h"
#include "widgets/qvantelmenupalette.h"
#include "widgets/qvantelmenuselect.h"
#include "widgets/qvantelmenuselectable.h"
#include "widgets/qvantelmenuwidget.h"
#include "widgets/qvantelmessage.h"
#include "widgets/qvantelnetquality.h"
#include "widgets/qvantelpair.h"
#include "widgets/qvantelsigquality.h"
#include "widgets/qvantelswitch.h"
#include "widgets/qvantelvirtual.h"
#include "widgets/qvantelwheel.h"

#include "resources/tallydeskresources.h"
#include "tests/gallery/gallerysheet.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLayout>
#include <QPainter>
#include <QPixmap>

#include <cstdio>
#include <functional>
#include <initializer_list>

namespace {

const QColor kPanel(0, 0, 0);
const QColor kPopup(50, 50, 50);

// A sheet: a dark panel of the given size on which the controls are placed.
class Sheet : public QWidget
{
public:
    explicit Sheet(const QSize &size, const QColor &background = kPanel)
    {
        setFixedSize(size);
        setAutoFillBackground(true);
        QPalette p = palette();
        p.setColor(QPalette::Window, background);
        p.setColor(QPalette::WindowText, Qt::white);
        p.setColor(QPalette::Text, Qt::white);
        setPalette(p);
        QFont f(QStringLiteral("Arial"));
        f.setPixelSize(14);
        setFont(f);
    }

    QLabel *caption(const QString &text, int x, int y, int w = 160)
    {
        auto *label = new QLabel(text, this);
        QFont f = font();
        f.setPixelSize(11);
        label->setFont(f);
        label->setGeometry(x, y, w, 14);
        return label;
    }
};

void setColours(QWidget *widget, const QBrush &window, const QColor &text)
{
    QPalette p = widget->palette();
    p.setBrush(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    widget->setPalette(p);
}

void setPixelFont(QWidget *widget, int size)
{
    QFont f = widget->font();
    f.setPixelSize(size);
    widget->setFont(f);
}

bool buttons(const QString &folder)
{
    Sheet sheet(QSize(600, 250));
    struct Look
    {
        const char *caption;
        QString icon;
        QString text;
        QBrush window;
        QColor textColor;
        int border;
        qreal radius;
        bool enabled;
    };
    const Look looks[] = {
        {"white, icon",
         QStringLiteral(":/images/headphone-black.png"),
         QStringLiteral("1"),
         QColor(Qt::white),
         Qt::black,
         4,
         15,
         true},
        {"outlined, icon",
         QStringLiteral(":/images/headphone-white.png"),
         QStringLiteral("2"),
         QBrush(Qt::white, Qt::NoBrush),
         Qt::white,
         4,
         15,
         true},
        {"soft key",
         QString(),
         QStringLiteral("Talk"),
         QBrush(QColor(0, 204, 255), Qt::NoBrush),
         Qt::white,
         4,
         15,
         true},
        {"input",
         QString(),
         QStringLiteral("INPUT 1"),
         QBrush(QColor(255, 153, 204), Qt::NoBrush),
         Qt::white,
         4,
         15,
         true},
        {"page, icon",
         QStringLiteral(":/images/mixer.png"),
         QString(),
         QColor(Qt::white),
         Qt::black,
         4,
         15,
         true},
        {"square, grey",
         QString(),
         QStringLiteral("Program"),
         QColor(127, 127, 127),
         Qt::black,
         4,
         0,
         true},
        {"radius 3",
         QString(),
         QStringLiteral("ID"),
         QBrush(QColor(255, 255, 170), Qt::NoBrush),
         QColor(255, 255, 170),
         2,
         3,
         true},
        {"call",
         QStringLiteral(":/images/phone-call.png"),
         QString(),
         QColor(Qt::white),
         Qt::black,
         4,
         15,
         true},
        {"disabled",
         QStringLiteral(":/images/home.png"),
         QString(),
         QColor(Qt::white),
         Qt::black,
         4,
         15,
         false},
        {"default", QString(), QStringLiteral("OK"), QColor(Qt::white), Qt::black, 1, 15, true},
    };
    int i = 0;
    for (const Look &look : looks) {
        const int x = 10 + (i % 5) * 118;
        const int y = 10 + (i / 5) * 120;
        sheet.caption(QString::fromLatin1(look.caption), x, y);
        auto *button = new QVantelButton(&sheet);
        button->setGeometry(x, y + 18, 98, 66);
        button->setBorderWidth(look.border);
        button->setRadius(look.radius);
        if (!look.icon.isEmpty())
            button->setIcon(QIcon(look.icon));
        button->setText(look.text);
        setColours(button, look.window, look.textColor);
        setPixelFont(button, 18);
        button->setEnabled(look.enabled);
        ++i;
    }
    return writeSheet(folder, QStringLiteral("buttons.png"), sheet);
}

bool switches(const QString &folder)
{
    Sheet sheet(QSize(330, 90));
    int x = 10;
    for (const bool on : {false, true}) {
        sheet.caption(on ? QStringLiteral("switch on") : QStringLiteral("switch off"), x, 10);
        auto *toggle = new QVantelSwitch(&sheet);
        toggle->setCheckable(true);
        toggle->setChecked(on);
        toggle->setGeometry(x, 30, 60, 34);
        x += 80;
    }
    for (const bool on : {false, true}) {
        sheet.caption(on ? QStringLiteral("pair on") : QStringLiteral("pair off"), x, 10);
        auto *pair = new QVantelPair(&sheet);
        pair->setCheckable(true);
        pair->setChecked(on);
        pair->setGeometry(x, 30, 50, 40);
        x += 80;
    }
    return writeSheet(folder, QStringLiteral("switches.png"), sheet);
}

// Switches and pairs that do nothing, dimmed, below live ones.
bool lockedSwitches(const QString &folder)
{
    Sheet sheet(QSize(420, 150));
    for (const bool enabled : {true, false}) {
        const int y = enabled ? 10 : 80;
        for (int column = 0; column < 4; ++column) {
            const bool pair = column >= 2;
            const bool on = column % 2 == 1;
            const int x = 10 + column * 100;
            sheet.caption(QStringLiteral("%1 %2 %3")
                              .arg(enabled ? QStringLiteral("live") : QStringLiteral("locked"),
                                   pair ? QStringLiteral("pair") : QStringLiteral("switch"),
                                   on ? QStringLiteral("on") : QStringLiteral("off")),
                          x,
                          y);
            QAbstractButton *button = pair ? static_cast<QAbstractButton *>(new QVantelPair(&sheet))
                                           : new QVantelSwitch(&sheet);
            button->setCheckable(true);
            button->setChecked(on);
            button->setEnabled(enabled);
            button->setGeometry(pair ? QRect(x, y + 17, 50, 40) : QRect(x, y + 20, 60, 34));
        }
    }
    return writeSheet(folder, QStringLiteral("switches-locked.png"), sheet);
}

bool knobs(const QString &folder)
{
    Sheet sheet(QSize(720, 330));
    auto knobAt = [&](const QString &caption, int x, int y, bool panning, bool stereo) {
        sheet.caption(caption, x, y, 110);
        auto *knob = new QVantelKnob(panning, &sheet, stereo);
        knob->setGeometry(x, y + 16, 84, 84);
        setPixelFont(knob, 22);
        knob->setMinimum(-31, QStringLiteral("Off"));
        knob->setMaximum(16);
        return knob;
    };
    knobAt(QStringLiteral("minimum text"), 10, 10, false, false)->setValue(-31);
    knobAt(QStringLiteral("value 0"), 130, 10, false, false)->setValue(0);
    knobAt(QStringLiteral("maximum"), 250, 10, false, false)->setValue(16);
    QVantelKnob *listed = knobAt(QStringLiteral("value text"), 370, 10, false, false);
    listed->addValue(-20, QStringLiteral("-40"));
    listed->setUseValueTexts(true);
    listed->setValue(-20);
    QVantelKnob *disabled = knobAt(QStringLiteral("disabled"), 490, 10, false, false);
    disabled->setValue(5);
    disabled->setEnabled(false);
    QVantelKnob *engaged = knobAt(QStringLiteral("engaged"), 610, 10, true, true);
    engaged->setValue(8);
    engaged->setPanning(3);
    engaged->setChecked(true);

    const char *const modes[] = {"pan none", "pan left", "pan right", "pan both", "stereo"};
    for (int mode = 0; mode < 5; ++mode) {
        QVantelKnob *knob
            = knobAt(QString::fromLatin1(modes[mode]), 10 + mode * 120, 120, true, true);
        knob->setValue(-6);
        knob->setPanning(mode);
    }

    const int wheelValues[][2] = {{0, 10}, {5, 10}, {10, 10}, {0, 0}};
    for (int i = 0; i < 4; ++i) {
        const int x = 10 + i * 100;
        sheet.caption(QStringLiteral("wheel %1/%2").arg(wheelValues[i][0]).arg(wheelValues[i][1]),
                      x,
                      240,
                      90);
        auto *wheel = new QVantelWheel(&sheet);
        wheel->setGeometry(x, 256, 58, 58);
        wheel->setMaximum(wheelValues[i][1]);
        wheel->setValue(wheelValues[i][0]);
    }

    sheet.show();
    QApplication::processEvents();
    sheet.activateWindow();
    engaged->setFocus();
    engaged->setChecked(true);
    return writeSheet(folder, QStringLiteral("knobs.png"), sheet);
}

bool bars(const QString &folder)
{
    Sheet sheet(QSize(520, 260), kPopup);
    const int levels[] = {0, 8, 18, 25, 30};
    int y = 10;
    for (const int level : levels) {
        sheet.caption(QStringLiteral("level %1").arg(level), 10, y + 2, 60);
        auto *bar = new QVantelBars(&sheet);
        bar->setGeometry(70, y, 200, 18);
        bar->setLevel(level, true);
        y += 26;
    }
    sheet.caption(QStringLiteral("held marker"), 10, y + 2, 60);
    auto *held = new QVantelBars(&sheet);
    held->setGeometry(70, y, 200, 18);
    held->setLevel(4, true);
    held->setLevel(22, false);
    y += 26;
    sheet.caption(QStringLiteral("stereo"), 10, y + 8, 60);
    auto *stereo = new QVantelBars(&sheet);
    stereo->setGeometry(70, y, 200, 30);
    stereo->setStereo(1);
    stereo->setLevels(2, 12, true);
    stereo->setLevels(10, 20, false);
    y += 38;
    sheet.caption(QStringLiteral("disabled"), 10, y + 2, 60);
    auto *disabled = new QVantelBars(&sheet);
    disabled->setGeometry(70, y, 200, 18);
    disabled->setLevel(5, true);
    disabled->setEnabled(false);

    int x = 300;
    for (const int level : levels) {
        auto *meter = new QVantelBars(&sheet);
        meter->setGeometry(x, 10, 10, 92);
        meter->setFlat(true);
        meter->setLevel(level, true);
        x += 24;
    }
    auto *flatHeld = new QVantelBars(&sheet);
    flatHeld->setGeometry(x, 10, 10, 92);
    flatHeld->setFlat(true);
    flatHeld->setLevel(3, true);
    flatHeld->setLevel(24, false);
    auto *flatStereo = new QVantelBars(&sheet);
    flatStereo->setGeometry(300, 120, 24, 120);
    flatStereo->setFlat(true);
    flatStereo->setStereo(1);
    flatStereo->setLevels(6, 16, true);
    sheet.caption(QStringLiteral("flat meters"), 340, 150);
    return writeSheet(folder, QStringLiteral("bars.png"), sheet);
}

bool glyphs(const QString &folder)
{
    Sheet sheet(QSize(480, 250), kPopup);
    const int batteryLevels[] = {0, 15, 35, 60, 100, 120, 130, 140};
    int x = 10;
    sheet.caption(QStringLiteral("battery 0 15 35 60 100 charging other mains"), 10, 6, 400);
    for (const int level : batteryLevels) {
        auto *battery = new QVantelBattery(&sheet);
        battery->move(x, 24);
        battery->setLevel(level);
        x += 30;
    }
    sheet.caption(
        QStringLiteral("network quality -1 0 10 30 50 70 90 100, down / up"), 10, 62, 400);
    const int qualities[] = {-1, 0, 10, 30, 50, 70, 90, 100};
    x = 10;
    for (const int quality : qualities) {
        for (const bool down : {true, false}) {
            auto *gauge = new QVantelNetQuality(&sheet);
            gauge->move(x, 80);
            gauge->setQuality(quality);
            gauge->setDownward(down);
            x += 18;
        }
        x += 8;
    }
    auto *grey = new QVantelNetQuality(&sheet);
    grey->move(x, 80);
    grey->setEnabled(false);

    sheet.caption(
        QStringLiteral("signal bars 0-5 ready, 3 not ready, SIM, PIN; data"), 10, 140, 400);
    x = 10;
    for (int bars = 0; bars <= 5; ++bars) {
        auto *signal = new QVantelSigQuality(&sheet);
        signal->move(x, 160);
        signal->setQuality(0, bars);
        x += 34;
    }
    const int modes[][2] = {{2, 3}, {4, 0}, {6, 0}};
    for (const auto &mode : modes) {
        auto *signal = new QVantelSigQuality(&sheet);
        signal->move(x, 160);
        signal->setQuality(mode[0], mode[1]);
        x += 34;
    }
    auto *data = new QVantelDataActive(&sheet);
    data->move(x, 160);

    sheet.caption(QStringLiteral("panning labels"), 10, 192, 100);
    x = 10;
    for (int mode = 0; mode < 5; ++mode) {
        auto *audio = new QVantelAudio(&sheet);
        audio->setGeometry(x, 208, 84, 24);
        audio->setAlignment(Qt::AlignCenter);
        audio->setText(QStringLiteral("AUX 1"));
        audio->setPanning(mode);
        x += 92;
    }
    return writeSheet(folder, QStringLiteral("glyphs.png"), sheet);
}

bool images(const QString &folder)
{
    const QStringList names = QDir(QStringLiteral(":/images")).entryList(QDir::Files);
    if (names.isEmpty()) {
        std::fprintf(stderr, "no compiled-in images\n");
        return false;
    }
    const int cell = 240;
    const int columns = 4;
    const int rows = int((names.size() + columns - 1) / columns);
    Sheet sheet(QSize(columns * cell, rows * 130), kPanel);
    int i = 0;
    for (const QString &name : names) {
        const int x = (i % columns) * cell + 4;
        const int y = (i / columns) * 130 + 2;
        sheet.caption(name, x, y, cell - 4);
        const QPixmap pixmap(QStringLiteral(":/images/") + name);
        auto *dark = new QLabel(&sheet);
        dark->setGeometry(x, y + 16, 64, 66);
        dark->setAlignment(Qt::AlignCenter);
        dark->setAutoFillBackground(true);
        setColours(dark, QColor(50, 50, 50), Qt::white);
        dark->setPixmap(pixmap.width() > 64 ? pixmap.scaledToWidth(64, Qt::SmoothTransformation)
                                            : pixmap);
        auto *light = new QVantelButton(&sheet);
        light->setGeometry(x + 66, y + 16, 64, 66);
        light->setBorderWidth(4);
        light->setIcon(QIcon(pixmap));
        setColours(light, QColor(Qt::white), Qt::black);
        auto *small = new QLabel(&sheet);
        small->setGeometry(x, y + 86, 34, 34);
        small->setScaledContents(true);
        small->setPixmap(pixmap);
        // Twice the size, pixel for pixel, to judge the edges.
        auto *zoom = new QLabel(&sheet);
        zoom->setGeometry(x + 134, y + 16, 100, 108);
        zoom->setAlignment(Qt::AlignCenter);
        zoom->setAutoFillBackground(true);
        setColours(zoom, QColor(50, 50, 50), Qt::white);
        const QPixmap fit = pixmap.width() > 50 ? pixmap.scaledToWidth(50) : pixmap;
        zoom->setPixmap(fit.scaled(fit.size() * 2, Qt::KeepAspectRatio, Qt::FastTransformation));
        ++i;
    }
    return writeSheet(folder, QStringLiteral("images.png"), sheet);
}

// A choice popup with a title and the choices, the second one marked.
void fillSelect(QVantelMenuSelect &select,
                const QString &title,
                std::initializer_list<const char *> choices)
{
    select.setTitle(title);
    int id = 0;
    for (const char *choice : choices) {
        auto *row = new QVantelMenuSelectable(id++);
        row->label()->setText(QString::fromLatin1(choice));
        select.addSelectable(row);
    }
    select.setCurrentSelectable(select.findSelectable(1));
}

bool popups(const QString &folder)
{
    Sheet owner(QSize(100, 100));
    QVantelMessage question(QStringLiteral("Are you sure you want to hang up?"), 3, &owner);
    QVantelMessage notice(QStringLiteral("Applying changes..."), 0, &owner);
    QVantelMessage cancelOnly(QStringLiteral("Dialling..."), 1, &owner);
    // Longer than the usual box: the box grows to it.
    QVantelMessage longNotice(
        QStringLiteral("Newer firmware detected on this\nunit (Version 2.01.3)\n\nAn update of the "
                       "\"My Quorix\" application is recommended to access all the features of "
                       "the device"),
        0,
        &owner);
    QVantelMenuSelect select(&owner);
    fillSelect(select,
               QStringLiteral("Bit rate"),
               {"64 kbit/s", "128 kbit/s", "192 kbit/s", "256 kbit/s"});
    bool ok = writeSheet(folder, QStringLiteral("message-question.png"), question);
    ok = writeSheet(folder, QStringLiteral("message-notice.png"), notice) && ok;
    ok = writeSheet(folder, QStringLiteral("message-cancel.png"), cancelOnly) && ok;
    ok = writeSheet(folder, QStringLiteral("message-long.png"), longNotice) && ok;
    ok = writeSheet(folder, QStringLiteral("select.png"), select) && ok;
    for (QWidget *popup : {static_cast<QWidget *>(&question),
                           static_cast<QWidget *>(&notice),
                           static_cast<QWidget *>(&cancelOnly),
                           static_cast<QWidget *>(&longNotice),
                           static_cast<QWidget *>(&select)})
        popup->hide();
    return ok;
}

// Network names that share a long beginning, a choice that wraps at its blanks, and a short one.
bool longChoices(const QString &folder)
{
    Sheet owner(QSize(100, 100));
    QVantelMenuSelect select(&owner);
    fillSelect(select,
               QStringLiteral("Wi-Fi Network"),
               {"BroadcastOperatorNetworkWithAVeryLongNameA",
                "BroadcastOperatorNetworkWithAVeryLongNameB",
                "Single Codec and Mobile Voice Coordination",
                "Studio"});
    const bool ok = writeSheet(folder, QStringLiteral("select-long-names.png"), select);
    select.hide();
    return ok;
}

bool keyboards(const QString &folder)
{
    Sheet owner(QSize(100, 100));
    bool ok = true;
    const struct
    {
        int mode;
        int layout;
        const char *file;
    } pages[] = {{0, 0, "keyboard-numeric.png"},
                 {1, 0, "keyboard-lower.png"},
                 {1, 1, "keyboard-upper.png"},
                 {1, 2, "keyboard-symbols1.png"},
                 {1, 3, "keyboard-symbols2.png"}};
    for (const auto &page : pages) {
        QVantelVirtual keyboard(page.mode, &owner);
        keyboard.selectLayout(page.layout);
        keyboard.titleLabel()->setText(QStringLiteral("Enter Password"));
        keyboard.lineEdit()->setText(QStringLiteral("secret"));
        keyboard.lineEdit()->setEchoMode(page.mode == 0 ? QLineEdit::Password : QLineEdit::Normal);
        ok = writeSheet(folder, QString::fromLatin1(page.file), keyboard) && ok;
        keyboard.hide();
    }
    return ok;
}

// A menu widget over the whole sheet, its entries column filled and entry 1 open.
QVantelMenuWidget *menuOn(Sheet &sheet)
{
    auto *menu = new QVantelMenuWidget(&sheet);
    menu->setGeometry(sheet.rect());
    const char *const entries[][2] = {{"Network", ":/images/network.png"},
                                      {"Coding", ":/images/coding.png"},
                                      {"Audio", ":/images/audio.png"},
                                      {"Tools", ":/images/tools.png"}};
    int id = 1;
    for (const auto &e : entries) {
        auto *entry = new QVantelMenuEntry(id++, menu->entries());
        entry->titleLabel()->setText(QString::fromLatin1(e[0]));
        entry->iconLabel()->setPixmap(QPixmap(QString::fromLatin1(e[1])));
        menu->addEntry(entry);
    }
    menu->entries()->findEntry(4)->setState(QVantelMenuEntry::Disabled);
    menu->showEntry(1, 0);
    return menu;
}

// Appends a row of the kind, laid out as the settings pages lay out theirs; its id is its kind.
QVantelMenuItem *addRow(QVantelMenuItems *page, int kind, const char *title, const char *value)
{
    auto *item = new QVantelMenuItem(kind, kind, page);
    item->layout()->setContentsMargins(10, 0, 10, 0);
    item->titleLabel()->setText(QString::fromLatin1(title));
    if (value)
        item->setValueText(QString::fromLatin1(value));
    page->addItem(item);
    return item;
}

bool menu(const QString &folder)
{
    Sheet sheet(QSize(800, 420));
    QVantelMenuWidget *menu = menuOn(sheet);
    // The page is opened from a row of the entry's own page, so the header shows a path.
    auto *root = new QVantelMenuItems(0, menu);
    QVantelMenuItem *opener = addRow(root, 8, "LAN1 settings", nullptr);
    menu->pushPage(root);
    menu->itemClicked(opener);
    auto *page = new QVantelMenuItems(1, menu);
    const auto add = [page](int kind, const char *title, const char *value) {
        return addRow(page, kind, title, value);
    };
    add(0, "Interfaces", nullptr);
    add(1, "IP Address", "192.168.1.20");
    add(2, "DHCP", nullptr)->setChecked(true);
    add(3, "Host Name", "quorix-studio");
    add(4, "Password", "secret");
    QVantelMenuItem *choice = add(7, "Link Mode", nullptr);
    choice->addValue(0, QStringLiteral("Auto"));
    choice->addValue(1, QStringLiteral("100 Mbit/s full duplex"));
    choice->selectValue(1, true, false);
    add(8, "SIP Account", "sip:studio@example.net");
    QVantelMenuItem *wheel = add(10, "Jitter Buffer", nullptr);
    for (int ms = 20; ms <= 200; ms += 20)
        wheel->addValue(ms, QStringLiteral("%1 ms").arg(ms));
    wheel->selectValue(80, true, false);
    add(11, "Restart", "Restarts the unit");
    add(1, "Read Only", "fixed")->setReadOnly(true);
    menu->pushPage(page);
    menu->header()->setModified(true);
    menu->header()->setRefreshVisible(true);
    return writeSheet(folder, QStringLiteral("menu.png"), sheet);
}

// Each row that can lock, usable above and read-only below: the locked switch and icon dimmed.
// Descriptions are grey on both, as on the Network page, so only the icon tells them apart.
bool lockedRows(const QString &folder)
{
    Sheet sheet(QSize(800, 480));
    QVantelMenuWidget *menu = menuOn(sheet);
    auto *page = new QVantelMenuItems(1, menu);
    for (const bool locked : {false, true}) {
        const char *state = locked ? "locked" : "usable";
        addRow(page, 8, "Ethernet", state)->setReadOnly(locked, QVantelMenuPalette::kGrey);
        addRow(page, 11, "Scan for Operators", state)
            ->setReadOnly(locked, QVantelMenuPalette::kGrey);
        QVantelMenuItem *toggle = addRow(page, 2, "DHCP", nullptr);
        toggle->setChecked(true);
        toggle->setReadOnly(locked);
    }
    menu->pushPage(page);
    return writeSheet(folder, QStringLiteral("menu-locked.png"), sheet);
}

// A title path too long for one line beside the apply icon, as on the settings page, without and
// with the modified mark: the mark turns it red and shows the icon, and the title keeps its lines.
bool longTitles(const QString &folder)
{
    Sheet sheet(QSize(800, 170));
    QFont bold = sheet.font();
    bold.setBold(true);
    for (const bool marked : {false, true}) {
        const int y = marked ? 90 : 10;
        sheet.caption(marked ? QStringLiteral("modified") : QStringLiteral("unmodified"), 10, y);
        auto *menu = new QVantelMenuWidget(&sheet);
        menu->setFont(bold);
        menu->setGeometry(0, y + 16, 800, 62);
        QVantelMenuHeader *header = menu->header();
        header->setBackVisible(true);
        header->titleLabel()->setText(
            QStringLiteral("Audio > RAVENNA > Input Streams > Input Stream 1"));
        header->setModified(marked);
    }
    return writeSheet(folder, QStringLiteral("header-long.png"), sheet);
}

bool strips(const QString &folder)
{
    Sheet sheet(QSize(600, 300));
    auto *above = new QVantelAudioInput(false, &sheet);
    above->move(10, 10);
    above->setInput(QVantel::Inputs(0));
    above->setName(QStringLiteral("Guest mic"), false);
    above->setGain(-6);
    auto *below = new QVantelAudioInput(true, false, &sheet);
    below->move(150, 10);
    below->setInput(QVantel::Inputs(20));
    below->setGain(3);
    auto *balanced = new QVantelAudioInput(false, &sheet, true);
    balanced->move(290, 10);
    balanced->setInput(QVantel::Inputs(19));
    balanced->setGain(-160);
    auto *greyed = new QVantelAudioInput(false, &sheet);
    greyed->move(430, 10);
    greyed->setInput(QVantel::Inputs(4));
    greyed->setState(2);
    int x = 10;
    for (int pan = 0; pan < 4; ++pan) {
        auto *button = new QVantelAudioButton(&sheet);
        button->move(x, 180);
        button->setInput(QVantel::Inputs(pan));
        button->setGain(pan == 0 ? -160 : -3 * pan);
        button->setPanning(QVantel::PanCtrl(pan));
        button->setSelected(pan == 2);
        x += 110;
    }
    return writeSheet(folder, QStringLiteral("strips.png"), sheet);
}

// The connection page's panels: link 1 idle, link 2 not in use, a call up and a call ending.
bool connPanels(const QString &folder)
{
    Sheet sheet(QSize(700, 700), kPopup);
    struct Look
    {
        const char *caption;
        int link;
        int mode;
        int state;
        const char *info;
        const char *address;
        const char *message;
    };
    const Look looks[] = {
        {"link 1 idle", 1, 1, 0, "Ethernet\nOpus 48 kHz stereo 256 kbit/s", "", nullptr},
        {"link 2 not in use (mode 1)", 2, 1, 0, nullptr, "", nullptr},
        {"link 1 state 2, Prog. L/R",
         1,
         32,
         2,
         "Ethernet / Opus",
         "sip:studio@example.net",
         "Call established (synchronized)"},
        {"link 2 state 4", 2, 16, 4, "ISDN / G.722", "0301234567", "Releasing call..."},
    };
    int index = 0;
    for (const Look &look : looks) {
        const int x = 10 + (index % 2) * 350;
        const int y = 20 + (index / 2) * 340;
        sheet.caption(QString::fromLatin1(look.caption), x, y - 16, 320);
        auto *panel = new QVantelConnPanel(look.link, &sheet);
        panel->move(x, y);
        panel->setCodecMode(look.mode, 1);
        if (look.info)
            panel->connInfo()->stateLabel()->setText(QString::fromLatin1(look.info));
        panel->setRemoteAddress(QString::fromLatin1(look.address), -1);
        panel->setLinkState(look.state);
        if (look.message)
            panel->stateLabel()->setText(QString::fromLatin1(look.message));
        panel->autoRedialSwitch()->setChecked(index == 2);
        ++index;
    }
    return writeSheet(folder, QStringLiteral("connpanels.png"), sheet);
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
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(folder));
        return 1;
    }
    const std::function<bool(const QString &)> sheets[] = {buttons,
                                                           switches,
                                                           lockedSwitches,
                                                           knobs,
                                                           bars,
                                                           glyphs,
                                                           images,
                                                           popups,
                                                           longChoices,
                                                           keyboards,
                                                           menu,
                                                           lockedRows,
                                                           longTitles,
                                                           strips,
                                                           connPanels};
    bool ok = true;
    for (const auto &sheet : sheets)
        ok = sheet(folder) && ok;
    return ok ? 0 : 1;
}
