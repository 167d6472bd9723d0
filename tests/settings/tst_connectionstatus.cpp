#include "settings/qvantelsettingspage.h"

#include "link/ccom.h"
#include "link/comclient.h"
#include "link/sharedobjects.h"
#include "model/accesslevel.h"
#include "model/comaoipcontroller.h"
#include "model/comdevice.h"
#include "settings/settingsids.h"
#include "tests/settings/settingspagerig.h"
#include "tests/support/demoarea.h"
#include "tests/support/demounit.h"
#include "tests/support/fakequorix.h"
#include "widgets/qvantellocalize.h"
#include "widgets/qvantelmenuheader.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuitems.h"
#include "widgets/qvantelmenupalette.h"

#include <QTest>

#include <memory>

namespace {

const QColor kGrey(127, 127, 127);

// A device event from its text form, "event_type:...;id:...".
ksm::CMsg deviceEvent(const QString &pairs)
{
    ksm::CMsg msg;
    if (ksm::CMsg::parse(("EVENT;" + pairs).toStdString(), msg) != 0)
        qFatal("unreadable event text in a test");
    return msg;
}

QColor colourOf(const QVantelMenuItem *row)
{
    return QVantelMenuPalette::textColor(row->valueLabel());
}

} // namespace

// The audio connections page (259), the call statistics pages (270, 271) and the AoIP controller
// page (279), against the demo unit, with call events fed to the device model as the window
// passes them on.
class TestConnectionStatus : public QObject, private SettingsPageRig
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void idleLinks_data();
    void idleLinks();
    void callOnLink1FollowsEventsAndStatistics();
    void dialledOrAcceptedCallIsInProgress();
    void callRows_data();
    void callRows();
    void vanishedConnection();
    void statisticsForgottenWhenTheLinkDrops();
    void statisticsTexts_data();
    void statisticsTexts();
    void aoipStatusFromRead_data();
    void aoipStatusFromRead();

private:
    void feed(const QString &pairs);
    QVantelMenuItems *openConnections();
    QVantelMenuItem *row(int id, int data) const;
    // Shown on its page, whether or not the page is on screen.
    bool shown(int id, int data) const;
};

void TestConnectionStatus::init()
{
    QVERIFY(startDemoUnit());
    QVERIFY(connectPage(refreshDevice));
    // As the front-panel window forwards them.
    connect(comDevice(),
            &TComDevice::audioCallStatusChanged,
            m_page.get(),
            &QVantelSettingsPage::audioCallStatusChanged);
    connect(comDevice(),
            &TComDevice::audioCallStatisticChanged,
            m_page.get(),
            &QVantelSettingsPage::audioCallStatisticChanged);
}

void TestConnectionStatus::cleanup()
{
    stopUnit();
}

void TestConnectionStatus::feed(const QString &pairs)
{
    QVERIFY2(comDevice()->handleEvent(deviceEvent(pairs)), qPrintable(pairs));
}

QVantelMenuItems *TestConnectionStatus::openConnections()
{
    buildPage(kPageConnections);
    QVantelMenuItems *page = m_page->currentPage();
    return page && page->id() == kPageConnections ? page : nullptr;
}

QVantelMenuItem *TestConnectionStatus::row(int id, int data) const
{
    QVantelMenuItems *page = m_page->currentPage();
    return page ? page->findItem(id, data) : nullptr;
}

bool TestConnectionStatus::shown(int id, int data) const
{
    QVantelMenuItem *item = row(id, data);
    return item && !item->isHidden();
}

void TestConnectionStatus::idleLinks_data()
{
    QTest::addColumn<bool>("coordination");
    QTest::newRow("default network") << false;
    QTest::newRow("link 2 on the coordination line") << true;
}

