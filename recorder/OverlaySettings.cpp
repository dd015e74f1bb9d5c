#include "recorder/OverlaySettings.h"

#include <cstring>

CaptionSettings::CaptionSettings()
    : enabled(0), position(1), crBackground(0xC0C0C0), crText(0x505050), font()
{
    // The configuration's default caption font.
    font.lfHeight = -21;
    font.lfWeight = FW_BOLD;
    font.lfOutPrecision = OUT_STROKE_PRECIS;
    font.lfClipPrecision = CLIP_STROKE_PRECIS;
    font.lfQuality = DRAFT_QUALITY;
    font.lfPitchAndFamily = VARIABLE_PITCH;
    strcpy(font.lfFaceName, "宋体");
}

CaptionSettings g_captionSettings;
WatermarkSettings g_watermarkSettings;
BYTE g_bWatermarkEnabled = 0;
