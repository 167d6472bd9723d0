#include "pages/qvantelaudioauxiliarypage.h"

#include "pages/audiopagestyle.h"
#include "widgets/qvantelbutton.h"
#include "widgets/qvantelswitch.h"
#include "widgets/qvantelvirtual.h"

#include <QLabel>

#include <algorithm>

namespace {

// Inputs of the columns: USB, AUX 1, AUX 2, AES 1, AES 2 and the two audio-over-IP inputs.
constexpr int kInputs[] = {QVantel::InputUsb,
                           QVantel::InputAux1,
                           QVantel::InputAux2,
                           QVantel::InputAes1,
                           QVantel::InputAes2,
                           QVantel::InputAoip1,
                           QVantel::InputAoip2};
constexpr int kButtonX[] = {24, 126, 228, 330, 432, 534, 636};
// Outputs and switch y of the rows.
constexpr int kOutputs[]
    = {QVantel::OutputProgram, QVantel::OutputProgramRight, QVantel::OutputCoord};
constexpr int kRowY[] = {216, 276, 336};
constexpr int kSwitchOffset = 19;

enum Column { Usb, Aux1, Aux2, Aes1, Aes2, Aoip1, Aoip2 };

// The compact unit (hardware variant 2) has no USB, AUX 2 or AES inputs.
constexpr std::array<int, 4> kCompactAbsent = {Usb, Aux2, Aes1, Aes2};

int columnOfInput(int input)
{
    for (int column = 0; column < QVantelAudioAuxiliaryPage::ColumnCount; ++column) {
        if (kInputs[column] == input)
            return column;
    }
    return -1;
}

int rowOfOutput(int output)
{
    for (int row = 0; row < QVantelAudioAuxiliaryPage::RowCount; ++row) {
        if (kOutputs[row] == output)
            return row;
    }
    return -1;
}

bool pairFlag(int pair)
{
    const TAudioSettings *audio = audioSettings();
    switch (pair) {
    case 0:
        return audio->auxPair();
    case 1:
        return audio->aesPair();
    default:
        return audio->ravInPair();
    }
}

} // namespace

QVantelAudioAuxiliaryPage::QVantelAudioAuxiliaryPage(QWidget *parent)
    : QVantelAudioWidget(parent)
{
    buildUi();

    connect(comDevice(),
            &TComDevice::deviceStateChanged,
            this,
            &QVantelAudioAuxiliaryPage::deviceStateChanged);
    TAudioSettings *audio = audioSettings();
    connect(audio,
            &TComController::controllerStateChanged,
            this,
            &QVantelAudioAuxiliaryPage::audioControllerStateChanged);
    connect(audio,
            &TAudioSettings::controllerParamChanged,
            this,
            &QVantelAudioAuxiliaryPage::audioControllerParamChanged);
    TMatrixSettings *matrix = matrixSettings();
    connect(matrix,
            &TComController::controllerStateChanged,
            this,
            &QVantelAudioAuxiliaryPage::matrixControllerStateChanged);
    connect(matrix,
            &TMatrixSettings::inputNameChanged,
            this,
            &QVantelAudioAuxiliaryPage::matrixInputNameChanged);
    connect(
        matrix, &TMatrixSettings::nodeChanged, this, &QVantelAudioAuxiliaryPage::matrixNodeChanged);
}

QVantelAudioAuxiliaryPage::~QVantelAudioAuxiliaryPage() = default;

