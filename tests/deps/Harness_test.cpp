// The test environment itself: a sound server whose null sink plays into the
// default recording source, reachable from Windows programs through Wine.
#include <gtest/gtest.h>

#include "TestKit.h"

#include <windows.h>
#include <mmsystem.h>

#include <cmath>
#include <vector>

using namespace testkit;

TEST(Harness, ToneIntoTheNullSinkReachesWaveIn)
{
    ASSERT_GT(waveInGetNumDevs(), 0u) << "no capture device: is the PulseAudio server running?";
    WAVEFORMATEX wf = {WAVE_FORMAT_PCM, 2, 44100, 44100 * 4, 4, 16, 0};
    HWAVEIN in = nullptr;
    ASSERT_EQ(MMSYSERR_NOERROR, waveInOpen(&in, WAVE_MAPPER, &wf, 0, 0, CALLBACK_NULL));
    // waveIn starts delivering about 1.5 s after it starts: record 4 s, play 3 s.
    std::vector<short> pcm(44100 * 2 * 4);
    WAVEHDR hdr = {};
    hdr.lpData = reinterpret_cast<LPSTR>(pcm.data());
    hdr.dwBufferLength = (DWORD)(pcm.size() * sizeof(short));
    waveInPrepareHeader(in, &hdr, sizeof hdr);
    waveInAddBuffer(in, &hdr, sizeof hdr);
    waveInStart(in);
    PlayTone(440, 3.0);
    for (int i = 0; i < 150 && !(hdr.dwFlags & WHDR_DONE); ++i)
        Sleep(50);
    waveInStop(in);
    waveInReset(in);
    waveInUnprepareHeader(in, &hdr, sizeof hdr);
    waveInClose(in);

    // Frequency from the zero crossings of the part that carries sound (the
    // capture starts with a second or so of silence).
    const size_t frames = hdr.dwBytesRecorded / 4, window = 441;
    size_t loudFrames = 0, crossings = 0;
    for (size_t w = 0; w + window <= frames; w += window) {
        double sum = 0;
        for (size_t i = w; i < w + window; ++i)
            sum += (double)pcm[2 * i] * pcm[2 * i];
        if (sqrt(sum / window) < 1000)
            continue;
        loudFrames += window;
        for (size_t i = w + 1; i < w + window; ++i)
            crossings += (pcm[2 * i - 2] < 0) != (pcm[2 * i] < 0);
    }
    ASSERT_GT(loudFrames, 44100u / 2) << "less than half a second of the tone was recorded";
    double hz = crossings / 2.0 / (loudFrames / 44100.0);
    EXPECT_NEAR(440.0, hz, 15.0);
}
