#include "frontpanel/qvantelwindow.h"

#include "frontpanel/busyinputgate.h"
#include "frontpanel/ivantelsettingspage.h"
#include "frontpanel/qvantelconnectionpage.h"
#include "frontpanel/qvantelloginpage.h"
#include "frontpanel/qvantelmainpage.h"
#include "link/ccom.h"
#include "link/comclient.h"
#include "link/logtext.h"
#include "link/protocolkeys.h"
#include "model/audiosettings.h"
#include "model/comaudioconnection.h"
#include "model/comdataconnection.h"
#include "model/comdevice.h"
#include "model/matrixsettings.h"
#include "model/modelkeys.h"
#include "widgets/ivantelstatuspanel.h"
#include "widgets/qvantelconnpanel.h"
#include "widgets/qvantelevent.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuwidget.h"
#include "widgets/qvantelmessage.h"

#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QStackedLayout>
#include <QTimer>

namespace {

constexpr int kHeadphoneKey = 0x101;
constexpr int kPhoneKey = 0x105;

std::array<QVantelWindow::PageFactory, QVantelWindow::kPageCount> &pageFactories()
{
    static std::array<QVantelWindow::PageFactory, QVantelWindow::kPageCount> factories{};
    return factories;
}

bool isHeadphonePage(int page)
{
    return page >= QVantel::Headphone1Page && page <= QVantel::Headphone4Page;
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
    // The messages that came while a task ran are handled once it is over.
    connect(client, &ksm::CCom::taskEnded, this, &QVantelWindow::sendSyncMsgCompleted);
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
    connect(m_setupTimer, &QTimer::timeout, this, &QVantelWindow::setupTimerFired);
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
    ksm::processEventsApart();
}

void QVantelWindow::messagePopupClosed()
{
    m_messagePopup = nullptr;
}
