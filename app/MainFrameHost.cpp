#include "app/MainFrameHost.h"

#include "app/MainFrame.h"
#include "kit/WindowMessages.h"

namespace {

class MainFrameHost : public RecordingHost {
public:
    void MinimizeMainWindow() override
    {
        if (g_pMainFrame) ::ShowWindow(g_pMainFrame->GetHWND(), SW_SHOWMINIMIZED);
    }
    void ShowMainWindowNormal() override
    {
        if (g_pMainFrame) ::ShowWindow(g_pMainFrame->GetHWND(), SW_SHOWNORMAL);
    }
    void ShowCountdown(unsigned secondsLeft) override
    {
        if (!g_pMainFrame) return;
        if (secondsLeft == 0) {
            // "开始!" as the recording starts, then gone before its first frame.
            if (DuiLib::CWindowWnd* countdown = GetWindowTable().Current(WindowId::CountDown))
                countdown->SendMessage(WM_RECORD_STATUS, 0);
            g_pMainFrame->CloseCountDownWnd();
            return;
        }
        // The main window opens the countdown window on its message; the
        // window then counts on its own.
        if (!GetWindowTable().Current(WindowId::CountDown))
            g_pMainFrame->SendMessage(WM_SHOW_COUNTDOWN);
        if (DuiLib::CWindowWnd* countdown = GetWindowTable().Current(WindowId::CountDown))
            countdown->SendMessage(WM_RECORD_STATUS, secondsLeft);
    }
    void ShowTimedStart(bool over) override
    {
        if (g_pMainFrame) g_pMainFrame->SendMessage(WM_TIMED_START_TICK, over ? 1 : 0);
    }
    void HideAutoStopIndicator() override
    {
        if (g_pMainFrame) g_pMainFrame->ShowControl("show_auto_stop_btn", false);
    }
    void ShowCover(const std::string& status) override
    {
        if (!g_pMainFrame) return;
        g_pMainFrame->SetCoverText(status);
        g_pMainFrame->ShowCover(true);
    }
    void HideCover() override
    {
        if (g_pMainFrame) g_pMainFrame->ShowCover(false);
    }
    int AfterStopAction() override
    {
        // A program on its way out starts no new recording.
        return !g_pMainFrame || g_pMainFrame->IsClosing() ? 0
                                                           : (int)g_pMainFrame->GetAutoStopAction();
    }
    void CloseMainWindow() override
    {
        if (g_pMainFrame) g_pMainFrame->PostMessage(WM_CLOSE);
    }
    void ShutDownComputer() override { WinExec("shutdown -s -f", SW_HIDE); }
};

}  // namespace

RecordingHost& GetMainFrameRecordingHost()
{
    static MainFrameHost host;
    return host;
}
