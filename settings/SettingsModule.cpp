#include "settings/SettingsModule.h"

#include "kit/WindowTable.h"
#include "settings/AboutSoftWnd.h"
#include "settings/CaptureSettingsWindows.h"
#include "settings/DetailPopupWnd.h"
#include "settings/ExpandToolWindow.h"
#include "settings/GuideWindow.h"
#include "settings/KeyboardShortcutWnd.h"
#include "settings/SelectSkinWnd.h"
#include "settings/SmallTipWindow.h"
#include "settings/TipsMenuWnd.h"
#include "settings/UpdateCheck.h"
#include "settings/UpdateLogWindow.h"
#include "settings/UserSkinStore.h"
#include "settings/VolumeWindows.h"

namespace {

// A window whose native window could not be made gets no final message, so
// nothing else would delete it.
DuiLib::CWindowWnd* Made(DuiLib::CWindowWnd* window)
{
    if (window->GetHWND()) return window;
    delete window;
    return nullptr;
}

void RegisterSkinAndSoundWindows(WindowTable& table)
{
    table.Register(WindowId::KeyboardShortcut, {[](const WindowRequest& r) {
                       return Made(new CKeyboardShortcutWnd(r.owner, r.at.x, r.at.y));
                   }});
    table.Register(WindowId::SelectSkin, {[](const WindowRequest& r) {
                       return Made(new SelectSkinWnd(r.owner, r.at.x, r.at.y));
                   }});
    table.Register(WindowId::MicrophoneVolume, {[](const WindowRequest& r) {
                       return Made(new MichoneVolumeWindow(r.owner, r.at.x, r.at.y));
                   }});
    table.Register(WindowId::SpeakerVolume, {[](const WindowRequest& r) {
                       return Made(new SpeakerVolumeWindow(r.owner, r.at.x, r.at.y));
                   }});
}

void RegisterWindows(WindowTable& table)
{
    table.Register(WindowId::ExpandTool, {[](const WindowRequest& r) -> DuiLib::CWindowWnd* {
                       return new ExpandToolWindow(r.owner, r.at.x, r.at.y);
                   }});
    table.Register(WindowId::UpdateLog, {[](const WindowRequest& r) -> DuiLib::CWindowWnd* {
                       return new UpdateLogWindow(r.at.x, r.at.y);
                   }});
    table.Register(WindowId::AboutSoft, {[](const WindowRequest&) -> DuiLib::CWindowWnd* {
                       return new AboutSoftWnd();
                   }});
    table.Register(WindowId::SmallTip, {[](const WindowRequest&) -> DuiLib::CWindowWnd* {
                       return new SmallTipWindow();
                   }});
    table.Register(WindowId::TipsMenu, {[](const WindowRequest& r) -> DuiLib::CWindowWnd* {
                       return new TipsMenuWnd(r.owner, r.at.x, r.at.y);
                   }});
    table.Register(WindowId::Guide, {[](const WindowRequest&) -> DuiLib::CWindowWnd* {
                       return new GuideWindow();
                   }});
    // The floating bar opens these with itself as the owner.
    table.Register(WindowId::RecDetail, {[](const WindowRequest& r) -> DuiLib::CWindowWnd* {
                       return ShowRecDetailWnd(r.owner);
                   }});
    table.Register(WindowId::StateDetail, {[](const WindowRequest& r) -> DuiLib::CWindowWnd* {
                       return ShowStateDetailWnd(r.owner);
                   }});
    RegisterCaptureSettingsWindows(table);
    RegisterSkinAndSoundWindows(table);
}

// The user's skins are listed before any window asks for them.
void BeforeMainWindow()
{
    g_userSkinStore.EnsureDirectories();
    g_userSkinStore.Refresh();
}

// The main window starts the update check as it comes up; whatever of it
// still runs when the program ends lets go of the network here.
void Stop()
{
    StopUpdateCheck();
}

}  // namespace

const ProgramModule& SettingsModule()
{
    static const ProgramModule module = {"settings", RegisterWindows, BeforeMainWindow, nullptr, Stop};
    return module;
}
