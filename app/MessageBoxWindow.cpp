#include "app/MessageBoxWindow.h"

int MessageBoxResult = -1;

namespace {

const int kClosed = 3;

}  // namespace

MessageBoxWindow::MessageBoxWindow(HWND owner, const std::string& title, const std::string& text,
                                   const std::string& okText, const std::string& noText,
                                   const std::string& cancelText)
    : SkinWindow({"messagebox_wnd.xml"}),
      title_(title),
      text_(text),
      okText_(okText),
      noText_(noText),
      cancelText_(cancelText)
{
    // A box closed without a button must not answer with the previous box's
    // button: that earlier "是" would confirm something nobody confirmed.
    MessageBoxResult = kClosed;
    Create(owner, "", WS_VISIBLE | WS_OVERLAPPEDWINDOW, WS_EX_WINDOWEDGE, CW_USEDEFAULT,
           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT);
}

int MessageBoxWindow::Ask(HWND owner, const std::string& title, const std::string& text,
                          const std::string& okText, const std::string& noText,
                          const std::string& cancelText)
{
    auto* box = new MessageBoxWindow(owner, title, text, okText, noText, cancelText);
    if (!box->GetHWND()) {
        delete box;
        return MessageBoxResult;
    }
    box->ShowModal();
    return MessageBoxResult;
}

void MessageBoxWindow::InitWindow()
{
    SkinWindow::InitWindow();
    SIZE size = m_PaintManager.GetInitSize();
    ResizeClient(size.cx, size.cy);
    CenterWindow();
}

void MessageBoxWindow::OnWindowInit()
{
    const struct {
        const char* name;
        const std::string* caption;
    } buttons[] = {{"ok_btn", &okText_}, {"no_btn", &noText_}, {"cancle_btn", &cancelText_}};
    for (const auto& b : buttons) {
        DuiLib::CControlUI* button = Find(b.name);
        if (!button) continue;
        if (b.caption->empty())
            button->SetVisible(false);
        else
            button->SetText(b.caption->c_str());
    }
    if (DuiLib::CControlUI* p = Find("title")) p->SetText(title_.c_str());
    if (DuiLib::CControlUI* p = Find("showtext")) p->SetText(text_.c_str());
}

void MessageBoxWindow::OnNotify(DuiLib::TNotifyUI& msg)
{
    if (msg.sType != DUI_MSGTYPE_CLICK || !msg.pSender) return;
    DuiLib::CDuiString name = msg.pSender->GetName();
    if (name == "closebtn")
        Answer(kClosed);
    else if (name == "ok_btn")
        Answer(0);
    else if (name == "no_btn")
        Answer(1);
    else if (name == "cancle_btn")
        Answer(2);
}

void MessageBoxWindow::Answer(int result)
{
    MessageBoxResult = result;
    Close(IDOK);
}
