#pragma once

#include "frontpanel/ivantelheadphonepage.h"
#include "frontpanel/ivantelresetpage.h"
#include "model/audiosettings.h"
#include "model/comdevice.h"
#include "model/matrixsettings.h"
#include "model/qvantelrouting.h"
#include "widgets/qvantelpage.h"
#include "widgets/statuspanelforwarder.h"

#include <QScopedValueRollback>
#include <QWidget>

#include <array>
#include <map>

class MatrixRowLock;
class QFrame;
class QMouseEvent;
class QShowEvent;
class QVantelAudioBase;
class QVantelAudioButton;
class QVantelAudioInput;
class QVantelButton;
class QVantelStatusPanel;
class TComController;

// The sort key of every matrix input (0 to 29, the side-tone inputs 26 to 29 included) on the
// headphone pages and in their source lists. Starts as the standard variant; applyOperationMode()
// copies in the variant of the device's operation mode. Shared by all four pages; GUI thread only.
extern std::array<int, 30> inputDisplayOrder;

// Common base of the four headphone monitoring pages. A page shows the mix of one headphone:
// headphone h (0 to 3) listens on matrix outputs 2h+2 (left) and 2h+3 (right). The base owns
// the status strip, the grid of channel strips with its display order, the vertical swipe that
// pages the grid by whole rows (with its marker), the strip states that follow the device's
// options, operation mode, audio controller and matrix options, the input names, the reset after
// a login, and the copy of another headphone's mix into this one.
//
// The pages never talk to the device: they read and write TMatrixSettings, TAudioSettings and
// TComDevice. A page's handlers hold the updating flag (holdUpdating(), writeMix()) while they
// write the matrix or show a matrix change, and drop the strip and matrix signals that arrive
// meanwhile (isUpdating()).
//
// Scroll states: 0 no scrolling (marker hidden, presses ignored), 1 first screen, 2 middle
// screen (only where middleAllowed()), 3 last screen.
//
// The strips, buttons and maps are the page's children; the maps own nothing. GUI thread only.
class QVantelHeadphoneWidget : public QWidget,
                               public StatusPanelForwarder,
                               public IVantelResetPage,
                               public IVantelHeadphonePage
{
    Q_OBJECT

public:
    // The band of the page in which presses start and continue a swipe, and the marker's column.
    static constexpr int kBandTop = 104;
    static constexpr int kBandBottom = 380;
    // A swipe step needs a move of more than this many pixels from the last applied point.
    static constexpr int kDragStep = 9;
    // A swipe of this many pixels or more changes the screen.
    static constexpr int kScreenChange = 64;

    using StripMap = std::map<int, QVantelAudioInput *>;
    using ButtonMap = std::map<int, QVantelAudioButton *>;

    QVantelHeadphoneWidget(int headphoneIndex, QWidget *parent);
    ~QVantelHeadphoneWidget() override;
    Q_DISABLE_COPY_MOVE(QVantelHeadphoneWidget)

    [[nodiscard]] int headphoneIndex() const { return m_headphoneIndex; }
    [[nodiscard]] int leftOutput() const { return QVantel::headphoneLeftOutput(m_headphoneIndex); }
    [[nodiscard]] int rightOutput() const
    {
        return QVantel::headphoneRightOutput(m_headphoneIndex);
    }
    [[nodiscard]] int scrollState() const { return m_scrollState; }
    [[nodiscard]] bool middleAllowed() const { return m_middleAllowed; }
    // The input whose node gain is the side-tone level: the headphone's own microphone.
    [[nodiscard]] int sideToneInput() const { return m_headphoneIndex; }
    [[nodiscard]] bool isUpdating() const { return m_updating; }
    [[nodiscard]] QVantelStatusPanel *statusPanel() const { return m_statusPanel; }
    [[nodiscard]] QFrame *scrollMarker() const { return m_scrollMarker; }
    [[nodiscard]] QVantelAudioInput *sideToneStrip() const { return m_sideToneStrip; }
    [[nodiscard]] const StripMap &strips() const { return m_strips; }
    [[nodiscard]] const StripMap &extraStrips() const { return m_extraStrips; }
    [[nodiscard]] const ButtonMap &sourceButtons() const { return m_sourceButtons; }
    // The grid strip of an input, or null.
    [[nodiscard]] QVantelAudioInput *strip(int input) const;
    // Button 0 to 4 of the page bar, from the left; null for another index or before the bar.
    [[nodiscard]] QVantelButton *pageButton(int index) const;
    // Holds the controls that would write this headphone's rows while the unit has not sent
    // them, and says so on the page (below the grid).
    [[nodiscard]] MatrixRowLock *rowLock() const { return m_rowLock; }

    // Back to the state before any device data: side tone off, no scrolling, every strip normal.
    void resetView() override;
    // In the standard operation mode the PROGRAM and COORD strips are hidden and start at 0 dB
    // on no ear. Only those two inputs' cells of this headphone are written, as one
    // headphone-mix edit, and only where the matrix holds something else; the inputs the strips
    // drag along when the operator turns them keep what the unit holds. Nothing while the matrix
    // holds no mix row of the unit's for this headphone; it runs when the row arrives.
    void resetProgramStrips();
    // Takes over the gains and panning of another headphone page; the strips' own change signals
    // write the result into the matrix. A null source, this page, a widget that is no headphone
    // page, or a mix of either that the unit has not sent changes nothing.
    void copySettingsFrom(QWidget *source) override;

signals:
    void pageActivated(QVantel::Page page);

public slots:
    void deviceStateChanged(TComDevice::DeviceState state);
    void audioControllerStateChanged(TComController *controller);
    void matrixControllerStateChanged(TComController *controller);
    void matrixOptionsChanged(TMatrixSettings::MatrixOpts previous);
    void matrixInputNameChanged(QVantel::Inputs input);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void showEvent(QShowEvent *event) override;

    void layoutStrips();
    void moveScrollMarker(bool dragging, int delta);
    // Puts the grid on scroll state state, with or without a middle screen, as a swipe leaves
    // it; for tests of the swipe.
    void showScreen(int state, bool middleAllowed);
    void applyOperationMode(bool extended);
    void updateInputSourceStrips();
    // The state the strip of input keeps while the page's own switches hold the strips, whatever
    // the device's facts say (a greyed strip, state 2, stays greyed); -1 while they do not.
    [[nodiscard]] virtual int heldStripState(int input) const;

    // A strip of input, panning both ears, wired to the strip handlers below: its gain to
    // knobValueChanged(), its panning to the PROGRAM, COORD or plain panning handler and, when it
    // has a balance, its balance to audioBalanceChanged(). It is filed in the grid.
    QVantelAudioInput *addGridStrip(int input,
                                    const QPoint &at,
                                    bool labelsBelow,
                                    bool withBalance,
                                    bool stereo,
                                    bool shown,
                                    bool enabled);
    // What the notice calls the headphone's position record: the positions of pages 1 and 2
    // (this default), the follow setting of pages 3 and 4.
    [[nodiscard]] virtual QString positionRecordName() const;
    // Moves the grid strip of input to the strips kept aside for the compact unit's layout
    // (extraStrips()); nothing when the grid has none.
    void keepAside(int input);
    // The side-tone strip (input QVantel::InputSideTone + h), hidden and disabled, wired to
    // knobSideToneChanged().
    void addSideToneStrip(bool labelsBelow, const QPoint &at);
    // The bar of five page buttons along the bottom (headphone 1, 3, home, 4, 2), with their
    // icons and captions; every button but ownButton asks for its page. The page colours them.
    [[nodiscard]] std::array<QVantelButton *, 5> addPageBar(int ownButton);
    // Connects the model signals every page reacts to, after the base's own connections (so on
    // a signal both receive the base's slot runs first), to page's slots of the same names.
    template<typename Page>
    void connectPageSlots(Page *page)
    {
        TMatrixSettings *matrix = matrixSettings();
        connect(comDevice(), &TComDevice::deviceStateChanged, page, &Page::deviceStateChanged);
        connect(audioSettings(),
                &TAudioSettings::controllerParamChanged,
                page,
                &Page::audioControllerParamChanged);
        connect(matrix,
                &TMatrixSettings::controllerStateChanged,
                page,
                &Page::matrixControllerStateChanged);
        connect(matrix, &TMatrixSettings::nodeChanged, page, &Page::matrixNodeChanged);
        connect(
            matrix, &TMatrixSettings::audioConfigChanged, page, &Page::matrixAudioConfigChanged);
    }
    // Hands the start values of the source buttons and strips to the matrix, which keeps them
    // until the device's are read.
    void pushDefaults();

    // Files strip in the grid under input, in place of what was filed there; takeStrip() removes
    // the grid strip of input from the grid and returns it (null when there is none).
    void fileStrip(int input, QVantelAudioInput *strip);
    QVantelAudioInput *takeStrip(int input);
    // The source button of input, or null; a null button files nothing.
    [[nodiscard]] QVantelAudioButton *sourceButton(int input) const;
    void fileSourceButton(int input, QVantelAudioButton *button);
    void removeSourceButton(int input);

    // Shows the name of input on its source button and strip; force as in setName().
    void showInputName(int input, bool force);

    // Holds the page's updating flag (isUpdating()) for the life of the returned guard.
    [[nodiscard]] QScopedValueRollback<bool> holdUpdating()
    {
        return QScopedValueRollback<bool>(m_updating, true);
    }

    // Both ears' nodes of input: the gain, or on and off from panning bit 0 (left) and 1 (right).
    void writeGain(int input, int gain);
    void writeRouting(int input, int panning);
    // Runs write as one headphone-mix edit of this headphone, with the updating flag held;
    // nothing while it already is.
    template<typename Write>
    void writeMix(Write &&write)
    {
        if (m_updating)
            return;
        const QScopedValueRollback<bool> guard(m_updating, true);
        TMatrixSettings *matrix = matrixSettings();
        const TMatrixSettings::HeadphoneMix before = matrix->beginHeadphoneEdit(m_headphoneIndex);
        write();
        matrix->commitHeadphoneEdit(m_headphoneIndex, before);
    }

    // Strip handlers; each drops the change while updating and writes under the updating flag.
    // A strip's gain goes to both ears, then to the inputs writeDraggedGains() drags along.
    void knobValueChanged(QVantelAudioBase *strip, int gain);
    // The gain of the PROGRAM strip also goes to QVantel::kProgramDraggedInputs, the COORD
    // strip's to QVantel::kCoordDraggedInputs, both ears each.
    virtual void writeDraggedGains(int input, int gain);
    void knobSideToneChanged(int gain);
    // The panning handlers write one headphone-mix edit. PROGRAM's panning drags
    // QVantel::kProgramDraggedInputs along (the programme split puts PROGRAM and its return on
    // the left ear, QVantel::kProgramRightChannel on the right).
    void knobPanningChanged(QVantelAudioBase *strip);
    void knobProgPanningChanged(QVantelAudioBase *strip);
    // COORD's panning drags its return along when coordDragsReturn().
    void knobCoordPanningChanged(QVantelAudioBase *strip);
    [[nodiscard]] virtual bool coordDragsReturn() const { return true; }
    // The balance of the PROGRAM or COORD strip, written to every node that strip drags along,
    // as one headphone-mix write.
    void audioBalanceChanged(QVantelAudioBase *strip, int balance);

    // The home button's place in the page bar.
    static constexpr int kHomeButton = 2;

    // Puts popup (already sized) in the middle of the page, in global coordinates.
    void centrePopup(QWidget *popup) const;
    // The panning a headphone's two nodes of an input show: bit 0 left on, bit 1 right on; a
    // strip that admits the programme split shows 4 for the split pattern (input and the
    // programme return on the left ear only, the programme's right channel on the right only).
    [[nodiscard]] int nodePanning(int input, bool admitsSplit) const;

private:
    void setupBaseUi();
    [[nodiscard]] bool isNarrow() const { return m_headphoneIndex < 2; }
    [[nodiscard]] int markerRestY(int state) const;
    void setScrollState(int state);
    static bool inBand(int y) { return y >= kBandTop && y <= kBandBottom; }

    bool m_updating = false;
    int m_scrollState = 0;
    int m_dragStartY = -1;
    int m_dragLastY = 0;
    bool m_middleAllowed = false;
    int m_headphoneIndex = 0;
    QVantelAudioInput *m_sideToneStrip = nullptr;
    StripMap m_strips;
    StripMap m_extraStrips;
    ButtonMap m_sourceButtons;
    QVantelStatusPanel *m_statusPanel = nullptr;
    QFrame *m_scrollMarker = nullptr;
    std::array<QVantelButton *, 5> m_pageButtons{};
    MatrixRowLock *m_rowLock = nullptr;
};
