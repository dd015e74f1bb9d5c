#include "recorder/audio/StreamClock.h"

#include <algorithm>

namespace {

const DWORD kRecentMs = 1000;
// Later than this, a whole second of arrivals is a loss, not a busy moment.
const double kLossMs = 30.0;

}  // namespace

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
    m_recent.clear();
}

void StreamClock::Arrived(DWORD tick, UINT64 endFrames)
{
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_arrivals == 0) m_base = tick;
    const double lead = (double)(LONG)(tick - m_base) - endFrames * 1000.0 / m_rate;
    if (m_arrivals == 0 || lead < m_lead) m_lead = lead;
    m_frames = endFrames;
    ++m_arrivals;
    m_recent.push_back({tick, lead});
    if (tick - m_recent.front().tick < kRecentMs) return;
    double earliest = lead;
    for (const Arrival& a : m_recent) earliest = std::min(earliest, a.lead);
    if (earliest > m_lead + kLossMs) m_lead = earliest;
    while (!m_recent.empty() && tick - m_recent.front().tick >= kRecentMs) m_recent.pop_front();
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
