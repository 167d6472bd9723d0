#include "settings/qvantelsettingspage.h"

#include "link/ccom.h"
#include "link/cmsg.h"
#include "link/comclient.h"
#include "link/sharedobjects.h"
#include "model/accesslevel.h"
#include "model/comaoipcontroller.h"
#include "model/comaudioconnection.h"
#include "model/comdataconnection.h"
#include "model/comdevice.h"
#include "settings/settingsids.h"
#include "tests/settings/settingspagerig.h"
#include "tests/support/demoarea.h"
#include "tests/support/demonetworks.h"
#include "tests/support/fakequorix.h"
#include "widgets/qvantelmenuheader.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuitems.h"
#include "widgets/qvantelmenupalette.h"
#include "widgets/qvantelmenuselect.h"
#include "widgets/qvantelmenuselectable.h"
#include "widgets/qvantelmessage.h"

#include <QHash>
#include <QLabel>
#include <QTest>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <string>

namespace {

const QString kNetwork = QStringLiteral("network");
const QString kAudio = QStringLiteral("audio");
const QString kGeneral = QStringLiteral("general");

// The unit-wide keys the device model reads, for a single-codec unit in standard mode.
void scriptDevice(FakeQuorix &fake)
{
    fake.setList(QStringLiteral("device_opts"), {QStringLiteral("ip_dstream_1")}, kGeneral);
    fake.setValue(QStringLiteral("default_network"), QStringLiteral("eth.0"), kNetwork);
    fake.setValue(QStringLiteral("secondary_network"), QStringLiteral("eth.1"), kNetwork);
    fake.setValue(QStringLiteral("codec_mode"), QStringLiteral("cmode_normal"), kAudio);
    fake.setValue(QStringLiteral("coord_mode"), QStringLiteral("disabled"), kAudio);
    fake.setValue(QStringLiteral("codec"), QStringLiteral("MPA2/48000/mono/128000/0"), kAudio);
    fake.setValue(QStringLiteral("operation_mode"), QStringLiteral("standard"), kAudio);
    fake.setValue(QStringLiteral("dstream_mode"), QStringLiteral("disabled"), kAudio);
    fake.setValue(QStringLiteral("aes67_reset"), QStringLiteral("off"), kAudio);
}

// The value of a row's current entry; -99 when none is current.
int currentOf(const QVantelMenuItem *row)
{
    return row && row->currentValue() ? row->currentValue()->value : -99;
}

// "key=value" of every pair the requests since the log was cleared set on a network, in the
// order sent, routing words left out.
QStringList pairsSetOn(const FakeQuorix &fake, const QString &network)
{
    QStringList result;
    for (const FakeRequest &request : fake.requests()) {
        const bool routed = request.network() == network
                            || (network == QLatin1String("isdn.0") && request.target() == kAudio);
        if (request.message.type != FakeMessage::Param || !routed || !request.gets().isEmpty()
            || !request.lists().isEmpty()) {
            continue;
        }
        for (const auto &pair : request.message.params) {
            if (pair.first != QLatin1String("target") && pair.first != QLatin1String("network"))
                result << pair.first + QLatin1Char('=') + pair.second;
        }
    }
    return result;
}

// The same, sorted.
QStringList setsOn(const FakeQuorix &fake, const QString &network)
{
    QStringList result = pairsSetOn(fake, network);
    result.sort();
    return result;
}

using Settings = std::map<std::string, std::string>;

// A "config info" event of an Ethernet interface carrying the demo's settings of it, changed
// as given; with keysOnly, only the changes.
ksm::CMsg configInfo(const std::string &network, const Settings &changes, bool keysOnly = false)
{
    Settings values = {{"mode", "manual"},
                       {"local_addr", "10.0.0.40"},
                       {"subnet", "255.0.0.0"},
                       {"gateway", "10.0.0.1"},
                       {"dns1", "10.0.0.1"},
                       {"dns2", "10.0.0.2"},
                       {"cable", "plugged"}};
    if (network == "eth.0") {
        values = {{"mode", "dhcp"},
                  {"local_addr", "192.168.1.40"},
                  {"subnet", "255.255.255.0"},
                  {"gateway", "192.168.1.1"},
                  {"dns1", "192.168.1.1"},
                  {"dns2", ""},
                  {"cable", "plugged"}};
    }
    if (keysOnly)
        values.clear();
    for (const auto &[key, value] : changes)
        values[key] = value;
    ksm::CMsg event(ksm::CMsg::Event);
    event.setParam("event_type", "config info");
    event.setParam("network", network);
    for (const auto &[key, value] : values)
        event.setParam(key, value);
    return event;
}

// A row as the operator sees it: a switch "on" or "off", any other row its text; " (locked)"
// after a read-only row.
QString shownOf(const QVantelMenuItem *row)
{
    if (!row)
        return QStringLiteral("(no row)");
    QString text = row->kind() == QVantelMenuItem::Switch
                       ? (row->isChecked() ? QStringLiteral("on") : QStringLiteral("off"))
                       : row->valueText();
    if (row->isReadOnly())
        text += QStringLiteral(" (locked)");
    return text;
}

// The address text moved on by `by` in its last part; a text that is no address gives way to an
// address of its own.
QString otherAddress(const QString &text, int by)
{
    QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return QStringLiteral("10.9.8.%1").arg(by);
    parts[3] = QString::number((parts[3].toInt() + by - 1) % 254 + 1);
    return parts.join(QLatin1Char('.'));
}

// Gives the row another value as the operator does, committed: a switch flips, a choice row
// takes the entry after its current one, an entry row gets another address. False for a row of
// another kind.
bool editAsOperator(QVantelMenuItems *page, QVantelMenuItem *row)
{
    switch (row->kind()) {
    case QVantelMenuItem::Switch:
        row->setChecked(!row->isChecked());
        break;
    case QVantelMenuItem::Choice:
        if (!chooseNextValue(row))
            return false;
        break;
    case QVantelMenuItem::TextEntry:
    case QVantelMenuItem::NumericEntry:
        row->setValueText(otherAddress(row->valueText(), 1));
        break;
    default:
        return false;
    }
    page->commitItem(row);
    return true;
}

} // namespace

// The Network page and the four interface pages against the demo unit's interfaces.
class TestNetworkPages : public QObject, private SettingsPageRig
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void networkPage();
    void codecModeRow_data();
    void codecModeRow();
    void codecModeCommit();
    void applySendsChangedKeys_data();
    void applySendsChangedKeys();
    void everyRowInOneWrite_data();
    void everyRowInOneWrite();
    void refusedWriteIsSentAgain_data();
    void refusedWriteIsSentAgain();
    void valuesWithoutEntryStay();
    void wrongPinThenPinSave();
    void refusedPinNeverOpensTheSim();
    void wifiNetworkChoice();
    void wifiNamesGoBackAsListed();
    void isdnLocks();
    void isdnNi1OnlyWhileHeld();
    void isdnHalfRead();
    void ethernetEventRefresh();
    void ethernetEventKeepsEdits_data();
    void ethernetEventKeepsEdits();
    void ethernetEventKeepsEveryRow_data();
    void ethernetEventKeepsEveryRow();
    void applyWritesTheEditWhenAnEventComes_data();
    void applyWritesTheEditWhenAnEventComes();
    void eventOlderThanThePagesRead();
    void operatorScan();
    void outgoingAndSecondaryCommit_data();
    void outgoingAndSecondaryCommit();
    void secondaryNetworkRow();
    void mobileRowLabels_data();
    void mobileRowLabels();
    void navigationLocks();
    void aoipOnlyUnit();
    void operatorRowRefusals_data();
    void operatorRowRefusals();
    void operatorScanFails();
    void unusableSimLayout_data();
    void unusableSimLayout();
    void mobilePageLocks_data();
    void mobilePageLocks();

private:
    QVantelMenuItems *openPage(int id);
    QVantelMenuItem *row(int id) const;
    void commit(int id);
    // Accepts ssid in the network list's choice popup of the Wi-Fi page shown.
    void chooseNetwork(const QString &ssid);
    bool apply();
    bool asks(const QString &question) const;
    // A running link of the unit on network: an audio call, or else a data service.
    bool addLink(bool audio, const std::string &network);
    // The unit refuses a request for which causeOf gives a cause: "return" ERROR and that cause
    // for every name the request asks about or sets. Other requests as the demo unit.
    void refuseRequests(const std::function<QString(const FakeRequest &)> &causeOf);
    // The modems named answer every question about their SIM with the cause given, as a modem
    // without a usable SIM does.
    void refuseSims(const QHash<QString, QString> &causes);
    // A unit that offers double streaming on a second IP network, switched on.
    bool enableDoubleStreaming();
};

void TestNetworkPages::init()
{
    QVERIFY(startUnit(nullptr));
    fillNetworkDemo(*m_fake);
    scriptDevice(*m_fake);
    FakeQuorix *fake = m_fake.get();
    m_fake->setReplyHook(
        [fake](const FakeRequest &request) { return answerNetworkDemo(*fake, request); });
    QVERIFY(connectPage(refreshDevice));
}

void TestNetworkPages::cleanup()
{
    stopUnit();
}

QVantelMenuItems *TestNetworkPages::openPage(int id)
{
    // The network page is a root entry's; the interface pages open from its rows.
    if (id == kPageNetwork)
        m_page->createNetworkMenu();
    else
        buildPage(id);
    m_fake->clearLog();
    return m_page->currentPage();
}

QVantelMenuItem *TestNetworkPages::row(int id) const
{
    QVantelMenuItems *page = m_page->currentPage();
    return page ? page->findItem(id) : nullptr;
}

void TestNetworkPages::commit(int id)
{
    QVantelMenuItem *committed = row(id);
    QVERIFY(committed);
    committed->page()->commitItem(committed);
}

void TestNetworkPages::chooseNetwork(const QString &ssid)
{
    QVantelMenuSelect select;
    auto *entry = new QVantelMenuSelectable(1, &select);
    entry->label()->setText(ssid);
    select.addSelectable(entry);
    select.setCurrentSelectable(entry);
    m_page->selectionAccepted(row(kRowWifiList), &select);
}

bool TestNetworkPages::apply()
{
    // The mark is cleared only by an Apply that the unit took (or that had nothing to send).
    m_page->header()->setModified(true);
    m_page->applyClicked();
    return !m_page->header()->isModified();
}

