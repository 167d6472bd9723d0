#include "widgets/qvantelstatuspanel.h"

#include "widgets/qvantelbars.h"
#include "widgets/qvantelbattery.h"
#include "widgets/qvantelbutton.h"
#include "widgets/qvanteldataactive.h"
#include "widgets/qvantellinkstatecolour.h"
#include "widgets/qvantelnetquality.h"
#include "widgets/qvantelsigquality.h"

#include <QHBoxLayout>
#include <QLabel>

namespace {

constexpr int kWidth = 534;
constexpr int kFullHeight = 80;
constexpr int kCompactHeight = 54;

const QColor kGrey(127, 127, 127);
const QColor kPaleYellow(255, 255, 170);

void setPixelFont(QWidget *widget, int pixels)
{
    QFont font = widget->font();
    font.setPixelSize(pixels);
    widget->setFont(font);
}

QColor sipStateColour(int state)
{
    switch (state) {
    case 1:
        return QColor(Qt::green);
    case 2:
        return QColor(0, 146, 64);
    case 3:
        return QColor(Qt::red);
    default:
        return kGrey;
    }
}

} // namespace

QVantelStatusPanel::QVantelStatusPanel(bool compact, QWidget *parent)
    : QWidget(parent)
    , m_compact(compact)
{
    setFixedSize(kWidth, compact ? kCompactHeight : kFullHeight);

    m_link1.sipButton = makeButton(QStringLiteral("SIP"), QRect(0, 0, 52, 28));
    m_link1.sipButton->setObjectName(QStringLiteral("sip1Button"));

    auto *strip = new QWidget(this);
    strip->setGeometry(66, 0, 106, 28);
    auto *stripLayout = new QHBoxLayout(strip);
    stripLayout->setContentsMargins(0, 0, 0, 0);
    stripLayout->setSpacing(6);
    m_networkLabel = new QLabel(strip);
    m_networkLabel->setObjectName(QStringLiteral("networkLabel"));
    m_networkLabel->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    setPixelFont(m_networkLabel, 14);
    m_signalQuality = new QVantelSigQuality(strip);
    m_signalQuality->setQuality(1, 0);
    m_signalQuality->hide();
    m_dataActiveGlyph = new QVantelDataActive(strip);
    m_dataActiveGlyph->hide();
    stripLayout->addWidget(m_networkLabel);
    stripLayout->addWidget(m_signalQuality);
    stripLayout->addWidget(m_dataActiveGlyph);
    stripLayout->addWidget(new QLabel(strip), 1);

    m_soundIdButton = makeButton(QStringLiteral("ID"), QRect(190, 0, 34, 28));
    m_soundIdButton->setObjectName(QStringLiteral("soundIdButton"));
    colourButton(m_soundIdButton, Qt::yellow);
    m_soundIdButton->hide();
    connect(
        m_soundIdButton, &QAbstractButton::clicked, this, &QVantelStatusPanel::soundLabelClicked);

    m_link1.button = makeButton(tr("Program"), QRect(232, 0, 112, 28));
    m_link1.button->setObjectName(QStringLiteral("programButton"));
    m_link2.button = makeButton(tr("Coord"), QRect(352, 0, 84, 28));
    m_link2.button->setObjectName(QStringLiteral("coordinationButton"));

    m_battery = new QVantelBattery(this);
    m_battery->setGeometry(450, 0, 18, 28);
    m_battery->hide();

    m_link2.sipButton = makeButton(QStringLiteral("SIP"), QRect(482, 0, 52, 28));
    m_link2.sipButton->setObjectName(QStringLiteral("sip2Button"));

    makeLabel(QStringLiteral("Tx"), QRect(36, 34, 25, 20));
    m_link1.txBars = makeBars(QRect(66, 34, 278, 20));
    m_link2.txBars = makeBars(QRect(352, 34, 116, 20));
    makeLabel(QStringLiteral("Tx"), QRect(473, 34, 25, 20));
    if (!compact) {
        m_link1.txQuality = makeGauge(QPoint(0, 34), false);
        m_link1.rxQuality = makeGauge(QPoint(18, 34), true);
        makeLabel(QStringLiteral("Rx"), QRect(36, 60, 25, 20));
        m_link1.rxBars = makeBars(QRect(66, 60, 278, 20));
        m_link2.rxBars = makeBars(QRect(352, 60, 116, 20));
        makeLabel(QStringLiteral("Rx"), QRect(473, 60, 25, 20));
        m_link2.txQuality = makeGauge(QPoint(503, 34), false);
        m_link2.rxQuality = makeGauge(QPoint(521, 34), true);
    }
}