void TestConnectionStatus::idleLinks()
{
    QFETCH(bool, coordination);
    if (coordination) {
        const QString audio = QStringLiteral("audio");
        m_fake->setValue(QStringLiteral("coord_mode"), QStringLiteral("enabled"), audio);
        m_fake->setValue(QStringLiteral("codec"), QStringLiteral("OPUS/48000/mono/64000"), audio);
        QVERIFY(comDevice()->refresh());
        QVERIFY(comDevice()->hasCoordinationLine());
    }
    QVERIFY(openConnections());
    QVERIFY(m_page->header()->isRefreshVisible());
    const QString defaultName = QVantelLocalize::interfaceName(
        TComDevice::networkFromString(comDevice()->defaultNetwork()));
    QVERIFY(!defaultName.isEmpty());
    for (const int data : {kConnectionsLink1, kConnectionsLink2}) {
        QCOMPARE(row(kRowCallState, data)->valueText(), QStringLiteral("Idle"));
        QCOMPARE(colourOf(row(kRowCallState, data)), kGrey);
        QCOMPARE(row(kRowCallNetwork, data)->valueText(),
                 coordination && data == kConnectionsLink2 ? QVantelLocalize::interfaceName(0x300)
                                                           : defaultName);
        for (const int id : {kRowRemoteAddress,
                             kRowCallQuality,
                             kRowTransmission,
                             kRowReception,
                             kRowDetailedStatistics})
            QVERIFY2(!shown(id, data), qPrintable(QString::number(id)));
        QVERIFY(shown(kRowLatestStatistics, data));
        QVERIFY(row(kRowCallState, data)->isReadOnly());
    }
    QCOMPARE(m_page->currentPage()->findItem(-1, kConnectionsLink2)->titleText(),
             QStringLiteral("Connection 2"));
}

