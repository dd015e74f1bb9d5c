// Lets an end-to-end test read what the main window keeps outside its
// controls (the tray icon and menu, timer 2) and end the tray menu, while
// the harness has the test hooks on. Answers in the UI probe's format
// (platform/ui/UIProbeProtocol.h).

#include "app/LedFont.h"
#include "app/MainFrame.h"
#include "app/MainFrameProbe.h"
#include "kit/DialogAnswerProtocol.h"
#include "kit/Dialogs.h"
#include "platform/ui/UIProbeProtocol.h"
#include "recorder/Zoom.h"
#include "recorder/recording/RecordingState.h"
#include "settings/UpdateCheck.h"

#include <string>

namespace {

void Put(std::string& out, const char* key, const std::string& value)
{
    out.append(key);
    out.push_back('\0');
    out.append(value);
    out.push_back('\0');
}

}  // namespace

bool MainFrame::HandleTestProbe(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_COPYDATA) {
        const auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (!cds || cds->dwData != kDialogAnswerTag) return false;
        return QueueDialogAnswerFromPayload(
            std::string(static_cast<const char*>(cds->lpData), cds->cbData));
    }
    static const UINT probe = RegisterWindowMessageA(kMainFrameProbeMessage);
    if (uMsg != probe) return false;
    if (lParam == kMainFrameProbeEndMenu) {
        EndMenu();
        return true;
    }
    if (lParam == kMainFrameProbeShowCover || lParam == kMainFrameProbeHideCover) {
        SetCoverText(lParam == kMainFrameProbeShowCover ? "正在保存，请稍后..." : "");
        ShowCover(lParam == kMainFrameProbeShowCover);
        return true;
    }
    std::string out;
    Put(out, "tip", m_tray.tip());
    Put(out, "tray_added", m_tray.added() ? "1" : "0");
    Put(out, "tray_adds", std::to_string(m_tray.addCount()));
    Put(out, "timer2", m_bTimer2Running ? "1" : "0");
    Put(out, "recorded_ms", std::to_string(g_recordStats.elapsedMs.load()));
    Put(out, "frames_written", std::to_string(g_recordStats.framesWritten.load()));
    for (UINT command : {kTrayStart, kTrayPause, kTrayStop, kTrayExit})
        Put(out, ("menu_" + std::to_string(command)).c_str(),
            m_tray.CommandState(command) == MF_GRAYED ? "grayed" : "enabled");
    Put(out, "skin", m_skinBackgroundFile.Str());
    Put(out, "led", g_bLedFont ? "1" : "0");
    Put(out, "closing", m_bClosing ? "1" : "0");
    Put(out, "float_shown", std::to_string(m_bFloatWndShown));
    Put(out, "zoom_x", std::to_string(g_ptZoomCenter.x));
    Put(out, "zoom_y", std::to_string(g_ptZoomCenter.y));
    Put(out, "zoom_tick", std::to_string(g_dwZoomTick));
    Put(out, "dialog_answers", std::to_string(PendingDialogAnswers()));
    Put(out, "update_check", UpdateCheckStateName(GetUpdateCheckState()));
    RECT capture = GetCaptureRect();
    Put(out, "capture",
        std::to_string(capture.left) + "," + std::to_string(capture.top) + "," +
            std::to_string(capture.right) + "," + std::to_string(capture.bottom));
    Put(out, "record_mode", std::to_string(g_nRecordMode.load()));
    Put(out, "follow", std::to_string(g_bFollowWindow.load()));
    Put(out, "notices", m_noticesAsked);
    HWND reply = reinterpret_cast<HWND>(wParam);
    if (IsWindow(reply)) {
        COPYDATASTRUCT cds = {};
        cds.dwData = orbisk_ui_probe::kUiProbeReplyTag;
        cds.cbData = (DWORD)out.size();
        cds.lpData = &out[0];
        ::SendMessageA(reply, WM_COPYDATA, (WPARAM)m_hWnd, (LPARAM)&cds);
    }
    return true;
}
