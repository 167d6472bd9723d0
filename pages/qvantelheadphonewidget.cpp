#include "pages/qvantelheadphonewidget.h"

#include "model/audiosettings.h"
#include "model/firmwareversion.h"
#include "pages/matrixrowlock.h"
#include "widgets/qvantelaudiobalance.h"
#include "widgets/qvantelaudiobutton.h"
#include "widgets/qvantelaudioinput.h"
#include "widgets/qvantelbutton.h"
#include "widgets/qvantelknob.h"
#include "widgets/qvantellazyicon.h"
#include "widgets/qvantelstatuspanel.h"

#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QShowEvent>

#include <algorithm>
#include <cmath>

namespace {

// Sort keys by input; the extended variant swaps the programme and coordination pairs (the
// returns and the sends) in the order.
constexpr std::array<int, 30> kStandardOrder
    = {5,  6,  7,  8,  12, 13, 14, 15, 11, 16, 17, 22, 9, 10, 18,
       19, 20, 23, 21, 24, 25, 26, 29, 30, 27, 28, 1,  2, 3,  4};
constexpr std::array<int, 30> kExtendedOrder
    = {5,  6,  7,  8,  12, 13, 14, 15, 11, 16, 17, 22, 25, 26, 18,
       19, 20, 23, 21, 24, 9,  10, 29, 30, 27, 28, 1,  2,  3,  4};

// The audio-over-IP inputs; the ones an expansion board carries; the ones the compact unit
// (hardware variant 2) lacks.
constexpr std::array<int, 6> kAoipInputs = {QVantel::InputAoip1,
                                            QVantel::InputAoip2,
                                            QVantel::InputAoip3,
                                            QVantel::InputAoip4,
                                            QVantel::InputAoip5,
                                            QVantel::InputAoip6};
constexpr std::array<int, 10> kBoardInputs = {QVantel::InputAux1,
                                              QVantel::InputAux2,
                                              QVantel::InputAes1,
                                              QVantel::InputAes2,
                                              QVantel::InputAoip1,
                                              QVantel::InputAoip2,
                                              QVantel::InputAoip3,
                                              QVantel::InputAoip4,
                                              QVantel::InputAoip5,
                                              QVantel::InputAoip6};
constexpr std::array<int, 5> kVariant2HiddenInputs = {
    QVantel::Input4, QVantel::InputUsb, QVantel::InputAux2, QVantel::InputAes1, QVantel::InputAes2};
// The audio-over-IP inputs a module without option 0x200 does not serve.
constexpr std::array<int, 4> kUpperAoipInputs
    = {QVantel::InputAoip3, QVantel::InputAoip4, QVantel::InputAoip5, QVantel::InputAoip6};

constexpr int kMarkerWidth = 5;
constexpr int kMarkerHeight = 100;

constexpr std::array<int, 5> kPageButtonX = {112, 232, 352, 472, 592};
constexpr int kPageButtonY = 400;
// The page bar from the left: headphone 1, 3, home, 4, 2.
constexpr std::array<QVantel::Page, 5> kPageBarTargets = {QVantel::Headphone1Page,
                                                          QVantel::Headphone3Page,
                                                          QVantel::MainPage,
                                                          QVantel::Headphone4Page,
                                                          QVantel::Headphone2Page};
constexpr std::array<const char *, 5> kPageBarTexts = {"1", "3", nullptr, "4", "2"};

constexpr std::array<int, 4> kNarrowColumns = {135, 267, 399, 531};
constexpr std::array<int, 6> kWideColumns = {3, 135, 267, 399, 531, 663};
constexpr int kRowHeight = 140;

bool sideToneOption(TMatrixSettings::MatrixOpts options)
{
    return (options & TMatrixSettings::OptionSideTone) != 0;
}

} // namespace

std::array<int, 30> inputDisplayOrder = kStandardOrder;

