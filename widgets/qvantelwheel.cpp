#include "widgets/qvantelwheel.h"

#include "widgets/qvantelevent.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QWheelEvent>

QVantelWheel::QVantelWheel(QWidget *parent)
    : QAbstractButton(parent)
{
    setCheckable(true);
    setFocusPolicy(Qt::ClickFocus);
}

QVantelWheel::~QVantelWheel() = default;

void QVantelWheel::setMaximum(int maximum)
{
    m_maximum = maximum;
    if (m_value > maximum) {
        m_value = maximum;
        m_committed = maximum;
    }
}

void QVantelWheel::setValue(int value)
{
    if (value < 0 || value > m_maximum)
        return;
    m_value = value;
    m_committed = value;
}

void QVantelWheel::setRevert(bool on)
{
    m_revert = on;
}

qreal QVantelWheel::pointerAngle() const
{
    // A one-entry list has nothing to sweep: the pointer rests at the start.
    if (m_maximum <= 0)
        return 30.0;
    return qreal(m_value) / qreal(m_maximum) * 300.0 + 30.0;
}

QSize QVantelWheel::sizeHint() const
{
    return QSize(58, 58);
}

void QVantelWheel::pressKey(int key)
{
    if (isChecked() && key == Qt::Key_Plus) {
        if (m_value < m_maximum) {
            ++m_value;
            update();
            Q_EMIT valueChanged(m_value);
        }
        return;
    }
    if (isChecked() && key == Qt::Key_Minus) {
        if (m_value >= 1) {
            --m_value;
            update();
            Q_EMIT valueChanged(m_value);
        }
        return;
    }
    forwardKey(key, QVantelEvent::KeyPress, true);
}

void QVantelWheel::keyPressEvent(QKeyEvent *event)
{
    pressKey(event->key());
    event->accept();
}

void QVantelWheel::keyReleaseEvent(QKeyEvent *event)
{
    forwardKey(event->key(), QVantelEvent::KeyRelease, true);
    event->accept();
}

void QVantelWheel::wheelEvent(QWheelEvent *event)
{
    pressKey(event->angleDelta().y() > 0 ? Qt::Key_Plus : Qt::Key_Minus);
    event->accept();
}

void QVantelWheel::focusOutEvent(QFocusEvent *event)
{
    QAbstractButton::focusOutEvent(event);
    if (m_revert && m_value != m_committed) {
        m_value = m_committed;
        update();
    }
    setChecked(false);
}

void QVantelWheel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, true);
    QColor ring = palette().color(QPalette::WindowText);
    if (!isEnabled())
        ring = Qt::darkGray;
    else if (hasFocus() && isChecked())
        ring = QColor(0, 141, 233);
    const QRectF ringRect = QRectF(rect()).adjusted(7, 7, -7, -7);
    painter.setPen(QPen(ring, 4));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(ringRect);

    painter.translate(ringRect.center());
    painter.rotate(pointerAngle());
    const qreal radius = ringRect.width() / 2;
    painter.drawLine(QPointF(0, radius - 5), QPointF(0, radius + 5));
}
