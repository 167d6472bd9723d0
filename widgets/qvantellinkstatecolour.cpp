#include "widgets/qvantellinkstatecolour.h"

namespace QVantel {

QColor linkStateColour(int state)
{
    switch (state) {
    case 1:
        return QColor(170, 255, 170);
    case 2:
        return QColor(Qt::green);
    case 3:
        return QColor(Qt::yellow);
    case 4:
        return QColor(Qt::red);
    case 5:
        return QColor(240, 101, 101);
    case 6:
        return QColor(234, 177, 102);
    default:
        return QColor(127, 127, 127);
    }
}

} // namespace QVantel
