// CPaintManagerUI: the control tree of one window and everything that
// drives it: layout, double-buffered painting, mouse and keyboard routing,
// focus, notifications, control timers and tooltips. The static part is
// process-wide: instance, skin package, message loop.
#pragma once

#include <windows.h>

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/ui/UIDefine.h"
#include "platform/ui/UIImage.h"

namespace DuiLib {

struct TFontInfo {
    HFONT hFont = nullptr;
    CDuiString sFontName;
    int iSize = 0;
    bool bBold = false;
    bool bUnderline = false;
    bool bItalic = false;
    TEXTMETRICW tm = {};
    bool bMetricsValid = false;
};

typedef CControlUI*(CALLBACK* FINDCONTROLPROC)(CControlUI*, LPVOID);

class CPaintManagerUI {
public:
    CPaintManagerUI();
    ~CPaintManagerUI();
    CPaintManagerUI(const CPaintManagerUI&) = delete;
    CPaintManagerUI& operator=(const CPaintManagerUI&) = delete;

    // ---- process-wide ----
    static void SetInstance(HINSTANCE hInst);
    static HINSTANCE GetInstance();
    // Program folder with a trailing backslash.
    static CDuiString GetInstancePath();
    static void SetResourcePath(LPCSTR pStrPath);
    static CDuiString GetResourcePath();
    // The skin package from memory (copied) or from the executable's
    // "ZIPRES" resource; every window's layout and images come from it.
    static bool SetResourceZip(LPVOID pVoid, unsigned int len);
    static bool LoadResourceZip(LPCSTR id, LPCSTR type = "ZIPRES");
    static bool HasResourceZip();

    // GetMessage loop of the UI thread until WM_QUIT.
    static void MessageLoop();
    // Runs the pre-message filters of the window's manager (and of its
    // parents' for child windows). True when one of them took the message.
    static bool TranslateMessage(const LPMSG pMsg);
    // Frees the package, the image cache and GDI+ after the loop ends.
    static void Term();

    // ---- per window ----
    void Init(HWND hWnd);
    HWND GetPaintWindow() const { return m_hWndPaint; }
    // The window DC, kept for the window's life: the program may draw over
    // the library's painting with it.
    HDC GetPaintDC() const { return m_hDcPaint; }
    POINT GetMousePos() const { return m_ptLastMousePos; }
    SIZE GetClientSize() const;
    // True on the thread that owns the window.
    bool IsUIThread() const;

    void SetSkinFolder(LPCSTR folder);
    CDuiString GetSkinFolder() const;

    // Window attributes from the layout's <Window> element.
    SIZE GetInitSize() const { return m_szInitWindowSize; }
    void SetInitSize(int cx, int cy);
    RECT& GetSizeBox() { return m_rcSizeBox; }
    void SetSizeBox(const RECT& rcSizeBox) { m_rcSizeBox = rcSizeBox; }
    // left, top, right: margins; bottom: height of the drag strip.
    RECT& GetCaptionRect() { return m_rcCaption; }
    void SetCaptionRect(const RECT& rcCaption) { m_rcCaption = rcCaption; }
    SIZE GetRoundCorner() const { return m_szRoundCorner; }
    void SetRoundCorner(int cx, int cy);
    SIZE GetMinInfo() const { return m_szMinWindow; }
    void SetMinInfo(int cx, int cy);
    SIZE GetMaxInfo() const { return m_szMaxWindow; }
    void SetMaxInfo(int cx, int cy);
    // Opacity of the whole window: WS_EX_LAYERED + LWA_ALPHA, or the
    // constant alpha of UpdateLayeredWindow for a per-pixel layered window.
    BYTE GetOpacity() const { return m_nOpacity; }
    void SetOpacity(BYTE nOpacity);
    // Per-pixel alpha: the tree is drawn into a 32-bit surface cleared to
    // transparent and handed to UpdateLayeredWindow (a hole shows what is
    // behind). May be switched at run time; switching off repaints the
    // window the usual way. Repaints are posted, one at a time.
    bool IsLayered() const { return m_bLayered; }
    void SetLayered(bool bLayered);
    // The surface last handed to UpdateLayeredWindow (premultiplied BGRA,
    // top-down, window size); null while the window is not layered.
    const TImageInfo* GetLayeredSurface() const { return m_pLayeredSurface; }

    // A rectangle of the client area (client coordinates) the library never
    // paints: another party draws there (a video renderer drawing into this
    // window), and a repaint must not blank its picture. Empty: none.
    void SetUnpaintedRect(const RECT& rc);
    RECT GetUnpaintedRect() const { return m_rcUnpainted; }

    // A window that clicks never activate and that never takes the
    // keyboard (drop-down lists, menus that leave the focus where it was).
    bool IsNoActivate() const { return m_bNoActivate; }
    void SetNoActivate(bool bNoActivate) { m_bNoActivate = bNoActivate; }

