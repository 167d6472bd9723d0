#include "widgets/qpwdlabel.h"

#include <QPainter>

QPwdLabel::QPwdLabel(QWidget *parent)
    : QLabel(parent)
{}

QPwdLabel::~QPwdLabel() = default;

void QPwdLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(palette().color(foregroundRole()));
    const Qt::Alignment align = alignment() & ~Qt::TextWordWrap;
    painter.drawText(
        rect(), int(align) | Qt::TextSingleLine, QString(text().size(), QLatin1Char('*')));
}
