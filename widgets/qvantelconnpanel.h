#pragma once

#include "widgets/qvantelpage.h"

#include <QString>
#include <QWidget>

class QLabel;
class QVantelButton;
class QVantelConnInfo;
class QVantelSwitch;

// The connection page's panel of one audio link (1 the programme, 2 the coordination): a state
// line, the connection tile (QVantelConnInfo) and touch buttons for the address book, the call
// history, the dial pad, the coding settings and the auto-redial switch. It never talks to the
// device: it shows what its page tells it and reports touches as signals.
//
// Signals: panelClicked() when the tile is clicked; histClicked(), dialClicked() and
// autoRedialClicked() when those controls are clicked (the auto-redial switch is checkable and
// has already toggled); pageActivated() with the link's address-book page (19 or 20) or coding
// page (14 or 15) when those buttons are clicked. Children are owned by the panel.
class QVantelConnPanel : public QWidget
{
    Q_OBJECT

public:
    // Address kinds under which remote addresses are remembered.
    enum AddressKind : int { IpAddress = 0, IsdnAddress = 1, VoiceAddress = 2 };

    // A link other than 1 is taken as link 2.
    explicit QVantelConnPanel(int link, QWidget *parent = nullptr);
    ~QVantelConnPanel() override;
    Q_DISABLE_COPY_MOVE(QVantelConnPanel)

    int link() const { return m_link; }
    int codecMode() const { return m_codecMode; }
    int otherMode() const { return m_otherMode; }

    // The address remembered for kind 0, 1 or 2; empty for any other kind.
    QString remoteAddress(int kind) const;
    // Shows `address` on the tile and remembers it when `kind` is 0, 1 or 2 (other kinds, such as
    // -1, only show it).
    void setRemoteAddress(const QString &address, int kind);
    // Titles the tile by the audio routing code `mode` and the coordination mode `otherMode`,
    // and on link 2 shows the controls only while the link is in use (modes 8, 16, 32, 64).
    // Does nothing for the pair already shown, unless the device's firmware version changed.
    void setCodecMode(int mode, int otherMode);
    // Forgets the remembered addresses, empties the tile's address and shows "Idle".
    void reset();
    // Colours the tile by the link state.
    void setLinkState(int state);

    QLabel *stateLabel() const { return m_stateLabel; }
    QVantelConnInfo *connInfo() const { return m_connInfo; }
    QVantelButton *bookButton() const { return m_bookButton; }
    QVantelButton *historyButton() const { return m_historyButton; }
    QVantelButton *dialButton() const { return m_dialButton; }
    QVantelButton *codingButton() const { return m_codingButton; }
    QLabel *autoRedialLabel() const { return m_autoRedialLabel; }
    QVantelSwitch *autoRedialSwitch() const { return m_autoRedialSwitch; }

signals:
    void panelClicked();
    void dialClicked();
    void histClicked();
    void autoRedialClicked();
    void pageActivated(QVantel::Page page);

public slots:
    void bookClicked();
    void codingClicked();

private:
    QVantelButton *makeButton(const QString &name, const QString &icon, const QRect &geometry);
    void arrangeLink2(int mode);

    const int m_link;
    int m_codecMode = -1;
    int m_otherMode = -1;
    quint32 m_firmware = 0;
    QString m_addresses[3];
    QLabel *m_stateLabel = nullptr;
    QVantelConnInfo *m_connInfo = nullptr;
    QVantelButton *m_bookButton = nullptr;
    QVantelButton *m_historyButton = nullptr;
    QVantelButton *m_dialButton = nullptr;
    QVantelButton *m_codingButton = nullptr;
    QLabel *m_autoRedialLabel = nullptr;
    QVantelSwitch *m_autoRedialSwitch = nullptr;
};
