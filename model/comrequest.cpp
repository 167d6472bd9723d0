#include "model/comrequest.h"

#include "link/ccom.h"
#include "link/cmsg.h"
#include "link/protocolkeys.h"
#include "link/rpcasynccall.h"
#include "model/readfailures.h"

#include <algorithm>

namespace {

// The client ignores this argument; every caller passes the same value.
constexpr int kUnusedFlag = 1000;

int s_writeTimeoutMs = TComRequest::DefaultTimeoutMs;

const std::string &returnWord(const ksm::CMsg &reply)
{
    return *reply.param(kKeyReturn, true);
}

// Whether a reply names anything besides its "return" word.
bool namesKeys(const ksm::CMsg &reply)
{
    return reply.params().size() > (reply.param(kKeyReturn, false) ? 1U : 0U);
}

} // namespace

int TComRequest::writeTimeoutMs()
{
    return s_writeTimeoutMs;
}

void TComRequest::setWriteTimeoutMs(int ms)
{
    s_writeTimeoutMs = ms;
}

template<typename OnProgress>
bool TComRequest::collect(const ksm::CMsg &msg,
                          ksm::CMsg &reply,
                          int timeoutMs,
                          OnProgress onProgress)
{
    if (send(msg, reply, timeoutMs) != 0)
        return false;
    // The client's held-back part always says "ERROR", so this ends after one more part.
    // pendingReply() only copies that part and never waits: a unit that falls silent after
    // "PROGRESS" parts of its own ends the call in send() (the client gathers those parts), and
    // lastCallResult() keeps the time-out.
    while (returnWord(reply) == kReplyProgress) {
        onProgress(reply);
        if (m_com->pendingReply(reply, timeoutMs, timeoutMs) < 0)
            return false;
    }
    return true;
}

int TComRequest::send(const ksm::CMsg &msg, ksm::CMsg &reply, int timeoutMs)
{
    m_lastCallResult = m_com->sendSyncMsg(msg, reply, kUnusedFlag, timeoutMs);
    return m_lastCallResult;
}

bool TComRequest::execute(const ksm::CMsg &msg, int timeoutMs)
{
    m_lastError.clear();
    m_lastCallResult = -1;
    if (!m_com || msg.params().empty())
        return false;
    ksm::CMsg reply;
    if (send(msg, reply, timeoutMs) != 0)
        return false;
    if (returnWord(reply) == kReplyOk)
        return true;
    m_lastError = *reply.param(kKeyCause, true);
    return false;
}

bool TComRequest::executeWithReply(const ksm::CMsg &msg,
                                   std::map<std::string, std::string> &reply,
                                   int timeoutMs)
{
    m_lastError.clear();
    m_lastCallResult = -1;
    if (!m_com || msg.params().empty())
        return false;
    ksm::CMsg answer;
    if (send(msg, answer, timeoutMs) != 0)
        return false;
    if (returnWord(answer) != kReplyOk) {
        m_lastError = *answer.param(kKeyCause, true);
        return false;
    }
    for (const auto &entry : answer.params())
        reply.insert(entry);
    reply.erase(kKeyReturn);
    return true;
}

bool TComRequest::getParam(const ksm::CMsg &msg, std::string &value, int timeoutMs)
{
    m_lastError.clear();
    m_lastCallResult = -1;
    value.clear();
    if (!m_com || msg.gets().size() != 1)
        return false;
    const std::string &name = msg.gets().front();
    ksm::CMsg reply;
    // The value of a refused key comes from the "ERROR" part, so "PROGRESS" parts give nothing.
    if (!collect(msg, reply, timeoutMs, [](const ksm::CMsg &) {})) {
        countFailedRead(m_lastCallResult);
        return false;
    }
    const std::string &word = returnWord(reply);
    if (word == kReplyOk) {
        value = *reply.param(name, true);
        return true;
    }
    if (word == kReplyError && namesKeys(reply)) {
        const std::string &cause = *reply.param(name, true);
        if (cause == kCauseParameterNotSet)
            return true;
        value = cause;
        return false;
    }
    countFailedRead(m_lastCallResult);
    return false;
}

