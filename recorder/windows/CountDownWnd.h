// The countdown before a recording starts: the seconds left in large
// digits ("开始!" at the end) and the hot keys of the moment, so the user
// knows how to stop, pause, draw and zoom. The main window opens it when
// the countdown begins and closes it when the countdown ends.
//
// UI thread only.
#pragma once

#include "kit/SkinWindow.h"

class CountDownWnd : public SkinWindow {
public:
    // Creates and shows the window.
    CountDownWnd();

    // The texts of the four hot-key lines, from the hot-key table.
    static std::string HotKeyLine(int line);

protected:
    LPCSTR GetWindowClassName() const override { return "CountDownWnd"; }
    void InitWindow() override;
    void OnWindowInit() override;
    // WM_RECORD_STATUS: wParam is the seconds left.
    LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;

private:
    DuiLib::CControlUI* m_pCountdown = nullptr;
    DuiLib::CControlUI* m_pMicStatus = nullptr;
    DuiLib::CControlUI* m_pSpeakerStatus = nullptr;
    DuiLib::CControlUI* m_pRecModel = nullptr;
    DuiLib::CControlUI* m_pGratific = nullptr;
};
