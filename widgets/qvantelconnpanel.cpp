#include "widgets/qvantelconnpanel.h"

#include "widgets/qvantelbutton.h"
#include "widgets/qvantelconninfo.h"
#include "widgets/qvantellazyicon.h"
#include "widgets/qvantelswitch.h"

#include "model/firmwareversion.h"

#include <QIcon>
#include <QLabel>

namespace {

constexpr int kWidth = 324;
constexpr int kHeight = 312;
constexpr int kButtonBorder = 4;
// Firmware from which the device keeps an address book for a coordination line.
constexpr quint32 kBookOnCoordinationLine = kFirmware1_17;

bool isStereoRouting(int mode)
{
    return mode == 2 || mode == 4 || mode == 32 || mode == 64;
}

// Routing codes in which link 2 carries a call of its own (double codec) or the coordination
// line (8 and 64).
bool link2InUse(int mode)
{
    return mode == 8 || mode == 16 || mode == 32 || mode == 64;
}

bool coordinationLine(int mode)
{
    return mode == 8 || mode == 64;
}

} // namespace

QVantelConnPanel::QVantelConnPanel(int link, QWidget *parent)
    : QWidget(parent)
    , m_link(link == 1 ? 1 : 2)
{
    setFixedSize(kWidth, kHeight);

    m_stateLabel = new QLabel(tr("Idle"), this);
    m_stateLabel->setTextFormat(Qt::PlainText);
    m_stateLabel->setObjectName(QStringLiteral("stateLabel"));
    m_stateLabel->setAlignment(Qt::AlignCenter);
    m_stateLabel->setGeometry(0, 0, kWidth, 22);

    m_connInfo = new QVantelConnInfo(this);
    m_connInfo->setObjectName(QStringLiteral("connInfo"));
    m_connInfo->setGeometry(0, 22, kWidth, 128);
    m_connInfo->titleLabel()->setText(m_link == 1 ? tr("Program") : tr("Coordination"));
    connect(m_connInfo, &QVantelConnInfo::clicked, this, &QVantelConnPanel::panelClicked);

    m_bookButton = makeButton(
        QStringLiteral("bookButton"), QStringLiteral(":/images/book.png"), QRect(0, 165, 98, 66));
    connect(m_bookButton, &QVantelButton::clicked, this, &QVantelConnPanel::bookClicked);
    m_bookButton->setProperty(QVantel::kLeavesPageProperty, true);
    m_historyButton = makeButton(QStringLiteral("historyButton"),
                                 QStringLiteral(":/images/call-history.png"),
                                 QRect(113, 165, 98, 66));
    connect(m_historyButton, &QVantelButton::clicked, this, &QVantelConnPanel::histClicked);
    m_dialButton = makeButton(QStringLiteral("dialButton"),
                              QStringLiteral(":/images/dialpad.png"),
                              QRect(226, 165, 98, 66));
    connect(m_dialButton, &QVantelButton::clicked, this, &QVantelConnPanel::dialClicked);
    m_codingButton = makeButton(QStringLiteral("codingButton"),
                                QStringLiteral(":/images/coding.png"),
                                QRect(56, 246, 98, 66));
    connect(m_codingButton, &QVantelButton::clicked, this, &QVantelConnPanel::codingClicked);
    m_codingButton->setProperty(QVantel::kLeavesPageProperty, true);

    m_autoRedialLabel = new QLabel(tr("Auto redial"), this);
    m_autoRedialLabel->setObjectName(QStringLiteral("autoRedialLabel"));
    m_autoRedialLabel->setAlignment(Qt::AlignCenter);
    m_autoRedialLabel->setGeometry(162, 246, 113, 32);

    m_autoRedialSwitch = new QVantelSwitch(this);
    m_autoRedialSwitch->setObjectName(QStringLiteral("autoRedialSwitch"));
    // The page reads the new position in its autoRedialClicked() handler.
    m_autoRedialSwitch->setCheckable(true);
    m_autoRedialSwitch->setGeometry(188, 278, 60, 34);
    connect(
        m_autoRedialSwitch, &QVantelSwitch::clicked, this, &QVantelConnPanel::autoRedialClicked);
}

QVantelConnPanel::~QVantelConnPanel() = default;

QVantelButton *
QVantelConnPanel::makeButton(const QString &name, const QString &icon, const QRect &geometry)
{
    auto *button = new QVantelButton(this);
    button->setObjectName(name);
    button->setBorderWidth(kButtonBorder);
    button->setIcon(QVantelLazyIcon::icon(icon));
    button->setIconSize(QSize(48, 48));
    // The page buttons' look: a white face, black text.
    QPalette palette = button->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::black);
    button->setPalette(palette);
    button->setGeometry(geometry);
    return button;
}

QString QVantelConnPanel::remoteAddress(int kind) const
{
    if (kind < IpAddress || kind > VoiceAddress)
        return QString();
    return m_addresses[kind];
}

void QVantelConnPanel::setRemoteAddress(const QString &address, int kind)
{
    if (kind >= IpAddress && kind <= VoiceAddress)
        m_addresses[kind] = address;
    m_connInfo->addressLabel()->setText(address);
}

void QVantelConnPanel::setCodecMode(int mode, int otherMode)
{
    // The address-book rule of link 2 depends on the firmware, which changes with the device
    // connected: a new device with the same modes is arranged again.
    if (mode == m_codecMode && otherMode == m_otherMode && firmwareVersion == m_firmware)
        return;
    m_codecMode = mode;
    m_otherMode = otherMode;
    m_firmware = firmwareVersion;

    if (m_link == 1) {
        QString title = tr("Program");
        if (isStereoRouting(mode))
            title = otherMode == 0 ? tr("Program / Coord") : tr("Prog. L/R");
        m_connInfo->titleLabel()->setText(title);
        return;
    }
    arrangeLink2(mode);
}

void QVantelConnPanel::arrangeLink2(int mode)
{
    const bool inUse = link2InUse(mode);
    m_historyButton->setVisible(inUse);
    m_dialButton->setVisible(inUse);
    m_autoRedialLabel->setVisible(inUse);
    m_autoRedialSwitch->setVisible(inUse);
    m_codingButton->setVisible(inUse && !coordinationLine(mode));
    const bool oldFirmware = !firmwareAtLeast(kBookOnCoordinationLine);
    m_bookButton->setVisible(inUse && !(oldFirmware && coordinationLine(mode)));

    m_connInfo->titleLabel()->setText(inUse ? tr("Coordination") : QString());
    if (inUse)
        return;
    m_connInfo->stateLabel()->setText(tr("No additional connection\nin single codec mode"));
    if (m_connInfo->state() != 0)
        m_connInfo->setState(0);
    m_connInfo->addressLabel()->clear();
}

void QVantelConnPanel::reset()
{
    for (QString &address : m_addresses)
        address.clear();
    m_connInfo->addressLabel()->clear();
    m_stateLabel->setText(tr("Idle"));
}

void QVantelConnPanel::setLinkState(int state)
{
    if (state != m_connInfo->state())
        m_connInfo->setState(state);
}

void QVantelConnPanel::bookClicked()
{
    emit pageActivated(m_link == 1 ? QVantel::SettingsBookLink1 : QVantel::SettingsBookLink2);
}

void QVantelConnPanel::codingClicked()
{
    emit pageActivated(m_link == 1 ? QVantel::SettingsCodingLink1 : QVantel::SettingsCodingLink2);
}
