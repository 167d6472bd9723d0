#include "pages/qvantelaudiooutputpage.h"

#include "model/firmwareversion.h"
#include "pages/audiopagestyle.h"
#include "widgets/qvantelbutton.h"
#include "widgets/qvantelknob.h"
#include "widgets/qvantelpair.h"
#include "widgets/qvantelslidesimple.h"
#include "widgets/qvantelswitch.h"

#include <QFrame>
#include <QLabel>
#include <QScrollBar>
#include <QSignalBlocker>

namespace {

// Firmware from which the unit routes the headphone-4 mix to its outputs.
constexpr quint32 kHeadphone4Routing = kFirmware1_14;

// The output of each row.
constexpr int kOutputs[] = {QVantel::OutputUsb,
                            QVantel::OutputLine1,
                            QVantel::OutputLine2,
                            QVantel::OutputAoip1,
                            QVantel::OutputAoip2};
constexpr int kRowY[] = {3, 71, 167, 139, 207};
constexpr int kLabelY[] = {0, 68, 164, 136, 204};
constexpr int kSwitchX[] = {126, 232, 338, 444, 550};

bool isRightRow(int row)
{
    return row == QVantelAudioOutputPage::Line2Row || row == QVantelAudioOutputPage::Aoip2Row;
}

int rowOfOutput(int output)
{
    for (int row = 0; row < QVantelAudioOutputPage::RowCount; ++row) {
        if (kOutputs[row] == output)
            return row;
    }
    return -1;
}

QFrame *separator(QWidget *parent, const QRect &geometry)
{
    auto *frame = new QFrame(parent);
    frame->setFrameShape(QFrame::HLine);
    frame->setFrameShadow(QFrame::Sunken);
    frame->setGeometry(geometry);
    return frame;
}

} // namespace

QVantelAudioOutputPage::QVantelAudioOutputPage(QWidget *parent)
    : QVantelAudioWidget(parent)
{
    buildUi();

    connect(comDevice(),
            &TComDevice::deviceStateChanged,
            this,
            &QVantelAudioOutputPage::deviceStateChanged);
    TAudioSettings *audio = audioSettings();
    connect(audio,
            &TComController::controllerStateChanged,
            this,
            &QVantelAudioOutputPage::audioControllerStateChanged);
    connect(audio,
            &TAudioSettings::controllerParamChanged,
            this,
            &QVantelAudioOutputPage::audioControllerParamChanged);
    TMatrixSettings *matrix = matrixSettings();
    connect(matrix,
            &TComController::controllerStateChanged,
            this,
            &QVantelAudioOutputPage::matrixControllerStateChanged);
    connect(
        matrix, &TMatrixSettings::nodeChanged, this, &QVantelAudioOutputPage::matrixNodeChanged);
}

QVantelAudioOutputPage::~QVantelAudioOutputPage() = default;

