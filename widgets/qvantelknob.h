#pragma once

#include "model/qvantelrouting.h"

#include <QAbstractButton>
#include <QList>

// A turnable knob: a ring with a pointer that sweeps 300 degrees from the minimum to the
// maximum, the value (or its text) in the middle and, when built with panning, the panning
// marks below. A click engages it (checked), a second click or losing the focus disengages it.
// While engaged "+" and "-" step the value and Return, Enter and key 352 step the panning mode;
// every other key, and every key while not engaged, goes to frontPanelReceiver.
//
// Signals: valueChanged(int) when "+"/"-" or setValue() changed the value (setValue only while
// the knob is visible); panningChanged(QVantel::PanCtrl) when the panning mode was stepped or
// setPanning() changed it while visible. The bound setters never signal.
class QVantelKnob : public QAbstractButton
{
    Q_OBJECT

public:
    struct Entry
    {
        int value;
        QString text;
    };

    explicit QVantelKnob(bool panning, QWidget *parent = nullptr, bool stereoAllowed = false);
    ~QVantelKnob() override;

    int value() const { return m_value; }
    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }
    int step() const { return m_step; }
    int panning() const { return m_panningMode; }
    bool hasPanning() const { return m_panning; }

    // Stores the bound and the text shown at it; a value below it is raised to it (no signal).
    void setMinimum(int value, const QString &text = QString());
    // Stores the bound and the text shown at it; a value above it is lowered to it (no signal).
    void setMaximum(int value, const QString &text = QString());
    void setStep(int step);
    // Clamps to [minimum, maximum]; signals a change only while the knob is visible.
    void setValue(int value);
    // Ignored on a knob without panning; signals a change only while the knob is visible.
    void setPanning(int mode);

    // Shows the value list's text of the value in place of the number.
    bool useValueTexts() const { return m_useValueTexts; }
    void setUseValueTexts(bool on);

    void addValue(int value, const QString &text);
    int indexOfValue(int value) const;
    int indexOfText(const QString &text) const;
    int valueAt(int index) const;
    QString textAt(int index) const;

    // The text drawn in the middle of the ring for the current state.
    QString displayText() const;
    // The pointer's angle in degrees, clockwise from straight down (30 at the minimum).
    qreal pointerAngle() const;

    QSize sizeHint() const override;

    // The panning mode that Return steps to from `mode`.
    static int nextPanning(int mode, bool stereoAllowed);

Q_SIGNALS:
    void valueChanged(int value);
    void panningChanged(QVantel::PanCtrl panning);

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    // Handles one key press as the knob's own key handling does.
    void pressKey(int key);
    QColor ringColor() const;

    bool m_stereoAllowed;
    bool m_panning;
    int m_panningMode = 0;
    int m_value = 0;
    int m_step = 1;
    int m_minimum = 0;
    int m_maximum = 0;
    QString m_minimumText;
    QString m_maximumText;
    QList<Entry> m_values;
    bool m_useValueTexts = false;
};
