#include "recorder/windows/CountDownWnd.h"

#include "core/HotKeyTable.h"
#include "kit/WindowMessages.h"

#include <string>

namespace {

const DWORD kCountDownStyle = 0x96C80000;  // popup, caption, system menu, clipping
const DWORD kCountDownExStyle = WS_EX_STATICEDGE | WS_EX_TOOLWINDOW | WS_EX_TOPMOST;

// Which hot key each line names, and how.
const struct {
    const char* prefix;
    int entry;  // index in the hot-key table
} kHotKeyLines[] = {
    {"开始/停止: ", 0},
    {"暂停/恢复: ", 1},
    {"实时涂鸦: ", 3},
    {"局部放大: ", 5},
};

}  // namespace

CountDownWnd::CountDownWnd() : SkinWindow({"countdown_wnd.xml"})
{
    Create(nullptr, "CountDownWnd", kCountDownStyle & ~WS_VISIBLE, kCountDownExStyle);
    // Shown without taking the keyboard: the user may be about to record
    // the window that has it.
    ShowWindow(true, false);
}

std::string CountDownWnd::HotKeyLine(int line)
{
    if (line < 0 || line >= (int)(sizeof kHotKeyLines / sizeof kHotKeyLines[0])) return "";
    return kHotKeyLines[line].prefix + g_hotKeyTable.entries[kHotKeyLines[line].entry].vkeystr;
}

void CountDownWnd::InitWindow()
{
    SkinWindow::InitWindow();
    CenterWindow();
}

void CountDownWnd::OnWindowInit()
{
    m_pCountdown = Find("countdown_lb");
    m_pMicStatus = Find("mic_status_lb");
    m_pSpeakerStatus = Find("speaker_status_lb");
    m_pGratific = Find("gratific_lb");
    m_pRecModel = Find("rec_model_lb");
    DuiLib::CControlUI* lines[] = {m_pMicStatus, m_pSpeakerStatus, m_pGratific, m_pRecModel};
    for (int i = 0; i < 4; ++i)
        if (lines[i]) lines[i]->SetText(HotKeyLine(i).c_str());
}

LRESULT CountDownWnd::HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM, BOOL& bHandled)
{
    if (uMsg != WM_RECORD_STATUS) return 0;
    bHandled = TRUE;
    if (!m_pCountdown) m_pCountdown = Find("countdown_lb");
    if (m_pCountdown)
        m_pCountdown->SetText(wParam == 0 ? "开始!" : std::to_string((unsigned)wParam).c_str());
    // The countdown thread waits for each tick: the number is on the screen
    // before the next second starts counting.
    ::UpdateWindow(m_hWnd);
    return 0;
}
