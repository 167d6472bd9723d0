#include "settings/qvantelsettingspage.h"

#include "link/ccom.h"
#include "link/cmsg.h"
#include "link/comclient.h"
#include "link/sharedobjects.h"
#include "model/accesslevel.h"
#include "model/comdevice.h"
#include "model/firmwareversion.h"
#include "settings/settingsids.h"
#include "tests/settings/settingspagerig.h"
#include "tests/support/demounit.h"
#include "tests/support/fakequorix.h"
#include "widgets/qvantellocalize.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuitems.h"
#include "widgets/qvantelmenupalette.h"

#include <QLabel>
#include <QTest>

#include <functional>
#include <memory>

namespace {

const QString kGeneral = QStringLiteral("general");
const QString kNetwork = QStringLiteral("network");
const QString kMobile = QStringLiteral("mobile.0");
const QString kWifi = QStringLiteral("wifi.0");
const QString kNotAvailable = QStringLiteral("Not Available");
// A key the unit refuses is missing from its answer; one it has no value for comes back empty.
const QString kRefused = QStringLiteral("102-unknown parameter");

QColor valueColor(const QVantelMenuItem *row)
{
    return row->valueLabel()->palette().color(QPalette::WindowText);
}

} // namespace

// The Status page and the network interface status rows and pages, against the demo unit.
class TestStatusMenu : public QObject, private SettingsPageRig
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void rowsFollowNetworksAndOptions_data();
    void rowsFollowNetworksAndOptions();
    void modeAndCodecRows_data();
    void modeAndCodecRows();
    void aboutAndAoipRows();
    void remoteAccessRow_data();
    void remoteAccessRow();
    void refreshedOnCodingEventsOnly();

    void ethernetRow_data();
    void ethernetRow();
    void mobileRow_data();
    void mobileRow();
    void mobileStatusPageIgnoresSimState();
    void wifiRow_data();
    void wifiRow();
    void interfaceRowAfterFailedRead();
    void interfaceRowsKeepToTheirFamily();

private:
    // Connects to the demo unit (after adjust changed it) and loads the model.
    bool start(const std::function<void(FakeQuorix &)> &adjust = {});
    QVantelMenuItems *openStatus();
    QVantelMenuItem *row(int id) const;
    QString text(int id) const;
};

void TestStatusMenu::init()
{
    QVERIFY(startDemoUnit(AccessLevel::Administrator, kFirmware2_0));
}

void TestStatusMenu::cleanup()
{
    stopUnit();
}

bool TestStatusMenu::start(const std::function<void(FakeQuorix &)> &adjust)
{
    if (adjust)
        adjust(*m_fake);
    if (!connectPage(refreshDevice))
        return false;
    m_fake->clearLog();
    return true;
}

QVantelMenuItems *TestStatusMenu::openStatus()
{
    m_page->showEntry(kPageStatus, 0);
    QVantelMenuItems *page = m_page->currentPage();
    return page && page->id() == kPageStatus ? page : nullptr;
}

QVantelMenuItem *TestStatusMenu::row(int id) const
{
    QVantelMenuItems *page = m_page->currentPage();
    return page ? page->findItem(id) : nullptr;
}

QString TestStatusMenu::text(int id) const
{
    const QVantelMenuItem *item = row(id);
    return item ? item->valueText() : QStringLiteral("<no row %1>").arg(id);
}

void TestStatusMenu::rowsFollowNetworksAndOptions_data()
{
    QTest::addColumn<QStringList>("networks");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<QString>("serviceTitle");

    const QList<int> head = {
        -1, kRowStatusMode, kRowStatusCodec1, kRowStatusCodec2, kPageConnections, kPageAoipStatus};
    const QList<int> tail = {kRowStatusRemoteAccess,
                             -1,
                             kRowStatusSerialNumber,
                             kRowStatusFirmwareVersion,
                             kRowStatusAoipVersion,
                             kRowStatusSoftwareBuild};
    QTest::newRow("no interface") << QStringList{QStringLiteral("aoip")} << QStringList{}
                                  << head + tail << QStringLiteral("Remote Assistance Service");
    // Families in the order Ethernet, mobile, Wi-Fi; no gap rows, no ISDN row.
    QTest::newRow("gaps and every family") << QStringList{QStringLiteral("aoip"),
                                                          QStringLiteral("wifi.1"),
                                                          QStringLiteral("eth.2"),
                                                          QStringLiteral("isdn.0"),
                                                          QStringLiteral("mobile.0"),
                                                          QStringLiteral("eth.0")}
                                           << QStringList{QStringLiteral("remote_access_1")}
                                           << head
                                                  + QList<int>{kRowStatusEthernetFirst,
                                                               kRowStatusEthernetFirst + 2,
                                                               kPageMobileStatusFirst,
                                                               kRowStatusWifiFirst + 1}
                                                  + tail
                                           << QStringLiteral("Remote Access Service");
}

