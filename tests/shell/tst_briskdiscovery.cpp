#include "shell/briskdiscovery.h"

#include <QNetworkDatagram>
#include <QSignalSpy>
#include <QTimer>
#include <QUdpSocket>
#include <QtTest>

namespace {
const QString kAddress = QStringLiteral("127.0.0.1");
} // namespace

class TestBriskDiscovery : public QObject
{
    Q_OBJECT

private slots:
    void parseResponse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("added");
        QTest::addColumn<QString>("serialNumber");
        QTest::addColumn<QString>("macAddress");
        QTest::addColumn<QString>("firmware");

        const QString noMac = QStringLiteral("00:00:00:00:00:00");
        QTest::newRow("full answer")
            << QStringLiteral("TolvDiscoveryResponse;sw_version: 1.08.0 ;hw_addr:0a:1b:2c:3d:4e:"
                              "5f;device:vantel;serialno: QX-0042 ")
            << true << QStringLiteral("QX-0042") << QStringLiteral("0A:1B:2C:3D:4E:5F")
            << QStringLiteral("1.08.0");
        QTest::newRow("device only") << QStringLiteral("TolvDiscoveryResponse;device:vantel")
                                     << true << QString() << noMac << QString();
        QTest::newRow("trimmed id, empty items, trailing separator")
            << QStringLiteral("TolvDiscoveryResponse;;;device:  vantel\t;;serialno:7;") << true
            << QStringLiteral("7") << noMac << QString();
        QTest::newRow("unknown items ignored, last repeat wins")
            << QStringLiteral("TolvDiscoveryResponse;colour:red;serialno:1;device:x;serialno:2;"
                              "device:vantel")
            << true << QStringLiteral("2") << noMac << QString();
        QTest::newRow("value holding a colon")
            << QStringLiteral("TolvDiscoveryResponse;device:vantel;sw_version:a:b") << true
            << QString() << noMac << QStringLiteral("a:b");
        QTest::newRow("line breaks inside")
            << QStringLiteral("TolvDiscoveryResponse;\r\ndevice:vantel\r\n") << false << QString()
            << noMac << QString();

