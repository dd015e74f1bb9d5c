#include "recorder/recording/FramePacer.h"

#include <cmath>

namespace {

const double kMaxDriftMs = 300.0;
const DWORD kResyncEveryMs = 10000;
// While the sound has not started, grab again soon: its first frame must
// come as soon as it runs.
const DWORD kAudioPollMs = 5;

}  // namespace

FramePacer::FramePacer(unsigned rate, double intervalMs, bool followAudio)
    : m_rate(rate ? rate : 1), m_intervalMs(intervalMs), m_followAudio(followAudio)
{
}

void FramePacer::Start(DWORD now)
{
    m_startTick = m_lastResync = m_clockChangedAt = now;
    m_first = true;
    m_waitingForAudio = m_followAudio;
    m_lastClock = 0;
    m_index = 0;
    m_lastWritten = -1;
}

LONG FramePacer::IndexAt(DWORD elapsed) const
{
    // 64-bit product: a recording may run for days.
    return (LONG)((unsigned long long)elapsed * m_rate / 1000);
}

void FramePacer::FollowWallClock(DWORD now)
{
    m_followAudio = false;
    // A sound that never came: the picture starts now, on its own.
    if (m_waitingForAudio) {
        m_waitingForAudio = false;
        m_startTick = m_lastResync = now;
        m_first = true;
    }
}

FramePacer::Decision FramePacer::OnFrame(DWORD now, double audioClock)
{
    if (m_followAudio) {
        const bool running = std::fabs(audioClock) >= 1e-7;
        if (m_waitingForAudio) {
            if (!running) {
                if (now - m_startTick < kClockStartMs) return {false, 0, 0};
                FollowWallClock(now);
            } else {
                // The sound's first sample is the recording's origin: the
                // first frame is the picture of this moment, as sample 0.
                m_waitingForAudio = false;
                m_startTick = now - (DWORD)(audioClock * 1000.0);
                m_lastResync = m_clockChangedAt = now;
                m_lastClock = audioClock;
            }
        } else if (audioClock != m_lastClock) {
            // The drift is measured when the clock moves, so a clock read
            // late does not pass for one that fell behind.
            m_lastClock = audioClock;
            m_clockChangedAt = now;
            double drift = audioClock * 1000.0 - (double)(LONG)(now - m_startTick);
            if (now - m_lastResync > kResyncEveryMs && std::fabs(drift) > kMaxDriftMs) {
                // Tick arithmetic wraps (timeGetTime does after 49 days).
                m_startTick -= (DWORD)(LONG)drift;
                m_lastResync = now;
            }
        } else if (now - m_clockChangedAt > kClockStallMs) {
            // The capture stopped delivering (a device unplugged, the default
            // device changed): the wall clock goes on from the origin as it
            // stands, so the time keeps counting.
            FollowWallClock(now);
        }
    }
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
    m_index = IndexAt(elapsed);
    // Two grabs inside one frame's time: only the first is written.
    return {m_index > m_lastWritten, m_index, elapsed};
}

void FramePacer::Written(LONG index, DWORD)
{
    m_lastWritten = index;
}

void FramePacer::AddPause(DWORD pausedMs)
{
    m_startTick += pausedMs;
    m_clockChangedAt += pausedMs;
}

void FramePacer::StopFollowingAudio(DWORD now)
{
    if (m_followAudio) FollowWallClock(now);
}

DWORD FramePacer::MsUntilNextFrame(DWORD now) const
{
    if (m_waitingForAudio) return kAudioPollMs;
    if (m_intervalMs > 1000.0)
        return (DWORD)m_intervalMs;
    // The next sample is due when the origin's clock reaches its start.
    LONG next = m_lastWritten + 1;
    DWORD due = m_startTick + (DWORD)(((unsigned long long)next * 1000 + m_rate - 1) / m_rate);
    LONG wait = (LONG)(due - now);
    return wait > 0 ? (DWORD)wait : 0;
}
