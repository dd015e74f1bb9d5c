#include "recorder/codecs/SettingsHandOver.h"

#include "recorder/CamCursor.h"
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

CursorEffectSettings CurrentCursorEffects()
{
    CursorEffectSettings e;
    e.recordCursor = g_bRecordCursor;
    e.highlightCursor = g_bHighlightCursor;
    e.highlightSize = g_nHighlightSize;
    e.crHighlight = g_crHighlight;
    e.clickEffect = g_bClickEffect;
    e.crLeftClick = g_crLeftClick;
    e.crRightClick = g_crRightClick;
    e.crWheelRing = g_crWheelRing;
    return e;
}

void HandOverCursorEffects(const CursorEffectSettings& effects)
{
    g_bRecordCursor = effects.recordCursor;
    g_bHighlightCursor = effects.highlightCursor;
    g_nHighlightSize = effects.highlightSize;
    g_crHighlight = effects.crHighlight;
    g_bClickEffect = effects.clickEffect;
    g_crLeftClick = effects.crLeftClick;
    g_crRightClick = effects.crRightClick;
    g_crWheelRing = effects.crWheelRing;
}
