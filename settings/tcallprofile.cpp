#include "settings/tcallprofile.h"

#include "model/comnetworkids.h"

void TCallProfile::clear()
{
    *this = TCallProfile();
}

bool TCallProfile::isComplete() const
{
    if (TComNetworkIds::networkIdFamily(network) == TComNetworkIds::InvalidFamily)
        return false;
    if (name.isEmpty())
        return false;
    if (codec.algorithm != -1)
        return true;
    return !remoteAddress.isEmpty();
}

bool TCallProfile::operator==(const TCallProfile &other) const
{
    return network == other.network && name == other.name && remoteAddress == other.remoteAddress
           && remoteAddress2 == other.remoteAddress2 && codec == other.codec;
}
