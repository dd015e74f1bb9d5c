#include "kit/MenuWnd.h"

#include "drawing/DrawingBoard.h"
#include "kit/MenuPlacement.h"

#include <cstring>

namespace DuiLib {

namespace {

const WORD kSkinPackage = 130;
const int kItemHeight = 25;

bool IsMenuElement(CControlUI* p)
{
    return p && p->GetInterface("MenuElement") != nullptr;
}

CMenuElementUI* AsMenuElement(CControlUI* p)
{
    return p ? static_cast<CMenuElementUI*>(p->GetInterface("MenuElement")) : nullptr;
}

RECT WorkAreaOf(HWND hWnd)
{
    MONITORINFO mi = {};
    mi.cbSize = sizeof mi;
    ::GetMonitorInfoA(::MonitorFromWindow(hWnd, MONITOR_DEFAULTTONEAREST), &mi);
    return mi.rcWork;
}

void CloseEveryMenu(HWND from)
{
    GetContextMenuObserver().RBroadcast({1, from});
}

void CloseMenusBelow(HWND hWnd)
{
    GetContextMenuObserver().RBroadcast({2, hWnd});
}

}  // namespace

ContextMenuObserver& GetContextMenuObserver()
{
    static ContextMenuObserver observer;
    return observer;
}

// ---- CMenuWnd ----

CMenuWnd::CMenuWnd(HWND hParent) : m_hParent(hParent) {}

CMenuWnd* CMenuWnd::FromHandle(HWND hWnd)
{
    if (!hWnd) return nullptr;
    for (auto* r : GetContextMenuObserver().Receivers()) {
        auto* menu = static_cast<CMenuWnd*>(r);
        if (menu->GetHWND() == hWnd) return menu;
    }
    return nullptr;
}

bool CMenuWnd::Init(CMenuElementUI* pOwner, STRINGorID xml, LPCSTR pSkinType, POINT point)
{
    m_BasedPoint = point;
    m_pOwner = pOwner;
    m_pLayout = nullptr;
    if (IS_INTRESOURCE(xml.m_lpstr))
        m_layoutId = (UINT)(UINT_PTR)xml.m_lpstr;
    else
        m_layout = xml.m_lpstr ? xml.m_lpstr : "";
    m_sType = pSkinType ? pSkinType : "";
    GetContextMenuObserver().AddReceiver(this);

    HWND parent = m_pOwner ? m_pOwner->GetManager()->GetPaintWindow() : m_hParent;
    if (!Create(parent, "", WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_TOPMOST, RECT{0, 0, 0, 0})) {
        GetContextMenuObserver().RemoveReceiver(this);
        ReturnItemsToOwner();
        delete this;
        return false;
    }
    HWND top = m_hWnd;
    while (HWND up = ::GetParent(top)) top = up;
    ShowWindow(true);
    // The window the menu came from keeps looking active.
    ::SendMessageA(top, WM_NCACTIVATE, TRUE, 0);
    return true;
}

int CMenuWnd::Receive(ContextMenuParam param)
{
    switch (param.wParam) {
        case 1:
            Close();
            break;
        case 2:
            for (HWND up = ::GetParent(m_hWnd); up; up = ::GetParent(up)) {
                if (up == param.hWnd) {
                    Close();
                    break;
                }
            }
            break;
        default:
            break;
    }
    return 1;
}

void CMenuWnd::CreateTopMenu()
{
    m_pm.Init(m_hWnd);
    if (!CPaintManagerUI::HasResourceZip())
        CPaintManagerUI::LoadResourceZip(MAKEINTRESOURCEA(kSkinPackage), "ZIPRES");
    CDialogBuilder builder;
    CMenuBuilderCallback callback;
    STRINGorID xml = m_layoutId ? STRINGorID(m_layoutId) : STRINGorID(m_layout.c_str());
    CControlUI* root = builder.Create(xml, m_sType.IsEmpty() ? nullptr : m_sType.GetData(),
                                      &callback, &m_pm);
    if (!root) {
        UiLogError("menu: layout \"%s\" could not be built: %s",
                   m_layoutId ? "(resource)" : m_layout.c_str(), builder.GetLastError().c_str());
        root = new CMenuUI;
        // Nothing to choose from: gone again at once.
        Close();
    }
    m_pm.AttachDialog(root);

    const RECT work = WorkAreaOf(m_hWnd);
    SIZE size = root->EstimateSize({work.right - work.left, work.bottom - work.top});
    const RECT rc = PlaceTopMenu(m_BasedPoint, size, work);
    ::SetForegroundWindow(m_hWnd);
    ::MoveWindow(m_hWnd, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, FALSE);
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                   SWP_SHOWWINDOW);
}

