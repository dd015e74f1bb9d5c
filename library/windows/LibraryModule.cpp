#include "library/windows/LibraryModule.h"

#include "library/AviFileList.h"
#include "library/VideoListThreads.h"
#include "library/windows/AviListWnd.h"

namespace {

void RegisterWindows(WindowTable& table)
{
    table.Register(WindowId::VideoList, {[](const WindowRequest& r) -> DuiLib::CWindowWnd* {
                       return new AviListWnd(r.owner, r.at.x, r.at.y);
                   }});
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
    ClearAviFileList();
}

}  // namespace

const ProgramModule& LibraryModule()
{
    static const ProgramModule module = {"library", RegisterWindows, nullptr, AfterMainWindow, Stop};
    return module;
}
