// The two controls of the full-screen pickers, placed in layouts by their
// tags: "Canvas", an empty area a window paints itself, and
// "CanvasContainer", the selection box: it paints eight handles and an
// outline and lets the mouse move the box or pull any handle.
//
// The box does not own the selection: it reads it from, and writes it to,
// the window it is on (CanvasSelectionHost), which moves the box and its
// mask. The screenshot, whiteboard and skin-crop pickers derive their own
// boxes from CCanvasContainerUI and keep its dragging by calling its
// DoEvent for the events they leave alone.
//
// UI thread only.
#pragma once

#include "drawing/windows/CanvasGeometry.h"
#include "platform/ui/UIlib.h"

// The window whose selection a canvas container edits.
class CanvasSelectionHost {
public:
    // The area the selection lies in, in the coordinates of the mouse
    // events (the window's client area; a picker covers the screen from
    // its origin, so these are screen coordinates too).
    virtual RECT GetSelectionArea() const = 0;
    virtual SelectionInsets GetSelectionInsets() const = 0;
    // A drag begins: it resizes the box, or moves it.
    virtual void SetSelectionResizing(bool resizing) {}
    // The one way the selection changes: the window moves its mask and the
    // box to it.
    virtual void UpdateSelectionMask(int left, int top, int right, int bottom) = 0;

protected:
    ~CanvasSelectionHost() = default;
};

class CCanvasUI : public DuiLib::CControlUI {
public:
    ~CCanvasUI() override;
    LPCSTR GetClass() const override;
    LPVOID GetInterface(LPCSTR pstrName) override;
};

class CCanvasContainerUI : public DuiLib::CContainerUI {
public:
    // Bit of the flags set while a drag is in progress.
    static const UINT kDragging = 0x40;

    explicit CCanvasContainerUI(CanvasSelectionHost* host = nullptr);
    ~CCanvasContainerUI() override;

    void SetSelectionHost(CanvasSelectionHost* host) { m_pHost = host; }
    CanvasSelectionHost* GetSelectionHost() const { return m_pHost; }

    LPCSTR GetClass() const override;
    LPVOID GetInterface(LPCSTR pstrName) override;
    // The box sets the cursor over itself.
    UINT GetControlFlags() const override;
    void DoEvent(DuiLib::TEventUI& event) override;
    // The handles and the outline, in the border colour.
    void PaintBorder(HDC hDC) override;

    // The square of handle 0..8 (the left inset sets its size); empty for
    // the move handle.
    RECT GetTrackerHandleRect(int index) const;
    // The handle under pt into `handle`; the cursor that shows it.
    HCURSOR HitTestTracker(POINT pt, int& handle) const;

    int GetHandle() const { return m_nHandle; }
    bool IsDragging() const { return (m_uFlags & kDragging) != 0; }

protected:
    // Half the side of a handle's square: the left value of "inset".
    int HandleSize() const { return GetInset().left; }
    // The area of the whole window, as the edge strips measure it.
    RECT WindowArea() const;

    CanvasSelectionHost* m_pHost = nullptr;
    int m_nHandle = 0;
    UINT m_uFlags = 0;
    POINT m_ptAnchor = {0, 0};
    POINT m_ptLastMouse = {0, 0};
};

// Makes "Canvas" and "CanvasContainer" for the dialog builder; the boxes it
// makes edit the host's selection. Any other tag: null, so the library
// builds its own controls.
class CDialogBuilderCallbackExOld : public DuiLib::IDialogBuilderCallback {
public:
    explicit CDialogBuilderCallbackExOld(CanvasSelectionHost* host = nullptr) : m_pHost(host) {}
    DuiLib::CControlUI* CreateControl(LPCSTR pstrClass) override;

private:
    CanvasSelectionHost* m_pHost;
};
