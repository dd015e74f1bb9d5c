#include "platform/ui/UIRender.h"

#include "platform/ui/UIAttrParse.h"
#include "platform/ui/UILog.h"
#include "platform/ui/UIManager.h"
#include "platform/ui/UIResource.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace DuiLib {

namespace {

bool IsZeroRect(const RECT& rc)
{
    return rc.left == 0 && rc.top == 0 && rc.right == 0 && rc.bottom == 0;
}

bool IsEmptyRect(const RECT& rc)
{
    return rc.right <= rc.left || rc.bottom <= rc.top;
}

// An image string with attributes has key='value' pairs; anything else is
// a file name (which may hold spaces).
bool HasAttributes(const char* s)
{
    for (const char* p = strchr(s, '='); p; p = strchr(p + 1, '=')) {
        const char* q = p + 1;
        while (*q == ' ') ++q;
        if (*q == '\'' || *q == '"') return true;
    }
    return false;
}

std::string Trim(const std::string& s)
{
    size_t b = s.find_first_not_of(" \t\r\n");
    size_t e = s.find_last_not_of(" \t\r\n");
    return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

bool ApplyAttribute(TDrawInfo& info, const std::string& key, const std::string& value)
{
    const char* v = value.c_str();
    if (key == "file" || key == "res") {
        info.sImageName = v;
        return true;
    }
    if (key == "source") return ParseRect(v, &info.rcSource);
    if (key == "dest") return ParseRect(v, &info.rcDest);
    if (key == "corner" || key == "scale9") return ParseRect(v, &info.rcCorner);
    if (key == "mask") return ParseColor(v, &info.dwMask);
    if (key == "fade") {
        int fade = 255;
        if (!ParseInt(v, &fade)) return false;
        info.uFade = (BYTE)std::max(0, std::min(255, fade));
        return true;
    }
    if (key == "hole")
        info.bHole = ParseBool(v);
    else if (key == "xtiled")
        info.bTiledX = ParseBool(v);
    else if (key == "ytiled")
        info.bTiledY = ParseBool(v);
    return true;  // unknown keys ("restype", "align") are ignored
}

bool ParseInto(TDrawInfo& info, const char* s, bool allowBareName)
{
    if (!s || !*s) return true;
    if (!HasAttributes(s)) {
        if (allowBareName) info.sImageName = Trim(s).c_str();
        return allowBareName;
    }
    bool ok = true;
    const char* p = s;
    for (;;) {
        while (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n') ++p;
        if (!*p) break;
        const char* keyStart = p;
        while (*p && *p != '=' && *p != ' ') ++p;
        std::string key(keyStart, p);
        while (*p == ' ') ++p;
        if (*p != '=') return false;
        ++p;
        while (*p == ' ') ++p;
        char quote = *p;
        if (quote != '\'' && quote != '"') return false;
        const char* valueStart = ++p;
        while (*p && *p != quote) ++p;
        if (!*p) return false;
        std::string value(valueStart, p);
        ++p;
        for (char& c : key)
            if (c >= 'A' && c <= 'Z') c = (char)(c - 'A' + 'a');
        ok = ApplyAttribute(info, key, value) && ok;
    }
    return ok;
}

// Scales the margins a and b down when together they exceed length.
void FitMargins(int length, long* a, long* b)
{
    if (*a < 0) *a = 0;
    if (*b < 0) *b = 0;
    if (length <= 0) {
        *a = *b = 0;
        return;
    }
    if (*a + *b > length) {
        long sum = *a + *b;
        *a = MulDiv(length, *a, sum);
        *b = length - *a;
    }
}

class MemoryDC {
public:
    MemoryDC(HDC ref, HBITMAP bmp) : dc_(::CreateCompatibleDC(ref))
    {
        old_ = (HBITMAP)::SelectObject(dc_, bmp);
    }
    ~MemoryDC()
    {
        ::SelectObject(dc_, old_);
        ::DeleteDC(dc_);
    }
    HDC get() const { return dc_; }

private:
    HDC dc_;
    HBITMAP old_;
};

DWORD Premultiply(DWORD argb)
{
    DWORD a = argb >> 24;
    DWORD r = ((argb >> 16) & 0xFF) * a / 255;
    DWORD g = ((argb >> 8) & 0xFF) * a / 255;
    DWORD b = (argb & 0xFF) * a / 255;
    return (a << 24) | (r << 16) | (g << 8) | b;
}

// Stretches a strip of premultiplied pixels over rc.
void BlendPixels(HDC hDC, const RECT& rc, const DWORD* pixels, int cx, int cy)
{
    TImageInfo* strip = CreateImage(cx, cy);
    if (!strip) return;
    memcpy(strip->pBits, pixels, (size_t)cx * cy * 4);
    {
        MemoryDC mem(hDC, strip->hBitmap);
        BLENDFUNCTION bf = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        ::AlphaBlend(hDC, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, mem.get(), 0, 0,
                     cx, cy, bf);
    }
    FreeImage(strip);
}

COLORREF ToColorRef(DWORD argb)
{
    return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

// Text for surfaces whose alpha counts: drawn white on black aside, its
// coverage becomes the alpha of the colour, blended over the target.
void DrawTextWithAlpha(HDC hDC, const RECT& rc, const std::wstring& text, HFONT font, DWORD color,
                       UINT style)
{
    RECT clip;
    int kind = ::GetClipBox(hDC, &clip);
    if (kind == NULLREGION) return;
    if (kind == ERROR) clip = rc;
    RECT area;
    if (!::IntersectRect(&area, &rc, &clip)) return;
    int w = area.right - area.left, h = area.bottom - area.top;
    TImageInfo* mask = CreateImage(w, h);
    if (!mask) return;
    {
        MemoryDC mem(hDC, mask->hBitmap);
        HFONT oldFont = (HFONT)::SelectObject(mem.get(), font);
        ::SetBkMode(mem.get(), TRANSPARENT);
        ::SetTextColor(mem.get(), RGB(255, 255, 255));
        RECT local = rc;
        ::OffsetRect(&local, -area.left, -area.top);
        ::DrawTextW(mem.get(), text.c_str(), (int)text.size(), &local, style);
        ::GdiFlush();
        const DWORD r = (color >> 16) & 0xFF, g = (color >> 8) & 0xFF, b = color & 0xFF;
        auto* px = reinterpret_cast<DWORD*>(mask->pBits);
        for (int i = 0; i < w * h; ++i) {
            DWORD c = px[i];
            DWORD cov = std::max(std::max((c >> 16) & 0xFF, (c >> 8) & 0xFF), c & 0xFF);
            px[i] = cov ? (cov << 24) | ((r * cov / 255) << 16) | ((g * cov / 255) << 8) |
                              (b * cov / 255)
                        : 0;
        }
        BLENDFUNCTION bf = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        ::AlphaBlend(hDC, area.left, area.top, w, h, mem.get(), 0, 0, w, h, bf);
        ::SelectObject(mem.get(), oldFont);
    }
    FreeImage(mask);
}

}  // namespace

void DrawArrowGlyph(HDC hDC, const RECT& rc, int direction, DWORD color)
{
    long w = rc.right - rc.left, h = rc.bottom - rc.top;
    long half = std::max(2L, std::min(w, h) / 4);  // rows of the triangle
    long cx = rc.left + w / 2, cy = rc.top + h / 2;
    for (long i = 0; i < half; ++i) {
        RECT row;
        switch (direction) {
            case 0:  // up: the point first
                row = {cx - i, cy - half / 2 + i, cx + i + 1, cy - half / 2 + i + 1};
                break;
            case 1:
                row = {cx - i, cy + half / 2 - i, cx + i + 1, cy + half / 2 - i + 1};
                break;
            case 2:
                row = {cx - half / 2 + i, cy - i, cx - half / 2 + i + 1, cy + i + 1};
                break;
            default:
                row = {cx + half / 2 - i, cy - i, cx + half / 2 - i + 1, cy + i + 1};
                break;
        }
        CRenderEngine::DrawColor(hDC, row, color | 0xFF000000);
    }
}

void TDrawInfo::Clear()
{
    *this = TDrawInfo();
}

bool TDrawInfo::Parse(LPCSTR str, LPCSTR modify)
{
    Clear();
    sDrawString = str;
    bool ok = ParseInto(*this, str, true);
    if (modify && *modify) ok = ParseInto(*this, modify, false) && ok;
    return ok;
}

std::vector<TImageCell> LayoutImageCells(const RECT& rcDest, const RECT& rcSource,
                                         const RECT& rcCorner, bool bHole, bool bTiledX,
                                         bool bTiledY)
{
    std::vector<TImageCell> cells;
    if (IsEmptyRect(rcDest) || IsEmptyRect(rcSource)) return cells;
    RECT src = rcCorner;  // margins in picture pixels
    FitMargins(rcSource.right - rcSource.left, &src.left, &src.right);
    FitMargins(rcSource.bottom - rcSource.top, &src.top, &src.bottom);
    RECT dst = src;  // the same margins on the target, unscaled unless too wide
    FitMargins(rcDest.right - rcDest.left, &dst.left, &dst.right);
    FitMargins(rcDest.bottom - rcDest.top, &dst.top, &dst.bottom);

    const long sx[4] = {rcSource.left, rcSource.left + src.left, rcSource.right - src.right,
                        rcSource.right};
    const long sy[4] = {rcSource.top, rcSource.top + src.top, rcSource.bottom - src.bottom,
                        rcSource.bottom};
    const long dx[4] = {rcDest.left, rcDest.left + dst.left, rcDest.right - dst.right,
                        rcDest.right};
    const long dy[4] = {rcDest.top, rcDest.top + dst.top, rcDest.bottom - dst.bottom,
                        rcDest.bottom};
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            if (bHole && r == 1 && c == 1) continue;
            TImageCell cell;
            cell.rcSource = {sx[c], sy[r], sx[c + 1], sy[r + 1]};
            cell.rcDest = {dx[c], dy[r], dx[c + 1], dy[r + 1]};
            if (IsEmptyRect(cell.rcSource) || IsEmptyRect(cell.rcDest)) continue;
            cell.bTileX = bTiledX && c == 1;
            cell.bTileY = bTiledY && r == 1;
            cells.push_back(cell);
        }
    }
    return cells;
}

bool ClampSourceToImage(int cx, int cy, RECT* rcSource, RECT* rcDest)
{
    const RECT s = *rcSource;
    const RECT d = *rcDest;
    long sw = s.right - s.left, sh = s.bottom - s.top;
    long dw = d.right - d.left, dh = d.bottom - d.top;
    if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0 || cx <= 0 || cy <= 0) return false;
    if (s.left < 0) {
        rcDest->left = d.left + MulDiv(-s.left, dw, sw);
        rcSource->left = 0;
    }
    if (s.right > cx) {
        rcDest->right = d.right - MulDiv(s.right - cx, dw, sw);
        rcSource->right = cx;
    }
    if (s.top < 0) {
        rcDest->top = d.top + MulDiv(-s.top, dh, sh);
        rcSource->top = 0;
    }
    if (s.bottom > cy) {
        rcDest->bottom = d.bottom - MulDiv(s.bottom - cy, dh, sh);
        rcSource->bottom = cy;
    }
    return !IsEmptyRect(*rcSource) && !IsEmptyRect(*rcDest);
}

