#pragma once

#include "widgets/qvantelaudiobase.h"

class QLabel;
class QVantelAudioBalance;
class QVantelKnob;

// The knob strip (132 x 136): input name, user label, a gain knob from -31 to 16 and, on
// headphone mixes, a balance control in place of the user label. On a strip with panning the
// knob's minimum reads "Off" and stands for gain -160.
//
// setGain clamps to the knob's range and always emits gainChanged on a change; on a visible
// strip the knob's own report may deliver the same gain once more first. setState: 0 normal,
// 1 knob disabled, 2 knob disabled and labels grey.
class QVantelAudioInput : public QVantelAudioBase
{
    Q_OBJECT

public:
    QVantelAudioInput(bool labelsBelow,
                      QWidget *parent = nullptr,
                      bool withBalance = false,
                      bool stereoAllowed = false);
    QVantelAudioInput(bool labelsBelow,
                      bool panning,
                      QWidget *parent,
                      bool withBalance = false,
                      bool stereoAllowed = false);
    ~QVantelAudioInput() override;

    void setInput(QVantel::Inputs input) override;
    void setPanning(QVantel::PanCtrl panning) override;
    void setGain(int gain) override;
    void setName(const QString &label, bool force) override;
    void setBalance(int balance) override;

    bool labelsBelow() const { return m_labelsBelow; }
    // Whether the strip has a balance control, and whether it admits the programme split.
    bool hasBalance() const { return m_withBalance; }
    bool stereoAllowed() const { return m_stereoAllowed; }
    void setLabelsBelow(bool below);
    int state() const { return m_state; }
    void setState(int state);

    QLabel *nameLabel() const { return m_nameLabel; }
    QLabel *userLabel() const { return m_userLabel; }
    QVantelKnob *knob() const { return m_knob; }
    QVantelAudioBalance *balanceControl() const { return m_balanceControl; }

public slots:
    void knobGainChanged(int value);
    void knobPanningChanged(QVantel::PanCtrl panning);
    void audioBalanceChanged(int value);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void applyGeometry();
    void setLabelColor(const QColor &color);

    bool m_labelsBelow;
    int m_state = 0;
    QLabel *m_nameLabel = nullptr;
    QLabel *m_userLabel = nullptr;
    QVantelKnob *m_knob = nullptr;
    QVantelAudioBalance *m_balanceControl = nullptr;
    bool m_withBalance;
    bool m_stereoAllowed;

    Q_DISABLE_COPY_MOVE(QVantelAudioInput)
};