void TestConnectionStatus::callOnLink1FollowsEventsAndStatistics()
{
    QVERIFY(openConnections());
    const QString call = QStringLiteral("id:4;network:eth.0;comm_link:audio;");
    feed("event_type:0100-call proceeding;" + call);
    QCOMPARE(row(kRowCallState, kConnectionsLink1)->valueText(),
             QStringLiteral("Call in progress..."));
    QCOMPARE(colourOf(row(kRowCallState, kConnectionsLink1)), QColor(Qt::yellow));
    QCOMPARE(row(kRowCallState, kConnectionsLink2)->valueText(), QStringLiteral("Idle"));

    feed("event_type:1000-call active;codec_tx:OPUS/48000/stereo/64000;remote_addr:studio@demo;"
         + call);
    feed("event_type:dsp_status;state:sync;" + call);
    QCOMPARE(row(kRowCallState, kConnectionsLink1)->valueText(),
             QStringLiteral("Call established (synchronized)"));
    QCOMPARE(colourOf(row(kRowCallState, kConnectionsLink1)), QColor(Qt::red));
    const QStringList network
        = row(kRowCallNetwork, kConnectionsLink1)->valueText().split(QLatin1Char('\n'));
    QCOMPARE(network.size(), 2);
    QCOMPARE(network[0], QVantelLocalize::interfaceName(0x100));
    QVERIFY(shown(kRowRemoteAddress, kConnectionsLink1));
    QCOMPARE(row(kRowRemoteAddress, kConnectionsLink1)->valueText(), QStringLiteral("studio@demo"));
    QVERIFY(!shown(kRowLatestStatistics, kConnectionsLink1));
    QVERIFY(!shown(kRowCallQuality, kConnectionsLink1)); // no quality report yet

    feed("event_type:tx-quality-report;net-quality:87;duration:3725;pkts-total:200;pkts-lost:5;"
         "jtr-avg:3;jtr-max:9;"
         + call);
    feed("event_type:rx-quality-report;net-quality:91;duration:3725;pkts-total:195;pkts-lost:5;"
         "pkts-discarded:1;pkts-duplicated:2;pkts-reorderd:3;jtr-avg:4;jtr-max:11;jb-curr:60;"
         "jb-mark:40;"
         + call);
    QVERIFY(shown(kRowCallQuality, kConnectionsLink1) && shown(kRowTransmission, kConnectionsLink1)
            && shown(kRowReception, kConnectionsLink1)
            && shown(kRowDetailedStatistics, kConnectionsLink1));
    QCOMPARE(row(kRowTransmission, kConnectionsLink1)->valueText(), QStringLiteral("87%"));
    QCOMPARE(row(kRowReception, kConnectionsLink1)->valueText(), QStringLiteral("91%"));

    // "Detailed Statistics" opens link 1's statistics, which follow further reports.
    m_page->itemClicked(row(kRowDetailedStatistics, kConnectionsLink1));
    QVantelMenuItems *statistics = m_page->currentPage();
    QVERIFY(statistics && statistics->id() == kPageCallStatistics1);
    QVERIFY(!m_page->header()->isRefreshVisible());
    QCOMPARE(statistics->findItem(kRowTxDuration)->valueText(), QStringLiteral("01:02:05"));
    QCOMPARE(statistics->findItem(kRowTxPackets)->valueText(),
             QStringLiteral("Total: 200, Lost: 5 (2.50%)"));
    QCOMPARE(
        statistics->findItem(kRowRxPackets)->valueText(),
        QStringLiteral("Total: 195, Lost: 5 (2.50%)\nDiscarded: 1, Duplicated: 2, Reordered: 3"));
    QCOMPARE(statistics->findItem(kRowRxBuffer)->valueText(),
             QStringLiteral("Latency: 60 ms, Initial: 40 ms"));
    feed("event_type:tx-quality-report;net-quality:80;duration:3726;pkts-total:400;pkts-lost:50;"
         + call);
    QCOMPARE(statistics->findItem(kRowTxPackets)->valueText(),
             QStringLiteral("Total: 400, Lost: 50 (12.50%)"));

    // Back on 259: refreshed, and the released call hides its details again.
    m_page->backClicked();
    QCOMPARE(m_page->currentPage()->id(), kPageConnections);
    QVERIFY(m_page->header()->isRefreshVisible());
    QCOMPARE(row(kRowTransmission, kConnectionsLink1)->valueText(), QStringLiteral("80%"));
    feed("event_type:1900-call released;cause:normal clearing;" + call);
    QCOMPARE(row(kRowCallState, kConnectionsLink1)->valueText(), QStringLiteral("Call released"));
    QCOMPARE(colourOf(row(kRowCallState, kConnectionsLink1)), kGrey);
    QCOMPARE(row(kRowCallNetwork, kConnectionsLink1)->valueText(),
             QVantelLocalize::interfaceName(0x100));
    for (const int id : {kRowRemoteAddress,
                         kRowCallQuality,
                         kRowTransmission,
                         kRowReception,
                         kRowDetailedStatistics})
        QVERIFY2(!shown(id, kConnectionsLink1), qPrintable(QString::number(id)));
    QVERIFY(row(kRowRemoteAddress, kConnectionsLink1)->valueText().isEmpty());

    // The copies outlive the call: "Latest AoIP Statistics" shows its last figures.
    QVERIFY(shown(kRowLatestStatistics, kConnectionsLink1));
    m_page->itemClicked(row(kRowLatestStatistics, kConnectionsLink1));
    statistics = m_page->currentPage();
    QVERIFY(statistics && statistics->id() == kPageCallStatistics1);
    QCOMPARE(statistics->findItem(kRowTxPackets)->valueText(),
             QStringLiteral("Total: 400, Lost: 50 (12.50%)"));
}

