#include "app/ChildWindows.h"

const std::vector<WindowId> kCloseFirst = {
    WindowId::FloatRec, WindowId::Whiteboard, WindowId::WaterMark, WindowId::Caption,
    WindowId::Flash,    WindowId::Camera,     WindowId::VideoList, WindowId::SelectSkin,
};

void SetMainWindowRules(WindowTable& table)
{
    const WindowReuse once = WindowReuse::Nothing;
    const WindowReuse forward = WindowReuse::BringForward;
    const WindowReuse anew = WindowReuse::NotKept;
    const struct {
        WindowId id;
        WindowReuse reuse;
        WindowPlacement placement;
    } rules[] = {
        {WindowId::FormatConvert, once, WindowPlacement::Corner},
        {WindowId::Camera, once, WindowPlacement::Corner},
        {WindowId::KeyboardShortcut, once, WindowPlacement::Corner},
        {WindowId::SelectSkin, once, WindowPlacement::Corner},
        {WindowId::WaterMark, once, WindowPlacement::Corner},
        {WindowId::Caption, once, WindowPlacement::Corner},
        {WindowId::ExpandTool, forward, WindowPlacement::Corner},
        {WindowId::VideoList, forward, WindowPlacement::Corner},
        {WindowId::SmallTip, forward, WindowPlacement::None},
        {WindowId::AboutSoft, forward, WindowPlacement::None},
        {WindowId::FloatRec, once, WindowPlacement::None},
        {WindowId::Flash, once, WindowPlacement::None},
        {WindowId::CountDown, once, WindowPlacement::None},
        {WindowId::Whiteboard, forward, WindowPlacement::None},
        {WindowId::VideoEditor, once, WindowPlacement::None},
        {WindowId::RecDetail, once, WindowPlacement::None},
        {WindowId::StateDetail, once, WindowPlacement::None},
        {WindowId::RealtimeGraffiti, once, WindowPlacement::None},
        {WindowId::RegionPicker, once, WindowPlacement::None},
        {WindowId::ScreenShot, once, WindowPlacement::None},
        {WindowId::TipsMenu, anew, WindowPlacement::ClickPoint},
        {WindowId::CursorSetting, anew, WindowPlacement::ClickPoint},
        {WindowId::UpdateLog, anew, WindowPlacement::ClickPoint},
        {WindowId::MicrophoneVolume, anew, WindowPlacement::Corner},
        {WindowId::SpeakerVolume, anew, WindowPlacement::Corner},
        {WindowId::CountdownSetting, anew, WindowPlacement::ControlCorner},
        {WindowId::AutoStopSetting, anew, WindowPlacement::ControlCorner},
        {WindowId::Guide, anew, WindowPlacement::None},
        {WindowId::SaveNotice, anew, WindowPlacement::None},
    };
    for (const auto& r : rules) table.SetRules(r.id, {r.reuse, r.placement});
}
