#include "frontpanel/busyinputgate.h"

#include "frontpanel/droppedinputmark.h"
#include "link/ccom.h"
#include "link/logtext.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuwidget.h"
#include "widgets/qvantelpage.h"
#include "widgets/qvantelpagestack.h"
#include "widgets/qvantelvirtual.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStackedLayout>
#include <QTimer>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>

#include <memory>

namespace {

// How often input that waits for a dialog outside the panel to go looks again.
constexpr int kRetryMs = 100;

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

bool isKey(QEvent::Type type)
{
    return type == QEvent::KeyPress || type == QEvent::KeyRelease || isShortcut(type)
           || type == QEvent::InputMethod;
}

// What the operator made happen with it, as opposed to the moves and releases that follow.
bool isAction(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::Shortcut:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
    case QEvent::TabletPress:
    case QEvent::ContextMenu:
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

// Where a pointer event is, as it comes: the points of a pointer event share their data with
// the points the pointing device keeps up to date, so an event kept for later would take the
// positions of the next one (a release handed on at the place of the next press misses its
// button). An event sent to a widget (as tests do) may carry its local position for a global one.
struct PointerPlace
{
    QPointF local;
    QPointF scene;
    QPointF global;
};

PointerPlace placeOf(const QObject *receiver, const QEvent *event)
{
    if (!event->isPointerEvent())
        return {};
    const auto *pointer = static_cast<const QPointerEvent *>(event);
    if (pointer->points().isEmpty())
        return {};
    const QEventPoint &point = pointer->points().first();
    PointerPlace place{point.position(), point.scenePosition(), point.globalPosition()};
    if (receiver && receiver->isWidgetType())
        place.global = static_cast<const QWidget *>(receiver)->mapToGlobal(point.position());
    return place;
}

QPointF globalPositionOf(const QObject *receiver, const QEvent *event)
{
    return placeOf(receiver, event).global;
}

// The widget an event is for; for a window, the widget the window hands the event to: the mouse
// grabber or the child under the pointer (at global) of the popup shown or the window, the focus
// widget of the popup or the window.
QWidget *targetOf(QObject *receiver, const QEvent *event, const QPointF &global)
{
    QWidget *top = widgetOf(receiver);
    if (!top || !qobject_cast<const QWindow *>(receiver))
        return top;
    QWidget *popup = QApplication::activePopupWidget();
    QWidget *window = popup ? popup : top;
    if (event->isPointerEvent()) {
        if (QWidget *grabber = QWidget::mouseGrabber(); grabber && grabber != popup)
            return grabber;
        if (QWidget *child = window->childAt(window->mapFromGlobal(global.toPoint())))
            return child;
        return window;
    }
    if (QWidget *focus = window->focusWidget())
        return focus;
    return window;
}

QWidget *targetOf(QObject *receiver, const QEvent *event)
{
    return targetOf(receiver, event, globalPositionOf(receiver, event));
}

bool isPress(QEvent::Type type)
{
    return type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick;
}

// The widget a press on widget gives the focus to, as Qt does for the window system's presses:
// the nearest enabled one up to its window that takes the focus by a click, unless one on the
// way has it already; null when the focus stays.
QWidget *clickFocusOf(QWidget *widget)
{
    for (QWidget *up = widget; up; up = up->parentWidget()) {
        if (up->isEnabled() && (up->focusPolicy() & Qt::ClickFocus) == Qt::ClickFocus)
            return up;
        if (up->isWindow() || up->hasFocus())
            return nullptr;
    }
    return nullptr;
}

// The event to hand on: a pointer event made afresh at the place it was made.
std::unique_ptr<QEvent> freshCopy(const QEvent *event, const PointerPlace &place)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
        const auto *mouse = static_cast<const QMouseEvent *>(event);
        auto copy = std::make_unique<QMouseEvent>(mouse->type(),
                                                  place.local,
                                                  place.scene,
                                                  place.global,
                                                  mouse->button(),
                                                  mouse->buttons(),
                                                  mouse->modifiers(),
                                                  mouse->pointingDevice());
        copy->setTimestamp(mouse->timestamp());
        return copy;
    }
    case QEvent::Wheel: {
        const auto *wheel = static_cast<const QWheelEvent *>(event);
        auto copy = std::make_unique<QWheelEvent>(place.local,
                                                  place.global,
                                                  wheel->pixelDelta(),
                                                  wheel->angleDelta(),
                                                  wheel->buttons(),
                                                  wheel->modifiers(),
                                                  wheel->phase(),
                                                  wheel->inverted(),
                                                  wheel->source(),
                                                  wheel->pointingDevice());
        copy->setTimestamp(wheel->timestamp());
        return copy;
    }
    default:
        return std::unique_ptr<QEvent>(event->clone());
    }
}

