// Helpers of the audio tests: tones, and what Linux's ffmpeg hears in a file.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace audiotest {

// Folder of the test programs (and of the test libraries beside them).
std::string TestBinDir();
// Lets LoadLibrary find lame_enc.dll in the program folder.
void UseProgramFolderDlls();

// The first use of the sound system in a process sometimes takes 10 s under
// Wine with PulseAudio; tests that time the recorders pay it beforehand.
void WarmUpSoundSystem();

// Interleaved 16-bit sine, the same on every channel.
std::vector<short> Tone(double hz, double seconds, UINT32 rate, double amplitude, int channels = 2);

// Mean volume (RMS, dB below full scale) of a stretch of a file; 0 for the
// whole file. Returns +1000 when ffmpeg could not read it.
double MeanVolumeDb(const std::string& path, double start = 0, double duration = 0);
// Seconds of sound a decoder gives back (encoder delay and padding removed).
double DecodedSeconds(const std::string& path, UINT32 rate);
// The strongest frequency of the loud part of a file, in Hz (0 when silent).
double DominantFrequency(const std::string& path);
// Names of the files of a folder that match a wildcard ("*.pcm").
std::vector<std::string> FilesIn(const std::string& dir, const std::string& wildcard);

}  // namespace audiotest
