#include "model/comravennacontroller.h"
#include "model/firmwareversion.h"

#include "link/comclient.h"
#include "link/sharedobjects.h"
#include "tests/model/linkedfake.h"

#include <QSignalSpy>
#include <QtTest>

#include <functional>
#include <map>

namespace {

using C = TComRavennaController;
using StringMap = std::map<std::string, std::string>;

const QString kAudio = QStringLiteral("audio");

C::StreamRef streamRef(int id, int channel, const std::string &name)
{
    C::StreamRef ref;
    ref.id = id;
    ref.channel = channel;
    ref.name = name;
    return ref;
}

// Integer views of the fields that received values feed.
const std::map<QString, std::function<int(const C &)>> &intFields()
{
    static const std::map<QString, std::function<int(const C &)>> fields = {
        {"rav_if_count", [](const C &c) { return c.ifCount(); }},
        {"rav_net_mode", [](const C &c) { return c.netMode(); }},
        {"rav_sample_rate", [](const C &c) { return c.sampleRate(); }},
        {"rav_resolution", [](const C &c) { return c.resolution(); }},
        {"rav_delay_in", [](const C &c) { return c.delayIn(); }},
        {"rav_delay_max_in", [](const C &c) { return c.delayMaxIn(); }},
        {"rav_mode_ou", [](const C &c) { return int(c.modeOu()); }},
        {"rav_ch_count_ou", [](const C &c) { return c.chCountOu(); }},
        {"rav_sync_state", [](const C &c) { return c.syncState(); }},
        {"rav_lock_state", [](const C &c) { return c.lockState(); }},
        {"rav_dhcp", [](const C &c) { return c.netInterface(0).dhcp; }},
        {"rav_dhcp1", [](const C &c) { return c.netInterface(1).dhcp; }},
        {"rav_vlan_id1", [](const C &c) { return c.netInterface(1).vlanId; }},
        {"rav_link_state", [](const C &c) { return int(c.netInterface(0).linkState); }},
        {"rav_ptp_state1", [](const C &c) { return c.netInterface(1).ptpState; }},
        {"rav_autoconf_ou1", [](const C &c) { return int(c.txDestination(1).autoconf); }},
        {"rav_mc_port_ou1", [](const C &c) { return c.txDestination(1).mcPort; }},
    };
    return fields;
}

// One setter call with send on, and what must hold afterwards.
struct SetterCase
{
    std::function<bool(C &)> call;
    std::function<bool(const C &)> stored;
};

const std::map<QString, SetterCase> &setterCases()
{
    static const std::map<QString, SetterCase> cases = {
        {"sample rate",
         {[](C &c) { return c.setSampleRate(44100, true); },
          [](const C &c) { return c.sampleRate() == 44100; }}},
        {"resolution",
         {[](C &c) { return c.setResolution(16, true); },
          [](const C &c) { return c.resolution() == 16; }}},
        {"ptp domain",
         {[](C &c) { return c.setPtpDomain(5, true); },
          [](const C &c) { return c.ptpDomain() == 5; }}},
        {"vlan of interface 1",
         {[](C &c) { return c.setVlanId(1, 20, true); },
          [](const C &c) { return c.netInterface(1).vlanId == 20; }}},
        {"delay",
         {[](C &c) { return c.setDelayIn(600, true); },
          [](const C &c) { return c.delayIn() == 600; }}},
        {"transmit interface",
         {[](C &c) { return c.setNetifOu(1, true); }, [](const C &c) { return c.netifOu() == 1; }}},
        {"port, interface number 3",
         {[](C &c) { return c.setMcPortOu(3, 6000, true); },
          [](const C &c) {
              return c.txDestination(1).mcPort == 6000 && c.txDestination(0).mcPort == 5004;
          }}},
        {"port 0 stored unsent",
         {[](C &c) { return c.setMcPortOu(0, 0, true); },
          [](const C &c) { return c.txDestination(0).mcPort == 0; }}},
        {"device name",
         {[](C &c) { return c.setDeviceName("Kr\xe4n", true); },
          [](const C &c) { return c.deviceName() == "Kr\xe4n"; }}},
        {"empty device name stored unsent",
         {[](C &c) { return c.setDeviceName("x", false) && c.setDeviceName("", true); },
          [](const C &c) { return c.deviceName().empty(); }}},
        {"redundancy",
         {[](C &c) { return c.setNetMode(1, true); }, [](const C &c) { return c.netMode() == 1; }}},
        {"other net mode",
         {[](C &c) { return c.setNetMode(5, true); }, [](const C &c) { return c.netMode() == 5; }}},
        {"dhcp off",
         {[](C &c) { return c.setDhcp(0, false, true); },
          [](const C &c) { return c.netInterface(0).dhcp == 0; }}},
        {"dhcp on over zeroconf",
         {[](C &c) {
              return c.applyParams({{"rav_dhcp", "zeroconf"}}) && c.setDhcp(0, true, true);
          },
          [](const C &c) { return c.netInterface(0).dhcp == 2; }}},
        {"address under dhcp stored unsent",
         {[](C &c) { return c.setIpAddr(0, "10.0.0.5", true); },
          [](const C &c) { return c.netInterface(0).ipAddr == "10.0.0.5"; }}},
        {"address when manual",
         {[](C &c) { return c.setDhcp(1, false, false) && c.setIpAddr(1, "10.0.0.6", true); },
          [](const C &c) { return c.netInterface(1).ipAddr == "10.0.0.6"; }}},
        {"subnet under zeroconf stored unsent",
         {[](C &c) {
              return c.applyParams({{"rav_dhcp", "zeroconf"}})
                     && c.setSubnet(0, "255.255.0.0", true);
          },
          [](const C &c) { return c.netInterface(0).subnet == "255.255.0.0"; }}},
        {"empty gateway when manual",
         {[](C &c) {
              return c.setDhcp(0, false, false) && c.setGateway(0, "10.0.0.1", false)
                     && c.setGateway(0, "", true);
          },
          [](const C &c) { return c.netInterface(0).gateway.empty(); }}},
        {"stream",
         {[](C &c) { return c.setStreamIn(4, streamRef(7, 2, "Br\xfc"), true); },
          [](const C &c) { return c.streamIn(4).sameStream(streamRef(7, 2, "Br\xfc")); }}},
        {"stream 6",
         {[](C &c) { return c.setStreamIn(6, streamRef(7, 2, "x"), true); },
          [](const C &c) { return c.streamIn(5).id == C::NoStream; }}},
        {"stream -1",
         {[](C &c) { return c.setStreamIn(-1, streamRef(7, 2, "x"), true); },
          [](const C &c) { return c.streamIn(0).id == C::NoStream; }}},
        {"transmit on",
         {[](C &c) { return c.setModeOu(true, true); }, [](const C &c) { return c.modeOu(); }}},
        {"transmit name",
         {[](C &c) { return c.setNameOu("Out", true); },
          [](const C &c) { return c.nameOu() == "Out"; }}},
        {"autoconf of interface 1",
         {[](C &c) { return c.setAutoconfOu(1, true, true); },
          [](const C &c) { return c.txDestination(1).autoconf; }}},
        {"multicast address",
         {[](C &c) { return c.setMcAddrOu(0, "239.1.1.1", true); },
          [](const C &c) { return c.txDestination(0).mcAddr == "239.1.1.1"; }}},
        {"unchanged",
         {[](C &c) { return c.setSampleRate(48000, true); },
          [](const C &c) { return c.sampleRate() == 48000; }}},
    };
    return cases;
}

} // namespace