void TestConnectionStatus::dialledOrAcceptedCallIsInProgress()
{
    QVERIFY(openConnections());
    // Right after the dial and the accept, before the unit reports either call proceeding;
    // the calls reach the page as the connection page hands them over.
    auto dialled
        = std::make_unique<TComAudioConnection>(comClient(), TComBaseConnection::AudioLink1);
    QCOMPARE(dialled->dial("eth.0", "studio@demo"), 0);
    QCOMPARE(dialled->status(), int(TComAudioConnection::StatusDialled));
    auto accepted
        = std::make_unique<TComAudioConnection>(comClient(), TComBaseConnection::AudioLink2);
    QVERIFY(accepted->accept(77, "eth.0"));
    QCOMPARE(accepted->status(), int(TComAudioConnection::StatusAccepted));
    for (auto *call : {&dialled, &accepted}) {
        QVERIFY(comDevice()->addConnection(call->get()));
        m_page->audioCallStatusChanged(call->release());
    }

    for (const int data : {kConnectionsLink1, kConnectionsLink2}) {
        QCOMPARE(row(kRowCallState, data)->valueText(), QStringLiteral("Call in progress..."));
        QCOMPARE(colourOf(row(kRowCallState, data)), QColor(Qt::yellow));
        QVERIFY(shown(kRowRemoteAddress, data));
    }
}

void TestConnectionStatus::callRows_data()
{
    QTest::addColumn<QStringList>("events"); // each after "event_type:", the call's ids appended
    QTest::addColumn<QString>("call");
    QTest::addColumn<int>("data");
    QTest::addColumn<QString>("state");
    QTest::addColumn<bool>("coding");
    QTest::addColumn<QString>("transmission"); // "-": row hidden
    QTest::addColumn<QString>("reception");
    QTest::addColumn<bool>("details");

    const QString ip = QStringLiteral("id:5;network:eth.0;comm_link:audio;");
    const QString active = QStringLiteral("1000-call active;codec_tx:OPUS/48000/mono/64000;");
    const QString sync = QStringLiteral("dsp_status;state:sync;");
    // Addresses given per stream make the call a two-stream one.
    const QString activeDual = active + QStringLiteral("remote_addr:far;stream_id:1;");
    QTest::newRow("aoip call: no quality rows")
        << QStringList{active, sync, "tx-quality-report;net-quality:90;"}
        << "id:5;network:aoip;comm_link:audio;" << kConnectionsLink1
        << "Call established (synchronized)" << true << "-"
        << "-" << false;
    QTest::newRow("isdn call: no quality rows")
        << QStringList{active, sync, "rx-quality-report;net-quality:90;"}
        << "id:5;network:isdn.0;comm_link:audio;" << kConnectionsLink1
        << "Call established (synchronized)" << true << "-"
        << "-" << false;
    QTest::newRow("dual stream 87 / 0")
        << QStringList{activeDual,
                       "tx-quality-report;net-quality:87;",
                       "tx-quality-report;net-quality:0;stream_id:2;"}
        << ip << kConnectionsLink1 << "Call in progress (negociating)" << true << "87% / 0%"
        << "-" << true;
    QTest::newRow("dual stream, second unreported")
        << QStringList{activeDual, "tx-quality-report;net-quality:87;stream_id:1;"} << ip
        << kConnectionsLink1 << "Call in progress (negociating)" << true << "87%"
        << "-" << true;
    QTest::newRow("reception only")
        << QStringList{active, "rx-quality-report;net-quality:40;", "dsp_status;state:sync lost;"}
        << ip << kConnectionsLink1 << "Call established (sync lost)" << true << "-"
        << "40%" << true;
    QTest::newRow("coordination line fills link 2")
        << QStringList{"0600-call received;"} << "id:6;network:eth.0;comm_link:coord_line;"
        << kConnectionsLink2 << "Incoming call..." << true << "-"
        << "-" << false;
    QTest::newRow("link 2 releasing")
        << QStringList{active, "1200-call disconnected;"} << "id:7;network:wifi.0;comm_link:audio2;"
        << kConnectionsLink2 << "Releasing call..." << true << "-"
        << "-" << false;
}

