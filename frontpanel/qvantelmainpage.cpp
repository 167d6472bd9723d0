#include "frontpanel/qvantelmainpage.h"

#include "frontpanel/headphonepositioninputs.h"
#include "frontpanel/qvantelbanner.h"
#include "frontpanel/qvantelsoftkeys.h"
#include "frontpanel/qvantelwindow.h"
#include "model/accesslevel.h"
#include "model/audiosettings.h"
#include "model/comdevice.h"
#include "model/matrixsettings.h"
#include "widgets/qvantelbutton.h"
#include "widgets/qvantellazyicon.h"
#include "widgets/qvantelpage.h"
#include "widgets/qvantelstatuspanel.h"

#include <QIcon>
#include <QLabel>

namespace {

constexpr int kButtonWidth = 98;
constexpr int kButtonHeight = 66;
constexpr int kInputRows[] = {7, 116, 225, 334};
constexpr int kSoftkeyColumns[] = {19, 130, 242, 354, 465, 577, 689};
const char kSoundIdFile[] = "/mnt/datax/sound_ID.wav";

QPalette buttonPalette(const QPalette &base, const QBrush &window, const QColor &text)
{
    QPalette p = base;
    p.setBrush(QPalette::All, QPalette::Window, window);
    p.setBrush(QPalette::All, QPalette::WindowText, QBrush(text));
    return p;
}

} // namespace

QVantelMainPage::QVantelMainPage(QVantelWindow *parent)
    : QVantelBasePage(parent)
{
    setupUi();

    TMatrixSettings *matrix = matrixSettings();
    connect(matrix,
            &TMatrixSettings::audioConfigChanged,
            this,
            &QVantelMainPage::matrixAudioConfigChanged);
    connect(
        matrix, &TMatrixSettings::inputNameChanged, this, &QVantelMainPage::matrixInputNameChanged);
    QVantelSoftkeys *keys = softkeys();
    connect(keys,
            &QVantelSoftkeys::softKeyFunctionChanged,
            this,
            &QVantelMainPage::softKeyFunctionChanged);
    connect(keys, &QVantelSoftkeys::infoLabelChanged, this, &QVantelMainPage::infoLabelChanged);
    connect(
        keys, &QVantelSoftkeys::contactLabelChanged, this, &QVantelMainPage::contactLabelChanged);
    connect(
        statusPanel(), &QVantelStatusPanel::soundIdClicked, this, &QVantelMainPage::soundIdClicked);
}

QVantelMainPage::~QVantelMainPage() = default;

QVantelButton *QVantelMainPage::makeButton(const QRect &geometry,
                                           const QPalette &palette,
                                           int pixelSize,
                                           int borderWidth,
                                           bool squareCorners)
{
    auto *button = new QVantelButton(this);
    button->setGeometry(geometry);
    button->setPalette(palette);
    if (pixelSize > 0) {
        QFont f = font();
        f.setPixelSize(pixelSize);
        button->setFont(f);
    }
    button->setBorderWidth(borderWidth);
    if (squareCorners)
        button->setRadius(0);
    return button;
}

