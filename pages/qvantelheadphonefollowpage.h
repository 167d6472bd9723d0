#pragma once

#include "model/audiosettings.h"
#include "pages/qvantelheadphonewidget.h"
#include "widgets/qvantelpage.h"

#include <array>

class QLabel;
class QVantelAudioBase;
class QVantelButton;
class QVantelSwitch;

// Headphone pages 3 and 4 (one design, told apart by the headphone index 2 or 3): the mix of
// the headphone on outputs 2h+2/2h+3 as a wide grid of knob strips and a side-tone strip (the
// gain of the user's own microphone, input h), plus four switches: follow the mix of headphone 1
// (switch1) or 2 (switch2), and, in the standard operation mode only, monitor the programme
// output (switch3) or the coordination output (switch4) directly.
//
// Follow state: m_followedHeadphone -1 (own mix), 0 or 1, kept in byte 0 of the headphone's audio
// configuration. Following copies the followed headphone's outputs onto this one; monitoring
// replaces that copy with the programme or coordination output while it is on and restores it
// when turned off.
//
// Every change goes into TMatrixSettings (routing and balance as one headphone-mix write per
// action); the updating flag drops the echoes. GUI thread only.
class QVantelHeadphoneFollowPage : public QVantelHeadphoneWidget
{
    Q_OBJECT

public:
    // headphoneIndex is 2 (page 3) or 3 (page 4).
    QVantelHeadphoneFollowPage(int headphoneIndex, QWidget *parent);
    ~QVantelHeadphoneFollowPage() override;
    Q_DISABLE_COPY_MOVE(QVantelHeadphoneFollowPage)

    // Also unchecks the four switches without clicking, enables them and forgets the followed
    // headphone, so nothing of the previous session survives.
    void resetView() override;

    // switch 1 to 4.
    [[nodiscard]] QVantelSwitch *followSwitch(int number) const;
    [[nodiscard]] QLabel *programLabel() const { return m_programLabel; }
    [[nodiscard]] QLabel *coordLabel() const { return m_coordLabel; }
    [[nodiscard]] int followedHeadphone() const { return m_followedHeadphone; }

public slots:
    void deviceStateChanged(TComDevice::DeviceState state);
    void audioControllerParamChanged(TComController *controller, TAudioSettings::CtlrParam param);
    void matrixControllerStateChanged(TComController *controller);
    void matrixNodeChanged(QVantel::Inputs input, QVantel::Outputs output);
    void matrixAudioConfigChanged(QVantel::Inputs position);
    void switch1Clicked();
    void switch2Clicked();
    void switch3Clicked();
    void switch4Clicked();

private:
    void setupUi();

    [[nodiscard]] QString positionRecordName() const override;
    // Only the extended mode drags the inputs behind PROGRAM and COORD along; PROGRAM's stereo
    // right channel (QVantel::kProgramRightChannel) then reaches the right ear only.
    void writeDraggedGains(int input, int gain) override;
    [[nodiscard]] bool coordDragsReturn() const override { return comDevice()->isExtendedMode(); }

    // followed is 0 (headphone 1) or 1 (headphone 2); a monitoring switch is 0 (programme) or 1.
    void followClicked(int followed);
    void monitorClicked(int monitored);
    void copyFollowed(int followed, bool on);
    void writeConfigByte(quint8 value);
    // While a follow or monitoring switch is on, the strips keep the states it gives them.
    [[nodiscard]] int heldStripState(int input) const override;
    // Every strip not greyed takes the state the switches give it, or the device's.
    void applySwitchStates();
    [[nodiscard]] bool anySwitchChecked() const;

    std::array<QVantelSwitch *, 4> m_switches{};
    QLabel *m_programLabel = nullptr;
    QLabel *m_coordLabel = nullptr;
    int m_followedHeadphone = -1;
};
