#include "model/comravennacontroller.h"

#include "link/cmsg.h"
#include "link/comclient.h"
#include "link/protocolkeys.h"
#include "link/sharedobjects.h"
#include "link/valueconversions.h"
#include "model/firmwareversion.h"
#include "model/keytable.h"
#include "model/modelkeys.h"
#include "model/wordtable.h"

#include <algorithm>
#include <array>

namespace {

const std::string kOn = "on";
const std::string kOff = "off";
const std::string kRedundant = "redund";
const std::string kSwitch = "switch";
const std::string kZeroconf = "zeroconf";

// Index in the table is the value; unknown words give -1.
const std::array<std::string, 10> kStreamStateWords = {"disabled",
                                                       "idle",
                                                       "waiting",
                                                       "transmitting",
                                                       "receiving",
                                                       "receiving warning",
                                                       "receiving no sync",
                                                       "receiving sync err",
                                                       "addr collision",
                                                       "not enough dec"};
const std::array<std::string, 10> kPtpStateWords = {"not defined",
                                                    "initializing",
                                                    "faulty",
                                                    "disabled",
                                                    "listening",
                                                    "pre master",
                                                    "master",
                                                    "passive",
                                                    "not calibrated",
                                                    "slave"};
// Index + 1 is the value; unknown words give 0.
const std::array<std::string, 3> kLockStateWords = {"unlocked", "locking", "locked"};

const std::string &onOff(bool value)
{
    return value ? kOn : kOff;
}

// An interface's addressing is written as a switch: ZeroConf counts as on.
std::string dhcpText(int value)
{
    return onOff(value != TComRavennaController::DhcpOff);
}

// At least one interface; an empty text is one.
int ifCountFromText(const std::string &text)
{
    return std::max(text.empty() ? 1 : stringToInt(text), 1);
}

} // namespace

// --- StreamRef ---

std::string TComRavennaController::StreamRef::toText() const
{
    return longToString(id) + '/' + longToString(channel) + '/' + name;
}

bool TComRavennaController::StreamRef::parse(const std::string &text)
{
    const std::size_t first = text.find('/');
    if (text.empty() || first == std::string::npos || first == 0 || first + 1 >= text.size())
        return false;
    const std::size_t second = text.find('/', first + 1);
    if (second == first + 1)
        return false;

    id = stringToInt(text.substr(0, first));
    if (second == std::string::npos) {
        channel = stringToInt(text.substr(first + 1));
        name.clear();
    } else {
        channel = stringToInt(text.substr(first + 1, second - first - 1));
        name = utf8ToLatin1(text.substr(second + 1));
    }
    return true;
}

// --- construction and word tables ---

TComRavennaController::TComRavennaController(ksm::CCom *com)
    : TComKeyedController(com, GeneralController)
{}

TComRavennaController::~TComRavennaController() = default;

int TComRavennaController::streamStateFromText(const std::string &text)
{
    return wordIndex(kStreamStateWords, text);
}

int TComRavennaController::ptpStateFromText(const std::string &text)
{
    return wordIndex(kPtpStateWords, text);
}

int TComRavennaController::lockStateFromText(const std::string &text)
{
    return wordIndex(kLockStateWords, text) + 1;
}

int TComRavennaController::netModeFromText(const std::string &text)
{
    return text == kRedundant ? NetModeRedundant : NetModeSwitch;
}

int TComRavennaController::dhcpFromText(const std::string &text)
{
    if (text == kOn)
        return DhcpOn;
    if (text == kZeroconf)
        return DhcpZeroconf;
    return DhcpOff;
}

std::string TComRavennaController::netModeToText(int value)
{
    return value == NetModeRedundant ? kRedundant : kSwitch;
}

const TComRavennaController::StreamRef &TComRavennaController::streamIn(int stream) const
{
    static const StreamRef none;
    if (stream < 0 || stream >= StreamCount)
        return none;
    return m_streamsIn[stream];
}

// --- the key table ---

