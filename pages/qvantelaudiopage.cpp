#include "pages/qvantelaudiopage.h"

#include "model/firmwareversion.h"
#include "pages/audiopagestyle.h"
#include "widgets/qvantelbars.h"
#include "widgets/qvantelbutton.h"
#include "widgets/qvantelknob.h"
#include "widgets/qvantellazyicon.h"
#include "widgets/qvantellocalize.h"
#include "widgets/qvantelpair.h"

#include <QLabel>
#include <QSignalBlocker>

namespace {

const QColor kMasterColour(255, 153, 204);

using QVantel::Input1;
using QVantel::Input2;
using QVantel::Input3;
using QVantel::Input4;
using QVantel::InputAes1;
using QVantel::InputAes2;
using QVantel::InputAoip1;
using QVantel::InputAoip2;
using QVantel::InputAux1;
using QVantel::InputAux2;
using QVantel::InputUsb;

// Shows a model value on a knob without the knob reporting it as a turn.
void showValue(QVantelKnob *knob, int value)
{
    const QSignalBlocker blocker(knob);
    knob->setValue(value);
}

void showChecked(QAbstractButton *button, bool checked)
{
    const QSignalBlocker blocker(button);
    button->setChecked(checked);
}

} // namespace

QVantelAudioPage::QVantelAudioPage(QWidget *parent)
    : QVantelAudioWidget(parent)
{
    buildUi();

    connect(
        comDevice(), &TComDevice::deviceStateChanged, this, &QVantelAudioPage::deviceStateChanged);
    TAudioSettings *audio = audioSettings();
    connect(audio,
            &TComController::controllerStateChanged,
            this,
            &QVantelAudioPage::audioControllerStateChanged);
    connect(audio,
            &TAudioSettings::controllerParamChanged,
            this,
            &QVantelAudioPage::audioControllerParamChanged);
    TMatrixSettings *matrix = matrixSettings();
    connect(matrix,
            &TComController::controllerStateChanged,
            this,
            &QVantelAudioPage::matrixControllerStateChanged);
    connect(matrix,
            &TMatrixSettings::matrixOptionsChanged,
            this,
            &QVantelAudioPage::matrixOptionsChanged);
    connect(matrix,
            &TMatrixSettings::inputGainChanged,
            this,
            &QVantelAudioPage::matrixInputGainChanged);
    connect(matrix,
            &TMatrixSettings::outputGainChanged,
            this,
            &QVantelAudioPage::matrixOutputGainChanged);
}

QVantelAudioPage::~QVantelAudioPage() = default;

QVantelKnob *QVantelAudioPage::makeKnob(const char *name, int x, int y, int minimum, int maximum)
{
    auto *knob = new QVantelKnob(false, this, false);
    knob->setObjectName(QLatin1String(name));
    knob->setGeometry(x, y, 84, 84);
    knob->setFont(AudioPageStyle::pixelFont(this, 22));
    knob->setMinimum(minimum);
    knob->setMaximum(maximum);
    knob->setValue(0);
    return knob;
}

QVantelBars *QVantelAudioPage::makeMeter(int input, int x, int y)
{
    auto *meter = new QVantelBars(this);
    meter->setObjectName(QStringLiteral("meter%1").arg(input));
    meter->setFlat(true);
    meter->setGeometry(x, y, 10, 92);
    meter->setLevel(meter->maximum(), true);
    m_meters[input] = meter;
    return meter;
}

QVantelPair *QVantelAudioPage::makePair(const char *name, int x, int y)
{
    auto *pair = new QVantelPair(this);
    pair->setObjectName(QLatin1String(name));
    pair->setCheckable(true);
    pair->setGeometry(x, y, 50, 40);
    connect(pair, &QVantelPair::clicked, this, [this, pair] { pairClicked(pair); });
    return pair;
}

