// What the cursor window edits: each control's configuration entry and
// field of the cursor settings (g_cursorSettings), the defaults shown when
// the configuration has no value, and how a colour is shown and kept.
// UI thread only (the configuration store).
#pragma once

#include <windows.h>

// A colour button: a COLORREF in the configuration, ARGB with alpha 0xA0 in
// the cursor settings.
struct CursorColorSetting {
    const char* button;
    COLORREF defaultColor;
    unsigned (*load)(int* color);  // keeps *color when the entry is missing
    unsigned (*store)(int color);
    DWORD* setting;
};

// A check box: on or off in the configuration and in the cursor settings.
struct CursorCheckSetting {
    const char* check;
    bool defaultOn;
    bool (*load)(bool fallback);
    void (*store)(bool on);
    BYTE* setting;
};

const int kCursorColorCount = 4;
const int kCursorCheckCount = 3;
// Highlight, left click, right click, wheel.
extern const CursorColorSetting kCursorColors[kCursorColorCount];
// Record the cursor, highlight it, click effects.
extern const CursorCheckSetting kCursorChecks[kCursorCheckCount];

const char kHighlightSizeCombo[] = "selcursor_size_combox";

// The setting of a colour button or check box; null for another control.
const CursorColorSetting* CursorColorFor(const char* button);
const CursorCheckSetting* CursorCheckFor(const char* check);

// The configured colour, or the button's default when there is none.
COLORREF ConfiguredColor(const CursorColorSetting& color);
// Saves the colour and puts it into the cursor settings.
void StoreColor(const CursorColorSetting& color, COLORREF chosen);
void StoreCheck(const CursorCheckSetting& check, bool on);

// The configured highlight size's combo index (0 64 px, 1 48 px, 2 32 px).
int ConfiguredHighlightSizeIndex();
// Saves the index; the highlight takes its size (other indexes keep it).
void StoreHighlightSizeIndex(int index);

// A COLORREF (0x00BBGGRR) as a colour button shows it: opaque 0xFFRRGGBB.
DWORD SwatchColor(COLORREF color);
