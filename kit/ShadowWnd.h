// A drop shadow behind a popup: a layered window that paints a nine-part
// stretched picture with its own alpha, and repaints it after its size
// changed. The popup creates it first, then moves and sizes it with itself.
//
//   auto* shadow = new CShadowWnd;
//   shadow->SetDrawInfo("file='menu_bk.png' corner='40,8,8,8'");
//   shadow->Create(owner, "", 0x94000000, 0x80080);
//
// UI thread only; the object deletes itself with its window.
#pragma once

#include "platform/ui/UIlib.h"

#include <vector>

class CShadowWnd : public DuiLib::CWindowWnd {
public:
    CShadowWnd() = default;

    void SetDrawInfo(LPCSTR imageString);
    // Repaints now (otherwise at the next 10 ms tick after a size change).
    void Repaint();
    // The surface last handed to UpdateLayeredWindow, premultiplied BGRA
    // top-down, for tests; empty before the first repaint.
    const std::vector<DWORD>& LastSurface() const { return m_surface; }
    SIZE LastSurfaceSize() const { return m_surfaceSize; }

protected:
    LPCSTR GetWindowClassName() const override { return "UIShadow"; }
    UINT GetClassStyle() const override { return CS_HREDRAW | CS_VREDRAW; }
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND hWnd) override;

private:
    ~CShadowWnd() override = default;

    bool m_dirty = false;
    DuiLib::TDrawInfo m_drawInfo;
    DuiLib::CPaintManagerUI m_pm;
    std::vector<DWORD> m_surface;
    SIZE m_surfaceSize = {0, 0};
};