QVantelStatusPanel::~QVantelStatusPanel() = default;

QVantelButton *QVantelStatusPanel::makeButton(const QString &text, const QRect &geometry)
{
    auto *button = new QVantelButton(this);
    button->setText(text);
    button->setGeometry(geometry);
    button->setBorderWidth(4);
    button->setRadius(0);
    setPixelFont(button, 18);
    colourButton(button, kGrey);
    return button;
}

QLabel *QVantelStatusPanel::makeLabel(const QString &text, const QRect &geometry)
{
    auto *label = new QLabel(text, this);
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignCenter);
    setPixelFont(label, 14);
    return label;
}

QVantelBars *QVantelStatusPanel::makeBars(const QRect &geometry)
{
    auto *bars = new QVantelBars(this);
    bars->setGeometry(geometry);
    return bars;
}

QVantelNetQuality *QVantelStatusPanel::makeGauge(const QPoint &position, bool downward)
{
    auto *gauge = new QVantelNetQuality(this);
    gauge->setGeometry(QRect(position, QSize(13, 46)));
    gauge->setDownward(downward);
    gauge->setEnabled(false);
    return gauge;
}

void QVantelStatusPanel::colourButton(QVantelButton *button, const QColor &fill)
{
    QPalette palette = button->palette();
    palette.setBrush(QPalette::Window, fill);
    palette.setColor(QPalette::WindowText, Qt::black);
    button->setPalette(palette);
    button->update();
}

int QVantelStatusPanel::linkState(int number) const
{
    return link(number).state;
}

int QVantelStatusPanel::sipState(int number) const
{
    return link(number).sipState;
}

bool QVantelStatusPanel::isLinkEnabled(int number) const
{
    return link(number).enabled;
}

QVantelButton *QVantelStatusPanel::linkButton(int number) const
{
    return link(number).button;
}

QVantelButton *QVantelStatusPanel::sipButton(int number) const
{
    return link(number).sipButton;
}

QVantelBars *QVantelStatusPanel::bars(int number, bool receive) const
{
    return receive ? link(number).rxBars : link(number).txBars;
}

QVantelNetQuality *QVantelStatusPanel::qualityGauge(int number, bool receive) const
{
    return receive ? link(number).rxQuality : link(number).txQuality;
}

void QVantelStatusPanel::soundLabelClicked()
{
    emit soundIdClicked();
}

void QVantelStatusPanel::setSoundIdState(int state)
{
    if (state == m_soundIdState)
        return;
    m_soundIdState = state;
    QPalette palette = m_soundIdButton->palette();
    if (state == 2) {
        m_soundIdButton->setBorderWidth(2);
        m_soundIdButton->setRadius(3.0);
        palette.setBrush(QPalette::Window, QBrush(kPaleYellow, Qt::NoBrush));
        palette.setColor(QPalette::WindowText, kPaleYellow);
    } else {
        m_soundIdButton->setBorderWidth(4);
        m_soundIdButton->setRadius(0);
        palette.setBrush(QPalette::Window, QColor(Qt::yellow));
        palette.setColor(QPalette::WindowText, Qt::black);
    }
    m_soundIdButton->setPalette(palette);
    m_soundIdButton->setVisible(state != 0);
    m_soundIdButton->update();
}

void QVantelStatusPanel::setBatteryLevel(int level)
{
    if (level == m_batteryLevel)
        return;
    m_batteryLevel = level;
    m_battery->setLevel(level);
    m_battery->setVisible(level >= 0);
}

void QVantelStatusPanel::setNetworkType(int type, int technology)
{
    if (type == m_networkType && technology == m_technology)
        return;
    m_networkType = type;
    m_technology = technology;
    m_signalQuality->setVisible(type == 0x300 || type == 0x400);
    QString text;
    switch (type) {
    case 0x100:
        text = tr("ETH");
        break;
    case 0x200:
        text = tr("ISDN");
        break;
    case 0x400:
        text = tr("WIFI");
        break;
    case 0x300:
        switch (technology) {
        case 1:
            text = tr("2G");
            break;
        case 2:
            text = tr("3G");
            break;
        case 3:
            text = tr("4G");
            break;
        case 4:
            text = tr("5G");
            break;
        default:
            text = tr("MOB");
            break;
        }
        break;
    default:
        break;
    }
    m_networkLabel->setText(text);
}

