#pragma once

#include <QColor>

namespace QVantel {

// Fill colour of a link shown in the state `state`: 1 light green, 2 green, 3 yellow, 4 red,
// 5 light red, 6 orange, any other state grey. The status strip's link buttons and the
// connection tile draw links in these colours, always with black text.
QColor linkStateColour(int state);

} // namespace QVantel