// The modal window (a dialog or a modal popup) that keeps input from widget, if any.
QWidget *blockingModal(const QWidget *widget)
{
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal)
        return nullptr;
    for (const QWidget *up = widget; up; up = up->parentWidget()) {
        if (up == modal)
            return nullptr;
    }
    return modal;
}

// Where the panel marks a dropped event: where it was made, or for a key the middle of what it
// was aimed at.
QPoint
markPosition(const QEvent *event, const QPointF &global, const QWidget *aim, const QWidget *panel)
{
    if (event->isPointerEvent())
        return global.toPoint();
    const QWidget *where = aim && aim->isVisible() ? aim : panel;
    return where ? where->mapToGlobal(where->rect().center()) : QPoint();
}

} // namespace

BusyInputGate::BusyInputGate(ksm::CCom *client, QWidget *panel)
    : QObject(panel)
    , m_client(client)
    , m_panel(panel)
    , m_retry(new QTimer(this))
{
    m_retry->setSingleShot(true);
    m_retry->setInterval(kRetryMs);
    connect(m_retry, &QTimer::timeout, this, &BusyInputGate::scheduleReplay);
    if (QCoreApplication *application = QCoreApplication::instance())
        application->installEventFilter(this);
    if (client) {
        client->setInputGate(this);
        connect(client, &ksm::CCom::busyStateChanged, this, &BusyInputGate::busyStateChanged);
        connect(client, &ksm::CCom::callStarting, this, &BusyInputGate::handOnBetweenCalls);
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
    // Held-back input for the same window goes first; only the override, which asks whether a
    // key is a shortcut, is answered at once.
    if (verdict == Verdict::Pass && !waiting && type != QEvent::ShortcutOverride
        && isUserInput(type) && queuesBehindHeld(watched))
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
        // held back next; elsewhere the focus widget says whether it takes the key itself.
        return waiting && isAimedAtPanel(receiver, event) ? Verdict::Drop : Verdict::Pass;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (!waiting) {
            // A new press ends whatever became of the one dropped before.
            m_droppedButtons &= ~static_cast<const QMouseEvent *>(event)->button();
            return Verdict::Pass;
        }
        return Verdict::HoldBack;
    case QEvent::MouseButtonRelease: {
        const Qt::MouseButton button = static_cast<const QMouseEvent *>(event)->button();
        if (!waiting && (m_droppedButtons & button)) {
            m_droppedButtons &= ~button;
            return Verdict::Drop;
        }
        return waiting ? Verdict::HoldBack : Verdict::Pass;
    }
    case QEvent::MouseMove: {
        const Qt::MouseButtons held = static_cast<const QMouseEvent *>(event)->buttons();
        if (!waiting)
            // A drag whose press was dropped is no drag.
            return (held & m_droppedButtons) ? Verdict::Drop : Verdict::Pass;
        // A drag goes on after the wait, before its release; a hover over the panel counts for
        // nothing.
        if (held == Qt::NoButton)
            return dropOnPanel(receiver, event);
        return Verdict::HoldBack;
    }
    case QEvent::KeyPress: {
        const auto *key = static_cast<const QKeyEvent *>(event);
        if (waiting) {
            // The repeats of a key held on the panel would pile up behind the wait.
            if (key->isAutoRepeat() && isAimedAtPanel(receiver, event))
                return Verdict::Drop;
            return Verdict::HoldBack;
        }
        if (!key->isAutoRepeat()) {
            m_droppedKeys.erase(key->key());
            return Verdict::Pass;
        }
        return m_droppedKeys.count(key->key()) != 0 ? Verdict::Drop : Verdict::Pass;
    }
    case QEvent::KeyRelease: {
        const auto *key = static_cast<const QKeyEvent *>(event);
        if (!waiting && m_droppedKeys.count(key->key()) != 0) {
            // A repeat's release comes before the next repeat; the key is still held.
            if (!key->isAutoRepeat())
                m_droppedKeys.erase(key->key());
            return Verdict::Drop;
        }
        return waiting ? Verdict::HoldBack : Verdict::Pass;
    }
    case QEvent::Close:
        // The main window closed by the user asks its questions once the wait is over, not
        // inside it, where they would hold the wait up. Any other window's Close passes: the
        // program's own close of a dialog or popup comes as the same event, and a dialog held
        // open by it would take a late Close for a Cancel.
        return waiting && isMainWindow(receiver) ? Verdict::HoldBack : Verdict::Pass;
    case QEvent::Quit:
        // The window system asking the program to end: its windows' questions come after the
        // wait, too.
        return waiting && receiver == QCoreApplication::instance() ? Verdict::HoldBack
                                                                   : Verdict::Pass;
    default:
        // Shortcuts, wheel steps, touches, tablet, context-menu, input-method and gesture
        // events.
        return waiting && isUserInput(event->type()) ? Verdict::HoldBack : Verdict::Pass;
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

bool BusyInputGate::queuesBehindHeld(QObject *receiver) const
{
    if (m_heldBack.empty() || (m_client && !m_client->isReady()))
        return false;
    const QWidget *window = widgetOf(receiver);
    window = window ? window->window() : nullptr;
    for (const HeldBack &held : m_heldBack) {
        const QWidget *heldWindow = widgetOf(held.receiver);
        if (!heldWindow || !window || heldWindow->window() == window)
            return true;
    }
    return false;
}

void BusyInputGate::holdBack(QObject *receiver, const QEvent *event)
{
    HeldBack held;
    held.receiver = receiver;
    held.event.reset(event->clone());
    const PointerPlace place = placeOf(receiver, event);
    held.local = place.local;
    held.scene = place.scene;
    held.global = place.global;
    held.aim = targetOf(receiver, event, held.global);
    // A key typed after a press that waits with it goes where that press puts the focus.
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        for (auto it = m_heldBack.rbegin(); it != m_heldBack.rend(); ++it) {
            if (!isPress(it->event->type()))
                continue;
            if (QWidget *focus = clickFocusOf(it->aim);
                focus && (!held.aim || focus->window() == held.aim->window()))
                held.aim = focus;
            break;
        }
    }
    held.onPanel = isPanelWidget(held.aim);
    held.popup = QApplication::activePopupWidget();
    held.modal = QApplication::activeModalWidget();
    if (held.onPanel)
        held.pages = pagesAround(held.aim);
    // A tap that leaves the page: the page being read for, or built, is no longer wanted, so its
    // reads end after the one in flight and the tap is carried out within one answer's time.
    if (leavesPage(held) && m_client && m_client->hasTask()) {
        logDebug(QStringLiteral("BusyInputGate: a tap made while waiting for the device leaves "
                                "the page; its reads end"));
        m_client->endTasks();
    }
    m_heldBack.push_back(std::move(held));
    scheduleReplay();
}

bool BusyInputGate::opensPage(const QWidget *aim)
{
    for (const QWidget *widget = aim; widget; widget = widget->parentWidget()) {
        if (widget->property(QVantel::kLeavesPageProperty).toBool())
            return true;
        if (const auto *row = qobject_cast<const QVantelMenuItem *>(widget))
            return row->kind() == QVantelMenuItem::Navigation;
    }
    return false;
}

bool BusyInputGate::followsPages(const QWidget *aim)
{
    for (const QWidget *widget = aim; widget; widget = widget->parentWidget()) {
        if (widget->property(kFollowsPagesProperty).toBool())
            return true;
    }
    return false;
}

bool BusyInputGate::leavesPage(const HeldBack &held)
{
    switch (held.event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::TouchBegin:
    case QEvent::TabletPress:
        break;
    default:
        return false;
    }
    for (const QWidget *widget = held.aim; widget; widget = widget->parentWidget()) {
        if (widget->property(QVantel::kLeavesPageProperty).toBool())
            return true;
    }
    return false;
}

BusyInputGate::Fate BusyInputGate::fateOf(HeldBack &held)
{
    if (!held.receiver)
        return held.onPanel ? Fate::Drop : Fate::DropQuietly;
    const QEvent *event = held.event.get();
    switch (event->type()) {
    case QEvent::MouseButtonRelease: {
        const Qt::MouseButton button = static_cast<const QMouseEvent *>(event)->button();
        if (m_droppedButtons & button) {
            m_droppedButtons &= ~button;
            return Fate::DropQuietly;
        }
        // Whatever took the press takes its release, wherever it is now.
        return Fate::HandOn;
    }
    case QEvent::MouseMove: {
        const Qt::MouseButtons buttons = static_cast<const QMouseEvent *>(event)->buttons();
        if (buttons & m_droppedButtons)
            return Fate::DropQuietly;
        if (buttons != Qt::NoButton)
            return Fate::HandOn;
        break;
    }
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const auto *key = static_cast<const QKeyEvent *>(event);
        if (m_droppedKeys.count(key->key()) != 0) {
            if (event->type() == QEvent::KeyRelease && !key->isAutoRepeat())
                m_droppedKeys.erase(key->key());
            return Fate::DropQuietly;
        }
        if (event->type() == QEvent::KeyRelease)
            return Fate::HandOn;
        break;
    }
    case QEvent::Quit:
        return Fate::HandOn;
    default:
        break;
    }

    // A dialog outside the panel that opened since (the question of a Close handed on
    // meanwhile) keeps the input waiting until it is gone.
    const bool close = event->type() == QEvent::Close;
    QWidget *modal = blockingModal(held.aim && !close ? held.aim.data() : widgetOf(held.receiver));
    if (modal && modal != held.modal && !isPanelWidget(modal))
        return Fate::Wait;
    if (!held.onPanel || close)
        return Fate::HandOn;
    return fateOnPanel(held);
}

