#include "recorder/audio/StreamClock.h"

StreamClock::StreamClock(UINT32 rate)
{
    Reset(rate);
}

void StreamClock::Reset(UINT32 rate)
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_rate = rate ? rate : 1;
    m_base = 0;
    m_lead = 0;
    m_frames = 0;
    m_arrivals = 0;
}

void StreamClock::Arrived(DWORD tick, UINT64 endFrames)
{
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_arrivals == 0) m_base = tick;
    const double lead = (double)(LONG)(tick - m_base) - endFrames * 1000.0 / m_rate;
    if (m_arrivals == 0 || lead < m_lead) m_lead = lead;
    m_frames = endFrames;
    ++m_arrivals;
}

bool StreamClock::Known() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_arrivals > 0;
}

UINT32 StreamClock::Arrivals() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_arrivals;
}

double StreamClock::MsAfter(DWORD tick, UINT64 frame) const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return (double)(LONG)(m_base - tick) + m_lead + frame * 1000.0 / m_rate;
}

bool StreamClock::Covers(DWORD tick) const
{
    if (!Known()) return false;
    UINT64 frames;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        frames = m_frames;
    }
    return MsAfter(tick, frames) >= 0;
}
