#include "recorder/recording/FramePacer.h"

#include <cmath>

namespace {

const double kMaxDriftMs = 300.0;
const DWORD kResyncEveryMs = 10000;

}  // namespace

FramePacer::FramePacer(unsigned rate, double intervalMs, bool followAudio)
    : m_rate(rate ? rate : 1), m_intervalMs(intervalMs), m_followAudio(followAudio)
{
}

void FramePacer::Start(DWORD now)
{
    m_startTick = m_lastResync = now;
    m_first = true;
    m_index = 0;
    m_lastWritten = -1;
}

LONG FramePacer::IndexAt(DWORD elapsed) const
{
    // 64-bit product: a recording may run for days.
    return (LONG)((unsigned long long)elapsed * m_rate / 1000);
}

FramePacer::Decision FramePacer::OnFrame(DWORD now, double audioClock)
{
    if (m_first) {
        m_first = false;
        m_index = 0;
        return {true, 0, 0};
    }
    DWORD elapsed = now - m_startTick;
    if (m_intervalMs > 1000.0) {
        ++m_index;
        return {true, m_index, elapsed};
    }
    if (!m_followAudio) {
        m_index = IndexAt(elapsed);
        // Two grabs inside one frame's time: only the first is written.
        return {m_index > m_lastWritten, m_index, elapsed};
    }
    if (std::fabs(audioClock) < 1e-7)
        return {false, 0, elapsed};
    double drift = audioClock * 1000.0 - (double)elapsed;
    if (now - m_lastResync > kResyncEveryMs && std::fabs(drift) > kMaxDriftMs) {
        // Tick arithmetic wraps (timeGetTime does after 49 days).
        m_startTick -= (DWORD)(LONG)drift;
        m_lastResync = now;
    }
    m_index = IndexAt(elapsed);
    return {m_index > 0 && m_index > m_lastWritten, m_index, elapsed};
}

void FramePacer::Written(LONG index, DWORD)
{
    m_lastWritten = index;
}

void FramePacer::AddPause(DWORD pausedMs)
{
    m_startTick += pausedMs;
}

void FramePacer::StopFollowingAudio()
{
    m_followAudio = false;
}

DWORD FramePacer::MsUntilNextFrame(DWORD now) const
{
    if (m_intervalMs > 1000.0)
        return (DWORD)m_intervalMs;
    // The next sample is due when the origin's clock reaches its start.
    LONG next = m_lastWritten + 1;
    DWORD due = m_startTick + (DWORD)(((unsigned long long)next * 1000 + m_rate - 1) / m_rate);
    LONG wait = (LONG)(due - now);
    return wait > 0 ? (DWORD)wait : 0;
}
