#pragma once

#include "link/codecconfig.h"
#include "model/combaseconnection.h"

#include <QtGlobal>

#include <string>

// Receive quality of one stream of a call, from the device's "rx-quality-report" events (keys in
// brackets).
struct RxQualityReport
{
    qint32 netQuality = -1;       // "net-quality"; -1 until the first report
    qint32 duration = 0;          // "duration"
    qint32 packetsTotal = 0;      // "pkts-total"
    qint32 packetsLost = 0;       // "pkts-lost"
    qint32 packetsDiscarded = 0;  // "pkts-discarded"
    qint32 packetsDuplicated = 0; // "pkts-duplicated"
    qint32 packetsReordered = 0;  // "pkts-reorderd" (the device's spelling)
    qint32 jitterAverage = 0;     // "jtr-avg"
    qint32 jitterMax = 0;         // "jtr-max"
    qint32 bufferCurrent = 0;     // "jb-curr"
    qint32 bufferMark = 0;        // "jb-mark"
};

// Send quality of one stream of a call, from "tx-quality-report" events.
struct TxQualityReport
{
    qint32 netQuality = -1;   // "net-quality"; -1 until the first report
    qint32 duration = 0;      // "duration"
    qint32 packetsTotal = 0;  // "pkts-total"
    qint32 packetsLost = 0;   // "pkts-lost"
    qint32 jitterAverage = 0; // "jtr-avg"
    qint32 jitterMax = 0;     // "jtr-max"
};

// An audio call on link 1 ("audio"), link 2 ("audio2") or the coordination line
// ("coord_line"): its state and call status, direction, remote addresses, codecs, relay outputs
// and link statistics, kept current from the device's call events, and the call actions (dial,
// accept, release, hang up).
//
// States: 0 idle, 1 setting up, 2 active, 3 disconnecting, 4 ended. Call status codes: see
// Status; each goes with the state noted there.
//
// Signals, emitted on the owning TComDevice only while the connection has an owner:
// - setStatus(): audioCallStatusChanged(this) on a status change (a new status, or the status 5
//   or 9 again), then audioConnectionStateChanged(this) when the state changed;
// - a statistics report with a net quality: audioCallStatisticChanged(this);
// - a relay report that changes the outputs (or the first one): audioCallRelayChanged(this).
//
// Actions send one DO message through the client's synchronous call (5000 ms) and change the
// connection only on an "OK" reply. A connection not yet added to the device has no owner, so
// its actions signal nothing. Ownership and threading as TComBaseConnection.
class TComAudioConnection : public TComBaseConnection
{
    Q_OBJECT

public:
    enum State {
        StateIdle = 0,
        StateSettingUp = 1,
        StateActive = 2,
        StateDisconnecting = 3,
        StateEnded = 4
    };
    Q_ENUM(State)

    enum Status {
        StatusNone = 0,           // state 1 after attaching, 0 after reset
        StatusDialled = 1,        // 1
        StatusAccepted = 2,       // 1
        StatusAutoRedial = 3,     // 1, "call auto redial"
        StatusProceeding = 4,     // 1, "0100-call proceeding"
        StatusRinging = 5,        // 1, "0600-call received" or "call ring"
        StatusActive = 6,         // 2, "1000-call active"
        StatusNegotiating = 7,    // 2, "dsp_status" "negotiating"
        StatusWaitingForSync = 8, // 2, "dsp_status" "waiting for sync"
        StatusSync = 9,           // 2, "dsp_status" "sync" (and an active coordination line)
        StatusSyncLost = 10,      // 2, "dsp_status" "sync lost"
        StatusDisconnecting = 11, // 3, "1200-call disconnected" or an accepted hang-up
        StatusReleased = 12,      // 4, "1900-call released"
        StatusError = 13,         // 4, "1902-call error"
        StatusLost = 14,          // 4, "1901-call lost"
    };
    Q_ENUM(Status)

    enum Direction { DirectionNone = -1, DirectionOutgoing = 0, DirectionIncoming = 1 };

    // Link number 0 gives type AudioLink1, 1 AudioLink2, any other value CoordinationLine.
    TComAudioConnection(ksm::CCom *com, int commLink);
    ~TComAudioConnection() override;
    Q_DISABLE_COPY_MOVE(TComAudioConnection)

    // Stores the owner and takes doubleCodec from its codec mode (1 = double).
    void setOwner(TComDevice *device) override;
    // Forgets the call: every field back to its start value except doubleCodec, last
    // setStatus(0, 0) (which signals what changed while an owner is set).
    void reset() override;
    // The device's call events for this id (and network, except "relay_out"); true when the
    // event was for this connection and understood.
    bool handleEvent(const ksm::CMsg &msg) override;

    // The state and status bookkeeping; see the class comment for the signals.
    void setStatus(int state, int status);
    // Binds the object to a link: ring count 0, id, direction and network stored, codec GSM
    // both ways on the coordination line, then setStatus(1, 0). True.
    bool attach(int direction, int id, const std::string &network);
    // attach() when idle (state 0); otherwise false and nothing changes.
    bool attachIfIdle(int direction, int id, const std::string &network);