bool TestNetworkPages::asks(const QString &question) const
{
    const QList<QVantelMessage *> messages = m_page->findChildren<QVantelMessage *>();
    for (const QVantelMessage *message : messages) {
        if (message->isVisible() && message->findChild<QLabel *>()->text() == question)
            return true;
    }
    return false;
}

bool TestNetworkPages::addLink(bool audio, const std::string &network)
{
    static int nextId = 5;
    TComBaseConnection *link = nullptr;
    if (audio) {
        auto *call = new TComAudioConnection(comClient(), TComBaseConnection::AudioLink1);
        call->attach(0, nextId++, network);
        link = call;
    } else {
        auto *data = new TComDataConnection(comClient());
        data->attach(nextId++, network, TComDataConnection::StateConnected);
        link = data;
    }
    if (comDevice()->addConnection(link))
        return true;
    delete link;
    return false;
}

void TestNetworkPages::refuseRequests(const std::function<QString(const FakeRequest &)> &causeOf)
{
    FakeQuorix *fake = m_fake.get();
    m_fake->setReplyHook(
        [fake, causeOf](const FakeRequest &request) -> std::optional<QList<FakeReply>> {
            const QString cause = causeOf(request);
            if (cause.isEmpty())
                return answerNetworkDemo(*fake, request);
            FakeMessage answer(FakeMessage::Param);
            answer.set(QStringLiteral("return"), QStringLiteral("ERROR"));
            for (const QString &name : request.gets() + request.lists())
                answer.set(name, cause);
            for (const auto &pair : request.message.params) {
                if (pair.first != QLatin1String("target") && pair.first != QLatin1String("network"))
                    answer.set(pair.first, cause);
            }
            return QList<FakeReply>{FakeReply::reply(answer)};
        });
}

void TestNetworkPages::refuseSims(const QHash<QString, QString> &causes)
{
    refuseRequests([causes](const FakeRequest &request) {
        return request.gets().contains(QStringLiteral("pin")) ? causes.value(request.network())
                                                              : QString();
    });
}

bool TestNetworkPages::enableDoubleStreaming()
{
    m_fake->setList(QStringLiteral("device_opts"), {QStringLiteral("ip_dstream_2")}, kGeneral);
    m_fake->setValue(QStringLiteral("dstream_mode"), QStringLiteral("enabled"), kAudio);
    return comDevice()->refresh();
}

void TestNetworkPages::networkPage()
{
    QVantelMenuItems *page = openPage(kPageNetwork);
    QCOMPARE(page->id(), kPageNetwork);
    // "aoip" is no network for outgoing calls; the unit's default one is current.
    QList<int> offered;
    for (const QVantelMenuItem::Value &value : row(kRowDefaultNetwork)->values())
        offered << value.value;
    QCOMPARE(offered, (QList<int>{0x100, 0x101, 0x200, 0x300, 0x400}));
    QCOMPARE(currentOf(row(kRowDefaultNetwork)), 0x100);
    // No multi-stream option: no secondary network row.
    QVERIFY(!row(kRowSecondaryNetwork));
    // The demo modem does mobile voice, so the coordination mode is offered.
    QCOMPARE(row(kRowCodecMode)->values().size(), 3);
    QCOMPARE(currentOf(row(kRowCodecMode)), 0);
    QVERIFY(row(kPageSip) && row(kPageIsdn) && row(kPageEthernetFirst)
            && row(kPageEthernetFirst + 1) && row(kPageWifiFirst));
    QCOMPARE(row(kPageEthernetFirst)->titleText(), QStringLiteral("LAN1 settings"));
    QCOMPARE(row(kPageMobileFirst)->titleText(), QStringLiteral("Mobile settings (Internal)"));
    QVERIFY(!row(kPageMobileFirst)->isHidden());
    QCOMPARE(row(kPageMobileFirst)->valueText(), QStringLiteral("PIN Required"));

    // The capabilities are read once per unit: again after a new login, not on a rebuild. The
    // mobile row needs the modem read as well; one opening reads it once.
    const auto modemReads = [this] {
        std::pair<int, int> count; // lists of modes, reads of the SIM state
        for (const FakeRequest &request : m_fake->requests()) {
            count.first += request.isListOf(QStringLiteral("mode")) ? 1 : 0;
            count.second += request.isGetOf(QStringLiteral("pin")) ? 1 : 0;
        }
        return count;
    };
    m_page->createNetworkMenu();
    QCOMPARE(modemReads(), std::make_pair(1, 1)); // the mobile row's own assignment
    m_fake->clearLog();
    m_page->loadPasswords();
    m_page->createNetworkMenu();
    QCOMPARE(modemReads(), std::make_pair(1, 1));
    // And after the link to the unit dropped.
    m_page->createNetworkMenu();
    comClient()->disconnect();
    QVERIFY(connectClient());
    m_fake->clearLog();
    m_page->createNetworkMenu();
    QCOMPARE(modemReads(), std::make_pair(1, 1));
}

void TestNetworkPages::codecModeRow_data()
{
    QTest::addColumn<QString>("operationMode");
    QTest::addColumn<QString>("codecMode");
    QTest::addColumn<QString>("coordination");
    QTest::addColumn<QString>("channels");
    QTest::addColumn<int>("expected");

    QTest::newRow("single") << "standard"
                            << "cmode_normal"
                            << "disabled"
                            << "mono" << 0;
    QTest::newRow("mono coordination") << "standard"
                                       << "cmode_normal"
                                       << "enabled"
                                       << "mono" << 2;
    QTest::newRow("stereo coordination, standard") << "standard"
                                                   << "cmode_normal"
                                                   << "enabled"
                                                   << "stereo" << 0;
    QTest::newRow("stereo coordination, extended") << "extended"
                                                   << "cmode_normal"
                                                   << "enabled"
                                                   << "stereo" << 2;
    QTest::newRow("double") << "standard"
                            << "cmode_double"
                            << "disabled"
                            << "mono" << 1;
    QTest::newRow("double stereo, standard") << "standard"
                                             << "cmode_double"
                                             << "disabled"
                                             << "stereo" << 0;
    QTest::newRow("double stereo, extended") << "extended"
                                             << "cmode_double"
                                             << "disabled"
                                             << "stereo" << 1;
}

void TestNetworkPages::codecModeRow()
{
    QFETCH(QString, operationMode);
    QFETCH(QString, codecMode);
    QFETCH(QString, coordination);
    QFETCH(QString, channels);
    QFETCH(int, expected);

    const QString codec = QStringLiteral("MPA2/48000/%1/128000/0").arg(channels);
    m_fake->setValue(QStringLiteral("operation_mode"), operationMode, kAudio);
    m_fake->setValue(QStringLiteral("codec_mode"), codecMode, kAudio);
    m_fake->setValue(QStringLiteral("coord_mode"), coordination, kAudio);
    m_fake->setValue(QStringLiteral("codec"), codec, kAudio);
    m_fake->setValue(QStringLiteral("dcodec_1"), codec, kAudio);
    QVERIFY(comDevice()->refresh());
    openPage(kPageNetwork);
    QCOMPARE(row(kRowCodecMode)->values().size(), 3);
    QCOMPARE(currentOf(row(kRowCodecMode)), expected);
}

void TestNetworkPages::codecModeCommit()
{
    m_fake->setValue(QStringLiteral("codec"), QStringLiteral("MPA2/48000/stereo/256000/0"), kAudio);
    m_fake->setList(
        QStringLiteral("bitrate"), {QStringLiteral("64000"), QStringLiteral("128000")}, kAudio);
    QVERIFY(comDevice()->refresh());
    openPage(kPageNetwork);
    row(kRowCodecMode)->selectValue(2, true, false);
    commit(kRowCodecMode);

    // Coder 1 first becomes mono at a rate the unit lists, then the coordination goes on.
    QCOMPARE(m_fake->value(QStringLiteral("codec"), kAudio),
             QStringLiteral("MPA2/48000/mono/64000/0"));
    QCOMPARE(m_fake->value(QStringLiteral("coord_mode"), kAudio), QStringLiteral("enabled"));
    QCOMPARE(currentOf(row(kRowCodecMode)), 2);

    // Refused: the row shows what the unit really has.
    m_fake->refuseKey(QStringLiteral("coord_mode"), QStringLiteral("116-invalid state"));
    row(kRowCodecMode)->selectValue(0, true, false);
    commit(kRowCodecMode);
    QCOMPARE(messageText(), QStringLiteral("Failed to apply changes!"));
    QCOMPARE(currentOf(row(kRowCodecMode)), 2);
}

