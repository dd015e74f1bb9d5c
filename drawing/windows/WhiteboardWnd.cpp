#include "drawing/windows/WhiteboardWnd.h"

#include "core/AppPaths.h"
#include "core/StringConv.h"
#include "drawing/BitmapHelpers.h"
#include "drawing/DrawingBoard.h"
#include "drawing/Presentations.h"
#include "drawing/windows/OpenPptWnd.h"
#include "drawing/windows/TransparentSizeList.h"
#include "drawing/windows/WhiteBoardToolWindow.h"
#include "kit/Dialogs.h"
#include "kit/WindowMessages.h"
#include "kit/WindowTable.h"
#include "recorder/recording/RecordControl.h"
#include "recorder/recording/RecordingState.h"

#include <gdiplus.h>
#include <windowsx.h>

#include <memory>

std::string g_strPptLastError;

namespace {

const UINT_PTR kFollowTimer = 201;
const UINT kFollowPeriodMs = 10;
const UINT_PTR kMessageTimer = 203;
const UINT kMessageMs = 3000;
// What the program records: the capture rectangle while the whiteboard is
// open, the whole screen once it is gone.
const unsigned kRecordCaptureRect = 1;
const unsigned kRecordWholeScreen = 4;

const char kIdleBackground[] = "file='trans_bk.png' corner='4,25,4,4'";
const char kRecordingBackground[] = "file='trans_bk_rec.png' corner='4,25,4,4'";

const char kLoadedText[] = "加载PPT成功！";
const char kShotSavedText[] = "截图以保存！";
const char kShotFailedText[] = "截图保存失败！";
const char kSaveQuestion[] = "是否保存当前录制!";

// Answers of the save question: "放弃" second, "保存" third.
const int kAnswerDiscard = 1;
const int kAnswerSave = 2;

// The cursor while drawing (the program's resources).
const UINT kDrawCursorId = 147;

POINT CanvasPoint(LPARAM lParam)
{
    return {GET_X_LPARAM(lParam) - kBoardInsetLeft, GET_Y_LPARAM(lParam) - kBoardInsetTop};
}

bool InCanvas(SIZE client, LPARAM lParam)
{
    RECT rc = BoardCanvasRect(client);
    POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    return PtInRect(&rc, pt) != FALSE;
}

}  // namespace

CWhiteboardWnd::CWhiteboardWnd()
    : SkinWindow({"transparent_frame.xml", /*skinRoot=*/nullptr, /*followsRecording=*/true})
{
}

CWhiteboardWnd::~CWhiteboardWnd() = default;

SIZE CWhiteboardWnd::ClientSize() const
{
    RECT rc = {0, 0, 0, 0};
    ::GetClientRect(m_hWnd, &rc);
    return {rc.right - rc.left, rc.bottom - rc.top};
}

POINT CWhiteboardWnd::ClientOrigin() const
{
    POINT pt = {0, 0};
    ::ClientToScreen(m_hWnd, &pt);
    return pt;
}

RECT CWhiteboardWnd::CanvasScreenRect() const
{
    RECT rc = BoardCanvasRect(ClientSize());
    POINT origin = ClientOrigin();
    OffsetRect(&rc, origin.x, origin.y);
    return rc;
}

// --- Start and end ---------------------------------------------------------------

void CWhiteboardWnd::InitWindow()
{
    SkinWindow::InitWindow();
    CenterWindow();
    m_bInitialised = true;
    m_ptLastOrigin = ClientOrigin();
    // The transparent mode is the frame's first.
    m_PaintManager.SetLayered(ModeIsLayered(m_nMode));
    UpdateCanvasHole();
    ::SetTimer(m_hWnd, kFollowTimer, kFollowPeriodMs, nullptr);
    UpdateCaptureRect();
}

void CWhiteboardWnd::OnWindowInit()
{
    m_pTimeLabel = Find("labRecTime");
    m_pBackground = Find("vlayout_background");
    m_pMessage = Find("msg_content");
    SetRecordingLook(g_bRecording != 0);
    CenterTimeLabel();
    UpdateSizeLabel();
}

