// The paint manager's state: process-wide set-up, the control tree, fonts,
// images, focus, timers and notifications. Message handling is in
// UIManagerMessages.cpp.
#include "platform/ui/UIManager.h"

#include "platform/ui/UIControl.h"
#include "platform/ui/UILog.h"
#include "platform/ui/UIManagerInternal.h"
#include "platform/ui/UIRender.h"
#include "platform/ui/UIResource.h"

#include <algorithm>
#include <memory>

namespace DuiLib {

namespace {

// Managers of this process, for the pre-message filters of the loop.
std::vector<CPaintManagerUI*>& Managers()
{
    static std::vector<CPaintManagerUI*> managers;
    return managers;
}

CControlUI* CALLBACK FindFromPoint(CControlUI* pThis, LPVOID)
{
    return pThis;
}

CControlUI* CALLBACK FindByName(CControlUI* pThis, LPVOID pData)
{
    return pThis->GetName() == static_cast<LPCSTR>(pData) ? pThis : nullptr;
}

HFONT CreateUiFont(LPCWSTR face, int size, bool bold, bool underline, bool italic)
{
    LOGFONTW lf = {};
    lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
    lf.lfHeight = -size;
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    lf.lfUnderline = underline ? TRUE : FALSE;
    lf.lfItalic = italic ? TRUE : FALSE;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    return ::CreateFontIndirectW(&lf);
}

template <class T>
bool AddUnique(std::vector<T*>& v, T* p)
{
    if (!p || std::find(v.begin(), v.end(), p) != v.end()) return false;
    v.push_back(p);
    return true;
}

template <class T>
bool RemoveOne(std::vector<T*>& v, T* p)
{
    auto it = std::find(v.begin(), v.end(), p);
    if (it == v.end()) return false;
    v.erase(it);
    return true;
}

}  // namespace

UINT UiInternalMessage(UiMessage which)
{
    static const char* const names[] = {"OrbiskUiWindowInit", "OrbiskUiAsyncNotify",
                                        "OrbiskUiCleanup",    "OrbiskUiLayeredRender",
                                        "OrbiskUiEditApply",  "OrbiskUiEditEnd",
                                        "OrbiskUiPostedNotify"};
    static UINT ids[sizeof names / sizeof names[0]] = {};
    UINT& id = ids[(int)which];
    if (!id) id = ::RegisterWindowMessageA(names[(int)which]);
    return id;
}

CPaintManagerUI::CPaintManagerUI()
{
    m_DefaultFont.hFont = CreateUiFont(L"SimSun", 12, false, false, false);
    m_DefaultFont.sFontName = "SimSun";
    m_DefaultFont.iSize = 12;
}

CPaintManagerUI::~CPaintManagerUI()
{
    m_bDestroying = true;
    RemoveOne(Managers(), this);
    HideToolTip();
    if (m_hwndTooltip && ::IsWindow(m_hwndTooltip)) ::DestroyWindow(m_hwndTooltip);
    RemoveAllTimers();
    FlushDelayedCleanup();
    CControlUI* root = m_pRoot;
    m_pRoot = nullptr;
    delete root;
    RemoveAllFonts();
    if (m_DefaultFont.hFont) ::DeleteObject(m_DefaultFont.hFont);
    RemoveAllImages();
    ReleaseBackBuffer();
    ReleaseLayeredSurface();
    if (m_hDcPaint && m_hWndPaint) ::ReleaseDC(m_hWndPaint, m_hDcPaint);
}

// ---- process-wide ----

void CPaintManagerUI::SetInstance(HINSTANCE hInst)
{
    CResourceStore::SetInstance(hInst);
}

HINSTANCE CPaintManagerUI::GetInstance()
{
    return CResourceStore::GetInstance();
}

CDuiString CPaintManagerUI::GetInstancePath()
{
    return CResourceStore::GetInstancePath();
}

void CPaintManagerUI::SetResourcePath(LPCSTR pStrPath)
{
    CResourceStore::SetResourcePath(pStrPath);
}

CDuiString CPaintManagerUI::GetResourcePath()
{
    return CResourceStore::GetResourcePath();
}

bool CPaintManagerUI::SetResourceZip(LPVOID pVoid, unsigned int len)
{
    return CResourceStore::SetResourceZip(pVoid, len);
}

bool CPaintManagerUI::LoadResourceZip(LPCSTR id, LPCSTR type)
{
    return CResourceStore::LoadResourceZip(id, type);
}

bool CPaintManagerUI::HasResourceZip()
{
    return CResourceStore::HasResourceZip();
}

void CPaintManagerUI::MessageLoop()
{
    MSG msg = {};
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (!CPaintManagerUI::TranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
}

bool CPaintManagerUI::TranslateMessage(const LPMSG pMsg)
{
    // A filter may close windows: walk a copy and re-check each manager.
    std::vector<CPaintManagerUI*> managers = Managers();
    for (HWND hwnd = pMsg->hwnd; hwnd;) {
        for (CPaintManagerUI* pm : managers) {
            if (pm->m_hWndPaint != hwnd) continue;
            if (std::find(Managers().begin(), Managers().end(), pm) == Managers().end()) continue;
            LRESULT lRes = 0;
            if (pm->PreMessageHandler(pMsg->message, pMsg->wParam, pMsg->lParam, lRes)) return true;
        }
        if (!(::GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD)) break;
        hwnd = ::GetParent(hwnd);
    }
    return false;
}

void CPaintManagerUI::Term()
{
    CImageCache::Clear();
    CResourceStore::FreeResourceZip();
    ShutdownGdiplus();
}

// ---- per window ----

void CPaintManagerUI::Init(HWND hWnd)
{
    if (m_hWndPaint == hWnd) return;
    if (m_hDcPaint && m_hWndPaint) ::ReleaseDC(m_hWndPaint, m_hDcPaint);
    m_hWndPaint = hWnd;
    m_hDcPaint = ::GetDC(hWnd);
    AddUnique(Managers(), this);
    EnsureGdiplus();
}

SIZE CPaintManagerUI::GetClientSize() const
{
    RECT rc = {0, 0, 0, 0};
    ::GetClientRect(m_hWndPaint, &rc);
    return {rc.right, rc.bottom};
}

bool CPaintManagerUI::IsUIThread() const
{
    if (!m_hWndPaint) return true;
    return ::GetWindowThreadProcessId(m_hWndPaint, nullptr) == ::GetCurrentThreadId();
}

void CPaintManagerUI::SetSkinFolder(LPCSTR folder)
{
    std::lock_guard<std::mutex> lock(m_stateLock);
    m_skinFolder = folder ? folder : "";
}

CDuiString CPaintManagerUI::GetSkinFolder() const
{
    std::lock_guard<std::mutex> lock(m_stateLock);
    return m_skinFolder;
}

void CPaintManagerUI::SetInitSize(int cx, int cy)
{
    m_szInitWindowSize = {cx, cy};
    if (!m_pRoot && m_hWndPaint)
        ::SetWindowPos(m_hWndPaint, nullptr, 0, 0, cx, cy,
                       SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

void CPaintManagerUI::SetUnpaintedRect(const RECT& rc)
{
    RECT old = m_rcUnpainted;
    m_rcUnpainted = rc;
    // What used to be left alone is the library's again.
    if (m_hWndPaint && !::IsRectEmpty(&old)) ::InvalidateRect(m_hWndPaint, &old, FALSE);
}

void CPaintManagerUI::SetRoundCorner(int cx, int cy)
{
    m_szRoundCorner = {cx, cy};
}

void CPaintManagerUI::SetMinInfo(int cx, int cy)
{
    if (cx >= 0 && cy >= 0) m_szMinWindow = {cx, cy};
}

void CPaintManagerUI::SetMaxInfo(int cx, int cy)
{
    if (cx >= 0 && cy >= 0) m_szMaxWindow = {cx, cy};
}

void CPaintManagerUI::SetOpacity(BYTE nOpacity)
{
    m_nOpacity = nOpacity;
    if (!m_hWndPaint) return;
    if (m_bLayered) {
        // Carried by the next UpdateLayeredWindow.
        Invalidate();
        return;
    }
    LONG ex = ::GetWindowLongA(m_hWndPaint, GWL_EXSTYLE);
    if (!(ex & WS_EX_LAYERED)) ::SetWindowLongA(m_hWndPaint, GWL_EXSTYLE, ex | WS_EX_LAYERED);
    ::SetLayeredWindowAttributes(m_hWndPaint, 0, nOpacity, LWA_ALPHA);
}

// ---- fonts ----

void CPaintManagerUI::SetDefaultFont(LPCSTR pStrFontName, int nSize, bool bBold, bool bUnderline,
                                     bool bItalic)
{
    HFONT font = CreateUiFont(AnsiToWide(pStrFontName).c_str(), nSize, bBold, bUnderline, bItalic);
    if (!font) return;
    if (m_DefaultFont.hFont) ::DeleteObject(m_DefaultFont.hFont);
    m_DefaultFont = TFontInfo();
    m_DefaultFont.hFont = font;
    m_DefaultFont.sFontName = pStrFontName;
    m_DefaultFont.iSize = nSize;
    m_DefaultFont.bBold = bBold;
    m_DefaultFont.bUnderline = bUnderline;
    m_DefaultFont.bItalic = bItalic;
}

HFONT CPaintManagerUI::AddFont(int id, LPCSTR pStrFontName, int nSize, bool bBold, bool bUnderline,
                               bool bItalic, bool bDefault)
{
    HFONT font = CreateUiFont(AnsiToWide(pStrFontName).c_str(), nSize, bBold, bUnderline, bItalic);
    if (!font) return nullptr;
    auto* info = new TFontInfo;
    info->hFont = font;
    info->sFontName = pStrFontName;
    info->iSize = nSize;
    info->bBold = bBold;
    info->bUnderline = bUnderline;
    info->bItalic = bItalic;
    auto it = m_fonts.find(id);
    if (it != m_fonts.end()) {
        ::DeleteObject(it->second->hFont);
        delete it->second;
    }
    m_fonts[id] = info;
    if (bDefault) SetDefaultFont(pStrFontName, nSize, bBold, bUnderline, bItalic);
    return font;
}

HFONT CPaintManagerUI::GetFont(int id)
{
    TFontInfo* info = GetFontInfo(id);
    return info->hFont;
}

TFontInfo* CPaintManagerUI::GetFontInfo(int id)
{
    auto it = m_fonts.find(id);
    if (it == m_fonts.end() && m_pParentResource) return m_pParentResource->GetFontInfo(id);
    TFontInfo* info = it != m_fonts.end() ? it->second : &m_DefaultFont;
    if (!info->bMetricsValid && m_hDcPaint) {
        HFONT old = (HFONT)::SelectObject(m_hDcPaint, info->hFont);
        ::GetTextMetricsW(m_hDcPaint, &info->tm);
        ::SelectObject(m_hDcPaint, old);
        info->bMetricsValid = true;
    }
    return info;
}

void CPaintManagerUI::RemoveAllFonts()
{
    for (auto& f : m_fonts) {
        ::DeleteObject(f.second->hFont);
        delete f.second;
    }
    m_fonts.clear();
}

// ---- images ----

const TImageInfo* CPaintManagerUI::GetImageEx(LPCSTR bitmap, DWORD mask)
{
    if (!bitmap || !*bitmap) return nullptr;
    auto it = m_images.find(bitmap);
    if (it != m_images.end()) return it->second;
    if (m_pParentResource) return m_pParentResource->GetImageEx(bitmap, mask);
    return CImageCache::Get(GetSkinFolder(), bitmap, mask);
}

const TImageInfo* CPaintManagerUI::AddImage(LPCSTR name, HBITMAP hBitmap, int iWidth, int iHeight,
                                            bool bAlpha)
{
    if (!name || !*name || !hBitmap) return nullptr;
    auto it = m_images.find(name);
    if (it != m_images.end() && it->second->hBitmap == hBitmap) {
        // The same bitmap again (drawn over in place): keep it, take the size.
        it->second->nX = iWidth;
        it->second->nY = iHeight;
        it->second->bAlpha = bAlpha;
        Invalidate();
        return it->second;
    }
    RemoveImage(name);
    auto* info = new TImageInfo;
    info->hBitmap = hBitmap;
    info->nX = iWidth;
    info->nY = iHeight;
    info->bAlpha = bAlpha;
    m_images[name] = info;
    Invalidate();
    return info;
}

bool CPaintManagerUI::RemoveImage(LPCSTR bitmap)
{
    auto it = m_images.find(bitmap ? bitmap : "");
    if (it == m_images.end()) return false;
    FreeImage(it->second);
    m_images.erase(it);
    return true;
}

void CPaintManagerUI::RemoveAllImages()
{
    for (auto& i : m_images) FreeImage(i.second);
    m_images.clear();
}

void CPaintManagerUI::AddDefaultAttributeList(LPCSTR pStrControlName, LPCSTR pStrControlAttrList)
{
    if (pStrControlName && pStrControlAttrList)
        m_defaultAttrs[pStrControlName] = pStrControlAttrList;
}

LPCSTR CPaintManagerUI::GetDefaultAttributeList(LPCSTR pStrControlName) const
{
    auto it = m_defaultAttrs.find(pStrControlName ? pStrControlName : "");
    if (it == m_defaultAttrs.end())
        return m_pParentResource ? m_pParentResource->GetDefaultAttributeList(pStrControlName)
                                 : nullptr;
    return it->second.c_str();
}

void CPaintManagerUI::RemoveAllDefaultAttributeList()
{
    m_defaultAttrs.clear();
}

// ---- tree ----

bool CPaintManagerUI::AttachDialog(CControlUI* pControl)
{
    if (!pControl || !m_hWndPaint) return false;
    // A second layout replaces the first one and its state.
    SetFocus(nullptr);
    m_pEventKey = m_pEventHover = m_pEventClick = nullptr;
    if (m_pRoot && m_pRoot != pControl) {
        CControlUI* old = m_pRoot;
        m_pRoot = nullptr;
        AddDelayedCleanup(old);
    }
    m_pRoot = pControl;
    m_bWindowInitDone = false;
    m_bUpdateNeeded = true;
    InitControls(pControl, nullptr);
    ::PostMessageA(m_hWndPaint, UiInternalMessage(UiMessage::WindowInit), 0, 0);
    Invalidate();
    return true;
}

bool CPaintManagerUI::InitControls(CControlUI* pControl, CControlUI* pParent)
{
    if (!pControl) return false;
    pControl->SetManager(this, pParent ? pParent : pControl->GetParent(), true);
    RegisterNames(pControl);
    return true;
}

namespace {

CControlUI* CALLBACK CollectName(CControlUI* pControl, LPVOID pData)
{
    auto* names = static_cast<std::vector<std::pair<std::string, CControlUI*>>*>(pData);
    CDuiString name = pControl->GetName();
    if (!name.IsEmpty()) names->emplace_back(name.Str(), pControl);
    return nullptr;
}

}  // namespace

void CPaintManagerUI::RegisterNames(CControlUI* pControl)
{
    std::vector<std::pair<std::string, CControlUI*>> found;
    pControl->FindControl(CollectName, &found, UIFIND_ALL);
    std::lock_guard<std::mutex> lock(m_stateLock);
    // The first control of a name keeps it.
    for (auto& n : found) m_names.emplace(n.first, n.second);
}

void CPaintManagerUI::RenameControl(CControlUI* pControl, LPCSTR pstrOldName)
{
    std::lock_guard<std::mutex> lock(m_stateLock);
    if (pstrOldName && *pstrOldName) {
        auto it = m_names.find(pstrOldName);
        if (it != m_names.end() && it->second == pControl) m_names.erase(it);
    }
    CDuiString name = pControl->GetName();
    if (!name.IsEmpty()) m_names.emplace(name.Str(), pControl);
}

void CPaintManagerUI::ReapObjects(CControlUI* pControl)
{
    if (!pControl) return;
    if (pControl == m_pEventKey) m_pEventKey = nullptr;
    if (pControl == m_pEventHover) m_pEventHover = nullptr;
    if (pControl == m_pEventClick) m_pEventClick = nullptr;
    if (pControl == m_pFocus) m_pFocus = nullptr;
    if (pControl == m_pTooltipOwner) HideToolTip();
    if (m_bDestroying) return;
    KillTimer(pControl);
    std::lock_guard<std::mutex> lock(m_stateLock);
    for (auto it = m_names.begin(); it != m_names.end();) {
        if (it->second == pControl)
            it = m_names.erase(it);
        else
            ++it;
    }
    for (TNotifyUI& n : m_asyncNotify)
        if (n.pSender == pControl) n.pSender = nullptr;
    for (auto& g : m_optionGroups) RemoveOne(g.second, pControl);
}

bool CPaintManagerUI::AddDelayedCleanup(CControlUI* pControl)
{
    if (!pControl) return false;
    // Keeps the manager (the control still reaps itself) but no parent.
    pControl->SetManager(this, nullptr, false);
    m_delayedCleanup.push_back(pControl);
    PostOnce(UiInternalMessage(UiMessage::Cleanup), m_bCleanupPosted);
    return true;
}

void CPaintManagerUI::FlushDelayedCleanup()
{
    m_bCleanupPosted = false;
    std::vector<CControlUI*> doomed;
    doomed.swap(m_delayedCleanup);
    for (CControlUI* p : doomed) delete p;
}

void CPaintManagerUI::PostOnce(UINT uMsg, std::atomic<bool>& posted)
{
    if (!m_hWndPaint || posted.exchange(true)) return;
    if (!::PostMessageA(m_hWndPaint, uMsg, 0, 0)) posted = false;
}

CControlUI* CPaintManagerUI::FindControl(POINT pt) const
{
    if (!m_pRoot) return nullptr;
    return m_pRoot->FindControl(FindFromPoint, &pt,
                                UIFIND_VISIBLE | UIFIND_HITTEST | UIFIND_TOP_FIRST);
}

CControlUI* CPaintManagerUI::FindControl(LPCSTR pstrName) const
{
    if (!pstrName) return nullptr;
    std::lock_guard<std::mutex> lock(m_stateLock);
    auto it = m_names.find(pstrName);
    return it == m_names.end() ? nullptr : it->second;
}

CControlUI* CPaintManagerUI::FindSubControlByPoint(CControlUI* pParent, POINT pt) const
{
    if (!pParent) pParent = m_pRoot;
    if (!pParent) return nullptr;
    return pParent->FindControl(FindFromPoint, &pt,
                                UIFIND_VISIBLE | UIFIND_HITTEST | UIFIND_TOP_FIRST);
}

CControlUI* CPaintManagerUI::FindSubControlByName(CControlUI* pParent, LPCSTR pstrName) const
{
    if (!pParent) pParent = m_pRoot;
    if (!pParent || !pstrName) return nullptr;
    return pParent->FindControl(FindByName, (LPVOID)pstrName, UIFIND_ALL);
}

bool CPaintManagerUI::AddOptionGroup(LPCSTR pStrGroupName, CControlUI* pControl)
{
    if (!pStrGroupName || !*pStrGroupName) return false;
    std::lock_guard<std::mutex> lock(m_stateLock);
    return AddUnique(m_optionGroups[pStrGroupName], pControl);
}

const std::vector<CControlUI*>* CPaintManagerUI::GetOptionGroup(LPCSTR pStrGroupName) const
{
    std::lock_guard<std::mutex> lock(m_stateLock);
    auto it = m_optionGroups.find(pStrGroupName ? pStrGroupName : "");
    return it == m_optionGroups.end() ? nullptr : &it->second;
}

void CPaintManagerUI::RemoveOptionGroup(LPCSTR pStrGroupName, CControlUI* pControl)
{
    std::lock_guard<std::mutex> lock(m_stateLock);
    auto it = m_optionGroups.find(pStrGroupName ? pStrGroupName : "");
    if (it == m_optionGroups.end()) return;
    RemoveOne(it->second, pControl);
    if (it->second.empty()) m_optionGroups.erase(it);
}

void CPaintManagerUI::RemoveAllOptionGroups()
{
    std::lock_guard<std::mutex> lock(m_stateLock);
    m_optionGroups.clear();
}

// ---- focus, timers, capture ----

void CPaintManagerUI::SetFocus(CControlUI* pControl)
{
    // The keyboard comes back to the window (from a native child, say), but
    // an inactive window is never activated by this.
    if (m_hWndPaint && IsUIThread() && ::GetFocus() != m_hWndPaint &&
        ::GetActiveWindow() == ::GetAncestor(m_hWndPaint, GA_ROOT))
        ::SetFocus(m_hWndPaint);
    if (pControl == m_pFocus) return;
    if (m_pFocus) {
        CControlUI* old = m_pFocus;
        m_pFocus = nullptr;
        EventTo(old, UIEVENT_KILLFOCUS, m_ptLastMousePos, 0, 0);
        SendNotify(old, DUI_MSGTYPE_KILLFOCUS);
    }
    if (pControl && pControl->GetManager() == this && pControl->IsVisible() &&
        pControl->IsEnabled()) {
        m_pFocus = pControl;
        EventTo(pControl, UIEVENT_SETFOCUS, m_ptLastMousePos, 0, 0);
        if (m_pFocus == pControl) SendNotify(pControl, DUI_MSGTYPE_SETFOCUS);
    }
}

bool CPaintManagerUI::SetTimer(CControlUI* pControl, UINT nTimerID, UINT uElapse)
{
    if (!pControl || !m_hWndPaint) return false;
    for (TimerInfo& t : m_timers) {
        if (t.pSender == pControl && t.nLocalID == nTimerID)
            return ::SetTimer(m_hWndPaint, t.uWinTimer, uElapse, nullptr) != 0;
    }
    UINT id = m_uNextTimerID++;
    if (m_uNextTimerID == 0) m_uNextTimerID = 0x10000;
    if (!::SetTimer(m_hWndPaint, id, uElapse, nullptr)) return false;
    m_timers.push_back({pControl, nTimerID, id});
    return true;
}

bool CPaintManagerUI::KillTimer(CControlUI* pControl, UINT nTimerID)
{
    for (auto it = m_timers.begin(); it != m_timers.end(); ++it) {
        if (it->pSender == pControl && it->nLocalID == nTimerID) {
            if (m_hWndPaint) ::KillTimer(m_hWndPaint, it->uWinTimer);
            m_timers.erase(it);
            return true;
        }
    }
    return false;
}

void CPaintManagerUI::KillTimer(CControlUI* pControl)
{
    for (auto it = m_timers.begin(); it != m_timers.end();) {
        if (it->pSender == pControl) {
            if (m_hWndPaint) ::KillTimer(m_hWndPaint, it->uWinTimer);
            it = m_timers.erase(it);
        } else {
            ++it;
        }
    }
}

void CPaintManagerUI::RemoveAllTimers()
{
    for (TimerInfo& t : m_timers)
        if (m_hWndPaint) ::KillTimer(m_hWndPaint, t.uWinTimer);
    m_timers.clear();
}

void CPaintManagerUI::SetCapture()
{
    ::SetCapture(m_hWndPaint);
}

void CPaintManagerUI::ReleaseCapture()
{
    if (::GetCapture() == m_hWndPaint) ::ReleaseCapture();
}

bool CPaintManagerUI::IsCaptured() const
{
    return m_hWndPaint && ::GetCapture() == m_hWndPaint;
}

// ---- updates ----

void CPaintManagerUI::NeedUpdate()
{
    m_bUpdateNeeded = true;
    Invalidate();
}

void CPaintManagerUI::Invalidate()
{
    if (!m_hWndPaint) return;
    if (m_bLayered)
        PostOnce(UiInternalMessage(UiMessage::LayeredRender), m_bLayeredRenderPosted);
    else
        ::InvalidateRect(m_hWndPaint, nullptr, FALSE);
}

void CPaintManagerUI::Invalidate(const RECT& rcItem)
{
    if (!m_hWndPaint || rcItem.right <= rcItem.left || rcItem.bottom <= rcItem.top) return;
    // A layered surface is drawn whole.
    if (m_bLayered)
        PostOnce(UiInternalMessage(UiMessage::LayeredRender), m_bLayeredRenderPosted);
    else
        ::InvalidateRect(m_hWndPaint, &rcItem, FALSE);
}

void CPaintManagerUI::UpdateLayout()
{
    if (!m_pRoot || !m_bUpdateNeeded.exchange(false)) return;
    RECT rc = {0, 0, 0, 0};
    ::GetClientRect(m_hWndPaint, &rc);
    if (rc.right > rc.left && rc.bottom > rc.top)
        m_pRoot->SetPos(rc, false);
    else
        m_bUpdateNeeded = true;  // minimised: lay out when it has a size again
    ClearStaleTargets();
}

void CPaintManagerUI::ClearStaleTargets()
{
    // Hidden or disabled meanwhile (perhaps by a worker thread).
    if (m_pFocus && (!m_pFocus->IsVisible() || !m_pFocus->IsEnabled())) SetFocus(nullptr);
    if (m_pEventHover && !m_pEventHover->IsVisible()) {
        CControlUI* p = m_pEventHover;
        m_pEventHover = nullptr;
        EventTo(p, UIEVENT_MOUSELEAVE, m_ptLastMousePos, 0, 0);
        HideToolTip();
    }
}

void CPaintManagerUI::Render(HDC hDC, const RECT& rcPaint)
{
    if (!m_pRoot) return;
    CRenderClip clip(hDC, rcPaint);
    m_pRoot->DoPaint(hDC, rcPaint);
}

// ---- notifications and filters ----

bool CPaintManagerUI::AddNotifier(INotifyUI* pNotifier)
{
    return AddUnique(m_notifiers, pNotifier);
}

bool CPaintManagerUI::RemoveNotifier(INotifyUI* pNotifier)
{
    return RemoveOne(m_notifiers, pNotifier);
}

void CPaintManagerUI::SendNotify(CControlUI* pControl, LPCSTR pstrMessage, WPARAM wParam,
                                 LPARAM lParam, bool bAsync)
{
    TNotifyUI msg;
    msg.pSender = pControl;
    msg.sType = pstrMessage;
    msg.wParam = wParam;
    msg.lParam = lParam;
    SendNotify(msg, bAsync);
}

void CPaintManagerUI::SendNotify(TNotifyUI& Msg, bool bAsync)
{
    Msg.ptMouse = m_ptLastMousePos;
    Msg.dwTimestamp = ::GetTickCount();
    if (bAsync) {
        {
            std::lock_guard<std::mutex> lock(m_stateLock);
            m_asyncNotify.push_back(Msg);
        }
        PostOnce(UiInternalMessage(UiMessage::AsyncNotify), m_bAsyncPosted);
        return;
    }
    if (Msg.pSender && !Msg.pSender->OnNotify(&Msg)) return;
    // A notifier may remove notifiers (a window closing): walk a copy.
    std::vector<INotifyUI*> notifiers = m_notifiers;
    for (INotifyUI* n : notifiers) {
        if (std::find(m_notifiers.begin(), m_notifiers.end(), n) != m_notifiers.end())
            n->Notify(Msg);
    }
}

namespace {

struct PostedNotifyRecord {
    std::string type;
    std::string sender;
    WPARAM wParam;
    LPARAM lParam;
};

}  // namespace

bool CPaintManagerUI::PostNotify(HWND hWnd, LPCSTR pstrMessage, LPCSTR pstrSenderName,
                                 WPARAM wParam, LPARAM lParam)
{
    if (!hWnd || !::IsWindow(hWnd) || !pstrMessage) return false;
    auto* record = new PostedNotifyRecord{pstrMessage, pstrSenderName ? pstrSenderName : "",
                                          wParam, lParam};
    if (::PostMessageA(hWnd, UiInternalMessage(UiMessage::PostedNotify), 0, (LPARAM)record))
        return true;
    delete record;
    return false;
}

void CPaintManagerUI::DeliverPostedNotify(LPARAM lParam)
{
    std::unique_ptr<PostedNotifyRecord> record(reinterpret_cast<PostedNotifyRecord*>(lParam));
    if (!record) return;
    TNotifyUI msg;
    msg.sType = record->type.c_str();
    msg.pSender = record->sender.empty() ? nullptr : FindControl(record->sender.c_str());
    msg.dwTimestamp = ::GetTickCount();
    msg.ptMouse = m_ptLastMousePos;
    msg.wParam = record->wParam;
    msg.lParam = record->lParam;
    SendNotify(msg);
}

void CPaintManagerUI::FlushAsyncNotify()
{
    m_bAsyncPosted = false;
    std::vector<TNotifyUI> queue;
    {
        std::lock_guard<std::mutex> lock(m_stateLock);
        queue.swap(m_asyncNotify);
    }
    for (TNotifyUI& msg : queue) {
        // Senders reaped meanwhile are nulled; the notification still goes
        // to the window, whose handlers look at the name they kept.
        if (msg.pSender && !msg.pSender->OnNotify(&msg)) continue;
        std::vector<INotifyUI*> notifiers = m_notifiers;
        for (INotifyUI* n : notifiers)
            if (std::find(m_notifiers.begin(), m_notifiers.end(), n) != m_notifiers.end())
                n->Notify(msg);
    }
}

bool CPaintManagerUI::AddPreMessageFilter(IMessageFilterUI* pFilter)
{
    return AddUnique(m_preMessageFilters, pFilter);
}

bool CPaintManagerUI::RemovePreMessageFilter(IMessageFilterUI* pFilter)
{
    return RemoveOne(m_preMessageFilters, pFilter);
}

bool CPaintManagerUI::AddMessageFilter(IMessageFilterUI* pFilter)
{
    return AddUnique(m_messageFilters, pFilter);
}

bool CPaintManagerUI::RemoveMessageFilter(IMessageFilterUI* pFilter)
{
    return RemoveOne(m_messageFilters, pFilter);
}

bool CPaintManagerUI::PreMessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes)
{
    std::vector<IMessageFilterUI*> filters = m_preMessageFilters;
    for (IMessageFilterUI* f : filters) {
        if (std::find(m_preMessageFilters.begin(), m_preMessageFilters.end(), f) ==
            m_preMessageFilters.end())
            continue;
        bool bHandled = false;
        LRESULT r = f->MessageHandler(uMsg, wParam, lParam, bHandled);
        if (bHandled) {
            lRes = r;
            return true;
        }
    }
    return false;
}

void CPaintManagerUI::EventTo(CControlUI* pControl, int type, POINT pt, WPARAM wParam,
                              LPARAM lParam)
{
    if (!pControl) return;
    TEventUI event;
    event.Type = type;
    event.pSender = pControl;
    event.ptMouse = pt;
    event.wParam = wParam;
    event.lParam = lParam;
    event.dwTimestamp = ::GetTickCount();
    event.wKeyState = (WORD)((::GetKeyState(VK_CONTROL) < 0 ? MK_CONTROL : 0) |
                             (::GetKeyState(VK_SHIFT) < 0 ? MK_SHIFT : 0) |
                             (::GetKeyState(VK_LBUTTON) < 0 ? MK_LBUTTON : 0) |
                             (::GetKeyState(VK_RBUTTON) < 0 ? MK_RBUTTON : 0));
    if (type == UIEVENT_KEYDOWN || type == UIEVENT_KEYUP || type == UIEVENT_CHAR)
        event.chKey = (char)wParam;
    pControl->Event(event);
}

}  // namespace DuiLib