void TestNetworkPages::applySendsChangedKeys_data()
{
    QTest::addColumn<int>("pageId");
    QTest::addColumn<std::function<void(QVantelSettingsPage *, QVantelMenuItems *)>>("edit");
    QTest::addColumn<QString>("network");
    QTest::addColumn<QStringList>("expected");

    const auto text = [](int id, const QString &value) {
        return [id, value](QVantelSettingsPage *, QVantelMenuItems *page) {
            page->findItem(id)->setValueText(value);
        };
    };
    const auto choose = [](int id, int value) {
        return [id, value](QVantelSettingsPage *, QVantelMenuItems *page) {
            page->findItem(id)->selectValue(value, true, false);
        };
    };
    const auto toggle = [](int id) {
        return [id](QVantelSettingsPage *, QVantelMenuItems *page) {
            QVantelMenuItem *row = page->findItem(id);
            row->setChecked(!row->isChecked());
            page->commitItem(row);
        };
    };
    using Edit = std::function<void(QVantelSettingsPage *, QVantelMenuItems *)>;

    QTest::newRow("manual: the gateway alone")
        << kPageEthernetFirst + 1 << Edit(text(kRowEthernetGateway, QStringLiteral("10.0.0.254")))
        << "eth.1" << QStringList{"gateway=10.0.0.254"};
    QTest::newRow("DHCP off: mode and every address")
        << kPageEthernetFirst << Edit(toggle(kRowEthernetDhcp)) << "eth.0"
        << QStringList{"dns1=192.168.1.1",
                       "dns2=",
                       "gateway=192.168.1.1",
                       "local_addr=192.168.1.40",
                       "mode=manual",
                       "subnet=255.255.255.0"};
    QTest::newRow("DHCP on: the mode alone")
        << kPageEthernetFirst + 1 << Edit(toggle(kRowEthernetDhcp)) << "eth.1"
        << QStringList{"mode=dhcp"};
    QTest::newRow("link mode") << kPageEthernetFirst << Edit(choose(kRowEthernetLinkMode, 7))
                               << "eth.0" << QStringList{"link_mode=10baseT-FD"};
    QTest::newRow("ISDN protocol locks the numbers")
        << kPageIsdn << Edit([](QVantelSettingsPage *, QVantelMenuItems *page) {
               page->findItem(kRowIsdnLocalNumber1)->setValueText(QStringLiteral("999"));
               page->findItem(kRowIsdnProtocol)->selectValue(1, true, false);
               page->commitItem(page->findItem(kRowIsdnProtocol));
           })
        << "isdn.0" << QStringList{"protocol=isdn_ni2"};
    QTest::newRow("ISDN 5AS goes to the audio target")
        << kPageIsdn << Edit(toggle(kRowIsdn5as)) << "isdn.0" << QStringList{"5as=on"};
    QTest::newRow("mobile APN") << kPageMobileFirst
                                << Edit(text(kRowMobileApn, QStringLiteral("apn.example")))
                                << "mobile.0" << QStringList{"apn=apn.example"};
    QTest::newRow("mobile operator chosen by name")
        << kPageMobileFirst << Edit([](QVantelSettingsPage *, QVantelMenuItems *page) {
               page->findItem(kRowMobileOperator)->setValueText(QStringLiteral("Demo Telecom"));
           })
        << "mobile.0" << QStringList{"plmn=Demo Telecom"};
    QTest::newRow("Wi-Fi WPA-PSK sends the custom authentication too")
        << kPageWifiFirst << Edit(choose(kRowWifiSecurity, 3)) << "wifi.0"
        << QStringList{"authentication=WPA-PSK", "authentication_custom=WPA-PSK"};
    QTest::newRow("Wi-Fi WPA2-PSK sends the custom authentication too")
        << kPageWifiFirst << Edit(choose(kRowWifiSecurity, 4)) << "wifi.0"
        << QStringList{"authentication=WPA2-PSK", "authentication_custom=WPA2-PSK"};
    QTest::newRow("Wi-Fi activation alone") << kPageWifiFirst << Edit(toggle(kRowWifiActive))
                                            << "wifi.0" << QStringList{"data_connection=on"};
}

void TestNetworkPages::applySendsChangedKeys()
{
    QFETCH(int, pageId);
    QFETCH(std::function<void(QVantelSettingsPage *, QVantelMenuItems *)>, edit);
    QFETCH(QString, network);
    QFETCH(QStringList, expected);

    if (pageId == kPageMobileFirst)
        m_fake->setValue(
            QStringLiteral("pin"), QStringLiteral("ready"), kNetwork, QStringLiteral("mobile.0"));
    // Automatic security, so that either WPA choice is a change (the demo runs WPA2-PSK).
    if (pageId == kPageWifiFirst) {
        for (const char *key : {"authentication", "authentication_custom"})
            m_fake->setValue(
                QLatin1String(key), QStringLiteral("auto"), kNetwork, QStringLiteral("wifi.0"));
    }
    QVantelMenuItems *page = openPage(pageId);
    QVERIFY(page);
    edit(m_page.get(), page);
    QVERIFY(apply());
    QCOMPARE(setsOn(*m_fake, network), expected);

    // Sent once: the edit copy now holds the rows' values.
    m_fake->clearLog();
    QVERIFY(apply());
    QCOMPARE(setsOn(*m_fake, network), QStringList());
}

void TestNetworkPages::everyRowInOneWrite_data()
{
    QTest::addColumn<int>("pageId");
    // "key=value" pairs the unit holds on the network before the page opens.
    QTest::addColumn<QStringList>("unit");
    QTest::addColumn<bool>("jitterBuffer");
    QTest::addColumn<QString>("network");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("ISDN, Euro ISDN to NI-2")
        << kPageIsdn << QStringList() << false << "isdn.0"
        << QStringList{"protocol=isdn_ni2", "spid=41", "5as=on"};
    QTest::newRow("ISDN, NI-2 to NTT")
        << kPageIsdn << QStringList{"protocol=isdn_ni2"} << false << "isdn.0"
        << QStringList{"addr_sb0_ch0=37",
                       "addr_sb0_ch1=38",
                       "protocol=isdn_ntt",
                       "subaddr_sb0_ch0=39",
                       "subaddr_sb0_ch1=40",
                       "5as=on"};
    QTest::newRow("Ethernet, DHCP to manual")
        << kPageEthernetFirst << QStringList() << false << "eth.0"
        << QStringList{"dns1=29",
                       "dns2=30",
                       "gateway=28",
                       "link_mode=100baseT-FD",
                       "local_addr=26",
                       "mode=manual",
                       "network_quality=middle",
                       "subnet=27"};
    QTest::newRow("Ethernet, manual to DHCP, AJB")
        << kPageEthernetFirst + 1 << QStringList() << true << "eth.1"
        << QStringList{"ajb_profile=punchy", "mode=dhcp"};
    QTest::newRow("mobile") << kPageMobileFirst << QStringList{"mode=gsm_voice"} << false
                            << "mobile.0"
                            << QStringList{"apn=row47-changed",
                                           "authentication=CHAP",
                                           "data_connection=on",
                                           "mode=data",
                                           "network_quality=low",
                                           "password=row50-changed",
                                           "pin_persistent=on",
                                           "plmn=row44-changed",
                                           "rat=only GSM",
                                           "username=row49-changed"};
    QTest::newRow("mobile, AJB") << kPageMobileFirst << QStringList() << true << "mobile.0"
                                 << QStringList{"ajb_profile=standard",
                                                "apn=row47-changed",
                                                "authentication=CHAP",
                                                "data_connection=on",
                                                "password=row50-changed",
                                                "pin_persistent=on",
                                                "plmn=row44-changed",
                                                "rat=only GSM",
                                                "username=row49-changed"};
    QTest::newRow("Wi-Fi") << kPageWifiFirst << QStringList() << false << "wifi.0"
                           << QStringList{"authentication=none",
                                          "authentication_custom=none",
                                          "data_connection=on",
                                          "network_quality=bad",
                                          "passphrase=row63-changed",
                                          "ssid=row61-changed"};
    QTest::newRow("Wi-Fi, AJB") << kPageWifiFirst << QStringList() << true << "wifi.0"
                                << QStringList{"ajb_profile=safe",
                                               "authentication=none",
                                               "authentication_custom=none",
                                               "data_connection=on",
                                               "passphrase=row63-changed",
                                               "ssid=row61-changed"};
}

// Every editable row of an interface page changed at once goes out in one Apply, each value
// under its own key, in the requests and the order the unit has always been sent them.
void TestNetworkPages::everyRowInOneWrite()
{
    QFETCH(int, pageId);
    QFETCH(QStringList, unit);
    QFETCH(bool, jitterBuffer);
    QFETCH(QString, network);
    QFETCH(QStringList, expected);

    m_fake->setValue(
        QStringLiteral("pin"), QStringLiteral("ready"), kNetwork, QStringLiteral("mobile.0"));
    for (const QString &pair : std::as_const(unit))
        m_fake->setValue(pair.section(QLatin1Char('='), 0, 0),
                         pair.section(QLatin1Char('='), 1),
                         kNetwork,
                         network);
    comDevice()->aoipController()->setJitterab(jitterBuffer, false);
    QVantelMenuItems *page = openPage(pageId);
    QVERIFY(page);
    changeEveryRow(page);
    QVERIFY(m_page->header()->isModified());
    QVERIFY(apply());
    QCOMPARE(pairsSetOn(*m_fake, network), expected);
}

void TestNetworkPages::refusedWriteIsSentAgain_data()
{
    QTest::addColumn<int>("pageId");
    QTest::addColumn<int>("rowId");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("network");

    QTest::newRow("Ethernet") << kPageEthernetFirst << kRowEthernetQuality << "network_quality"
                              << "eth.0";
    QTest::newRow("ISDN") << kPageIsdn << kRowIsdnLocalNumber2 << "addr_sb0_ch1"
                          << "isdn.0";
    QTest::newRow("mobile") << kPageMobileFirst << kRowMobileUsername << "username"
                            << "mobile.0";
    QTest::newRow("Wi-Fi") << kPageWifiFirst << kRowWifiSsid << "ssid"
                           << "wifi.0";
}

void TestNetworkPages::refusedWriteIsSentAgain()
{
    QFETCH(int, pageId);
    QFETCH(int, rowId);
    QFETCH(QString, key);
    QFETCH(QString, network);

    m_fake->setValue(
        QStringLiteral("pin"), QStringLiteral("ready"), kNetwork, QStringLiteral("mobile.0"));
    QVERIFY(openPage(pageId));
    QVantelMenuItem *edited = row(rowId);
    if (edited->kind() == QVantelMenuItem::Choice)
        edited->selectValue(0, true, false);
    else
        edited->setValueText(QStringLiteral("4711"));
    edited->page()->commitItem(edited);
    QVERIFY(m_page->header()->isModified());

    m_fake->refuseKey(key, QStringLiteral("103-parameter set error"));
    QVERIFY(!apply());
    QCOMPARE(messageText(), QStringLiteral("Failed to apply changes!"));
    QVERIFY(m_page->header()->isModified());
    edited->page()->commitItem(edited);
    QVERIFY2(m_page->header()->isModified(), "the refused value still counts as a change");

    m_fake->acceptKey(key);
    m_fake->clearLog();
    QVERIFY(apply());
    QCOMPARE(setsOn(*m_fake, network).size(), 1);
    QVERIFY(setsOn(*m_fake, network).constFirst().startsWith(key + QLatin1Char('=')));
}

