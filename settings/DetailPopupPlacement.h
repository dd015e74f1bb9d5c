// Where the floating bar's two detail popups appear and how opaque they
// are, without a window: the popup sits at a corner of the bar, tucked
// 25 pixels behind it, on whichever side keeps it on the screen.
#pragma once

#include <windows.h>

// How far a detail popup reaches in behind the bar at its corner.
const int kDetailPopupTuck = 25;

// The top-left corner of a popup of `size` beside the bar's window
// rectangle `bar`, on a primary screen `screenHeight` pixels high: left of
// the bar unless that leaves the screen, then right of it; below the bar
// unless its foot would pass the screen's bottom, then above it.
POINT DetailPopupOrigin(const RECT& bar, SIZE size, int screenHeight);

// The popup's alpha for the configured opacity of the floating bar in
// percent. Outside the bar's own steps (10 to 100) the bar uses its default
// of 70, and so does the popup, so that a hand-edited value can neither
// hide it nor wrap round to another alpha.
BYTE DetailPopupAlpha(int opacityPercent);