class tst_ComRavennaController : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup();

    void constructionDefaults();
    void streamReference_data();
    void streamReference();
    void streamStatus_data();
    void streamStatus();
    void applyValues_data();
    void applyValues();
    void applyTextsAndEdges();
    void setterWireForm_data();
    void setterWireForm();
    void setterRefusalKeepsValue();
    void newStreamClearsStatus();
    void writeShape();
    void writeRefusals();
    void readAllKeys_data();
    void readAllKeys();
    void readAppliesAndFails();
    void listOperations();
    void startAndReset();
    void sharedInstance();

private:
    LinkedFake m_link;
};

void tst_ComRavennaController::cleanup()
{
    m_link.stop();
    destroySharedObjects();
    firmwareVersion = kFirmwareVersionUnknown;
}

void tst_ComRavennaController::constructionDefaults()
{
    const C c(nullptr);
    QCOMPARE(c.type(), int(TComController::GeneralController));
    QCOMPARE(c.state(), int(TComController::StateUnknown));
    QCOMPARE(c.ifCount(), 1);
    QCOMPARE(c.sampleRate(), 48000);
    QCOMPARE(c.resolution(), 24);
    QCOMPARE(c.delayMaxIn(), 24000);
    QCOMPARE(c.delayIn(), 512);
    QCOMPARE(c.chCountOu(), 2);
    QCOMPARE(c.ptimeOu(), 1.0F);
    QCOMPARE(c.netInterface(1).dhcp, 1);
    QCOMPARE(c.netInterface(1).ptpState, -1);
    QCOMPARE(c.txDestination(1).mcPort, 5004);
    for (int n = -1; n <= C::StreamCount; ++n) {
        QCOMPARE(c.streamIn(n).id, 65535);
        QCOMPARE(c.streamIn(n).status, -1);
        QCOMPARE(c.streamIn(n).name, std::string("None"));
    }
}

