#pragma once

#include "model/comkeyedcontroller.h"

#include <map>
#include <string>
#include <vector>

// The settings and status of the device's AES67/RAVENNA audio-over-IP module: identity and
// revisions, clocking, its two network interfaces, six receive streams and one transmit stream.
//
// Every request is a PARAM message with "target" "audio" and keys beginning with "rav_"; each
// operation that talks to the device blocks until the reply or the 5000 ms time-out. Each key is
// one row of the module's key table (keytable.h), as the interface controllers' are: its field,
// how its value travels and when it is sent; the setters, applyParams(), write(), readAll() and
// reset() walk that table. Received key/value maps are applied by applyParams() without sending;
// texts marked Latin-1 are held in Latin-1 and exchanged in UTF-8.
//
// A process-wide single instance reached through ravennaController(); the front-panel window
// resets and starts it, the settings menu reads, writes and lists through it. Signals: only
// controllerStateChanged, from reset() (to unknown) and start() (to ready). No setter signals;
// handleInfo()/handleEvent() consume nothing.
//
// Setters (value, send): an unchanged value returns true without sending. Otherwise, with send
// and the key's own condition met, the one key is written first and a refusal returns false
// keeping the old value; then the value is stored (also when it was not sent). Setters taking an
// interface number use only its lowest bit. write() sends the current value of every listed key
// the module takes, read from it or not.
//
// Ownership as TComController; GUI thread only.
class TComRavennaController : public TComKeyedController
{
    Q_OBJECT

public:
    enum StreamState {
        StreamUnknown = -1,
        StreamDisabled = 0,
        StreamIdle = 1,
        StreamWaiting = 2,
        StreamTransmitting = 3,
        StreamReceiving = 4,
        StreamReceivingWarning = 5,
        StreamReceivingNoSync = 6,
        StreamReceivingSyncError = 7,
        StreamAddressCollision = 8,
        StreamNotEnoughDecoders = 9,
    };
    enum PtpState {
        PtpUnknown = -1,
        PtpNotDefined = 0,
        PtpInitializing = 1,
        PtpFaulty = 2,
        PtpDisabled = 3,
        PtpListening = 4,
        PtpPreMaster = 5,
        PtpMaster = 6,
        PtpPassive = 7,
        PtpNotCalibrated = 8,
        PtpSlave = 9,
    };
    enum LockState { LockUnknown = 0, Unlocked = 1, Locking = 2, Locked = 3 };
    enum NetMode { NetModeSwitch = 0, NetModeRedundant = 1 };
    enum DhcpMode { DhcpOff = 0, DhcpOn = 1, DhcpZeroconf = 2 };

    static constexpr int InterfaceCount = 2;
    static constexpr int StreamCount = 6;
    static constexpr int NoStream = 65535;

    struct NetInterface
    {
        bool linkState = false;
        int dhcp = DhcpOn;
        int vlanId = 1;
        int ptpState = PtpUnknown;
        std::string ipAddr;
        std::string subnet;
        std::string gateway;
        std::string hwAddr;
    };

    struct TxDestination
    {
        bool autoconf = false;
        int mcPort = 5004;
        std::string mcAddr;
    };

    // A receive stream: which stream and channel is taken, and its two status words.
    struct StreamRef
    {
        int id = NoStream;
        int channel = 0;
        int status = StreamUnknown;
        int status2 = StreamUnknown;
        std::string name = "None"; // Latin-1

        // Text form "id/channel/name" (Latin-1; sent converted to UTF-8).
        [[nodiscard]] std::string toText() const;
        // Reads "id/channel[/name]" (name in UTF-8) into id, channel and name; the status words
        // stay. The text must not be empty, its first "/" must follow at least one character
        // and be followed by one, and a second "/" must not follow the first directly; a text
        // that fails changes nothing.
        bool parse(const std::string &text);
        // Same stream: id, channel and name (the status words are not compared).
        [[nodiscard]] bool sameStream(const StreamRef &other) const
        {
            return id == other.id && channel == other.channel && name == other.name;
        }
    };

