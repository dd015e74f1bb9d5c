#include "drawing/windows/ShotScreenToolWnd.h"

#include "drawing/DrawingBoard.h"
#include "drawing/windows/CaptureEditWnd.h"
#include "drawing/windows/ScrShotWnd.h"
#include "drawing/windows/ShotPlacement.h"
#include "kit/Dialogs.h"
#include "kit/MenuWnd.h"

#include <cstring>

namespace {

const DWORD kToolStyle = 0x10CF0000;
const DWORD kToolExStyle = 0x00020008;

// Tool buttons and the tool each one chooses.
const struct {
    const char* name;
    int tool;
} kToolButtons[] = {
    {"none_tool_btn", kToolNone},
    {"pen_tool_btn", kToolPen},
    {"highlighter_pen_btn", kToolHighlighter},
    {"rectangle_tool", kToolRectangle},
    {"input_text_btn", kToolText},
    {"eraser_tool", kToolEraser},
    {"arrow_btn", kToolArrow},
    {"num_flag_btn", kToolNumber},
    {"letter_flag_btn", kToolLetter},
};

// A COLORREF (0x00BBGGRR) as the swatch's opaque ARGB (0xFFRRGGBB).
DWORD SwatchColour(COLORREF c)
{
    return 0xFF000000 | (DWORD)GetRValue(c) << 16 | (DWORD)GetGValue(c) << 8 | GetBValue(c);
}

}  // namespace

ShotScreenToolWnd::ShotScreenToolWnd(CScrShotWnd* selector, POINT at)
    : SkinWindow({"shot_screen_tool_wnd.xml"}), m_pSelector(selector), m_at(at)
{
    Create(selector->GetHWND(), "ShotScreenToolWnd", kToolStyle, kToolExStyle, at.x, at.y,
           kShotToolBarWidth, kShotToolBarHeight);
    ShowWindow(true, false);
}

void ShotScreenToolWnd::InitWindow()
{
    SkinWindow::InitWindow();
    const SIZE size = m_PaintManager.GetInitSize();
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, m_at.x, m_at.y, size.cx, size.cy, SWP_NOACTIVATE);
}

void ShotScreenToolWnd::OnWindowInit()
{
    m_pRoot = Find("root_layout");
    m_pSwatch = Find("color_sel_tool");
    ShowSwatch(g_drawingBoard.GetCurrentColour());
}

void ShotScreenToolWnd::OnEnded()
{
    m_pSelector->ForgetToolWindow(this);
}

LRESULT ShotScreenToolWnd::ResponseDefaultKeyEvent(WPARAM wParam)
{
    if (wParam == VK_ESCAPE) {
        m_pSelector->CloseFrame();
        return TRUE;
    }
    return FALSE;
}

void ShotScreenToolWnd::OnNotify(DuiLib::TNotifyUI& msg)
{
    if (msg.sType != DUI_MSGTYPE_CLICK || !msg.pSender) return;
    POINT screen = msg.ptMouse;
    ::ClientToScreen(m_hWnd, &screen);
    OnClick(msg.pSender->GetName(), screen);
}

void ShotScreenToolWnd::ShowSwatch(COLORREF colour)
{
    if (!m_pSwatch) return;
    m_pSwatch->SetBkColor(SwatchColour(colour));
    m_pSwatch->SetBkColor2(SwatchColour(colour));
}

void ShotScreenToolWnd::RenderEditor()
{
    if (CaptureEditWnd* edit = m_pSelector->GetEditWindow()) edit->RenderPicture();
}

void ShotScreenToolWnd::ChooseTool(int tool)
{
    m_pSelector->EnsureEditWindow();
    g_drawingBoard.SetTool(tool);
    if (DrawingBoard::HasColour(tool)) ShowSwatch(g_drawingBoard.GetColour(tool));
}

void ShotScreenToolWnd::ChooseColour()
{
    m_pSelector->EnsureEditWindow();
    // The eraser and "no tool" have no colour to choose.
    const int tool = g_drawingBoard.GetTool();
    if (!DrawingBoard::HasColour(tool)) return;
    COLORREF colour = g_drawingBoard.GetColour(tool);
    // Out of the topmost band while the dialog is up, so the dialog shows.
    ::SetWindowPos(m_hWnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    const bool chosen = AskColor(m_hWnd, &colour);
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (!chosen || !g_drawingBoard.SetColour(tool, colour)) return;
    ShowSwatch(colour);
}

void ShotScreenToolWnd::OnClick(const DuiLib::CDuiString& name, POINT screen)
{
    for (const auto& button : kToolButtons)
        if (name == button.name) {
            ChooseTool(button.tool);
            return;
        }
    if (name == "line_width_tool") {
        m_pSelector->EnsureEditWindow();
        auto* menu = new DuiLib::CMenuWnd(m_hWnd);
        menu->Init(nullptr, "pen_weight_menu.xml", "xml", screen);
    } else if (name == "color_sel_tool") {
        ChooseColour();
    } else if (name == "undo_tool_btn") {
        // The one button that does not open the editor.
        g_drawingBoard.Undo();
        RenderEditor();
    } else if (name == "redo_tool_btn") {
        m_pSelector->EnsureEditWindow();
        g_drawingBoard.Redo();
        RenderEditor();
    } else if (name == "clearboard_tool_btn") {
        m_pSelector->EnsureEditWindow();
        g_drawingBoard.ClearBoard();
        RenderEditor();
    } else if (name == "exit_screenshot_btn") {
        m_pSelector->CloseFrame();
    } else if (name == "complete_screenshot_btn") {
        m_pSelector->FinishScreenshot(true);
    }
}
