#include "settings/TimeSettingWindow.h"

#include "kit/Dialogs.h"
#include "settings/TimerSettings.h"

TimeSettingWindow::TimeSettingWindow(const Frame& frame, int x, int y)
    : SkinWindow(frame), m_at{x, y}
{
}

void TimeSettingWindow::Open(const char* title)
{
    Create(nullptr, title, WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, 0, 0);
    ShowWindow(true);
}

void TimeSettingWindow::InitWindow()
{
    SkinWindow::InitWindow();
    const SIZE size = m_PaintManager.GetInitSize();
    ::SetWindowPos(m_hWnd, nullptr, m_at.x, m_at.y, size.cx, size.cy,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
}

bool TimeSettingWindow::ReadTotal(long* total)
{
    auto text = [this](const char* name) {
        DuiLib::CControlUI* field = Find(name);
        return field ? std::string(field->GetText().GetData()) : std::string();
    };
    const TimeFields fields = CheckTimeFields(text("hour"), text("minin"), text("second"));
    if (fields.check != TimeFieldsCheck::Ok) {
        Tell(TimeFieldsMessage(fields.check));
        return false;
    }
    *total = fields.total;
    return true;
}

void TimeSettingWindow::Tell(const char* text)
{
    AskQuestion(m_hWnd, "提示", text, "确定", "", "");
}
