#include "widgets/qvantelknob.h"

#include "widgets/qvantelevent.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace {

constexpr int kKeyPanning = 352;
const QColor kEngagedColor(0, 141, 233);

} // namespace

QVantelKnob::QVantelKnob(bool panning, QWidget *parent, bool stereoAllowed)
    : QAbstractButton(parent)
    , m_stereoAllowed(stereoAllowed)
    , m_panning(panning)
{
    setCheckable(true);
    setFocusPolicy(Qt::ClickFocus);
}

QVantelKnob::~QVantelKnob() = default;

void QVantelKnob::setMinimum(int value, const QString &text)
{
    m_minimum = value;
    m_minimumText = text;
    if (m_value < value)
        m_value = value;
    if (isVisible())
        update();
}

void QVantelKnob::setMaximum(int value, const QString &text)
{
    m_maximum = value;
    m_maximumText = text;
    if (m_value > value)
        m_value = value;
    if (isVisible())
        update();
}

void QVantelKnob::setStep(int step)
{
    m_step = step;
}

void QVantelKnob::setValue(int value)
{
    const int clamped = value < m_minimum ? m_minimum : qMin(value, m_maximum);
    if (clamped == m_value)
        return;
    m_value = clamped;
    if (isVisible()) {
        update();
        Q_EMIT valueChanged(m_value);
    }
}

void QVantelKnob::setPanning(int mode)
{
    if (!m_panning || mode == m_panningMode)
        return;
    m_panningMode = mode;
    if (isVisible()) {
        update();
        Q_EMIT panningChanged(QVantel::PanCtrl(m_panningMode));
    }
}

void QVantelKnob::setUseValueTexts(bool on)
{
    if (on == m_useValueTexts)
        return;
    m_useValueTexts = on;
    update();
}

void QVantelKnob::addValue(int value, const QString &text)
{
    m_values.append(Entry{value, text});
}

int QVantelKnob::indexOfValue(int value) const
{
    for (int i = 0; i < m_values.size(); ++i) {
        if (m_values.at(i).value == value)
            return i;
    }
    return -1;
}

int QVantelKnob::indexOfText(const QString &text) const
{
    for (int i = 0; i < m_values.size(); ++i) {
        if (m_values.at(i).text == text)
            return i;
    }
    return -1;
}

int QVantelKnob::valueAt(int index) const
{
    return index >= 0 && index < m_values.size() ? m_values.at(index).value : -1;
}

QString QVantelKnob::textAt(int index) const
{
    return index >= 0 && index < m_values.size() ? m_values.at(index).text : QString();
}

QString QVantelKnob::displayText() const
{
    if (m_value == m_minimum && !m_minimumText.isEmpty())
        return m_minimumText;
    if (m_value == m_maximum && !m_maximumText.isEmpty())
        return m_maximumText;
    if (m_useValueTexts && !m_values.isEmpty()) {
        const int index = indexOfValue(m_value);
        if (index >= 0)
            return m_values.at(index).text;
    }
    return QString::number(m_value);
}

qreal QVantelKnob::pointerAngle() const
{
    // Equal bounds leave no range to sweep: the pointer rests at the minimum.
    const qint64 range = qint64(m_maximum) - m_minimum;
    if (range <= 0)
        return 30.0;
    return qreal(qint64(m_value) - m_minimum) / qreal(range) * 300.0 + 30.0;
}

QSize QVantelKnob::sizeHint() const
{
    return QSize(84, 84);
}

int QVantelKnob::nextPanning(int mode, bool stereoAllowed)
{
    switch (mode) {
    case QVantel::PanNone:
        return stereoAllowed ? QVantel::PanStereo : QVantel::PanBoth;
    case QVantel::PanBoth:
        return QVantel::PanLeft;
    case QVantel::PanLeft:
        return QVantel::PanRight;
    case QVantel::PanRight:
        return QVantel::PanNone;
    default:
        return QVantel::PanBoth;
    }
}

