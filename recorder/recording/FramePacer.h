// Decides which sample of the video stream a grabbed frame becomes, and when
// the next frame is due.
//
// A frame's sample index is the time since the recording's origin times the
// frame rate, cut to a whole number: the stream plays at exactly the rate it
// declares, so video and sound stay together however long the recording.
// When the system sound is recorded the origin is the sound's: frames wait
// until the audio clock (seconds of sound captured) runs, the first one
// becomes sample 0, and a drift of more than 300 ms moves the origin, at
// most once every 10 s. A clock that stops (a capture that died) is left for
// the wall clock, from where it stood, so the video keeps its length.
#pragma once

#include <windows.h>

class FramePacer {
public:
    struct Decision {
        bool write;     // false: nothing new to write (grab again)
        LONG index;     // the sample position when write is true
        DWORD elapsed;  // ms since the origin, as used for the index
    };

    // rate: frames per second (10 to 100). followAudio: pace by the audio
    // clock (system sound recorded).
    FramePacer(unsigned rate, double intervalMs, bool followAudio);

    void Start(DWORD now);
    // The grab of this moment; audioClock in seconds (ignored unless the
    // pacer follows the audio clock).
    Decision OnFrame(DWORD now, double audioClock);
    // The sample at index was written.
    void Written(LONG index, DWORD now);
    // A pause of pausedMs ended: paused time does not count (neither for the
    // frames nor for a clock that stood still meanwhile).
    void AddPause(DWORD pausedMs);
    // The audio clock will not run (its capture failed): from now on the
    // wall clock paces the recording.
    void StopFollowingAudio(DWORD now);
    bool FollowsAudio() const { return m_followAudio; }
    // The origin is known: the wall clock's, or the sound's once it runs.
    bool HasOrigin() const { return !m_waitingForAudio; }
    // How long to wait before grabbing the next frame (0: at once).
    DWORD MsUntilNextFrame(DWORD now) const;

    DWORD StartTick() const { return m_startTick; }
    LONG LastWritten() const { return m_lastWritten; }

    // How long the clock may stand still while recording before the wall
    // clock takes over, and how long it may take to start at all.
    static const DWORD kClockStallMs = 1500;
    static const DWORD kClockStartMs = 3000;

private:
    LONG IndexAt(DWORD elapsed) const;
    void FollowWallClock(DWORD now);

    unsigned m_rate;
    double m_intervalMs;
    bool m_followAudio;
    bool m_waitingForAudio = false;
    bool m_first = true;
    DWORD m_startTick = 0;
    DWORD m_lastResync = 0;
    double m_lastClock = 0;
    DWORD m_clockChangedAt = 0;
    LONG m_index = 0;
    LONG m_lastWritten = -1;
};