void TestConnectionStatus::callRows()
{
    QFETCH(QStringList, events);
    QFETCH(QString, call);
    QFETCH(int, data);
    QFETCH(QString, state);
    QFETCH(bool, coding);
    QFETCH(QString, transmission);
    QFETCH(QString, reception);
    QFETCH(bool, details);

    QVERIFY(openConnections());
    for (const QString &pairs : events)
        feed("event_type:" + pairs + call);
    QCOMPARE(row(kRowCallState, data)->valueText(), state);
    QCOMPARE(row(kRowCallNetwork, data)->valueText().contains(QLatin1Char('\n')), coding);
    QVERIFY(shown(kRowRemoteAddress, data));
    QVERIFY(!shown(kRowLatestStatistics, data));
    QCOMPARE(shown(kRowTransmission, data), transmission != QLatin1String("-"));
    if (shown(kRowTransmission, data))
        QCOMPARE(row(kRowTransmission, data)->valueText(), transmission);
    QCOMPARE(shown(kRowReception, data), reception != QLatin1String("-"));
    if (shown(kRowReception, data))
        QCOMPARE(row(kRowReception, data)->valueText(), reception);
    QCOMPARE(shown(kRowCallQuality, data), details);
    QCOMPARE(shown(kRowDetailedStatistics, data), details);
    // The other link stays idle.
    QCOMPARE(row(kRowCallState, data == kConnectionsLink1 ? kConnectionsLink2 : kConnectionsLink1)
                 ->valueText(),
             QStringLiteral("Idle"));
}

// The unit drops its calls (a reset of the model): the page keeps the last texts and touches
// nothing that has gone; Refresh then shows the link idle, with no quality left over.
void TestConnectionStatus::vanishedConnection()
{
    QVERIFY(openConnections());
    const QString call = QStringLiteral("id:9;network:eth.0;comm_link:audio;");
    feed("event_type:1000-call active;remote_addr:far;" + call);
    feed("event_type:tx-quality-report;net-quality:77;" + call);
    QCOMPARE(row(kRowTransmission, kConnectionsLink1)->valueText(), QStringLiteral("77%"));

    comDevice()->reset(true);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!comDevice()->audioConnection(1));
    QCOMPARE(row(kRowTransmission, kConnectionsLink1)->valueText(), QStringLiteral("77%"));

    m_page->refreshClicked();
    QCOMPARE(m_page->currentPage()->id(), kPageConnections);
    QCOMPARE(row(kRowCallState, kConnectionsLink1)->valueText(), QStringLiteral("Idle"));
    for (const int id : {kRowRemoteAddress,
                         kRowCallQuality,
                         kRowTransmission,
                         kRowReception,
                         kRowDetailedStatistics})
        QVERIFY2(!shown(id, kConnectionsLink1), qPrintable(QString::number(id)));
    QVERIFY(row(kRowTransmission, kConnectionsLink1)->valueText().isEmpty());
    QVERIFY(shown(kRowLatestStatistics, kConnectionsLink1));
}

// The copies outlive a call, not the link: the next unit must not show this one's figures.
void TestConnectionStatus::statisticsForgottenWhenTheLinkDrops()
{
    const QString call = QStringLiteral("id:3;network:eth.0;comm_link:audio;");
    feed("event_type:0100-call proceeding;" + call);
    feed("event_type:tx-quality-report;net-quality:60;duration:42;pkts-total:10;pkts-lost:1;"
         + call);
    buildPage(kRowDetailedStatistics, kConnectionsLink1);
    QCOMPARE(m_page->currentPage()->findItem(kRowTxDuration)->valueText(),
             QStringLiteral("00:00:42"));

    m_fake->dropClient();
    QTRY_COMPARE(comClient()->state(), RpcConnection::Unconnected);
    buildPage(kRowDetailedStatistics, kConnectionsLink1);
    QVantelMenuItems *page = m_page->currentPage();
    QCOMPARE(page->findItem(kRowTxDuration)->valueText(), QStringLiteral("00:00:00"));
    QCOMPARE(page->findItem(kRowTxPackets)->valueText(),
             QStringLiteral("Total: 0, Lost: 0 (0.00%)"));
}

