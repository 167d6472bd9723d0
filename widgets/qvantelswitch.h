#pragma once

#include <QAbstractButton>

// An on/off switch drawn from the images ":/images/switch_on.png" and ":/images/switch_off.png"
// by its checked state. Pages make it checkable and follow the inherited clicked(). It never
// takes the focus; a missing image leaves the widget blank.
class QVantelSwitch : public QAbstractButton
{
    Q_OBJECT

public:
    explicit QVantelSwitch(QWidget *parent = nullptr);
    ~QVantelSwitch() override;

    QSize sizeHint() const override;

    // Top-left corner at which an image of `imageSize` is drawn inside `area`: centred, or at 0
    // along an axis on which the image is larger than the area.
    static QPoint imageOrigin(const QSize &area, const QSize &imageSize);

protected:
    void paintEvent(QPaintEvent *event) override;
};