    explicit TComRavennaController(ksm::CCom *com);
    ~TComRavennaController() override;
    Q_DISABLE_COPY_MOVE(TComRavennaController)

    void reset() override;
    bool readAll() override;
    bool read(const std::vector<std::string> &keys) override;
    bool write(const std::vector<std::string> &keys) override;

    // The key list readAll() reads for the current firmwareVersion.
    [[nodiscard]] static std::vector<std::string> readAllKeys();

    // Resets a known state, reads keys (when any) with signals blocked and sets the state to
    // ready; a failed read returns false and leaves the state unknown. Subscribes to nothing.
    bool start(const std::vector<std::string> &keys);
    // start() with the module's firmware revision, then a read of its identity: manufacturer
    // and hardware name (firmware 1.7 on), interface count (1.10 on), device name and hardware
    // revision. The result is start()'s; the identity read follows only a successful start.
    bool startWithIdentity();
    // Applies a received map in key order; unknown keys are ignored. False for an empty map or
    // when a stream reference or status text is malformed (the other keys are still applied).
    bool applyParams(const std::map<std::string, std::string> &values);
    // GET of each key in one message; the count of values received, or -1.
    int readParams(const std::vector<std::string> &keys,
                   std::map<std::string, std::string> &values,
                   std::map<std::string, std::string> &failed);
    // LIST of key; the items are appended to items.
    bool listValues(const std::string &key, std::vector<std::string> &items);
    // The receivable streams, sample rates and bit depths the module offers, in reply order
    // (unparsable stream items are skipped). The output is emptied first and stays empty on
    // failure.
    bool listStreamsIn(std::vector<StreamRef> &out);
    bool listSampleRates(std::vector<int> &out);
    bool listResolutions(std::vector<int> &out);
    // One PARAM with the key(s); true when the device accepted every parameter.
    bool sendParam(const std::string &key, int value);
    bool sendTextParam(const std::string &key, const std::string &value);
    bool sendParams(const std::map<std::string, std::string> &values);

    [[nodiscard]] bool modeOu() const { return m_modeOu; }
    [[nodiscard]] int ifCount() const { return m_ifCount; }
    [[nodiscard]] int netMode() const { return m_netMode; }
    [[nodiscard]] int sampleRate() const { return m_sampleRate; }
    [[nodiscard]] int resolution() const { return m_resolution; }
    [[nodiscard]] int ptpDomain() const { return m_ptpDomain; }
    [[nodiscard]] int delayMinIn() const { return m_delayMinIn; }
    [[nodiscard]] int delayMaxIn() const { return m_delayMaxIn; }
    [[nodiscard]] int delayIn() const { return m_delayIn; }
    [[nodiscard]] int netifOu() const { return m_netifOu; }
    [[nodiscard]] int chCountOu() const { return m_chCountOu; }
    [[nodiscard]] float ptimeOu() const { return m_ptimeOu; }
    [[nodiscard]] int syncState() const { return m_syncState; }
    [[nodiscard]] int lockState() const { return m_lockState; }
    [[nodiscard]] const std::string &manufacturer() const { return m_manufacturer; }
    [[nodiscard]] const std::string &hardwareName() const { return m_hardwareName; }
    [[nodiscard]] const std::string &deviceName() const { return m_deviceName; }
    [[nodiscard]] const std::string &nameOu() const { return m_nameOu; }
    [[nodiscard]] const std::string &hardwareRev() const { return m_hardwareRev; }
    [[nodiscard]] const std::string &firmwareVer() const { return m_firmwareVer; }
    [[nodiscard]] const std::string &firmwareRev() const { return m_firmwareRev; }
    [[nodiscard]] const std::string &rescueosRev() const { return m_rescueosRev; }
    // By the lowest bit of iface.
    [[nodiscard]] const NetInterface &netInterface(int iface) const
    {
        return m_interfaces[iface & 1];
    }
    [[nodiscard]] const TxDestination &txDestination(int iface) const
    {
        return m_txDestinations[iface & 1];
    }
    // Stream 0 to 5; any other number gives an empty reference (no stream).
    [[nodiscard]] const StreamRef &streamIn(int stream) const;

