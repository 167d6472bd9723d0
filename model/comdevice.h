#pragma once

#include "link/codecconfig.h"
#include "model/comaoipcontroller.h"
#include "model/comethernetcontroller.h"
#include "model/commobilecontroller.h"
#include "model/comnetworkids.h"
#include "model/comrequest.h"
#include "model/comwificontroller.h"
#include "model/deviceoptionword.h"
#include "model/writereport.h"

#include <QObject>
#include <QtGlobal>

#include <array>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace ksm {
class CCom;
class CMsg;
} // namespace ksm

class TComController;
class TComBaseConnection;
class TComAudioConnection;
class TComDataConnection;

// The root of the device model: the device-wide state (option word, codec, coordination,
// double-streaming and operation modes, the coding of the two coders, default and secondary
// network, battery, signal bars, relay inputs), the device's available networks, the map of live
// call and data connections, and the embedded AoIP, Ethernet, mobile and Wi-Fi controllers.
// It reads everything in one refresh(), follows the device's INFO and EVENT messages
// (handleInfo(), handleEvent()), and carries the device-wide actions and coding settings.
//
// Ownership: the four controllers are members. The device owns every connection in its map:
// addConnection() takes a connection (as a Qt child) and the device deletes it when it is
// removed. Removal detaches it at once (clearOwner, out of the map, connectionRemoved) and
// deletes it with deleteLater(), so a connection whose own action is still on the stack (a
// release handled inside its hang-up's synchronous call) stays valid until control returns to
// the event loop; one removed by the destructor is deleted at once. The protocol client is not
// owned.
//
// Signals:
// - deviceStateChanged(code) after a setter stored a new value, after a routed message changed
//   something, and once, with DeviceStateAll, at the end of a successful refresh(), which runs
//   with the device's signals blocked so that it announces its result only through that code;
// - connectionAdded / connectionRemoved when the map gains or loses a connection;
// - dataConnectionStateChanged, audioConnectionStateChanged, audioCallStatusChanged,
//   audioCallStatisticChanged, audioCallRelayChanged: emitted by the connections in the map
//   (through the notify operations below), and by the device for a connection it created from
//   an event or picked up in a refresh.
// reset() emits nothing but connectionRemoved for the connections it removes.
//
// Re-entry: refresh() is not re-entered. A refresh() or reset() asked for while a refresh runs
// (from a slot that runs inside one of its synchronous calls, as a "reinit" handled there) is
// remembered and done once the running refresh has finished.
//
// GUI thread only; every request blocks in the client's nested event loop (5000 ms).
class TComDevice : public QObject, public TComNetworkIds
{
    Q_OBJECT

public:
    // What changed, the argument of deviceStateChanged.
    enum DeviceState {
        DeviceStateAll = 0, // a refresh completed: re-read the whole model
        DefaultNetworkState = 1,
        SecondaryNetworkState = 2,
        Coder1State = 3,
        Coder2State = 4,
        CodecModeState = 5,
        CoordinationModeState = 6,
        DstreamModeState = 7,
        EthernetState = 8,
        MobileState = 9,
        MobileSignalState = 10,
        WifiState = 11,
        WifiSignalState = 12,
        SipRegistration1State = 13,
        SipRegistration2State = 14,
        RelayInputsState = 15,
        BatteryLevelState = 16,
        Aes67ResetState = 17,
        OperationModeState = 18,
    };
    Q_ENUM(DeviceState)

    // Bits of the option word, from the words of "device_opts".
    enum DeviceOption : quint32 {
        OptionIpDoubleCodec = 0x1,        // "ip_dcodec"
        OptionIsdnDoubleCodec = 0x2,      // "isdn_dcodec": gates the ISDN coder keys
        OptionRavenna = 0x4,              // "ravenna"
        OptionRemoteAccess = 0x8,         // "remote_access_" N, N > 0
        OptionRemoteAccessFull = 0x10,    // "remote_access_" N, N > 2
        OptionIpDoubleStream = 0x20,      // "ip_dstream_" N, N > 0
        OptionIpDoubleStreamMulti = 0x40, // "ip_dstream_" N, N > 0 and not 1
        OptionHardware134 = 0x80,         // "hardware_" N, N & 15 in 1, 3, 4
        OptionRecord = 0x100,             // "record_" N, N > 0
        OptionHardware124 = 0x200,        // "hardware_" N, N & 15 in 1, 2, 4
        OptionRavenna2 = 0x400,           // "ravenna_" 2
        OptionHardware2 = 0x800,          // "hardware_" N, N & 15 = 2
        OptionHardware3 = 0x1000,         // "hardware_" N, N & 15 = 3
    };