void QVantelAudioAuxiliaryPage::buildUi()
{
    m_normalPalette = palette();
    m_normalPalette.setBrush(QPalette::All, QPalette::Window, QBrush(Qt::gray));
    m_normalPalette.setBrush(QPalette::All, QPalette::WindowText, QBrush(Qt::white));
    m_greyedPalette = AudioPageStyle::greyed(m_normalPalette);

    const QFont font = AudioPageStyle::pixelFont(this, 14);
    for (int column = 0; column < ColumnCount; ++column) {
        auto *button = new QVantelButton(this);
        button->setObjectName(QStringLiteral("columnButton%1").arg(column + 1));
        button->setGeometry(kButtonX[column], 138, 98, 52);
        button->setPalette(m_normalPalette);
        button->setFont(font);
        button->setText(matrixSettings()->inputTitle(kInputs[column]));
        connect(button, &QVantelButton::clicked, this, [this, column] { buttonClicked(column); });
        m_buttons[size_t(column)] = button;
        for (int row = 0; row < RowCount; ++row) {
            auto *toggle = new QVantelSwitch(this);
            toggle->setObjectName(QStringLiteral("switch%1_%2").arg(column + 1).arg(row));
            toggle->setCheckable(true);
            toggle->setGeometry(kButtonX[column] + kSwitchOffset, kRowY[row], 60, 34);
            connect(toggle, &QVantelSwitch::clicked, this, [this, column, row] {
                switchClicked(column, row);
            });
            m_switches[size_t(column)][size_t(row)] = toggle;
        }
    }
    // A column's name and switches write its input's row.
    MatrixRowLock *lock = AudioPageStyle::makeInputRowLock(this);
    for (int column = 0; column < ColumnCount; ++column) {
        const std::vector<MatrixRowLock::RowId> inputRow
            = {{TMatrixSettings::Row::Input, kInputs[column]}};
        lock->addControl(m_buttons[size_t(column)], inputRow);
        for (QVantelSwitch *toggle : m_switches[size_t(column)])
            lock->addControl(toggle, inputRow);
    }

    const QString texts[] = {tr("Prog\nLeft"), tr("Prog\nRight"), tr("Coord.")};
    for (int row = 0; row < RowCount; ++row) {
        QLabel *label = AudioPageStyle::makeLabel(
            texts[row], this, QRect(734, kRowY[row], 66, 34), 14, Qt::AlignLeft | Qt::AlignVCenter);
        label->setObjectName(QStringLiteral("rowLabel%1").arg(row));
        m_rowLabels[size_t(row)] = label;
    }

    const auto bar = AudioPageStyle::makeNavigationBar(this, 1);
    connect(bar[0], &QVantelButton::clicked, this, &QVantelAudioAuxiliaryPage::page1Clicked);
    connect(bar[2], &QVantelButton::clicked, this, &QVantelAudioAuxiliaryPage::page2Clicked);
    connect(bar[3], &QVantelButton::clicked, this, &QVantelAudioAuxiliaryPage::page3Clicked);
}

QVantelSwitch *QVantelAudioAuxiliaryPage::switchAt(int column, int row) const
{
    if (column < 0 || column >= ColumnCount || row < 0 || row >= RowCount)
        return nullptr;
    return m_switches[size_t(column)][size_t(row)];
}

QVantelButton *QVantelAudioAuxiliaryPage::columnButton(int column) const
{
    return column >= 0 && column < ColumnCount ? m_buttons[size_t(column)] : nullptr;
}

QLabel *QVantelAudioAuxiliaryPage::rowLabel(int row) const
{
    return row >= 0 && row < RowCount ? m_rowLabels[size_t(row)] : nullptr;
}

void QVantelAudioAuxiliaryPage::showEvent(QShowEvent *event)
{
    for (int column = 0; column < ColumnCount; ++column)
        m_buttons[size_t(column)]->setText(matrixSettings()->inputTitle(kInputs[column]));
    QVantelAudioWidget::showEvent(event);
}

void QVantelAudioAuxiliaryPage::switchClicked(int column, int row)
{
    matrixSettings()->setNodeOn(kInputs[column], kOutputs[row], switchAt(column, row)->isChecked());
}

void QVantelAudioAuxiliaryPage::matrixNodeChanged(QVantel::Inputs input, QVantel::Outputs output)
{
    const int column = columnOfInput(input);
    const int row = rowOfOutput(output);
    if (column < 0 || row < 0)
        return;
    switchAt(column, row)->setChecked(matrixSettings()->node(input, output).isOn());
}

void QVantelAudioAuxiliaryPage::matrixInputNameChanged(QVantel::Inputs input)
{
    const int column = columnOfInput(input);
    if (column >= 0)
        m_buttons[size_t(column)]->setText(matrixSettings()->inputTitle(input));
}

void QVantelAudioAuxiliaryPage::matrixControllerStateChanged(TComController *controller)
{
    if (controller->state() != TComController::StateReady)
        return;
    for (int input : kInputs)
        matrixInputNameChanged(QVantel::Inputs(input));
    for (int input : kInputs) {
        for (int output : kOutputs)
            matrixNodeChanged(QVantel::Inputs(input), QVantel::Outputs(output));
    }
}

