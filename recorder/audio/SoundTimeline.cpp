#include "recorder/audio/SoundTimeline.h"

void SoundTimeline::Reset()
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_hasOrigin = false;
    m_origin = 0;
    m_pauses.clear();
    m_ended = false;
    m_end = 0;
}

void SoundTimeline::SetOrigin(DWORD tick)
{
    std::lock_guard<std::mutex> lock(m_lock);
    // Pauses and the end were noted against the old origin.
    if (m_hasOrigin) {
        const double shift = (double)(LONG)(m_origin - tick);
        for (Span& s : m_pauses) {
            s.from += shift;
            if (s.to >= 0) s.to += shift;
        }
        m_end += shift;
    }
    m_origin = tick;
    m_hasOrigin = true;
}

bool SoundTimeline::HasOrigin() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_hasOrigin;
}

DWORD SoundTimeline::Origin() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_origin;
}

void SoundTimeline::Pause(DWORD tick)
{
    std::lock_guard<std::mutex> lock(m_lock);
    if (!m_pauses.empty() && m_pauses.back().to < 0) return;
    m_pauses.push_back({(double)(LONG)(tick - m_origin), -1});
}

void SoundTimeline::Resume(DWORD tick)
{
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_pauses.empty() || m_pauses.back().to >= 0) return;
    const double at = (double)(LONG)(tick - m_origin);
    m_pauses.back().to = at > m_pauses.back().from ? at : m_pauses.back().from;
}

void SoundTimeline::End(DWORD tick)
{
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_ended) return;
    m_ended = true;
    m_end = (double)(LONG)(tick - m_origin);
}

SoundTimeline::Place SoundTimeline::Locate(double ms) const
{
    std::lock_guard<std::mutex> lock(m_lock);
    if (ms < 0) return {false, ms};
    double paused = 0;
    for (const Span& s : m_pauses) {
        if (ms < s.from) break;
        if (s.to < 0 || ms < s.to) return {false, s.from - paused};
        paused += s.to - s.from;
    }
    if (m_ended && ms >= m_end) return {false, m_end - paused};
    return {true, ms - paused};
}
