#include "model/writereport.h"

namespace {

WriteWatch *s_innermost = nullptr;

} // namespace

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
    unknown.insert(other.unknown.begin(), other.unknown.end());
}

WriteWatch::WriteWatch()
    : m_outer(s_innermost)
{
    s_innermost = this;
}

WriteWatch::~WriteWatch()
{
    s_innermost = m_outer;
}

void WriteWatch::note(const WriteReport &report)
{
    for (WriteWatch *watch = s_innermost; watch; watch = watch->m_outer)
        watch->m_report.merge(report);
}
