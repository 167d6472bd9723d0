// The networks: the audio-over-IP module, two Ethernet ports, a mobile modem whose SIM asks for
// its PIN, a Wi-Fi interface and the ISDN interface.

#include "demonetworks.h"

#include "demoarea.h"

#include <QHash>
#include <QStringList>

namespace {

const QString kNetwork = QStringLiteral("network");
const QString kMobile = QStringLiteral("mobile.0");
const QString kWifi = QStringLiteral("wifi.0");
const QString kPin = QStringLiteral("pin");
const QString kPinReady = QStringLiteral("ready");
const QString kPassphrase = QStringLiteral("passphrase");
const QString kReturn = QStringLiteral("return");
const QString kPinRequired = QStringLiteral("122-pin required");
const QString kWrongPin = QStringLiteral("100-wrong password");
const QString kInvalidValue = QStringLiteral("105-invalid value");
constexpr int kMinPassphrase = 8;

// What the interfaces list; kept apart from the store, where the same names hold the current
// values ("mode", "plmn", "ssid" ...).
const QHash<QString, QStringList> &interfaceLists()
{
    static const QHash<QString, QStringList> lists = {
        {QStringLiteral("mobile.0/mode"), {QStringLiteral("gsm_voice"), QStringLiteral("data")}},
        {QStringLiteral("mobile.0/rat"),
         {QStringLiteral("auto"),
          QStringLiteral("only GSM"),
          QStringLiteral("only UMTS"),
          QStringLiteral("only LTE")}},
        {QStringLiteral("mobile.0/authentication"),
         {QStringLiteral("PAP"), QStringLiteral("CHAP")}},
        {QStringLiteral("mobile.0/plmn"),
         {QStringLiteral("Demo Telecom"), QStringLiteral("Example Mobile")}},
        // Names beyond ASCII, one of them in another script, as units list them (UTF-8).
        {QStringLiteral("wifi.0/ssid"),
         {QStringLiteral("Studio"),
          QStringLiteral("Outside Broadcast"),
          QStringLiteral("Guests"),
          QString::fromUtf8("B\xC3\xBCro"),
          QString::fromUtf8("\xD0\xA1\xD1\x82\xD1\x83\xD0\xB4\xD0\xB8\xD1\x8F")}},
    };
    return lists;
}

void setAll(FakeQuorix &fake, const QString &network, const FakePairs &pairs)
{
    for (const auto &pair : pairs)
        fake.setValue(pair.first, pair.second, kNetwork, network);
}

bool isMobileRequest(const FakeRequest &request)
{
    return request.message.type == FakeMessage::Param && request.target() == kNetwork
           && request.network() == kMobile;
}

// A PARAM answer with "return" first, then the pairs.
FakeReply answer(const QString &result, const FakePairs &pairs)
{
    FakeMessage message(FakeMessage::Param);
    message.set(kReturn, result);
    for (const auto &pair : pairs)
        message.set(pair.first, pair.second);
    return FakeReply::reply(message);
}

} // namespace

