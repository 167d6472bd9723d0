#include "widgets/qvantelslidesetup.h"

#include "widgets/qvantelslidescroll.h"
#include "widgets/qvantelslidestyle.h"

#include <QScrollArea>
#include <QScrollBar>

namespace QVantelSlide {

void setUpArea(QScrollArea *area)
{
    area->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->setFocusPolicy(Qt::NoFocus);
    area->setFrameShape(QFrame::NoFrame);
    auto *bar = new QVantelSlideScroll(area);
    // The bar owns its style, so the style lives exactly as long as the bar that uses it.
    auto *style = new QVantelSlideStyle;
    style->setParent(bar);
    bar->setStyle(style);
    area->setVerticalScrollBar(bar);
}

int dragTo(QScrollArea *area, int lastY, int y)
{
    if (y < 0 || y > area->height() - 1)
        return lastY;
    if (qAbs(lastY - y) <= 9)
        return lastY;
    QScrollBar *bar = area->verticalScrollBar();
    bar->setValue(bar->value() + (lastY - y));
    return y;
}

} // namespace QVantelSlide
