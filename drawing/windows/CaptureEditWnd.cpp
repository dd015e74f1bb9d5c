#include "drawing/windows/CaptureEditWnd.h"

#include "core/AppPaths.h"
#include "drawing/BitmapHelpers.h"
#include "drawing/DrawingBoard.h"
#include "drawing/GdiObjects.h"
#include "drawing/windows/ScrShotWnd.h"
#include "kit/MainWindow.h"

#include <objidl.h>
#include <gdiplus.h>

namespace {

const DWORD kEditStyle = 0x10CF0000;
const DWORD kEditExStyle = 0x00020000;
const char kSavedTip[] = "截屏图片以放入视频文件夹...";
// The text box's edit line lies this far below its top.
const int kEditLine = 10;

POINT PointOf(LPARAM lParam)
{
    return {(short)LOWORD(lParam), (short)HIWORD(lParam)};
}

}  // namespace

CaptureEditWnd::CaptureEditWnd(CScrShotWnd* selector, const RECT& canvas)
    : SkinWindow({"ScrCapture_Inset.xml", nullptr}), m_rcCanvas(canvas), m_pSelector(selector)
{
    const SIZE size = CanvasSize();
    Create(selector->GetHWND(), "CaptureEditWnd", kEditStyle, kEditExStyle, canvas.left, canvas.top,
           size.cx, size.cy);
    ShowWindow(true);
}

CaptureEditWnd::~CaptureEditWnd()
{
    if (m_hBackground) ::DeleteObject(m_hBackground);
    if (m_hMenu) ::DestroyMenu(m_hMenu);
}

void CaptureEditWnd::InitWindow()
{
    SkinWindow::InitWindow();
    const SIZE size = CanvasSize();
    // Over the selector, which stays above every other window.
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, m_rcCanvas.left, m_rcCanvas.top, size.cx, size.cy,
                   SWP_NOACTIVATE | SWP_SHOWWINDOW);
    m_hMenu = ::CreatePopupMenu();
    ::AppendMenuA(m_hMenu, MF_STRING, kCmdSave, "保存");
    ::AppendMenuA(m_hMenu, MF_STRING, kCmdCancel, "取消");
    ::AppendMenuA(m_hMenu, MF_STRING, kCmdPickAgain, "重新选择截图区域");
    // The frozen picture starts at the selector's corner.
    const RECT frame = m_pSelector->GetFrameRect();
    m_hBackground = CropBitmap(m_pSelector->GetDesktopBitmap(), m_rcCanvas.left - frame.left,
                               m_rcCanvas.top - frame.top, m_rcCanvas.right - frame.left,
                               m_rcCanvas.bottom - frame.top);
}

void CaptureEditWnd::OnWindowInit()
{
    RenderPicture();
}

void CaptureEditWnd::OnEnded()
{
    m_pSelector->ForgetEditWindow(this);
}

HBITMAP CaptureEditWnd::ComposePicture() const
{
    HBITMAP picture = m_hBackground ? CopyBitmap(m_hBackground) : nullptr;
    if (!picture) return nullptr;
    orbisk::MemoryDc dc(nullptr);
    orbisk::Selection selected(dc.Get(), picture);
    if (!selected.Ok()) {
        ::DeleteObject(picture);
        return nullptr;
    }
    Gdiplus::Graphics graphics(dc.Get());
    g_drawingBoard.DrawAllShapes(graphics);
    graphics.Flush(Gdiplus::FlushIntentionSync);
    return picture;
}

void CaptureEditWnd::RenderPicture()
{
    if (!m_hWnd) return;
    orbisk::UniqueBitmap picture(ComposePicture());
    if (!picture) return;
    orbisk::WindowDc window(m_hWnd);
    orbisk::MemoryDc dc(window.Get());
    orbisk::Selection selected(dc.Get(), picture.Get());
    const SIZE size = CanvasSize();
    ::BitBlt(window.Get(), 0, 0, size.cx, size.cy, dc.Get(), 0, 0, SRCCOPY);
}

bool CaptureEditWnd::SavePicture(std::string* path)
{
    FinishTextInput();
    *path = MakeNewScreenshotFileName();
    orbisk::UniqueBitmap picture(ComposePicture());
    const SIZE size = CanvasSize();
    const RECT whole = {0, 0, size.cx, size.cy};
    return picture && SaveBitmapRectAsPng(picture.Get(), &whole, *path);
}

LRESULT CaptureEditWnd::ResponseDefaultKeyEvent(WPARAM wParam)
{
    if (wParam == VK_ESCAPE) {
        m_pSelector->CloseFrame();
        return TRUE;
    }
    return FALSE;
}

