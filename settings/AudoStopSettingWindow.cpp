#include "settings/AudoStopSettingWindow.h"

#include "kit/MainWindow.h"
#include "recorder/recording/RecordControl.h"
#include "settings/TimerSettings.h"

AudoStopSettingWindow::AudoStopSettingWindow(HWND, int x, int y)
    : TimeSettingWindow({"auto_stop_setting_wnd.xml"}, x, y)
{
    Open("自动停止录制时间设置");
}

void AudoStopSettingWindow::OnWindowInit()
{
    // "  什么也不做" until the user chooses.
    if (auto* action = Find<DuiLib::CComboUI>("selectcombox")) action->SelectItem(0);
}

void AudoStopSettingWindow::OnNotify(DuiLib::TNotifyUI& msg)
{
    if (!msg.pSender) return;
    const DuiLib::CDuiString name = msg.pSender->GetName();
    if (msg.sType == DUI_MSGTYPE_ITEMSELECT && name == "selectcombox") {
        m_nAction = AutoStopActionForItem(msg.pSender->GetText().GetData());
    } else if (msg.sType == DUI_MSGTYPE_CLICK) {
        if (name == "ok_btn")
            OnOk();
        else if (name == "closebtn")
            // A cancel leaves the auto-stop, armed or not, as it was.
            Close(IDOK);
    }
}

void AudoStopSettingWindow::OnOk()
{
    long total = 0;
    if (!ReadTotal(&total)) return;
    MainWindow* main = GetMainWindow();
    if (main) main->SetAutoStopAction(m_nAction);
    if (total > 0) {
        ArmAutoStop((unsigned)total);
        if (main) {
            main->ShowControl("show_auto_stop_btn", true);
            main->ShowControl("show_count_down_btn", false);
        }
    }
    Close(IDOK);
}
