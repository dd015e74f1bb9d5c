#include "settings/GridButtons.h"

void GridButtons::Find(SkinWindow& window)
{
    for (int cell = 0; cell < kGridCells; ++cell) m_buttons[cell] = window.Find(kGridButtonNames[cell]);
}

void GridButtons::Highlight(int current, const POINT* pointer)
{
    int hovered = -1;
    if (pointer) {
        RECT cells[kGridCells] = {};
        for (int cell = 0; cell < kGridCells; ++cell)
            if (m_buttons[cell]) cells[cell] = m_buttons[cell]->GetPos();
        hovered = GridCellAt(cells, *pointer);
    }
    for (int cell = 0; cell < kGridCells; ++cell) {
        if (!m_buttons[cell]) continue;
        const DWORD color = GridBorderColor(cell, current, hovered);
        if (m_buttons[cell]->GetBorderColor() != color) m_buttons[cell]->SetBorderColor(color);
    }
}
