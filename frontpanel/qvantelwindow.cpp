#include "frontpanel/qvantelwindow.h"

#include "frontpanel/busyinputgate.h"
#include "frontpanel/ivantelheadphonepage.h"
#include "frontpanel/ivantelmeterpage.h"
#include "frontpanel/ivantelresetpage.h"
#include "frontpanel/ivantelsettingspage.h"
#include "frontpanel/qvantelbanner.h"
#include "frontpanel/qvantelconnectionpage.h"
#include "frontpanel/qvantelloginpage.h"
#include "frontpanel/qvantelmainpage.h"
#include "frontpanel/qvantelsoftkeys.h"
#include "link/ccom.h"
#include "link/cmsg.h"
#include "link/comclient.h"
#include "link/logtext.h"
#include "link/protocolkeys.h"
#include "link/valueconversions.h"
#include "model/audiosettings.h"
#include "model/comaudioconnection.h"
#include "model/comdataconnection.h"
#include "model/comdevice.h"
#include "model/comravennacontroller.h"
#include "model/firmwareversion.h"
#include "model/matrixsettings.h"
#include "model/modelkeys.h"
#include "model/textconversions.h"
#include "widgets/ivantelstatuspanel.h"
#include "widgets/qvantelconnpanel.h"
#include "widgets/qvantelevent.h"
#include "widgets/qvantellinkstatecolour.h"
#include "widgets/qvantellocalize.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuwidget.h"
#include "widgets/qvantelmessage.h"

#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QStackedLayout>
#include <QTimer>

#include <optional>
#include <string>

namespace {

constexpr int kHeadphoneKey = 0x101;
constexpr int kPhoneKey = 0x105;
// Interval of the device's level reports.
constexpr int kLevelPeriodMs = 150;

std::array<QVantelWindow::PageFactory, QVantelWindow::kPageCount> &pageFactories()
{
    static std::array<QVantelWindow::PageFactory, QVantelWindow::kPageCount> factories{};
    return factories;
}

bool isHeadphonePage(int page)
{
    return page >= QVantel::Headphone1Page && page <= QVantel::Headphone4Page;
}

const std::string &param(const ksm::CMsg &message, const std::string &key)
{
    return *message.param(key);
}

int number(const std::string &text)
{
    return int(stringToLong(text));
}

// The call link of an audio connection: 1 for "audio", 2 for "audio2" and "coord_line".
int linkOf(const TComAudioConnection *connection)
{
    return connection->type() == TComBaseConnection::AudioLink1 ? 1 : 2;
}

} // namespace

void QVantelWindow::setPageFactory(QVantel::Page page, PageFactory factory)
{
    if (page > QVantel::ConnectionPage && page < kPageCount)
        pageFactories()[size_t(page)] = factory;
}

QVantelWindow::PageFactory QVantelWindow::pageFactory(QVantel::Page page)
{
    if (page > QVantel::ConnectionPage && page < kPageCount)
        return pageFactories()[size_t(page)];
    return nullptr;
}

QVantelWindow::QVantelWindow(QWidget *parent)
    : QWidget(parent)
    , m_setupTimer(new QTimer(this))
    , m_keepAliveTimer(new QTimer(this))
{
    m_cachedLevels.fill(kNoLevel);
    m_factories = pageFactories();
    qRegisterMetaType<RpcMessage>();
    qRegisterMetaType<RpcConnection::ConnectionState>();

    ksm::CCom *client = comClient();
    if (client->initialize(kTargetUi, kPanelKeyVnFrontpanel) != 0) {
        logCritical(QStringLiteral("Failed to initialize ksm::CCom!"));
        return;
    }

    connect(client, &ksm::CCom::stateChanged, this, &QVantelWindow::stateChanged);
    connect(client, &ksm::CCom::messageReceived, this, &QVantelWindow::messageReceived);
    connect(client, &ksm::CCom::sendSyncMsgCompleted, this, &QVantelWindow::sendSyncMsgCompleted);
    TComDevice *device = comDevice();
    connect(device, &TComDevice::deviceStateChanged, this, &QVantelWindow::deviceStateChanged);
    connect(device, &TComDevice::connectionAdded, this, &QVantelWindow::connectionAdded);
    connect(device, &TComDevice::connectionRemoved, this, &QVantelWindow::connectionRemoved);
    connect(device,
            &TComDevice::dataConnectionStateChanged,
            this,
            &QVantelWindow::dataConnectionStateChanged);
    connect(device,
            &TComDevice::audioConnectionStateChanged,
            this,
            &QVantelWindow::audioConnectionStateChanged);
    connect(
        device, &TComDevice::audioCallStatusChanged, this, &QVantelWindow::audioCallStatusChanged);
    connect(device,
            &TComDevice::audioCallStatisticChanged,
            this,
            &QVantelWindow::audioCallStatisticChanged);
    connect(
        device, &TComDevice::audioCallRelayChanged, this, &QVantelWindow::audioCallRelayChanged);
    TAudioSettings *audio = audioSettings();
    connect(audio,
            &TComController::controllerStateChanged,
            this,
            &QVantelWindow::audioControllerStateChanged);
    connect(audio,
            &TAudioSettings::controllerParamChanged,
            this,
            &QVantelWindow::audioControllerParamChanged);
    connect(m_setupTimer, &QTimer::timeout, this, &QVantelWindow::setupControllers);
    connect(m_keepAliveTimer, &QTimer::timeout, this, &QVantelWindow::keepAliveEvent);
    // Taps, wheel steps and keys made on the panel while a device call waits are dropped, not
    // carried out once it is over on whatever page is shown by then.
    new BusyInputGate(client, this);

    createPages();
    m_initialised = true;
}

QVantelWindow::~QVantelWindow()
{
    // Nothing asked of the window while its children go builds the pages it never showed.
    m_destroying = true;
    m_setupTimer->disconnect();
    m_keepAliveTimer->disconnect();
    if (m_initialised) {
        ksm::CCom *client = comClient();
        QObject::disconnect(client, nullptr, this, nullptr);
        client->disconnect();
    }
}

void QVantelWindow::setTiming(const Timing &timing)
{
    m_timing = timing;
    if (m_setupTimer->isActive())
        m_setupTimer->start(m_timing.setupIntervalMs);
    if (m_keepAliveTimer->isActive())
        m_keepAliveTimer->start(m_timing.keepAliveIntervalMs);
}

