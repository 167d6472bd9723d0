#pragma once

#include "model/comnetworkcontroller.h"

#include <string>
#include <vector>

// The settings of one ISDN interface ("isdn.0", ...): the D-channel protocol, the SPID, the
// local numbers and sub-addresses of the two B channels, and the "5as" switch.
//
// Every key but "5as" goes to "target" "network" with "network" = networkId(); "5as" lives
// among the device's audio settings and goes to "target" "audio" without a network id. Each
// request waits up to 5000 ms.
//
// Signals: controllerParamChanged(this, Param) after each stored change; controllerStateChanged
// as TComNetworkController, a successful setNetwork() ending in StateReady. The controller
// follows no device messages.
//
// The protocol word "isdn_ni1" reads as ProtocolNi1 and is written back as "isdn_ni1", so that
// a device set to NI-1 is not switched to NI-2 by writing back what was read.
//
// A bulk write() sends only fields that were read from the device or set since construction or
// the last reset: writing a default in place of an unknown value would overwrite the device's
// setting.
//
// No Qt parent; the settings page owns its edit copy. GUI thread only.
class TComIsdnController : public TComNetworkController
{
    Q_OBJECT

public:
    enum Protocol {
        ProtocolUdss1 = 0,
        ProtocolNi2 = 1,
        ProtocolNtt = 2,
        ProtocolNi1 = 3,
    };
    Q_ENUM(Protocol)

    enum Param {
        Param5as = 0,
        ParamProtocol = 1,
        ParamSpid = 2,
        ParamLocalNumber1 = 3,
        ParamLocalNumber2 = 4,
        ParamSubAddress1 = 5,
        ParamSubAddress2 = 6,
    };
    Q_ENUM(Param)

    explicit TComIsdnController(ksm::CCom *com);
    ~TComIsdnController() override;
    Q_DISABLE_COPY_MOVE(TComIsdnController)

    // "isdn_udss1", "isdn_ni2", "isdn_ntt", "isdn_ni1"; "isdn_udss1" for any other value. The
    // inverse reads "isdn_ni1" as ProtocolNi1, "isdn_ni2" as 1, "isdn_ntt" as 2, anything else
    // as 0.
    [[nodiscard]] static const std::string &protocolText(int protocol);
    [[nodiscard]] static int protocolFromText(const std::string &text);

    [[nodiscard]] bool fiveAs() const { return m_fiveAs; }
    [[nodiscard]] int protocol() const { return m_protocol; }
    [[nodiscard]] const std::string &spid() const { return m_spid; }
    [[nodiscard]] const std::string &localNumber1() const { return m_localNumber1; }
    [[nodiscard]] const std::string &localNumber2() const { return m_localNumber2; }
    [[nodiscard]] const std::string &subAddress1() const { return m_subAddress1; }
    [[nodiscard]] const std::string &subAddress2() const { return m_subAddress2; }

    // Setters: unchanged → true, nothing sent. With send the key is written first; a refusal
    // keeps the old value and returns false. Then store, signal, true. Texts are sent also when
    // empty; a protocol value is sent by its word, except -1, which is never sent.
    bool set5as(bool on, bool send);
    bool setProtocol(int protocol, bool send);
    bool setSpid(const std::string &spid, bool send);
    bool setLocalNumber1(const std::string &number, bool send);
    bool setLocalNumber2(const std::string &number, bool send);
    bool setSubAddress1(const std::string &address, bool send);
    bool setSubAddress2(const std::string &address, bool send);

    // PARAM "target" "audio", "5as" "on"/"off"; true when the unit holds it
    // (TComController::writeTargetParams()).
    bool write5as(bool on);
    // PARAM "target" "audio", GET "5as"; applies the value when read. The read result.
    bool refresh5as();

    // Device words into the setters, send off. Always true.
    bool applyProtocol(const std::string &text);
    // True exactly for "on".
    bool apply5as(const std::string &text);

    void reset() override;
    bool readAll() override;
    // "5as" is read with its own request to the audio target; true when either request
    // delivered something.
    bool read(const std::vector<std::string> &keys) override;
    // "5as" is written with its own request, also when the network part was refused; true only
    // when both were accepted.
    bool write(const std::vector<std::string> &keys) override;
    bool handleInfo(const ksm::CMsg &msg) override;
    bool handleEvent(const ksm::CMsg &msg) override;
    bool setNetwork(const std::string &networkId, int flags, bool makeDefault) override;

protected:
    [[nodiscard]] const KeyTable &keyTable() const override;

private:
    bool m_fiveAs = false;
    int m_protocol = ProtocolUdss1;
    std::string m_spid;
    std::string m_localNumber1;
    std::string m_localNumber2;
    std::string m_subAddress1;
    std::string m_subAddress2;
};