LRESULT CaptureEditWnd::OnLButtonDown(UINT, WPARAM, LPARAM lParam, BOOL& bHandled)
{
    bHandled = TRUE;
    const POINT pt = PointOf(lParam);
    m_ptLastClick = pt;
    // A click on typed text opens it again for editing, wherever the tool.
    if (auto* text = dynamic_cast<CInputTextObj*>(g_drawingBoard.HitShape(pt.x, pt.y))) {
        const std::string typed = text->GetText();
        const POINT at = {text->X(), text->Y() - kEditLine};
        g_drawingBoard.RemoveShape(text);
        FinishTextInput();
        OpenTextBox(at, typed);
        RenderPicture();
        return 0;
    }
    if (g_drawingBoard.GetTool() == kToolText) {
        if (m_pTextBox)
            FinishTextInput();
        else
            OpenTextBox(pt, "");
        return 0;
    }
    g_drawingBoard.BeginShape(pt, g_drawingBoard.GetCurrentWidth(),
                              g_drawingBoard.GetCurrentColour());
    if (g_drawingBoard.IsDrawing()) ::SetCapture(m_hWnd);
    RenderPicture();
    return 0;
}

void CaptureEditWnd::OpenTextBox(POINT client, const std::string& text)
{
    m_ptText = client;
    POINT screen = client;
    ::ClientToScreen(m_hWnd, &screen);
    m_pTextBox = new InputTextCaptureWnd(this, screen.x, screen.y, text);
}

void CaptureEditWnd::FinishTextInput()
{
    InputTextCaptureWnd* box = m_pTextBox;
    if (!box) return;
    m_pTextBox = nullptr;
    const std::string text = box->GetText();
    box->Close();
    if (!text.empty()) g_drawingBoard.AddTextShape(text, m_ptText.x, m_ptText.y + kEditLine);
    RenderPicture();
}

void CaptureEditWnd::InputTextClosed(const InputTextBox* box)
{
    if (m_pTextBox == box) m_pTextBox = nullptr;
}

LRESULT CaptureEditWnd::OnMouseMove(UINT, WPARAM, LPARAM lParam, BOOL& bHandled)
{
    bHandled = TRUE;
    if (!g_drawingBoard.IsDrawing()) return 0;
    g_drawingBoard.TrackShape(PointOf(lParam));
    RenderPicture();
    ::SetCursor(::LoadCursor(nullptr, IDC_CROSS));
    return 0;
}

LRESULT CaptureEditWnd::OnLButtonUp(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    bHandled = TRUE;
    if (g_drawingBoard.IsDrawing()) g_drawingBoard.FinishShape();
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
    RenderPicture();
    return 0;
}

void CaptureEditWnd::OnDoubleClick()
{
    std::string path;
    if (!SavePicture(&path)) {
        m_pSelector->ReportSaveFailure(path);
        return;
    }
    m_pSelector->CloseFrame();
    g_drawingBoard.DeleteAllShapes();
    ShowFloatWndTip(kSavedTip, 5);
}

void CaptureEditWnd::OnMenuCommand(UINT id)
{
    if (id == kCmdSave) {
        std::string path;
        if (!SavePicture(&path)) {
            m_pSelector->ReportSaveFailure(path);
            return;
        }
        m_pSelector->CloseFrame();
    } else if (id == kCmdCancel) {
        m_pSelector->CloseFrame();
    } else if (id == kCmdPickAgain) {
        m_pSelector->PickAgain();
        g_drawingBoard.DeleteAllShapes();
    }
}

LRESULT CaptureEditWnd::HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    switch (uMsg) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            ::BeginPaint(m_hWnd, &ps);
            ::EndPaint(m_hWnd, &ps);
            RenderPicture();
            bHandled = TRUE;
            return 0;
        }
        case WM_ERASEBKGND:
            bHandled = TRUE;
            return 1;
        case WM_SIZE:
            RenderPicture();
            break;
        case WM_LBUTTONDBLCLK:
            bHandled = TRUE;
            OnDoubleClick();
            return 0;
        case WM_RBUTTONUP: {
            bHandled = TRUE;
            POINT screen = PointOf(lParam);
            ::ClientToScreen(m_hWnd, &screen);
            ::TrackPopupMenu(m_hMenu, 0, screen.x, screen.y, 0, m_hWnd, nullptr);
            PostMessage(WM_NULL);
            return 0;
        }
        case WM_COMMAND:
            if (HIWORD(wParam) == 0 && lParam == 0) {
                bHandled = TRUE;
                OnMenuCommand(LOWORD(wParam));
                return 0;
            }
            break;
        default:
            break;
    }
    return 0;
}
