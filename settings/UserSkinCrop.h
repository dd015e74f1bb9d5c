// The arithmetic of the user-skin crop window, without a window: how large
// the picture is shown, how Ctrl+wheel zooms it, where the fixed box sits
// and how it moves, and which part of the screen becomes the skin.
#pragma once

#include <windows.h>

// The box the user moves over the picture: the main window's size.
const int kUserSkinBoxWidth = 550;
const int kUserSkinBoxHeight = 150;

// The picture's shown size: scaled down in steps of 0.01 until it fits
// inside the desktop (unless it already does), then up in steps of 0.01
// until it is at least as wide as the box; products truncated.
SIZE FitUserSkinPicture(int imageWidth, int imageHeight, int desktopWidth, int desktopHeight);
// The window's size for a shown size: never larger than the picture itself.
SIZE UserSkinWindowSize(SIZE shown, int imageWidth, int imageHeight);
// Ctrl+wheel: down shrinks each side by 2 %; up grows each side by 2 % while
// it stays below the largest (the fitted) size.
SIZE ZoomUserSkinPicture(SIZE shown, SIZE largest, bool wheelDown);

// The box's insets from the client edges (left, top, right, bottom), the
// box centred in a client area of that size.
RECT CenteredUserSkinBox(SIZE client);
// The insets after a drag by (dx, dy): each direction only when both of its
// insets stay >= 0, so the box keeps its size and stays inside.
RECT MoveUserSkinBox(RECT insets, int dx, int dy);
// The part of the screen saved as the skin: the box (client rectangle less
// the insets) at the client's screen origin, without the box's border.
RECT UserSkinSaveRect(SIZE client, RECT insets, POINT clientOrigin, int border);
