// Puts the sound of a capture stream where it belongs in the file: each
// frame at the file time of the moment it was captured (StreamClock, on the
// recording's SoundTimeline). What was captured before the origin, while
// paused or after the end is left out; a stream whose first frame comes
// after the origin is preceded by silence. So the file's sound starts with
// its picture, whichever device is slow to start.
//
// The first buffers are held until the stream's clock has settled (a few
// arrivals) and the time line has its origin, then handed on in order.
#pragma once

#include "recorder/audio/SoundTimeline.h"
#include "recorder/audio/StreamClock.h"

#include <windows.h>

#include <functional>
#include <vector>

class SoundAligner {
public:
    // Receives whole frames of the stream's format, in file order.
    using Sink = std::function<void(const BYTE* data, UINT32 bytes)>;

    SoundAligner(const SoundTimeline& timeline, UINT32 rate, UINT32 blockAlign, Sink sink);

    // One captured buffer that arrived at `arrival` (timeGetTime).
    void Add(const BYTE* data, UINT32 bytes, DWORD arrival);
    // Hands on what is still held (the stop), if the origin is known.
    void Flush();
    // Frames handed on, silence included.
    UINT64 FramesWritten() const { return m_written; }
    const StreamClock& Clock() const { return m_clock; }

    // Smaller differences between where the sound is and where it belongs
    // are left alone: a clock estimate that improves by a millisecond moves
    // nothing.
    static const DWORD kToleranceMs = 10;

private:
    bool Settled() const;
    void Place(const BYTE* data, UINT32 frames, UINT64 firstFrame);

    const SoundTimeline& m_timeline;
    UINT32 m_rate;
    UINT32 m_blockAlign;
    Sink m_sink;
    StreamClock m_clock;
    UINT64 m_arrived = 0;  // frames of the stream so far
    UINT64 m_written = 0;  // frames handed on
    struct Held {
        std::vector<BYTE> data;
        UINT64 firstFrame;
    };
    std::vector<Held> m_held;
    bool m_settled = false;
    std::vector<BYTE> m_silence;
};