void QVantelStatusPanel::setCodecMode(int codecMode, int coordinationMode)
{
    if (codecMode == m_codecMode && coordinationMode == m_coordinationMode)
        return;
    m_codecMode = codecMode;
    m_coordinationMode = coordinationMode;

    const bool twoBars = coordinationMode != 0;
    for (QVantelBars *bars : {m_link1.txBars, m_link1.rxBars}) {
        if (bars)
            bars->setStereo(twoBars ? 1 : 0);
    }
    int programmeWidth = 278;
    int coordinationX = 352;
    int coordinationWidth = 116;
    if (!twoBars && (codecMode == 2 || codecMode == 4)) {
        m_link2.button->hide();
        m_link1.button->setGeometry(172, 0, 190, 28);
        m_link1.button->setText(tr("Program / Coord"));
        m_soundIdButton->move(370, 0);
        programmeWidth = 197;
        coordinationX = 271;
        coordinationWidth = 197;
    } else {
        const bool stereoTitle
            = twoBars && (codecMode == 2 || codecMode == 4 || codecMode == 32 || codecMode == 64);
        const bool hideCoordination
            = twoBars ? (codecMode == 1 || codecMode == 2 || codecMode == 4) : codecMode == 1;
        m_link2.button->setVisible(!hideCoordination);
        m_link1.button->setGeometry(232, 0, 112, 28);
        m_link1.button->setText(stereoTitle ? tr("Prog. L/R") : tr("Program"));
        m_soundIdButton->move(190, 0);
    }
    for (QVantelBars *bars : {m_link1.txBars, m_link1.rxBars}) {
        if (bars)
            bars->setGeometry(66, bars->y(), programmeWidth, 20);
    }
    for (QVantelBars *bars : {m_link2.txBars, m_link2.rxBars}) {
        if (bars)
            bars->setGeometry(coordinationX, bars->y(), coordinationWidth, 20);
    }
    update();
}

void QVantelStatusPanel::setDataActive(bool active)
{
    if (active == m_dataActive)
        return;
    m_dataActive = active;
    m_dataActiveGlyph->setVisible(active);
}

void QVantelStatusPanel::setSignalQuality(int mode, int bars)
{
    m_signalQuality->setQuality(mode, bars);
}

void QVantelStatusPanel::setAudioLevels(int programTxLeft,
                                        int coordinationTx,
                                        int programRxLeft,
                                        int coordinationRx,
                                        int programTxRight,
                                        int programRxRight,
                                        bool immediate)
{
    m_link1.txBars->setLevels(programTxLeft, programTxRight, immediate);
    m_link2.txBars->setLevel(coordinationTx, immediate);
    if (!m_compact) {
        m_link1.rxBars->setLevels(programRxLeft, programRxRight, immediate);
        m_link2.rxBars->setLevel(coordinationRx, immediate);
    }
}

void QVantelStatusPanel::setLinkState(int number, int state)
{
    Link &target = link(number);
    if (state == target.state)
        return;
    target.state = state;
    colourButton(target.button, QVantel::linkStateColour(state));
}

void QVantelStatusPanel::setLinkEnabled(int number, bool enabled)
{
    if (m_compact)
        return;
    Link &target = link(number);
    if (enabled == target.enabled)
        return;
    target.enabled = enabled;
    target.txQuality->setEnabled(enabled);
    target.rxQuality->setEnabled(enabled);
}

void QVantelStatusPanel::setLinkQuality(int number, int transmitQuality, int receiveQuality)
{
    if (m_compact)
        return;
    Link &target = link(number);
    target.txQuality->setQuality(transmitQuality);
    target.rxQuality->setQuality(receiveQuality);
}

void QVantelStatusPanel::setSipState(int number, int state)
{
    Link &target = link(number);
    if (state == target.sipState)
        return;
    target.sipState = state;
    colourButton(target.sipButton, sipStateColour(state));
}
