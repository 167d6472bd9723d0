#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QPointer>

class QTimer;
class QWidget;

// Keeps the window system's request to close the main window (a window manager's close button,
// WM_DELETE_WINDOW on X11) that comes while a modal popup of the front panel (a notice, keyboard
// or question) blocks the main window. Qt drops such a request without a word, so the operator
// who asked to end the program would see nothing happen. The watch notes it and closes the main
// window, which asks whether to exit, once nothing blocks the window any more and the protocol
// client is not waiting for the unit (a question asked inside the wait would hold it up). A Close
// that reaches the main window meanwhile (the operator asked again) stands for the one kept. A
// request made while a dialog of the main window's own is open (the question whether to exit
// among them) is dropped as Qt drops it: the dialog is the answer to it.
//
// On X11 (the "xcb" platform) the watch reads the window system's messages as a native event
// filter of the application; elsewhere it sees nothing, and noteCloseRequest() is its only way
// in. A child of the main window. GUI thread only.
class CloseRequestWatch : public QObject, public QAbstractNativeEventFilter
{
    Q_OBJECT

public:
    // panel: the front panel, whose popups block the main window.
    CloseRequestWatch(QWidget *mainWindow, QWidget *panel);
    ~CloseRequestWatch() override;
    Q_DISABLE_COPY_MOVE(CloseRequestWatch)

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

    // The window system asked to close the main window: kept when a modal popup of the panel
    // blocks it now (Qt drops the request then); else left to Qt.
    void noteCloseRequest();
    // A request is kept, waiting for the window to be free.
    [[nodiscard]] bool isPending() const { return m_pending; }

    // Whether an X11 event (an xcb_generic_event_t) is the window manager's request to close
    // window: a client message of type protocols whose first word is deleteWindow.
    [[nodiscard]] static bool
    isDeleteRequest(const void *event, quint32 window, quint32 protocols, quint32 deleteWindow);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    [[nodiscard]] bool isBlocked() const;
    [[nodiscard]] bool isBlockedByPanel() const;
    void tryClose();

    QPointer<QWidget> m_window;
    QPointer<QWidget> m_panel;
    QTimer *m_retry = nullptr;
    bool m_pending = false;
    // The X11 atoms WM_PROTOCOLS and WM_DELETE_WINDOW; 0 off X11.
    quint32 m_protocolsAtom = 0;
    quint32 m_deleteAtom = 0;
};
