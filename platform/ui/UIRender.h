// Drawing: image strings, nine-grid and tiled images, alpha-correct fills
// and gradients, borders and text. Everything draws with AlphaBlend of
// premultiplied pixels, so the alpha channel of a 32-bit target stays
// right (the dim mask and layered surfaces depend on it); text goes
// through the W functions.
#pragma once

#include <windows.h>

#include <vector>

#include "platform/ui/UIDefine.h"
#include "platform/ui/UIImage.h"

namespace DuiLib {

// An image string, e.g.
//   "file='bk.png' source='0,0,60,60' dest='0,0,180,35' corner='4,4,4,4'
//    hole='false' xtiled='true' ytiled='true' fade='200' mask='#FFFF00FF'"
// or a bare file name. "scale9" is the same as "corner". All-zero source
// means the whole picture, all-zero dest the whole control.
struct TDrawInfo {
    CDuiString sDrawString;
    CDuiString sImageName;
    RECT rcSource = {0, 0, 0, 0};
    RECT rcDest = {0, 0, 0, 0};
    RECT rcCorner = {0, 0, 0, 0};
    DWORD dwMask = 0;
    BYTE uFade = 255;
    bool bHole = false;
    bool bTiledX = false;
    bool bTiledY = false;

    void Clear();
    // Parses str, then the attributes of modify over it. False when a
    // value was malformed (the rest is still taken).
    bool Parse(LPCSTR str, LPCSTR modify = nullptr);
};

// One piece of a nine-grid: where in the picture, where on the target,
// and whether it repeats instead of stretching.
struct TImageCell {
    RECT rcSource;
    RECT rcDest;
    bool bTileX;
    bool bTileY;
};

// The pieces that draw source (a part of a picture) into dest with the
// corner margins; the centre is left out when hole is set. Margins wider
// than dest are scaled down on the target so the corners do not overlap.
std::vector<TImageCell> LayoutImageCells(const RECT& rcDest, const RECT& rcSource,
                                         const RECT& rcCorner, bool bHole, bool bTiledX,
                                         bool bTiledY);

// Clamps a source rectangle to a picture of cx by cy, moving the
// destination edges in proportion. False when nothing is left.
bool ClampSourceToImage(int cx, int cy, RECT* rcSource, RECT* rcDest);

// Narrows the clipping region of a DC for its lifetime.
class CRenderClip {
public:
    CRenderClip(HDC hDC, const RECT& rc);
    ~CRenderClip();
    CRenderClip(const CRenderClip&) = delete;
    CRenderClip& operator=(const CRenderClip&) = delete;

private:
    HDC m_hDC;
    HRGN m_hOldRgn;
};

// A small solid triangle centred in rc pointing up (0), down (1), left (2)
// or right (3): the arrows of scroll bars and combo boxes without pictures.
void DrawArrowGlyph(HDC hDC, const RECT& rc, int direction, DWORD color);

class CRenderEngine {
public:
    // A picture through the skin lookup, owned by the caller (FreeImage).
    static TImageInfo* LoadImage(STRINGorID bitmap, LPCSTR type = nullptr, DWORD mask = 0);
    static void FreeImage(TImageInfo* info) { DuiLib::FreeImage(info); }

    static bool DrawImage(HDC hDC, CPaintManagerUI* pManager, const RECT& rcItem,
                          const RECT& rcPaint, TDrawInfo& drawInfo);
    static bool DrawImageString(HDC hDC, CPaintManagerUI* pManager, const RECT& rcItem,
                                const RECT& rcPaint, LPCSTR pStrImage, LPCSTR pStrModify = nullptr);
    // Draws part rcBmpPart of a bitmap into rc (only where it meets rcPaint).
    static void DrawImage(HDC hDC, HBITMAP hBitmap, const RECT& rc, const RECT& rcPaint,
                          const RECT& rcBmpPart, const RECT& rcCorners, bool bAlpha,
                          BYTE uFade = 255, bool bHole = false, bool bTiledX = false,
                          bool bTiledY = false);

    // Blends an ARGB colour over the target; alpha 0 draws nothing.
    static void DrawColor(HDC hDC, const RECT& rc, DWORD color);
    static void DrawGradient(HDC hDC, const RECT& rc, DWORD dwFirst, DWORD dwSecond,
                             bool bVertical);
    static void DrawLine(HDC hDC, const RECT& rc, int nSize, DWORD dwPenColor,
                         int nStyle = PS_SOLID);
    // A frame nSize pixels wide inside rc.
    static void DrawRect(HDC hDC, const RECT& rc, int nSize, DWORD dwPenColor);
    // ANSI text drawn with DrawTextW; DT_CALCRECT in uStyle measures into rc.
    // On the surface of a per-pixel layered window the text is blended from
    // its coverage, so its pixels get the right alpha (GDI alone leaves 0).
    static void DrawText(HDC hDC, CPaintManagerUI* pManager, RECT& rc, LPCSTR pstrText,
                         DWORD dwTextColor, int iFont, UINT uStyle);
    static SIZE GetTextSize(HDC hDC, CPaintManagerUI* pManager, LPCSTR pstrText, int iFont,
                            UINT uStyle);
};

}  // namespace DuiLib