void QVantelAudioPage::buildUi()
{
    using AudioPageStyle::makeLabel;
    const auto named = [](QLabel *label, const char *name) {
        label->setObjectName(QLatin1String(name));
        return label;
    };

    makeLabel(tr("Analog Input Gains"),
              this,
              QRect(26, 100, 400, 30),
              20,
              Qt::AlignLeft | Qt::AlignVCenter);

    struct FirstRow
    {
        QVantelKnob **knob;
        QLabel **label;
        const char *knobName;
        const char *labelName;
        int input; // display name and meter
        int x;
        int minimum;
        int maximum;
    };
    const FirstRow firstRow[] = {
        {&m_input1Knob, &m_input1Label, "input1Knob", "input1Label", Input1, 26, 0, 50},
        {&m_input2Knob, &m_input2Label, "input2Knob", "input2Label", Input2, 138, 0, 50},
        {&m_input3GainKnob, &m_input3Label, "input3GainKnob", "input3Label", Input3, 250, 0, 50},
        {&m_input4GainKnob, &m_input4Label, "input4GainKnob", "input4Label", Input4, 362, 0, 50},
        {&m_usbKnob, &m_usbLabel, "usbKnob", "usbLabel", InputUsb, 474, -30, 16},
        {&m_aux1Knob, &m_aux1Label, "aux1Knob", "aux1Label", InputAux1, 586, -30, 16},
        {&m_aux2Knob, &m_aux2Label, "aux2Knob", "aux2Label", InputAux2, 698, -30, 16},
    };
    for (const FirstRow &row : firstRow) {
        *row.knob = makeKnob(row.knobName, row.x, 171, row.minimum, row.maximum);
        *row.label = named(
            makeLabel(QVantelLocalize::inputName(row.input), this, QRect(row.x, 139, 84, 20)),
            row.labelName);
        makeMeter(row.input, row.x - 12, 167);
    }
    m_input3LevelKnob = makeKnob("input3LevelKnob", 250, 171, -30, 16);
    m_input3LevelKnob->hide();
    m_input4LevelKnob = makeKnob("input4LevelKnob", 362, 171, -30, 16);
    m_input4LevelKnob->hide();

    m_pair12Button = makePair("pair12Button", 100, 125);
    m_pair34Button = makePair("pair34Button", 324, 125);
    m_auxPairButton = makePair("auxPairButton", 660, 125);

    makeLabel(tr("Digital Input Gains"),
              this,
              QRect(26, 276, 400, 30),
              20,
              Qt::AlignLeft | Qt::AlignVCenter);
    m_aesLabel = named(makeLabel(tr("AES"), this, QRect(26, 315, 190, 20)), "aesLabel");
    m_aes1Knob = makeKnob("aes1Knob", 26, 347, -30, 16);
    m_aes1Label = named(makeLabel(tr("1"), this, QRect(26, 432, 84, 20)), "aes1Label");
    makeMeter(InputAes1, 14, 343);
    m_aes2Knob = makeKnob("aes2Knob", 138, 347, -30, 16);
    m_aes2Label = named(makeLabel(tr("2"), this, QRect(138, 432, 84, 20)), "aes2Label");
    makeMeter(InputAes2, 126, 343);
    m_aesPairButton = makePair("aesPairButton", 100, 430);

    m_aoipLabel = named(makeLabel(tr("RAVENNA"), this, QRect(250, 315, 190, 20)), "aoipLabel");
    m_aoip1Knob = makeKnob("aoip1Knob", 250, 347, -30, 16);
    m_aoip1Label = named(makeLabel(tr("1"), this, QRect(250, 432, 84, 20)), "aoip1Label");
    makeMeter(InputAoip1, 238, 343);
    m_aoip2Knob = makeKnob("aoip2Knob", 362, 347, -30, 16);
    m_aoip2Label = named(makeLabel(tr("2"), this, QRect(362, 432, 84, 20)), "aoip2Label");
    makeMeter(InputAoip2, 350, 343);
    m_aoipPairButton = makePair("aoipPairButton", 324, 430);

    QLabel *master = makeLabel(tr("Master Gain"), this, QRect(474, 276, 196, 30), 20);
    QPalette masterPalette = master->palette();
    masterPalette.setColor(QPalette::WindowText, kMasterColour);
    master->setPalette(masterPalette);
    m_programKnob = makeKnob("programKnob", 474, 347, -17, 12);
    m_coordKnob = makeKnob("coordKnob", 586, 347, -17, 12);
    const std::pair<QVantelKnob *, int> masters[]
        = {{m_programKnob, QVantel::InputProgram}, {m_coordKnob, QVantel::InputCoord}};
    for (const auto &[knob, input] : masters) {
        knob->setMinimum(-17, tr("Off"));
        knob->setMaximum(12);
        knob->addValue(-13, QStringLiteral("-20"));
        knob->addValue(-14, QStringLiteral("-30"));
        knob->addValue(-15, QStringLiteral("-40"));
        knob->addValue(-16, QStringLiteral("-50"));
        knob->addValue(-17, QStringLiteral("-120"));
        knob->setPalette(masterPalette);
        QLabel *label
            = makeLabel(QVantelLocalize::inputName(input), this, QRect(knob->x(), 315, 84, 20));
        label->setPalette(masterPalette);
        connect(knob, &QVantelKnob::valueChanged, this, [this, knob = knob](int value) {
            masterKnobTurned(knob, value);
        });
    }

    m_inputSettingsButton = new QVantelButton(this);
    m_inputSettingsButton->setObjectName(QStringLiteral("inputSettingsButton"));
    m_inputSettingsButton->setGeometry(692, 407, 98, 66);
    m_inputSettingsButton->setBorderWidth(4);
    QPalette buttonPalette = m_inputSettingsButton->palette();
    buttonPalette.setBrush(QPalette::All, QPalette::Window, QBrush(Qt::white));
    buttonPalette.setBrush(QPalette::All, QPalette::WindowText, QBrush(Qt::black));
    m_inputSettingsButton->setPalette(buttonPalette);
    m_inputSettingsButton->setIcon(
        QVantelLazyIcon::icon(QStringLiteral(":/images/input-settings.png")));
    connect(m_inputSettingsButton, &QVantelButton::clicked, this, &QVantelAudioPage::page1Clicked);

    // Each knob writes the key of its own value: the gain knob the gain, the line-level knob
    // the level, whatever the pad flag says at the moment of the turn.
    connect(m_input1Knob, &QVantelKnob::valueChanged, this, &QVantelAudioPage::knob1ValueChanged);
    connect(m_input2Knob, &QVantelKnob::valueChanged, this, &QVantelAudioPage::knob2ValueChanged);
    connect(m_input3GainKnob, &QVantelKnob::valueChanged, this, [](int value) {
        audioSettings()->setInput3Gain(value, true);
    });
    connect(m_input3LevelKnob, &QVantelKnob::valueChanged, this, [](int value) {
        audioSettings()->setInput3Level(value, true);
    });
    connect(m_input4GainKnob, &QVantelKnob::valueChanged, this, [](int value) {
        audioSettings()->setInput4Gain(value, true);
    });
    connect(m_input4LevelKnob, &QVantelKnob::valueChanged, this, [](int value) {
        audioSettings()->setInput4Level(value, true);
    });
    const auto connectMatrixKnob = [this](QVantelKnob *knob) {
        connect(knob, &QVantelKnob::valueChanged, this, [this, knob](int value) {
            matrixKnobTurned(knob, value);
        });
    };
    connectMatrixKnob(m_usbKnob);
    for (QVantelKnob *knob : boardKnobs())
        connectMatrixKnob(knob);

    // A matrix gain knob writes its input's row, a master gain knob the master-gain word.
    MatrixRowLock *lock = AudioPageStyle::makeInputRowLock(this);
    for (const auto &[knob, input] : matrixKnobs())
        lock->addControl(knob, {{TMatrixSettings::Row::Input, input}});
    for (QVantelKnob *knob : {m_programKnob, m_coordKnob})
        lock->addControl(knob, {{TMatrixSettings::Row::MasterGain, 0}});
}