void tst_ComRavennaController::streamReference_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("channel");
    QTest::addColumn<QByteArray>("name");

    QTest::newRow("full") << "12/3/Studio" << true << 12 << 3 << QByteArray("Studio");
    QTest::newRow("empty name") << "12/3/" << true << 12 << 3 << QByteArray();
    QTest::newRow("no name") << "12/3" << true << 12 << 3 << QByteArray();
    QTest::newRow("slash in name") << "1/2/a/b" << true << 1 << 2 << QByteArray("a/b");
    QTest::newRow("utf-8 name") << QString::fromUtf8("1/2/St\xc3\xbc") << true << 1 << 2
                                << QByteArray("St\xfc");
    QTest::newRow("words read as 0") << "x/y/z" << true << 0 << 0 << QByteArray("z");
    QTest::newRow("huge id saturates")
        << "99999999999/1/n" << true << 2147483647 << 1 << QByteArray("n");
    QTest::newRow("no id") << "/3/x" << false << 65535 << 0 << QByteArray("None");
    QTest::newRow("nothing after slash") << "12/" << false << 65535 << 0 << QByteArray("None");
    QTest::newRow("empty channel") << "12//x" << false << 65535 << 0 << QByteArray("None");
    QTest::newRow("no slash") << "12" << false << 65535 << 0 << QByteArray("None");
    QTest::newRow("empty") << "" << false << 65535 << 0 << QByteArray("None");
}

void tst_ComRavennaController::streamReference()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(int, id);
    QFETCH(int, channel);
    QFETCH(QByteArray, name);

    C c(nullptr);
    QVERIFY(c.applyParams({{"rav_status_in2", "receiving,idle"}}));
    const std::string utf8 = text.toUtf8().toStdString();
    QCOMPARE(c.applyParams({{"rav_stream_in2", utf8}, {"rav_sample_rate", "96000"}}), ok);
    // The other keys of the same map are applied either way, the status words stay.
    QCOMPARE(c.sampleRate(), 96000);
    const C::StreamRef &stream = c.streamIn(2);
    QCOMPARE(stream.id, id);
    QCOMPARE(stream.channel, channel);
    QCOMPARE(QByteArray::fromStdString(stream.name), name);
    QCOMPARE(stream.status, 4);
    QCOMPARE(stream.status2, 1);

    // The list parse agrees with the map parse.
    C::StreamRef listed;
    QCOMPARE(listed.parse(utf8), ok);
}

void tst_ComRavennaController::streamStatus_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("status2");

    QTest::newRow("two words") << "receiving,idle" << true << 4 << 1;
    QTest::newRow("one word") << "receiving" << true << 4 << 0;
    QTest::newRow("comma last") << "receiving," << false << 4 << 9;
    QTest::newRow("unknown word") << "bogus" << true << -1 << 0;
    QTest::newRow("empty") << "" << true << -1 << 0;
    QTest::newRow("empty first") << ",not enough dec" << true << -1 << 9;
    QTest::newRow("all words") << "receiving sync err,addr collision" << true << 7 << 8;
}

void tst_ComRavennaController::streamStatus()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(int, status);
    QFETCH(int, status2);

    C c(nullptr);
    QVERIFY(c.applyParams({{"rav_status_in5", "idle,not enough dec"}}));
    QCOMPARE(c.applyParams({{"rav_status_in5", text.toStdString()}}), ok);
    QCOMPARE(c.streamIn(5).status, status);
    QCOMPARE(c.streamIn(5).status2, status2);
    QCOMPARE(c.streamIn(5).id, 65535);
}