void fillNetworkDemo(FakeQuorix &fake)
{
    const QString ethernet0 = QStringLiteral("eth.0");
    const QString ethernet1 = QStringLiteral("eth.1");
    const QString isdn = QStringLiteral("isdn.0");

    QStringList networks = FakeMessage::splitList(fake.value(kNetwork, kNetwork));
    for (const QString &name :
         {QStringLiteral("aoip"), ethernet0, ethernet1, isdn, kMobile, kWifi}) {
        if (!networks.contains(name))
            networks << name;
    }
    fake.setList(kNetwork, networks, kNetwork);

    const FakePairs ethernet = {
        {QStringLiteral("cable"), QStringLiteral("plugged")},
        {QStringLiteral("link_mode"), QStringLiteral("autonegotiation")},
        {QStringLiteral("link_mode_neg"), QStringLiteral("100baseT-FD")},
        {QStringLiteral("network_quality"), QStringLiteral("high")},
        {QStringLiteral("ajb_profile"), QStringLiteral("standard")},
    };
    setAll(fake, ethernet0, ethernet);
    setAll(fake,
           ethernet0,
           {{QStringLiteral("mode"), QStringLiteral("dhcp")},
            {QStringLiteral("local_addr"), QStringLiteral("192.168.1.40")},
            {QStringLiteral("subnet"), QStringLiteral("255.255.255.0")},
            {QStringLiteral("gateway"), QStringLiteral("192.168.1.1")},
            {QStringLiteral("dns1"), QStringLiteral("192.168.1.1")},
            {QStringLiteral("dns2"), QString()},
            {QStringLiteral("hw_addr"), QStringLiteral("02:00:5e:10:00:01")}});
    setAll(fake, ethernet1, ethernet);
    setAll(fake,
           ethernet1,
           {{QStringLiteral("mode"), QStringLiteral("manual")},
            {QStringLiteral("local_addr"), QStringLiteral("10.0.0.40")},
            {QStringLiteral("subnet"), QStringLiteral("255.0.0.0")},
            {QStringLiteral("gateway"), QStringLiteral("10.0.0.1")},
            {QStringLiteral("dns1"), QStringLiteral("10.0.0.1")},
            {QStringLiteral("dns2"), QStringLiteral("10.0.0.2")},
            {QStringLiteral("hw_addr"), QStringLiteral("02:00:5e:10:00:02")}});

    setAll(fake,
           kMobile,
           {{QStringLiteral("mode"), QStringLiteral("data")},
            {QStringLiteral("manufacturer"), QStringLiteral("Demo Modems")},
            {QStringLiteral("model"), QStringLiteral("DM-5000")},
            {QStringLiteral("revision"), QStringLiteral("1.0.7")},
            {QStringLiteral("imei"), QStringLiteral("350000000000001")},
            {QStringLiteral("imsi"), QStringLiteral("001010000000001")},
            {QStringLiteral("msisdn"), QString()},
            {QStringLiteral("rat"), QStringLiteral("auto")},
            {QStringLiteral("plmn"), QStringLiteral("auto")},
            {QStringLiteral("pin_persistent"), QStringLiteral("off")},
            {QStringLiteral("apn"), QStringLiteral("internet.demo")},
            {QStringLiteral("data_connection"), QStringLiteral("off")},
            {QStringLiteral("data_connection_state"), QString()},
            {QStringLiteral("username"), QString()},
            {QStringLiteral("password"), QString()},
            {QStringLiteral("authentication"), QStringLiteral("PAP")},
            {QStringLiteral("network_quality"), QStringLiteral("middle")},
            {QStringLiteral("ajb_profile"), QStringLiteral("safe")},
            {QStringLiteral("registration_state"), QStringLiteral("registered")},
            {QStringLiteral("echo_cancel"), QStringLiteral("on")},
            {QStringLiteral("noise_gate"), QStringLiteral("off")},
            {QStringLiteral("diversity"), QStringLiteral("on")}});
    setAll(fake,
           kWifi,
           {{QStringLiteral("ssid"), QStringLiteral("Studio")},
            {QStringLiteral("ssid_custom"), QStringLiteral("Studio")},
            {QStringLiteral("authentication"), QStringLiteral("WPA2-PSK")},
            {QStringLiteral("authentication_custom"), QStringLiteral("WPA2-PSK")},
            {QStringLiteral("passphrase"), QStringLiteral("studio-pass")},
            {QStringLiteral("data_connection"), QStringLiteral("off")},
            {QStringLiteral("data_connection_state"), QString()},
            {QStringLiteral("network_quality"), QStringLiteral("low")},
            {QStringLiteral("ajb_profile"), QStringLiteral("punchy")},
            {QStringLiteral("local_addr"), QString()}});
    setAll(fake,
           isdn,
           {{QStringLiteral("protocol"), QStringLiteral("isdn_udss1")},
            {QStringLiteral("spid"), QString()},
            {QStringLiteral("addr_sb0_ch0"), QStringLiteral("5550101")},
            {QStringLiteral("addr_sb0_ch1"), QStringLiteral("5550102")},
            {QStringLiteral("subaddr_sb0_ch0"), QString()},
            {QStringLiteral("subaddr_sb0_ch1"), QString()}});
    fake.setValue(QStringLiteral("5as"), QStringLiteral("off"), QStringLiteral("audio"));
}

