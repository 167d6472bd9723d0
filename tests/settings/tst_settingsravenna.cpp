#include "settings/qvantelsettingspage.h"

#include "link/ccom.h"
#include "link/comclient.h"
#include "link/sharedobjects.h"
#include "model/accesslevel.h"
#include "model/comravennacontroller.h"
#include "model/deviceoptionword.h"
#include "model/firmwareversion.h"
#include "settings/settingsids.h"
#include "tests/settings/settingspagerig.h"
#include "tests/support/demoarea.h"
#include "tests/support/fakequorix.h"
#include "widgets/qvantelmenuheader.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuitems.h"
#include "widgets/qvantelmessage.h"

#include <QGridLayout>
#include <QLabel>
#include <QTest>

#include <memory>
#include <optional>

namespace {

const QString kAudio = QStringLiteral("audio");
const QString kFailed = QStringLiteral("Failed to apply changes!");
// A refusal cause as the unit words it: a failure code, then its text.
const QString kBusy = QStringLiteral("115-resource busy");
const QString kPowerCycle = QStringLiteral("Changes take effect after\nthe next power cycle");

} // namespace

// The audio-over-IP module pages against the demo unit's module: what each page shows after its
// read, which keys Apply sends, and what a refused write leaves behind.
class TestSettingsRavenna : public QObject, private SettingsPageRig
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void modulePage();
    void moduleRowsFollowMakerAndFirmware_data();
    void moduleRowsFollowMakerAndFirmware();
    void moduleRateNotListed();
    void moduleCommits();
    void moduleUnreadUntilARefreshReads();

    void addressApplySendsChangedKeys();
    void addressRefusedThenRetried();

    void outputPage();
    void outputLockAndApply();
    void outputPortLimits_data();
    void outputPortLimits();
    void outputRefusedThenRetried();
    void outputPortsOfTheModuleNeverBlock();
    void rowsComparedAsShown_data();
    void rowsComparedAsShown();

    void inputsPage();
    void receiverDelay();
    void streamPagePicksAndApplies();
    void streamChannelLimit();
    void streamChannelsOutOfRange_data();
    void streamChannelsOutOfRange();
    void streamRefusedThenRetried();

private:
    QVantelMenuItems *current() const { return m_page->currentPage(); }
    QVantelMenuItem *row(int id) const;
    QString text(int id) const { return row(id) ? row(id)->valueText() : QStringLiteral("<none>"); }
    // The keys of every PARAM set with "target" "audio" since the log was cleared.
    QStringList sentKeys() const;
    void commitText(int id, const QString &value);
    void commitSwitch(int id, bool on);
    void commitChoice(int id, int value);
};

void TestSettingsRavenna::init()
{
    deviceOptionWord = 0;
    QVERIFY(startUnit(installDemoRavenna, AccessLevel::Administrator, 0x10e00));
    showPage();
    QVERIFY(connectClient());
    QVERIFY(ravennaController()->startWithIdentity());
}

void TestSettingsRavenna::cleanup()
{
    stopUnit();
    deviceOptionWord = 0;
}

QVantelMenuItem *TestSettingsRavenna::row(int id) const
{
    QVantelMenuItems *page = current();
    return page ? page->findItem(id) : nullptr;
}

QStringList TestSettingsRavenna::sentKeys() const
{
    QStringList keys;
    for (const FakeRequest &request : m_fake->requests()) {
        if (request.message.type != FakeMessage::Param || request.target() != kAudio)
            continue;
        for (const auto &pair : request.message.params) {
            if (pair.first != QLatin1String("target"))
                keys << pair.first;
        }
    }
    return keys;
}

void TestSettingsRavenna::commitText(int id, const QString &value)
{
    QVantelMenuItem *item = row(id);
    QVERIFY(item);
    item->setValueText(value);
    m_page->itemCommitted(item);
}

void TestSettingsRavenna::commitSwitch(int id, bool on)
{
    QVantelMenuItem *item = row(id);
    QVERIFY(item);
    item->setChecked(on);
    m_page->itemCommitted(item);
}

void TestSettingsRavenna::commitChoice(int id, int value)
{
    QVantelMenuItem *item = row(id);
    QVERIFY(item);
    QVERIFY(item->selectValue(value, true, true) >= 0);
    m_page->itemCommitted(item);
}

// --- Module page ---------------------------------------------------------------------------------