void TestStatusMenu::rowsFollowNetworksAndOptions()
{
    QFETCH(QStringList, networks);
    QFETCH(QStringList, options);
    QFETCH(QList<int>, rows);
    QFETCH(QString, serviceTitle);
    QVERIFY(start(
        [&](FakeQuorix &fake) { fake.setList(QStringLiteral("device_opts"), options, kGeneral); }));
    // The list is read again when the page is built.
    m_fake->setList(kNetwork, networks, kNetwork);
    QVantelMenuItems *page = openStatus();
    QVERIFY(page);

    QList<int> ids;
    for (const QVantelMenuItem *item : page->items())
        ids << item->id();
    QCOMPARE(ids, rows);
    QCOMPARE(row(kRowStatusRemoteAccess)->titleText(), serviceTitle);
    for (const int id :
         {kRowStatusEthernetFirst, kRowStatusEthernetFirst + 2, kRowStatusWifiFirst + 1})
        QVERIFY(!row(id) || row(id)->isReadOnly());
    if (row(kPageMobileStatusFirst)) {
        QCOMPARE(row(kPageMobileStatusFirst)->kind(), int(QVantelMenuItem::Navigation));
        QVERIFY(!row(kPageMobileStatusFirst)->isReadOnly());
        QCOMPARE(row(kPageMobileStatusFirst)->titleText(), QVantelLocalize::interfaceName(0x300));
        QCOMPARE(row(kRowStatusEthernetFirst + 2)->titleText(),
                 QVantelLocalize::interfaceName(0x102));
    }
    QVERIFY(row(kRowStatusMode)->isReadOnly());
}

void TestStatusMenu::modeAndCodecRows_data()
{
    QTest::addColumn<int>("codecMode");
    QTest::addColumn<int>("coordination");
    QTest::addColumn<QString>("coding1");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("codec2Title");
    QTest::addColumn<int>("codec2"); // 0 not applicable, 1 coder 2's coding, 2 mobile voice

    const QString mono = QStringLiteral("MPA2/48000/mono/128000/0");
    const QString stereo = QStringLiteral("MPA2/48000/stereo/256000/0");
    const QString ethernet = QVantelLocalize::interfaceName(0x100);
    QTest::newRow("single") << 0 << 0 << mono << QStringLiteral("Single Codec")
                            << QStringLiteral("Codec 2") << 0;
    QTest::newRow("single stereo")
        << 0 << 0 << stereo << QStringLiteral("Single Codec") << QStringLiteral("Codec 2") << 0;
    QTest::newRow("coordination (routing 8)")
        << 0 << 1 << mono << QStringLiteral("Single Codec and Mobile Voice Coordination")
        << QStringLiteral("Codec 2 [ %1 ]").arg(QVantelLocalize::interfaceName(0x300)) << 2;
    QTest::newRow("double codec") << 1 << 0 << mono << QStringLiteral("Double Codec")
                                  << QStringLiteral("Codec 2 [ %1 ]").arg(ethernet) << 1;
}

void TestStatusMenu::modeAndCodecRows()
{
    QFETCH(int, codecMode);
    QFETCH(int, coordination);
    QFETCH(QString, coding1);
    QFETCH(QString, mode);
    QFETCH(QString, codec2Title);
    QFETCH(int, codec2);
    QVERIFY(start());
    TComDevice *device = comDevice();
    QVERIFY(device->setCodecMode(codecMode, false));
    QVERIFY(device->setCoordinationMode(coordination, false));
    QVERIFY(device->setCodec(1, coding1.toStdString(), false));
    QVERIFY(openStatus());

    QCOMPARE(text(kRowStatusMode), mode);
    QCOMPARE(row(kRowStatusCodec1)->titleText(),
             QStringLiteral("Codec 1 [ %1 ]").arg(QVantelLocalize::interfaceName(0x100)));
    QCOMPARE(text(kRowStatusCodec1), QVantelLocalize::codingSummary(device->coder1()));
    QCOMPARE(row(kRowStatusCodec2)->titleText(), codec2Title);
    const QString expected = codec2 == 0   ? QStringLiteral("Not applicable in single codec mode")
                             : codec2 == 1 ? QVantelLocalize::codingSummary(device->coder2())
                                           : QVantelLocalize::codecName(17);
    QCOMPARE(text(kRowStatusCodec2), expected);
}

