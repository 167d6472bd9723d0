#pragma once

#include "widgets/qvantelvirtual.h"

#include <QPointer>
#include <QWidget>

class QShowEvent;
class QVantelButton;
class QVantelSwitch;
class QVantelWindow;

// The front panel's login page (stack page 0): three switches choosing the access level
// (Operator, Expert, Administrator) and a "Log in" button.
//
// The login needs a connected device. It reads the device's type and firmware version, refuses
// a device that is not a Quorix, records firmwareVersion, warns when the device's firmware is
// newer than the program knows, has the settings page reload the access-level passwords and,
// when the chosen level has one, asks for it on the on-screen keyboard. A login that passes sets
// accessLevel, opens the main page and has the window complete it
// (QVantelWindow::completeLogin). Every refusal is shown in the window's message popup, one text
// per cause: not connected, a unit that does not answer, a unit that refuses to send its type or
// its passwords, not a Quorix, a wrong password.
//
// Children: the switches, labels and button; the password keyboard while it is open (it deletes
// itself when it closes). No signals of its own. GUI thread only.
class QVantelLoginPage : public QWidget
{
    Q_OBJECT

public:
    explicit QVantelLoginPage(QVantelWindow *window);
    ~QVantelLoginPage() override;
    Q_DISABLE_COPY_MOVE(QVantelLoginPage)

    QVantelSwitch *levelSwitch(int level) const;
    QVantelButton *loginButton() const { return m_loginButton; }
    // The open password keyboard, null when none.
    QVantelVirtual *keyboard() const { return m_keyboard; }
    // The level the switches choose: 2 when Administrator is checked, else 1 when Expert is,
    // else 0.
    int chosenLevel() const;

    // Why the last read of the unit's identity or passwords failed (TComDevice::lastReadFailure):
    // no link, no answer, or refusedText when the unit refused.
    [[nodiscard]] static QString readFailureText(const QString &refusedText);
    // The same for a read of the passwords, as the login and the Tools access level say it.
    [[nodiscard]] static QString passwordReadFailureText();

public slots:
    // Makes the switch of level the one chosen: checked and disabled, the other two unchecked
    // and enabled.
    void switchClicked(int level);
    // The login flow.
    void buttonClicked();
    // The password check, when the keyboard closed with OK.
    void keyboardClosed();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void setupUi();
    // Shows why a read of the unit failed: no link, no answer, or refusedText when the unit
    // refused.
    void showReadFailure(const QString &refusedText);
    void askPassword(int level);
    void acceptLogin(int level);

    QVantelWindow *m_window = nullptr;
    QVantelSwitch *m_operatorSwitch = nullptr;
    QVantelSwitch *m_expertSwitch = nullptr;
    QVantelSwitch *m_administratorSwitch = nullptr;
    QVantelButton *m_loginButton = nullptr;
    QPointer<QVantelVirtual> m_keyboard;
};