void TestSettingsRavenna::modulePage()
{
    QVERIFY(buildPage(kPageRavenna));
    QCOMPARE(current()->id(), kPageRavenna);
    QVERIFY(m_page->header()->isRefreshVisible());
    QCOMPARE(text(kRowRavennaDeviceName), QStringLiteral("Quorix-Studio"));
    QVERIFY(!row(kRowRavennaDeviceName)->isReadOnly());
    QCOMPARE(text(kRowRavennaSampleRate), QStringLiteral("48 kHz"));
    QCOMPARE(row(kRowRavennaSampleRate)->values().at(0).text, QStringLiteral("44.1 kHz"));
    QCOMPARE(text(kRowRavennaResolution), QStringLiteral("24 bits"));
    QCOMPARE(text(kRowRavennaPtpDomain), QStringLiteral("0"));
    QCOMPARE(text(kRowRavennaNetMode), QStringLiteral("Switch (same network)"));
    QCOMPARE(row(kPageRavennaAddress1)->titleText(), QStringLiteral("IP Addressing (Interface 1)"));
    QCOMPARE(text(kPageRavennaAddress1), QStringLiteral("10.20.0.21 [ Static ]"));
    QCOMPARE(text(kPageRavennaAddress2), QStringLiteral("169.254.12.22 [ ZeroConf ]"));
    QCOMPARE(
        text(kPageRavennaInputs),
        QStringLiteral("Stream 1 [ Receiving ]\nStream 2 [ Receiving / Receiving (No Sync) ]"));
    QCOMPARE(text(kPageRavennaOutput), QStringLiteral("Quorix Out [ Transmitting ]"));
    QCOMPARE(text(kRowRavennaLockState), QStringLiteral("Locked"));
    QVERIFY(!row(kRowRavennaSyncState));
    QCOMPARE(text(kRowRavennaLinkState), QStringLiteral("Active / Disconnected"));
    QCOMPARE(text(kRowRavennaPtpState), QStringLiteral("Slave / Listening"));
    QCOMPARE(text(kRowRavennaMaintenanceRevision), QStringLiteral("1.2.3"));
    QVERIFY(row(kRowRavennaLinkState)->isReadOnly());

    // An Operator sees the name read-only; an unknown controller locks every editable row.
    accessLevel = AccessLevel::Operator;
    refreshPage(current());
    QVERIFY(row(kRowRavennaDeviceName)->isReadOnly());
    QVERIFY(!row(kRowRavennaSampleRate)->isReadOnly());
    ravennaController()->reset();
    m_fake->clearLog();
    refreshPage(current());
    QVERIFY(sentKeys().isEmpty());
    QCOMPARE(m_fake->requestCount(), 0);
    for (const int id : {kRowRavennaDeviceName,
                         kRowRavennaSampleRate,
                         kRowRavennaResolution,
                         kRowRavennaPtpDomain,
                         kRowRavennaNetMode,
                         kPageRavennaAddress1,
                         kPageRavennaAddress2,
                         kPageRavennaInputs,
                         kPageRavennaOutput})
        QVERIFY2(row(id)->isReadOnly(), qPrintable(QString::number(id)));
}

void TestSettingsRavenna::moduleRowsFollowMakerAndFirmware_data()
{
    QTest::addColumn<QString>("maker");
    QTest::addColumn<int>("firmware");
    QTest::addColumn<bool>("moreSlots");
    QTest::addColumn<QList<int>>("present");
    QTest::addColumn<QList<int>>("absent");
    QTest::addColumn<int>("summaryLines");

    QTest::newRow("merging 1.10.0") << "Merging" << 0x10a00 << false
                                    << QList<int>{kRowRavennaPtpDomain,
                                                  kRowRavennaLockState,
                                                  kRowRavennaMaintenanceRevision,
                                                  kPageRavennaInputs}
                                    << QList<int>{kRowRavennaNetMode, kRowRavennaSyncState} << 2;
    QTest::newRow("merging 1.10.1") << "merging tech" << 0x10a01 << false
                                    << QList<int>{kRowRavennaNetMode} << QList<int>{} << 2;
    QTest::newRow("merging 1.9") << "Merging" << 0x10900 << false
                                 << QList<int>{kRowRavennaSyncState}
                                 << QList<int>{kRowRavennaNetMode,
                                               kRowRavennaLockState,
                                               kRowRavennaMaintenanceRevision}
                                 << 2;
    QTest::newRow("audinate") << "Audinate" << 0x10f00 << false
                              << QList<int>{kRowRavennaFirmwareVersion}
                              << QList<int>{kRowRavennaPtpDomain,
                                            kRowRavennaNetMode,
                                            kPageRavennaInputs,
                                            kPageRavennaOutput,
                                            kRowRavennaMaintenanceRevision}
                              << 0;
    QTest::newRow("more slots 1.7.1")
        << "ArchWave" << 0x10701 << true << QList<int>{kRowRavennaPtpDomain}
        << QList<int>{kPageRavennaInputs, kPageRavennaOutput, kRowRavennaNetMode} << 0;
    QTest::newRow("more slots 1.7.2")
        << "ArchWave" << 0x10702 << true << QList<int>{kPageRavennaInputs, kPageRavennaOutput}
        << QList<int>{} << 5;
    QTest::newRow("more slots 1.13") << "Other" << 0x10d00 << true << QList<int>{kPageRavennaInputs}
                                     << QList<int>{kRowRavennaFirmwareVersion} << 6;
}

