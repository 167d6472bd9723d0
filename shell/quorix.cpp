#include "shell/quorix.h"

#include "frontpanel/qvantelwindow.h"
#include "link/ccom.h"
#include "link/comclient.h"
#include "link/logtext.h"
#include "model/comdevice.h"
#include "model/textconversions.h"
#include "pages/pageregistration.h"
#include "resources/tallydeskresources.h"
#include "settings/qvantelsettingspage.h"
#include "shell/applicationdirectory.h"
#include "shell/briskdiscovery.h"
#include "shell/briskdiscoverydialog.h"
#include "shell/closerequestwatch.h"
#include "shell/connectdevicedialog.h"
#include "shell/dialogrunner.h"
#include "shell/logfile.h"
#include "shell/managedevicesdialog.h"
#include "shell/productinfo.h"
#include "shell/quorixdialog.h"
#include "shell/statusbusyoverlay.h"
#include "widgets/qvantelbutton.h"
#include "widgets/qvantelevent.h"
#include "widgets/qvantellazyicon.h"
#include "widgets/qvantelpage.h"
#include "widgets/qvantelvirtual.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>
#include <utility>

Quorix *mainWindow = nullptr;

LogFile *mainWindowLogFile()
{
    return mainWindow ? mainWindow->logFile() : nullptr;
}

namespace {

// The smallest log file size in KB, whatever the configuration says.
constexpr int kMinLogMaxSizeKb = 64;

// How long a problem with the program's files stays in the status bar.
constexpr int kNoticeMs = 15000;

// A menu-bar entry, owned by the receiver, that runs slot when triggered; tests find it by name.
template<typename Receiver, typename Slot>
QAction *
addBarAction(QMenuBar *bar, const QString &text, const QString &name, Receiver *receiver, Slot slot)
{
    auto *action = new QAction(text, receiver);
    action->setObjectName(name);
    QObject::connect(action, &QAction::triggered, receiver, slot);
    bar->addAction(action);
    return action;
}

Quorix::DiscoveryFactory &discoveryFactory()
{
    static Quorix::DiscoveryFactory factory;
    return factory;
}

void setTextColour(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

// The palette with every colour set explicitly, so that a widget holding it inherits none of
// its parent's colours.
QPalette explicitPalette(const QPalette &source)
{
    QPalette result = source;
    for (int group = 0; group < QPalette::NColorGroups; ++group) {
        for (int role = 0; role < QPalette::NColorRoles; ++role) {
            const auto g = QPalette::ColorGroup(group);
            const auto r = QPalette::ColorRole(role);
            result.setColor(g, r, source.color(g, r));
        }
    }
    return result;
}

QFrame *horizontalLine(QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    return line;
}

} // namespace

void Quorix::setDiscoveryFactory(DiscoveryFactory factory)
{
    discoveryFactory() = std::move(factory);
}

Quorix::Quorix(QWidget *parent)
    : QMainWindow(parent, Qt::WindowFlags())
    , m_configuration(applicationDirectory() + QStringLiteral("/Tallydesk.xml"))
{
    initTallydeskResources();

    if (objectName().isEmpty())
        setObjectName(QStringLiteral("TallydeskClass"));
    resize(800, 600);
    // The front panel's colours and font, set before any child exists: the children take them
    // when they are made, rather than each handling a change afterwards.
    QPalette windowPalette = palette();
    windowPalette.setColor(QPalette::Window, Qt::black);
    windowPalette.setColor(QPalette::WindowText, Qt::white);
    setPalette(windowPalette);
    QFont windowFont = font();
    windowFont.setFamily(QStringLiteral("Arial"));
    windowFont.setWeight(QFont::Bold);
    windowFont.setPixelSize(14);
    setFont(windowFont);
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralwidget"));
    setCentralWidget(central);
    auto *bar = new QMenuBar(this);
    bar->setObjectName(QStringLiteral("menubar"));
    // The menus keep the desktop's colours: the black window palette below would hide them.
    bar->setPalette(explicitPalette(QApplication::palette(bar)));
    bar->setGeometry(0, 0, 800, 21);
    setMenuBar(bar);
    auto *status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("statusbar"));
    setStatusBar(status);
    setWindowTitle(QStringLiteral("MainWindow"));
    QMetaObject::connectSlotsByName(this);

    createMenus();
    createFrontPanel();
    m_closeWatch = new CloseRequestWatch(this, m_frontPanel);