    // Another manager's fonts, images and default attribute lists serve
    // this one where it has none of its own (drop-down lists, menus).
    void UseParentResource(CPaintManagerUI* pParent) { m_pParentResource = pParent; }
    CPaintManagerUI* GetParentResource() const { return m_pParentResource; }

    DWORD GetDefaultFontColor() const { return m_dwDefaultFontColor; }
    void SetDefaultFontColor(DWORD dwColor) { m_dwDefaultFontColor = dwColor; }
    DWORD GetDefaultDisabledColor() const { return m_dwDefaultDisabledColor; }
    void SetDefaultDisabledColor(DWORD dwColor) { m_dwDefaultDisabledColor = dwColor; }

    // Fonts by id; -1 (or an unknown id) is the default font.
    void SetDefaultFont(LPCSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
    HFONT AddFont(int id, LPCSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic,
                  bool bDefault = false);
    HFONT GetFont(int id);
    TFontInfo* GetFontInfo(int id);
    void RemoveAllFonts();

    // Images: those registered here first, then the skin cache.
    const TImageInfo* GetImageEx(LPCSTR bitmap, DWORD mask = 0);
    // Registers a program bitmap under a name usable as file='name'. The
    // manager owns it from then on (deleted on removal or with the window).
    // A bitmap registered again under a new name or size replaces the old
    // entry; the next paint shows it. Call on the window's thread.
    const TImageInfo* AddImage(LPCSTR name, HBITMAP hBitmap, int iWidth, int iHeight, bool bAlpha);
    bool RemoveImage(LPCSTR bitmap);
    void RemoveAllImages();

    // Attribute lists applied to every new control of a class ("Button").
    void AddDefaultAttributeList(LPCSTR pStrControlName, LPCSTR pStrControlAttrList);
    LPCSTR GetDefaultAttributeList(LPCSTR pStrControlName) const;
    void RemoveAllDefaultAttributeList();

    // ---- the control tree ----
    // Makes pControl the root and posts the one "windowinit" notification.
    bool AttachDialog(CControlUI* pControl);
    bool InitControls(CControlUI* pControl, CControlUI* pParent = nullptr);
    // Forgets a control that is going away (hover, focus, capture, timers,
    // queued notifications, name, group).
    void ReapObjects(CControlUI* pControl);
    bool AddDelayedCleanup(CControlUI* pControl);
    // Keeps the name lookup right when a control's name changes.
    void RenameControl(CControlUI* pControl, LPCSTR pstrOldName);
    CControlUI* GetRoot() const { return m_pRoot; }

    // Topmost visible, mouse-enabled control at a client point.
    CControlUI* FindControl(POINT pt) const;
    CControlUI* FindControl(LPCSTR pstrName) const;
    CControlUI* FindSubControlByPoint(CControlUI* pParent, POINT pt) const;
    CControlUI* FindSubControlByName(CControlUI* pParent, LPCSTR pstrName) const;

    bool AddOptionGroup(LPCSTR pStrGroupName, CControlUI* pControl);
    const std::vector<CControlUI*>* GetOptionGroup(LPCSTR pStrGroupName) const;
    void RemoveOptionGroup(LPCSTR pStrGroupName, CControlUI* pControl);
    void RemoveAllOptionGroups();

    CControlUI* GetFocus() const { return m_pFocus; }
    // Null moves the keyboard focus to the window itself.
    void SetFocus(CControlUI* pControl);

    // Control timers; window timer ids from 0x10000 up, so the program's
    // own timers on the same window are never touched.
    bool SetTimer(CControlUI* pControl, UINT nTimerID, UINT uElapse);
    bool KillTimer(CControlUI* pControl, UINT nTimerID);
    void KillTimer(CControlUI* pControl);
    void RemoveAllTimers();

    void SetCapture();
    void ReleaseCapture();
    bool IsCaptured() const;

    // Layout and repaint requests; safe from any thread (they only mark
    // and invalidate).
    void NeedUpdate();
    bool IsUpdateNeeded() const { return m_bUpdateNeeded; }
    void Invalidate();
    void Invalidate(const RECT& rcItem);

    bool AddNotifier(INotifyUI* pControl);
    bool RemoveNotifier(INotifyUI* pControl);
    // Synchronous: the sender's OnNotify delegates, then every notifier.
    // Asynchronous: queued and delivered from a posted message.
    void SendNotify(TNotifyUI& Msg, bool bAsync = false);
    void SendNotify(CControlUI* pControl, LPCSTR pstrMessage, WPARAM wParam = 0, LPARAM lParam = 0,
                    bool bAsync = false);
    // A notification for another window (a popup telling its owner what was
    // chosen), posted: the sender is named, and looked up by that name when
    // the notification arrives, so a sender removed meanwhile arrives as
    // null instead of a dangling control. False when the window is gone.
    // Any thread.
    static bool PostNotify(HWND hWnd, LPCSTR pstrMessage, LPCSTR pstrSenderName,
                           WPARAM wParam = 0, LPARAM lParam = 0);

    bool AddPreMessageFilter(IMessageFilterUI* pFilter);
    bool RemovePreMessageFilter(IMessageFilterUI* pFilter);
    bool AddMessageFilter(IMessageFilterUI* pFilter);
    bool RemoveMessageFilter(IMessageFilterUI* pFilter);

    // The library's handling of a window message; true when handled.
    bool MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);
    bool PreMessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);