void CMenuWnd::CreateSubMenu()
{
    LONG style = ::GetWindowLongA(m_hWnd, GWL_STYLE);
    ::SetWindowLongA(m_hWnd, GWL_STYLE, style & ~WS_CAPTION);
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                   SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    CPaintManagerUI* ownerPm = m_pOwner->GetManager();
    m_pm.Init(m_hWnd);
    // Fonts and pictures of the menu the item belongs to.
    m_pm.UseParentResource(ownerPm);

    m_pLayout = new CMenuUI;
    if (LPCSTR defaults = ownerPm->GetDefaultAttributeList("Menu"))
        m_pLayout->ApplyAttributeList(defaults);
    m_pLayout->SetBkColor(0xFFFFFFFF);
    m_pLayout->SetBorderColor(0xFF85E4FF);
    m_pLayout->SetBorderSize(0);
    // The items belong to the owner item: they go back to it when the
    // sub-menu closes.
    m_pLayout->SetAutoDestroy(false);
    m_pLayout->EnableScrollBar();

    // The owner's sub-items move into this list while it is open.
    std::vector<CControlUI*> items;
    for (int i = 0; i < m_pOwner->GetCount(); ++i)
        if (IsMenuElement(m_pOwner->GetItemAt(i))) items.push_back(m_pOwner->GetItemAt(i));
    for (CControlUI* item : items) {
        m_pOwner->Remove(item, true);
        item->SetVisible(true);
        item->SetInternVisible(true);
        m_pLayout->Add(item);
    }
    m_pm.AttachDialog(m_pLayout);

    const RECT work = WorkAreaOf(m_hWnd);
    const SIZE available = {work.right - work.left, work.bottom - work.top};
    SIZE size = {0, 0};
    for (CControlUI* item : items) {
        SIZE sz = item->EstimateSize(available);
        size.cy += sz.cy;
        size.cx = std::max(size.cx, sz.cx);
    }
    size.cx += 4;
    size.cy += 4;

    HWND ownerWnd = ownerPm->GetPaintWindow();
    RECT ownerItem = m_pOwner->GetPos();
    ::MapWindowPoints(ownerWnd, HWND_DESKTOP, reinterpret_cast<POINT*>(&ownerItem), 2);
    RECT ownerWindow;
    ::GetWindowRect(ownerWnd, &ownerWindow);
    std::vector<OpenMenu> open;
    for (auto* r : GetContextMenuObserver().Receivers()) {
        auto* menu = static_cast<CMenuWnd*>(r);
        if (menu == this || !::IsWindow(menu->GetHWND())) continue;
        OpenMenu m;
        ::GetWindowRect(menu->GetHWND(), &m.rect);
        m.isOwner = menu->GetHWND() == ownerWnd;
        open.push_back(m);
    }
    const RECT rc = PlaceSubMenu(ownerItem, ownerWindow, open, size, work);
    ::MoveWindow(m_hWnd, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, FALSE);
}

void CMenuWnd::ReturnItemsToOwner()
{
    if (!m_pOwner) return;
    if (m_pLayout) {
        std::vector<CControlUI*> items;
        for (int i = 0; i < m_pLayout->GetCount(); ++i) items.push_back(m_pLayout->GetItemAt(i));
        for (CControlUI* item : items) {
            m_pm.ReapObjects(item);
            m_pLayout->Remove(item, true);
            m_pOwner->Add(item);  // hidden again
            if (auto* element = AsMenuElement(item)) element->SetOwner(m_pOwner->GetOwnerControl());
        }
    }
    m_pOwner->m_pWindow = nullptr;
    m_pOwner->m_uButtonState &= ~UISTATE_PUSHED;
    m_pOwner->Invalidate();
    m_pOwner = nullptr;
}

