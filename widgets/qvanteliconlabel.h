#pragma once

#include <QLabel>

class QPaintEvent;

// The icon of a menu row. Disabled (the row is read-only), it draws its picture dimmed as a
// disabled switch is, whatever picture the row's page gives it; enabled it is a plain label.
class QVantelIconLabel : public QLabel
{
    Q_OBJECT

public:
    explicit QVantelIconLabel(QWidget *parent = nullptr);
    ~QVantelIconLabel() override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Q_DISABLE_COPY_MOVE(QVantelIconLabel)
};
