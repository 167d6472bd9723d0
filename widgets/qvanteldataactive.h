#pragma once

#include <QWidget>

// The data activity glyph, 18 x 18: an up arrow and a down arrow in the palette's text colour.
// It has no state; its owner shows or hides it. No signals.
class QVantelDataActive : public QWidget
{
    Q_OBJECT

public:
    explicit QVantelDataActive(QWidget *parent = nullptr);
    ~QVantelDataActive() override;

protected:
    void paintEvent(QPaintEvent *event) override;
};
