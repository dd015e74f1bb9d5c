// The nine-cell grid the caption and watermark windows place their overlay
// with, and how the watermark window fits a picture into its preview.
#pragma once

#include <windows.h>

#include <string>

const int kGridCells = 9;

// The grid buttons of both layouts, by cell, row by row from the top left.
extern const char* const kGridButtonNames[kGridCells];

// The cell of a grid button; -1 for any other control.
int GridCellOfButton(const char* name);
// A cell as the configuration stores it: "0" to "8".
std::string GridCellText(int cell);

// The current cell and the one under the pointer stand out in white.
const DWORD kGridBorderColor = 0x737373;
const DWORD kGridBorderLitColor = 0xFFFFFF;
DWORD GridBorderColor(int cell, int current, int hovered);
// The first cell, in cell order, whose rectangle holds pt; -1 when none does.
int GridCellAt(const RECT (&cells)[kGridCells], POINT pt);

// Where a picture of width x height shows in the preview frame: scaled to
// the frame less 5 px at each side and 10 px above and below, the longer
// side filling it, centred along the shorter one. Empty for a picture
// without pixels.
RECT PreviewPictureRect(const RECT& frame, int width, int height);
