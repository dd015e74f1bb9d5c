// When the frames of a capture stream were captured, told by the moments
// its buffers arrive. The call that starts a stream is no clock: under Wine
// a waveIn stream's first frame is captured up to two seconds after
// waveInStart returns, or a second before it, a different amount each time.
// A buffer can only arrive after its last frame was captured, so the
// earliest arrival, less the stream's length at that moment, places frame 0
// on the wall clock; a late arrival (a busy machine) never moves it.
//
// A device that found no buffer free drops what it captured: from then on
// every arrival comes later, against the stream's length, by what was lost.
// When even the earliest arrival of a whole second is that late, the frames
// from there on are placed that much later.
#pragma once

#include <windows.h>

#include <deque>
#include <mutex>

class StreamClock {
public:
    explicit StreamClock(UINT32 rate = 44100);
    void Reset(UINT32 rate);
    // A buffer that brought the stream to endFrames frames arrived at tick
    // (timeGetTime).
    void Arrived(DWORD tick, UINT64 endFrames);
    bool Known() const;
    UINT32 Arrivals() const;
    // Milliseconds from `tick` to the capture of `frame` (negative: before).
    double MsAfter(DWORD tick, UINT64 frame) const;
    // Every frame captured up to `tick` has arrived.
    bool Covers(DWORD tick) const;

private:
    mutable std::mutex m_lock;
    UINT32 m_rate = 44100;
    DWORD m_base = 0;      // the first arrival
    double m_lead = 0;     // ms from m_base to the capture of frame 0
    UINT64 m_frames = 0;   // frames arrived
    UINT32 m_arrivals = 0;
    struct Arrival {
        DWORD tick;
        double lead;
    };
    std::deque<Arrival> m_recent;  // the last second's arrivals
};
