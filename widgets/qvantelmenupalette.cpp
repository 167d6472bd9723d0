#include "widgets/qvantelmenupalette.h"

#include <QPalette>
#include <QWidget>

namespace QVantelMenuPalette {

void setTextColor(QWidget *widget, const QColor &color)
{
    QPalette palette = widget->palette();
    palette.setBrush(QPalette::All, QPalette::WindowText, color);
    widget->setPalette(palette);
}

QColor textColor(const QWidget *widget)
{
    return widget->palette().color(QPalette::Active, QPalette::WindowText);
}

} // namespace QVantelMenuPalette