    // The audio routing codes of audioRouting() and currentAudioRouting().
    enum AudioRouting {
        RoutingMono = 1,
        RoutingStereo = 2,
        RoutingDualMono = 4,
        RoutingMonoCoordination = 8, // link 2 carries the coordination line
        RoutingDouble = 16,          // double codec mode
        RoutingDoubleStereo = 32,    // double codec mode, coder 1 dual mono or stereo
        RoutingCoordination = 64,    // link 2 carries the coordination line
    };

    // One of the device's two relay inputs.
    struct RelayInput
    {
        int number = 1;
        bool active = false;
        std::string config;         // the latest "config1"/"config2" value
        std::string previousConfig; // the value before the latest change
    };

    explicit TComDevice(ksm::CCom *com);
    ~TComDevice() override;
    Q_DISABLE_COPY_MOVE(TComDevice)

    // --- Life -------------------------------------------------------------------------------
    // Back to the state before the first refresh (battery level, option word and hardware
    // variant stay), the AoIP controller reset; with removeConnections every connection is
    // removed first. Emits nothing else.
    void reset(bool removeConnections);
    // Reads options, networks, the AoIP interface, network and coding settings and subscribes
    // to the device's INFO types; then picks up running data links. True when the model is
    // loaded; a failure reports nothing and leaves loaded() false.
    bool refresh();
    // "device_opts": the option word and hardware variant; on failure both keep their values.
    bool readDeviceOptions();

    // --- Networks ---------------------------------------------------------------------------
    // LIST "network": on success the map is replaced (texts that name no network skipped);
    // true when it is not empty. On failure the map stays and the result is false.
    bool readNetworks();
    [[nodiscard]] bool hasNetwork(const std::string &network) const;
    [[nodiscard]] bool hasTransport(int kind) const;
    // Link 2 while the coordination line is routed: voice; otherwise the default network's kind.
    [[nodiscard]] int linkTransport(int link) const;
    // -1 for null, a connection without id or network; voice for a GSM transmit codec; else
    // the kind of its network.
    [[nodiscard]] static int connectionTransport(const TComBaseConnection *connection);

    // Setters (value, send): unchanged → true, nothing sent. With send the device must accept
    // the write first (false, nothing changed, otherwise). Then store and signal; a new default
    // network also assigns the matching interface controller (its read of a few keys runs with
    // the device's signals blocked) and signals that interface. A default network not known
    // (defaultNetworkKnown()) is never unchanged: the value given is written, or taken and
    // signalled; a write of it that leaves it unknown (no answer in time, no read-back) makes it
    // unknown, signalled too.
    bool setDefaultNetwork(const std::string &network, bool send);
    bool setSecondaryNetwork(const std::string &network, bool send);
    bool readDefaultNetwork();
    bool readSecondaryNetwork();
    bool readNetworkSettings();

