#include "frontpanel/busyinputgate.h"

#include "link/ccom.h"
#include "link/logtext.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>

BusyInputGate::BusyInputGate(ksm::CCom *client, QObject *parent)
    : QObject(parent)
    , m_client(client)
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
    const QEvent::Type type = event->type();
    const bool shortcut = type == QEvent::ShortcutOverride || type == QEvent::Shortcut;
    if (!shortcut && !event->spontaneous())
        return false;
    const bool waiting = m_client && m_client->isWaitLoopInnermost();
    // Left unaccepted, a key's override lets it go on as a key press, dropped next; a shortcut
    // it would trigger is dropped itself.
    if (shortcut)
        return waiting;
    return filterInput(watched, event, waiting);
}

bool BusyInputGate::filterInput(QObject *receiver, QEvent *event, bool waiting)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const Qt::MouseButton button = static_cast<const QMouseEvent *>(event)->button();
        if (!waiting) {
            // A new press ends whatever became of the one dropped before.
            m_droppedButtons &= ~button;
            return false;
        }
        m_droppedButtons |= button;
        return dropInput();
    }
    case QEvent::MouseButtonRelease: {
        const Qt::MouseButton button = static_cast<const QMouseEvent *>(event)->button();
        if (m_droppedButtons & button) {
            m_droppedButtons &= ~button;
            return true;
        }
        return waiting && keepBack(receiver, event);
    }
    case QEvent::MouseMove: {
        const Qt::MouseButtons held = static_cast<const QMouseEvent *>(event)->buttons();
        // A drag whose press was dropped is no drag.
        if (held & m_droppedButtons)
            return true;
        if (!waiting)
            return false;
        // A drag begun before the wait goes on after it, before its release; a hover counts for
        // nothing.
        return held == Qt::NoButton || keepBack(receiver, event);
    }
    case QEvent::KeyPress: {
        const auto *key = static_cast<const QKeyEvent *>(event);
        if (waiting) {
            // The repeats of a key held since before the wait are dropped, but not its release.
            if (key->isAutoRepeat())
                return true;
            m_droppedKeys.insert(key->key());
            return dropInput();
        }
        if (!key->isAutoRepeat()) {
            m_droppedKeys.erase(key->key());
            return false;
        }
        return m_droppedKeys.count(key->key()) != 0;
    }
    case QEvent::KeyRelease: {
        const auto *key = static_cast<const QKeyEvent *>(event);
        if (m_droppedKeys.count(key->key()) != 0) {
            // A repeat's release comes before the next repeat; the key is still held.
            if (!key->isAutoRepeat())
                m_droppedKeys.erase(key->key());
            return true;
        }
        return waiting && keepBack(receiver, event);
    }
    case QEvent::Wheel:
        return waiting && dropInput();
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
        return waiting;
    default:
        return false;
    }
}

bool BusyInputGate::dropInput()
{
    ++m_droppedInWait;
    return true;
}

bool BusyInputGate::keepBack(QObject *receiver, const QEvent *event)
{
    m_keptBack.push_back({receiver, std::unique_ptr<QEvent>(event->clone())});
    return true;
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
    // Posted, they arrive after the caller of the call has gone on; a wait running by then keeps
    // them back again.
    std::vector<KeptBack> keptBack;
    keptBack.swap(m_keptBack);
    for (KeptBack &entry : keptBack) {
        if (entry.receiver)
            QCoreApplication::postEvent(entry.receiver, entry.event.release());
    }
}
