"""The region picker: the cross-hair cursor (resource 141) that follows the
pointer while a screen region or window is chosen."""
from skin_images.kit import *

SIZE = 40
# The pixel the arms cross on; its centre is the middle of the lines.
HOT = 20

INK = (16, 18, 20)


def crosshair():
    """White arms, each edged in dark, so the cross shows on any screen; a
    gap around the hot pixel leaves what is being aimed at visible."""
    pic = Picture(SIZE, SIZE)
    c = HOT + 0.5
    gap, reach = 4.5, 17.5
    arms = [[(c - reach, c), (c - gap, c)], [(c + gap, c), (c + reach, c)],
            [(c, c - reach), (c, c - gap)], [(c, c + gap), (c, c + reach)]]
    for arm in arms:
        pic.draw(stroke(arm, 3.0), INK, 0.85)
    pic.draw(ring(c, c, 9.5, 3.0), INK, 0.6)
    for arm in arms:
        pic.draw(stroke(arm, 1.0), WHITE)
    pic.draw(ring(c, c, 9.5, 1.0), TEAL)
    pic.draw(box(c - 1.5, c - 1.5, c + 1.5, c + 1.5, 0.5), INK, 0.85)
    pic.draw(box(c - 0.5, c - 0.5, c + 0.5, c + 0.5), WHITE)
    return pic


def draw():
    return {"app/res/cursor_select.cur": cur(crosshair(), HOT, HOT)}