BusyInputGate::Fate BusyInputGate::fateOnPanel(HeldBack &held) const
{
    const QEvent *event = held.event.get();
    const bool key = isKey(event->type());
    // Where the window system would take it now: a widget receiver stands for its window.
    QWidget *receiverWidget = widgetOf(held.receiver);
    QObject *window = receiverWidget && receiverWidget->window()->windowHandle()
                          ? static_cast<QObject *>(receiverWidget->window()->windowHandle())
                          : held.receiver.data();
    QWidget *now = targetOf(window, event, held.global);
    if (key && now != held.aim) {
        // A keyboard that opened meanwhile, for the tap that asked for it, takes the typing.
        QWidget *popup = QApplication::activePopupWidget();
        if (popup && popup != held.popup && qobject_cast<QVantelVirtual *>(popup)
            && isPanelWidget(popup)) {
            held.receiver = popup->windowHandle() ? static_cast<QObject *>(popup->windowHandle())
                                                  : static_cast<QObject *>(popup);
            return Fate::HandOn;
        }
        return Fate::Drop;
    }
    // Gone, hidden, covered by a popup or a page the wait put there, or no longer under the
    // pointer: the wait replaced what the input was aimed at.
    if (!held.aim || !held.aim->isVisible() || now != held.aim)
        return Fate::Drop;
    QWidget *modal = blockingModal(held.aim);
    if (modal && modal != held.modal)
        return Fate::Drop;
    // The page it was aimed at gave way to another (a header button means something else over
    // the page the wait opened).
    for (const auto &[stack, state] : held.pages) {
        if (!stack || !(pageStateOf(stack) == state))
            return Fate::Drop;
    }
    return Fate::HandOn;
}