void QVantelAudioOutputPage::buildUi()
{
    using AudioPageStyle::makeLabel;
    const Qt::Alignment headerAlignment = Qt::AlignHCenter | Qt::AlignTop;
    makeLabel(tr("Level"), this, QRect(25, 90, 106, 40), 14, headerAlignment);
    makeLabel(tr("Program\nreturn"), this, QRect(139, 90, 106, 40), 14, headerAlignment);
    makeLabel(tr("Coord.\nreturn"), this, QRect(245, 90, 106, 40), 14, headerAlignment);
    makeLabel(tr("Program"), this, QRect(351, 90, 106, 40), 14, headerAlignment);
    makeLabel(tr("Coord."), this, QRect(457, 90, 106, 40), 14, headerAlignment);
    m_headphone4Header
        = makeLabel(tr("Headphone\n4"), this, QRect(563, 90, 106, 40), 14, headerAlignment);
    m_headphone4Header->setObjectName(QStringLiteral("headphone4Header"));

    m_scrollArea = new QVantelSlideSimple(this);
    m_scrollArea->setObjectName(QStringLiteral("scrollArea"));
    m_scrollArea->setGeometry(36, 130, 758, 266);
    QWidget *content = m_scrollArea->inner();
    content->resize(746, 244);

    const Qt::Alignment rowAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    const QString names[]
        = {tr("USB"), tr("LINE 1"), tr("LINE 2"), tr("RAVENNA 1"), tr("RAVENNA 2")};
    for (int row = 0; row < RowCount; ++row) {
        QLabel *label
            = makeLabel(names[row], content, QRect(640, kLabelY[row], 106, 40), 14, rowAlignment);
        label->setObjectName(QStringLiteral("rowLabel%1").arg(row));
        m_rowLabels[size_t(row)] = label;
        for (int column = 0; column < ColumnCount; ++column) {
            if (row == UsbRow && column == Headphone4)
                continue;
            auto *toggle = new QVantelSwitch(content);
            toggle->setObjectName(QStringLiteral("switch%1_%2").arg(row).arg(column));
            toggle->setCheckable(true);
            toggle->setGeometry(kSwitchX[column], kRowY[row], 60, 34);
            connect(toggle, &QVantelSwitch::clicked, this, [this, row, column] {
                switchClicked(row, column);
            });
            m_switches[size_t(row)][size_t(column)] = toggle;
        }
    }

    // A row's switches write its output's row.
    MatrixRowLock *lock = AudioPageStyle::makeRowLock(
        this, [this](const std::vector<MatrixRowLock::RowId> &missing) {
            QStringList names;
            for (const MatrixRowLock::RowId &id : missing)
                names << m_rowLabels[size_t(rowOfOutput(id.index))]->text();
            return tr("The unit did not send its routing of %1.")
                .arg(MatrixRowLock::listText(names));
        });
    for (int row = 0; row < RowCount; ++row) {
        for (QVantelSwitch *toggle : m_switches[size_t(row)]) {
            if (toggle)
                lock->addControl(toggle, {{TMatrixSettings::Row::Output, kOutputs[row]}});
        }
    }

    const auto mark = [&](const QString &text, const QRect &geometry, Qt::GlobalColor colour) {
        QLabel *label = makeLabel(text, content, geometry, 14, rowAlignment);
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, colour);
        label->setPalette(palette);
        return label;
    };
    m_line1Mark = mark(tr("L"), QRect(700, 68, 20, 40), Qt::green);
    m_line2Mark = mark(tr("R"), QRect(700, 164, 20, 40), Qt::red);
    m_line2Mark->hide();
    m_aoip1Mark = mark(tr("L"), QRect(736, 136, 20, 40), Qt::green);
    m_aoip1Mark->hide();
    m_aoip2Mark = mark(tr("R"), QRect(736, 204, 20, 40), Qt::red);
    m_aoip2Mark->hide();

    m_separators[0] = separator(content, QRect(120, 54, 496, 1));
    m_separators[1] = separator(content, QRect(120, 143, 496, 1));
    m_separators[1]->hide();
    m_separators[2] = separator(content, QRect(120, 122, 496, 1));
    m_separators[3] = separator(content, QRect(120, 190, 496, 1));

    const auto knob = [&](const char *name, int y) {
        auto *levelKnob = new QVantelKnob(false, content, false);
        levelKnob->setObjectName(QLatin1String(name));
        levelKnob->setGeometry(0, y, 84, 84);
        levelKnob->setFont(AudioPageStyle::pixelFont(this, 22));
        levelKnob->setMinimum(4, QString());
        levelKnob->setMaximum(22, QString());
        levelKnob->setValue(16);
        return levelKnob;
    };
    m_knob1 = knob("levelKnob1", 46);
    m_knob2 = knob("levelKnob2", 143);
    m_knob2->hide();
    connect(m_knob1, &QVantelKnob::valueChanged, this, [](int value) {
        audioSettings()->setLineOutputLevel(value, true);
    });
    connect(m_knob2, &QVantelKnob::valueChanged, this, [](int value) {
        audioSettings()->setLineOutput2Level(value, true);
    });

    const auto pair = [&](const char *name, int y) {
        auto *button = new QVantelPair(content);
        button->setObjectName(QLatin1String(name));
        button->setCheckable(true);
        button->setGeometry(620, y, 106, 40);
        connect(button, &QVantelPair::clicked, this, [this, button] { pairClicked(button); });
        return button;
    };
    m_linePairButton = pair("linePairButton", 122);
    m_aoipPairButton = pair("aoipPairButton", 190);

    const auto bar = AudioPageStyle::makeNavigationBar(this, 2);
    connect(bar[0], &QVantelButton::clicked, this, &QVantelAudioOutputPage::page1Clicked);
    connect(bar[1], &QVantelButton::clicked, this, &QVantelAudioOutputPage::page2Clicked);
    connect(bar[3], &QVantelButton::clicked, this, &QVantelAudioOutputPage::page3Clicked);
}

