"""Buttons most windows share: the minimise and close buttons of the title
row and the pills that text buttons stretch as nine-grids (corner 8)."""
from skin_images.kit import *


def g_min(w, h):
    return [(stroke([(w / 2.0 - 5, h / 2.0 + 1), (w / 2.0 + 5, h / 2.0 + 1)], 1.4), TEXT)]


def g_close(w, h):
    cx, cy = w / 2.0, h / 2.0
    return [(stroke([(cx - 4, cy - 4), (cx + 4, cy + 4)], 1.4), TEXT),
            (stroke([(cx + 4, cy - 4), (cx - 4, cy + 4)], 1.4), TEXT)]


def draw():
    out = {}
    hot, down = (255, 255, 255, 0.14), (255, 255, 255, 0.07)
    for name, w, fn, hbg, dbg in (("btn_min", 28, g_min, hot, down),
                                  ("btn_close", 45, g_close, RED + (1.0,), RED_DOWN + (1.0,))):
        for state, pic in title_button(w, 17, fn, hbg, dbg).items():
            out["skin/%s%s.png" % (name, state)] = pic

    out["skin/pill.png"] = pill((255, 255, 255, 0.06), (255, 255, 255, 0.16))
    out["skin/pill_hot.png"] = pill((255, 255, 255, 0.14), (255, 255, 255, 0.28))
    out["skin/pill_down.png"] = pill((255, 255, 255, 0.04), (255, 255, 255, 0.12))
    # The accent pill marks a window's main action.
    out["skin/pill_accent.png"] = pill(RED + (0.90,), RED + (1.0,))
    out["skin/pill_accent_hot.png"] = pill(RED_HOT + (0.95,), RED_HOT + (1.0,))
    out["skin/pill_accent_down.png"] = pill(RED_DOWN + (1.0,), RED_DOWN + (1.0,))
    return out
