// Captured sound placed on the recording's time line: the moment each frame
// was captured is told by when its buffer arrived, not by when the device
// was started.
#include <gtest/gtest.h>

#include "recorder/audio/SoundAligner.h"

#include <algorithm>
#include <vector>

namespace {

const UINT32 kRate = 44100;
const UINT32 kBuffer = 1024;  // frames per buffer, as the microphone delivers them

// Buffer b of a stereo 16-bit stream whose frame f holds its own number
// (f + 1 in two halves: silence is never a frame of it).
void FillBuffer(UINT32 b, std::vector<short>* pcm)
{
    for (UINT32 i = 0; i < kBuffer; ++i) {
        UINT32 f = b * kBuffer + i + 1;
        (*pcm)[2 * i] = (short)(f % 32768);
        (*pcm)[2 * i + 1] = (short)(f / 32768);
    }
}

// Feeds `buffers` buffers captured from `firstCapture` on, each arriving
// `latency` ms after its last frame.
void Feed(SoundAligner& a, double firstCapture, double latency, UINT32 buffers)
{
    std::vector<short> pcm(kBuffer * 2);
    for (UINT32 b = 0; b < buffers; ++b) {
        FillBuffer(b, &pcm);
        double arrival = firstCapture + (b + 1) * kBuffer * 1000.0 / kRate + latency;
        a.Add(reinterpret_cast<const BYTE*>(pcm.data()), kBuffer * 4, (DWORD)arrival);
    }
    a.Flush();
}

struct Collect {
    std::vector<long> frames;  // stream frame of each output frame; -1: silence
    SoundAligner::Sink Sink()
    {
        return [this](const BYTE* data, UINT32 bytes) {
            const short* s = reinterpret_cast<const short*>(data);
            for (UINT32 i = 0; i < bytes / 4; ++i)
                frames.push_back((long)s[2 * i] + 32768L * s[2 * i + 1] - 1);
        };
    }
};

// Index of the first output frame that carries sound.
size_t FirstSound(const std::vector<long>& f)
{
    size_t i = 0;
    while (i < f.size() && f[i] < 0) ++i;
    return i;
}

TEST(SoundAligner, ALateStreamStartsAfterSilenceAnEarlyOneLosesWhatCameBefore)
{
    SoundTimeline timeline;
    timeline.SetOrigin(100000);
    {
        // Captured from 1.6 s after the origin (Wine's waveIn), the buffers
        // arriving 3 ms after their last frame.
        Collect out;
        SoundAligner a(timeline, kRate, 4, out.Sink());
        Feed(a, 101600, 3, 200);
        const size_t first = FirstSound(out.frames);
        EXPECT_NEAR(1.603 * kRate, (double)first, kRate * 0.011);
        EXPECT_EQ(0, out.frames[first]);
        EXPECT_EQ(200u * kBuffer, out.frames.size() - first);
    }
    {
        // Captured from 1 s before the origin: that second is left out.
        Collect out;
        SoundAligner a(timeline, kRate, 4, out.Sink());
        Feed(a, 99000, 3, 200);
        ASSERT_FALSE(out.frames.empty());
        EXPECT_NEAR((1.0 - 0.003) * kRate, (double)out.frames[0], kRate * 0.011);
        for (size_t i = 1; i < out.frames.size(); ++i)
            ASSERT_EQ(out.frames[i - 1] + 1, out.frames[i]) << i;
    }
}

TEST(SoundAligner, LateArrivalsMoveNothingAndAPauseIsLeftOut)
{
    SoundTimeline timeline;
    timeline.SetOrigin(5000);
    timeline.Pause(6000);
    timeline.Resume(7000);
    Collect out;
    SoundAligner a(timeline, kRate, 4, out.Sink());
    std::vector<short> pcm(kBuffer * 2);
    // Every tenth buffer comes 300 ms late (a busy machine).
    for (UINT32 b = 0; b < 130; ++b) {
        FillBuffer(b, &pcm);
        double arrival = 5000 + (b + 1) * kBuffer * 1000.0 / kRate + 2 + (b % 10 == 9 ? 300 : 0);
        a.Add(reinterpret_cast<const BYTE*>(pcm.data()), kBuffer * 4, (DWORD)arrival);
    }
    a.Flush();
    // About 3 s captured, the paused second left out; what remains in order.
    EXPECT_NEAR(130.0 * kBuffer / kRate - 1.0, out.frames.size() / (double)kRate, 0.02);
    const size_t atPause = kRate;  // one second in
    EXPECT_NEAR((double)atPause, (double)out.frames[atPause - 300], 320);
    EXPECT_NEAR(2.0 * kRate, (double)out.frames[atPause + 300], 320);
    for (size_t i = 1; i < out.frames.size(); ++i)
        if (i < atPause - 300 || i > atPause + 300) ASSERT_EQ(out.frames[i - 1] + 1, out.frames[i]) << i;
}

// A device that finds no buffer free drops what it captures (a capture
// thread held up for longer than its buffers last): what follows comes that
// much later, and so it is placed.
TEST(SoundAligner, WhatADeviceDroppedBecomesSilenceAndTheRestStaysInPlace)
{
    SoundTimeline timeline;
    timeline.SetOrigin(20000);
    Collect out;
    SoundAligner a(timeline, kRate, 4, out.Sink());
    std::vector<short> pcm(kBuffer * 2);
    const double bufferMs = kBuffer * 1000.0 / kRate;
    for (UINT32 b = 0; b < 200; ++b) {
        FillBuffer(b, &pcm);
        // Buffers from the 2nd second on were captured 300 ms later than
        // their place in the stream says.
        const double lost = b >= 90 ? 300 : 0;
        a.Add(reinterpret_cast<const BYTE*>(pcm.data()), kBuffer * 4,
              (DWORD)(20000 + (b + 1) * bufferMs + 3 + lost));
    }
    a.Flush();
    // Once a whole second of arrivals has come late, the frames sit 300 ms
    // later than their place in the stream, with silence for what was lost.
    const long after = 170 * kBuffer;
    auto at = std::find(out.frames.begin(), out.frames.end(), after);
    ASSERT_NE(out.frames.end(), at);
    EXPECT_NEAR(after + 0.3 * kRate, (double)(at - out.frames.begin()), kRate * 0.012);
    EXPECT_NEAR(0.3 * kRate, (double)std::count(out.frames.begin(), at, -1L), kRate * 0.012);
}

}  // namespace
