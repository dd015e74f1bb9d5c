// Decides which sample of the video stream a grabbed frame becomes, and when
// the next frame is due.
//
// A frame's sample index is the time since the recording's origin times the
// frame rate, cut to a whole number: the stream plays at exactly the rate it
// declares, so video and sound stay together however long the recording.
// When the system sound is recorded the origin follows the audio clock
// (seconds of sound captured): frames wait until the clock runs, and a drift
// of more than 300 ms moves the origin, at most once every 10 s.
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
    // A pause of pausedMs ended: paused time does not count.
    void AddPause(DWORD pausedMs);
    // The audio clock will never run (its capture could not start): from
    // now on the wall clock paces the recording.
    void StopFollowingAudio();
    bool FollowsAudio() const { return m_followAudio; }
    // How long to wait before grabbing the next frame (0: at once).
    DWORD MsUntilNextFrame(DWORD now) const;

    DWORD StartTick() const { return m_startTick; }
    LONG LastWritten() const { return m_lastWritten; }

private:
    LONG IndexAt(DWORD elapsed) const;

    unsigned m_rate;
    double m_intervalMs;
    bool m_followAudio;
    bool m_first = true;
    DWORD m_startTick = 0;
    DWORD m_lastResync = 0;
    LONG m_index = 0;
    LONG m_lastWritten = -1;
};
