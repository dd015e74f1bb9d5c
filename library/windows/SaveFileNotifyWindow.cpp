#include "library/windows/SaveFileNotifyWindow.h"

#include "core/AppPaths.h"
#include "core/CfgDocument.h"
#include "kit/MainWindow.h"
#include "library/VideoFileActions.h"
#include "library/windows/VideoEditorHandOver.h"
#include "recorder/codecs/RecordingSettings.h"

#include <shellapi.h>

namespace {

// WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION;
// a tool window with a static edge, so it stays off the task bar.
const DWORD kStyle = 0x96C80000;
const DWORD kExStyle = 0x20080;

const char kFolderSuffix[] = "  打开所在文件夹";

}  // namespace

SaveFileNotifyWindow::SaveFileNotifyWindow(HWND, int x, int y, int kind)
    : SkinWindow({"save_file_wnd.xml"}),
      m_x(x),
      m_y(y),
      m_kind(kind == kPicture ? kPicture : kVideo),
      // The notice keeps its own file: a recording saved while it is up
      // does not change what its buttons open.
      m_file(m_kind == kPicture ? GetCurrentScreenshotFile() : GetCurrentVideoFile()),
      m_fade(*this)
{
    Create(nullptr, "SaveFileNotifyWindow", kStyle, kExStyle, 0, 0, 0, 0);
    ShowWindow(true, false);
}

void SaveFileNotifyWindow::InitWindow()
{
    SkinWindow::InitWindow();
    SIZE size = m_PaintManager.GetInitSize();
    ::MoveWindow(m_hWnd, m_x, m_y, size.cx, size.cy, FALSE);
}

void SaveFileNotifyWindow::OnWindowInit()
{
    if (auto* path = Find<DuiLib::CButtonUI>("avi_save_path_btn")) {
        path->SetMultiLine(true);
        const std::string text = m_file + kFolderSuffix;
        path->SetText(text.c_str());
        path->SetToolTip(m_file.c_str());
    }
    if (m_kind == kPicture)
        if (DuiLib::CControlUI* edit = Find("edit_file_btn")) edit->SetVisible(false);
    m_autoOpen = Find<DuiLib::CCheckBoxUI>("auto_open_file_check");
    if (m_autoOpen) m_autoOpen->SetCheck(g_bAutoPlayOnComplete != 0, false);
    m_fade.Start();
    m_initialised = true;
}

POINT SaveFileNotifyWindow::TopLeft() const
{
    RECT rc = {0, 0, 0, 0};
    ::GetWindowRect(m_hWnd, &rc);
    return {rc.left, rc.top};
}

void SaveFileNotifyWindow::OnNotify(DuiLib::TNotifyUI& msg)
{
    const DuiLib::CDuiString name = msg.pSender ? msg.pSender->GetName() : DuiLib::CDuiString();
    if (msg.sType == DUI_MSGTYPE_CLICK) {
        if (name == "avi_save_path_btn") {
            ShowFileInExplorer(m_file);
        } else if (name == "open_file_btn") {
            if (m_kind == kPicture)
                OpenPictureFile(m_file);
            else
                PlayVideoFile(m_file);
        } else if (name == "open_sys_default_btn") {
            ShellExecuteA(nullptr, "open", m_file.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        } else if (name == "edit_file_btn") {
            HandFileToVideoEditor(m_file);
        } else if (name == "convert_btn") {
            POINT at = TopLeft();
            if (MainWindow* main = GetMainWindow()) main->OpenFormatConvertWindow(&at, m_file);
        } else {
            SkinWindow::OnNotify(msg);
        }
    } else if (msg.sType == DUI_MSGTYPE_SELECTCHANGED && name == "auto_open_file_check") {
        if (!m_initialised || !m_autoOpen) return;
        const int play = m_autoOpen->GetCheck() ? 1 : 0;
        g_cfgDocument.SetCfgAutoPlayOnComplete(play);
        g_bAutoPlayOnComplete = play;
    }
}

LRESULT SaveFileNotifyWindow::OnNcHitTest(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    // The system asks for hit tests of its own too (as the window's opacity
    // changes): only the cursor really over the notice holds it.
    if (IsMouseOver()) {
        TRACKMOUSEEVENT track = {sizeof track, TME_HOVER | TME_LEAVE, m_hWnd, 1};
        ::TrackMouseEvent(&track);
        m_fade.OnMouseOver();
    }
    return SkinWindow::OnNcHitTest(uMsg, wParam, lParam, bHandled);
}

LRESULT SaveFileNotifyWindow::HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam,
                                                  BOOL& bHandled)
{
    // The UI library's own timers have ids of 0x10000 and above.
    if (uMsg == WM_TIMER && wParam >= NoticeFade::kFadeInTimer && wParam <= NoticeFade::kHoldTimer) {
        m_fade.OnTimer((int)wParam);
        bHandled = TRUE;
        return 0;
    }
    // The paint manager tracks the mouse too: it gets the message as well.
    if (uMsg == WM_MOUSELEAVE) m_fade.OnMouseLeave();
    return SkinWindow::HandleCustomMessage(uMsg, wParam, lParam, bHandled);
}

void SaveFileNotifyWindow::StartTimer(int id, unsigned periodMs)
{
    ::SetTimer(m_hWnd, (UINT_PTR)id, periodMs, nullptr);
}

void SaveFileNotifyWindow::StopTimer(int id)
{
    ::KillTimer(m_hWnd, (UINT_PTR)id);
}

void SaveFileNotifyWindow::ApplyOpacity(int opacity)
{
    m_PaintManager.SetOpacity((BYTE)opacity);
}

void SaveFileNotifyWindow::CloseNotice()
{
    // Gone from the screen at once; the window itself ends with its
    // close message.
    ::ShowWindow(m_hWnd, SW_HIDE);
    Close();
}

bool SaveFileNotifyWindow::IsMouseOver() const
{
    POINT cursor;
    RECT rc;
    return ::GetCursorPos(&cursor) && ::GetWindowRect(m_hWnd, &rc) && PtInRect(&rc, cursor);
}
