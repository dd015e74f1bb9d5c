// A small program with the test skin's window, driven from another process
// by the probe test (and useful to look at: scripts/wine-run.sh ui_demo.exe).
// It reports what the user does in its "status" label.
#include <windows.h>

#include "platform/ui/UIlib.h"

using namespace DuiLib;

namespace {

class DemoWindow : public WindowImplBase {
protected:
    LPCSTR GetWindowClassName() const override { return "OrbiskUiDemo"; }
    CDuiString GetSkinFile() override { return "test_window.xml"; }
    UILIB_RESOURCETYPE GetResourceType() const override { return UILIB_ZIPRESOURCE; }
    LPCSTR GetResourceID() const override { return MAKEINTRESOURCEA(130); }
    CControlUI* CreateControl(LPCSTR pstrClass) override
    {
        return strcmp(pstrClass, "Canvas") == 0 ? new CControlUI : nullptr;
    }
    void InitWindow() override { CenterWindow(); }
    void Notify(TNotifyUI& msg) override
    {
        CControlUI* status = m_PaintManager.FindControl("status");
        if (status && msg.pSender) {
            CDuiString name = msg.pSender->GetName();
            if (msg.sType == DUI_MSGTYPE_CLICK && name == "ok_btn")
                status->SetText("已点击确定");
            else if (msg.sType == DUI_MSGTYPE_SELECTCHANGED)
                status->SetText(
                    msg.pSender->GetText() +
                    (static_cast<COptionUI*>(msg.pSender)->IsSelected() ? " 已选中" : " 已取消"));
        }
        WindowImplBase::Notify(msg);
    }
    void OnFinalMessage(HWND hWnd) override
    {
        WindowImplBase::OnFinalMessage(hWnd);
        ::PostQuitMessage(0);
        delete this;
    }
};

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    CPaintManagerUI::SetInstance(instance);
    auto* w = new DemoWindow;
    if (!w->Create(nullptr, "界面库演示", 0x96C80000, 0, 0, 0, 0, 0)) return 1;
    CPaintManagerUI::MessageLoop();
    CPaintManagerUI::Term();
    return 0;
}
