#include "model/writereport.h"

bool WriteReport::holds(const std::map<std::string, std::string> &values) const
{
    for (const auto &[key, value] : values) {
        const auto found = held.find(key);
        if (found == held.end() || found->second != value)
            return false;
    }
    return true;
}

void WriteReport::merge(const WriteReport &other)
{
    held.insert(other.held.begin(), other.held.end());
    kept.insert(other.kept.begin(), other.kept.end());
}
