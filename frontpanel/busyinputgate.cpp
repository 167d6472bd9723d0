#include "frontpanel/busyinputgate.h"

#include "link/ccom.h"
#include "link/logtext.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace {

bool isShortcut(QEvent::Type type)
{
    return type == QEvent::ShortcutOverride || type == QEvent::Shortcut;
}

bool isUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
    case QEvent::ContextMenu:
    case QEvent::InputMethod:
    case QEvent::NativeGesture:
        return true;
    default:
        return false;
    }
}

// The widget whose window a window-system window is.
QWidget *widgetOfWindow(const QWindow *window)
{
    const QWidgetList topLevels = QApplication::topLevelWidgets();
    for (QWidget *widget : topLevels) {
        if (widget->windowHandle() == window)
            return widget;
    }
    return nullptr;
}

// The widget a receiver stands for: a widget itself, a window's widget, or for anything else
// (an action taking a shortcut) its nearest widget ancestor.
QWidget *widgetOf(QObject *receiver)
{
    if (const auto *window = qobject_cast<const QWindow *>(receiver))
        return widgetOfWindow(window);
    for (QObject *object = receiver; object; object = object->parent()) {
        if (object->isWidgetType())
            return static_cast<QWidget *>(object);
    }
    return nullptr;
}

// The widget an event is for; for a window, the widget the window hands the event to: the
// popup or the mouse grabber, the child under the pointer, the focus widget.
QWidget *targetOf(QObject *receiver, const QEvent *event)
{
    QWidget *top = widgetOf(receiver);
    if (!top || !qobject_cast<const QWindow *>(receiver))
        return top;
    if (QWidget *popup = QApplication::activePopupWidget())
        return popup;
    if (event->isPointerEvent()) {
        if (QWidget *grabber = QWidget::mouseGrabber())
            return grabber;
        const QList<QEventPoint> &points = static_cast<const QPointerEvent *>(event)->points();
        if (!points.isEmpty()) {
            if (QWidget *child = top->childAt(points.first().position().toPoint()))
                return child;
        }
        return top;
    }
    if (QWidget *focus = top->focusWidget())
        return focus;
    return top;
}

// A modal dialog opened since the event came keeps it from its receiver.
bool isBlockedByModal(QObject *receiver)
{
    const QWidget *modal = QApplication::activeModalWidget();
    if (!modal)
        return false;
    for (const QWidget *widget = widgetOf(receiver); widget; widget = widget->parentWidget()) {
        if (widget == modal)
            return false;
    }
    return true;
}

} // namespace

BusyInputGate::BusyInputGate(ksm::CCom *client, QWidget *panel)
    : QObject(panel)
    , m_client(client)
    , m_panel(panel)
{
    if (QCoreApplication *application = QCoreApplication::instance())
        application->installEventFilter(this);
    if (client) {
        client->setInputGate(this);
        connect(client, &ksm::CCom::busyStateChanged, this, &BusyInputGate::busyStateChanged);
    }
}

BusyInputGate::~BusyInputGate()
{
    if (QCoreApplication *application = QCoreApplication::instance())
        application->removeEventFilter(this);
    if (m_client && m_client->inputGate() == this)
        m_client->setInputGate(nullptr);
}

bool BusyInputGate::eventFilter(QObject *watched, QEvent *event)
{
    // Every event of the program passes here: the common ones leave at once.
    if (event == m_replayed)
        return false;
    const QEvent::Type type = event->type();
    if (!isShortcut(type) && !event->spontaneous())
        return false;
    const bool waiting = m_client && m_client->isWaitLoopInnermost();
    // What an event handed on sets off (the window passes it on to a widget) is part of it.
    if (m_replayDepth > 0 && !waiting)
        return false;
    Verdict verdict = judge(watched, event, waiting);
    // Held-back input goes first; only the override, which asks whether a key is a shortcut,
    // is answered at once.
    if (verdict == Verdict::Pass && !waiting && !m_heldBack.empty()
        && (!m_client || m_client->isReady()) && type != QEvent::ShortcutOverride
        && isUserInput(type))
        verdict = Verdict::HoldBack;
    switch (verdict) {
    case Verdict::Pass:
        return false;
    case Verdict::Drop:
        return true;
    case Verdict::HoldBack:
        holdBack(watched, event);
        return true;
    }
    return false;
}