std::array<std::pair<QVantelKnob *, int>, 7> QVantelAudioPage::matrixKnobs() const
{
    return {{{m_usbKnob, InputUsb},
             {m_aux1Knob, InputAux1},
             {m_aux2Knob, InputAux2},
             {m_aes1Knob, InputAes1},
             {m_aes2Knob, InputAes2},
             {m_aoip1Knob, InputAoip1},
             {m_aoip2Knob, InputAoip2}}};
}

void QVantelAudioPage::placeAux1AndAoip(int aux1X, int aoip1X)
{
    // A knob's label stands above it (the group label and the channel numbers of the
    // audio-over-IP group below), its meter 12 pixels to the left; channel 2 is one column on.
    constexpr int kColumn = 112;
    m_meters[InputAux1]->move(aux1X - 12, 167);
    m_aux1Knob->move(aux1X, 171);
    m_aux1Label->move(aux1X, 139);
    m_meters[InputAoip1]->move(aoip1X - 12, 343);
    m_meters[InputAoip2]->move(aoip1X + kColumn - 12, 343);
    m_aoipLabel->move(aoip1X, 315);
    m_aoip1Knob->move(aoip1X, 347);
    m_aoip1Label->move(aoip1X, 432);
    m_aoip2Knob->move(aoip1X + kColumn, 347);
    m_aoip2Label->move(aoip1X + kColumn, 432);
}

