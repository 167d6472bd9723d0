#pragma once

#include "link/rpcconnection.h"
#include "shell/configuration.h"

#include <QHostAddress>
#include <QMainWindow>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class BriskDiscovery;
class CloseRequestWatch;
class LogFile;
class QAction;
class QCloseEvent;
class QLabel;
class QMenu;
class QObject;
class QVantelVirtual;
class QVantelWindow;
class QWidget;
class StatusBusyOverlay;

// The program's one main window: the menus through which the user finds, picks, connects to and
// disconnects from a device, the status bar showing the state of the device link, the front
// panel (QVantelWindow) and, below it, a bar of three buttons (message, headphones, phone call)
// with the logged-in device's name.
//
// Ownership: owns its configuration store (on applicationDirectory() + "/Tallydesk.xml"; a missing
// file is written with the defaults right after the window's first frame), its log
// file (in applicationDirectory() + "/logs") and, as children, the front panel and every widget.
// The protocol client comClient() and the other shared objects are not owned and outlive the
// window. Dialogs and the discovery object live only while the slot that opened them runs.
//
// Published state: the constructor points the widget kit's frontPanelReceiver at the front panel
// as soon as that exists (it is never cleared), and sets the process-wide `mainWindow` as its
// very last step, after the log file has been opened; the destructor clears `mainWindow` first.
// The message handler reaches the log file through mainWindowLogFile(). The settings menu's page
// factory is registered before the front panel is built.
//
// The window keys its behaviour on whether the protocol client is engaged (a connect accepted
// and not yet disconnected), not on the link state; it follows the client's stateChanged() and
// busyStateChanged() signals and the front panel's loginClicked(). Its modal questions and
// dialogs run through runDialog(). GUI thread only.
//
// Problems with the program's own files (a configuration file that cannot be read or saved, a
// log directory that cannot be written) are said in the status bar as temporary messages, one
// after the other, each once until it has cleared; without an open log file they go to stderr
// too. A connect that is refused before it starts says why in the status label.
class Quorix : public QMainWindow
{
    Q_OBJECT

public:
    explicit Quorix(QWidget *parent = nullptr);
    ~Quorix() override;
    Q_DISABLE_COPY_MOVE(Quorix)

    LogFile *logFile() const { return m_logFile.get(); }
    const Configuration &configuration() const { return m_configuration; }
    QVantelWindow *frontPanel() const { return m_frontPanel; }
    // Keeps the window system's Close that a popup of the panel blocked.
    CloseRequestWatch *closeRequestWatch() const { return m_closeWatch; }

    // Builds the discovery object that "&Browse..." attaches to its dialog, with the given
    // parent. By default a BriskDiscovery on the discovery port that broadcasts; tests aim it at
    // a loopback responder. An empty function restores the default.
    using DiscoveryFactory = std::function<BriskDiscovery *(QObject *parent)>;
    static void setDiscoveryFactory(DiscoveryFactory factory);

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private slots:
    void activateLoginPage();
    void stateChanged(RpcConnection::ConnectionState state);
    void busyStateChanged(bool busy);
    void socketErrorOccurred();
    void browseDevices();
    void connectDevice();
    void updateRecent();
    void manageDevices();
    void aboutClicked();
    void loginClicked(const QString &text);
    void button1Clicked();
    void button2Clicked();
    void button3Clicked();

private:
    // The problems said once in the status bar; bits of m_noticesSaid.
    enum Notice { ConfigurationUnreadable = 1, ConfigurationUnsaved = 2, LogUnwritable = 4 };

    // The store's read and write, with what went wrong said to the operator.
    bool readConfiguration();
    bool writeConfiguration();
    // Says what the store's last read or write left wrong, or forgets a problem that cleared.
    void noteConfigurationRead(const Configuration &configuration);
    void noteConfigurationWrite(const Configuration &configuration, bool written);
    // Shows the text in the status bar unless this notice was said already; queued behind a
    // notice still showing.
    void showNotice(Notice notice, const QString &text);
    void showNextNotice();
    void createMenus();
    // Writes the configuration a missing file left to write, once.
    void writePendingConfiguration();
    void createFrontPanel();
    // Connects the protocol client and, when it accepts, shows the engaged state and records
    // the device; false when the client refused or a port is outside 1 to 65535 (0 allowed for
    // the datagram port, meaning no level meters), and the status label then says why.
    bool connectTo(const QString &addressText,
                   const QHostAddress &address,
                   qint64 port,
                   qint64 datagramPort);
    // Connects to a device of the known-device list with its recorded address and port.
    void connectKnown(const KnownDevice &device);
    // Asks for the address (prefilled when given) and ports of a device, then connects to it.
    void connectThroughDialog(const QString &address);
    // The datagram port a known device connects with: 1 for levels over TCP, else the next free
    // one.
    int datagramPortFor(bool audioLevelsOverTcp) const;
    void setEngagedMenus(bool engaged);
    // "Not connected to device <address:port>", with the reason when the socket gave one.
    void showConnectFailure();
    void postKey(int key);
    // Connects to the recent device recorded under this address, unless a session is up.
    void connectRecent(const QString &addressText);
    // Sends the text of the message keyboard, unless it was cancelled or left empty.
    void keyboardClosed(QVantelVirtual *keyboard);

    QVantelWindow *m_frontPanel = nullptr;
    CloseRequestWatch *m_closeWatch = nullptr;
    QWidget *m_buttonBar = nullptr;
    QLabel *m_statusLabel = nullptr;
    QLabel *m_infoLabel = nullptr;
    StatusBusyOverlay *m_busyOverlay = nullptr;
    QAction *m_browseAction = nullptr;
    QAction *m_connectAction = nullptr;
    QAction *m_manageAction = nullptr;
    QMenu *m_recentMenu = nullptr;
    QAction *m_aboutAction = nullptr;
    Configuration m_configuration;
    std::unique_ptr<LogFile> m_logFile;
    bool m_configurationPending = false;
    bool m_configurationQueued = false;
    int m_noticesSaid = 0;
    QStringList m_pendingNotices;
    QString m_shownNotice;
};

// The one main window while it is published; null before its constructor has finished and from
// the start of its destruction.
extern Quorix *mainWindow;

// The main window's log file while the main window is published and has one; the source the
// message handler is given (setLogFileSource).
LogFile *mainWindowLogFile();
