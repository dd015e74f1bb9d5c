#include "settings/CountdownSettingWindow.h"

#include "kit/MainWindow.h"
#include "recorder/recording/RecordControl.h"

namespace {

const char kRecordingRuns[] = "正在录制，请停止录制后再设置自动开始录制!";

}  // namespace

CountdownSettingWindow::CountdownSettingWindow(HWND, int x, int y)
    : TimeSettingWindow({"countdown_setting_wnd.xml"}, x, y)
{
    Open("自动开始录制设置");
}

void CountdownSettingWindow::OnNotify(DuiLib::TNotifyUI& msg)
{
    if (msg.sType != DUI_MSGTYPE_CLICK || !msg.pSender) return;
    const DuiLib::CDuiString name = msg.pSender->GetName();
    if (name == "ok_btn")
        OnOk();
    else if (name == "closebtn")
        Close(IDOK);
}

void CountdownSettingWindow::OnOk()
{
    long total = 0;
    if (!ReadTotal(&total)) return;
    if (total > 0) {
        // The start would come while a recording runs and be refused then;
        // the user hears it now and may try again once it is over.
        if (!ArmTimedStart((unsigned)total)) {
            Tell(kRecordingRuns);
            return;
        }
        if (MainWindow* main = GetMainWindow()) {
            main->ShowControl("show_count_down_btn", true);
            main->ShowControl("show_auto_stop_btn", false);
        }
    }
    Close(IDOK);
}