    // --- Connections ------------------------------------------------------------------------
    // Takes c when it is not null, has an id and a network, and its id is free: c becomes a
    // child of the device, its owner is set, connectionAdded(c) fires; true. Otherwise false and
    // the caller keeps (and deletes) c.
    bool addConnection(TComBaseConnection *c);
    // Detaches the connection under id (clearOwner, out of the map, connectionRemoved) and
    // deletes it later; an unknown id does nothing.
    void removeConnection(int id);
    // removeConnection() for every connection, ascending id.
    void removeAllConnections();
    [[nodiscard]] TComBaseConnection *connection(int id) const;
    // Lookups: "first" is the lowest id.
    [[nodiscard]] TComBaseConnection *connectionOfType(int type) const;
    [[nodiscard]] bool hasAudioConnection() const;
    // Link 1: the first connection of type AudioLink1; any other link: of AudioLink2 or
    // CoordinationLine.
    [[nodiscard]] TComAudioConnection *audioConnection(int link) const;
    [[nodiscard]] TComBaseConnection *findConnection(int type, const std::string &network) const;
    [[nodiscard]] TComAudioConnection *findAudioConnection(const std::string &network) const;
    [[nodiscard]] TComAudioConnection *findAudioConnectionByTransport(int kind) const;
    [[nodiscard]] const std::map<int, TComBaseConnection *> &connections() const
    {
        return m_connections;
    }

    // Emit the connection signal for c and nothing else; the connections report through these.
    void notifyConnectionAdded(TComBaseConnection *c);
    void notifyConnectionRemoved(TComBaseConnection *c);
    void notifyDataConnectionStateChanged(TComDataConnection *c);
    void notifyAudioConnectionStateChanged(TComAudioConnection *c);
    void notifyAudioCallStatusChanged(TComAudioConnection *c);
    void notifyAudioCallStatisticChanged(TComAudioConnection *c);
    void notifyAudioCallRelayChanged(TComAudioConnection *c);

    // --- Device actions ---------------------------------------------------------------------
    // DO "reboot" / "shutdown"; true when the device answered "OK", or when the link was down
    // or dropped during the call (the device may drop the link before it answers). False
    // without client and for a refusal or a time-out.
    bool reboot();
    bool shutdown();

    // --- Tools (comdevicetools.cpp) -----------------------------------------------------------
    // The three access-level passwords, as stored (enciphered) in this program's settings
    // record: password_al, password_el and password_ol in one read (10000 ms). Each key the
    // device returned is put into values (an empty value for an unset one); false, with values
    // untouched, without client or when the read fails (lastReadFailure() says why).
    bool readAccessPasswords(std::map<std::string, std::string> &values);
    // Writes one of the three password keys (the enciphered text, or "" to clear it) or the
    // autologin switch into the settings record (10000 ms). False for any other key, without
    // client, or when the unit does not hold the value afterwards (writeRecordParam()).
    bool writeAccessPassword(const std::string &key, const std::string &enciphered);
    bool writeAutoLogin(bool on);
    // Whether the device holds the sound ID file: a DO "open" of the record file (5000 ms)
    // answered "OK".
    bool soundIdFileExists();
    // Reads the auto redial keys ("network"), then the GPIO and time server keys ("general"),
    // into values; the results are not looked at: a key the device did not give is left out
    // (an unset one is given as empty).
    void readToolsParams(std::map<std::string, std::string> &values);
    // The device words a GPIO key (ext_input1/2, ext_relay1/2) may take, in the device's order;
    // false, with words left empty, for another key or when the list cannot be read.
    bool listGpioChoices(const std::string &key, std::vector<std::string> &words);
    // Writes general keys (GPIO inputs and relays, time server) or network keys (auto redial)
    // in one PARAM message per target, and reports what the unit holds of them afterwards
    // (TComRequest::writeParams()); a key that is not one of the tools keys is not sent, and
    // kept. The unit took every key when the report holds values.
    [[nodiscard]] WriteReport writeToolsParams(const std::map<std::string, std::string> &values);

    // --- Messages (comdevicemessages.cpp) ---------------------------------------------------
    // An INFO message the device root follows: "network_info", "battery_level",
    // "sip_registration", "sip_registration2", "audio_changeset". True when it is one of them.
    bool handleInfo(const ksm::CMsg &msg);
    // An EVENT message: network and coding changes, interface configuration, calls and data
    // links (creating connections for links not seen yet and removing those that ended), relay
    // inputs. True when it was taken.
    bool handleEvent(const ksm::CMsg &msg);

