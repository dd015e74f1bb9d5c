// The LED digit font of the recording-time labels: "res\font\UnidreamLED.TTF"
// in the program folder, added for as long as the program runs.
#pragma once

#include <windows.h>

#include <string>

#include "kit/MainWindow.h"  // g_bLedFont, which the time labels follow

struct LedFont {
    LedFont();
    std::string path;  // font file path without its extension
    std::string face;  // "UnidreamLED" once added, else empty
};

extern const char kLedFontFace[];  // "UnidreamLED"

// Adds "<program folder>\res\font\UnidreamLED.TTF"; true when it was added.
bool InstallLedFont(LedFont& font);
// Removes the font (also after a failed install) and its ".FOT" file.
void RemoveLedFont(LedFont& font);

// Adds the font for one scope and sets g_bLedFont from the result.
class LedFontScope {
public:
    LedFontScope();
    ~LedFontScope();
    LedFontScope(const LedFontScope&) = delete;
    LedFontScope& operator=(const LedFontScope&) = delete;

private:
    LedFont font_;
};
