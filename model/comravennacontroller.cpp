#include "model/comravennacontroller.h"

#include "link/cmsg.h"
#include "link/comclient.h"
#include "link/protocolkeys.h"
#include "link/sharedobjects.h"
#include "link/valueconversions.h"
#include "model/firmwareversion.h"
#include "model/modelkeys.h"
#include "model/wordtable.h"

#include <algorithm>
#include <array>
#include <functional>

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

int numberOr(const std::string &text, int emptyValue)
{
    return text.empty() ? emptyValue : stringToInt(text);
}

const std::string &interfaceKey(const std::string &first, const std::string &second, int iface)
{
    return (iface & 1) ? second : first;
}

const std::string *streamKeys(int stream)
{
    static const std::string *const keys[TComRavennaController::StreamCount]
        = {&kRavennaKeyRavStreamIn0,
           &kRavennaKeyRavStreamIn1,
           &kRavennaKeyRavStreamIn2,
           &kRavennaKeyRavStreamIn3,
           &kRavennaKeyRavStreamIn4,
           &kRavennaKeyRavStreamIn5};
    return keys[stream];
}

const std::string *statusKeys(int stream)
{
    static const std::string *const keys[TComRavennaController::StreamCount]
        = {&kRavennaKeyRavStatusIn0,
           &kRavennaKeyRavStatusIn1,
           &kRavennaKeyRavStatusIn2,
           &kRavennaKeyRavStatusIn3,
           &kRavennaKeyRavStatusIn4,
           &kRavennaKeyRavStatusIn5};
    return keys[stream];
}

using Applier = std::function<bool(const std::string &text)>;

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
    : TComController(com, GeneralController)
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

bool TComRavennaController::sendIf(bool send, const std::string &key, const std::string &value)
{
    return !send || sendTextParam(key, value);
}

// --- setters ---

bool TComRavennaController::setSampleRate(int value, bool send)
{
    if (value == m_sampleRate)
        return true;
    if (!sendIf(send, kRavennaKeyRavSampleRate, longToString(value)))
        return false;
    m_sampleRate = value;
    return true;
}

bool TComRavennaController::setResolution(int value, bool send)
{
    if (value == m_resolution)
        return true;
    if (!sendIf(send, kRavennaKeyRavResolution, longToString(value)))
        return false;
    m_resolution = value;
    return true;
}

bool TComRavennaController::setPtpDomain(int value, bool send)
{
    if (value == m_ptpDomain)
        return true;
    if (!sendIf(send, kRavennaKeyRavPtpDomain, longToString(value)))
        return false;
    m_ptpDomain = value;
    return true;
}

bool TComRavennaController::setVlanId(int iface, int value, bool send)
{
    NetInterface &net = m_interfaces[iface & 1];
    if (value == net.vlanId)
        return true;
    const std::string &key = interfaceKey(kRavennaKeyRavVlanId, kRavennaKeyRavVlanId1, iface);
    if (!sendIf(send, key, longToString(value)))
        return false;
    net.vlanId = value;
    return true;
}

bool TComRavennaController::setDelayIn(int value, bool send)
{
    if (value == m_delayIn)
        return true;
    if (!sendIf(send, kRavennaKeyRavDelayIn, longToString(value)))
        return false;
    m_delayIn = value;
    return true;
}

bool TComRavennaController::setNetifOu(int value, bool send)
{
    if (value == m_netifOu)
        return true;
    if (!sendIf(send, kRavennaKeyRavNetifOu, longToString(value)))
        return false;
    m_netifOu = value;
    return true;
}

bool TComRavennaController::setMcPortOu(int iface, int value, bool send)
{
    TxDestination &destination = m_txDestinations[iface & 1];
    if (value == destination.mcPort)
        return true;
    const std::string &key = interfaceKey(kRavennaKeyRavMcPortOu, kRavennaKeyRavMcPortOu1, iface);
    if (!sendIf(send && value > 0, key, longToString(value)))
        return false;
    destination.mcPort = value;
    return true;
}

bool TComRavennaController::setDeviceName(const std::string &value, bool send)
{
    if (value == m_deviceName)
        return true;
    if (!sendIf(send && !value.empty(), kRavennaKeyRavDeviceName, latin1ToUtf8(value)))
        return false;
    m_deviceName = value;
    return true;
}

