#include "pages/qvantelaudioinputpage.h"

#include "pages/audiopagestyle.h"
#include "widgets/qvantelbutton.h"
#include "widgets/qvantelswitch.h"
#include "widgets/qvantelvirtual.h"

#include <QFrame>
#include <QLabel>

namespace {

constexpr int kRowY[] = {132, 200, 268, 336};
constexpr int kButtonY[] = {123, 191, 259, 327};
constexpr int kSeparatorY[] = {183, 251, 319};
// Switch x per column, in extended and in standard operation mode.
constexpr int kExtendedX[] = {162, 250, 338, 426, 539, 627, 715};
constexpr int kStandardX[] = {162, 268, 374, 480, 609, 715, 715};

// Which switches each input has (phantom power on rows 1 to 3, pad and filter on rows 3 and 4).
bool hasSwitch(int row, int column)
{
    switch (column) {
    case QVantelAudioInputPage::Phantom:
        return row < 3;
    case QVantelAudioInputPage::MicLine:
    case QVantelAudioInputPage::Filter:
        return row >= 2;
    default:
        return true;
    }
}

int outputOf(int column)
{
    switch (column) {
    case QVantelAudioInputPage::ProgramLeft:
        return QVantel::OutputProgram;
    case QVantelAudioInputPage::ProgramRight:
        return QVantel::OutputProgramRight;
    case QVantelAudioInputPage::Coord:
        return QVantel::OutputCoord;
    default:
        return -1;
    }
}

int columnOf(int output)
{
    switch (output) {
    case QVantel::OutputProgram:
        return QVantelAudioInputPage::ProgramLeft;
    case QVantel::OutputProgramRight:
        return QVantelAudioInputPage::ProgramRight;
    case QVantel::OutputCoord:
        return QVantelAudioInputPage::Coord;
    default:
        return -1;
    }
}

// The audio setting of a switch and its parameter number; Input1Gain marks none.
struct AudioBinding
{
    int row;
    int column;
    TAudioSettings::CtlrParam param;
};

constexpr AudioBinding kBindings[] = {
    {0, QVantelAudioInputPage::Phantom, TAudioSettings::Input1Power},
    {0, QVantelAudioInputPage::Limiter, TAudioSettings::Input1Limiter},
    {1, QVantelAudioInputPage::Phantom, TAudioSettings::Input2Power},
    {1, QVantelAudioInputPage::Limiter, TAudioSettings::Input2Limiter},
    {2, QVantelAudioInputPage::Phantom, TAudioSettings::Input3Power},
    {2, QVantelAudioInputPage::Limiter, TAudioSettings::Input3Limiter},
    {2, QVantelAudioInputPage::MicLine, TAudioSettings::Input3Pad},
    {2, QVantelAudioInputPage::Filter, TAudioSettings::Input3Filter},
    {3, QVantelAudioInputPage::Limiter, TAudioSettings::Input4Limiter},
    {3, QVantelAudioInputPage::MicLine, TAudioSettings::Input4Pad},
    {3, QVantelAudioInputPage::Filter, TAudioSettings::Input4Filter},
};

bool audioValue(TAudioSettings::CtlrParam param)
{
    const TAudioSettings *audio = audioSettings();
    switch (param) {
    case TAudioSettings::Input1Power:
        return audio->input1Power();
    case TAudioSettings::Input1Limiter:
        return audio->input1Limiter();
    case TAudioSettings::Input2Power:
        return audio->input2Power();
    case TAudioSettings::Input2Limiter:
        return audio->input2Limiter();
    case TAudioSettings::Input3Power:
        return audio->input3Power();
    case TAudioSettings::Input3Limiter:
        return audio->input3Limiter();
    case TAudioSettings::Input3Pad:
        return audio->input3Pad();
    case TAudioSettings::Input3Filter:
        return audio->input3Filter();
    case TAudioSettings::Input4Limiter:
        return audio->input4Limiter();
    case TAudioSettings::Input4Pad:
        return audio->input4Pad();
    case TAudioSettings::Input4Filter:
        return audio->input4Filter();
    default:
        return false;
    }
}

void writeAudioValue(TAudioSettings::CtlrParam param, bool on)
{
    TAudioSettings *audio = audioSettings();
    switch (param) {
    case TAudioSettings::Input1Power:
        audio->setInput1Power(on, true);
        break;
    case TAudioSettings::Input1Limiter:
        audio->setInput1Limiter(on, true);
        break;
    case TAudioSettings::Input2Power:
        audio->setInput2Power(on, true);
        break;
    case TAudioSettings::Input2Limiter:
        audio->setInput2Limiter(on, true);
        break;
    case TAudioSettings::Input3Power:
        audio->setInput3Power(on, true);
        break;
    case TAudioSettings::Input3Limiter:
        audio->setInput3Limiter(on, true);
        break;
    case TAudioSettings::Input3Pad:
        audio->setInput3Pad(on, true);
        break;
    case TAudioSettings::Input3Filter:
        audio->setInput3Filter(on, true);
        break;
    case TAudioSettings::Input4Limiter:
        audio->setInput4Limiter(on, true);
        break;
    case TAudioSettings::Input4Pad:
        audio->setInput4Pad(on, true);
        break;
    case TAudioSettings::Input4Filter:
        audio->setInput4Filter(on, true);
        break;
    default:
        break;
    }
}

} // namespace

