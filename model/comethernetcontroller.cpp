#include "model/comethernetcontroller.h"

#include "link/cmsg.h"
#include "link/protocolkeys.h"
#include "model/keytable.h"
#include "model/modelkeys.h"
#include "model/wordtable.h"

#include <array>
#include <map>

namespace {

const std::array<std::string, 4> kModeWords = {"dhcp", "manual", "pppoe", "bgan"};

const std::array<std::string, 9> kLinkModeWords = {"autonegotiation",
                                                   "10000baseT-FD",
                                                   "2500baseT-FD",
                                                   "1000baseT-FD",
                                                   "1000baseT-HD",
                                                   "100baseT-FD",
                                                   "100baseT-HD",
                                                   "10baseT-FD",
                                                   "10baseT-HD"};

constexpr char kCablePlugged[] = "plugged";

} // namespace

TComEthernetController::TComEthernetController(ksm::CCom *com)
    : TComNetworkController(com, EthernetController)
{}

TComEthernetController::~TComEthernetController() = default;

const std::string &TComEthernetController::modeText(int mode)
{
    return wordAt(kModeWords, mode);
}

int TComEthernetController::modeFromText(const std::string &text)
{
    return wordIndex(kModeWords, text);
}

const std::string &TComEthernetController::linkModeText(int linkMode)
{
    return wordAt(kLinkModeWords, linkMode);
}

int TComEthernetController::linkModeFromText(const std::string &text)
{
    return wordIndex(kLinkModeWords, text);
}

const KeyTable &TComEthernetController::keyTable() const
{
    using C = TComEthernetController;
    // In the order readAll() asks for them.
    static const KeyTable table = {
        KeyRow::flag(kEthernetKeyCable, &C::m_cable)
            .trueWhen(kCablePlugged)
            .onlyReported()
            .signalled(ParamCable)
            .inConfigEvent(KeyRow::InEventWhenSet),
        KeyRow::word(kEthernetKeyMode, &C::m_mode, &C::modeText, &C::modeFromText)
            .unknownNeverSent()
            .signalled(ParamMode)
            .inConfigEvent(KeyRow::InEventWhenSet),
        KeyRow::text(kEthernetKeyLocalAddr, &C::m_localAddr)
            .sentWhile(&C::manualAddressing)
            .emptyNeverSent()
            .signalled(ParamLocalAddr)
            .inConfigEvent(KeyRow::InEventAlways),
        KeyRow::text(kEthernetKeySubnet, &C::m_subnet)
            .sentWhile(&C::manualAddressing)
            .emptyNeverSent()
            .signalled(ParamSubnet)
            .inConfigEvent(KeyRow::InEventAlways),
        KeyRow::text(kEthernetKeyGateway, &C::m_gateway)
            .sentWhile(&C::manualAddressing)
            .signalled(ParamGateway)
            .inConfigEvent(KeyRow::InEventAlways),
        KeyRow::text(kEthernetKeyDns1, &C::m_dns1)
            .sentWhile(&C::manualAddressing)
            .signalled(ParamDns1)
            .inConfigEvent(KeyRow::InEventAlways),
        KeyRow::text(kEthernetKeyDns2, &C::m_dns2)
            .sentWhile(&C::manualAddressing)
            .signalled(ParamDns2)
            .inConfigEvent(KeyRow::InEventAlways),
        KeyRow::word(kEthernetKeyLinkMode, &C::m_linkMode, &C::linkModeText, &C::linkModeFromText)
            .unknownNeverSent()
            .signalled(ParamLinkMode),
        KeyRow::word(kEthernetKeyLinkModeNeg, &C::m_linkModeNeg, nullptr, &C::linkModeFromText)
            .initially(-1)
            .onlyReported()
            .signalled(ParamLinkModeNeg),
        KeyRow::text(kEthernetKeyHwAddr, &C::m_hwAddr).onlyReported().signalled(ParamHwAddr),
        networkQualityKey().signalled(ParamNetworkQuality),
        ajbProfileKey().signalled(ParamAjbProfile),
    };
    return table;
}