void TestNetworkPages::valuesWithoutEntryStay()
{
    // A unit on a gigabit link by PPPoE: neither shows as a choice, and neither is written back
    // by an Apply made for another row.
    m_fake->setValue(QStringLiteral("link_mode"),
                     QStringLiteral("2500baseT-FD"),
                     kNetwork,
                     QStringLiteral("eth.0"));
    m_fake->setValue(
        QStringLiteral("mode"), QStringLiteral("pppoe"), kNetwork, QStringLiteral("eth.0"));
    QVantelMenuItems *page = openPage(kPageEthernetFirst);
    QCOMPARE(row(kRowEthernetLinkMode)->valueText(), QStringLiteral("2500baseT-FD"));
    QVERIFY(!row(kRowEthernetLinkMode)->currentValue());
    QVERIFY(row(kRowEthernetDhcp)->isChecked());
    QVERIFY(!pageHasChanges(page));
    row(kRowEthernetQuality)->selectValue(0, true, false);
    QVERIFY(apply());
    QCOMPARE(setsOn(*m_fake, QStringLiteral("eth.0")), QStringList{"network_quality=very_bad"});

    // Turning DHCP off still asks for the manual mode.
    m_fake->clearLog();
    row(kRowEthernetDhcp)->setChecked(false);
    commit(kRowEthernetDhcp);
    QVERIFY(m_page->header()->isModified());

    // The same for a radio technology the page does not offer.
    m_fake->setValue(
        QStringLiteral("pin"), QStringLiteral("ready"), kNetwork, QStringLiteral("mobile.0"));
    m_fake->setValue(
        QStringLiteral("rat"), QStringLiteral("GSM first"), kNetwork, QStringLiteral("mobile.0"));
    openPage(kPageMobileFirst);
    QCOMPARE(row(kRowMobileRat)->valueText(), QStringLiteral("GSM first"));
    QVERIFY(!row(kRowMobileRat)->currentValue());
    row(kRowMobileDataService)->setChecked(true);
    QVERIFY(apply());
    QCOMPARE(setsOn(*m_fake, QStringLiteral("mobile.0")), QStringList{"data_connection=on"});
}

void TestNetworkPages::wrongPinThenPinSave()
{
    QVantelMenuItems *page = openPage(kPageMobileFirst);
    // The SIM asks for its PIN: the PIN rows and the module's identity only.
    QList<int> ids;
    for (const QVantelMenuItem *item : page->items())
        ids << item->id();
    QCOMPARE(ids,
             (QList<int>{kRowMobilePin,
                         kRowMobilePinSave,
                         -1,
                         kRowMobileManufacturer,
                         kRowMobileModel,
                         kRowMobileRevision,
                         kRowMobileImei}));

    row(kRowMobilePin)->setValueText(QStringLiteral("0000"));
    commit(kRowMobilePin);
    QVERIFY(m_page->header()->isModified());
    m_page->applyClicked();
    QCOMPARE(messageText(), QStringLiteral("Wrong PIN code!"));
    // The refused PIN is gone from its row, so no later Apply sends it again, and nothing is
    // left marked for Apply.
    QVERIFY(row(kRowMobilePin)->valueText().isEmpty());
    QVERIFY(!pageHasChanges(page));
    QVERIFY(!m_page->header()->isModified());

    m_fake->clearLog();
    row(kRowMobilePinSave)->setChecked(true);
    commit(kRowMobilePinSave);
    QVERIFY(apply());
    QCOMPARE(setsOn(*m_fake, QStringLiteral("mobile.0")), QStringList{"pin_persistent=on"});

    // The right PIN opens the SIM and leads back to the Network page.
    m_page->createNetworkMenu();
    openPage(kPageMobileFirst);
    row(kRowMobilePin)->setValueText(QString::fromLatin1(kDemoSimPin));
    QVERIFY(apply());
    QCOMPARE(m_page->currentPage()->id(), kPageNetwork);
    QCOMPARE(row(kPageMobileFirst)->valueText(), QStringLiteral("Configure the Mobile controller"));
    // No longer the red of "PIN Required": the colour of a usable SIM.
    QCOMPARE(QVantelMenuPalette::textColor(row(kPageMobileFirst)->valueLabel()),
             QVantelMenuPalette::kAccentBlue);
}

void TestNetworkPages::refusedPinNeverOpensTheSim()
{
    m_page->createNetworkMenu();
    QCOMPARE(row(kPageMobileFirst)->valueText(), QStringLiteral("PIN Required"));
    openPage(kPageMobileFirst);
    row(kRowMobilePin)->setValueText(QStringLiteral("0000"));
    commit(kRowMobilePin);
    m_page->applyClicked();
    QCOMPARE(messageText(), QStringLiteral("Wrong PIN code!"));

    // Apply with the emptied PIN row sends nothing and claims nothing: the page stays, and the
    // Network page still asks for the PIN.
    m_page->closeMessage();
    m_fake->clearLog();
    m_page->applyClicked();
    QCOMPARE(m_page->currentPage()->id(), kPageMobileFirst);
    QVERIFY(setsOn(*m_fake, QStringLiteral("mobile.0")).isEmpty());
    m_page->backClicked();
    QCOMPARE(row(kPageMobileFirst)->valueText(), QStringLiteral("PIN Required"));

    // A SIM that answers with its PUK demand is shown locked at once.
    refuseRequests([](const FakeRequest &request) {
        return request.isSetOf(QStringLiteral("pin")) ? QStringLiteral("124-puk required")
                                                      : QString();
    });
    openPage(kPageMobileFirst);
    row(kRowMobilePin)->setValueText(QStringLiteral("1111"));
    commit(kRowMobilePin);
    m_page->applyClicked();
    QCOMPARE(messageText(), QStringLiteral("Failed to apply PIN code!"));
    QVERIFY(!m_page->header()->isModified());
    m_page->backClicked();
    QCOMPARE(row(kPageMobileFirst)->valueText(), QStringLiteral("SIM Locked"));
}

void TestNetworkPages::wifiNetworkChoice()
{
    openPage(kPageWifiFirst);
    QCOMPARE(row(kRowWifiList)->values().size(), 5);
    QCOMPARE(row(kRowWifiList)->valueText(), QStringLiteral("Select a Wi-Fi network from list"));

    // The list marks the network the page names: the unit's, then the one picked.
    const auto marked = [this] {
        m_page->itemClicked(row(kRowWifiList));
        std::unique_ptr<QVantelMenuSelect> select(m_page->findChild<QVantelMenuSelect *>());
        const QVantelMenuSelectable *current = select ? select->currentSelectable() : nullptr;
        return current ? current->label()->text() : QString();
    };
    QCOMPARE(marked(), QStringLiteral("Studio"));

    chooseNetwork(QStringLiteral("Studio"));
    QVERIFY(!m_page->header()->isModified());
    chooseNetwork(QStringLiteral("Guests"));
    QCOMPARE(row(kRowWifiSsid)->valueText(), QStringLiteral("Guests"));
    QCOMPARE(currentOf(row(kRowWifiSecurity)), 1);
    QVERIFY(row(kRowWifiPassphrase)->valueText().isEmpty());
    QVERIFY(m_page->header()->isModified());
    QCOMPARE(marked(), QStringLiteral("Guests"));
    // The unit's own network picked again brings the page back to it: nothing left to write.
    chooseNetwork(QStringLiteral("Studio"));
    QCOMPARE(row(kRowWifiSsid)->valueText(), QStringLiteral("Studio"));
    QCOMPARE(row(kRowWifiSecurity)->valueText(), QStringLiteral("WPA2-PSK"));
    QCOMPARE(row(kRowWifiPassphrase)->valueText(), QStringLiteral("studio-pass"));
    QVERIFY(!m_page->header()->isModified());
    QVERIFY(apply());
    QCOMPARE(setsOn(*m_fake, QStringLiteral("wifi.0")), QStringList());
    chooseNetwork(QStringLiteral("Guests"));
    // Taking the marked network again keeps what was given for it.
    row(kRowWifiPassphrase)->setValueText(QStringLiteral("guest-pass"));
    commit(kRowWifiPassphrase);
    chooseNetwork(QStringLiteral("Guests"));
    QCOMPARE(row(kRowWifiPassphrase)->valueText(), QStringLiteral("guest-pass"));
    row(kRowWifiPassphrase)->setValueText(QString());
    commit(kRowWifiPassphrase);
    QVERIFY(apply());
    QCOMPARE(setsOn(*m_fake, QStringLiteral("wifi.0")),
             (QStringList{"authentication=auto", "passphrase=", "ssid=Guests"}));

    // Active: the choice, name, security and passphrase lock once the unit took it.
    row(kRowWifiActive)->setChecked(true);
    commit(kRowWifiActive);
    QVERIFY(apply());
    for (int id : {kRowWifiList, kRowWifiSsid, kRowWifiSecurity, kRowWifiPassphrase})
        QVERIFY(row(id)->isReadOnly());
    openPage(kPageWifiFirst);
    QVERIFY(row(kRowWifiPassphrase)->isReadOnly());
}

void TestNetworkPages::wifiNamesGoBackAsListed()
{
    const QString buero = QString::fromUtf8("B\xC3\xBCro");
    const QString studio = QString::fromUtf8("\xD0\xA1\xD1\x82\xD1\x83\xD0\xB4\xD0\xB8\xD1\x8F");
    const auto sentSsid = [this] {
        for (const FakeRequest &request : m_fake->requests()) {
            if (request.isSetOf(QStringLiteral("ssid")))
                return request.body;
        }
        return QByteArray();
    };

    for (const QString &name : {buero, studio}) {
        openPage(kPageWifiFirst);
        QVERIFY(row(kRowWifiList)->findText(name, true) >= 0);
        chooseNetwork(name);
        QCOMPARE(row(kRowWifiSsid)->valueText(), name);
        QVERIFY(apply());
        QVERIFY2(sentSsid().contains(";ssid:" + name.toUtf8() + ";"), sentSsid().constData());

        // Read back, the stored name shows as listed, and picking it again is no change.
        openPage(kPageWifiFirst);
        QCOMPARE(row(kRowWifiSsid)->valueText(), name);
        chooseNetwork(name);
        QVERIFY(!m_page->header()->isModified());
        row(kRowWifiActive)->setChecked(true);
        commit(kRowWifiActive);
        QVERIFY(apply());
        QCOMPARE(setsOn(*m_fake, QStringLiteral("wifi.0")), QStringList{"data_connection=on"});
        row(kRowWifiActive)->setChecked(false);
        commit(kRowWifiActive);
        QVERIFY(apply());
    }
}

void TestNetworkPages::isdnLocks()
{
    openPage(kPageIsdn);
    QVERIFY(!row(kRowIsdnLocalNumber1)->isReadOnly());
    QVERIFY(row(kRowIsdnSpid)->isReadOnly());
    row(kRowIsdnProtocol)->selectValue(1, true, false);
    commit(kRowIsdnProtocol);
    QVERIFY(row(kRowIsdnLocalNumber1)->isReadOnly() && row(kRowIsdnSubAddress2)->isReadOnly());
    QVERIFY(!row(kRowIsdnSpid)->isReadOnly());

    // A unit that does not answer leaves every row locked, SPID included.
    for (const char *key : {"protocol",
                            "spid",
                            "addr_sb0_ch0",
                            "addr_sb0_ch1",
                            "subaddr_sb0_ch0",
                            "subaddr_sb0_ch1",
                            "5as"}) {
        m_fake->refuseKey(QString::fromLatin1(key), QStringLiteral("015-not allowed"));
    }
    openPage(kPageIsdn);
    for (int id = 34; id <= 40; ++id)
        QVERIFY2(row(id)->isReadOnly(), qPrintable(QString::number(id)));
}