QVantelSwitch *QVantelAudioOutputPage::switchAt(int row, int column) const
{
    if (row < 0 || row >= RowCount || column < 0 || column >= ColumnCount)
        return nullptr;
    return m_switches[size_t(row)][size_t(column)];
}

QLabel *QVantelAudioOutputPage::rowLabel(int row) const
{
    return row >= 0 && row < RowCount ? m_rowLabels[size_t(row)] : nullptr;
}

QVantelKnob *QVantelAudioOutputPage::levelKnob(int line) const
{
    return line == 1 ? m_knob1 : line == 2 ? m_knob2 : nullptr;
}

void QVantelAudioOutputPage::showEvent(QShowEvent *event)
{
    const bool dante = TComDevice::hasOption(TComDevice::OptionRavenna2);
    m_rowLabels[Aoip1Row]->setText(dante ? tr("DANTE 1") : tr("RAVENNA 1"));
    m_rowLabels[Aoip2Row]->setText(dante ? tr("DANTE 2") : tr("RAVENNA 2"));
    QVantelAudioWidget::showEvent(event);
}

int QVantelAudioOutputPage::inputOf(int row, int column) const
{
    const bool right = isRightRow(row) && comDevice()->isExtendedMode();
    switch (column) {
    case ProgramReturn:
        return right ? QVantel::InputProgramReturnRight : QVantel::InputProgramReturn;
    case CoordReturn:
        return QVantel::InputCoordReturn;
    case Program:
        return right ? QVantel::InputProgramRight : QVantel::InputProgram;
    case Coord:
        return QVantel::InputCoord;
    default:
        return row == Line1Row || row == Aoip1Row ? QVantel::InputHeadphone4Left
                                                  : QVantel::InputHeadphone4Right;
    }
}

void QVantelAudioOutputPage::switchClicked(int row, int column)
{
    matrixSettings()->setNodeOn(
        inputOf(row, column), kOutputs[row], switchAt(row, column)->isChecked());
}

void QVantelAudioOutputPage::pairClicked(QVantelPair *button)
{
    if (button == m_linePairButton)
        audioSettings()->setLinePair(button->isChecked(), true);
    else
        audioSettings()->setRavOuPair(button->isChecked(), true);
}

void QVantelAudioOutputPage::matrixNodeChanged(QVantel::Inputs input, QVantel::Outputs output)
{
    const int row = rowOfOutput(output);
    if (row < 0)
        return;
    int column = -1;
    switch (input) {
    case QVantel::InputProgramReturn:
    case QVantel::InputProgramReturnRight:
        column = ProgramReturn;
        break;
    case QVantel::InputCoordReturn:
        column = CoordReturn;
        break;
    case QVantel::InputProgram:
    case QVantel::InputProgramRight:
        column = Program;
        break;
    case QVantel::InputCoord:
        column = Coord;
        break;
    case QVantel::InputHeadphone4Left:
        if (row == Line1Row || row == Aoip1Row)
            column = Headphone4;
        break;
    case QVantel::InputHeadphone4Right:
        if (row == Line2Row || row == Aoip2Row)
            column = Headphone4;
        break;
    default:
        break;
    }
    if (QVantelSwitch *toggle = switchAt(row, column))
        toggle->setChecked(matrixSettings()->node(input, output).isOn());
}

