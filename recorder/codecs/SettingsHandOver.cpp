#include "recorder/codecs/SettingsHandOver.h"

// The audio recorders' source flags (g_bRecordMic, g_bRecordSpeaker) and the
// capture engine's cursor settings (g_cursorSettings) are set here once they
// are part of the program; until then these records stand in for them.
namespace {

AudioSourceSettings g_audioSources;
CursorEffectSettings g_cursorEffects;

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
    return g_cursorEffects;
}

void HandOverCursorEffects(const CursorEffectSettings& effects)
{
    g_cursorEffects = effects;
}
