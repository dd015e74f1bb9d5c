// Resource ids of Orbisk.exe that the code names.
#pragma once

const unsigned kAppIconResource = 107;         // the program icon, on every window and the tray
const unsigned kSkinPackageResource = 130;     // the skin package, resource type "ZIPRES"
const unsigned kFloatBarMenuResource = 137;    // the floating bar's right-click menu
// Cursors. LoadCursor scales to the system's cursor size, so the 40 x 40
// cross-hair is loaded with LoadImage(IMAGE_CURSOR, 40, 40).
const unsigned kSelectorCursorResource = 141;  // region picker cross-hair, 40 x 40
const unsigned kPenCursorResource = 147;       // pen over the drawing canvas, 32 x 32
// Resource type "png".
const unsigned kCanvasFillPngResource = 145;   // the drawing canvas's fill, 100 x 100
const unsigned kPlaceholderPngResource = 146;  // shown where an image is missing, 64 x 64

// Commands of the floating bar's menu (kFloatBarMenuResource).
const unsigned kFloatBarCmdShowMain = 140;
const unsigned kFloatBarCmdOpenFolder = 154;
const unsigned kFloatBarCmdStart = 137;
const unsigned kFloatBarCmdStop = 139;
const unsigned kFloatBarCmdPause = 138;
const unsigned kFloatBarCmdHide = 153;
// The opacity submenu: 10 % at kFloatBarCmdOpacityFirst and 10 % more per
// id, up to 100 % at kFloatBarCmdOpacityLast.
const unsigned kFloatBarCmdOpacityFirst = 143;
const unsigned kFloatBarCmdOpacityLast = 152;
const unsigned kFloatBarCmdExit = 142;
