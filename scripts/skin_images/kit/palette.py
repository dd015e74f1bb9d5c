"""The colours every window's pictures share, so a new window matches the
main window without copying numbers out of it."""

BASE = (30, 35, 40)          # window background
BASE_LINE = (255, 255, 255)  # faint pattern lines (drawn with low alpha)
TEXT = (232, 236, 240)
MUTED = (160, 170, 180)
RED = (232, 72, 78)
RED_HOT = (246, 98, 103)
RED_DOWN = (200, 56, 62)
AMBER = (245, 166, 36)
TEAL = (72, 206, 190)
BLUE = (88, 160, 255)
GREEN = (86, 200, 120)
WHITE = (255, 255, 255)

# Veils laid over a button for its hot and pushed states: (r, g, b, alpha).
HOVER = (255, 255, 255, 0.13)
PRESS = (255, 255, 255, 0.07)

# Stroke width of the line icons in their 20 x 20 design box.
ICON_LINE = 1.7
