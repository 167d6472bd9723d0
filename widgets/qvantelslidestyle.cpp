#include "widgets/qvantelslidestyle.h"

QVantelSlideStyle::QVantelSlideStyle()
    : QProxyStyle(static_cast<QStyle *>(nullptr))
{}

QVantelSlideStyle::~QVantelSlideStyle() = default;

int QVantelSlideStyle::pixelMetric(PixelMetric metric,
                                   const QStyleOption *option,
                                   const QWidget *widget) const
{
    if (metric == QStyle::PM_ScrollBarExtent)
        return 10;
    return QProxyStyle::pixelMetric(metric, option, widget);
}

QSize QVantelSlideStyle::sizeFromContents(ContentsType type,
                                          const QStyleOption *option,
                                          const QSize &size,
                                          const QWidget *widget) const
{
    if (type == QStyle::CT_ScrollBar)
        return size;
    return QProxyStyle::sizeFromContents(type, option, size, widget);
}
