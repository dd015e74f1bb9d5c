#include "drawing/windows/RealtimeGraffiti.h"

#include "core/PngResource.h"
#include "drawing/BitmapHelpers.h"
#include "drawing/DrawingBoard.h"
#include "drawing/windows/GraffitiFrame.h"
#include "drawing/windows/GraffitiProbe.h"
#include "kit/Dialogs.h"
#include "kit/MenuWnd.h"
#include "platform/TestHooks.h"
#include "platform/ui/UIProbeProtocol.h"
#include "recorder/GrabLayered.h"

#include <gdiplus.h>

#include <cctype>

namespace {

const WORD kPenCursor = 147;
const WORD kCanvasFill = 145;

// Visible, with caption, system menu, sizing frame and minimise and
// maximise boxes (the library draws none of them: the client is the
// whole window).
const DWORD kCanvasStyle = 0x10CF0000;
const DWORD kCanvasExStyle = WS_EX_STATICEDGE | WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
const DWORD kToolStyle = 0x96C80000;
const DWORD kToolExStyle = WS_EX_STATICEDGE | WS_EX_TOOLWINDOW | WS_EX_TOPMOST;

// Killed when a text is committed; nothing of the canvas starts it.
const UINT_PTR kTextTimer = 1;
// A committed text sits below the popup's top, on its edit line.
const int kTextLineOffset = 10;

// The floating bar as the canvas leaves it: shown, its region button
// disabled while drawing is on.
void SetFloatBarForDrawing(bool drawing)
{
    auto* bar = dynamic_cast<DuiLib::WindowImplBase*>(
        GetWindowTable().Current(WindowId::FloatRec));
    if (!bar || !::IsWindow(bar->GetHWND())) return;
    bar->ShowWindow(true, false);
    if (DuiLib::CControlUI* target = bar->GetPaintManager().FindControl("target_btn"))
        target->SetEnabled(!drawing);
}

std::string Trimmed(const std::string& text)
{
    size_t begin = 0, end = text.size();
    while (begin < end && std::isspace((unsigned char)text[begin])) ++begin;
    while (end > begin && std::isspace((unsigned char)text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

POINT PointOf(LPARAM lParam)
{
    return {(short)LOWORD(lParam), (short)HIWORD(lParam)};
}

POINT ClientOrigin(HWND window)
{
    POINT origin = {0, 0};
    ::ClientToScreen(window, &origin);
    return origin;
}

}  // namespace

const KeptWindow<RealtimeGraffitiCanvasWnd> g_pGraffitiCanvasWnd{WindowId::RealtimeGraffiti};

void CloseRealtimeGraffiti()
{
    GetWindowTable().Close(WindowId::RealtimeGraffiti);
}

void MoveRealtimeGraffiti(RECT rect)
{
    RealtimeGraffitiCanvasWnd* canvas = g_pGraffitiCanvasWnd;
    if (!canvas || !::IsWindow(canvas->GetHWND())) return;
    ::SetWindowPos(canvas->GetHWND(), HWND_TOPMOST, rect.left, rect.top, rect.right - rect.left,
                   rect.bottom - rect.top, SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

// ---- MyWindowImplBase ----------------------------------------------------------

HWND MyWindowImplBase::CreateOwnClassWindow(HWND owner, LPCSTR title, DWORD style, DWORD exStyle,
                                            int x, int y, int cx, int cy)
{
    HINSTANCE instance = DuiLib::CPaintManagerUI::GetInstance();
    WNDCLASSA wc = {};
    wc.style = GetClassStyle();
    wc.lpfnWndProc = DuiLib::CWindowWnd::__WndProc;
    wc.hInstance = instance;
    wc.hCursor = (HCURSOR)::LoadImageA(instance, MAKEINTRESOURCEA(kPenCursor), IMAGE_CURSOR, 32,
                                       32, 0);
    wc.lpszClassName = GetWindowClassName();
    if (!::RegisterClassA(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return nullptr;
    // The class is registered: the library's creation finds it so.
    return Create(owner, title, style, exStyle, x, y, cx, cy);
}

// ---- the canvas ----------------------------------------------------------------

RealtimeGraffitiCanvasWnd::RealtimeGraffitiCanvasWnd(bool layered, RECT rect)
    : MyWindowImplBase({"ScrCapture_Inset.xml", nullptr}),
      m_rect(rect),
      m_bLayered(layered),
      m_frame(new GraffitiFrame(layered)),
      m_renderDone(::CreateEventA(nullptr, TRUE, FALSE, nullptr))
{
    CreateOwnClassWindow(nullptr, "RealtimeGraffitiCanvasWnd", kCanvasStyle,
                         layered ? (kCanvasExStyle | WS_EX_LAYERED) : kCanvasExStyle, 0, 0,
                         CW_USEDEFAULT, CW_USEDEFAULT);
}

RealtimeGraffitiCanvasWnd* RealtimeGraffitiCanvasWnd::Open(bool layered, RECT rect)
{
    auto* canvas = new RealtimeGraffitiCanvasWnd(layered, rect);
    if (canvas->GetHWND()) return canvas;
    delete canvas;
    return nullptr;
}

RealtimeGraffitiCanvasWnd::~RealtimeGraffitiCanvasWnd()
{
    // Normally stopped as the window went; this covers a window that was
    // never made.
    StopRenderThread();
    if (m_renderDone) ::CloseHandle(m_renderDone);
}

void RealtimeGraffitiCanvasWnd::InitWindow()
{
    SkinWindow::InitWindow();
    const int w = m_rect.right - m_rect.left, h = m_rect.bottom - m_rect.top;
    if (m_bLayered) {
        Gdiplus::Image* fill = nullptr;
        HRSRC resource = ::FindResourceA(nullptr, MAKEINTRESOURCEA(kCanvasFill), "png");
        if (resource && LoadPngResourceImage(&fill, resource) && fill) m_frame->SetFill(fill);
        // A recording's grab leaves layered windows out unless asked.
        SetGrabLayeredWindows(true);
    } else {
        m_frame->SetSnapshot(GrabScreenRectBitmap(m_rect.left, m_rect.top, w, h));
    }
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, m_rect.left, m_rect.top, w, h, SWP_SHOWWINDOW);
    m_ptCanvasOrigin = ClientOrigin(m_hWnd);
    m_renderThread = std::thread(&RealtimeGraffitiCanvasWnd::RenderLoop, this);
    g_drawingBoard.SetTool(kToolPen);
}

void RealtimeGraffitiCanvasWnd::OnWindowInit()
{
    Render();
    ShowWindow(true);
    SetFloatBarForDrawing(true);
}

void RealtimeGraffitiCanvasWnd::RenderLoop()
{
    struct Done {
        HANDLE event;
        ~Done() { ::SetEvent(event); }
    } done{m_renderDone};
    for (;;) {
        {
            std::unique_lock<std::mutex> lock(m_requestLock);
            m_requestSignal.wait(lock, [&] { return m_bRenderRequested || m_bStopRendering; });
            if (m_bStopRendering) return;
            // Taken before drawing: a change made while this frame is drawn
            // asks for the next one.
            m_bRenderRequested = false;
        }
        DrawFrame();
    }
}

void RealtimeGraffitiCanvasWnd::RequestRender()
{
    {
        std::lock_guard<std::mutex> lock(m_requestLock);
        m_bRenderRequested = true;
    }
    m_requestSignal.notify_one();
}

void RealtimeGraffitiCanvasWnd::StopRenderThread()
{
    {
        std::lock_guard<std::mutex> lock(m_requestLock);
        m_bStopRendering = true;
    }
    m_requestSignal.notify_one();
    if (!m_renderThread.joinable()) return;
    // A frame being put on the window may wait on this thread (the system
    // sends the window messages as it updates it): this thread answers such
    // messages until the render thread has finished.
    while (::MsgWaitForMultipleObjects(1, &m_renderDone, FALSE, INFINITE, QS_SENDMESSAGE) ==
           WAIT_OBJECT_0 + 1) {
        MSG msg;
        ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    m_renderThread.join();
}

void RealtimeGraffitiCanvasWnd::DrawFrame()
{
    HWND window = m_hWnd;
    if (!window) return;
    RECT client = {};
    ::GetClientRect(window, &client);
    if (!m_frame->Draw(client.right, client.bottom)) return;
    ++m_framesRendered;
    if (m_bLayered)
        m_frame->PutOnLayeredWindow(window);
    else
        ::InvalidateRect(window, nullptr, FALSE);  // the window's thread paints it
}

void RealtimeGraffitiCanvasWnd::Render()
{
    DrawFrame();
    if (!m_bLayered && m_hWnd && ::GetWindowThreadProcessId(m_hWnd, nullptr) == ::GetCurrentThreadId())
        ::UpdateWindow(m_hWnd);
}

void RealtimeGraffitiCanvasWnd::Paint()
{
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    if (!m_bLayered) m_frame->PaintTo(dc);
    ::EndPaint(m_hWnd, &ps);
}

void RealtimeGraffitiCanvasWnd::CloseCanvas()
{
    if (m_bClosing) return;
    m_bClosing = true;
    SetFloatBarForDrawing(false);
    g_drawingBoard.DeleteAllShapes();
    // Let go of the popups before they end: one inside a dialog's loop ends
    // only after the canvas has gone.
    if (m_pTextPopup) {
        m_pTextPopup->DetachOwner();
        m_pTextPopup->Close();
    }
    m_pTextPopup = nullptr;
    if (m_pToolWnd) {
        m_pToolWnd->DetachCanvas();
        m_pToolWnd->Close();
    }
    m_pToolWnd = nullptr;
    if (::IsWindow(m_hWnd)) Close(1);
}

LRESULT RealtimeGraffitiCanvasWnd::OnDestroy(UINT uMsg, WPARAM wParam, LPARAM lParam,
                                             BOOL& bHandled)
{
    // The thread draws into this window: it ends before the window does.
    StopRenderThread();
    if (m_bLayered) SetGrabLayeredWindows(false);
    // Owned windows go with the canvas; one whose end is still pending (in a
    // dialog's loop) must not call back into a canvas that is gone by then.
    if (m_pTextPopup) {
        m_pTextPopup->DetachOwner();
        ::DestroyWindow(m_pTextPopup->GetHWND());
        m_pTextPopup = nullptr;
    }
    if (m_pToolWnd) {
        m_pToolWnd->DetachCanvas();
        ::DestroyWindow(m_pToolWnd->GetHWND());
        m_pToolWnd = nullptr;
    }
    return MyWindowImplBase::OnDestroy(uMsg, wParam, lParam, bHandled);
}

void RealtimeGraffitiCanvasWnd::OnEnded()
{
    // A canvas that ended some other way than through CloseCanvas (the
    // program closing it) leaves the board as empty as one that was closed.
    if (!m_bClosing) {
        SetFloatBarForDrawing(false);
        g_drawingBoard.DeleteAllShapes();
    }
}

LRESULT RealtimeGraffitiCanvasWnd::HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam,
                                                       BOOL& bHandled)
{
    switch (uMsg) {
        case WM_PAINT:
            Paint();
            bHandled = TRUE;
            return 0;
        case WM_ERASEBKGND:
            bHandled = TRUE;
            return 1;
        case WM_MOVE:
            FollowMove();
            break;
        case WM_LBUTTONDBLCLK:
            // The window table calls CloseCanvas.
            CloseRealtimeGraffiti();
            bHandled = TRUE;
            return 0;
        case WM_RBUTTONUP: {
            POINT screen = PointOf(lParam);
            ::ClientToScreen(m_hWnd, &screen);
            OpenToolWindow(screen);
            break;
        }
        default:
            if (TestHooksOn()) {
                static const UINT probe = ::RegisterWindowMessageA(kGraffitiProbeMessage);
                if (uMsg == probe) {
                    bHandled = TRUE;
                    return AnswerProbe(wParam) ? 1 : 0;
                }
            }
            break;
    }
    return MyWindowImplBase::HandleCustomMessage(uMsg, wParam, lParam, bHandled);
}

void RealtimeGraffitiCanvasWnd::FollowMove()
{
    RECT window = {};
    ::GetWindowRect(m_hWnd, &window);
    m_rect = window;
    const POINT origin = ClientOrigin(m_hWnd);
    if (m_pTextPopup && ::IsWindow(m_pTextPopup->GetHWND())) {
        RECT popup = {};
        ::GetWindowRect(m_pTextPopup->GetHWND(), &popup);
        ::SetWindowPos(m_pTextPopup->GetHWND(), HWND_TOPMOST,
                       popup.left + origin.x - m_ptCanvasOrigin.x,
                       popup.top + origin.y - m_ptCanvasOrigin.y, 0, 0,
                       SWP_NOSIZE | SWP_NOACTIVATE);
    }
    m_ptCanvasOrigin = origin;
}

LRESULT RealtimeGraffitiCanvasWnd::OnSize(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    if (m_hWnd) {
        RECT window = {};
        ::GetWindowRect(m_hWnd, &window);
        m_rect = window;
        if (m_renderThread.joinable()) Render();
    }
    return MyWindowImplBase::OnSize(uMsg, wParam, lParam, bHandled);
}

LRESULT RealtimeGraffitiCanvasWnd::OnKeyDown(UINT uMsg, WPARAM wParam, LPARAM lParam,
                                             BOOL& bHandled)
{
    if (wParam == 'Z') {
        if (::GetKeyState(VK_SHIFT) < 0) {
            g_drawingBoard.Redo();
            Render();
        } else if (::GetKeyState(VK_CONTROL) < 0) {
            g_drawingBoard.Undo();
            Render();
        }
    }
    return MyWindowImplBase::OnKeyDown(uMsg, wParam, lParam, bHandled);
}

LRESULT RealtimeGraffitiCanvasWnd::ResponseDefaultKeyEvent(WPARAM wParam)
{
    if (wParam == VK_ESCAPE) return TRUE;
    return MyWindowImplBase::ResponseDefaultKeyEvent(wParam);
}

LRESULT RealtimeGraffitiCanvasWnd::OnLButtonDown(UINT uMsg, WPARAM wParam, LPARAM lParam,
                                                 BOOL& bHandled)
{
    const POINT p = PointOf(lParam);
    m_ptLastClick = p;
    const InputTextGraffitiWnd* popupBefore = m_pTextPopup;
    CShapeObj* hit = g_drawingBoard.HitShape(p.x, p.y);
    if (hit && hit->GetClassName() == "CInputTextObj") {
        EditText(p);
    } else if (g_drawingBoard.GetTool() != kToolText) {
        ::SetCapture(m_hWnd);
        g_drawingBoard.BeginShape(p, g_drawingBoard.GetCurrentWidth(),
                                  g_drawingBoard.GetCurrentColour());
        RequestRender();
    } else if (m_pTextPopup) {
        CommitInputText();
    } else {
        m_ptNewText = p;
        POINT screen = p;
        ::ClientToScreen(m_hWnd, &screen);
        m_pTextPopup = new InputTextGraffitiWnd(this, screen.x, screen.y, "");
    }
    // A text box this click opened keeps the keyboard: the library's own
    // handling of the press would focus the canvas again, and what the user
    // types would never reach the box.
    if (m_pTextPopup && m_pTextPopup != popupBefore) {
        bHandled = TRUE;
        return 0;
    }
    return MyWindowImplBase::OnLButtonDown(uMsg, wParam, lParam, bHandled);
}

void RealtimeGraffitiCanvasWnd::EditText(POINT click)
{
    if (m_pTextPopup) CommitInputText();
    // Looked up again: the commit changed the board.
    auto* text = dynamic_cast<CInputTextObj*>(g_drawingBoard.HitShape(click.x, click.y));
    if (!text) return;
    POINT screen = {text->X(), text->Y() - kTextLineOffset};
    ::ClientToScreen(m_hWnd, &screen);
    const std::string old = text->GetText();
    g_drawingBoard.RemoveShape(text);
    m_pTextPopup = new InputTextGraffitiWnd(this, screen.x, screen.y, old);
    Render();
}

LRESULT RealtimeGraffitiCanvasWnd::OnMouseMove(UINT uMsg, WPARAM wParam, LPARAM lParam,
                                               BOOL& bHandled)
{
    if (g_drawingBoard.IsDrawing()) {
        g_drawingBoard.TrackShape(PointOf(lParam));
        RequestRender();
    }
    return MyWindowImplBase::OnMouseMove(uMsg, wParam, lParam, bHandled);
}

LRESULT RealtimeGraffitiCanvasWnd::OnLButtonUp(UINT uMsg, WPARAM wParam, LPARAM lParam,
                                               BOOL& bHandled)
{
    if (g_drawingBoard.IsDrawing()) g_drawingBoard.FinishShape();
    RequestRender();
    ::ReleaseCapture();
    return MyWindowImplBase::OnLButtonUp(uMsg, wParam, lParam, bHandled);
}

void RealtimeGraffitiCanvasWnd::CommitInputText()
{
    if (!m_pTextPopup) return;
    const std::string text = Trimmed(m_pTextPopup->GetText());
    if (!text.empty())
        g_drawingBoard.AddTextShape(text, m_ptNewText.x, m_ptNewText.y + kTextLineOffset);
    ::KillTimer(m_hWnd, kTextTimer);
    InputTextGraffitiWnd* popup = m_pTextPopup;
    m_pTextPopup = nullptr;
    popup->DetachOwner();
    popup->Close();
    Render();
}

void RealtimeGraffitiCanvasWnd::InputTextClosed(const InputTextBox* box)
{
    if (box == m_pTextPopup) m_pTextPopup = nullptr;
}

void RealtimeGraffitiCanvasWnd::OpenToolWindow(POINT screen)
{
    if (!m_pToolWnd)
        m_pToolWnd = new RealtimeGraffitiToolWnd(this, screen.x, screen.y);
    else
        m_pToolWnd->ShowAt(screen);
}

void RealtimeGraffitiCanvasWnd::ToolWindowEnded(const RealtimeGraffitiToolWnd* tool)
{
    if (tool == m_pToolWnd) m_pToolWnd = nullptr;
}

void RealtimeGraffitiCanvasWnd::SetTopMost(bool topMost)
{
    ::SetWindowPos(m_hWnd, topMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool RealtimeGraffitiCanvasWnd::AnswerProbe(WPARAM replyWindow)
{
    std::string out;
    auto put = [&](const std::string& key, const std::string& value) {
        out.append(key);
        out.push_back('\0');
        out.append(value);
        out.push_back('\0');
    };
    put("layered", m_bLayered ? "1" : "0");
    put("rect", std::to_string(m_rect.left) + "," + std::to_string(m_rect.top) + "," +
                    std::to_string(m_rect.right) + "," + std::to_string(m_rect.bottom));
    put("tool", std::to_string(g_drawingBoard.GetTool()));
    put("undo", std::to_string(g_drawingBoard.UndoDepth()));
    put("redo", std::to_string(g_drawingBoard.RedoDepth()));
    put("frames", std::to_string(m_framesRendered.load()));
    put("popup", m_pTextPopup ? "1" : "0");
    put("tool_wnd", m_pToolWnd && ::IsWindowVisible(m_pToolWnd->GetHWND()) ? "1" : "0");
    for (int tool = kToolPen; tool <= kToolText; ++tool) {
        put("colour." + std::to_string(tool), std::to_string(g_drawingBoard.GetColour(tool)));
        put("width." + std::to_string(tool), std::to_string(g_drawingBoard.GetWidth(tool)));
    }
    int n = 0;
    g_drawingBoard.ForEachShape([&](const CShapeObj& shape) {
        std::string row = shape.GetClassName() + "," + std::to_string(shape.GetColour()) + "," +
                          std::to_string(shape.GetWidth()) + "," +
                          std::to_string(shape.Points().size());
        if (auto* text = dynamic_cast<const CInputTextObj*>(&shape))
            row += "," + std::to_string(text->X()) + "," + std::to_string(text->Y()) + "," +
                   text->GetText();
        put("shape." + std::to_string(n++), row);
    });
    put("shapes", std::to_string(n));
    HWND reply = reinterpret_cast<HWND>(replyWindow);
    if (!::IsWindow(reply)) return false;
    COPYDATASTRUCT cds = {};
    cds.dwData = orbisk_ui_probe::kUiProbeReplyTag;
    cds.cbData = (DWORD)out.size();
    cds.lpData = &out[0];
    ::SendMessageA(reply, WM_COPYDATA, (WPARAM)m_hWnd, (LPARAM)&cds);
    return true;
}

// ---- the tool window -----------------------------------------------------------

RealtimeGraffitiToolWnd::RealtimeGraffitiToolWnd(RealtimeGraffitiCanvasWnd* canvas, int x, int y)
    : SkinWindow({"realtime_graffiti_tool_wnd.xml"}), m_pCanvas(canvas), m_x(x), m_y(y)
{
    Create(canvas ? canvas->GetHWND() : nullptr, "RealtimeGraffitiToolWnd", kToolStyle,
           kToolExStyle);
}

void RealtimeGraffitiToolWnd::InitWindow()
{
    SkinWindow::InitWindow();
    m_pRoot = Find("root_layout");
    SIZE size = m_PaintManager.GetInitSize();
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, m_x, m_y, size.cx, size.cy, SWP_SHOWWINDOW);
}

void RealtimeGraffitiToolWnd::ShowAt(POINT screen)
{
    m_x = screen.x;
    m_y = screen.y;
    SIZE size = m_PaintManager.GetInitSize();
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, m_x, m_y, size.cx, size.cy, SWP_SHOWWINDOW);
}

void RealtimeGraffitiToolWnd::OnWindowInit()
{
    m_pColourIndicator = Find<DuiLib::CButtonUI>("color_sel_tool");
    g_drawingBoard.SetTool(kToolPen);
    ShowColour(g_drawingBoard.GetColour(kToolPen));
}

LRESULT RealtimeGraffitiToolWnd::OnKillFocus(UINT uMsg, WPARAM wParam, LPARAM lParam,
                                             BOOL& bHandled)
{
    ShowWindow(false, false);
    return SkinWindow::OnKillFocus(uMsg, wParam, lParam, bHandled);
}

void RealtimeGraffitiToolWnd::OnEnded()
{
    if (m_pCanvas) m_pCanvas->ToolWindowEnded(this);
    m_pCanvas = nullptr;
}

void RealtimeGraffitiToolWnd::ShowColour(COLORREF colour)
{
    if (!m_pColourIndicator) return;
    const DWORD argb = 0xFF000000 | ((DWORD)GetRValue(colour) << 16) |
                       ((DWORD)GetGValue(colour) << 8) | GetBValue(colour);
    m_pColourIndicator->SetBkColor(argb);
    m_pColourIndicator->SetBkColor2(argb);
}

void RealtimeGraffitiToolWnd::ChooseTool(int tool)
{
    g_drawingBoard.SetTool(tool);
    if (DrawingBoard::HasColour(tool)) ShowColour(g_drawingBoard.GetColour(tool));
}

void RealtimeGraffitiToolWnd::AskColour()
{
    const int tool = g_drawingBoard.GetTool();
    COLORREF colour = g_drawingBoard.GetColour(tool);
    // The dialog would be hidden under the canvas.
    if (m_pCanvas) m_pCanvas->SetTopMost(false);
    HWND self = m_hWnd;
    const bool chosen = AskColor(self, &colour);
    if (!::IsWindow(self)) return;  // the program closed drawing meanwhile
    if (chosen && g_drawingBoard.SetColour(tool, colour)) ShowColour(colour);
    if (m_pCanvas) m_pCanvas->SetTopMost(true);
}

void RealtimeGraffitiToolWnd::OnNotify(DuiLib::TNotifyUI& msg)
{
    if (msg.sType == DUI_MSGTYPE_CLICK && msg.pSender) {
        OnClick(msg.pSender->GetName());
        return;
    }
    SkinWindow::OnNotify(msg);
}

void RealtimeGraffitiToolWnd::OnClick(const DuiLib::CDuiString& name)
{
    RealtimeGraffitiCanvasWnd* canvas = m_pCanvas;
    if (name == "closebtn" || name == "exit_screenshot_btn") {
        CloseRealtimeGraffiti();
        if (::IsWindow(m_hWnd)) Close(1);
    } else if (name == "minbtn") {
        ::ShowWindow(m_hWnd, SW_MINIMIZE);
    } else if (name == "none_tool_btn") {
        ChooseTool(kToolNone);
    } else if (name == "pen_tool_btn") {
        ChooseTool(kToolPen);
    } else if (name == "highlighter_pen_btn") {
        ChooseTool(kToolHighlighter);
    } else if (name == "rectangle_tool") {
        ChooseTool(kToolRectangle);
    } else if (name == "eraser_tool") {
        g_drawingBoard.SetTool(kToolEraser);
    } else if (name == "input_text_btn") {
        g_drawingBoard.SetTool(kToolText);
    } else if (name == "arrow_btn") {
        g_drawingBoard.SetTool(kToolArrow);
    } else if (name == "num_flag_btn") {
        g_drawingBoard.SetTool(kToolNumber);
    } else if (name == "letter_flag_btn") {
        g_drawingBoard.SetTool(kToolLetter);
    } else if (name == "line_width_tool") {
        POINT at = {};
        ::GetCursorPos(&at);
        auto* menu = new DuiLib::CMenuWnd(m_hWnd);
        menu->Init(nullptr, "pen_weight_menu.xml", "xml", at);
    } else if (name == "color_sel_tool") {
        AskColour();
    } else if (name == "undo_tool_btn") {
        g_drawingBoard.Undo();
        if (canvas) canvas->Render();
    } else if (name == "redo_tool_btn") {
        g_drawingBoard.Redo();
        if (canvas) canvas->Render();
    } else if (name == "clearboard_tool_btn") {
        g_drawingBoard.ClearBoard();
        if (canvas) canvas->Render();
    }
    // "complete_screenshot_btn" does nothing here: drawing has no picture
    // to complete.
}