    connect(m_frontPanel, &QVantelWindow::loginClicked, this, &Quorix::loginClicked);
    connect(comClient(), &ksm::CCom::stateChanged, this, &Quorix::stateChanged);
    connect(comClient(), &ksm::CCom::busyStateChanged, this, &Quorix::busyStateChanged);
    connect(comClient(), &ksm::CCom::errorOccurred, this, &Quorix::socketErrorOccurred);
    connect(statusBar(), &QStatusBar::messageChanged, this, [this](const QString &message) {
        if (message.isEmpty())
            showNextNotice();
    });

    // A path that is no regular file (a FIFO would block the read) counts as a missing file.
    // The defaults that stand in for a missing file are written once the first frame is out.
    const bool read = QFileInfo(m_configuration.fileName()).isFile();
    if (read)
        m_configuration.readConfiguration();
    else
        m_configurationPending = true;

    m_logFile = std::make_unique<LogFile>(QStringLiteral("Tallydesk"));
    // In 64 bits: a large limit in the file must not wrap into a small or negative one.
    // Below the floor every burst of lines would roll over and use up the names of one second.
    const qint64 maxBytes = qint64(std::max(m_configuration.logMaxSize, kMinLogMaxSizeKb)) * 1024;
    m_logFile->setMaxSize(maxBytes);
    m_logFile->setMaxFiles(m_configuration.logMaxFiles);
    // A log that cannot be opened leaves the program running without one.
    const QString logDirectory = applicationDirectory() + QStringLiteral("/logs");
    const bool logged = m_logFile->open(logDirectory);

    // Said once the log is settled: without one, stderr hears of them too.
    if (read)
        noteConfigurationRead(m_configuration);
    if (!logged) {
        showNotice(LogUnwritable,
                   tr("Cannot write log files in %1").arg(QDir::toNativeSeparators(logDirectory)));
    }

    mainWindow = this;
}

Quorix::~Quorix()
{
    // A window closed before its first frame still leaves its configuration behind.
    writePendingConfiguration();
    // The front panel and the client outlive nothing of this window's that they may call into.
    if (m_frontPanel)
        QObject::disconnect(m_frontPanel, nullptr, nullptr, nullptr);
    QObject::disconnect(comClient(), nullptr, nullptr, nullptr);
    mainWindow = nullptr;
    m_logFile.reset();
}

bool Quorix::event(QEvent *event)
{
    // Opening a menu sends an empty status tip, which would wipe a notice before it was read.
    if (event->type() == QEvent::StatusTip && static_cast<QStatusTipEvent *>(event)->tip().isEmpty()
        && !m_shownNotice.isEmpty() && statusBar()->currentMessage() == m_shownNotice)
        return true;
    if (event->type() == QEvent::Paint && m_configurationPending && !m_configurationQueued) {
        m_configurationQueued = true;
        QTimer::singleShot(0, this, &Quorix::writePendingConfiguration);
    }
    return QMainWindow::event(event);
}

void Quorix::writePendingConfiguration()
{
    if (!m_configurationPending)
        return;
    m_configurationPending = false;
    writeConfiguration();
}

bool Quorix::readConfiguration()
{
    const bool read = m_configuration.readConfiguration();
    noteConfigurationRead(m_configuration);
    return read;
}

bool Quorix::writeConfiguration()
{
    const bool written = m_configuration.writeConfiguration();
    noteConfigurationWrite(m_configuration, written);
    return written;
}

void Quorix::noteConfigurationRead(const Configuration &configuration)
{
    if (configuration.readError().isEmpty()) {
        m_noticesSaid &= ~ConfigurationUnreadable;
        return;
    }
    // The store refuses to write over such a file, so changes last only as long as the run.
    showNotice(ConfigurationUnreadable,
               tr("Cannot read %1 (%2): changes are not saved")
                   .arg(QFileInfo(configuration.fileName()).fileName(), configuration.readError()));
}

void Quorix::noteConfigurationWrite(const Configuration &configuration, bool written)
{
    if (!configuration.readError().isEmpty()) {
        // Not written because it could not be read: that is the problem to say.
        noteConfigurationRead(configuration);
        return;
    }
    m_noticesSaid &= ~ConfigurationUnreadable;
    if (written) {
        m_noticesSaid &= ~ConfigurationUnsaved;
        return;
    }
    const QString reason
        = configuration.writeError().isEmpty() ? tr("unknown error") : configuration.writeError();
    showNotice(
        ConfigurationUnsaved,
        tr("Cannot save %1 (%2)").arg(QFileInfo(configuration.fileName()).fileName(), reason));
}