QVantelHeadphoneWidget::QVantelHeadphoneWidget(int headphoneIndex, QWidget *parent)
    : QWidget(parent)
    , m_headphoneIndex(headphoneIndex)
{
    setupBaseUi();
    // Bound here, to this class's slots; a page that reacts to the same signal connects its own
    // slot in its constructor, after these, so the base reaction runs first.
    connect(comDevice(),
            &TComDevice::deviceStateChanged,
            this,
            &QVantelHeadphoneWidget::deviceStateChanged);
    connect(audioSettings(),
            &TAudioSettings::controllerStateChanged,
            this,
            &QVantelHeadphoneWidget::audioControllerStateChanged);
    connect(matrixSettings(),
            &TMatrixSettings::controllerStateChanged,
            this,
            &QVantelHeadphoneWidget::matrixControllerStateChanged);
    connect(matrixSettings(),
            &TMatrixSettings::matrixOptionsChanged,
            this,
            &QVantelHeadphoneWidget::matrixOptionsChanged);
    connect(matrixSettings(),
            &TMatrixSettings::inputNameChanged,
            this,
            &QVantelHeadphoneWidget::matrixInputNameChanged);
    // A mix that arrives late is started like one read at login.
    connect(matrixSettings(),
            &TMatrixSettings::rowReceived,
            this,
            [this](TMatrixSettings::Row row, int index) {
                if (row == TMatrixSettings::Row::Mix && index == m_headphoneIndex
                    && matrixSettings()->state() == TComController::StateReady
                    && !comDevice()->isExtendedMode()) {
                    resetProgramStrips();
                }
            });
}

QVantelHeadphoneWidget::~QVantelHeadphoneWidget() = default;

void QVantelHeadphoneWidget::setupBaseUi()
{
    m_statusPanel = new QVantelStatusPanel(false, this);
    setForwardedStatusPanel(m_statusPanel);
    m_statusPanel->move(132, 7);
    static_cast<IVantelStatusPanel *>(m_statusPanel)->setCodecMode(1, 0);

    m_scrollMarker = new QFrame(this);
    m_scrollMarker->setObjectName(QStringLiteral("scrollMarker"));
    m_scrollMarker->hide();
    m_scrollMarker->setFrameStyle(QFrame::Panel | QFrame::Plain);
    m_scrollMarker->setFixedSize(kMarkerWidth, kMarkerHeight);
    m_scrollMarker->move(isNarrow() ? 663 : 795, kBandTop);
    QPalette pal = m_scrollMarker->palette();
    pal.setColor(QPalette::Window, QColor(0, 162, 232));
    pal.setColor(QPalette::WindowText, QColor(0, 162, 232));
    m_scrollMarker->setPalette(pal);
    m_scrollMarker->setAutoFillBackground(true);

    // Between the grid and the page bar.
    QLabel *notice = MatrixRowLock::makeNotice(
        this, isNarrow() ? QRect(135, 381, 528, 18) : QRect(3, 381, 792, 18));
    m_rowLock = new MatrixRowLock(
        this, notice, [this](const std::vector<TMatrixSettings::RowId> &missing) {
            using Row = TMatrixSettings::Row;
            QStringList own;
            QStringList others;
            for (Row kind : {Row::Mix, Row::Balance, Row::Volume, Row::Position}) {
                for (const TMatrixSettings::RowId &id : missing) {
                    if (id.row != kind)
                        continue;
                    if (kind == Row::Mix && id.index != m_headphoneIndex)
                        others << tr("the mix of headphone %1").arg(id.index + 1);
                    else if (kind == Row::Mix)
                        own << tr("this headphone's mix");
                    else if (kind == Row::Balance)
                        own << tr("this headphone's balance");
                    else if (kind == Row::Volume)
                        own << tr("this headphone's side-tone level");
                    else
                        own << positionRecordName();
                }
            }
            return tr("The unit did not send %1.").arg(MatrixRowLock::listText(own + others));
        });
}

QString QVantelHeadphoneWidget::positionRecordName() const
{
    return tr("this headphone's positions");
}

QVantelAudioInput *QVantelHeadphoneWidget::strip(int input) const
{
    const auto found = m_strips.find(input);
    return found == m_strips.end() ? nullptr : found->second;
}

QVantelButton *QVantelHeadphoneWidget::pageButton(int index) const
{
    return index >= 0 && index < int(m_pageButtons.size()) ? m_pageButtons[size_t(index)] : nullptr;
}

