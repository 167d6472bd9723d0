#include "widgets/qvantelswitch.h"

#include "resources/tallydeskresources.h"
#include "widgets/qvantelimage.h"

#include <QPainter>
#include <QPixmap>

QVantelSwitch::QVantelSwitch(QWidget *parent)
    : QAbstractButton(parent)
{
    setFocusPolicy(Qt::NoFocus);
    initTallydeskResources();
}

QVantelSwitch::~QVantelSwitch() = default;

QSize QVantelSwitch::sizeHint() const
{
    return QSize(60, 34);
}

QPoint QVantelSwitch::imageOrigin(const QSize &area, const QSize &imageSize)
{
    const int x = imageSize.width() > area.width() ? 0 : (area.width() - imageSize.width()) / 2;
    const int y = imageSize.height() > area.height() ? 0 : (area.height() - imageSize.height()) / 2;
    return QPoint(x, y);
}

void QVantelSwitch::paintEvent(QPaintEvent *)
{
    const QPixmap image = qvantelPixmap(isChecked() ? QStringLiteral(":/images/switch_on.png")
                                                    : QStringLiteral(":/images/switch_off.png"));
    if (image.isNull())
        return;
    QPainter painter(this);
    painter.drawPixmap(imageOrigin(size(), image.size()), image);
}