std::vector<std::pair<QPointer<QObject>, BusyInputGate::PageState>>
BusyInputGate::pagesAround(const QWidget *widget) const
{
    // A stack holds what the input was aimed at when it lies on one of the stack's pages, or in
    // a widget beside the stack that acts on the page shown (the menu's header); the menu's
    // column of sections means the same whatever page the menu shows.
    std::vector<std::pair<QPointer<QObject>, PageState>> pages;
    const QWidget *below = nullptr;
    bool followsPages = false;
    for (const QWidget *up = widget; up && isPanelWidget(up); below = up, up = up->parentWidget()) {
        const QList<QLayout *> layouts = up->findChildren<QLayout *>();
        for (QLayout *layout : layouts) {
            if (layout->parentWidget() != up
                || (!qobject_cast<QVantelPageStack *>(layout)
                    && !qobject_cast<QStackedLayout *>(layout)))
                continue;
            if (followsPages || (below && layout->indexOf(const_cast<QWidget *>(below)) >= 0))
                pages.emplace_back(layout, pageStateOf(layout));
        }
        followsPages = followsPages || up->property(kFollowsPagesProperty).toBool();
    }
    return pages;
}

BusyInputGate::PageState BusyInputGate::pageStateOf(const QObject *stack)
{
    if (const auto *menuStack = qobject_cast<const QVantelPageStack *>(stack))
        return {menuStack->currentWidget(), menuStack->changes()};
    if (const auto *panelStack = qobject_cast<const QStackedLayout *>(stack))
        return {panelStack->currentWidget(), 0};
    return {};
}

