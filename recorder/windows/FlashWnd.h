// The frame around the region being recorded: a layered, always-on-top
// window whose inside is a hole, so what is recorded stays visible and
// takes the mouse. Dragging the frame moves the recorded region, pulling a
// corner resizes it; the capture rectangle and the real-time graffiti canvas
// follow, and a frame the user has taken hold of no longer follows the
// recorded window. The main window opens it when a region recording starts
// (ShowFlashWnd) and closes it when the recording stops.
//
// UI thread only.
#pragma once

#include "kit/SkinWindow.h"

class FlashWnd : public SkinWindow {
public:
    // Creates and shows the frame over `region` (screen coordinates).
    explicit FlashWnd(const RECT& region);

    // The frame's rectangle on the screen.
    RECT GetRegion() const { return m_region; }
    // The region shrunk by the frame's width: the recorded area.
    RECT GetRegionInset() const;
    // Moves and sizes the frame to `rect` without repainting.
    void MoveToRect(const RECT& rect);

protected:
    LPCSTR GetWindowClassName() const override { return "FlashWnd"; }
    void InitWindow() override;
    void OnWindowInit() override;
    // Clicks and value changes mean nothing on a frame.
    void OnNotify(DuiLib::TNotifyUI&) override {}
    LRESULT OnNcHitTest(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;

private:
    // The frame has moved or been sized: the recorded area goes with it.
    void FollowOwnRectangle();
    // Only the frame's own width takes the mouse and shows; the inside is
    // cut out of the window.
    void CutOutInside();

    RECT m_region;
    UINT m_bMoving = 0;       // the user has pressed a button on the frame
    UINT m_bInitialised = 0;  // "windowinit" has come
    bool m_bInMove = false;   // inside FollowOwnRectangle, which moves the window itself
};