std::array<QLabel *, 8> QVantelAudioPage::boardLabels() const
{
    return {m_aux1Label,
            m_aux2Label,
            m_aesLabel,
            m_aes1Label,
            m_aes2Label,
            m_aoipLabel,
            m_aoip1Label,
            m_aoip2Label};
}

std::array<QVantelKnob *, 6> QVantelAudioPage::boardKnobs() const
{
    return {m_aux1Knob, m_aux2Knob, m_aes1Knob, m_aes2Knob, m_aoip1Knob, m_aoip2Knob};
}

void QVantelAudioPage::showEvent(QShowEvent *event)
{
    m_aoipLabel->setText(TComDevice::hasOption(TComDevice::OptionRavenna2) ? tr("DANTE")
                                                                           : tr("RAVENNA"));
    QVantelAudioWidget::showEvent(event);
}

bool QVantelAudioPage::sideTone()
{
    return (matrixSettings()->options() & TMatrixSettings::OptionSideTone) != 0;
}

void QVantelAudioPage::grey(QWidget *widget)
{
    widget->setPalette(AudioPageStyle::greyed(palette()));
}

void QVantelAudioPage::ungrey(QWidget *widget)
{
    // An empty palette makes the label follow the page's own palette again.
    widget->setPalette(QPalette());
}

// --- The operator's turns -----------------------------------------------------------------

void QVantelAudioPage::knob1ValueChanged(int value)
{
    audioSettings()->setInput1Gain(value, true);
}

void QVantelAudioPage::knob2ValueChanged(int value)
{
    audioSettings()->setInput2Gain(value, true);
}

void QVantelAudioPage::matrixKnobTurned(QVantelKnob *knob, int value)
{
    for (const auto &[candidate, input] : matrixKnobs()) {
        if (candidate == knob)
            matrixSettings()->setInputGain(input, float(value));
    }
}

void QVantelAudioPage::masterKnobTurned(QVantelKnob *knob, int value)
{
    // In extended mode the lowest steps stand for the gains their texts name.
    int gain = value;
    if (knob->useValueTexts()) {
        const int index = knob->indexOfValue(value);
        if (index >= 0)
            gain = knob->textAt(index).toInt();
    }
    TMatrixSettings *matrix = matrixSettings();
    if (knob == m_programKnob) {
        matrix->setOutputGain(QVantel::OutputProgram, float(gain));
        matrix->setOutputGain(QVantel::OutputProgramRight, float(gain));
    } else {
        matrix->setOutputGain(QVantel::OutputCoord, float(gain));
    }
}

void QVantelAudioPage::pairClicked(QVantelPair *button)
{
    TAudioSettings *audio = audioSettings();
    const bool checked = button->isChecked();
    if (button == m_pair12Button)
        audio->setInput2Pair(checked, true);
    else if (button == m_pair34Button)
        audio->setInput4Pair(checked, true);
    else if (button == m_auxPairButton)
        audio->setAuxPair(checked, true);
    else if (button == m_aesPairButton)
        audio->setAesPair(checked, true);
    else if (button == m_aoipPairButton)
        audio->setRavInPair(checked, true);
}

void QVantelAudioPage::page1Clicked()
{
    emit pageActivated(QVantel::AudioInputPage);
}

// --- Model to controls --------------------------------------------------------------------

void QVantelAudioPage::matrixInputGainChanged(QVantel::Inputs input)
{
    QVantelKnob *knob = nullptr;
    switch (int(input)) {
    case InputUsb:
        knob = m_usbKnob;
        break;
    case InputAux1:
        knob = m_aux1Knob;
        break;
    case InputAux2:
        knob = m_aux2Knob;
        break;
    case InputAes1:
        knob = m_aes1Knob;
        break;
    case InputAes2:
        knob = m_aes2Knob;
        break;
    case InputAoip1:
        knob = m_aoip1Knob;
        break;
    case InputAoip2:
        knob = m_aoip2Knob;
        break;
    default:
        return;
    }
    // The knob shows the gain cut toward zero.
    showValue(knob, int(matrixSettings()->inputGain(input)));
}

void QVantelAudioPage::matrixOutputGainChanged(QVantel::Outputs output)
{
    if (output == QVantel::OutputProgram || output == QVantel::OutputProgramRight)
        showMasterGain(m_programKnob, matrixSettings()->outputGain(output));
    else if (output == QVantel::OutputCoord)
        showMasterGain(m_coordKnob, matrixSettings()->outputGain(output));
}

