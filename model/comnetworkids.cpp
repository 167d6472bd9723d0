#include "model/comnetworkids.h"

#include "link/valueconversions.h"

namespace {

struct Prefix
{
    const char *text;
    int family;
};

// Tested in this order; the first match wins.
constexpr Prefix kPrefixes[] = {
    {"eth.", TComNetworkIds::EthernetFamily},
    {"isdn.", TComNetworkIds::IsdnFamily},
    {"mobile.", TComNetworkIds::MobileFamily},
    {"wifi.", TComNetworkIds::WifiFamily},
};

const char *prefixOf(int family)
{
    for (const Prefix &prefix : kPrefixes) {
        if (prefix.family == family)
            return prefix.text;
    }
    return nullptr;
}

} // namespace

int TComNetworkIds::networkFamily(const std::string &network)
{
    if (network == "aoip")
        return AoipFamily;
    for (const Prefix &prefix : kPrefixes) {
        if (network.compare(0, std::char_traits<char>::length(prefix.text), prefix.text) == 0)
            return prefix.family;
    }
    return InvalidFamily;
}

int TComNetworkIds::networkFromString(const std::string &network)
{
    const int family = networkFamily(network);
    if (family == InvalidFamily)
        return NoNetwork;
    const std::string::size_type dot = network.find('.');
    if (dot == std::string::npos || dot + 1 >= network.size())
        return family;
    const long index = stringToLong(network.substr(dot + 1));
    return family + static_cast<int>(index & 0xFF);
}

int TComNetworkIds::networkIndex(const std::string &network)
{
    return networkFromString(network) & 0xFF;
}

std::string TComNetworkIds::networkToString(int networkId)
{
    const int family = networkId & 0xF00;
    if (family == AoipFamily)
        return "aoip";
    if (const char *prefix = prefixOf(family))
        return prefix + std::to_string(networkId & 0xFF);
    return std::string();
}

int TComNetworkIds::networkIdFamily(int networkId)
{
    const int family = networkId & 0xF00;
    return family <= WifiFamily ? family : InvalidFamily;
}

int TComNetworkIds::networkIdIndex(int networkId)
{
    return networkId & 0xFF;
}

int TComNetworkIds::networkTransport(const std::string &network)
{
    return familyTransport(networkFamily(network));
}

int TComNetworkIds::networkIdTransport(int networkId)
{
    return familyTransport(networkIdFamily(networkId));
}

int TComNetworkIds::familyTransport(int family)
{
    switch (family) {
    case EthernetFamily:
    case MobileFamily:
    case WifiFamily:
        return TransportIp;
    case IsdnFamily:
        return TransportIsdn;
    default:
        return TransportNone;
    }
}

int TComNetworkIds::callTransport(int connectionId, const std::string &network, int txAlgorithm)
{
    if (connectionId == -1 || network.empty())
        return TransportNone;
    if (txAlgorithm == GsmAlgorithm)
        return TransportVoice;
    return networkTransport(network);
}
