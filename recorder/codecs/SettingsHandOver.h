// Where the settings read at start-up go when the state belongs to another
// part of the engine: the audio sources to the audio recorders, the cursor
// effects to the capture engine's cursor settings.
#pragma once

#include "recorder/codecs/RecordingSettings.h"

AudioSourceSettings CurrentAudioSources();
// A recorded microphone is also unmuted and set to full volume.
void HandOverAudioSources(const AudioSourceSettings& sources);

CursorEffectSettings CurrentCursorEffects();
void HandOverCursorEffects(const CursorEffectSettings& effects);
