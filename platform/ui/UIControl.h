// CControlUI: a windowless control: position, look, state and the paint and
// event pipeline every control shares.
//
// Setters may be called from worker threads: they store the value, mark
// layout or paint as needed and invalidate the window; they never paint,
// never send messages and never block.
#pragma once

#include <windows.h>

#include <atomic>

#include "platform/ui/UIDefine.h"
#include "platform/ui/UIDelegate.h"
#include "platform/ui/UIManager.h"

namespace DuiLib {

class CControlUI {
public:
    CControlUI();
    virtual ~CControlUI();
    CControlUI(const CControlUI&) = delete;
    CControlUI& operator=(const CControlUI&) = delete;

    virtual CDuiString GetName() const;
    virtual void SetName(LPCSTR pstrName);
    virtual LPCSTR GetClass() const;
    virtual LPVOID GetInterface(LPCSTR pstrName);
    virtual UINT GetControlFlags() const;
    // Clicks and keyboard activation; false when hidden or disabled.
    virtual bool Activate();

    virtual CPaintManagerUI* GetManager() const { return m_pManager; }
    virtual void SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit = true);
    virtual CControlUI* GetParent() const { return m_pParent; }

    virtual CDuiString GetText() const;
    virtual void SetText(LPCSTR pstrText);

    DWORD GetBkColor() const { return m_dwBackColor; }
    // 0 means none; a colour whose alpha byte is 0 is drawn opaque.
    void SetBkColor(DWORD dwBackColor);
    DWORD GetBkColor2() const { return m_dwBackColor2; }
    // With a second colour the background is a vertical gradient.
    void SetBkColor2(DWORD dwBackColor);
    CDuiString GetBkImage() const;
    void SetBkImage(LPCSTR pStrImage);
    // Leave the centre of the background image out (nine-grid hole).
    bool IsBkImageHole() const { return m_bBkImageHole; }
    void SetBkImageHole(bool bHole);
    DWORD GetBorderColor() const { return m_dwBorderColor; }
    // Borders are drawn opaque whatever the alpha byte.
    void SetBorderColor(DWORD dwBorderColor);
    int GetBorderSize() const { return m_nBorderSize; }
    void SetBorderSize(int nSize);

    // Window-client coordinates.
    virtual const RECT& GetPos() const { return m_rcItem; }
    // Non-floating controls: window-client coordinates (the next layout
    // pass overrides them). Floating controls: relative to the parent's
    // top-left corner, like the layout's pos attribute.
    virtual void SetPos(RECT rc, bool bNeedInvalidate = true);
    // A floating control's rectangle relative to its parent.
    RECT GetFloatPos() const;
    virtual int GetWidth() const { return m_rcItem.right - m_rcItem.left; }
    virtual int GetHeight() const { return m_rcItem.bottom - m_rcItem.top; }
    virtual int GetX() const { return m_rcItem.left; }
    virtual int GetY() const { return m_rcItem.top; }
    virtual RECT GetPadding() const { return m_rcPadding; }
    virtual void SetPadding(RECT rcPadding);
    virtual int GetFixedWidth() const { return m_cxyFixed.cx; }
    virtual void SetFixedWidth(int cx);
    virtual int GetFixedHeight() const { return m_cxyFixed.cy; }
    virtual void SetFixedHeight(int cy);
    virtual int GetMinWidth() const { return m_cxyMin.cx; }
    virtual void SetMinWidth(int cx);
    virtual int GetMaxWidth() const { return m_cxyMax.cx; }
    virtual void SetMaxWidth(int cx);
    virtual int GetMinHeight() const { return m_cxyMin.cy; }
    virtual void SetMinHeight(int cy);
    virtual int GetMaxHeight() const { return m_cxyMax.cy; }
    virtual void SetMaxHeight(int cy);
    virtual bool IsFloat() const { return m_bFloat; }
    virtual void SetFloat(bool bFloat = true);

    virtual CDuiString GetToolTip() const;
    virtual void SetToolTip(LPCSTR pstrText);
    virtual CDuiString GetUserData() const;
    virtual void SetUserData(LPCSTR pstrText);
    virtual UINT_PTR GetTag() const { return m_pTag; }
    virtual void SetTag(UINT_PTR pTag) { m_pTag = pTag; }