void QVantelWindow::createPages()
{
    setWindowFlags(Qt::FramelessWindowHint);
    setFixedSize(800, 480);
    m_pageStack = new QStackedLayout;
    m_pageStack->setStackingMode(QStackedLayout::StackOne);
    m_pageStack->setContentsMargins(0, 0, 0, 0);
    m_pageStack->setSpacing(0);

    // The first frame shows only the login page; the others are built once that frame is out
    // (or as soon as anything asks for them), so that the window appears sooner.
    m_pages[QVantel::LoginPage] = new QVantelLoginPage(this);
    m_pageStack->addWidget(m_pages[QVantel::LoginPage]);
    setLayout(m_pageStack);
    m_pageStack->setCurrentWidget(m_pages[QVantel::LoginPage]);
}

void QVantelWindow::ensurePages() const
{
    if (!m_pagesBuilt && m_pageStack && !m_destroying)
        const_cast<QVantelWindow *>(this)->buildPages();
}

void QVantelWindow::buildPages()
{
    m_pagesBuilt = true;
    // The pages read the model while they are built; they must not see change signals then.
    TMatrixSettings *matrix = matrixSettings();
    TAudioSettings *audio = audioSettings();
    const bool matrixBlocked = matrix->blockSignals(true);
    const bool audioBlocked = audio->blockSignals(true);

    m_mainPage = new QVantelMainPage(this);
    m_pages[QVantel::MainPage] = m_mainPage;
    m_pageStack->addWidget(m_mainPage);
    m_connectionPage = new QVantelConnectionPage(this);
    m_pages[QVantel::ConnectionPage] = m_connectionPage;
    m_pageStack->addWidget(m_connectionPage);
    for (int index = QVantel::AudioPage; index < kPageCount; ++index) {
        const PageFactory factory = m_factories[size_t(index)];
        QWidget *page = factory ? factory(this) : nullptr;
        if (!page)
            continue;
        if (page->parent() != this)
            page->setParent(this);
        m_pages[size_t(index)] = page;
        m_pageStack->addWidget(page);
    }

    if (QWidget *settingsWidget = m_pages[QVantel::SettingsPage]) {
        m_settings = dynamic_cast<IVantelSettingsPage *>(settingsWidget);
        if (!m_settings)
            logCritical(QStringLiteral("QVantelWindow: the settings page lacks its services"));
    }
    // The higher layers' pages were connected by their factories; the settings menu reports
    // its changed items here.
    if (QVantelMenuWidget *menu = settingsPage())
        connect(menu, &QVantelMenuWidget::menuItemChanges, this, &QVantelWindow::menuItemChanges);

    audio->blockSignals(audioBlocked);
    matrix->blockSignals(matrixBlocked);
}

bool QVantelWindow::event(QEvent *event)
{
    // The rest of the pages follow the first frame, once the event loop is free again.
    if (event->type() == QEvent::Paint && !m_pagesBuilt && !m_pageBuildQueued) {
        m_pageBuildQueued = true;
        QTimer::singleShot(0, this, [this] { ensurePages(); });
    }
    return QWidget::event(event);
}

QWidget *QVantelWindow::page(int index) const
{
    if (index < 0 || index >= kPageCount)
        return nullptr;
    ensurePages();
    return m_pages[size_t(index)];
}

int QVantelWindow::shownPage() const
{
    QWidget *current = m_pageStack ? m_pageStack->currentWidget() : nullptr;
    for (int index = 0; index < kPageCount; ++index) {
        if (current && m_pages[size_t(index)] == current)
            return index;
    }
    return -1;
}

QVantelLoginPage *QVantelWindow::loginPage() const
{
    return static_cast<QVantelLoginPage *>(m_pages[QVantel::LoginPage]);
}

QVantelMenuWidget *QVantelWindow::settingsPage() const
{
    ensurePages();
    return qobject_cast<QVantelMenuWidget *>(m_pages[QVantel::SettingsPage]);
}

bool QVantelWindow::showsSettingsPage() const
{
    return shownPage() == QVantel::SettingsPage;
}

IVantelStatusPanel *QVantelWindow::currentStatusPanel() const
{
    if (!m_pageStack)
        return nullptr;
    return dynamic_cast<IVantelStatusPanel *>(m_pageStack->currentWidget());
}

IVantelStatusPanel *QVantelWindow::statusPageShown() const
{
    return showsSettingsPage() ? nullptr : currentStatusPanel();
}

void QVantelWindow::refreshShownPage()
{
    const int shown = shownPage();
    if (shown >= 0 && shown != QVantel::SettingsPage)
        refreshCurrentPage(shown);
}

QString QVantelWindow::rememberedAddress(int link) const
{
    if (!connectionPage())
        return QString();
    return connectionPage()
        ->panel(link == 1 ? 1 : 2)
        ->remoteAddress(comDevice()->linkTransport(link));
}

// Page activation and keys.

void QVantelWindow::pageActivated(QVantel::Page page)
{
    int target = page;
    if (target == m_currentPage || target < 0 || !m_pageStack)
        return;
    if (target != QVantel::LoginPage && comClient()->state() != RpcConnection::Connected)
        return;

    if (target >= QVantel::SettingsPage) {
        QVantelMenuWidget *menu = settingsPage();
        if (!menu || !settings())
            return;
        int entry = -1;
        int entryTarget = -1;
        switch (target) {
        case QVantel::SettingsPage:
            entry = settings()->lastSectionId();
            break;
        case QVantel::SettingsNetwork:
            entry = 1;
            break;
        case QVantel::SettingsCoding:
            entry = 2;
            entryTarget = target;
            break;
        case QVantel::SettingsCodingLink1:
        case QVantel::SettingsCodingLink2:
            if (comDevice()->audioConnection(target == QVantel::SettingsCodingLink1 ? 1 : 2))
                return;
            entry = 2;
            entryTarget = target;
            break;
        case QVantel::SettingsAudio:
            entry = 3;
            break;
        case QVantel::SettingsTools:
            entry = 5;
            break;
        case QVantel::SettingsBook:
            entry = 4;
            entryTarget = target;
            break;
        case QVantel::SettingsBookLink1:
        case QVantel::SettingsBookLink2:
            if (comDevice()->audioConnection(target == QVantel::SettingsBookLink1 ? 1 : 2))
                return;
            entry = 4;
            entryTarget = target;
            break;
        case QVantel::SettingsStatus:
            entry = 6;
            break;
        default:
            return;
        }
        if (!menu->showEntry(entry, entryTarget))
            return;
        if (m_currentPage != QVantel::SettingsPage)
            menu->returnPage = QVantel::Page(m_currentPage);
        target = QVantel::SettingsPage;
    }

    if (!this->page(target))
        return;
    showPage(target);
}

