#include "pages/qvantelheadphonepositionpage.h"

#include "frontpanel/headphonepositioninputs.h"
#include "link/ccom.h"
#include "model/accesslevel.h"
#include "pages/matrixrowlock.h"
#include "pages/qvantelheadphoneaudio.h"
#include "pages/qvantelheadphoneselect.h"
#include "widgets/qvantelaudio.h"
#include "widgets/qvantelaudiobutton.h"
#include "widgets/qvantelaudioinput.h"
#include "widgets/qvantelbutton.h"
#include "widgets/qvantellazyicon.h"
#include "widgets/qvantelmessage.h"

#include <QCoreApplication>
#include <QFrame>
#include <QScopedValueRollback>

#include <cmath>

namespace {

constexpr std::array<int, 4> kPositionY = {7, 116, 225, 334};
constexpr std::array<int, 3> kCopyY = {7, 116, 225};

int roundedGain(float dB)
{
    return int(std::lround(dB));
}

} // namespace

QVantelHeadphonePositionPage::QVantelHeadphonePositionPage(int headphoneIndex, QWidget *parent)
    : QVantelHeadphoneWidget(headphoneIndex, parent)
{
    setupUi();
    pushDefaults();
    connectPageSlots(this);
    connect(matrixSettings(),
            &TMatrixSettings::nodeCopyChanged,
            this,
            &QVantelHeadphonePositionPage::matrixNodeCopyChanged);
}

QVantelHeadphonePositionPage::~QVantelHeadphonePositionPage() = default;

QVantelAudioButton *QVantelHeadphonePositionPage::positionButton(int position) const
{
    if (position < 1 || position > kPositionCount)
        return nullptr;
    return m_positionButtons[size_t(position - 1)];
}

QVantelButton *QVantelHeadphonePositionPage::copyButton(int index) const
{
    return index >= 0 && index < int(m_copyButtons.size()) ? m_copyButtons[size_t(index)] : nullptr;
}

int QVantelHeadphonePositionPage::copyTarget(int index) const
{
    static constexpr std::array<int, 3> kTargetsOfPage1 = {2, 3, 4};
    static constexpr std::array<int, 3> kTargetsOfPage2 = {1, 3, 4};
    if (index < 0 || index > 2)
        return 0;
    return headphoneIndex() == 0 ? kTargetsOfPage1[size_t(index)] : kTargetsOfPage2[size_t(index)];
}

int QVantelHeadphonePositionPage::positionOf(const QVantelAudioButton *button) const
{
    for (int k = 0; k < kPositionCount; ++k) {
        if (button && m_positionButtons[size_t(k)] == button)
            return k + 1;
    }
    return 0;
}

// Construction.

