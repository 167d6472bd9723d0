#pragma once

#include "model/writereport.h"

#include <map>
#include <string>
#include <vector>

namespace ksm {
class CCom;
class CMsg;
} // namespace ksm

// The one way the model and the pages make a synchronous device request. It takes a ready
// message, sends it through the protocol client's synchronous call, collects every part of the
// reply and turns the reply's "return" word into a plain result.
//
// Reply words: "OK" done; "PROGRESS" one part of the reply, a further part is held by the
// client (for a PARAM request: the refused keys, each with its cause, under "return" "ERROR");
// anything else a refusal. PARAM operations follow "PROGRESS" parts; execute() and
// executeWithReply() do not.
//
// A small copyable value type. The client is not owned and may be null, in which case every
// operation fails at once without sending. Each operation first empties lastError(); only a
// refused DO command (execute, executeWithReply) sets it again, to the reply's "cause". Maps and
// vectors passed in are never emptied: results are added, and an insert never replaces a value
// already there.
//
// A read (getParam, getParams, list) that fails as a whole is counted in failedReads()
// (model/readfailures.h).
//
// GUI thread only. Every operation blocks in the client's nested event loop until the reply or
// the time-out; while one call runs the client refuses a second, so a request made from a slot
// that runs inside that loop fails at once.
class TComRequest
{
public:
    // The time-out of ordinary reads and writes.
    static constexpr int DefaultTimeoutMs = 5000;

    // How long the model's writes of the unit's settings wait for its answer before they read
    // back what it holds (writeParams()): DefaultTimeoutMs, one value for the whole program,
    // which tests shorten (the client counts whole seconds, at least one).
    [[nodiscard]] static int writeTimeoutMs();
    static void setWriteTimeoutMs(int ms);

    explicit TComRequest(ksm::CCom *com = nullptr)
        : m_com(com)
    {}

    [[nodiscard]] ksm::CCom *com() const { return m_com; }
    // The "cause" text of the last refused DO command; empty after any other outcome.
    [[nodiscard]] const std::string &lastError() const { return m_lastError; }
    // How the last operation's call ended, to tell a silent unit from one that refuses: 0 when
    // the device replied (whatever it replied), the code of an error frame it sent instead, or
    // the client's negative failure code (RpcAsyncCall::ResultCode: not connected, timed out,
    // cancelled by a lost link, ...); -1 also when nothing was sent.
    [[nodiscard]] int lastCallResult() const { return m_lastCallResult; }

    // Sends a DO (or any) message with at least one parameter; true when "return" is "OK".
    bool execute(const ksm::CMsg &msg, int timeoutMs);
    // As execute(); on "OK" also adds every reply parameter except "return" to reply (and
    // removes a "return" entry from it).
    bool executeWithReply(const ksm::CMsg &msg,
                          std::map<std::string, std::string> &reply,
                          int timeoutMs);
    // Reads the one GET name of msg. True with its value on acceptance, true with an empty
    // value when the device reports it not set, false with the cause text as value when the
    // device refuses it, false with an empty value on any other failure.
    bool getParam(const ksm::CMsg &msg, std::string &value, int timeoutMs);
    // Reads the GET names of msg: accepted keys (and keys reported not set, empty) go into
    // values, refused keys with their cause into failed. Returns the size of values
    // afterwards, or -1 on failure.
    int getParams(const ksm::CMsg &msg,
                  std::map<std::string, std::string> &values,
                  std::map<std::string, std::string> &failed,
                  int timeoutMs);
    // Writes the parameters of msg. Returns how many of them the device accepted (compare with
    // msg's parameter count), or -1 on failure.
    int setParams(const ksm::CMsg &msg, int timeoutMs);
    // Writes values to the unit at the address that address names ("target", "network"; a
    // PARAM message without other parameters), and reports what the unit holds of them
    // afterwards: a write without an answer in time, and one the unit took only in part, are
    // followed by a read of the keys at the same address. Nothing is sent for empty values.
    // Every live WriteWatch is handed the report.
    [[nodiscard]] WriteReport writeParams(const ksm::CMsg &address,
                                          const std::map<std::string, std::string> &values,
                                          int timeoutMs);
    // Lists the one LIST name of msg (which also needs at least one parameter); the items,
    // split at unescaped commas, are appended to items. True on a final "OK"; items appended
    // before a failure stay.
    bool list(const ksm::CMsg &msg, std::vector<std::string> &items, int timeoutMs);
    // DO "subscribe" (or "unsubscribe") with "info" = infoType, through execute(), 5000 ms.
    bool subscribe(const std::string &infoType);
    bool unsubscribe(const std::string &infoType);

private:
    // Sends msg and walks the reply until its first part whose "return" is not "PROGRESS";
    // onProgress sees each "PROGRESS" part. False when the call or a further part fails.
    template<typename OnProgress>
    bool collect(const ksm::CMsg &msg, ksm::CMsg &reply, int timeoutMs, OnProgress onProgress);
    // The client's synchronous call, its result kept as lastCallResult().
    int send(const ksm::CMsg &msg, ksm::CMsg &reply, int timeoutMs);

    ksm::CCom *m_com = nullptr;
    std::string m_lastError;
    int m_lastCallResult = -1;
};