bool TComRavennaController::setNetMode(int value, bool send)
{
    if (value == m_netMode)
        return true;
    if (!sendIf(send, kRavennaKeyRavNetMode, netModeToText(value)))
        return false;
    m_netMode = value;
    return true;
}

bool TComRavennaController::setDhcp(int iface, bool value, bool send)
{
    NetInterface &net = m_interfaces[iface & 1];
    if (value == (net.dhcp != DhcpOff))
        return true;
    if (!sendIf(send, interfaceKey(kRavennaKeyRavDhcp, kRavennaKeyRavDhcp1, iface), onOff(value)))
        return false;
    net.dhcp = value ? DhcpOn : DhcpOff;
    return true;
}

bool TComRavennaController::setIpAddr(int iface, const std::string &value, bool send)
{
    NetInterface &net = m_interfaces[iface & 1];
    if (value == net.ipAddr)
        return true;
    const std::string &key = interfaceKey(kRavennaKeyRavIpAddr, kRavennaKeyRavIpAddr1, iface);
    if (!sendIf(send && !value.empty() && net.dhcp == DhcpOff, key, value))
        return false;
    net.ipAddr = value;
    return true;
}

bool TComRavennaController::setSubnet(int iface, const std::string &value, bool send)
{
    NetInterface &net = m_interfaces[iface & 1];
    if (value == net.subnet)
        return true;
    const std::string &key = interfaceKey(kRavennaKeyRavSubnet, kRavennaKeyRavSubnet1, iface);
    if (!sendIf(send && !value.empty() && net.dhcp == DhcpOff, key, value))
        return false;
    net.subnet = value;
    return true;
}

bool TComRavennaController::setGateway(int iface, const std::string &value, bool send)
{
    NetInterface &net = m_interfaces[iface & 1];
    if (value == net.gateway)
        return true;
    const std::string &key = interfaceKey(kRavennaKeyRavGateway, kRavennaKeyRavGateway1, iface);
    if (!sendIf(send && net.dhcp == DhcpOff, key, value))
        return false;
    net.gateway = value;
    return true;
}

bool TComRavennaController::setStreamIn(int stream, const StreamRef &value, bool send)
{
    if (stream < 0 || stream >= StreamCount)
        return false;
    StreamRef &stored = m_streamsIn[stream];
    if (stored.sameStream(value))
        return true;
    if (!sendIf(send, *streamKeys(stream), latin1ToUtf8(value.toText())))
        return false;
    stored.id = value.id;
    stored.channel = value.channel;
    stored.name = value.name;
    stored.status = StreamUnknown;
    stored.status2 = StreamUnknown;
    return true;
}

bool TComRavennaController::setModeOu(bool value, bool send)
{
    if (value == m_modeOu)
        return true;
    if (!sendIf(send, kRavennaKeyRavModeOu, onOff(value)))
        return false;
    m_modeOu = value;
    return true;
}

bool TComRavennaController::setNameOu(const std::string &value, bool send)
{
    if (value == m_nameOu)
        return true;
    if (!sendIf(send && !value.empty(), kRavennaKeyRavNameOu, latin1ToUtf8(value)))
        return false;
    m_nameOu = value;
    return true;
}

bool TComRavennaController::setAutoconfOu(int iface, bool value, bool send)
{
    TxDestination &destination = m_txDestinations[iface & 1];
    if (value == destination.autoconf)
        return true;
    const std::string &key
        = interfaceKey(kRavennaKeyRavAutoconfOu, kRavennaKeyRavAutoconfOu1, iface);
    if (!sendIf(send, key, onOff(value)))
        return false;
    destination.autoconf = value;
    return true;
}