LRESULT CMenuWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
        case WM_CREATE:
            if (m_pOwner)
                CreateSubMenu();
            else
                CreateTopMenu();
            return 0;
        case WM_CLOSE:
            if (m_pOwner) {
                m_pOwner->SetPos(m_pOwner->GetPos());
                m_pOwner->SetFocus();
            }
            break;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_RBUTTONDBLCLK:
        case WM_CONTEXTMENU:
            return 0;
        case WM_KILLFOCUS: {
            HWND gaining = reinterpret_cast<HWND>(wParam);
            if (!FromHandle(gaining)) CloseEveryMenu(m_hWnd);
            return 0;
        }
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE) Close();
            break;
        default:
            break;
    }
    LRESULT lRes = 0;
    if (m_pm.MessageHandler(uMsg, wParam, lParam, lRes)) return lRes;
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

void CMenuWnd::OnFinalMessage(HWND)
{
    GetContextMenuObserver().RemoveReceiver(this);
    ReturnItemsToOwner();
    delete this;
}

// ---- CMenuUI ----

CMenuUI::CMenuUI()
{
    SetHeaderVisible(false);
}

LPCSTR CMenuUI::GetClass() const
{
    return "MenuUI";
}

LPVOID CMenuUI::GetInterface(LPCSTR pstrName)
{
    if (strcmp(pstrName, "Menu") == 0) return this;
    return CListUI::GetInterface(pstrName);
}

bool CMenuUI::Add(CControlUI* pControl)
{
    return IsMenuElement(pControl) && CListUI::Add(pControl);
}

bool CMenuUI::AddAt(CControlUI* pControl, int iIndex)
{
    return IsMenuElement(pControl) && CListUI::AddAt(pControl, iIndex);
}

int CMenuUI::GetItemIndex(CControlUI* pControl) const
{
    return IsMenuElement(pControl) ? CListUI::GetItemIndex(pControl) : -1;
}

bool CMenuUI::SetItemIndex(CControlUI* pControl, int iIndex)
{
    return IsMenuElement(pControl) && CListUI::SetItemIndex(pControl, iIndex);
}

bool CMenuUI::Remove(CControlUI* pControl, bool bDoNotDestroy)
{
    return IsMenuElement(pControl) && CListUI::Remove(pControl, bDoNotDestroy);
}

SIZE CMenuUI::EstimateSize(SIZE szAvailable)
{
    SIZE size = {0, 0};
    for (int i = 0; i < GetCount(); ++i) {
        CControlUI* item = GetItemAt(i);
        if (!item->IsVisible()) continue;
        SIZE sz = item->EstimateSize(szAvailable);
        size.cy += sz.cy;
        size.cx = std::max(size.cx, sz.cx);
    }
    if (m_cxyFixed.cx > 0) size.cx = m_cxyFixed.cx;
    if (m_cxyFixed.cy > 0) size.cy = m_cxyFixed.cy;
    return size;
}

// ---- CMenuElementUI ----
// An item is chosen by a click or from the keyboard (Return on the selected
// item) alike: either way its width goes to the drawing board.

CMenuElementUI::CMenuElementUI()
{
    SetFixedHeight(kItemHeight);
}

CMenuElementUI::~CMenuElementUI()
{
    // Going while its sub-menu is open (its menu's window was destroyed
    // first): the sub-menu takes the items with it.
    if (m_pWindow) {
        CMenuWnd* sub = m_pWindow;
        m_pWindow = nullptr;
        sub->m_pOwner = nullptr;
        if (sub->m_pLayout) sub->m_pLayout->SetAutoDestroy(true);
        if (::IsWindow(sub->GetHWND())) ::DestroyWindow(sub->GetHWND());
    }
}

LPCSTR CMenuElementUI::GetClass() const
{
    return "MenuElement";
}

LPVOID CMenuElementUI::GetInterface(LPCSTR pstrName)
{
    if (strcmp(pstrName, "MenuElement") == 0) return this;
    return CListContainerElementUI::GetInterface(pstrName);
}