void QVantelAudioOutputPage::matrixControllerStateChanged(TComController *controller)
{
    if (controller->state() != TComController::StateReady)
        return;
    for (const auto &[first, second] :
         {std::pair{QVantel::InputProgramReturn, QVantel::InputCoordReturn},
          std::pair{QVantel::InputProgram, QVantel::InputCoord}}) {
        for (int output : kOutputs) {
            matrixNodeChanged(first, QVantel::Outputs(output));
            matrixNodeChanged(second, QVantel::Outputs(output));
        }
    }
    for (const auto &[input, output] :
         {std::pair{QVantel::InputHeadphone4Left, QVantel::OutputLine1},
          std::pair{QVantel::InputHeadphone4Right, QVantel::OutputLine2},
          std::pair{QVantel::InputHeadphone4Left, QVantel::OutputAoip1},
          std::pair{QVantel::InputHeadphone4Right, QVantel::OutputAoip2}}) {
        matrixNodeChanged(input, output);
    }
}

void QVantelAudioOutputPage::arrangeRows(bool showLine2, bool showHeadphone4)
{
    m_knob2->setVisible(showLine2);
    m_rowLabels[Line2Row]->setVisible(showLine2);
    m_separators[1]->setVisible(showLine2);
    for (int column = ProgramReturn; column <= Coord; ++column)
        switchAt(Line2Row, column)->setVisible(showLine2);
    switchAt(Line2Row, Headphone4)->setVisible(showLine2 && showHeadphone4);

    m_headphone4Header->setVisible(showHeadphone4);
    for (int row : {Line1Row, Aoip1Row, Aoip2Row})
        switchAt(row, Headphone4)->setVisible(showHeadphone4);

    const int contentWidth = showHeadphone4 ? 746 : 640;
    const int separatorWidth = showHeadphone4 ? 496 : 390;
    const int areaWidth = showHeadphone4 ? 758 : 652;
    const int labelX = showHeadphone4 ? 640 : 534;
    for (QLabel *label : m_rowLabels)
        label->move(labelX, label->y());
    for (QFrame *frame : m_separators)
        frame->resize(separatorWidth, frame->height());
    m_scrollArea->resize(areaWidth, m_scrollArea->height());

    const auto moveY = [](QWidget *widget, int y) { widget->move(widget->x(), y); };
    moveY(m_knob1, showLine2 ? 59 : 46);
    moveY(m_rowLabels[Line1Row], showLine2 ? 82 : 68);
    moveY(m_separators[0], showLine2 ? 61 : 54);
    moveY(m_rowLabels[Aoip1Row], showLine2 ? 246 : 136);
    moveY(m_separators[2], showLine2 ? 225 : 122);
    moveY(m_rowLabels[Aoip2Row], showLine2 ? 328 : 204);
    moveY(m_separators[3], showLine2 ? 307 : 190);
    const std::pair<int, std::pair<int, int>> switchRows[]
        = {{Line1Row, {85, 71}}, {Aoip1Row, {249, 139}}, {Aoip2Row, {331, 207}}};
    for (const auto &[row, ys] : switchRows) {
        for (QVantelSwitch *toggle : m_switches[size_t(row)]) {
            if (toggle)
                moveY(toggle, showLine2 ? ys.first : ys.second);
        }
    }
    if (showLine2) {
        moveY(m_line1Mark, 82);
        moveY(m_aoip1Mark, 246);
        moveY(m_aoip2Mark, 328);
        moveY(m_aoipPairButton, 286);
    }
    QWidget *content = m_scrollArea->inner();
    content->resize(contentWidth, showLine2 ? 368 : 244);
}

