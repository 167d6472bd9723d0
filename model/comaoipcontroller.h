#pragma once

#include "model/comnetworkcontroller.h"
#include "model/sipaccount.h"

#include <string>
#include <vector>

// The settings and status of the device's audio-over-IP interface, network "aoip": default
// protocol, streaming pattern, SIP behaviour, RTP and direct-RTP ports, STUN, packet replication,
// the module's version text, and two SIP accounts.
//
// One instance, a member of TComDevice, which attaches it to "aoip" with setNetwork(), resets it,
// routes the INFO messages "sip_registration" and "sip_registration2" to handleInfo() and calls
// setJitterab() for "aoip_config" events. The settings menu changes fields with sending off and
// then sends them together with write().
//
// Requests carry "target" "network"; settings also carry "network" = networkId(), the status
// keys ("sip_state", "sip_state2", "stun_nat_type", "public_addr", "aoip_version") do not.
// Account 1 is addressed with the plain keys, account 2 with the keys ending in "2"; both
// records stay unattached and their traffic goes through read() and write(). Passwords go out
// enciphered and never reach the log; a password that cannot be enciphered is not sent at all.
//
// Signals: none of its own and no setter signals; controllerStateChanged from reset() (to
// unknown) and setNetwork() (to not ready, then ready). A successful setNetwork() subscribes to
// both registration INFO types; reset() from a known state unsubscribes them.
//
// Setters (value, send): an unchanged value returns true without sending; values below a key's
// lower bound are ignored (true, nothing stored or sent); with send the key is written first and
// a refusal returns false keeping the old value; then the value is stored. The FromText
// operations apply received texts without sending and always return true. The read<Key>()
// operations read one key with the network id and apply it.
//
// Ownership as TComController; GUI thread only.
class TComAoIPController : public TComNetworkController
{
    Q_OBJECT

public:
    enum AudioMode { AudioModeSip = 0, AudioModeRtp = 1, AudioModeMulticast = 2 };
    enum NatType {
        NatUnknown = 0,
        NatFailure = 1,
        NatOpen = 2,
        NatBlocked = 3,
        NatSymmetricUdp = 4,
        NatFullCone = 5,
        NatSymmetric = 6,
        NatRestricted = 7,
        NatPortRestricted = 8,
    };

    explicit TComAoIPController(ksm::CCom *com);
    ~TComAoIPController() override;
    Q_DISABLE_COPY_MOVE(TComAoIPController)

    void reset() override;
    bool readAll() override;
    bool read(const std::vector<std::string> &keys) override;
    bool write(const std::vector<std::string> &keys) override;
    bool handleInfo(const ksm::CMsg &msg) override;
    bool handleEvent(const ksm::CMsg &msg) override;
    bool setNetwork(const std::string &networkId, int flags, bool makeDefault) override;

    // The key list readAll() reads for the current firmwareVersion.
    [[nodiscard]] static std::vector<std::string> readAllKeys();

