// The screenshot selector's selection box ("ShotCanvasContainer" in
// "ScrShot.xml"): the canvas container's handles and dragging as they are,
// under a class name of its own, and the builder callback that makes it.
#pragma once

#include "drawing/windows/CaptureFrameWnd.h"

class ShotCanvasContainer : public CCanvasContainerUI {
public:
    explicit ShotCanvasContainer(CanvasSelectionHost* host = nullptr) : CCanvasContainerUI(host) {}
    LPCSTR GetClass() const override { return "ShotCanvasContainer"; }
    LPVOID GetInterface(LPCSTR pstrName) override
    {
        if (pstrName && strcmp(pstrName, "ShotCanvasContainer") == 0) return this;
        return CCanvasContainerUI::GetInterface(pstrName);
    }
};

class CDialogBuilderCallbackEx : public CaptureFrameBuilderCallback<ShotCanvasContainer> {
public:
    explicit CDialogBuilderCallbackEx(CanvasSelectionHost* host)
        : CaptureFrameBuilderCallback<ShotCanvasContainer>("ShotCanvasContainer", host)
    {
    }
};