void QVantelAudioOutputPage::applyHardwareLayout()
{
    if (TComDevice::hasOption(TComDevice::OptionHardware2)) {
        m_rowLabels[UsbRow]->hide();
        for (int column = ProgramReturn; column <= Coord; ++column)
            switchAt(UsbRow, column)->hide();
        arrangeRows(false, false);
    } else {
        arrangeRows(false, firmwareAtLeast(kHeadphone4Routing));
    }
}

void QVantelAudioOutputPage::applyOperationMode(bool extended)
{
    const TAudioSettings *audio = audioSettings();
    m_linePairButton->setVisible(extended);
    m_line1Mark->setVisible(extended && audio->linePair());
    m_line2Mark->setVisible(extended && audio->linePair());
    if (TComDevice::hasOption(TComDevice::OptionRavenna)) {
        m_aoipPairButton->setVisible(extended);
        m_aoip1Mark->setVisible(extended && audio->ravOuPair());
        m_aoip2Mark->setVisible(extended && audio->ravOuPair());
    }
    applyPairLocks(extended);
}

void QVantelAudioOutputPage::applyPairLocks(bool extended)
{
    // The right member of a pair is locked only while the pair is on in the extended mode; in
    // the standard mode it is free whatever the pair flag says.
    const TAudioSettings *audio = audioSettings();
    const bool line2 = !extended || !audio->linePair();
    m_knob2->setEnabled(line2);
    for (QVantelSwitch *toggle : m_switches[Line2Row])
        toggle->setEnabled(line2);
    if (TComDevice::hasOption(TComDevice::OptionRavenna) && !m_aoipUnavailable) {
        const bool aoip2 = !extended || !audio->ravOuPair();
        for (QVantelSwitch *toggle : m_switches[Aoip2Row])
            toggle->setEnabled(aoip2);
    }
}

void QVantelAudioOutputPage::setAoipRowsUnavailable()
{
    m_aoipUnavailable = true;
    const QPalette greyed = AudioPageStyle::greyed(palette());
    m_rowLabels[Aoip1Row]->setPalette(greyed);
    m_rowLabels[Aoip2Row]->setPalette(greyed);
    // A switch that cannot be switched is drawn locked, as on the auxiliary page, and still shows
    // how the unit routes the output.
    for (int row : {Aoip1Row, Aoip2Row}) {
        for (QVantelSwitch *toggle : m_switches[size_t(row)])
            toggle->setEnabled(false);
    }
}

void QVantelAudioOutputPage::deviceStateChanged(TComDevice::DeviceState state)
{
    if (state == TComDevice::DeviceStateAll) {
        applyHardwareLayout();
        if (TComDevice::hasOption(TComDevice::OptionRavenna)) {
            m_aoipPairButton->setVisible(comDevice()->isExtendedMode());
        } else {
            setAoipRowsUnavailable();
            m_aoipPairButton->hide();
        }
        if (TComDevice::hasOption(TComDevice::OptionHardware134))
            m_linePairButton->setVisible(comDevice()->isExtendedMode());
    } else if (state == TComDevice::OperationModeState) {
        applyOperationMode(comDevice()->isExtendedMode());
    }
}

void QVantelAudioOutputPage::showLineLevel(QVantelKnob *knob, int level, int output)
{
    // Shown, never written back: the knob clamps what it cannot show, the gain follows the
    // device's own value (worked out wide, so that no level the unit reports overflows).
    {
        const QSignalBlocker blocker(knob);
        knob->setValue(level);
    }
    matrixSettings()->setOutputGain(output, float(double(level) - double(knob->maximum())));
}

