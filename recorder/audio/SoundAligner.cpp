#include "recorder/audio/SoundAligner.h"

#include <algorithm>

namespace {

// Enough arrivals for the earliest to be a good one.
const UINT32 kSettleArrivals = 8;
const DWORD kSettleMs = 150;
// Pauses and the end are placed to this many frames.
const UINT32 kStepFrames = 256;
// A stream that never settles is not held for ever.
const DWORD kMaxHeldMs = 20000;

}  // namespace

SoundAligner::SoundAligner(const SoundTimeline& timeline, UINT32 rate, UINT32 blockAlign, Sink sink)
    : m_timeline(timeline),
      m_rate(rate ? rate : 1),
      m_blockAlign(blockAlign ? blockAlign : 1),
      m_sink(std::move(sink)),
      m_clock(m_rate)
{
}

bool SoundAligner::Settled() const
{
    return m_timeline.HasOrigin() && m_clock.Arrivals() >= kSettleArrivals &&
           m_arrived * 1000 / m_rate >= kSettleMs;
}

void SoundAligner::Add(const BYTE* data, UINT32 bytes, DWORD arrival)
{
    const UINT32 frames = bytes / m_blockAlign;
    if (frames == 0) return;
    const UINT64 first = m_arrived;
    m_arrived += frames;
    m_clock.Arrived(arrival, m_arrived);
    if (!m_settled) {
        m_held.push_back({std::vector<BYTE>(data, data + (size_t)frames * m_blockAlign), first});
        if (!Settled()) {
            while (!m_held.empty() &&
                   (m_arrived - m_held.front().firstFrame) * 1000 / m_rate > kMaxHeldMs)
                m_held.erase(m_held.begin());
            return;
        }
        Flush();
        return;
    }
    Place(data, frames, first);
}

void SoundAligner::Flush()
{
    if (!m_timeline.HasOrigin() || !m_clock.Known()) return;
    m_settled = true;
    std::vector<Held> held;
    held.swap(m_held);
    for (const Held& h : held) Place(h.data.data(), (UINT32)(h.data.size() / m_blockAlign), h.firstFrame);
}

void SoundAligner::Place(const BYTE* data, UINT32 frames, UINT64 firstFrame)
{
    const DWORD origin = m_timeline.Origin();
    const INT64 tolerance = (INT64)m_rate * kToleranceMs / 1000;
    for (UINT32 done = 0; done < frames;) {
        UINT32 n = std::min(kStepFrames, frames - done);
        SoundTimeline::Place at = m_timeline.Locate(m_clock.MsAfter(origin, firstFrame + done));
        if (at.recorded) {
            const INT64 target = (INT64)(at.fileMs * m_rate / 1000.0);
            INT64 skip = 0;
            if (target > (INT64)m_written + tolerance) {
                // The stream starts (or goes on) later than the file stands:
                // silence until it.
                UINT64 gap = (UINT64)(target - (INT64)m_written);
                if (m_silence.size() < (size_t)kStepFrames * m_blockAlign)
                    m_silence.assign((size_t)kStepFrames * m_blockAlign, 0);
                while (gap > 0) {
                    UINT32 g = (UINT32)std::min<UINT64>(gap, kStepFrames);
                    m_sink(m_silence.data(), g * m_blockAlign);
                    m_written += g;
                    gap -= g;
                }
            } else if (target < (INT64)m_written - tolerance) {
                // Already covered: what was captured before the file's
                // current end is left out.
                skip = std::min<INT64>((INT64)m_written - target, n);
            }
            if (skip < n) {
                m_sink(data + (size_t)(done + skip) * m_blockAlign,
                       (UINT32)(n - skip) * m_blockAlign);
                m_written += n - skip;
            }
        }
        done += n;
    }
}
