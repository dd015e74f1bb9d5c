// The whiteboard's region selector: the full-screen capture frame over the
// frozen desktop; the area chosen in it (double click, or "录制选择区域"
// from its menu) becomes the whiteboard's canvas. Cancelling closes the
// selector only, and the whiteboard stays hidden until a choice is made.
//
// UI thread only; the object deletes itself with its window.
#pragma once

#include "drawing/windows/CanvasControls.h"
#include "drawing/windows/CaptureFrameWnd.h"

#include <cstring>

class WhiteBoardCanvasContainer : public CCanvasContainerUI {
public:
    explicit WhiteBoardCanvasContainer(CanvasSelectionHost* host = nullptr)
        : CCanvasContainerUI(host)
    {
    }
    LPCSTR GetClass() const override { return "WhiteBoardCanvasContainer"; }
    LPVOID GetInterface(LPCSTR name) override
    {
        if (name && !strcmp(name, "WhiteBoardCanvasContainer")) return this;
        return CCanvasContainerUI::GetInterface(name);
    }
};

class CDialogBuilderEx : public CaptureFrameBuilderCallback<WhiteBoardCanvasContainer> {
public:
    explicit CDialogBuilderEx(CanvasSelectionHost* host)
        : CaptureFrameBuilderCallback<WhiteBoardCanvasContainer>("WhiteBoardCanvasContainer", host)
    {
    }
};

class CScrSelectWhiteBoardWnd : public CCaptureFrameWnd {
public:
    // The command of the menu that takes the selection.
    static const UINT kCmdRecordSelection = 158;

    // The selector while its window exists, else a new one (not yet
    // created).
    static CScrSelectWhiteBoardWnd* GetScrSelectWhiteBoardWnd();

protected:
    DuiLib::CDuiString GetSkinFile() const override { return "Scr_WhiteBoard_Capture.xml"; }
    DuiLib::IDialogBuilderCallback* GetBuilderCallback() override { return &m_cb; }
    void AppendMenuItems(HMENU menu) override;
    void OnMenuCommand(UINT id) override;
    void OnConfirm() override;
    void OnFrameDestroyed() override;

private:
    CDialogBuilderEx m_cb{this};
};
