#include "settings/UpdateLogWindow.h"

#include "core/ProgramFolder.h"
#include "core/SystemMessageBox.h"
#include "kit/MainWindow.h"
#include "recorder/recording/RecordingState.h"
#include "settings/UpdateFeed.h"

#include <cstdio>
#include <vector>

namespace {

// WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU
const DWORD kStyle = 0x96C80000;

const char kTitlePrefix[] = "升级日志,将升级到 V";
const char kRecordingRefusal[] = "您正在录制视频，请保存录制视频后再进行升级。";
const char kUpdaterMissing[] = "找不到升级程序 update.exe，无法升级。\r\n请到 Orbisk 官方网站下载新版本安装。";
const char kUpdaterFailed[] = "升级程序 update.exe 无法启动（错误 %lu），请到 Orbisk 官方网站下载新版本安装。";

// Anything but idle: the updater may end the program, and a recording
// still being written or saved would be lost with it.
bool RecordingBusy()
{
    return g_bRecording || g_bPaused || GetRecordPhase() != RecordPhase::Idle;
}

}  // namespace

std::string UpdaterCommandLine(HWND mainWindow)
{
    char text[32];
    snprintf(text, sizeof text, "%ld", (long)(LONG_PTR)mainWindow);
    return text;
}

std::string UpdaterPath()
{
    return GetProgramFolder() + "\\update.exe";
}

UpdateLogWindow::UpdateLogWindow(int x, int y)
    : SkinWindow({"update_log_wnd.xml"}), m_x(x), m_y(y)
{
    Create(nullptr, "UpdateLogWindow", kStyle, WS_EX_TOOLWINDOW, x, y, 0, 0);
    ShowWindow(true);
}

void UpdateLogWindow::InitWindow()
{
    SkinWindow::InitWindow();
    SIZE size = m_PaintManager.GetInitSize();
    ::MoveWindow(m_hWnd, m_x, m_y, size.cx, size.cy, FALSE);
}

void UpdateLogWindow::OnWindowInit()
{
    if (auto* log = Find<DuiLib::CLabelUI>("log_info_lab")) {
        log->SetMultiLine(true);
        log->SetText(g_updateInfo.log.c_str());
    }
    if (auto* title = Find<DuiLib::CLabelUI>("titleName"))
        title->SetText((kTitlePrefix + g_updateInfo.version).c_str());
}

void UpdateLogWindow::OnNotify(DuiLib::TNotifyUI& msg)
{
    if (msg.sType == DUI_MSGTYPE_CLICK && msg.pSender && msg.pSender->GetName() == "update_btn") {
        if (RecordingBusy()) {
            ShowSystemMessageBox(m_hWnd, kRecordingRefusal, "提示", MB_OK);
            return;
        }
        StartUpdater();
        Close(1);
        return;
    }
    SkinWindow::OnNotify(msg);
}

void UpdateLogWindow::StartUpdater()
{
    const std::string program = UpdaterPath();
    if (GetFileAttributesA(program.c_str()) == INVALID_FILE_ATTRIBUTES) {
        ShowSystemMessageBox(m_hWnd, kUpdaterMissing, "提示", MB_OK | MB_ICONWARNING);
        return;
    }
    MainWindow* main = GetMainWindow();
    std::string args = UpdaterCommandLine(main ? main->Handle() : nullptr);
    // CreateProcessA may write into the command line.
    std::vector<char> commandLine(args.begin(), args.end());
    commandLine.push_back('\0');
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                        CREATE_NEW_CONSOLE, nullptr, nullptr, &si, &pi)) {
        char text[256];
        snprintf(text, sizeof text, kUpdaterFailed, GetLastError());
        ShowSystemMessageBox(m_hWnd, text, "提示", MB_OK | MB_ICONWARNING);
        return;
    }
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
}