    [[nodiscard]] int audioMode() const { return m_audioMode; }
    [[nodiscard]] int streamPattern() const { return m_streamPattern; }
    [[nodiscard]] bool doubleCodec() const { return m_doubleCodec; }
    [[nodiscard]] bool doubleStream() const { return m_doubleStream; }
    [[nodiscard]] bool jitterab() const { return m_jitterab; }
    [[nodiscard]] bool sipMode() const { return m_sipMode; }
    [[nodiscard]] bool sipAccCalls() const { return m_sipAccCalls; }
    [[nodiscard]] bool sipChkCalls() const { return m_sipChkCalls; }
    [[nodiscard]] bool sipUseUport2() const { return m_sipUseUport2; }
    [[nodiscard]] bool sipSessTimers() const { return m_sipSessTimers; }
    [[nodiscard]] bool drtpAccCalls() const { return m_drtpAccCalls; }
    [[nodiscard]] bool drtpSendOnly() const { return m_drtpSendOnly; }
    [[nodiscard]] bool stunMode() const { return m_stunMode; }
    [[nodiscard]] int sipDefAccount() const { return m_sipDefAccount; }
    [[nodiscard]] int sipKaInterval() const { return m_sipKaInterval; }
    [[nodiscard]] int sipKaTarget() const { return m_sipKaTarget; }
    [[nodiscard]] int sipReRegTo() const { return m_sipReRegTo; }
    [[nodiscard]] int sipUdpPort() const { return m_sipUdpPort; }
    [[nodiscard]] int rtpStartPort() const { return m_rtpStartPort; }
    [[nodiscard]] int drtpRtpPort() const { return m_drtpRtpPort; }
    [[nodiscard]] int drtpRelTimeout() const { return m_drtpRelTimeout; }
    [[nodiscard]] int rtpTos() const { return m_rtpTos; }
    [[nodiscard]] int mpEcmBfShift() const { return m_mpEcmBfShift; }
    [[nodiscard]] int stunNatType() const { return m_stunNatType; }
    [[nodiscard]] const std::string &aoipVersion() const { return m_aoipVersion; }
    [[nodiscard]] const std::string &stunServer() const { return m_stunServer; }
    [[nodiscard]] const std::string &publicAddr() const { return m_publicAddr; }
    [[nodiscard]] const std::string &sipProxy() const { return m_sipProxy; }

    // Account 2 for number 2, account 1 for any other number.
    [[nodiscard]] SipAccount &account(int number) { return number == 2 ? m_account2 : m_account1; }
    [[nodiscard]] const SipAccount &account(int number) const
    {
        return number == 2 ? m_account2 : m_account1;
    }
    [[nodiscard]] SipAccount &account1() { return m_account1; }
    [[nodiscard]] const SipAccount &account1() const { return m_account1; }
    [[nodiscard]] SipAccount &account2() { return m_account2; }
    [[nodiscard]] const SipAccount &account2() const { return m_account2; }

    bool setAudioMode(int value, bool send);
    bool setStreamPattern(int value, bool send);
    bool setDoubleCodec(bool value, bool send);
    bool setDoubleStream(bool value, bool send);
    bool setJitterab(bool value, bool send);
    bool setSipMode(bool value, bool send);
    bool setSipAccCalls(bool value, bool send);
    bool setSipChkCalls(bool value, bool send);
    bool setSipUseUport2(bool value, bool send);
    bool setSipProxy(const std::string &value, bool send);
    bool setSipDefAccount(int value, bool send);
    bool setSipKaInterval(int value, bool send);
    bool setSipKaTarget(int value, bool send);
    bool setSipReRegTo(int value, bool send);
    bool setSipUdpPort(int value, bool send);
    bool setRtpStartPort(int value, bool send);
    bool setSipSessTimers(bool value, bool send);
    bool setDrtpAccCalls(bool value, bool send);
    bool setDrtpSendOnly(bool value, bool send);
    bool setDrtpRtpPort(int value, bool send);
    bool setDrtpRelTimeout(int value, bool send);
    bool setStunMode(bool value, bool send);
    bool setStunServer(const std::string &value, bool send);
    bool setRtpTos(int value, bool send);
    bool setMpEcmBfShift(int value, bool send);

    bool setAudioModeFromText(const std::string &text);
    bool setStreamPatternFromText(const std::string &text);
    bool setDoubleCodecFromText(const std::string &text);
    bool setDoubleStreamFromText(const std::string &text);
    bool setJitterabFromText(const std::string &text);
    bool setSipModeFromText(const std::string &text);
    bool setSipAccCallsFromText(const std::string &text);
    bool setSipChkCallsFromText(const std::string &text);
    bool setSipUseUport2FromText(const std::string &text);
    bool setSipProxyFromText(const std::string &text);
    bool setSipDefAccountFromText(const std::string &text);
    bool setSipKaIntervalFromText(const std::string &text);
    bool setSipKaTargetFromText(const std::string &text);
    bool setSipReRegToFromText(const std::string &text);
    bool setSipUdpPortFromText(const std::string &text);
    bool setRtpStartPortFromText(const std::string &text);
    bool setSipSessTimersFromText(const std::string &text);
    bool setDrtpAccCallsFromText(const std::string &text);
    bool setDrtpSendOnlyFromText(const std::string &text);
    bool setDrtpRtpPortFromText(const std::string &text);
    bool setDrtpRelTimeoutFromText(const std::string &text);
    bool setStunModeFromText(const std::string &text);
    bool setStunServerFromText(const std::string &text);
    bool setRtpTosFromText(const std::string &text);
    bool setMpEcmBfShiftFromText(const std::string &text);
    bool setStunNatTypeFromText(const std::string &text);
    bool setPublicAddrFromText(const std::string &text);

