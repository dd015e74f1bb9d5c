"""The floating recording bar (float_rec_wnd.xml): its 16 x 16 buttons,
each with a normal, hot and pushed picture, and the region button's
disabled one (grey while the region picker is up)."""
from skin_images.kit import *

SIZE = 16
# Lines a little heavier than the main window's: the glyphs are drawn at
# 16 pixels instead of 20.
W = ICON_LINE * 1.15


def g_target():
    """Corner marks of a region around a dot: choose a window or region."""
    parts = []
    for (x, y, sx, sy) in ((3, 3, 1, 1), (17, 3, -1, 1), (3, 17, 1, -1), (17, 17, -1, -1)):
        parts.append((stroke([(x, y + 4.5 * sy), (x, y), (x + 4.5 * sx, y)], W), TEXT))
    parts.append((circle(10, 10, 2.6), TEAL))
    return parts


def _pen(col):
    """A pen at 45 degrees, nib at the bottom left."""
    body = polygon([(6, 17.5), (2.5, 14), (13.5, 3), (17, 6.5)])
    nib = polygon([(2.5, 14), (6, 17.5), (1.5, 18.5)])
    return [(outline(body, W * 0.8), col), (nib, col), (stroke([(11.5, 5), (15, 8.5)], W * 0.8), col)]


def g_pen():
    """Drawing straight on the screen."""
    return _pen(TEXT) + [(stroke([(9, 18), (18, 18)], W), TEAL)]


def g_pen_layered():
    """Drawing on a transparent sheet: the pen over a dashed frame."""
    parts = []
    for (x0, y0, x1, y1) in ((1.5, 1.5, 6, 1.5), (14, 1.5, 18.5, 1.5), (1.5, 1.5, 1.5, 6),
                             (18.5, 14, 18.5, 18.5), (14, 18.5, 18.5, 18.5),
                             (18.5, 1.5, 18.5, 6)):
        parts.append((stroke([(x0, y0), (x1, y1)], 1.2), TEAL))
    return parts + _pen(TEXT)


def g_play():
    return [(ring(10, 10, 8.5, 1.6), TEXT), (circle(10, 10, 5.2), RED)]


def g_stop():
    return [(ring(10, 10, 8.5, 1.6), TEXT), (box(6, 6, 14, 14, 1.5), RED)]


def g_pause():
    return [(box(5, 4, 8.4, 16, 1), TEXT), (box(11.6, 4, 15, 16, 1), TEXT)]


def g_resume():
    """Paused: the resume triangle, amber like the main window's."""
    return [(polygon([(6, 3.5), (16.5, 10), (6, 16.5)]), AMBER)]


def g_more():
    return [(stroke([(4.5, 7.5), (10, 13), (15.5, 7.5)], 2.3), TEXT)]


BUTTONS = {
    "float_target": g_target,
    "float_pen": g_pen,
    "float_pen_layered": g_pen_layered,
    "float_play": g_play,
    "float_stop": g_stop,
    "float_pause": g_pause,
    "float_resume": g_resume,
    "float_more": g_more,
}


def disabled(glyph):
    """The glyph in the muted colour, faint."""
    pic = Picture(SIZE, SIZE)
    render_glyph(pic, [(sdf, MUTED) for sdf, _ in glyph], 0, 0, SIZE, 0.45)
    return pic


def draw():
    out = {}
    for name, glyph in BUTTONS.items():
        for state in STATES:
            out["skin/%s%s.png" % (name, state)] = tool_button(glyph(), state, SIZE)
    out["skin/float_target_disabled.png"] = disabled(g_target())
    return out