    // --- Coding (comdevicecoding.cpp) -------------------------------------------------------
    bool setCodecMode(int mode, bool send);
    bool setCoordinationMode(int mode, bool send);
    bool setOperationMode(int mode, bool send);
    // Coder 2, or coder 1 for any other number. An unreadable codec text changes nothing (true).
    bool setCodec(int coder, const std::string &codec, bool send);
    bool setAes67Reset(bool on, bool send);
    void setDstreamMode(int value);
    bool readCodecSettings();
    bool readAes67Reset();
    // The transmit coding of a coder per transport ("ip", or "isdn" with the ISDN option);
    // not cached. False without a request for any other transport.
    bool readTxCodec(int coder, const std::string &transport, TCodecConfig &out);
    bool writeTxCodec(int coder, const std::string &transport, const std::string &codec);
    // The routing code of the configured coding (AudioRouting).
    [[nodiscard]] int audioRouting() const;
    // The routing code of the running link-1 call, else audioRouting().
    [[nodiscard]] int currentAudioRouting() const;
    [[nodiscard]] bool isDoubleCodecRouting() const;
    [[nodiscard]] bool hasCoordinationLine() const;
    // The coding choices the device offers for a network family; out is emptied first and
    // filled only on success (unknown names read as -1).
    bool listAlgorithms(int codecMode, std::vector<int> &out, int family);
    bool
    listChannelModes(int codecMode, int algorithm, int coder, std::vector<int> &out, int family);
    bool listSampleRates(
        int codecMode, int algorithm, int channelMode, std::vector<int> &out, int family);
    bool listBitRates(int codecMode,
                      int algorithm,
                      int channelMode,
                      int sampleRate,
                      std::vector<int> &out,
                      int family);

    // --- Coding options (comdevicecoding.cpp) ---------------------------------------------
    // Relay transmission of coder 1 ("relay" of "audio"): true with active set when the device
    // reports "on" or "off"; false when the read fails or the value is anything else.
    bool readRelay(bool &active);
    // Writes "relay" "on"/"off"; true when the device accepted it.
    bool setRelay(bool on);
    // The automatic bit-rate adaptation of the Opus coding. Keys the device did not report stay
    // empty (switch and policy) or 0 (bit rates).
    enum AutoBitRateKey { AbrCalls, AbrProfile, AbrMinBitRate, AbrMaxBitRate };
    struct AutoBitRate
    {
        std::string calls;
        std::string profile;
        int minBitRate = 0;
        int maxBitRate = 0;
        // The keys the answer carried; the others keep the values above, which are not the unit's.
        std::set<AutoBitRateKey> sent;
    };
    // True when the request came back (keys may still be missing).
    bool readAutoBitRate(AutoBitRate &out);
    // The bit rates the device accepts for AbrMinBitRate or AbrMaxBitRate; out is emptied first
    // and stays empty when the list fails or for another key.
    bool listAutoBitRates(AutoBitRateKey key, std::vector<int> &out);
    // Writes one key; true when the device accepted it.
    bool writeAutoBitRate(AutoBitRateKey key, const std::string &value);

    // --- Front panel ------------------------------------------------------------------------
    // The conversations the front-panel window and its pages hold with the device, one
    // function each (comdevicefrontpanel.cpp). Each waits for its answer (5000 ms) and returns
    // false without client, when the call fails or when the device refuses; an output argument
    // keeps its value unless the function says otherwise.

