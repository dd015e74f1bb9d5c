#include "settings/AboutSoftWnd.h"

#include "settings/InfoTexts.h"

namespace {

// WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU
const DWORD kStyle = 0x96C80000;

}  // namespace

AboutSoftWnd::AboutSoftWnd() : SkinWindow({"about_soft_wnd.xml"})
{
    Create(nullptr, "AboutSoftWnd", kStyle, WS_EX_TOOLWINDOW, 0, 0, CW_USEDEFAULT, CW_USEDEFAULT);
    ShowWindow(true);
}

void AboutSoftWnd::InitWindow()
{
    SkinWindow::InitWindow();
    CenterWindow();
}

void AboutSoftWnd::OnWindowInit()
{
    if (auto* info = Find<DuiLib::CLabelUI>("about_info_lab")) {
        info->SetMultiLine(true);
        info->SetText(AboutSoftText().c_str());
    }
}
