#include "drawing/windows/CanvasControls.h"

#include <cstring>
#include <new>

using DuiLib::TEventUI;

CCanvasUI::~CCanvasUI() = default;

LPCSTR CCanvasUI::GetClass() const
{
    return "Canvas";
}

LPVOID CCanvasUI::GetInterface(LPCSTR pstrName)
{
    if (pstrName && strcmp(pstrName, "Canvas") == 0) return this;
    return CControlUI::GetInterface(pstrName);
}

CCanvasContainerUI::CCanvasContainerUI(CanvasSelectionHost* host) : m_pHost(host) {}

CCanvasContainerUI::~CCanvasContainerUI() = default;

LPCSTR CCanvasContainerUI::GetClass() const
{
    return "CanvasContainer";
}

LPVOID CCanvasContainerUI::GetInterface(LPCSTR pstrName)
{
    if (pstrName && strcmp(pstrName, "CanvasContainer") == 0) return this;
    return CContainerUI::GetInterface(pstrName);
}

UINT CCanvasContainerUI::GetControlFlags() const
{
    return DuiLib::UIFLAG_SETCURSOR;
}

RECT CCanvasContainerUI::GetTrackerHandleRect(int index) const
{
    return ::GetTrackerHandleRect(GetPos(), HandleSize(), index);
}

RECT CCanvasContainerUI::WindowArea() const
{
    DuiLib::CControlUI* root = m_pManager ? m_pManager->GetRoot() : nullptr;
    return root ? root->GetPos() : GetPos();
}

HCURSOR CCanvasContainerUI::HitTestTracker(POINT pt, int& handle) const
{
    handle = HitTestTrackerHandle(GetPos(), WindowArea(), HandleSize(), pt);
    return ::LoadCursor(nullptr, TrackerCursorId(handle));
}

void CCanvasContainerUI::DoEvent(TEventUI& event)
{
    const bool dragging = IsDragging();
    switch (event.Type) {
        case DuiLib::UIEVENT_SETCURSOR:
            if (dragging) return;
            if (IsEnabled()) {
                ::SetCursor(HitTestTracker(event.ptMouse, m_nHandle));
                return;
            }
            break;
        case DuiLib::UIEVENT_BUTTONDOWN:
            if (IsEnabled() && m_pHost) {
                m_uFlags |= kDragging;
                m_ptLastMouse = event.ptMouse;
                m_pHost->SetSelectionResizing(m_nHandle != kHandleMove);
                m_ptAnchor = TrackerAnchor(m_nHandle, m_pHost->GetSelectionArea(),
                                           m_pHost->GetSelectionInsets());
                return;
            }
            break;
        case DuiLib::UIEVENT_BUTTONUP:
            m_uFlags &= ~kDragging;
            return;
        case DuiLib::UIEVENT_MOUSEMOVE: {
            if (!dragging || !m_pHost) return;
            SelectionInsets now = m_pHost->GetSelectionInsets();
            SelectionInsets next = m_nHandle == kHandleMove
                                       ? MoveSelection(now, event.ptMouse.x - m_ptLastMouse.x,
                                                       event.ptMouse.y - m_ptLastMouse.y)
                                       : ResizeSelection(m_nHandle, m_pHost->GetSelectionArea(),
                                                         now, m_ptAnchor, event.ptMouse);
            m_ptLastMouse = event.ptMouse;
            m_pHost->UpdateSelectionMask(next.left, next.top, next.right, next.bottom);
            break;
        }
        default:
            break;
    }
    CContainerUI::DoEvent(event);
}

void CCanvasContainerUI::PaintBorder(HDC hDC)
{
    const DWORD color = GetBorderColor();
    for (int i = kHandleTopLeft; i <= kHandleBottomRight; ++i) {
        RECT square = GetTrackerHandleRect(i);
        if (!::IsRectEmpty(&square)) DuiLib::CRenderEngine::DrawColor(hDC, square, color);
    }
    const int s = HandleSize();
    RECT outline = GetPos();
    ::InflateRect(&outline, -s, -s);
    if (GetBorderSize() > 0 && !::IsRectEmpty(&outline))
        DuiLib::CRenderEngine::DrawRect(hDC, outline, GetBorderSize(), color);
}

DuiLib::CControlUI* CDialogBuilderCallbackExOld::CreateControl(LPCSTR pstrClass)
{
    if (!pstrClass) return nullptr;
    if (strcmp(pstrClass, "Canvas") == 0) return new (std::nothrow) CCanvasUI;
    if (strcmp(pstrClass, "CanvasContainer") == 0)
        return new (std::nothrow) CCanvasContainerUI(m_pHost);
    return nullptr;
}
