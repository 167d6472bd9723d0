#pragma once

#include <map>
#include <set>
#include <string>

// What the unit holds of the keys a write sent, once the write is over. A key the unit took
// holds the value sent. When the answer leaves that open (none came in time, while the unit may
// have applied the write anyway, or it took some keys and refused others) the keys are read back
// and hold what the read brought. A key refused outright keeps the value it had; a key whose
// read-back failed too is unknown. TComRequest::writeParams() makes them.
struct WriteReport
{
    std::map<std::string, std::string> held;
    std::set<std::string> kept;
    std::set<std::string> unknown;

    // Whether the unit holds every value of values.
    [[nodiscard]] bool holds(const std::map<std::string, std::string> &values) const;
    // Adds the keys of another write.
    void merge(const WriteReport &other);
};

// Collects the reports of every write made while it lives (TComRequest::writeParams() hands
// each one on), for code that writes through a setter that answers only whether the unit holds
// the value: afterwards it can still tell a value the unit kept from one that nobody knows.
// Watches nest, and each one sees every write made while it lives. GUI thread only; a watch
// lives on the stack.
class WriteWatch
{
public:
    WriteWatch();
    ~WriteWatch();
    WriteWatch(const WriteWatch &) = delete;
    WriteWatch &operator=(const WriteWatch &) = delete;

    // Every write's report so far, merged.
    [[nodiscard]] const WriteReport &report() const { return m_report; }
    // Whether a write left a value unknown: no answer in time, and no read-back either.
    [[nodiscard]] bool leftUnknown() const { return !m_report.unknown.empty(); }

    // Hands report to every watch alive.
    static void note(const WriteReport &report);

private:
    WriteReport m_report;
    WriteWatch *m_outer = nullptr;
};
