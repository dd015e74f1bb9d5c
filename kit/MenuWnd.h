// The popup menu of the drawing tool windows: a borderless topmost window
// built from a menu layout ("Menu" holding "MenuElement" items) at a screen
// point. An item holding items opens them as a sub-menu beside it. The
// whole chain of menus closes when an item is chosen or the focus leaves
// the chain; Escape closes the menu it is pressed in. Choosing "1px" ..
// "5px" (a click, or Return on the selected item) sets the drawing board's
// width of its current tool.
//
//   auto* menu = new DuiLib::CMenuWnd(toolWindow);
//   menu->Init(nullptr, "pen_weight_menu.xml", "xml", screenPoint);
//
// The menu deletes itself when it closes. UI thread only.
#pragma once

#include "platform/ui/UIlib.h"

#include <algorithm>
#include <string>
#include <vector>

namespace DuiLib {

// What the menus are told: wParam 1 closes every menu, 2 the menus opened
// below the window hWnd (its sub-menus and theirs).
struct ContextMenuParam {
    WPARAM wParam;
    HWND hWnd;
};

template <typename ReturnT, typename ParamT>
class ObserverImpl;

template <typename ReturnT, typename ParamT>
class ReceiverImpl {
public:
    virtual ~ReceiverImpl() = default;
    virtual void AddObserver(ObserverImpl<ReturnT, ParamT>* observer)
    {
        m_observers.push_back(observer);
    }
    virtual ReturnT Receive(ParamT param) = 0;
    virtual void RemoveObserver()
    {
        auto observers = m_observers;
        m_observers.clear();
        for (auto* o : observers) o->RemoveReceiver(this);
    }

private:
    std::vector<ObserverImpl<ReturnT, ParamT>*> m_observers;
};

// Receivers in the order they were added. A receiver may leave while a
// broadcast runs; it is then not called.
template <typename ReturnT, typename ParamT>
class ObserverImpl {
public:
    using Receiver = ReceiverImpl<ReturnT, ParamT>;

    void AddReceiver(Receiver* receiver)
    {
        if (!receiver || Has(receiver)) return;
        m_receivers.push_back(receiver);
        receiver->AddObserver(this);
    }
    void RemoveReceiver(Receiver* receiver)
    {
        m_receivers.erase(std::remove(m_receivers.begin(), m_receivers.end(), receiver),
                          m_receivers.end());
    }
    bool Has(Receiver* receiver) const
    {
        return std::find(m_receivers.begin(), m_receivers.end(), receiver) != m_receivers.end();
    }
    // First to last.
    ReturnT Broadcast(ParamT param) { return Send(m_receivers, param); }
    // Last to first: the newest menu first.
    ReturnT RBroadcast(ParamT param)
    {
        return Send(std::vector<Receiver*>(m_receivers.rbegin(), m_receivers.rend()), param);
    }
    ReturnT Notify(ParamT param) { return Broadcast(param); }
    const std::vector<Receiver*>& Receivers() const { return m_receivers; }

private:
    ReturnT Send(const std::vector<Receiver*>& order, ParamT param)
    {
        ReturnT result = ReturnT();
        for (Receiver* r : order)
            if (Has(r)) result = r->Receive(param);
        return result;
    }

    std::vector<Receiver*> m_receivers;
};

using ContextMenuObserver = ObserverImpl<int, ContextMenuParam>;
// The one observer every open menu is registered with.
ContextMenuObserver& GetContextMenuObserver();

class CMenuElementUI;
class CMenuUI;

class CMenuWnd : public CWindowWnd, public ReceiverImpl<int, ContextMenuParam> {
public:
    explicit CMenuWnd(HWND hParent = nullptr);

    // Opens the menu: a top menu (no owner) from the layout (a skin file
    // name, or layout text) at point; a sub-menu with the items of owner.
    // False when the window could not be made; the object is then gone.
    bool Init(CMenuElementUI* pOwner, STRINGorID xml, LPCSTR pSkinType, POINT point);

    int Receive(ContextMenuParam param) override;

    CPaintManagerUI& GetPaintManager() { return m_pm; }
    CMenuElementUI* GetOwnerItem() const { return m_pOwner; }

    // The menu window of that handle, when one is open.
    static CMenuWnd* FromHandle(HWND hWnd);

protected:
    LPCSTR GetWindowClassName() const override { return "MenuWnd"; }
    UINT GetClassStyle() const override { return CS_DBLCLKS; }
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND hWnd) override;

private:
    friend class CMenuElementUI;
    ~CMenuWnd() override = default;
    void CreateTopMenu();
    void CreateSubMenu();
    // Puts the owner's items back in the owner, hidden, as they were
    // before the sub-menu opened.
    void ReturnItemsToOwner();

    HWND m_hParent;
    POINT m_BasedPoint = {0, 0};
    std::string m_layout;
    UINT m_layoutId = 0;  // a resource id instead of a name
    CDuiString m_sType;
    CPaintManagerUI m_pm;
    CMenuElementUI* m_pOwner = nullptr;
    CMenuUI* m_pLayout = nullptr;
};

// The list of a menu: it takes only menu items, and has no header.
class CMenuUI : public CListUI {
public:
    CMenuUI();

    LPCSTR GetClass() const override;
    LPVOID GetInterface(LPCSTR pstrName) override;

    bool Add(CControlUI* pControl) override;
    bool AddAt(CControlUI* pControl, int iIndex) override;
    int GetItemIndex(CControlUI* pControl) const override;
    bool SetItemIndex(CControlUI* pControl, int iIndex) override;
    bool Remove(CControlUI* pControl, bool bDoNotDestroy = false) override;

    // The widest visible item by the sum of their heights; a width or
    // height the layout fixes wins.
    SIZE EstimateSize(SIZE szAvailable) override;
};

// One item, 25 pixels high. Items it holds form its sub-menu: hidden here,
// shown in the sub-menu while it is open.
class CMenuElementUI : public CListContainerElementUI {
public:
    CMenuElementUI();
    ~CMenuElementUI() override;

    LPCSTR GetClass() const override;
    LPVOID GetInterface(LPCSTR pstrName) override;
    bool AddAt(CControlUI* pControl, int iIndex) override;
    void SetOwner(CControlUI* pOwner) override;
    SIZE EstimateSize(SIZE szAvailable) override;
    bool Activate() override;
    void DoEvent(TEventUI& event) override;

    bool HasSubItems() const;
    CMenuWnd* GetMenuWnd() const { return m_pWindow; }
    CControlUI* GetOwnerControl() const { return m_pOwnerControl; }
    // Opens the sub-menu (when none is open).
    void CreateMenuWnd();

private:
    friend class CMenuWnd;
    // An item without sub-items was chosen: the width it names goes to the
    // drawing board, and every menu closes.
    void Choose();

    CMenuWnd* m_pWindow = nullptr;
    CControlUI* m_pOwnerControl = nullptr;
};

// Makes the menu tags of a menu layout.
class CMenuBuilderCallback : public IDialogBuilderCallback {
public:
    CControlUI* CreateControl(LPCSTR pstrClass) override;
};

}  // namespace DuiLib