    // Visible when its own flag is set and no ancestor is hidden.
    virtual bool IsVisible() const { return m_bVisible && m_bInternVisible; }
    virtual void SetVisible(bool bVisible = true);
    // Set by a container that is shown or hidden.
    virtual void SetInternVisible(bool bVisible = true);
    virtual bool IsEnabled() const { return m_bEnabled; }
    virtual void SetEnabled(bool bEnable = true);
    virtual bool IsMouseEnabled() const { return m_bMouseEnabled; }
    virtual void SetMouseEnabled(bool bEnable = true);
    virtual bool IsKeyboardEnabled() const { return m_bKeyboardEnabled; }
    virtual void SetKeyboardEnabled(bool bEnable = true);
    virtual bool IsFocused() const { return m_bFocused; }
    virtual void SetFocus();
    // menu="true": a right click sends "menu" from this control.
    virtual bool IsContextMenuUsed() const { return m_bMenuUsed; }
    virtual void SetContextMenuUsed(bool bMenuUsed);

    virtual CControlUI* FindControl(FINDCONTROLPROC Proc, LPVOID pData, UINT uFlags);

    void Invalidate();
    bool IsUpdateNeeded() const { return m_bUpdateNeeded; }
    void NeedUpdate();
    void NeedParentUpdate();

    // Called once the control has its manager.
    virtual void Init();
    virtual void DoInit() {}

    // OnEvent delegates first; DoEvent unless one of them returned false.
    virtual void Event(TEventUI& event);
    virtual void DoEvent(TEventUI& event);

    virtual void SetAttribute(LPCSTR pstrName, LPCSTR pstrValue);
    // name="value" pairs (either quote), as in <Default value="...">.
    CControlUI* ApplyAttributeList(LPCSTR pstrList);

    virtual SIZE EstimateSize(SIZE szAvailable);

    virtual void DoPaint(HDC hDC, const RECT& rcPaint);
    virtual void PaintBkColor(HDC hDC);
    virtual void PaintBkImage(HDC hDC);
    virtual void PaintStatusImage(HDC hDC);
    virtual void PaintText(HDC hDC);
    virtual void PaintBorder(HDC hDC);
    // An image string over this control, clipped to the part being painted.
    bool DrawImage(HDC hDC, LPCSTR pStrImage, LPCSTR pStrModify = nullptr);

    CEventSource OnInit;
    CEventSource OnEvent;
    CEventSource OnNotify;

protected:
    // True when called from a thread other than the window's.
    bool OffUIThread() const;
    // The mouse entering or leaving: sets or clears UISTATE_HOT in state
    // (entering only while enabled) and repaints on a change. False for
    // every other event.
    bool TrackHotState(const TEventUI& event, UINT& state);

    CPaintManagerUI* m_pManager = nullptr;
    CControlUI* m_pParent = nullptr;
    bool m_bUpdateNeeded = true;
    RECT m_rcItem = {0, 0, 0, 0};
    RECT m_rcPaint = {0, 0, 0, 0};
    RECT m_rcPadding = {0, 0, 0, 0};
    RECT m_rcFloat = {0, 0, 0, 0};
    SIZE m_cxyFixed = {0, 0};
    SIZE m_cxyMin = {0, 0};
    SIZE m_cxyMax = {9999, 9999};
    std::atomic<bool> m_bVisible{true};
    std::atomic<bool> m_bInternVisible{true};
    std::atomic<bool> m_bEnabled{true};
    bool m_bMouseEnabled = true;
    bool m_bKeyboardEnabled = true;
    bool m_bFocused = false;
    bool m_bFloat = false;
    bool m_bMenuUsed = false;
    bool m_bBkImageHole = false;
    UINT_PTR m_pTag = 0;
    DWORD m_dwBackColor = 0;
    DWORD m_dwBackColor2 = 0;
    DWORD m_dwBorderColor = 0;
    int m_nBorderSize = 0;

private:
    // Strings may be set from worker threads: read and written under one
    // process-wide lock, handed out as copies.
    CDuiString m_sName;
    CDuiString m_sText;
    CDuiString m_sToolTip;
    CDuiString m_sUserData;
    CDuiString m_sBkImage;
};

// Guards the strings of every control (see CControlUI).
std::mutex& ControlTextLock();

}  // namespace DuiLib
