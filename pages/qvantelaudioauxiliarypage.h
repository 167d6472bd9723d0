#pragma once

#include "model/audiosettings.h"
#include "model/comdevice.h"
#include "model/matrixsettings.h"
#include "pages/qvantelaudiowidget.h"
#include "widgets/qvantelvirtual.h"

#include <QPointer>

#include <array>

class QLabel;
class QVantelButton;
class QVantelSwitch;

// Front-panel page 5: routing switches that send the auxiliary sources (USB, AUX 1/2, AES 1/2
// and the two audio-over-IP inputs of the matrix) to the programme (left and right) and
// coordination outputs, and name buttons that rename those sources. The page shows the matrix
// node flags and writes a node only when the operator clicks its switch. Sources the device
// cannot serve are greyed and their switches cannot be switched on.
//
// Children of the page only; GUI thread only.
class QVantelAudioAuxiliaryPage : public QVantelAudioWidget
{
    Q_OBJECT

public:
    static constexpr int ColumnCount = 7;
    // Rows by output: programme (left), right programme, coordination.
    enum Row { ProgramRow, ProgramRightRow, CoordRow, RowCount };

    explicit QVantelAudioAuxiliaryPage(QWidget *parent = nullptr);
    ~QVantelAudioAuxiliaryPage() override;
    Q_DISABLE_COPY_MOVE(QVantelAudioAuxiliaryPage)

    void resetView() override;

    // Column 0 to 6 (inputs 8, 4, 5, 6, 7, 9, 10) and row.
    [[nodiscard]] QVantelSwitch *switchAt(int column, int row) const;
    [[nodiscard]] QVantelButton *columnButton(int column) const;
    [[nodiscard]] QLabel *rowLabel(int row) const;
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
    void switchClicked(int column, int row);
    void buttonClicked(int column);
    void popupClosed(QVantelVirtual *keyboard);
    void applyHardwareLayout();
    void applyOperationMode(bool extended);
    // pair 0 AUX, 1 AES, 2 audio over IP
    void applyPairRule(int pair);
    // Shows or hides one switch; a source the unit lacks stays hidden.
    void showSwitch(int column, int row, bool visible);
    void setColumnGreyed(int column, bool greyed);
    void setColumnUnavailable(int column);

    std::array<QVantelButton *, ColumnCount> m_buttons{};
    std::array<std::array<QVantelSwitch *, RowCount>, ColumnCount> m_switches{};
    std::array<QLabel *, RowCount> m_rowLabels{};
    QPalette m_normalPalette;
    QPalette m_greyedPalette;
    QPointer<QVantelVirtual> m_keyboard;
};