void TestStatusMenu::aboutAndAoipRows()
{
    // A unit that does not report its build date, has no AoIP version and runs direct RTP.
    QVERIFY(start([](FakeQuorix &fake) {
        fake.setValue(QStringLiteral("aoip_version"), QString(), kNetwork);
        fake.setValue(
            QStringLiteral("audio_mode"), QStringLiteral("RTP"), kNetwork, QStringLiteral("aoip"));
    }));
    m_fake->refuseKey(QStringLiteral("builddate"), kRefused);
    QVERIFY(openStatus());
    QCOMPARE(text(kRowStatusSerialNumber), m_fake->value(QStringLiteral("serialno"), kGeneral));
    QCOMPARE(text(kRowStatusFirmwareVersion), m_fake->value(QStringLiteral("version"), kGeneral));
    QCOMPARE(text(kRowStatusAoipVersion), kNotAvailable);
    QCOMPARE(text(kRowStatusSoftwareBuild), kNotAvailable);
    QCOMPARE(text(kPageConnections), QStringLiteral("Status of the audio connections"));
    QCOMPARE(text(kPageAoipStatus), QStringLiteral("Default Protocol is Direct RTP"));
    QCOMPARE(valueColor(row(kPageAoipStatus)), QVantelMenuPalette::kGrey);

    // The About values are read once; a failed re-read of the mode keeps the one held.
    m_fake->acceptKey(QStringLiteral("builddate"));
    m_fake->refuseKey(QStringLiteral("audio_mode"), kRefused);
    m_page->refreshClicked();
    QCOMPARE(text(kRowStatusSoftwareBuild), kNotAvailable);
    QCOMPARE(text(kPageAoipStatus), QStringLiteral("Default Protocol is Direct RTP"));
    m_fake->acceptKey(QStringLiteral("audio_mode"));
    m_fake->setValue(QStringLiteral("audio_mode"),
                     QStringLiteral("unknown_mode"),
                     kNetwork,
                     QStringLiteral("aoip"));
    m_page->refreshClicked();
    QCOMPARE(text(kPageAoipStatus), QStringLiteral("Default Protocol is SIP"));
}

void TestStatusMenu::remoteAccessRow_data()
{
    QTest::addColumn<QString>("access"); // "-" refused
    QTest::addColumn<QString>("status"); // "-" refused
    QTest::addColumn<QString>("shown");

    const QString absent = QStringLiteral("-");
    QTest::newRow("not reported") << absent << QStringLiteral("connected") << kNotAvailable;
    QTest::newRow("off, status ignored")
        << QStringLiteral("off") << QStringLiteral("connected") << QStringLiteral("Disabled");
    QTest::newRow("on, no status") << QStringLiteral("on") << absent << kNotAvailable;
    QTest::newRow("connected") << QStringLiteral("on") << QStringLiteral("connected")
                               << QStringLiteral("Connection Established");
    QTest::newRow("capital C") << QStringLiteral("on") << QStringLiteral("Connected")
                               << QStringLiteral("Not Connected or Failure");
    QTest::newRow("not set, processing")
        << QString() << QStringLiteral("processing") << QStringLiteral("Connection in Progress");
    QTest::newRow("empty status") << QStringLiteral("on") << QString()
                                  << QStringLiteral("Not Connected or Failure");
}

void TestStatusMenu::remoteAccessRow()
{
    QFETCH(QString, access);
    QFETCH(QString, status);
    QFETCH(QString, shown);
    QVERIFY(start());
    const auto put = [this](const QString &key, const QString &value) {
        if (value == QLatin1String("-"))
            m_fake->refuseKey(key, kRefused);
        else if (value.isEmpty())
            m_fake->removeValue(key, kGeneral);
        else
            m_fake->setValue(key, value, kGeneral);
    };
    put(QStringLiteral("remote_access"), access);
    put(QStringLiteral("remote_access_status"), status);
    QVERIFY(openStatus());
    QCOMPARE(text(kRowStatusRemoteAccess), shown);
}

