// The floating recording bar: a small always-on-top bar from which a
// recording is started, paused and stopped without the main window. It
// shows the recording time (the main window writes it), opens the region
// picker and real-time graffiti, docks as a thin strip at the top, left or
// right edge of the work area and comes back when the mouse rests on it,
// fades to half its opacity while a recording runs and the mouse rests
// elsewhere, and has a menu with the opacity steps (kept in the
// configuration).
//
// There is one bar for the life of the program: its module's opener makes
// the object, the main window creates its window and places it.
//
// UI thread only.
#pragma once

#include "kit/SkinWindow.h"
#include "recorder/windows/FloatRecLogic.h"

class CFloatRecWnd : public SkinWindow {
public:
    CFloatRecWnd();

    // What the region picker does with the bar: shows it, with the region
    // button enabled (nothing was recorded) or disabled (a recording began).
    void ShowWithTargetEnabled(bool enabled);

    // The skin background over the bar's layout size, untiled.
    void ApplySkinBackgroundFile(const DuiLib::CDuiString& file) override;

protected:
    LPCSTR GetWindowClassName() const override { return "FloatRecWnd"; }
    void InitWindow() override;
    void OnWindowInit() override;
    void OnNotify(DuiLib::TNotifyUI& msg) override;
    // Escape must not close the bar: nothing could bring it back.
    LRESULT ResponseDefaultKeyEvent(WPARAM wParam) override;
    LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    LRESULT OnNcHitTest(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    LRESULT OnSysCommand(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    LRESULT OnLButtonDown(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    LRESULT OnLButtonUp(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    LRESULT OnMouseMove(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    LRESULT OnMouseHover(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;

private:
    ~CFloatRecWnd() override = default;  // deletes itself on its final message

    void OnClick(const DuiLib::CDuiString& name);
    void OnCommand(unsigned id);
    void OnRecordStarted();
    void OnRecordStopped();
    void OpenMenu(POINT screen);
    void SetOpacityPercent(int percent);
    void ShowBar();
    void HideBar();
    void ShowMainWindow();
    void ToggleGraffiti(int mode);
    // Hover and leave notices for the bar, the hover 1 ms after the mouse
    // rests, so a docked strip comes back at once.
    void TrackMouse();
    void OnMouseLeave();
    void CollapseToStrip();
    void FadeTick();
    // The detail popups: the recording's details while recording, the hot
    // keys otherwise, while the mouse is on the bar but not on a button.
    void UpdateDetailPopups(POINT client, bool playButtonOnly);
    void CloseDetailPopups();
    bool OnAnyOf(POINT client, const std::initializer_list<DuiLib::CControlUI*>& controls) const;
    SIZE BarSize() const;
    static void SetShown(DuiLib::CControlUI* control, bool shown);

    DuiLib::CControlUI* m_pRoot = nullptr;
    DuiLib::CControlUI* m_pTargetBtn = nullptr;
    DuiLib::CControlUI* m_pPenBtn = nullptr;
    DuiLib::CControlUI* m_pLayeredPenBtn = nullptr;
    DuiLib::CControlUI* m_pPlayBtn = nullptr;
    DuiLib::CControlUI* m_pStopBtn = nullptr;
    DuiLib::CControlUI* m_pPauseBtn = nullptr;
    DuiLib::CControlUI* m_pPauseChangeBtn = nullptr;
    // The LED or the plain label, whichever the program's font allows; the
    // main window writes the time into it.
    DuiLib::CControlUI* m_pTimeLabel = nullptr;

    bool m_bDragging = false;
    POINT m_ptPress = {0, 0};
    POINT m_ptBar = {0, 0};  // the top-left corner as last placed, on the screen
    // The bar may dock: set after a drag, a collapse and a re-expansion.
    bool m_bExpanded = true;
    bool m_bMouseLeft = true;
    RECT m_rcWork = {0, 0, 0, 0};
    RECT m_rcClient = {0, 0, 0, 0};
    double m_dAlpha = 0;
    FloatBarFade m_fade;
};
