#pragma once

#include "model/comnetworkcontroller.h"

#include <QtGlobal>

#include <string>
#include <vector>

// The model of one mobile (cellular) interface ("mobile.0", ...): the modem's identity, the
// service mode (mobile voice or packet data), the preferred radio technology, the operator
// selection, the voice-path switches, the packet-data account, the streaming presets, the live
// status the device reports (operator names, signal, technology, data connection), and whether
// the interface is usable (SIM present and unlocked, PIN entered, registered).
//
// Every request goes to "target" "network" with "network" = networkId(); 5000 ms unless stated.
//
// Signals: no parameter signal; setters store silently. controllerStateChanged(this) on each
// real state change: setNetwork() (StateNotReady, then the registration check's state), a
// "network_info" INFO for this network (its registration), a PUK demand during PIN entry
// (StateSimLocked), reset() (StateUnknown). TComDevice turns these into its device-state codes.
//
// A bulk write() sends only fields that were read from the device or set since construction or
// the last reset, and never a value of -1: writing a default in place of an unknown value would
// overwrite the device's setting. The SIM PIN is never stored, so no later write repeats it.
//
// No Qt parent; the holder owns it (TComDevice's live instance, a settings page's edit copy).
// GUI thread only; every request blocks in the client's nested event loop.
class TComMobileController : public TComNetworkController
{
    Q_OBJECT

public:
    // Bit of setNetwork()'s flags: ask the device which modes, technologies and
    // authentications the modem offers.
    static constexpr int CapabilitiesFlag = 0x2;

    enum ServiceMode {
        ServiceGsmVoice = 0,
        ServiceData = 1,
    };
    Q_ENUM(ServiceMode)

    enum Technology {
        Technology2G = 0,
        Technology3G = 1,
        TechnologyLte = 2,
        Technology5G = 3,
    };
    Q_ENUM(Technology)

    enum PreferredTechnology {
        RatAuto = 0,
        RatOnlyUmts = 1,
        RatOnlyGsm = 2,
        RatUmtsFirst = 3,
        RatGsmFirst = 4,
        RatOnlyGsmUmts = 5,
        RatOnlyLte = 6,
        RatOnlyLte5G = 7,
        RatOnly5G = 8,
    };
    Q_ENUM(PreferredTechnology)

    enum Authentication {
        AuthNone = 0,
        AuthPap = 1,
        AuthChap = 2,
    };
    Q_ENUM(Authentication)

    enum DataConnectionState {
        DataUnknown = 0,
        DataFailure = 1,
        DataProcessing = 2,
        DataActive = 3,
    };
    Q_ENUM(DataConnectionState)

    // Bits of capabilities(). The preferred-technology bits are CapRatAuto << technology.
    enum Capability : quint32 {
        CapEchoCancel = 0x1,
        CapNoiseGate = 0x2,
        CapDiversity = 0x8,
        CapGsmVoice = 0x10,
        CapData = 0x20,
        CapRatAuto = 0x40,
        CapRatOnlyUmts = 0x80,
        CapRatOnlyGsm = 0x100,
        CapRatUmtsFirst = 0x200,
        CapRatGsmFirst = 0x400,
        CapRatOnlyGsmUmts = 0x800,
        CapRatOnlyLte = 0x1000,
        CapRatOnlyLte5G = 0x2000,
        CapRatOnly5G = 0x4000,
        CapPap = 0x8000,
        CapChap = 0x10000,
    };

    // Results of applyPinCode().
    enum PinResult {
        PinAccepted = 0,
        PinFailed = -1,
        PinWrong = -2,
        PinPukRequired = -3,
    };

    explicit TComMobileController(ksm::CCom *com);
    ~TComMobileController() override;
    Q_DISABLE_COPY_MOVE(TComMobileController)

    // "auto", "only UMTS", ... "only 5G"; "auto" for any value outside 1 to 8. The inverse gives
    // -1 for an unknown word.
    [[nodiscard]] static const std::string &preferredTechnologyText(int value);
    [[nodiscard]] static int preferredTechnologyFromText(const std::string &text);
    // "PAP" 1, "CHAP" 2; the empty text for anything else. The inverse gives 0 for other words.
    [[nodiscard]] static const std::string &authenticationText(int value);
    [[nodiscard]] static int authenticationFromText(const std::string &text);

