#include "drawing/windows/ScrShotWnd.h"

#include "core/AppPaths.h"
#include "core/SystemHelpers.h"
#include "drawing/BitmapHelpers.h"
#include "drawing/windows/CaptureEditWnd.h"
#include "drawing/windows/ShotPlacement.h"
#include "drawing/windows/ShotScreenToolWnd.h"
#include "kit/Dialogs.h"
#include "kit/MainWindow.h"
#include "kit/WindowMessages.h"
#include "kit/WindowTable.h"

namespace {

const char kSaveFailed[] = "截屏保存失败：";

}  // namespace

CScrShotWnd* GetScrShotWnd()
{
    if (auto* open = dynamic_cast<CScrShotWnd*>(GetWindowTable().Current(WindowId::ScreenShot)))
        if (::IsWindow(open->GetHWND())) return open;
    auto* selector = new CScrShotWnd;
    GetWindowTable().Hold(WindowId::ScreenShot, selector);
    return selector;
}

CScrShotWnd::CScrShotWnd() = default;

void CScrShotWnd::AppendMenuItems(HMENU menu)
{
    ::AppendMenuA(menu, MF_STRING, kCmdClose, "退出截屏");
    ::AppendMenuA(menu, MF_STRING, kCmdPickAgain, "重新选择截图区域");
}

void CScrShotWnd::ShowToolWindow()
{
    if (m_pToolWnd) return;
    RECT outer = GetSelectionRect();
    const int grow = m_pCanvasContainer->GetInset().left;
    ::InflateRect(&outer, grow, grow);
    const POINT at =
        PlaceShotToolBar(outer, ::GetSystemMetrics(SM_CXSCREEN), FullScreenClientHeight());
    m_pToolWnd = new ShotScreenToolWnd(this, at);
}

void CScrShotWnd::CloseToolWindow()
{
    if (ShotScreenToolWnd* tool = m_pToolWnd) {
        m_pToolWnd = nullptr;
        tool->Close();
    }
}

void CScrShotWnd::EnsureEditWindow()
{
    if (m_pEditWnd) return;
    m_pEditWnd = new CaptureEditWnd(this, GetCanvasRect());
    m_pCanvasContainer->SetEnabled(false);
    // The bar stays above the editor where the two overlap.
    if (m_pToolWnd)
        ::SetWindowPos(m_pToolWnd->GetHWND(), HWND_TOPMOST, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void CScrShotWnd::CloseEditWindow()
{
    if (CaptureEditWnd* edit = m_pEditWnd) {
        m_pEditWnd = nullptr;
        edit->Close();
    }
}

void CScrShotWnd::CloseCompanionWindows()
{
    CloseToolWindow();
    CloseEditWindow();
}

void CScrShotWnd::ForgetToolWindow(ShotScreenToolWnd* tool)
{
    if (m_pToolWnd == tool) m_pToolWnd = nullptr;
}

void CScrShotWnd::ForgetEditWindow(CaptureEditWnd* edit)
{
    if (m_pEditWnd == edit) m_pEditWnd = nullptr;
}

bool CScrShotWnd::SaveSelectionAsPng(std::string* path)
{
    *path = MakeNewScreenshotFileName();
    const RECT canvas = GetCanvasRect();
    // The kept picture starts at the frame's corner.
    RECT inPicture = canvas;
    ::OffsetRect(&inPicture, -m_rcFrame.left, -m_rcFrame.top);
    return GetDesktopBitmap() && SaveBitmapRectAsPng(GetDesktopBitmap(), &inPicture, *path);
}

void CScrShotWnd::ReportSaveFailure(const std::string& path)
{
    // The box is owned by the selector: out of the topmost band meanwhile,
    // so that the box shows above it.
    ::SetWindowPos(m_hWnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    AskQuestion(m_hWnd, "提示", kSaveFailed + path, "确定", "", "");
    if (::IsWindow(m_hWnd))
        ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool CScrShotWnd::FinishScreenshot(bool notice)
{
    std::string path;
    const bool saved = m_pEditWnd ? m_pEditWnd->SavePicture(&path) : SaveSelectionAsPng(&path);
    if (!saved) {
        ReportSaveFailure(path);
        return false;
    }
    CloseFrame();
    if (notice)
        if (MainWindow* main = GetMainWindow())
            ::PostMessageA(main->Handle(), WM_SHOW_SAVE_NOTICE, kScreenshotNotice, 0);
    return true;
}

void CScrShotWnd::OnConfirm()
{
    FinishScreenshot(true);
}

void CScrShotWnd::OnFrameDestroyed()
{
    GetWindowTable().Forget(this);
}
