#include "widgets/qvantelaudioinput.h"

#include "widgets/qvantelaudiobalance.h"
#include "widgets/qvantelknob.h"
#include "widgets/qvantellocalize.h"
#include "widgets/qvantelmenupalette.h"

#include <QLabel>

namespace {

constexpr int kKnobMinimum = -31;
constexpr int kKnobMaximum = 16;
constexpr int kGainOff = -160;

} // namespace

QVantelAudioInput::QVantelAudioInput(bool labelsBelow,
                                     QWidget *parent,
                                     bool withBalance,
                                     bool stereoAllowed)
    : QVantelAudioInput(labelsBelow, true, parent, withBalance, stereoAllowed)
{}

QVantelAudioInput::QVantelAudioInput(
    bool labelsBelow, bool panning, QWidget *parent, bool withBalance, bool stereoAllowed)
    : QVantelAudioBase(parent)
    , m_labelsBelow(labelsBelow)
    , m_withBalance(withBalance)
    , m_stereoAllowed(stereoAllowed)
{
    setFixedSize(132, 136);
    m_nameLabel = new QLabel(this);
    m_nameLabel->setTextFormat(Qt::PlainText);
    m_nameLabel->setObjectName(QStringLiteral("nameLabel"));
    m_userLabel = new QLabel(this);
    m_userLabel->setTextFormat(Qt::PlainText);
    m_userLabel->setObjectName(QStringLiteral("userLabel"));
    m_knob = new QVantelKnob(panning, this, stereoAllowed);
    m_knob->setObjectName(QStringLiteral("knob"));
    m_balanceControl = new QVantelAudioBalance(this);
    m_balanceControl->setObjectName(QStringLiteral("balance"));
    applyGeometry();

    for (QLabel *label : {m_nameLabel, m_userLabel}) {
        label->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
        QFont f = label->font();
        f.setPixelSize(14);
        label->setFont(f);
    }
    setLabelColor(Qt::white);
    QFont knobFont = m_knob->font();
    knobFont.setPixelSize(22);
    m_knob->setFont(knobFont);

    if (panning) {
        m_knob->setMinimum(kKnobMinimum, tr("Off"));
        m_knob->setMaximum(kKnobMaximum, QString());
        m_knob->setValue(kKnobMinimum);
    } else {
        m_knob->setMinimum(kKnobMinimum, QString());
        m_knob->setMaximum(kKnobMaximum, QString());
        m_knob->setValue(0);
    }
    m_knob->setPanning(QVantel::PanBoth);

    m_balanceControl->setVisible(withBalance);
    m_balanceControl->setMinimum(0);
    m_balanceControl->setMaximum(12);
    m_balanceControl->setValue(6);
    m_userLabel->setVisible(!withBalance);

    connect(m_knob, &QVantelKnob::valueChanged, this, &QVantelAudioInput::knobGainChanged);
    connect(m_knob, &QVantelKnob::panningChanged, this, &QVantelAudioInput::knobPanningChanged);
    connect(m_balanceControl,
            &QVantelAudioBalance::valueChanged,
            this,
            &QVantelAudioInput::audioBalanceChanged);
}

QVantelAudioInput::~QVantelAudioInput() = default;

void QVantelAudioInput::applyGeometry()
{
    const int w = width();
    if (m_labelsBelow) {
        m_nameLabel->setGeometry(0, 91, w, 40);
        m_userLabel->setGeometry(0, 116, w, 20);
        m_knob->setGeometry(24, 0, 84, 84);
        m_balanceControl->setGeometry(2, 111, 124, 18);
    } else {
        m_nameLabel->setGeometry(0, 0, w, 40);
        m_userLabel->setGeometry(0, 25, w, 20);
        m_knob->setGeometry(24, 48, 84, 84);
        m_balanceControl->setGeometry(2, 20, 124, 18);
    }
}

void QVantelAudioInput::setLabelColor(const QColor &color)
{
    QVantelMenuPalette::setTextColor(m_nameLabel, color);
    QVantelMenuPalette::setTextColor(m_userLabel, color);
}

void QVantelAudioInput::setInput(QVantel::Inputs input)
{
    if (input == m_input)
        return;
    m_input = input;
    m_nameLabel->setText(QVantelLocalize::inputName(input));
    emit inputChanged(input);
}

void QVantelAudioInput::setPanning(QVantel::PanCtrl panning)
{
    if (!m_knob->hasPanning() || panning == m_panning)
        return;
    m_panning = panning;
    m_knob->setPanning(panning);
    emit panningChanged(panning);
}

void QVantelAudioInput::setGain(int gain)
{
    if (gain == m_gain)
        return;
    int value = gain;
    if (gain < m_knob->minimum()) {
        m_knob->setValue(m_knob->minimum());
        value = m_knob->hasPanning() ? kGainOff : m_knob->minimum();
    } else if (gain > m_knob->maximum()) {
        m_knob->setValue(m_knob->maximum());
        value = m_knob->maximum();
    } else {
        m_knob->setValue(gain);
    }
    m_gain = value;
    emit gainChanged(value);
}

void QVantelAudioInput::setName(const QString &label, bool force)
{
    if (label == m_label && !force)
        return;
    m_label = label;
    if (force)
        m_nameLabel->setText(QVantelLocalize::inputName(m_input));
    m_userLabel->setText(label);
}

void QVantelAudioInput::setBalance(int balance)
{
    if (balance == m_balance)
        return;
    const int value = qMax(m_balanceControl->minimum(), qMin(balance, m_balanceControl->maximum()));
    m_balanceControl->setValue(value);
    m_balance = value;
    emit balanceChanged(value);
}

void QVantelAudioInput::setLabelsBelow(bool below)
{
    if (below == m_labelsBelow)
        return;
    m_labelsBelow = below;
    applyGeometry();
}

void QVantelAudioInput::setState(int state)
{
    if (state == m_state)
        return;
    m_state = state;
    if (state == 0)
        setLabelColor(Qt::white);
    else if (state == 2)
        setLabelColor(QVantelMenuPalette::kGrey);
    m_knob->setEnabled(state == 0);
}

void QVantelAudioInput::knobGainChanged(int value)
{
    if (m_knob->hasPanning() && value == m_knob->minimum())
        value = kGainOff;
    if (value == m_gain)
        return;
    m_gain = value;
    emit gainChanged(value);
}

void QVantelAudioInput::knobPanningChanged(QVantel::PanCtrl panning)
{
    if (!m_knob->hasPanning() || panning == m_panning)
        return;
    m_panning = panning;
    emit panningChanged(panning);
}

void QVantelAudioInput::audioBalanceChanged(int value)
{
    if (value == m_balance)
        return;
    m_balance = value;
    emit balanceChanged(value);
}

void QVantelAudioInput::paintEvent(QPaintEvent *)
{
    // The strip has no frame of its own; its children draw everything.
}
