#pragma once

#include <QHostAddress>
#include <QString>

// A device the user keeps in the list of known devices, under a name of the user's choice (which
// may be empty). `audioLevels` is true when its level meters come over the TCP connection.
struct KnownDevice
{
    QHostAddress address;
    int port = 7001;
    QString name;
    bool audioLevels = false;

    friend bool operator==(const KnownDevice &a, const KnownDevice &b)
    {
        return a.address == b.address && a.port == b.port && a.name == b.name
               && a.audioLevels == b.audioLevels;
    }
    friend bool operator!=(const KnownDevice &a, const KnownDevice &b) { return !(a == b); }
};