void TestSettingsRavenna::moduleRowsFollowMakerAndFirmware()
{
    QFETCH(QString, maker);
    QFETCH(int, firmware);
    QFETCH(bool, moreSlots);
    QFETCH(QList<int>, present);
    QFETCH(QList<int>, absent);
    QFETCH(int, summaryLines);

    m_fake->setValue(QStringLiteral("rav_manufacturer"), maker, kAudio);
    firmwareVersion = quint32(firmware);
    deviceOptionWord = moreSlots ? 0x200 : 0;
    QVERIFY(ravennaController()->startWithIdentity());
    m_fake->clearLog();
    QVERIFY(buildPage(kPageRavenna));
    for (const int id : present)
        QVERIFY2(row(id), qPrintable(QString::number(id)));
    for (const int id : absent)
        QVERIFY2(!row(id), qPrintable(QString::number(id)));
    if (summaryLines > 0)
        QCOMPARE(text(kPageRavennaInputs).split(QLatin1Char('\n')).size(), summaryLines);
    if (maker == QLatin1String("Audinate")) {
        for (const FakeRequest &request : m_fake->requests()) {
            QVERIFY(!request.isGetOf(QStringLiteral("rav_ptp_domain")));
            QVERIFY(!request.isGetOf(QStringLiteral("rav_status_in0")));
            QVERIFY(!request.isGetOf(QStringLiteral("rav_name_ou")));
        }
    }
}

void TestSettingsRavenna::moduleRateNotListed()
{
    m_fake->setValue(QStringLiteral("rav_sample_rate"), QStringLiteral("88200"), kAudio);
    QVERIFY(buildPage(kPageRavenna));
    QCOMPARE(text(kRowRavennaSampleRate), QStringLiteral("88.2 kHz"));
    QVERIFY(!row(kRowRavennaSampleRate)->currentValue());
}

void TestSettingsRavenna::moduleCommits()
{
    QVERIFY(buildPage(kPageRavenna));
    m_fake->clearLog();

    // An empty name is refused without a request and the row shows the module's name again.
    commitText(kRowRavennaDeviceName, QString());
    QCOMPARE(messageText(), kFailed);
    QCOMPARE(text(kRowRavennaDeviceName), QStringLiteral("Quorix-Studio"));
    commitText(kRowRavennaPtpDomain, QStringLiteral("x1"));
    QCOMPARE(text(kRowRavennaPtpDomain), QStringLiteral("0"));
    QVERIFY(sentKeys().isEmpty());

    commitChoice(kRowRavennaNetMode, TComRavennaController::NetModeRedundant);
    QCOMPARE(sentKeys(), QStringList{QStringLiteral("rav_net_mode")});
    QCOMPARE(m_fake->value(QStringLiteral("rav_net_mode"), kAudio), QStringLiteral("redund"));
    QCOMPARE(messageText(), kPowerCycle);

    // A refused rate puts the module's rate back.
    m_fake->refuseKey(QStringLiteral("rav_sample_rate"), kBusy);
    commitChoice(kRowRavennaSampleRate, 96000);
    QCOMPARE(messageText(), kFailed);
    QCOMPARE(text(kRowRavennaSampleRate), QStringLiteral("48 kHz"));
    QCOMPARE(ravennaController()->sampleRate(), 48000);
    QVERIFY(!m_page->header()->isModified());
}

void TestSettingsRavenna::moduleUnreadUntilARefreshReads()
{
    auto failing = std::make_shared<bool>(true);
    auto *demo = m_fake->findChild<DemoUnit *>();
    QVERIFY(demo);
    demo->addFirstHandler([failing](const FakeRequest &request) -> std::optional<QList<FakeReply>> {
        if (*failing && request.isGetOf(QStringLiteral("rav_sample_rate")))
            return QList<FakeReply>{FakeReply::errorReply(3)};
        return std::nullopt;
    });

    // The module's values were never read: no row shows a default as the module's, and none
    // can be changed; the pages below still open.
    QVERIFY(buildPage(kPageRavenna));
    QCOMPARE(text(kRowRavennaSampleRate), QStringLiteral("Unknown"));
    QVERIFY(row(kRowRavennaSampleRate)->isReadOnly());
    QCOMPARE(text(kRowRavennaPtpDomain), QString());
    QVERIFY(row(kRowRavennaPtpDomain)->isReadOnly());
    QCOMPARE(text(kPageRavennaAddress1), QString());
    QVERIFY(!row(kPageRavennaAddress1)->isReadOnly());
    QCOMPARE(text(kRowRavennaLockState), QString());

    // A refresh that reads brings the rows back, with their entries.
    *failing = false;
    m_page->refreshRavennaPage(current());
    QCOMPARE(text(kRowRavennaSampleRate), QStringLiteral("48 kHz"));
    QVERIFY(row(kRowRavennaSampleRate)->currentValue());
    QVERIFY(!row(kRowRavennaSampleRate)->isReadOnly());
    QCOMPARE(row(kRowRavennaSampleRate)->values().at(0).text, QStringLiteral("44.1 kHz"));
    QCOMPARE(text(kRowRavennaPtpDomain), QStringLiteral("0"));
    QVERIFY(!row(kRowRavennaPtpDomain)->isReadOnly());
    QCOMPARE(text(kRowRavennaDeviceName), QStringLiteral("Quorix-Studio"));
    QVERIFY(!row(kRowRavennaDeviceName)->isReadOnly());
    QCOMPARE(text(kPageRavennaAddress1), QStringLiteral("10.20.0.21 [ Static ]"));
    QCOMPARE(text(kRowRavennaLockState), QStringLiteral("Locked"));
}

