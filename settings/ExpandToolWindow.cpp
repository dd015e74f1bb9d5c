#include "settings/ExpandToolWindow.h"

#include "core/CfgDocument.h"
#include "core/HelpPage.h"
#include "core/SystemHelpers.h"
#include "kit/MainWindow.h"
#include "kit/WindowMessages.h"
#include "recorder/recording/RecordingState.h"
#include "settings/SettingsChoices.h"
#include "settings/UpdateFeed.h"

namespace {

// WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU
const DWORD kStyle = 0x96C80000;
const DWORD kExStyle = WS_EX_STATICEDGE | WS_EX_TOOLWINDOW;

const char* const kTabOptions[] = {"conventional_btn", "av_setting_btn", "about_btn"};

HWND MainWindowHandle()
{
    MainWindow* main = GetMainWindow();
    return main ? main->Handle() : nullptr;
}

}  // namespace

ExpandToolWindow::ExpandToolWindow(HWND /*parent*/, int x, int y)
    : SkinWindow({"expand_tool.xml", "root_layout", /*followsRecording=*/true}), m_x(x), m_y(y)
{
    Create(nullptr, "ExpandToolWindow", kStyle, kExStyle, x, y, 0, 0);
    ShowWindow(true);
}

void ExpandToolWindow::InitWindow()
{
    SkinWindow::InitWindow();
    SIZE size = m_PaintManager.GetInitSize();
    ::MoveWindow(m_hWnd, m_x, m_y, size.cx, size.cy, FALSE);
}

void ExpandToolWindow::OnWindowInit()
{
    m_pTabs = Find<DuiLib::CTabLayoutUI>("tabs");
    m_pCountdown = Find<DuiLib::CComboUI>("start_rec_countdown_combox");
    m_pImageType = Find<DuiLib::CComboUI>("save_img_type_combox");
    m_pFrameRate = Find<DuiLib::CComboUI>("rec_frame_rate_combox");
    m_pCodec = Find<DuiLib::CComboUI>("select_codec_type_combox");
    m_pQuality = Find<DuiLib::CComboUI>("select_video_qulity_combox");
    m_pRecMode = Find<DuiLib::CComboUI>("rec_mode_type_combox");
    m_pHideFloatWnd = Find<DuiLib::CCheckBoxUI>("fullscreen_rec_hide_float_wnd_opt");
    m_pAutoStart = Find<DuiLib::CCheckBoxUI>("auto_start_opt");
    m_pMainTopmost = Find<DuiLib::CCheckBoxUI>("main_frame_mosttop_opt");
    m_pRecordingNote = Find("recording_note_lab");

    if (auto* about = Find<DuiLib::CLabelUI>("about_lab")) {
        about->SetMultiLine(true);
        about->SetText(AboutText().c_str());
    }
    if (auto* promise = Find<DuiLib::CLabelUI>("user_promise_lab")) {
        promise->SetMultiLine(true);
        promise->SetText(UserPromiseText().c_str());
    }
    if (auto* home = Find("home_url_btn")) home->SetToolTip(HelpPagePath().c_str());

    // Showing the settings is not choosing them: the selections below fire
    // their events before m_initialised is set, and the check boxes are set
    // without one.
    ShownSettings shown = ReadShownSettings(g_cfgDocument);
    if (m_pHideFloatWnd) m_pHideFloatWnd->SetCheck(shown.hideFloatWnd, false);
    if (m_pAutoStart) m_pAutoStart->SetCheck(IsStartingWithWindows(), false);
    if (m_pMainTopmost) {
        HWND main = MainWindowHandle();
        bool topmost = main && (::GetWindowLongA(main, GWL_EXSTYLE) & WS_EX_TOPMOST);
        m_pMainTopmost->SetCheck(topmost, false);
    }
    Select(m_pCountdown, shown.countdown);
    Select(m_pImageType, shown.imageType);
    Select(m_pFrameRate, shown.frameRate);
    Select(m_pCodec, shown.codecType);
    Select(m_pQuality, shown.quality);
    Select(m_pRecMode, shown.recMode);
    m_initialised = true;

    FollowRecording();
}

void ExpandToolWindow::Select(DuiLib::CComboUI* combo, int index)
{
    if (!combo) return;
    combo->SetVisible(true);
    // A saved value without an item (a rate of 30, a quality of 2) shows as
    // no choice; the setting itself is left as it is.
    combo->SelectItem(index);
}

void ExpandToolWindow::OnNotify(DuiLib::TNotifyUI& msg)
{
    if (!msg.pSender) {
        SkinWindow::OnNotify(msg);
        return;
    }
    if (msg.sType == DUI_MSGTYPE_ITEMSELECT) {
        if (m_initialised) OnItemSelect(*msg.pSender, (int)msg.wParam);
        return;
    }
    if (msg.sType == DUI_MSGTYPE_SELECTCHANGED) {
        OnSelectChanged(*msg.pSender);
        return;
    }
    if (msg.sType == DUI_MSGTYPE_CLICK && msg.pSender->GetName() == "home_url_btn") {
        // The program's page is its help page in the program folder.
        OpenHelpPage();
        return;
    }
    SkinWindow::OnNotify(msg);
}

void ExpandToolWindow::OnItemSelect(DuiLib::CControlUI& sender, int index)
{
    if (&sender == m_pCountdown)
        ChooseCountdown(index);
    else if (&sender == m_pImageType)
        ChooseImageType(index);
    else if (&sender == m_pFrameRate)
        ChooseFrameRate(index);
    else if (&sender == m_pQuality)
        ChooseQuality(index);
    else if (&sender == m_pCodec)
        ChooseCodec(index);
    else if (&sender == m_pRecMode)
        ChooseRecMode(index);
}

void ExpandToolWindow::OnSelectChanged(DuiLib::CControlUI& sender)
{
    for (int page = 0; page < 3; ++page) {
        if (sender.GetName() == kTabOptions[page]) {
            if (m_pTabs && m_pTabs->GetCurSel() != page) m_pTabs->SelectItem(page);
            return;
        }
    }
    if (&sender == m_pHideFloatWnd) {
        ChooseHideFloatWnd(m_pHideFloatWnd->GetCheck());
    } else if (&sender == m_pAutoStart) {
        // The box shows what the registry holds afterwards, refused or not.
        SetStartingWithWindows(m_pAutoStart->GetCheck());
        m_pAutoStart->SetCheck(IsStartingWithWindows(), false);
    } else if (&sender == m_pMainTopmost) {
        if (HWND main = MainWindowHandle())
            ::SetWindowPos(main, m_pMainTopmost->GetCheck() ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0,
                           0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void ExpandToolWindow::FollowRecording()
{
    const bool idle = g_bRecording == 0;
    for (DuiLib::CComboUI* combo : {m_pFrameRate, m_pCodec, m_pQuality, m_pRecMode})
        if (combo) combo->SetEnabled(idle);
    if (m_pRecordingNote) m_pRecordingNote->SetVisible(!idle);
}

LRESULT ExpandToolWindow::HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam,
                                              BOOL& bHandled)
{
    // The events arrive as posted messages; by then the flag says what is
    // true now, whatever happened in between.
    if (uMsg == WM_RECORD_STARTED || uMsg == WM_RECORD_STOPPED) FollowRecording();
    return SkinWindow::HandleCustomMessage(uMsg, wParam, lParam, bHandled);
}

void ExpandToolWindow::OnRecordingFailed(const std::string&)
{
    // A recording that breaks off or never starts sends no stop.
    FollowRecording();
}
