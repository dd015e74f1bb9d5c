#include "recorder/codecs/RecordingSettings.h"

#include "core/CfgDocument.h"
#include "recorder/CamCursor.h"
#include "recorder/codecs/CodecPresets.h"
#include "recorder/codecs/SettingsHandOver.h"
#include "recorder/codecs/VideoOptions.h"

UINT g_nCountdownSeconds = 0;
int g_nSaveImgType = 0;
int g_nCodecType = kCodecTypeX264;
int g_nQualityChoice = 0;
int g_nRecMode = 0;
int g_bAutoPlayOnComplete = 1;

namespace {

int ZeroOutside(int value, int last)
{
    return value >= 0 && value <= last ? value : 0;
}

}  // namespace

void SetCountdownSeconds(int choice)
{
    static const UINT kSeconds[] = {0, 3, 6, 9};
    if (choice >= 0 && choice <= 3) g_nCountdownSeconds = kSeconds[choice];
}

DWORD HighlightSizeForIndex(int index, DWORD current)
{
    static const DWORD kSizes[] = {64, 48, 32};
    return index >= 0 && index <= 2 ? kSizes[index] : current;
}

DWORD CfgColorToArgb(int colorRef)
{
    return ColorRefToArgb(static_cast<COLORREF>(colorRef));
}

void LoadRecordingChoices()
{
    CfgDocument& cfg = g_cfgDocument;

    // Each local holds the value that stays when the setting is absent.
    AudioSourceSettings audio;
    int mic = 0, speaker = 1;
    cfg.GetCfgRecMicphone(&mic);
    cfg.GetCfgRecSpeaker(&speaker);
    audio.recordMic = mic;
    audio.recordSpeaker = speaker;
    HandOverAudioSources(audio);

    int countdown = 1;
    cfg.GetCfgStartCountdown(&countdown);
    SetCountdownSeconds(countdown);

    int imageType = 0;
    cfg.GetCfgSaveImgType(&imageType);
    g_nSaveImgType = imageType;

    int rate = static_cast<int>(kDefaultFrameRate);
    cfg.GetCfgFrameRate(&rate);
    g_videoOpts.SetFrameRate(rate);

    int codecType = kCodecTypeX264;
    cfg.GetCfgCodecType(&codecType);
    g_nCodecType = codecType;

    int quality = 0;
    cfg.GetCfgVideoQuality(&quality);
    g_nQualityChoice = ZeroOutside(quality, 2);

    int mode = 0;
    cfg.GetCfgRecMode(&mode);
    g_nRecMode = ZeroOutside(mode, 2);

    SetQualityPreset(g_nQualityChoice);
    WriteX264Preset(g_nRecMode);
}

void LoadCursorAndPlaybackSettings()
{
    CfgDocument& cfg = g_cfgDocument;
    CCamCursor& c = g_cursorSettings;

    // Each local holds the value that stays when the setting is absent.
    int drawCursor = 1;
    cfg.GetCfgRecCursor(&drawCursor);
    c.m_bDrawCursor = drawCursor != 0;

    unsigned char highlight = 1;
    cfg.GetCfgHighlightCursor(&highlight);
    c.m_bHighlight = highlight;

    int highlightColor = 0xFCAE1D;
    cfg.GetCfgHighlightColor(&highlightColor);
    c.m_crHighlight = CfgColorToArgb(highlightColor);

    int sizeIndex = 1;
    cfg.GetCfgHighlightSize(&sizeIndex);
    c.m_nHighlightSize = HighlightSizeForIndex(sizeIndex, c.m_nHighlightSize);

    int clicks = 1;
    cfg.GetCfgClickEffect(&clicks);
    c.m_bClickEffects = clicks != 0;

    int left = 0x0000FF, right = 0xFF0000, wheel = 0x00FF00;
    cfg.GetCfgClickLeftColor(&left);
    cfg.GetCfgClickRightColor(&right);
    cfg.GetCfgWheelEffectColor(&wheel);
    c.m_crLeft = CfgColorToArgb(left);
    c.m_crRight = CfgColorToArgb(right);
    c.m_crWheel = CfgColorToArgb(wheel);

    cfg.GetCfgAutoPlayOnComplete(&g_bAutoPlayOnComplete);
}
