// The main window's test probe (test builds only): SendMessage(main window,
// RegisterWindowMessage(kMainFrameProbeMessage), (WPARAM)replyWindow, op).
//   op kMainFrameProbeQuery: the reply window receives WM_COPYDATA in the UI
//     probe's format with: tip, tray_added, tray_adds, timer2, menu_159,
//     menu_160, menu_161, menu_163 ("enabled"/"grayed"), skin, led, closing,
//     float_shown (the floating bar's shown flag), zoom_x, zoom_y, zoom_tick
//     (the last zoom request), dialog_answers (answers waiting for the next
//     system dialogs), update_check (the update check's state,
//     settings/UpdateCheck.h), capture ("left,top,right,bottom" of the
//     capture rectangle), record_mode, follow (the window follow's flag),
//     notices (the kinds of save notice asked for, in order: "1,0").
// WM_COPYDATA with kDialogAnswerTag (kit/DialogAnswerProtocol.h): the answer
//     of the next system dialog of its kind.
//   op kMainFrameProbeEndMenu: ends the open tray menu without a choice.
//   op kMainFrameProbeShowCover / kMainFrameProbeHideCover: the cover as a
//     recording shows it while it is saved (for screenshots).
#pragma once

#define kMainFrameProbeMessage "OrbiskMainFrameProbe"
const long kMainFrameProbeQuery = 1;
const long kMainFrameProbeEndMenu = 2;
const long kMainFrameProbeShowCover = 3;
const long kMainFrameProbeHideCover = 4;