void TestConnectionStatus::statisticsTexts_data()
{
    QTest::addColumn<QStringList>("reports"); // each after "event_type:", the call's ids appended
    QTest::addColumn<int>("rowId");
    QTest::addColumn<QString>("text");

    const QString zeroJitter = QStringLiteral("Average: 0 ms, Maximum: 0 ms");
    QTest::newRow("before any report: duration") << QStringList{} << kRowTxDuration << "00:00:00";
    QTest::newRow("before any report: rx packets")
        << QStringList{} << kRowRxPackets
        << "Total: 0, Lost: 0 (0.00%)\nDiscarded: 0, Duplicated: 0, Reordered: 0";
    QTest::newRow("before any report: buffer") << QStringList{} << kRowRxBuffer << "Latency: 0 ms";
    QTest::newRow("25 hours") << QStringList{"rx-quality-report;net-quality:50;duration:90000;"}
                              << kRowRxDuration << "25:00:00";
    QTest::newRow("negative duration")
        << QStringList{"tx-quality-report;net-quality:50;duration:-5;"} << kRowTxDuration
        << "00:00:00";
    QTest::newRow("rx nothing received")
        << QStringList{"rx-quality-report;net-quality:50;pkts-total:0;pkts-lost:3;"}
        << kRowRxPackets << "Total: 0, Lost: 3 (0.00%)\nDiscarded: 0, Duplicated: 0, Reordered: 0";
    // Malformed reports: the denominator total + lost is 0 or negative.
    QTest::newRow("malformed: zero denominator")
        << QStringList{"rx-quality-report;net-quality:50;pkts-total:3;pkts-lost:-3;"}
        << kRowRxPackets << "Total: 3, Lost: -3 (0.00%)\nDiscarded: 0, Duplicated: 0, Reordered: 0";
    QTest::newRow("malformed: negative denominator")
        << QStringList{"rx-quality-report;net-quality:50;pkts-total:3;pkts-lost:-5;"}
        << kRowRxPackets << "Total: 3, Lost: -5 (0.00%)\nDiscarded: 0, Duplicated: 0, Reordered: 0";
    QTest::newRow("tx second stream at quality 0")
        << QStringList{"tx-quality-report;net-quality:70;jtr-avg:2;jtr-max:5;",
                       "tx-quality-report;net-quality:0;stream_id:2;jtr-avg:1;jtr-max:4;"}
        << kRowTxJitter << "Average: 2 ms, Maximum: 5 ms\nAverage: 1 ms, Maximum: 4 ms";
    QTest::newRow("rx second stream at quality 0 adds nothing")
        << QStringList{"rx-quality-report;net-quality:70;",
                       "rx-quality-report;net-quality:0;stream_id:2;jtr-avg:1;"}
        << kRowRxJitter << zeroJitter;
    QTest::newRow("rx second stream above 0")
        << QStringList{"rx-quality-report;net-quality:70;duration:10;",
                       "rx-quality-report;net-quality:1;stream_id:2;duration:9;"}
        << kRowRxDuration << "00:00:10\n00:00:09";
    QTest::newRow("no initial buffer")
        << QStringList{"rx-quality-report;net-quality:70;jb-curr:80;jb-mark:0;"} << kRowRxBuffer
        << "Latency: 80 ms";
}

void TestConnectionStatus::statisticsTexts()
{
    QFETCH(QStringList, reports);
    QFETCH(int, rowId);
    QFETCH(QString, text);

    // Link 2's page, so that the slots of link 2 are the ones read.
    const QString call = QStringLiteral("id:8;network:eth.0;comm_link:audio2;");
    feed("event_type:0100-call proceeding;" + call);
    for (const QString &pairs : reports)
        feed("event_type:" + pairs + call);
    buildPage(kRowDetailedStatistics, kConnectionsLink2);
    QVantelMenuItems *page = m_page->currentPage();
    QVERIFY(page && page->id() == kPageCallStatistics2);
    QCOMPARE(page->findItem(rowId)->valueText(), text);
    QVERIFY(page->findItem(rowId)->isReadOnly());

    // Link 1's page stays at its start figures.
    buildPage(kRowDetailedStatistics, kConnectionsLink1);
    QCOMPARE(m_page->currentPage()->findItem(kRowTxPackets)->valueText(),
             QStringLiteral("Total: 0, Lost: 0 (0.00%)"));
}

