#include "recorder/codecs/SettingsHandOver.h"

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