QVantelAudioInputPage::QVantelAudioInputPage(QWidget *parent)
    : QVantelAudioWidget(parent)
{
    buildUi();

    connect(comDevice(),
            &TComDevice::deviceStateChanged,
            this,
            &QVantelAudioInputPage::deviceStateChanged);
    TAudioSettings *audio = audioSettings();
    connect(audio,
            &TComController::controllerStateChanged,
            this,
            &QVantelAudioInputPage::audioControllerStateChanged);
    connect(audio,
            &TAudioSettings::controllerParamChanged,
            this,
            &QVantelAudioInputPage::audioControllerParamChanged);
    TMatrixSettings *matrix = matrixSettings();
    connect(matrix,
            &TComController::controllerStateChanged,
            this,
            &QVantelAudioInputPage::matrixControllerStateChanged);
    connect(matrix,
            &TMatrixSettings::inputNameChanged,
            this,
            &QVantelAudioInputPage::matrixInputNameChanged);
    connect(matrix, &TMatrixSettings::nodeChanged, this, &QVantelAudioInputPage::matrixNodeChanged);
}

QVantelAudioInputPage::~QVantelAudioInputPage() = default;

void QVantelAudioInputPage::buildUi()
{
    using AudioPageStyle::makeLabel;
    const Qt::Alignment headerAlignment = Qt::AlignHCenter | Qt::AlignBottom;
    const auto header = [&](const QString &text, int x, const char *name) {
        QLabel *label = makeLabel(text, this, QRect(x, 90, 106, 40), 14, headerAlignment);
        label->setObjectName(QLatin1String(name));
        return label;
    };
    header(tr("Phantom"), 139, "phantomHeader");
    m_limiterHeader = header(tr("Limiter"), 227, "limiterHeader");
    m_micLineHeader = header(tr("Mic/Line"), 315, "micLineHeader");
    m_filterHeader = header(tr("80Hz\nFilter"), 403, "filterHeader");
    m_programLeftHeader = header(tr("Program\nLeft"), 516, "programLeftHeader");
    m_programRightHeader = header(tr("Program\nRight"), 604, "programRightHeader");
    m_coordHeader = header(tr("Coord."), 692, "coordHeader");

    QPalette namePalette = palette();
    namePalette.setBrush(QPalette::All, QPalette::Window, QBrush(Qt::gray));
    namePalette.setBrush(QPalette::All, QPalette::WindowText, QBrush(Qt::white));
    for (int row = 0; row < RowCount; ++row) {
        auto *button = new QVantelButton(this);
        button->setObjectName(QStringLiteral("nameButton%1").arg(row + 1));
        button->setGeometry(26, kButtonY[row], 98, 52);
        button->setPalette(namePalette);
        button->setFont(AudioPageStyle::pixelFont(this, 14));
        button->setText(matrixSettings()->inputTitle(row));
        connect(button, &QVantelButton::clicked, this, [this, row] { buttonClicked(row); });
        m_nameButtons[size_t(row)] = button;

        for (int column = 0; column < ColumnCount; ++column) {
            if (!hasSwitch(row, column))
                continue;
            auto *toggle = new QVantelSwitch(this);
            toggle->setObjectName(QStringLiteral("switch%1_%2").arg(row + 1).arg(column));
            toggle->setCheckable(true);
            toggle->setGeometry(kExtendedX[column], kRowY[row], 60, 34);
            connect(toggle, &QVantelSwitch::clicked, this, [this, row, column] {
                switchClicked(row, column);
            });
            m_switches[size_t(row)][size_t(column)] = toggle;
        }
    }

    // The name and the routing switches write the input's row.
    MatrixRowLock *lock = AudioPageStyle::makeInputRowLock(this);
    for (int row = 0; row < RowCount; ++row) {
        const std::vector<MatrixRowLock::RowId> inputRow = {{TMatrixSettings::Row::Input, row}};
        lock->addControl(m_nameButtons[size_t(row)], inputRow);
        for (int column : {ProgramLeft, ProgramRight, Coord})
            lock->addControl(switchAt(row, column), inputRow);
    }

    for (int i = 0; i < 3; ++i) {
        const auto line = [this](const QRect &geometry) {
            auto *frame = new QFrame(this);
            frame->setFrameShape(QFrame::HLine);
            frame->setFrameShadow(QFrame::Plain);
            frame->setGeometry(geometry);
            return frame;
        };
        m_leftSeparators[size_t(i)] = line(QRect(156, kSeparatorY[i], 346, 1));
        m_rightSeparators[size_t(i)] = line(QRect(533, kSeparatorY[i], 248, 1));
    }

    const auto bar = AudioPageStyle::makeNavigationBar(this, 0);
    m_auxSettingsButton = bar[1];
    m_outputSettingsButton = bar[2];
    m_backButton = bar[3];
    connect(
        m_auxSettingsButton, &QVantelButton::clicked, this, &QVantelAudioInputPage::page1Clicked);
    connect(m_outputSettingsButton,
            &QVantelButton::clicked,
            this,
            &QVantelAudioInputPage::page2Clicked);
    connect(m_backButton, &QVantelButton::clicked, this, &QVantelAudioInputPage::page3Clicked);
}

