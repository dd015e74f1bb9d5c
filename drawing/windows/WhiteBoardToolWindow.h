// The whiteboard's companion window: the drawing tools in a column, the
// slides of the current presentation in a list, or both, by the frame's
// mode. One at a time, held in g_pWhiteBoardToolWnd while it exists.
//
// UI thread only.
#pragma once

#include "kit/SkinWindow.h"

class CWhiteboardWnd;

class WhiteBoardToolWindow : public SkinWindow {
public:
    // Created and shown beside the frame at (x, y).
    WhiteBoardToolWindow(CWhiteboardWnd* frame, int x, int y);

    // Shows the parts of the frame's mode and puts the window at (x, y) with
    // that size.
    void LayoutForMode(int x, int y, int width, int height);
    // The slides of the current presentation, the current one selected.
    void FillSlideList();
    void SelectSlideRow(int row);
    // The frame is letting the window go: nothing reaches the frame from
    // here on.
    void DetachFrame() { m_pFrame = nullptr; }

protected:
    LPCSTR GetWindowClassName() const override { return "WhiteBoardToolWindow"; }
    void InitWindow() override;
    void OnWindowInit() override;
    void OnNotify(DuiLib::TNotifyUI& msg) override;
    void OnEnded() override;
    LRESULT OnSize(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    LRESULT ResponseDefaultKeyEvent(WPARAM wParam) override;

private:
    ~WhiteBoardToolWindow() override = default;

    void OnClick(const std::string& name, POINT at);
    void ChooseTool(int tool);
    void PaintSwatch();

    CWhiteboardWnd* m_pFrame;
    POINT m_ptOpen;
    DuiLib::CListUI* m_pList = nullptr;
    DuiLib::CControlUI* m_pToolbar = nullptr;
    DuiLib::CControlUI* m_pPptBar = nullptr;
    DuiLib::CControlUI* m_pEditBox = nullptr;
    DuiLib::CControlUI* m_pClose = nullptr;
    bool m_bLayingOut = false;
};

// The open tool window, or null.
extern WhiteBoardToolWindow* g_pWhiteBoardToolWnd;
