// Whether a recording's screen grab takes in layered windows. Windows leaves
// them out of a plain BitBlt of the screen, and asking for them (CAPTUREBLT)
// makes the cursor flicker and the grab slower, so the grab asks only while
// a layered window that belongs in the video (the transparent drawing
// canvas) is open. Counted: each "on" needs its "off".
//
// Any thread.
#pragma once

void SetGrabLayeredWindows(bool on);
bool GrabsLayeredWindows();
