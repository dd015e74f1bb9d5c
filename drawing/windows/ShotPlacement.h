// Where the screenshot's tool bar goes: below the selection, its right end
// 43 pixels short of the selection's, and always whole on the screen.
#pragma once

#include <windows.h>

const int kShotToolBarWidth = 362;
const int kShotToolBarHeight = 35;

// outer: the selection box (the selection grown by the box's inset), screen
// coordinates. screenWidth: the screen's width; usableHeight: the height of
// the screen above the task bar (SM_CYFULLSCREEN). A box ending within the
// bar's height of that puts the bar 40 pixels above it, over the box.
POINT PlaceShotToolBar(const RECT& outer, int screenWidth, int usableHeight);
