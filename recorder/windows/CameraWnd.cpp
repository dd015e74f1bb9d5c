#include "recorder/windows/CameraWnd.h"

namespace {

const DWORD kCameraStyle = 0x10CF0000;  // visible, overlapped with caption, frame and buttons
const DWORD kCameraExStyle = WS_EX_STATICEDGE | WS_EX_TOPMOST;
const UINT_PTR kCaptionTimer = 1025;
const UINT kCaptionTickMs = 500;
// The first video input device; no choice of device is offered.
const int kCameraDevice = 0;

}  // namespace

const char* const CameraWnd::kNoCameraText = "未检测到摄像头";
const char* const CameraWnd::kCameraFailedText = "摄像头无法打开";

CameraWnd::CameraWnd(HWND mainWindow, POINT at)
    : SkinWindow({"camera_wnd.xml"}), m_hMainWnd(mainWindow), m_x(at.x), m_y(at.y)
{
    Create(nullptr, "CameraWnd", kCameraStyle, kCameraExStyle);
    ShowWindow(true, true);
}

void CameraWnd::InitWindow()
{
    SkinWindow::InitWindow();
    SIZE size = m_PaintManager.GetInitSize();
    ::MoveWindow(m_hWnd, m_x, m_y, size.cx, size.cy, FALSE);
    m_pRoot = Find("root_layout");
}

void CameraWnd::OnWindowInit()
{
    m_pCaptionBar = Find("caption_bar");
    if (m_pCaptionBar) m_pCaptionBar->SetVisible(false);

    HRESULT hr = m_capture.Init(kCameraDevice, m_hWnd);
    if (m_capture.Running()) {
        PlacePicture();
    } else if (auto* text = Find<DuiLib::CLabelUI>("no_camera_lb")) {
        // The window stays, movable and closable, with the reason instead
        // of a black picture.
        text->SetText(hr == CVMR_Capture::kNoDevice ? kNoCameraText : kCameraFailedText);
        text->SetVisible(true);
    }
    ::SetTimer(m_hWnd, kCaptionTimer, kCaptionTickMs, nullptr);
}

LRESULT CameraWnd::HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM, BOOL& bHandled)
{
    if (uMsg == WM_TIMER && wParam == kCaptionTimer) {
        bHandled = TRUE;
        OnCaptionTimer();
    }
    return 0;
}

void CameraWnd::OnCaptionTimer()
{
    RECT client = {};
    ::GetClientRect(m_hWnd, &client);
    POINT cursor = {};
    ::GetCursorPos(&cursor);
    ::ScreenToClient(m_hWnd, &cursor);
    switch (m_caption.Tick(::GetTickCount(), cursor, ::PtInRect(&client, cursor) != FALSE)) {
        case CameraCaption::Action::None:
            return;
        case CameraCaption::Action::Show:
            if (m_pCaptionBar) m_pCaptionBar->SetVisible(true);
            PlacePicture();
            return;
        case CameraCaption::Action::Hide:
            if (m_pCaptionBar) m_pCaptionBar->SetVisible(false);
            m_capture.SelectCaptureFormat(m_hWnd, client.right, client.bottom);
            PlacePicture();
            return;
    }
}

LRESULT CameraWnd::OnSize(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    if (wParam != SIZE_MINIMIZED) {
        m_capture.SelectCaptureFormat(m_hWnd, LOWORD(lParam), HIWORD(lParam));
        PlacePicture();
    }
    return SkinWindow::OnSize(uMsg, wParam, lParam, bHandled);
}

void CameraWnd::PlacePicture()
{
    if (!m_capture.Running()) {
        m_PaintManager.SetUnpaintedRect({0, 0, 0, 0});
        return;
    }
    RECT client = {};
    ::GetClientRect(m_hWnd, &client);
    RECT picture = CameraPictureRect(client.right, client.bottom, m_caption.Shown());
    m_capture.SetVideoPosition(picture);
    m_PaintManager.SetUnpaintedRect(picture);
}

LRESULT CameraWnd::OnDestroy(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    ::KillTimer(m_hWnd, kCaptionTimer);
    // The renderer draws into this window: it goes while the window is
    // still there.
    m_capture.CloseInterfaces();
    m_PaintManager.SetUnpaintedRect({0, 0, 0, 0});
    return SkinWindow::OnDestroy(uMsg, wParam, lParam, bHandled);
}