void CWhiteboardWnd::OnEnded()
{
    if (InputTextWnd* box = m_pTextWnd) {
        m_pTextWnd = nullptr;
        box->Close();
    }
    if (::IsWindow(m_hWnd)) ::KillTimer(m_hWnd, kFollowTimer);
    CloseBoardToolWindow();
    if (OpenPPTWindow* open = g_pOpenPptWnd) open->Close();
}

LRESULT CWhiteboardWnd::ResponseDefaultKeyEvent(WPARAM wParam)
{
    return wParam == VK_ESCAPE ? TRUE : FALSE;
}

// --- Notifications ---------------------------------------------------------------

void CWhiteboardWnd::OnNotify(DuiLib::TNotifyUI& msg)
{
    const std::string name = msg.pSender ? msg.pSender->GetName().Str() : "";
    SIZE preset;
    if (BoardPresetSize(msg.sType.GetData(), &preset)) {
        // A choice of the size list.
        SetCanvasSizePreset(preset.cx, preset.cy);
        return;
    }
    if (msg.sType == DUI_MSGTYPE_CLICK) {
        if (name == "closebtn") {
            OnClose();
            return;
        }
        OnClick(name, msg.pSender);
    }
    SkinWindow::OnNotify(msg);
}

void CWhiteboardWnd::OnClick(const std::string& name, DuiLib::CControlUI* sender)
{
    if (name == "regin_record_btn") {
        // The end of an earlier recording put the program back to the whole
        // screen: this one records the canvas again.
        g_nRecordMode = kRecordCaptureRect;
        UpdateCaptureRect();
        StartRecording(false);
        SetBackground(true);
    } else if (name == "regin_pause_btn") {
        TogglePause();
    } else if (name == "regin_stop_btn") {
        StopRecording();
        SetBackground(false);
    } else if (name == "select_target_wnd_btn") {
        if (!GetWindowTable().Has(WindowId::WhiteboardRegion)) return;
        ShowWindow(false, false);
        if (HWND main = ::GetWindow(m_hWnd, GW_OWNER)) ::ShowWindow(main, SW_SHOWMINIMIZED);
        if (g_hRecordOwnerWnd) ::ShowWindow(g_hRecordOwnerWnd, SW_SHOWMINIMIZED);
        WindowRequest request{m_hWnd};
        GetWindowTable().Open(WindowId::WhiteboardRegion, request);
    } else if (name == "regin_size_btn" && sender) {
        const RECT& rc = sender->GetPos();
        POINT at = {rc.left, rc.bottom};
        ::ClientToScreen(m_hWnd, &at);
        CMenuTransparentSizeList::Init(m_hWnd, name, at);
    } else if (name == "load_ppt_btn") {
        if (ModeShowsSlides(m_nMode)) {
            TogglePresentation();
        } else if (sender && !g_pOpenPptWnd) {
            const RECT& rc = sender->GetPos();
            POINT at = {rc.left, rc.bottom};
            ::ClientToScreen(m_hWnd, &at);
            OpenPPTWindow::Open(this, at.x, at.y);
        }
    } else if (name == "capture_scrreen_btn") {
        OnCaptureButton();
    } else if (name == "regin_pen_btn") {
        ToggleDrawing();
    }
}

void CWhiteboardWnd::OnClose()
{
    if (g_bRecording) {
        int answer = AskQuestion(m_hWnd, "提示", kSaveQuestion, "", "放弃", "保存");
        if (answer == kAnswerSave) {
            StopRecording();
            SetBackground(false);
        } else if (answer == kAnswerDiscard) {
            CancelRecording();
        } else {
            // The box closed without an answer: nothing is thrown away and
            // the frame stays.
            return;
        }
    }
    ::KillTimer(m_hWnd, kFollowTimer);
    g_drawingBoard.ClearBoard();
    CloseBoardToolWindow();
    g_nRecordMode = kRecordWholeScreen;
    Close(IDOK);
}

