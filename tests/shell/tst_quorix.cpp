#include "dialogscript.h"
#include "filemodes.h"

#include "frontpanel/qvantelloginpage.h"
#include "frontpanel/qvantelwindow.h"
#include "link/ccom.h"
#include "link/comclient.h"
#include "link/logtext.h"
#include "link/sharedobjects.h"
#include "shell/applicationdirectory.h"
#include "shell/briskdiscovery.h"
#include "shell/briskdiscoverydialog.h"
#include "shell/closerequestwatch.h"
#include "shell/configuration.h"
#include "shell/connectdevicedialog.h"
#include "shell/logfile.h"
#include "shell/managedevicesdialog.h"
#include "shell/managedevicesview.h"
#include "shell/messagehandler.h"
#include "shell/quorix.h"
#include "shell/quorixdialog.h"
#include "tests/support/fakequorix.h"
#include "widgets/qvantelbutton.h"
#include "widgets/qvantelevent.h"
#include "widgets/qvantelmenuwidget.h"
#include "widgets/qvantelmessage.h"
#include "widgets/qvantelvirtual.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QNetworkDatagram>
#include <QPointer>
#include <QPushButton>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTimer>
#include <QUdpSocket>
#include <QtTest/qtestspontaneevent.h>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#include <xcb/xcb.h>
#endif

namespace {

const QString kHost = QStringLiteral("127.0.0.1");

// Counts the key events the front panel receives.
class KeyRecorder : public QObject
{
public:
    QList<QPair<QEvent::Type, int>> keys;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
            const auto *key = static_cast<QKeyEvent *>(event);
            if (key->modifiers() == Qt::NoModifier && key->text().isEmpty() && key->count() == 1
                && !key->isAutoRepeat())
                keys.append({event->type(), key->key()});
        }
        return false;
    }
};

#ifdef Q_OS_UNIX
// What the program writes to stderr while it lives.
class StderrCapture
{
public:
    StderrCapture()
    {
        if (!m_file.open())
            return;
        std::fflush(stderr);
        m_saved = ::dup(STDERR_FILENO);
        if (m_saved >= 0)
            ::dup2(m_file.handle(), STDERR_FILENO);
    }
    ~StderrCapture() { restore(); }
    StderrCapture(const StderrCapture &) = delete;
    StderrCapture &operator=(const StderrCapture &) = delete;

    QByteArray text()
    {
        restore();
        m_file.seek(0);
        return m_file.readAll();
    }

private:
    void restore()
    {
        if (m_saved < 0)
            return;
        std::fflush(stderr);
        ::dup2(m_saved, STDERR_FILENO);
        ::close(m_saved);
        m_saved = -1;
    }

    QTemporaryFile m_file;
    int m_saved = -1;
};
#endif

quint16 freeUdpPort()
{
    QUdpSocket probe;
    if (!probe.bind(QHostAddress::AnyIPv4, 0))
        return 0;
    return probe.localPort();
}

} // namespace

class TestQuorix : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FakeQuorix> m_fake;
    std::unique_ptr<Quorix> m_window;
    int m_baseDatagramPort = 0;

    QString configFile() const { return m_dir->filePath(QStringLiteral("Tallydesk.xml")); }

    Configuration stored() const
    {
        Configuration c(configFile());
        c.readConfiguration();
        return c;
    }

    void writeConfig(const std::function<void(Configuration &)> &edit)
    {
        Configuration c(configFile());
        if (QFile::exists(configFile()))
            c.readConfiguration();
        edit(c);
        QVERIFY(c.writeConfiguration());
    }

    void addKnown(const QString &address, int port, const QString &name, bool tcp)
    {
        writeConfig([&](Configuration &c) {
            KnownDevice d;
            d.address = QHostAddress(address);
            d.port = port;
            d.name = name;
            d.audioLevels = tcp;
            c.knownDevices.insert(address, d);
        });
    }

    Quorix *openWindow()
    {
        m_window = std::make_unique<Quorix>();
        m_window->show();
        if (!QTest::qWaitForWindowExposed(m_window.get()))
            return nullptr;
        return m_window.get();
    }

    template<typename T>
    T *child(const char *name) const
    {
        return m_window->findChild<T *>(QString::fromLatin1(name));
    }
    QLabel *statusLabel() const { return child<QLabel>("statusLabel"); }
    QWidget *buttonBar() const { return child<QWidget>("buttonBar"); }
    QLabel *infoLabel() const { return child<QLabel>("infoLabel"); }
    QAction *action(const char *name) const { return child<QAction>(name); }
    QMenu *recentMenu() const { return child<QMenu>("recentMenu"); }

    bool menusIdle() const
    {
        return action("browseAction")->isEnabled() && action("manageAction")->isEnabled()
               && recentMenu()->menuAction()->isEnabled()
               && action("connectAction")->text() == QStringLiteral("&Connect...");
    }
    bool menusEngaged() const
    {
        return !action("browseAction")->isEnabled() && !action("manageAction")->isEnabled()
               && !recentMenu()->menuAction()->isEnabled()
               && action("connectAction")->text() == QStringLiteral("&Disconnect");
    }

    // An answer for the connect dialog: the fake's address and port, levels as chosen.
    DialogScript::Answer connectForm(bool tcp,
                                     QString *shownPort = nullptr,
                                     QString *shownUdpPort = nullptr,
                                     QString port = QString())
    {
        const quint16 fakePort = m_fake->port();
        return [=](QDialog &dialog) {
            auto *form = qobject_cast<ConnectDeviceDialog *>(&dialog);
            if (!form)
                return int(QDialog::Rejected);
            if (shownPort)
                *shownPort = form->portEdit()->text();
            if (shownUdpPort)
                *shownUdpPort = form->udpPortEdit()->text();
            if (form->addressEdit()->text().isEmpty())
                form->addressEdit()->setText(kHost);
            form->portEdit()->setText(port.isNull() ? QString::number(fakePort) : port);
            form->tcpCheckBox()->setChecked(tcp);
            return int(QDialog::Accepted);
        };
    }

    void connectThroughDialog(bool tcp)
    {
        DialogScript script;
        script.then(connectForm(tcp));
        action("connectAction")->trigger();
        QVERIFY(script.allUsed());
        QTRY_COMPARE(statusLabel()->text(), QStringLiteral("Connected to device <127.0.0.1>"));
    }

