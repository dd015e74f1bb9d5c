"""The settings window (expand_tool.xml) and the update log window
(update_log_wnd.xml): the drop-down boxes, the check boxes and the tab
marker. The boxes stretch as nine-grids; their arrow sits in the fixed
right column (corner '6,6,22,6')."""
from skin_images.kit import *

FIELD = (255, 255, 255)


def combo(fill_alpha, border_alpha, arrow, w=48, h=24):
    pic = Picture(w, h)
    shape = box(0.5, 0.5, w - 0.5, h - 0.5, 4)
    pic.draw(shape, FIELD, fill_alpha)
    pic.draw(outline(shape, 1.0), FIELD, border_alpha)
    cx, cy = w - 11.0, h / 2.0
    pic.draw(stroke([(cx - 4, cy - 2), (cx, cy + 2), (cx + 4, cy - 2)], 1.6), arrow)
    return pic


def check(on, w=16):
    pic = Picture(w, w)
    shape = box(0.5, 0.5, w - 0.5, w - 0.5, 3)
    if on:
        pic.draw(shape, TEAL)
        pic.draw(stroke([(3.8, 8.2), (6.7, 11.1), (12.2, 5.0)], 1.9), BASE)
    else:
        pic.draw(shape, FIELD, 0.06)
        pic.draw(outline(shape, 1.2), MUTED)
    return pic


def tab_marker(w=24, h=28):
    """Under the chosen tab: a faint field and a teal bar along its foot."""
    pic = Picture(w, h)
    pic.draw(box(0, 0, w, h, 0), FIELD, 0.07)
    pic.draw(box(0, h - 2, w, h, 0), TEAL)
    return pic


def draw():
    return {
        "skin/combo.png": combo(0.06, 0.18, TEXT),
        "skin/combo_hot.png": combo(0.12, 0.32, TEXT),
        "skin/combo_disabled.png": combo(0.02, 0.08, MUTED),
        "skin/check_off.png": check(False),
        "skin/check_on.png": check(True),
        "skin/tab_selected.png": tab_marker(),
    }