void CWhiteboardWnd::OnCaptureButton()
{
    const std::string file = MakeNewScreenshotFileName();
    bool saved = false;
    if (m_nMode == kBoardTransparent || !m_canvas) {
        RECT rc = CanvasScreenRect();
        orbisk::WindowDc screen(nullptr);
        saved = screen && SaveWindowRectOffsetAsPng(screen.Get(), &rc, file);
    } else {
        RenderBoard();
        SIZE canvas = BoardCanvasSize(ClientSize());
        RECT all = {0, 0, canvas.cx, canvas.cy};
        saved = SaveBitmapRectAsPng(m_canvas.Get(), &all, file);
    }
    ShowMessage(saved ? kShotSavedText : kShotFailedText, true);
}

void CWhiteboardWnd::ShowMessage(const std::string& text, bool autoHide)
{
    if (m_pMessage) m_pMessage->SetText(text.c_str());
    ::KillTimer(m_hWnd, kMessageTimer);
    if (autoHide) ::SetTimer(m_hWnd, kMessageTimer, kMessageMs, nullptr);
}

// --- Geometry --------------------------------------------------------------------

void CWhiteboardWnd::MoveToRect(int left, int top, int right, int bottom)
{
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    ::MoveWindow(m_hWnd, left, top, right - left, bottom - top, TRUE);
}

void CWhiteboardWnd::SetCanvasSizePreset(int width, int height)
{
    SIZE frame = BoardFrameSizeFor(width, height);
    ::MoveWindow(m_hWnd, 0, 0, frame.cx, frame.cy, TRUE);
    CenterWindow();
}

void CWhiteboardWnd::UpdateCaptureRect()
{
    m_rcCapture = CanvasScreenRect();
    m_ptLastOrigin = ClientOrigin();
    SetCaptureRect(m_rcCapture);
}

void CWhiteboardWnd::TrackFrameMove()
{
    POINT origin = ClientOrigin();
    if (origin.x == m_ptLastOrigin.x && origin.y == m_ptLastOrigin.y) return;
    const int dx = origin.x - m_ptLastOrigin.x, dy = origin.y - m_ptLastOrigin.y;
    OffsetRect(&m_rcCapture, dx, dy);
    m_ptLastOrigin = origin;
    // An open text box travels with the frame, keeping its place on the
    // canvas.
    if (m_pTextWnd && ::IsWindow(m_pTextWnd->GetHWND())) {
        RECT box;
        ::GetWindowRect(m_pTextWnd->GetHWND(), &box);
        ::SetWindowPos(m_pTextWnd->GetHWND(), HWND_TOPMOST, box.left + dx, box.top + dy, 0, 0,
                       SWP_NOSIZE | SWP_NOACTIVATE);
    }
    SetCaptureRect(m_rcCapture);
}

void CWhiteboardWnd::UpdateSizeLabel()
{
    DuiLib::CControlUI* label = m_PaintManager.FindControl("VintraCam");
    if (!label) return;
    SIZE canvas = BoardCanvasSize(ClientSize());
    char text[64];
    snprintf(text, sizeof text, "%ld x %ld", canvas.cx, canvas.cy);
    label->SetText(text);
}

void CWhiteboardWnd::CenterTimeLabel()
{
    if (!m_pTimeLabel) return;
    int w = ClientSize().cx;
    m_pTimeLabel->SetPos({w / 2 - 30, 3, w / 2 + 30, 22});
}

LRESULT CWhiteboardWnd::OnSize(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    LRESULT r = SkinWindow::OnSize(uMsg, wParam, lParam, bHandled);
    if (!m_bInitialised || wParam == SIZE_MINIMIZED) return r;
    UpdateSizeLabel();
    // A recording keeps the size it began with.
    if (!g_bRecording) UpdateCaptureRect();
    if (m_nMode == kBoardSnapshot) {
        // The frozen picture no longer fits: back to the screen behind.
        g_drawingBoard.DeleteAllShapes();
        m_PaintManager.SetLayered(true);
    }
    UpdateCanvasHole();
    CenterTimeLabel();
    return r;
}

