#include "pages/qvantelheadphonefollowpage.h"

#include "model/deviceoptionword.h"
#include "widgets/qvantelaudioinput.h"
#include "widgets/qvantelbutton.h"
#include "widgets/qvantellazyicon.h"
#include "widgets/qvantelswitch.h"

#include <QFrame>
#include <QLabel>
#include <QScopedValueRollback>

namespace {

constexpr std::array<int, 5> kPageButtonX = {112, 232, 352, 472, 592};
constexpr int kPageButtonY = 400;
// The page bar from the left: headphone 1, 3, home, 4, 2.
constexpr std::array<QVantel::Page, 5> kPageBarTargets = {QVantel::Headphone1Page,
                                                          QVantel::Headphone3Page,
                                                          QVantel::MainPage,
                                                          QVantel::Headphone4Page,
                                                          QVantel::Headphone2Page};
constexpr std::array<const char *, 5> kPageBarTexts = {"1", "3", nullptr, "4", "2"};
constexpr int kHomeButton = 2;
constexpr int kHeadphone4Button = 3;

bool hasDeviceOption(quint32 option)
{
    return (deviceOptionWord & option) != 0;
}

void setDarkPalette(QWidget *widget)
{
    QPalette pal = widget->palette();
    pal.setColor(QPalette::Window, Qt::black);
    pal.setColor(QPalette::WindowText, Qt::white);
    widget->setPalette(pal);
}

void setPixelSize(QWidget *widget, int size)
{
    QFont f = widget->font();
    f.setPixelSize(size);
    widget->setFont(f);
}

} // namespace

QVantelHeadphoneFollowPage::QVantelHeadphoneFollowPage(int headphoneIndex, QWidget *parent)
    : QVantelHeadphoneWidget(headphoneIndex, parent)
{
    setupUi();
    pushDefaults();

    TMatrixSettings *matrix = matrixSettings();
    connect(comDevice(),
            &TComDevice::deviceStateChanged,
            this,
            &QVantelHeadphoneFollowPage::deviceStateChanged);
    connect(audioSettings(),
            &TAudioSettings::controllerParamChanged,
            this,
            &QVantelHeadphoneFollowPage::audioControllerParamChanged);
    connect(matrix,
            &TMatrixSettings::controllerStateChanged,
            this,
            &QVantelHeadphoneFollowPage::matrixControllerStateChanged);
    connect(matrix,
            &TMatrixSettings::nodeChanged,
            this,
            &QVantelHeadphoneFollowPage::matrixNodeChanged);
    connect(matrix,
            &TMatrixSettings::audioConfigChanged,
            this,
            &QVantelHeadphoneFollowPage::matrixAudioConfigChanged);
}

QVantelHeadphoneFollowPage::~QVantelHeadphoneFollowPage() = default;

QVantel::Page QVantelHeadphoneFollowPage::page() const
{
    return m_headphoneIndex == 2 ? QVantel::Headphone3Page : QVantel::Headphone4Page;
}

QVantelSwitch *QVantelHeadphoneFollowPage::followSwitch(int number) const
{
    return number >= 1 && number <= 4 ? m_switches[size_t(number - 1)] : nullptr;
}

QVantelButton *QVantelHeadphoneFollowPage::pageButton(int index) const
{
    return index >= 0 && index < int(m_pageButtons.size()) ? m_pageButtons[size_t(index)] : nullptr;
}

bool QVantelHeadphoneFollowPage::extendedMode() const
{
    return comDevice()->operationMode() == 1;
}

bool QVantelHeadphoneFollowPage::anySwitchChecked() const
{
    for (const QVantelSwitch *s : m_switches) {
        if (s->isChecked())
            return true;
    }
    return false;
}

// Construction.

