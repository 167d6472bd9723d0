#pragma once

#include <QObject>
#include <QPointer>

#include <deque>
#include <memory>
#include <set>

class QEvent;
class QWidget;
namespace ksm {
class CCom;
}

// Judges the user input made while the protocol client waits for the unit.
//
// Every synchronous device call runs a nested event loop. Input held back during it would be
// carried out once the wait is over, on whatever page is shown by then: a Back tapped while a
// long list is read throws the list away the moment it appears. The gate makes the client let
// that input through (ksm::CCom::setInputGate()) and, as an event filter of the application,
// decides what becomes of it:
// - presses, double clicks, hover moves, wheel steps, key presses, shortcuts, touches, tablet
//   and context-menu events aimed at the panel (the front-panel widget, the windows it owns and
//   its popups) that reach the wait's own loop are dropped;
// - so are, whenever they come, the moves and the release of a button whose press was dropped,
//   and the repeats and the release of a key whose press was dropped, so that no control sees
//   half a tap;
// - a release whose press came before the wait, and the moves of a drag begun before it, are
//   held back, so that a tap or a drag begun just before a wait is neither lost nor left
//   pressed; repeats of a key held on the panel since before the wait are dropped;
// - input aimed anywhere else (the main window around the panel, a dialog, the message
//   keyboard) is held back: it has nothing to do with the wait and is the user's to keep;
// - so is a Close of the main window (the window of the panel's top-level widget), whose
//   question must not hold the wait up. Other windows' Close events pass at once: a dialog or
//   popup the program closes itself gets the same event, and must close when asked.
// What is held back is handed to its receivers in the order it came, one event per pass of the
// event loop and only while the client is not busy: a wait that starts meanwhile keeps the rest
// until it is over. Input that comes while anything is still held back queues behind it. An
// event for a window that a modal dialog has blocked meanwhile is dropped, as the window system
// would. Input that reaches an event loop started inside the wait (a modal dialog's) passes: it
// is the dialog's to take. Only the window system's (spontaneous) events are judged, apart from
// the shortcut events that the program derives from key presses; what an event handed on sets
// off passes.
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

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class Verdict { Pass, Drop, HoldBack };

    struct HeldBack
    {
        QPointer<QObject> receiver;
        std::unique_ptr<QEvent> event;
    };

    Verdict judge(QObject *receiver, QEvent *event, bool waiting);
    // Dropped in a wait when aimed at the panel, else held back.
    Verdict dropOnPanel(QObject *receiver, const QEvent *event);
    [[nodiscard]] bool isAimedAtPanel(QObject *receiver, const QEvent *event) const;
    [[nodiscard]] bool isPanelWidget(const QWidget *widget) const;
    // Whether receiver is the window-system window of the panel's top-level widget.
    [[nodiscard]] bool isMainWindow(const QObject *receiver) const;
    Verdict drop();
    void holdBack(QObject *receiver, const QEvent *event);
    // Hands on the first event held back, when the client is not busy, and asks for another
    // pass for the rest.
    void replayNext();
    void scheduleReplay();
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
    // Presses, wheel steps and key presses dropped during the present wait, for the log.
    int m_droppedInWait = 0;
};