bool TComRavennaController::setMcAddrOu(int iface, const std::string &value, bool send)
{
    TxDestination &destination = m_txDestinations[iface & 1];
    if (value == destination.mcAddr)
        return true;
    const std::string &key = interfaceKey(kRavennaKeyRavMcAddrOu, kRavennaKeyRavMcAddrOu1, iface);
    if (!sendIf(send && !value.empty(), key, value))
        return false;
    destination.mcAddr = value;
    return true;
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

bool TComRavennaController::applyParam(const std::string &key, const std::string &text)
{
    // Built on first use: the key constants are globals of another translation unit.
    using Handler = std::function<bool(TComRavennaController &, const std::string &)>;
    static const std::map<std::string, Handler> handlers = [] {
        using C = TComRavennaController;
        std::map<std::string, Handler> h;
        const auto store = [](auto C::*field, auto convert) {
            return [field, convert](C &c, const std::string &t) {
                c.*field = convert(t);
                return true;
            };
        };
        const auto asText = [](const std::string &t) { return t; };
        const auto asLatin1 = [](const std::string &t) { return utf8ToLatin1(t); };
        const auto asFlag = [](const std::string &t) { return t == kOn; };
        const auto numberDefault = [](int emptyValue) {
            return [emptyValue](const std::string &t) { return numberOr(t, emptyValue); };
        };
        // An empty text leaves the field as it is.
        const auto keepOnEmpty = [](int C::*field) {
            return [field](C &c, const std::string &t) {
                if (!t.empty())
                    c.*field = stringToInt(t);
                return true;
            };
        };

        h[kRavennaKeyRavManufacturer] = store(&C::m_manufacturer, asLatin1);
        h[kRavennaKeyRavHardwareName] = store(&C::m_hardwareName, asLatin1);
        h[kRavennaKeyRavDeviceName]
            = [](C &c, const std::string &t) { return c.setDeviceName(utf8ToLatin1(t), false); };
        h[kRavennaKeyRavIfCount] = store(
            &C::m_ifCount, [](const std::string &t) { return std::max(numberOr(t, 1), 1); });
        h[kRavennaKeyRavNetMode] = store(&C::m_netMode, &C::netModeFromText);
        h[kRavennaKeyRavSampleRate] = store(&C::m_sampleRate, numberDefault(48000));
        h[kRavennaKeyRavResolution] = store(&C::m_resolution, numberDefault(24));
        h[kRavennaKeyRavPtpDomain] = store(&C::m_ptpDomain, numberDefault(0));
        h[kRavennaKeyRavDelayMinIn] = keepOnEmpty(&C::m_delayMinIn);
        h[kRavennaKeyRavDelayMaxIn] = keepOnEmpty(&C::m_delayMaxIn);
        h[kRavennaKeyRavDelayIn] = keepOnEmpty(&C::m_delayIn);
        h[kRavennaKeyRavModeOu] = store(&C::m_modeOu, asFlag);
        h[kRavennaKeyRavNetifOu] = store(&C::m_netifOu, numberDefault(0));
        h[kRavennaKeyRavNameOu]
            = [](C &c, const std::string &t) { return c.setNameOu(utf8ToLatin1(t), false); };
        h[kRavennaKeyRavChCountOu] = store(&C::m_chCountOu, numberDefault(2));
        h[kRavennaKeyRavPtimeOu] = store(&C::m_ptimeOu, [](const std::string &t) {
            return t.empty() ? 1.0F : stringToFloat(t);
        });
        h[kRavennaKeyRavSyncState] = store(&C::m_syncState, numberDefault(0));
        h[kRavennaKeyRavLockState] = store(&C::m_lockState, &C::lockStateFromText);
        h[kRavennaKeyRavHardwareRev] = store(&C::m_hardwareRev, asText);
        h[kRavennaKeyRavFirmwareVer] = store(&C::m_firmwareVer, asText);
        h[kRavennaKeyRavFirmwareRev] = store(&C::m_firmwareRev, asText);
        h[kRavennaKeyRavRescueosRev] = store(&C::m_rescueosRev, asText);

        for (int i = 0; i < InterfaceCount; ++i) {
            const auto pick = [i](const std::string &first, const std::string &second) {
                return interfaceKey(first, second, i);
            };
            h[pick(kRavennaKeyRavDhcp, kRavennaKeyRavDhcp1)] = [i](C &c, const std::string &t) {
                c.m_interfaces[i].dhcp = dhcpFromText(t);
                return true;
            };
            h[pick(kRavennaKeyRavIpAddr, kRavennaKeyRavIpAddr1)]
                = [i](C &c, const std::string &t) { return c.setIpAddr(i, t, false); };
            h[pick(kRavennaKeyRavSubnet, kRavennaKeyRavSubnet1)]
                = [i](C &c, const std::string &t) { return c.setSubnet(i, t, false); };
            h[pick(kRavennaKeyRavGateway, kRavennaKeyRavGateway1)]
                = [i](C &c, const std::string &t) { return c.setGateway(i, t, false); };
            h[pick(kRavennaKeyRavHwAddr, kRavennaKeyRavHwAddr1)] = [i](C &c, const std::string &t) {
                c.m_interfaces[i].hwAddr = t;
                return true;
            };
            h[pick(kRavennaKeyRavVlanId, kRavennaKeyRavVlanId1)] = [i](C &c, const std::string &t) {
                c.m_interfaces[i].vlanId = numberOr(t, 0);
                return true;
            };
            h[pick(kRavennaKeyRavLinkState, kRavennaKeyRavLinkState1)]
                = [i](C &c, const std::string &t) {
                      c.m_interfaces[i].linkState = t == kOn;
                      return true;
                  };
            h[pick(kRavennaKeyRavPtpState, kRavennaKeyRavPtpState1)]
                = [i](C &c, const std::string &t) {
                      c.m_interfaces[i].ptpState = ptpStateFromText(t);
                      return true;
                  };
            h[pick(kRavennaKeyRavAutoconfOu, kRavennaKeyRavAutoconfOu1)]
                = [i](C &c, const std::string &t) {
                      c.m_txDestinations[i].autoconf = t == kOn;
                      return true;
                  };
            h[pick(kRavennaKeyRavMcAddrOu, kRavennaKeyRavMcAddrOu1)]
                = [i](C &c, const std::string &t) { return c.setMcAddrOu(i, t, false); };
            h[pick(kRavennaKeyRavMcPortOu, kRavennaKeyRavMcPortOu1)]
                = [i](C &c, const std::string &t) {
                      return c.setMcPortOu(i, numberOr(t, 5004), false);
                  };
        }
        for (int n = 0; n < StreamCount; ++n) {
            // The status words of a stream come only from its status key.
            h[*streamKeys(n)]
                = [n](C &c, const std::string &t) { return c.m_streamsIn[n].parse(t); };
            h[*statusKeys(n)]
                = [n](C &c, const std::string &t) { return c.applyStreamStatus(n, t); };
        }
        return h;
    }();

    const auto found = handlers.find(key);
    if (found == handlers.end())
        return true;
    return found->second(*this, text);
}

bool TComRavennaController::applyParams(const std::map<std::string, std::string> &values)
{
    if (values.empty())
        return false;
    bool result = true;
    for (const auto &entry : values)
        result = applyParam(entry.first, entry.second) && result;
    return result;
}

// --- writing ---

bool TComRavennaController::wireText(const std::string &key, std::string &out) const
{
    using Writer = std::function<std::string(const TComRavennaController &)>;
    static const std::map<std::string, Writer> writers = [] {
        using C = TComRavennaController;
        std::map<std::string, Writer> w;
        const auto decimal
            = [](int C::*field) { return [field](const C &c) { return longToString(c.*field); }; };
        w[kRavennaKeyRavDeviceName] = [](const C &c) { return latin1ToUtf8(c.m_deviceName); };
        w[kRavennaKeyRavNetMode] = [](const C &c) { return netModeToText(c.m_netMode); };
        w[kRavennaKeyRavSampleRate] = decimal(&C::m_sampleRate);
        w[kRavennaKeyRavResolution] = decimal(&C::m_resolution);
        w[kRavennaKeyRavPtpDomain] = decimal(&C::m_ptpDomain);
        w[kRavennaKeyRavDelayIn] = decimal(&C::m_delayIn);
        w[kRavennaKeyRavNetifOu] = decimal(&C::m_netifOu);
        w[kRavennaKeyRavModeOu] = [](const C &c) { return onOff(c.m_modeOu); };
        w[kRavennaKeyRavNameOu] = [](const C &c) { return latin1ToUtf8(c.m_nameOu); };
        for (int i = 0; i < InterfaceCount; ++i) {
            const auto pick = [i](const std::string &first, const std::string &second) {
                return interfaceKey(first, second, i);
            };
            w[pick(kRavennaKeyRavDhcp, kRavennaKeyRavDhcp1)]
                = [i](const C &c) { return onOff(c.m_interfaces[i].dhcp != DhcpOff); };
            w[pick(kRavennaKeyRavIpAddr, kRavennaKeyRavIpAddr1)]
                = [i](const C &c) { return c.m_interfaces[i].ipAddr; };
            w[pick(kRavennaKeyRavSubnet, kRavennaKeyRavSubnet1)]
                = [i](const C &c) { return c.m_interfaces[i].subnet; };
            w[pick(kRavennaKeyRavGateway, kRavennaKeyRavGateway1)]
                = [i](const C &c) { return c.m_interfaces[i].gateway; };
            w[pick(kRavennaKeyRavVlanId, kRavennaKeyRavVlanId1)]
                = [i](const C &c) { return longToString(c.m_interfaces[i].vlanId); };
            w[pick(kRavennaKeyRavAutoconfOu, kRavennaKeyRavAutoconfOu1)]
                = [i](const C &c) { return onOff(c.m_txDestinations[i].autoconf); };
            w[pick(kRavennaKeyRavMcAddrOu, kRavennaKeyRavMcAddrOu1)]
                = [i](const C &c) { return c.m_txDestinations[i].mcAddr; };
            w[pick(kRavennaKeyRavMcPortOu, kRavennaKeyRavMcPortOu1)]
                = [i](const C &c) { return longToString(c.m_txDestinations[i].mcPort); };
        }
        for (int n = 0; n < StreamCount; ++n) {
            w[*streamKeys(n)] = [n](const C &c) { return latin1ToUtf8(c.m_streamsIn[n].toText()); };
        }
        return w;
    }();

    const auto found = writers.find(key);
    if (found == writers.end())
        return false;
    out = found->second(*this);
    return true;
}

bool TComRavennaController::write(const std::vector<std::string> &keys)
{
    if (keys.empty())
        return false;
    std::map<std::string, std::string> params;
    for (const std::string &key : keys) {
        std::string text;
        if (wireText(key, text))
            params[key] = text;
    }
    if (params.empty())
        return false;
    return sendParams(params);
}

// --- controller operations ---

std::vector<std::string> TComRavennaController::readAllKeys()
{
    std::vector<std::string> keys;
    if (firmwareAtLeast(kFirmware1_7)) {
        keys.push_back(kRavennaKeyRavManufacturer);
        keys.push_back(kRavennaKeyRavHardwareName);
        if (firmwareAtLeast(kFirmware1_10))
            keys.push_back(kRavennaKeyRavIfCount);
    }
    for (const std::string *key :
         {&kRavennaKeyRavDeviceName, &kRavennaKeyRavSampleRate, &kRavennaKeyRavResolution,
          &kRavennaKeyRavPtpDomain,  &kRavennaKeyRavDhcp,       &kRavennaKeyRavIpAddr,
          &kRavennaKeyRavSubnet,     &kRavennaKeyRavGateway,    &kRavennaKeyRavHwAddr,
          &kRavennaKeyRavStreamIn0,  &kRavennaKeyRavStatusIn0,  &kRavennaKeyRavStreamIn1,
          &kRavennaKeyRavStatusIn1,  &kRavennaKeyRavDelayMinIn, &kRavennaKeyRavDelayMaxIn,
          &kRavennaKeyRavDelayIn,    &kRavennaKeyRavNameOu,     &kRavennaKeyRavModeOu,
          &kRavennaKeyRavAutoconfOu, &kRavennaKeyRavMcAddrOu,   &kRavennaKeyRavMcPortOu,
          &kRavennaKeyRavChCountOu,  &kRavennaKeyRavPtimeOu,    &kRavennaKeyRavSyncState,
          &kRavennaKeyRavLinkState,  &kRavennaKeyRavPtpState,   &kRavennaKeyRavHardwareRev,
          &kRavennaKeyRavFirmwareRev})
        keys.push_back(*key);
    return keys;
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
    if (readParams(keys, values, failed) < 1)
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
    m_ifCount = 1;
    m_deviceName.clear();
    m_sampleRate = 48000;
    m_resolution = 24;
    m_ptpDomain = 0;
    for (NetInterface &net : m_interfaces)
        net = NetInterface();
    // Whole records, so that no status word of an already empty stream survives the reset.
    for (StreamRef &stream : m_streamsIn)
        stream = StreamRef();
    m_nameOu.clear();
    m_netifOu = 0;
    m_chCountOu = 2;
    m_ptimeOu = 1.0F;
    m_modeOu = false;
    for (TxDestination &destination : m_txDestinations)
        destination = TxDestination();
    m_syncState = 0;
    m_lockState = LockUnknown;
    blockSignals(wasBlocked);
    TComController::reset();
}

TComRavennaController *ravennaController()
{
    static SharedObject<TComRavennaController> controller;
    return controller.instance([] { return comClient(); });
}