QVantelAudioInput *QVantelHeadphoneFollowPage::addStrip(int input,
                                                        const QPoint &at,
                                                        bool labelsBelow,
                                                        bool withBalance,
                                                        bool stereo,
                                                        bool shown,
                                                        bool enabled)
{
    auto *s = new QVantelAudioInput(labelsBelow, this, withBalance, stereo);
    s->setInput(QVantel::Inputs(input));
    s->setPanning(QVantel::PanBoth);
    s->move(at);
    s->setVisible(shown);
    s->setEnabled(enabled);
    connect(s, &QVantelAudioBase::gainChanged, this, [this, s](int gain) {
        knobValueChanged(s, gain);
    });
    if (input == 20) {
        connect(
            s, &QVantelAudioBase::panningChanged, this, [this, s] { knobProgPanningChanged(s); });
    } else if (input == 21) {
        connect(
            s, &QVantelAudioBase::panningChanged, this, [this, s] { knobCoordPanningChanged(s); });
    } else {
        connect(s, &QVantelAudioBase::panningChanged, this, [this, s] { knobPanningChanged(s); });
    }
    if (withBalance) {
        connect(s, &QVantelAudioBase::balanceChanged, this, [this, s](int balance) {
            audioBalanceChanged(s, balance);
        });
    }
    m_strips[input] = s;
    return s;
}

void QVantelHeadphoneFollowPage::setupUi()
{
    m_sideToneStrip = new QVantelAudioInput(false, false, this);
    m_sideToneStrip->setObjectName(QStringLiteral("sideTone"));
    m_sideToneStrip->move(3, 104);
    m_sideToneStrip->setInput(QVantel::Inputs(26 + m_headphoneIndex));
    m_sideToneStrip->hide();
    m_sideToneStrip->setEnabled(false);
    connect(m_sideToneStrip,
            &QVantelAudioBase::gainChanged,
            this,
            &QVantelHeadphoneFollowPage::knobSideToneChanged);

    // The other microphone of the pair is this page's side tone, so it has no strip.
    const int otherMicrophone = m_headphoneIndex == 2 ? 3 : 2;
    addStrip(0, QPoint(3, 104), false, false, false, true, true);
    addStrip(1, QPoint(135, 104), false, false, false, true, true);
    addStrip(otherMicrophone, QPoint(267, 104), false, false, false, true, true);
    addStrip(12, QPoint(399, 104), false, false, false, true, true);
    addStrip(20, QPoint(3, 104), false, true, true, false, false);
    addStrip(13, QPoint(531, 104), false, false, false, true, true);
    addStrip(21, QPoint(3, 104), false, true, false, false, false);
    addStrip(8, QPoint(663, 104), false, false, false, true, true);
    const std::array<int, 6> lower = {4, 5, 6, 7, 9, 10};
    for (size_t k = 0; k < lower.size(); ++k)
        addStrip(lower[k], QPoint(3 + 132 * int(k), 244), true, false, false, true, true);
    const std::array<int, 4> lowerHidden = {14, 15, 16, 18};
    for (size_t k = 0; k < lowerHidden.size(); ++k)
        addStrip(lowerHidden[k], QPoint(3 + 132 * int(k), 244), true, false, false, false, true);

    auto *separator = new QFrame(this);
    separator->setFrameStyle(QFrame::HLine | QFrame::Plain);
    separator->setGeometry(20, 240, 760, 1);

    const auto makeSwitch = [this](const QRect &place, bool shown) {
        auto *s = new QVantelSwitch(this);
        s->setGeometry(place);
        s->setCheckable(true);
        s->setVisible(shown);
        return s;
    };
    const auto makeFollowLabel = [this](const QRect &place, const QString &text) {
        auto *button = new QVantelButton(this);
        button->setGeometry(place);
        button->setBorderWidth(4);
        button->setIcon(QVantelLazyIcon::icon(QStringLiteral(":/images/headphone-white.png")));
        button->setText(text);
        setDarkPalette(button);
        setPixelSize(button, 14);
    };
    const auto makeMonitorLabel = [this](const QRect &place, const QString &text) {
        auto *label = new QLabel(text, this);
        label->setGeometry(place);
        label->setAlignment(Qt::AlignCenter);
        label->setWordWrap(true);
        setPixelSize(label, 14);
        label->hide();
        return label;
    };
    makeFollowLabel(QRect(33, 380, 50, 50), QStringLiteral("1"));
    m_switches[0] = makeSwitch(QRect(28, 430, 60, 34), true);
    makeFollowLabel(QRect(716, 380, 50, 50), QStringLiteral("2"));
    m_switches[1] = makeSwitch(QRect(711, 430, 60, 34), true);
    m_switches[2] = makeSwitch(QRect(40, 10, 60, 34), false);
    m_programLabel = makeMonitorLabel(QRect(22, 50, 98, 40), tr("Program Monitoring"));
    m_switches[3] = makeSwitch(QRect(700, 10, 60, 34), false);
    m_coordLabel = makeMonitorLabel(QRect(680, 50, 98, 40), tr("Coord. Monitoring"));
    for (int k = 0; k < 4; ++k)
        m_switches[size_t(k)]->setObjectName(QStringLiteral("switch%1").arg(k + 1));
    connect(m_switches[0],
            &QAbstractButton::clicked,
            this,
            &QVantelHeadphoneFollowPage::switch1Clicked);
    connect(m_switches[1],
            &QAbstractButton::clicked,
            this,
            &QVantelHeadphoneFollowPage::switch2Clicked);
    connect(m_switches[2],
            &QAbstractButton::clicked,
            this,
            &QVantelHeadphoneFollowPage::switch3Clicked);
    connect(m_switches[3],
            &QAbstractButton::clicked,
            this,
            &QVantelHeadphoneFollowPage::switch4Clicked);

    const int ownButton = m_headphoneIndex == 2 ? 1 : 3;
    for (int k = 0; k < 5; ++k) {
        auto *button = new QVantelButton(this);
        button->setObjectName(QStringLiteral("pageBar%1").arg(k));
        button->setGeometry(kPageButtonX[size_t(k)], kPageButtonY, 98, 66);
        button->setBorderWidth(4);
        QPalette pal = button->palette();
        if (k == ownButton) {
            button->setIcon(QVantelLazyIcon::icon(QStringLiteral(":/images/headphone-white.png")));
            pal.setBrush(QPalette::Window, QBrush(Qt::white, Qt::NoBrush));
            pal.setColor(QPalette::WindowText, Qt::white);
        } else {
            button->setIcon(QVantelLazyIcon::icon(k == kHomeButton
                                      ? QStringLiteral(":/images/home.png")
                                      : QStringLiteral(":/images/headphone-black.png")));
            pal.setColor(QPalette::Window, Qt::white);
            pal.setColor(QPalette::WindowText, Qt::black);
        }
        button->setPalette(pal);
        if (k != kHomeButton)
            button->setText(QString::fromLatin1(kPageBarTexts[size_t(k)]));
        setPixelSize(button, 22);
        if (k != ownButton) {
            const QVantel::Page target = kPageBarTargets[size_t(k)];
            connect(button, &QAbstractButton::clicked, this, [this, target] {
                emit pageActivated(target);
            });
        }
        m_pageButtons[size_t(k)] = button;
    }
}

