#include "recorder/windows/FloatRecLogic.h"

#include "recorder/windows/FloatRecMenu.h"

#include <algorithm>

namespace {

// The buttons from the region button to the pause buttons.
const RECT kButtonRow = {62, 10, 150, 26};

const int kTopStripHeight = 3;
const int kLeftStripWidth = 3;
const int kRightStripWidth = 5;

}  // namespace

int UsableFloatBarOpacity(int percent)
{
    return percent >= 10 && percent <= 100 ? percent : kDefaultFloatBarOpacity;
}

double FloatBarAlpha(int percent)
{
    return percent / 100.0 * 255.0;
}

BYTE FloatBarOpacityByte(double alpha)
{
    if (alpha <= 0) return 0;
    if (alpha >= 255) return 255;
    return (BYTE)alpha;
}

int OpacityPercentOfCommand(unsigned command)
{
    if (command < kFloatBarCmdOpacityFirst || command > kFloatBarCmdOpacityLast) return 0;
    return 10 * (int)(command - kFloatBarCmdOpacityFirst + 1);
}

bool InFloatBarButtonRow(POINT client)
{
    return ::PtInRect(&kButtonRow, client) != FALSE;
}

POINT DraggedFloatBarPosition(POINT cursor, POINT press, SIZE bar, const RECT& work)
{
    POINT at = {cursor.x - press.x, cursor.y - press.y};
    // The far edges first: on a work area smaller than the bar, its
    // top-left corner stays in sight.
    at.x = std::max(std::min(at.x, work.right - bar.cx), work.left);
    at.y = std::max(std::min(at.y, work.bottom - bar.cy), work.top);
    return at;
}

RECT FloatBarGraffitiArea(const RECT* flashFrame, int screenWidth, int screenHeight)
{
    if (!flashFrame) return {0, 0, screenWidth, screenHeight};
    RECT inner = *flashFrame;
    ::InflateRect(&inner, -4, -4);
    return inner;
}

DockSide FloatBarDockSide(POINT bar, SIZE size, const RECT& work)
{
    DockSide side = bar.y == work.top ? DockSide::Top : DockSide::None;
    if (bar.x == work.left) side = DockSide::Left;
    if (bar.x == work.right - size.cx) side = DockSide::Right;
    return side;
}

RECT CollapsedFloatBar(DockSide side, POINT bar, SIZE size, const RECT& work)
{
    switch (side) {
        case DockSide::Top:
            return {bar.x, bar.y, bar.x + size.cx, bar.y + kTopStripHeight};
        case DockSide::Left:
            return {work.left, bar.y, work.left + kLeftStripWidth, bar.y + size.cy};
        case DockSide::Right:
            return {work.right - kRightStripWidth, bar.y, work.right, bar.y + size.cy};
        case DockSide::None:
            break;
    }
    return {bar.x, bar.y, bar.x + size.cx, bar.y + size.cy};
}

void FloatBarFade::Restart(DWORD now)
{
    m_lastMove = now;
}

BYTE FloatBarFade::Tick(POINT cursor, bool cursorOnBar, DWORD now, double alpha)
{
    if (cursorOnBar) return FloatBarOpacityByte(alpha);
    const bool still = cursor.x == m_lastCursor.x && cursor.y == m_lastCursor.y;
    m_lastCursor = cursor;
    if (!still) {
        m_lastMove = now;
        return FloatBarOpacityByte(alpha);
    }
    // Unsigned, so the tick count wrapping round after 49 days changes nothing.
    if (now - m_lastMove > kIdleMs) return FloatBarOpacityByte(alpha * 0.5);
    return FloatBarOpacityByte(alpha);
}
