#include "frontpanel/droppedinputmark.h"

#include <QPainter>
#include <QPen>
#include <QTimer>

#include <algorithm>

namespace {

// The panel's warning red, softened so that the mark does not read as an alarm.
const QColor kMarkColour(235, 70, 55);

} // namespace

DroppedInputMark::DroppedInputMark(QWidget *panel)
    : QWidget(panel)
{
    setObjectName(QStringLiteral("droppedInputMark"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    setFixedSize(kSize, kSize);
}

DroppedInputMark::~DroppedInputMark() = default;

DroppedInputMark *DroppedInputMark::show(QWidget *panel, const QPoint &globalPosition)
{
    auto *mark = new DroppedInputMark(panel);
    const QPoint local = panel->mapFromGlobal(globalPosition);
    const int x = std::clamp(local.x() - kSize / 2, 0, std::max(0, panel->width() - kSize));
    const int y = std::clamp(local.y() - kSize / 2, 0, std::max(0, panel->height() - kSize));
    mark->move(x, y);
    mark->raise();
    mark->QWidget::show();
    QTimer::singleShot(kShownMs, mark, &QObject::deleteLater);
    return mark;
}

void DroppedInputMark::paintEvent(QPaintEvent * /*event*/)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal pen = 4;
    const QRectF ring = QRectF(rect()).adjusted(pen, pen, -pen, -pen);
    QColor fill = kMarkColour;
    fill.setAlpha(70);
    painter.setBrush(fill);
    painter.setPen(QPen(kMarkColour, pen, Qt::SolidLine, Qt::RoundCap));
    painter.drawEllipse(ring);
    // The bar from upper left to lower right, inside the ring.
    const qreal inset = ring.width() * 0.1464; // where the diagonal meets the ring
    painter.drawLine(ring.topLeft() + QPointF(inset, inset),
                     ring.bottomRight() - QPointF(inset, inset));
}
