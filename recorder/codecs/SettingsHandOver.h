// Where the settings read at start-up go when the state belongs to another
// part of the engine: the audio sources to the audio recorders, the cursor
// effects to the capture engine's cursor settings. Until those are linked
// in, the values are kept here; the tests and the settings windows reach
// them only through these functions.
#pragma once

#include "recorder/codecs/RecordingSettings.h"

AudioSourceSettings CurrentAudioSources();
// Once the audio endpoints are linked in, a recorded microphone is also
// unmuted and set to full volume here.
void HandOverAudioSources(const AudioSourceSettings& sources);

CursorEffectSettings CurrentCursorEffects();
void HandOverCursorEffects(const CursorEffectSettings& effects);