        const QStringList dropped{
            QString(),
            QStringLiteral("TolvDiscoveryRequest;"),
            QStringLiteral("TolvDiscoveryResponse"),
            QStringLiteral("TolvDiscoveryResponse;"),
            QStringLiteral("tolvdiscoveryresponse;device:vantel"),
            QStringLiteral(" TolvDiscoveryResponse;device:vantel"),
            QStringLiteral("TolvDiscoveryResponse;device:Vantel"),
            QStringLiteral("TolvDiscoveryResponse;DEVICE:vantel"),
            QStringLiteral("TolvDiscoveryResponse; device:vantel"),
            QStringLiteral("TolvDiscoveryResponse;device:vantel;device:relaymini"),
            QStringLiteral("TolvDiscoveryResponse;device:relaymini"),
            QStringLiteral("TolvDiscoveryResponse;device:"),
            QStringLiteral("TolvDiscoveryResponse;device:van;tel"),
            QStringLiteral("TolvDiscoveryResponse;serialno:1;hw_addr:aa"),
            QStringLiteral("TolvDiscoveryResponsedevice:vantel"),
            QStringLiteral("XTolvDiscoveryResponse;device:vantel"),
        };
        for (const QString &text : dropped)
            QTest::addRow("dropped \"%s\"", qPrintable(text))
                << text << false << QString() << noMac << QString();
    }

    void parseResponse()
    {
        QFETCH(QString, text);
        QFETCH(bool, added);
        QFETCH(QString, serialNumber);
        QFETCH(QString, macAddress);
        QFETCH(QString, firmware);

        BriskDiscovery discovery(0, nullptr);
        QSignalSpy logSpy(&discovery, &BriskDiscovery::logString);
        QSignalSpy addedSpy(&discovery, &BriskDiscovery::deviceAdded);
        QSignalSpy changedSpy(&discovery, &BriskDiscovery::changed);
        discovery.parseResponse(kAddress, 2382, text);

        QCOMPARE(addedSpy.size(), added ? 1 : 0);
        QCOMPARE(changedSpy.size(), added ? 1 : 0);
        QCOMPARE(logSpy.size(), added ? 1 : 0);
        QCOMPARE(discovery.devices().size(), added ? 1 : 0);
        if (!added)
            return;
        BriskDiscovery::DeviceInfo expected;
        expected.address = kAddress;
        expected.model = QStringLiteral("Quorix");
        expected.serialNumber = serialNumber;
        expected.macAddress = macAddress;
        expected.firmware = firmware;
        QCOMPARE(discovery.devices().value(kAddress), expected);
        QCOMPARE(addedSpy.first().first().value<BriskDiscovery::DeviceInfo>(), expected);
        QVERIFY(!logSpy.first().first().toString().contains(QLatin1Char('\n')));
    }

    void firstAnswerStaysUntilTheNextRequest()
    {
        BriskDiscovery discovery(0, nullptr);
        discovery.setRequestTarget(QHostAddress(QStringLiteral("127.0.0.1")), 9); // discarded
        QSignalSpy logSpy(&discovery, &BriskDiscovery::logString);
        QSignalSpy changedSpy(&discovery, &BriskDiscovery::changed);

        const QString answer
            = QStringLiteral("TolvDiscoveryResponse;device:vantel;serialno:%1\r\n");
        discovery.parseResponse(kAddress, 4000, answer.arg(1));
        QCOMPARE(logSpy.size(), 1);
        QCOMPARE(logSpy.takeFirst().first().toString(),
                 QStringLiteral("Discovery<127.0.0.1:4000> Received "
                                "<TolvDiscoveryResponse;device:vantel;serialno:%1>.")
                     .arg(1));
        discovery.parseResponse(kAddress, 4000, answer.arg(2));
        QCOMPARE(logSpy.size(), 0);
        QCOMPARE(changedSpy.size(), 1);
        QCOMPARE(discovery.devices().value(kAddress).serialNumber, QStringLiteral("1"));

        // The answer's own text is logged as it came, placeholders included.
        discovery.parseResponse(QStringLiteral("127.0.0.2"),
                                1,
                                QStringLiteral("TolvDiscoveryResponse;device:vantel;x:%1%2"));
        QCOMPARE(logSpy.takeFirst().first().toString(),
                 QStringLiteral("Discovery<127.0.0.2:1> Received "
                                "<TolvDiscoveryResponse;device:vantel;x:%1%2>."));

        changedSpy.clear();
        bool emptyWhenChanged = false;
        const QMetaObject::Connection check
            = connect(&discovery, &BriskDiscovery::changed, this, [&] {
                  emptyWhenChanged = discovery.devices().isEmpty();
              });
        discovery.sendRequest();
        disconnect(check);
        QVERIFY(emptyWhenChanged);
        QCOMPARE(changedSpy.size(), 1);
        QCOMPARE(logSpy.takeFirst().first().toString(),
                 QStringLiteral("Broadcasting discovery request."));
        QVERIFY(discovery.devices().isEmpty());
        discovery.parseResponse(kAddress, 4000, answer.arg(3));
        QCOMPARE(discovery.devices().value(kAddress).serialNumber, QStringLiteral("3"));
    }

    void collectionIsBoundedPerRequest()
    {
        BriskDiscovery discovery(0, nullptr);
        discovery.setRequestTarget(QHostAddress(QStringLiteral("127.0.0.1")), 9); // discarded
        const QString answer = QStringLiteral("TolvDiscoveryResponse;device:vantel");
        auto addressOf
            = [](int i) { return QStringLiteral("10.0.%1.%2").arg(i / 256).arg(i % 256); };
        for (int i = 0; i < BriskDiscovery::kMaxDevices; ++i)
            discovery.parseResponse(addressOf(i), 2382, answer);
        QCOMPARE(discovery.devices().size(), BriskDiscovery::kMaxDevices);

        QSignalSpy logSpy(&discovery, &BriskDiscovery::logString);
        QSignalSpy changedSpy(&discovery, &BriskDiscovery::changed);
        discovery.parseResponse(addressOf(BriskDiscovery::kMaxDevices), 2382, answer);
        QCOMPARE(discovery.devices().size(), BriskDiscovery::kMaxDevices);
        QVERIFY(!discovery.devices().contains(addressOf(BriskDiscovery::kMaxDevices)));
        QCOMPARE(logSpy.size(), 0);
        QCOMPARE(changedSpy.size(), 0);

        // The next request starts a fresh collection.
        discovery.sendRequest();
        discovery.parseResponse(addressOf(BriskDiscovery::kMaxDevices), 2382, answer);
        QCOMPARE(discovery.devices().keys(), QStringList{addressOf(BriskDiscovery::kMaxDevices)});
    }

    void modelTable()
    {
        QCOMPARE(BriskDiscovery::modelDisplayName(QStringLiteral("vantel")),
                 QStringLiteral("Quorix"));
        QCOMPARE(BriskDiscovery::modelDisplayName(QStringLiteral("VANTEL")),
                 QStringLiteral("Unknown"));
        QCOMPARE(BriskDiscovery::modelDisplayName(QString()), QStringLiteral("Unknown"));
        QVERIFY(BriskDiscovery::modelDisplayName(QStringLiteral("harborpro"))
                != QStringLiteral("Unknown"));
    }

    void loopbackExchange()
    {
        QUdpSocket responder;
        QVERIFY(responder.bind(QHostAddress(QStringLiteral("127.0.0.1")), 0));
        QUdpSocket secondUnit;
        QVERIFY(secondUnit.bind(QHostAddress(QStringLiteral("127.0.0.2")), 0));

        BriskDiscovery discovery(0, nullptr);
        QVERIFY(discovery.localPort() != 0);
        discovery.setRequestTarget(QHostAddress(QStringLiteral("127.0.0.1")),
                                   responder.localPort());
        QSignalSpy addedSpy(&discovery, &BriskDiscovery::deviceAdded);
        QSignalSpy changedSpy(&discovery, &BriskDiscovery::changed);

        discovery.sendRequest();
        QCOMPARE(changedSpy.size(), 1);
        QTRY_VERIFY(responder.hasPendingDatagrams());
        const QNetworkDatagram request = responder.receiveDatagram();
        QCOMPARE(request.data(), QByteArray("TolvDiscoveryRequest;"));
        QCOMPARE(request.senderPort(), int(discovery.localPort()));

        const QHostAddress back = request.senderAddress();
        const quint16 backPort = quint16(request.senderPort());
        auto send = [&](QUdpSocket &from, const QByteArray &bytes) {
            QCOMPARE(from.writeDatagram(bytes, back, backPort), qint64(bytes.size()));
        };
        send(responder, "TolvDiscoveryRequest;");                 // not an answer
        send(responder, "TolvDiscoveryResponse;device:relayduo"); // another type
        send(responder, QByteArray());                            // empty datagram
        send(responder,
             QByteArray("TolvDiscoveryResponse;device:vantel;serialno:A\0;serialno:B",
                        58)); // ends at the zero byte
        send(responder, "TolvDiscoveryResponse;device:vantel;serialno:again");
        send(secondUnit,
             "TolvDiscoveryResponse;device:vantel;hw_addr:aa:bb:cc:dd:ee:ff;"
             "sw_version:2.0.1");

        QTRY_COMPARE(addedSpy.size(), 2);
        QCOMPARE(discovery.devices().keys(),
                 QStringList({QStringLiteral("127.0.0.1"), QStringLiteral("127.0.0.2")}));
        QCOMPARE(discovery.devices().value(QStringLiteral("127.0.0.1")).serialNumber,
                 QStringLiteral("A"));
        const BriskDiscovery::DeviceInfo second
            = discovery.devices().value(QStringLiteral("127.0.0.2"));
        QCOMPARE(second.macAddress, QStringLiteral("AA:BB:CC:DD:EE:FF"));
        QCOMPARE(second.firmware, QStringLiteral("2.0.1"));
        QCOMPARE(second.model, QStringLiteral("Quorix"));
        QVERIFY(second.name.isEmpty());

        // Let every late datagram arrive: the repeated answer changes nothing.
        send(responder, "TolvDiscoveryResponse;device:vantel;serialno:late");
        QTRY_VERIFY(!discovery.findChild<QUdpSocket *>()->hasPendingDatagrams());
        QCOMPARE(changedSpy.size(), 3);
        QCOMPARE(discovery.devices().value(QStringLiteral("127.0.0.1")).serialNumber,
                 QStringLiteral("A"));
    }

    // Answers count only within the window after the discovery's own request.
    void answersOnlyWithinTheWindowAfterARequest()
    {
        BriskDiscovery discovery(0, nullptr);
        discovery.setRequestTarget(QHostAddress(QStringLiteral("127.0.0.1")), 9); // discard
        discovery.setAnswerWindow(1000);
        QUdpSocket *socket = discovery.findChild<QUdpSocket *>();
        QUdpSocket unit;
        QVERIFY(unit.bind(QHostAddress(QStringLiteral("127.0.0.2")), 0));
        const QByteArray answer("TolvDiscoveryResponse;device:vantel");
        const auto answerNow = [&] {
            QCOMPARE(unit.writeDatagram(answer, QHostAddress::LocalHost, discovery.localPort()),
                     qint64(answer.size()));
            QTRY_VERIFY(!socket->hasPendingDatagrams());
        };

        answerNow(); // before any request
        QVERIFY(discovery.devices().isEmpty());
        discovery.sendRequest();
        QVERIFY(discovery.isCollecting());
        answerNow();
        QCOMPARE(discovery.devices().keys(), QStringList{QStringLiteral("127.0.0.2")});

        discovery.sendRequest();
        QTRY_VERIFY(!discovery.isCollecting());
        answerNow(); // too late
        QVERIFY(discovery.devices().isEmpty());
    }

    // A flood of answers is read a batch per pass of the event loop.
    void answerFloodYieldsToTheEventLoop()
    {
        BriskDiscovery discovery(0, nullptr);
        discovery.setRequestTarget(QHostAddress(QStringLiteral("127.0.0.1")), 9);
        discovery.sendRequest();
        QSignalSpy added(&discovery, &BriskDiscovery::deviceAdded);
        constexpr int kAnswers = 2 * BriskDiscovery::kReadBatch + 10;
        std::vector<std::unique_ptr<QUdpSocket>> units;
        for (int i = 0; i < kAnswers; ++i) {
            units.push_back(std::make_unique<QUdpSocket>());
            QVERIFY(units.back()->bind(QHostAddress(QStringLiteral("127.0.1.%1").arg(i + 1)), 0));
            QVERIFY(units.back()->writeDatagram("TolvDiscoveryResponse;device:vantel",
                                                QHostAddress::LocalHost,
                                                discovery.localPort())
                    > 0);
        }
        QList<int> addedAtPass{0};
        QTimer ticker;
        ticker.setInterval(0);
        connect(&ticker, &QTimer::timeout, this, [&] { addedAtPass << int(added.size()); });
        ticker.start();
        QTRY_COMPARE(added.size(), kAnswers);
        ticker.stop();
        addedAtPass << int(added.size());
        int mostInOnePass = 0;
        for (qsizetype i = 1; i < addedAtPass.size(); ++i)
            mostInOnePass = std::max(mostInOnePass, addedAtPass[i] - addedAtPass[i - 1]);
        QVERIFY2(mostInOnePass <= BriskDiscovery::kReadBatch,
                 qPrintable(QString::number(mostInOnePass)));
    }

    void ownRequestComingBackIsIgnored()
    {
        BriskDiscovery discovery(0, nullptr);
        discovery.setRequestTarget(QHostAddress(QStringLiteral("127.0.0.1")),
                                   discovery.localPort());
        QSignalSpy changedSpy(&discovery, &BriskDiscovery::changed);
        discovery.sendRequest();

        // An answer sent after the request reaches the socket after it: once the answer is
        // collected, the request has been read too.
        QUdpSocket unit;
        QVERIFY(unit.bind(QHostAddress(QStringLiteral("127.0.0.2")), 0));
        const QByteArray answer("TolvDiscoveryResponse;device:vantel");
        QCOMPARE(unit.writeDatagram(
                     answer, QHostAddress(QStringLiteral("127.0.0.1")), discovery.localPort()),
                 qint64(answer.size()));
        QTRY_COMPARE_WITH_TIMEOUT(discovery.devices().size(), 1, 10000);
        QCOMPARE(discovery.devices().keys(), QStringList{QStringLiteral("127.0.0.2")});
        QCOMPARE(changedSpy.size(), 2);
    }
};

QTEST_GUILESS_MAIN(TestBriskDiscovery)
#include "tst_briskdiscovery.moc"