CRenderClip::CRenderClip(HDC hDC, const RECT& rc) : m_hDC(hDC)
{
    m_hOldRgn = ::CreateRectRgn(0, 0, 0, 0);
    if (::GetClipRgn(hDC, m_hOldRgn) != 1) {
        ::DeleteObject(m_hOldRgn);
        m_hOldRgn = nullptr;
    }
    ::IntersectClipRect(hDC, rc.left, rc.top, rc.right, rc.bottom);
}

CRenderClip::~CRenderClip()
{
    ::SelectClipRgn(m_hDC, m_hOldRgn);
    if (m_hOldRgn) ::DeleteObject(m_hOldRgn);
}

TImageInfo* CRenderEngine::LoadImage(STRINGorID bitmap, LPCSTR type, DWORD mask)
{
    std::string data, why;
    if (IS_INTRESOURCE(bitmap.m_lpstr)) {
        HINSTANCE inst = CResourceStore::GetInstance();
        HRSRC res = ::FindResourceA(inst, bitmap.m_lpstr, type);
        HGLOBAL mem = res ? ::LoadResource(inst, res) : nullptr;
        const char* p = mem ? static_cast<const char*>(::LockResource(mem)) : nullptr;
        if (!p) {
            UiLogError("image resource %u not found", (unsigned)(UINT_PTR)bitmap.m_lpstr);
            return nullptr;
        }
        data.assign(p, ::SizeofResource(inst, res));
    } else if (!CResourceStore::Load("", bitmap.m_lpstr, &data)) {
        UiLogError("image \"%s\" not found in the skin package or folder", bitmap.m_lpstr);
        return nullptr;
    }
    TImageInfo* info = DecodeImage(data.data(), data.size(), mask, &why);
    if (!info) UiLogError("image: %s", why.c_str());
    return info;
}