int TComRequest::getParams(const ksm::CMsg &msg,
                           std::map<std::string, std::string> &values,
                           std::map<std::string, std::string> &failed,
                           int timeoutMs)
{
    m_lastError.clear();
    m_lastCallResult = -1;
    if (!m_com || msg.gets().empty())
        return -1;
    // "return" is never taken into values, so a failure leaves no reply word behind there.
    const auto takeValues = [&values](const ksm::CMsg &part) {
        for (const auto &entry : part.params()) {
            if (entry.first != kKeyReturn)
                values.insert(entry);
        }
    };
    ksm::CMsg reply;
    if (!collect(msg, reply, timeoutMs, takeValues)) {
        countFailedRead(m_lastCallResult);
        return -1;
    }
    const std::string word = returnWord(reply);
    if (word == kReplyOk) {
        takeValues(reply);
        values.erase(kKeyReturn);
        return static_cast<int>(values.size());
    }
    if (word == kReplyError) {
        if (!namesKeys(reply) && values.empty())
            countFailedRead(m_lastCallResult);
        values.erase(kKeyReturn);
        for (const auto &entry : reply.params()) {
            if (entry.first == kKeyReturn)
                continue;
            if (entry.second == kCauseParameterNotSet)
                values.insert({entry.first, std::string()});
            else
                failed.insert(entry);
        }
        return static_cast<int>(values.size());
    }
    countFailedRead(m_lastCallResult);
    return -1;
}

int TComRequest::setParams(const ksm::CMsg &msg, int timeoutMs)
{
    m_lastError.clear();
    m_lastCallResult = -1;
    if (!m_com || msg.params().empty())
        return -1;
    ksm::CMsg reply;
    if (!collect(msg, reply, timeoutMs, [](const ksm::CMsg &) {}))
        return -1;
    const int sent = static_cast<int>(msg.params().size());
    const std::string &word = returnWord(reply);
    if (word == kReplyOk)
        return sent;
    if (word == kReplyError) {
        const int refused
            = static_cast<int>(reply.params().size()) - (reply.param(kKeyReturn, false) ? 1 : 0);
        // A refusal that names more keys than were sent still means "none accepted"; it must
        // not come out as a negative count that reads as a failed call.
        return std::max(0, sent - refused);
    }
    return -1;
}

WriteReport TComRequest::writeParams(const ksm::CMsg &address,
                                     const std::map<std::string, std::string> &values,
                                     int timeoutMs)
{
    WriteReport report;
    if (values.empty())
        return report;
    ksm::CMsg write = address;
    for (const auto &[key, value] : values)
        write.setParam(key, value);
    const int routing = static_cast<int>(address.params().size());
    const int taken = setParams(write, timeoutMs);
    const bool unanswered = taken < 0 && m_lastCallResult == RpcAsyncCall::Timeout;
    const bool inPart = taken > routing;
    if (taken == static_cast<int>(write.params().size())) {
        report.held = values;
    } else if (!unanswered && !inPart) {
        // Refused, or never sent: the unit keeps what it had.
        for (const auto &entry : values)
            report.kept.insert(entry.first);
    } else {
        ksm::CMsg read = address;
        for (const auto &entry : values)
            read.addGet(entry.first);
        std::map<std::string, std::string> readBack;
        std::map<std::string, std::string> failed;
        getParams(read, readBack, failed, timeoutMs);
        for (const auto &entry : values) {
            const auto found = readBack.find(entry.first);
            if (found != readBack.end())
                report.held.insert(*found);
            else
                report.unknown.insert(entry.first);
        }
    }
    WriteWatch::note(report);
    return report;
}

bool TComRequest::list(const ksm::CMsg &msg, std::vector<std::string> &items, int timeoutMs)
{
    m_lastError.clear();
    m_lastCallResult = -1;
    if (!m_com || msg.params().empty() || msg.lists().size() != 1)
        return false;
    const std::string &name = msg.lists().front();
    const auto takeItems = [&items, &name](const ksm::CMsg &part) {
        const std::string &text = *part.param(name, true);
        if (!text.empty())
            splitCommaList(text, items);
    };
    ksm::CMsg reply;
    if (!collect(msg, reply, timeoutMs, takeItems)) {
        countFailedRead(m_lastCallResult);
        return false;
    }
    if (returnWord(reply) != kReplyOk) {
        // A list the unit refuses by name is one it does not keep, not a failed read.
        if (returnWord(reply) != kReplyError || !reply.param(name, false))
            countFailedRead(m_lastCallResult);
        return false;
    }
    takeItems(reply);
    return true;
}

bool TComRequest::subscribe(const std::string &infoType)
{
    ksm::CMsg msg(ksm::CMsg::Do);
    msg.setParam(kKeyAction, kActionSubscribe);
    msg.setParam(kKeyInfo, infoType);
    return execute(msg, DefaultTimeoutMs);
}

bool TComRequest::unsubscribe(const std::string &infoType)
{
    ksm::CMsg msg(ksm::CMsg::Do);
    msg.setParam(kKeyAction, kActionUnsubscribe);
    msg.setParam(kKeyInfo, infoType);
    return execute(msg, DefaultTimeoutMs);
}
