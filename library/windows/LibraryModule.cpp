#include "library/windows/LibraryModule.h"

#include "library/AviFileList.h"
#include "library/EditWorker.h"
#include "library/EditorFile.h"
#include "library/VideoListThreads.h"
#include "library/windows/AviListWnd.h"
#include "library/windows/FormatConvertWindow.h"
#include "library/windows/SaveFileNotifyWindow.h"
#include "library/windows/VideoEditingWindow.h"

namespace {

void RegisterWindows(WindowTable& table)
{
    table.Register(WindowId::VideoList, {[](const WindowRequest& r) -> DuiLib::CWindowWnd* {
                       return new AviListWnd(r.owner, r.at.x, r.at.y);
                   }});
    table.Register(WindowId::FormatConvert, {[](const WindowRequest& r) -> DuiLib::CWindowWnd* {
                       return new FormatConvertWindow(r.owner, r.at.x, r.at.y, r.file);
                   }});
    table.Register(WindowId::SaveNotice, {[](const WindowRequest& r) -> DuiLib::CWindowWnd* {
                       return new SaveFileNotifyWindow(r.owner, r.at.x, r.at.y, r.flag);
                   }});
    WindowEntry editor;
    // The file comes with the request: the main window's button opens the
    // editor without one.
    editor.open = [](const WindowRequest& r) -> DuiLib::CWindowWnd* {
        g_strEditCurrentFile = r.file;
        return new VideoEditingWindow(r.owner);
    };
    editor.mayClose = [](DuiLib::CWindowWnd& w) {
        return static_cast<VideoEditingWindow&>(w).MayClose();
    };
    table.Register(WindowId::VideoEditor, editor);
}

// The save folder is read once the main window shows, so the list is ready
// when the user first opens it.
void AfterMainWindow()
{
    StartVideoListLoader();
}

void Stop()
{
    StopVideoListWorkers();
    WaitForEditCleanup();
    ClearAviFileList();
}

}  // namespace

const ProgramModule& LibraryModule()
{
    static const ProgramModule module = {"library", RegisterWindows, nullptr, AfterMainWindow, Stop};
    return module;
}
