// The recording's time line, shared by the picture and the sound: its origin
// (the moment sample 0 of the video shows), the pauses and the end, all on
// the timeGetTime clock. A sound source places each captured frame at the
// file time of the moment it was captured, so picture and sound meet however
// late a device starts, and what was captured during a pause or after the
// end is left out. Any thread.
#pragma once

#include <windows.h>

#include <mutex>
#include <vector>

class SoundTimeline {
public:
    // No origin, no pauses, no end.
    void Reset();
    void SetOrigin(DWORD tick);
    bool HasOrigin() const;
    DWORD Origin() const;
    void Pause(DWORD tick);
    void Resume(DWORD tick);
    void End(DWORD tick);

    struct Place {
        bool recorded;  // false: before the origin, paused, or after the end
        double fileMs;  // where it goes in the file (the edge, when not recorded)
    };
    // msAfterOrigin: the moment, in ms after the origin.
    Place Locate(double msAfterOrigin) const;

private:
    mutable std::mutex m_lock;
    bool m_hasOrigin = false;
    DWORD m_origin = 0;
    struct Span {
        double from, to;  // ms after the origin; to < 0: still paused
    };
    std::vector<Span> m_pauses;
    bool m_ended = false;
    double m_end = 0;
};