QVantelSwitch *QVantelAudioInputPage::switchAt(int row, int column) const
{
    if (row < 0 || row >= RowCount || column < 0 || column >= ColumnCount)
        return nullptr;
    return m_switches[size_t(row)][size_t(column)];
}

QVantelButton *QVantelAudioInputPage::nameButton(int row) const
{
    return row >= 0 && row < RowCount ? m_nameButtons[size_t(row)] : nullptr;
}

void QVantelAudioInputPage::showEvent(QShowEvent *event)
{
    for (int row = 0; row < RowCount; ++row)
        m_nameButtons[size_t(row)]->setText(matrixSettings()->inputTitle(row));
    QVantelAudioWidget::showEvent(event);
}

void QVantelAudioInputPage::switchClicked(int row, int column)
{
    QVantelSwitch *toggle = switchAt(row, column);
    const bool on = toggle->isChecked();
    const int output = outputOf(column);
    if (output >= 0) {
        matrixSettings()->setNodeOn(row, output, on);
        return;
    }
    for (const AudioBinding &binding : kBindings) {
        if (binding.row == row && binding.column == column)
            writeAudioValue(binding.param, on);
    }
}

void QVantelAudioInputPage::showAudioSwitch(TAudioSettings::CtlrParam param)
{
    for (const AudioBinding &binding : kBindings) {
        if (binding.param == param)
            switchAt(binding.row, binding.column)->setChecked(audioValue(param));
    }
}

void QVantelAudioInputPage::applyPairVisibility()
{
    // A stereo pair in extended mode shows the left programme of its first input and the right
    // programme of its second only. The right-programme switches of rows 1 and 3 stand where the
    // coordination switches are in standard mode, so they show in extended mode only.
    const TAudioSettings *audio = audioSettings();
    const bool isExtended = comDevice()->isExtendedMode();
    switchAt(0, ProgramRight)->setVisible(isExtended && !audio->input2Pair());
    switchAt(1, ProgramLeft)->setVisible(isExtended ? !audio->input2Pair() : true);
    switchAt(3, MicLine)->setEnabled(isExtended ? !audio->input4Pair() : true);
    switchAt(2, ProgramRight)->setVisible(isExtended && !audio->input4Pair());
    switchAt(3, ProgramLeft)->setVisible(isExtended ? !audio->input4Pair() : true);
    if (TComDevice::hasOption(TComDevice::OptionHardware2)) {
        // The compact unit has no fourth input, whatever the mode would show of its row.
        for (QVantelSwitch *toggle : m_switches[3]) {
            if (toggle)
                toggle->hide();
        }
    }
}

void QVantelAudioInputPage::audioControllerStateChanged(TComController *)
{
    for (const AudioBinding &binding : kBindings)
        showAudioSwitch(binding.param);
    applyPairVisibility();
}

void QVantelAudioInputPage::audioControllerParamChanged(TComController *,
                                                        TAudioSettings::CtlrParam param)
{
    switch (param) {
    case TAudioSettings::Input2Pair:
    case TAudioSettings::Input4Pair:
        applyPairVisibility();
        break;
    default:
        showAudioSwitch(param);
        break;
    }
}