void QVantelMainPage::setupUi()
{
    m_banner = new QVantelBanner(this);
    m_banner->setObjectName(QStringLiteral("banner"));
    m_banner->setGeometry(130, 334, 545, 80);

    const QPalette inputPalette
        = buttonPalette(palette(), QBrush(QColor(255, 153, 204), Qt::NoBrush), Qt::white);
    for (int index = 0; index < kInputButtons; ++index) {
        const int x = index < 4 ? 5 : 696;
        QVantelButton *button
            = makeButton(QRect(x, kInputRows[index % 4], kButtonWidth, kButtonHeight),
                         inputPalette,
                         14,
                         2,
                         true);
        button->setObjectName(QStringLiteral("inputButton%1").arg(index));
        m_inputButtons[size_t(index)] = button;
    }

    const QPalette softkeyPalette
        = buttonPalette(palette(), QBrush(QColor(0, 204, 255), Qt::NoBrush), Qt::white);
    for (int index = 0; index < kSoftkeyButtons; ++index) {
        QVantelButton *button = makeButton(
            QRect(kSoftkeyColumns[index], 430, kButtonWidth, 45), softkeyPalette, 12, 2, true);
        button->setObjectName(QStringLiteral("softkeyButton%1").arg(index));
        m_softkeyButtons[size_t(index)] = button;
        m_softkeyMap.insert(index, button);
    }

    const QPalette lampPalette
        = buttonPalette(palette(), QBrush(QColor(Qt::white), Qt::NoBrush), Qt::white);
    const auto makeLamp = [this, &lampPalette](const char *name, int x, int y) {
        QVantelButton *lamp
            = makeButton(QRect(x, y, kButtonWidth, kButtonHeight), lampPalette, 14, 4, true);
        lamp->setObjectName(QLatin1String(name));
        return lamp;
    };
    m_infoLamp1 = makeLamp("infoLamp1", 285, 116);
    m_infoLamp2 = makeLamp("infoLamp2", 418, 116);
    m_contactLamp1 = makeLamp("contactLamp1", 285, 225);
    m_contactLamp2 = makeLamp("contactLamp2", 418, 225);

    const QPalette pagePalette = buttonPalette(palette(), QBrush(Qt::white), Qt::black);
    const auto makePageButton
        = [this, &pagePalette](const char *name, const QString &icon, int x, int y) {
              QVantelButton *button
                  = makeButton(QRect(x, y, kButtonWidth, kButtonHeight), pagePalette, 0, 4, false);
              button->setObjectName(QLatin1String(name));
              button->setIcon(QVantelLazyIcon::icon(icon));
              button->setIconSize(QSize(48, 48));
              button->setProperty(QVantel::kLeavesPageProperty, true);
              return button;
          };
    m_mixingButton = makePageButton("mixingButton", QStringLiteral(":/images/mixer.png"), 146, 116);
    m_settingsButton
        = makePageButton("settingsButton", QStringLiteral(":/images/settings.png"), 555, 116);
    m_statusButton
        = makePageButton("statusButton", QStringLiteral(":/images/status.png"), 555, 225);
    connect(m_settingsButton, &QVantelButton::clicked, this, &QVantelMainPage::page1Clicked);
    connect(m_statusButton, &QVantelButton::clicked, this, &QVantelMainPage::page2Clicked);
    connect(m_mixingButton, &QVantelButton::clicked, this, &QVantelMainPage::page3Clicked);

    const auto makeCaption = [this](const QString &text, int x, int y) {
        auto *caption = new QLabel(text, this);
        caption->setGeometry(x, y, kButtonWidth, 20);
        caption->setAlignment(Qt::AlignCenter);
        QFont f = font();
        f.setPixelSize(14);
        caption->setFont(f);
        return caption;
    };
    m_mixingCaption = makeCaption(tr("Mixing"), 146, 190);
    m_mixingCaption->setObjectName(QStringLiteral("mixingCaption"));
    makeCaption(tr("Settings"), 555, 190);
    makeCaption(tr("Status"), 555, 299);

    m_banner->setCodecMode(1, 0);
    setInfoLabel(0, QString());
    setInfoLabel(1, QString());
    setContactLabel(0, QString());
    setContactLabel(1, QString());
}

QVantelButton *QVantelMainPage::inputButton(int index) const
{
    return index >= 0 && index < kInputButtons ? m_inputButtons[size_t(index)] : nullptr;
}

QVantelButton *QVantelMainPage::softkeyButton(int index) const
{
    return m_softkeyMap.value(index, nullptr);
}

QVantelButton *QVantelMainPage::infoLamp(int index) const
{
    return index == 1 ? m_infoLamp2 : m_infoLamp1;
}

QVantelButton *QVantelMainPage::contactLamp(int index) const
{
    return index == 1 ? m_contactLamp2 : m_contactLamp1;
}

bool QVantelMainPage::isLampOn(const QVantelButton *lamp)
{
    return lamp && lamp->palette().color(QPalette::WindowText) == QColor(Qt::red);
}

void QVantelMainPage::refreshInputNames()
{
    matrixAudioConfigChanged(QVantel::Inputs(0));
    matrixAudioConfigChanged(QVantel::Inputs(1));
}

void QVantelMainPage::matrixAudioConfigChanged(QVantel::Inputs position)
{
    if (position != 0 && position != 1)
        return;
    TMatrixSettings *matrix = matrixSettings();
    const TMatrixSettings::AudioConfig config = matrix->audioConfig(position);
    const bool hidden = TComDevice::hasOption(TComDevice::OptionHardware2);
    for (int row = 0; row < 4; ++row) {
        QVantelButton *button = m_inputButtons[size_t(position * 4 + row)];
        // A configuration byte is the input plus 1; 0 (no input) and bytes beyond the matrix
        // name no input, and the button stays blank.
        const int input = int(config[size_t(row)]) - 1;
        button->setText(input >= 0 && input < QVantel::InputCount ? matrix->inputName(input)
                                                                  : QString());
        button->setVisible(!hidden);
    }
}

void QVantelMainPage::matrixInputNameChanged(QVantel::Inputs input)
{
    for (int entry = 0; entry < kInputButtons; ++entry) {
        if (headphonePositionInputs[size_t(entry)] == input)
            m_inputButtons[size_t(entry)]->setText(matrixSettings()->inputName(input));
    }
}