    bool readAudioMode();
    bool readStreamPattern();
    bool readDoubleCodec();
    bool readDoubleStream();
    bool readJitterab();
    bool readSipMode();
    bool readSipAccCalls();
    bool readSipChkCalls();
    bool readSipUseUport2();
    bool readSipProxy();
    bool readSipDefAccount();
    bool readSipKaInterval();
    bool readSipKaTarget();
    bool readSipReRegTo();
    bool readSipUdpPort();
    bool readRtpStartPort();
    bool readSipSessTimers();
    bool readDrtpAccCalls();
    bool readDrtpSendOnly();
    bool readDrtpRtpPort();
    bool readDrtpRelTimeout();
    bool readStunMode();
    bool readStunServer();
    bool readRtpTos();
    bool readMpEcmBfShift();
    bool readStunNatType();
    bool readPublicAddr();

    // Wire words: "SIP"/"RTP"/"MC" (other values "SIP"); "1-1"/"1-2"/"2-3"/"1-3" (other values
    // "1-1"); "0"/"1"/"2" (other values "0").
    [[nodiscard]] static std::string audioModeToText(int value);
    [[nodiscard]] static std::string streamPatternToText(int value);
    [[nodiscard]] static std::string mpEcmBfShiftToText(int value);
    // Inverses: unknown words give 0. Comparisons are exact (case-sensitive).
    [[nodiscard]] static int audioModeFromText(const std::string &text);
    [[nodiscard]] static int streamPatternFromText(const std::string &text);
    [[nodiscard]] static int mpEcmBfShiftFromText(const std::string &text);
    [[nodiscard]] static int natTypeFromText(const std::string &text);

protected:
    [[nodiscard]] const KeyTable &keyTable() const override;

private:
    static const KeyTable &keyRows();

    // The stored value of a setting or account key in its wire form; false for status and
    // unknown keys and for a password that cannot be enciphered (refused set).
    bool wireText(const std::string &key, std::string &out, bool &refused);
    // Applies one received settings value (setting or account key); unknown keys are skipped.
    bool applyValue(const std::string &key, const std::string &text);

    int m_audioMode = AudioModeSip;
    int m_streamPattern = 0;
    bool m_doubleCodec = false;
    bool m_doubleStream = false;
    bool m_jitterab = false;
    bool m_sipMode = false;
    bool m_sipAccCalls = false;
    bool m_sipChkCalls = false;
    bool m_sipUseUport2 = false;
    bool m_sipSessTimers = false;
    bool m_drtpAccCalls = false;
    bool m_drtpSendOnly = false;
    bool m_stunMode = false;
    int m_sipDefAccount = 1;
    int m_sipKaInterval = 15;
    int m_sipKaTarget = 0;
    int m_sipReRegTo = 300;
    int m_sipUdpPort = 5060;
    int m_rtpStartPort = 5004;
    int m_drtpRtpPort = 9000;
    int m_drtpRelTimeout = 30;
    int m_rtpTos = 0;
    int m_mpEcmBfShift = 0;
    int m_stunNatType = NatUnknown;
    SipAccount m_account1{1};
    SipAccount m_account2{2};
    std::string m_aoipVersion;
    std::string m_stunServer;
    std::string m_publicAddr;
    std::string m_sipProxy;
};
