// Where the audio sources read at start-up go: the state belongs to the
// audio recorders.
#pragma once

#include "recorder/codecs/RecordingSettings.h"

AudioSourceSettings CurrentAudioSources();
// A recorded microphone is also unmuted and set to full volume.
void HandOverAudioSources(const AudioSourceSettings& sources);