void QVantelAudioPage::showMasterGain(QVantelKnob *knob, float gain)
{
    int value = int(gain);
    if (knob->useValueTexts()) {
        const int index = knob->indexOfText(QString::number(double(gain), 'g', 6));
        if (index >= 0)
            value = knob->valueAt(index);
    }
    showValue(knob, value);
}

void QVantelAudioPage::matrixControllerStateChanged(TComController *controller)
{
    if (controller->state() != TComController::StateReady)
        return;
    for (QVantel::Inputs input :
         {InputUsb, InputAux1, InputAux2, InputAes1, InputAes2, InputAoip1, InputAoip2}) {
        matrixInputGainChanged(input);
    }
    for (QVantel::Outputs output :
         {QVantel::OutputProgram, QVantel::OutputProgramRight, QVantel::OutputCoord}) {
        matrixOutputGainChanged(output);
    }
}

void QVantelAudioPage::audioControllerParamChanged(TComController *,
                                                   TAudioSettings::CtlrParam param)
{
    TAudioSettings *audio = audioSettings();
    TMatrixSettings *matrix = matrixSettings();
    const bool isExtended = comDevice()->isExtendedMode();
    switch (param) {
    case TAudioSettings::Input1Gain:
        showValue(m_input1Knob, audio->input1Gain());
        break;
    case TAudioSettings::Input2Gain:
        showValue(m_input2Knob, audio->input2Gain());
        break;
    case TAudioSettings::Input2Pair:
        showChecked(m_pair12Button, audio->input2Pair());
        m_input2Knob->setEnabled(isExtended ? !audio->input2Pair() : !sideTone());
        break;
    case TAudioSettings::Input3Gain:
        showValue(m_input3GainKnob, audio->input3Gain());
        if (!audio->input3Pad() && !sideTone())
            matrix->setInputGain(Input3, 0.0F);
        break;
    case TAudioSettings::Input3Level:
        showValue(m_input3LevelKnob, audio->input3Level());
        if (audio->input3Pad()) {
            const float gain = float(audio->input3Level()) + matrix->auxGain(2);
            matrix->setInputGain(Input3, gain);
            if (audio->input4Pair())
                matrix->setInputGain(Input4, gain);
        }
        break;
    case TAudioSettings::Input3Pad:
        m_input3GainKnob->setVisible(!audio->input3Pad());
        m_input3LevelKnob->setVisible(audio->input3Pad());
        matrix->setInputGain(Input3, audio->input3Pad() ? float(audio->input3Level()) : 0.0F);
        break;
    case TAudioSettings::Input4Gain:
        showValue(m_input4GainKnob, audio->input4Gain());
        if (!audio->input4Pad() && !sideTone())
            matrix->setInputGain(Input4, 0.0F);
        break;
    case TAudioSettings::Input4Level:
        showValue(m_input4LevelKnob, audio->input4Level());
        if (audio->input4Pad() && !(isExtended && audio->input4Pair()))
            matrix->setInputGain(Input4, float(audio->input4Level()) + matrix->auxGain(3));
        break;
    case TAudioSettings::Input4Pad: {
        const bool hasInput4 = !TComDevice::hasOption(TComDevice::OptionHardware2);
        m_input4GainKnob->setVisible(!audio->input4Pad() && hasInput4);
        m_input4LevelKnob->setVisible(audio->input4Pad() && hasInput4);
        matrix->setInputGain(Input4, audio->input4Pad() ? float(audio->input4Level()) : 0.0F);
        break;
    }
    case TAudioSettings::Input4Pair: {
        showChecked(m_pair34Button, audio->input4Pair());
        const bool enabled = isExtended ? !audio->input4Pair() : !sideTone();
        m_input4GainKnob->setEnabled(enabled);
        m_input4LevelKnob->setEnabled(enabled);
        break;
    }
    case TAudioSettings::InputSource:
        if (audio->auxiliaryBoard() && TComDevice::hasOption(TComDevice::OptionHardware134))
            applyInputSource();
        break;
    case TAudioSettings::AuxPair:
        showChecked(m_auxPairButton, audio->auxPair());
        m_aux2Knob->setEnabled(isExtended ? !audio->auxPair() : true);
        break;
    case TAudioSettings::AesPair:
        showChecked(m_aesPairButton, audio->aesPair());
        m_aes2Knob->setEnabled(isExtended ? !audio->aesPair() : true);
        break;
    case TAudioSettings::RavInPair:
        showChecked(m_aoipPairButton, audio->ravInPair());
        m_aoip2Knob->setEnabled(isExtended ? !audio->ravInPair() : true);
        break;
    default:
        break;
    }
}