void tst_ComRavennaController::applyValues_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");

    QTest::newRow("if count 2") << "rav_if_count"
                                << "2" << 2;
    QTest::newRow("if count 0") << "rav_if_count"
                                << "0" << 1;
    QTest::newRow("if count -4") << "rav_if_count"
                                 << "-4" << 1;
    QTest::newRow("if count word") << "rav_if_count"
                                   << "two" << 1;
    QTest::newRow("if count empty") << "rav_if_count"
                                    << "" << 1;
    QTest::newRow("redundancy") << "rav_net_mode"
                                << "redund" << 1;
    QTest::newRow("net mode other") << "rav_net_mode"
                                    << "Redund" << 0;
    QTest::newRow("rate") << "rav_sample_rate"
                          << "44100" << 44100;
    QTest::newRow("rate empty") << "rav_sample_rate"
                                << "" << 48000;
    QTest::newRow("rate word") << "rav_sample_rate"
                               << "48k" << 0;
    QTest::newRow("resolution empty") << "rav_resolution"
                                      << "" << 24;
    QTest::newRow("delay") << "rav_delay_in"
                           << "700" << 700;
    QTest::newRow("delay empty keeps") << "rav_delay_in"
                                       << "" << 512;
    QTest::newRow("delay max empty keeps") << "rav_delay_max_in"
                                           << "" << 24000;
    QTest::newRow("transmit on") << "rav_mode_ou"
                                 << "on" << 1;
    QTest::newRow("transmit On") << "rav_mode_ou"
                                 << "On" << 0;
    QTest::newRow("channels empty") << "rav_ch_count_ou"
                                    << "" << 2;
    QTest::newRow("sync") << "rav_sync_state"
                          << "3" << 3;
    QTest::newRow("locked") << "rav_lock_state"
                            << "locked" << 3;
    QTest::newRow("locking") << "rav_lock_state"
                             << "locking" << 2;
    QTest::newRow("lock unknown") << "rav_lock_state"
                                  << "lost" << 0;
    QTest::newRow("dhcp on") << "rav_dhcp"
                             << "on" << 1;
    QTest::newRow("dhcp zeroconf") << "rav_dhcp1"
                                   << "zeroconf" << 2;
    QTest::newRow("dhcp other") << "rav_dhcp1"
                                << "auto" << 0;
    QTest::newRow("dhcp empty") << "rav_dhcp"
                                << "" << 0;
    QTest::newRow("vlan empty") << "rav_vlan_id1"
                                << "" << 0;
    QTest::newRow("link") << "rav_link_state"
                          << "on" << 1;
    QTest::newRow("ptp slave") << "rav_ptp_state1"
                               << "slave" << 9;
    QTest::newRow("ptp pre master") << "rav_ptp_state1"
                                    << "pre master" << 5;
    QTest::newRow("ptp unknown") << "rav_ptp_state1"
                                 << "SLAVE" << -1;
    QTest::newRow("autoconf") << "rav_autoconf_ou1"
                              << "on" << 1;
    QTest::newRow("port") << "rav_mc_port_ou1"
                          << "5008" << 5008;
    QTest::newRow("port empty") << "rav_mc_port_ou1"
                                << "" << 5004;
}

void tst_ComRavennaController::applyValues()
{
    QFETCH(QString, key);
    QFETCH(QString, text);
    QFETCH(int, expected);

    C c(nullptr);
    // Non-default values first, so that an empty text shows what it does.
    QVERIFY(c.applyParams({{"rav_mc_port_ou1", "7000"},
                           {"rav_ch_count_ou", "8"},
                           {"rav_resolution", "16"},
                           {"rav_sample_rate", "96000"},
                           {"rav_vlan_id1", "9"},
                           {"rav_if_count", "2"}}));
    QVERIFY(c.applyParams({{key.toStdString(), text.toStdString()}}));
    QCOMPARE(intFields().at(key)(c), expected);
}

void tst_ComRavennaController::applyTextsAndEdges()
{
    C c(nullptr);
    QVERIFY(!c.applyParams({}));
    QVERIFY(c.applyParams({{"rav_stream_in", "1/1/x"}, {"rav_bogus", "1"}}));
    QCOMPARE(c.streamIn(0).id, 65535);
    QCOMPARE(c.sampleRate(), 48000);

    QVERIFY(c.applyParams({{"rav_manufacturer", "M\xc3\xa9rging"},
                           {"rav_hardware_name", "Horus"},
                           {"rav_device_name", "Kr\xc3\xa4n"},
                           {"rav_name_ou", "Out \xc3\xa9"},
                           {"rav_ip_addr1", "10.1.1.1"},
                           {"rav_hw_addr", "00:11:22:33:44:55"},
                           {"rav_mc_addr_ou", "239.0.0.1"},
                           {"rav_ptime_ou", "0.125"},
                           {"rav_firmware_ver", "\xc3\xa9"},
                           {"rav_rescueos_rev", "r9"}}));
    QCOMPARE(c.manufacturer(), std::string("M\xe9rging"));
    QCOMPARE(c.hardwareName(), std::string("Horus"));
    QCOMPARE(c.deviceName(), std::string("Kr\xe4n"));
    QCOMPARE(c.nameOu(), std::string("Out \xe9"));
    QCOMPARE(c.netInterface(1).ipAddr, std::string("10.1.1.1"));
    QCOMPARE(c.netInterface(0).hwAddr, std::string("00:11:22:33:44:55"));
    QCOMPARE(c.txDestination(0).mcAddr, std::string("239.0.0.1"));
    QCOMPARE(c.ptimeOu(), 0.125F);
    // Revision texts are kept as received.
    QCOMPARE(c.firmwareVer(), std::string("\xc3\xa9"));
    QCOMPARE(c.rescueosRev(), std::string("r9"));

    QVERIFY(c.applyParams({{"rav_ptime_ou", ""}}));
    QCOMPARE(c.ptimeOu(), 1.0F);
}