const KeyTable &TComRavennaController::keyRows()
{
    using C = TComRavennaController;
    using Net = NetInterface;
    using Tx = TxDestination;
    const auto net
        = [](int iface, auto member) { return KeyRow::element(&C::m_interfaces, iface, member); };
    const auto tx = [](int iface, auto member) {
        return KeyRow::element(&C::m_txDestinations, iface, member);
    };
    const auto stream = [](const std::string &key, int n) {
        return KeyRow::record(
                   key, KeyRow::element(&C::m_streamsIn, n), &StreamRef::parse, &StreamRef::toText)
            .inLatin1();
    };
    // In the order readAll() asks for them; the rows after the first interface's, the first two
    // streams' and the transmit stream's are read only where a page asks for them. The module's
    // identity, revisions, networking mode and receiver delays outlast a reset.
    static const KeyTable table = {
        KeyRow::text(kRavennaKeyRavManufacturer, &C::m_manufacturer)
            .inLatin1()
            .onlyReported()
            .readFrom(kFirmware1_7)
            .keptOverReset(),
        KeyRow::text(kRavennaKeyRavHardwareName, &C::m_hardwareName)
            .inLatin1()
            .onlyReported()
            .readFrom(kFirmware1_7)
            .keptOverReset(),
        KeyRow::word(kRavennaKeyRavIfCount, &C::m_ifCount, nullptr, &ifCountFromText)
            .initially(1)
            .onlyReported()
            .readFrom(kFirmware1_10),
        KeyRow::text(kRavennaKeyRavDeviceName, &C::m_deviceName).inLatin1().emptyNeverSent(),
        KeyRow::number(kRavennaKeyRavSampleRate, &C::m_sampleRate, 48000),
        KeyRow::number(kRavennaKeyRavResolution, &C::m_resolution, 24),
        KeyRow::number(kRavennaKeyRavPtpDomain, &C::m_ptpDomain, 0),
        KeyRow::word(kRavennaKeyRavDhcp, net(0, &Net::dhcp), &dhcpText, &C::dhcpFromText)
            .initially(DhcpOn),
        KeyRow::text(kRavennaKeyRavIpAddr, net(0, &Net::ipAddr))
            .emptyNeverSent()
            .sentWhile(&C::manualAddressing, 0),
        KeyRow::text(kRavennaKeyRavSubnet, net(0, &Net::subnet))
            .emptyNeverSent()
            .sentWhile(&C::manualAddressing, 0),
        KeyRow::text(kRavennaKeyRavGateway, net(0, &Net::gateway))
            .sentWhile(&C::manualAddressing, 0),
        KeyRow::text(kRavennaKeyRavHwAddr, net(0, &Net::hwAddr)).onlyReported(),
        stream(kRavennaKeyRavStreamIn0, 0),
        KeyRow::applied(kRavennaKeyRavStatusIn0, &C::applyStreamStatus, 0),
        stream(kRavennaKeyRavStreamIn1, 1),
        KeyRow::applied(kRavennaKeyRavStatusIn1, &C::applyStreamStatus, 1),
        KeyRow::number(kRavennaKeyRavDelayMinIn, &C::m_delayMinIn, 1)
            .onlyReported()
            .keptWhenEmpty()
            .keptOverReset(),
        KeyRow::number(kRavennaKeyRavDelayMaxIn, &C::m_delayMaxIn, 24000)
            .onlyReported()
            .keptWhenEmpty()
            .keptOverReset(),
        KeyRow::number(kRavennaKeyRavDelayIn, &C::m_delayIn, 512).keptWhenEmpty().keptOverReset(),
        KeyRow::text(kRavennaKeyRavNameOu, &C::m_nameOu).inLatin1().emptyNeverSent(),
        KeyRow::flag(kRavennaKeyRavModeOu, &C::m_modeOu),
        KeyRow::flag(kRavennaKeyRavAutoconfOu, tx(0, &Tx::autoconf)),
        KeyRow::text(kRavennaKeyRavMcAddrOu, tx(0, &Tx::mcAddr)).emptyNeverSent(),
        KeyRow::number(kRavennaKeyRavMcPortOu, tx(0, &Tx::mcPort), 5004).sentFrom(1),
        KeyRow::number(kRavennaKeyRavChCountOu, &C::m_chCountOu, 2).onlyReported(),
        KeyRow::applied(kRavennaKeyRavPtimeOu, &C::applyPtimeOu),
        KeyRow::number(kRavennaKeyRavSyncState, &C::m_syncState, 0).onlyReported(),
        KeyRow::flag(kRavennaKeyRavLinkState, net(0, &Net::linkState)).onlyReported(),
        KeyRow::word(kRavennaKeyRavPtpState, net(0, &Net::ptpState), nullptr, &C::ptpStateFromText)
            .initially(PtpUnknown)
            .onlyReported(),
        KeyRow::text(kRavennaKeyRavHardwareRev, &C::m_hardwareRev).onlyReported().keptOverReset(),
        KeyRow::text(kRavennaKeyRavFirmwareRev, &C::m_firmwareRev).onlyReported().keptOverReset(),

        KeyRow::word(kRavennaKeyRavNetMode, &C::m_netMode, &C::netModeToText, &C::netModeFromText)
            .notInReadAll()
            .keptOverReset(),
        KeyRow::number(kRavennaKeyRavVlanId, net(0, &Net::vlanId), 0).initially(1).notInReadAll(),
        KeyRow::number(kRavennaKeyRavNetifOu, &C::m_netifOu, 0).notInReadAll(),
        KeyRow::word(kRavennaKeyRavLockState, &C::m_lockState, nullptr, &C::lockStateFromText)
            .onlyReported()
            .notInReadAll(),
        KeyRow::text(kRavennaKeyRavFirmwareVer, &C::m_firmwareVer)
            .onlyReported()
            .notInReadAll()
            .keptOverReset(),
        KeyRow::text(kRavennaKeyRavRescueosRev, &C::m_rescueosRev)
            .onlyReported()
            .notInReadAll()
            .keptOverReset(),
        stream(kRavennaKeyRavStreamIn2, 2).notInReadAll(),
        KeyRow::applied(kRavennaKeyRavStatusIn2, &C::applyStreamStatus, 2).notInReadAll(),
        stream(kRavennaKeyRavStreamIn3, 3).notInReadAll(),
        KeyRow::applied(kRavennaKeyRavStatusIn3, &C::applyStreamStatus, 3).notInReadAll(),
        stream(kRavennaKeyRavStreamIn4, 4).notInReadAll(),
        KeyRow::applied(kRavennaKeyRavStatusIn4, &C::applyStreamStatus, 4).notInReadAll(),
        stream(kRavennaKeyRavStreamIn5, 5).notInReadAll(),
        KeyRow::applied(kRavennaKeyRavStatusIn5, &C::applyStreamStatus, 5).notInReadAll(),

        // The second interface.
        KeyRow::word(kRavennaKeyRavDhcp1, net(1, &Net::dhcp), &dhcpText, &C::dhcpFromText)
            .initially(DhcpOn)
            .notInReadAll(),
        KeyRow::text(kRavennaKeyRavIpAddr1, net(1, &Net::ipAddr))
            .emptyNeverSent()
            .sentWhile(&C::manualAddressing, 1)
            .notInReadAll(),
        KeyRow::text(kRavennaKeyRavSubnet1, net(1, &Net::subnet))
            .emptyNeverSent()
            .sentWhile(&C::manualAddressing, 1)
            .notInReadAll(),
        KeyRow::text(kRavennaKeyRavGateway1, net(1, &Net::gateway))
            .sentWhile(&C::manualAddressing, 1)
            .notInReadAll(),
        KeyRow::text(kRavennaKeyRavHwAddr1, net(1, &Net::hwAddr)).onlyReported().notInReadAll(),
        KeyRow::number(kRavennaKeyRavVlanId1, net(1, &Net::vlanId), 0).initially(1).notInReadAll(),
        KeyRow::flag(kRavennaKeyRavLinkState1, net(1, &Net::linkState))
            .onlyReported()
            .notInReadAll(),
        KeyRow::word(kRavennaKeyRavPtpState1, net(1, &Net::ptpState), nullptr, &C::ptpStateFromText)
            .initially(PtpUnknown)
            .onlyReported()
            .notInReadAll(),
        KeyRow::flag(kRavennaKeyRavAutoconfOu1, tx(1, &Tx::autoconf)).notInReadAll(),
        KeyRow::text(kRavennaKeyRavMcAddrOu1, tx(1, &Tx::mcAddr)).emptyNeverSent().notInReadAll(),
        KeyRow::number(kRavennaKeyRavMcPortOu1, tx(1, &Tx::mcPort), 5004)
            .sentFrom(1)
            .notInReadAll(),
    };
    return table;
}