void CRenderEngine::DrawImage(HDC hDC, HBITMAP hBitmap, const RECT& rc, const RECT& rcPaint,
                              const RECT& rcBmpPart, const RECT& rcCorners, bool bAlpha, BYTE uFade,
                              bool bHole, bool bTiledX, bool bTiledY)
{
    if (!hDC || !hBitmap || uFade == 0) return;
    std::vector<TImageCell> cells =
        LayoutImageCells(rc, rcBmpPart, rcCorners, bHole, bTiledX, bTiledY);
    if (cells.empty()) return;
    MemoryDC mem(hDC, hBitmap);
    const bool blend = bAlpha || uFade < 255;
    BLENDFUNCTION bf = {AC_SRC_OVER, 0, uFade, (BYTE)(bAlpha ? AC_SRC_ALPHA : 0)};
    int oldMode = ::SetStretchBltMode(hDC, COLORONCOLOR);
    auto blit = [&](const RECT& d, const RECT& s) {
        int dw = d.right - d.left, dh = d.bottom - d.top;
        int sw = s.right - s.left, sh = s.bottom - s.top;
        if (blend)
            ::AlphaBlend(hDC, d.left, d.top, dw, dh, mem.get(), s.left, s.top, sw, sh, bf);
        else if (dw == sw && dh == sh)
            ::BitBlt(hDC, d.left, d.top, dw, dh, mem.get(), s.left, s.top, SRCCOPY);
        else
            ::StretchBlt(hDC, d.left, d.top, dw, dh, mem.get(), s.left, s.top, sw, sh, SRCCOPY);
    };
    for (const TImageCell& cell : cells) {
        RECT visible;
        if (!::IntersectRect(&visible, &cell.rcDest, &rcPaint)) continue;
        const RECT& d = cell.rcDest;
        const RECT& s = cell.rcSource;
        if (!cell.bTileX && !cell.bTileY) {
            blit(d, s);
            continue;
        }
        // Repeat along a tiled axis at the picture's own size; stretch the other.
        long stepX = cell.bTileX ? s.right - s.left : d.right - d.left;
        long stepY = cell.bTileY ? s.bottom - s.top : d.bottom - d.top;
        for (long y = d.top; y < d.bottom; y += stepY) {
            long h = std::min(stepY, d.bottom - y);
            if (y + h <= visible.top || y >= visible.bottom) continue;
            for (long x = d.left; x < d.right; x += stepX) {
                long w = std::min(stepX, d.right - x);
                if (x + w <= visible.left || x >= visible.right) continue;
                RECT pd = {x, y, x + w, y + h};
                RECT ps = s;
                if (cell.bTileX) ps.right = s.left + w;
                if (cell.bTileY) ps.bottom = s.top + h;
                blit(pd, ps);
            }
        }
    }
    ::SetStretchBltMode(hDC, oldMode);
}