void tst_ComRavennaController::setterWireForm_data()
{
    QTest::addColumn<QString>("setter");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("wire"); // null: nothing is sent

    QTest::newRow("sample rate") << "sample rate" << true << "rav_sample_rate"
                                 << "44100";
    QTest::newRow("resolution") << "resolution" << true << "rav_resolution"
                                << "16";
    QTest::newRow("ptp domain") << "ptp domain" << true << "rav_ptp_domain"
                                << "5";
    QTest::newRow("vlan") << "vlan of interface 1" << true << "rav_vlan_id1"
                          << "20";
    QTest::newRow("delay") << "delay" << true << "rav_delay_in"
                           << "600";
    QTest::newRow("netif") << "transmit interface" << true << "rav_netif_ou"
                           << "1";
    QTest::newRow("port iface 3") << "port, interface number 3" << true << "rav_mc_port_ou1"
                                  << "6000";
    QTest::newRow("port 0") << "port 0 stored unsent" << true << "" << QString();
    QTest::newRow("device name") << "device name" << true << "rav_device_name"
                                 << QString::fromUtf8("Kr\xc3\xa4n");
    QTest::newRow("empty device name")
        << "empty device name stored unsent" << true << "" << QString();
    QTest::newRow("redund") << "redundancy" << true << "rav_net_mode"
                            << "redund";
    QTest::newRow("switch") << "other net mode" << true << "rav_net_mode"
                            << "switch";
    QTest::newRow("dhcp off") << "dhcp off" << true << "rav_dhcp"
                              << "off";
    QTest::newRow("dhcp zeroconf") << "dhcp on over zeroconf" << true << "" << QString();
    QTest::newRow("address dhcp") << "address under dhcp stored unsent" << true << "" << QString();
    QTest::newRow("address manual") << "address when manual" << true << "rav_ip_addr1"
                                    << "10.0.0.6";
    QTest::newRow("subnet zeroconf")
        << "subnet under zeroconf stored unsent" << true << "" << QString();
    QTest::newRow("empty gateway") << "empty gateway when manual" << true << "rav_gateway"
                                   << "";
    QTest::newRow("stream") << "stream" << true << "rav_stream_in4"
                            << QString::fromUtf8("7/2/Br\xc3\xbc");
    QTest::newRow("stream 6") << "stream 6" << false << "" << QString();
    QTest::newRow("stream -1") << "stream -1" << false << "" << QString();
    QTest::newRow("transmit") << "transmit on" << true << "rav_mode_ou"
                              << "on";
    QTest::newRow("transmit name") << "transmit name" << true << "rav_name_ou"
                                   << "Out";
    QTest::newRow("autoconf") << "autoconf of interface 1" << true << "rav_autoconf_ou1"
                              << "on";
    QTest::newRow("mc address") << "multicast address" << true << "rav_mc_addr_ou"
                                << "239.1.1.1";
    QTest::newRow("unchanged") << "unchanged" << true << "" << QString();
}

void tst_ComRavennaController::setterWireForm()
{
    QFETCH(QString, setter);
    QFETCH(bool, result);
    QFETCH(QString, key);
    QFETCH(QString, wire);

    QVERIFY(m_link.start());
    C c(m_link.com.get());
    const SetterCase &setterCase = setterCases().at(setter);
    QCOMPARE(setterCase.call(c), result);
    QVERIFY(setterCase.stored(c));
    if (wire.isNull()) {
        QTest::qWait(20);
        QCOMPARE(m_link.fake->requestCount(), 0);
        return;
    }
    QCOMPARE(m_link.fake->requestCount(), 1);
    const FakeRequest request = m_link.fake->lastRequest();
    QCOMPARE(request.typeWord(), QStringLiteral("PARAM"));
    QCOMPARE(request.message.params.size(), 2);
    QCOMPARE(request.target(), kAudio);
    QVERIFY(request.has(key));
    QCOMPARE(request.value(key), wire);
}

