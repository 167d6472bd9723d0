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
    // More stars than the label is wide end in an ellipsis, so a cut value says so.
    const QString stars = fontMetrics().elidedText(
        QString(text().size(), QLatin1Char('*')), Qt::ElideRight, rect().width());
    painter.drawText(rect(), int(align) | Qt::TextSingleLine, stars);
}
