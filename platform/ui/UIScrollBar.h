// CScrollBarUI: the scroll bar of a container (or a standalone one): two
// arrow buttons, a rail and a thumb that is dragged. Pictures may replace
// every part; without them it draws itself in plain greys.
//
// A bar owned by a container only reports: the container keeps the
// position and lays its children out from it. A bar without an owner
// keeps its own position and sends "scroll".
#pragma once

#include "platform/ui/UIControl.h"

namespace DuiLib {

class CContainerUI;

class CScrollBarUI : public CControlUI {
public:
    CScrollBarUI();

    LPCSTR GetClass() const override;
    LPVOID GetInterface(LPCSTR pstrName) override;

    CContainerUI* GetOwner() const { return m_pOwner; }
    void SetOwner(CContainerUI* pOwner) { m_pOwner = pOwner; }
    bool IsHorizontal() const { return m_bHorizontal; }
    void SetHorizontal(bool bHorizontal = true);
    // How far the content reaches beyond the visible part, in pixels.
    int GetScrollRange() const { return m_nRange; }
    void SetScrollRange(int nRange);
    int GetScrollPos() const { return m_nScrollPos; }
    void SetScrollPos(int nPos);
    // One wheel notch or arrow click; by default a line of the default font.
    int GetLineSize() const;
    void SetLineSize(int nSize);
    void SetShowButton1(bool bShow);
    void SetShowButton2(bool bShow);
    // The visible length the bar scrolls over (a page).
    int GetPageSize() const;

    // Shown or hidden by the owner's layout pass (no new layout request).
    void SetShownByOwner(bool bShown);

    const RECT& GetThumbRect() const { return m_rcThumb; }
    const RECT& GetButton1Rect() const { return m_rcButton1; }
    const RECT& GetButton2Rect() const { return m_rcButton2; }

    void SetPos(RECT rc, bool bNeedInvalidate = true) override;
    void DoEvent(TEventUI& event) override;
    void SetAttribute(LPCSTR pstrName, LPCSTR pstrValue) override;
    void PaintStatusImage(HDC hDC) override;

private:
    enum Part { kNone, kButton1, kButton2, kThumb, kRailBefore, kRailAfter };

    void LayoutParts();
    Part PartAt(POINT pt) const;
    // Moves by a user action: through the owner, or here with "scroll".
    void ScrollTo(int nPos);
    void Step(Part part);
    void PaintPart(HDC hDC, const RECT& rc, UINT uState, const CDuiString* images,
                   int arrowDirection);

    CContainerUI* m_pOwner = nullptr;
    bool m_bHorizontal = false;
    int m_nRange = 0;
    int m_nScrollPos = 0;
    int m_nLineSize = 0;  // 0: from the font
    bool m_bShowButton1 = true;
    bool m_bShowButton2 = true;
    RECT m_rcButton1 = {0, 0, 0, 0};
    RECT m_rcButton2 = {0, 0, 0, 0};
    RECT m_rcThumb = {0, 0, 0, 0};
    UINT m_uButton1State = 0;
    UINT m_uButton2State = 0;
    UINT m_uThumbState = 0;
    Part m_pressed = kNone;
    POINT m_ptDragStart = {0, 0};
    int m_nDragStartPos = 0;
    int m_nRepeatTicks = 0;

    // normal, hot, pushed for each part; [3] of the rail is its picture.
    CDuiString m_sButton1Images[3];
    CDuiString m_sButton2Images[3];
    CDuiString m_sThumbImages[3];
    CDuiString m_sRailImage;
};

}  // namespace DuiLib
