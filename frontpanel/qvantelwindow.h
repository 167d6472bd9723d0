#pragma once

#include "link/rpcconnection.h"
#include "link/rpcmessage.h"
#include "model/audiosettings.h"
#include "model/comdevice.h"
#include "widgets/qvantelmessage.h"
#include "widgets/qvantelpage.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <array>

class IVantelSettingsPage;
class IVantelStatusPanel;
class QEvent;
class QKeyEvent;
class QStackedLayout;
class QTimer;
class QVantelConnectionPage;
class QVantelLoginPage;
class QVantelMainPage;
class QVantelMenuItem;
class QVantelMenuWidget;
class TComAudioConnection;
class TComBaseConnection;
class TComController;
class TComDataConnection;

// The on-screen copy of the device's front panel: a fixed 800 x 480 frameless widget holding
// the front-panel pages in a stack (index = QVantel::Page number 0 to 11), and the session
// logic of the connected device: login completion, device initialisation, controller set-up,
// keep-alive, and the handling of the device's INFO, EVENT and level messages.
//
// Pages. The login (0), main (1) and connection (2) pages are the window's own. The other slots
// are filled by the page factories registered with setPageFactory(); the higher
// layers (audio and headphone pages, settings menu) register theirs before the window is built,
// through registerPage<Page>() (registerHeadphonePage<Page>() for headphone pages 1 and 2), which
// connects the page's signals to the window by type.
// A slot without a factory stays empty and asking for its page does nothing.
// Only the login page is built with the window. The others are built together, in slot order and
// with the model's change signals blocked, right after the window's first frame, or earlier when
// anything asks for one of them (the accessors below, a device message, a page change). The
// settings page (11) must implement IVantelSettingsPage: the login checks passwords against its
// cache, and without it no login succeeds.
//
// Input: the window keeps a BusyInputGate on the client while it lives, so that user input made
// on the panel while a synchronous device call waits is dropped rather than carried out
// afterwards; input elsewhere waits for the call to end.
//
// Ownership: pages, timers and the message popup are children of the window. The shared model
// objects (comClient(), the controllers) are not owned; the window connects to them at
// construction and disconnects the client at destruction.
//
// Signals: loginClicked(name) once per completed login, with the device's tab name (empty when
// the device has none).
//
// Model events: the window follows TComDevice's device-state and connection signals, writing
// call progress into the connection page's panels and the main page's banner and pushing link
// state, codec mode and quality into the page shown (never into the settings page); the
// settings page's call hooks get every call change.
//
// Device messages: INFO and EVENT messages from the client are queued and handled one at a time,
// in arrival order, only while no synchronous device call and no task of the client
// (ksm::CallScope: a step of the settings menu, the login) runs (one posted QVantelEvent per
// message, or a drain right after a call completes or a task ends); level reports are handled at
// once.
// Controller set-up is never re-entered: a set-up or initialisation asked for while one runs, or
// while another synchronous call runs, is remembered and run from the event loop once that has
// finished. A tick of the set-up timer that comes meanwhile is let go, and the timer counts its
// interval from the end of each pass, so the program always returns to its event loop between
// two passes, however late the unit answers.
//
// GUI thread only.
class QVantelWindow : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kPageCount = 12;
    // Cached level values, in this order: txL, txR, rxL, rxR, in1 .. in11, ou1, ou2.
    static constexpr int kLevelCount = 17;
    // A cached level that means "no reading".
    static constexpr int kNoLevel = 99;
    enum LevelIndex : int {
        TxLeft = 0,
        TxRight = 1,
        RxLeft = 2,
        RxRight = 3,
        Input1 = 4,
        Output1 = 15,
        Output2 = 16,
    };

    // Builds the page of one stack slot, with the window as parent, and connects it to the
    // window.
    using PageFactory = QWidget *(*)(QVantelWindow *window);
    // Registers the factory of a stack slot 3 to 11 (null clears it); other pages are ignored.
    // Only windows built afterwards use it. A factory set here connects nothing by itself; the
    // pages of the higher layers register through registerPage() or registerHeadphonePage().
    static void setPageFactory(QVantel::Page page, PageFactory factory);
    [[nodiscard]] static PageFactory pageFactory(QVantel::Page page);

    // Registers Page (constructible from the window) for a stack slot 3 to 11: each window built
    // afterwards creates one and connects its pageActivated(QVantel::Page) to pageActivated().
    // The connection is made by type, so a page without that signal does not compile.
    template<typename Page>
    static void registerPage(QVantel::Page slot)
    {
        setPageFactory(
            slot, +[](QVantelWindow *window) -> QWidget * {
                auto *page = new Page(window);
                connect(page, &Page::pageActivated, window, &QVantelWindow::pageActivated);
                return page;
            });
    }
    // The same for headphone pages 1 and 2, which also ask for copies of their monitoring mix:
    // copySettingsClicked(int) reaches copyMonitoringClicked() with the page as source.
    template<typename Page>
    static void registerHeadphonePage(QVantel::Page slot)
    {
        setPageFactory(
            slot, +[](QVantelWindow *window) -> QWidget * {
                auto *page = new Page(window);
                connect(page, &Page::pageActivated, window, &QVantelWindow::pageActivated);
                connect(page, &Page::copySettingsClicked, window, [window, page](int target) {
                    window->copyMonitoringClicked(target, page);
                });
                return page;
            });
    }

    // The session's timer intervals; tests shorten them.
    struct Timing
    {
        int startDelayMs = 100;          // connected state to startInitialization()
        int setupIntervalMs = 5000;      // period of the controller set-up
        int keepAliveIntervalMs = 15000; // period of the keep-alive probe
    };

    explicit QVantelWindow(QWidget *parent = nullptr);
    ~QVantelWindow() override;
    Q_DISABLE_COPY_MOVE(QVantelWindow)

    [[nodiscard]] const Timing &timing() const { return m_timing; }
    void setTiming(const Timing &timing);

    // The page last shown through pageActivated() (an opened settings entry counts as 11).
    [[nodiscard]] int currentPage() const { return m_currentPage; }
    // The page the headphone and phone keys return to.
    [[nodiscard]] int previousPage() const { return m_previousPage; }
    // The page of a stack slot; null for an empty slot or an index outside 0 to 11.
    [[nodiscard]] QWidget *page(int index) const;
    // The slot of the page the stack shows.
    [[nodiscard]] int shownPage() const;
    [[nodiscard]] QVantelLoginPage *loginPage() const;
    [[nodiscard]] QVantelMainPage *mainPage() const
    {
        ensurePages();
        return m_mainPage;
    }
    [[nodiscard]] QVantelConnectionPage *connectionPage() const
    {
        ensurePages();
        return m_connectionPage;
    }
    // The settings page as a menu and as the window's view of it; null when there is none.
    [[nodiscard]] QVantelMenuWidget *settingsPage() const;
    [[nodiscard]] IVantelSettingsPage *settings() const
    {
        ensurePages();
        return m_settings;
    }
    // The open message popup, null when none.
    [[nodiscard]] QVantelMessage *messagePopup() const { return m_messagePopup; }

    // 0 while the device's recorder plays or is paused, -1 otherwise.
    [[nodiscard]] int soundIdPlayerState() const { return m_soundIdPlayerState; }
    [[nodiscard]] const std::array<int, kLevelCount> &cachedLevels() const
    {
        return m_cachedLevels;
    }
    [[nodiscard]] int deferredMessageCount() const { return int(m_deferredMessages.size()); }
    [[nodiscard]] QTimer *setupTimer() const { return m_setupTimer; }
    [[nodiscard]] QTimer *keepAliveTimer() const { return m_keepAliveTimer; }

    // Shows text in the window's one message popup (a message without buttons, closed by a
    // click), or replaces the text of the popup already open. autoCloseMs 0 keeps it open.
    void showMessagePopup(const QString &text, int autoCloseMs);

    // Status of the page shown (page is its stack slot, never 11): the cached levels, the whole
    // status from the model, or only the sound-ID state.
    void pushCachedLevels(int page, bool immediate);
    void refreshCurrentPage(int page);
    void refreshSoundIdState(int page);
    void refreshLinkStatus(IVantelStatusPanel *panel, int link);
    // SIP button state of link 1 or 2: 1 registered (IP link), 2 registered (other link),
    // 3 failed, 0 none.
    [[nodiscard]] int sipState(int link) const;

    // The dispatchers of queued device messages.
    void handleInfoMessage(const RpcMessage &message);
    void handleEventMessage(const RpcMessage &message);
    void handleRemoteNumbers(const RpcMessage &message);

    // Records a remote number of a link under its address kind (0 IP, 1 ISDN, 2 voice; -1 does
    // nothing): a one-way INFO "remote_numbers" to the device, and the banner's link detail.
    void storeRemoteNumber(int link, const QString &number, int kind);

    // The steps after a successful login: identify to the device's database, report the tab
    // name through loginClicked(), reset the pages and start the initialisation.
    void completeLogin();