void QVantelHeadphoneFollowPage::pushDefaults()
{
    // The model holds the page's start values until the device's are read; the matrix stores
    // them without writing while it is not ready.
    TMatrixSettings *matrix = matrixSettings();
    for (const auto &[input, s] : m_strips) {
        matrix->setNodeGain(input, leftOutput(), float(s->gain()));
        matrix->setNodeGain(input, rightOutput(), float(s->gain()));
        matrix->setNodeOn(input, leftOutput(), (s->panning() & QVantel::PanLeft) != 0);
        matrix->setNodeOn(input, rightOutput(), (s->panning() & QVantel::PanRight) != 0);
    }
}

// Knob handlers.

void QVantelHeadphoneFollowPage::setRouting(int input, int output, bool on)
{
    matrixSettings()->setNodeOn(input, output, on);
}

void QVantelHeadphoneFollowPage::knobSideToneChanged(int gain)
{
    if (m_updating)
        return;
    const QScopedValueRollback<bool> guard(m_updating, true);
    matrixSettings()->setNodeGain(sideToneInput(), leftOutput(), float(gain));
    matrixSettings()->setNodeGain(sideToneInput(), rightOutput(), float(gain));
}

void QVantelHeadphoneFollowPage::knobValueChanged(QVantelAudioBase *strip, int gain)
{
    if (m_updating)
        return;
    const QScopedValueRollback<bool> guard(m_updating, true);
    TMatrixSettings *matrix = matrixSettings();
    const int input = strip->input();
    const int left = leftOutput();
    const int right = rightOutput();
    const float dB = float(gain);
    matrix->setNodeGain(input, left, dB);
    matrix->setNodeGain(input, right, dB);
    if (!extendedMode())
        return;
    if (input == 20) {
        // The stereo programme's right channel (24, 19) follows on the right ear only.
        matrix->setNodeGain(12, left, dB);
        matrix->setNodeGain(12, right, dB);
        matrix->setNodeGain(24, right, dB);
        matrix->setNodeGain(19, right, dB);
    } else if (input == 21) {
        matrix->setNodeGain(13, left, dB);
        matrix->setNodeGain(13, right, dB);
    }
}

