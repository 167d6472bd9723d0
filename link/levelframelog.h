#pragma once

#include <QString>

namespace ksm {
class CMsg;
} // namespace ksm

// Keeps the level meters that travel over the TCP link out of the log one by one. A unit sends
// them several times a second for as long as the session lasts; logged frame by frame they
// would push everything else out of the rotating log within hours. Instead the log says when
// level frames start, how many arrived (once per kReportTicks ticks while they flow) and when
// they stop (kQuietTicks ticks without one, or the end of the link).
//
// Each operation returns the details of the one line to log ("level frames started", ...), or
// an empty text when there is nothing to log. A plain value; the owner calls it from the GUI
// thread.
class LevelFrameLog
{
public:
    // At the default one-second tick: a count once a minute, a stop after three silent seconds.
    static constexpr int kReportTicks = 60;
    static constexpr int kQuietTicks = 3;

    // A Signal body that is a level report: an EVENT whose "event_type" is "audio_levels".
    [[nodiscard]] static bool isLevelFrame(const ksm::CMsg &body);

    // One level frame arrived; the start line when frames were not flowing.
    [[nodiscard]] QString frameArrived();
    // One tick of tickMs milliseconds passed; the count line or the stop line when one is due.
    [[nodiscard]] QString tick(int tickMs);
    // The link ended; the stop line when frames were flowing.
    [[nodiscard]] QString linkEnded();

    [[nodiscard]] bool isFlowing() const { return m_flowing; }

private:
    QString stop();

    bool m_flowing = false;
    bool m_arrivedThisTick = false;
    int m_count = 0;        // frames since the last line that counted them
    int m_ticks = 0;        // ticks since then
    qint64 m_elapsedMs = 0; // the time those ticks took
    int m_quietTicks = 0;   // ticks in a row without a frame
};