signals:
    void loginClicked(const QString &name);

public slots:
    // Shows a page; the page shown already, a page whose slot is empty, and any page but the
    // login page while the client is not connected, do nothing.
    void pageActivated(QVantel::Page page);
    void audioControllerStateChanged(TComController *controller);
    void audioControllerParamChanged(TComController *controller, TAudioSettings::CtlrParam param);
    void messagePopupClosed();
    void setupControllers();
    void sendSyncMsgCompleted();
    void processDeferredMessages();
    void keepAliveEvent();
    void startInitialization();
    void stateChanged(RpcConnection::ConnectionState state);
    void messageReceived(const RpcMessage &message);
    void deviceStateChanged(TComDevice::DeviceState state);
    // Makes the headphone page of position target (1 to 4) copy the monitoring mix of source;
    // other positions do nothing.
    void copyMonitoringClicked(int target, QWidget *source);
    void menuItemChanges(QVantelMenuItem *item, int code);
    void connectionAdded(TComBaseConnection *connection);
    void connectionRemoved(TComBaseConnection *connection);
    void dataConnectionStateChanged(TComDataConnection *connection);
    void audioConnectionStateChanged(TComAudioConnection *connection);
    void audioCallStatusChanged(TComAudioConnection *connection);
    void audioCallStatisticChanged(TComAudioConnection *connection);
    void audioCallRelayChanged(TComAudioConnection *connection);

