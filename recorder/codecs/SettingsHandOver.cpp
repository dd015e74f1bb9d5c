#include "recorder/codecs/SettingsHandOver.h"

#include "recorder/audio/AudioEndpoints.h"
#include "recorder/audio/AudioRecording.h"

AudioSourceSettings CurrentAudioSources()
{
    AudioSourceSettings s;
    s.recordMic = g_bRecordMic;
    s.recordSpeaker = g_bRecordSpeaker;
    return s;
}

void HandOverAudioSources(const AudioSourceSettings& sources)
{
    g_bRecordMic = sources.recordMic;
    g_bRecordSpeaker = sources.recordSpeaker;
    // A microphone the user records must be heard: unmuted, at full volume
    // (nothing happens while the endpoint objects do not exist yet).
    if (sources.recordMic) {
        SetMicMute(FALSE);
        SetMicVolume(100);
    }
}
