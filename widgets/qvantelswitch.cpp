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

void QVantelSwitch::setDimmedWhenDisabled(bool on)
{
    if (on == m_dimmedWhenDisabled)
        return;
    m_dimmedWhenDisabled = on;
    if (!isEnabled())
        update();
}

QPoint QVantelSwitch::imageOrigin(const QSize &area, const QSize &imageSize)
{
    const int x = imageSize.width() > area.width() ? 0 : (area.width() - imageSize.width()) / 2;
    const int y = imageSize.height() > area.height() ? 0 : (area.height() - imageSize.height()) / 2;
    return QPoint(x, y);
}

void QVantelSwitch::paintImage(QAbstractButton *button,
                               const QString &onImage,
                               const QString &offImage,
                               bool dimmed)
{
    const QPixmap image = qvantelPixmap(button->isChecked() ? onImage : offImage);
    if (image.isNull())
        return;
    QPainter painter(button);
    if (dimmed)
        painter.setOpacity(kQVantelDisabledOpacity);
    painter.drawPixmap(imageOrigin(button->size(), image.size()), image);
}

void QVantelSwitch::paintEvent(QPaintEvent *)
{
    paintImage(this,
               QStringLiteral(":/images/switch_on.png"),
               QStringLiteral(":/images/switch_off.png"),
               !isEnabled() && m_dimmedWhenDisabled);
}
