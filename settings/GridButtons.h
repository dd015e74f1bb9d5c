// The nine grid buttons of the caption and watermark windows, lit as the
// grid rules say (settings/OverlayGrid.h).
#pragma once

#include "kit/SkinWindow.h"
#include "settings/OverlayGrid.h"

class GridButtons {
public:
    void Find(SkinWindow& window);
    // Every border grey, the current cell's white, and with a pointer (a
    // client point of the window) also the cell under it.
    void Highlight(int current, const POINT* pointer = nullptr);

private:
    DuiLib::CControlUI* m_buttons[kGridCells] = {};
};
