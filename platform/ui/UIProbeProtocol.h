// The test probe's wire format, shared by the library (the answering side,
// compiled with ORBISK_TEST_HOOKS) and the test kit (the asking side).
//
// Request: SendMessage(window, RegisterWindowMessage(kUiProbeMessage),
//          (WPARAM)replyWindow, MAKELPARAM(atom, op)).
//   atom: a global atom whose text is the control name in hexadecimal
//         (atoms ignore case; hex keeps the name exact);
//   op:   kUiProbeQuery or kUiProbeClick.
// Answer: before SendMessage returns, WM_COPYDATA to replyWindow with
//         dwData = kUiProbeReplyTag and "key\0value\0" pairs: found,
//         class, visible (own flag), shown (with its ancestors), enabled,
//         text, tooltip, bkimage, left, top, right, bottom, selected (options).
//   The message itself returns 1 when the control was found, 0 if not.
// Click: the window gets WM_MOUSEMOVE, WM_LBUTTONDOWN and WM_LBUTTONUP at
//        the control's centre, posted, so a click that opens a modal box
//        does not block the asking process.
#pragma once

#define ORBISK_UI_PROBE_MESSAGE "OrbiskUiProbe"

namespace orbisk_ui_probe {

const unsigned kUiProbeQuery = 1;
const unsigned kUiProbeClick = 2;
const unsigned long kUiProbeReplyTag = 0x4F554950;  // "OUIP"

}  // namespace orbisk_ui_probe
