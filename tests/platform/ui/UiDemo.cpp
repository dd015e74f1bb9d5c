// A small program with the test skin's window, driven from another process
// by the probe test (and useful to look at: scripts/wine-run.sh ui_demo.exe).
// It reports what the user does in its "status" label. With the argument
// "controls" it shows the window of the newer controls, with a filled list.
#include <windows.h>

#include <cstring>
#include <string>

#include "platform/ui/UIlib.h"

using namespace DuiLib;

namespace {

class DemoWindow : public WindowImplBase {
public:
    explicit DemoWindow(bool controls) : controls_(controls) {}

protected:
    LPCSTR GetWindowClassName() const override { return "OrbiskUiDemo"; }
    CDuiString GetSkinFile() override
    {
        return controls_ ? "controls_window.xml" : "test_window.xml";
    }
    UILIB_RESOURCETYPE GetResourceType() const override { return UILIB_ZIPRESOURCE; }
    LPCSTR GetResourceID() const override { return MAKEINTRESOURCEA(130); }
    CControlUI* CreateControl(LPCSTR pstrClass) override
    {
        return strcmp(pstrClass, "Canvas") == 0 ? new CControlUI : nullptr;
    }
    void InitWindow() override
    {
        CenterWindow();
        auto* list = static_cast<CListUI*>(m_PaintManager.FindControl("playlist"));
        if (!list) return;
        const char* names[] = {"会议.avi", "课件.mp4", "截图.png"};
        for (const char* name : names) {
            auto* row = new CListTextElementUI;
            row->SetFixedHeight(22);
            list->Add(row);
            row->SetText(0, name);
            row->SetText(1, "1.00Mb");
        }
    }
    void Notify(TNotifyUI& msg) override
    {
        CControlUI* status = m_PaintManager.FindControl("status");
        if (status && msg.pSender) {
            CDuiString name = msg.pSender->GetName();
            if (msg.sType == DUI_MSGTYPE_CLICK && name == "ok_btn")
                status->SetText("已点击确定");
            else if (msg.sType == DUI_MSGTYPE_ITEMACTIVATE)
                status->SetText("已打开 " + msg.pSender->GetText());
            else if (msg.sType == DUI_MSGTYPE_VALUECHANGED)
                status->SetText("音量 " + CDuiString(std::to_string(msg.wParam)));
            else if (msg.sType == DUI_MSGTYPE_ITEMSELECT && name == "combo")
                status->SetText("选中 " + msg.pSender->GetText());
            else if (msg.sType == DUI_MSGTYPE_RETURN)
                status->SetText("输入 " + msg.pSender->GetText());
            else if (msg.sType == DUI_MSGTYPE_MENU)
                status->SetText("右键 " + name);
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

private:
    bool controls_;
};

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR cmdLine, int)
{
    CPaintManagerUI::SetInstance(instance);
    auto* w = new DemoWindow(cmdLine && strstr(cmdLine, "controls"));
    if (!w->Create(nullptr, "界面库演示", 0x96C80000, 0, 0, 0, 0, 0)) return 1;
    CPaintManagerUI::MessageLoop();
    CPaintManagerUI::Term();
    return 0;
}