// --- Addressing pages
// ------------------------------------------------------------------------------

void TestSettingsRavenna::addressApplySendsChangedKeys()
{
    QVERIFY(buildPage(kPageRavennaAddress1));
    QVERIFY(!row(kRowRavennaDhcp)->isChecked());
    QCOMPARE(text(kRowRavennaIpAddress), QStringLiteral("10.20.0.21"));
    QVERIFY(!row(kRowRavennaIpAddress)->isReadOnly());
    QVERIFY(row(kRowRavennaMacAddress)->isReadOnly());
    m_fake->clearLog();

    commitText(kRowRavennaGateway, QString());
    QVERIFY(m_page->header()->isModified());
    m_page->applyClicked();
    QCOMPARE(sentKeys(), QStringList{QStringLiteral("rav_gateway")});
    QCOMPARE(m_fake->value(QStringLiteral("rav_gateway"), kAudio), QString());
    QCOMPARE(messageText(), kPowerCycle);
    QVERIFY(!m_page->header()->isModified());

    // DHCP on locks the address rows and sends only the mode.
    m_fake->clearLog();
    commitSwitch(kRowRavennaDhcp, true);
    QVERIFY(row(kRowRavennaIpAddress)->isReadOnly());
    m_page->applyClicked();
    QCOMPARE(sentKeys(), QStringList{QStringLiteral("rav_dhcp")});
    QCOMPARE(m_fake->value(QStringLiteral("rav_dhcp"), kAudio), QStringLiteral("on"));

    // The second interface is ZeroConf: switch on, addresses locked, nothing to send; switching
    // it off writes the suffixed key only.
    QVERIFY(buildPage(kPageRavennaAddress2));
    QVERIFY(row(kRowRavennaDhcp)->isChecked());
    QVERIFY(row(kRowRavennaIpAddress)->isReadOnly());
    m_fake->clearLog();
    m_page->applyClicked();
    QVERIFY(sentKeys().isEmpty());
    commitSwitch(kRowRavennaDhcp, false);
    m_page->applyClicked();
    QCOMPARE(sentKeys(), QStringList{QStringLiteral("rav_dhcp1")});
}

void TestSettingsRavenna::addressRefusedThenRetried()
{
    QVERIFY(buildPage(kPageRavennaAddress2));
    m_fake->clearLog();
    m_fake->refuseKey(QStringLiteral("rav_dhcp1"), kBusy);
    commitSwitch(kRowRavennaDhcp, false);
    m_page->applyClicked();
    QCOMPARE(messageText(), kFailed);
    QVERIFY(m_page->header()->isModified());
    // The controller still holds what the module has: ZeroConf.
    QCOMPARE(ravennaController()->netInterface(1).dhcp, int(TComRavennaController::DhcpZeroconf));

    m_fake->acceptKey(QStringLiteral("rav_dhcp1"));
    m_fake->clearLog();
    m_page->applyClicked();
    QCOMPARE(sentKeys(), QStringList{QStringLiteral("rav_dhcp1")});
    QCOMPARE(messageText(), kPowerCycle);
    QCOMPARE(ravennaController()->netInterface(1).dhcp, int(TComRavennaController::DhcpOff));

    // The demo module refuses an address that is not one; the old address stays in the model.
    QVERIFY(buildPage(kPageRavennaAddress1));
    commitText(kRowRavennaIpAddress, QStringLiteral("10.20.0.300"));
    m_page->applyClicked();
    QCOMPARE(messageText(), kFailed);
    QCOMPARE(ravennaController()->netInterface(0).ipAddr, std::string("10.20.0.21"));
}

// --- Output stream page
// ------------------------------------------------------------------------------