void QVantelHeadphoneWidget::centrePopup(QWidget *popup) const
{
    const QPoint origin = mapToGlobal(QPoint(0, 0));
    popup->move(origin.x() + (width() - popup->width()) / 2,
                origin.y() + (height() - popup->height()) / 2);
}

int QVantelHeadphoneWidget::nodePanning(int input, bool admitsSplit) const
{
    const TMatrixSettings *matrix = matrixSettings();
    const int left = leftOutput();
    const int right = rightOutput();
    if (admitsSplit) {
        const bool split = matrix->node(input, left).isOn() && !matrix->node(input, right).isOn()
                           && matrix->node(QVantel::InputProgramReturn, left).isOn()
                           && !matrix->node(QVantel::InputProgramReturn, right).isOn()
                           && !matrix->node(QVantel::InputProgramRight, left).isOn()
                           && matrix->node(QVantel::InputProgramRight, right).isOn();
        if (split)
            return QVantel::PanStereo;
    }
    return (matrix->node(input, left).isOn() ? QVantel::PanLeft : 0)
           | (matrix->node(input, right).isOn() ? QVantel::PanRight : 0);
}

// Strip layout.

void QVantelHeadphoneWidget::layoutStrips()
{
    if (m_strips.empty())
        return;
    std::map<int, QVantelAudioInput *> ordered;
    const auto keyOf = [](int input) {
        return input >= 0 && input < int(inputDisplayOrder.size())
                   ? inputDisplayOrder[size_t(input)]
                   : 100 + input;
    };
    if (m_sideToneStrip)
        ordered[keyOf(m_sideToneStrip->input())] = m_sideToneStrip;
    for (const auto &[input, strip] : m_strips)
        ordered[keyOf(input)] = strip;

    const bool narrow = isNarrow();
    const int perRow = narrow ? 4 : 6;
    int k = 0;
    for (const auto &entry : ordered) {
        QVantelAudioInput *strip = entry.second;
        if (!strip->isEnabledTo(this)) {
            strip->hide();
            continue;
        }
        bool shown = false;
        int slot = k;
        if (narrow) {
            const bool lastScreen = m_scrollState == 3 && m_middleAllowed;
            const bool middleScreen
                = m_scrollState == 2 || (m_scrollState == 3 && !m_middleAllowed);
            if (lastScreen) {
                shown = k >= 8;
                slot = k < 4 ? k : (k < 8 ? k - 4 : k - 8);
            } else if (middleScreen) {
                shown = k >= 4 && k < 12;
                slot = k < 4 ? k : (k < 12 ? k - 4 : k - 8);
            } else {
                shown = k < 8;
                slot = k < 8 ? k : (k < 12 ? k - 4 : k - 8);
            }
        } else if (m_scrollState == 2 || m_scrollState == 3) {
            shown = k >= 6;
            slot = k < 6 ? k : k - 6;
        } else {
            shown = k < 12;
            slot = k < 12 ? k : k - 6;
        }
        const int column = slot % perRow;
        const int x = narrow ? kNarrowColumns[size_t(column)] : kWideColumns[size_t(column)];
        strip->move(x, kBandTop + (slot / perRow) * kRowHeight);
        strip->setLabelsBelow(narrow);
        strip->setVisible(shown);
        ++k;
    }
}

// Scrolling.

int QVantelHeadphoneWidget::markerRestY(int state) const
{
    const int height = m_scrollMarker->height();
    if (state == 2)
        return kBandTop + (kBandBottom - kBandTop - height) / 2;
    if (state == 3)
        return kBandBottom - height;
    return kBandTop;
}

void QVantelHeadphoneWidget::showScreen(int state, bool middleAllowed)
{
    m_middleAllowed = middleAllowed;
    setScrollState(state);
}

void QVantelHeadphoneWidget::setScrollState(int state)
{
    m_scrollState = state;
    m_scrollMarker->move(m_scrollMarker->x(), markerRestY(state));
    m_dragStartY = -1;
    layoutStrips();
}

