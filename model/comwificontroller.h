#pragma once

#include "model/comnetworkcontroller.h"

#include <string>
#include <vector>

// The model of one Wi-Fi interface ("wifi.0", ...): the network the device joins (SSID and
// custom SSID, each with its authentication), the passphrase, the data connection and its state,
// the streaming presets, the address and signal level the device reports, and the list of
// networks the device sees.
//
// Network names (SSID, custom SSID and the SSID list) and the address are kept as the device's
// bytes (UTF-8) and go back byte for byte, so that a name in any script, as the device reports it
// or lists it, is written back unchanged. The passphrase is held in Latin-1 and goes to the
// device as UTF-8. Every request goes to "target" "network" with "network" =
// networkId(), 5000 ms.
//
// Signals: no parameter signal; setters store silently. controllerStateChanged(this) on a real
// state change: setNetwork() (StateNotReady, then StateReady) and reset() (StateUnknown).
// TComDevice turns these and the routed "network_info" into its device-state codes.
//
// The signal level is on the 0 to 31 scale: a dBm reading v (bare or with its unit, "-60" or
// "-60 dBm") gives (v + 113) / 2, held within 0 to 31; 0 means no reading.
//
// A bulk write() sends only fields that were read from the device or set since construction or
// the last reset, and never a value of -1: writing a default in place of an unknown value would
// overwrite the device's setting.
//
// No Qt parent; the holder owns it (TComDevice's live instance, a settings page's edit copy).
// GUI thread only; every request blocks in the client's nested event loop.
class TComWifiController : public TComNetworkController
{
    Q_OBJECT

public:
    enum Authentication {
        AuthNone = 0,
        AuthAuto = 1,
        AuthWep = 2,
        AuthWpaPsk = 3,
        AuthWpa2Psk = 4,
    };
    Q_ENUM(Authentication)

    enum DataConnectionState {
        DataUnknown = 0,
        DataFailure = 1,
        DataProcessing = 2,
        DataActive = 3,
    };
    Q_ENUM(DataConnectionState)

    explicit TComWifiController(ksm::CCom *com);
    ~TComWifiController() override;
    Q_DISABLE_COPY_MOVE(TComWifiController)

    // "auto", "WEP", "WPA-PSK", "WPA2-PSK"; "none" for any other value. The inverse gives 0 for
    // any other word ("none" included).
    [[nodiscard]] static const std::string &authenticationText(int value);
    [[nodiscard]] static int authenticationFromText(const std::string &text);
    // The 0 to 31 level of a "signal_quality_dbm" text; 0 for an empty or unreadable one.
    [[nodiscard]] static int signalLevelFromText(const std::string &text);
    // The dBm reading of such a text; 0 for an empty or unreadable one.
    [[nodiscard]] static int signalDbmFromText(const std::string &text);

    [[nodiscard]] const std::string &ssid() const { return m_ssid; }
    [[nodiscard]] const std::string &customSsid() const { return m_customSsid; }
    [[nodiscard]] const std::string &localAddress() const { return m_localAddress; }
    [[nodiscard]] int authentication() const { return m_authentication; }
    [[nodiscard]] int customAuthentication() const { return m_customAuthentication; }
    [[nodiscard]] const std::string &passphrase() const { return m_passphrase; }
    [[nodiscard]] bool dataConnection() const { return m_dataConnection; }
    [[nodiscard]] int dataConnectionState() const { return m_dataConnectionState; }
    [[nodiscard]] int signalLevel() const { return m_signalLevel; }
    // The reading the level came from, in dBm; 0 means no reading.
    [[nodiscard]] int signalDbm() const { return m_signalDbm; }
    [[nodiscard]] const std::vector<std::string> &ssidList() const { return m_ssidList; }

    // Setters: unchanged → true, nothing sent. With send the key is written first; a refusal
    // keeps the old value and returns false. Then store, true. SSIDs are given, stored and sent
    // as the device's bytes; the passphrase is given and stored in Latin-1 and sent as UTF-8; -1
    // is stored but never sent.
    bool setSsid(const std::string &ssid, bool send);
    bool setCustomSsid(const std::string &ssid, bool send);
    bool setAuthentication(int value, bool send);
    bool setCustomAuthentication(int value, bool send);
    bool setPassphrase(const std::string &passphrase, bool send);
    bool setDataConnection(bool on, bool send);
    // The streaming presets, their appliers and refreshes are TComNetworkController's.

    // Appliers of received texts (SSIDs as received, the passphrase from UTF-8 to Latin-1):
    // never send, always true.
    bool applySsid(const std::string &text);
    bool applyCustomSsid(const std::string &text);
    bool applyAuthentication(const std::string &text);
    bool applyCustomAuthentication(const std::string &text);
    bool applyPassphrase(const std::string &text);
    bool applyDataConnection(const std::string &text);
    // "failure" 1, "processing" 2, "active" 3, anything else 0.
    bool applyDataConnectionState(const std::string &text);
    // signalLevelFromText() into the signal level, the reading into signalDbm().
    bool applySignalQuality(const std::string &text);
    bool applyLocalAddress(const std::string &text);

    // Get one key and apply it; the get's result.
    bool refreshSsid();
    bool refreshCustomSsid();
    bool refreshAuthentication();
    bool refreshCustomAuthentication();
    bool refreshPassphrase();
    bool refreshDataConnection();
    bool refreshDataConnectionState();
    // LIST "ssid": on success the list is replaced by the items as received; on failure it
    // stays. The query's result.
    bool refreshSsidList();

    void reset() override;
    bool readAll() override;
    bool read(const std::vector<std::string> &keys) override;
    bool write(const std::vector<std::string> &keys) override;
    // INFO "network_info" from this network: its "signal_quality_dbm".
    bool handleInfo(const ksm::CMsg &msg) override;
    // EVENT "default_network" or "config info" for this network: taken, nothing changes.
    bool handleEvent(const ksm::CMsg &msg) override;
    // The base assignment, then StateReady.
    bool setNetwork(const std::string &networkId, int flags, bool makeDefault) override;

protected:
    [[nodiscard]] const KeyTable &keyTable() const override;

private:
    std::string m_ssid;
    std::string m_customSsid;
    std::string m_localAddress;
    int m_authentication = AuthNone;
    int m_customAuthentication = AuthNone;
    std::string m_passphrase;
    bool m_dataConnection = false;
    int m_dataConnectionState = DataUnknown;
    int m_signalLevel = 0;
    int m_signalDbm = 0;
    std::vector<std::string> m_ssidList;
};
