#pragma once

#include "model/comcontroller.h"

#include <map>
#include <set>
#include <string>
#include <type_traits>
#include <vector>

// A controller of one network interface (AoIP, Ethernet, ISDN, mobile, Wi-Fi): the network id it
// works on, its assignment to that network, the network-addressed request forms, and the
// parameter-change signal shared by the interface controllers.
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
class TComNetworkController : public TComController
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
    // PARAM key = value; true when every parameter of the message was accepted.
    bool writeNetworkParam(const std::string &key, const std::string &value, bool withNetwork);
    // PARAM with every entry of params (entries named "target" or "network" do not replace
    // those); true when every parameter was accepted. An empty map still sends the address.
    bool writeNetworkParams(const std::map<std::string, std::string> &params, bool withNetwork);
    // PARAM LIST listName; the result of TComRequest::list() with the given time-out.
    bool listNetwork(const std::string &listName,
                     std::vector<std::string> &items,
                     bool withNetwork,
                     int timeoutMs = TComRequest::DefaultTimeoutMs);
    // PARAM "default_network" = networkId; true when the device accepted it.
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

Q_SIGNALS:
    void controllerParamChanged(TComController *controller, int param);

protected:
    // Known keys: the writable keys whose value came from the device or a setter since
    // construction or the last reset. A bulk write() sends only these, so that a default never
    // overwrites a device setting that was not read. A subclass's reset() calls clearKnown().
    void markKnown(const std::string &key) { m_known.insert(key); }
    [[nodiscard]] bool isKnown(const std::string &key) const { return m_known.count(key) != 0; }
    void clearKnown() { m_known.clear(); }

    // The common setter: an unchanged value only marks key known and returns true. Otherwise,
    // with send and sendable, key = word is written to this network first and a refusal keeps
    // the old value and returns false; then the value is stored, key marked known, true. Emits
    // nothing.
    template<typename T>
    bool storeValue(T &field,
                    const std::string &key,
                    const T &value,
                    bool send,
                    bool sendable,
                    const std::string &word)
    {
        if (value == field) {
            markKnown(key);
            return true;
        }
        if (send && sendable && !writeNetworkParam(key, word, true))
            return false;
        field = value;
        markKnown(key);
        return true;
    }

    // Gets key from this network and hands the text to the subclass's applier: false when the
    // get failed, otherwise the applier's result.
    template<typename C>
    bool refreshKey(const std::string &key, bool (C::*apply)(const std::string &))
    {
        static_assert(std::is_base_of_v<TComNetworkController, C>);
        std::string value;
        if (!readNetworkParam(key, value, true))
            return false;
        return (static_cast<C *>(this)->*apply)(value);
    }

    // Reads keys from this network (one GET each) and hands every received value to its applier
    // in appliers; keys without one are passed over and the appliers' results are not looked
    // at. False, nothing applied, for an empty key list or when no value came back; failed
    // receives the keys the device refused.
    template<typename C>
    bool readApplying(const std::vector<std::string> &keys,
                      const std::map<std::string, bool (C::*)(const std::string &)> &appliers,
                      std::map<std::string, std::string> &failed)
    {
        static_assert(std::is_base_of_v<TComNetworkController, C>);
        if (keys.empty())
            return false;
        std::map<std::string, std::string> values;
        if (readNetworkParams(keys, values, failed, true) < 1)
            return false;
        for (const auto &[key, value] : values) {
            const auto applier = appliers.find(key);
            if (applier != appliers.end())
                (static_cast<C *>(this)->*(applier->second))(value);
        }
        return true;
    }

private:
    // A PARAM message addressed to "target" "network" and, with withNetwork, to this network.
    ksm::CMsg networkMessage(bool withNetwork) const;

    std::string m_networkId;
    std::set<std::string> m_known;
};
