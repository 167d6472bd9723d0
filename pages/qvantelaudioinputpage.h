#pragma once

#include "model/audiosettings.h"
#include "model/comdevice.h"
#include "model/matrixsettings.h"
#include "pages/qvantelaudiowidget.h"
#include "widgets/qvantelvirtual.h"

#include <QPointer>

#include <array>

class QFrame;
class QLabel;
class QVantelButton;
class QVantelSwitch;

// Front-panel page 4, the settings of INPUT 1 to INPUT 4: per input a name button (a tap opens
// the keyboard that renames the input), switches for phantom power, limiter, microphone/line pad
// and 80 Hz filter where the input has them, and the routing switches to the programme (left and
// right) and coordination outputs of the matrix. In standard operation mode the programme is one
// "Program" column; in extended mode it is split into left and right.
//
// The page follows the device, the audio settings and the matrix through their signals; a
// switch writes only when the operator clicks it. Children of the page only; GUI thread only.
class QVantelAudioInputPage : public QVantelAudioWidget
{
    Q_OBJECT

public:
    // Columns of the switch grid.
    enum Column {
        Phantom,
        Limiter,
        MicLine,
        Filter,
        ProgramLeft,
        ProgramRight,
        Coord,
        ColumnCount
    };
    static constexpr int RowCount = 4;

    explicit QVantelAudioInputPage(QWidget *parent = nullptr);
    ~QVantelAudioInputPage() override;
    Q_DISABLE_COPY_MOVE(QVantelAudioInputPage)

    void resetView() override;

    // The switch of row (0 to 3, INPUT 1 to INPUT 4) and column; null where the input has none.
    [[nodiscard]] QVantelSwitch *switchAt(int row, int column) const;
    [[nodiscard]] QVantelButton *nameButton(int row) const;
    // The rename keyboard while it is open.
    [[nodiscard]] QVantelVirtual *keyboard() const { return m_keyboard; }

protected:
    void showEvent(QShowEvent *event) override;

private slots:
    void deviceStateChanged(TComDevice::DeviceState state);
    void audioControllerStateChanged(TComController *controller);
    void audioControllerParamChanged(TComController *controller, TAudioSettings::CtlrParam param);
    void matrixControllerStateChanged(TComController *controller);
    void matrixInputNameChanged(QVantel::Inputs input);
    void matrixNodeChanged(QVantel::Inputs input, QVantel::Outputs output);
    void page1Clicked();
    void page2Clicked();
    void page3Clicked();

private:
    void buildUi();
    void switchClicked(int row, int column);
    void buttonClicked(int row);
    void popupClosed(QVantelVirtual *keyboard);
    void applyHardwareLayout();
    void applyOperationMode(bool isExtended);
    void applyPairVisibility();
    void showAudioSwitch(TAudioSettings::CtlrParam param);

    std::array<QVantelButton *, RowCount> m_nameButtons{};
    std::array<std::array<QVantelSwitch *, ColumnCount>, RowCount> m_switches{};
    QLabel *m_limiterHeader = nullptr;
    QLabel *m_micLineHeader = nullptr;
    QLabel *m_filterHeader = nullptr;
    QLabel *m_programLeftHeader = nullptr;
    QLabel *m_programRightHeader = nullptr;
    QLabel *m_coordHeader = nullptr;
    std::array<QFrame *, 3> m_leftSeparators{};
    std::array<QFrame *, 3> m_rightSeparators{};
    QVantelButton *m_auxSettingsButton = nullptr;
    QVantelButton *m_outputSettingsButton = nullptr;
    QVantelButton *m_backButton = nullptr;
    QPointer<QVantelVirtual> m_keyboard;
};
