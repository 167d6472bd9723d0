#pragma once

#include <QAbstractButton>

// The receive/transmit balance of a headphone strip: an "Rx"/"Tx" scale with a marker for the
// values 0 to 12 (centre 6). A left click engages it (checked); while engaged "+" and "-" step
// the value within the range and emit valueChanged. Every other key, and every key while not
// engaged, goes to frontPanelReceiver (from-control flag 1); every release too. A right click
// acts as an Enter key press, a mouse-wheel turn as "+" or "-". Losing the focus disengages it.
// setValue() signals only while the control is visible.
class QVantelAudioBalance : public QAbstractButton
{
    Q_OBJECT

public:
    explicit QVantelAudioBalance(QWidget *parent = nullptr);
    ~QVantelAudioBalance() override;

    int value() const { return m_value; }
    int step() const { return m_step; }
    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }

    void setMinimum(int minimum);
    void setMaximum(int maximum);
    void setStep(int step);
    void setValue(int value);

    // The marker's x position for the present value.
    int markerX() const { return 28 + 6 * m_value; }

signals:
    void valueChanged(int value);

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void pressKey(int key);

    int m_value = 0;
    int m_step = 1;
    int m_minimum = 0;
    int m_maximum = 0;

    Q_DISABLE_COPY_MOVE(QVantelAudioBalance)
};
