#include "kit/SkinWindow.h"

#include "kit/WindowMessages.h"
#include "kit/WindowTable.h"

#include <mutex>
#include <set>

namespace {

// The program icon of every window and the skin package resource.
const UINT kAppIcon = 107;
const WORD kSkinPackage = 130;

std::mutex g_missingLock;
std::set<std::string> g_missing;

}  // namespace

SkinWindow::SkinWindow(const Frame& frame) : m_frame(frame) {}

SkinWindow::~SkinWindow() = default;

DuiLib::CDuiString SkinWindow::GetSkinFolder()
{
    return m_frame.skinFolder ? m_frame.skinFolder : "";
}

DuiLib::CDuiString SkinWindow::GetSkinFile()
{
    return m_frame.layout ? m_frame.layout : "";
}

DuiLib::UILIB_RESOURCETYPE SkinWindow::GetResourceType() const
{
    return DuiLib::UILIB_ZIPRESOURCE;
}

LPCSTR SkinWindow::GetResourceID() const
{
    return MAKEINTRESOURCEA(kSkinPackage);
}

void SkinWindow::InitWindow()
{
    SetIcon(kAppIcon);
}

void SkinWindow::Notify(DuiLib::TNotifyUI& msg)
{
    if (msg.sType == DUI_MSGTYPE_WINDOWINIT) {
        if (m_frame.skinRoot) {
            // The program hands the library the main window's file; without
            // one (a window alone in a test) there is no skin to wear.
            SkinBackgroundFn skin = GetSkinBackgroundHook();
            ApplySkinBackgroundFile(skin ? skin() : ::GetSkinBackgroundFile());
        }
        if (m_frame.followsRecording && !m_subscribed) {
            SubscribeRecordingEvents(this);
            m_subscribed = true;
        }
        OnWindowInit();
        return;
    }
    OnNotify(msg);
}

void SkinWindow::OnNotify(DuiLib::TNotifyUI& msg)
{
    WindowImplBase::Notify(msg);
}

void SkinWindow::OnFinalMessage(HWND hWnd)
{
    WindowImplBase::OnFinalMessage(hWnd);
    if (m_subscribed) UnsubscribeRecordingEvents(this);
    m_subscribed = false;
    // Whoever kept the window lets it go before it is deleted.
    GetWindowTable().Forget(this);
    OnEnded();
    delete this;
}

void SkinWindow::ApplySkinBackgroundFile(const DuiLib::CDuiString& file)
{
    if (!m_frame.skinRoot) return;
    if (DuiLib::CControlUI* root = m_PaintManager.FindControl(m_frame.skinRoot))
        root->SetBkImage(TiledSkinImage(file));
}

void SkinWindow::MoveTo(POINT at)
{
    ::SetWindowPos(m_hWnd, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SkinWindow::ReportMissing(const char* name, bool otherKind)
{
    std::string key = std::string(GetWindowClassName()) + ": " + (name ? name : "");
    {
        std::lock_guard<std::mutex> lock(g_missingLock);
        if (!g_missing.insert(key).second) return;
    }
    DuiLib::UiLogError(otherKind ? "window \"%s\": control \"%s\" of \"%s\" is not of the kind looked for"
                                 : "window \"%s\": no control \"%s\" in \"%s\"",
                       GetWindowClassName(), name ? name : "", m_frame.layout ? m_frame.layout : "");
}

std::vector<std::string> SkinWindow::MissingControls()
{
    std::lock_guard<std::mutex> lock(g_missingLock);
    return std::vector<std::string>(g_missing.begin(), g_missing.end());
}

void SkinWindow::OnRecordingStarted()
{
    if (m_hWnd) PostMessage(WM_RECORD_STARTED);
}

void SkinWindow::OnRecordingStopped()
{
    if (m_hWnd) PostMessage(WM_RECORD_STOPPED);
}

void SkinWindow::OnPauseBlink(WPARAM phase)
{
    if (m_hWnd) PostMessage(WM_PAUSE_BLINK, phase);
}

void SkinWindow::OnRecordingStatus()
{
    if (m_hWnd) PostMessage(WM_RECORD_STATUS);
}
