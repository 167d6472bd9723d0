#include "widgets/qvantelpair.h"

#include "widgets/qvantelswitch.h"

#include "resources/tallydeskresources.h"

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
    QVantelSwitch::paintImage(this,
                              QStringLiteral(":/images/pair_on.png"),
                              QStringLiteral(":/images/pair_off.png"),
                              !isEnabled());
}