const KeyTable &TComRavennaController::keyTable() const
{
    return keyRows();
}

// --- requests ---

int TComRavennaController::readParams(const std::vector<std::string> &keys,
                                      std::map<std::string, std::string> &values,
                                      std::map<std::string, std::string> &failed)
{
    return readTargetParams(kTargetAudio, keys, values, failed);
}

bool TComRavennaController::listValues(const std::string &key, std::vector<std::string> &items)
{
    ksm::CMsg msg(ksm::CMsg::Param);
    msg.setParam(kKeyTarget, kTargetAudio);
    msg.addList(key);
    return m_request.list(msg, items, TComRequest::DefaultTimeoutMs);
}

bool TComRavennaController::listStreamsIn(std::vector<StreamRef> &out)
{
    out.clear();
    std::vector<std::string> items;
    if (!listValues(kRavennaKeyRavStreamIn, items))
        return false;
    for (const std::string &item : items) {
        StreamRef stream;
        if (stream.parse(item))
            out.push_back(stream);
    }
    return true;
}

bool TComRavennaController::listSampleRates(std::vector<int> &out)
{
    out.clear();
    std::vector<std::string> items;
    if (!listValues(kRavennaKeyRavSampleRate, items))
        return false;
    for (const std::string &item : items)
        out.push_back(stringToInt(item));
    return true;
}

