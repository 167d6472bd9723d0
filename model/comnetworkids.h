#pragma once

#include <string>

// The two forms of a network identifier and the transport kinds of networks and calls.
//
// Text form, as the device protocol carries it: "aoip" (the audio-over-IP/SIP interface), or
// "eth.", "isdn.", "mobile." or "wifi." followed by the decimal interface index ("eth.0").
// Integer form, as the model keys its maps: a family code in bits 8-11 plus the index in bits
// 0-7; 0xFFFF is both "invalid" and "no network".
//
// All operations are static and need no device. TComDevice derives from this class, so they are
// reached as TComDevice::networkFromString() and so on.
class TComNetworkIds
{
public:
    enum NetworkFamily : int {
        AoipFamily = 0x000,
        EthernetFamily = 0x100,
        IsdnFamily = 0x200,
        MobileFamily = 0x300,
        WifiFamily = 0x400,
        InvalidFamily = 0xFFFF,
    };

    // The integer identifier that stands for no network.
    static constexpr int NoNetwork = 0xFFFF;

    enum Transport : int {
        TransportNone = -1,
        TransportIp = 0, // Ethernet, mobile data, Wi-Fi
        TransportIsdn = 1,
        TransportVoice = 2, // a coordination-line call or a mobile voice call
    };

    // The codec algorithm of a mobile voice call ("GSM").
    static constexpr int GsmAlgorithm = 17;

    // Family of a network text: "aoip" exactly, else the first prefix that matches ("eth.",
    // "isdn.", "mobile.", "wifi."; case-sensitive, dot included); InvalidFamily otherwise.
    [[nodiscard]] static int networkFamily(const std::string &network);
    // Integer identifier of a network text: the family plus the decimal index behind the first
    // dot (a missing or unreadable index counts as 0). The index is kept to its 8 bits, so an
    // oversized one cannot reach into another family. NoNetwork for an invalid text.
    [[nodiscard]] static int networkFromString(const std::string &network);
    // Low 8 bits of networkFromString().
    [[nodiscard]] static int networkIndex(const std::string &network);
    // Text of an integer identifier: "aoip" for family 0 (index ignored), the family's prefix
    // and the decimal index for the other four families, an empty text for anything else.
    [[nodiscard]] static std::string networkToString(int networkId);
    // Family of an integer identifier, or InvalidFamily.
    [[nodiscard]] static int networkIdFamily(int networkId);
    // Low 8 bits of an integer identifier.
    [[nodiscard]] static int networkIdIndex(int networkId);

    // Transport kinds: Ethernet, mobile and Wi-Fi are IP, ISDN is ISDN, everything else ("aoip"
    // and invalid ids included) is none.
    [[nodiscard]] static int networkTransport(const std::string &network);
    [[nodiscard]] static int networkIdTransport(int networkId);
    [[nodiscard]] static int familyTransport(int family);
    // Transport kind of a call from its parts: none without an id (-1) or network text, voice
    // when its transmit codec is GSM, else that of its network. TComDevice::connectionTransport
    // applies this to a connection.
    [[nodiscard]] static int
    callTransport(int connectionId, const std::string &network, int txAlgorithm);
};
