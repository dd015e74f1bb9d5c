// Formats of the system-sound stream: the checks on the mix format, the
// 16-bit form it is captured in, and the conversion of every packet into the
// interleaved 16-bit stereo the MP3 writers take.
#pragma once

#include <windows.h>
#include <mmreg.h>

#include <vector>

// How one captured frame is laid out.
struct LoopbackStreamFormat {
    enum class Sample { Int16, Int24, Int32, Float32 };
    Sample sample = Sample::Int16;
    UINT32 channels = 0;
    UINT32 sampleRate = 0;
    UINT32 blockAlign = 0;
    DWORD channelMask = 0;  // speaker positions; 0 when the format has none
};

// True for a mix format of 32-bit floats (extensible with the IEEE float
// sub-format, or the plain float tag).
bool IsFloatMixFormat(const WAVEFORMATEX* format);
// Turns a float mix format into 16-bit integers in place, keeping its rate,
// channels and channel mask.
void ForceToPcm16(WAVEFORMATEX* format);
// Reads a stream format; false for a layout the conversion does not know.
bool DescribeStreamFormat(const WAVEFORMATEX* format, LoopbackStreamFormat* out);
// The format the writers take, and the microphone is captured in when both
// sources are recorded: PCM, 2 channels, 16 bits at the given rate.
WAVEFORMATEX StereoPcm16(UINT32 sampleRate);

// Appends 'frames' frames of a packet as interleaved 16-bit stereo: mono is
// copied to both sides, more channels are mixed down by speaker position,
// and a packet flagged silent becomes zeros whatever its buffer holds.
void ConvertLoopbackPacket(const BYTE* data, UINT32 frames, bool silent,
                           const LoopbackStreamFormat& format, std::vector<short>* stereo);