void QVantelHeadphonePositionPage::setupUi()
{
    const bool first = headphoneIndex() == 0;
    const int columnX = first ? 5 : 696;
    const int copyX = first ? 696 : 5;
    std::array<int, kPositionCount> defaults{};
    for (int k = 0; k < kPositionCount; ++k)
        defaults[size_t(k)] = kDefaultHeadphonePositionInputs[size_t(4 * headphoneIndex() + k)];

    for (int k = 0; k < kPositionCount; ++k) {
        auto *button = new QVantelAudioButton(this);
        button->setObjectName(QStringLiteral("position%1").arg(k + 1));
        button->move(columnX, kPositionY[size_t(k)]);
        button->setInput(QVantel::Inputs(defaults[size_t(k)]));
        button->setPanning(QVantel::PanBoth);
        connect(button, &QVantelAudioButton::buttonClicked, this, [this, button] {
            buttonClicked(button);
        });
        connect(button, &QVantelAudioBase::panningChanged, this, [this, button] {
            labelPanningChanged(button);
        });
        connect(button, &QVantelAudioButton::rightButtonClicked, this, [this, button] {
            rightButtonClicked(button);
        });
        m_positionButtons[size_t(k)] = button;
        fileSourceButton(defaults[size_t(k)], button);
        // A position writes the mix (its gain and routing) and the positions (its source).
        rowLock()->addControl(button,
                              {{TMatrixSettings::Row::Mix, headphoneIndex()},
                               {TMatrixSettings::Row::Position, headphoneIndex()}});
    }

    for (int k = 0; k < 3; ++k) {
        auto *button = new QVantelButton(this);
        button->setObjectName(QStringLiteral("copy%1").arg(copyTarget(k)));
        button->setGeometry(copyX, kCopyY[size_t(k)], 98, 66);
        button->setBorderWidth(4);
        button->setIcon(QVantelLazyIcon::icon(QStringLiteral(":/images/copy.png")));
        button->setText(QStringLiteral("         %1").arg(copyTarget(k)));
        QPalette pal = button->palette();
        pal.setColor(QPalette::Window, Qt::white);
        pal.setColor(QPalette::WindowText, Qt::black);
        button->setPalette(pal);
        QFont f = font();
        f.setPixelSize(22);
        button->setFont(f);
        connect(button, &QAbstractButton::clicked, this, [this, k] { copyClicked(k); });
        m_copyButtons[size_t(k)] = button;
        // A copy reads this mix and writes the target's.
        rowLock()->addControl(button,
                              {{TMatrixSettings::Row::Mix, headphoneIndex()},
                               {TMatrixSettings::Row::Mix, copyTarget(k) - 1}});
    }

    addSideToneStrip(true, QPoint(135, 104));

    const QPoint corner(135, 104);
    // The sources of the first two positions join the grid only on the compact unit.
    for (int input : {defaults[0], defaults[1]}) {
        addGridStrip(input, corner, true, false, false, false, false);
        keepAside(input);
    }
    addGridStrip(QVantel::InputProgramReturn, corner, true, false, false, true, true);
    addGridStrip(QVantel::InputProgram, corner, true, true, true, false, false);
    addGridStrip(QVantel::InputCoordReturn, corner, true, false, false, false, false);
    keepAside(QVantel::InputCoordReturn);
    addGridStrip(QVantel::InputCoord, corner, true, true, false, false, false);

    const std::array<int, 3> upper = {QVantel::InputUsb, QVantel::InputAux1, QVantel::InputAux2};
    for (size_t k = 0; k < upper.size(); ++k)
        addGridStrip(upper[k], QPoint(267 + 132 * int(k), 104), true, false, false, true, true);

    auto *separator = new QFrame(this);
    separator->setFrameStyle(QFrame::HLine | QFrame::Plain);
    separator->setGeometry(152, 240, 496, 1);

    const std::array<int, 4> lower
        = {QVantel::InputAes1, QVantel::InputAes2, QVantel::InputAoip1, QVantel::InputAoip2};
    const std::array<int, 4> lowerHidden
        = {QVantel::InputAoip3, QVantel::InputAoip4, QVantel::InputAoip5, QVantel::InputAoip6};
    for (size_t k = 0; k < lower.size(); ++k)
        addGridStrip(lower[k], QPoint(135 + 132 * int(k), 244), true, false, false, true, true);
    for (size_t k = 0; k < lowerHidden.size(); ++k) {
        addGridStrip(
            lowerHidden[k], QPoint(135 + 132 * int(k), 244), true, false, false, false, true);
    }

    // All page buttons of these pages are white outlines.
    for (QVantelButton *button : addPageBar(first ? 0 : 4)) {
        QPalette pal = button->palette();
        pal.setBrush(QPalette::Window, QBrush(Qt::white, Qt::NoBrush));
        pal.setColor(QPalette::WindowText, Qt::white);
        button->setPalette(pal);
    }
}

void QVantelHeadphonePositionPage::labelPanningChanged(QVantelAudioBase *button)
{
    knobPanningChanged(button);
}

// Matrix changes shown on the page.

void QVantelHeadphonePositionPage::matrixNodeChanged(QVantel::Inputs input, QVantel::Outputs output)
{
    if ((output != leftOutput() && output != rightOutput()) || isUpdating())
        return;
    const auto guard = holdUpdating();
    const TMatrixSettings::Node &node = matrixSettings()->node(input, output);
    const int gain = roundedGain(node.gain);
    if (input == sideToneInput()) {
        sideToneStrip()->setGain(gain);
        return;
    }
    if (QVantelAudioButton *button = sourceButton(input)) {
        button->setGain(gain);
        button->setPanning(QVantel::PanCtrl(nodePanning(input, false)));
    }
    if (QVantelAudioInput *s = strip(input)) {
        s->setGain(gain);
        s->setPanning(QVantel::PanCtrl(nodePanning(input, s->stereoAllowed())));
        s->setBalance(node.balance);
    }
}

