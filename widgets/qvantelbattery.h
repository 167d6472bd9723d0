#pragma once

#include <QWidget>

// The battery gauge, 18 x 28: a charge level of 0 to 100 filled from the bottom (red below 21,
// orange below 41, green otherwise), 120 a charging bolt, 140 full on mains power (dark green);
// any other level shows the empty frame. No signals.
class QVantelBattery : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kCharging = 120;
    static constexpr int kMains = 140;

    explicit QVantelBattery(QWidget *parent = nullptr);
    ~QVantelBattery() override;

    int level() const { return m_level; }
    void setLevel(int level);

    // The filled rows of a level of 0 to 100 (an empty rectangle for other levels).
    static QRect chargeRect(int level);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_level = 0;
};