void QVantelAudioInputPage::matrixNodeChanged(QVantel::Inputs input, QVantel::Outputs output)
{
    const int column = columnOf(output);
    if (input < 0 || input >= RowCount || column < 0)
        return;
    switchAt(input, column)->setChecked(matrixSettings()->node(input, output).isOn());
}

void QVantelAudioInputPage::matrixInputNameChanged(QVantel::Inputs input)
{
    if (input >= 0 && input < RowCount)
        m_nameButtons[size_t(input)]->setText(matrixSettings()->inputTitle(input));
}

void QVantelAudioInputPage::matrixControllerStateChanged(TComController *controller)
{
    if (controller->state() != TComController::StateReady)
        return;
    for (int input = 0; input < RowCount; ++input)
        matrixInputNameChanged(QVantel::Inputs(input));
    for (int input = 0; input < RowCount; ++input) {
        for (QVantel::Outputs output :
             {QVantel::OutputProgram, QVantel::OutputProgramRight, QVantel::OutputCoord}) {
            matrixNodeChanged(QVantel::Inputs(input), output);
        }
    }
}

void QVantelAudioInputPage::deviceStateChanged(TComDevice::DeviceState state)
{
    if (state == TComDevice::DeviceStateAll) {
        applyHardwareLayout();
        applyOperationMode(comDevice()->isExtendedMode());
    } else if (state == TComDevice::OperationModeState) {
        applyOperationMode(comDevice()->isExtendedMode());
    }
}

void QVantelAudioInputPage::applyHardwareLayout()
{
    if (!TComDevice::hasOption(TComDevice::OptionHardware2))
        return;
    m_nameButtons[3]->hide();
    for (QVantelSwitch *toggle : m_switches[3]) {
        if (toggle)
            toggle->hide();
    }
}

void QVantelAudioInputPage::resetView()
{
    m_nameButtons[3]->show();
    for (QVantelSwitch *toggle : m_switches[3]) {
        if (toggle)
            toggle->show();
    }
}

void QVantelAudioInputPage::applyOperationMode(bool isExtended)
{
    for (int i = 0; i < 3; ++i) {
        QFrame *left = m_leftSeparators[size_t(i)];
        left->resize(isExtended ? 346 : 390, left->height());
        QFrame *right = m_rightSeparators[size_t(i)];
        right->setGeometry(
            isExtended ? 533 : 603, right->y(), isExtended ? 248 : 178, right->height());
    }
    const int *xs = isExtended ? kExtendedX : kStandardX;
    for (int row = 0; row < RowCount; ++row) {
        for (int column : {Limiter, MicLine, Filter, ProgramLeft, ProgramRight}) {
            if (QVantelSwitch *toggle = switchAt(row, column))
                toggle->move(xs[column], kRowY[row]);
        }
    }
    switchAt(1, ProgramRight)->setVisible(isExtended);
    switchAt(3, ProgramRight)->setVisible(isExtended);
    applyPairVisibility();

    if (!isExtended) {
        m_limiterHeader->move(245, 90);
        m_micLineHeader->move(351, 90);
        m_filterHeader->move(457, 90);
        m_programLeftHeader->setText(tr("Program"));
        m_programLeftHeader->move(586, 90);
        m_programRightHeader->hide();
    } else {
        m_limiterHeader->move(227, 90);
        m_micLineHeader->move(315, 90);
        m_filterHeader->move(403, 90);
        m_programLeftHeader->setText(tr("Program\nLeft"));
        m_programLeftHeader->move(516, 90);
        m_programRightHeader->setText(tr("Program\nRight"));
        m_programRightHeader->move(604, 90);
        m_programRightHeader->show();
    }
}

void QVantelAudioInputPage::buttonClicked(int row)
{
    m_keyboard = AudioPageStyle::openRenameKeyboard(
        this, m_nameButtons[size_t(row)], [this](QVantelVirtual *keyboard) {
            popupClosed(keyboard);
        });
}

void QVantelAudioInputPage::popupClosed(QVantelVirtual *keyboard)
{
    if (keyboard->isCancelled() || !keyboard->item())
        return;
    for (int row = 0; row < RowCount; ++row) {
        if (keyboard->item() == m_nameButtons[size_t(row)])
            matrixSettings()->setInputName(row, keyboard->lineEdit()->text());
    }
}

void QVantelAudioInputPage::page1Clicked()
{
    emit pageActivated(QVantel::AudioAuxiliaryPage);
}

void QVantelAudioInputPage::page2Clicked()
{
    emit pageActivated(QVantel::AudioOutputPage);
}

void QVantelAudioInputPage::page3Clicked()
{
    emit pageActivated(QVantel::AudioPage);
}
