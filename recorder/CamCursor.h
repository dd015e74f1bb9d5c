// Cursor and click-effect settings: what the capture engine paints for the
// mouse (the cursor, its highlight disc, click rings and wheel chevrons).
#pragma once

#include <windows.h>

class CCamCursor {
public:
    // Ring geometry is fixed; the settings never change it.
    static constexpr float kRingPenWidth = 2.0f;
    static constexpr DWORD kRingLifeMs = 1000;
    static constexpr DWORD kRingRadius = 20;

    // The defaults, until the configuration replaces them at start-up.
    CCamCursor();
    virtual ~CCamCursor();

    // Colours are ARGB (0xAARRGGBB), alpha 0xA0 as the settings make them.
    DWORD m_crWheel;  // middle button and wheel
    float m_fRingPenWidth;
    DWORD m_dwRingLife;      // ms an event stays on screen
    DWORD m_nRingRadius;     // largest ring radius, pixels
    BYTE m_bDrawCursor;      // paint the cursor (and its highlight)
    BYTE m_bHighlight;       // paint the highlight disc under it
    DWORD m_nHighlightSize;  // disc diameter: 64, 48 or 32
    DWORD m_crHighlight;
    BYTE m_bClickEffects;  // paint rings and chevrons
    DWORD m_crLeft;        // left button and any other message
    DWORD m_crRight;
};

// The settings the user edits; a recording copies them into the engine when
// it starts. The names below are its fields.
extern CCamCursor g_cursorSettings;
extern BYTE& g_bRecordCursor;
extern BYTE& g_bHighlightCursor;
extern DWORD& g_nHighlightSize;
extern DWORD& g_crHighlight;
extern BYTE& g_bClickEffect;
extern DWORD& g_crLeftClick;
extern DWORD& g_crRightClick;
extern DWORD& g_crWheelRing;

// A COLORREF (0x00BBGGRR) as the engine's ARGB with alpha 0xA0.
inline DWORD ColorRefToArgb(COLORREF cr)
{
    return 0xA0000000u | ((DWORD)GetRValue(cr) << 16) | ((DWORD)GetGValue(cr) << 8) | GetBValue(cr);
}
