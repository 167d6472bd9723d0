#pragma once

#include "model/qvantelrouting.h"

#include <QLabel>

// A label that also shows a panning mode: its text first, then the marks over it ("=" on both
// sides for none, a green "L" at the left, a red "R" at the right, both for the other modes).
// The owning page keeps its selection in value(); nothing is drawn from it.
//
// Signal: panningChanged(QVantel::PanCtrl) when setPanning changed the mode while visible.
class QVantelAudio : public QLabel
{
    Q_OBJECT

public:
    explicit QVantelAudio(QWidget *parent = nullptr);
    ~QVantelAudio() override;

    int value() const { return m_value; }
    // Stores the page's selection; no repaint, no signal.
    void setValue(int value);

    int panning() const { return m_panning; }
    void setPanning(int mode);

Q_SIGNALS:
    void panningChanged(QVantel::PanCtrl panning);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_value = -1;
    int m_panning = 0;
};
