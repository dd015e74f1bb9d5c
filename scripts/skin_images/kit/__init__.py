"""The drawing kit every window module draws with: palette, shapes,
pictures, file formats and the common kinds of buttons.

A change to any file of this folder redraws every window's pictures (the
stamps hash the whole kit), so keep window-specific drawings in the window
modules and move a drawing here only once a second window needs it.
"""
from .files import cur, ico
from .palette import (AMBER, BASE, BASE_LINE, BLUE, GREEN, HOVER, ICON_LINE, MUTED, PRESS, RED,
                      RED_DOWN, RED_HOT, TEAL, TEXT, WHITE)
from .picture import Picture
from .shapes import arc, box, circle, clamp, minus, outline, polygon, ring, seg_dist, stroke, union
from .widgets import STATES, icon_button, pill, render_glyph, skin_background, title_button, tool_button

__all__ = [
    "cur", "ico",
    "AMBER", "BASE", "BASE_LINE", "BLUE", "GREEN", "HOVER", "ICON_LINE", "MUTED", "PRESS", "RED",
    "RED_DOWN", "RED_HOT", "TEAL", "TEXT", "WHITE",
    "Picture",
    "arc", "box", "circle", "clamp", "minus", "outline", "polygon", "ring", "seg_dist", "stroke",
    "union",
    "STATES", "icon_button", "pill", "render_glyph", "skin_background", "title_button", "tool_button",
]