bool CRenderEngine::DrawImage(HDC hDC, CPaintManagerUI* pManager, const RECT& rcItem,
                              const RECT& rcPaint, TDrawInfo& drawInfo)
{
    if (drawInfo.sImageName.IsEmpty()) return false;
    const TImageInfo* image = pManager ? pManager->GetImageEx(drawInfo.sImageName, drawInfo.dwMask)
                                       : CImageCache::Get("", drawInfo.sImageName, drawInfo.dwMask);
    if (!image || !image->hBitmap) return false;
    RECT dest = rcItem;
    if (!IsZeroRect(drawInfo.rcDest)) {
        dest = drawInfo.rcDest;
        ::OffsetRect(&dest, rcItem.left, rcItem.top);
    }
    RECT source = drawInfo.rcSource;
    if (IsZeroRect(source)) source = {0, 0, image->nX, image->nY};
    if (!ClampSourceToImage(image->nX, image->nY, &source, &dest))
        return true;  // nothing of the picture falls inside: drawn as asked
    RECT paint;
    if (!::IntersectRect(&paint, &dest, &rcPaint)) return true;
    DrawImage(hDC, image->hBitmap, dest, paint, source, drawInfo.rcCorner, image->bAlpha,
              drawInfo.uFade, drawInfo.bHole, drawInfo.bTiledX, drawInfo.bTiledY);
    return true;
}

bool CRenderEngine::DrawImageString(HDC hDC, CPaintManagerUI* pManager, const RECT& rcItem,
                                    const RECT& rcPaint, LPCSTR pStrImage, LPCSTR pStrModify)
{
    if (!pStrImage || !*pStrImage) return false;
    TDrawInfo info;
    if (!info.Parse(pStrImage, pStrModify)) DUITRACE("malformed image string: %s", pStrImage);
    return DrawImage(hDC, pManager, rcItem, rcPaint, info);
}

void CRenderEngine::DrawColor(HDC hDC, const RECT& rc, DWORD color)
{
    if ((color >> 24) == 0 || IsEmptyRect(rc)) return;
    DWORD pixel = Premultiply(color);
    BlendPixels(hDC, rc, &pixel, 1, 1);
}