    // What the login checks: "device", "version" and "builddate" of "general".
    struct Identity
    {
        std::string device;
        std::string version;
        std::string buildDate;
        // True when "device" names a Quorix.
        [[nodiscard]] bool isQuorix() const;
    };
    // True only when all three came back; identity is filled only then. On false,
    // lastReadFailure() says why.
    bool readIdentity(Identity &identity);
    // Why the unit could not be read, so that the user can be told the real cause.
    enum class ReadFailure {
        None,         // the read succeeded
        NotConnected, // the link is down, or went down during the read
        NoAnswer,     // the unit did not answer in time
        Refused,      // the unit answered but refused, or left out what was asked
    };
    // The outcome of the last readIdentity() or readAccessPasswords().
    [[nodiscard]] ReadFailure lastReadFailure() const { return m_lastReadFailure; }
    // How long readIdentity() and the other reads of device-wide key sets wait for the unit;
    // tests shorten it to meet a silent unit quickly. The client counts whole seconds and takes
    // less than one second as five.
    [[nodiscard]] int readTimeoutMs() const { return m_readTimeoutMs; }
    void setReadTimeoutMs(int ms) { m_readTimeoutMs = ms; }
    // How long the writes of the unit's settings wait for it before they read back what it
    // holds: TComRequest::writeTimeoutMs(), shared with every controller; tests shorten it.
    [[nodiscard]] static int writeTimeoutMs() { return TComRequest::writeTimeoutMs(); }
    static void setWriteTimeoutMs(int ms) { TComRequest::setWriteTimeoutMs(ms); }
    // The device's tab name, kept in the web program's settings record; an empty name when the
    // record has none.
    bool readTabName(std::string &name);

    // A remote number the front panel remembers for call link 1 or 2 under an address kind
    // (Transport: IP, ISDN or voice).
    struct RemoteNumber
    {
        int link = 1;
        int kind = TransportIp;
        std::string number;
    };
    // The front panel's own record on the device: the remembered numbers and, from firmware
    // 1.10, the states of relay inputs and outputs 1 and 2 (unset while unknown).
    struct PanelRecord
    {
        std::vector<RemoteNumber> numbers;
        std::array<std::optional<bool>, 2> relayInputs;
        std::array<std::optional<bool>, 2> relayOutputs;
    };
    // Subscribes to "remote_numbers", then reads the record. What came back is in record also
    // when the result is false.
    bool readPanelRecord(PanelRecord &record);
    // The remote numbers an INFO "remote_numbers" carries.
    [[nodiscard]] static std::vector<RemoteNumber> remoteNumbers(const ksm::CMsg &info);
    // Remembers a number of link (2, or 1 for any other) and kind on the device: a one-way INFO
    // "remote_numbers". False, sending nothing, for a kind other than IP, ISDN or voice.
    bool storeRemoteNumber(int link, const std::string &number, int kind);

    // Whether the recorder plays (also paused in play), from "rec_status".
    bool readRecorderPlaying(bool &playing);
    // Asks for "audio_levels" reports every periodMs to the client's datagram port.
    bool subscribeAudioLevels(int periodMs);
    // Asks the device to report the calls and data links it holds ("comm_events").
    bool requestCommEvents();

    // The auto-redial switches of links 1 and 2; a switch not read is off. Both are written
    // also when the result is false.
    bool readAutoRedial(bool &link1, bool &link2);
    // Link 2, or 1 for any other; true when the device accepted it.
    bool setAutoRedial(int link, bool on);
    // The numbers dialled last: the phone numbers of the coordination line with phoneNumbers,
    // else the call addresses; appended to entries.
    bool readAddressHistory(bool phoneNumbers, std::vector<std::string> &entries);

    // Subscribes to "config_changeset" and reads the soft-key and label keys (kPanelKey...) of
    // "general": true only when all eleven came back, values holding them.
    bool readPanelKeys(std::map<std::string, std::string> &values);
    // Writes one soft-key or label key; any other key is refused without sending. True when the
    // unit holds the value afterwards: a write without an answer in time is followed by a read
    // of the key (TComRequest::writeParams()).
    bool writePanelKey(const std::string &key, const std::string &value);
    // The same, reporting what the unit holds of the key afterwards; another key is kept.
    [[nodiscard]] WriteReport writePanelKeyReported(const std::string &key,
                                                    const std::string &value);

    // Shows a text message on the device's display.
    bool displayMessage(const std::string &text);

    // The INFO the device sends when its core audio settings changed ("audio_changeset" from
    // "core"), for telling listeners of such a change found otherwise.
    [[nodiscard]] static ksm::CMsg coreAudioChangeset();

    // Bars 0 to 5 from the mobile and Wi-Fi signal quality.
    [[nodiscard]] static int mobileSignalBarsFor(int quality);
    [[nodiscard]] static int wifiSignalBarsFor(int quality);