void Quorix::showNotice(Notice notice, const QString &text)
{
    if (m_noticesSaid & notice)
        return;
    m_noticesSaid |= notice;
    // Without a log file nothing else keeps it: a terminal the program was started from gets it.
    if (!m_logFile || !m_logFile->isOpen()) {
        std::fprintf(stderr, "Tallydesk: %s\n", text.toLocal8Bit().constData());
        std::fflush(stderr);
    }
    m_pendingNotices.append(text);
    if (statusBar()->currentMessage().isEmpty())
        showNextNotice();
}

void Quorix::showNextNotice()
{
    m_shownNotice = m_pendingNotices.isEmpty() ? QString() : m_pendingNotices.takeFirst();
    if (!m_shownNotice.isEmpty())
        statusBar()->showMessage(m_shownNotice, kNoticeMs);
}

void Quorix::createMenus()
{
    QMenuBar *bar = menuBar();

    m_browseAction = addBarAction(
        bar, tr("&Browse..."), QStringLiteral("browseAction"), this, &Quorix::browseDevices);
    m_connectAction = addBarAction(
        bar, tr("&Connect..."), QStringLiteral("connectAction"), this, &Quorix::connectDevice);

    m_recentMenu = new QMenu(tr("&Recent"), this);
    m_recentMenu->setObjectName(QStringLiteral("recentMenu"));
    connect(m_recentMenu, &QMenu::aboutToShow, this, &Quorix::updateRecent);
    bar->addMenu(m_recentMenu);

    m_manageAction = addBarAction(
        bar, tr("&Manage devices"), QStringLiteral("manageAction"), this, &Quorix::manageDevices);
    m_aboutAction
        = addBarAction(bar, tr("?"), QStringLiteral("aboutAction"), this, &Quorix::aboutClicked);
}

void Quorix::createFrontPanel()
{
    setWindowTitle(tr("%1 - Version %2").arg(productTitle(), productVersion()));
    setFixedSize(800, 615);

    m_statusLabel = new QLabel(tr("No active connection"), this);
    m_statusLabel->setObjectName(QStringLiteral("statusLabel"));
    // The host text is shown as it is, never read as markup.
    m_statusLabel->setTextFormat(Qt::PlainText);
    setTextColour(m_statusLabel, Qt::red);
    statusBar()->setAutoFillBackground(true);
    statusBar()->setSizeGripEnabled(false);
    statusBar()->addWidget(m_statusLabel, 1);
    m_busyOverlay = new StatusBusyOverlay(statusBar());

    auto *layout = new QVBoxLayout(centralWidget());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setAlignment(Qt::AlignTop);

    // The pages and the settings menu live above the front panel; the window builds them through
    // the factories registered here.
    registerPages();
    QVantelSettingsPage::registerPage();
    m_frontPanel = new QVantelWindow(this);
    m_frontPanel->setObjectName(QStringLiteral("frontPanel"));
    frontPanelReceiver = m_frontPanel;
    layout->addWidget(m_frontPanel);
    layout->addWidget(horizontalLine(this));

    m_buttonBar = new QWidget(this);
    m_buttonBar->setObjectName(QStringLiteral("buttonBar"));
    m_buttonBar->setFixedHeight(86);
    m_buttonBar->hide();
    layout->addWidget(m_buttonBar);
    layout->addWidget(horizontalLine(this), 1, Qt::AlignBottom);

    struct ButtonSpec
    {
        const char *name;
        int x;
        const char *icon;
        void (Quorix::*slot)();
        // The headphone and phone buttons change the page of the front panel.
        bool leavesPage;
    };
    const ButtonSpec buttons[] = {
        {"messageButton", 10, ":/images/message.png", &Quorix::button3Clicked, false},
        {"headphoneButton", 272, ":/images/headphone-black.png", &Quorix::button1Clicked, true},
        {"phoneButton", 430, ":/images/phone-call.png", &Quorix::button2Clicked, true},
    };
    for (const ButtonSpec &spec : buttons) {
        auto *button = new QVantelButton(m_buttonBar);
        button->setObjectName(QString::fromLatin1(spec.name));
        button->setBorderWidth(4);
        QPalette buttonPalette = button->palette();
        buttonPalette.setColor(QPalette::Window, Qt::white);
        buttonPalette.setColor(QPalette::WindowText, Qt::black);
        button->setPalette(buttonPalette);
        button->setIcon(QVantelLazyIcon::icon(QString::fromLatin1(spec.icon)));
        button->setGeometry(spec.x, 10, 98, 66);
        connect(button, &QVantelButton::clicked, this, spec.slot);
        button->setProperty(QVantel::kLeavesPageProperty, spec.leavesPage);
    }

    m_infoLabel = new QLabel(m_buttonBar);
    m_infoLabel->setObjectName(QStringLiteral("infoLabel"));
    m_infoLabel->setGeometry(577, 10, 210, 66);
    m_infoLabel->setAlignment(Qt::AlignCenter);
    m_infoLabel->setFrameStyle(QFrame::Panel | QFrame::Plain);
    m_infoLabel->setLineWidth(1);
    m_infoLabel->setTextFormat(Qt::RichText);
    m_infoLabel->setWordWrap(true);
    QFont infoFont = m_infoLabel->font();
    infoFont.setPixelSize(20);
    m_infoLabel->setFont(infoFont);
    m_infoLabel->hide();
}