void QVantelAudioPage::applyInputSource()
{
    TAudioSettings *audio = audioSettings();
    const bool isExtended = comDevice()->isExtendedMode();
    if (audio->inputSource() == TAudioSettings::SourceAnalog) {
        ungrey(m_aux2Label);
        m_aux2Knob->setEnabled(isExtended ? !audio->auxPair() : true);
        m_auxPairButton->setVisible(isExtended);
        showChecked(m_auxPairButton, audio->auxPair());
        m_meters[InputAux2]->setEnabled(true);
        for (QLabel *label : {m_aesLabel, m_aes1Label, m_aes2Label})
            grey(label);
        m_aes1Knob->setEnabled(false);
        m_aes2Knob->setEnabled(false);
        m_aesPairButton->hide();
        m_meters[InputAes1]->setEnabled(false);
        m_meters[InputAes2]->setEnabled(false);
    } else {
        grey(m_aux2Label);
        m_aux2Knob->setEnabled(false);
        m_auxPairButton->hide();
        m_meters[InputAux2]->setEnabled(false);
        for (QLabel *label : {m_aesLabel, m_aes1Label, m_aes2Label})
            ungrey(label);
        m_aes1Knob->setEnabled(true);
        m_aes2Knob->setEnabled(isExtended ? !audio->aesPair() : true);
        m_aesPairButton->setVisible(isExtended);
        showChecked(m_aesPairButton, audio->aesPair());
        m_meters[InputAes1]->setEnabled(true);
        m_meters[InputAes2]->setEnabled(true);
    }
}

void QVantelAudioPage::audioControllerStateChanged(TComController *controller)
{
    if (controller->state() != TComController::StateReady)
        return;
    TAudioSettings *audio = audioSettings();
    TMatrixSettings *matrix = matrixSettings();
    const bool isExtended = comDevice()->isExtendedMode();

    applyHardwareLayout();
    if (!audio->auxiliaryBoard()) {
        for (QLabel *label : boardLabels())
            grey(label);
        for (QVantelKnob *knob : boardKnobs())
            knob->setEnabled(false);
        for (int input : {InputAux1, InputAux2, InputAes1, InputAes2, InputAoip1, InputAoip2})
            m_meters[input]->setEnabled(false);
    } else if (!TComDevice::hasOption(TComDevice::OptionHardware134)) {
        m_auxPairButton->hide();
        m_aesPairButton->hide();
    } else if (audio->inputSource() == TAudioSettings::SourceAnalog) {
        for (QLabel *label : {m_aesLabel, m_aes1Label, m_aes2Label})
            grey(label);
        m_aux2Knob->setEnabled(isExtended ? !audio->auxPair() : true);
        m_aes1Knob->setEnabled(false);
        m_aes2Knob->setEnabled(false);
        m_auxPairButton->setVisible(isExtended);
        showChecked(m_auxPairButton, audio->auxPair());
        m_aesPairButton->hide();
        m_meters[InputAes1]->setEnabled(false);
        m_meters[InputAes2]->setEnabled(false);
    } else {
        grey(m_aux2Label);
        m_aux2Knob->setEnabled(false);
        m_aes2Knob->setEnabled(isExtended ? !audio->aesPair() : true);
        m_auxPairButton->hide();
        m_aesPairButton->setVisible(isExtended);
        showChecked(m_aesPairButton, audio->aesPair());
        m_meters[InputAux2]->setEnabled(false);
    }

    m_input1Knob->setEnabled(true);
    m_input2Knob->setEnabled(isExtended ? !audio->input2Pair() : true);
    m_input3GainKnob->setEnabled(true);
    m_input3LevelKnob->setEnabled(true);
    const bool input4Enabled = isExtended ? !audio->input4Pair() : true;
    m_input4GainKnob->setEnabled(input4Enabled);
    m_input4LevelKnob->setEnabled(input4Enabled);

    showValue(m_input1Knob, audio->input1Gain());
    showValue(m_input2Knob, audio->input2Gain());
    showValue(m_input3GainKnob, audio->input3Gain());
    showValue(m_input3LevelKnob, audio->input3Level());
    showValue(m_input4GainKnob, audio->input4Gain());
    showValue(m_input4LevelKnob, audio->input4Level());

    m_input3GainKnob->setVisible(!audio->input3Pad());
    m_input3LevelKnob->setVisible(audio->input3Pad());
    matrix->setInputGain(Input3, audio->input3Pad() ? float(audio->input3Level()) : 0.0F);
    if (!TComDevice::hasOption(TComDevice::OptionHardware2)) {
        m_input4GainKnob->setVisible(!audio->input4Pad());
        m_input4LevelKnob->setVisible(audio->input4Pad());
        matrix->setInputGain(Input4, audio->input4Pad() ? float(audio->input4Level()) : 0.0F);
    }

    const bool ravenna = TComDevice::hasOption(TComDevice::OptionRavenna);
    m_aoip2Knob->setEnabled(ravenna && (isExtended ? !audio->ravInPair() : true));

    m_pair12Button->setVisible(isExtended);
    showChecked(m_pair12Button, audio->input2Pair());
    m_pair34Button->setVisible(isExtended);
    showChecked(m_pair34Button, audio->input4Pair());
    m_aoipPairButton->setVisible(ravenna && isExtended);
    showChecked(m_aoipPairButton, audio->ravInPair());
}