private slots:
    void initTestCase() { qRegisterMetaType<RpcConnection::ConnectionState>(); }

    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        setApplicationDirectory(m_dir->path());
        m_baseDatagramPort = freeUdpPort();
        QVERIFY(m_baseDatagramPort > 0);
        writeConfig([this](Configuration &c) { c.baseDatagramPort = m_baseDatagramPort; });

        m_fake = std::make_unique<FakeQuorix>();
        QVERIFY(m_fake->listen());
        comClient()->setTickInterval(100);
    }

    void cleanup()
    {
        m_window.reset();
        destroySharedObjects();
        m_fake.reset();
        setApplicationDirectory(QString());
        Quorix::setDiscoveryFactory({});
    }

    void firstStartWritesDefaultsAndOpensLog()
    {
        QFile::remove(configFile());
        // Logging runs through the program's handler for this test only.
        const QtMessageHandler previous = qInstallMessageHandler(messageHandler);
        setLogFileSource(mainWindowLogFile);
        auto restore = qScopeGuard([previous] {
            qInstallMessageHandler(previous);
            setLogFileSource(nullptr);
        });

        QVERIFY(!mainWindow);
        Quorix *window = openWindow();
        QVERIFY(window);
        QCOMPARE(mainWindow, window);
        // Written right after the first frame.
        QTRY_VERIFY(QFile::exists(configFile()));
        QCOMPARE(stored().defaultPort, 7001);
        QCOMPARE(window->windowTitle(),
                 QStringLiteral("My Quorix (LAN Edition) - Version 2.00.0.5197"));
        QCOMPARE(window->objectName(), QStringLiteral("TallydeskClass"));
        QCOMPARE(window->size(), QSize(800, 615));
        QCOMPARE(statusLabel()->text(), QStringLiteral("No active connection"));
        QCOMPARE(statusLabel()->palette().color(QPalette::WindowText), QColor(Qt::red));
        QVERIFY(menusIdle());
        QVERIFY(buttonBar()->isHidden());
        QCOMPARE(frontPanelReceiver.data(), static_cast<QObject *>(window->frontPanel()));

        LogFile *log = window->logFile();
        QVERIFY(log && log->isOpen());
        QCOMPARE(QFileInfo(log->directory()).absoluteFilePath(),
                 QFileInfo(m_dir->filePath(QStringLiteral("logs"))).absoluteFilePath());
        QCOMPARE(log->maxSize(), qint64(512) * 1024);
        QCOMPARE(log->maxFiles(), 25);

        logWarning(QStringLiteral("a line for the log"));
        const QString fileName = log->currentFileName();
        m_window.reset();
        QVERIFY(!mainWindow);
        logWarning(QStringLiteral("after the window"));

        QFile file(fileName);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray content = file.readAll();
        QVERIFY(content.contains(" info  \"a line for the log\" \n"));
        QVERIFY(!content.contains("after the window"));
    }

    void existingConfigurationIsReadAndLogLimitIn64Bits()
    {
        writeConfig([](Configuration &c) {
            c.defaultPort = 7100;
            c.logMaxSize = 4194304; // KB: 4 GiB, beyond 32 bits in bytes
            c.logMaxFiles = 3;
        });
        const QByteArray before = [&] {
            QFile f(configFile());
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }();
        Quorix *window = openWindow();
        QVERIFY(window);
        QCOMPARE(window->configuration().defaultPort, 7100);
        QCOMPARE(window->logFile()->maxSize(), qint64(4194304) * 1024);
        QCOMPARE(window->logFile()->maxFiles(), 3);
        QFile f(configFile());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), before);
    }

    void tinyLogSizeHasAFloor()
    {
        writeConfig([](Configuration &c) { c.logMaxSize = 1; });
        Quorix *window = openWindow();
        QVERIFY(window);
        QCOMPARE(window->logFile()->maxSize(), qint64(64) * 1024);
    }

#ifdef Q_OS_UNIX
    // A FIFO where the configuration belongs would block the start for ever.
    void configurationThatIsAFifoCountsAsMissing()
    {
        QVERIFY(QFile::remove(configFile()));
        QCOMPARE(::mkfifo(QFile::encodeName(configFile()).constData(), 0600), 0);
        Quorix *window = openWindow();
        QVERIFY(window);
        QTRY_VERIFY(QFileInfo(configFile()).isFile());
        QCOMPARE(stored().defaultPort, 7001);
    }
