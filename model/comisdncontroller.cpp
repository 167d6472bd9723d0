#include "model/comisdncontroller.h"

#include "link/cmsg.h"
#include "link/protocolkeys.h"
#include "model/keytable.h"
#include "model/modelkeys.h"
#include "model/wordtable.h"

#include <array>
#include <map>

namespace {

const std::array<std::string, 4> kProtocolWords
    = {"isdn_udss1", "isdn_ni2", "isdn_ntt", "isdn_ni1"};

const std::string kOn = "on";
const std::string kOff = "off";

} // namespace

TComIsdnController::TComIsdnController(ksm::CCom *com)
    : TComNetworkController(com, IsdnController)
{}

TComIsdnController::~TComIsdnController() = default;

const std::string &TComIsdnController::protocolText(int protocol)
{
    return wordAt(kProtocolWords, protocol, ProtocolUdss1);
}

int TComIsdnController::protocolFromText(const std::string &text)
{
    return wordIndex(kProtocolWords, text, ProtocolUdss1);
}

const KeyTable &TComIsdnController::keyTable() const
{
    using C = TComIsdnController;
    // In the order readAll() asks for them. "5as" is read and written on its own, on the audio
    // target. A protocol the unit reports as not set (an empty text) is no protocol: the field
    // stays as it is, and the key unknown after a reset.
    static const KeyTable table = {
        KeyRow::flag(kIsdnKey5as, &C::m_fiveAs).signalled(Param5as),
        KeyRow::word(kIsdnKeyProtocol, &C::m_protocol, &C::protocolText, &C::protocolFromText)
            .keptWhenEmpty()
            .unknownNeverSent()
            .initially(ProtocolUdss1)
            .signalled(ParamProtocol),
        KeyRow::text(kIsdnKeySpid, &C::m_spid).signalled(ParamSpid),
        KeyRow::text(kIsdnKeyAddrSb0Ch0, &C::m_localNumber1).signalled(ParamLocalNumber1),
        KeyRow::text(kIsdnKeyAddrSb0Ch1, &C::m_localNumber2).signalled(ParamLocalNumber2),
        KeyRow::text(kIsdnKeySubaddrSb0Ch0, &C::m_subAddress1).signalled(ParamSubAddress1),
        KeyRow::text(kIsdnKeySubaddrSb0Ch1, &C::m_subAddress2).signalled(ParamSubAddress2),
    };
    return table;
}

bool TComIsdnController::set5as(bool on, bool send)
{
    // Written to the audio target, then stored as any other field.
    if (send && on != m_fiveAs && !write5as(on))
        return false;
    return store(m_fiveAs, on, false);
}

bool TComIsdnController::setProtocol(int protocol, bool send)
{
    return store(m_protocol, protocol, send);
}

bool TComIsdnController::setSpid(const std::string &spid, bool send)
{
    return store(m_spid, spid, send);
}

bool TComIsdnController::setLocalNumber1(const std::string &number, bool send)
{
    return store(m_localNumber1, number, send);
}

bool TComIsdnController::setLocalNumber2(const std::string &number, bool send)
{
    return store(m_localNumber2, number, send);
}

bool TComIsdnController::setSubAddress1(const std::string &address, bool send)
{
    return store(m_subAddress1, address, send);
}

bool TComIsdnController::setSubAddress2(const std::string &address, bool send)
{
    return store(m_subAddress2, address, send);
}

bool TComIsdnController::write5as(bool on)
{
    return writeTargetParams(kTargetAudio, {{kIsdnKey5as, on ? kOn : kOff}});
}

bool TComIsdnController::refresh5as()
{
    // An answer without the switch is no "off": the switch is then not known.
    std::map<std::string, std::string> values;
    std::map<std::string, std::string> failed;
    if (readTargetParams(kTargetAudio, {kIsdnKey5as}, values, failed) >= 0)
        forgetUnanswered({kIsdnKey5as}, values);
    const auto found = values.find(kIsdnKey5as);
    return found != values.end() && apply5as(found->second);
}

bool TComIsdnController::applyProtocol(const std::string &text)
{
    return applyField(&m_protocol, text);
}

bool TComIsdnController::apply5as(const std::string &text)
{
    return applyField(&m_fiveAs, text);
}

void TComIsdnController::reset()
{
    resetKeys();
    clearKnown();
    TComNetworkController::reset();
}

bool TComIsdnController::readAll()
{
    return read(keyTable().readAllKeys());
}

bool TComIsdnController::read(const std::vector<std::string> &keys)
{
    if (keys.empty())
        return false;
    bool with5as = false;
    std::vector<std::string> networkKeys;
    for (const std::string &key : keys) {
        if (key == kIsdnKey5as)
            with5as = true;
        else
            networkKeys.push_back(key);
    }

    std::map<std::string, std::string> values;
    std::map<std::string, std::string> failed;
    bool got = false;
    if (!networkKeys.empty()) {
        const int count = readNetworkParams(networkKeys, values, failed, true);
        if (count >= 0)
            forgetUnanswered(networkKeys, values);
        got = count > 0;
    }
    const bool result = (with5as && refresh5as()) || got;
    applyValues(values);
    return result;
}

bool TComIsdnController::write(const std::vector<std::string> &keys)
{
    if (keys.empty())
        return false;
    bool with5as = false;
    std::vector<std::string> networkKeys;
    for (const std::string &key : keys) {
        if (key == kIsdnKey5as)
            with5as = isKnown(key);
        else
            networkKeys.push_back(key);
    }
    const std::map<std::string, std::string> params = knownWrites(networkKeys);

    if (params.empty())
        return with5as && write5as(m_fiveAs);
    const bool networkDone = writeNetworkParams(params, true);
    if (!with5as)
        return networkDone;
    // The switch is a separate setting of the audio target; a refused network part must not
    // keep it from being written.
    const bool fiveAsDone = write5as(m_fiveAs);
    return networkDone && fiveAsDone;
}

bool TComIsdnController::handleInfo(const ksm::CMsg &)
{
    return false;
}

bool TComIsdnController::handleEvent(const ksm::CMsg &)
{
    return false;
}

bool TComIsdnController::setNetwork(const std::string &networkId, int flags, bool makeDefault)
{
    if (!TComNetworkController::setNetwork(networkId, flags, makeDefault))
        return false;
    setState(StateReady);
    return true;
}
