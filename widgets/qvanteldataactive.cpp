#include "widgets/qvanteldataactive.h"

#include <QLine>
#include <QPainter>

QVantelDataActive::QVantelDataActive(QWidget *parent)
    : QWidget(parent)
{
    setFixedSize(18, 18);
    setFocusPolicy(Qt::NoFocus);
    setAutoFillBackground(false);
    setAttribute(Qt::WA_OpaquePaintEvent, true);
}

QVantelDataActive::~QVantelDataActive() = default;

void QVantelDataActive::paintEvent(QPaintEvent *)
{
    static const QLine kLines[] = {
        // Up arrow on the left.
        {4, 0, 4, 17},
        {5, 0, 5, 17},
        {0, 4, 4, 0},
        {1, 4, 4, 1},
        {5, 0, 9, 4},
        {5, 1, 8, 4},
        // Down arrow on the right.
        {12, 0, 12, 17},
        {13, 0, 13, 17},
        {8, 13, 12, 17},
        {9, 13, 12, 16},
        {13, 17, 17, 13},
        {13, 16, 16, 13},
    };
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawLines(kLines, int(std::size(kLines)));
}
