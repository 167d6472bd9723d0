#pragma once

#include "frontpanel/ivantelmeterpage.h"
#include "model/audiosettings.h"
#include "model/comdevice.h"
#include "model/matrixsettings.h"
#include "pages/qvantelaudiowidget.h"

#include <array>
#include <map>
#include <utility>

class QLabel;
class QVantelBars;
class QVantelButton;
class QVantelKnob;
class QVantelPair;

// Front-panel page 3, the input gains: one knob and one level meter per input (INPUT 1 to 4,
// USB, AUX 1/2, AES 1/2 and the two audio-over-IP inputs), the programme and coordination master
// gains, the pair buttons that join neighbouring inputs into stereo pairs, and a button to the
// input page. INPUT 1 to 4 set the audio settings' gains (or, while an input's pad is on, its
// line level); every other knob sets a gain of the routing matrix.
//
// The page follows the device, the audio settings and the matrix through their signals and
// keeps no model values of its own. Showing a model value on a control never writes it back:
// only the operator's own turn or click reaches the model, so a device value outside a knob's
// range is shown clamped and left as it is on the device. The window feeds the meters through
// IVantelMeterPage. Children of the page only; GUI thread only.
class QVantelAudioPage : public QVantelAudioWidget, public IVantelMeterPage
{
    Q_OBJECT

public:
    explicit QVantelAudioPage(QWidget *parent = nullptr);
    ~QVantelAudioPage() override;
    Q_DISABLE_COPY_MOVE(QVantelAudioPage)

    void resetView() override;
    // Levels in the order of the meters' inputs 0 to 10; reset moves the peak marks at once.
    void setMeterLevels(const int *levels, int count, bool reset) override;

    [[nodiscard]] const std::map<int, QVantelBars *> &meters() const { return m_meters; }

protected:
    void showEvent(QShowEvent *event) override;

private slots:
    void deviceStateChanged(TComDevice::DeviceState state);
    void audioControllerStateChanged(TComController *controller);
    void audioControllerParamChanged(TComController *controller, TAudioSettings::CtlrParam param);
    void matrixControllerStateChanged(TComController *controller);
    void matrixOptionsChanged(TMatrixSettings::MatrixOpts previous);
    void matrixInputGainChanged(QVantel::Inputs input);
    void matrixOutputGainChanged(QVantel::Outputs output);
    void knob1ValueChanged(int value);
    void knob2ValueChanged(int value);
    void page1Clicked();

private:
    void buildUi();
    QVantelKnob *makeKnob(const char *name, int x, int y, int minimum, int maximum);
    QVantelBars *makeMeter(int input, int x, int y);
    QVantelPair *makePair(const char *name, int x, int y);
    // The operator turned a knob or clicked a pair button.
    void matrixKnobTurned(QVantelKnob *knob, int value);
    void masterKnobTurned(QVantelKnob *knob, int value);
    void pairClicked(QVantelPair *button);

    void setMasterScale(bool extended);
    void applyOperationMode(bool extended);
    void applyHardwareLayout();
    void applyInputSource();
    void enableInputKnobs();
    void clearInputGains();
    void showMasterGain(QVantelKnob *knob, float gain);
    // Puts the AUX 1 knob column and the audio-over-IP group (label, two knob columns) with their
    // knobs at these x positions: the standard layout or the compact unit's.
    void placeAux1AndAoip(int aux1X, int aoip1X);
    // The labels and knobs of the sources an auxiliary board brings: AUX, AES and audio over IP.
    [[nodiscard]] std::array<QLabel *, 8> boardLabels() const;
    [[nodiscard]] std::array<QVantelKnob *, 6> boardKnobs() const;
    // The knobs of the matrix input gains, each with its input.
    [[nodiscard]] std::array<std::pair<QVantelKnob *, int>, 7> matrixKnobs() const;
    void grey(QWidget *widget);
    void ungrey(QWidget *widget);
    [[nodiscard]] static bool sideTone();

    std::map<int, QVantelBars *> m_meters;
    QVantelKnob *m_input1Knob = nullptr;
    QVantelKnob *m_input2Knob = nullptr;
    QVantelKnob *m_input3GainKnob = nullptr;
    QVantelKnob *m_input3LevelKnob = nullptr;
    QVantelKnob *m_input4GainKnob = nullptr;
    QVantelKnob *m_input4LevelKnob = nullptr;
    QVantelKnob *m_usbKnob = nullptr;
    QVantelKnob *m_aux1Knob = nullptr;
    QVantelKnob *m_aux2Knob = nullptr;
    QVantelKnob *m_aes1Knob = nullptr;
    QVantelKnob *m_aes2Knob = nullptr;
    QVantelKnob *m_aoip1Knob = nullptr;
    QVantelKnob *m_aoip2Knob = nullptr;
    QVantelKnob *m_programKnob = nullptr;
    QVantelKnob *m_coordKnob = nullptr;
    QLabel *m_input1Label = nullptr;
    QLabel *m_input2Label = nullptr;
    QLabel *m_input3Label = nullptr;
    QLabel *m_input4Label = nullptr;
    QLabel *m_usbLabel = nullptr;
    QLabel *m_aux1Label = nullptr;
    QLabel *m_aux2Label = nullptr;
    QLabel *m_aesLabel = nullptr;
    QLabel *m_aes1Label = nullptr;
    QLabel *m_aes2Label = nullptr;
    QLabel *m_aoipLabel = nullptr;
    QLabel *m_aoip1Label = nullptr;
    QLabel *m_aoip2Label = nullptr;
    QVantelButton *m_inputSettingsButton = nullptr;
    QVantelPair *m_pair12Button = nullptr;
    QVantelPair *m_pair34Button = nullptr;
    QVantelPair *m_auxPairButton = nullptr;
    QVantelPair *m_aesPairButton = nullptr;
    QVantelPair *m_aoipPairButton = nullptr;
};