void QVantelWindow::showPage(int page)
{
    m_currentPage = page;
    if (QWidget *focused = QApplication::focusWidget()) {
        focused->releaseKeyboard();
        focused->clearFocus();
    }
    m_pageStack->setCurrentWidget(this->page(page));
    if (page != QVantel::SettingsPage) {
        pushCachedLevels(page, true);
        refreshCurrentPage(page);
    }
}

void QVantelWindow::keyPressEvent(QKeyEvent *event)
{
    if (m_currentPage == QVantel::LoginPage)
        return;
    const int key = event->key();
    if (key == kHeadphoneKey) {
        if (isHeadphonePage(m_currentPage)) {
            pageActivated(QVantel::Page(m_previousPage));
            return;
        }
        const int from = m_currentPage;
        if (from != QVantel::ConnectionPage)
            m_previousPage = from;
        pageActivated(QVantel::Headphone1Page);
    } else if (key == kPhoneKey) {
        if (m_currentPage == QVantel::ConnectionPage) {
            pageActivated(QVantel::Page(m_previousPage));
            return;
        }
        const int from = m_currentPage;
        if (!isHeadphonePage(from))
            m_previousPage = from;
        pageActivated(QVantel::ConnectionPage);
    }
}

void QVantelWindow::keyReleaseEvent(QKeyEvent *event)
{
    Q_UNUSED(event)
}

void QVantelWindow::customEvent(QEvent *event)
{
    if (event->type() != QVantelEvent::kType)
        return;
    event->accept();
    const auto *frontPanelEvent = static_cast<QVantelEvent *>(event);
    switch (frontPanelEvent->keyEventType) {
    case QVantelEvent::DeviceMessage:
        dispatchNext();
        return;
    case QVantelEvent::KeyPress:
    case QVantelEvent::KeyRelease: {
        const int key = frontPanelEvent->key;
        if (m_currentPage == QVantel::LoginPage || (key >= 59 && key <= 65))
            return;
        if ((key == kHeadphoneKey || key == kPhoneKey) && frontPanelEvent->fromControl == 0)
            return;
        const bool press = frontPanelEvent->keyEventType == QVantelEvent::KeyPress;
        QKeyEvent keyEvent(press ? QEvent::KeyPress : QEvent::KeyRelease,
                           key,
                           Qt::NoModifier,
                           QString(),
                           false,
                           1);
        if (press)
            keyPressEvent(&keyEvent);
        else
            keyReleaseEvent(&keyEvent);
        return;
    }
    default:
        return;
    }
}

// Message popup.

void QVantelWindow::showMessagePopup(const QString &text, int autoCloseMs)
{
    if (m_messagePopup) {
        m_messagePopup->setAutoCloseMs(autoCloseMs);
        m_messagePopup->setText(text);
        return;
    }
    auto *popup = new QVantelMessage(text, QVantelMessage::NoButtons, this);
    m_messagePopup = popup;
    popup->setWindowModality(Qt::ApplicationModal);
    const QPoint origin = mapToGlobal(QPoint(0, 0));
    popup->move(origin.x() + (width() - popup->width()) / 2,
                origin.y() + (height() - popup->height()) / 2);
    connect(popup, &QVantelPopup::popupClosed, this, &QVantelWindow::messagePopupClosed);
    popup->setAutoCloseMs(autoCloseMs);
    popup->popup();
    QCoreApplication::processEvents(QEventLoop::ExcludeSocketNotifiers);
}

void QVantelWindow::messagePopupClosed()
{
    m_messagePopup = nullptr;
}

// Session: connection state, initialisation, set-up, keep-alive.

void QVantelWindow::stateChanged(RpcConnection::ConnectionState state)
{
    if (state == RpcConnection::Connected) {
        if (m_currentPage != QVantel::LoginPage)
            QTimer::singleShot(m_timing.startDelayMs, this, &QVantelWindow::startInitialization);
        return;
    }
    if (state != RpcConnection::Unconnected && state != RpcConnection::Closing)
        return;
    m_setupTimer->stop();
    m_keepAliveTimer->stop();
    m_cachedLevels.fill(kNoLevel);
    m_deferredMessages.clear();
    m_soundIdPlayerState = -1;
    m_setupPending = false;
    m_initPending = false;
    resetModel();
    const int shown = shownPage();
    if (shown >= 0 && shown != QVantel::SettingsPage) {
        pushCachedLevels(shown, true);
        refreshCurrentPage(shown);
    }
}

void QVantelWindow::resetModel()
{
    comDevice()->reset(true);
    audioSettings()->reset();
    matrixSettings()->reset();
    ravennaController()->reset();
}

void QVantelWindow::startInitialization()
{
    ksm::CCom *client = comClient();
    if (client->state() != RpcConnection::Connected)
        return;
    if (!client->isReady() || m_inSetup) {
        m_initPending = true;
        return;
    }
    m_initPending = false;
    if (settings())
        settings()->loadPasswords();
    setupControllers();
    m_setupTimer->start(m_timing.setupIntervalMs);
}

void QVantelWindow::setupControllers()
{
    ksm::CCom *client = comClient();
    if (m_inSetup || !client->isReady()) {
        m_setupPending = true;
        return;
    }
    m_inSetup = true;
    do {
        m_setupPending = false;
        if (client->state() != RpcConnection::Connected)
            break;
        setupPass();
    } while (m_setupPending);
    m_inSetup = false;
    if (m_initPending)
        scheduleDrain();
}

