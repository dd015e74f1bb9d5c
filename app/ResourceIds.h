// Resource ids of Orbisk.exe that the code names.
#pragma once

// The floating bar's menu (137) and its command ids.
#include "recorder/windows/FloatRecMenu.h"

const unsigned kAppIconResource = 107;         // the program icon, on every window and the tray
const unsigned kSkinPackageResource = 130;     // the skin package, resource type "ZIPRES"
// Cursors. LoadCursor scales to the system's cursor size, so the 40 x 40
// cross-hair is loaded with LoadImage(IMAGE_CURSOR, 40, 40).
const unsigned kSelectorCursorResource = 141;  // region picker cross-hair, 40 x 40
const unsigned kPenCursorResource = 147;       // pen over the drawing canvas, 32 x 32
// Resource type "png".
const unsigned kCanvasFillPngResource = 145;   // the drawing canvas's fill, 100 x 100
const unsigned kPlaceholderPngResource = 146;  // shown where an image is missing, 64 x 64
