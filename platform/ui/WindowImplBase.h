// WindowImplBase: a skinned window built from a layout file. It loads the
// skin package when the window names it, builds the layout with itself as
// the builder callback, takes the window attributes from the layout, draws
// no system frame (client area = window) and dispatches:
//   1. the OnXxx handlers below (sizing, hit testing, frame),
//   2. HandleCustomMessage (the window's own messages),
//   3. the paint manager (controls), 4. the default procedure.
#pragma once

#include "platform/ui/UIManager.h"
#include "platform/ui/UIWindow.h"

namespace DuiLib {

class WindowImplBase : public CWindowWnd,
                       public INotifyUI,
                       public IMessageFilterUI,
                       public IDialogBuilderCallback {
public:
    WindowImplBase() = default;
    ~WindowImplBase() override = default;

    // Builds the controls; runs once the layout is attached.
    virtual void InitWindow() {}
    // Removes this window from its manager; does not delete the object.
    void OnFinalMessage(HWND hWnd) override;
    // "click" on "closebtn" closes, "minbtn" minimises, "maxbtn" and
    // "restorebtn" maximise and restore.
    void Notify(TNotifyUI& msg) override;

    CPaintManagerUI& GetPaintManager() { return m_PaintManager; }

    // The program tells every window where the current skin background
    // comes from (the main window keeps it).
    typedef CDuiString (*SkinBackgroundFn)();
    static void SetSkinBackgroundHook(SkinBackgroundFn fn);
    static SkinBackgroundFn GetSkinBackgroundHook();
    // The tiled form every window paints its root with:
    // "file='%s' source='0,0,0,0' dest='0,0,0,0' corner='0,0,0,0' xtiled='true' ytiled='true'".
    static CDuiString TiledSkinImage(LPCSTR file);
    // Gives the named control the current skin background, tiled. False
    // without a hook or without such a control.
    bool ApplySkinBackground(LPCSTR controlName = "root_layout");

protected:
    virtual CDuiString GetSkinFolder() { return CDuiString(); }
    virtual CDuiString GetSkinFile() = 0;
    virtual UILIB_RESOURCETYPE GetResourceType() const { return UILIB_FILE; }
    // The package's resource id (MAKEINTRESOURCE(130) or "130") when the
    // type is UILIB_ZIPRESOURCE.
    virtual LPCSTR GetResourceID() const { return ""; }

    // Escape closes the window (IDCANCEL); Return is not handled. A window
    // that must not close on Escape returns TRUE for it without closing.
    virtual LRESULT ResponseDefaultKeyEvent(WPARAM wParam);

    CControlUI* CreateControl(LPCSTR pstrClass) override { return nullptr; }
    LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    // Every message the handlers below leave alone comes here first.
    // bHandled arrives FALSE; setting it stops the library's handling.
    virtual LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);

    virtual LRESULT OnCreate(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnClose(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnDestroy(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnNcActivate(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnNcCalcSize(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnNcPaint(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnNcHitTest(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnGetMinMaxInfo(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnMouseWheel(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnMouseHover(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnSize(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnChar(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnSysCommand(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnKeyDown(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnKillFocus(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnSetFocus(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnLButtonDown(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnLButtonUp(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnMouseMove(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);

    CPaintManagerUI m_PaintManager;

private:
    void LoadSkinPackage();
    void UpdateRoundRegion();
};

}  // namespace DuiLib
