#include "settings/OverlayGrid.h"

#include <cstring>

const char* const kGridButtonNames[kGridCells] = {
    "top1_btn",    "top2_btn",    "top3_btn",    "center1_btn", "center2_btn",
    "center3_btn", "bottom1_btn", "bottom2_btn", "bottom3_btn",
};

int GridCellOfButton(const char* name)
{
    if (!name) return -1;
    for (int cell = 0; cell < kGridCells; ++cell)
        if (strcmp(name, kGridButtonNames[cell]) == 0) return cell;
    return -1;
}

std::string GridCellText(int cell)
{
    return std::to_string(cell);
}

DWORD GridBorderColor(int cell, int current, int hovered)
{
    return cell == current || cell == hovered ? kGridBorderLitColor : kGridBorderColor;
}

int GridCellAt(const RECT (&cells)[kGridCells], POINT pt)
{
    for (int cell = 0; cell < kGridCells; ++cell)
        if (PtInRect(&cells[cell], pt)) return cell;
    return -1;
}

RECT PreviewPictureRect(const RECT& frame, int width, int height)
{
    RECT shown = {0, 0, 0, 0};
    if (width <= 0 || height <= 0) return shown;
    const long boxWidth = frame.right - frame.left - 10;
    const long boxHeight = frame.bottom - frame.top - 20;
    const long x0 = frame.left + 5, y0 = frame.top + 10;
    if (width > height) {
        const long shownHeight = (long)((long long)boxWidth * height / width);
        shown.left = x0;
        shown.top = y0 + (boxHeight - shownHeight) / 2;
        shown.right = x0 + boxWidth;
        shown.bottom = shown.top + shownHeight;
    } else {
        const long shownWidth = (long)((long long)boxHeight * width / height);
        shown.left = x0 + (boxWidth - shownWidth) / 2;
        shown.top = y0;
        shown.right = shown.left + shownWidth;
        shown.bottom = y0 + boxHeight;
    }
    return shown;
}
