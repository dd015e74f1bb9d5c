#include "drawing/windows/WhiteBoardToolWindow.h"

#include "drawing/DrawingBoard.h"
#include "drawing/Presentations.h"
#include "drawing/windows/WhiteboardWnd.h"
#include "kit/Dialogs.h"
#include "kit/MenuWnd.h"

#include <map>

WhiteBoardToolWindow* g_pWhiteBoardToolWnd = nullptr;

namespace {

// A thin frame; a popup, so that no minimum size of a captioned window
// keeps it from its narrow tool column.
const DWORD kToolStyle = WS_POPUP | 0x00400000;
const DWORD kToolExStyle = 0x00060000;  // on the task bar, a static edge

const std::map<std::string, int>& ToolButtons()
{
    static const std::map<std::string, int> tools = {
        {"none_tool_btn", kToolNone},        {"pen_tool_btn", kToolPen},
        {"highlighter_pen_btn", kToolHighlighter}, {"rectangle_tool", kToolRectangle},
        {"input_text_btn", kToolText},       {"eraser_tool", kToolEraser},
        {"arrow_btn", kToolArrow},           {"num_flag_btn", kToolNumber},
        {"letter_flag_btn", kToolLetter}};
    return tools;
}

}  // namespace

WhiteBoardToolWindow::WhiteBoardToolWindow(CWhiteboardWnd* frame, int x, int y)
    : SkinWindow({"white_board_tool_wnd.xml"}), m_pFrame(frame), m_ptOpen{x, y}
{
    g_pWhiteBoardToolWnd = this;
    Create(frame ? frame->GetHWND() : nullptr, "WhiteBoardToolWindow", kToolStyle, kToolExStyle, x,
           y, 0, 0);
    ShowWindow(true, false);
}

void WhiteBoardToolWindow::InitWindow()
{
    SkinWindow::InitWindow();
    // Looked up as soon as the layout is there: the frame lays the window
    // out right after creating it.
    m_pEditBox = Find("ppt_edit_box");
    m_pPptBar = Find("pptbar");
    m_pToolbar = Find("toolbar");
    m_pList = Find<DuiLib::CListUI>("pptlist");
    m_pClose = Find("closebtn");
}

void WhiteBoardToolWindow::OnWindowInit()
{
    FillSlideList();
    PaintSwatch();
}

void WhiteBoardToolWindow::OnEnded()
{
    if (g_pWhiteBoardToolWnd == this) g_pWhiteBoardToolWnd = nullptr;
}

LRESULT WhiteBoardToolWindow::ResponseDefaultKeyEvent(WPARAM wParam)
{
    return wParam == VK_ESCAPE ? TRUE : FALSE;
}

void WhiteBoardToolWindow::LayoutForMode(int x, int y, int width, int height)
{
    if (!m_pFrame) return;
    int mode = m_pFrame->Mode();
    auto place = [](DuiLib::CControlUI* c, int l, int t, int r, int b) {
        if (c) c->SetPos({l, t, r, b});
    };
    auto show = [](DuiLib::CControlUI* c, bool shown) {
        if (c) c->SetVisible(shown);
    };
    if (mode == kBoardSlidesAndTools || mode == kBoardSlides) {
        bool tools = mode == kBoardSlidesAndTools;
        show(m_pToolbar, tools);
        show(m_pPptBar, true);
        place(m_pPptBar, tools ? 37 : 0, 0, width, tools ? height - 25 : height);
        place(m_pList, 0, 0, tools ? width - 39 : width - 2, height - 25);
        place(m_pEditBox, 1, 25, width - 3, height - 2);
        place(m_pClose, width - 20, 1, width - 4, 17);
    } else if (mode == kBoardSnapshot) {
        show(m_pToolbar, true);
        show(m_pPptBar, false);
        place(m_pClose, 16, 1, 32, 17);
    } else {
        return;
    }
    m_bLayingOut = true;
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, x, y, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    m_bLayingOut = false;
    if (mode != kBoardSnapshot) FillSlideList();
}