void QVantelAudioAuxiliaryPage::setColumnUnavailable(int column)
{
    m_buttons[size_t(column)]->setEnabled(false);
    setColumnGreyed(column, true);
}

void QVantelAudioAuxiliaryPage::setColumnGreyed(int column, bool greyed)
{
    m_buttons[size_t(column)]->setPalette(greyed ? m_greyedPalette : m_normalPalette);
    // A locked switch cannot be switched, yet it shows how the unit routes the source: drawn
    // off, it would claim a routing the unit does not have.
    for (QVantelSwitch *toggle : m_switches[size_t(column)])
        toggle->setEnabled(!greyed);
    for (int output : kOutputs)
        matrixNodeChanged(QVantel::Inputs(kInputs[column]), QVantel::Outputs(output));
}

void QVantelAudioAuxiliaryPage::deviceStateChanged(TComDevice::DeviceState state)
{
    if (state == TComDevice::DeviceStateAll) {
        applyHardwareLayout();
        applyOperationMode(comDevice()->isExtendedMode());
        if (!TComDevice::hasOption(TComDevice::OptionRavenna)) {
            setColumnUnavailable(Aoip1);
            setColumnUnavailable(Aoip2);
        }
    } else if (state == TComDevice::OperationModeState) {
        applyOperationMode(comDevice()->isExtendedMode());
    }
}

void QVantelAudioAuxiliaryPage::audioControllerStateChanged(TComController *controller)
{
    if (controller->state() != TComController::StateReady)
        return;
    applyHardwareLayout();
    const TAudioSettings *audio = audioSettings();
    if (!audio->auxiliaryBoard()) {
        for (int column = Aux1; column <= Aoip2; ++column)
            setColumnUnavailable(column);
        return;
    }
    if (!TComDevice::hasOption(TComDevice::OptionHardware134))
        return;
    if (audio->inputSource() != TAudioSettings::SourceAnalog) {
        setColumnGreyed(Aux2, true);
    } else {
        setColumnGreyed(Aes1, true);
        setColumnGreyed(Aes2, true);
    }
    for (int pair = 0; pair < 3; ++pair)
        applyPairRule(pair);
}

void QVantelAudioAuxiliaryPage::audioControllerParamChanged(TComController *,
                                                            TAudioSettings::CtlrParam param)
{
    switch (param) {
    case TAudioSettings::InputSource: {
        const TAudioSettings *audio = audioSettings();
        if (!audio->auxiliaryBoard() || !TComDevice::hasOption(TComDevice::OptionHardware134))
            return;
        const bool analog = audio->inputSource() == TAudioSettings::SourceAnalog;
        setColumnGreyed(Aes1, analog);
        setColumnGreyed(Aes2, analog);
        setColumnGreyed(Aux2, !analog);
        break;
    }
    case TAudioSettings::AuxPair:
        applyPairRule(0);
        break;
    case TAudioSettings::AesPair:
        applyPairRule(1);
        break;
    case TAudioSettings::RavInPair:
        applyPairRule(2);
        break;
    default:
        break;
    }
}

void QVantelAudioAuxiliaryPage::applyPairRule(int pair)
{
    // Pairs are columns AUX 1/2, AES 1/2 and the two audio-over-IP inputs. In extended mode a
    // paired left member feeds only the left programme, a paired right member only the right.
    const int left = Aux1 + 2 * pair;
    const int right = left + 1;
    const bool standard = !comDevice()->isExtendedMode();
    const bool paired = pairFlag(pair);
    showSwitch(right, ProgramRow, standard || !paired);
    showSwitch(left, ProgramRightRow, !standard && !paired);
}

void QVantelAudioAuxiliaryPage::showSwitch(int column, int row, bool visible)
{
    // The compact unit's absent sources keep their switches hidden in every mode.
    const bool absent = TComDevice::hasOption(TComDevice::OptionHardware2)
                        && std::find(kCompactAbsent.begin(), kCompactAbsent.end(), column)
                               != kCompactAbsent.end();
    switchAt(column, row)->setVisible(visible && !absent);
}