void TestStatusMenu::refreshedOnCodingEventsOnly()
{
    QVERIFY(start());
    QVERIFY(openStatus());
    QCOMPARE(text(kRowStatusRemoteAccess), QStringLiteral("Disabled"));
    const auto event = [this](const char *type) {
        ksm::CMsg message(ksm::CMsg::Event);
        message.setParam("event_type", type);
        m_page->configurationEvent(message);
    };

    m_fake->setValue(QStringLiteral("remote_access"), QStringLiteral("on"), kGeneral);
    event("secondary_network");
    QCOMPARE(text(kRowStatusRemoteAccess), QStringLiteral("Disabled"));
    event("default_codec");
    QCOMPARE(text(kRowStatusRemoteAccess), QStringLiteral("Connection Established"));
    m_fake->setValue(QStringLiteral("remote_access"), QStringLiteral("off"), kGeneral);
    event("default_network");
    QCOMPARE(text(kRowStatusRemoteAccess), QStringLiteral("Disabled"));
}

void TestStatusMenu::ethernetRow_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("shown");

    QTest::newRow("dhcp") << QStringLiteral("dhcp") << QStringLiteral("192.168.1.20")
                          << QStringLiteral("1000baseT-FD")
                          << QStringLiteral("192.168.1.20 [ DHCP, 1000BaseT-FD ]");
    QTest::newRow("unknown mode word")
        << QStringLiteral("static") << QStringLiteral("10.0.0.9") << QStringLiteral("10baseT-HD")
        << QStringLiteral("10.0.0.9 [ Unknown, 10BaseT-HD ]");
    QTest::newRow("pppoe, no link") << QStringLiteral("pppoe") << QString() << QString()
                                    << QStringLiteral("[ PPPoE, Unknown ]");
}

void TestStatusMenu::ethernetRow()
{
    QFETCH(QString, mode);
    QFETCH(QString, address);
    QFETCH(QString, link);
    QFETCH(QString, shown);
    QVERIFY(start());
    const QString eth1 = QStringLiteral("eth.1");
    m_fake->setValue(QStringLiteral("mode"), mode, kNetwork, eth1);
    m_fake->setValue(QStringLiteral("local_addr"), address, kNetwork, eth1);
    m_fake->setValue(QStringLiteral("link_mode_neg"), link, kNetwork, eth1);
    QVERIFY(openStatus());
    QCOMPARE(text(kRowStatusEthernetFirst + 1), shown);
    QCOMPARE(text(kRowStatusEthernetFirst), QStringLiteral("192.168.1.40 [ DHCP, 100BaseT-FD ]"));

    // A configuration report for eth.1 while the page shows re-reads that row alone.
    m_fake->setValue(QStringLiteral("local_addr"), QStringLiteral("10.9.9.9"), kNetwork, eth1);
    m_fake->setValue(QStringLiteral("local_addr"),
                     QStringLiteral("10.8.8.8"),
                     kNetwork,
                     QStringLiteral("eth.0"));
    ksm::CMsg event(ksm::CMsg::Event);
    event.setParam("event_type", "config info");
    event.setParam("network", "eth.1");
    event.setParam("local_addr", "10.9.9.9");
    m_page->configurationEvent(event);
    QVERIFY(text(kRowStatusEthernetFirst + 1).startsWith(QStringLiteral("10.9.9.9 [ ")));
    QVERIFY(text(kRowStatusEthernetFirst).startsWith(QStringLiteral("192.168.1.40 [ ")));
}

void TestStatusMenu::mobileRow_data()
{
    QTest::addColumn<QString>("pinCause"); // empty: the PIN is ready
    QTest::addColumn<QString>("technology");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("registrationRead");

    QTest::newRow("LTE") << QString() << QStringLiteral("LTE")
                         << QStringLiteral("Current network is 4G/LTE [ Demo Telecom ]") << true;
    QTest::newRow("UMTS word") << QString() << QStringLiteral("UMTS")
                               << QStringLiteral("Current network is 3G [ Demo Telecom ]") << true;
    QTest::newRow("not registered")
        << QString() << QString() << QStringLiteral("Not Registered on the network") << true;
    QTest::newRow("SIM missing") << QStringLiteral("010-sim missing") << QStringLiteral("LTE")
                                 << QStringLiteral("SIM Missing") << false;
    QTest::newRow("SIM locked") << QStringLiteral("011-sim locked") << QStringLiteral("LTE")
                                << QStringLiteral("SIM Locked") << false;
    QTest::newRow("PIN required") << QStringLiteral("122-pin required") << QStringLiteral("LTE")
                                  << QStringLiteral("PIN Required") << false;
}