void Quorix::setEngagedMenus(bool engaged)
{
    m_connectAction->setText(engaged ? tr("&Disconnect") : tr("&Connect..."));
    m_browseAction->setEnabled(!engaged);
    m_recentMenu->setEnabled(!engaged);
    m_recentMenu->menuAction()->setEnabled(!engaged);
    m_manageAction->setEnabled(!engaged);
}

bool Quorix::connectTo(const QString &addressText,
                       const QHostAddress &address,
                       qint64 port,
                       qint64 datagramPort)
{
    ksm::CCom *client = comClient();
    // A port that does not fit 16 bits would silently become another port.
    QString reason;
    if (port < 1 || port > 65535)
        reason = tr("TCP port %1 is outside 1 to 65535").arg(port);
    else if (datagramPort < 0 || datagramPort > 65535)
        reason = tr("UDP port %1 is outside 1 to 65535").arg(datagramPort);
    else if (!client->connect(addressText, quint16(port), quint16(datagramPort)))
        reason = QHostAddress(addressText).protocol() == QAbstractSocket::IPv4Protocol
                     ? tr("refused")
                     : tr("not an IPv4 address");
    if (!reason.isEmpty()) {
        logWarning(QStringLiteral("Quorix::connectTo(address=%1:%2, datagram port=%3) refused: %4")
                       .arg(addressText)
                       .arg(port)
                       .arg(datagramPort)
                       .arg(reason));
        setTextColour(m_statusLabel, Qt::red);
        m_statusLabel->setText(tr("Not connected to device <%1:%2>: %3")
                                   .arg(addressText, QString::number(port), reason));
        return false;
    }

    m_statusLabel->setText(tr("Connecting to device <%1>").arg(client->host()));
    setEngagedMenus(true);

    RecentDevice recent;
    recent.address = address;
    recent.port = int(port);
    recent.datagramPort = int(datagramPort);
    if (m_configuration.addRecentDevice(recent)) {
        m_configuration.updateKnownDevice(recent);
        writeConfiguration();
    }
    return true;
}

int Quorix::datagramPortFor(bool audioLevelsOverTcp) const
{
    return audioLevelsOverTcp ? 1 : m_configuration.nextDatagramPort();
}

void Quorix::activateLoginPage()
{
    if (m_buttonBar->isHidden())
        return;
    m_buttonBar->hide();
    m_frontPanel->pageActivated(QVantel::LoginPage);
}

void Quorix::stateChanged(RpcConnection::ConnectionState state)
{
    ksm::CCom *client = comClient();
    if (state == RpcConnection::Connected) {
        setTextColour(m_statusLabel, Qt::white);
        m_statusLabel->setText(tr("Connected to device <%1>").arg(client->host()));
        return;
    }

    setTextColour(m_statusLabel, Qt::red);
    if (!client->isEngaged()) {
        m_statusLabel->setText(tr("No active connection"));
        return;
    }
    if (state == RpcConnection::Connecting)
        m_statusLabel->setText(tr("Connecting to device <%1>").arg(client->host()));
    else
        showConnectFailure();
    if (!m_buttonBar->isHidden())
        QTimer::singleShot(1, this, &Quorix::activateLoginPage);
}