#endif

    void windowGoneBeforeItsFirstFrameWritesDefaults()
    {
        if (QFile::exists(configFile()))
            QVERIFY(QFile::remove(configFile()));
        auto window = std::make_unique<Quorix>();
        // Nothing is written before the first frame...
        QVERIFY(!QFile::exists(configFile()));
        window.reset();
        // ...but a window that never showed one still leaves the defaults behind.
        QVERIFY(QFile::exists(configFile()));
        QCOMPARE(stored().defaultPort, 7001);
    }

    void unusableLogDirectoryStillStarts()
    {
        // A plain file where the log directory belongs.
        QFile blocker(m_dir->filePath(QStringLiteral("logs")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        Quorix *window = openWindow();
        QVERIFY(window);
        QCOMPARE(mainWindow, window);
        QVERIFY(!window->logFile()->isOpen());
        QVERIFY(QFile::exists(configFile()));
        QVERIFY(menusIdle());
    }

    void connectThroughDialogWithUdpLevels()
    {
        QVERIFY(openWindow());
        DialogScript script;
        QString shownPort, shownUdpPort;
        script.then(connectForm(false, &shownPort, &shownUdpPort));
        action("connectAction")->trigger();
        QVERIFY(script.allUsed());
        QCOMPARE(shownPort, QStringLiteral("7001"));
        QCOMPARE(shownUdpPort, QString::number(m_baseDatagramPort));

        // At once: engaged, connecting; the recent device is on file.
        QVERIFY(menusEngaged());
        QVERIFY(comClient()->isEngaged());
        QCOMPARE(comClient()->datagramPort(), quint16(m_baseDatagramPort));
        QTRY_COMPARE(statusLabel()->text(), QStringLiteral("Connected to device <127.0.0.1>"));
        QCOMPARE(statusLabel()->palette().color(QPalette::WindowText), QColor(Qt::white));
        QVERIFY(m_fake->waitForConnection());

        const Configuration file = stored();
        QCOMPARE(file.recentDevices.size(), 1);
        QCOMPARE(file.recentDevices.first().address, QHostAddress(kHost));
        QCOMPARE(file.recentDevices.first().port, int(m_fake->port()));
        QCOMPARE(file.recentDevices.first().datagramPort, m_baseDatagramPort);

        // The next dialog offers the next free datagram port.
        DialogScript again;
        again.thenButton(QMessageBox::Yes);
        action("connectAction")->trigger();
        QString nextUdpPort;
        again.then(connectForm(false, nullptr, &nextUdpPort));
        action("connectAction")->trigger();
        QCOMPARE(nextUdpPort, QString::number(m_baseDatagramPort + 1));
    }

    void tcpLevelsUpdateTheKnownDevice()
    {
        addKnown(kHost, 7001, QStringLiteral("Studio"), false);
        QVERIFY(openWindow());
        connectThroughDialog(true);
        QCOMPARE(comClient()->datagramPort(), quint16(1));
        QVERIFY(!comClient()->hasDatagramSocket());

        const Configuration file = stored();
        QCOMPARE(file.recentDevices.first().datagramPort, 1);
        const KnownDevice known = file.knownDevices.value(kHost);
        QCOMPARE(known.port, int(m_fake->port()));
        QVERIFY(known.audioLevels);
        QCOMPARE(known.name, QStringLiteral("Studio"));
    }

    void refusedConnectSaysWhyAndChangesNothing_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("udpPort");
        QTest::addColumn<QString>("shown"); // %1: the demo unit's port
        QTest::newRow("not an address")
            << "unit.local"
            << ""
            << ""
            << "Not connected to device <unit.local:%1>: not an IPv4 address";
        QTest::newRow("port 0") << kHost << "0"
                                << ""
                                << "Not connected to device <127.0.0.1:0>: TCP port 0 is outside "
                                   "1 to 65535";
        QTest::newRow("port text") << kHost << "70a"
                                   << ""
                                   << "Not connected to device <127.0.0.1:0>: TCP port 0 is "
                                      "outside 1 to 65535";
        QTest::newRow("port beyond 16 bits")
            << kHost << "70001"
            << ""
            << "Not connected to device <127.0.0.1:70001>: TCP port 70001 is outside 1 to 65535";
        QTest::newRow("datagram port beyond 16 bits")
            << kHost << ""
            << "65536"
            << "Not connected to device <127.0.0.1:%1>: UDP port 65536 is outside 1 to 65535";
    }

    void refusedConnectSaysWhyAndChangesNothing()
    {
        QFETCH(QString, address);
        QFETCH(QString, port);
        QFETCH(QString, udpPort);
        QFETCH(QString, shown);
        QVERIFY(openWindow());
        DialogScript script;
        const quint16 fakePort = m_fake->port();
        script.then([&](QDialog &dialog) {
            auto *form = qobject_cast<ConnectDeviceDialog *>(&dialog);
            form->addressEdit()->setText(address);
            form->portEdit()->setText(port.isEmpty() ? QString::number(fakePort) : port);
            if (!udpPort.isEmpty())
                form->udpPortEdit()->setText(udpPort);
            return int(QDialog::Accepted);
        });
        action("connectAction")->trigger();
        QVERIFY(script.allUsed());
        QVERIFY(!comClient()->isEngaged());
        QCOMPARE(statusLabel()->text(), shown.arg(fakePort));
        QCOMPARE(statusLabel()->palette().color(QPalette::WindowText), QColor(Qt::red));
        QVERIFY(menusIdle());
        QVERIFY(stored().recentDevices.isEmpty());
        QCOMPARE(m_fake->clientCount(), 0);
    }

    // With the recent devices on the top ports the search for a free datagram port wraps: the
    // dialog offers a port a socket can have, and the connection is made with it.
    void datagramPortWrapsBelowTheTop()
    {
        writeConfig([](Configuration &c) {
            c.baseDatagramPort = 65534;
            for (int port = 65534; port <= 65535; ++port) {
                RecentDevice d;
                d.address = QHostAddress(QStringLiteral("10.0.0.%1").arg(port - 65530));
                d.port = 7001;
                d.datagramPort = port;
                c.addRecentDevice(d);
            }
        });
        QVERIFY(openWindow());
        DialogScript script;
        QString shownUdpPort;
        script.then(connectForm(false, nullptr, &shownUdpPort));
        action("connectAction")->trigger();
        QVERIFY(script.allUsed());
        QCOMPARE(shownUdpPort, QStringLiteral("1024"));
        QVERIFY(comClient()->isEngaged());
        QCOMPARE(comClient()->datagramPort(), quint16(1024));
        QCOMPARE(stored().recentDevices.first().datagramPort, 1024);
    }

    // Tallydesk.xml that the program may write but not read: the operator is told once, the
    // file keeps its six devices, and the session's connections are remembered in memory.
    void unreadableConfigurationIsSaidOnceAndNotWrittenOver()
    {
#ifndef Q_OS_UNIX
        QSKIP("File modes cannot make a file unreadable here.");
#else
        writeConfig([](Configuration &c) {
            for (int i = 1; i <= 3; ++i) {
                KnownDevice known;
                known.address = QHostAddress(QStringLiteral("10.0.0.%1").arg(i));
                known.port = 7001;
                known.name = QStringLiteral("Studio %1").arg(i);
                c.knownDevices.insert(known.address.toString(), known);
                RecentDevice recent;
                recent.address = QHostAddress(QStringLiteral("10.0.1.%1").arg(i));
                recent.port = 7001;
                recent.datagramPort = 1;
                c.addRecentDevice(recent);
            }
        });
        QFile file(configFile());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray before = file.readAll();
        file.close();
        const auto readable = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
        auto restore = qScopeGuard([&] { QFile::setPermissions(configFile(), readable); });
        QVERIFY(QFile::setPermissions(configFile(), QFileDevice::WriteOwner));

        {
            FileModesApply modes;
            if (!modes.applies() || QFile(configFile()).open(QIODevice::ReadOnly))
                QSKIP("This process reads a file of mode 0200: it cannot be made unreadable.");
            Quorix *window = openWindow();
            QVERIFY(window);
            QStatusBar *status = window->statusBar();
            const QString notice = status->currentMessage();
            QVERIFY2(notice.startsWith(QStringLiteral("Cannot read Tallydesk.xml (")),
                     qPrintable(notice));
            QVERIFY2(notice.endsWith(QStringLiteral("): changes are not saved")),
                     qPrintable(notice));
            // Opening a menu does not wipe it.
            QTest::mouseClick(
                window->menuBar(),
                Qt::LeftButton,
                {},
                window->menuBar()->actionGeometry(recentMenu()->menuAction()).center());
            QTRY_VERIFY(recentMenu()->isVisible());
            recentMenu()->hide();
            QCOMPARE(status->currentMessage(), notice);

            QSignalSpy messages(status, &QStatusBar::messageChanged);
            connectThroughDialog(true);
            QMetaObject::invokeMethod(m_window.get(), "updateRecent");
            QCOMPARE(recentMenu()->actions().value(0)->text(), kHost);
            QCOMPARE(messages.count(), 0);
            m_window.reset();
        }
        QVERIFY(QFile::setPermissions(configFile(), readable));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
        QVERIFY(!QFile::exists(configFile() + QStringLiteral(".bad")));
#endif
    }

#ifdef Q_OS_UNIX
    // Neither the log directory nor Tallydesk.xml (a directory in its place) can be written:
    // each is said once in the status bar, one after the other, and on stderr, since no log
    // keeps them.
    void unwritableFilesAreSaidOnce()
    {
        QVERIFY(QFile::remove(configFile()));
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("Tallydesk.xml")));
        QFile blocker(m_dir->filePath(QStringLiteral("logs")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const QString logNotice
            = QStringLiteral("Cannot write log files in %1")
                  .arg(QDir::toNativeSeparators(m_dir->filePath(QStringLiteral("logs"))));

        StderrCapture errors;
        Quorix *window = openWindow();
        QVERIFY(window);
        QStatusBar *status = window->statusBar();
        QCOMPARE(status->currentMessage(), logNotice);
        // The defaults meet the directory after the first frame; that notice waits its turn.
        QTest::qWait(50);
        QCOMPARE(status->currentMessage(), logNotice);
        status->clearMessage();
        const QString saveNotice = status->currentMessage();
        QVERIFY2(saveNotice.startsWith(QStringLiteral("Cannot save Tallydesk.xml (")),
                 qPrintable(saveNotice));

        // Every connection fails to save again; it is not said again.
        connectThroughDialog(true);
        status->clearMessage();
        QCOMPARE(status->currentMessage(), QString());
        m_window.reset();
        const QByteArray said = errors.text();
        QCOMPARE(said,
                 "Tallydesk: " + logNotice.toLocal8Bit()
                     + "\nTallydesk: " + saveNotice.toLocal8Bit() + "\n");
    }
#endif

    void disconnectAsksFirst()
    {
        QVERIFY(openWindow());
        connectThroughDialog(true);
        QVERIFY(m_fake->waitForConnection());

        DialogScript script;
        script.thenButton(QMessageBox::Cancel);
        script.thenButton(QMessageBox::Yes);
        action("connectAction")->trigger();
        QVERIFY(comClient()->isEngaged());
        QVERIFY(menusEngaged());

        QMetaObject::invokeMethod(m_window.get(), "loginClicked", Q_ARG(QString, QString()));
        QVERIFY(!buttonBar()->isHidden());
        action("connectAction")->trigger();
        QCOMPARE(script.titles(), QStringList({"Disconnect", "Disconnect"}));
        QCOMPARE(script.texts().value(0), QStringLiteral("Are you sure to disconnect?"));
        QVERIFY(!comClient()->isEngaged());
        QCOMPARE(statusLabel()->text(), QStringLiteral("No active connection"));
        QCOMPARE(statusLabel()->palette().color(QPalette::WindowText), QColor(Qt::red));
        QVERIFY(menusIdle());
        QVERIFY(buttonBar()->isHidden());
        QCOMPARE(m_window->frontPanel()->currentPage(), int(QVantel::LoginPage));
        QVERIFY(m_fake->waitForDisconnection());
    }

    void loginNamesTheKnownDevice_data()
    {
        QTest::addColumn<QString>("knownName");
        QTest::addColumn<QString>("deviceName");
        QTest::addColumn<QString>("storedName");
        QTest::newRow("unnamed known device takes the name") << ""
                                                             << "Studio 4"
                                                             << "Studio 4";
        QTest::newRow("a known name stays") << "Mine"
                                            << "Studio 4"
                                            << "Mine";
        QTest::newRow("empty name: no label") << ""
                                              << ""
                                              << "";
        QTest::newRow("markup shown as text") << ""
                                              << "<b>A&B</b>"
                                              << "<b>A&B</b>";
    }

    void loginNamesTheKnownDevice()
    {
        QFETCH(QString, knownName);
        QFETCH(QString, deviceName);
        QFETCH(QString, storedName);
        addKnown(kHost, 7001, knownName, true);
        QVERIFY(openWindow());
        connectThroughDialog(true);

        QMetaObject::invokeMethod(m_window.get(), "loginClicked", Q_ARG(QString, deviceName));
        QVERIFY(!buttonBar()->isHidden());
        QCOMPARE(infoLabel()->isHidden(), deviceName.isEmpty());
        QCOMPARE(stored().knownDevices.value(kHost).name, storedName);
        if (!deviceName.isEmpty()) {
            QTextDocument shown;
            shown.setHtml(infoLabel()->text());
            QCOMPARE(shown.toPlainText(), deviceName);
        }
    }

    void linkLostWhileLoggedIn()
    {
        QVERIFY(openWindow());
        connectThroughDialog(true);
        QVERIFY(m_fake->waitForConnection());
        QMetaObject::invokeMethod(m_window.get(), "loginClicked", Q_ARG(QString, QString("X")));
        QVERIFY(!buttonBar()->isHidden());

        // The unit goes away for good: the client keeps trying, the window shows the loss.
        // What the window shows right after it has handled the first state change (the window's
        // own connection was made first, so it runs first).
        QString textAtLoss;
        bool barHiddenAtLoss = true;
        int changes = 0;
        connect(comClient(), &ksm::CCom::stateChanged, m_window.get(), [&] {
            if (changes++ == 0) {
                textAtLoss = statusLabel()->text();
                barHiddenAtLoss = buttonBar()->isHidden();
            }
        });
        m_fake->close();
        m_fake->dropClient();
        QTRY_VERIFY(changes > 0);
        const QString where
            = QStringLiteral("Not connected to device <127.0.0.1:%1>").arg(comClient()->tcpPort());
        QVERIFY2(textAtLoss.startsWith(where), qPrintable(textAtLoss));
        // The retries find nobody listening, and say so.
        QTRY_COMPARE(statusLabel()->text(), where + QStringLiteral(": connection refused"));
        QCOMPARE(statusLabel()->palette().color(QPalette::WindowText), QColor(Qt::red));
        QVERIFY(!barHiddenAtLoss); // hidden a moment later, not inside the signal
        QTRY_VERIFY(buttonBar()->isHidden());
        QCOMPARE(m_window->frontPanel()->currentPage(), int(QVantel::LoginPage));
        QVERIFY(menusEngaged());
        QVERIFY(comClient()->isEngaged());
    }

    void failedConnectNamesAddressPortAndReason()
    {
        // Nobody listens on the fake's port once it is closed.
        const quint16 port = m_fake->port();
        m_fake->close();
        QVERIFY(openWindow());
        DialogScript script;
        script.then(connectForm(true, nullptr, nullptr, QString::number(port)));
        action("connectAction")->trigger();
        QVERIFY(script.allUsed());
        QTRY_COMPARE(
            statusLabel()->text(),
            QStringLiteral("Not connected to device <127.0.0.1:%1>: connection refused").arg(port));
        QCOMPARE(statusLabel()->palette().color(QPalette::WindowText), QColor(Qt::red));
        QVERIFY(menusEngaged());
    }

    void recentMenuListsAndConnects()
    {
        QVERIFY(openWindow());
        QMetaObject::invokeMethod(m_window.get(), "updateRecent");
        QList<QAction *> entries = recentMenu()->actions();
        QCOMPARE(entries.size(), 1);
        QCOMPARE(entries.first()->text(), QStringLiteral("List is empty"));
        QVERIFY(!entries.first()->isEnabled());

        writeConfig([this](Configuration &c) {
            RecentDevice other;
            other.address = QHostAddress(QStringLiteral("127.0.0.2"));
            other.port = 7001;
            other.datagramPort = 1;
            c.addRecentDevice(other);
            RecentDevice fake;
            fake.address = QHostAddress(kHost);
            fake.port = m_fake->port();
            fake.datagramPort = 1;
            c.addRecentDevice(fake);
        });
        // A device's name is shown as it is: an "&" is no mnemonic marker.
        addKnown(kHost, 7001, QStringLiteral("Studio \u00dc & Co"), false);
        addKnown(QStringLiteral("127.0.0.2"), 7001, QString(), false);

        QMetaObject::invokeMethod(m_window.get(), "updateRecent");
        entries = recentMenu()->actions();
        QStringList shown;
        for (const QAction *a : entries)
            shown << a->iconText();
        QCOMPARE(shown, QStringList({"127.0.0.1 - Studio \u00dc & Co", "127.0.0.2"}));
        QCOMPARE(entries.first()->text(), QStringLiteral("127.0.0.1 - Studio \u00dc && Co"));

        entries.first()->trigger();
        QVERIFY(comClient()->isEngaged());
        QCOMPARE(comClient()->tcpPort(), m_fake->port());
        QCOMPARE(comClient()->datagramPort(), quint16(1));
        QTRY_COMPARE(statusLabel()->text(), QStringLiteral("Connected to device <127.0.0.1>"));
        // While engaged a recent entry does nothing.
        entries.last()->trigger();
        QCOMPARE(comClient()->host(), kHost);
    }

    void manageDevicesConnectsToTheChosenDevice()
    {
        addKnown(kHost, m_fake->port(), QStringLiteral("Studio"), true);
        QVERIFY(openWindow());
        DialogScript script;
        script.then([](QDialog &dialog) {
            auto *manage = qobject_cast<ManageDevicesDialog *>(&dialog);
            const QModelIndex row = manage->view()->deviceModel()->index(0, 0);
            manage->view()->setCurrentIndex(row);
            emit manage->view()->clicked(row);
            manage->connectButton()->click();
            return manage->result();
        });
        action("manageAction")->trigger();
        QVERIFY(script.allUsed());
        QVERIFY(comClient()->isEngaged());
        QCOMPARE(comClient()->tcpPort(), m_fake->port());
        QCOMPARE(comClient()->datagramPort(), quint16(1));
        QTRY_COMPARE(statusLabel()->text(), QStringLiteral("Connected to device <127.0.0.1>"));

        // While engaged the dialog does not open.
        action("manageAction")->trigger();
        QCOMPARE(script.titles().size(), 1);
    }

    void browseConnectsFromLoopbackDiscovery()
    {
        QUdpSocket responder;
        QVERIFY(responder.bind(QHostAddress(kHost), 0));
        const quint16 responderPort = responder.localPort();
        Quorix::setDiscoveryFactory([responderPort](QObject *parent) {
            auto *discovery = new BriskDiscovery(0, parent);
            discovery->setRequestTarget(QHostAddress(kHost), responderPort);
            return discovery;
        });
        auto answer = [&responder] {
            if (!QTest::qWaitFor([&] { return responder.hasPendingDatagrams(); }, 5000))
                return false;
            const QNetworkDatagram request = responder.receiveDatagram();
            responder.writeDatagram(QByteArray("TolvDiscoveryResponse;device:vantel;serialno:1"),
                                    request.senderAddress(),
                                    quint16(request.senderPort()));
            return true;
        };
        auto pickFirst = [&answer](QDialog &dialog) {
            auto *browse = qobject_cast<BriskDiscoveryDialog *>(&dialog);
            if (!browse || !answer())
                return int(QDialog::Rejected);
            if (!QTest::qWaitFor([&] { return !browse->discovery()->devices().isEmpty(); }))
                return int(QDialog::Rejected);
            browse->selectDevice(browse->discovery()->devices().first());
            return browse->result();
        };

        QVERIFY(openWindow());
        // Unknown: the connect dialog opens with the address filled in.
        DialogScript script;
        QString prefilled;
        script.then(pickFirst);
        script.then([&](QDialog &dialog) {
            prefilled = qobject_cast<ConnectDeviceDialog *>(&dialog)->addressEdit()->text();
            return connectForm(true)(dialog);
        });
        action("browseAction")->trigger();
        QVERIFY(script.allUsed());
        QCOMPARE(prefilled, kHost);
        QVERIFY(comClient()->isEngaged());
        QTRY_COMPARE(statusLabel()->text(), QStringLiteral("Connected to device <127.0.0.1>"));

        // Known: connects at once with its own port and levels.
        script.thenButton(QMessageBox::Yes);
        action("connectAction")->trigger();
        QVERIFY(!comClient()->isEngaged());
        addKnown(kHost, m_fake->port(), QStringLiteral("Studio"), false);
        script.then(pickFirst);
        action("browseAction")->trigger();
        QVERIFY(script.allUsed());
        QCOMPARE(script.unexpected(), 0);
        QVERIFY(comClient()->isEngaged());
        QCOMPARE(comClient()->datagramPort(), quint16(m_baseDatagramPort));
    }

    void closeAsksToExit()
    {
        Quorix *window = openWindow();
        QVERIFY(window);
        DialogScript script;
        script.thenButton(QMessageBox::Cancel);
        script.thenButton(QMessageBox::Yes);
        QVERIFY(!window->close());
        QVERIFY(window->isVisible());
        QVERIFY(window->close());
        QVERIFY(!window->isVisible());
        QCOMPARE(script.titles(), QStringList({"Exit application", "Exit application"}));
        QCOMPARE(script.texts().value(0), QStringLiteral("Are you sure to exit?"));
    }

    // The window is closed while a task reads a slow unit call after call: the question comes
    // between two of its calls, and once it is answered the rest of the task ends at once.
    void closeDuringARunOfReadsEndsIt()
    {
        Quorix *window = openWindow();
        QVERIFY(window);
        connectThroughDialog(true);
        QVERIFY(m_fake->waitForConnection());
        QTRY_COMPARE(comClient()->state(), RpcConnection::Connected);
        m_fake->setValue(
            QStringLiteral("device"), QStringLiteral("vantel"), QStringLiteral("general"));
        m_fake->setReplyDelay(200);
        DialogScript script;
        script.thenButton(QMessageBox::Yes);
        QList<int> results;
        for (int read = 0; read < 10; ++read) {
            if (read == 0) {
                // The operator closes the window while the first read waits.
                QTimer::singleShot(50, window, [window] {
                    QCloseEvent close;
                    QSpontaneKeyEvent::setSpontaneous(&close);
                    QCoreApplication::instance()->notify(window->windowHandle(), &close);
                });
            }
            ksm::CMsg request(ksm::CMsg::Param);
            request.setParam("target", "general");
            request.addGet("device");
            ksm::CMsg reply;
            results << comClient()->sendSyncMsg(request, reply, 0, 5000);
        }
        QCOMPARE(script.texts(), QStringList{QStringLiteral("Are you sure to exit?")});
        QVERIFY(!window->isVisible());
        // The first read was answered; the second, asked for after the question, was not sent.
        QCOMPARE(results.value(0), 0);
        QCOMPARE(results.mid(1), QList<int>(9, -3));
        QCOMPARE(m_fake->requests().size(), 1);
    }

    // The window manager's Close while a popup of the panel (a notice) stands: Qt drops it, as
    // the window is blocked, so it is kept and asks once the notice is gone. A Close made again
    // meanwhile stands for it: the question comes once.
    void closeWhileANoticeStandsAsksWhenItIsGone_data()
    {
        QTest::addColumn<bool>("closedAgain");
        QTest::newRow("notice closed") << false;
        QTest::newRow("notice closed, Close made again") << true;
    }

    void closeWhileANoticeStandsAsksWhenItIsGone()
    {
        QFETCH(bool, closedAgain);
        Quorix *window = openWindow();
        QVERIFY(window);
        CloseRequestWatch *watch = window->closeRequestWatch();
        QVERIFY(watch);
        DialogScript script;
        script.thenButton(QMessageBox::Cancel);
        script.thenButton(QMessageBox::Cancel);

        // Nothing blocks the window: Qt delivers the Close itself, nothing is kept.
        watch->noteCloseRequest();
        QVERIFY(!watch->isPending());
        window->frontPanel()->showMessagePopup(QStringLiteral("Wrong password!"), 0);
        QPointer<QVantelMessage> notice = window->frontPanel()->messagePopup();
        QVERIFY(notice);
        QVERIFY(QGuiApplication::modalWindow());
        watch->noteCloseRequest();
        QVERIFY(watch->isPending());
        QTest::qWait(300);
        QVERIFY(script.texts().isEmpty());
        QVERIFY(notice);

        notice->close();
        if (closedAgain) {
            QVERIFY(!QGuiApplication::modalWindow());
            QCloseEvent close;
            QSpontaneKeyEvent::setSpontaneous(&close);
            QCoreApplication::instance()->notify(window->windowHandle(), &close);
        }
        QTRY_COMPARE(script.texts(), QStringList{QStringLiteral("Are you sure to exit?")});
        QVERIFY(!watch->isPending());
        QTest::qWait(300);
        QCOMPARE(script.texts().size(), 1);
        QVERIFY(window->isVisible());
        // A dialog of the window's own (the question whether to exit) is the answer to a Close
        // made while it is open: nothing is kept to ask again after it.
        {
            QMessageBox question(QMessageBox::Question,
                                 QStringLiteral("Exit application"),
                                 QStringLiteral("Are you sure to exit?"),
                                 QMessageBox::Yes | QMessageBox::Cancel,
                                 window);
            question.setWindowModality(Qt::ApplicationModal);
            question.show();
            QVERIFY(QGuiApplication::modalWindow());
            watch->noteCloseRequest();
            QVERIFY(!watch->isPending());
        }
    }

    // The X11 message a window manager sends to close a window.
    void closeRequestIsRecognised()
    {
        const quint32 window = 0x200006;
        const quint32 protocols = 301;
        const quint32 deleteWindow = 302;
        const auto message = [&](quint8 type, quint32 to, quint32 kind, quint32 first) {
            xcb_client_message_event_t event{};
            event.response_type = type;
            event.format = 32;
            event.window = to;
            event.type = kind;
            event.data.data32[0] = first;
            return event;
        };
        const auto recognised = [&](const xcb_client_message_event_t &event) {
            return CloseRequestWatch::isDeleteRequest(&event, window, protocols, deleteWindow);
        };
        QVERIFY(recognised(message(XCB_CLIENT_MESSAGE, window, protocols, deleteWindow)));
        // Sent by another client (the window manager), as it always is.
        QVERIFY(recognised(message(XCB_CLIENT_MESSAGE | 0x80, window, protocols, deleteWindow)));
        QVERIFY(!recognised(message(XCB_CLIENT_MESSAGE, window + 1, protocols, deleteWindow)));
        QVERIFY(!recognised(message(XCB_CLIENT_MESSAGE, window, protocols, 303)));
        QVERIFY(!recognised(message(XCB_CLIENT_MESSAGE, window, 303, deleteWindow)));
        QVERIFY(!recognised(message(XCB_KEY_PRESS, window, protocols, deleteWindow)));
        QVERIFY(!CloseRequestWatch::isDeleteRequest(nullptr, window, protocols, deleteWindow));
    }

    void aboutBox()
    {
        QVERIFY(openWindow());
        DialogScript script;
        QString title, line;
        script.then([&](QDialog &dialog) {
            title = dialog.windowTitle();
            line = dialog.findChild<QLabel *>(QStringLiteral("titleLabel"))->text();
            return int(QDialog::Accepted);
        });
        action("aboutAction")->trigger();
        QCOMPARE(title, QStringLiteral("About My Quorix (LAN Edition)"));
        QCOMPARE(line, QStringLiteral("My Quorix (LAN Edition) - Version 2.00.0.5197"));
    }

    void busyCoversTheStatus()
    {
        QVERIFY(openWindow());
        QStatusBar *status = m_window->statusBar();
        const QImage idle = status->grab().toImage();
        emit comClient()->busyStateChanged(true);
        QCOMPARE(status->palette().color(QPalette::Window), QColor(Qt::red));
        const QImage busy = status->grab().toImage();
        emit comClient()->busyStateChanged(false);
        QCOMPARE(status->palette().color(QPalette::Window), QColor(Qt::black));
        QCOMPARE(status->grab().toImage(), idle);

        // Busy looks exactly like the bar showing "BUSY" as its own message on red, with the
        // connection state hidden under it.
        QPalette red = status->palette();
        red.setColor(QPalette::Window, Qt::red);
        status->setPalette(red);
        status->showMessage(QStringLiteral("BUSY"));
        QCOMPARE(busy, status->grab().toImage());
        QVERIFY(busy != idle);
    }

    void busySwitchLaysNothingOut()
    {
        QVERIFY(openWindow());
        QTRY_VERIFY(statusLabel()->isVisible());
        QStatusBar *status = m_window->statusBar();
        const QRect label = statusLabel()->geometry();
        QSignalSpy messages(status, &QStatusBar::messageChanged);
        emit comClient()->busyStateChanged(true);
        QVERIFY(statusLabel()->isVisible());
        emit comClient()->busyStateChanged(false);
        QCOMPARE(messages.count(), 0);
        QCOMPARE(statusLabel()->geometry(), label);
        // Growing the bar keeps the cover over all of it.
        status->resize(status->width(), status->height() + 10);
        auto *cover = status->findChild<QWidget *>(QStringLiteral("busyOverlay"));
        QVERIFY(cover);
        QCOMPARE(cover->geometry(), status->rect());
    }

    void barButtonsPostKeys()
    {
        QVERIFY(openWindow());
        KeyRecorder recorder;
        m_window->frontPanel()->installEventFilter(&recorder);
        QMetaObject::invokeMethod(m_window.get(), "loginClicked", Q_ARG(QString, QString()));
        QTest::mouseClick(child<QVantelButton>("headphoneButton"), Qt::LeftButton);
        QTest::mouseClick(child<QVantelButton>("phoneButton"), Qt::LeftButton);
        QVERIFY(recorder.keys.isEmpty()); // posted, not sent
        QTRY_COMPARE(recorder.keys.size(), 4);
        const QList<QPair<QEvent::Type, int>> expected{{QEvent::KeyPress, 0x101},
                                                       {QEvent::KeyRelease, 0x101},
                                                       {QEvent::KeyPress, 0x105},
                                                       {QEvent::KeyRelease, 0x105}};
        QCOMPARE(recorder.keys, expected);
    }

    void messageButtonSendsText()
    {
        QVERIFY(openWindow());
        connectThroughDialog(true);
        QMetaObject::invokeMethod(m_window.get(), "loginClicked", Q_ARG(QString, QString()));

        auto sendMessage = [this](const QString &text, bool ok) {
            QTest::mouseClick(child<QVantelButton>("messageButton"), Qt::LeftButton);
            auto *keyboard = child<QVantelVirtual>("messageKeyboard");
            QVERIFY(keyboard);
            QCOMPARE(keyboard->titleLabel()->text(), QStringLiteral("Enter Message"));
            QVERIFY(keyboard->isModal());
            keyboard->lineEdit()->setText(text);
            if (ok)
                QTest::mouseClick(keyboard->key(QVantelVirtual::kKeyCount - 1), Qt::LeftButton);
            else
                keyboard->close();
            QTRY_VERIFY(!child<QVantelVirtual>("messageKeyboard"));
        };
        auto isDisplay
            = [](const FakeRequest &r) { return r.isCommand(QStringLiteral("display")); };

        DialogScript script;
        m_fake->clearLog();
        sendMessage(QStringLiteral("Hello \u00e4"), true);
        FakeRequest sent;
        QVERIFY(m_fake->waitForRequest(isDisplay, 5000, &sent));
        QCOMPARE(sent.body, QByteArray("DO;action:display;message:Hello \xc3\xa4;"));
        QCOMPARE(script.titles(), QStringList());

        // Cancelled or empty: nothing is sent. A message sent afterwards is the first to arrive.
        m_fake->clearLog();
        sendMessage(QStringLiteral("not sent"), false);
        sendMessage(QString(), true);
        sendMessage(QStringLiteral("marker"), true);
        QVERIFY(m_fake->waitForRequest(isDisplay, 5000, &sent));
        QCOMPARE(sent.body, QByteArray("DO;action:display;message:marker;"));

        // Refused: the user is told.
        m_fake->refuseCommand(QStringLiteral("display"), QStringLiteral("200-unknown error"));
        script.thenButton(QMessageBox::Ok);
        sendMessage(QStringLiteral("refused"), true);
        QTRY_COMPARE(script.titles(), QStringList{QStringLiteral("Send message")});
        QCOMPARE(script.texts(), QStringList{QStringLiteral("Failed to send message!")});
    }

    void loginOnTheFrontPanelEndToEnd()
    {
        m_fake->setValue(
            QStringLiteral("device"), QStringLiteral("vantel"), QStringLiteral("general"));
        m_fake->setValue(
            QStringLiteral("version"), QStringLiteral("2.00.0"), QStringLiteral("general"));
        m_fake->setValue(
            QStringLiteral("builddate"), QStringLiteral("today"), QStringLiteral("general"));
        m_fake->setValue(QStringLiteral("tabname"),
                         QStringLiteral("Studio 4"),
                         QStringLiteral("db"),
                         QStringLiteral("web"));
        addKnown(kHost, 7001, QString(), false);

        Quorix *window = openWindow();
        QVERIFY(window);
        connectThroughDialog(true);
        QVantelLoginPage *login = window->frontPanel()->loginPage();
        QVERIFY(login);
        QTest::mouseClick(login->loginButton(), Qt::LeftButton);

        QTRY_VERIFY(!buttonBar()->isHidden());
        QVERIFY(!infoLabel()->isHidden());
        QCOMPARE(infoLabel()->text(), QStringLiteral("Studio 4"));
        QCOMPARE(stored().knownDevices.value(kHost).name, QStringLiteral("Studio 4"));
        // The front panel runs the session: its controller set-up repeats.
        QVERIFY(window->frontPanel()->setupTimer()->isActive());

        // The link drops: the bar goes and the session stops.
        m_fake->close();
        m_fake->dropClient();
        QTRY_VERIFY(buttonBar()->isHidden());
        QTRY_VERIFY(!window->frontPanel()->setupTimer()->isActive());
        QCOMPARE(window->frontPanel()->currentPage(), int(QVantel::LoginPage));
    }

    // A message of the settings menu closes with the menu when the session ends: it neither
    // stays over the login page nor takes the first tap there.
    void menuMessageEndsWithTheSession()
    {
        m_fake->setValue(
            QStringLiteral("device"), QStringLiteral("vantel"), QStringLiteral("general"));
        m_fake->setValue(
            QStringLiteral("version"), QStringLiteral("2.00.0"), QStringLiteral("general"));
        addKnown(kHost, 7001, QString(), false);
        Quorix *window = openWindow();
        QVERIFY(window);
        connectThroughDialog(true);
        QTest::mouseClick(window->frontPanel()->loginPage()->loginButton(), Qt::LeftButton);
        QTRY_VERIFY(!buttonBar()->isHidden());

        QVantelWindow *panel = window->frontPanel();
        panel->pageActivated(QVantel::SettingsNetwork);
        QCOMPARE(panel->currentPage(), int(QVantel::SettingsPage));
        QVantelMenuWidget *menu = panel->settingsPage();
        menu->showMessage(QStringLiteral("Cannot apply changes\n(a connection is established)"), 0);
        QPointer<QVantelMessage> message = menu->message();
        QVERIFY(message && message->isVisible());

        m_fake->dropClient();
        QTRY_COMPARE(panel->currentPage(), int(QVantel::LoginPage));
        QTRY_VERIFY(message.isNull());
        QCOMPARE(QWidget::mouseGrabber(), nullptr);
        // What the menu still had to say about the session that ended stays unsaid.
        menu->showMessage(QStringLiteral("Failed to apply changes!"), 0);
        QVERIFY(!menu->message());
    }
};

QTEST_MAIN(TestQuorix)
#include "tst_quorix.moc"
