#pragma once

#include "model/comrequest.h"

#include <QString>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace ksm {
class CCom;
} // namespace ksm

// The items the unit stores under a numeric id and a name: presets, SIP profiles, snapshots and
// call profiles. Lists them and sends their create, load, update, delete and open commands (DO
// messages with "target" "general", "type" the kind's word and "id" the stored id in decimal).
//
// A small value type around one TComRequest; the client is not owned. lastError() is the cause
// text of the last refused command. GUI thread only; every operation blocks in the client's
// nested event loop for at most 5000 ms.
class TStoredItems
{
public:
    static const std::string kPresets;      // "local_profile"
    static const std::string kSipProfiles;  // "sip_profile"
    static const std::string kSnapshots;    // "snapshot"
    static const std::string kCallProfiles; // "remote_profile"

    struct Entry
    {
        QString name;
        int id = 0;
    };

    explicit TStoredItems(ksm::CCom *com = nullptr)
        : m_request(com)
    {}

    // The unit's list of one kind, sorted by name without regard to case; empty when the list
    // cannot be read.
    [[nodiscard]] std::vector<Entry> list(const std::string &type);
    // Turns list items "id/name" into entries, sorted as list() returns them. An item whose id
    // part is not a plain non-negative decimal number is dropped, so that it can never be taken
    // for another stored item.
    [[nodiscard]] static std::vector<Entry> parse(const std::vector<std::string> &items);
    // Whether entries hold the item id.
    [[nodiscard]] static bool holds(const std::vector<Entry> &entries, int id);

    // account: 1 or 2 for SIP profiles, 0 (left out) for the other kinds.
    bool create(const std::string &type, const QString &name, int account = 0);
    bool load(const std::string &type, int id, int account = 0);
    bool update(const std::string &type, int id, const QString &name);
    bool remove(const std::string &type, int id);
    // Reads one stored item; its fields are added to fields.
    bool open(const std::string &type, int id, std::map<std::string, std::string> &fields);
    // Stores a call profile: "update" of id when id is 0 or more, else "create". fields holds
    // every key but the command's own ("target", "action", "type", "id").
    bool storeCallProfile(int id, const std::map<std::string, std::string> &fields);

    [[nodiscard]] const std::string &lastError() const { return m_request.lastError(); }
    // Whether the last operation was given up on before the unit answered: it may be carried
    // out or refused all the same, and its answer, coming later, is not heard.
    [[nodiscard]] bool answeredLate() const;

    // A create, update or delete answered later than the program waits may have been carried
    // out all the same, and only the unit's list tells: after such a command the list of type
    // is read afresh, as list() reads it. Nothing when the last command was answered (its
    // outcome is known) or never sent, or when the list cannot be read either. For an update
    // the list tells only whether the item is still there, not whether the update was taken.
    [[nodiscard]] std::optional<std::vector<Entry>> listAfterLateAnswer(const std::string &type);

private:
    // Reads the list of type into entries; false when it cannot be read.
    bool readList(const std::string &type, std::vector<Entry> &entries);
    bool command(const std::string &action,
                 const std::string &type,
                 int id,
                 const std::map<std::string, std::string> &params,
                 std::map<std::string, std::string> *reply = nullptr);

    TComRequest m_request;
};