void QVantelAudioPage::deviceStateChanged(TComDevice::DeviceState state)
{
    if (state == TComDevice::DeviceStateAll) {
        applyHardwareLayout();
        if (!TComDevice::hasOption(TComDevice::OptionRavenna)) {
            for (QLabel *label : {m_aoipLabel, m_aoip1Label, m_aoip2Label})
                grey(label);
            m_aoip1Knob->setEnabled(false);
            m_aoip2Knob->setEnabled(false);
            m_meters[InputAoip1]->setEnabled(false);
            m_meters[InputAoip2]->setEnabled(false);
        }
    } else if (state == TComDevice::OperationModeState) {
        applyOperationMode(comDevice()->isExtendedMode());
    }
}

void QVantelAudioPage::clearInputGains()
{
    TMatrixSettings *matrix = matrixSettings();
    for (int input : {Input1, Input2, Input3, Input4})
        matrix->setInputGain(input, 0.0F);
    for (int index = 0; index < 4; ++index)
        matrix->setStoredGain(index, 0.0F);
}

void QVantelAudioPage::applyOperationMode(bool extended)
{
    TAudioSettings *audio = audioSettings();
    const bool analog = audio->inputSource() == TAudioSettings::SourceAnalog;
    const bool ravenna = TComDevice::hasOption(TComDevice::OptionRavenna);
    if (extended) {
        m_pair12Button->show();
        m_pair34Button->show();
        m_auxPairButton->setVisible(analog);
        m_aesPairButton->setVisible(!analog);
        m_aoipPairButton->setVisible(ravenna);
        m_aux2Knob->setEnabled(analog && !audio->auxPair());
        m_aes2Knob->setEnabled(!analog && !audio->aesPair());
        m_aoip2Knob->setEnabled(ravenna && !audio->ravInPair());
        m_input1Knob->setEnabled(true);
        m_input2Knob->setEnabled(!audio->input2Pair());
        m_input3GainKnob->setEnabled(true);
        m_input3LevelKnob->setEnabled(true);
        m_input4GainKnob->setEnabled(!audio->input4Pair());
        m_input4LevelKnob->setEnabled(!audio->input4Pair());
    } else {
        for (QVantelPair *pair :
             {m_pair12Button, m_pair34Button, m_auxPairButton, m_aesPairButton, m_aoipPairButton}) {
            pair->hide();
        }
        m_aux2Knob->setEnabled(analog);
        m_aes2Knob->setEnabled(!analog);
        m_aoip2Knob->setEnabled(ravenna);
        for (QVantelKnob *knob : {m_input1Knob,
                                  m_input2Knob,
                                  m_input3GainKnob,
                                  m_input3LevelKnob,
                                  m_input4GainKnob,
                                  m_input4LevelKnob}) {
            knob->setEnabled(true);
        }
        clearInputGains();
    }
    setMasterScale(extended);
}

