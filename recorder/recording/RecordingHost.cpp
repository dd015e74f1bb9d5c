#include "recorder/recording/RecordingHost.h"

#include <atomic>

namespace {

// Until a main window takes over, a recording talks to nobody.
class NoHost : public RecordingHost {
public:
    HWND MainWindow() override { return nullptr; }
    HWND FloatBarWindow() override { return nullptr; }
    HWND WhiteboardWindow() override { return nullptr; }
    HWND CountdownWindow() override { return nullptr; }
    void MinimizeMainWindow() override {}
    void ShowMainWindowNormal() override {}
    void ShowCover(const std::string&) override {}
    void HideCover() override {}
    void ShowTip(const std::string&, int) override {}
    void HideTimedStartControl() override {}
    void HideAutoStopIndicator() override {}
    void CloseCountdownWindow() override {}
    void CloseMainWindow() override {}
    void EnableSettingsControls() override {}
    int AfterStopAction() override { return 0; }
    void ReportError(const std::string&) override {}
    void OpenFile(const std::string&) override {}
    void ShutDownComputer() override {}
};

NoHost g_noHost;
std::atomic<RecordingHost*> g_host{&g_noHost};

}  // namespace

void SetRecordingHost(RecordingHost* host)
{
    g_host = host ? host : &g_noHost;
}

RecordingHost* GetRecordingHost()
{
    return g_host;
}