void QVantelWindow::setupPass()
{
    TComDevice *device = comDevice();
    if (!device->loaded()) {
        if (!device->refresh())
            return;
        frontPanelSetup();
    }
    TMatrixSettings *matrix = matrixSettings();
    if (device->loaded() && matrix->state() == TComController::StateUnknown) {
        if (matrix->start(true) && mainPage())
            mainPage()->refreshInputNames();
    }
    TAudioSettings *audio = audioSettings();
    if (device->loaded() && audio->state() == TComController::StateUnknown) {
        if (audio->start(true))
            softkeys()->readAll();
    }
    TComRavennaController *ravenna = ravennaController();
    if (device->loaded() && audio->state() == TComController::StateReady && audio->auxiliaryBoard()
        && TComDevice::hasOption(TComDevice::OptionRavenna) && !device->aes67Reset()
        && ravenna->state() == TComController::StateUnknown) {
        if (ravenna->startWithIdentity() && settings())
            settings()->audioChangesetEvent(TComDevice::coreAudioChangeset());
    }
}

void QVantelWindow::frontPanelSetup()
{
    TComDevice *device = comDevice();
    refreshShownPage();

    TComDevice::PanelRecord record;
    device->readPanelRecord(record);
    if (connectionPage()) {
        for (const TComDevice::RemoteNumber &entry : record.numbers)
            connectionPage()->setRemoteAddress(entry.link, toQString(entry.number), entry.kind);
    }
    if (mainPage()) {
        // Relay inputs light the contact lamps, relay outputs the info lamps.
        for (int relay = 0; relay < 2; ++relay) {
            if (const std::optional<bool> on = record.relayInputs[size_t(relay)])
                mainPage()->setContactLamp(relay, *on);
        }
        for (int relay = 0; relay < 2; ++relay) {
            if (const std::optional<bool> on = record.relayOutputs[size_t(relay)])
                mainPage()->setInfoLamp(relay, *on);
        }
    }

    if (TComDevice::hasOption(TComDevice::OptionRecord)) {
        bool playing = false;
        if (device->readRecorderPlaying(playing))
            m_soundIdPlayerState = playing ? 0 : -1;
    }

    refreshShownPage();
    device->subscribeAudioLevels(kLevelPeriodMs);
    device->requestCommEvents();
}

void QVantelWindow::keepAliveEvent()
{
    ksm::CCom *client = comClient();
    TComDevice *device = comDevice();
    if (client->state() != RpcConnection::Connected || !client->isReady() || !device->loaded())
        return;
    if (device->readNetworks())
        return;
    logWarning(QStringLiteral("QVantelWindow: keep-alive probe failed, reconnecting"));
    m_keepAliveTimer->stop();
    const QString host = client->host();
    const quint16 tcpPort = client->tcpPort();
    const quint16 datagramPort = client->datagramPort();
    client->disconnect();
    client->connect(host, tcpPort, datagramPort);
}

void QVantelWindow::deviceStateChanged(TComDevice::DeviceState state)
{
    TComDevice *device = comDevice();
    TMatrixSettings *matrix = matrixSettings();
    switch (state) {
    case TComDevice::RelayInputsState:
        if (mainPage()) {
            mainPage()->setContactLamp(0, device->relayInput1().active);
            mainPage()->setContactLamp(1, device->relayInput2().active);
        }
        return;
    case TComDevice::Aes67ResetState:
        if ((device->hardwareVariant() & 0xF) != 0
            && TComDevice::hasOption(TComDevice::OptionRavenna) && device->aes67Reset()) {
            ravennaController()->reset();
        }
        return;
    case TComDevice::OperationModeState:
        if (matrix->state() == TComController::StateReady)
            matrix->setOperationMode(device->operationMode());
        break;
    case TComDevice::DeviceStateAll:
    case TComDevice::Coder1State:
        if (matrix->state() == TComController::StateReady)
            matrix->audioCallStateChanged(device->coder1().channelMode == 2);
        break;
    default:
        break;
    }
    refreshShownPage();
    if (state == TComDevice::DeviceStateAll)
        m_keepAliveTimer->start(m_timing.keepAliveIntervalMs);
}

// Device messages.

void QVantelWindow::messageReceived(const RpcMessage &message)
{
    if (message.type() != RpcMessage::Signal)
        return;
    const ksm::CMsg &body = message.body();
    if (body.type() == ksm::CMsg::Event && param(body, kKeyEventType) == kEventAudioLevels) {
        handleLevels(body);
        return;
    }
    m_deferredMessages.append(message);
    if (comClient()->isReady()) {
        QCoreApplication::postEvent(this, new QVantelEvent(QVantelEvent::DeviceMessage, -1, 0));
    }
}

void QVantelWindow::sendSyncMsgCompleted()
{
    if (!m_deferredMessages.isEmpty() || m_setupPending || m_initPending)
        scheduleDrain();
}

void QVantelWindow::scheduleDrain()
{
    if (m_drainScheduled)
        return;
    m_drainScheduled = true;
    QTimer::singleShot(0, this, &QVantelWindow::processDeferredMessages);
}

void QVantelWindow::processDeferredMessages()
{
    m_drainScheduled = false;
    runPending();
    while (dispatchNext()) {
    }
}

void QVantelWindow::runPending()
{
    if (!comClient()->isReady() || m_inSetup || m_dispatching)
        return;
    if (m_initPending)
        startInitialization();
    else if (m_setupPending)
        setupControllers();
}

bool QVantelWindow::dispatchNext()
{
    if (m_deferredMessages.isEmpty())
        return false;
    // A message is never handled inside a synchronous call, nor inside another message's
    // handling (a popup shown by a handler lets posted events through); it stays queued for the
    // drain that follows.
    if (!comClient()->isReady() || m_dispatching) {
        return false;
    }
    const RpcMessage message = m_deferredMessages.takeFirst();
    m_dispatching = true;
    dispatch(message);
    m_dispatching = false;
    if (!m_deferredMessages.isEmpty() || m_setupPending || m_initPending)
        scheduleDrain();
    return true;
}

void QVantelWindow::dispatch(const RpcMessage &message)
{
    switch (message.body().type()) {
    case ksm::CMsg::Info:
        handleInfoMessage(message);
        break;
    case ksm::CMsg::Event:
        handleEventMessage(message);
        break;
    default:
        break;
    }
}