void CRenderEngine::DrawGradient(HDC hDC, const RECT& rc, DWORD dwFirst, DWORD dwSecond,
                                 bool bVertical)
{
    if (IsEmptyRect(rc)) return;
    int n = bVertical ? rc.bottom - rc.top : rc.right - rc.left;
    n = std::min(n, 4096);
    std::vector<DWORD> pixels((size_t)n);
    for (int i = 0; i < n; ++i) {
        DWORD c = 0;
        for (int shift = 0; shift < 32; shift += 8) {
            int a = (int)((dwFirst >> shift) & 0xFF);
            int b = (int)((dwSecond >> shift) & 0xFF);
            int v = n > 1 ? a + (b - a) * i / (n - 1) : a;
            c |= (DWORD)v << shift;
        }
        pixels[(size_t)i] = Premultiply(c);
    }
    if (bVertical)
        BlendPixels(hDC, rc, pixels.data(), 1, n);
    else
        BlendPixels(hDC, rc, pixels.data(), n, 1);
}

void CRenderEngine::DrawLine(HDC hDC, const RECT& rc, int nSize, DWORD dwPenColor, int nStyle)
{
    LOGBRUSH lb = {BS_SOLID, ToColorRef(dwPenColor), 0};
    HPEN pen =
        ::ExtCreatePen(PS_GEOMETRIC | (DWORD)nStyle, (DWORD)std::max(1, nSize), &lb, 0, nullptr);
    HPEN old = (HPEN)::SelectObject(hDC, pen);
    POINT pts[2] = {{rc.left, rc.top}, {rc.right, rc.bottom}};
    ::Polyline(hDC, pts, 2);
    ::SelectObject(hDC, old);
    ::DeleteObject(pen);
}

void CRenderEngine::DrawRect(HDC hDC, const RECT& rc, int nSize, DWORD dwPenColor)
{
    if (nSize <= 0 || IsEmptyRect(rc)) return;
    DWORD c = dwPenColor | 0xFF000000;  // borders ignore the alpha byte
    long s = nSize;
    DrawColor(hDC, {rc.left, rc.top, rc.right, std::min(rc.top + s, rc.bottom)}, c);
    DrawColor(hDC, {rc.left, std::max(rc.bottom - s, rc.top), rc.right, rc.bottom}, c);
    DrawColor(hDC, {rc.left, rc.top + s, std::min(rc.left + s, rc.right), rc.bottom - s}, c);
    DrawColor(hDC, {std::max(rc.right - s, rc.left), rc.top + s, rc.right, rc.bottom - s}, c);
}

void CRenderEngine::DrawText(HDC hDC, CPaintManagerUI* pManager, RECT& rc, LPCSTR pstrText,
                             DWORD dwTextColor, int iFont, UINT uStyle)
{
    if (!pstrText || (!*pstrText && !(uStyle & DT_CALCRECT))) return;
    std::wstring text = AnsiToWide(pstrText);
    HFONT font = pManager ? pManager->GetFont(iFont) : (HFONT)::GetStockObject(DEFAULT_GUI_FONT);
    if (pManager && pManager->IsLayered() && !(uStyle & DT_CALCRECT)) {
        DrawTextWithAlpha(hDC, rc, text, font, dwTextColor, uStyle | DT_NOPREFIX);
        return;
    }
    HFONT old = (HFONT)::SelectObject(hDC, font);
    int oldMode = ::SetBkMode(hDC, TRANSPARENT);
    COLORREF oldColor = ::SetTextColor(hDC, ToColorRef(dwTextColor));
    ::DrawTextW(hDC, text.c_str(), (int)text.size(), &rc, uStyle | DT_NOPREFIX);
    ::SetTextColor(hDC, oldColor);
    ::SetBkMode(hDC, oldMode);
    ::SelectObject(hDC, old);
}

SIZE CRenderEngine::GetTextSize(HDC hDC, CPaintManagerUI* pManager, LPCSTR pstrText, int iFont,
                                UINT uStyle)
{
    SIZE size = {0, 0};
    if (!pstrText) return size;
    std::wstring text = AnsiToWide(pstrText);
    HFONT font = pManager ? pManager->GetFont(iFont) : (HFONT)::GetStockObject(DEFAULT_GUI_FONT);
    HFONT old = (HFONT)::SelectObject(hDC, font);
    ::GetTextExtentPoint32W(hDC, text.c_str(), (int)text.size(), &size);
    ::SelectObject(hDC, old);
    return size;
}

}  // namespace DuiLib