void TestStatusMenu::mobileRow()
{
    QFETCH(QString, pinCause);
    QFETCH(QString, technology);
    QFETCH(QString, shown);
    QFETCH(bool, registrationRead);
    QVERIFY(start());
    m_fake->setValue(QStringLiteral("pin"), QStringLiteral("ready"), kNetwork, kMobile);
    // A modem without a usable SIM answers neither question of the registration check.
    if (!pinCause.isEmpty()) {
        m_fake->refuseKey(QStringLiteral("pin"), pinCause);
        m_fake->refuseKey(QStringLiteral("registration_state"), pinCause);
    }
    m_fake->setValue(QStringLiteral("technology"), technology, kNetwork, kMobile);
    QVERIFY(openStatus());
    QCOMPARE(text(kPageMobileStatusFirst), shown);
    QCOMPARE(valueColor(row(kPageMobileStatusFirst)), QVantelMenuPalette::kGrey);
    bool read = false;
    for (const FakeRequest &request : m_fake->requests())
        read = read || request.isGetOf(QStringLiteral("operator_long"));
    QCOMPARE(read, registrationRead);
}

void TestStatusMenu::mobileStatusPageIgnoresSimState()
{
    QVERIFY(start());
    m_fake->setValue(QStringLiteral("pin"), QStringLiteral("ready"), kNetwork, kMobile);
    m_fake->refuseKey(QStringLiteral("pin"), QStringLiteral("010-sim missing"));
    m_fake->refuseKey(QStringLiteral("registration_state"), QStringLiteral("010-sim missing"));
    m_fake->setValue(
        QStringLiteral("data_connection_state"), QStringLiteral("active"), kNetwork, kMobile);
    QVERIFY(openStatus());
    QCOMPARE(text(kPageMobileStatusFirst), QStringLiteral("SIM Missing"));

    // The row opens the interface's own page, which shows what the read returns.
    m_page->itemClicked(row(kPageMobileStatusFirst));
    QVantelMenuItems *page = m_page->currentPage();
    QVERIFY(page && page->id() == kPageMobileStatusFirst);
    QList<int> ids;
    for (const QVantelMenuItem *item : page->items()) {
        ids << item->id();
        QVERIFY(item->isReadOnly());
    }
    QCOMPARE(ids,
             QList<int>({kRowMobileStatusTechnology,
                         kRowMobileStatusOperator,
                         kRowMobileStatusSignal,
                         kRowMobileStatusDataService}));
    QCOMPARE(text(kRowMobileStatusTechnology), QStringLiteral("4G/LTE"));
    QCOMPARE(text(kRowMobileStatusOperator), QStringLiteral("Demo Telecom"));
    QCOMPARE(text(kRowMobileStatusSignal), QStringLiteral("-71 dBm"));
    QCOMPARE(text(kRowMobileStatusDataService), QStringLiteral("Connection Established"));

    // Refresh reads again.
    m_fake->setValue(
        QStringLiteral("signal_quality_dbm"), QStringLiteral("-90 dBm"), kNetwork, kMobile);
    m_fake->setValue(
        QStringLiteral("data_connection_state"), QStringLiteral("sleeping"), kNetwork, kMobile);
    m_page->refreshClicked();
    QCOMPARE(text(kRowMobileStatusSignal), QStringLiteral("-90 dBm"));
    QCOMPARE(text(kRowMobileStatusDataService), QStringLiteral("Disabled"));
}