void TestSettingsRavenna::outputPage()
{
    QVERIFY(buildPage(kPageRavennaOutput));
    QCOMPARE(text(kRowOutputStreamName), QStringLiteral("Quorix Out"));
    QVERIFY(row(kRowOutputTransmit)->isChecked());
    QCOMPARE(text(kRowOutputInterfaces), QStringLiteral("Interface 1"));
    QVERIFY(row(kRowOutputInterface1Caption)->isHidden());
    QVERIFY(row(kRowOutputAutoconf2)->isHidden());
    QCOMPARE(text(kRowOutputMcPort1), QStringLiteral("5004"));
    QCOMPARE(text(kRowOutputChannelCount), QStringLiteral("2"));
    QCOMPARE(text(kRowOutputPacketTime), QStringLiteral("1.000 ms"));
    QCOMPARE(row(kRowOutputAutoconf1)->grid()->contentsMargins().left(), 10);

    // Both interfaces: the refresh after Apply shows the second interface and indents the first.
    m_fake->setValue(QStringLiteral("rav_ptime_ou"), QStringLiteral("0.125"), kAudio);
    m_fake->clearLog();
    commitChoice(kRowOutputInterfaces, 2);
    QVERIFY(m_page->header()->isModified());
    m_page->applyClicked();
    QCOMPARE(sentKeys().first(), QStringLiteral("rav_netif_ou"));
    QVERIFY(!row(kRowOutputInterface1Caption)->isHidden());
    QVERIFY(!row(kRowOutputAutoconf2)->isHidden());
    QCOMPARE(row(kRowOutputAutoconf1)->grid()->contentsMargins().left(), 60);
    QCOMPARE(text(kRowOutputPacketTime), QStringLiteral("0.125 ms"));
    QVERIFY(row(kRowOutputMcAddr2)->isReadOnly()); // interface 2 is auto-configured

    // An Operator cannot rename the stream but can switch it.
    accessLevel = AccessLevel::Operator;
    m_page->refreshRavennaOutputPage(current());
    QVERIFY(row(kRowOutputStreamName)->isReadOnly());
    QVERIFY(!row(kRowOutputTransmit)->isReadOnly());

    // A single-interface module has no interface rows and never reads rav_netif_ou.
    m_fake->setValue(QStringLiteral("rav_if_count"), QStringLiteral("1"), kAudio);
    QVERIFY(ravennaController()->startWithIdentity());
    m_fake->clearLog();
    QVERIFY(buildPage(kPageRavennaOutput));
    for (const int id : {kRowOutputInterfaces,
                         kRowOutputInterface1Caption,
                         kRowOutputInterface2Caption,
                         kRowOutputAutoconf2,
                         kRowOutputMcAddr2,
                         kRowOutputMcPort2})
        QVERIFY(!row(id));
    for (const FakeRequest &request : m_fake->requests())
        QVERIFY(!request.isGetOf(QStringLiteral("rav_netif_ou")));
}

void TestSettingsRavenna::outputLockAndApply()
{
    QVERIFY(buildPage(kPageRavennaOutput));
    m_fake->clearLog();

    // Auto configuration locks the address and port at once; Apply sends only the switch.
    commitText(kRowOutputMcAddr1, QStringLiteral("239.1.1.1"));
    commitSwitch(kRowOutputAutoconf1, true);
    QVERIFY(row(kRowOutputMcAddr1)->isReadOnly());
    QVERIFY(row(kRowOutputMcPort1)->isReadOnly());
    m_page->applyClicked();
    QCOMPARE(sentKeys(), QStringList{QStringLiteral("rav_autoconf_ou")});

    // A cleared name is never sent; a changed port is.
    m_fake->clearLog();
    commitSwitch(kRowOutputAutoconf1, false);
    QVERIFY(!row(kRowOutputMcPort1)->isReadOnly());
    commitText(kRowOutputStreamName, QString());
    commitText(kRowOutputMcPort1, QStringLiteral("5006"));
    m_page->applyClicked();
    QCOMPARE(sentKeys(),
             (QStringList{QStringLiteral("rav_autoconf_ou"), QStringLiteral("rav_mc_port_ou")}));
    QCOMPARE(m_fake->value(QStringLiteral("rav_mc_port_ou"), kAudio), QStringLiteral("5006"));

    // Under the page lock the switch is locked too, whatever it shows.
    ravennaController()->reset();
    m_page->refreshRavennaOutputPage(current());
    QVERIFY(row(kRowOutputAutoconf1)->isReadOnly());
    QVERIFY(row(kRowOutputMcAddr1)->isReadOnly());
    QVERIFY(!pageHasChanges(current()));
}

void TestSettingsRavenna::outputPortLimits_data()
{
    QTest::addColumn<QString>("port");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("-1") << "-1" << false;
    QTest::newRow("0") << "0" << false;
    QTest::newRow("70000") << "70000" << false;
    QTest::newRow("65536") << "65536" << false;
    QTest::newRow("text") << "port" << false;
    QTest::newRow("1") << "1" << true;
    QTest::newRow("65535") << "65535" << true;
}

void TestSettingsRavenna::outputPortLimits()
{
    QFETCH(QString, port);
    QFETCH(bool, accepted);
    QVERIFY(buildPage(kPageRavennaOutput));
    m_fake->clearLog();
    commitSwitch(kRowOutputTransmit, false);
    commitText(kRowOutputMcPort1, port);
    m_page->applyClicked();
    if (accepted) {
        QCOMPARE(sentKeys(),
                 (QStringList{QStringLiteral("rav_mc_port_ou"), QStringLiteral("rav_mode_ou")}));
        QCOMPARE(ravennaController()->txDestination(0).mcPort, port.toInt());
    } else {
        QCOMPARE(messageText(), kFailed);
        QVERIFY(sentKeys().isEmpty());
        QCOMPARE(ravennaController()->txDestination(0).mcPort, 5004);
        QVERIFY(ravennaController()->modeOu());
    }
}

