#include "widgets/qvantelbutton.h"

#include "resources/tallydeskresources.h"

#include <QPainter>

QVantelButton::QVantelButton(QWidget *parent)
    : QAbstractButton(parent)
{
    setFocusPolicy(Qt::NoFocus);
    initTallydeskResources();
}

QVantelButton::~QVantelButton() = default;

void QVantelButton::setBorderWidth(int width)
{
    if (width < 1 || width == m_borderWidth)
        return;
    m_borderWidth = width;
    update();
}

void QVantelButton::setRadius(qreal radius)
{
    if (radius < 0 || radius == m_radius)
        return;
    m_radius = radius;
    update();
}

QSize QVantelButton::sizeHint() const
{
    return QSize(98, 66);
}

void QVantelButton::paintFrame(
    QPainter &painter, const QRect &rect, int borderWidth, qreal radius, const QPalette &palette)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(palette.window().color(), borderWidth));
    painter.setBrush(palette.window());
    const qreal half = borderWidth / 2.0;
    const QRectF frame = QRectF(rect).adjusted(half, half, -half, -half);
    if (radius != 0)
        painter.drawRoundedRect(frame, radius, radius);
    else
        painter.drawRect(frame);
    painter.restore();
}

void QVantelButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintFrame(painter, rect(), m_borderWidth, m_radius, palette());

    const QRect inner
        = rect().adjusted(m_borderWidth, m_borderWidth, -m_borderWidth, -m_borderWidth);
    if (!icon().isNull()) {
        icon().paint(
            &painter, inner, Qt::AlignCenter, isEnabled() ? QIcon::Normal : QIcon::Disabled);
    }
    if (!text().isEmpty()) {
        painter.setPen(QPen(palette().color(QPalette::WindowText), 1));
        painter.drawText(inner, Qt::AlignCenter, text());
    }
}