void QVantelHeadphoneFollowPage::knobPanningChanged(QVantelAudioBase *strip)
{
    if (m_updating)
        return;
    const QScopedValueRollback<bool> guard(m_updating, true);
    TMatrixSettings *matrix = matrixSettings();
    const TMatrixSettings::HeadphoneMix before = matrix->beginHeadphoneEdit(m_headphoneIndex);
    setRouting(strip->input(), leftOutput(), (strip->panning() & QVantel::PanLeft) != 0);
    setRouting(strip->input(), rightOutput(), (strip->panning() & QVantel::PanRight) != 0);
    matrix->commitHeadphoneEdit(m_headphoneIndex, before);
}

void QVantelHeadphoneFollowPage::knobProgPanningChanged(QVantelAudioBase *strip)
{
    if (m_updating)
        return;
    const QScopedValueRollback<bool> guard(m_updating, true);
    TMatrixSettings *matrix = matrixSettings();
    const TMatrixSettings::HeadphoneMix before = matrix->beginHeadphoneEdit(m_headphoneIndex);
    const int panning = strip->panning();
    const int left = leftOutput();
    const int right = rightOutput();
    if ((panning & QVantel::PanStereo) != 0) {
        for (int input : {strip->input(), 12}) {
            setRouting(input, left, true);
            setRouting(input, right, false);
        }
        for (int input : {24, 19}) {
            setRouting(input, left, false);
            setRouting(input, right, true);
        }
    } else {
        for (int input : {strip->input(), 12, 24, 19}) {
            setRouting(input, left, (panning & QVantel::PanLeft) != 0);
            setRouting(input, right, (panning & QVantel::PanRight) != 0);
        }
    }
    matrix->commitHeadphoneEdit(m_headphoneIndex, before);
}

void QVantelHeadphoneFollowPage::knobCoordPanningChanged(QVantelAudioBase *strip)
{
    if (m_updating)
        return;
    const QScopedValueRollback<bool> guard(m_updating, true);
    TMatrixSettings *matrix = matrixSettings();
    const TMatrixSettings::HeadphoneMix before = matrix->beginHeadphoneEdit(m_headphoneIndex);
    const bool left = (strip->panning() & QVantel::PanLeft) != 0;
    const bool right = (strip->panning() & QVantel::PanRight) != 0;
    setRouting(strip->input(), leftOutput(), left);
    setRouting(strip->input(), rightOutput(), right);
    if (extendedMode()) {
        setRouting(13, leftOutput(), left);
        setRouting(13, rightOutput(), right);
    }
    matrix->commitHeadphoneEdit(m_headphoneIndex, before);
}


// Follow and monitoring switches.

void QVantelHeadphoneFollowPage::copyFollowed(int followed, bool on)
{
    TMatrixSettings *matrix = matrixSettings();
    const int source = 2 * followed + 2;
    if (on) {
        matrix->copyOutput(source, leftOutput());
        matrix->copyOutput(source + 1, rightOutput());
    } else {
        matrix->removeOutputCopy(source, leftOutput());
        matrix->removeOutputCopy(source + 1, rightOutput());
    }
}

