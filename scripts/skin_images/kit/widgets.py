"""Pictures of the kinds of buttons and backgrounds many windows use. A
glyph is a list of (shape, colour) pairs designed in a 20 x 20 box, so one
drawing serves every button size."""
from .palette import BASE_LINE, HOVER, PRESS
from .picture import Picture
from .shapes import box, clamp, outline

# File-name suffixes of a button's three pictures, the order the layouts
# name them in (normalimage, hotimage, pushedimage).
STATES = ("", "_hot", "_down")


def render_glyph(pic, glyph, x0, y0, size, alpha=1.0):
    scale = size / 20.0
    for sdf, col in glyph:
        pic.draw(sdf, col, alpha, dx=x0, dy=y0, scale=scale)


def icon_button(glyph, size=30, glyph_size=20):
    """Normal, hot and pushed pictures of a square icon button, by state
    suffix. The pushed glyph sits a little lower, as if pressed in."""
    out = {}
    off = (size - glyph_size) / 2.0
    for state, bg in (("", None), ("_hot", HOVER), ("_down", PRESS)):
        pic = Picture(size, size)
        if bg:
            pic.draw(box(0.5, 0.5, size - 0.5, size - 0.5, 5), bg[:3], bg[3])
        render_glyph(pic, glyph, off, off + (0.6 if state == "_down" else 0), glyph_size)
        out[state] = pic
    return out


def tool_button(glyph, state, size):
    """One picture (state: a suffix of STATES) of a small tool-bar button:
    a rounded veil when hot or pushed, the glyph a half pixel lower when
    pushed."""
    pic = Picture(size, size)
    veil = {"": None, "_hot": HOVER, "_down": PRESS}[state]
    if veil:
        pic.draw(box(0, 0, size, size, 3), veil[:3], veil[3])
    render_glyph(pic, glyph, 0, 0.5 if state == "_down" else 0, size)
    return pic


def title_button(w, h, glyph_fn, hot_bg, down_bg):
    """The three pictures of a button of a window's title row; glyph_fn(w, h)
    gives the glyph in pixels of the button."""
    out = {}
    for state, bg in (("", None), ("_hot", hot_bg), ("_down", down_bg)):
        pic = Picture(w, h)
        if bg:
            pic.draw(box(0, 0, w, h, 0), bg[:3], bg[3])
        for sdf, col in glyph_fn(w, h):
            pic.draw(sdf, col)
        out[state] = pic
    return out


def pill(fill, border, size=24, rad=6):
    """A rounded box for text buttons, which stretch it as a nine-grid."""
    pic = Picture(size, size)
    shape = box(0.5, 0.5, size - 0.5, size - 0.5, rad)
    pic.draw(shape, fill[:3], fill[3])
    pic.draw(outline(shape, 1.0), border[:3], border[3])
    return pic


def skin_background(w, h, base, line_alpha, period=50):
    """A flat colour with faint diagonal lines. The period divides both sides,
    so the picture tiles without seams."""
    pic = Picture(w, h, base + (255,))

    def lines(x, y):
        t = (x + y) % period
        d = min(t, period - t)
        return BASE_LINE + (line_alpha * clamp(1.0 - d),)
    pic.shade(lines)
    return pic
