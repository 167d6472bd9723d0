#pragma once

#include <QHostAddress>

// One connection as it was made: the device's address and TCP port, and the local UDP port on
// which its level meters arrive. A datagram port of 1 means the level meters come over the TCP
// connection instead.
struct RecentDevice
{
    QHostAddress address;
    int port = 7001;
    int datagramPort = 0;

    // The store takes a record only when it has an address and both ports are 1 or more.
    bool isValid() const { return !address.isNull() && port >= 1 && datagramPort >= 1; }

    friend bool operator==(const RecentDevice &a, const RecentDevice &b)
    {
        return a.address == b.address && a.port == b.port && a.datagramPort == b.datagramPort;
    }
    friend bool operator!=(const RecentDevice &a, const RecentDevice &b) { return !(a == b); }
};