void QVantelHeadphoneFollowPage::writeConfigByte(quint8 value)
{
    TMatrixSettings::AudioConfig config = matrixSettings()->audioConfig(m_headphoneIndex);
    config[0] = value;
    matrixSettings()->setAudioConfig(m_headphoneIndex, config, true);
}

void QVantelHeadphoneFollowPage::setFollowStates(int followed)
{
    // Only the followed headphone's own microphone can still be turned.
    for (const auto &[input, s] : m_strips) {
        if (s->state() != 2)
            s->setState(input == followed ? 0 : 1);
    }
}

void QVantelHeadphoneFollowPage::clearFollowStates()
{
    for (const auto &entry : m_strips) {
        if (entry.second->state() != 2)
            entry.second->setState(0);
    }
    updateInputSourceStrips();
}

void QVantelHeadphoneFollowPage::followClicked(int followed)
{
    QVantelSwitch *own = m_switches[size_t(followed)];
    QVantelSwitch *other = m_switches[size_t(1 - followed)];
    if (own->isChecked()) {
        if (m_followedHeadphone == 1 - followed)
            copyFollowed(1 - followed, false);
        copyFollowed(followed, true);
        m_followedHeadphone = followed;
        writeConfigByte(quint8(followed + 1));
        other->setChecked(false);
        setFollowStates(followed);
    } else {
        copyFollowed(followed, false);
        m_followedHeadphone = -1;
        writeConfigByte(0);
        clearFollowStates();
    }
}

void QVantelHeadphoneFollowPage::monitorClicked(int monitored)
{
    QVantelSwitch *own = m_switches[size_t(2 + monitored)];
    QVantelSwitch *other = m_switches[size_t(3 - monitored)];
    TMatrixSettings *matrix = matrixSettings();
    if (own->isChecked()) {
        m_switches[0]->setEnabled(false);
        m_switches[1]->setEnabled(false);
        other->setEnabled(false);
        if (m_followedHeadphone == 0 || m_followedHeadphone == 1)
            copyFollowed(m_followedHeadphone, false);
        matrix->copyOutput(monitored, leftOutput());
        matrix->copyOutput(monitored, rightOutput());
        for (const auto &entry : m_strips) {
            if (entry.second->state() != 2)
                entry.second->setState(1);
        }
    } else {
        m_switches[0]->setEnabled(true);
        m_switches[1]->setEnabled(true);
        other->setEnabled(true);
        matrix->removeOutputCopy(monitored, leftOutput());
        matrix->removeOutputCopy(monitored, rightOutput());
        if (m_followedHeadphone == 0 || m_followedHeadphone == 1) {
            copyFollowed(m_followedHeadphone, true);
            setFollowStates(m_followedHeadphone);
        } else {
            clearFollowStates();
        }
    }
}

void QVantelHeadphoneFollowPage::switch1Clicked()
{
    followClicked(0);
}

void QVantelHeadphoneFollowPage::switch2Clicked()
{
    followClicked(1);
}

void QVantelHeadphoneFollowPage::switch3Clicked()
{
    monitorClicked(0);
}

void QVantelHeadphoneFollowPage::switch4Clicked()
{
    monitorClicked(1);
}

// Model to view.

void QVantelHeadphoneFollowPage::matrixNodeChanged(QVantel::Inputs input, QVantel::Outputs output)
{
    if ((output != leftOutput() && output != rightOutput()) || m_updating)
        return;
    const QScopedValueRollback<bool> guard(m_updating, true);
    const TMatrixSettings::Node &node = matrixSettings()->node(input, output);
    if (input == sideToneInput()) {
        m_sideToneStrip->setGain(int(node.gain));
        return;
    }
    if (QVantelAudioInput *s = strip(input)) {
        s->setGain(int(node.gain));
        s->setPanning(QVantel::PanCtrl(nodePanning(input, s->stereoAllowed())));
        s->setBalance(node.balance);
    }
}

