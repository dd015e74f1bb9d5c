#include "settings/DetailPopupWnd.h"

#include "core/CfgDocument.h"
#include "core/HotKeyTable.h"
#include "kit/WindowMessages.h"
#include "kit/WindowTable.h"
#include "recorder/audio/AudioEndpoints.h"
#include "recorder/recording/RecordStatus.h"
#include "settings/DetailPopupPlacement.h"
#include "settings/InfoTexts.h"

#include <new>

namespace {

// WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU: made
// hidden and shown beside the bar without being activated, so that the
// mouse passing over the bar never takes the keyboard from the user's work.
const DWORD kStyle = 0x96C80000 & ~WS_VISIBLE;
const DWORD kExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
// Hover comes as soon as the mouse rests on the popup.
const DWORD kHoverMs = 1;

void SetLine(DuiLib::CControlUI* label, const std::string& text)
{
    if (label) label->SetText(text.c_str());
}

template <class Popup>
DuiLib::CWindowWnd* ShowBesideBar(HWND bar)
{
    auto* popup = new (std::nothrow) Popup();
    if (!popup) return nullptr;
    if (!::IsWindow(popup->GetHWND())) {
        delete popup;
        return nullptr;
    }
    // A popup that could not be placed ends and deletes itself.
    return popup->ShowBeside(bar) ? popup : nullptr;
}

}  // namespace

// --- Common part ------------------------------------------------------------------

DetailPopupWnd::DetailPopupWnd(const Frame& frame) : SkinWindow(frame) {}

void DetailPopupWnd::CreateHidden(const char* title)
{
    Create(nullptr, title, kStyle, kExStyle, 0, 0, CW_USEDEFAULT, CW_USEDEFAULT);
}

bool DetailPopupWnd::ShowBeside(HWND bar)
{
    RECT anchor;
    if (!bar || !::GetWindowRect(bar, &anchor)) {
        ::DestroyWindow(m_hWnd);
        return false;
    }
    int percent = 70;
    g_cfgDocument.GetCfgFloatWndOpacity(&percent);
    m_PaintManager.SetOpacity(DetailPopupAlpha(percent));

    const SIZE size = m_PaintManager.GetInitSize();
    const POINT at = DetailPopupOrigin(anchor, size, ::GetSystemMetrics(SM_CYSCREEN));
    // The bar goes to the top first, while this window is still hidden:
    // under Wine the X server's stacking follows only a window that goes to
    // the top, and a window the X server shows above another is raised
    // above it in the window order too. So the popup shows behind the bar
    // on the screen as well as in the window order.
    ::SetWindowPos(bar, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ::SetWindowPos(m_hWnd, bar, at.x, at.y, size.cx, size.cy, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    return true;
}

LRESULT DetailPopupWnd::HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    if (uMsg == WM_MOUSEMOVE) {
        // The controls first: their own tracking asks for the default hover
        // time, which ours then replaces.
        LRESULT result = 0;
        m_PaintManager.MessageHandler(uMsg, wParam, lParam, result);
        TRACKMOUSEEVENT tme = {sizeof tme, TME_HOVER | TME_LEAVE, m_hWnd, kHoverMs};
        ::TrackMouseEvent(&tme);
        bHandled = TRUE;
        return result;
    }
    if (uMsg == WM_MOUSEHOVER) OnMouseRest();
    if (uMsg == WM_MOUSELEAVE) OnMouseGone();
    return SkinWindow::HandleCustomMessage(uMsg, wParam, lParam, bHandled);
}

void DetailPopupWnd::CloseAs(WindowId id)
{
    WindowTable& table = GetWindowTable();
    if (table.Current(id) == this)
        table.Close(id);
    else
        Close(1);
}

// --- Recording details ---------------------------------------------------------------

RecDetailWnd::RecDetailWnd()
    : DetailPopupWnd({"rec_detail_wnd.xml", "root_layout", /*followsRecording=*/true})
{
    CreateHidden("RecDetailWnd");
}

void RecDetailWnd::OnWindowInit()
{
    m_pTime = Find("detail_lab_rec_time");
    m_pSize = Find("detail_lab_rec_size");
    m_pFrame = Find("detail_lab_rec_frame");
    m_pAudio = Find("detail_lab_rec_audio_state");
    m_pDiskSpace = Find("detail_lab_rec_remaining_size");
    RefreshDetails();
}

void RecDetailWnd::RefreshDetails()
{
    // The status thread writes the texts; this is a copy taken under its
    // lock, and the labels change here on the UI thread only.
    RecDetailLines lines = MakeRecDetailLines(GetRecordStatusTexts(), GetMicMute() != FALSE,
                                              GetSpeakerMute() != FALSE);
    SetLine(m_pTime, lines.time);
    SetLine(m_pSize, lines.size);
    SetLine(m_pFrame, lines.frameRate);
    SetLine(m_pAudio, lines.audio);
    SetLine(m_pDiskSpace, lines.diskSpace);
}

LRESULT RecDetailWnd::HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    if (uMsg == WM_RECORD_STATUS) RefreshDetails();
    return DetailPopupWnd::HandleCustomMessage(uMsg, wParam, lParam, bHandled);
}

void RecDetailWnd::OnMouseGone()
{
    CloseAs(WindowId::RecDetail);
}

// --- Hot keys --------------------------------------------------------------------------

StateDetailWnd::StateDetailWnd() : DetailPopupWnd({"state_detail_wnd.xml"})
{
    CreateHidden("StateDetailWnd");
}

void StateDetailWnd::OnWindowInit()
{
    for (const HotKeyLine& line : HotKeyStateLines(g_hotKeyTable))
        SetLine(Find(line.label), line.text);
}

void StateDetailWnd::OnMouseRest()
{
    CloseAs(WindowId::StateDetail);
}

DuiLib::CWindowWnd* ShowRecDetailWnd(HWND bar)
{
    return ShowBesideBar<RecDetailWnd>(bar);
}

DuiLib::CWindowWnd* ShowStateDetailWnd(HWND bar)
{
    return ShowBesideBar<StateDetailWnd>(bar);
}