void TestNetworkPages::isdnNi1OnlyWhileHeld()
{
    const auto offered = [this] {
        QList<int> values;
        for (const QVantelMenuItem::Value &value : row(kRowIsdnProtocol)->values())
            values << value.value;
        return values;
    };
    openPage(kPageIsdn);
    QCOMPARE(offered(), (QList<int>{0, 1, 2}));

    // A unit on NI-1 shows it, and keeps it while other rows are applied.
    m_fake->setValue(
        QStringLiteral("protocol"), QStringLiteral("isdn_ni1"), kNetwork, QStringLiteral("isdn.0"));
    openPage(kPageIsdn);
    QCOMPARE(offered(), (QList<int>{0, 1, 2, 3}));
    QCOMPARE(row(kRowIsdnProtocol)->valueText(), QStringLiteral("NI-1"));
    QVERIFY(row(kRowIsdnLocalNumber1)->isReadOnly());
    QVERIFY(!row(kRowIsdnSpid)->isReadOnly());
    row(kRowIsdnSpid)->setValueText(QStringLiteral("0123"));
    commit(kRowIsdnSpid);
    QVERIFY(apply());
    QCOMPARE(setsOn(*m_fake, QStringLiteral("isdn.0")), QStringList{"spid=0123"});
    QCOMPARE(offered(), (QList<int>{0, 1, 2, 3}));

    // Moved away from it, the unit no longer holds NI-1: it is no longer offered.
    row(kRowIsdnProtocol)->selectValue(0, true, false);
    commit(kRowIsdnProtocol);
    m_fake->clearLog();
    QVERIFY(apply());
    QCOMPARE(setsOn(*m_fake, QStringLiteral("isdn.0")), QStringList{"protocol=isdn_udss1"});
    QCOMPARE(offered(), (QList<int>{0, 1, 2}));
    QCOMPARE(row(kRowIsdnProtocol)->valueText(), QStringLiteral("Euro ISDN"));
}

// The interface's read fails while the 5AS switch, read on its own, comes back: each row shows
// what its own read brought, and nothing unread is offered or written.
void TestNetworkPages::isdnHalfRead()
{
    FakeQuorix *fake = m_fake.get();
    const FakeReplyHook failNetwork = failReadOf({QStringLiteral("protocol")});
    m_fake->setReplyHook([fake, failNetwork](const FakeRequest &request) {
        if (std::optional<QList<FakeReply>> failed = failNetwork(request))
            return failed;
        return answerNetworkDemo(*fake, request);
    });
    m_fake->setValue(QStringLiteral("5as"), QStringLiteral("on"), kAudio);
    openPage(kPageNetwork);
    m_page->itemClicked(row(kPageIsdn));
    QCOMPARE(m_page->currentPage()->id(), kPageIsdn);
    m_fake->clearLog();
    QCOMPARE(messageText(), QStringLiteral("Failed to read the settings!"));
    QCOMPARE(row(kRowIsdn5as)->valueText(), QStringLiteral("Active"));
    QVERIFY(row(kRowIsdn5as)->isChecked() && !row(kRowIsdn5as)->isReadOnly());
    QCOMPARE(row(kRowIsdnProtocol)->valueText(), QStringLiteral("Unknown"));
    for (const int id : {kRowIsdnProtocol,
                         kRowIsdnLocalNumber1,
                         kRowIsdnLocalNumber2,
                         kRowIsdnSubAddress1,
                         kRowIsdnSubAddress2,
                         kRowIsdnSpid}) {
        QVERIFY2(row(id)->isReadOnly(), qPrintable(QString::number(id)));
        if (id != kRowIsdnProtocol)
            QVERIFY2(row(id)->valueText().isEmpty(), qPrintable(QString::number(id)));
    }

    // Only the switch that was read is written, and the rows not read still show nothing.
    changeEveryRow(m_page->currentPage());
    QVERIFY(apply());
    QCOMPARE(setsOn(*m_fake, QStringLiteral("isdn.0")), QStringList{"5as=off"});
    QCOMPARE(row(kRowIsdnProtocol)->valueText(), QStringLiteral("Unknown"));
    QVERIFY(row(kRowIsdnProtocol)->isReadOnly());
}

void TestNetworkPages::ethernetEventRefresh()
{
    QVantelMenuItems *page = openPage(kPageEthernetFirst + 1);
    QVERIFY(row(kRowEthernetLinkMode)->isReadOnly());
    ksm::CMsg event(ksm::CMsg::Event);
    event.setParam("event_type", "config info");
    event.setParam("network", "eth.1");
    event.setParam("mode", "dhcp");
    event.setParam("local_addr", "10.0.0.77");
    event.setParam("cable", "plugged");
    QVERIFY(m_page->editEthernet.handleEvent(event));
    m_page->refreshEthernetRows(page);
    QVERIFY(row(kRowEthernetDhcp)->isChecked());
    QCOMPARE(row(kRowEthernetIpAddress)->valueText(), QStringLiteral("10.0.0.77"));
    QVERIFY(row(kRowEthernetIpAddress)->isReadOnly());
    // Only the primary interface's link mode is ever editable.
    QVERIFY(row(kRowEthernetLinkMode)->isReadOnly());
    QVERIFY(!row(kRowEthernetQuality)->isReadOnly());
}

void TestNetworkPages::ethernetEventKeepsEdits_data()
{
    using Edit = std::function<void(QVantelMenuItems *)>;
    using Shown = QMap<int, QString>;
    QTest::addColumn<int>("pageId");
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<Settings>("event");
    QTest::addColumn<Shown>("shown");
    QTest::addColumn<bool>("modified");
    QTest::addColumn<QStringList>("written");
    QTest::addColumn<bool>("keysOnly"); // the event carries only the keys given

    const auto type = [](int id, const QString &text) {
        return [id, text](QVantelMenuItems *page) {
            page->findItem(id)->setValueText(text);
            page->commitItem(page->findItem(id));
        };
    };
    const Edit toggleDhcp = [](QVantelMenuItems *page) {
        QVantelMenuItem *row = page->findItem(kRowEthernetDhcp);
        row->setChecked(!row->isChecked());
        page->commitItem(row);
    };
    const int lan1 = kPageEthernetFirst;
    const int lan2 = kPageEthernetFirst + 1;

    QTest::newRow("an edited row stays, an untouched one follows")
        << lan2 << Edit(type(kRowEthernetGateway, QStringLiteral("10.0.0.77")))
        << Settings{{"gateway", "10.0.0.99"}, {"dns2", "10.0.0.98"}}
        << Shown{{kRowEthernetGateway, "10.0.0.77"}, {kRowEthernetDns2, "10.0.0.98"}} << true
        << QStringList{"gateway=10.0.0.77"} << false;
    QTest::newRow("an edit the event leaves alone stays")
        << lan2 << Edit(type(kRowEthernetDns1, QStringLiteral("10.0.0.53")))
        << Settings{{"gateway", "10.0.0.99"}}
        << Shown{{kRowEthernetDns1, "10.0.0.53"}, {kRowEthernetGateway, "10.0.0.99"}} << true
        << QStringList{"dns1=10.0.0.53"} << false;
    QTest::newRow("the unit took the edit itself: no mark")
        << lan2 << Edit(type(kRowEthernetGateway, QStringLiteral("10.0.0.77")))
        << Settings{{"gateway", "10.0.0.77"}} << Shown{{kRowEthernetGateway, "10.0.0.77"}} << false
        << QStringList() << false;
    QTest::newRow("DHCP turned on stays, the locked addresses follow")
        << lan2 << toggleDhcp << Settings{{"gateway", "10.0.0.99"}}
        << Shown{{kRowEthernetDhcp, "on"}, {kRowEthernetGateway, "10.0.0.99 (locked)"}} << true
        << QStringList{"mode=dhcp"} << false;
    QTest::newRow("DHCP turned off stays, the open addresses follow")
        << lan1 << toggleDhcp << Settings{{"local_addr", "192.168.1.41"}}
        << Shown{{kRowEthernetDhcp, "off"}, {kRowEthernetIpAddress, "192.168.1.41"}} << true
        << QStringList{"dns1=192.168.1.1",
                       "dns2=",
                       "gateway=192.168.1.1",
                       "local_addr=192.168.1.41",
                       "mode=manual",
                       "subnet=255.255.255.0"}
        << false;
    // An event of the keys that changed: the rows of the others keep the unit's values, on
    // screen and in what Apply writes.
    QTest::newRow("a one-key event leaves the other rows")
        << lan2 << Edit(type(kRowEthernetDns2, QStringLiteral("10.0.0.3")))
        << Settings{{"gateway", "10.0.0.254"}}
        << Shown{{kRowEthernetGateway, "10.0.0.254"},
                 {kRowEthernetSubnet, "255.0.0.0"},
                 {kRowEthernetDns1, "10.0.0.1"},
                 {kRowEthernetIpAddress, "10.0.0.40"},
                 {kRowEthernetDns2, "10.0.0.3"}}
        << true << QStringList{"dns2=10.0.0.3"} << true;
    QTest::newRow("a one-key event, DHCP turned off: every address written as the unit holds it")
        << lan1 << toggleDhcp << Settings{{"local_addr", "192.168.1.41"}}
        << Shown{{kRowEthernetDhcp, "off"},
                 {kRowEthernetIpAddress, "192.168.1.41"},
                 {kRowEthernetSubnet, "255.255.255.0"},
                 {kRowEthernetGateway, "192.168.1.1"}}
        << true
        << QStringList{"dns1=192.168.1.1",
                       "dns2=",
                       "gateway=192.168.1.1",
                       "local_addr=192.168.1.41",
                       "mode=manual",
                       "subnet=255.255.255.0"}
        << true;
    QTest::newRow("a one-key event empties the one address it carries empty")
        << lan2 << Edit(type(kRowEthernetDns1, QStringLiteral("10.0.0.53")))
        << Settings{{"dns2", ""}}
        << Shown{{kRowEthernetDns2, ""}, {kRowEthernetGateway, "10.0.0.1"}} << true
        << QStringList{"dns1=10.0.0.53"} << true;
}