bool TComRavennaController::listResolutions(std::vector<int> &out)
{
    out.clear();
    std::vector<std::string> items;
    if (!listValues(kRavennaKeyRavResolution, items))
        return false;
    for (const std::string &item : items)
        out.push_back(stringToInt(item));
    return true;
}

bool TComRavennaController::sendParam(const std::string &key, int value)
{
    return sendTextParam(key, longToString(value));
}

bool TComRavennaController::sendTextParam(const std::string &key, const std::string &value)
{
    return sendParams({{key, value}});
}

bool TComRavennaController::sendParams(const std::map<std::string, std::string> &values)
{
    return writeTargetParams(kTargetAudio, values);
}

bool TComRavennaController::writeKey(const std::string &key, const std::string &value)
{
    return sendTextParam(key, value);
}

// --- setters ---

bool TComRavennaController::setSampleRate(int value, bool send)
{
    return store(m_sampleRate, value, send);
}

bool TComRavennaController::setResolution(int value, bool send)
{
    return store(m_resolution, value, send);
}

bool TComRavennaController::setPtpDomain(int value, bool send)
{
    return store(m_ptpDomain, value, send);
}

bool TComRavennaController::setVlanId(int iface, int value, bool send)
{
    return store(m_interfaces[iface & 1].vlanId, value, send);
}

bool TComRavennaController::setDelayIn(int value, bool send)
{
    return store(m_delayIn, value, send);
}

bool TComRavennaController::setNetifOu(int value, bool send)
{
    return store(m_netifOu, value, send);
}

bool TComRavennaController::setMcPortOu(int iface, int value, bool send)
{
    return store(m_txDestinations[iface & 1].mcPort, value, send);
}

bool TComRavennaController::setDeviceName(const std::string &value, bool send)
{
    return store(m_deviceName, value, send);
}

bool TComRavennaController::setNetMode(int value, bool send)
{
    return store(m_netMode, value, send);
}

bool TComRavennaController::setDhcp(int iface, bool value, bool send)
{
    if (value == (m_interfaces[iface & 1].dhcp != DhcpOff))
        return true;
    return setDhcpMode(iface, value ? DhcpOn : DhcpOff, send);
}

bool TComRavennaController::setDhcpMode(int iface, int mode, bool send)
{
    return store(m_interfaces[iface & 1].dhcp, mode, send);
}

bool TComRavennaController::setIpAddr(int iface, const std::string &value, bool send)
{
    return store(m_interfaces[iface & 1].ipAddr, value, send);
}

bool TComRavennaController::setSubnet(int iface, const std::string &value, bool send)
{
    return store(m_interfaces[iface & 1].subnet, value, send);
}

