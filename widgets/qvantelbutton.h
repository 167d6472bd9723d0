#pragma once

#include <QAbstractButton>

class QPainter;

// A push button drawn by hand in the front panel's style: a border of `borderWidth` pixels and
// an inside, both in the palette's window brush (a window brush without fill pattern gives an
// outlined button), rounded by `radius` (0 draws square corners), then the icon and the text
// centred inside the border. It never takes the focus. Emits the inherited clicked().
class QVantelButton : public QAbstractButton
{
    Q_OBJECT

public:
    explicit QVantelButton(QWidget *parent = nullptr);
    ~QVantelButton() override;

    int borderWidth() const { return m_borderWidth; }
    // Accepted when 1 or more; repaints when changed.
    void setBorderWidth(int width);

    qreal radius() const { return m_radius; }
    // Accepted when 0 or more; repaints when changed.
    void setRadius(qreal radius);

    QSize sizeHint() const override;

    // Draws the border and inside of `rect` as a button does; shared with other tile widgets.
    static void paintFrame(QPainter &painter,
                           const QRect &rect,
                           int borderWidth,
                           qreal radius,
                           const QPalette &palette);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_borderWidth = 1;
    qreal m_radius = 15.0;
};