void QVantelHeadphoneWidget::moveScrollMarker(bool dragging, int delta)
{
    const int x = m_scrollMarker->x();
    if (!dragging) {
        m_scrollMarker->move(x, markerRestY(m_scrollState));
        return;
    }
    const int change = kScreenChange - 1;
    switch (m_scrollState) {
    case 1: {
        const int y = markerRestY(1) + delta;
        if (y <= kBandTop)
            m_scrollMarker->move(x, kBandTop);
        else if (delta >= -change && delta <= change)
            m_scrollMarker->move(x, y);
        else
            setScrollState(m_middleAllowed ? 2 : 3);
        break;
    }
    case 2: {
        const int y = markerRestY(2) + delta;
        if (y <= kBandTop || y >= kBandBottom)
            m_scrollMarker->move(x, markerRestY(3)); // the next step or the release re-places it
        else if (delta >= -change && delta <= change)
            m_scrollMarker->move(x, y);
        else
            setScrollState(delta > 0 ? 3 : 1);
        break;
    }
    case 3:
        if (delta >= 0)
            m_scrollMarker->move(x, markerRestY(3));
        else if (delta >= -change)
            m_scrollMarker->move(x, markerRestY(3) + delta);
        else
            setScrollState(m_middleAllowed ? 2 : 1);
        break;
    default:
        break;
    }
}

void QVantelHeadphoneWidget::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    m_dragStartY = -1;
    const int y = int(event->position().y());
    if (m_scrollState != 0 && inBand(y)) {
        m_dragStartY = y;
        m_dragLastY = y;
    }
}

void QVantelHeadphoneWidget::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    if (m_scrollState == 0 || m_dragStartY == -1)
        return;
    const int y = int(event->position().y());
    if (!inBand(y)) {
        m_dragStartY = -1;
        return;
    }
    if (std::abs(m_dragLastY - y) > kDragStep) {
        moveScrollMarker(true, m_dragStartY - y);
        m_dragLastY = y;
    }
}

void QVantelHeadphoneWidget::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    const int y = int(event->position().y());
    if (m_scrollState != 0 && m_dragStartY != -1 && inBand(y))
        moveScrollMarker(false, m_dragStartY - y);
    m_dragStartY = -1;
}

// Strip states.

void QVantelHeadphoneWidget::applyOperationMode(bool extended)
{
    const auto showStrip = [this](int input, bool on) {
        if (QVantelAudioInput *s = strip(input)) {
            s->setVisible(on);
            s->setEnabled(on);
            const int held = heldStripState(input);
            s->setState(on ? std::max(held, 0) : 2);
        }
    };
    if (extended) {
        showStrip(QVantel::InputProgramReturn, false);
        showStrip(QVantel::InputProgram, true);
        showStrip(QVantel::InputCoordReturn, false);
        showStrip(QVantel::InputCoord, true);
        inputDisplayOrder = kExtendedOrder;
    } else {
        showStrip(QVantel::InputProgram, false);
        showStrip(QVantel::InputProgramReturn, true);
        showStrip(QVantel::InputCoord, false);
        showStrip(QVantel::InputCoordReturn, true);
        inputDisplayOrder = kStandardOrder;
    }
    moveScrollMarker(false, 0);
    layoutStrips();
}

void QVantelHeadphoneWidget::updateInputSourceStrips()
{
    const TAudioSettings *audio = audioSettings();
    if (audio->state() != TComController::StateReady || !audio->auxiliaryBoard()
        || !TComDevice::hasOption(TComDevice::OptionHardware134)) {
        return;
    }
    const bool analog = audio->inputSource() == TAudioSettings::SourceAnalog;
    const auto setState = [this](int input, int state) {
        QVantelAudioInput *s = strip(input);
        if (s && s->state() != 2) {
            const int held = heldStripState(input);
            s->setState(held >= 0 ? held : state);
        }
    };
    setState(QVantel::InputAux2, analog ? 0 : 1);
    setState(QVantel::InputAes1, analog ? 1 : 0);
    setState(QVantel::InputAes2, analog ? 1 : 0);
}

int QVantelHeadphoneWidget::heldStripState(int) const
{
    return -1;
}

