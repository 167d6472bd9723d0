#include "pages/qvantelheadphonefollowpage.h"

#include "pages/matrixrowlock.h"
#include "widgets/qvantelaudioinput.h"
#include "widgets/qvantelbutton.h"
#include "widgets/qvantellazyicon.h"
#include "widgets/qvantelswitch.h"

#include <QFrame>
#include <QLabel>
#include <QScopedValueRollback>

#include <algorithm>

namespace {

constexpr int kHeadphone4Button = 3;

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
    connectPageSlots(this);
}

QVantelHeadphoneFollowPage::~QVantelHeadphoneFollowPage() = default;

QVantelSwitch *QVantelHeadphoneFollowPage::followSwitch(int number) const
{
    return number >= 1 && number <= 4 ? m_switches[size_t(number - 1)] : nullptr;
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

void QVantelHeadphoneFollowPage::setupUi()
{
    addSideToneStrip(false, QPoint(3, 104));

    // The other microphone of the pair is this page's side tone, so it has no strip.
    const int otherMicrophone = headphoneIndex() == 2 ? QVantel::Input4 : QVantel::Input3;
    addGridStrip(QVantel::Input1, QPoint(3, 104), false, false, false, true, true);
    addGridStrip(QVantel::Input2, QPoint(135, 104), false, false, false, true, true);
    addGridStrip(otherMicrophone, QPoint(267, 104), false, false, false, true, true);
    addGridStrip(QVantel::InputProgramReturn, QPoint(399, 104), false, false, false, true, true);
    addGridStrip(QVantel::InputProgram, QPoint(3, 104), false, true, true, false, false);
    addGridStrip(QVantel::InputCoordReturn, QPoint(531, 104), false, false, false, true, true);
    addGridStrip(QVantel::InputCoord, QPoint(3, 104), false, true, false, false, false);
    addGridStrip(QVantel::InputUsb, QPoint(663, 104), false, false, false, true, true);
    const std::array<int, 6> lower = {QVantel::InputAux1,
                                      QVantel::InputAux2,
                                      QVantel::InputAes1,
                                      QVantel::InputAes2,
                                      QVantel::InputAoip1,
                                      QVantel::InputAoip2};
    for (size_t k = 0; k < lower.size(); ++k)
        addGridStrip(lower[k], QPoint(3 + 132 * int(k), 244), true, false, false, true, true);
    const std::array<int, 4> lowerHidden
        = {QVantel::InputAoip3, QVantel::InputAoip4, QVantel::InputAoip5, QVantel::InputAoip6};
    for (size_t k = 0; k < lowerHidden.size(); ++k)
        addGridStrip(
            lowerHidden[k], QPoint(3 + 132 * int(k), 244), true, false, false, false, true);

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
    // Following is kept in the headphone's position record; monitoring writes nothing.
    for (int k = 0; k < 2; ++k) {
        rowLock()->addControl(m_switches[size_t(k)],
                              {{TMatrixSettings::Row::Position, headphoneIndex()}});
    }
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

    // The page's own button is a white outline, the others are filled white.
    const int ownButton = headphoneIndex() == 2 ? 1 : 3;
    const std::array<QVantelButton *, 5> pageBar = addPageBar(ownButton);
    for (int k = 0; k < 5; ++k) {
        QVantelButton *button = pageBar[size_t(k)];
        QPalette pal = button->palette();
        if (k == ownButton) {
            pal.setBrush(QPalette::Window, QBrush(Qt::white, Qt::NoBrush));
            pal.setColor(QPalette::WindowText, Qt::white);
        } else {
            pal.setColor(QPalette::Window, Qt::white);
            pal.setColor(QPalette::WindowText, Qt::black);
        }
        button->setPalette(pal);
    }
}

QString QVantelHeadphoneFollowPage::positionRecordName() const
{
    return tr("which headphone this one follows");
}

// Strip handlers.

void QVantelHeadphoneFollowPage::writeDraggedGains(int input, int gain)
{
    if (!comDevice()->isExtendedMode())
        return;
    if (input == QVantel::InputProgram) {
        // The stereo programme's right channel follows on the right ear only.
        writeGain(QVantel::InputProgramReturn, gain);
        for (int right : QVantel::kProgramRightChannel)
            matrixSettings()->setNodeGain(right, rightOutput(), float(gain));
    } else {
        QVantelHeadphoneWidget::writeDraggedGains(input, gain);
    }
}

// Follow and monitoring switches.

void QVantelHeadphoneFollowPage::copyFollowed(int followed, bool on)
{
    TMatrixSettings *matrix = matrixSettings();
    const int left = QVantel::headphoneLeftOutput(followed);
    const int right = QVantel::headphoneRightOutput(followed);
    if (on) {
        matrix->copyOutput(left, leftOutput());
        matrix->copyOutput(right, rightOutput());
    } else {
        matrix->removeOutputCopy(left, leftOutput());
        matrix->removeOutputCopy(right, rightOutput());
    }
}

void QVantelHeadphoneFollowPage::writeConfigByte(quint8 value)
{
    TMatrixSettings::AudioConfig config = matrixSettings()->audioConfig(headphoneIndex());
    config[0] = value;
    matrixSettings()->setAudioConfig(headphoneIndex(), config, true);
}

int QVantelHeadphoneFollowPage::heldStripState(int input) const
{
    // Monitoring locks every strip; following leaves only the followed headphone's own
    // microphone to turn.
    if (m_switches[2]->isChecked() || m_switches[3]->isChecked())
        return 1;
    if (m_followedHeadphone == 0 || m_followedHeadphone == 1)
        return input == m_followedHeadphone ? 0 : 1;
    return -1;
}

void QVantelHeadphoneFollowPage::applySwitchStates()
{
    for (const auto &[input, s] : strips()) {
        if (s->state() != 2)
            s->setState(std::max(heldStripState(input), 0));
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
    } else {
        copyFollowed(followed, false);
        m_followedHeadphone = -1;
        writeConfigByte(0);
    }
    applySwitchStates();
}

void QVantelHeadphoneFollowPage::monitorClicked(int monitored)
{
    QVantelSwitch *own = m_switches[size_t(2 + monitored)];
    QVantelSwitch *other = m_switches[size_t(3 - monitored)];
    const int source = monitored == 0 ? QVantel::OutputProgram : QVantel::OutputCoord;
    TMatrixSettings *matrix = matrixSettings();
    if (own->isChecked()) {
        m_switches[0]->setEnabled(false);
        m_switches[1]->setEnabled(false);
        other->setEnabled(false);
        if (m_followedHeadphone == 0 || m_followedHeadphone == 1)
            copyFollowed(m_followedHeadphone, false);
        matrix->copyOutput(source, leftOutput());
        matrix->copyOutput(source, rightOutput());
    } else {
        m_switches[0]->setEnabled(true);
        m_switches[1]->setEnabled(true);
        other->setEnabled(true);
        matrix->removeOutputCopy(source, leftOutput());
        matrix->removeOutputCopy(source, rightOutput());
        if (m_followedHeadphone == 0 || m_followedHeadphone == 1)
            copyFollowed(m_followedHeadphone, true);
    }
    applySwitchStates();
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
    if ((output != leftOutput() && output != rightOutput()) || isUpdating())
        return;
    const auto guard = holdUpdating();
    const TMatrixSettings::Node &node = matrixSettings()->node(input, output);
    if (input == sideToneInput()) {
        sideToneStrip()->setGain(int(node.gain));
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
    if (position != headphoneIndex())
        return;
    const int c = matrixSettings()->audioConfig(headphoneIndex())[0];
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
    if (headphoneIndex() == 2 && TComDevice::hasOption(TComDevice::OptionHardware2))
        pageButton(kHeadphone4Button)->hide();
    matrixAudioConfigChanged(QVantel::Inputs(headphoneIndex()));
    matrixNodeChanged(QVantel::Inputs(sideToneInput()), QVantel::Outputs(leftOutput()));
    for (int input = 0; input <= QVantel::LastMixInput; ++input) {
        showInputName(input, true);
        matrixNodeChanged(QVantel::Inputs(input), QVantel::Outputs(leftOutput()));
    }
    if (!comDevice()->isExtendedMode())
        resetProgramStrips();
}

void QVantelHeadphoneFollowPage::deviceStateChanged(TComDevice::DeviceState state)
{
    if (state != TComDevice::DeviceStateAll && state != TComDevice::OperationModeState)
        return;
    const bool standard = !comDevice()->isExtendedMode();
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

void QVantelHeadphoneFollowPage::resetView()
{
    QVantelHeadphoneWidget::resetView();
    if (headphoneIndex() == 2)
        pageButton(kHeadphone4Button)->show();
    // The matrix keeps its copies over a reset; only this page's switches make this headphone a
    // copy, so none may outlive them: the next login starts from what the unit reports.
    TMatrixSettings *matrix = matrixSettings();
    for (int output : {leftOutput(), rightOutput()}) {
        if (const int source = matrix->copySource(output); source >= 0)
            matrix->removeOutputCopy(source, output);
    }
    for (QVantelSwitch *s : m_switches) {
        s->setChecked(false);
        s->setEnabled(true);
    }
    m_followedHeadphone = -1;
}
