#include "recorder/codecs/SettingsHandOver.h"

#include "recorder/CamCursor.h"

// The audio recorders' source flags (g_bRecordMic, g_bRecordSpeaker) are set
// here once they are part of the program; until then this record stands in
// for them.
namespace {

AudioSourceSettings g_audioSources;

}  // namespace

AudioSourceSettings CurrentAudioSources()
{
    return g_audioSources;
}

void HandOverAudioSources(const AudioSourceSettings& sources)
{
    g_audioSources = sources;
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
