"""The whiteboard (transparent_frame.xml): the frame around the recorded
canvas, idle (trans_bk.png) and recording (trans_bk_rec.png), nine-grids
with corners 4,25,4,4 whose inside is left out; and the 16 x 16 buttons of
its title strip that the floating bar does not already have: the size list,
the presentation and the canvas picture."""
from skin_images.kit import *
from skin_images.windows.float_bar import SIZE, W

FRAME_W, FRAME_H = 64, 64
STRIP = 25
EDGE = 4


def frame(border):
    pic = Picture(FRAME_W, FRAME_H)

    def px(x, y):
        if y < STRIP:
            if y == 0:
                return border + (1.0,)
            return BASE + (0.96,)
        d = min(x, FRAME_W - 1 - x, FRAME_H - 1 - y)
        if d >= EDGE:
            return (0, 0, 0, 0)
        if d == EDGE - 1:
            return (16, 18, 20, 0.7)
        return border + (1.0,)
    pic.shade(px)
    return pic


def g_size():
    """A frame with its size arrows."""
    return [(outline(box(2, 4, 18, 16, 1.5), W * 0.8), TEXT),
            (stroke([(6, 10), (14, 10)], W * 0.8), TEAL),
            (stroke([(8, 8), (6, 10), (8, 12)], W * 0.8), TEAL),
            (stroke([(12, 8), (14, 10), (12, 12)], W * 0.8), TEAL)]


def g_ppt():
    """A slide on its stand."""
    return [(outline(box(2, 3, 18, 14, 1), W * 0.8), TEXT),
            (box(5, 6, 11, 11, 0.5), AMBER),
            (stroke([(10, 14), (10, 18)], W * 0.8), TEXT),
            (stroke([(6, 18), (14, 18)], W * 0.8), TEXT)]


def g_shot():
    """A camera: keep what the canvas shows."""
    return [(outline(box(2, 6, 18, 17, 2), W * 0.8), TEXT),
            (box(6.5, 3.5, 13.5, 6.5, 1), TEXT),
            (ring(10, 11.5, 3.2, W * 0.8), TEAL)]


BUTTONS = {"wb_size": g_size, "wb_ppt": g_ppt, "wb_shot": g_shot}


def draw():
    out = {"skin/trans_bk.png": frame(TEAL), "skin/trans_bk_rec.png": frame(RED)}
    for name, glyph in BUTTONS.items():
        for state in STATES:
            out["skin/%s%s.png" % (name, state)] = tool_button(glyph(), state, SIZE)
    return out