void TestStatusMenu::wifiRow_data()
{
    QTest::addColumn<QString>("ssid");
    QTest::addColumn<QString>("connection");
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("shown");

    QTest::newRow("no SSID") << QString() << QStringLiteral("on") << QStringLiteral("active")
                             << QStringLiteral("10.1.1.5")
                             << QStringLiteral("No network configured");
    QTest::newRow("off, failure") << QStringLiteral("Studio") << QStringLiteral("off")
                                  << QStringLiteral("failure") << QStringLiteral("10.1.1.5")
                                  << QStringLiteral("Studio [ Not Connected or Failure ]");
    QTest::newRow("off, idle") << QStringLiteral("Studio") << QStringLiteral("off") << QString()
                               << QString() << QStringLiteral("Studio [ Not active ]");
    QTest::newRow("on, no address")
        << QStringLiteral("Studio") << QStringLiteral("on") << QStringLiteral("active") << QString()
        << QStringLiteral("Studio [ Connection Established, -67 dBm ]");
    QTest::newRow("on, address") << QStringLiteral("Studio") << QStringLiteral("on")
                                 << QStringLiteral("processing") << QStringLiteral("10.1.1.5")
                                 << QStringLiteral("Studio [ 10.1.1.5, -67 dBm ]");
}

void TestStatusMenu::wifiRow()
{
    QFETCH(QString, ssid);
    QFETCH(QString, connection);
    QFETCH(QString, state);
    QFETCH(QString, address);
    QFETCH(QString, shown);
    QVERIFY(start());
    m_fake->setValue(QStringLiteral("ssid"), ssid, kNetwork, kWifi);
    m_fake->setValue(QStringLiteral("data_connection"), connection, kNetwork, kWifi);
    m_fake->setValue(QStringLiteral("data_connection_state"), state, kNetwork, kWifi);
    m_fake->setValue(QStringLiteral("local_addr"), address, kNetwork, kWifi);
    QVERIFY(openStatus());
    QCOMPARE(text(kRowStatusWifiFirst), shown);
}

// The page's Ethernet edit copy holds eth.0's values with an unknown state (reset, then read);
// when eth.1 cannot be read, its row shows nothing of eth.0, and no blank for the missing address.
void TestStatusMenu::interfaceRowAfterFailedRead()
{
    QVERIFY(start());
    QVERIFY(openStatus());
    m_page->refreshEthernetStatusRow(m_page->currentPage(), kRowStatusEthernetFirst);
    QCOMPARE(text(kRowStatusEthernetFirst), QStringLiteral("192.168.1.40 [ DHCP, 100BaseT-FD ]"));

    m_page->editEthernet.reset();
    QVERIFY(m_page->editEthernet.read({"mode", "local_addr", "link_mode_neg"}));
    QCOMPARE(m_page->editEthernet.networkId(), std::string("eth.0"));
    QCOMPARE(m_page->editEthernet.state(), int(TComController::StateUnknown));

    m_fake->setReplyHook([](const FakeRequest &request) -> std::optional<QList<FakeReply>> {
        if (request.network() == QLatin1String("eth.1") && !request.gets().isEmpty())
            return QList<FakeReply>{FakeReply::errorReply(3)};
        return std::nullopt;
    });
    m_page->refreshEthernetStatusRow(m_page->currentPage(), kRowStatusEthernetFirst + 1);
    QCOMPARE(text(kRowStatusEthernetFirst + 1), QStringLiteral("[ Unknown, Unknown ]"));
}

// A configuration report for eth.4 (the unit lists no such row) would land on row 285 + 4, the
// first mobile row; Ethernet and Wi-Fi fillers only ever touch rows of their own family.
void TestStatusMenu::interfaceRowsKeepToTheirFamily()
{
    QVERIFY(start());
    const QString eth4 = QStringLiteral("eth.4");
    m_fake->setValue(QStringLiteral("mode"), QStringLiteral("dhcp"), kNetwork, eth4);
    m_fake->setValue(QStringLiteral("local_addr"), QStringLiteral("10.4.4.4"), kNetwork, eth4);
    QVantelMenuItems *page = openStatus();
    QVERIFY(page && row(kPageMobileStatusFirst));
    const QString mobile = text(kPageMobileStatusFirst);
    const QColor mobileColour
        = QVantelMenuPalette::textColor(row(kPageMobileStatusFirst)->valueLabel());

    ksm::CMsg event(ksm::CMsg::Event);
    event.setParam("event_type", "config info");
    event.setParam("network", "eth.4");
    event.setParam("local_addr", "10.4.4.4");
    m_page->configurationEvent(event);
    m_page->refreshWifiStatusRow(page, kPageMobileStatusFirst);
    QCOMPARE(text(kPageMobileStatusFirst), mobile);
    QCOMPARE(QVantelMenuPalette::textColor(row(kPageMobileStatusFirst)->valueLabel()),
             mobileColour);
}

QTEST_MAIN(TestStatusMenu)
#include "tst_statusmenu.moc"
