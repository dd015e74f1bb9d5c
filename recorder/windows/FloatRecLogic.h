// The floating recording bar's arithmetic, without a window: its opacity
// steps, where a drag puts it, which edge it docks at, the strip it
// collapses to there, and when it fades while a recording runs.
#pragma once

#include <windows.h>

// The opacity the configuration gives when it has none, in percent.
const int kDefaultFloatBarOpacity = 70;

// The configured opacity as the bar uses it: 10 to 100 percent as they
// are; anything else (a hand-edited or damaged file) is the default, so a
// bar can never turn invisible, or wrap round to some other alpha, by a
// value the menu would never write.
int UsableFloatBarOpacity(int percent);
// The alpha of an opacity in percent, 0 to 255 with its fraction.
double FloatBarAlpha(int percent);
// The window's opacity for an alpha: the alpha without its fraction.
BYTE FloatBarOpacityByte(double alpha);
// The percent an opacity command of the menu chooses (10 for the first,
// 100 for the last); 0 for any other command.
int OpacityPercentOfCommand(unsigned command);

// The press point lies on the row of buttons, where a press clicks
// instead of starting a drag (client coordinates).
bool InFloatBarButtonRow(POINT client);

// Where a drag puts the bar's top-left corner: the cursor less the point
// the bar was pressed at, kept wholly on the work area on every side.
POINT DraggedFloatBarPosition(POINT cursor, POINT press, SIZE bar, const RECT& work);

// Where the bar's graffiti buttons draw: inside the flash frame around the
// recorded region (its window rectangle shrunk by 4 on each side) when
// there is one, else the primary screen.
RECT FloatBarGraffitiArea(const RECT* flashFrame, int screenWidth, int screenHeight);

enum class DockSide { Top = 0, Left = 1, Right = 2, None = 3 };

// The edge a bar at that position docks at: the top when it touches the
// work area's top; the left when it touches its left, the right when it
// touches its right, those two winning over the top (a bar in a corner
// docks at the side).
DockSide FloatBarDockSide(POINT bar, SIZE size, const RECT& work);

// The window rectangle of a docked bar collapsed to a strip: 3 pixels of
// its height at the top, 3 pixels wide at the left edge, 5 at the right.
// The bar's own rectangle when it is not docked.
RECT CollapsedFloatBar(DockSide side, POINT bar, SIZE size, const RECT& work);

// While a recording runs the bar fades to half its opacity once the mouse
// has rested outside it for more than ten seconds, and comes back at the
// next tick after the mouse moves or enters it.
class FloatBarFade {
public:
    static const DWORD kIdleMs = 10000;

    // The mouse counts as having moved at `now` (a recording starts).
    void Restart(DWORD now);
    // The window's opacity for this tick of the bar's timer.
    BYTE Tick(POINT cursor, bool cursorOnBar, DWORD now, double alpha);

private:
    POINT m_lastCursor = {0, 0};
    DWORD m_lastMove = 0;
};