void TestSettingsRavenna::outputPortsOfTheModuleNeverBlock()
{
    // The module reports port 0 on both interfaces; interface 2's rows are hidden.
    m_fake->setValue(QStringLiteral("rav_mc_port_ou"), QStringLiteral("0"), kAudio);
    m_fake->setValue(QStringLiteral("rav_autoconf_ou1"), QStringLiteral("off"), kAudio);
    m_fake->setValue(QStringLiteral("rav_mc_port_ou1"), QStringLiteral("0"), kAudio);
    QVERIFY(buildPage(kPageRavennaOutput));
    QCOMPARE(text(kRowOutputMcPort1), QStringLiteral("0"));
    QVERIFY(row(kRowOutputMcPort2)->isHidden() && !row(kRowOutputMcPort2)->isReadOnly());
    m_fake->clearLog();
    commitSwitch(kRowOutputTransmit, false);
    QVERIFY(m_page->header()->isModified());
    m_page->applyClicked();
    QCOMPARE(sentKeys(), QStringList{QStringLiteral("rav_mode_ou")});
    QVERIFY(!m_page->header()->isModified());

    // A port the user types that is no port marks the page, and Apply refuses it.
    commitText(kRowOutputMcPort1, QStringLiteral("50x0"));
    QVERIFY(m_page->header()->isModified());
    m_fake->clearLog();
    m_page->applyClicked();
    QCOMPARE(messageText(), kFailed);
    QVERIFY(sentKeys().isEmpty());
    QVERIFY(m_page->header()->isModified());
}

void TestSettingsRavenna::rowsComparedAsShown_data()
{
    QTest::addColumn<int>("pageId");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("held");
    QTest::addColumn<int>("rowId");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("changed");
    QTest::addColumn<QStringList>("sent");

    // The module's own port in another form that is no port is a port typed: refused.
    QTest::newRow("port 0 as 00") << kPageRavennaOutput << "rav_mc_port_ou"
                                  << "0" << kRowOutputMcPort1 << "00" << true << QStringList();
    // The same port in another form is the same port.
    QTest::newRow("port with blanks")
        << kPageRavennaOutput << "rav_mc_port_ou"
        << "5004" << kRowOutputMcPort1 << " 5004 " << false << QStringList();
    // A character beyond Latin-1 differs from the '?' it is sent as.
    QTest::newRow("address beyond Latin-1")
        << kPageRavennaAddress1 << "rav_ip_addr"
        << "10.20.0.2?" << kRowRavennaIpAddress << QStringLiteral("10.20.0.2\u20ac") << true
        << QStringList{QStringLiteral("rav_ip_addr")};
}

// Rows are compared with the module's values as the page shows them.
void TestSettingsRavenna::rowsComparedAsShown()
{
    QFETCH(int, pageId);
    QFETCH(QString, key);
    QFETCH(QString, held);
    QFETCH(int, rowId);
    QFETCH(QString, typed);
    QFETCH(bool, changed);
    QFETCH(QStringList, sent);

    m_fake->setValue(key, held, kAudio);
    QVERIFY(buildPage(pageId));
    QCOMPARE(text(rowId), held);
    commitText(rowId, typed);
    QCOMPARE(pageHasChanges(current()), changed);
    m_fake->clearLog();
    m_page->applyClicked();
    QCOMPARE(sentKeys(), sent);
    if (changed && sent.isEmpty())
        QCOMPARE(messageText(), kFailed);
}

void TestSettingsRavenna::outputRefusedThenRetried()
{
    QVERIFY(buildPage(kPageRavennaOutput));
    m_fake->clearLog();
    commitText(kRowOutputStreamName, QStringLiteral("Studio Out"));
    commitText(kRowOutputMcAddr1,
               QStringLiteral("10.1.1.1")); // the demo module refuses a unicast address
    m_page->applyClicked();
    QCOMPARE(messageText(), kFailed);
    QVERIFY(m_page->header()->isModified());
    QCOMPARE(ravennaController()->nameOu(), std::string("Quorix Out"));
    QCOMPARE(ravennaController()->txDestination(0).mcAddr, std::string("239.20.0.21"));

    commitText(kRowOutputMcAddr1, QStringLiteral("239.9.9.9"));
    m_fake->clearLog();
    m_page->applyClicked();
    QCOMPARE(sentKeys(),
             (QStringList{QStringLiteral("rav_mc_addr_ou"), QStringLiteral("rav_name_ou")}));
    QCOMPARE(m_fake->value(QStringLiteral("rav_name_ou"), kAudio), QStringLiteral("Studio Out"));
    QVERIFY(!m_page->header()->isModified());
}

// --- Input streams
// ---------------------------------------------------------------------------------