BusyInputGate::Verdict BusyInputGate::judge(QObject *receiver, QEvent *event, bool waiting)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // Left unaccepted, the override of a key on the panel lets it go on as a key press,
        // dropped next; elsewhere the focus widget says whether it takes the key itself.
        return waiting && isAimedAtPanel(receiver, event) ? Verdict::Drop : Verdict::Pass;
    case QEvent::Shortcut:
        return waiting ? dropOnPanel(receiver, event) : Verdict::Pass;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const Qt::MouseButton button = static_cast<const QMouseEvent *>(event)->button();
        if (!waiting) {
            // A new press ends whatever became of the one dropped before.
            m_droppedButtons &= ~button;
            return Verdict::Pass;
        }
        if (!isAimedAtPanel(receiver, event))
            return Verdict::HoldBack;
        m_droppedButtons |= button;
        return drop();
    }
    case QEvent::MouseButtonRelease: {
        const Qt::MouseButton button = static_cast<const QMouseEvent *>(event)->button();
        if (m_droppedButtons & button) {
            m_droppedButtons &= ~button;
            return Verdict::Drop;
        }
        return waiting ? Verdict::HoldBack : Verdict::Pass;
    }
    case QEvent::MouseMove: {
        const Qt::MouseButtons held = static_cast<const QMouseEvent *>(event)->buttons();
        // A drag whose press was dropped is no drag.
        if (held & m_droppedButtons)
            return Verdict::Drop;
        if (!waiting)
            return Verdict::Pass;
        // A drag begun before the wait goes on after it, before its release; a hover over the
        // panel counts for nothing.
        if (held == Qt::NoButton)
            return dropOnPanel(receiver, event);
        return Verdict::HoldBack;
    }
    case QEvent::KeyPress: {
        const auto *key = static_cast<const QKeyEvent *>(event);
        if (waiting) {
            if (!isAimedAtPanel(receiver, event))
                return Verdict::HoldBack;
            // The repeats of a key held since before the wait are dropped, but not its release.
            if (key->isAutoRepeat())
                return Verdict::Drop;
            m_droppedKeys.insert(key->key());
            return drop();
        }
        if (!key->isAutoRepeat()) {
            m_droppedKeys.erase(key->key());
            return Verdict::Pass;
        }
        return m_droppedKeys.count(key->key()) != 0 ? Verdict::Drop : Verdict::Pass;
    }
    case QEvent::KeyRelease: {
        const auto *key = static_cast<const QKeyEvent *>(event);
        if (m_droppedKeys.count(key->key()) != 0) {
            // A repeat's release comes before the next repeat; the key is still held.
            if (!key->isAutoRepeat())
                m_droppedKeys.erase(key->key());
            return Verdict::Drop;
        }
        return waiting ? Verdict::HoldBack : Verdict::Pass;
    }
    case QEvent::Wheel:
        if (!waiting)
            return Verdict::Pass;
        return isAimedAtPanel(receiver, event) ? drop() : Verdict::HoldBack;
    case QEvent::Close:
        // The main window closed by the user asks its questions once the wait is over, not
        // inside it, where they would hold the wait up. Any other window's Close passes: the
        // program's own close of a dialog or popup comes as the same event, and a dialog held
        // open by it would take a late Close for a Cancel.
        return waiting && isMainWindow(receiver) ? Verdict::HoldBack : Verdict::Pass;
    default:
        // Touches, tablet, context-menu, input-method and gesture events.
        return waiting && isUserInput(event->type()) ? dropOnPanel(receiver, event) : Verdict::Pass;
    }
}

bool BusyInputGate::isMainWindow(const QObject *receiver) const
{
    const QWidget *main = m_panel ? m_panel->window() : nullptr;
    return main && receiver && receiver == main->windowHandle();
}

BusyInputGate::Verdict BusyInputGate::dropOnPanel(QObject *receiver, const QEvent *event)
{
    return isAimedAtPanel(receiver, event) ? Verdict::Drop : Verdict::HoldBack;
}

bool BusyInputGate::isAimedAtPanel(QObject *receiver, const QEvent *event) const
{
    return isPanelWidget(targetOf(receiver, event));
}

bool BusyInputGate::isPanelWidget(const QWidget *widget) const
{
    // Across windows: the panel's popups are windows of their own.
    for (; widget && m_panel; widget = widget->parentWidget()) {
        if (widget == m_panel)
            return true;
    }
    return false;
}

BusyInputGate::Verdict BusyInputGate::drop()
{
    ++m_droppedInWait;
    return Verdict::Drop;
}

void BusyInputGate::holdBack(QObject *receiver, const QEvent *event)
{
    m_heldBack.push_back({receiver, std::unique_ptr<QEvent>(event->clone())});
    scheduleReplay();
}

void BusyInputGate::scheduleReplay()
{
    if (m_replayScheduled)
        return;
    m_replayScheduled = true;
    QMetaObject::invokeMethod(this, &BusyInputGate::replayNext, Qt::QueuedConnection);
}

void BusyInputGate::replayNext()
{
    m_replayScheduled = false;
    // A wait running now keeps everything until it is over.
    if (m_client && !m_client->isReady())
        return;
    while (!m_heldBack.empty()) {
        HeldBack next = std::move(m_heldBack.front());
        m_heldBack.pop_front();
        if (!next.receiver)
            continue;
        if (isBlockedByModal(next.receiver)) {
            logDebug(QStringLiteral("BusyInputGate: an input held back for a window blocked "
                                    "since dropped"));
            continue;
        }
        // The rest follows on later passes, after whatever this one sets off: a handler that
        // opens a dialog gets its input from the dialog's loop, as from the window system.
        if (!m_heldBack.empty())
            scheduleReplay();
        const QPointer<BusyInputGate> self(this);
        const QEvent *outer = m_replayed;
        m_replayed = next.event.get();
        ++m_replayDepth;
        QCoreApplication::sendEvent(next.receiver, next.event.get());
        if (!self)
            return;
        --m_replayDepth;
        m_replayed = outer;
        return;
    }
}

void BusyInputGate::busyStateChanged(bool busy)
{
    if (busy)
        return;
    if (m_droppedInWait > 0) {
        logDebug(QStringLiteral("BusyInputGate: %1 input(s) made while waiting for the device "
                                "dropped")
                     .arg(m_droppedInWait));
        m_droppedInWait = 0;
    }
    // Handed on after the caller of the call has gone on; a wait it starts straight away keeps
    // them until it is over.
    if (!m_heldBack.empty())
        scheduleReplay();
}