    // Lays the tree out over the client area now, when something changed.
    void UpdateLayout();
    // Paints the part rcPaint of the tree into any DC in client coordinates
    // (the back buffer, PrintWindow, a surface for layered rendering).
    void Render(HDC hDC, const RECT& rcPaint);

private:
    struct TimerInfo {
        CControlUI* pSender;
        UINT nLocalID;
        UINT uWinTimer;
    };

    void RegisterNames(CControlUI* pControl);
    void EventTo(CControlUI* pControl, int type, POINT pt, WPARAM wParam, LPARAM lParam);
    void ClearStaleTargets();
    void FlushAsyncNotify();
    void DeliverPostedNotify(LPARAM lParam);
    void FlushDelayedCleanup();
    void ShowToolTip(CControlUI* pControl, POINT pt);
    void HideToolTip();
    bool EnsureBackBuffer(int cx, int cy);
    void ReleaseBackBuffer();
    void PostOnce(UINT uMsg, std::atomic<bool>& posted);

    bool OnPaint();
    void RenderLayered();
    void ReleaseLayeredSurface();
    bool OnMouseMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);
    bool OnKeyMessage(UINT uMsg, WPARAM wParam, LPARAM lParam);

    HWND m_hWndPaint = nullptr;
    HDC m_hDcPaint = nullptr;
    HDC m_hDcOffscreen = nullptr;
    HBITMAP m_hbmpOffscreen = nullptr;
    HBITMAP m_hbmpOffscreenOld = nullptr;
    SIZE m_szOffscreen = {0, 0};
    HWND m_hwndTooltip = nullptr;
    CControlUI* m_pTooltipOwner = nullptr;
    bool m_bMouseTracking = false;
    bool m_bDestroying = false;
    bool m_bWindowInitDone = false;

    std::string m_skinFolder;
    mutable std::mutex m_stateLock;  // names, skin folder, async queue

    CControlUI* m_pRoot = nullptr;
    CControlUI* m_pFocus = nullptr;
    CControlUI* m_pEventHover = nullptr;
    CControlUI* m_pEventClick = nullptr;
    CControlUI* m_pEventKey = nullptr;
    POINT m_ptLastMousePos = {-1, -1};

    std::atomic<bool> m_bUpdateNeeded{false};
    std::atomic<bool> m_bAsyncPosted{false};
    std::atomic<bool> m_bCleanupPosted{false};

    SIZE m_szInitWindowSize = {0, 0};
    SIZE m_szMinWindow = {0, 0};
    SIZE m_szMaxWindow = {0, 0};
    SIZE m_szRoundCorner = {0, 0};
    RECT m_rcSizeBox = {0, 0, 0, 0};
    RECT m_rcCaption = {0, 0, 0, 0};
    RECT m_rcUnpainted = {0, 0, 0, 0};
    BYTE m_nOpacity = 255;
    std::atomic<bool> m_bLayered{false};
    std::atomic<bool> m_bLayeredRenderPosted{false};
    TImageInfo* m_pLayeredSurface = nullptr;
    bool m_bLayeredErrorLogged = false;
    CPaintManagerUI* m_pParentResource = nullptr;
    bool m_bNoActivate = false;
    DWORD m_dwDefaultFontColor = 0xFF000000;
    DWORD m_dwDefaultDisabledColor = 0xFFA7A6AA;

    TFontInfo m_DefaultFont;
    std::map<int, TFontInfo*> m_fonts;
    std::map<std::string, TImageInfo*> m_images;
    std::map<std::string, std::string> m_defaultAttrs;
    std::map<std::string, CControlUI*> m_names;
    std::map<std::string, std::vector<CControlUI*>> m_optionGroups;
    std::vector<TimerInfo> m_timers;
    UINT m_uNextTimerID = 0x10000;
    std::vector<INotifyUI*> m_notifiers;
    std::vector<IMessageFilterUI*> m_preMessageFilters;
    std::vector<IMessageFilterUI*> m_messageFilters;
    std::vector<TNotifyUI> m_asyncNotify;
    std::vector<CControlUI*> m_delayedCleanup;
};

}  // namespace DuiLib
