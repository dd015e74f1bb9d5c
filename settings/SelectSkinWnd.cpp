#include "settings/SelectSkinWnd.h"

#include "core/CfgDocument.h"
#include "kit/Dialogs.h"
#include "kit/WindowTable.h"
#include "settings/SelectUserSkinWnd.h"
#include "settings/UserSkinStore.h"

#include <cstring>

namespace {

const DWORD kStyle = 0x96C80000;
const DWORD kExStyle = 0x20088;
const int kBuiltInCount = 18;
const int kUserSlots = 5;  // the sixth makes a new one
const char kMakeNew[] = "user_back6";
const char kPictureFilter[] = "Image Files(*.jpg;*.png;*.bmp)\0*.jpg;*.png;*.bmp\0\0";
const char kUnreadablePicture[] = "无法打开这张图片，请选择一张jpg、png或bmp图片。";

bool Contains(const DuiLib::CDuiString& text, const char* part)
{
    return strstr(text.GetData(), part) != nullptr;
}

}  // namespace

SelectSkinWnd::SelectSkinWnd(HWND owner, int x, int y)
    : SkinWindow({"slect_skin_wnd.xml"}), m_owner(owner), m_at{x, y}
{
    Create(nullptr, "选择皮肤", kStyle, kExStyle, 0, 0, 0, 0);
    ShowWindow(true, true);
}

void SelectSkinWnd::InitWindow()
{
    SkinWindow::InitWindow();
    const SIZE size = m_PaintManager.GetInitSize();
    ::SetWindowPos(m_hWnd, nullptr, m_at.x, m_at.y, size.cx, size.cy,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
}

void SelectSkinWnd::OnWindowInit()
{
    m_pRoot = Find("root_layout");
    for (int n = 1; n <= kBuiltInCount; ++n) {
        const std::string name = "mainui_back" + std::to_string(n);
        DuiLib::CControlUI* button = Find(name.c_str());
        if (!button) continue;
        // "mainui_back1" has no picture: its button stays the layout's colour.
        if (n == 3)
            button->SetBkImage(
                "file='mainui_back3.png' source='100,100,188,134' dest='0,0,88,34' "
                "corner='0,0,0,0' xtiled='true' ytiled='true'");
        else
            button->SetBkImage((name + ".png").c_str());
    }
    for (int i = 0; i <= kUserSlots; ++i) {
        const std::string name = "user_back" + std::to_string(i + 1);
        m_userSlots[i] = Find(name.c_str());
        if (m_userSlots[i]) m_userSlots[i]->SetTag((UINT_PTR)i);
    }
    FillUserSlots();
}

void SelectSkinWnd::FillUserSlots()
{
    for (int i = 0; i < kUserSlots; ++i) {
        if (!m_userSlots[i]) continue;
        // Taken from the file afresh: a new skin may reuse an old name.
        const std::string path = g_userSkinStore.PathAt((size_t)i);
        if (!path.empty()) DuiLib::CImageCache::Remove(m_PaintManager.GetSkinFolder(), path.c_str());
        m_userSlots[i]->SetBkImage(path.c_str());
    }
}

std::string SelectSkinWnd::SkinOf(const DuiLib::CControlUI* control) const
{
    if (!control) return std::string();
    const DuiLib::CDuiString name = control->GetName();
    if (Contains(name, "mainui_back")) return std::string(name.GetData()) + ".png";
    if (Contains(name, "user_back") && name != kMakeNew)
        return g_userSkinStore.PathAt((size_t)control->GetTag());
    return std::string();
}

void SelectSkinWnd::Preview(const std::string& skin)
{
    if (skin == m_previewed) return;
    m_previewed = skin;
    MainWindow* main = GetMainWindow();
    if (!main) return;
    main->ApplySkinToWindows(skin.empty() ? main->GetSkinBackgroundFile() : DuiLib::CDuiString(skin.c_str()));
}

LRESULT SelectSkinWnd::OnMouseMove(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    POINT pt = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
    Preview(SkinOf(m_PaintManager.FindControl(pt)));
    return SkinWindow::OnMouseMove(uMsg, wParam, lParam, bHandled);
}

void SelectSkinWnd::OnNotify(DuiLib::TNotifyUI& msg)
{
    if (msg.sType != DUI_MSGTYPE_CLICK || !msg.pSender) {
        SkinWindow::OnNotify(msg);
        return;
    }
    const DuiLib::CDuiString name = msg.pSender->GetName();
    if (name == "closebtn") {
        GetWindowTable().Close(WindowId::SelectSkin);
        return;
    }
    if (name == kMakeNew) {
        MakeUserSkin();
        return;
    }
    const std::string skin = SkinOf(msg.pSender);
    if (skin.empty()) {
        SkinWindow::OnNotify(msg);
        return;
    }
    const bool userSkin = Contains(name, "user_back");
    if (MainWindow* main = GetMainWindow()) {
        main->SetSkinBackgroundFile(skin.c_str());
        main->ApplySkinToWindows(skin.c_str());
    }
    m_previewed = skin;
    g_cfgDocument.SetCfgSelectSkin(userSkin ? g_userSkinStore.NameAt(msg.pSender->GetTag()) : skin,
                                   userSkin);
}

void SelectSkinWnd::MakeUserSkin()
{
    std::string path;
    if (!AskOpenFile(m_hWnd, kPictureFilter, &path)) return;
    std::string usable;
    if (!UsableSkinPicture(path, &usable)) {
        AskQuestion(m_hWnd, "提示", kUnsafePictureName, "确定", "", "");
        return;
    }
    const DuiLib::TImageInfo* picture = m_PaintManager.GetImageEx(usable.c_str());
    if (!picture || picture->nX <= 0 || picture->nY <= 0) {
        AskQuestion(m_hWnd, "提示", kUnreadablePicture, "确定", "", "");
        return;
    }
    g_strUserSkinImage = usable;
    g_nUserSkinImageWidth = picture->nX;
    g_nUserSkinImageHeight = picture->nY;
    // The picture is read again by the crop window at its own size.
    DuiLib::CImageCache::Remove(m_PaintManager.GetSkinFolder(), usable.c_str());
    OpenSelectUserSkinWnd();
    GetWindowTable().Close(WindowId::SelectSkin);
    g_userSkinStore.Refresh();
}