void tst_ComRavennaController::setterRefusalKeepsValue()
{
    QVERIFY(m_link.start());
    C c(m_link.com.get());
    m_link.fake->refuseKey(QStringLiteral("rav_sample_rate"), QStringLiteral("015-not allowed"));
    m_link.fake->refuseKey(QStringLiteral("rav_stream_in0"), QStringLiteral("015-not allowed"));
    QVERIFY(c.applyParams({{"rav_status_in0", "idle"}}));

    QVERIFY(!c.setSampleRate(44100, true));
    QCOMPARE(c.sampleRate(), 48000);
    QVERIFY(!c.setStreamIn(0, streamRef(1, 1, "x"), true));
    QCOMPARE(c.streamIn(0).id, 65535);
    QCOMPARE(c.streamIn(0).status, 1);
    // Sending off stores without asking.
    QVERIFY(c.setSampleRate(44100, false));
    QCOMPARE(c.sampleRate(), 44100);
}

void tst_ComRavennaController::newStreamClearsStatus()
{
    C c(nullptr);
    QVERIFY(c.applyParams({{"rav_stream_in1", "3/1/A"}, {"rav_status_in1", "receiving,idle"}}));
    QVERIFY(c.setStreamIn(1, streamRef(3, 1, "A"), false));
    QCOMPARE(c.streamIn(1).status, 4);
    QCOMPARE(c.streamIn(1).status2, 1);

    C::StreamRef other = streamRef(3, 2, "A");
    other.status = 4;
    QVERIFY(c.setStreamIn(1, other, false));
    QCOMPARE(c.streamIn(1).channel, 2);
    QCOMPARE(c.streamIn(1).status, -1);
    QCOMPARE(c.streamIn(1).status2, -1);
}

void tst_ComRavennaController::writeShape()
{
    QVERIFY(m_link.start());
    C c(m_link.com.get());
    QVERIFY(c.applyParams({{"rav_dhcp", "zeroconf"},
                           {"rav_ip_addr", "10.0.0.9"},
                           {"rav_stream_in1", "12/3/St\xc3\xbc"},
                           {"rav_device_name", "D\xc3\xa9v"}}));
    QVERIFY(c.setMcPortOu(1, -2, true));
    QCOMPARE(m_link.fake->requestCount(), 0);

    QVERIFY(c.write({"rav_sample_rate",
                     "rav_sample_rate",
                     "rav_ip_addr",
                     "rav_hw_addr",
                     "rav_bogus",
                     "rav_stream_in1",
                     "rav_dhcp",
                     "rav_mc_port_ou1",
                     "rav_device_name",
                     "rav_gateway1"}));
    QCOMPARE(m_link.fake->requestCount(), 1);
    const FakeRequest request = m_link.fake->lastRequest();
    QCOMPARE(request.message.params.size(), 8);
    QCOMPARE(request.target(), kAudio);
    QCOMPARE(request.value(QStringLiteral("rav_sample_rate")), QStringLiteral("48000"));
    QCOMPARE(request.value(QStringLiteral("rav_ip_addr")), QStringLiteral("10.0.0.9"));
    QCOMPARE(request.value(QStringLiteral("rav_stream_in1")), QString::fromUtf8("12/3/St\xc3\xbc"));
    QCOMPARE(request.value(QStringLiteral("rav_dhcp")), QStringLiteral("on"));
    QCOMPARE(request.value(QStringLiteral("rav_mc_port_ou1")), QStringLiteral("-2"));
    QCOMPARE(request.value(QStringLiteral("rav_device_name")), QString::fromUtf8("D\xc3\xa9v"));
    QVERIFY(request.has(QStringLiteral("rav_gateway1")));
    QVERIFY(request.value(QStringLiteral("rav_gateway1")).isEmpty());
    QVERIFY(!request.has(QStringLiteral("rav_hw_addr")));
}

void tst_ComRavennaController::writeRefusals()
{
    QVERIFY(m_link.start());
    C c(m_link.com.get());
    QVERIFY(!c.write({}));
    QVERIFY(!c.write({"rav_hw_addr", "rav_ch_count_ou", "rav_status_in0", "rav_stream_in"}));
    QCOMPARE(m_link.fake->requestCount(), 0);

    QVERIFY(c.setResolution(16, false));
    m_link.fake->refuseKey(QStringLiteral("rav_ptp_domain"), QStringLiteral("015-not allowed"));
    QVERIFY(!c.write({"rav_resolution", "rav_ptp_domain"}));
    QCOMPARE(c.resolution(), 16);
    QCOMPARE(m_link.fake->value(QStringLiteral("rav_resolution"), kAudio), QStringLiteral("16"));
}

