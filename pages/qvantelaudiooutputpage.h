#pragma once

#include "model/audiosettings.h"
#include "model/comdevice.h"
#include "model/matrixsettings.h"
#include "pages/qvantelaudiowidget.h"

#include <array>

class QFrame;
class QLabel;
class QVantelKnob;
class QVantelPair;
class QVantelSlideSimple;
class QVantelSwitch;

// Front-panel page 6: routes the programme and coordination, their returns and the headphone-4
// mix to the outputs (USB, LINE 1 and 2, the two audio-over-IP outputs), sets the two line
// output levels and pairs the line and the audio-over-IP outputs as stereo pairs. The rows sit
// in a drag-scroll area; the LINE 2 row and the headphone-4 column come and go with the device.
//
// The page shows the matrix node flags and the audio settings and writes only what the
// operator clicks or turns: a device level outside a knob's range is shown clamped and is not
// written back. Children of the page only; GUI thread only.
class QVantelAudioOutputPage : public QVantelAudioWidget
{
    Q_OBJECT

public:
    // Rows by output: USB (11), LINE 1 (10), LINE 2 (14), first and second audio-over-IP
    // output (12, 13).
    enum Row { UsbRow, Line1Row, Line2Row, Aoip1Row, Aoip2Row, RowCount };
    // Columns: programme return, coordination return, programme, coordination, headphone 4.
    enum Column { ProgramReturn, CoordReturn, Program, Coord, Headphone4, ColumnCount };

    explicit QVantelAudioOutputPage(QWidget *parent = nullptr);
    ~QVantelAudioOutputPage() override;
    Q_DISABLE_COPY_MOVE(QVantelAudioOutputPage)

    void resetView() override;

    // Null for the USB row's headphone-4 place.
    [[nodiscard]] QVantelSwitch *switchAt(int row, int column) const;
    [[nodiscard]] QLabel *rowLabel(int row) const;
    [[nodiscard]] QVantelKnob *levelKnob(int line) const; // line 1 or 2
    [[nodiscard]] QVantelPair *linePairButton() const { return m_linePairButton; }
    [[nodiscard]] QVantelPair *aoipPairButton() const { return m_aoipPairButton; }
    [[nodiscard]] QVantelSlideSimple *scrollArea() const { return m_scrollArea; }

protected:
    void showEvent(QShowEvent *event) override;

private slots:
    void deviceStateChanged(TComDevice::DeviceState state);
    void audioControllerStateChanged(TComController *controller);
    void audioControllerParamChanged(TComController *controller, TAudioSettings::CtlrParam param);
    void matrixControllerStateChanged(TComController *controller);
    void matrixNodeChanged(QVantel::Inputs input, QVantel::Outputs output);
    void page1Clicked();
    void page2Clicked();
    void page3Clicked();

private:
    void buildUi();
    void switchClicked(int row, int column);
    void pairClicked(QVantelPair *button);
    void arrangeRows(bool showLine2, bool showHeadphone4);
    void applyHardwareLayout();
    void applyOperationMode(bool extended);
    // Knob 2 and the LINE 2 switches, and the second audio-over-IP row's switches (unless the
    // audio-over-IP rows are unavailable), as the mode and the unit's pair flags say.
    void applyPairLocks(bool extended);
    // Greys the audio-over-IP rows and draws their switches locked, until resetView().
    void setAoipRowsUnavailable();
    void showLineLevel(QVantelKnob *knob, int level, int output);
    [[nodiscard]] int inputOf(int row, int column) const;

    QLabel *m_headphone4Header = nullptr;
    QVantelSlideSimple *m_scrollArea = nullptr;
    std::array<QLabel *, RowCount> m_rowLabels{};
    std::array<std::array<QVantelSwitch *, ColumnCount>, RowCount> m_switches{};
    std::array<QFrame *, 4> m_separators{};
    QVantelKnob *m_knob1 = nullptr;
    QVantelKnob *m_knob2 = nullptr;
    QVantelPair *m_linePairButton = nullptr;
    QVantelPair *m_aoipPairButton = nullptr;
    QLabel *m_line1Mark = nullptr;
    QLabel *m_line2Mark = nullptr;
    QLabel *m_aoip1Mark = nullptr;
    QLabel *m_aoip2Mark = nullptr;
    // The unit has no audio-over-IP module or no auxiliary board: those rows stay locked.
    bool m_aoipUnavailable = false;
};
