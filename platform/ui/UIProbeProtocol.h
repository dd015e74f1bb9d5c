// The test probe's wire format, shared by the library (the answering side,
// compiled with ORBISK_TEST_HOOKS) and the test kit (the asking side).
//
// Request: SendMessage(window, RegisterWindowMessage(kUiProbeMessage),
//          (WPARAM)replyWindow, MAKELPARAM(atom, op)).
//   atom: a global atom whose text is the control name in hexadecimal
//         (atoms ignore case; hex keeps the name exact), optionally
//         followed by kUiProbeArgSeparator and the operation's argument;
//   op:   kUiProbeQuery, kUiProbeClick, kUiProbeDoubleClick,
//         kUiProbeRightClick, kUiProbeType (argument: the text, GBK; a
//         "\n" presses Enter) or kUiProbeSelect (argument: "#N" for row N,
//         or a row's text).
//   A name "list#3" that no control has names row 3 of the list or combo
//   "list".
// Answer: before SendMessage returns, WM_COPYDATA to replyWindow with
//         dwData = kUiProbeReplyTag and "key\0value\0" pairs: found,
//         class, visible (own flag), shown (with its ancestors), enabled,
//         text, tooltip, bkimage, tag, bkcolor, bordercolor, textcolor
//         (labels; colours as 8 hex digits AARRGGBB), left, top, right,
//         bottom, selected (options, rows), value, min, max (progress bars,
//         sliders), cursel, count (lists, combos, tab layouts), row.N (each
//         row's text; the columns or the row's texts joined by tabs).
//   The message itself returns 1 when the control was found (and, for
//   typing and choosing, takes the operation), 0 if not.
// Click: the window gets WM_MOUSEMOVE, WM_LBUTTONDOWN and WM_LBUTTONUP at
//        the control's centre, posted, so a click that opens a modal box
//        does not block the asking process. A double click adds
//        WM_LBUTTONDBLCLK and WM_LBUTTONUP; a right click is WM_MOUSEMOVE,
//        WM_RBUTTONDOWN and WM_RBUTTONUP.
// Type: the edit takes the focus and its native window gets one posted
//       WM_CHAR per character, as a keyboard gives them.
// Select: the list or combo selects the row as a user's choice does, with
//         its "itemselect" notification.
#pragma once

#define ORBISK_UI_PROBE_MESSAGE "OrbiskUiProbe"

namespace orbisk_ui_probe {

const unsigned kUiProbeQuery = 1;
const unsigned kUiProbeClick = 2;
const unsigned kUiProbeDoubleClick = 3;
const unsigned kUiProbeRightClick = 4;
const unsigned kUiProbeType = 5;
const unsigned kUiProbeSelect = 6;
const char kUiProbeArgSeparator = '\x1F';
const unsigned long kUiProbeReplyTag = 0x4F554950;  // "OUIP"

}  // namespace orbisk_ui_probe
