#pragma once

#include "model/comnetworkcontroller.h"

#include <string>
#include <vector>

// The settings and state of one wired network interface ("eth.0", "eth.1", ...): address mode,
// IP addresses, configured and negotiated link mode, hardware address, cable state, and the two
// streaming presets of every network interface (network quality, jitter-buffer profile).
//
// Every request goes to "target" "network" with "network" = networkId(), 5000 ms.
//
// Signals: controllerParamChanged(this, Param) after each stored change, also when a send
// condition kept the value from being written; ParamConfigInfo after a whole "config info"
// event was applied (after its single changes). controllerStateChanged as TComNetworkController:
// a successful setNetwork() ends in StateReady.
//
// A bulk write() sends only fields that were read from the device or set since construction or
// the last reset, and never an int field at -1: writing a default in place of an unknown value
// would overwrite the device's setting.
//
// No Qt parent; the holder owns it (TComDevice's member, the settings page's edit copy).
// GUI thread only.
class TComEthernetController : public TComNetworkController
{
    Q_OBJECT

public:
    enum Mode {
        ModeDhcp = 0,
        ModeManual = 1,
        ModePppoe = 2,
        ModeBgan = 3,
    };
    Q_ENUM(Mode)

    enum LinkMode {
        LinkAutonegotiation = 0,
        Link10000BaseTFd = 1,
        Link2500BaseTFd = 2,
        Link1000BaseTFd = 3,
        Link1000BaseTHd = 4,
        Link100BaseTFd = 5,
        Link100BaseTHd = 6,
        Link10BaseTFd = 7,
        Link10BaseTHd = 8,
    };
    Q_ENUM(LinkMode)

    enum Param {
        ParamMode = 0,
        ParamLocalAddr = 1,
        ParamSubnet = 2,
        ParamGateway = 3,
        ParamDns1 = 4,
        ParamDns2 = 5,
        ParamLinkMode = 6,
        ParamLinkModeNeg = 7,
        ParamHwAddr = 8,
        ParamCable = 9,
        ParamNetworkQuality = 10,
        ParamAjbProfile = 11,
        ParamConfigInfo = 12,
    };
    Q_ENUM(Param)

    explicit TComEthernetController(ksm::CCom *com);
    ~TComEthernetController() override;
    Q_DISABLE_COPY_MOVE(TComEthernetController)

    // "dhcp", "manual", "pppoe", "bgan"; "dhcp" for any other value. The inverse gives -1 for
    // an unknown word.
    [[nodiscard]] static const std::string &modeText(int mode);
    [[nodiscard]] static int modeFromText(const std::string &text);
    // "autonegotiation", "10000baseT-FD", ... "10baseT-HD"; "autonegotiation" for any other
    // value. The inverse gives -1 for an unknown word. Also the words of the negotiated mode.
    [[nodiscard]] static const std::string &linkModeText(int linkMode);
    [[nodiscard]] static int linkModeFromText(const std::string &text);

    [[nodiscard]] int mode() const { return m_mode; }
    [[nodiscard]] int linkMode() const { return m_linkMode; }
    [[nodiscard]] int linkModeNeg() const { return m_linkModeNeg; }
    [[nodiscard]] bool cable() const { return m_cable; }
    [[nodiscard]] const std::string &localAddr() const { return m_localAddr; }
    [[nodiscard]] const std::string &subnet() const { return m_subnet; }
    [[nodiscard]] const std::string &gateway() const { return m_gateway; }
    [[nodiscard]] const std::string &dns1() const { return m_dns1; }
    [[nodiscard]] const std::string &dns2() const { return m_dns2; }
    [[nodiscard]] const std::string &hwAddr() const { return m_hwAddr; }

    // Setters: unchanged → true, nothing sent. With send (and the condition below) the key is
    // written first; a refusal keeps the old value and returns false. Then store, signal, true.
    // -1 is never sent (mode, link mode, quality, profile).
    bool setMode(int mode, bool send);
    // Sent only when not empty and the stored mode is manual.
    bool setLocalAddr(const std::string &addr, bool send);
    bool setSubnet(const std::string &subnet, bool send);
    // Sent only when the stored mode is manual; an empty text is sent too.
    bool setGateway(const std::string &gateway, bool send);
    bool setDns1(const std::string &dns, bool send);
    bool setDns2(const std::string &dns, bool send);
    bool setLinkMode(int linkMode, bool send);
    // setNetworkQuality() and setAjbProfile(): TComNetworkController's, signalled as 10 and 11.

    // Values the device reports and that are never written: stored and signalled on a change.
    bool applyLinkModeNeg(const std::string &text);
    bool setHwAddr(const std::string &addr);
    // True exactly for "plugged".
    bool applyCable(const std::string &text);

    // Device words through the word tables into the setters, send off. Always true.
    bool applyMode(const std::string &text);
    bool applyLinkMode(const std::string &text);

    void reset() override;
    bool readAll() override;
    bool read(const std::vector<std::string> &keys) override;
    bool write(const std::vector<std::string> &keys) override;
    bool handleInfo(const ksm::CMsg &msg) override;
    // "default_network" and "config info" events for this network; true when used. A key held
    // for a write under way (holdKey()) keeps the value being written.
    bool handleEvent(const ksm::CMsg &msg) override;
    bool setNetwork(const std::string &networkId, int flags, bool makeDefault) override;

protected:
    [[nodiscard]] const KeyTable &keyTable() const override;

private:
    // Addresses are the device's own business while it gets them by DHCP, PPPoE or BGAN.
    [[nodiscard]] bool manualAddressing() const { return m_mode == ModeManual; }

    int m_mode = -1;
    int m_linkMode = -1;
    int m_linkModeNeg = -1;
    bool m_cable = false;
    std::string m_localAddr;
    std::string m_subnet;
    std::string m_gateway;
    std::string m_dns1;
    std::string m_dns2;
    std::string m_hwAddr;
};
