#include "core/MainFrameHost.h"

#include "core/MainFrame.h"
#include "core/MessageBoxWindow.h"
#include "core/SystemHelpers.h"

namespace {

class MainFrameHost : public RecordingHost {
public:
    HWND MainWindow() override { return GetMainFrameWindows().main; }
    HWND FloatBarWindow() override { return GetMainFrameWindows().floatBar; }
    HWND WhiteboardWindow() override { return GetMainFrameWindows().whiteboard; }
    HWND CountdownWindow() override { return GetMainFrameWindows().countdown; }

    void MinimizeMainWindow() override
    {
        RunOnMainFrame([](MainFrame& f) { ::ShowWindow(f.GetHWND(), SW_SHOWMINIMIZED); });
    }
    void ShowMainWindowNormal() override
    {
        RunOnMainFrame([](MainFrame& f) { ::ShowWindow(f.GetHWND(), SW_SHOWNORMAL); });
    }
    void ShowCover(const std::string& text) override
    {
        RunOnMainFrame([text](MainFrame& f) {
            f.SetCoverText(text);
            f.ShowCover(true);
        });
    }
    void HideCover() override
    {
        RunOnMainFrame([](MainFrame& f) { f.ShowCover(false); });
    }
    void ShowTip(const std::string& text, int seconds) override { ShowFloatWndTip(text, seconds); }
    void HideTimedStartControl() override
    {
        RunOnMainFrame([](MainFrame& f) { f.ShowControl("show_count_down_btn", false); });
    }
    void HideAutoStopIndicator() override
    {
        RunOnMainFrame([](MainFrame& f) { f.ShowControl("show_auto_stop_btn", false); });
    }
    void CloseCountdownWindow() override
    {
        RunOnMainFrame([](MainFrame& f) { f.CloseCountDownWnd(); });
    }
    void CloseMainWindow() override
    {
        if (HWND main = MainWindow()) PostMessageA(main, WM_CLOSE, 0, 0);
    }
    void EnableSettingsControls() override
    {
        RunOnMainFrame([](MainFrame&) {
            if (GetMainFrameHooks().recordingStateChanged)
                GetMainFrameHooks().recordingStateChanged();
        });
    }
    int AfterStopAction() override
    {
        // A program on its way out starts no new recording.
        MainFrameWindows w = GetMainFrameWindows();
        return !w.main || w.closing ? 0 : (int)w.autoStopAction;
    }
    void ReportError(const std::string& text) override
    {
        RunOnMainFrame([text](MainFrame& f) {
            MessageBoxWindow::Ask(f.GetHWND(), "提示", text, "确定", "", "");
        });
    }
    void OpenFile(const std::string& path) override
    {
        RunOnMainFrame([path](MainFrame&) { OpenUrl(path); });
    }
    void ShutDownComputer() override { WinExec("shutdown -s -f", SW_HIDE); }
};

}  // namespace

RecordingHost& GetMainFrameRecordingHost()
{
    static MainFrameHost host;
    return host;
}