void Quorix::showConnectFailure()
{
    // Names where the program tried and, when the socket said, why it failed.
    const ksm::CCom *client = comClient();
    QString text = tr("Not connected to device <%1:%2>").arg(client->host()).arg(client->tcpPort());
    QString reason;
    switch (client->lastSocketError()) {
    case QAbstractSocket::UnknownSocketError:
        break;
    case QAbstractSocket::ConnectionRefusedError:
        reason = tr("connection refused");
        break;
    case QAbstractSocket::SocketTimeoutError:
    case QAbstractSocket::NetworkError:
    case QAbstractSocket::HostNotFoundError:
        reason = tr("no answer");
        break;
    case QAbstractSocket::RemoteHostClosedError:
        reason = tr("closed by the device");
        break;
    default:
        reason = tr("network error %1").arg(int(client->lastSocketError()));
        break;
    }
    if (!reason.isEmpty())
        text += QStringLiteral(": ") + reason;
    m_statusLabel->setText(text);
}

void Quorix::socketErrorOccurred()
{
    // The error may be reported after the state change it caused.
    const ksm::CCom *client = comClient();
    if (client->isEngaged() && client->state() == RpcConnection::Unconnected)
        showConnectFailure();
}

void Quorix::busyStateChanged(bool busy)
{
    QStatusBar *status = statusBar();
    QPalette palette = status->palette();
    palette.setColor(QPalette::Window, busy ? Qt::red : Qt::black);
    status->setPalette(palette);
    // Every synchronous device call switches this twice: an overlay keeps the switch to a
    // repaint, where a status message would lay the bar out and repaint it at once.
    m_busyOverlay->setText(busy ? tr("BUSY") : QString());
}

void Quorix::browseDevices()
{
    if (comClient()->isEngaged())
        return;

    const DiscoveryFactory &factory = discoveryFactory();
    const std::unique_ptr<BriskDiscovery> discovery(factory ? factory(this)
                                                            : new BriskDiscovery(this));
    QString address;
    {
        BriskDiscoveryDialog dialog(m_configuration.fileName(), this);
        dialog.setDiscovery(discovery.get());
        const int result = runDialog(dialog);
        // The dialog saves a named device itself.
        if (!dialog.configuration().writeError().isEmpty())
            noteConfigurationWrite(dialog.configuration(), false);
        if (result != QDialog::Accepted)
            return;
        address = dialog.selectedDevice().address;
    }
    if (address.isEmpty())
        return;

    readConfiguration();
    const auto known = m_configuration.knownDevices.constFind(address);
    if (known != m_configuration.knownDevices.cend()) {
        connectKnown(*known);
        return;
    }
    connectThroughDialog(address);
}

void Quorix::connectDevice()
{
    if (!comClient()->isEngaged()) {
        readConfiguration();
        connectThroughDialog(QString());
        return;
    }

    if (!askYesCancel(this, tr("Disconnect"), tr("Are you sure to disconnect?")))
        return;
    // The question may have been answered between two calls of a page being read: that page is
    // no longer wanted, and what its cut reads would say is not the operator's concern.
    comClient()->endTasks();
    comClient()->disconnect();
    stateChanged(RpcConnection::Unconnected);
    setEngagedMenus(false);
    m_buttonBar->hide();
    m_frontPanel->pageActivated(QVantel::LoginPage);
}

void Quorix::connectRecent(const QString &addressText)
{
    if (comClient()->isEngaged())
        return;
    const RecentDevice recent = m_configuration.findRecentDevice(QHostAddress(addressText));
    if (recent.address.isNull() || recent.port <= 0 || recent.datagramPort <= 0)
        return;
    connectTo(recent.address.toString(), recent.address, recent.port, recent.datagramPort);
}

void Quorix::updateRecent()
{
    m_recentMenu->clear();
    readConfiguration();
    if (m_configuration.recentDevices.isEmpty()) {
        m_recentMenu->addAction(tr("List is empty"))->setEnabled(false);
        return;
    }
    for (const RecentDevice &recent : std::as_const(m_configuration.recentDevices)) {
        const QString addressText = recent.address.toString();
        QString text = addressText;
        const auto known = m_configuration.knownDevices.constFind(addressText);
        if (known != m_configuration.knownDevices.cend() && !known->name.isEmpty())
            text += QStringLiteral(" - ") + known->name;
        // The user's own text: an "&" in it is shown, not taken as a shortcut marker.
        text.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction *action = m_recentMenu->addAction(text);
        action->setData(addressText);
        connect(
            action, &QAction::triggered, this, [this, addressText] { connectRecent(addressText); });
    }
}