bool TComEthernetController::setMode(int mode, bool send)
{
    return store(m_mode, mode, send);
}

bool TComEthernetController::setLocalAddr(const std::string &addr, bool send)
{
    return store(m_localAddr, addr, send);
}

bool TComEthernetController::setSubnet(const std::string &subnet, bool send)
{
    return store(m_subnet, subnet, send);
}

bool TComEthernetController::setGateway(const std::string &gateway, bool send)
{
    return store(m_gateway, gateway, send);
}

bool TComEthernetController::setDns1(const std::string &dns, bool send)
{
    return store(m_dns1, dns, send);
}

bool TComEthernetController::setDns2(const std::string &dns, bool send)
{
    return store(m_dns2, dns, send);
}

bool TComEthernetController::setLinkMode(int linkMode, bool send)
{
    return store(m_linkMode, linkMode, send);
}

bool TComEthernetController::applyLinkModeNeg(const std::string &text)
{
    return applyField(&m_linkModeNeg, text);
}

bool TComEthernetController::setHwAddr(const std::string &addr)
{
    return store(m_hwAddr, addr, false);
}

bool TComEthernetController::applyCable(const std::string &text)
{
    return applyField(&m_cable, text);
}

bool TComEthernetController::applyMode(const std::string &text)
{
    return applyField(&m_mode, text);
}

bool TComEthernetController::applyLinkMode(const std::string &text)
{
    return applyField(&m_linkMode, text);
}

void TComEthernetController::reset()
{
    resetKeys();
    clearKnown();
    TComNetworkController::reset();
}

bool TComEthernetController::readAll()
{
    return read(keyTable().readAllKeys());
}

bool TComEthernetController::read(const std::vector<std::string> &keys)
{
    return readKeys(keys);
}

bool TComEthernetController::write(const std::vector<std::string> &keys)
{
    if (keys.empty())
        return false;
    const std::map<std::string, std::string> params = knownWrites(keys);
    if (params.empty())
        return false;
    return writeNetworkParams(params, true);
}

bool TComEthernetController::handleInfo(const ksm::CMsg &)
{
    return false;
}

bool TComEthernetController::handleEvent(const ksm::CMsg &msg)
{
    const std::string &eventType = *msg.param(kKeyEventType, true);
    const std::string &network = *msg.param(kKeyNetwork, true);
    if (eventType.empty() || network.empty() || network != networkId())
        return false;

    if (eventType == kEventDefaultNetwork) {
        const std::string &mode = *msg.param(kEthernetKeyMode, true);
        if (!mode.empty()) {
            if (const KeyRow *row = rowOfField(&m_mode))
                applyNews(*row, mode);
        }
        return true;
    }
    if (eventType == kEventConfigInfo) {
        // The event names the keys that changed: a key it leaves out keeps its value, while an
        // address it carries empty is no longer set. Its settings are applied before the state it
        // reports (the cable). News of a key being written, or older than a write of it the unit
        // took, leaves the value written (applyNews()).
        for (const bool reported : {false, true}) {
            for (const KeyRow &row : keyTable().rows()) {
                if (row.event == KeyRow::NotInEvent || row.reported != reported)
                    continue;
                const std::string *text = msg.param(*row.key, false);
                if (text && (row.event == KeyRow::InEventAlways || !text->empty()))
                    applyNews(row, *text);
            }
        }
        Q_EMIT controllerParamChanged(this, ParamConfigInfo);
        return true;
    }
    return false;
}

bool TComEthernetController::setNetwork(const std::string &networkId, int flags, bool makeDefault)
{
    if (!TComNetworkController::setNetwork(networkId, flags, makeDefault))
        return false;
    setState(StateReady);
    return true;
}
