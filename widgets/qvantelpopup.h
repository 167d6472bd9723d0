#pragma once

#include <QFrame>

class QCloseEvent;
class QKeyEvent;
class QVantelButton;

// Base of every front-panel popup (message box, on-screen keyboard, choice list, page pickers).
//
// A frameless Qt::Popup window that deletes itself after it closes. Closing, whatever caused it
// (a button, a click outside, close() from the owner), emits popupClosed() exactly once, from the
// close handler; the popup is deleted with deleteLater() afterwards, so every slot connected to
// popupClosed() may still read the popup (its cancelled flag, its item, its fields). The owner
// must not keep a pointer to it after that signal has been handled.
//
// The cancelled flag starts set and is cleared only when the user confirms (an OK button of a
// subclass). The item pointer belongs to the owner: it records what the popup was opened for and
// the popup itself never looks at it.
//
// Every key press and release that reaches the popup is forwarded to the front-panel window
// (forwardKey, from-control flag 0).
class QVantelPopup : public QFrame
{
    Q_OBJECT

public:
    explicit QVantelPopup(QWidget *parent = nullptr);
    ~QVantelPopup() override;

    bool isCancelled() const { return m_cancelled; }

    void *item() const { return m_item; }
    void setItem(void *item) { m_item = item; }

signals:
    void popupClosed();

protected:
    // Called by subclasses when the user confirmed (OK); nothing else clears the flag.
    void clearCancelled() { m_cancelled = false; }

    // The look the message box, the keyboard and the choice list share: a fixed size, a 4-pixel
    // plain panel frame, dark grey (50, 50, 50) behind white text.
    void setPanelLook(const QSize &size);
    // A "Cancel" or "OK" button of a popup: 60 pixels high, black text on white, a child of the
    // popup.
    QVantelButton *makePanelButton(const QString &text);
    // Lays the popup out as content (taking the spare height, with alignment) above a row of a
    // "Cancel" and an "OK" panel button with 18-pixel captions, made in that order; returns the
    // two buttons, which the caller connects.
    struct CancelOk
    {
        QVantelButton *cancel;
        QVantelButton *ok;
    };
    CancelOk layOutAboveCancelOk(QWidget *content, Qt::Alignment alignment = {});

    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    bool m_cancelled = true;
    void *m_item = nullptr;
    bool m_closeSignalled = false;

    Q_DISABLE_COPY_MOVE(QVantelPopup)
};
