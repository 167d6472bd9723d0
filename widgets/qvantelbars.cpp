#include "widgets/qvantelbars.h"

#include <QPainter>

namespace {

// Updates a level may stay below the marker before the marker starts to fall.
constexpr int kHoldUpdates = 10;
constexpr int kMarkerFall = 2;
constexpr int kMarkerLength = 4;

} // namespace

QVantelBars::QVantelBars(QWidget *parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setAutoFillBackground(false);
    setAttribute(Qt::WA_OpaquePaintEvent, true);
    for (Bar &bar : m_bars)
        bar.marker = m_maximum;
}

QVantelBars::~QVantelBars() = default;

int QVantelBars::level(int bar) const
{
    return m_bars[bar == 1 ? 1 : 0].level;
}

int QVantelBars::marker(int bar) const
{
    return m_bars[bar == 1 ? 1 : 0].marker;
}

void QVantelBars::setFlat(bool vertical)
{
    if (vertical == m_vertical)
        return;
    m_vertical = vertical;
    update();
}

void QVantelBars::setStereo(int twoBars)
{
    if (twoBars == m_stereo)
        return;
    m_stereo = twoBars;
    update();
}

bool QVantelBars::apply(Bar &bar, int level, bool immediate) const
{
    if (!immediate && level == bar.level && level == bar.marker)
        return false;
    level = qBound(0, level, m_maximum);
    int marker = bar.marker;
    if (level > marker && !immediate) {
        // The signal fell below the marker: hold it, then let it fall towards the level.
        if (bar.hold <= kHoldUpdates)
            ++bar.hold;
        if (bar.hold > kHoldUpdates)
            marker = qMin(marker + kMarkerFall, m_maximum);
    } else {
        bar.hold = 0;
        marker = level;
    }
    const bool changed = level != bar.level || marker != bar.marker;
    bar.level = level;
    bar.marker = marker;
    return changed;
}

void QVantelBars::setLevel(int level, bool immediate)
{
    if (apply(m_bars[0], level, immediate))
        update();
}

void QVantelBars::setLevels(int level1, int level2, bool immediate)
{
    const bool first = apply(m_bars[0], level1, immediate);
    const bool second = apply(m_bars[1], level2, immediate);
    if (first || second)
        update();
}

void QVantelBars::paintBar(QPainter &painter,
                           const QRect &area,
                           const Bar &bar,
                           const QColor &frame) const
{
    const int length = m_vertical ? area.height() : area.width();
    if (length <= 0 || m_maximum <= 0)
        return;
    const int greenEnd = length * 18 / m_maximum;
    const int yellowEnd = greenEnd + length * 9 / m_maximum;
    const int drawn = (m_maximum - bar.level) * length / m_maximum;
    const int markerEnd = (m_maximum - bar.marker) * length / m_maximum;

    // A stretch [from, to) along the bar, measured from its start (left, or bottom).
    auto stretch = [&](int from, int to) {
        if (m_vertical)
            return QRect(area.left(), area.bottom() + 1 - to, area.width(), to - from);
        return QRect(area.left() + from, area.top(), to - from, area.height());
    };
    auto zoneColor = [&](int position) -> QColor {
        if (position < greenEnd)
            return Qt::green;
        if (position < yellowEnd)
            return Qt::yellow;
        return Qt::red;
    };

    if (drawn > 0) {
        painter.fillRect(stretch(0, qMin(drawn, greenEnd)), Qt::green);
        if (drawn > greenEnd)
            painter.fillRect(stretch(greenEnd, qMin(drawn, yellowEnd)), Qt::yellow);
        if (drawn > yellowEnd)
            painter.fillRect(stretch(yellowEnd, drawn), Qt::red);
    }
    if (markerEnd > drawn && markerEnd >= kMarkerLength) {
        const int start = markerEnd - kMarkerLength;
        painter.fillRect(stretch(start, markerEnd), zoneColor(start));
    }

    painter.setPen(QPen(frame, 1));
    for (const int border : {greenEnd, yellowEnd}) {
        if (m_vertical) {
            const int y = area.bottom() + 1 - border;
            painter.drawLine(area.left(), y, area.right(), y);
        } else {
            const int x = area.left() + border;
            painter.drawLine(x, area.top(), x, area.bottom());
        }
    }
}

void QVantelBars::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    if (!isEnabled())
        return;

    const int w = width();
    const int h = height();
    const QColor frame = m_vertical ? QColor(80, 80, 80) : QColor(Qt::white);
    painter.setPen(QPen(frame, m_vertical ? 1 : 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(QPoint(1, 1), QPoint(w - 2, h - 2)));

    const QRect inner = m_vertical ? QRect(QPoint(3, 3), QPoint(w - 3, h - 3))
                                   : QRect(QPoint(3, 3), QPoint(w - 4, h - 4));
    if (m_stereo == 0) {
        paintBar(painter, inner, m_bars[0], frame);
        return;
    }
    if (m_vertical) {
        const int half = (inner.width() - 2) / 2;
        paintBar(painter, QRect(inner.left(), inner.top(), half, inner.height()), m_bars[0], frame);
        paintBar(painter,
                 QRect(inner.right() + 1 - half, inner.top(), half, inner.height()),
                 m_bars[1],
                 frame);
    } else {
        const int half = (inner.height() - 2) / 2;
        paintBar(painter, QRect(inner.left(), inner.top(), inner.width(), half), m_bars[0], frame);
        paintBar(painter,
                 QRect(inner.left(), inner.bottom() + 1 - half, inner.width(), half),
                 m_bars[1],
                 frame);
    }
}
