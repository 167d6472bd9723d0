#pragma once

#include <QWidget>

// The mobile signal gauge, 24 x 18: five columns of growing height, `bars` of them filled,
// white while the controller is ready (mode 0) and red otherwise; "SIM" (mode 4) or "PIN"
// (modes 5 and 6) in red in place of the columns. The mode is a controller state. No signals.
class QVantelSigQuality : public QWidget
{
    Q_OBJECT

public:
    explicit QVantelSigQuality(QWidget *parent = nullptr);
    ~QVantelSigQuality() override;

    int mode() const { return m_mode; }
    int bars() const { return m_bars; }
    // Bars clamped to 0..5; repaints when mode or bars changed.
    void setQuality(int mode, int bars);

    // The rectangle of column k (1 to 5).
    static QRect columnRect(int k);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_mode = -1;
    int m_bars = 0;
};