void QVantelAudioPage::enableInputKnobs()
{
    TAudioSettings *audio = audioSettings();
    const bool isExtended = comDevice()->isExtendedMode();
    m_input1Knob->setEnabled(true);
    m_input2Knob->setEnabled(isExtended ? !audio->input2Pair() : true);
    m_input3GainKnob->setEnabled(true);
    m_input3LevelKnob->setEnabled(true);
    const bool input4 = isExtended ? !audio->input4Pair() : true;
    m_input4GainKnob->setEnabled(input4);
    m_input4LevelKnob->setEnabled(input4);
}

void QVantelAudioPage::matrixOptionsChanged(TMatrixSettings::MatrixOpts previous)
{
    const bool before = (previous & TMatrixSettings::OptionSideTone) != 0;
    if (before == sideTone())
        return;
    enableInputKnobs();
    if (!sideTone())
        clearInputGains();
}

void QVantelAudioPage::applyHardwareLayout()
{
    if (TComDevice::hasOption(TComDevice::OptionHardware2)) {
        // The compact unit: no INPUT 4, USB, AUX 2 or AES inputs.
        m_meters[Input4]->setEnabled(false);
        m_input4Label->hide();
        m_input4GainKnob->hide();
        m_input4LevelKnob->hide();
        m_meters[InputUsb]->setEnabled(false);
        m_usbLabel->hide();
        m_usbKnob->hide();
        m_meters[InputAux2]->setEnabled(false);
        m_aux2Label->hide();
        m_aux2Knob->hide();
        m_meters[InputAes1]->setEnabled(false);
        m_meters[InputAes2]->setEnabled(false);
        for (QWidget *widget : {static_cast<QWidget *>(m_aesLabel),
                                static_cast<QWidget *>(m_aes1Label),
                                static_cast<QWidget *>(m_aes2Label),
                                static_cast<QWidget *>(m_aes1Knob),
                                static_cast<QWidget *>(m_aes2Knob)}) {
            widget->hide();
        }
        // AUX 1 takes the place of INPUT 4, the audio-over-IP group that of the AES group.
        placeAux1AndAoip(362, 26);
        for (QVantelPair *pair :
             {m_pair12Button, m_pair34Button, m_auxPairButton, m_aesPairButton, m_aoipPairButton}) {
            pair->hide();
        }
    }
    setMasterScale(comDevice()->isExtendedMode());
}

void QVantelAudioPage::setMasterScale(bool isExtended)
{
    for (QVantelKnob *knob : {m_programKnob, m_coordKnob}) {
        const QSignalBlocker blocker(knob);
        if (isExtended)
            knob->setMinimum(-17, tr("Off"));
        else
            knob->setMinimum(-12);
        knob->setMaximum(12);
        knob->setUseValueTexts(isExtended);
    }
}

void QVantelAudioPage::resetView()
{
    ungrey(m_input4Label);
    ungrey(m_usbLabel);
    for (QLabel *label : boardLabels())
        ungrey(label);
    for (QLabel *label :
         {m_input4Label, m_usbLabel, m_aux2Label, m_aesLabel, m_aes1Label, m_aes2Label}) {
        label->show();
    }
    m_input3GainKnob->show();
    m_input3LevelKnob->hide();
    m_input4GainKnob->show();
    m_input4LevelKnob->hide();
    m_usbKnob->show();
    for (QVantelKnob *knob : boardKnobs())
        knob->show();
    for (QVantelKnob *knob : {m_input1Knob,
                              m_input2Knob,
                              m_input3GainKnob,
                              m_input3LevelKnob,
                              m_input4GainKnob,
                              m_input4LevelKnob,
                              m_usbKnob}) {
        knob->setEnabled(true);
    }
    for (QVantelKnob *knob : boardKnobs())
        knob->setEnabled(true);
    placeAux1AndAoip(586, 250);

    // The master gains can be set from 1.6 on; the unit reports input levels from 1.8 on.
    const bool masterGain = firmwareAtLeast(kFirmware1_6);
    m_programKnob->setEnabled(masterGain);
    m_coordKnob->setEnabled(masterGain);
    const bool levels = firmwareAtLeast(kFirmware1_8);
    for (const auto &[input, meter] : m_meters) {
        meter->setVisible(levels);
        meter->setEnabled(levels);
        meter->setLevel(meter->maximum(), true);
    }
}

void QVantelAudioPage::setMeterLevels(const int *levels, int count, bool reset)
{
    if (!levels || count < 1)
        return;
    int index = 0;
    for (const auto &[input, meter] : m_meters) {
        if (index >= count)
            break;
        meter->setLevel(levels[index], reset);
        ++index;
    }
}