LRESULT CWhiteboardWnd::OnKeyDown(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    if (wParam != VK_LEFT && wParam != VK_RIGHT && wParam != VK_UP && wParam != VK_DOWN)
        return SkinWindow::OnKeyDown(uMsg, wParam, lParam, bHandled);
    RECT rc;
    ::GetWindowRect(m_hWnd, &rc);
    int x = rc.left, y = rc.top, w = rc.right - rc.left, h = rc.bottom - rc.top;
    int step = wParam == VK_LEFT || wParam == VK_UP ? -1 : 1;
    bool horizontal = wParam == VK_LEFT || wParam == VK_RIGHT;
    if (::GetKeyState(VK_SHIFT) < 0)
        (horizontal ? w : h) += step;
    else
        (horizontal ? x : y) += step;
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, x, y, w, h, SWP_NOACTIVATE);
    bHandled = TRUE;
    return 0;
}

// --- Modes -----------------------------------------------------------------------

void CWhiteboardWnd::SetMode(int mode)
{
    m_nMode = mode;
    m_PaintManager.SetLayered(ModeIsLayered(mode));
    UpdateCanvasHole();
    if (mode == kBoardTransparent)
        CloseBoardToolWindow();
    else
        PlaceToolWindow();
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
    RenderBoard();
}

void CWhiteboardWnd::UpdateCanvasHole()
{
    // The screen behind a transparent canvas must be what shows there and
    // what is recorded, also where per-pixel transparency is not blended
    // (no compositor): the canvas is cut out of the window itself.
    if (!m_PaintManager.IsLayered()) {
        ::SetWindowRgn(m_hWnd, nullptr, TRUE);
        return;
    }
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    RECT canvas = BoardCanvasRect({client.right, client.bottom});
    HRGN frame = ::CreateRectRgn(0, 0, client.right, client.bottom);
    HRGN hole = ::CreateRectRgn(canvas.left, canvas.top, canvas.right, canvas.bottom);
    if (frame && hole) ::CombineRgn(frame, frame, hole, RGN_DIFF);
    if (hole) ::DeleteObject(hole);
    if (frame && !::SetWindowRgn(m_hWnd, frame, TRUE)) ::DeleteObject(frame);
}

void CWhiteboardWnd::ShowScreen()
{
    SetMode(kBoardTransparent);
}

void CWhiteboardWnd::ToggleDrawing()
{
    EnsureToolWindow();
    SnapshotBackground();
    int next = NextModeOnDrawingToggle(m_nMode);
    if (next == kBoardTransparent) g_drawingBoard.ClearBoard();
    SetMode(next);
}

void CWhiteboardWnd::TogglePresentation()
{
    EnsureToolWindow();
    SnapshotBackground();
    SetMode(NextModeOnPresentationToggle(m_nMode));
}

void CWhiteboardWnd::EnsureToolWindow()
{
    if (g_pWhiteBoardToolWnd) return;
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    POINT corner = {rc.right, 0};
    ::ClientToScreen(m_hWnd, &corner);
    if (corner.y < 0) corner.y = 0;
    new WhiteBoardToolWindow(this, corner.x, corner.y);
}

void CWhiteboardWnd::SnapshotBackground()
{
    // What the canvas shows now, whatever shows it, is what the drawing
    // mode draws over.
    RECT rc = CanvasScreenRect();
    m_ptSnapshot = {rc.left, rc.top};
    m_snapshot.Reset(GrabScreenRectBitmap(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top));
}