bool TComRavennaController::setGateway(int iface, const std::string &value, bool send)
{
    return store(m_interfaces[iface & 1].gateway, value, send);
}

bool TComRavennaController::setStreamIn(int stream, const StreamRef &value, bool send)
{
    if (stream < 0 || stream >= StreamCount)
        return false;
    // A new reference's status is not known until the module reports it.
    StreamRef chosen = value;
    chosen.status = StreamUnknown;
    chosen.status2 = StreamUnknown;
    return storeRecord(m_streamsIn[stream], chosen, send, &StreamRef::sameStream);
}

bool TComRavennaController::setModeOu(bool value, bool send)
{
    return store(m_modeOu, value, send);
}

bool TComRavennaController::setNameOu(const std::string &value, bool send)
{
    return store(m_nameOu, value, send);
}

bool TComRavennaController::setAutoconfOu(int iface, bool value, bool send)
{
    return store(m_txDestinations[iface & 1].autoconf, value, send);
}

bool TComRavennaController::setMcAddrOu(int iface, const std::string &value, bool send)
{
    return store(m_txDestinations[iface & 1].mcAddr, value, send);
}

// --- applying received values ---

bool TComRavennaController::applyStreamStatus(int stream, const std::string &text)
{
    if (stream < 0 || stream >= StreamCount)
        return false;
    StreamRef &ref = m_streamsIn[stream];
    const std::size_t comma = text.find(',');
    if (comma == std::string::npos) {
        ref.status = streamStateFromText(text);
        ref.status2 = StreamDisabled;
        return true;
    }
    ref.status = streamStateFromText(text.substr(0, comma));
    if (comma + 1 == text.size())
        return false;
    ref.status2 = streamStateFromText(text.substr(comma + 1));
    return true;
}

bool TComRavennaController::applyPtimeOu(const std::string &text)
{
    m_ptimeOu = text.empty() ? 1.0F : stringToFloat(text);
    return true;
}

bool TComRavennaController::applyParams(const std::map<std::string, std::string> &values)
{
    return !values.empty() && applyValues(values);
}

// --- writing ---

bool TComRavennaController::write(const std::vector<std::string> &keys)
{
    if (keys.empty())
        return false;
    const std::map<std::string, std::string> params = currentWrites(keys);
    if (params.empty())
        return false;
    return sendParams(params);
}

// --- controller operations ---

std::vector<std::string> TComRavennaController::readAllKeys()
{
    return keyRows().readAllKeys();
}

bool TComRavennaController::readAll()
{
    return read(readAllKeys());
}

bool TComRavennaController::read(const std::vector<std::string> &keys)
{
    if (keys.empty())
        return false;
    std::map<std::string, std::string> values;
    std::map<std::string, std::string> failed;
    const int got = readParams(keys, values, failed);
    if (got >= 0)
        forgetUnanswered(keys, values);
    if (got < 1)
        return false;
    return applyParams(values);
}

bool TComRavennaController::start(const std::vector<std::string> &keys)
{
    return startReading([this, &keys] { return keys.empty() || read(keys); });
}

bool TComRavennaController::startWithIdentity()
{
    if (!start({kRavennaKeyRavFirmwareRev}))
        return false;
    std::vector<std::string> keys;
    if (firmwareAtLeast(kFirmware1_7)) {
        keys.push_back(kRavennaKeyRavManufacturer);
        keys.push_back(kRavennaKeyRavHardwareName);
    }
    if (firmwareAtLeast(kFirmware1_10))
        keys.push_back(kRavennaKeyRavIfCount);
    keys.push_back(kRavennaKeyRavDeviceName);
    keys.push_back(kRavennaKeyRavHardwareRev);
    read(keys);
    return true;
}

void TComRavennaController::reset()
{
    const bool wasBlocked = blockSignals(true);
    // Whole stream records go, so that no status word of an already empty stream survives.
    resetKeys();
    clearKnown();
    m_ptimeOu = 1.0F;
    blockSignals(wasBlocked);
    TComController::reset();
}

TComRavennaController *ravennaController()
{
    static SharedObject<TComRavennaController> controller;
    return controller.instance([] { return comClient(); });
}
