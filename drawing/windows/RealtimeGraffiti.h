// Drawing over the live screen while it is recorded. A top-most canvas
// covers a rectangle of the screen: in layered mode a per-pixel-alpha window
// whose fill is all but transparent, so the desktop shows through and only
// the strokes are opaque; otherwise an opaque window over a still picture
// of the rectangle taken as it opened. The mouse on the canvas drives the
// drawing board; a right click opens the tool window (tools, line width,
// colour, undo, redo, clear, close); Ctrl+Z undoes, Shift+Z redoes; a
// double click ends drawing.
//
// A render thread of the canvas draws the board into a frame of its own
// whenever something changed; the frame reaches the screen through
// UpdateLayeredWindow (layered) or the UI thread's paint (opaque). The
// thread is stopped and joined before the canvas is gone.
//
// The main window opens the canvas through the window table
// (WindowId::RealtimeGraffiti, the request's flag: 1 layered); the
// drawing module registers it. UI thread only, but for the render thread.
#pragma once

#include "drawing/windows/InputTextWnd.h"
#include "kit/SkinWindow.h"
#include "kit/WindowTable.h"

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

class GraffitiFrame;
class RealtimeGraffitiToolWnd;

// A skinned window of a window class of its own: the pen cursor over it,
// no background brush (the window paints every pixel itself).
class MyWindowImplBase : public SkinWindow {
protected:
    explicit MyWindowImplBase(const Frame& frame) : SkinWindow(frame) {}

    // Registers the class (an existing class counts as registered) and
    // creates the window; null when either fails.
    HWND CreateOwnClassWindow(HWND owner, LPCSTR title, DWORD style, DWORD exStyle, int x, int y,
                              int cx, int cy);
};

class RealtimeGraffitiCanvasWnd : public MyWindowImplBase, public InputTextOwner {
public:
    // Creates and shows the canvas over rect (screen coordinates).
    RealtimeGraffitiCanvasWnd(bool layered, RECT rect);
    // The same, or null (and nothing left behind) when no window could be
    // made.
    static RealtimeGraffitiCanvasWnd* Open(bool layered, RECT rect);

    // Draws the board into the frame now, on the calling thread, and has it
    // put on the screen.
    void Render();
    // Has the render thread draw the board (after any change of it).
    void RequestRender();

    // Ends drawing: the board's shapes go, the floating bar comes back, the
    // canvas and its windows close. The window table calls this.
    void CloseCanvas();

    bool IsLayered() const { return m_bLayered; }
    RECT GetRect() const { return m_rect; }
    RealtimeGraffitiToolWnd* GetToolWindow() const { return m_pToolWnd; }
    InputTextGraffitiWnd* GetTextPopup() const { return m_pTextPopup; }
    // Frames drawn so far (by either thread).
    unsigned FramesRendered() const { return m_framesRendered.load(); }

    // InputTextOwner: the text popup.
    HWND GetInputTextOwnerWindow() const override { return m_hWnd; }
    void SetInputTextPoint(POINT client) override { m_ptNewText = client; }
    void CommitInputText() override;
    void InputTextClosed(const InputTextBox* box) override;

    // The tool window has gone.
    void ToolWindowEnded(const RealtimeGraffitiToolWnd* tool);
    // Takes the canvas out of, or back into, the top-most band (while a
    // dialog of the tool window is up).
    void SetTopMost(bool topMost);

protected:
    LPCSTR GetWindowClassName() const override { return "RealtimeGraffitiCanvasWnd"; }
    void InitWindow() override;
    void OnWindowInit() override;
    void OnEnded() override;
    LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    LRESULT OnDestroy(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    LRESULT OnSize(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    LRESULT OnKeyDown(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    LRESULT OnLButtonDown(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    LRESULT OnLButtonUp(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    LRESULT OnMouseMove(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    // Escape does not end drawing: only the ways that also clear the board.
    LRESULT ResponseDefaultKeyEvent(WPARAM wParam) override;

private:
    ~RealtimeGraffitiCanvasWnd() override;

    void RenderLoop();
    void StopRenderThread();
    // Draws the board into the frame and hands it on; any thread.
    void DrawFrame();
    void Paint();
    void EditText(POINT click);
    void OpenToolWindow(POINT screen);
    void FollowMove();
    bool AnswerProbe(WPARAM replyWindow);

    RECT m_rect;
    bool m_bLayered;
    RealtimeGraffitiToolWnd* m_pToolWnd = nullptr;
    InputTextGraffitiWnd* m_pTextPopup = nullptr;
    POINT m_ptNewText = {0, 0};
    POINT m_ptLastClick = {0, 0};
    // The client origin on the screen when the canvas last moved; a text
    // popup moves along by as much as the canvas does.
    POINT m_ptCanvasOrigin = {0, 0};
    bool m_bClosing = false;

    std::unique_ptr<GraffitiFrame> m_frame;
    std::atomic<unsigned> m_framesRendered{0};

    // The render thread waits for a request or the stop.
    std::thread m_renderThread;
    std::mutex m_requestLock;
    std::condition_variable m_requestSignal;
    bool m_bRenderRequested = true;  // the first frame is drawn at once
    bool m_bStopRendering = false;
    // Set as the render thread ends.
    HANDLE m_renderDone = nullptr;
};

// The canvas while drawing is on; null while it is off.
extern const KeptWindow<RealtimeGraffitiCanvasWnd> g_pGraffitiCanvasWnd;

// Ends drawing when it is on (see RealtimeGraffitiCanvasWnd::CloseCanvas).
void CloseRealtimeGraffiti();
// Moves and sizes the canvas, when there is one, to rect, on top.
void MoveRealtimeGraffiti(RECT rect);

// The tool window of the canvas.
class RealtimeGraffitiToolWnd : public SkinWindow {
public:
    // Creates and shows the window with its top-left corner at (x, y).
    RealtimeGraffitiToolWnd(RealtimeGraffitiCanvasWnd* canvas, int x, int y);

    // Shows it again at a screen point, top-most.
    void ShowAt(POINT screen);
    // The canvas is going before the tool window: nothing calls it now.
    void DetachCanvas() { m_pCanvas = nullptr; }

protected:
    LPCSTR GetWindowClassName() const override { return "RealtimeGraffitiToolWnd"; }
    void InitWindow() override;
    void OnWindowInit() override;
    void OnNotify(DuiLib::TNotifyUI& msg) override;
    LRESULT OnKillFocus(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    void OnEnded() override;

private:
    ~RealtimeGraffitiToolWnd() override = default;

    void OnClick(const DuiLib::CDuiString& name);
    void ChooseTool(int tool);
    void ShowColour(COLORREF colour);
    void AskColour();

    RealtimeGraffitiCanvasWnd* m_pCanvas;
    int m_x;
    int m_y;
    DuiLib::CControlUI* m_pRoot = nullptr;
    DuiLib::CControlUI* m_pColourIndicator = nullptr;
};