void TestSettingsRavenna::inputsPage()
{
    QVERIFY(buildPage(kPageRavennaInputs));
    QCOMPARE(row(kPageStreamFirst)->titleText(), QStringLiteral("Input Stream 1"));
    QCOMPARE(text(kPageStreamFirst), QStringLiteral("Studio A [ Channel 1 ]"));
    QCOMPARE(text(kPageStreamFirst + 1), QStringLiteral("None"));
    QVERIFY(!row(kPageStreamFirst + 2));
    QCOMPARE(row(kRowReceiverDelay)->titleText(),
             QStringLiteral("Receiver Delay (1..24000 samples)"));
    QCOMPARE(text(kRowReceiverDelay), QStringLiteral("Automatic"));
    QVERIFY(!row(kRowReceiverDelay)->isReadOnly());

    deviceOptionWord = 0x200;
    firmwareVersion = 0x10d00;
    QVERIFY(buildPage(kPageRavennaInputs));
    QVERIFY(row(kPageStreamLast));
    QVERIFY(row(kRowReceiverDelay)->isReadOnly());
}

void TestSettingsRavenna::receiverDelay()
{
    QVERIFY(buildPage(kPageRavennaInputs));
    m_fake->clearLog();
    for (const QString &refused :
         {QStringLiteral("0"), QStringLiteral("24001"), QStringLiteral("x")}) {
        commitText(kRowReceiverDelay, refused);
        QCOMPARE(messageText(), kFailed);
        QCOMPARE(text(kRowReceiverDelay), QStringLiteral("Automatic"));
    }
    QVERIFY(sentKeys().isEmpty());
    commitText(kRowReceiverDelay, QStringLiteral("480"));
    QCOMPARE(sentKeys(), QStringList{QStringLiteral("rav_delay_in")});
    QCOMPARE(ravennaController()->delayIn(), 480);
}

void TestSettingsRavenna::streamPagePicksAndApplies()
{
    QVERIFY(buildPage(kPageRavennaInputs));
    QVERIFY(buildPage(kPageStreamFirst + 1));
    QVERIFY(!m_page->header()->isRefreshVisible());
    QCOMPARE(row(kRowStreamId)->values().size(), 3);
    QCOMPARE(row(kRowStreamChannel)->values().size(), 0);
    QCOMPARE(text(kRowStreamMode), QStringLiteral("Multicast"));
    QVERIFY(row(kRowStreamMode)->isReadOnly());

    // Nothing edited: nothing sent, no message.
    m_fake->clearLog();
    QCOMPARE(applyPage(current()), SettingsApplied::Done);
    QVERIFY(sentKeys().isEmpty());

    // Picking a stream lists its channels at once.
    commitChoice(kRowStreamId, 102);
    QCOMPARE(row(kRowStreamChannel)->values().size(), 8);
    commitChoice(kRowStreamChannel, 5);
    QVERIFY(m_page->header()->isModified());
    m_page->applyClicked();
    QCOMPARE(sentKeys(), QStringList{QStringLiteral("rav_stream_in1")});
    QCOMPARE(m_fake->value(QStringLiteral("rav_stream_in1"), kAudio),
             QStringLiteral("102/5/Studio B"));
    QVERIFY(!m_page->header()->isModified());

    // Back on the list the slot shows what was written.
    m_page->backClicked();
    QCOMPARE(text(kPageStreamFirst + 1), QStringLiteral("Studio B [ Channel 6 ]"));
}

void TestSettingsRavenna::streamChannelLimit()
{
    // Channel 4 of a two-channel stream: its last channel is 1.
    m_fake->setValue(QStringLiteral("rav_stream_in0"), QStringLiteral("101/4/Studio A"), kAudio);
    QVERIFY(buildPage(kPageRavennaInputs));
    QVERIFY(buildPage(kPageStreamFirst));
    QCOMPARE(m_page->ravennaStreamEdit.channel, 1);
    QCOMPARE(text(kRowStreamChannel), QStringLiteral("2"));
    QVERIFY(m_page->header()->isModified());

    // A stream the module no longer lists leaves the channel row empty; Apply, with nothing to
    // write, asks for a refresh.
    m_fake->setValue(QStringLiteral("rav_stream_in1"), QStringLiteral("104/0/Old Feed"), kAudio);
    m_page->backClicked();
    QVERIFY(buildPage(kPageStreamFirst + 1));
    QCOMPARE(row(kRowStreamChannel)->values().size(), 0);
    QCOMPARE(text(kRowStreamChannel), QString());
    m_fake->clearLog();
    m_page->applyClicked();
    QVERIFY(sentKeys().isEmpty());
    QCOMPARE(text(kRowStreamChannel), QStringLiteral("Press refresh before selecting a channel"));
    QVERIFY(m_page->header()->isRefreshVisible());
    m_page->backClicked();

    // Channel 9 of an eight-channel stream: the page opens on channel 8, marked, and Apply
    // writes the correction.
    m_fake->setValue(QStringLiteral("rav_stream_in1"), QStringLiteral("102/8/Studio B"), kAudio);
    m_page->refreshRavennaInputsPage(current());
    QCOMPARE(text(kPageStreamFirst + 1), QStringLiteral("Studio B [ Channel 9 ]"));
    QVERIFY(buildPage(kPageStreamFirst + 1));
    QCOMPARE(text(kRowStreamChannel), QStringLiteral("8"));
    QVERIFY(m_page->header()->isModified());
    m_fake->clearLog();
    m_page->applyClicked();
    QCOMPARE(m_fake->value(QStringLiteral("rav_stream_in1"), kAudio),
             QStringLiteral("102/7/Studio B"));
    QVERIFY(!m_page->header()->isModified());
    m_page->backClicked();
    QCOMPARE(text(kPageStreamFirst + 1), QStringLiteral("Studio B [ Channel 8 ]"));
}

