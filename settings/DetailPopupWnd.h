// The two popups the floating recording bar shows beside itself while the
// mouse rests on it: RecDetailWnd (the running recording) and
// StateDetailWnd (the hot keys). Both take the bar's window as their
// anchor: they appear at its corner, directly behind it, as opaque as the
// bar is configured, without taking the focus from the user's work, and
// they watch the mouse over themselves (hover and leave, 1 ms).
#pragma once

#include "kit/SkinWindow.h"
#include "kit/WindowTable.h"

class DetailPopupWnd : public SkinWindow {
public:
    // Places the made window beside the bar and shows it; false when there
    // is no bar to place it by (the window is then closed).
    bool ShowBeside(HWND bar);

protected:
    explicit DetailPopupWnd(const Frame& frame);
    // Makes the native window, hidden; the most derived class calls it.
    void CreateHidden(const char* title);

    LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    // The mouse rests on the popup, or has left it.
    virtual void OnMouseRest() {}
    virtual void OnMouseGone() {}
    // Closes the popup and lets go of it in the window table at once, so
    // the bar may open a new one before this one has quite gone.
    void CloseAs(WindowId id);
};

// The details of the running recording, refreshed on every status tick.
class RecDetailWnd : public DetailPopupWnd {
public:
    RecDetailWnd();
    void RefreshDetails();

protected:
    LPCSTR GetWindowClassName() const override { return "RecDetailWnd"; }
    void OnWindowInit() override;
    LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    void OnMouseGone() override;

private:
    DuiLib::CControlUI* m_pTime = nullptr;
    DuiLib::CControlUI* m_pSize = nullptr;
    DuiLib::CControlUI* m_pFrame = nullptr;
    DuiLib::CControlUI* m_pAudio = nullptr;
    DuiLib::CControlUI* m_pDiskSpace = nullptr;
};

// The hot keys as the table holds them when it opens.
class StateDetailWnd : public DetailPopupWnd {
public:
    StateDetailWnd();

protected:
    LPCSTR GetWindowClassName() const override { return "StateDetailWnd"; }
    void OnWindowInit() override;
    void OnMouseRest() override;
};

// The openers the settings module registers: the request's owner is the
// floating bar. Null when no popup could be made or placed.
DuiLib::CWindowWnd* ShowRecDetailWnd(HWND bar);
DuiLib::CWindowWnd* ShowStateDetailWnd(HWND bar);