    bool setSampleRate(int value, bool send);
    bool setResolution(int value, bool send);
    bool setPtpDomain(int value, bool send);
    bool setVlanId(int iface, int value, bool send);
    bool setDelayIn(int value, bool send);
    bool setNetifOu(int value, bool send);
    // Sent only for a port above 0.
    bool setMcPortOu(int iface, int value, bool send);
    // Sent only when not empty.
    bool setDeviceName(const std::string &value, bool send);
    bool setNetMode(int value, bool send);
    // Compares whether the stored mode is on (zeroconf counts as on); stores 1 or 0.
    bool setDhcp(int iface, bool value, bool send);
    // The mode itself (DhcpMode); any mode but off is written "on".
    bool setDhcpMode(int iface, int mode, bool send);
    // Sent only when not empty and the interface's addressing is manual (dhcp 0).
    bool setIpAddr(int iface, const std::string &value, bool send);
    bool setSubnet(int iface, const std::string &value, bool send);
    // Sent only while the interface's addressing is manual (an empty text is sent).
    bool setGateway(int iface, const std::string &value, bool send);
    // Stream 0 to 5 (else false, nothing sent). Compares id, channel and name; a new reference
    // is stored with both status words set to unknown.
    bool setStreamIn(int stream, const StreamRef &value, bool send);
    bool setModeOu(bool value, bool send);
    // Sent only when not empty.
    bool setNameOu(const std::string &value, bool send);
    bool setAutoconfOu(int iface, bool value, bool send);
    // Sent only when not empty.
    bool setMcAddrOu(int iface, const std::string &value, bool send);

    // Word tables; unknown words give the last value named (-1, -1, 0, 0, 0).
    [[nodiscard]] static int streamStateFromText(const std::string &text);
    [[nodiscard]] static int ptpStateFromText(const std::string &text);
    [[nodiscard]] static int lockStateFromText(const std::string &text);
    [[nodiscard]] static int netModeFromText(const std::string &text);
    [[nodiscard]] static int dhcpFromText(const std::string &text);
    [[nodiscard]] static std::string netModeToText(int value);

protected:
    [[nodiscard]] const KeyTable &keyTable() const override;
    // A setter's write: the key alone to the "audio" target.
    bool writeKey(const std::string &key, const std::string &value) override;

private:
    // The module's keys, in the order readAll() asks for them.
    [[nodiscard]] static const KeyTable &keyRows();
    // An interface's addresses are the module's own business while it gets them by DHCP or
    // ZeroConf.
    [[nodiscard]] bool manualAddressing(int iface) const
    {
        return m_interfaces[iface & 1].dhcp == DhcpOff;
    }
    // The status words of a stream come only from its status key; false for a malformed text.
    bool applyStreamStatus(int stream, const std::string &text);
    bool applyPtimeOu(const std::string &text);

    bool m_modeOu = false;
    int m_ifCount = 1;
    int m_netMode = NetModeSwitch;
    int m_sampleRate = 48000;
    int m_resolution = 24;
    int m_ptpDomain = 0;
    int m_delayMinIn = 1;
    int m_delayMaxIn = 24000;
    int m_delayIn = 512;
    int m_netifOu = 0;
    int m_chCountOu = 2;
    float m_ptimeOu = 1.0F;
    int m_syncState = 0;
    int m_lockState = LockUnknown;
    std::string m_manufacturer;
    std::string m_hardwareName;
    std::string m_deviceName;
    std::string m_nameOu;
    std::string m_hardwareRev;
    std::string m_firmwareVer;
    std::string m_firmwareRev;
    std::string m_rescueosRev;
    NetInterface m_interfaces[InterfaceCount];
    TxDestination m_txDestinations[InterfaceCount];
    StreamRef m_streamsIn[StreamCount];
};

// The process-wide module controller, built on first use with the client from comClient() and
// destroyed with the other shared objects.
[[nodiscard]] TComRavennaController *ravennaController();
