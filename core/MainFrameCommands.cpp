// What the main window does when the user acts on its controls and hot keys.
#include "core/MainFrame.h"

void MainFrame::Notify(DuiLib::TNotifyUI& msg)
{
    if (msg.sType == DUI_MSGTYPE_WINDOWINIT) {
        CreateFloatRecWindow();
        // RECORDING: InitRecordDefaults(m_hWnd);
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
        // RECORDING: StartRecording(false);
    } else if (name.CompareNoCase("stop_record_btn") == 0) {
        // RECORDING: StopRecording();
    } else if (name.CompareNoCase("pause_record_btn") == 0 ||
               name.CompareNoCase("pause_change_btn") == 0) {
        // RECORDING: TogglePause();
    } else if (name.CompareNoCase("cancel_record_btn") == 0) {
        ::KillTimer(m_hWnd, 2);
        // RECORDING: CancelRecording();
    }
}

void MainFrame::OnHotKeyAction(int index)
{
    switch (index) {
        case 0:
            // RECORDING: g_bRecording ? StopRecording() : StartRecording(false);
            break;
        case 1:
            // RECORDING: flip g_bPaused while recording; RunDetached(PauseBlinkThread);
            break;
        default:
            break;
    }
}