void QVantelHeadphoneWidget::deviceStateChanged(TComDevice::DeviceState state)
{
    const bool extended = comDevice()->isExtendedMode();
    if (state == TComDevice::OperationModeState) {
        applyOperationMode(extended);
        return;
    }
    if (state != TComDevice::DeviceStateAll)
        return;
    const auto grey = [this](int input, bool hideToo) {
        if (QVantelAudioInput *s = strip(input)) {
            s->setState(2);
            if (hideToo) {
                s->hide();
                s->setEnabled(false);
            }
        }
    };
    if (!TComDevice::hasOption(TComDevice::OptionRavenna)) {
        for (int input : kAoipInputs)
            grey(input, false);
    }
    if (!TComDevice::hasOption(TComDevice::OptionHardware124)) {
        for (int input : kUpperAoipInputs)
            grey(input, true);
        applyOperationMode(extended);
        return;
    }
    if (!firmwareAtLeast(kFirmware1_13))
        grey(QVantel::InputAoip6, true);
    applyOperationMode(extended);
}

void QVantelHeadphoneWidget::audioControllerStateChanged(TComController *controller)
{
    if (!controller || controller->state() != TComController::StateReady)
        return;
    const bool sideTone = sideToneOption(matrixSettings()->options());
    if (!audioSettings()->auxiliaryBoard()) {
        for (int input : kBoardInputs) {
            if (QVantelAudioInput *s = strip(input))
                s->setState(2);
        }
    }
    if (TComDevice::hasOption(TComDevice::OptionHardware124)) {
        m_scrollState = 1;
        m_dragStartY = -1;
        if (sideTone) {
            m_sideToneStrip->setEnabled(true);
            if (isNarrow() && firmwareAtLeast(kFirmware1_13))
                m_middleAllowed = true;
        }
    } else {
        if (!sideTone) {
            updateInputSourceStrips();
            return;
        }
        m_sideToneStrip->setEnabled(true);
        m_scrollState = 1;
        m_dragStartY = -1;
    }
    m_scrollMarker->show();
    moveScrollMarker(false, 0);
    layoutStrips();
    updateInputSourceStrips();
}

void QVantelHeadphoneWidget::matrixControllerStateChanged(TComController *controller)
{
    if (!controller || controller->state() != TComController::StateReady
        || !TComDevice::hasOption(TComDevice::OptionHardware2)) {
        return;
    }
    for (int input : kVariant2HiddenInputs) {
        if (QVantelAudioInput *s = strip(input)) {
            s->hide();
            s->setEnabled(false);
        }
    }
}

void QVantelHeadphoneWidget::matrixOptionsChanged(TMatrixSettings::MatrixOpts previous)
{
    const bool now = sideToneOption(matrixSettings()->options());
    if (now == sideToneOption(previous))
        return;
    if (m_sideToneStrip)
        m_sideToneStrip->setEnabled(now);
    if (!TComDevice::hasOption(TComDevice::OptionHardware124)) {
        m_scrollState = now ? 1 : 0;
        m_scrollMarker->setVisible(now);
        m_dragStartY = -1;
    } else if (isNarrow() && firmwareAtLeast(kFirmware1_13)) {
        m_middleAllowed = now;
        if (now && m_scrollState == 3)
            m_scrollState = 2;
        else if (!now && m_scrollState == 2)
            m_scrollState = 3;
    }
    moveScrollMarker(false, 0);
    layoutStrips();
}

void QVantelHeadphoneWidget::matrixInputNameChanged(QVantel::Inputs input)
{
    showInputName(input, false);
}

void QVantelHeadphoneWidget::showInputName(int input, bool force)
{
    const QString name = matrixSettings()->inputNames(input);
    if (QVantelAudioButton *button = sourceButton(input))
        button->setName(name, force);
    if (QVantelAudioInput *s = strip(input))
        s->setName(name, force);
}

void QVantelHeadphoneWidget::showEvent(QShowEvent *event)
{
    const TMatrixSettings *matrix = matrixSettings();
    for (const auto &[input, button] : m_sourceButtons)
        button->setName(matrix->inputNames(input), false);
    for (const auto &[input, s] : m_strips)
        s->setName(matrix->inputNames(input), false);
    QWidget::showEvent(event);
}

