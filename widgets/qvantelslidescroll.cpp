#include "widgets/qvantelslidescroll.h"

#include <QPainter>
#include <QStyleOptionSlider>

QVantelSlideScroll::QVantelSlideScroll(QWidget *parent)
    : QScrollBar(Qt::Vertical, parent)
{
    setFocusPolicy(Qt::NoFocus);
}

QVantelSlideScroll::~QVantelSlideScroll() = default;

QRect QVantelSlideScroll::handleRect(const QSize &size) const
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    const qint64 range = qint64(option.maximum) - option.minimum;
    // Nothing to show over an empty range (the areas never show the bar then).
    if (range <= 0)
        return {};
    const int w = size.width();
    const int h = size.height();
    const int length = h / 5;
    const qint64 top = (qint64(h) - length - 1) * option.sliderValue / range;
    return QRect(QPoint(w / 2, int(top)), QPoint(2 * (w / 2) - 1, int(top) + length - 1));
}

void QVantelSlideScroll::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().brush(backgroundRole()));
    const QRect handle = handleRect(size());
    if (!handle.isEmpty())
        painter.fillRect(handle, QColor(0, 162, 232));
}
