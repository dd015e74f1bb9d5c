// The caption and watermark the user sets up; a recording copies them into
// the capture engine when it starts.
#pragma once

#include <windows.h>

#include <string>

struct CaptionSettings {
    CaptionSettings();

    DWORD enabled;          // on when the text is not empty (start-up decides)
    DWORD position;         // grid cell 0..8, row by row from the top left
    std::string text;       // ANSI
    COLORREF crBackground;  // kept for the settings window, never painted
    COLORREF crText;
    LOGFONTA font;
};

struct WatermarkSettings {
    DWORD position = 8;     // grid cell 0..8
    std::string imagePath;  // ANSI
};

extern CaptionSettings g_captionSettings;
extern WatermarkSettings g_watermarkSettings;
extern BYTE g_bWatermarkEnabled;
