#pragma once

#include "widgets/qvantelpopup.h"

#include <QString>

#include <optional>

class QLabel;
class QMouseEvent;
class QShowEvent;
class QTimer;
class QVantelButton;

// The front panel's message box: a text and up to two buttons ("Cancel", "OK"), or, without
// buttons, a "please wait" notice that closes by its timer or by a click anywhere. The box is
// 400 x 180 pixels; a text that needs more room makes it taller (up to 460 pixels, beyond which
// the text is set smaller), so that no text is ever cut off.
//
// "OK" clears the cancelled flag and closes; "Cancel", the auto-close timer and a click on the
// message itself close it with the flag left set. Only a click made after the message, or its
// latest text, appeared closes it: a press within kClickGuardMs of that moment is taken for one
// made while the program was busy (user input waits until a synchronous device call ends) and
// is ignored with its release; the guard reads clock(), which tests may replace (setClock()).
// The pending auto-close time is written by the owner before popup() or setText(); the next
// program-caused show or text change starts the timer with it and clears it. The timer stops
// when the message is destroyed.
class QVantelMessage : public QVantelPopup
{
    Q_OBJECT

public:
    enum Kind : int {
        NoButtons = 0,
        CancelButton = 1,
        OkButton = 2,
        CancelAndOk = 3,
    };

    // Long enough for the clicks held back during a device call to arrive, too short for anyone
    // to have read the message.
    static constexpr int kClickGuardMs = 500;

    // The click guard's clock: milliseconds from any fixed point, never going back. By default
    // a monotonic clock; tests install their own to put a press inside or outside the guard
    // without waiting, and null brings the default back. Shared by every message.
    using Clock = qint64 (*)();
    static void setClock(Clock clock);
    [[nodiscard]] static qint64 clock();

    QVantelMessage(const QString &text, int kind, QWidget *parent = nullptr);
    ~QVantelMessage() override;

    int kind() const { return m_kind; }
    QString text() const { return m_text; }

    int autoCloseMs() const { return m_autoCloseMs; }
    void setAutoCloseMs(int ms) { m_autoCloseMs = ms; }

    // Shows the message; one without buttons also grabs the mouse so that a click anywhere
    // reaches it.
    void popup();

    // Shows a new text; an unchanged text changes nothing, its timer included. With a new text the
    // timer restarts from a pending time of 1 ms or more, or stops.
    void setText(const QString &text);

    QLabel *textLabel() const { return m_label; }
    QVantelButton *cancelButton() const { return m_button1; }
    QVantelButton *okButton() const { return m_button2; }
    QTimer *autoCloseTimer() const { return m_timer; }

public slots:
    void button1Clicked();
    void button2Clicked();
    void timeout();

protected:
    void showEvent(QShowEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void closeMessage();
    // Sizes the box to its text: 400 x 180 when the text fits, taller when it needs more room.
    void fitToText();
    QVantelButton *makeMessageButton(const QString &text);

    int m_kind;
    int m_autoCloseMs = 0;
    QString m_text;
    QLabel *m_label = nullptr;
    QVantelButton *m_button1 = nullptr;
    QVantelButton *m_button2 = nullptr;
    QTimer *m_timer = nullptr;
    // When (clock()) the message began to show its present text; none before it was first shown.
    std::optional<qint64> m_shownAt;
    bool m_pressCounts = false;

    Q_DISABLE_COPY_MOVE(QVantelMessage)
};