void QVantelWindow::handleLevels(const ksm::CMsg &body)
{
    IVantelStatusPanel *panel = currentStatusPanel();
    if (!panel || showsSettingsPage())
        return;
    m_cachedLevels[TxLeft] = number(param(body, kLevelKeyTxL));
    m_cachedLevels[TxRight] = number(param(body, kLevelKeyTxR));
    m_cachedLevels[RxLeft] = number(param(body, kLevelKeyRxL));
    m_cachedLevels[RxRight] = number(param(body, kLevelKeyRxR));
    for (int output = 0; output < 2; ++output) {
        const std::string *value = body.param(kLevelKeyOu + std::to_string(output + 1), false);
        m_cachedLevels[size_t(Output1 + output)] = value ? number(*value) : kNoLevel;
    }
    panel->setAudioLevels(m_cachedLevels[TxLeft],
                          m_cachedLevels[TxRight],
                          m_cachedLevels[RxLeft],
                          m_cachedLevels[RxRight],
                          m_cachedLevels[Output1],
                          m_cachedLevels[Output2],
                          false);
    if (shownPage() == QVantel::AudioPage) {
        for (int input = 0; input < 11; ++input) {
            const std::string *value = body.param(kLevelKeyIn + std::to_string(input + 1), false);
            m_cachedLevels[size_t(Input1 + input)] = value ? number(*value) : kNoLevel;
        }
        if (auto *meters = dynamic_cast<IVantelMeterPage *>(page(QVantel::AudioPage)))
            meters->setMeterLevels(&m_cachedLevels[Input1], 11, false);
    }
}

void QVantelWindow::handleInfoMessage(const RpcMessage &message)
{
    const ksm::CMsg &body = message.body();
    const std::string &infoType = param(body, kKeyInfoType);
    if (infoType.empty())
        return;
    if (infoType == kEventAudioChangeset) {
        const std::string &source = param(body, kKeyInfoSource);
        if (source == kSourceAic) {
            audioSettings()->handleInfo(body);
            matrixSettings()->handleInfo(body);
        } else if (source == kSourceZman0 || source == kSourceBklyn0) {
            handleModuleReport(body);
        } else if (source == kSourceCore) {
            comDevice()->handleInfo(body);
        }
    } else if (infoType == kEventConfigChangeset) {
        if (param(body, kKeyInfoSource) == kSourceHcc)
            softkeys()->handleEvent(body);
    } else if (infoType == kEventRemoteNumbers) {
        handleRemoteNumbers(message);
    } else {
        comDevice()->handleInfo(body);
    }
    if (settings())
        settings()->audioChangesetEvent(body);
}

void QVantelWindow::handleModuleReport(const ksm::CMsg &body)
{
    if (const std::string *status = body.param(kKeySystemStatus, false)) {
        if ((number(*status) & 1) == 0) {
            ravennaController()->reset();
            if (settings())
                settings()->audioChangesetEvent(TComDevice::coreAudioChangeset());
        }
    }
    if (const std::string *update = body.param(kKeySystemUpdate, false)) {
        if (settings())
            settings()->deviceBusy(true);
        const int progress = number(param(body, kKeyProgress));
        QString text;
        switch (number(*update)) {
        case 1:
            text = tr("AES67 module update...\n\nUploading firmware %1%\n\nDo not turn off the "
                      "unit!");
            break;
        case 2:
            text = tr("AES67 module update...\n\nInstalling firmware %1%\n\nDo not turn off the "
                      "unit!");
            break;
        case 3:
            text = tr("AES67 module update failed!\n\nPlease reboot the unit!");
            break;
        case 4:
            text = tr("AES67 module update finished\n\nPlease reboot the unit!");
            break;
        default:
            return;
        }
        if (text.contains(QLatin1String("%1")))
            text = text.arg(progress);
        showMessagePopup(text, 0);
    }
}

void QVantelWindow::handleRemoteNumbers(const RpcMessage &message)
{
    if (connectionPage()) {
        for (const TComDevice::RemoteNumber &entry : TComDevice::remoteNumbers(message.body()))
            connectionPage()->setRemoteAddress(entry.link, toQString(entry.number), entry.kind);
    }
    refreshShownPage();
}

void QVantelWindow::handleEventMessage(const RpcMessage &message)
{
    const ksm::CMsg &body = message.body();
    const std::string &eventType = param(body, kKeyEventType);
    if (eventType.empty())
        return;
    if (eventType == kEventShuttingdown) {
        if (settings())
            settings()->deviceBusy(true);
        showMessagePopup(tr("System is going down..."), 0);
    } else if (eventType == kEventRebooting) {
        if (settings())
            settings()->deviceBusy(true);
        showMessagePopup(tr("System is restarting..."), 0);
    } else if (eventType == kEventReinit) {
        m_soundIdPlayerState = -1;
        resetModel();
        if (settings())
            settings()->loadPasswords();
        setupControllers();
        refreshShownPage();
    } else if (eventType == kEventSystemUpdate) {
        if (settings())
            settings()->deviceBusy(true);
        const std::string &cause = param(body, kKeyCause);
        if (!cause.empty()) {
            showMessagePopup(tr("System update failed!\n%1\nPlease reboot the unit!")
                                 .arg(localize()->localizedText(cause)),
                             0);
        } else {
            showMessagePopup(tr("System update started...\nDo not turn off the unit!\n\n%1")
                                 .arg(localize()->localizedText(param(body, kKeyState))),
                             0);
        }
    } else if (eventType == kEventDisplay) {
        const std::string &text = param(body, kKeyMessage);
        if (!text.empty()) {
            if (settings())
                settings()->deviceReleased(true);
            showMessagePopup(fromDeviceString(text), 0);
        }
    } else if (eventType == kEventRecStatus) {
        const std::string &state = param(body, kKeyState);
        if (state == kRecorderPlay || state == kRecorderPlayPaused)
            m_soundIdPlayerState = 0;
        else if (state == kRecorderStopped || state == kRecorderError)
            m_soundIdPlayerState = -1;
        refreshShownSoundIdState();
    } else {
        comDevice()->handleEvent(body);
    }
    if (eventType != kEventRelayIn && settings())
        settings()->configurationEvent(body);
}

// Status refresh.

int QVantelWindow::soundIdState(int page) const
{
    if (m_soundIdPlayerState == 0)
        return 1;
    if (audioSettings()->waveScut() && page == QVantel::MainPage)
        return 2;
    return 0;
}

