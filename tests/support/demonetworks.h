#pragma once

#include "fakequorix.h"

#include <QList>

#include <optional>

// The network interfaces of the demo unit: Ethernet "eth.0" by DHCP and "eth.1" with a fixed
// address, a mobile modem "mobile.0" whose SIM asks for its PIN, one Wi-Fi interface "wifi.0"
// with networks in reach, and the ISDN interface "isdn.0". Every key the settings menu's network
// pages read has a value, and the modem and the Wi-Fi interface list what a scan finds.
//
// Two answers need more than the store and come from answerNetworkDemo(): the SIM takes
// kDemoSimPin (any other PIN is refused as "100-wrong password", and the modem asks for its PIN
// until the right one came), and the Wi-Fi interface refuses a passphrase of one to seven
// characters (an open network has none), so a refused write can be tried by hand.
inline constexpr char kDemoSimPin[] = "1234";

// Adds the interfaces to the store. The list of networks holds them after "aoip" and keeps any
// other network already listed.
void fillNetworkDemo(FakeQuorix &fake);

// The answer to a request about the SIM PIN or the Wi-Fi passphrase; std::nullopt for any other
// request, which the fake then answers from its store.
std::optional<QList<FakeReply>> answerNetworkDemo(FakeQuorix &fake, const FakeRequest &request);