bool CMenuElementUI::AddAt(CControlUI* pControl, int iIndex)
{
    if (!CListContainerElementUI::AddAt(pControl, iIndex)) return false;
    if (IsMenuElement(pControl)) pControl->SetVisible(false);
    return true;
}

void CMenuElementUI::SetOwner(CControlUI* pOwner)
{
    m_pOwnerControl = pOwner;
    CListContainerElementUI::SetOwner(pOwner);
}

bool CMenuElementUI::HasSubItems() const
{
    for (int i = 0; i < GetCount(); ++i)
        if (IsMenuElement(GetItemAt(i))) return true;
    return false;
}

SIZE CMenuElementUI::EstimateSize(SIZE szAvailable)
{
    SIZE size = {0, 0};
    for (int i = 0; i < GetCount(); ++i) {
        CControlUI* child = GetItemAt(i);
        if (!child->IsVisible()) continue;
        SIZE sz = child->EstimateSize(szAvailable);
        size.cy += sz.cy;
        size.cx = std::max(size.cx, sz.cx);
    }
    TListInfoUI* info = m_pOwner ? m_pOwner->GetListInfo() : nullptr;
    if (size.cy == 0 && info && m_pManager) {
        const RECT& pad = info->rcTextPadding;
        RECT rc = {pad.left, 0, std::max(m_cxyFixed.cx, szAvailable.cx - pad.right), 9999};
        CRenderEngine::DrawText(m_pManager->GetPaintDC(), m_pManager, rc, GetText(),
                                info->dwTextColor, info->nFont,
                                DT_CALCRECT | (info->uTextStyle & ~(DT_RIGHT | DT_CENTER)));
        size.cx = rc.right - rc.left + pad.left + pad.right + 20;
        size.cy = rc.bottom - rc.top + pad.top + pad.bottom;
    }
    if (m_cxyFixed.cy != 0) size.cy = m_cxyFixed.cy;
    return size;
}

void CMenuElementUI::CreateMenuWnd()
{
    if (m_pWindow || !m_pManager) return;
    HWND mine = m_pManager->GetPaintWindow();
    CloseMenusBelow(mine);
    m_pWindow = new CMenuWnd(mine);
    if (!m_pWindow->Init(this, "", "", POINT{0, 0})) m_pWindow = nullptr;
}

void CMenuElementUI::Choose()
{
    ApplyLineWidthMenuText(GetText());
    CloseEveryMenu(m_pManager ? m_pManager->GetPaintWindow() : nullptr);
}

bool CMenuElementUI::Activate()
{
    if (!CListContainerElementUI::Activate() || !m_bSelected) return false;
    if (!m_pWindow) {
        if (HasSubItems())
            CreateMenuWnd();
        else
            Choose();
    }
    return true;
}

void CMenuElementUI::DoEvent(TEventUI& event)
{
    if (event.Type == UIEVENT_MOUSEENTER) {
        CListContainerElementUI::DoEvent(event);
        if (m_pWindow) return;
        if (HasSubItems()) {
            if (m_pOwner) m_pOwner->SelectItem(GetIndex(), true);
            CreateMenuWnd();
        } else {
            if (m_pManager) CloseMenusBelow(m_pManager->GetPaintWindow());
            if (m_pOwner) m_pOwner->SelectItem(GetIndex(), true);
        }
        return;
    }
    if (event.Type == UIEVENT_BUTTONDOWN) {
        if (!IsEnabled()) return;
        CListContainerElementUI::DoEvent(event);
        if (m_pWindow) return;
        if (HasSubItems())
            CreateMenuWnd();
        else
            Choose();
        return;
    }
    CListContainerElementUI::DoEvent(event);
}

// ---- CMenuBuilderCallback ----

CControlUI* CMenuBuilderCallback::CreateControl(LPCSTR pstrClass)
{
    if (strcmp(pstrClass, "Menu") == 0) return new CMenuUI;
    if (strcmp(pstrClass, "MenuElement") == 0) return new CMenuElementUI;
    return nullptr;
}

}  // namespace DuiLib
