#pragma once

#include <map>
#include <set>
#include <string>

// What the unit holds of the keys a write sent, once the write is over. A key the unit took
// holds the value sent. When the answer leaves that open (none came in time, while the unit may
// have applied the write anyway, or it took some keys and refused others) the keys are read back
// and hold what the read brought. A key refused outright keeps the value it had; a key in
// neither set is unknown (its read-back failed too). TComRequest::writeParams() makes them.
struct WriteReport
{
    std::map<std::string, std::string> held;
    std::set<std::string> kept;

    // Whether the unit holds every value of values.
    [[nodiscard]] bool holds(const std::map<std::string, std::string> &values) const;
    // Adds the keys of another write.
    void merge(const WriteReport &other);
};