void CWhiteboardWnd::PlaceToolWindow()
{
    WhiteBoardToolWindow* tools = g_pWhiteBoardToolWnd;
    if (m_nMode == kBoardTransparent) {
        CloseBoardToolWindow();
        return;
    }
    if (!tools) return;
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    POINT corner = {rc.right, 0};
    ::ClientToScreen(m_hWnd, &corner);
    RECT place = PlaceBoardToolWindow(corner, m_nMode, ::GetSystemMetrics(SM_CXFULLSCREEN));
    tools->LayoutForMode(place.left, place.top, place.right, place.bottom);
}

void CWhiteboardWnd::CloseBoardToolWindow()
{
    WhiteBoardToolWindow* tools = g_pWhiteBoardToolWnd;
    if (!tools) return;
    g_pWhiteBoardToolWnd = nullptr;
    tools->DetachFrame();
    m_PaintManager.SetLayered(true);
    g_drawingBoard.ClearBoard();
    tools->Close();
}

// --- The recording's look ----------------------------------------------------------

void CWhiteboardWnd::SetBackground(bool recording)
{
    if (!m_pBackground) return;
    m_pBackground->SetAttribute("bkimage", recording ? kRecordingBackground : kIdleBackground);
    m_pBackground->SetAttribute("hole", "true");
}

void CWhiteboardWnd::SetRecordingLook(bool recording)
{
    m_bRecordingLook = recording;
    auto show = [&](const char* name, bool shown) {
        if (DuiLib::CControlUI* c = m_PaintManager.FindControl(name)) c->SetVisible(shown);
    };
    auto enable = [&](const char* name, bool enabled) {
        if (DuiLib::CControlUI* c = m_PaintManager.FindControl(name)) c->SetEnabled(enabled);
    };
    if (!recording && m_pTimeLabel) m_pTimeLabel->SetText("00:00:00");
    show("regin_record_btn", !recording);
    show("regin_stop_btn", recording);
    enable("select_target_wnd_btn", !recording);
    enable("regin_size_btn", !recording);
    SetBackground(recording);
}

// --- Messages --------------------------------------------------------------------

LRESULT CWhiteboardWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    LRESULT r = SkinWindow::HandleMessage(uMsg, wParam, lParam);
    // The library has painted its frame over the canvas: the canvas goes
    // back on top.
    if (uMsg == WM_PAINT && m_hWnd) RenderBoard();
    return r;
}

LRESULT CWhiteboardWnd::HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam,
                                            BOOL& bHandled)
{
    switch (uMsg) {
        case WM_TIMER:
            if (wParam == kFollowTimer) {
                TrackFrameMove();
                return 0;
            }
            if (wParam == kMessageTimer) {
                ::KillTimer(m_hWnd, kMessageTimer);
                if (m_pMessage) m_pMessage->SetText("");
                return 0;
            }
            break;
        case WM_MOVE:
            // Sooner than the next tick.
            if (m_bInitialised) TrackFrameMove();
            break;
        case WM_PPT_LOADED:
            OnPresentationLoaded(wParam == 0);
            return 0;
        case WM_RECORD_STARTED:
            SetRecordingLook(true);
            return 0;
        case WM_RECORD_STOPPED:
            SetRecordingLook(false);
            return 0;
    }
    return SkinWindow::HandleCustomMessage(uMsg, wParam, lParam, bHandled);
}

void CWhiteboardWnd::OnPresentationLoaded(bool ok)
{
    if (!ok) {
        ShowMessage(g_strPptLastError.empty() ? std::string(kPptConvertFailText) : g_strPptLastError, false);
        return;
    }
    if (!ModeShowsSlides(m_nMode)) TogglePresentation();
    m_slidePath.clear();
    if (WhiteBoardToolWindow* tools = g_pWhiteBoardToolWnd) tools->FillSlideList();
    g_drawingBoard.DeleteAllShapes();
    RenderBoard();
    ShowMessage(kLoadedText, true);
}

void CWhiteboardWnd::ShowSlide(int index)
{
    g_pptStore.SetCurrentSlideIndex(index);
    if (WhiteBoardToolWindow* tools = g_pWhiteBoardToolWnd)
        tools->SelectSlideRow(g_pptStore.CurrentSlideIndex());
    g_drawingBoard.DeleteAllShapes();
    RenderBoard();
}

