#include "model/storeditems.h"

#include "link/cmsg.h"
#include "link/protocolkeys.h"
#include "link/rpcasynccall.h"
#include "model/textconversions.h"

#include <algorithm>

const std::string TStoredItems::kPresets = "local_profile";
const std::string TStoredItems::kSipProfiles = "sip_profile";
const std::string TStoredItems::kSnapshots = "snapshot";
const std::string TStoredItems::kCallProfiles = "remote_profile";

namespace {

const std::string kKeyAccount = "account";

// A plain non-negative decimal number that fits an int; -1 otherwise.
int storedId(const std::string &text)
{
    if (text.empty() || text.size() > 9)
        return -1;
    int id = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return -1;
        id = id * 10 + (c - '0');
    }
    return id;
}

} // namespace

std::vector<TStoredItems::Entry> TStoredItems::parse(const std::vector<std::string> &items)
{
    std::vector<Entry> entries;
    for (const std::string &item : items) {
        const std::size_t slash = item.find('/');
        if (slash == std::string::npos)
            continue;
        const int id = storedId(item.substr(0, slash));
        if (id < 0)
            continue;
        entries.push_back({fromDeviceString(item.substr(slash + 1)), id});
    }
    std::stable_sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) {
        return QString::compare(a.name, b.name, Qt::CaseInsensitive) < 0;
    });
    return entries;
}

bool TStoredItems::holds(const std::vector<Entry> &entries, int id)
{
    return std::any_of(
        entries.begin(), entries.end(), [id](const Entry &entry) { return entry.id == id; });
}

bool TStoredItems::readList(const std::string &type, std::vector<Entry> &entries)
{
    ksm::CMsg msg(ksm::CMsg::Param);
    msg.setParam(kKeyTarget, kTargetGeneral);
    msg.addList(type);
    std::vector<std::string> items;
    if (!m_request.list(msg, items, TComRequest::DefaultTimeoutMs))
        return false;
    entries = parse(items);
    return true;
}

std::vector<TStoredItems::Entry> TStoredItems::list(const std::string &type)
{
    // A list that cannot be read is shown empty; what arrived before a failure is dropped too.
    std::vector<Entry> entries;
    if (!readList(type, entries))
        return {};
    return entries;
}

bool TStoredItems::answeredLate() const
{
    return m_request.lastCallResult() == RpcAsyncCall::Timeout;
}

std::optional<std::vector<TStoredItems::Entry>>
TStoredItems::listAfterLateAnswer(const std::string &type)
{
    if (!answeredLate())
        return std::nullopt;
    std::vector<Entry> entries;
    if (!readList(type, entries))
        return std::nullopt;
    return entries;
}

bool TStoredItems::command(const std::string &action,
                           const std::string &type,
                           int id,
                           const std::map<std::string, std::string> &params,
                           std::map<std::string, std::string> *reply)
{
    ksm::CMsg msg(ksm::CMsg::Do);
    msg.setParam(kKeyTarget, kTargetGeneral);
    msg.setParam(kKeyAction, action);
    msg.setParam(kKeyType, type);
    if (id >= 0)
        msg.setParam(kKeyId, std::to_string(id));
    for (const auto &[key, value] : params)
        msg.setParam(key, value);
    if (reply)
        return m_request.executeWithReply(msg, *reply, TComRequest::DefaultTimeoutMs);
    return m_request.execute(msg, TComRequest::DefaultTimeoutMs);
}

bool TStoredItems::create(const std::string &type, const QString &name, int account)
{
    std::map<std::string, std::string> params{{kKeyName, toDeviceString(name)}};
    if (account > 0)
        params.emplace(kKeyAccount, std::to_string(account));
    return command(kActionCreate, type, -1, params);
}

bool TStoredItems::load(const std::string &type, int id, int account)
{
    if (id < 0)
        return false;
    std::map<std::string, std::string> params;
    if (account > 0)
        params.emplace(kKeyAccount, std::to_string(account));
    return command(kActionLoad, type, id, params);
}

bool TStoredItems::update(const std::string &type, int id, const QString &name)
{
    if (id < 0)
        return false;
    return command(kActionUpdate, type, id, {{kKeyName, toDeviceString(name)}});
}

bool TStoredItems::remove(const std::string &type, int id)
{
    if (id < 0)
        return false;
    return command(kActionDelete, type, id, {});
}

bool TStoredItems::open(const std::string &type, int id, std::map<std::string, std::string> &fields)
{
    if (id < 0)
        return false;
    return command(kActionOpen, type, id, {}, &fields);
}

bool TStoredItems::storeCallProfile(int id, const std::map<std::string, std::string> &fields)
{
    return command(id >= 0 ? kActionUpdate : kActionCreate, kCallProfiles, id, fields);
}