// Reset and copy.

void QVantelHeadphoneWidget::resetView()
{
    if (m_sideToneStrip) {
        m_sideToneStrip->hide();
        m_sideToneStrip->setEnabled(false);
    }
    m_scrollState = 0;
    m_middleAllowed = false;
    m_dragStartY = -1;
    m_scrollMarker->hide();
    moveScrollMarker(false, 0);
    layoutStrips();
    if (m_strips.empty())
        return;
    for (const auto &entry : m_strips)
        entry.second->setState(0);
    for (int input : kUpperAoipInputs) {
        if (QVantelAudioInput *s = strip(input)) {
            s->hide();
            s->setEnabled(true);
        }
    }
    for (int input : kVariant2HiddenInputs) {
        if (QVantelAudioInput *s = strip(input)) {
            s->show();
            s->setEnabled(true);
        }
    }
}

void QVantelHeadphoneWidget::resetProgramStrips()
{
    // The reset writes the whole mix row: without the unit's row it would be built from the
    // defaults and wipe the unit's mix of this headphone.
    if (!matrixSettings()->isRowKnown(TMatrixSettings::Row::Mix, m_headphoneIndex))
        return;
    writeMix([this] {
        for (int input : {QVantel::InputProgram, QVantel::InputCoord}) {
            QVantelAudioInput *s = strip(input);
            if (!s)
                continue;
            s->setGain(0);
            s->setPanning(QVantel::PanNone);
            writeGain(input, 0);
            writeRouting(input, QVantel::PanNone);
        }
    });
}

void QVantelHeadphoneWidget::copySettingsFrom(QWidget *source)
{
    auto *from = qobject_cast<QVantelHeadphoneWidget *>(source);
    if (!from || from == this)
        return;
    // A mix the unit has not sent is neither a source nor a target: the copy would be built
    // from defaults, or written over a mix nobody has seen.
    const TMatrixSettings *unit = matrixSettings();
    if (unit->isRowMissing(TMatrixSettings::Row::Mix, m_headphoneIndex)
        || unit->isRowMissing(TMatrixSettings::Row::Mix, from->m_headphoneIndex)) {
        return;
    }
    std::map<int, QVantelAudioBase *> entries;
    for (const auto &[input, button] : from->m_sourceButtons)
        entries[input] = button;
    for (const auto &[input, s] : from->m_strips)
        entries[input] = s;

    for (const auto &[input, button] : m_sourceButtons) {
        if (const auto found = entries.find(input); found != entries.end())
            button->setPanning(QVantel::PanCtrl(found->second->panning()));
    }
    const TMatrixSettings *matrix = matrixSettings();
    for (const auto &[input, s] : m_strips) {
        if (const auto found = entries.find(input); found != entries.end()) {
            s->setGain(found->second->gain());
            s->setPanning(QVantel::PanCtrl(found->second->panning()));
        } else if (from->m_headphoneIndex == 0
                   && (input == QVantel::Input1 || input == QVantel::Input2)) {
            // Headphone 1 keeps these microphones as its side tone, not in its grid; each is
            // read from the left ear of its own headphone.
            const int output = QVantel::headphoneLeftOutput(input);
            s->setGain(int(matrix->node(input, output).gain));
            s->setPanning(QVantel::PanBoth);
        }
    }
}

void QVantelHeadphoneWidget::fileStrip(int input, QVantelAudioInput *strip)
{
    m_strips[input] = strip;
}

QVantelAudioInput *QVantelHeadphoneWidget::takeStrip(int input)
{
    const auto found = m_strips.find(input);
    if (found == m_strips.end())
        return nullptr;
    QVantelAudioInput *taken = found->second;
    m_strips.erase(found);
    return taken;
}

QVantelAudioButton *QVantelHeadphoneWidget::sourceButton(int input) const
{
    const auto found = m_sourceButtons.find(input);
    return found == m_sourceButtons.end() ? nullptr : found->second;
}

void QVantelHeadphoneWidget::fileSourceButton(int input, QVantelAudioButton *button)
{
    if (button)
        m_sourceButtons[input] = button;
}