bool BusyInputGate::goesOnBetweenCalls(const HeldBack &held) const
{
    const QEvent::Type type = held.event->type();
    if (type == QEvent::Close || type == QEvent::Quit)
        return true;
    // Keys wait for the event loop: a keyboard they are typed for may still be opening.
    return !held.onPanel && held.event->isPointerEvent();
}

void BusyInputGate::noteDrop(const HeldBack &held)
{
    const QEvent::Type type = held.event->type();
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick)
        m_droppedButtons |= static_cast<const QMouseEvent *>(held.event.get())->button();
    if (type == QEvent::KeyPress)
        m_droppedKeys.insert(static_cast<const QKeyEvent *>(held.event.get())->key());
    if (!isAction(type))
        return;
    const QWidget *aim = held.aim;
    logDebug(QStringLiteral("BusyInputGate: an input made while waiting for the device dropped "
                            "(event %1 for %2): what it was aimed at was replaced or removed")
                 .arg(int(type))
                 .arg(aim ? QString::fromLatin1(aim->metaObject()->className())
                          : QStringLiteral("a widget since deleted")));
    const QPoint position = markPosition(held.event.get(), held.global, aim, m_panel);
    if (m_panel)
        DroppedInputMark::show(m_panel, position);
    emit inputDropped(position);
}