void QVantelHeadphonePositionPage::audioControllerParamChanged(TComController *,
                                                               TAudioSettings::CtlrParam param)
{
    if (param == TAudioSettings::InputSource)
        updateInputSourceStrips();
}

void QVantelHeadphonePositionPage::matrixNodeCopyChanged(QVantel::Outputs, QVantel::Outputs target)
{
    for (int k = 0; k < int(m_copyButtons.size()); ++k) {
        if (target != QVantel::headphoneLeftOutput(copyTarget(k) - 1))
            continue;
        QVantelButton *button = m_copyButtons[size_t(k)];
        QPalette pal = button->palette();
        pal.setColor(QPalette::Window,
                     matrixSettings()->isCopyTarget(target) ? QColor(127, 127, 127)
                                                            : QColor(Qt::white));
        button->setPalette(pal);
    }
}

void QVantelHeadphonePositionPage::matrixControllerStateChanged(TComController *controller)
{
    if (!controller || controller->state() != TComController::StateReady)
        return;
    if (TComDevice::hasOption(TComDevice::OptionHardware2)) {
        // The compact unit has no positions: their sources join the grid.
        pageButton(3)->hide();
        for (QVantelAudioButton *button : m_positionButtons)
            button->hide();
        m_copyButtons[2]->hide();
        for (const auto &[input, s] : extraStrips()) {
            if (strip(input))
                continue;
            s->setEnabled(true);
            s->show();
            fileStrip(input, s);
        }
        layoutStrips();
    }
    for (int input = 0; input <= QVantel::LastMixInput; ++input) {
        showInputName(input, true);
        matrixNodeChanged(QVantel::Inputs(input), QVantel::Outputs(leftOutput()));
    }
    matrixAudioConfigChanged(QVantel::Inputs(headphoneIndex()));
    if (!comDevice()->isExtendedMode())
        resetProgramStrips();
}

void QVantelHeadphonePositionPage::resetView()
{
    QVantelHeadphoneWidget::resetView();
    for (QVantelAudioButton *button : m_positionButtons)
        button->show();
    pageButton(3)->show();
    m_copyButtons[2]->show();
    for (const auto &[input, s] : extraStrips()) {
        s->hide();
        s->setEnabled(false);
        // The compact unit's layout put them into the grid; the next device may have positions.
        if (strip(input) == s)
            takeStrip(input);
    }
}

// Popups of a position.

template<typename Popup>
Popup *QVantelHeadphonePositionPage::openPositionPopup(QVantelAudioButton *button)
{
    if (positionOf(button) == 0)
        return nullptr;
    auto *popup = new Popup(this);
    popup->setWindowModality(Qt::ApplicationModal);
    centrePopup(popup);
    button->setSelected(true);
    return popup;
}

QVantelAudioButton *QVantelHeadphonePositionPage::closePositionPopup(const QVantelPopup *popup)
{
    auto *button = static_cast<QVantelAudioButton *>(popup->item());
    if (positionOf(button) == 0)
        return nullptr;
    button->setSelected(false);
    return button;
}

// Gain and panning of one position.

QVantelHeadphoneAudio *QVantelHeadphonePositionPage::rightButtonClicked(QVantelAudioButton *button)
{
    auto *popup = openPositionPopup<QVantelHeadphoneAudio>(button);
    if (!popup)
        return nullptr;
    popup->strip()->setInput(QVantel::Inputs(button->input()));
    popup->strip()->setGain(button->gain());
    popup->strip()->setPanning(QVantel::PanCtrl(button->panning()));
    // The unit's name of the source under the fixed one, as on the button.
    popup->strip()->setName(button->label(), false);
    popup->setItem(button);
    connect(popup, &QVantelPopup::popupClosed, this, [this, popup] { popupAudioClosed(popup); });
    popup->show();
    return popup;
}

