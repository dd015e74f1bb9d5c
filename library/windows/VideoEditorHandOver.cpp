#include "library/windows/VideoEditorHandOver.h"

#include "kit/MainWindow.h"
#include "kit/WindowTable.h"
#include "library/EditorFile.h"

bool HandFileToVideoEditor(const std::string& path)
{
    WindowTable& table = GetWindowTable();
    if (!table.Has(WindowId::VideoEditor)) return false;
    if (DuiLib::CWindowWnd* open = table.Current(WindowId::VideoEditor)) {
        if (g_strEditCurrentFile == path) {
            WindowTable::BringForward(open);
            return true;
        }
        const WindowEntry& entry = table.Entry(WindowId::VideoEditor);
        if (entry.mayClose && !entry.mayClose(*open)) {
            WindowTable::BringForward(open);
            return false;
        }
        table.Close(WindowId::VideoEditor);
    }
    g_strEditCurrentFile = path;
    WindowRequest request;
    MainWindow* main = GetMainWindow();
    request.owner = main ? main->Handle() : nullptr;
    request.file = path;
    // The editor places itself.
    return table.Open(WindowId::VideoEditor, request) != nullptr;
}
