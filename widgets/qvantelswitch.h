#pragma once

#include <QAbstractButton>

class QString;

// An on/off switch drawn from the images ":/images/switch_on.png" and ":/images/switch_off.png"
// by its checked state. Pages make it checkable and follow the inherited clicked(). It never
// takes the focus; a missing image leaves the widget blank. Disabled, it is drawn dimmed, unless
// it stands for the chosen entry of a one-of-many choice (setDimmedWhenDisabled(false)): such a
// switch is disabled only so that it cannot be switched off, and keeps its live look.
class QVantelSwitch : public QAbstractButton
{
    Q_OBJECT

public:
    explicit QVantelSwitch(QWidget *parent = nullptr);
    ~QVantelSwitch() override;

    QSize sizeHint() const override;

    bool isDimmedWhenDisabled() const { return m_dimmedWhenDisabled; }
    void setDimmedWhenDisabled(bool on);

    // Top-left corner at which an image of `imageSize` is drawn inside `area`: centred, or at 0
    // along an axis on which the image is larger than the area.
    static QPoint imageOrigin(const QSize &area, const QSize &imageSize);

    // Paints the on or off image of `button` by its checked state, placed by imageOrigin and
    // dimmed when `dimmed` is set.
    static void paintImage(QAbstractButton *button,
                           const QString &onImage,
                           const QString &offImage,
                           bool dimmed);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_dimmedWhenDisabled = true;
};