void tst_ComRavennaController::readAllKeys_data()
{
    QTest::addColumn<quint32>("version");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("first");

    QTest::newRow("1.6.0") << quint32(0x10600) << 28 << "rav_device_name";
    QTest::newRow("1.6.255") << quint32(0x106ff) << 28 << "rav_device_name";
    QTest::newRow("1.7.0") << quint32(0x10700) << 30 << "rav_manufacturer";
    QTest::newRow("1.9.255") << quint32(0x109ff) << 30 << "rav_manufacturer";
    QTest::newRow("1.10.0") << quint32(0x10a00) << 31 << "rav_manufacturer";
    QTest::newRow("unknown") << kFirmwareVersionUnknown << 31 << "rav_manufacturer";
}

void tst_ComRavennaController::readAllKeys()
{
    QFETCH(quint32, version);
    QFETCH(int, count);
    QFETCH(QString, first);

    QVERIFY(m_link.start());
    firmwareVersion = version;
    // An empty stream reference counts as malformed, so the device has to hold both.
    m_link.fake->setValue(QStringLiteral("rav_stream_in0"), QStringLiteral("1/1/A"), kAudio);
    m_link.fake->setValue(QStringLiteral("rav_stream_in1"), QStringLiteral("1/2/A"), kAudio);
    C c(m_link.com.get());
    QVERIFY(c.readAll());
    QCOMPARE(m_link.fake->requestCount(), 1);
    const FakeRequest request = m_link.fake->lastRequest();
    QCOMPARE(request.target(), kAudio);
    QCOMPARE(request.gets().size(), count);
    QCOMPARE(request.gets().first(), first);
    QCOMPARE(request.gets().last(), QStringLiteral("rav_firmware_rev"));
    QCOMPARE(request.gets().contains(QStringLiteral("rav_if_count")), count == 31);
}

void tst_ComRavennaController::readAppliesAndFails()
{
    QVERIFY(m_link.start());
    C c(m_link.com.get());
    QVERIFY(!c.read({}));
    QCOMPARE(m_link.fake->requestCount(), 0);

    m_link.fake->setValue(QStringLiteral("rav_resolution"), QStringLiteral("16"), kAudio);
    m_link.fake->setValue(QStringLiteral("rav_stream_in0"), QStringLiteral("5/1/Mic"), kAudio);
    QVERIFY(c.setSampleRate(96000, false));
    // A key the device does not hold arrives empty and takes its empty-text value.
    QVERIFY(c.read({"rav_resolution", "rav_stream_in0", "rav_sample_rate"}));
    QCOMPARE(c.resolution(), 16);
    QCOMPARE(c.streamIn(0).name, std::string("Mic"));
    QCOMPARE(c.sampleRate(), 48000);

    // A malformed stream makes the read fail; the other values are applied.
    m_link.fake->setValue(QStringLiteral("rav_stream_in0"), QStringLiteral("5//Mic"), kAudio);
    m_link.fake->setValue(QStringLiteral("rav_resolution"), QStringLiteral("20"), kAudio);
    QVERIFY(!c.read({"rav_resolution", "rav_stream_in0"}));
    QCOMPARE(c.resolution(), 20);
    QCOMPARE(c.streamIn(0).name, std::string("Mic"));

    // Nothing readable: false and nothing changes.
    m_link.fake->refuseKey(QStringLiteral("rav_resolution"), QStringLiteral("015-not allowed"));
    QVERIFY(!c.read({"rav_resolution"}));
    QCOMPARE(c.resolution(), 20);
}

void tst_ComRavennaController::listOperations()
{
    QVERIFY(m_link.start());
    C c(m_link.com.get());
    m_link.fake->setList(
        QStringLiteral("rav_stream_in"), {"1/1/A", "bad", "", "2/2/B\xc3\xbc", "3//x"}, kAudio);
    m_link.fake->setList(QStringLiteral("rav_sample_rate"), {"44100", "48000", "96000"}, kAudio);
    m_link.fake->setList(QStringLiteral("rav_resolution"), {"16", "24", "x"}, kAudio);

    std::vector<C::StreamRef> streams(3);
    QVERIFY(c.listStreamsIn(streams));
    QCOMPARE(streams.size(), std::size_t(2));
    QVERIFY(streams[0].sameStream(streamRef(1, 1, "A")));
    QVERIFY(streams[1].sameStream(streamRef(2, 2, "B\xfc")));
    QCOMPARE(streams[1].status, -1);
    const FakeRequest request = m_link.fake->lastRequest();
    QCOMPARE(request.target(), kAudio);
    QCOMPARE(request.lists(), QStringList({"rav_stream_in"}));

    std::vector<int> rates = {1};
    QVERIFY(c.listSampleRates(rates));
    QCOMPARE(rates, std::vector<int>({44100, 48000, 96000}));
    std::vector<int> depths;
    QVERIFY(c.listResolutions(depths));
    QCOMPARE(depths, std::vector<int>({16, 24, 0}));

    // A failed request leaves the output empty.
    m_link.fake->replyWithErrorCode(-5);
    QVERIFY(!c.listSampleRates(rates));
    QVERIFY(rates.empty());
    QVERIFY(!c.listStreamsIn(streams));
    QVERIFY(streams.empty());
}