    // --- Fields -----------------------------------------------------------------------------
    [[nodiscard]] TComRequest &request() { return m_request; }
    [[nodiscard]] ksm::CCom *com() const { return m_request.com(); }
    [[nodiscard]] bool loaded() const { return m_loaded; }
    [[nodiscard]] bool aes67Reset() const { return m_aes67Reset; }
    [[nodiscard]] int mobileSignalBars() const { return m_mobileSignalBars; }
    [[nodiscard]] int wifiSignalBars() const { return m_wifiSignalBars; }
    [[nodiscard]] int batteryLevel() const { return m_batteryLevel; }
    [[nodiscard]] quint32 deviceOptions() const { return m_deviceOptions; }
    // Whether the connected device has option (a DeviceOption bit): the one option test of the
    // pages and the front panel. It reads deviceOptionWord, which mirrors the options this model
    // last read.
    [[nodiscard]] static bool hasOption(quint32 option) { return (deviceOptionWord & option) != 0; }
    [[nodiscard]] int hardwareVariant() const { return m_hardwareVariant; }
    [[nodiscard]] int codecMode() const { return m_codecMode; }
    [[nodiscard]] int coordinationMode() const { return m_coordinationMode; }
    [[nodiscard]] int dstreamMode() const { return m_dstreamMode; }
    // 0 standard, 1 extended.
    [[nodiscard]] int operationMode() const { return m_operationMode; }
    [[nodiscard]] bool isExtendedMode() const { return m_operationMode == 1; }
    [[nodiscard]] const std::string &defaultNetwork() const { return m_defaultNetwork; }
    // Whether defaultNetwork() is what the unit holds: it was read, reported or written since
    // the last reset, and no write of it has ended unanswered and unread since (the unit may
    // then hold either value) until it is read or reported again.
    [[nodiscard]] bool defaultNetworkKnown() const { return m_defaultNetworkKnown; }
    [[nodiscard]] const std::string &secondaryNetwork() const { return m_secondaryNetwork; }
    [[nodiscard]] const std::map<int, std::string> &networks() const { return m_networks; }
    [[nodiscard]] const TCodecConfig &coder1() const { return m_coder1; }
    [[nodiscard]] const TCodecConfig &coder2() const { return m_coder2; }
    [[nodiscard]] TComAoIPController *aoipController() { return &m_aoipController; }
    [[nodiscard]] TComEthernetController *ethernetController() { return &m_ethernetController; }
    [[nodiscard]] TComMobileController *mobileController() { return &m_mobileController; }
    [[nodiscard]] TComWifiController *wifiController() { return &m_wifiController; }
    [[nodiscard]] bool relayInputsKnown() const { return m_relayInputsKnown; }
    [[nodiscard]] const RelayInput &relayInput1() const { return m_relayInput1; }
    [[nodiscard]] const RelayInput &relayInput2() const { return m_relayInput2; }

Q_SIGNALS:
    void deviceStateChanged(TComDevice::DeviceState state);
    void connectionAdded(TComBaseConnection *connection);
    void connectionRemoved(TComBaseConnection *connection);
    void dataConnectionStateChanged(TComDataConnection *connection);
    void audioConnectionStateChanged(TComAudioConnection *connection);
    void audioCallStatusChanged(TComAudioConnection *connection);
    void audioCallStatisticChanged(TComAudioConnection *connection);
    void audioCallRelayChanged(TComAudioConnection *connection);

private Q_SLOTS:
    void ethernetControllerStateChanged(TComController *controller);
    void mobileControllerStateChanged(TComController *controller);
    void wifiControllerStateChanged(TComController *controller);

private:
    bool runRefresh();
    void resetState(bool removeConnections);
    void pickUpDataConnections();
    void applyDeviceOption(const std::string &word);
    // Takes the event into the connection; removes the connection when it ended.
    void passEvent(TComBaseConnection *c, const ksm::CMsg &msg);
    bool handleCallEvent(const ksm::CMsg &msg, const std::string &type, int direction);
    bool handleDataConnected(const ksm::CMsg &msg);
    bool handleRelayInputs(const ksm::CMsg &msg);
    void handleDefaultCodec(const ksm::CMsg &msg);
    void handleCodecChange(const ksm::CMsg &msg);
    // Detaches c from the map entry it, emits connectionRemoved; the caller deletes c.
    TComBaseConnection *detachConnection(std::map<int, TComBaseConnection *>::iterator it);
    // Writes key = value into this program's settings record through
    // TComRequest::writeParams(), waiting twice the write time-out (10000 ms): true when the
    // unit holds the value afterwards.
    // False without client or without the client's identity, nothing sent.
    bool writeRecordParam(const std::string &key, const std::string &value);
    // Writes values at address (a PARAM message of routing parameters only) through
    // TComRequest::writeParams(), with the write time-out; true when the unit holds every value
    // afterwards: it took them all, or a write it answered too late or took only in part was
    // read back with them.
    bool writeAll(const ksm::CMsg &address, const std::map<std::string, std::string> &values);
    // The same at "target" target alone.
    bool writeAll(const std::string &target, const std::map<std::string, std::string> &values);
    static bool powerRequestDone(ksm::CCom *client, const ksm::CMsg &msg);
    // How many of the unit's messages had arrived when the last call was answered (a write the
    // unit took, or a read); -1 without a client.
    [[nodiscard]] qint64 takenAt() const;
    // The message handled now arrived before the answer of a write or read noted at takenAt: its
    // news is older than what that call set.
    [[nodiscard]] bool isOlderThan(qint64 takenAt) const;
    // GET keys of "target" target; true when every key came back (into values).
    bool readAll(const std::string &target,
                 const std::vector<std::string> &keys,
                 std::map<std::string, std::string> &values);
    bool listCapability(ksm::CMsg &msg,
                        const std::string &listName,
                        int family,
                        std::vector<std::string> &items);
    // The transmit codec key of a coder and transport, or an empty text.
    [[nodiscard]] std::string txCodecKey(int coder, const std::string &transport) const;
    void emitState(DeviceState state);
    // The failure a read that ended with callResult (TComRequest::lastCallResult()) stands for.
    [[nodiscard]] ReadFailure readFailureOf(int callResult) const;