protected:
    bool event(QEvent *event) override;
    void customEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    void createPages();
    // Builds every page but the login page, once.
    void ensurePages() const;
    void buildPages();
    void showPage(int page);
    bool showsSettingsPage() const;
    IVantelStatusPanel *currentStatusPanel() const;
    // The page shown as a status panel, null while the settings page shows.
    IVantelStatusPanel *statusPageShown() const;
    // refreshCurrentPage() of the page shown, unless it is the settings page.
    void refreshShownPage();
    // refreshSoundIdState() of the page shown, unless it is the settings page.
    void refreshShownSoundIdState();
    // The remote address the connection page remembers for link under its current transport.
    QString rememberedAddress(int link) const;
    void disableLink(IVantelStatusPanel *panel, int link, const TComAudioConnection *call);
    int soundIdState(int page) const;
    void handleLevels(const ksm::CMsg &body);
    void handleModuleReport(const ksm::CMsg &body);
    // Hands the first queued message on, unless a synchronous call or another message's
    // handling is in progress; true when one was handled.
    bool dispatchNext();
    void dispatch(const RpcMessage &message);
    void scheduleDrain();
    void runPending();
    // The set-up timer's tick: a pass, unless one or another device call is running.
    void setupTimerFired();
    void setupPass();
    void frontPanelSetup();
    void resetModel();

    int m_soundIdPlayerState = -1;
    int m_currentPage = QVantel::LoginPage;
    int m_previousPage = QVantel::LoginPage;
    QTimer *m_setupTimer = nullptr;
    std::array<int, kLevelCount> m_cachedLevels{};
    QTimer *m_keepAliveTimer = nullptr;
    // A device message waiting to be handled, with its number in the order the unit's messages
    // arrived (ksm::CCom::signalArrival()): handled, it is said to be that old, so that news it
    // carries never passes for newer than the answer of a call that came after it.
    struct QueuedMessage
    {
        RpcMessage message;
        qint64 arrival = 0;
    };
    QList<QueuedMessage> m_deferredMessages;
    QStackedLayout *m_pageStack = nullptr;
    std::array<QWidget *, kPageCount> m_pages{};
    // The page factories registered when the window was made.
    std::array<PageFactory, kPageCount> m_factories{};
    IVantelSettingsPage *m_settings = nullptr;
    QVantelMainPage *m_mainPage = nullptr;
    QVantelConnectionPage *m_connectionPage = nullptr;
    QPointer<QVantelMessage> m_messagePopup;

    Timing m_timing;
    bool m_initialised = false;
    bool m_pagesBuilt = false;
    bool m_pageBuildQueued = false;
    bool m_destroying = false;
    bool m_dispatching = false;
    bool m_drainScheduled = false;
    bool m_inSetup = false;
    bool m_setupPending = false;
    bool m_initPending = false;
};
