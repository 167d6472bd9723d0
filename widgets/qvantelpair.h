#pragma once

#include <QAbstractButton>

// The pairing toggle of two neighbouring inputs, drawn from ":/images/pair_on.png" and
// ":/images/pair_off.png" by its checked state. Pages make it checkable and follow the inherited
// clicked(). It never takes the focus; a missing image leaves the widget blank. Disabled, it is
// drawn dimmed as a disabled QVantelSwitch is.
class QVantelPair : public QAbstractButton
{
    Q_OBJECT

public:
    explicit QVantelPair(QWidget *parent = nullptr);
    ~QVantelPair() override;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
};
