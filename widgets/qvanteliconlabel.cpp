#include "widgets/qvanteliconlabel.h"

#include "widgets/qvantelimage.h"

#include <QPainter>
#include <QPixmap>
#include <QStyle>

QVantelIconLabel::QVantelIconLabel(QWidget *parent)
    : QLabel(parent)
{}

QVantelIconLabel::~QVantelIconLabel() = default;

void QVantelIconLabel::paintEvent(QPaintEvent *event)
{
    QPixmap image = pixmap();
    // The label's own disabled look is the style's, which differs from style to style.
    if (isEnabled() || image.isNull()) {
        QLabel::paintEvent(event);
        return;
    }
    const QRect area
        = contentsRect().marginsRemoved(QMargins(margin(), margin(), margin(), margin()));
    if (hasScaledContents()) {
        image = image.scaled(
            area.size() * devicePixelRatio(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        image.setDevicePixelRatio(devicePixelRatio());
    }
    QPainter painter(this);
    painter.setOpacity(kQVantelDisabledOpacity);
    style()->drawItemPixmap(&painter, area, int(alignment()), image);
}
