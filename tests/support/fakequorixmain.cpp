// fake-quorix: serves the fake unit on 127.0.0.1 until killed, so that the program can be tried
// without a device. It answers the login reads, keeps what the program writes, and sends moving
// level reports once the program subscribes to them.

#include "demoaudio.h"
#include "demonetworks.h"
#include "fakematrixdemo.h"
#include "fakequorix.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>
#include <QTimer>

#include <cmath>

namespace {

void fillDemoValues(FakeQuorix &fake)
{
    const QString general = QStringLiteral("general");
    fake.setValue(QStringLiteral("device"), QStringLiteral("vantel"), general);
    fake.setValue(QStringLiteral("version"), QStringLiteral("2.00.0"), general);
    fake.setValue(QStringLiteral("builddate"), QStringLiteral("fake unit"), general);
    fake.setValue(QStringLiteral("serialno"), QStringLiteral("000000"), general);
    fake.setList(QStringLiteral("network"), {QStringLiteral("eth.0")}, QStringLiteral("network"));
    fake.setValue(
        QStringLiteral("default_network"), QStringLiteral("eth.0"), QStringLiteral("network"));
}

} // namespace

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
    const QCommandLineOption quietOption(QStringLiteral("quiet"),
                                         QStringLiteral("Do not print the requests."));
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
    fillDemoValues(fake);
    fillMatrixDemoValues(fake);
    fillAudioDemoValues(fake);
    fillNetworkDemo(fake);
    fake.setReplyHook(
        [&fake](const FakeRequest &request) { return answerNetworkDemo(fake, request); });
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
        if (!quiet)
            out << request.id << ": " << QString::fromUtf8(request.body) << Qt::endl;
    });
    QObject::connect(&fake, &FakeQuorix::framingError, &app, [&](const QString &text) {
        out << "framing error: " << text << Qt::endl;
    });

    // Level reports at the subscribed period (150 ms when none was given).
    QTimer levels;
    int tick = 0;
    levels.setInterval(150);
    QObject::connect(&levels, &QTimer::timeout, &app, [&] {
        if (fake.levelPort() == 0)
            return;
        if (fake.levelPeriod() > 0 && levels.interval() != fake.levelPeriod())
            levels.setInterval(fake.levelPeriod());
        ++tick;
        FakePairs pairs;
        const auto level = [&](int phase) {
            return QString::number(int(40 + 30 * std::sin((tick + phase) / 8.0)));
        };
        for (const char *key : {"txL", "txR", "rxL", "rxR", "ou1", "ou2"})
            pairs.append({QString::fromLatin1(key), level(int(pairs.size()) * 3)});
        for (int i = 1; i <= 11; ++i)
            pairs.append({QStringLiteral("in%1").arg(i), level(i * 5)});
        fake.sendLevels(pairs);
    });
    levels.start();

    return QCoreApplication::exec();
}