LRESULT CWhiteboardWnd::OnMouseWheel(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    if (!ModeShowsSlides(m_nMode)) return SkinWindow::OnMouseWheel(uMsg, wParam, lParam, bHandled);
    const PptEntry* entry = g_pptStore.Current();
    int count = entry ? entry->SlideCount() : 0;
    int next = WheelSlideIndex(g_pptStore.CurrentSlideIndex(), count,
                               GET_WHEEL_DELTA_WPARAM(wParam));
    if (next != g_pptStore.CurrentSlideIndex()) ShowSlide(next);
    bHandled = TRUE;
    return 0;
}

// --- Drawing ---------------------------------------------------------------------

LRESULT CWhiteboardWnd::OnLButtonDown(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    m_ptMouseDown = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (m_nMode != kBoardTransparent && InCanvas(ClientSize(), lParam)) {
        POINT pt = CanvasPoint(lParam);
        int tool = g_drawingBoard.GetTool();
        if (auto* text = dynamic_cast<CInputTextObj*>(g_drawingBoard.HitShape(pt.x, pt.y))) {
            // Typed text is edited again in its box, where it stands.
            FinishTextInput();
            POINT at = {text->X(), text->Y()};
            std::string old = text->GetText();
            g_drawingBoard.RemoveShape(text);
            OpenTextBox(at, old);
            RenderBoard();
            bHandled = TRUE;
            return 0;
        }
        if (tool == kToolText) {
            if (m_pTextWnd)
                FinishTextInput();
            else
                OpenTextBox(pt, "");
            bHandled = TRUE;
            return 0;
        }
        if (tool != kToolText && tool != kToolNone) {
            g_drawingBoard.BeginShape(pt, g_drawingBoard.GetCurrentWidth(),
                                      g_drawingBoard.GetCurrentColour());
            m_bDrawing = g_drawingBoard.IsDrawing();
            if (m_bDrawing) ::SetCapture(m_hWnd);
            RenderBoard();
            bHandled = TRUE;
            return 0;
        }
    }
    return SkinWindow::OnLButtonDown(uMsg, wParam, lParam, bHandled);
}

LRESULT CWhiteboardWnd::OnMouseMove(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    if (m_bDrawing && g_drawingBoard.IsDrawing()) {
        g_drawingBoard.TrackShape(CanvasPoint(lParam));
        if (HCURSOR cursor = (HCURSOR)::LoadImageA(::GetModuleHandleA(nullptr),
                                                   MAKEINTRESOURCEA(kDrawCursorId), IMAGE_ICON,
                                                   32, 32, LR_SHARED))
            ::SetCursor(cursor);
        RenderBoard();
        bHandled = TRUE;
        return 0;
    }
    return SkinWindow::OnMouseMove(uMsg, wParam, lParam, bHandled);
}

LRESULT CWhiteboardWnd::OnLButtonUp(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    if (m_bDrawing) {
        m_bDrawing = false;
        if (::GetCapture() == m_hWnd) ::ReleaseCapture();
        if (g_drawingBoard.IsDrawing()) g_drawingBoard.FinishShape();
        ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
        RenderBoard();
        bHandled = TRUE;
        return 0;
    }
    return SkinWindow::OnLButtonUp(uMsg, wParam, lParam, bHandled);
}

// The box's edit line lies this far below its top: a text shape drawn at
// (x, y) of the canvas is typed in a box whose corner is that much higher.
const int kTextBoxLineOffset = 10;

void CWhiteboardWnd::OpenTextBox(POINT canvasPoint, const std::string& text)
{
    POINT at = {canvasPoint.x + kBoardInsetLeft,
                canvasPoint.y + kBoardInsetTop - kTextBoxLineOffset};
    m_ptText = at;
    ::ClientToScreen(m_hWnd, &at);
    m_pTextWnd = new InputTextWnd(this, at.x, at.y, text);
}

