"""The settings windows of the recording's overlays and timers
(caption_setting.xml, watermark_setting.xml, cursor_setting_wnd.xml,
countdown_setting_wnd.xml, auto_stop_setting_wnd.xml): the tick box of
their check boxes and the drop box of their combos."""
from skin_images.kit import *

FIELD = (21, 25, 29)      # the inside of fields, a shade below the window
FIELD_LINE = (58, 67, 76)


def tick_box(checked, hot):
    pic = Picture(16, 16)
    shape = box(1.5, 1.5, 14.5, 14.5, 3)
    if checked:
        pic.draw(shape, TEAL, 1.0 if hot else 0.88)
        pic.draw(stroke([(4.4, 8.3), (7.0, 10.9), (11.8, 5.4)], 1.9), WHITE)
    else:
        pic.draw(shape, FIELD)
        pic.draw(outline(shape, 1.2), TEXT if hot else MUTED, 1.0 if hot else 0.8)
    return pic


def drop_box(hot):
    """Stretched as a nine-grid with corner 4,4,22,4: the arrow keeps to the
    22 px at the right, the combos are as high as the picture."""
    w, h = 80, 22
    pic = Picture(w, h)
    shape = box(0.5, 0.5, w - 0.5, h - 0.5, 3)
    pic.draw(shape, FIELD)
    pic.draw(outline(shape, 1.0), TEXT if hot else FIELD_LINE, 0.9 if hot else 1.0)
    pic.draw(stroke([(w - 22.5, 4), (w - 22.5, h - 4)], 1.0), FIELD_LINE)
    cx, cy = w - 11.0, h / 2.0
    pic.draw(stroke([(cx - 3.5, cy - 1.8), (cx, cy + 1.8), (cx + 3.5, cy - 1.8)], 1.6),
             TEXT if hot else MUTED)
    return pic


def draw():
    return {
        "skin/tick_box.png": tick_box(False, False),
        "skin/tick_box_hot.png": tick_box(False, True),
        "skin/tick_box_on.png": tick_box(True, False),
        "skin/tick_box_on_hot.png": tick_box(True, True),
        "skin/drop_box.png": drop_box(False),
        "skin/drop_box_hot.png": drop_box(True),
    }