void QVantelHeadphoneFollowPage::matrixAudioConfigChanged(QVantel::Inputs position)
{
    if (position != m_headphoneIndex)
        return;
    const int c = matrixSettings()->audioConfig(m_headphoneIndex)[0];
    QVantelSwitch *first = m_switches[0];
    QVantelSwitch *second = m_switches[1];
    if (m_switches[2]->isChecked() || m_switches[3]->isChecked()) {
        // Monitoring holds the copy; the follow state is only remembered until it ends.
        m_followedHeadphone = c == 1 ? 0 : (c == 2 ? 1 : -1);
        first->setChecked(c == 1);
        second->setChecked(c == 2);
        return;
    }
    if (c == 1) {
        if (m_followedHeadphone != 0)
            first->click();
    } else if (c == 2) {
        if (m_followedHeadphone != 1)
            second->click();
    } else {
        if (m_followedHeadphone == 0)
            first->click();
        else if (m_followedHeadphone == 1)
            second->click();
        m_followedHeadphone = -1;
    }
}

void QVantelHeadphoneFollowPage::matrixControllerStateChanged(TComController *controller)
{
    if (!controller || controller->state() != TComController::StateReady)
        return;
    if (m_headphoneIndex == 2 && hasDeviceOption(TComDevice::OptionHardware2))
        m_pageButtons[kHeadphone4Button]->hide();
    m_forceNames = true;
    matrixAudioConfigChanged(QVantel::Inputs(m_headphoneIndex));
    matrixNodeChanged(QVantel::Inputs(sideToneInput()), QVantel::Outputs(leftOutput()));
    for (int input = 0; input <= 24; ++input) {
        QVantelHeadphoneWidget::matrixInputNameChanged(QVantel::Inputs(input));
        matrixNodeChanged(QVantel::Inputs(input), QVantel::Outputs(leftOutput()));
    }
    m_forceNames = false;
    if (comDevice()->operationMode() == 0)
        resetProgramStrips();
}

void QVantelHeadphoneFollowPage::deviceStateChanged(TComDevice::DeviceState state)
{
    if (state != TComDevice::DeviceStateAll && state != TComDevice::OperationModeState)
        return;
    const bool standard = comDevice()->operationMode() == 0;
    if (!standard) {
        // The monitoring switches do not exist in the extended mode; one left on would keep
        // its copy with no way to turn it off.
        for (int monitored : {0, 1}) {
            if (m_switches[size_t(2 + monitored)]->isChecked()) {
                m_switches[size_t(2 + monitored)]->setChecked(false);
                monitorClicked(monitored);
            }
        }
    }
    m_switches[2]->setVisible(standard);
    m_switches[3]->setVisible(standard);
    m_programLabel->setVisible(standard);
    m_coordLabel->setVisible(standard);
    if (state == TComDevice::OperationModeState && standard)
        resetProgramStrips();
}

void QVantelHeadphoneFollowPage::audioControllerParamChanged(TComController *,
                                                             TAudioSettings::CtlrParam param)
{
    if (param == TAudioSettings::InputSource && !anySwitchChecked())
        updateInputSourceStrips();
}

void QVantelHeadphoneFollowPage::resetProgramStrips()
{
    for (int input : {20, 21}) {
        if (QVantelAudioInput *s = strip(input)) {
            s->setGain(0);
            s->setPanning(QVantel::PanNone);
        }
    }
    // The handlers above may have changed the inputs these strips drag along while the page
    // ignored matrix changes; show those inputs as the matrix now holds them.
    for (int input : {12, 13})
        matrixNodeChanged(QVantel::Inputs(input), QVantel::Outputs(leftOutput()));
}

void QVantelHeadphoneFollowPage::resetView()
{
    QVantelHeadphoneWidget::resetView();
    if (m_headphoneIndex == 2)
        m_pageButtons[kHeadphone4Button]->show();
    for (QVantelSwitch *s : m_switches) {
        s->setChecked(false);
        s->setEnabled(true);
    }
    m_followedHeadphone = -1;
}
