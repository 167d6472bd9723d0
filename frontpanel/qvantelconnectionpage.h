#pragma once

#include "frontpanel/qvantelbasepage.h"
#include "widgets/qvantelpage.h"

#include <QPointer>
#include <QString>

#include <vector>

class QShowEvent;
class QVantelButton;
class QVantelConnPanel;
class QVantelMenuSelect;
class QVantelMessage;
class QVantelPopup;
class QVantelVirtual;

// The connection page of the front panel (page 2): one connection panel per call link side by
// side, the status strip, and the Home and Network buttons. The operator places and ends calls
// here: a tap on a panel's tile dials the link's remote address or, during a call, asks whether
// to hang up; the dial pad opens the on-screen keyboard for the address, the history button the
// device's remembered addresses, the auto-redial switch writes the device's redial setting, and
// the coding button offers, during an Opus call, a choice of transmit bit rates.
//
// A call placed here is created by the page, dialled, and handed to TComDevice::addConnection();
// on every failure the page deletes it. Popups (the hang-up question, the keyboard, the choice
// lists) are application-modal children of the page that delete themselves when they close;
// each remembers its panel, and closing one cancelled does nothing. The popup open now is
// reachable through openPopup() so that a test can answer it.
//
// setCodecMode() and setLinkState() extend the status strip to both panels; the window writes
// call progress into the panels through setLinkMessage(), setLinkInfo() and setRemoteAddress()
// (link 1 or 2; other link numbers change nothing). Children are owned by the page. No signals.
class QVantelConnectionPage : public QVantelBasePage
{
    Q_OBJECT

public:
    explicit QVantelConnectionPage(QVantelWindow *parent);
    ~QVantelConnectionPage() override;
    Q_DISABLE_COPY_MOVE(QVantelConnectionPage)

    void setCodecMode(int routingCode, int coordinationMode) override;
    void setLinkState(int link, int state) override;

    void setLinkMessage(int link, const QString &text);
    void setLinkInfo(int link, const QString &text);
    void setRemoteAddress(int link, const QString &address, int kind);

    // The panel of link 1 or 2; null for any other number.
    [[nodiscard]] QVantelConnPanel *panel(int link) const;
    [[nodiscard]] QVantelButton *homeButton() const { return m_homeButton; }
    [[nodiscard]] QVantelButton *networkButton() const { return m_networkButton; }
    // The popup the page opened last, while it is open; null otherwise.
    [[nodiscard]] QVantelPopup *openPopup() const { return m_popup; }

    // The bit rates offered for a call's transmit bit rate current, from the device's ascending
    // list: the current rate joins the list where it belongs.
    [[nodiscard]] static std::vector<int> bitRateChoices(const std::vector<int> &rates,
                                                         int current);

    // The panels' actions; each does nothing unless panel is one of this page's two panels.
    void panelClicked(QVantelConnPanel *panel);
    void dialClicked(QVantelConnPanel *panel);
    void histClicked(QVantelConnPanel *panel);
    void autoRedialClicked(QVantelConnPanel *panel);
    void pageActivated(QVantelConnPanel *panel, QVantel::Page page);

public slots:
    void page1Clicked();
    void page2Clicked();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void setupUi();
    bool isOwnPanel(const QVantelConnPanel *panel) const;
    QVantelConnPanel *panelOf(const QVantelPopup *popup) const;
    // Loaded model, a known default network and no call on the link.
    bool readyToDial(int link) const;
    void placeCall(QVantelConnPanel *panel);
    void storeAddress(QVantelConnPanel *panel, const QString &text);
    void readAutoRedial();
    void showCentred(QVantelPopup *popup, int yOffset);

    void messagePopupClosed(QVantelMessage *question);
    void dialClosed(QVantelVirtual *keyboard);
    void histClosed(QVantelMenuSelect *list);
    void codingClosed(QVantelMenuSelect *list);

    QVantelConnPanel *m_panel1 = nullptr;
    QVantelConnPanel *m_panel2 = nullptr;
    QVantelButton *m_homeButton = nullptr;
    QVantelButton *m_networkButton = nullptr;
    QPointer<QVantelPopup> m_popup;
};