void BusyInputGate::deliver(HeldBack held)
{
    // What the input sets off is the operator's own new task, not part of a task it interrupts.
    const ksm::CallScope apart(m_client);
    const QPointer<BusyInputGate> self(this);
    const std::unique_ptr<QEvent> event
        = freshCopy(held.event.get(), {held.local, held.scene, held.global});
    // A press handed on is not the window system's own, so Qt gives no focus for it: the widget
    // it lands on takes the focus as it would have, for the keys typed after it.
    if (isPress(event->type()) && held.receiver) {
        if (QWidget *focus = clickFocusOf(targetOf(held.receiver, event.get(), held.global)))
            focus->setFocus(Qt::MouseFocusReason);
    }
    const QEvent *outer = m_replayed;
    m_replayed = event.get();
    ++m_replayDepth;
    // What a tap on a page button, a section or a navigation row sets off builds a page.
    const ksm::CallScope *outerOpening = m_pageOpening;
    if (opensPage(held.aim))
        m_pageOpening = &apart;
    QCoreApplication::sendEvent(held.receiver, event.get());
    if (!self)
        return;
    m_pageOpening = outerOpening;
    --m_replayDepth;
    m_replayed = outer;
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
    // A wait running now keeps everything until it is over; its end asks again.
    if (m_client && !m_client->isReady())
        return;
    while (!m_heldBack.empty()) {
        const Fate fate = fateOf(m_heldBack.front());
        if (fate == Fate::Wait) {
            m_retry->start();
            return;
        }
        HeldBack next = std::move(m_heldBack.front());
        m_heldBack.pop_front();
        if (fate == Fate::Drop || fate == Fate::DropQuietly) {
            noteDrop(next);
            continue;
        }
        // The rest follows on later passes, after whatever this one sets off: a handler that
        // opens a dialog gets its input from the dialog's loop, as from the window system.
        if (!m_heldBack.empty())
            scheduleReplay();
        deliver(std::move(next));
        return;
    }
}

void BusyInputGate::handOnBetweenCalls()
{
    // Each pass hands on one event and starts over: what it sets off may change the queue.
    bool handedOn = true;
    while (handedOn) {
        handedOn = false;
        for (auto it = m_heldBack.begin(); it != m_heldBack.end(); ++it) {
            if (!goesOnBetweenCalls(*it))
                continue;
            const Fate fate = fateOf(*it);
            if (fate == Fate::Wait)
                continue;
            HeldBack next = std::move(*it);
            m_heldBack.erase(it);
            if (fate == Fate::HandOn) {
                const QPointer<BusyInputGate> self(this);
                deliver(std::move(next));
                if (!self)
                    return;
            } else {
                noteDrop(next);
            }
            handedOn = true;
            break;
        }
    }
    endTasksLeftByHeldTap();
}

void BusyInputGate::endTasksLeftByHeldTap()
{
    // A task that lives now while a tap that leaves the page is still held began after the tap
    // (the tasks before it were ended when it was held). When input held with it and handed on
    // first opened a page (a page button or a section tapped just before another), the task is
    // that page's build, and the later tap leaves the page it builds: the task ends before this
    // call is sent, and the tap is carried out once it has returned, on the page it was made on.
    // Other tasks (an Apply tapped before a section) are the operator's too and run to their
    // end. A Back, which leaves whatever page it finds, ends nothing here: it is judged against
    // the page shown when it is handed on. Nor does a tap the wait has already replaced what it
    // was aimed at: it will be dropped.
    const ksm::CallScope *task = m_client ? m_client->scope() : nullptr;
    while (task && task->isNeutral())
        task = task->outer();
    if (!task || !task->stillWanted() || !m_pageOpening)
        return;
    bool opened = false;
    for (const ksm::CallScope *scope = task; scope && !opened; scope = scope->outer())
        opened = scope == m_pageOpening;
    if (!opened)
        return;
    for (HeldBack &held : m_heldBack) {
        if (held.onPanel && leavesPage(held) && !followsPages(held.aim)
            && fateOf(held) == Fate::HandOn) {
            logDebug(QStringLiteral("BusyInputGate: a tap held behind other input leaves the "
                                    "page that input opens; its reads end"));
            m_client->endTasks();
            return;
        }
    }
}

void BusyInputGate::busyStateChanged(bool busy)
{
    // Handed on after the caller of the call has gone on; a wait it starts straight away keeps
    // them until it is over.
    if (!busy && !m_heldBack.empty())
        scheduleReplay();
}