void QVantelKnob::pressKey(int key)
{
    if (!isChecked()) {
        forwardKey(key, QVantelEvent::KeyPress, true);
        return;
    }
    switch (key) {
    case Qt::Key_Plus:
    case Qt::Key_Minus: {
        const qint64 next = qint64(m_value) + (key == Qt::Key_Plus ? m_step : -qint64(m_step));
        if (next > m_maximum || next < m_minimum)
            return;
        m_value = int(next);
        update();
        Q_EMIT valueChanged(m_value);
        return;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case kKeyPanning:
        if (m_panning) {
            m_panningMode = nextPanning(m_panningMode, m_stereoAllowed);
            update();
            Q_EMIT panningChanged(QVantel::PanCtrl(m_panningMode));
        }
        return;
    default:
        forwardKey(key, QVantelEvent::KeyPress, true);
        return;
    }
}

void QVantelKnob::keyPressEvent(QKeyEvent *event)
{
    pressKey(event->key());
    event->accept();
}

void QVantelKnob::keyReleaseEvent(QKeyEvent *event)
{
    forwardKey(event->key(), QVantelEvent::KeyRelease, true);
    event->accept();
}

void QVantelKnob::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton) {
        pressKey(Qt::Key_Enter);
        event->accept();
        return;
    }
    QAbstractButton::mousePressEvent(event);
}

void QVantelKnob::wheelEvent(QWheelEvent *event)
{
    pressKey(event->angleDelta().y() > 0 ? Qt::Key_Plus : Qt::Key_Minus);
    event->accept();
}

void QVantelKnob::focusOutEvent(QFocusEvent *event)
{
    QAbstractButton::focusOutEvent(event);
    setChecked(false);
}

QColor QVantelKnob::ringColor() const
{
    if (!isEnabled())
        return Qt::darkGray;
    if (hasFocus() && isChecked())
        return kEngagedColor;
    return palette().color(QPalette::WindowText);
}

void QVantelKnob::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QColor ring = ringColor();
    const QRectF ringRect = QRectF(rect()).adjusted(7, 7, -7, -7);

    painter.setPen(QPen(ring, 4));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(ringRect);

    painter.setPen(isEnabled() ? palette().color(QPalette::WindowText) : QColor(Qt::darkGray));
    painter.drawText(ringRect, Qt::AlignCenter, displayText());

    if (m_panning) {
        const bool engaged = isChecked();
        QFont small = painter.font();
        small.setPixelSize(qMax(1, QFontInfo(font()).pixelSize() * 2 / 3));
        painter.setFont(small);
        const QRectF lower(
            ringRect.left(), ringRect.center().y(), ringRect.width(), ringRect.height() / 2);
        const QRectF lowerLeft(lower.left(), lower.top(), lower.width() / 2, lower.height());
        const QRectF lowerRight(lower.center().x(), lower.top(), lower.width() / 2, lower.height());
        auto mark = [&](const QRectF &area, int flags, const QString &text, const QColor &color) {
            painter.setPen(engaged ? ring : color);
            painter.drawText(area, flags | Qt::AlignVCenter, text);
        };
        switch (m_panningMode) {
        case QVantel::PanStereo:
            mark(lower, Qt::AlignHCenter, tr("Stereo"), Qt::white);
            break;
        case QVantel::PanNone:
            mark(lowerLeft, Qt::AlignRight, QStringLiteral("="), ring);
            mark(lowerRight, Qt::AlignLeft, QStringLiteral("="), ring);
            break;
        default:
            if (m_panningMode == QVantel::PanLeft || m_panningMode == QVantel::PanBoth)
                mark(lowerLeft, Qt::AlignRight, QStringLiteral("L"), Qt::green);
            if (m_panningMode == QVantel::PanRight || m_panningMode == QVantel::PanBoth)
                mark(lowerRight, Qt::AlignLeft, QStringLiteral("R"), Qt::red);
            break;
        }
    }

    const qreal radius = ringRect.width() / 2;
    painter.translate(ringRect.center());
    painter.rotate(pointerAngle());
    painter.setPen(QPen(ring, 4));
    painter.drawLine(QPointF(0, radius - 5), QPointF(0, radius + 5));
}
