#include "shell/closerequestwatch.h"

#include "link/ccom.h"
#include "link/comclient.h"
#include "link/logtext.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cstdlib>
#include <cstring>

#include <xcb/xcb.h>

namespace {

// How often a kept request looks again whether the window is free.
constexpr int kRetryMs = 100;

quint32 internAtom(xcb_connection_t *connection, const char *name)
{
    const xcb_intern_atom_cookie_t cookie
        = xcb_intern_atom(connection, 1, uint16_t(std::strlen(name)), name);
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    if (!reply)
        return 0;
    const quint32 atom = reply->atom;
    std::free(reply);
    return atom;
}

} // namespace

CloseRequestWatch::CloseRequestWatch(QWidget *mainWindow, QWidget *panel)
    : QObject(mainWindow)
    , m_window(mainWindow)
    , m_panel(panel)
    , m_retry(new QTimer(this))
{
    m_retry->setSingleShot(true);
    m_retry->setInterval(kRetryMs);
    connect(m_retry, &QTimer::timeout, this, &CloseRequestWatch::tryClose);
    if (mainWindow)
        mainWindow->installEventFilter(this);

    auto *application = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
    auto *x11
        = application ? application->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection())
        return;
    m_protocolsAtom = internAtom(x11->connection(), "WM_PROTOCOLS");
    m_deleteAtom = internAtom(x11->connection(), "WM_DELETE_WINDOW");
    if (m_protocolsAtom != 0 && m_deleteAtom != 0)
        application->installNativeEventFilter(this);
}

CloseRequestWatch::~CloseRequestWatch()
{
    if (QCoreApplication *application = QCoreApplication::instance())
        application->removeNativeEventFilter(this);
}

bool CloseRequestWatch::isDeleteRequest(const void *event,
                                        quint32 window,
                                        quint32 protocols,
                                        quint32 deleteWindow)
{
    const auto *generic = static_cast<const xcb_generic_event_t *>(event);
    // The top bit marks an event sent by another client, as a window manager sends this one.
    if (!generic || (generic->response_type & 0x7f) != XCB_CLIENT_MESSAGE)
        return false;
    const auto *message = static_cast<const xcb_client_message_event_t *>(event);
    return message->format == 32 && message->window == window && message->type == protocols
           && message->data.data32[0] == deleteWindow;
}

bool CloseRequestWatch::nativeEventFilter(const QByteArray &eventType,
                                          void *message,
                                          qintptr * /*result*/)
{
    if (!m_window || eventType != "xcb_generic_event_t")
        return false;
    const WId window = m_window->internalWinId();
    if (window != 0 && isDeleteRequest(message, quint32(window), m_protocolsAtom, m_deleteAtom))
        noteCloseRequest();
    // Qt goes on with it: delivered when nothing blocks the window, else dropped and kept here.
    return false;
}

bool CloseRequestWatch::isBlocked() const
{
    QWindow *modal = QGuiApplication::modalWindow();
    const QWindow *window = m_window ? m_window->windowHandle() : nullptr;
    return modal && window && modal != window;
}

bool CloseRequestWatch::isBlockedByPanel() const
{
    if (!isBlocked() || !m_panel)
        return false;
    for (const QWidget *up = QApplication::activeModalWidget(); up; up = up->parentWidget()) {
        if (up == m_panel)
            return true;
    }
    return false;
}

void CloseRequestWatch::noteCloseRequest()
{
    if (!m_window || !isBlockedByPanel())
        return;
    if (!m_pending)
        logDebug(QStringLiteral("CloseRequestWatch: the window is to close once the popup over "
                                "it is gone"));
    m_pending = true;
    m_retry->start();
}

void CloseRequestWatch::tryClose()
{
    if (!m_pending || !m_window)
        return;
    if (isBlocked() || !comClient()->isReady()) {
        m_retry->start();
        return;
    }
    m_pending = false;
    m_window->close();
}

bool CloseRequestWatch::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window && event->type() == QEvent::Close && m_pending) {
        m_pending = false;
        m_retry->stop();
    }
    return false;
}