void QVantelMainPage::softKeyFunctionChanged(QVantelSoftkey *key)
{
    if (!key)
        return;
    QVantelButton *button = m_softkeyMap.value(key->index(), nullptr);
    if (!button)
        return;
    const QVantelSoftkey *record = softkey(key->index());
    if (!record)
        return;
    button->setText(record->function() == 0
                        ? QString()
                        : QVantelSoftkey::functionName(record->category(), record->function()));
}

void QVantelMainPage::infoLabelChanged(int index, const QString &text)
{
    setInfoLabel(index != 0 ? 1 : 0, text);
}

void QVantelMainPage::contactLabelChanged(int index, const QString &text)
{
    setContactLabel(index != 0 ? 1 : 0, text);
}

void QVantelMainPage::setInfoLabel(int which, const QString &text)
{
    const int number = which == 1 ? 2 : 1;
    QVantelButton *lamp = which == 1 ? m_infoLamp2 : m_infoLamp1;
    lamp->setText(text.isEmpty() ? QStringLiteral("%1 %2").arg(tr("Info")).arg(number) : text);
}

QString QVantelMainPage::contactName(int which) const
{
    const QString &label = which == 1 ? m_contactLabel2 : m_contactLabel1;
    if (!label.isEmpty())
        return label;
    return QStringLiteral("%1 %2").arg(tr("Contact")).arg(which == 1 ? 2 : 1);
}

void QVantelMainPage::setContactLabel(int which, const QString &text)
{
    QVantelButton *lamp = which == 1 ? m_contactLamp2 : m_contactLamp1;
    const bool on = isLampOn(lamp);
    (which == 1 ? m_contactLabel2 : m_contactLabel1) = text;
    lamp->setText(contactName(which) + QLatin1Char('\n') + (on ? tr("On") : tr("Off")));
}

void QVantelMainPage::colourLamp(QVantelButton *lamp, const QColor &colour)
{
    QPalette p = lamp->palette();
    p.setBrush(QPalette::All, QPalette::Window, QBrush(colour, Qt::NoBrush));
    p.setBrush(QPalette::All, QPalette::WindowText, QBrush(colour));
    lamp->setPalette(p);
}

void QVantelMainPage::setInfoLamp(int index, bool on)
{
    QVantelButton *lamp = index == 1 ? m_infoLamp2 : m_infoLamp1;
    const QColor colour = on ? QColor(Qt::red) : QColor(Qt::white);
    if (lamp->palette().color(QPalette::WindowText) == colour)
        return;
    colourLamp(lamp, colour);
}

void QVantelMainPage::setContactLamp(int index, bool on)
{
    const int which = index == 1 ? 1 : 0;
    QVantelButton *lamp = which == 1 ? m_contactLamp2 : m_contactLamp1;
    const QColor colour = on ? QColor(Qt::red) : QColor(Qt::white);
    if (lamp->palette().color(QPalette::WindowText) == colour)
        return;
    colourLamp(lamp, colour);
    lamp->setText(contactName(which) + QLatin1Char('\n') + (on ? tr("On") : tr("Off")));
}

void QVantelMainPage::soundIdClicked()
{
    TAudioSettings *audio = audioSettings();
    if (!audio->waveScut())
        return;
    audio->setWaveFile(audio->waveFile().empty() ? std::string(kSoundIdFile) : std::string(), true);
}

void QVantelMainPage::page1Clicked()
{
    if (QVantelWindow *window = vantelWindow())
        window->pageActivated(QVantel::SettingsNetwork);
}

void QVantelMainPage::page2Clicked()
{
    if (QVantelWindow *window = vantelWindow())
        window->pageActivated(QVantel::SettingsStatus);
}

void QVantelMainPage::page3Clicked()
{
    if (QVantelWindow *window = vantelWindow())
        window->pageActivated(QVantel::AudioPage);
}

void QVantelMainPage::showEvent(QShowEvent *event)
{
    refreshInputNames();
    const bool operatorLevel = accessLevel == AccessLevel::Operator;
    m_mixingButton->setVisible(!operatorLevel);
    m_mixingCaption->setVisible(!operatorLevel);
    QVantelBasePage::showEvent(event);
}

void QVantelMainPage::setCodecMode(int routingCode, int coordinationMode)
{
    QVantelStatusPanel *panel = statusPanel();
    if (panel->codecMode() == routingCode && panel->coordinationMode() == coordinationMode)
        return;
    panel->setCodecMode(routingCode, coordinationMode);
    m_banner->setCodecMode(routingCode, coordinationMode);
}

void QVantelMainPage::setLinkState(int link, int state)
{
    QVantelStatusPanel *panel = statusPanel();
    if (panel->linkState(link == 1 ? 1 : 2) == state)
        return;
    panel->setLinkState(link, state);
    m_banner->setLinkState(link, state);
}
