#include "link/levelframelog.h"

#include "link/cmsg.h"
#include "link/protocolkeys.h"

bool LevelFrameLog::isLevelFrame(const ksm::CMsg &body)
{
    if (body.type() != ksm::CMsg::Event)
        return false;
    const std::string *eventType = body.param(kKeyEventType, false);
    return eventType && *eventType == kEventAudioLevels;
}

QString LevelFrameLog::frameArrived()
{
    ++m_count;
    m_arrivedThisTick = true;
    if (m_flowing)
        return {};
    m_flowing = true;
    m_ticks = 0;
    m_elapsedMs = 0;
    m_quietTicks = 0;
    return QStringLiteral(", level frames started; they are counted, not logged one by one");
}

QString LevelFrameLog::tick(int tickMs)
{
    if (!m_flowing)
        return {};
    ++m_ticks;
    m_elapsedMs += tickMs;
    m_quietTicks = m_arrivedThisTick ? 0 : m_quietTicks + 1;
    m_arrivedThisTick = false;
    if (m_quietTicks >= kQuietTicks)
        return stop();
    if (m_ticks < kReportTicks)
        return {};
    const QString line = QStringLiteral(", level frames: %1 in the last %2 s")
                             .arg(QString::number(m_count), QString::number(m_elapsedMs / 1000));
    m_count = 0;
    m_ticks = 0;
    m_elapsedMs = 0;
    return line;
}

QString LevelFrameLog::linkEnded()
{
    return m_flowing ? stop() : QString();
}

QString LevelFrameLog::stop()
{
    const QString line
        = QStringLiteral(", level frames stopped, %1 since the last count").arg(m_count);
    *this = LevelFrameLog();
    return line;
}