void QVantelWindow::pushCachedLevels(int page, bool immediate)
{
    IVantelStatusPanel *panel = currentStatusPanel();
    if (!panel)
        return;
    panel->setAudioLevels(m_cachedLevels[TxLeft],
                          m_cachedLevels[TxRight],
                          m_cachedLevels[RxLeft],
                          m_cachedLevels[RxRight],
                          m_cachedLevels[Output1],
                          m_cachedLevels[Output2],
                          immediate);
    if (page == QVantel::AudioPage) {
        if (auto *meters = dynamic_cast<IVantelMeterPage *>(this->page(QVantel::AudioPage)))
            meters->setMeterLevels(&m_cachedLevels[Input1], 11, immediate);
    }
}

void QVantelWindow::refreshCurrentPage(int page)
{
    IVantelStatusPanel *panel = currentStatusPanel();
    if (!panel)
        return;
    TComDevice *device = comDevice();
    panel->setSoundIdState(soundIdState(page));
    panel->setBatteryLevel(device->batteryLevel());

    const std::string &network = device->defaultNetwork();
    const int family = TComDevice::networkFamily(network);
    const auto dataActive = [device, &network] {
        const TComBaseConnection *data
            = device->findConnection(TComBaseConnection::DataLink, network);
        return data && data->state() == 2;
    };
    switch (family) {
    case 0x100:
        panel->setNetworkType(0x100, 0);
        panel->setDataActive(device->ethernetController()->cable());
        break;
    case 0x300:
        panel->setNetworkType(0x300, device->mobileController()->technology() + 1);
        panel->setDataActive(dataActive());
        panel->setSignalQuality(device->mobileController()->state(), device->mobileSignalBars());
        break;
    case 0x400:
        panel->setNetworkType(0x400, 0);
        panel->setDataActive(dataActive());
        panel->setSignalQuality(device->wifiController()->state(), device->wifiSignalBars());
        break;
    default:
        panel->setNetworkType(family, 0);
        panel->setDataActive(false);
        break;
    }
    panel->setCodecMode(device->currentAudioRouting(), device->operationMode());
    panel->setSipState(1, sipState(1));
    panel->setSipState(2, sipState(2));
    refreshLinkStatus(panel, 1);
    refreshLinkStatus(panel, 2);
}

void QVantelWindow::refreshSoundIdState(int page)
{
    if (IVantelStatusPanel *panel = currentStatusPanel())
        panel->setSoundIdState(soundIdState(page));
}

void QVantelWindow::refreshLinkStatus(IVantelStatusPanel *panel, int link)
{
    if (!panel)
        return;
    TComDevice *device = comDevice();
    QVantelBanner *banner = mainPage() ? mainPage()->banner() : nullptr;
    const auto disable = [panel](int which) {
        panel->setLinkEnabled(which, false);
        panel->setLinkQuality(which, 100, 100);
    };
    const auto showQuality = [panel](int which, const TComAudioConnection *c, int stream) {
        panel->setLinkQuality(
            which, c->txStatistics(stream).netQuality, c->rxStatistics(stream).netQuality);
        panel->setLinkEnabled(which, true);
    };
    // The texts of a link on the connection page (network and coding on one line) and the banner.
    const auto showNames = [this, banner, link](const QString &interfaceText,
                                                const QString &codingText) {
        if (connectionPage())
            connectionPage()->setLinkInfo(link, interfaceText + QLatin1String(" / ") + codingText);
        if (banner)
            banner->setLinkNames(link, interfaceText, codingText);
    };
    const auto showAddress = [this, banner, link](const QString &address) {
        if (connectionPage())
            connectionPage()->setRemoteAddress(link, address, -1);
        if (banner)
            banner->setLinkDetail(link, address);
    };

    if (const TComAudioConnection *c = device->audioConnection(link)) {
        const int state = c->state();
        // An idle or ended call leaves the link state as it is.
        if (state == TComAudioConnection::StateSettingUp
            || state == TComAudioConnection::StateActive
            || state == TComAudioConnection::StateDisconnecting) {
            panel->setLinkState(link, QVantel::linkState(c, QVantel::LinkIdle));
        }
        if (state == TComAudioConnection::StateActive && c->codecRx().algorithm != -1) {
            showNames(QVantelLocalize::interfaceName(TComDevice::networkFromString(c->network())),
                      QVantelLocalize::codingSummary(c->codecRx()));
        }
        const bool dualStream = link == 1 && c->streamAddressing();
        if (state == TComAudioConnection::StateActive && TComDevice::connectionTransport(c) == 0) {
            showQuality(link, c, 0);
            if (dualStream)
                showQuality(2, c, 1);
        } else {
            disable(link);
            if (dualStream)
                disable(2);
        }
        const QString remote = toQString(c->remoteAddresses());
        if (!remote.isEmpty())
            showAddress(remote);
        return;
    }

    const TComAudioConnection *first = link == 2 ? device->audioConnection(1) : nullptr;
    if (first && first->streamAddressing())
        showQuality(2, first, 1);
    else
        disable(link);

    if (link == 2 && !device->hasCoordinationLine() && device->codecMode() != 1) {
        panel->setLinkState(2, QVantel::LinkUnused);
        return;
    }
    const QString address = rememberedAddress(link);
    QVantel::LinkState idle = QVantel::LinkUnused;
    if (device->loaded()
        && TComDevice::networkFamily(device->defaultNetwork()) != TComDevice::InvalidFamily) {
        idle = address.isEmpty() ? QVantel::LinkIdle : QVantel::LinkAddressed;
    }
    if (link == 2 && device->hasCoordinationLine()) {
        showNames(QVantelLocalize::interfaceName(TComDevice::MobileFamily),
                  QVantelLocalize::codecName(TComDevice::GsmAlgorithm));
    } else {
        showNames(
            QVantelLocalize::interfaceName(TComDevice::networkFromString(device->defaultNetwork())),
            QVantelLocalize::codingSummary(link == 1 ? device->coder1() : device->coder2()));
    }
    showAddress(address);
    panel->setLinkState(link, idle);
}