void QVantelAudioOutputPage::audioControllerStateChanged(TComController *controller)
{
    if (controller->state() != TComController::StateReady)
        return;
    const TAudioSettings *audio = audioSettings();
    const bool isExtended = comDevice()->isExtendedMode();
    const bool ravenna = TComDevice::hasOption(TComDevice::OptionRavenna);
    applyHardwareLayout();
    if (!audio->auxiliaryBoard())
        setAoipRowsUnavailable();
    else if (TComDevice::hasOption(TComDevice::OptionHardware134))
        arrangeRows(true, firmwareAtLeast(kHeadphone4Routing));

    showLineLevel(m_knob1, audio->lineOutputLevel(), QVantel::OutputLine1);
    applyPairLocks(isExtended);
    showLineLevel(m_knob2, audio->lineOutput2Level(), QVantel::OutputLine2);

    m_linePairButton->setVisible(isExtended);
    {
        const QSignalBlocker blocker(m_linePairButton);
        m_linePairButton->setChecked(audio->linePair());
    }
    m_line1Mark->setVisible(isExtended && audio->linePair());
    m_line2Mark->setVisible(isExtended && audio->linePair());

    m_aoipPairButton->setVisible(ravenna && isExtended);
    {
        const QSignalBlocker blocker(m_aoipPairButton);
        m_aoipPairButton->setChecked(audio->ravOuPair());
    }
    if (ravenna) {
        m_aoip1Mark->setVisible(isExtended && audio->ravOuPair());
        m_aoip2Mark->setVisible(isExtended && audio->ravOuPair());
    }
}

void QVantelAudioOutputPage::audioControllerParamChanged(TComController *,
                                                         TAudioSettings::CtlrParam param)
{
    const TAudioSettings *audio = audioSettings();
    const bool isExtended = comDevice()->isExtendedMode();
    switch (param) {
    case TAudioSettings::LineOutputLevel:
        showLineLevel(m_knob1, audio->lineOutputLevel(), QVantel::OutputLine1);
        break;
    case TAudioSettings::LineOutput2Level:
        showLineLevel(m_knob2, audio->lineOutput2Level(), QVantel::OutputLine2);
        break;
    case TAudioSettings::LinePair: {
        {
            const QSignalBlocker blocker(m_linePairButton);
            m_linePairButton->setChecked(audio->linePair());
        }
        applyPairLocks(isExtended);
        m_line1Mark->setVisible(isExtended && audio->linePair());
        m_line2Mark->setVisible(isExtended && audio->linePair());
        break;
    }
    case TAudioSettings::RavOuPair: {
        {
            const QSignalBlocker blocker(m_aoipPairButton);
            m_aoipPairButton->setChecked(audio->ravOuPair());
        }
        if (TComDevice::hasOption(TComDevice::OptionRavenna)) {
            m_aoip1Mark->setVisible(isExtended && audio->ravOuPair());
            m_aoip2Mark->setVisible(isExtended && audio->ravOuPair());
        }
        applyPairLocks(isExtended);
        break;
    }
    default:
        break;
    }
}

void QVantelAudioOutputPage::resetView()
{
    m_rowLabels[Aoip1Row]->setPalette(QPalette());
    m_rowLabels[Aoip2Row]->setPalette(QPalette());
    m_rowLabels[UsbRow]->show();
    for (int column = ProgramReturn; column <= Coord; ++column)
        switchAt(UsbRow, column)->show();
    m_aoipUnavailable = false;
    for (int row : {Aoip1Row, Aoip2Row}) {
        for (QVantelSwitch *toggle : m_switches[size_t(row)])
            toggle->setCheckable(true);
    }
    // A pair or a missing module of the last unit locks nothing of the next one.
    m_knob2->setEnabled(true);
    for (int row : {Line2Row, Aoip1Row, Aoip2Row}) {
        for (QVantelSwitch *toggle : m_switches[size_t(row)])
            toggle->setEnabled(true);
    }
    arrangeRows(false, true);
    // A new session opens the rows at the top, whatever the last one scrolled to.
    m_scrollArea->verticalScrollBar()->setValue(0);
}

void QVantelAudioOutputPage::page1Clicked()
{
    emit pageActivated(QVantel::AudioInputPage);
}

void QVantelAudioOutputPage::page2Clicked()
{
    emit pageActivated(QVantel::AudioAuxiliaryPage);
}

void QVantelAudioOutputPage::page3Clicked()
{
    emit pageActivated(QVantel::AudioPage);
}
