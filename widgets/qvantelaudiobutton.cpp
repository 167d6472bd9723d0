#include "widgets/qvantelaudiobutton.h"

#include "widgets/qvantelbutton.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

QVantelAudioButton::QVantelAudioButton(QWidget *parent)
    : QVantelAudioBase(parent)
{
    setFixedSize(98, 96);

    m_button = new QVantelButton(this);
    m_button->setObjectName(QStringLiteral("stripButton"));
    m_levelLabel = new QLabel(this);
    m_levelLabel->setObjectName(QStringLiteral("levelLabel"));
    for (QWidget *child :
         {static_cast<QWidget *>(m_button), static_cast<QWidget *>(m_levelLabel)}) {
        QFont f = child->font();
        f.setPixelSize(14);
        child->setFont(f);
    }
    m_button->setGeometry(0, 0, 98, 66);
    m_button->setBorderWidth(4);
    QPalette pal = m_button->palette();
    pal.setBrush(QPalette::Window, QBrush(Qt::white));
    pal.setColor(QPalette::WindowText, Qt::black);
    m_button->setPalette(pal);
    connect(m_button, &QAbstractButton::clicked, this, &QVantelAudioButton::buttonClicked);

    m_levelLabel->setGeometry(7, 76, 84, 20);
    m_levelLabel->setAlignment(Qt::AlignCenter);
    m_levelLabel->setText(tr("Off"));
}

QVantelAudioButton::~QVantelAudioButton() = default;

void QVantelAudioButton::updateButtonText()
{
    m_button->setText(displayName());
}

void QVantelAudioButton::setInput(QVantel::Inputs input)
{
    if (input == m_input)
        return;
    m_input = input;
    updateButtonText();
    emit inputChanged(input);
}

void QVantelAudioButton::setPanning(QVantel::PanCtrl panning)
{
    if (panning == m_panning)
        return;
    m_panning = panning;
    update();
    emit panningChanged(panning);
}

void QVantelAudioButton::setGain(int gain)
{
    if (gain == m_gain)
        return;
    m_gain = gain;
    m_levelLabel->setText(gain == -160 ? tr("Off") : tr("%1dB").arg(gain));
    emit gainChanged(gain);
}

void QVantelAudioButton::setName(const QString &label, bool force)
{
    if (label == m_label && !force)
        return;
    m_label = label;
    updateButtonText();
}

void QVantelAudioButton::setBalance(int) {}

void QVantelAudioButton::setSelected(bool on)
{
    if (on == m_selected)
        return;
    m_selected = on;
    QPalette pal = m_button->palette();
    if (on) {
        // A selected strip shows only its border, with the name in white on the panel.
        pal.setBrush(QPalette::Window, QBrush(Qt::white, Qt::NoBrush));
        pal.setColor(QPalette::WindowText, Qt::white);
    } else {
        pal.setBrush(QPalette::Window, QBrush(Qt::white));
        pal.setColor(QPalette::WindowText, Qt::black);
    }
    m_button->setPalette(pal);
}

void QVantelAudioButton::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton) {
        event->accept();
        emit rightButtonClicked();
        return;
    }
    QVantelAudioBase::mousePressEvent(event);
}

void QVantelAudioButton::paintEvent(QPaintEvent *event)
{
    QVantelAudioBase::paintEvent(event);
    QPainter painter(this);
    painter.setFont(m_levelLabel->font());
    const QRect area = m_levelLabel->geometry();
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    const QString equal = QStringLiteral("=");
    switch (m_panning) {
    case QVantel::PanNone:
        painter.setPen(Qt::white);
        painter.drawText(area, int(left), equal);
        painter.drawText(area, int(right), equal);
        break;
    case QVantel::PanLeft:
        painter.setPen(Qt::green);
        painter.drawText(area, int(left), QStringLiteral("L"));
        break;
    case QVantel::PanRight:
        painter.setPen(Qt::red);
        painter.drawText(area, int(right), QStringLiteral("R"));
        break;
    default:
        painter.setPen(Qt::green);
        painter.drawText(area, int(left), QStringLiteral("L"));
        painter.setPen(Qt::red);
        painter.drawText(area, int(right), QStringLiteral("R"));
        break;
    }
}