void QVantelHeadphonePositionPage::popupAudioClosed(QVantelHeadphoneAudio *popup)
{
    QVantelAudioButton *button = closePositionPopup(popup);
    if (!button || !popup->accepted())
        return;
    writeMix([this, popup, button] {
        const int panning = popup->strip()->panning();
        const int gain = popup->strip()->gain();
        // Shown first; the button's own change signals are dropped while the mix is written.
        button->setPanning(QVantel::PanCtrl(panning));
        button->setGain(gain);
        writeGain(button->input(), gain);
        writeRouting(button->input(), panning);
    });
}

// Copying the mix to another position.

QVantelMessage *QVantelHeadphonePositionPage::copyClicked(int index)
{
    const int target = copyTarget(index);
    if (target == 0 || matrixSettings()->isCopyTarget(QVantel::headphoneLeftOutput(target - 1)))
        return nullptr;
    QVantelMessage *message = nullptr;
    // Only headphone 1's page keeps this mix from an Operator.
    if (headphoneIndex() == 0 && accessLevel == AccessLevel::Operator) {
        message = new QVantelMessage(tr("Operator is not allowed to perform this operation"),
                                     QVantelMessage::CancelButton,
                                     this);
    } else {
        message
            = new QVantelMessage(tr("Copy gain and routing settings to position %1?").arg(target),
                                 QVantelMessage::CancelAndOk,
                                 this);
    }
    message->setWindowModality(Qt::ApplicationModal);
    centrePopup(message);
    connect(message, &QVantelPopup::popupClosed, this, [this, message, target] {
        messageClosed(message, target);
    });
    message->popup();
    ksm::processEventsApart();
    return message;
}

void QVantelHeadphonePositionPage::messageClosed(QVantelMessage *message, int target)
{
    if (!message->isCancelled() && target != 0)
        emit copySettingsClicked(target);
}

// Position sources.

QVantelHeadphoneSelect *QVantelHeadphonePositionPage::buttonClicked(QVantelAudioButton *button)
{
    auto *popup = openPositionPopup<QVantelHeadphoneSelect>(button);
    if (!popup)
        return nullptr;
    if (accessLevel == AccessLevel::Operator) {
        popup->addItem(button->input(), button->displayName());
    } else {
        std::map<int, QVantelAudioBase *> choices;
        const auto keyOf = [](int input) {
            return input >= 0 && input < int(inputDisplayOrder.size())
                       ? inputDisplayOrder[size_t(input)]
                       : 100 + input;
        };
        for (QVantelAudioButton *position : m_positionButtons)
            choices[keyOf(position->input())] = position;
        for (const auto &[input, s] : strips()) {
            // The programme and coordination strips (with balance) stay in the grid.
            if (s->state() == 0 && !s->hasBalance())
                choices[keyOf(input)] = s;
        }
        for (const auto &entry : choices)
            popup->addItem(entry.second->input(), entry.second->displayName());
    }
    popup->setCurrent(button->input());
    popup->display()->setPanning(button->panning());
    popup->setItem(button);
    connect(popup, &QVantelPopup::popupClosed, this, [this, popup, opened = button->panning()] {
        popupSelectClosed(popup, opened);
    });
    popup->show();
    return popup;
}

void QVantelHeadphonePositionPage::popupSelectClosed(QVantelHeadphoneSelect *popup,
                                                     int openedPanning)
{
    QVantelAudioButton *button = closePositionPopup(popup);
    if (!button)
        return;
    const int value = popup->selectedValue();
    if (value == -1)
        return;
    // The popup opens with the position's routing; only a routing the operator changed there is
    // theirs to write. Otherwise the position shows its source as the unit holds it.
    const bool panningChosen = popup->selectedPanning() != openedPanning;
    if (value == button->input()) {
        if (panningChosen)
            button->setPanning(QVantel::PanCtrl(popup->selectedPanning()));
        return;
    }
    const int panning = panningChosen ? popup->selectedPanning() : nodePanning(value, false);
    assignSource(button, value, QVantel::PanCtrl(panning));
    writeAudioConfig();
}

void QVantelHeadphonePositionPage::writeAudioConfig()
{
    TMatrixSettings::AudioConfig config{};
    for (int k = 0; k < kPositionCount; ++k)
        config[size_t(k)] = quint8(m_positionButtons[size_t(k)]->input() + 1);
    matrixSettings()->setAudioConfig(headphoneIndex(), config, true);
}

