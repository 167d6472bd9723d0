#include "widgets/qvantelaudiobalance.h"

#include "widgets/qvantelevent.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <QWheelEvent>

QVantelAudioBalance::QVantelAudioBalance(QWidget *parent)
    : QAbstractButton(parent)
{
    setFixedSize(124, 18);
    setFocusPolicy(Qt::StrongFocus);
    setCheckable(true);
    setAutoFillBackground(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QVantelAudioBalance::~QVantelAudioBalance() = default;

void QVantelAudioBalance::setMinimum(int minimum)
{
    m_minimum = minimum;
    if (m_value < minimum) {
        m_value = minimum;
        if (isVisible())
            update();
    }
}

void QVantelAudioBalance::setMaximum(int maximum)
{
    m_maximum = maximum;
    if (m_value > maximum) {
        m_value = maximum;
        if (isVisible())
            update();
    }
}

void QVantelAudioBalance::setStep(int step)
{
    m_step = step;
}

void QVantelAudioBalance::setValue(int value)
{
    value = qMax(m_minimum, qMin(value, m_maximum));
    if (value == m_value)
        return;
    m_value = value;
    if (isVisible()) {
        update();
        emit valueChanged(value);
    }
}

void QVantelAudioBalance::pressKey(int key)
{
    if (isChecked() && (key == Qt::Key_Plus || key == Qt::Key_Minus)) {
        // 64-bit sums: a huge step must not overflow into the range.
        const qint64 next
            = key == Qt::Key_Plus ? qint64(m_value) + m_step : qint64(m_value) - m_step;
        if (next > m_maximum || next < m_minimum)
            return;
        m_value = int(next);
        update();
        emit valueChanged(m_value);
        return;
    }
    forwardKey(key, QVantelEvent::KeyPress, true);
}

void QVantelAudioBalance::keyPressEvent(QKeyEvent *event)
{
    pressKey(event->key());
}

void QVantelAudioBalance::keyReleaseEvent(QKeyEvent *event)
{
    forwardKey(event->key(), QVantelEvent::KeyRelease, true);
}

void QVantelAudioBalance::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton) {
        event->accept();
        pressKey(Qt::Key_Enter);
        return;
    }
    QAbstractButton::mousePressEvent(event);
}

void QVantelAudioBalance::wheelEvent(QWheelEvent *event)
{
    event->accept();
    pressKey(event->angleDelta().y() >= 1 ? Qt::Key_Plus : Qt::Key_Minus);
}

void QVantelAudioBalance::focusOutEvent(QFocusEvent *event)
{
    setChecked(false);
    QAbstractButton::focusOutEvent(event);
}

void QVantelAudioBalance::paintEvent(QPaintEvent *)
{
    const bool active = hasFocus() && isChecked();
    const QColor outline = active ? QColor(0, 141, 233) : QColor(Qt::white);
    const QColor marker = active ? QColor(Qt::white) : QColor(Qt::red);

    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(outline, 1));
    painter.setBrush(outline);
    const QPolygon shape({QPoint(25, 0),
                          QPoint(25, 16),
                          QPoint(103, 16),
                          QPoint(103, 0),
                          QPoint(64, 14),
                          QPoint(25, 0)});
    painter.drawPolygon(shape);
    painter.restore();

    painter.setPen(outline);
    painter.drawText(QRect(QPoint(0, 0), QPoint(width() - 102, height() - 1)),
                     Qt::AlignRight | Qt::AlignVCenter,
                     QStringLiteral("Rx"));
    painter.drawText(QRect(QPoint(101, 0), QPoint(width() - 1, height() - 1)),
                     Qt::AlignRight | Qt::AlignVCenter,
                     QStringLiteral("Tx"));

    painter.setPen(QPen(marker, 3));
    painter.drawLine(markerX(), 0, markerX(), 16);
}
