#pragma once

#include <QObject>
#include <QPointer>

#include <memory>
#include <set>
#include <vector>

class QEvent;
namespace ksm {
class CCom;
}

// Drops the user input made while the protocol client waits for the unit.
//
// Every synchronous device call runs a nested event loop. Input held back during it would be
// carried out once the wait is over, on whatever page is shown by then: a Back tapped while a
// long list is read throws the list away the moment it appears. The gate makes the client let
// that input through (ksm::CCom::setInputGate()) and, as an event filter of the application,
// drops it:
// - presses, double clicks, moves, wheel steps, key presses, shortcuts, touches, tablet and
//   context-menu events that reach the wait's own loop are dropped;
// - so are, whenever they come, the moves and the release of a button whose press was dropped,
//   and the repeats and the release of a key whose press was dropped, so that no control sees
//   half a tap;
// - a release whose press came before the wait, and the moves of a drag begun before it, are
//   kept back and handed to their receivers once the wait is over, so that a tap or a drag begun
//   just before a wait is neither lost nor left pressed; key repeats during the wait are dropped.
// Input that reaches an event loop started inside the wait (a modal dialog's) passes: it is the
// dialog's to take. Only the window system's (spontaneous) events are judged, apart from the
// shortcut events that the program derives from key presses.
//
// The gate sets itself as the client's gate and clears that again when it is destroyed. It
// owns the releases it keeps back. GUI thread only.
class BusyInputGate : public QObject
{
    Q_OBJECT

public:
    explicit BusyInputGate(ksm::CCom *client, QObject *parent = nullptr);
    ~BusyInputGate() override;
    Q_DISABLE_COPY_MOVE(BusyInputGate)

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct KeptBack
    {
        QPointer<QObject> receiver;
        std::unique_ptr<QEvent> event;
    };

    // True when the event is to be dropped (or kept back) now.
    bool filterInput(QObject *receiver, QEvent *event, bool waiting);
    bool dropInput();
    bool keepBack(QObject *receiver, const QEvent *event);
    // Hands what was kept back to its receivers once the client is no longer busy.
    void busyStateChanged(bool busy);

    QPointer<ksm::CCom> m_client;
    Qt::MouseButtons m_droppedButtons;
    std::set<int> m_droppedKeys;
    std::vector<KeptBack> m_keptBack;
    // Presses, wheel steps and key presses dropped during the present wait, for the log.
    int m_droppedInWait = 0;
};
