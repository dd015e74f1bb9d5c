#include "settings/SmallTipWindow.h"

#include "core/HotKeyTable.h"
#include "settings/InfoTexts.h"

SmallTipWindow::SmallTipWindow() : SkinWindow({"small_tip_wnd.xml"})
{
    Create(nullptr, "SmallTipWindow", WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, CW_USEDEFAULT,
           CW_USEDEFAULT);
    ShowWindow(true);
}

void SmallTipWindow::InitWindow()
{
    SkinWindow::InitWindow();
    CenterWindow();
}

void SmallTipWindow::OnWindowInit()
{
    if (auto* tips = Find<DuiLib::CLabelUI>("tip_info_lab")) {
        tips->SetMultiLine(true);
        tips->SetText(SmallTipText(g_hotKeyTable).c_str());
    }
}
