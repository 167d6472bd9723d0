#pragma once

#include <QObject>
#include <QPoint>
#include <QPointF>
#include <QPointer>

#include <deque>
#include <memory>
#include <set>
#include <utility>
#include <vector>

class QEvent;
class QTimer;
class QWidget;
namespace ksm {
class CCom;
class CallScope;
} // namespace ksm

// Judges the user input made while the protocol client waits for the unit.
//
// Every synchronous device call runs a nested event loop. Input carried out inside it would run
// its handlers in the middle of the call's caller; input carried out blindly after it would land
// on whatever the wait put on screen by then. The gate makes the client let that input through
// (ksm::CCom::setInputGate()) and, as an event filter of the application, keeps it:
// - every press, double click, wheel step, key, shortcut, touch, tablet, context-menu and gesture
//   event, every release and drag move, the Close of the main window (the window of the panel's
//   top-level widget) and the window system's request to quit that reach the wait's own loop
//   are held back, each with the widget it was aimed at (the widget under the pointer or the
//   mouse grabber; for keys the active popup or the focus widget);
// - only a hover over the panel, and the repeats of a key held on the panel, count for nothing
//   and are dropped.
// Once the client is ready again, what was held back is handed on in the order it came, exactly
// once: one event per pass of the event loop, and, at the start of every further synchronous
// call, the window-level requests (Close, quit) and the pointer input aimed outside the panel
// (the menu bar, dialogs, the message keyboard), so that none of them waits for the end of a
// long run of calls. Input on the panel waits for a pass of the event loop: its handlers are not
// run in the middle of another task's calls.
//
// A tap held back on a control that leaves the page shown (a page button, the menu's column of
// sections, its Back: QVantel::kLeavesPageProperty) ends the tasks the wait interrupted
// (ksm::CCom::endTasks()): the page being read for is left, so no further read of it is sent and
// the tap is carried out within one answer's time. The same holds for a page's build that input
// held with the tap, and handed on before it, starts (a page button tapped just before another):
// at the start of each of its calls the held tap ends it, unless the tap will be dropped or is a
// Back, which acts on the page it finds.
//
// Input is dropped only where the wait replaced or removed what it was aimed at: a press, wheel
// step or touch on the panel whose widget is gone, hidden, covered by a popup the panel opened
// meanwhile or no longer under the pointer, input on the panel whose page gave way to another
// (a page stack that holds what it was aimed at shows another page: the header's Back means
// something else over the page a wait opened), and a key whose target changed,
// unless the change is a keyboard that opened meanwhile, which then takes the key, as the
// operator who tapped for it expects. Several controls touched in one wait are each carried
// out: every event keeps the positions it was made at, a press handed on gives the focus as the
// window system's own would, and a key typed after a press that waits with it is aimed where
// that press puts the focus. A dropped press takes the moves and the release of its
// button with it, a dropped key its repeats and release. Each drop is logged and marked on the
// panel (inputDropped(), the mark the panel shows). Input for a window that a dialog outside the
// panel blocks now (the question of a Close handed on meanwhile) waits until the dialog is gone.
// Input that comes while something aimed at the same window is still held back queues behind
// it. Input that reaches an event loop started inside the wait (a modal dialog's) passes: it is
// the dialog's to take. Only the window system's (spontaneous) events are judged, apart from the
// shortcut events that the program derives from key presses; what an event handed on sets off
// passes.
//
// The gate is a child of the panel; it sets itself as the client's gate and clears that again
// when it is destroyed. It owns the events it holds back. GUI thread only.
class BusyInputGate : public QObject
{
    Q_OBJECT

public:
    BusyInputGate(ksm::CCom *client, QWidget *panel);
    ~BusyInputGate() override;
    Q_DISABLE_COPY_MOVE(BusyInputGate)

    // Input held back now.
    [[nodiscard]] int heldBackCount() const { return int(m_heldBack.size()); }

signals:
    // A press, wheel step, touch or key made during a wait was dropped; globalPosition is where
    // the panel marks it (for a key, the middle of what it was aimed at).
    void inputDropped(const QPoint &globalPosition);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class Verdict { Pass, Drop, HoldBack };
    // What becomes of an event held back, judged when it is its turn.
    enum class Fate { HandOn, Drop, DropQuietly, Wait };

