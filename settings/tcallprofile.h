#pragma once

#include "link/codecconfig.h"

#include <QString>

// The call-profile record the Book section loads, edits and stores: where the call goes
// (network, remote numbers), how it is coded and which links it uses. A plain value type.
//
// Equality compares what the operator edits (network, name, both remote numbers, coding); the
// bookkeeping fields (state, rowId, target) and the link and mode fields do not take part.
struct TCallProfile
{
    int state = -1;         // 0 once loaded from the device
    int rowId = -1;         // list row it came from (stored ids from 306 up); -1 for a new one
    int target = -1;        // the menu's entry target when it was loaded (19/20: load on a link)
    int network = 0x100;    // integer network id; 0x100 is "eth.0"
    int links = -1;         // bit 0 programme, bit 1 coordination
    int codecMode = 0;      // 0 normal, 1 double
    int coordination = 0;   // 1 when the coordination mode is "enabled"
    TCodecConfig codec;     // coding of the call
    QString name;           // profile name
    QString remoteAddress;  // "remote_addr"
    QString remoteAddress2; // "remote_addr2"

    // Back to the defaults above; the texts become null.
    void clear();
    // A known network family and a name, and then a coding or a remote number.
    [[nodiscard]] bool isComplete() const;

    bool operator==(const TCallProfile &other) const;
    bool operator!=(const TCallProfile &other) const { return !(*this == other); }
};
