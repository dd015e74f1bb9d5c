// What the main window does when the user acts on its controls and hot keys.
#include "core/MainFrame.h"
#include "recorder/recording/RecordControl.h"
#include "recorder/recording/RecordLoop.h"
#include "recorder/recording/RecordingState.h"

void MainFrame::Notify(DuiLib::TNotifyUI& msg)
{
    if (msg.sType == DUI_MSGTYPE_WINDOWINIT) {
        CreateFloatRecWindow();
        InitRecordDefaults(m_hWnd);
        return;
    }
    if (msg.sType == DUI_MSGTYPE_CLICK && msg.pSender) {
        POINT at = msg.ptMouse;
        ::ClientToScreen(m_hWnd, &at);
        OnClick(msg.pSender->GetName(), at);
    }
}

void MainFrame::OnClick(const DuiLib::CDuiString& name, POINT)
{
    if (name.CompareNoCase("closebtn") == 0) {
        Close(1);
    } else if (name.CompareNoCase("minbtn") == 0) {
        SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    } else if (name.CompareNoCase("tyaybtn") == 0) {
        // Into the tray; a double click on the tray icon brings it back.
        ShowWindow(false);
    } else if (name.CompareNoCase("begin_record_btn") == 0) {
        StartRecording(false);
    } else if (name.CompareNoCase("stop_record_btn") == 0) {
        StopRecording();
    } else if (name.CompareNoCase("pause_record_btn") == 0 ||
               name.CompareNoCase("pause_change_btn") == 0) {
        TogglePause();
    } else if (name.CompareNoCase("cancel_record_btn") == 0) {
        ::KillTimer(m_hWnd, 2);
        CancelRecording();
    }
}

void MainFrame::OnHotKeyAction(int index)
{
    switch (index) {
        case 0:
            if (g_bRecording)
                StopRecording();
            else
                StartRecording(false);
            break;
        case 1:
            TogglePause();
            break;
        default:
            break;
    }
}
