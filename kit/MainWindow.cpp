#include "kit/MainWindow.h"

#include "core/UiThread.h"

BYTE g_bLedFont = 0;

namespace {

MainWindow* g_mainWindow = nullptr;

}  // namespace

MainWindow* GetMainWindow()
{
    return g_mainWindow;
}

void SetMainWindow(MainWindow* window)
{
    g_mainWindow = window;
}

DuiLib::CDuiString GetSkinBackgroundFile()
{
    return g_mainWindow ? g_mainWindow->GetSkinBackgroundFile() : DuiLib::CDuiString();
}

void ShowFloatWndTip(const std::string& text, int seconds)
{
    auto show = [text, seconds] {
        if (MainWindow* main = GetMainWindow()) main->ShowTip(text, seconds);
    };
    if (IsUiThread())
        show();
    else
        RunOnUiThread(show);
}
