#pragma once

#include <QWidget>

// The network quality gauge, 13 x 46: six segments filled from the bottom as the quality
// (0 to 100) passes 10, 25, 40, 55, 70 and 85, a "?" for an unknown quality (below 0), and a
// small arrow below pointing down (receive) or up (transmit). No signals.
class QVantelNetQuality : public QWidget
{
    Q_OBJECT

public:
    explicit QVantelNetQuality(QWidget *parent = nullptr);
    ~QVantelNetQuality() override;

    int quality() const { return m_quality; }
    // Clamped to -1..100.
    void setQuality(int quality);

    bool isDownward() const { return m_downward; }
    void setDownward(bool downward);

    // How many of the six segments a quality fills.
    static int segments(int quality);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_quality = 100;
    bool m_downward = false;
};
