// The mix of one pair of PCM chunk files (raw interleaved signed 16-bit
// samples): microphone plus system sound, sample by sample.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// Samples handed on per block (2048 bytes).
const UINT32 kMixBlockSamples = 1024;

// The sum of two samples, clamped to the 16-bit range.
inline short MixSamples(short mic, short speaker)
{
    int sum = mic + speaker;
    return (short)(sum > 32767 ? 32767 : sum < -32768 ? -32768 : sum);
}

struct MixOutcome {
    UINT64 samples = 0;        // samples handed to the sink
    bool speakerRead = false;  // the system-sound file could be opened
    bool micRead = false;      // the microphone file could be opened
};

// Hands the sum on to 'sink' in blocks of kMixBlockSamples (the last one
// shorter, possibly empty), calling 'afterBlock' after each full block. The
// system sound sets the length: a shorter microphone counts as silence, a
// longer one is cut, unless keepMicTail (the last pair of a recording, where
// the microphone may have gone on after the system sound stopped). A file
// that cannot be read counts as empty.
MixOutcome MixPcmChunkFiles(const std::string& micPath, const std::string& speakerPath,
                            bool keepMicTail, const std::function<void(const short*, UINT32)>& sink,
                            const std::function<void()>& afterBlock);
