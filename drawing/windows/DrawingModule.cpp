#include "drawing/windows/DrawingModule.h"

#include "drawing/DrawingBoard.h"
#include "drawing/windows/OpenPptWnd.h"
#include "drawing/windows/RealtimeGraffiti.h"
#include "drawing/windows/ScrSelectWhiteBoardWnd.h"
#include "drawing/windows/ScrShotWnd.h"
#include "drawing/windows/WhiteboardWnd.h"
#include "kit/WindowTable.h"

namespace {

// How long the end of the program waits for a presentation being converted.
const DWORD kConversionWaitMs = 10000;

void RegisterWindows(WindowTable& table)
{
    // The main window creates the whiteboard's window itself.
    table.Register(WindowId::Whiteboard,
                   {[](const WindowRequest&) -> DuiLib::CWindowWnd* { return new CWhiteboardWnd; }});
    // The whiteboard's region selector: one at a time, full screen.
    table.Register(WindowId::WhiteboardRegion, {[](const WindowRequest&) -> DuiLib::CWindowWnd* {
                       CScrSelectWhiteBoardWnd* picker =
                           CScrSelectWhiteBoardWnd::GetScrSelectWhiteBoardWnd();
                       if (!::IsWindow(picker->GetHWND()) &&
                           !picker->Create(nullptr, "CScrSelectWhiteBoardWnd", WS_POPUP | WS_VISIBLE,
                                           0, 0, 0, 0, 0))
                           return nullptr;
                       picker->ShowWindow(true);
                       return picker;
                   }});
    // The request's flag chooses the transparent (layered) canvas.
    table.Register(WindowId::RealtimeGraffiti,
                   {[](const WindowRequest& r) -> DuiLib::CWindowWnd* {
                        return RealtimeGraffitiCanvasWnd::Open(r.flag != 0, r.area);
                    },
                    [](DuiLib::CWindowWnd& canvas) {
                        static_cast<RealtimeGraffitiCanvasWnd&>(canvas).CloseCanvas();
                    }});

    // The main window creates the selector's native window itself. A new
    // screenshot starts on an empty board.
    table.Register(WindowId::ScreenShot, {[](const WindowRequest&) -> DuiLib::CWindowWnd* {
                       g_drawingBoard.ClearBoard();
                       return GetScrShotWnd();
                   }});
}

void Stop()
{
    WaitForPptConversions(kConversionWaitMs);
}

}  // namespace

const ProgramModule& DrawingModule()
{
    static const ProgramModule module = {"drawing", RegisterWindows, nullptr, nullptr, Stop};
    return module;
}
