// The program's silent sound (WAVE resource 132: mono, 11025 Hz, 16 bits,
// 9.18 s of zeros). While the system sound is captured it plays in a loop, so
// the render endpoint keeps running (and delivering packets) when nothing
// else plays.
#pragma once

enum class SilentSoundPlay { Loop, Once };

// Asks for the sound to be played, replacing what plays. The request is
// carried out on a thread of its own: a sound system that is slow to start
// or to stop a sound (seen on Wine: up to 10 s) holds up no recording.
void PlaySilentSound(SilentSoundPlay play);