void TestSettingsRavenna::streamChannelsOutOfRange_data()
{
    QTest::addColumn<QString>("listed");
    QTest::addColumn<QString>("slot");
    QTest::addColumn<QString>("slotText");
    QTest::addColumn<int>("channels");
    QTest::addColumn<int>("edited");
    // What the slot holds after an Apply: the corrected channel, or the unit's own reference
    // where nothing needed correcting.
    QTest::addColumn<QString>("applied");
    // A stream offers at most 64 channels, whatever count the module lists.
    QTest::newRow("1000 channels") << "101/1000/Studio A"
                                   << "101/900/Studio A"
                                   << "Studio A [ Channel 901 ]" << 64 << 63 << "101/63/Studio A";
    QTest::newRow("INT_MAX channels")
        << "101/2147483647/Studio A"
        << "101/2147483647/Studio A"
        << "Studio A [ Channel 2147483648 ]" << 64 << 63 << "101/63/Studio A";
    QTest::newRow("INT_MIN channels") << "101/-2147483648/Studio A"
                                      << "101/0/Studio A"
                                      << "Studio A [ Channel 1 ]" << 0 << 0 << "101/0/Studio A";
    // A channel below the first is the first.
    QTest::newRow("channel -1") << "101/2/Studio A"
                                << "101/-1/Studio A"
                                << "Studio A [ Channel 0 ]" << 2 << 0 << "101/0/Studio A";
    QTest::newRow("channel INT_MIN")
        << "101/2/Studio A"
        << "101/-2147483648/Studio A"
        << "Studio A [ Channel -2147483647 ]" << 2 << 0 << "101/0/Studio A";
}

void TestSettingsRavenna::streamChannelsOutOfRange()
{
    QFETCH(QString, listed);
    QFETCH(QString, slot);
    QFETCH(QString, slotText);
    QFETCH(int, channels);
    QFETCH(int, edited);
    QFETCH(QString, applied);
    auto *demo = m_fake->findChild<DemoUnit *>();
    QVERIFY(demo);
    demo->addFilter(overrideValues({{QStringLiteral("rav_stream_in"), listed}}));
    m_fake->setValue(QStringLiteral("rav_stream_in0"), slot, kAudio);
    QVERIFY(buildPage(kPageRavennaInputs));
    QCOMPARE(text(kPageStreamFirst), slotText);
    m_fake->clearLog();
    QVERIFY(buildPage(kPageStreamFirst));
    QCOMPARE(row(kRowStreamChannel)->values().size(), channels);
    QCOMPARE(m_page->ravennaStreamEdit.channel, edited);
    QVERIFY(sentKeys().isEmpty());

    // Apply writes the corrected channel, never one below the first.
    m_page->applyClicked();
    QCOMPARE(m_fake->value(QStringLiteral("rav_stream_in0"), kAudio), applied);
    for (const FakeRequest &request : m_fake->requests()) {
        if (request.has(QStringLiteral("rav_stream_in0")))
            QVERIFY(!request.value(QStringLiteral("rav_stream_in0")).contains(QLatin1String("/-")));
    }
}

void TestSettingsRavenna::streamRefusedThenRetried()
{
    QVERIFY(buildPage(kPageRavennaInputs));
    QVERIFY(buildPage(kPageStreamFirst));
    commitChoice(kRowStreamId, 103);
    m_fake->refuseKey(QStringLiteral("rav_stream_in0"), kBusy);
    m_fake->clearLog();
    m_page->applyClicked();
    QCOMPARE(messageText(), kFailed);
    QVERIFY(m_page->header()->isModified());
    QCOMPARE(ravennaController()->streamIn(0).name, std::string("Studio A"));

    m_fake->acceptKey(QStringLiteral("rav_stream_in0"));
    m_fake->clearLog();
    m_page->applyClicked();
    QCOMPARE(sentKeys(), QStringList{QStringLiteral("rav_stream_in0")});
    QCOMPARE(m_fake->value(QStringLiteral("rav_stream_in0"), kAudio),
             QStringLiteral("103/0/Newsroom"));
}

QTEST_MAIN(TestSettingsRavenna)
#include "tst_settingsravenna.moc"
