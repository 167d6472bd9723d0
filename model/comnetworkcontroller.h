#pragma once

#include "model/comkeyedcontroller.h"

#include <map>
#include <string>
#include <vector>

// A controller of one network interface (AoIP, Ethernet, ISDN, mobile, Wi-Fi): the network id it
// works on, its assignment to that network, the network-addressed request forms, and the
// parameter-change signal shared by the interface controllers.
//
// A subclass lists the keys it reads and writes in its key table (keytable.h), one row each;
// the common setter, the appliers, the bulk write and the reset of TComKeyedController and the
// bulk read below walk that table, so that a subclass names each key once. A setter writes its
// key to this network, and a stored change is signalled with the row's parameter number.
//
// Requests address "target" "network" and, with withNetwork, "network" = networkId(); all use
// the controller's own request helper with a 5000 ms time-out.
//
// Signals: controllerParamChanged(this, n) after a setter stored a new value, n being the
// parameter's number in the emitting class's own numbering; controllerStateChanged as in
// TComController. setNetwork() reads with signals blocked, so an assignment emits no parameter
// signal, only the state changes.
//
// Ownership and threading as TComController.
class TComNetworkController : public TComKeyedController
{
    Q_OBJECT

public:
    // Bit of setNetwork()'s flags: read every key after the assignment.
    static constexpr int ReadAllFlag = 0x1;

    TComNetworkController(ksm::CCom *com, int type);
    ~TComNetworkController() override;
    Q_DISABLE_COPY_MOVE(TComNetworkController)

    // The network id this controller works on ("eth.0", "aoip", ...); empty until assigned.
    [[nodiscard]] const std::string &networkId() const { return m_networkId; }

    // Assigns the controller to a network: an empty id fails and changes nothing. A known state,
    // or values kept from another network, are reset first. With makeDefault the device is told
    // to make it the default network; a refusal fails (the controller stays reset, its id
    // unchanged). Then the id is stored and, with ReadAllFlag, readAll() runs with signals
    // blocked (a failure fails, keeping what was read, the state stays unknown). Success ends in
    // StateNotReady. Subclasses that know their network at once override this and set
    // StateReady after the base succeeded.
    virtual bool setNetwork(const std::string &networkId, int flags, bool makeDefault);

    // PARAM GET of one key; the result of TComRequest::getParam().
    bool readNetworkParam(const std::string &key, std::string &value, bool withNetwork);
    // PARAM with one GET per key, in order; the result of TComRequest::getParams().
    int readNetworkParams(const std::vector<std::string> &keys,
                          std::map<std::string, std::string> &values,
                          std::map<std::string, std::string> &failed,
                          bool withNetwork);
    // PARAM key = value; as writeNetworkParams().
    bool writeNetworkParam(const std::string &key,
                           const std::string &value,
                           bool withNetwork,
                           int timeoutMs = TComRequest::writeTimeoutMs());
    // PARAM with every entry of params (entries named "target" or "network" are not sent); true
    // when the unit holds every value afterwards: it accepted them all, or a write it answered
    // too late or took only in part was read back with them (TComRequest::writeParams()). An
    // empty map still sends the address, true when it was accepted.
    bool writeNetworkParams(const std::map<std::string, std::string> &params,
                            bool withNetwork,
                            int timeoutMs = TComRequest::writeTimeoutMs());
    // PARAM LIST listName; the result of TComRequest::list() with the given time-out.
    bool listNetwork(const std::string &listName,
                     std::vector<std::string> &items,
                     bool withNetwork,
                     int timeoutMs = TComRequest::DefaultTimeoutMs);
    // PARAM "default_network" = networkId; true when the unit holds it (writeNetworkParams()).
    bool setDefaultNetwork(const std::string &networkId);
    // DO "reinit" of networkId; the execute result. When it succeeds for this controller's own
    // network and resetOwn is set, the controller is reset afterwards.
    bool reinitNetwork(const std::string &networkId, bool resetOwn);

    // Words of "network_quality": 0 "very_bad", 1 "bad", 2 "low", 3 "middle", 4 "high",
    // 5 "very_high"; any other value "low". The inverse gives 2 for an unknown word.
    [[nodiscard]] static const std::string &networkQualityText(int value);
    [[nodiscard]] static int networkQualityFromText(const std::string &text);
    // Words of "ajb_profile": 0 "safe", 1 "standard", 2 "punchy"; any other value "standard".
    // The inverse gives 1 for an unknown word.
    [[nodiscard]] static const std::string &ajbProfileText(int value);
    [[nodiscard]] static int ajbProfileFromText(const std::string &text);

    // The two streaming presets of the Ethernet, mobile and Wi-Fi interfaces, -1 while unknown.
    // They take part in reads and writes of the controllers whose key table lists their rows
    // (networkQualityKey(), ajbProfileKey()); the setters follow those rows (-1 is never sent).
    [[nodiscard]] int networkQuality() const { return m_networkQuality; }
    [[nodiscard]] int ajbProfile() const { return m_ajbProfile; }
    bool setNetworkQuality(int quality, bool send);
    bool setAjbProfile(int profile, bool send);
    // The device's words into the setters, send off; true.
    bool applyNetworkQuality(const std::string &text);
    bool applyAjbProfile(const std::string &text);
    // Get the key and apply it; the get's result.
    bool refreshNetworkQuality();
    bool refreshAjbProfile();

Q_SIGNALS:
    void controllerParamChanged(TComController *controller, int param);

protected:
    // The rows of the two streaming presets, for the key tables of the controllers that carry
    // them: "network_quality", and "ajb_profile" read from firmware 1.12 on.
    [[nodiscard]] static KeyRow networkQualityKey();
    [[nodiscard]] static KeyRow ajbProfileKey();

    // A setter's write: the key to this network.
    bool writeKey(const std::string &key, const std::string &value) override;
    // A stored change is signalled as the row's parameter, when it has one.
    void rowChanged(const KeyRow &row) override;
    // What read() and the refresh operations do with a refused key; the mobile controller
    // takes capability bits away.
    virtual void refused(const KeyRow &row);
    // Gets the key of a field's row from this network and applies it (applyReceived()); a failed
    // get goes to refused() and returns false.
    bool refreshField(const void *field);

    // The bulk read of the key table: one GET per key in a single request; false for an empty
    // list or when no value came back (nothing applied, nothing refused). Otherwise every
    // received value of a key the table holds goes through applyReceived() in key order, and
    // every refused key of the table through refused(); true.
    bool readKeys(const std::vector<std::string> &keys);

private:
    // A PARAM message addressed to "target" "network" and, with withNetwork, to this network.
    ksm::CMsg networkMessage(bool withNetwork) const;

    std::string m_networkId;
    int m_networkQuality = -1;
    int m_ajbProfile = -1;
};
