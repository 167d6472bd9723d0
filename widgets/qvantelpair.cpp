#include "widgets/qvantelpair.h"

#include "widgets/qvantelswitch.h"

#include "resources/tallydeskresources.h"

#include <QPainter>
#include <QPixmap>

QVantelPair::QVantelPair(QWidget *parent)
    : QAbstractButton(parent)
{
    setFocusPolicy(Qt::NoFocus);
    initTallydeskResources();
}

QVantelPair::~QVantelPair() = default;

QSize QVantelPair::sizeHint() const
{
    return QSize(50, 40);
}

void QVantelPair::paintEvent(QPaintEvent *)
{
    const QPixmap image(isChecked() ? QStringLiteral(":/images/pair_on.png")
                                    : QStringLiteral(":/images/pair_off.png"));
    if (image.isNull())
        return;
    QPainter painter(this);
    painter.drawPixmap(QVantelSwitch::imageOrigin(size(), image.size()), image);
}