int QVantelWindow::sipState(int link) const
{
    TComDevice *device = comDevice();
    const SipAccount &account = device->aoipController()->account(link == 2 ? 2 : 1);
    if (account.registered())
        return device->linkTransport(link) == 0 ? 1 : 2;
    return account.cause().empty() ? 0 : 3;
}

void QVantelWindow::refreshShownSoundIdState()
{
    const int shown = shownPage();
    if (shown >= 0 && shown != QVantel::SettingsPage)
        refreshSoundIdState(shown);
}

void QVantelWindow::audioControllerStateChanged(TComController *controller)
{
    if (!controller || controller->state() != TComController::StateReady)
        return;
    if (TComDevice::hasOption(TComDevice::OptionRecord))
        refreshShownSoundIdState();
}

void QVantelWindow::audioControllerParamChanged(TComController *controller,
                                                TAudioSettings::CtlrParam param)
{
    Q_UNUSED(controller)
    if (param != TAudioSettings::WaveFile && param != TAudioSettings::WaveScut)
        return;
    if (TComDevice::hasOption(TComDevice::OptionRecord))
        refreshShownSoundIdState();
}

// Login completion.

void QVantelWindow::completeLogin()
{
    std::string tabName;
    const bool named = comDevice()->readTabName(tabName);
    emit loginClicked(named ? fromDeviceString(tabName) : QString());
    if (connectionPage()) {
        connectionPage()->panel(1)->reset();
        connectionPage()->panel(2)->reset();
    }
    for (int index = QVantel::AudioPage; index <= QVantel::Headphone4Page; ++index) {
        if (auto *resettable = dynamic_cast<IVantelResetPage *>(page(index)))
            resettable->resetView();
    }
    startInitialization();
}

// Reactions to model events.

void QVantelWindow::connectionAdded(TComBaseConnection *connection)
{
    if (connection && connection->type() != TComBaseConnection::DataLink && settings())
        settings()->deviceBusy(true);
}

void QVantelWindow::connectionRemoved(TComBaseConnection *connection)
{
    if (!connection || connection->type() == TComBaseConnection::DataLink)
        return;
    refreshShownPage();
    if (!comDevice()->hasAudioConnection() && settings())
        settings()->deviceReleased(true);
}

void QVantelWindow::dataConnectionStateChanged(TComDataConnection *connection)
{
    if (connection && connection->network() == comDevice()->defaultNetwork())
        refreshShownPage();
}

void QVantelWindow::disableLink(IVantelStatusPanel *panel,
                                int link,
                                const TComAudioConnection *call)
{
    panel->setLinkEnabled(link, false);
    panel->setLinkQuality(link, 100, 100);
    if (link == 1 && call->streamAddressing()) {
        panel->setLinkEnabled(2, false);
        panel->setLinkQuality(2, 100, 100);
    }
}

void QVantelWindow::audioConnectionStateChanged(TComAudioConnection *connection)
{
    if (!connection)
        return;
    TComDevice *device = comDevice();
    TMatrixSettings *matrix = matrixSettings();
    const int link = linkOf(connection);
    const int state = connection->state();
    const bool coordinationLine = connection->type() == TComBaseConnection::CoordinationLine;
    QVantelBanner *banner = mainPage() ? mainPage()->banner() : nullptr;

    if (state == TComAudioConnection::StateActive && coordinationLine)
        matrix->coordLineStateChanged(true);
    if (state == TComAudioConnection::StateDisconnecting && connectionPage())
        connectionPage()->setLinkMessage(link, tr("Releasing call..."));
    if (state == TComAudioConnection::StateEnded) {
        if (coordinationLine)
            matrix->coordLineStateChanged(false);
        else if (link == 1)
            matrix->audioCallStateChanged(device->coder1().channelMode == 2);

        const std::string &cause = connection->cause();
        const QString message
            = cause.empty() ? tr("Call released")
                            : tr("Call released (%1)").arg(localize()->localizedText(cause));
        // The link's idle description comes back.
        QString interfaceText;
        QString codingText;
        QString address;
        if (link == 2 && device->hasCoordinationLine()) {
            interfaceText = QVantelLocalize::interfaceName(TComDevice::MobileFamily);
            codingText = QVantelLocalize::codecName(TComDevice::GsmAlgorithm);
            if (connectionPage())
                address = connectionPage()->panel(2)->remoteAddress(QVantelConnPanel::VoiceAddress);
        } else {
            interfaceText = QVantelLocalize::interfaceName(
                TComDevice::networkFromString(device->defaultNetwork()));
            codingText
                = QVantelLocalize::codingSummary(link == 1 ? device->coder1() : device->coder2());
            address = rememberedAddress(link);
        }
        if (connectionPage()) {
            connectionPage()->setLinkMessage(link, message);
            connectionPage()->setLinkInfo(link, interfaceText + QLatin1Char('\n') + codingText);
            connectionPage()->setRemoteAddress(link, address, -1);
        }
        if (banner) {
            banner->setLinkNames(link, interfaceText, codingText);
            banner->setLinkDetail(link, address);
        }
    }

    IVantelStatusPanel *panel = statusPageShown();
    if (panel
        && (state == TComAudioConnection::StateSettingUp
            || state == TComAudioConnection::StateDisconnecting
            || state == TComAudioConnection::StateEnded)) {
        const QVantel::LinkState idle
            = rememberedAddress(link).isEmpty() ? QVantel::LinkIdle : QVantel::LinkAddressed;
        panel->setLinkState(link, QVantel::linkState(connection, idle));
        if (state != TComAudioConnection::StateSettingUp)
            disableLink(panel, link, connection);
    }
    if (settings())
        settings()->audioConnectionStateChanged(connection);
}