LRESULT WhiteBoardToolWindow::OnSize(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    LRESULT r = SkinWindow::OnSize(uMsg, wParam, lParam, bHandled);
    if (!m_bLayingOut && wParam != SIZE_MINIMIZED && m_pToolbar) {
        RECT rc;
        ::GetWindowRect(m_hWnd, &rc);
        RECT client;
        ::GetClientRect(m_hWnd, &client);
        LayoutForMode(rc.left, rc.top, client.right, client.bottom);
    }
    return r;
}

void WhiteBoardToolWindow::FillSlideList()
{
    if (!m_pList) return;
    m_pList->RemoveAll();
    const PptEntry* entry = g_pptStore.Current();
    if (!m_pFrame || !ModeShowsSlides(m_pFrame->Mode()) || !entry) return;
    for (int i = 0; i < entry->SlideCount(); ++i) {
        auto* row = new DuiLib::CListTextElementUI;
        m_pList->Add(row);
        row->SetText(0, entry->slides[i].c_str());
        row->SetUserData(entry->slides[i].c_str());
    }
    SelectSlideRow(g_pptStore.CurrentSlideIndex());
}

void WhiteBoardToolWindow::SelectSlideRow(int row)
{
    if (m_pList && row >= 0 && row < m_pList->GetCount()) m_pList->SelectItem(row);
}

void WhiteBoardToolWindow::OnNotify(DuiLib::TNotifyUI& msg)
{
    if (msg.sType == DUI_MSGTYPE_CLICK && msg.pSender) {
        POINT at = msg.ptMouse;
        ::ClientToScreen(m_hWnd, &at);
        OnClick(msg.pSender->GetName().Str(), at);
        return;
    }
    if (msg.sType == DUI_MSGTYPE_ITEMCLICK && msg.pSender && m_pFrame) {
        // A slide row: its name, kept with the row, picks the slide.
        int index = g_pptStore.SlideIndexOf(msg.pSender->GetUserData().Str());
        g_pptStore.SetCurrentSlideIndex(index);
        g_drawingBoard.DeleteAllShapes();
        m_pFrame->RenderBoard();
        return;
    }
    SkinWindow::OnNotify(msg);
}

void WhiteBoardToolWindow::OnClick(const std::string& name, POINT at)
{
    auto tool = ToolButtons().find(name);
    if (tool != ToolButtons().end()) {
        ChooseTool(tool->second);
        return;
    }
    if (name == "closebtn") {
        g_pptStore.Clear();
        if (m_pFrame) m_pFrame->ShowScreen();
        return;
    }
    if (name == "line_width_tool") {
        auto* menu = new DuiLib::CMenuWnd(m_hWnd);
        menu->Init(nullptr, "pen_weight_menu.xml", "xml", at);
    } else if (name == "color_sel_tool") {
        int current = g_drawingBoard.GetTool();
        if (!DrawingBoard::HasColour(current)) return;
        COLORREF colour = g_drawingBoard.GetColour(current);
        if (AskColor(m_hWnd, &colour)) {
            g_drawingBoard.SetColour(current, colour);
            PaintSwatch();
        }
    } else if (name == "undo_tool_btn") {
        g_drawingBoard.Undo();
    } else if (name == "redo_tool_btn") {
        g_drawingBoard.Redo();
    } else if (name == "clearboard_tool_btn") {
        g_drawingBoard.ClearBoard();
    } else {
        return;
    }
    if (m_pFrame) m_pFrame->RenderBoard();
}

void WhiteBoardToolWindow::ChooseTool(int tool)
{
    g_drawingBoard.SetTool(tool);
    if (tool != kToolEraser) PaintSwatch();
}

void WhiteBoardToolWindow::PaintSwatch()
{
    DuiLib::CControlUI* swatch = m_PaintManager.FindControl("color_sel_tool");
    int tool = g_drawingBoard.GetTool();
    if (!swatch || !DrawingBoard::HasColour(tool)) return;
    COLORREF c = g_drawingBoard.GetColour(tool);
    swatch->SetBkColor(0xFF000000 | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c));
}