void CWhiteboardWnd::FinishTextInput()
{
    InputTextWnd* box = m_pTextWnd;
    if (!box) return;
    m_pTextWnd = nullptr;
    std::string text = box->GetText();
    size_t first = text.find_first_not_of(" \t\r\n");
    size_t last = text.find_last_not_of(" \t\r\n");
    text = first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
    if (!text.empty())
        g_drawingBoard.AddTextShape(text, m_ptText.x - kBoardInsetLeft,
                                    m_ptText.y + kTextBoxLineOffset - kBoardInsetTop);
    box->Close();
    RenderBoard();
}

void CWhiteboardWnd::InputTextClosed(const InputTextBox* box)
{
    if (box == m_pTextWnd) m_pTextWnd = nullptr;
}

// --- Rendering -------------------------------------------------------------------

HBITMAP CWhiteboardWnd::SlideBitmap(SIZE canvas)
{
    const PptEntry* entry = g_pptStore.Current();
    const std::string path = entry ? entry->SlidePath(g_pptStore.CurrentSlideIndex()) : "";
    if (path == m_slidePath && canvas.cx == m_slideSize.cx && canvas.cy == m_slideSize.cy)
        return m_slide.Get();
    m_slidePath = path;
    m_slideSize = canvas;
    m_slide.Reset(nullptr);
    if (path.empty()) return nullptr;
    Gdiplus::Bitmap picture(AnsiToWide(path).c_str());
    if (picture.GetLastStatus() != Gdiplus::Ok) return nullptr;
    orbisk::WindowDc screen(nullptr);
    orbisk::UniqueBitmap bitmap(::CreateCompatibleBitmap(screen.Get(), canvas.cx, canvas.cy));
    orbisk::MemoryDc dc(screen.Get());
    if (!bitmap || !dc) return nullptr;
    {
        orbisk::Selection select(dc.Get(), bitmap.Get());
        Gdiplus::Graphics g(dc.Get());
        g.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBilinear);
        g.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
        // The whole slide on the whole canvas.
        g.DrawImage(&picture, 0, 0, (INT)canvas.cx, (INT)canvas.cy);
    }
    m_slide.Reset(bitmap.Release());
    return m_slide.Get();
}

void CWhiteboardWnd::RenderBoard()
{
    if (!m_hWnd || m_nMode == kBoardTransparent || ::IsIconic(m_hWnd)) return;
    SIZE canvas = BoardCanvasSize(ClientSize());
    if (canvas.cx <= 0 || canvas.cy <= 0) return;
    orbisk::WindowDc window(m_hWnd);
    if (!window) return;
    BITMAP bm = {};
    if (!m_canvas || !::GetObject(m_canvas.Get(), sizeof bm, &bm) || bm.bmWidth != canvas.cx ||
        bm.bmHeight != canvas.cy)
        m_canvas.Reset(::CreateCompatibleBitmap(window.Get(), canvas.cx, canvas.cy));
    orbisk::MemoryDc dc(window.Get());
    orbisk::MemoryDc source(window.Get());
    if (!m_canvas || !dc || !source) return;
    orbisk::Selection select(dc.Get(), m_canvas.Get());
    RECT all = {0, 0, canvas.cx, canvas.cy};
    ::FillRect(dc.Get(), &all, (HBRUSH)::GetStockObject(WHITE_BRUSH));
    HBITMAP background = m_nMode == kBoardSnapshot ? m_snapshot.Get() : SlideBitmap(canvas);
    if (background) {
        orbisk::Selection from(source.Get(), background);
        ::BitBlt(dc.Get(), 0, 0, canvas.cx, canvas.cy, source.Get(), 0, 0, SRCCOPY);
    }
    {
        Gdiplus::Graphics g(dc.Get());
        g_drawingBoard.DrawAllShapes(g);
    }
    ::BitBlt(window.Get(), kBoardInsetLeft, kBoardInsetTop, canvas.cx, canvas.cy, dc.Get(), 0, 0,
             SRCCOPY);
}
