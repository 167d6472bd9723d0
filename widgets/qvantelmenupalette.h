#pragma once

#include <QColor>

class QWidget;

// Colours of the menu framework and the one way it colours a text.
namespace QVantelMenuPalette {

inline const QColor kAccentBlue(0, 162, 232);
inline const QColor kGrey(127, 127, 127);

// Sets the widget's WindowText brush for all colour groups.
void setTextColor(QWidget *widget, const QColor &color);

// The widget's WindowText colour (active group).
QColor textColor(const QWidget *widget);

} // namespace QVantelMenuPalette