void Quorix::manageDevices()
{
    if (comClient()->isEngaged())
        return;
    int result = QDialog::Rejected;
    QString address;
    {
        ManageDevicesDialog dialog(m_configuration, this);
        result = runDialog(dialog);
        address = dialog.selectedAddress();
        if (!dialog.configuration().writeError().isEmpty())
            noteConfigurationWrite(dialog.configuration(), false);
    }
    // The dialog wrote the file itself.
    readConfiguration();
    if (result != QDialog::Accepted)
        return;
    const auto known = m_configuration.knownDevices.constFind(address);
    if (known != m_configuration.knownDevices.cend())
        connectKnown(*known);
}

void Quorix::connectKnown(const KnownDevice &device)
{
    connectTo(device.address.toString(),
              device.address,
              device.port,
              datagramPortFor(device.audioLevels));
}

void Quorix::connectThroughDialog(const QString &address)
{
    ConnectDeviceDialog dialog(this);
    if (!address.isEmpty())
        dialog.addressEdit()->setText(address);
    dialog.portEdit()->setText(QString::number(m_configuration.defaultPort));
    dialog.udpPortEdit()->setText(QString::number(m_configuration.nextDatagramPort()));
    if (runDialog(dialog) != QDialog::Accepted)
        return;
    const QString addressText = dialog.addressEdit()->text();
    connectTo(addressText, QHostAddress(addressText), dialog.port(), dialog.datagramPort());
}

void Quorix::aboutClicked()
{
    QuorixDialog dialog(this);
    runDialog(dialog);
}

void Quorix::loginClicked(const QString &text)
{
    if (!text.isEmpty()) {
        readConfiguration();
        const QString host = comClient()->host();
        const QHostAddress hostAddress(host);
        const QString key = hostAddress.isNull() ? host : hostAddress.toString();
        auto known = m_configuration.knownDevices.find(key);
        if (known != m_configuration.knownDevices.end() && known->name.isEmpty()) {
            known->name = text;
            writeConfiguration();
        }
    }
    // The name comes from the device: shown as written, never read as markup.
    m_infoLabel->setText(text.toHtmlEscaped());
    m_infoLabel->setVisible(!text.isEmpty());
    m_buttonBar->show();
}

void Quorix::postKey(int key)
{
    QCoreApplication::postEvent(
        m_frontPanel, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, QString(), false, 1));
    QCoreApplication::postEvent(
        m_frontPanel, new QKeyEvent(QEvent::KeyRelease, key, Qt::NoModifier, QString(), false, 1));
}

void Quorix::button1Clicked()
{
    postKey(0x101);
}

void Quorix::button2Clicked()
{
    postKey(0x105);
}

void Quorix::button3Clicked()
{
    auto *keyboard = new QVantelVirtual(1, this);
    keyboard->setObjectName(QStringLiteral("messageKeyboard"));
    keyboard->setWindowModality(Qt::ApplicationModal);
    const QPoint topLeft = mapToGlobal(QPoint(0, 0));
    keyboard->move(topLeft.x() + (width() - keyboard->width()) / 2,
                   topLeft.y() + (height() - keyboard->height()) / 2);
    keyboard->titleLabel()->setText(tr("Enter Message"));
    keyboard->lineEdit()->setText(QString());
    connect(keyboard, &QVantelVirtual::popupClosed, this, [this, keyboard] {
        keyboardClosed(keyboard);
    });
    keyboard->show();
}

void Quorix::keyboardClosed(QVantelVirtual *keyboard)
{
    if (keyboard->isCancelled())
        return;
    keyboard->hide();
    const QString text = keyboard->lineEdit()->text();
    if (text.isEmpty())
        return;

    if (!comDevice()->displayMessage(toDeviceString(text)))
        showCritical(this, tr("Send message"), tr("Failed to send message!"));
}

void Quorix::closeEvent(QCloseEvent *event)
{
    if (!askYesCancel(this, tr("Exit application"), tr("Are you sure to exit?"))) {
        event->ignore();
        return;
    }
    event->accept();
    // The question may have been answered between two calls of a longer task (a page reading a
    // slow unit): that task ends, so nothing it was building is shown or said, and without the
    // link the rest of its calls end at once. The program gets back to its event loop and quits
    // there, whatever window a task might still open.
    comClient()->endTasks();
    comClient()->disconnect();
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), &QCoreApplication::quit, Qt::QueuedConnection);
}