void tst_ComRavennaController::startAndReset()
{
    QVERIFY(m_link.start());
    C c(m_link.com.get());
    QSignalSpy stateSpy(&c, &TComController::controllerStateChanged);

    // Nothing to read: no request, ready.
    QVERIFY(c.start({}));
    QCOMPARE(c.state(), int(TComController::StateReady));
    QCOMPARE(stateSpy.count(), 1);
    QCOMPARE(m_link.fake->requestCount(), 0);

    // A known state is reset first; a malformed stream fails the start and leaves it unknown.
    m_link.fake->setValue(QStringLiteral("rav_firmware_rev"), QStringLiteral("4.2"), kAudio);
    m_link.fake->setValue(QStringLiteral("rav_stream_in0"), QStringLiteral("/1/x"), kAudio);
    QVERIFY(!c.start({"rav_firmware_rev", "rav_stream_in0"}));
    QCOMPARE(c.state(), int(TComController::StateUnknown));
    QCOMPARE(stateSpy.count(), 2);
    QCOMPARE(c.firmwareRev(), std::string("4.2"));
    QVERIFY(!c.signalsBlocked());

    QVERIFY(c.start({"rav_firmware_rev"}));
    QCOMPARE(c.state(), int(TComController::StateReady));

    // Reset keeps the mode, delays, identity and revisions, and clears everything else.
    QVERIFY(c.applyParams({{"rav_net_mode", "redund"},
                           {"rav_delay_in", "900"},
                           {"rav_manufacturer", "Merging"},
                           {"rav_sample_rate", "96000"},
                           {"rav_dhcp1", "off"},
                           {"rav_ip_addr", "10.0.0.2"},
                           {"rav_mc_port_ou", "6000"},
                           {"rav_mc_port_ou1", "6002"},
                           {"rav_stream_in3", "4/4/D"},
                           {"rav_status_in3", "idle,idle"},
                           {"rav_status_in4", "receiving,receiving"},
                           {"rav_lock_state", "locked"}}));
    stateSpy.clear();
    c.reset();
    QCOMPARE(stateSpy.count(), 1);
    QCOMPARE(c.state(), int(TComController::StateUnknown));
    QCOMPARE(c.netMode(), 1);
    QCOMPARE(c.delayIn(), 900);
    QCOMPARE(c.manufacturer(), std::string("Merging"));
    QCOMPARE(c.firmwareRev(), std::string("4.2"));
    QCOMPARE(c.sampleRate(), 48000);
    QCOMPARE(c.netInterface(1).dhcp, 1);
    QVERIFY(c.netInterface(0).ipAddr.empty());
    QCOMPARE(c.txDestination(0).mcPort, 5004);
    QCOMPARE(c.txDestination(1).mcPort, 5004);
    QCOMPARE(c.lockState(), 0);
    for (int n = 0; n < C::StreamCount; ++n) {
        const C::StreamRef &stream = c.streamIn(n);
        QVERIFY(stream.sameStream(C::StreamRef()));
        QCOMPARE(stream.status, -1);
        QCOMPARE(stream.status2, -1);
    }

    // Reset from the unknown state signals nothing; the reset sends nothing at all.
    stateSpy.clear();
    c.reset();
    QCOMPARE(stateSpy.count(), 0);
    QCOMPARE(m_link.fake->requestCount(), 2);
}

void tst_ComRavennaController::sharedInstance()
{
    TComRavennaController *controller = ravennaController();
    QVERIFY(controller);
    QCOMPARE(ravennaController(), controller);
    QCOMPARE(controller->request().com(), comClient());
    QCOMPARE(controller->state(), int(TComController::StateUnknown));
    destroySharedObjects();
    QCOMPARE(sharedObjectCount(), 0);
    QVERIFY(ravennaController());
}

QTEST_GUILESS_MAIN(tst_ComRavennaController)
#include "tst_comravennacontroller.moc"