    [[nodiscard]] int serviceMode() const { return m_serviceMode; }
    [[nodiscard]] const std::string &manufacturer() const { return m_manufacturer; }
    [[nodiscard]] const std::string &model() const { return m_model; }
    [[nodiscard]] const std::string &revision() const { return m_revision; }
    [[nodiscard]] const std::string &plmn() const { return m_plmn; }
    [[nodiscard]] const std::string &operatorLong() const { return m_operatorLong; }
    [[nodiscard]] const std::string &operatorShort() const { return m_operatorShort; }
    [[nodiscard]] const std::string &apn() const { return m_apn; }
    [[nodiscard]] const std::string &imei() const { return m_imei; }
    [[nodiscard]] const std::string &imsi() const { return m_imsi; }
    [[nodiscard]] const std::string &msisdn() const { return m_msisdn; }
    [[nodiscard]] const std::string &username() const { return m_username; }
    [[nodiscard]] const std::string &password() const { return m_password; }
    [[nodiscard]] quint32 capabilities() const { return m_capabilities; }
    [[nodiscard]] int signalQuality() const { return m_signalQuality; }
    [[nodiscard]] int technology() const { return m_technology; }
    [[nodiscard]] bool diversity() const { return m_diversity; }
    [[nodiscard]] bool echoCancel() const { return m_echoCancel; }
    [[nodiscard]] bool noiseGate() const { return m_noiseGate; }
    [[nodiscard]] bool pinPersistent() const { return m_pinPersistent; }
    [[nodiscard]] bool widebandVoice() const { return m_widebandVoice; }
    [[nodiscard]] bool dataConnection() const { return m_dataConnection; }
    [[nodiscard]] int dataConnectionState() const { return m_dataConnectionState; }
    [[nodiscard]] int preferredTechnology() const { return m_preferredTechnology; }
    [[nodiscard]] int authentication() const { return m_authentication; }

    // Setters: unchanged → true, nothing sent. With send the key is written first; a refusal
    // keeps the old value and returns false. Then store, true. -1 is stored but never sent.
    bool setServiceMode(int mode, bool send);
    // "gsm_voice" 0, "data" 1, any other word -1; then setServiceMode().
    bool setServiceModeWord(const std::string &word, bool send);
    bool setDiversity(bool on, bool send);
    bool setEchoCancel(bool on, bool send);
    bool setNoiseGate(bool on, bool send);
    bool setPreferredTechnology(int value, bool send);
    bool setPinPersistent(bool on, bool send);
    bool setApn(const std::string &apn, bool send);
    bool setDataConnection(bool on, bool send);
    bool setUsername(const std::string &username, bool send);
    // Sent as typed: the data account's password is no access-level password.
    bool setPassword(const std::string &password, bool send);
    bool setAuthentication(int value, bool send);
    // The operator selection; an empty one means "auto" and is stored and sent so. Its own
    // PARAM with a 6000 ms time-out: operator selection takes the modem a while.
    bool setPlmn(const std::string &plmn, bool send);
    // The streaming presets, their appliers and refreshes are TComNetworkController's.

    // Identity reported by the device: stored as given; true.
    bool setManufacturer(const std::string &text);
    bool setModel(const std::string &text);
    bool setRevision(const std::string &text);
    bool setImei(const std::string &text);
    bool setImsi(const std::string &text);
    bool setMsisdn(const std::string &text);

    // Appliers of received texts: never send, always true.
    bool applyServiceMode(const std::string &text);
    // The three voice-path switches also mark the capability as present.
    bool applyEchoCancel(const std::string &text);
    bool applyNoiseGate(const std::string &text);
    bool applyDiversity(const std::string &text);
    bool applyPreferredTechnology(const std::string &text);
    bool applyPlmn(const std::string &text);
    bool applyPinPersistent(const std::string &text);
    bool applyApn(const std::string &text);
    bool applyDataConnection(const std::string &text);
    // "failure" 1, "processing" 2, "active" 3, anything else 0.
    bool applyDataConnectionState(const std::string &text);
    bool applyUsername(const std::string &text);
    bool applyPassword(const std::string &text);
    bool applyAuthentication(const std::string &text);
    // A cause text other than "200-unknown error" is no operator name: the stored one stays.
    bool applyOperatorLong(const std::string &text);
    bool applyOperatorShort(const std::string &text);
    // The number before any unit (" dBm"); empty or unreadable gives 0.
    bool applySignalQuality(const std::string &text);
    // Empty -1; "GSM", "GSM COMPACT", "GPRS", "EDGE" 0; "LTE" 2; "5G" 3; any other 1.
    bool applyTechnology(const std::string &text);

