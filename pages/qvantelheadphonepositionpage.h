#pragma once

#include "model/audiosettings.h"
#include "pages/qvantelheadphonewidget.h"
#include "widgets/qvantelpage.h"

#include <array>

class QVantelAudioBase;
class QVantelButton;
class QVantelHeadphoneAudio;
class QVantelHeadphoneSelect;
class QVantelMessage;
class QVantelPopup;

// Headphone pages 1 and 2 (one design, told apart by the headphone index 0 or 1): the mix of
// the headphone on outputs 2h+2/2h+3 as a grid of knob strips, a side-tone strip (the user's own
// microphone, input h), four position buttons whose sources the user picks, copy buttons that
// ask the window to copy this mix onto another headphone, and a bar of page buttons.
//
// Every strip and position change is written into TMatrixSettings (routing and balance as one
// headphone-mix write per action, between beginHeadphoneEdit and commitHeadphoneEdit); every
// node change of this headphone is shown. The updating flag drops the echoes.
//
// Positions: each source input is held by at most one position button or one grid strip. The
// four position inputs are kept in the headphone's audio configuration and in
// headphonePositionInputs (entries 4h to 4h+3).
//
// Popups and messages are created per click with the page as parent, are application-modal and
// delete themselves after closing. GUI thread only.
class QVantelHeadphonePositionPage : public QVantelHeadphoneWidget
{
    Q_OBJECT

public:
    static constexpr int kPositionCount = 4;

    // headphoneIndex is 0 (page 1) or 1 (page 2).
    QVantelHeadphonePositionPage(int headphoneIndex, QWidget *parent);
    ~QVantelHeadphonePositionPage() override;
    Q_DISABLE_COPY_MOVE(QVantelHeadphonePositionPage)

    void resetView() override;

    [[nodiscard]] QVantelAudioButton *positionButton(int position) const;
    [[nodiscard]] QVantelButton *copyButton(int index) const;
    // The target position (1 to 4) of copy button 0 to 2.
    [[nodiscard]] int copyTarget(int index) const;

    // Makes input the source of the position button, exchanging it with the grid strip or the
    // other position that holds it; nothing when neither holds it. Both moved sources then show
    // their gain and routing as the matrix holds them, and nothing is written; a panning other
    // than the matrix's routing of input is then written like the operator's panning change.
    void assignSource(QVantelAudioButton *position, int input, QVantel::PanCtrl panning);

signals:
    void copySettingsClicked(int position);

public slots:
    void deviceStateChanged(TComDevice::DeviceState state);
    void audioControllerParamChanged(TComController *controller, TAudioSettings::CtlrParam param);
    void matrixControllerStateChanged(TComController *controller);
    void matrixNodeChanged(QVantel::Inputs input, QVantel::Outputs output);
    void matrixAudioConfigChanged(QVantel::Inputs position);
    void matrixNodeCopyChanged(QVantel::Outputs source, QVantel::Outputs target);

    // Opens the source popup of a position (left click) or its gain and panning popup (right
    // click). Return the popup; null when the button is no position of this page.
    QVantelHeadphoneSelect *buttonClicked(QVantelAudioButton *button);
    QVantelHeadphoneAudio *rightButtonClicked(QVantelAudioButton *button);
    // Asks for a copy of the mix to the target of copy button 0 to 2; returns the message opened,
    // null when the target is a copy of another output.
    QVantelMessage *copyClicked(int index);

private:
    void setupUi();

    void labelPanningChanged(QVantelAudioBase *button);
    // A popup of type Popup for a position button, which stays selected while it is open,
    // centred on the page and application-modal; null for a button that is no position here.
    template<typename Popup>
    Popup *openPositionPopup(QVantelAudioButton *button);
    // The position button popup was opened for, no longer selected; null when it is no position
    // of this page.
    QVantelAudioButton *closePositionPopup(const QVantelPopup *popup);
    // openedPanning: the routing the popup opened with.
    void popupSelectClosed(QVantelHeadphoneSelect *popup, int openedPanning);
    void popupAudioClosed(QVantelHeadphoneAudio *popup);
    void messageClosed(QVantelMessage *message, int target);

    void writeAudioConfig();
    // The routing of input on this headphone as the matrix holds it.
    [[nodiscard]] QVantel::PanCtrl unitPanning(int input) const;
    // The first grid strip, by input, in the normal state that is none of the programme and
    // coordination channels and their returns; -1 when there is none.
    [[nodiscard]] int firstPlainStrip() const;
    int positionOf(const QVantelAudioButton *button) const;

    std::array<QVantelAudioButton *, kPositionCount> m_positionButtons{};
    std::array<QVantelButton *, 3> m_copyButtons{};
};