// A configuration event of the interface being edited: the rows the operator changed and has
// not applied keep the operator's values, the others show the unit's; the page is marked while
// a row differs from the unit, and Apply writes what the operator chose.
void TestNetworkPages::ethernetEventKeepsEdits()
{
    QFETCH(int, pageId);
    QFETCH(std::function<void(QVantelMenuItems *)>, edit);
    QFETCH(Settings, event);
    using Shown = QMap<int, QString>;
    QFETCH(Shown, shown);
    QFETCH(bool, modified);
    QFETCH(QStringList, written);
    QFETCH(bool, keysOnly);

    QVantelMenuItems *page = openPage(pageId);
    QVERIFY(page);
    edit(page);
    QVERIFY(m_page->header()->isModified());
    const std::string network = "eth." + std::to_string(pageId - kPageEthernetFirst);
    m_page->configurationEvent(configInfo(network, event, keysOnly));
    for (auto it = shown.cbegin(); it != shown.cend(); ++it)
        QCOMPARE(shownOf(row(it.key())), it.value());
    QCOMPARE(m_page->header()->isModified(), modified);

    m_page->applyClicked();
    QCOMPARE(setsOn(*m_fake, QString::fromStdString(network)), written);
    QVERIFY(!m_page->header()->isModified());
}

void TestNetworkPages::ethernetEventKeepsEveryRow_data()
{
    QTest::addColumn<int>("pageId");
    // With the module's adaptive jitter buffer on, the page offers its AJB policy in place of
    // the network quality.
    QTest::addColumn<bool>("jitterBuffer");
    // LAN1 on DHCP with its link mode open, LAN2 on manual addresses.
    QTest::newRow("LAN1") << int(kPageEthernetFirst) << false;
    QTest::newRow("LAN2") << int(kPageEthernetFirst + 1) << false;
    QTest::newRow("LAN2, AJB policy") << int(kPageEthernetFirst + 1) << true;
}

// Every editable row of an Ethernet page, walked on the page rather than named, so that a row
// added later is walked too: the operator changes it (an address row with DHCP turned off
// first), the unit then reports other values for every setting of the interface, and the row
// keeps the operator's value, the page stays marked, and Apply writes it. A row whose table the
// page does not count among the operator's edits (ethernetEdits()) takes the unit's value here.
void TestNetworkPages::ethernetEventKeepsEveryRow()
{
    QFETCH(int, pageId);
    QFETCH(bool, jitterBuffer);
    comDevice()->aoipController()->setJitterab(jitterBuffer, false);
    const std::string network = "eth." + std::to_string(pageId - kPageEthernetFirst);
    const QString networkName = QString::fromStdString(network);
    // Every setting of the interface: the addresses move on, the choices take words neither the
    // demo's nor the entry after it, the rest differ from the demo's.
    const QStringList addresses = {QStringLiteral("local_addr"),
                                   QStringLiteral("subnet"),
                                   QStringLiteral("gateway"),
                                   QStringLiteral("dns1"),
                                   QStringLiteral("dns2")};
    const Settings others = {{"link_mode", "10baseT-HD"},
                             {"link_mode_neg", "10baseT-HD"},
                             {"network_quality", "very_bad"},
                             {"ajb_profile", "safe"},
                             {"hw_addr", "02:00:5e:10:00:99"},
                             {"cable", "unplugged"}};

    int walked = 0;
    for (int index = 0;; ++index) {
        fillNetworkDemo(*m_fake);
        showPage();
        QVantelMenuItems *page = openPage(pageId);
        QVERIFY(page);
        const QList<QVantelMenuItem *> rows = page->items();
        if (index >= rows.size())
            break;
        QVantelMenuItem *edited = rows.at(index);
        QVantelMenuItem *dhcp = page->findItem(kRowEthernetDhcp);
        const bool unitOnDhcp = dhcp && dhcp->isChecked();
        // The address rows open once DHCP is off.
        if (edited->isReadOnly() && edited != dhcp && dhcp && !dhcp->isReadOnly()
            && dhcp->isChecked()) {
            dhcp->setChecked(false);
            page->commitItem(dhcp);
        }
        if (edited->isReadOnly() || !editAsOperator(page, edited))
            continue;
        ++walked;
        const QString title = edited->titleText();
        const QString operatorShows = title + QStringLiteral(": ") + shownOf(edited);
        QVERIFY2(m_page->header()->isModified(), qPrintable(title));

        // The unit's mode: one whose switch differs from the operator's where the operator
        // flipped it, else one that leaves the switch as it is (the addresses stay open or shut).
        const bool switchOn = dhcp && dhcp->isChecked();
        const char *mode = switchOn != unitOnDhcp ? (switchOn ? "manual" : "pppoe")
                                                  : (switchOn ? "bgan" : "manual");
        Settings event = others;
        event["mode"] = mode;
        for (const QString &key : addresses) {
            event[key.toStdString()]
                = otherAddress(m_fake->value(key, kNetwork, networkName), 50).toStdString();
        }
        for (const auto &[key, value] : event) {
            m_fake->setValue(
                QString::fromStdString(key), QString::fromStdString(value), kNetwork, networkName);
        }
        m_page->configurationEvent(configInfo(network, event));
        QCOMPARE(title + QStringLiteral(": ") + shownOf(edited), operatorShows);
        QVERIFY2(m_page->header()->isModified(), qPrintable(title));

        m_page->applyClicked();
        QVERIFY2(!m_page->header()->isModified(), qPrintable(title));
        // What the unit now holds, read afresh.
        showPage();
        QVERIFY(openPage(pageId));
        QCOMPARE(title + QStringLiteral(": ") + shownOf(m_page->currentPage()->items().at(index)),
                 operatorShows);
    }
    QVERIFY(walked > 0);
}

void TestNetworkPages::applyWritesTheEditWhenAnEventComes_data()
{
    QTest::addColumn<QString>("when");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<bool>("queued");

    for (const bool queued : {false, true}) {
        for (const bool refused : {false, true}) {
            const QByteArray outcome = QByteArray(refused ? ", refused" : "")
                                       + (queued ? ", handled after the Apply" : "");
            QTest::addRow("before Apply%s", outcome.constData()) << "before" << refused << queued;
            QTest::addRow("as Apply shows its message%s", outcome.constData())
                << "message" << refused << queued;
            QTest::addRow("while the write waits%s", outcome.constData())
                << "write" << refused << queued;
        }
    }
}

// Whenever the unit's event for a row being applied comes, the unit is sent the operator's
// value: before the tap (a tap held through a wait is carried out after what came meanwhile),
// while Apply paints its message, or while the write waits for its answer. The event is handled
// then, or, as the window does with what comes during a step of the menu, after the Apply, said
// to be as old as its arrival: an event older than the answer of a write the unit took leaves
// the rows written as they are. A refused write leaves the edit and the mark, and the next Apply
// sends the edit again.
void TestNetworkPages::applyWritesTheEditWhenAnEventComes()
{
    QFETCH(QString, when);
    QFETCH(bool, refused);
    QFETCH(bool, queued);

    const QString lan2 = QStringLiteral("eth.1");
    const QString gateway = QStringLiteral("10.0.0.77");
    QVERIFY(openPage(kPageEthernetFirst + 1));
    row(kRowEthernetGateway)->setValueText(gateway);
    commit(kRowEthernetGateway);
    QVERIFY(m_page->header()->isModified());
    if (refused)
        m_fake->refuseKey(QStringLiteral("gateway"), QStringLiteral("015-not allowed"));

    const ksm::CMsg event = configInfo("eth.1", {{"gateway", "10.0.0.99"}, {"dns2", "10.0.0.98"}});
    // The event handled at once, or sent by the unit and kept with its arrival number.
    QList<QPair<ksm::CMsg, qint64>> arrived;
    QObject scope;
    connect(comClient(), &ksm::CCom::messageReceived, &scope, [&](const RpcMessage &message) {
        arrived.append({message.body(), comClient()->signalArrival()});
    });
    const auto unitReports = [&] {
        if (!queued) {
            m_page->configurationEvent(event);
            return;
        }
        FakePairs pairs;
        for (const auto &[key, value] : event.params()) {
            if (key != "event_type")
                pairs.append({QString::fromStdString(key), QString::fromStdString(value)});
        }
        QVERIFY(m_fake->pushEvent(QStringLiteral("config info"), pairs));
    };
    QString handledDuring = QStringLiteral("(not handled)");
    if (when == QLatin1String("before")) {
        unitReports();
        handledDuring = QString();
        if (queued)
            QTRY_COMPARE(arrived.size(), 1);
    } else if (when == QLatin1String("message")) {
        // The window hands on unit messages in a pass of the event loop, as the message paints.
        QMetaObject::invokeMethod(
            &scope,
            [&] {
                handledDuring = messageText();
                if (m_fake->requestCount() == 0)
                    unitReports();
            },
            Qt::QueuedConnection);
    } else {
        connect(m_fake.get(), &FakeQuorix::requestReceived, &scope, [&](const FakeRequest &r) {
            if (handledDuring != QLatin1String("the write") && r.network() == lan2
                && r.isSetOf(QStringLiteral("gateway"))) {
                handledDuring = QStringLiteral("the write");
                unitReports();
            }
        });
    }
    m_page->applyClicked();
    if (queued) {
        QTRY_COMPARE(arrived.size(), 1);
        const ksm::HandledSignal handled(comClient(), arrived.first().second);
        m_page->configurationEvent(arrived.first().first);
    }
    QCOMPARE(handledDuring,
             when == QLatin1String("before")    ? QString()
             : when == QLatin1String("message") ? QStringLiteral("Applying changes...")
                                                : QStringLiteral("the write"));
    QCOMPARE(pairsSetOn(*m_fake, lan2), QStringList{"gateway=" + gateway});
    QCOMPARE(row(kRowEthernetGateway)->valueText(), gateway);
    QCOMPARE(row(kRowEthernetDns2)->valueText(), QStringLiteral("10.0.0.98"));
    QCOMPARE(m_page->header()->isModified(), refused);
    if (refused) {
        QCOMPARE(messageText(), QStringLiteral("Failed to apply changes!"));
        m_fake->acceptKey(QStringLiteral("gateway"));
    }

    // Sent once the unit takes it, then never again.
    m_fake->clearLog();
    m_page->applyClicked();
    QCOMPARE(pairsSetOn(*m_fake, lan2),
             refused ? QStringList{"gateway=" + gateway} : QStringList());
    QVERIFY(!m_page->header()->isModified());
}