    TComRequest m_request;
    ReadFailure m_lastReadFailure = ReadFailure::None;
    int m_readTimeoutMs = TComRequest::DefaultTimeoutMs;
    bool m_loaded = false;
    bool m_aes67Reset = false;
    int m_mobileSignalBars = 0;
    int m_wifiSignalBars = 0;
    int m_batteryLevel = -1;
    quint32 m_deviceOptions = 0;
    int m_hardwareVariant = 0;
    int m_codecMode = 0;
    int m_coordinationMode = 0;
    int m_dstreamMode = 0;
    int m_operationMode = 0;
    std::string m_defaultNetwork;
    bool m_defaultNetworkKnown = false;
    // takenAt() of the last write of the default and the secondary network the unit took, or of
    // the last read of it; -1 since the last reset.
    qint64 m_defaultNetworkTakenAt = -1;
    qint64 m_secondaryNetworkTakenAt = -1;
    std::string m_secondaryNetwork;
    std::map<int, std::string> m_networks;
    std::map<int, TComBaseConnection *> m_connections;
    TCodecConfig m_coder1;
    TCodecConfig m_coder2;
    TComAoIPController m_aoipController;
    TComEthernetController m_ethernetController;
    TComMobileController m_mobileController;
    TComWifiController m_wifiController;
    bool m_relayInputsKnown = false;
    RelayInput m_relayInput1;
    RelayInput m_relayInput2;

    // Re-entry bookkeeping of refresh().
    bool m_refreshing = false;
    bool m_refreshPending = false;
    bool m_resetPending = false;
    bool m_resetRemovesConnections = false;
};

// The process-wide device model, built on first use with the client of comClient() and
// destroyed with the other shared objects. Always the same non-null pointer in between.
[[nodiscard]] TComDevice *comDevice();
