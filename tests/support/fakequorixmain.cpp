// fake-quorix: serves the demo unit on 127.0.0.1 until killed, so that the program can be tried
// without a device. It answers what the program reads, keeps what it writes, plays calls through
// and sends moving level reports once the program subscribes to them.

#include "demounit.h"
#include "fakequorix.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("fake-quorix"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("A stand-in Quorix unit on 127.0.0.1 for trying the program."));
    parser.addHelpOption();
    const QCommandLineOption portOption(QStringLiteral("port"),
                                        QStringLiteral("TCP port to listen on (0: any free one)."),
                                        QStringLiteral("N"),
                                        QStringLiteral("0"));
    const QCommandLineOption quietOption(
        QStringLiteral("quiet"),
        QStringLiteral("Do not print the requests (nor the names the unit has no value for)."));
    parser.addOption(portOption);
    parser.addOption(quietOption);
    parser.process(app);

    QTextStream out(stdout);
    QTextStream err(stderr);
    bool ok = false;
    const uint port = parser.value(portOption).toUInt(&ok);
    if (!ok || port > 65535) {
        err << "fake-quorix: invalid port \"" << parser.value(portOption) << "\"\n";
        return 2;
    }

    FakeQuorix fake;
    installDemoUnit(fake);
    if (!fake.listen(quint16(port))) {
        err << "fake-quorix: cannot listen on 127.0.0.1:" << port << "\n";
        return 1;
    }
    out << "fake-quorix listening on 127.0.0.1:" << fake.port() << Qt::endl;

    const bool quiet = parser.isSet(quietOption);
    QObject::connect(
        &fake, &FakeQuorix::clientConnected, &app, [&] { out << "client connected" << Qt::endl; });
    QObject::connect(&fake, &FakeQuorix::clientDisconnected, &app, [&] {
        out << "client disconnected" << Qt::endl;
    });
    QObject::connect(&fake, &FakeQuorix::requestReceived, &app, [&](const FakeRequest &request) {
        if (quiet)
            return;
        out << request.id << ": " << QString::fromUtf8(request.body) << Qt::endl;
        // Names the store has no value for, so that a page's missing keys stand out (a handler
        // of the demo may still answer them, as the codec lists are).
        const QString target = request.target();
        const QString scope = target == QLatin1String("db")
                                  ? request.value(QStringLiteral("controller_id"))
                                  : request.network();
        for (const QString &name : request.gets() + request.lists()) {
            if (!fake.hasValue(name, target, scope))
                out << "  not set: " << target << "/" << scope << "/" << name << Qt::endl;
        }
    });
    QObject::connect(&fake, &FakeQuorix::framingError, &app, [&](const QString &text) {
        out << "framing error: " << text << Qt::endl;
    });

    return QCoreApplication::exec();
}
