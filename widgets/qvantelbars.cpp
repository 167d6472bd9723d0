#include "widgets/qvantelbars.h"

#include <QPainter>
#include <QTimerEvent>

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
        scheduleRepaint();
}

void QVantelBars::setLevels(int level1, int level2, bool immediate)
{
    const bool first = apply(m_bars[0], level1, immediate);
    const bool second = apply(m_bars[1], level2, immediate);
    if (first || second)
        scheduleRepaint();
}

void QVantelBars::scheduleRepaint()
{
    if (m_frameTimer.isActive()) {
        m_repaintPending = true;
        return;
    }
    update();
    // Precise, so that the meters of one panel, changed together, repaint in the same pass.
    m_frameTimer.start(kFrameMs, Qt::PreciseTimer, this);
}

void QVantelBars::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != m_frameTimer.timerId()) {
        QWidget::timerEvent(event);
        return;
    }
    if (!m_repaintPending) {
        // A frame without changes: the next change paints at once.
        m_frameTimer.stop();
        return;
    }
    m_repaintPending = false;
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

    // The one-pixel zone borders as filled rectangles, without the stroker: the pixels a 1-pixel
    // line across the area covers, both ends included (so two for an area of no thickness).
    const int across = m_vertical ? area.width() : area.height();
    const int first = across > 0 ? 0 : across - 1;
    const int span = qAbs(across - 1) + 1;
    for (const int border : {greenEnd, yellowEnd}) {
        if (m_vertical)
            painter.fillRect(area.left() + first, area.bottom() + 1 - border, span, 1, frame);
        else
            painter.fillRect(area.left() + border, area.top() + first, 1, span, frame);
    }
}

// The outline around the bars, filled rather than stroked. These are the pixels a rectangle
// from (1, 1) to (w - 2, h - 2) covers when stroked without antialiasing: with a 1-pixel pen
// (vertical meters) the rows and columns 1 and w - 1 / h - 1; with the 2-pixel pen (horizontal
// ones) two pixels on each side, the left corners of the outer rows left out.
void QVantelBars::paintFrame(QPainter &painter, int w, int h, const QColor &frame) const
{
    if (m_vertical) {
        painter.fillRect(1, 1, w - 1, 1, frame);
        painter.fillRect(1, h - 1, w - 1, 1, frame);
        painter.fillRect(1, 2, 1, h - 3, frame);
        painter.fillRect(w - 1, 2, 1, h - 3, frame);
        return;
    }
    painter.fillRect(1, 0, w - 1, 1, frame);
    painter.fillRect(0, 1, w, 1, frame);
    painter.fillRect(0, h - 2, w, 1, frame);
    painter.fillRect(1, h - 1, w - 1, 1, frame);
    painter.fillRect(0, 2, 2, h - 4, frame);
    painter.fillRect(w - 2, 2, 2, h - 4, frame);
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
    paintFrame(painter, w, h, frame);

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
