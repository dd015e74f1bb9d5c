#include "drawing/windows/OpenPptWnd.h"

#include "core/UiThread.h"
#include "drawing/Presentations.h"
#include "drawing/windows/WhiteboardWnd.h"
#include "kit/Dialogs.h"
#include "kit/WindowTable.h"

#include <algorithm>
#include <mutex>
#include <vector>

OpenPPTWindow* g_pOpenPptWnd = nullptr;

namespace {

const char kLoadingText[] = "  正在加载PPT,请稍后...";
const char kPptFilter[] = "PowerPoint Files(*.ppt;*.pps;*.pptx)\0*.ppt;*.pps;*.pptx\0\0";
const DWORD kOpenPptStyle = WS_POPUP;
const DWORD kOpenPptExStyle = WS_EX_TOOLWINDOW;

std::mutex g_threadsLock;
std::vector<HANDLE> g_threads;

// The conversion's result is handed to the UI thread, which puts the new
// store in place of the one the windows read and tells the whiteboard.
DWORD WINAPI PptConvertThread(LPVOID param)
{
    std::unique_ptr<std::string> file(static_cast<std::string*>(param));
    auto conversion = std::make_shared<PptConversion>(
        ConvertPresentation(*file, GetPresentationsFolder()));
    RunOnUiThread([conversion] {
        g_pptStore = std::move(conversion->store);
        g_strPptLastError = conversion->result.error;
        if (DuiLib::CWindowWnd* board = GetWindowTable().Current(WindowId::Whiteboard))
            ::PostMessageA(board->GetHWND(), WM_PPT_LOADED, conversion->result.ok ? 0 : 1, 0);
    });
    return 0;
}

}  // namespace

void StartPptConversion(const std::string& file)
{
    auto* param = new std::string(file);
    HANDLE thread = ::CreateThread(nullptr, 0, PptConvertThread, param, 0, nullptr);
    if (!thread) {
        delete param;
        return;
    }
    std::lock_guard<std::mutex> lock(g_threadsLock);
    // Forget the ones that have ended.
    g_threads.erase(std::remove_if(g_threads.begin(), g_threads.end(),
                                   [](HANDLE h) {
                                       if (::WaitForSingleObject(h, 0) != WAIT_OBJECT_0)
                                           return false;
                                       ::CloseHandle(h);
                                       return true;
                                   }),
                    g_threads.end());
    g_threads.push_back(thread);
}

void WaitForPptConversions(DWORD timeoutMs)
{
    std::vector<HANDLE> threads;
    {
        std::lock_guard<std::mutex> lock(g_threadsLock);
        threads.swap(g_threads);
    }
    for (HANDLE h : threads) {
        ::WaitForSingleObject(h, timeoutMs);
        ::CloseHandle(h);
    }
}

OpenPPTWindow* OpenPPTWindow::Open(CWhiteboardWnd* owner, int x, int y)
{
    auto* window = new OpenPPTWindow(owner, x, y);
    if (!window->Create(nullptr, "OpenPPTWindow", kOpenPptStyle, kOpenPptExStyle, 0, 0, 0, 0)) {
        delete window;
        return nullptr;
    }
    g_pOpenPptWnd = window;
    return window;
}

OpenPPTWindow::OpenPPTWindow(CWhiteboardWnd* owner, int x, int y)
    : SkinWindow({"open_ppt_wnd.xml"}), m_pOwner(owner), m_ptOpen{x, y}
{
}

void OpenPPTWindow::InitWindow()
{
    SkinWindow::InitWindow();
    SIZE size = m_PaintManager.GetInitSize();
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, m_ptOpen.x, m_ptOpen.y, size.cx, size.cy, SWP_SHOWWINDOW);
    ::SetForegroundWindow(m_hWnd);
    ::SetFocus(m_hWnd);
}

void OpenPPTWindow::OnWindowInit()
{
    g_pptStore.Rescan();
    m_pList = Find<DuiLib::CListUI>("pptlist");
    if (!m_pList) return;
    for (int i = 0; i < g_pptStore.Count(); ++i) {
        auto* row = new DuiLib::CListTextElementUI;
        m_pList->Add(row);
        row->SetText(0, g_pptStore.GetName(i).c_str());
        row->SetUserData(g_pptStore.GetName(i).c_str());
    }
    if (m_pList->GetCount() > 0) m_pList->SelectItem(0);
}

void OpenPPTWindow::OnEnded()
{
    if (g_pOpenPptWnd == this) g_pOpenPptWnd = nullptr;
}

void OpenPPTWindow::OnNotify(DuiLib::TNotifyUI& msg)
{
    const std::string name = msg.pSender ? msg.pSender->GetName().Str() : "";
    if (msg.sType == DUI_MSGTYPE_CLICK && name == "open_new_ppt_btn") {
        ChooseFile();
        return;
    }
    if (msg.sType == DUI_MSGTYPE_ITEMACTIVATE && msg.pSender) {
        bool loaded = g_pptStore.LoadSlides(msg.pSender->GetUserData().Str());
        if (!loaded) g_strPptLastError = kPptNoGifText;
        if (m_pOwner && GetWindowTable().Current(WindowId::Whiteboard))
            ::PostMessageA(m_pOwner->GetHWND(), WM_PPT_LOADED, loaded ? 0 : 1, 0);
        return;
    }
    SkinWindow::OnNotify(msg);
}

void OpenPPTWindow::ChooseFile()
{
    std::string path;
    m_bDialogOpen = true;
    bool chosen = AskOpenFile(m_hWnd, kPptFilter, &path);
    m_bDialogOpen = false;
    if (chosen && m_pOwner && GetWindowTable().Current(WindowId::Whiteboard)) {
        m_pOwner->ShowMessage(kLoadingText, false);
        StartPptConversion(path);
    }
    Close();
}

LRESULT OpenPPTWindow::HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam,
                                           BOOL& bHandled)
{
    if (uMsg == WM_ACTIVATE && LOWORD(wParam) == WA_INACTIVE && !m_bDialogOpen) {
        // Focus gone elsewhere (not to a window of ours).
        Close();
    }
    return SkinWindow::HandleCustomMessage(uMsg, wParam, lParam, bHandled);
}
