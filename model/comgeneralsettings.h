#pragma once

#include <map>
#include <string>
#include <vector>

namespace ksm {
class CCom;
}

// Keys of the device's event log, remote assistance and identity, all under "target"
// "general".
extern const std::string kGeneralKeyLogLevel;
extern const std::string kGeneralKeyLogAddr;
extern const std::string kGeneralKeyRemoteAccess;
extern const std::string kGeneralKeyRemoteAccessNetwork;
extern const std::string kGeneralKeyRemoteAccessServer;
extern const std::string kGeneralKeyRemoteAccessPwd;
extern const std::string kGeneralKeySerialNo;
extern const std::string kGeneralKeyCodecId;
// The unit's identity and the state of its remote access service (read-only).
extern const std::string kGeneralKeyVersion;
extern const std::string kGeneralKeyBuildDate;
extern const std::string kGeneralKeyRemoteAccessStatus;

// Reads and writes single "general" settings of the device and starts its reset actions. Every
// call is synchronous through the protocol client's nested event loop; without a client every
// call fails at once. GUI thread only.
class TComGeneralSettings
{
public:
    static constexpr int kTimeoutMs = 5000;
    static constexpr int kLongResetTimeoutMs = 20000;

    explicit TComGeneralSettings(ksm::CCom *com);

    // The keys the device reported (a key reported "not set" is present, empty). A failed read
    // gives an empty map: the caller treats every key as not reported. With ok, says whether
    // the read itself succeeded: false when the call failed (no link, no answer in time, an
    // error reply) or the unit refused it as a whole, naming no key; a key the answer leaves
    // out or refuses on its own is merely not reported.
    [[nodiscard]] std::map<std::string, std::string> read(const std::vector<std::string> &keys,
                                                          bool *ok = nullptr) const;
    // One event-log key, through the "change_syslog" action.
    bool changeSyslog(const std::string &key, const std::string &value) const;
    // Writes values in one request; true only when the unit holds every one of them afterwards:
    // it accepted them all, or a write it answered too late or took only in part was read back
    // with them (TComRequest::writeParams()). An empty set is written as nothing and succeeds.
    bool write(const std::map<std::string, std::string> &values) const;
    // The reset action "level" (a device word such as "snapshot" or "full").
    bool reset(const std::string &level, int timeoutMs) const;

private:
    ksm::CCom *m_com;
};
