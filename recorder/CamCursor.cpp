#include "recorder/CamCursor.h"

CCamCursor::CCamCursor()
    : m_crWheel(0xA000FF00),
      m_fRingPenWidth(kRingPenWidth),
      m_dwRingLife(kRingLifeMs),
      m_nRingRadius(kRingRadius),
      m_bDrawCursor(1),
      m_bHighlight(0),
      m_nHighlightSize(64),
      m_crHighlight(0xA000FF00),
      m_bClickEffects(0),
      m_crLeft(0xA0FF0000),
      m_crRight(0xA00000FF)
{
}

CCamCursor::~CCamCursor() = default;

CCamCursor g_cursorSettings;
BYTE& g_bRecordCursor = g_cursorSettings.m_bDrawCursor;
BYTE& g_bHighlightCursor = g_cursorSettings.m_bHighlight;
DWORD& g_nHighlightSize = g_cursorSettings.m_nHighlightSize;
DWORD& g_crHighlight = g_cursorSettings.m_crHighlight;
BYTE& g_bClickEffect = g_cursorSettings.m_bClickEffects;
DWORD& g_crLeftClick = g_cursorSettings.m_crLeft;
DWORD& g_crRightClick = g_cursorSettings.m_crRight;
DWORD& g_crWheelRing = g_cursorSettings.m_crWheel;