    // Empties the joined text and the four address fields.
    void clearRemoteAddresses();
    // Clears the addresses, then takes up to four non-empty ","-separated parts of list as
    // addresses 1 to 4 (further parts are dropped) and the whole list as the joined text.
    void setRemoteAddresses(const std::string &list);
    // Takes the remote address of a call event ("remote_addr", with "bchannelno"/"sb",
    // "stream_id" or "remote_addr2".."remote_addr4"); an empty "remote_addr" changes nothing.
    void updateRemoteAddresses(const ksm::CMsg &msg);

    // Places the call on network to the addresses of addressList (","-separated, empty parts
    // skipped, at most four). 0 when the device accepted it: id from the reply, direction
    // outgoing, ring count 0, GSM codecs on the coordination line, setStatus(1, 1). 200 without
    // client, when not idle, or when the call failed; otherwise the reply's cause code.
    int dial(const std::string &network, const std::string &addressList);
    // Accepts the incoming call id on network: on "OK" id from the reply (the one asked for when
    // the reply names none), direction incoming, ring count 0, GSM codecs on the coordination
    // line, setStatus(1, 2). False without client, when not idle, or on any failure.
    bool accept(int id, const std::string &network);
    // Asks the device to release the call id on network; changes nothing here. True on "OK".
    bool releaseCall(int id, const std::string &network);
    // Ends this call (state 1 or 2 only): on "OK" setStatus(3, 11) unless a release handled
    // meanwhile already ended it. True on "OK".
    bool hangUp();
    // Asks the far end to send at bitRate (bit/s): the device passes "AT#TXBITRATE=<rate>;" as
    // user information of this call. False without client or id, or when the device refuses.
    bool sendTxBitRate(int bitRate);

    [[nodiscard]] int direction() const { return m_direction; }
    [[nodiscard]] int status() const { return m_status; }
    [[nodiscard]] int previousStatus() const { return m_previousStatus; }
    [[nodiscard]] bool doubleCodec() const { return m_doubleCodec; }
    [[nodiscard]] bool streamAddressing() const { return m_streamAddressing; }
    [[nodiscard]] bool relayMode() const { return m_relayMode; }
    [[nodiscard]] bool autoBitrate() const { return m_autoBitrate; }
    [[nodiscard]] int ringCount() const { return m_ringCount; }
    [[nodiscard]] const std::string &cause() const { return m_cause; }
    [[nodiscard]] const std::string &remoteAddresses() const { return m_remoteAddresses; }
    [[nodiscard]] const std::string &remoteAddress1() const { return m_remoteAddress1; }
    [[nodiscard]] const std::string &remoteAddress2() const { return m_remoteAddress2; }
    [[nodiscard]] const std::string &remoteAddress3() const { return m_remoteAddress3; }
    [[nodiscard]] const std::string &remoteAddress4() const { return m_remoteAddress4; }
    [[nodiscard]] const TCodecConfig &codecRx() const { return m_codecRx; }
    [[nodiscard]] const TCodecConfig &codecTx() const { return m_codecTx; }
    // Stream index 1 is the stream with id "2", index 0 every other; other indexes read 0.
    [[nodiscard]] const RxQualityReport &rxStatistics(int stream) const
    {
        return m_rxStatistics[stream == 1 ? 1 : 0];
    }
    [[nodiscard]] const TxQualityReport &txStatistics(int stream) const
    {
        return m_txStatistics[stream == 1 ? 1 : 0];
    }
    [[nodiscard]] bool relaysValid() const { return m_relaysValid; }
    [[nodiscard]] bool relay1() const { return m_relay1; }
    [[nodiscard]] bool relay2() const { return m_relay2; }

    // The codec record of a coordination-line call: GSM, no rates, mono, no error correction.
    [[nodiscard]] static TCodecConfig coordinationLineCodec();

private:
    // What attaching, placing and accepting a call share: ring count 0, id, direction and
    // network stored, GSM codecs on the coordination line, then setStatus(1, status).
    void bindCall(int direction, int id, const std::string &network, int status);
    void applyStatistics(const ksm::CMsg &msg, bool transmit);
    void applyRelayOutputs(const ksm::CMsg &msg);
    void takeCodecs(const ksm::CMsg &msg);
    // Sends msg and reports whether the reply's "return" is exactly "OK"; reply gets the answer.
    bool sendCommand(const ksm::CMsg &msg, ksm::CMsg &reply, bool *callFailed = nullptr);

    int m_direction = DirectionNone;
    int m_status = StatusNone;
    int m_previousStatus = StatusNone;
    bool m_doubleCodec = false;
    bool m_streamAddressing = false;
    bool m_relayMode = false;
    bool m_autoBitrate = false;
    int m_ringCount = 0;
    std::string m_cause;
    std::string m_remoteAddresses;
    std::string m_remoteAddress1;
    std::string m_remoteAddress2;
    std::string m_remoteAddress3;
    std::string m_remoteAddress4;
    TCodecConfig m_codecRx;
    TCodecConfig m_codecTx;
    RxQualityReport m_rxStatistics[2];
    TxQualityReport m_txStatistics[2];
    bool m_relaysValid = false;
    bool m_relay1 = false;
    bool m_relay2 = false;
};
