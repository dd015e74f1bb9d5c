#include "settings/UserSkinCrop.h"

SIZE FitUserSkinPicture(int imageWidth, int imageHeight, int desktopWidth, int desktopHeight)
{
    // Steps of 0.01 in double, as the sizes were always worked out: 3000 x
    // 2000 on a 1920 x 1080 desktop stops just below 0.54 (1619 x 1079).
    double s = 1.0;
    if (!(desktopWidth > imageWidth && desktopHeight > imageHeight)) {
        while (s > 0.01 && !(desktopWidth > s * imageWidth && desktopHeight > s * imageHeight))
            s -= 0.01;
    }
    while (imageWidth > 0 && s * imageWidth < kUserSkinBoxWidth) s += 0.01;
    return SIZE{(LONG)(s * imageWidth), (LONG)(s * imageHeight)};
}

SIZE UserSkinWindowSize(SIZE shown, int imageWidth, int imageHeight)
{
    return SIZE{shown.cx < imageWidth ? shown.cx : imageWidth,
                shown.cy < imageHeight ? shown.cy : imageHeight};
}

SIZE ZoomUserSkinPicture(SIZE shown, SIZE largest, bool wheelDown)
{
    if (wheelDown) return SIZE{(LONG)(shown.cx * 0.98), (LONG)(shown.cy * 0.98)};
    const LONG w = (LONG)(shown.cx * 1.02), h = (LONG)(shown.cy * 1.02);
    return SIZE{w < largest.cx ? w : shown.cx, h < largest.cy ? h : shown.cy};
}

RECT CenteredUserSkinBox(SIZE client)
{
    const LONG left = (client.cx - kUserSkinBoxWidth) / 2;
    const LONG top = (client.cy - kUserSkinBoxHeight) / 2;
    return RECT{left, top, client.cx - kUserSkinBoxWidth - left,
                client.cy - kUserSkinBoxHeight - top};
}

RECT MoveUserSkinBox(RECT insets, int dx, int dy)
{
    RECT moved = insets;
    if (insets.left + dx >= 0 && insets.right - dx >= 0) {
        moved.left += dx;
        moved.right -= dx;
    }
    if (insets.top + dy >= 0 && insets.bottom - dy >= 0) {
        moved.top += dy;
        moved.bottom -= dy;
    }
    return moved;
}

RECT UserSkinSaveRect(SIZE client, RECT insets, POINT clientOrigin, int border)
{
    RECT r = {insets.left, insets.top, client.cx - insets.right, client.cy - insets.bottom};
    ::OffsetRect(&r, clientOrigin.x, clientOrigin.y);
    ::InflateRect(&r, -border, -border);
    return r;
}