void QVantelHeadphonePositionPage::assignSource(QVantelAudioButton *position,
                                                int input,
                                                QVantel::PanCtrl panning)
{
    if (positionOf(position) == 0)
        return;
    const int previous = position->input();
    QVantelAudioButton *partner = nullptr;
    if (QVantelAudioInput *s = takeStrip(input)) {
        // The input leaves the grid for the position; the position's source takes its strip.
        const QString stripLabel = s->label();
        s->setInput(QVantel::Inputs(previous));
        s->setName(position->label(), false);
        fileStrip(previous, s);
        layoutStrips();
        updateInputSourceStrips();
        applyOperationMode(comDevice()->isExtendedMode());
        removeSourceButton(previous);
        position->setInput(QVantel::Inputs(input));
        position->setName(stripLabel, false);
        fileSourceButton(input, position);
    } else if (QVantelAudioButton *other = sourceButton(input); other && other != position) {
        // Two positions exchange their sources.
        partner = other;
        removeSourceButton(input);
        removeSourceButton(previous);
        const QString partnerLabel = partner->label();
        partner->setInput(QVantel::Inputs(previous));
        partner->setName(position->label(), false);
        position->setInput(QVantel::Inputs(input));
        position->setName(partnerLabel, false);
        fileSourceButton(previous, partner);
        fileSourceButton(input, position);
    } else {
        return;
    }

    const int firstEntry = 4 * headphoneIndex();
    for (QVantelAudioButton *changed : {position, partner}) {
        if (changed)
            headphonePositionInputs[size_t(firstEntry + positionOf(changed) - 1)]
                = changed->input();
    }
    // Both moved sources show their gain and routing as the unit holds them: moving a source
    // between a position and the grid changes nothing in the mix.
    matrixNodeChanged(QVantel::Inputs(previous), QVantel::Outputs(leftOutput()));
    matrixNodeChanged(QVantel::Inputs(input), QVantel::Outputs(leftOutput()));
    // A routing asked for the new source is written like the operator's panning change.
    position->setPanning(panning);
}

void QVantelHeadphonePositionPage::matrixAudioConfigChanged(QVantel::Inputs position)
{
    if (position != headphoneIndex() || TComDevice::hasOption(TComDevice::OptionHardware2))
        return;
    const TMatrixSettings::AudioConfig config = matrixSettings()->audioConfig(headphoneIndex());
    for (int k = 0; k < kPositionCount; ++k) {
        const int input = int(config[size_t(k)]) - 1;
        if (input >= 0)
            assignSource(m_positionButtons[size_t(k)], input, unitPanning(input));
    }
}

QVantel::PanCtrl QVantelHeadphonePositionPage::unitPanning(int input) const
{
    return QVantel::PanCtrl(nodePanning(input, false));
}

void QVantelHeadphonePositionPage::deviceStateChanged(TComDevice::DeviceState state)
{
    if (state != TComDevice::OperationModeState)
        return;
    if (!comDevice()->isExtendedMode()) {
        resetProgramStrips();
        return;
    }
    const TMatrixSettings::AudioConfig config = matrixSettings()->audioConfig(headphoneIndex());
    for (int k = 0; k < kPositionCount; ++k) {
        // A configuration byte is the input plus 1. A position that holds the programme or
        // coordination return, which the extended mode shows as stereo channels in the grid,
        // takes another source.
        const int held = int(config[size_t(k)]) - 1;
        if (held != QVantel::InputProgramReturn && held != QVantel::InputCoordReturn)
            continue;
        const int input = firstPlainStrip();
        if (input < 0)
            continue;
        assignSource(m_positionButtons[size_t(k)], input, unitPanning(input));
        writeAudioConfig();
    }
}

int QVantelHeadphonePositionPage::firstPlainStrip() const
{
    for (const auto &[input, s] : strips()) {
        if (s->state() == 0
            && std::find(
                   QVantel::kProgramCoordInputs.begin(), QVantel::kProgramCoordInputs.end(), input)
                   == QVantel::kProgramCoordInputs.end()) {
            return input;
        }
    }
    return -1;
}