std::optional<QList<FakeReply>> answerNetworkDemo(FakeQuorix &fake, const FakeRequest &request)
{
    if (request.message.type == FakeMessage::Param && request.target() == kNetwork
        && request.lists().size() == 1 && request.gets().isEmpty()) {
        const QString name = request.lists().constFirst();
        const auto list = interfaceLists().constFind(request.network() + QLatin1Char('/') + name);
        if (list != interfaceLists().constEnd())
            return QList<FakeReply>{
                answer(QStringLiteral("OK"), {{name, FakeMessage::joinList(*list)}})};
    }
    if (isMobileRequest(request) && request.has(kPin)) {
        if (request.value(kPin) != QLatin1String(kDemoSimPin))
            return QList<FakeReply>{answer(QStringLiteral("ERROR"), {{kPin, kWrongPin}})};
        fake.setValue(kPin, kPinReady, kNetwork, kMobile);
        return QList<FakeReply>{answer(QStringLiteral("OK"), {})};
    }
    if (isMobileRequest(request) && request.gets().contains(kPin)
        && !fake.hasValue(kPin, kNetwork, kMobile)) {
        // Until the right PIN came, the modem answers every question about it with its demand.
        // The modem cannot register either.
        FakePairs refused;
        for (const QString &name : request.gets())
            refused.append({name, kPinRequired});
        return QList<FakeReply>{answer(QStringLiteral("ERROR"), refused)};
    }
    if (request.message.type == FakeMessage::Param && request.target() == kNetwork
        && request.network() == kWifi && request.has(kPassphrase)
        && !request.value(kPassphrase).isEmpty()
        && request.value(kPassphrase).size() < kMinPassphrase) {
        // Refused as a whole: nothing of the request is stored.
        FakePairs pairs = {{kPassphrase, kInvalidValue}};
        return QList<FakeReply>{answer(QStringLiteral("ERROR"), pairs)};
    }
    return std::nullopt;
}

void installDemoNetworks(DemoUnit &demo)
{
    FakeQuorix &fake = demo.fake();
    const QString network = QStringLiteral("network");
    // A unit always lists its audio-over-IP module; without it the device never finishes
    // loading.
    fake.setList(network, {QStringLiteral("aoip"), QStringLiteral("eth.0")}, network);
    fake.setValue(QStringLiteral("default_network"), QStringLiteral("eth.0"), network);

    // What the device reads of the network carrying the calls.
    const QString eth = QStringLiteral("eth.0");
    fake.setValue(QStringLiteral("mode"), QStringLiteral("dhcp"), network, eth);
    fake.setValue(QStringLiteral("cable"), QStringLiteral("plugged"), network, eth);

    // The audio-over-IP module: its version and SIP accounts are read without naming the module
    // as the network, its jitter-buffer setting naming it.
    fake.setValue(QStringLiteral("aoip_version"), QStringLiteral("3.4.1"), network);
    fake.setValue(QStringLiteral("sip_state"), QStringLiteral("registered"), network);
    fake.setValue(QStringLiteral("sip_state2"), QStringLiteral("unregistered"), network);
    fake.setValue(
        QStringLiteral("jitterab"), QStringLiteral("on"), network, QStringLiteral("aoip"));

    // The interfaces of the settings menu's network pages.
    fillNetworkDemo(fake);
    demo.addHandler(
        [&fake](const FakeRequest &request) { return answerNetworkDemo(fake, request); });
}
