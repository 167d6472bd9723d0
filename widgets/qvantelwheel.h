#pragma once

#include <QAbstractButton>

// A value wheel over the indexes 0 to maximum of a menu row's value list: a ring with a pointer
// that sweeps 300 degrees, no text. A click engages it (checked); while engaged "+" and "-"
// step the value by one within the range, every other key, and every key while not engaged,
// goes to frontPanelReceiver. Losing the focus disengages it, and first returns a wheel whose
// revert flag is set to its committed value (the last one given by setValue or setMaximum).
//
// Signals: valueChanged(int) on each "+"/"-" step that changed the value; the inherited
// toggled(bool) on engaging and disengaging. setValue, setMaximum and the revert never signal.
class QVantelWheel : public QAbstractButton
{
    Q_OBJECT

public:
    explicit QVantelWheel(QWidget *parent = nullptr);
    ~QVantelWheel() override;

    int value() const { return m_value; }
    int committedValue() const { return m_committed; }
    int maximum() const { return m_maximum; }
    bool revert() const { return m_revert; }

    // Lowers value and committed value to a smaller maximum.
    void setMaximum(int maximum);
    // Accepts 0 to maximum only; sets value and committed value.
    void setValue(int value);
    void setRevert(bool on);

    // The pointer's angle in degrees, clockwise from straight down (30 at 0).
    qreal pointerAngle() const;

    QSize sizeHint() const override;

Q_SIGNALS:
    void valueChanged(int value);

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void pressKey(int key);

    bool m_revert = false;
    int m_value = 0;
    int m_committed = 0;
    int m_maximum = 0;
};
