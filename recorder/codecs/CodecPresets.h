// The encoder settings the program keeps for its two compressors under the
// current user's key: fixed defaults written at every start, and the values
// the quality and speed choices change. Every writer creates its key when
// missing; a write that fails is not reported (the compressor then keeps its
// own default). true when every value was written.
#pragma once

#include <windows.h>

extern const char kXvidSettingsKey[];  // "SoftWare\GNU\Xvid"
extern const char kX264SettingsKey[];  // "SoftWare\GNU\x264"

// x264 options for the two speed modes: "性能优先模式" (fast) and the normal one.
extern const char kX264FastPreset[];
extern const char kX264NormalPreset[];
extern const char kX264FastCmdline[];
extern const char kX264NormalCmdline[];

bool WriteXvidDefaults();
bool WriteX264Defaults();
// fast 1: the performance-first preset; anything else the normal one.
bool WriteX264Preset(int fast);
bool SetXvidDesiredQuant(DWORD value);
bool SetX264RateFactor(DWORD value);  // tenths: 180 is a rate factor of 18
// Xvid would otherwise open a window of its own while it encodes.
bool DisableXvidStatusWindow();

// Stores the quality choice (outside 0..2: 0) and writes the quality of the
// compressor type chosen now (g_nCodecType): x264 "ratefactor" 180 or 150,
// Xvid "desired_quant" 1000 or 600; choice 2 and other types write nothing.
void SetQualityPreset(int choice);