// The unit's event sent while the page's read waits is older than the read's answer: the page
// keeps what the read gave. A later event is the unit's news.
void TestNetworkPages::eventOlderThanThePagesRead()
{
    const QString lan2 = QStringLiteral("eth.1");
    m_fake->setValue(QStringLiteral("gateway"), QStringLiteral("10.0.0.77"), kNetwork, lan2);
    QList<QPair<ksm::CMsg, qint64>> arrived;
    QObject scope;
    connect(comClient(), &ksm::CCom::messageReceived, &scope, [&](const RpcMessage &message) {
        arrived.append({message.body(), comClient()->signalArrival()});
    });
    const auto unitReports = [&](const QString &gateway) {
        QVERIFY(m_fake->pushEvent(
            QStringLiteral("config info"),
            {{QStringLiteral("network"), lan2}, {QStringLiteral("gateway"), gateway}}));
    };
    bool sent = false;
    connect(m_fake.get(), &FakeQuorix::requestReceived, &scope, [&](const FakeRequest &r) {
        if (!sent && r.network() == lan2 && r.isGetOf(QStringLiteral("gateway"))) {
            sent = true;
            unitReports(QStringLiteral("10.0.0.99"));
        }
    });
    QVERIFY(openPage(kPageEthernetFirst + 1));
    QVERIFY(sent);
    QTRY_COMPARE(arrived.size(), 1);
    const auto handle = [&](int index) {
        const ksm::HandledSignal handled(comClient(), arrived.at(index).second);
        m_page->configurationEvent(arrived.at(index).first);
    };
    handle(0);
    QCOMPARE(row(kRowEthernetGateway)->valueText(), QStringLiteral("10.0.0.77"));

    unitReports(QStringLiteral("10.0.0.98"));
    QTRY_COMPARE(arrived.size(), 2);
    handle(1);
    QCOMPARE(row(kRowEthernetGateway)->valueText(), QStringLiteral("10.0.0.98"));
}

void TestNetworkPages::operatorScan()
{
    m_fake->setValue(
        QStringLiteral("pin"), QStringLiteral("ready"), kNetwork, QStringLiteral("mobile.0"));
    openPage(kPageMobileFirst);
    QCOMPARE(row(kRowMobileOperator)->valueText(), QStringLiteral("Auto"));
    m_page->itemClicked(row(kRowMobileOperator));
    QVERIFY(asks(QStringLiteral("This may take a while\n\nAre you sure to proceed?")));

    // Confirmed: the scan offers "Auto" and what the modem found.
    commit(kRowMobileOperator);
    QStringList offered;
    for (const QVantelMenuItem::Value &value : row(kRowMobileOperator)->values())
        offered << value.text;
    QCOMPARE(offered, (QStringList{"Auto", "Demo Telecom", "Example Mobile"}));
    QVantelMenuSelect *select = m_page->findChild<QVantelMenuSelect *>();
    QVERIFY(select && select->isVisible());
    // The operator the row names is marked.
    QCOMPARE(select->currentSelectable(), select->findSelectable(0));
    select->setCurrentSelectable(select->findSelectable(2));
    m_page->selectionAccepted(row(kRowMobileOperator), select);
    delete select;
    QCOMPARE(row(kRowMobileOperator)->valueText(), QStringLiteral("Example Mobile"));
    QVERIFY(m_page->header()->isModified());
    QVERIFY(apply());
    QCOMPARE(setsOn(*m_fake, QStringLiteral("mobile.0")), QStringList{"plmn=Example Mobile"});

    commit(kRowMobileOperator);
    select = m_page->findChild<QVantelMenuSelect *>();
    QVERIFY(select && select->isVisible());
    QCOMPARE(select->currentSelectable(), select->findSelectable(2));
}

void TestNetworkPages::outgoingAndSecondaryCommit_data()
{
    QTest::addColumn<int>("rowId");
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("held");
    QTest::addColumn<int>("other");

    QTest::newRow("outgoing calls") << kRowDefaultNetwork << "default_network" << 0x100 << 0x101;
    QTest::newRow("secondary stream")
        << kRowSecondaryNetwork << "secondary_network" << 0x101 << 0x100;
}

void TestNetworkPages::outgoingAndSecondaryCommit()
{
    QFETCH(int, rowId);
    QFETCH(QString, key);
    QFETCH(int, held);
    QFETCH(int, other);
    const auto sent = [this, &key] {
        QStringList values;
        for (const FakeRequest &request : m_fake->requests()) {
            if (request.isSetOf(key))
                values << request.value(key);
        }
        return values;
    };
    const auto modelHolds = [rowId] {
        return QString::fromStdString(rowId == 7 ? comDevice()->defaultNetwork()
                                                 : comDevice()->secondaryNetwork());
    };
    const QString otherWord = QString::fromStdString(TComDevice::networkToString(other));

    QVERIFY(enableDoubleStreaming());
    openPage(kPageNetwork);
    QCOMPARE(currentOf(row(rowId)), held);

    // Sent at once; the unit and the model both hold the choice.
    row(rowId)->selectValue(0x400, true, false);
    commit(rowId);
    QCOMPARE(sent(), QStringList{"wifi.0"});
    QCOMPARE(m_fake->value(key, kNetwork), QStringLiteral("wifi.0"));
    QCOMPARE(modelHolds(), QStringLiteral("wifi.0"));
    QCOMPARE(messageText(), QStringLiteral("Applying changes..."));

    // Refused: the row shows again what the model holds, and says so.
    m_fake->refuseKey(key, QStringLiteral("110-not available"));
    m_fake->clearLog();
    row(rowId)->selectValue(other, true, false);
    commit(rowId);
    QCOMPARE(sent(), QStringList{otherWord});
    QCOMPARE(messageText(), QStringLiteral("Failed to apply changes!"));
    QCOMPARE(currentOf(row(rowId)), 0x400);
    QCOMPARE(row(rowId)->valueText(), row(rowId)->currentValue()->text);
    QCOMPARE(modelHolds(), QStringLiteral("wifi.0"));

    // During a call nothing goes out, and the row goes back the same way.
    m_fake->acceptKey(key);
    m_page->closeMessage();
    QVERIFY(addLink(true, "isdn.0"));
    m_fake->clearLog();
    row(rowId)->selectValue(other, true, false);
    commit(rowId);
    QVERIFY(sent().isEmpty());
    QCOMPARE(messageText(), QStringLiteral("Cannot apply changes\n(a connection is established)"));
    QCOMPARE(currentOf(row(rowId)), 0x400);
    QCOMPARE(modelHolds(), QStringLiteral("wifi.0"));
}

void TestNetworkPages::secondaryNetworkRow()
{
    const auto colour
        = [this] { return QVantelMenuPalette::textColor(row(kRowSecondaryNetwork)->valueLabel()); };
    QVERIFY(enableDoubleStreaming());
    openPage(kPageNetwork);
    // IP networks only: neither the AoIP module nor ISDN.
    QList<int> offered;
    for (const QVantelMenuItem::Value &value : row(kRowSecondaryNetwork)->values())
        offered << value.value;
    QCOMPARE(offered, (QList<int>{0x100, 0x101, 0x300, 0x400}));
    QVERIFY(!row(kRowSecondaryNetwork)->isReadOnly());

    // A secondary network the row does not offer reads as its name, in red, with no entry
    // current, so that nothing is chosen for the user.
    m_fake->setValue(QStringLiteral("secondary_network"), QStringLiteral("isdn.0"), kNetwork);
    QVERIFY(comDevice()->refresh());
    openPage(kPageNetwork);
    QCOMPARE(row(kRowSecondaryNetwork)->valueText(), QStringLiteral("ISDN"));
    QVERIFY(!row(kRowSecondaryNetwork)->currentValue());
    QCOMPARE(colour(), QColor(Qt::red));

    // A refused choice brings the red name back; a choice the unit takes drops the red.
    m_fake->refuseKey(QStringLiteral("secondary_network"), QStringLiteral("110-not available"));
    row(kRowSecondaryNetwork)->selectValue(0x100, true, false);
    commit(kRowSecondaryNetwork);
    QCOMPARE(messageText(), QStringLiteral("Failed to apply changes!"));
    QCOMPARE(row(kRowSecondaryNetwork)->valueText(), QStringLiteral("ISDN"));
    QVERIFY(!row(kRowSecondaryNetwork)->currentValue());
    QCOMPARE(colour(), QColor(Qt::red));
    m_fake->acceptKey(QStringLiteral("secondary_network"));
    row(kRowSecondaryNetwork)->selectValue(0x100, true, false);
    commit(kRowSecondaryNetwork);
    QCOMPARE(currentOf(row(kRowSecondaryNetwork)), 0x100);
    QCOMPARE(colour(), QVantelMenuPalette::kAccentBlue);

    // With double streaming off the row is locked and the name is not red.
    m_fake->setValue(QStringLiteral("secondary_network"), QStringLiteral("isdn.0"), kNetwork);
    m_fake->setValue(QStringLiteral("dstream_mode"), QStringLiteral("disabled"), kAudio);
    QVERIFY(comDevice()->refresh());
    openPage(kPageNetwork);
    QVERIFY(row(kRowSecondaryNetwork)->isReadOnly());
    QCOMPARE(row(kRowSecondaryNetwork)->valueText(), QStringLiteral("ISDN"));
    QCOMPARE(colour(), QVantelMenuPalette::kGrey);
}

void TestNetworkPages::mobileRowLabels_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QStringList>("labels");

    QTest::newRow("one internal modem") << QStringList{"ip_dstream_1"}
                                        << QStringList{"Mobile settings (Internal)",
                                                       "Mobile settings (External 1)",
                                                       "Mobile settings (External 2)",
                                                       "Mobile settings (External 3)"};
    QTest::newRow("two internal modems") << QStringList{"ip_dstream_1", "hardware_3"}
                                         << QStringList{"Mobile settings (Internal 1)",
                                                        "Mobile settings (Internal 2)",
                                                        "Mobile settings (External 1)",
                                                        "Mobile settings (External 2)"};
}