void QVantelWindow::audioCallStatusChanged(TComAudioConnection *connection)
{
    if (!connection)
        return;
    TComDevice *device = comDevice();
    const int link = linkOf(connection);
    const int state = connection->state();
    const int status = connection->status();
    const QString remote = toQString(connection->remoteAddresses());
    const QString interfaceText
        = QVantelLocalize::interfaceName(TComDevice::networkFromString(connection->network()));
    const QString codingText = QVantelLocalize::codingSummary(connection->codecRx());
    QVantelBanner *banner = mainPage() ? mainPage()->banner() : nullptr;

    const auto message = [this, link](const QString &text) {
        if (connectionPage())
            connectionPage()->setLinkMessage(link, text);
    };
    const auto showRemote = [this, banner, link, &remote] {
        if (connectionPage())
            connectionPage()->setRemoteAddress(link, remote, -1);
        if (banner)
            banner->setLinkDetail(link, remote);
    };
    const auto showNames = [this, banner, link, &interfaceText, &codingText] {
        if (connectionPage())
            connectionPage()->setLinkInfo(link, interfaceText + QLatin1Char('\n') + codingText);
        if (banner)
            banner->setLinkNames(link, interfaceText, codingText);
    };
    const auto routeStereo = [connection, link] {
        if (link == 1)
            matrixSettings()->audioCallStateChanged(connection->codecRx().channelMode == 2);
    };

    if (state == TComAudioConnection::StateSettingUp) {
        if (status == TComAudioConnection::StatusRinging) {
            message(tr("Incoming call..."));
            showRemote();
        } else if (status == TComAudioConnection::StatusAutoRedial) {
            message(tr("Call redial pending..."));
        } else {
            message(tr("Call in progress..."));
        }
    } else if (state == TComAudioConnection::StateActive) {
        switch (status) {
        case TComAudioConnection::StatusActive:
            if (connection->codecRx().algorithm != -1) {
                routeStereo();
                showNames();
            }
            message(tr("Call in progress (%1)").arg(tr("negociating")));
            showRemote();
            break;
        case TComAudioConnection::StatusNegotiating:
            message(tr("Call in progress (%1)").arg(tr("negociating")));
            break;
        case TComAudioConnection::StatusWaitingForSync:
            message(tr("Call in progress (%1)").arg(tr("waiting for sync")));
            break;
        case TComAudioConnection::StatusSync:
            routeStereo();
            if (connectionPage())
                connectionPage()->setLinkInfo(link, interfaceText + QLatin1Char('\n') + codingText);
            message(tr("Call established (%1)").arg(tr("synchronized")));
            if (banner)
                banner->setLinkNames(link, interfaceText, codingText);
            break;
        case TComAudioConnection::StatusSyncLost:
            message(tr("Call established (%1)").arg(tr("sync lost")));
            break;
        default:
            break;
        }
        if (status >= TComAudioConnection::StatusNegotiating
            && status <= TComAudioConnection::StatusSyncLost && !remote.isEmpty()) {
            showRemote();
        }
    }

    IVantelStatusPanel *panel = statusPageShown();
    if (panel
        && (state == TComAudioConnection::StateSettingUp
            || state == TComAudioConnection::StateActive)) {
        const QVantel::LinkState shown = QVantel::linkState(connection, QVantel::LinkIdle);
        panel->setLinkState(link, shown);
        const int previous = connection->previousStatus();
        // The codec mode and quality only when the call becomes synchronised, not on a repeated
        // report.
        if (shown == QVantel::LinkUp && previous != TComAudioConnection::StatusSync
            && previous != TComAudioConnection::StatusSyncLost) {
            panel->setCodecMode(device->currentAudioRouting(), device->operationMode());
            if (TComDevice::connectionTransport(connection) == 0) {
                panel->setLinkQuality(link,
                                      connection->txStatistics(0).netQuality,
                                      connection->rxStatistics(0).netQuality);
                panel->setLinkEnabled(link, true);
                if (link == 1 && connection->streamAddressing()) {
                    panel->setLinkQuality(2,
                                          connection->txStatistics(1).netQuality,
                                          connection->rxStatistics(1).netQuality);
                    panel->setLinkEnabled(2, true);
                }
            }
        }
    }
    if (settings())
        settings()->audioCallStatusChanged(connection);
}

void QVantelWindow::audioCallStatisticChanged(TComAudioConnection *connection)
{
    if (!connection)
        return;
    const int type = connection->type();
    IVantelStatusPanel *panel = statusPageShown();
    if (panel && type != TComBaseConnection::CoordinationLine) {
        const int link = type == TComBaseConnection::AudioLink2 ? 2 : 1;
        panel->setLinkQuality(
            link, connection->txStatistics(0).netQuality, connection->rxStatistics(0).netQuality);
        panel->setLinkEnabled(link, true);
        if (link == 1 && connection->streamAddressing()) {
            panel->setLinkQuality(
                2, connection->txStatistics(1).netQuality, connection->rxStatistics(1).netQuality);
            panel->setLinkEnabled(2, true);
        }
    }
    if (settings())
        settings()->audioCallStatisticChanged(connection);
}

void QVantelWindow::audioCallRelayChanged(TComAudioConnection *connection)
{
    if (!connection || connection->type() != TComBaseConnection::AudioLink1
        || !connection->relaysValid() || !mainPage()) {
        return;
    }
    mainPage()->setInfoLamp(0, connection->relay1());
    mainPage()->setInfoLamp(1, connection->relay2());
}

void QVantelWindow::copyMonitoringClicked(int target, QWidget *source)
{
    if (target < 1 || target > 4)
        return;
    auto *page
        = dynamic_cast<IVantelHeadphonePage *>(this->page(QVantel::Headphone1Page + target - 1));
    if (source && page)
        page->copySettingsFrom(source);
}

void QVantelWindow::menuItemChanges(QVantelMenuItem *item, int code)
{
    if (!item || !item->page() || !settings() || (code != 19 && code != 20))
        return;
    const int link = code == 19 ? 1 : 2;
    QString address = settings()->remoteAddressText(0);
    if (address.isEmpty())
        return;
    const QString second = settings()->remoteAddressText(1);
    if (!second.isEmpty())
        address += QLatin1Char(',') + second;

    TComDevice *device = comDevice();
    if (!device->loaded()
        || TComDevice::networkFamily(device->defaultNetwork()) == TComDevice::InvalidFamily) {
        return;
    }
    const int kind = device->linkTransport(link);
    if (connectionPage()) {
        connectionPage()->panel(link)->setRemoteAddress(address, kind);
        connectionPage()->setLinkState(link, QVantel::LinkAddressed);
    }
    storeRemoteNumber(link, address, kind);
}

void QVantelWindow::storeRemoteNumber(int link, const QString &number, int kind)
{
    if (kind == -1)
        return;
    comDevice()->storeRemoteNumber(link, toStdString(number), kind);
    if (mainPage())
        mainPage()->banner()->setLinkDetail(link, number);
}
