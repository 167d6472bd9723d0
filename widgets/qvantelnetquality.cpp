#include "widgets/qvantelnetquality.h"

#include <QPainter>
#include <QPolygon>

namespace {

constexpr int kThresholds[6] = {10, 25, 40, 55, 70, 85};

} // namespace

QVantelNetQuality::QVantelNetQuality(QWidget *parent)
    : QWidget(parent)
{
    setFixedSize(13, 46);
    setFocusPolicy(Qt::NoFocus);
    setAutoFillBackground(false);
    setAttribute(Qt::WA_OpaquePaintEvent, true);
    QFont glyph = font();
    glyph.setPixelSize(18);
    setFont(glyph);
}

QVantelNetQuality::~QVantelNetQuality() = default;

void QVantelNetQuality::setQuality(int quality)
{
    quality = qBound(-1, quality, 100);
    if (quality == m_quality)
        return;
    m_quality = quality;
    update();
}

void QVantelNetQuality::setDownward(bool downward)
{
    if (downward == m_downward)
        return;
    m_downward = downward;
    update();
}

int QVantelNetQuality::segments(int quality)
{
    int count = 0;
    for (const int threshold : kThresholds) {
        if (quality >= threshold)
            ++count;
    }
    return count;
}

void QVantelNetQuality::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    const QColor color = isEnabled() ? QColor(Qt::white) : QColor(50, 50, 50);
    const int w = width();

    painter.fillRect(0, 0, w, 2, color);
    if (m_quality < 0) {
        painter.setPen(color);
        painter.drawText(QRect(0, 2, w, 38), Qt::AlignCenter, QStringLiteral("?"));
    } else {
        const int filled = segments(m_quality);
        for (int i = 0; i < filled; ++i)
            painter.fillRect(0, 34 - 6 * i, w, 4, color);
    }

    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    if (m_downward)
        painter.drawPolygon(QPolygon({QPoint(1, 40), QPoint(w - 2, 40), QPoint(w / 2, 45)}));
    else
        painter.drawPolygon(QPolygon({QPoint(1, 45), QPoint(w - 2, 45), QPoint(w / 2, 40)}));
}
