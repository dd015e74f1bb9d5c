// The video and audio options of a recording: one global record each. The
// UI thread sets them (start-up, the settings window); the recording thread
// reads them once a recording has started.
#pragma once

#include <windows.h>

// Frames per second the user can choose, and the one used for anything else.
const UINT kMinFrameRate = 10;
const UINT kMaxFrameRate = 100;
const UINT kDefaultFrameRate = 25;

// A configured rate outside 10..100 records at 25.
UINT ClampFrameRate(int rate);
// Milliseconds between frames in whole milliseconds, as the recording loop
// paces them: 15 frames per second give 66.0, not 66.67.
double FrameIntervalForRate(UINT rate);

struct sVideoOpts {
    sVideoOpts() = default;
    // Copies the choice, not the list positions: those belong to the
    // compressor list the record was built against.
    sVideoOpts(const sVideoOpts& other) { *this = other; }
    sVideoOpts& operator=(const sVideoOpts& other);

    // Sets the rate (outside 10..100: 25) and its interval together.
    void SetFrameRate(int rate);

    double m_dFrameInterval = 40.0;  // ms, always FrameIntervalForRate(m_uFrameRate)
    UINT m_uFrameRate = kDefaultFrameRate;
    UINT m_uSelectedCompressor = 0;  // index into the compressor list
    int m_nX264Index = -1;           // list position of x264vfw, -1 when absent
    int m_nXvidIndex = -1;           // list position of Xvid, -1 when absent
    DWORD m_fccHandler = 0;          // FOURCC of the selected compressor; 0 until a list is built
};

// The format the audio of a recording is described by. The recording loop
// reads only the pause flag; the audio recorders take their formats from the
// devices.
struct sAudioFormat {
    // Time spent paused is added to the recording's start time, so a pause
    // leaves no gap in the video.
    BYTE m_bPauseCompensation = 1;
    WORD m_wFormatTag = WAVE_FORMAT_PCM;
    WORD m_nChannels = 2;
    WORD m_wBitsPerSample = 16;
    DWORD m_nSamplesPerSec = 44100;
    DWORD m_dwBufferSize = 2048;
};

extern sVideoOpts g_videoOpts;
extern sAudioFormat g_audioFormat;