    // Get one key and apply it; the get's result. A failed get of a voice-path switch clears
    // that switch's capability bit.
    bool refreshServiceMode();
    bool refreshDiversity();
    bool refreshEchoCancel();
    bool refreshNoiseGate();
    bool refreshPreferredTechnology();
    bool refreshPlmn();
    bool refreshPinPersistent();
    bool refreshApn();
    bool refreshDataConnection();
    bool refreshDataConnectionState();
    bool refreshUsername();
    bool refreshPassword();
    bool refreshAuthentication();

    // Asks the device for "pin" and "registration_state". state starts at StateNotReady; it is
    // the registration's state when the PIN is "ready", else the cause of a refused "pin". False
    // (state not to be applied) when the request failed without naming a refused key.
    bool checkRegistration(int &state);
    // Sends the SIM PIN with the caller's time-out. PinAccepted, PinWrong ("100-wrong
    // password"), PinPukRequired ("124-puk required"; the state becomes StateSimLocked), or
    // PinFailed. The PIN is neither stored nor logged here.
    int applyPinCode(const std::string &pin, int timeoutMs);
    // LIST "mode", "rat", "authentication" of the network: each known item sets its capability
    // bit. The query's result.
    bool listServiceModes();
    bool listPreferredTechnologies();
    bool listAuthentications();
    // LIST "plmn" of the network: the operators the modem finds, in the device's order. A scan
    // takes the modem minutes, so it waits up to OperatorScanTimeoutMs. The query's result.
    static constexpr int OperatorScanTimeoutMs = 180000;
    bool scanOperators(std::vector<std::string> &names);

    void reset() override;
    bool readAll() override;
    bool read(const std::vector<std::string> &keys) override;
    // One PARAM with every listed writable key; 60000 ms when it holds "plmn".
    bool write(const std::vector<std::string> &keys) override;
    // INFO "network_info" from this network: signal, technology, voice codec and registration.
    bool handleInfo(const ksm::CMsg &msg) override;
    // EVENT "default_network" or "config info" for this network: its "network_mode".
    bool handleEvent(const ksm::CMsg &msg) override;
    // The base assignment (ReadAllFlag reads every key), then the registration check; with
    // CapabilitiesFlag the capability queries. The capability mask starts anew at 0.
    bool setNetwork(const std::string &networkId, int flags, bool makeDefault) override;

protected:
    [[nodiscard]] const KeyTable &keyTable() const override;
    // A voice-path switch's answer sets its capability bit, its refusal clears it.
    bool applyReceived(const KeyRow &row, const std::string &text) override;
    void refused(const KeyRow &row) override;

private:
    bool
    listCapabilities(const std::string &key, const std::vector<std::string> &words, quint32 first);

    int m_serviceMode = -1;
    std::string m_manufacturer;
    std::string m_model;
    std::string m_revision;
    std::string m_plmn;
    std::string m_operatorLong;
    std::string m_operatorShort;
    std::string m_apn;
    std::string m_imei;
    std::string m_imsi;
    std::string m_msisdn;
    std::string m_username;
    std::string m_password;
    quint32 m_capabilities = 0;
    int m_signalQuality = 0;
    int m_technology = -1;
    bool m_diversity = false;
    bool m_echoCancel = false;
    bool m_noiseGate = false;
    bool m_pinPersistent = false;
    bool m_widebandVoice = false;
    bool m_dataConnection = false;
    int m_dataConnectionState = DataUnknown;
    int m_preferredTechnology = -1;
    int m_authentication = AuthNone;
};
