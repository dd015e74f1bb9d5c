// The real-time drawing canvas's test probe (test builds, test hooks on):
// SendMessage(canvas, RegisterWindowMessage(kGraffitiProbeMessage),
// (WPARAM)replyWindow, 0). The reply window receives WM_COPYDATA in the UI
// probe's format (platform/ui/UIProbeProtocol.h) with: layered, rect
// ("left,top,right,bottom"), tool, undo, redo (stack depths), frames (drawn
// so far), popup (a text popup is open), tool_wnd (the tool window is
// shown), colour.N and width.N (COLORREF and width of tool N, 0 to 6),
// shapes (how many) and shape.N ("class,colour,width,points", a text
// adding ",x,y,text").
#pragma once

#define kGraffitiProbeMessage "OrbiskGraffitiProbe"