void TestNetworkPages::mobileRowLabels()
{
    QFETCH(QStringList, options);
    QFETCH(QStringList, labels);

    QStringList networks = FakeMessage::splitList(m_fake->value(kNetwork, kNetwork));
    networks << QStringLiteral("mobile.1") << QStringLiteral("mobile.2")
             << QStringLiteral("mobile.3");
    m_fake->setList(kNetwork, networks, kNetwork);
    m_fake->setList(QStringLiteral("device_opts"), options, kGeneral);
    m_fake->setValue(
        QStringLiteral("pin"), QStringLiteral("ready"), kNetwork, QStringLiteral("mobile.3"));
    refuseSims({{QStringLiteral("mobile.1"), QStringLiteral("010-sim missing")},
                {QStringLiteral("mobile.2"), QStringLiteral("011-sim locked")}});
    QVERIFY(comDevice()->refresh());
    openPage(kPageNetwork);

    // Each row says what its own modem needs.
    QStringList titles;
    QStringList states;
    QList<QColor> colours;
    for (int id = kPageMobileFirst; id <= kPageMobileLast; ++id) {
        QVERIFY(row(id) && !row(id)->isHidden());
        titles << row(id)->titleText();
        states << row(id)->valueText();
        colours << QVantelMenuPalette::textColor(row(id)->valueLabel());
    }
    QCOMPARE(titles, labels);
    QCOMPARE(states,
             (QStringList{
                 "PIN Required", "SIM Missing", "SIM Locked", "Configure the Mobile controller"}));
    QCOMPARE(colours, (QList<QColor>{Qt::red, Qt::red, Qt::red, QVantelMenuPalette::kAccentBlue}));
}

void TestNetworkPages::navigationLocks()
{
    // An Operator opens none of the interface pages but the mobile ones.
    accessLevel = AccessLevel::Operator;
    openPage(kPageNetwork);
    for (int id : {kPageSip, kPageIsdn, kPageEthernetFirst, kPageEthernetFirst + 1, kPageWifiFirst})
        QVERIFY2(row(id)->isReadOnly(), qPrintable(QString::number(id)));
    for (int id : {kRowDefaultNetwork, kRowCodecMode, kPageMobileFirst})
        QVERIFY2(!row(id)->isReadOnly(), qPrintable(QString::number(id)));

    accessLevel = AccessLevel::Expert;
    openPage(kPageNetwork);
    for (int id : {kPageSip,
                   kPageIsdn,
                   kPageEthernetFirst,
                   kPageEthernetFirst + 1,
                   kPageMobileFirst,
                   kPageWifiFirst})
        QVERIFY2(!row(id)->isReadOnly(), qPrintable(QString::number(id)));
}

void TestNetworkPages::aoipOnlyUnit()
{
    m_fake->setList(kNetwork, {QStringLiteral("aoip")}, kNetwork);
    m_fake->setValue(QStringLiteral("default_network"), QStringLiteral("aoip"), kNetwork);
    QVERIFY(comDevice()->refresh());
    QVantelMenuItems *page = openPage(kPageNetwork);
    QList<int> ids;
    for (const QVantelMenuItem *item : page->items())
        ids << item->id();
    QCOMPARE(ids, (QList<int>{kRowDefaultNetwork, kRowCodecMode, -1, kPageSip}));
    QVERIFY(row(kRowDefaultNetwork)->values().isEmpty());
    QVERIFY(!row(kRowDefaultNetwork)->currentValue());
    QCOMPARE(row(kRowCodecMode)->values().size(), 2);

    // Nothing to choose, so nothing is written.
    commit(kRowDefaultNetwork);
    for (const FakeRequest &request : m_fake->requests())
        QVERIFY(!request.isSetOf(QStringLiteral("default_network")));
}

void TestNetworkPages::operatorRowRefusals_data()
{
    QTest::addColumn<bool>("audio");
    QTest::addColumn<QString>("network");
    QTest::addColumn<QString>("shown");

    const QString question = QStringLiteral("This may take a while\n\nAre you sure to proceed?");
    QTest::newRow("call on the modem") << true << "mobile.0"
                                       << "Cannot change setting\n(a connection is established)";
    QTest::newRow("data service on the modem")
        << false << "mobile.0"
        << "Cannot change setting\n(the data service is active)";
    QTest::newRow("call on Ethernet") << true << "eth.0" << question;
    QTest::newRow("data service on Wi-Fi") << false << "wifi.0" << question;
}

void TestNetworkPages::operatorRowRefusals()
{
    QFETCH(bool, audio);
    QFETCH(QString, network);
    QFETCH(QString, shown);

    m_fake->setValue(
        QStringLiteral("pin"), QStringLiteral("ready"), kNetwork, QStringLiteral("mobile.0"));
    openPage(kPageMobileFirst);
    QVERIFY(addLink(audio, network.toStdString()));
    m_page->itemClicked(row(kRowMobileOperator));
    QVERIFY2(asks(shown), qPrintable(messageText()));
    for (const FakeRequest &request : m_fake->requests())
        QVERIFY(!request.isListOf(QStringLiteral("plmn")));
    QCOMPARE(row(kRowMobileOperator)->valueText(), QStringLiteral("Auto"));
}

void TestNetworkPages::operatorScanFails()
{
    m_fake->setValue(
        QStringLiteral("pin"), QStringLiteral("ready"), kNetwork, QStringLiteral("mobile.0"));
    refuseRequests([](const FakeRequest &request) {
        return request.isListOf(QStringLiteral("plmn")) ? QStringLiteral("110-not available")
                                                        : QString();
    });
    openPage(kPageMobileFirst);
    m_page->itemClicked(row(kRowMobileOperator));
    commit(kRowMobileOperator);
    QVERIFY(m_fake->waitForRequest(
        [](const FakeRequest &request) { return request.isListOf(QStringLiteral("plmn")); }));
    QCOMPARE(messageText(), QStringLiteral("Failed to scan networks!"));

    // No list to choose from, the operator stays, and there is nothing to apply.
    QVantelMenuSelect *select = m_page->findChild<QVantelMenuSelect *>();
    QVERIFY(!select || !select->isVisible());
    QVERIFY(row(kRowMobileOperator)->values().isEmpty());
    QCOMPARE(row(kRowMobileOperator)->valueText(), QStringLiteral("Auto"));
    QVERIFY(!m_page->header()->isModified());
    QVERIFY(apply());
    QVERIFY(setsOn(*m_fake, QStringLiteral("mobile.0")).isEmpty());
}

void TestNetworkPages::unusableSimLayout_data()
{
    QTest::addColumn<QString>("cause");
    QTest::addColumn<QString>("shown");

    QTest::newRow("SIM missing") << "010-sim missing"
                                 << "SIM Missing";
    QTest::newRow("SIM locked") << "011-sim locked"
                                << "SIM Locked";
    QTest::newRow("PUK required") << "124-puk required"
                                  << "SIM Locked";
}

void TestNetworkPages::unusableSimLayout()
{
    QFETCH(QString, cause);
    QFETCH(QString, shown);

    refuseSims({{QStringLiteral("mobile.0"), cause}});
    openPage(kPageNetwork);
    QCOMPARE(row(kPageMobileFirst)->valueText(), shown);
    QCOMPARE(QVantelMenuPalette::textColor(row(kPageMobileFirst)->valueLabel()), QColor(Qt::red));

    // The row still opens the modem's page, which shows only what the module is.
    m_page->itemClicked(row(kPageMobileFirst));
    QVantelMenuItems *page = m_page->currentPage();
    QCOMPARE(page->id(), kPageMobileFirst);
    QList<int> ids;
    for (const QVantelMenuItem *item : page->items()) {
        ids << item->id();
        QVERIFY(item->id() < 0 || item->isReadOnly());
    }
    QCOMPARE(ids,
             (QList<int>{
                 -1, kRowMobileManufacturer, kRowMobileModel, kRowMobileRevision, kRowMobileImei}));
    QCOMPARE(row(kRowMobileManufacturer)->valueText(), QStringLiteral("Demo Modems"));
    QVERIFY(!pageHasChanges(page));
}

void TestNetworkPages::mobilePageLocks_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("authentication");
    QTest::addColumn<QList<int>>("locked");

    QTest::newRow("Administrator, cellphone") << int(AccessLevel::Administrator) << "gsm_voice"
                                              << "PAP" << QList<int>{};
    QTest::newRow("mode kept outside the cellphone mode")
        << int(AccessLevel::Administrator) << "data"
        << "PAP" << QList<int>{kRowMobileMode};
    QTest::newRow("Operator") << int(AccessLevel::Operator) << "gsm_voice"
                              << "CHAP"
                              << QList<int>{kRowMobileOperator,
                                            kRowMobileAuthentication,
                                            kRowMobileUsername,
                                            kRowMobilePassword,
                                            kRowMobileQuality};
    QTest::newRow("no authentication") << int(AccessLevel::Administrator) << "gsm_voice"
                                       << "none" << QList<int>{kRowMobileAuthentication};
}

void TestNetworkPages::mobilePageLocks()
{
    QFETCH(int, level);
    QFETCH(QString, mode);
    QFETCH(QString, authentication);
    QFETCH(QList<int>, locked);

    const QString modem = QStringLiteral("mobile.0");
    m_fake->setValue(QStringLiteral("pin"), QStringLiteral("ready"), kNetwork, modem);
    m_fake->setValue(QStringLiteral("mode"), mode, kNetwork, modem);
    m_fake->setValue(QStringLiteral("authentication"), authentication, kNetwork, modem);
    accessLevel = AccessLevel(level);
    QVantelMenuItems *page = openPage(kPageMobileFirst);

    // The settings rows locked; the module's rows never change.
    QList<int> readOnly;
    for (const QVantelMenuItem *item : page->items()) {
        if (item->id() > 0 && item->id() < 53 && item->isReadOnly())
            readOnly << item->id();
        if (item->id() >= 53)
            QVERIFY(item->isReadOnly());
    }
    std::sort(readOnly.begin(), readOnly.end());
    QCOMPARE(readOnly, locked);
    QVERIFY(!pageHasChanges(page));
    if (authentication == QLatin1String("none")) {
        QCOMPARE(row(kRowMobileAuthentication)->values().size(), 1);
        QCOMPARE(currentOf(row(kRowMobileAuthentication)), 0);
        QCOMPARE(row(kRowMobileAuthentication)->valueText(), QStringLiteral("Not Applicable"));
    }
}

QTEST_MAIN(TestNetworkPages)
#include "tst_networkpages.moc"
