#include "settings/CursorSettings.h"

#include "core/CfgDocument.h"
#include "recorder/CamCursor.h"
#include "recorder/codecs/RecordingSettings.h"

#include <cstring>

namespace {

CfgDocument& Cfg()
{
    return g_cfgDocument;
}

bool LoadIntFlag(unsigned (CfgDocument::*get)(int*), bool fallback)
{
    int value = fallback ? 1 : 0;
    (Cfg().*get)(&value);
    return value != 0;
}

}  // namespace

const CursorColorSetting kCursorColors[kCursorColorCount] = {
    {"sel_color_btn", 0xFCAE1D, [](int* c) { return Cfg().GetCfgHighlightColor(c); },
     [](int c) { return Cfg().SetCfgHighlightColor(c); }, &g_cursorSettings.m_crHighlight},
    {"sel_lbtn_color_btn", 0x0000FF, [](int* c) { return Cfg().GetCfgClickLeftColor(c); },
     [](int c) { return Cfg().SetCfgClickLeftColor(c); }, &g_cursorSettings.m_crLeft},
    {"sel_rbtn_color_btn", 0xFF0000, [](int* c) { return Cfg().GetCfgClickRightColor(c); },
     [](int c) { return Cfg().SetCfgClickRightColor(c); }, &g_cursorSettings.m_crRight},
    {"sel_wheel_color_btn", 0x00FF00, [](int* c) { return Cfg().GetCfgWheelEffectColor(c); },
     [](int c) { return Cfg().SetCfgWheelEffectColor(c); }, &g_cursorSettings.m_crWheel},
};

const CursorCheckSetting kCursorChecks[kCursorCheckCount] = {
    {"rec_cursor_check", true,
     [](bool fallback) { return LoadIntFlag(&CfgDocument::GetCfgRecCursor, fallback); },
     [](bool on) { Cfg().SetCfgRecCursor(on ? 1 : 0); }, &g_cursorSettings.m_bDrawCursor},
    {"highter_cursor_check", true,
     [](bool fallback) {
         unsigned char on = fallback ? 1 : 0;
         Cfg().GetCfgHighlightCursor(&on);
         return on != 0;
     },
     [](bool on) { Cfg().SetCfgHighlightCursor(on ? 1 : 0); }, &g_cursorSettings.m_bHighlight},
    {"add_click_effect_check", true,
     [](bool fallback) { return LoadIntFlag(&CfgDocument::GetCfgClickEffect, fallback); },
     [](bool on) { Cfg().SetCfgClickEffect(on ? 1 : 0); }, &g_cursorSettings.m_bClickEffects},
};

const CursorColorSetting* CursorColorFor(const char* button)
{
    for (const CursorColorSetting& c : kCursorColors)
        if (button && strcmp(button, c.button) == 0) return &c;
    return nullptr;
}

const CursorCheckSetting* CursorCheckFor(const char* check)
{
    for (const CursorCheckSetting& c : kCursorChecks)
        if (check && strcmp(check, c.check) == 0) return &c;
    return nullptr;
}

COLORREF ConfiguredColor(const CursorColorSetting& color)
{
    int value = (int)color.defaultColor;
    color.load(&value);
    return (COLORREF)value;
}

void StoreColor(const CursorColorSetting& color, COLORREF chosen)
{
    color.store((int)chosen);
    *color.setting = ColorRefToArgb(chosen);
}

void StoreCheck(const CursorCheckSetting& check, bool on)
{
    check.store(on);
    *check.setting = on ? 1 : 0;
}

int ConfiguredHighlightSizeIndex()
{
    int index = 1;
    Cfg().GetCfgHighlightSize(&index);
    return index;
}

void StoreHighlightSizeIndex(int index)
{
    Cfg().SetCfgHighlightSize(index);
    g_nHighlightSize = HighlightSizeForIndex(index, g_nHighlightSize);
}

DWORD SwatchColor(COLORREF color)
{
    return 0xFF000000u | ((DWORD)GetRValue(color) << 16) | ((DWORD)GetGValue(color) << 8) |
           GetBValue(color);
}
