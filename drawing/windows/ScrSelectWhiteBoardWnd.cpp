#include "drawing/windows/ScrSelectWhiteBoardWnd.h"

#include "drawing/windows/WhiteboardLogic.h"
#include "drawing/windows/WhiteboardWnd.h"
#include "kit/WindowTable.h"

namespace {

CScrSelectWhiteBoardWnd* g_pScrSelectWhiteBoardWnd = nullptr;

}  // namespace

CScrSelectWhiteBoardWnd* CScrSelectWhiteBoardWnd::GetScrSelectWhiteBoardWnd()
{
    if (g_pScrSelectWhiteBoardWnd && ::IsWindow(g_pScrSelectWhiteBoardWnd->GetHWND()))
        return g_pScrSelectWhiteBoardWnd;
    g_pScrSelectWhiteBoardWnd = new CScrSelectWhiteBoardWnd;
    return g_pScrSelectWhiteBoardWnd;
}

void CScrSelectWhiteBoardWnd::AppendMenuItems(HMENU menu)
{
    ::AppendMenuA(menu, MF_STRING, kCmdRecordSelection, "录制选择区域");
    ::AppendMenuA(menu, MF_STRING, kCmdClose, "取消选择");
    ::AppendMenuA(menu, MF_STRING, kCmdPickAgain, "重新选择");
}

void CScrSelectWhiteBoardWnd::OnMenuCommand(UINT id)
{
    if (id == kCmdRecordSelection)
        OnConfirm();
    else
        CCaptureFrameWnd::OnMenuCommand(id);
}

void CScrSelectWhiteBoardWnd::OnConfirm()
{
    if (!HasSelection()) return;
    // The frame goes round the selection, so what was chosen is exactly
    // what its canvas records.
    RECT chosen = GetSelectionRect();
    if (auto* board = static_cast<CWhiteboardWnd*>(GetWindowTable().Current(WindowId::Whiteboard))) {
        board->MoveToRect(chosen.left - kBoardInsetLeft, chosen.top - kBoardInsetTop,
                          chosen.right + kBoardInsetRight, chosen.bottom + kBoardInsetBottom);
        board->ShowWindow(true);
    }
    CloseFrame();
}

void CScrSelectWhiteBoardWnd::OnFrameDestroyed()
{
    GetWindowTable().Forget(this);
    if (g_pScrSelectWhiteBoardWnd == this) g_pScrSelectWhiteBoardWnd = nullptr;
}