void QVantelHeadphoneWidget::removeSourceButton(int input)
{
    m_sourceButtons.erase(input);
}

// Construction shared by the pages.

QVantelAudioInput *QVantelHeadphoneWidget::addGridStrip(int input,
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
    if (input == QVantel::InputProgram) {
        connect(
            s, &QVantelAudioBase::panningChanged, this, [this, s] { knobProgPanningChanged(s); });
    } else if (input == QVantel::InputCoord) {
        connect(
            s, &QVantelAudioBase::panningChanged, this, [this, s] { knobCoordPanningChanged(s); });
    } else {
        connect(s, &QVantelAudioBase::panningChanged, this, [this, s] { knobPanningChanged(s); });
    }
    if (withBalance) {
        connect(s, &QVantelAudioBase::balanceChanged, this, [this, s](int balance) {
            audioBalanceChanged(s, balance);
        });
        m_rowLock->addControl(s->balanceControl(),
                              {{TMatrixSettings::Row::Balance, m_headphoneIndex}});
    }
    m_rowLock->addControl(s->knob(), {{TMatrixSettings::Row::Mix, m_headphoneIndex}});
    m_strips[input] = s;
    return s;
}

void QVantelHeadphoneWidget::keepAside(int input)
{
    if (QVantelAudioInput *s = takeStrip(input))
        m_extraStrips[input] = s;
}

void QVantelHeadphoneWidget::addSideToneStrip(bool labelsBelow, const QPoint &at)
{
    m_sideToneStrip = new QVantelAudioInput(labelsBelow, false, this);
    m_sideToneStrip->setObjectName(QStringLiteral("sideTone"));
    m_sideToneStrip->move(at);
    m_sideToneStrip->setInput(QVantel::Inputs(QVantel::InputSideTone + m_headphoneIndex));
    m_sideToneStrip->hide();
    m_sideToneStrip->setEnabled(false);
    connect(m_sideToneStrip,
            &QVantelAudioBase::gainChanged,
            this,
            &QVantelHeadphoneWidget::knobSideToneChanged);
    // The side-tone level is the headphone's byte of the volume word.
    m_rowLock->addControl(m_sideToneStrip->knob(), {{TMatrixSettings::Row::Volume, 0}});
}

std::array<QVantelButton *, 5> QVantelHeadphoneWidget::addPageBar(int ownButton)
{
    std::array<QVantelButton *, 5> bar{};
    for (int k = 0; k < 5; ++k) {
        auto *button = new QVantelButton(this);
        button->setObjectName(QStringLiteral("pageBar%1").arg(k));
        button->setGeometry(kPageButtonX[size_t(k)], kPageButtonY, 98, 66);
        button->setBorderWidth(4);
        QString icon = QStringLiteral(":/images/headphone-black.png");
        if (k == kHomeButton)
            icon = QStringLiteral(":/images/home.png");
        else if (k == ownButton)
            icon = QStringLiteral(":/images/headphone-white.png");
        button->setIcon(QVantelLazyIcon::icon(icon));
        if (k != kHomeButton) {
            button->setText(QString::fromLatin1(kPageBarTexts[size_t(k)]));
            QFont f = button->font();
            f.setPixelSize(22);
            button->setFont(f);
        }
        if (k != ownButton) {
            const QVantel::Page target = kPageBarTargets[size_t(k)];
            connect(button, &QAbstractButton::clicked, this, [this, target] {
                emit pageActivated(target);
            });
        }
        bar[size_t(k)] = button;
    }
    m_pageButtons = bar;
    return bar;
}

void QVantelHeadphoneWidget::pushDefaults()
{
    // The matrix stores these without writing while it is not ready.
    TMatrixSettings *matrix = matrixSettings();
    for (const auto &[input, button] : m_sourceButtons) {
        matrix->setNodeOn(input, leftOutput(), (button->panning() & QVantel::PanLeft) != 0);
        matrix->setNodeOn(input, rightOutput(), (button->panning() & QVantel::PanRight) != 0);
    }
    for (const auto &[input, s] : m_strips) {
        matrix->setNodeGain(input, leftOutput(), float(s->gain()));
        matrix->setNodeGain(input, rightOutput(), float(s->gain()));
        matrix->setNodeOn(input, leftOutput(), (s->panning() & QVantel::PanLeft) != 0);
        matrix->setNodeOn(input, rightOutput(), (s->panning() & QVantel::PanRight) != 0);
    }
}