void TestConnectionStatus::aoipStatusFromRead_data()
{
    QTest::addColumn<QString>("audioMode");
    QTest::addColumn<QString>("natWord");
    QTest::addColumn<QString>("publicAddress");
    QTest::addColumn<QString>("protocol");
    QTest::addColumn<QString>("natText");

    QTest::newRow("sip, port restricted") << "SIP"
                                          << "nat-port-restricted"
                                          << "198.51.100.7"
                                          << "SIP"
                                          << "Port Restricted Cone";
    QTest::newRow("direct rtp, unknown word") << "RTP"
                                              << "nat-bogus"
                                              << ""
                                              << "Direct RTP"
                                              << "Unknown";
    QTest::newRow("multicast, empty word") << "MC"
                                           << ""
                                           << ""
                                           << "Multicast"
                                           << "Unknown";
    QTest::newRow("unknown mode, open") << "XYZ"
                                        << "nat-open"
                                        << "10.0.0.1"
                                        << "SIP"
                                        << "Open Access";
}

void TestConnectionStatus::aoipStatusFromRead()
{
    QFETCH(QString, audioMode);
    QFETCH(QString, natWord);
    QFETCH(QString, publicAddress);
    QFETCH(QString, protocol);
    QFETCH(QString, natText);

    const QString network = QStringLiteral("network");
    m_fake->setValue(QStringLiteral("audio_mode"), audioMode, network, QStringLiteral("aoip"));
    m_fake->setValue(QStringLiteral("sip_user2"), QString(), network, QStringLiteral("aoip"));
    m_fake->setValue(QStringLiteral("stun_nat_type"), natWord, network);
    m_fake->setValue(QStringLiteral("public_addr"), publicAddress, network);
    m_fake->clearLog();

    buildPage(kPageAoipStatus);
    QVantelMenuItems *page = m_page->currentPage();
    QVERIFY(page && page->id() == kPageAoipStatus);
    QVERIFY(m_page->header()->isRefreshVisible());
    QCOMPARE(page->findItem(kRowAoipDefaultProtocol)->valueText(), protocol);
    QCOMPARE(page->findItem(kRowAoipSipUser1)->valueText(), QStringLiteral("studio1"));
    QCOMPARE(page->findItem(kRowAoipSipUser2)->valueText(), QString());
    QCOMPARE(page->findItem(kRowAoipPublicAddress)->valueText(), publicAddress);
    QCOMPARE(page->findItem(kRowAoipNatType)->valueText(), natText);
    for (const int id : {kRowAoipDefaultProtocol,
                         kRowAoipSipUser1,
                         kRowAoipSipUser2,
                         kRowAoipPublicAddress,
                         kRowAoipNatType})
        QVERIFY(page->findItem(id)->isReadOnly());
    QVERIFY(!m_fake->requests().isEmpty());

    // Refresh reads again; a failed read keeps what the model held.
    m_fake->setReplyHook(
        failReadOf({QStringLiteral("stun_nat_type"), QStringLiteral("audio_mode")}));
    m_fake->setValue(QStringLiteral("public_addr"), QStringLiteral("192.0.2.1"), network);
    refreshPage(page);
    QCOMPARE(page->findItem(kRowAoipNatType)->valueText(), natText);
    QCOMPARE(page->findItem(kRowAoipPublicAddress)->valueText(), publicAddress);
}

QTEST_MAIN(TestConnectionStatus)
#include "tst_connectionstatus.moc"