void QVantelAudioAuxiliaryPage::applyHardwareLayout()
{
    if (!TComDevice::hasOption(TComDevice::OptionHardware2))
        return;
    for (int column : kCompactAbsent) {
        m_buttons[size_t(column)]->hide();
        for (QVantelSwitch *toggle : m_switches[size_t(column)])
            toggle->hide();
    }
    m_rowLabels[CoordRow]->hide();
    m_buttons[Aoip1]->move(228, 138);
    switchAt(Aoip1, ProgramRow)->move(247, 216);
    switchAt(Aoip1, CoordRow)->move(247, 276);
    m_buttons[Aoip2]->move(330, 138);
    switchAt(Aoip2, ProgramRow)->move(349, 216);
    switchAt(Aoip2, CoordRow)->move(349, 276);
    m_rowLabels[ProgramRow]->move(428, 216);
    m_rowLabels[ProgramRightRow]->move(428, 276);
}

void QVantelAudioAuxiliaryPage::applyOperationMode(bool extended)
{
    if (!extended) {
        for (int column = 0; column < ColumnCount; ++column) {
            switchAt(column, ProgramRightRow)->hide();
            QVantelSwitch *coord = switchAt(column, CoordRow);
            coord->move(coord->x(), 276);
        }
        m_rowLabels[ProgramRow]->setText(tr("Prog."));
        m_rowLabels[ProgramRightRow]->setText(tr("Coord."));
        m_rowLabels[CoordRow]->hide();
    } else {
        for (int column : {Usb, Aux2, Aes2, Aoip2})
            showSwitch(column, ProgramRightRow, true);
        for (int pair = 0; pair < 3; ++pair)
            showSwitch(Aux1 + 2 * pair, ProgramRightRow, !pairFlag(pair));
        // Only units whose AUX 2 and AES inputs share a connection get the third row back in
        // its own place.
        if (TComDevice::hasOption(TComDevice::OptionHardware134)) {
            for (int column = 0; column < ColumnCount; ++column) {
                QVantelSwitch *coord = switchAt(column, CoordRow);
                coord->move(coord->x(), 336);
            }
        }
        m_rowLabels[ProgramRow]->setText(tr("Prog\nLeft"));
        m_rowLabels[ProgramRightRow]->setText(tr("Prog\nRight"));
        m_rowLabels[CoordRow]->setText(tr("Coord."));
        m_rowLabels[CoordRow]->show();
    }
    for (int pair = 0; pair < 3; ++pair)
        showSwitch(Aux2 + 2 * pair, ProgramRow, !extended || !pairFlag(pair));
}

void QVantelAudioAuxiliaryPage::resetView()
{
    for (int column = 0; column < ColumnCount; ++column) {
        QVantelButton *button = m_buttons[size_t(column)];
        button->setPalette(m_normalPalette);
        button->setEnabled(true);
        button->show();
        for (QVantelSwitch *toggle : m_switches[size_t(column)]) {
            toggle->setEnabled(true);
            toggle->show();
            toggle->setCheckable(true);
        }
    }
    m_buttons[Aoip1]->move(534, 138);
    switchAt(Aoip1, ProgramRow)->move(553, 216);
    switchAt(Aoip1, CoordRow)->move(553, 276);
    m_buttons[Aoip2]->move(636, 138);
    switchAt(Aoip2, ProgramRow)->move(655, 216);
    switchAt(Aoip2, CoordRow)->move(655, 276);
    m_rowLabels[ProgramRow]->move(734, 216);
    m_rowLabels[ProgramRightRow]->move(734, 276);
}

void QVantelAudioAuxiliaryPage::buttonClicked(int column)
{
    m_keyboard = AudioPageStyle::openRenameKeyboard(
        this, m_buttons[size_t(column)], [this](QVantelVirtual *keyboard) {
            popupClosed(keyboard);
        });
}

void QVantelAudioAuxiliaryPage::popupClosed(QVantelVirtual *keyboard)
{
    if (keyboard->isCancelled())
        return;
    for (int column = 0; column < ColumnCount; ++column) {
        if (keyboard->item() == m_buttons[size_t(column)])
            matrixSettings()->setInputName(kInputs[column], keyboard->lineEdit()->text());
    }
}

void QVantelAudioAuxiliaryPage::page1Clicked()
{
    emit pageActivated(QVantel::AudioInputPage);
}

void QVantelAudioAuxiliaryPage::page2Clicked()
{
    emit pageActivated(QVantel::AudioOutputPage);
}

void QVantelAudioAuxiliaryPage::page3Clicked()
{
    emit pageActivated(QVantel::AudioPage);
}