// Strip changes written to the matrix.

void QVantelHeadphoneWidget::writeGain(int input, int gain)
{
    TMatrixSettings *matrix = matrixSettings();
    matrix->setNodeGain(input, leftOutput(), float(gain));
    matrix->setNodeGain(input, rightOutput(), float(gain));
}

void QVantelHeadphoneWidget::writeRouting(int input, int panning)
{
    TMatrixSettings *matrix = matrixSettings();
    matrix->setNodeOn(input, leftOutput(), (panning & QVantel::PanLeft) != 0);
    matrix->setNodeOn(input, rightOutput(), (panning & QVantel::PanRight) != 0);
}

void QVantelHeadphoneWidget::knobSideToneChanged(int gain)
{
    if (m_updating)
        return;
    const QScopedValueRollback<bool> guard(m_updating, true);
    writeGain(sideToneInput(), gain);
}

void QVantelHeadphoneWidget::knobValueChanged(QVantelAudioBase *strip, int gain)
{
    if (m_updating)
        return;
    const QScopedValueRollback<bool> guard(m_updating, true);
    writeGain(strip->input(), gain);
    writeDraggedGains(strip->input(), gain);
}

void QVantelHeadphoneWidget::writeDraggedGains(int input, int gain)
{
    if (input == QVantel::InputProgram) {
        for (int dragged : QVantel::kProgramDraggedInputs)
            writeGain(dragged, gain);
    } else if (input == QVantel::InputCoord) {
        for (int dragged : QVantel::kCoordDraggedInputs)
            writeGain(dragged, gain);
    }
}

void QVantelHeadphoneWidget::knobPanningChanged(QVantelAudioBase *strip)
{
    writeMix([this, strip] { writeRouting(strip->input(), strip->panning()); });
}

void QVantelHeadphoneWidget::knobProgPanningChanged(QVantelAudioBase *strip)
{
    writeMix([this, strip] {
        const int panning = strip->panning();
        if ((panning & QVantel::PanStereo) != 0) {
            writeRouting(strip->input(), QVantel::PanLeft);
            writeRouting(QVantel::InputProgramReturn, QVantel::PanLeft);
            for (int input : QVantel::kProgramRightChannel)
                writeRouting(input, QVantel::PanRight);
        } else {
            writeRouting(strip->input(), panning);
            for (int input : QVantel::kProgramDraggedInputs)
                writeRouting(input, panning);
        }
    });
}

void QVantelHeadphoneWidget::knobCoordPanningChanged(QVantelAudioBase *strip)
{
    writeMix([this, strip] {
        writeRouting(strip->input(), strip->panning());
        if (coordDragsReturn()) {
            for (int input : QVantel::kCoordDraggedInputs)
                writeRouting(input, strip->panning());
        }
    });
}

void QVantelHeadphoneWidget::audioBalanceChanged(QVantelAudioBase *strip, int balance)
{
    writeMix([this, strip, balance] {
        TMatrixSettings *matrix = matrixSettings();
        const int left = leftOutput();
        const int right = rightOutput();
        const auto bothEars = [matrix, left, right, balance](int input) {
            matrix->setNodeBalance(input, left, balance);
            matrix->setNodeBalance(input, right, balance);
        };
        if (strip->input() == QVantel::InputProgram) {
            bothEars(QVantel::InputProgram);
            bothEars(QVantel::InputProgramReturn);
            // The stereo programme's right channel only reaches the right ear.
            for (int input : QVantel::kProgramRightChannel)
                matrix->setNodeBalance(input, right, balance);
        } else if (strip->input() == QVantel::InputCoord) {
            bothEars(QVantel::InputCoord);
            for (int input : QVantel::kCoordDraggedInputs)
                bothEars(input);
        }
    });
}

// Status strip.