    // What a page stack shows: its top page and how often it changed.
    struct PageState
    {
        const QWidget *page = nullptr;
        int changes = 0;
        bool operator==(const PageState &other) const
        {
            return page == other.page && changes == other.changes;
        }
    };

    struct HeldBack
    {
        QPointer<QObject> receiver;
        // For a pointer event only its kind and buttons are used: its positions in the receiver,
        // the window and on the screen are kept apart, as the event's own follow the pointer.
        std::unique_ptr<QEvent> event;
        QPointF local;
        QPointF scene;
        QPointF global;
        // The widget it would have reached when it came, and whether that is on the panel.
        QPointer<QWidget> aim;
        bool onPanel = false;
        // The popup that was active when it came.
        QPointer<QWidget> popup;
        // The modal window that was active when it came.
        QPointer<QWidget> modal;
        // The pages shown, when it came, by the page stacks that hold what it was aimed at.
        std::vector<std::pair<QPointer<QObject>, PageState>> pages;
    };

    Verdict judge(QObject *receiver, QEvent *event, bool waiting);
    // Dropped in a wait when aimed at the panel, else held back.
    Verdict dropOnPanel(QObject *receiver, const QEvent *event);
    [[nodiscard]] bool isAimedAtPanel(QObject *receiver, const QEvent *event) const;
    [[nodiscard]] bool isPanelWidget(const QWidget *widget) const;
    // Whether receiver is the window-system window of the panel's top-level widget.
    [[nodiscard]] bool isMainWindow(const QObject *receiver) const;
    void holdBack(QObject *receiver, const QEvent *event);
    // Whether fresh input for receiver must queue behind input held back for the same window.
    [[nodiscard]] bool queuesBehindHeld(QObject *receiver) const;
    // A tap on a control that leaves the page shown (QVantel::kLeavesPageProperty).
    [[nodiscard]] static bool leavesPage(const HeldBack &held);
    // Input on aim opens a page: a control that leaves the page shown, or a navigation row.
    [[nodiscard]] static bool opensPage(const QWidget *aim);
    // aim acts on whatever page the page stack next to it shows (kFollowsPagesProperty).
    [[nodiscard]] static bool followsPages(const QWidget *aim);
    Fate fateOf(HeldBack &held);
    [[nodiscard]] Fate fateOnPanel(HeldBack &held) const;
    // The page stacks that hold widget on the panel (a menu's, the panel's own), and what each
    // shows now.
    [[nodiscard]] std::vector<std::pair<QPointer<QObject>, PageState>>
    pagesAround(const QWidget *widget) const;
    [[nodiscard]] static PageState pageStateOf(const QObject *stack);
    // Input that may be handed on at the start of a synchronous call.
    [[nodiscard]] bool goesOnBetweenCalls(const HeldBack &held) const;
    void noteDrop(const HeldBack &held);
    void deliver(HeldBack held);
    // Hands on the first event held back that is due, when the client is ready, and asks for
    // another pass for the rest.
    void replayNext();
    void scheduleReplay();
    // At the start of a synchronous call: hands on the window-level requests and the pointer
    // input aimed outside the panel.
    void handOnBetweenCalls();
    // At the start of a synchronous call of a task: ends the task when it builds a page that
    // input handed on opened and a tap that leaves that page waits behind the input.
    void endTasksLeftByHeldTap();
    void busyStateChanged(bool busy);

    QPointer<ksm::CCom> m_client;
    QPointer<QWidget> m_panel;
    Qt::MouseButtons m_droppedButtons;
    std::set<int> m_droppedKeys;
    std::deque<HeldBack> m_heldBack;
    // The event being handed on, and how many are on the stack (a handler may run a loop).
    const QEvent *m_replayed = nullptr;
    int m_replayDepth = 0;
    bool m_replayScheduled = false;
    // The scope of input being handed on that opens a page (opensPage()); null when none is.
    const ksm::CallScope *m_pageOpening = nullptr;
    // Retries input that waits for a dialog to go.
    QTimer *m_retry = nullptr;
};
