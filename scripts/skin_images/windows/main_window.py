"""The main window (main_frame.xml): the icon buttons of its tool and
settings rows, the settings pill, the record, stop and pause buttons, the
title row's tray button, the menu arrow and the 16 x 16 indicators."""
import math

from skin_images.kit import *

W = ICON_LINE


# --- glyphs of the 30 x 30 icon buttons ------------------------------------------
def g_mic(muted=False):
    col = MUTED if muted else TEXT
    parts = [(outline(box(7, 2.5, 13, 12.5, 3), W), col),
             (arc(10, 9.5, 5.5, W, 0, 180), col),
             (stroke([(10, 15), (10, 17.5)], W), col),
             (stroke([(7, 17.5), (13, 17.5)], W), col)]
    if muted:
        parts.append((stroke([(4, 3), (16, 17)], 2.0), RED))
    return parts


def g_speaker(muted=False):
    col = MUTED if muted else TEXT
    body = polygon([(3, 7.5), (6.5, 7.5), (11, 3.5), (11, 16.5), (6.5, 12.5), (3, 12.5)])
    parts = [(body, col)]
    if muted:
        parts += [(stroke([(13.5, 7.5), (18, 12.5)], W), RED),
                  (stroke([(18, 7.5), (13.5, 12.5)], W), RED)]
    else:
        parts += [(arc(11, 10, 3.5, W, -45, 45), col), (arc(11, 10, 6.5, W, -50, 50), col)]
    return parts


def g_caption():
    return [(stroke([(4, 4.5), (16, 4.5)], 2.0), TEXT),
            (stroke([(10, 4.5), (10, 15)], 2.0), TEXT),
            (stroke([(4, 17.5), (16, 17.5)], 1.4), TEAL)]


def g_watermark():
    drop = union(circle(10, 12, 5.5), polygon([(10, 2), (5.3, 9.5), (14.7, 9.5)]))
    return [(outline(drop, W), TEXT), (arc(10, 12, 2.8, 1.3, 90, 180), TEAL)]


def g_countdown():
    return [(ring(10, 11.5, 6.5, W), TEXT),
            (stroke([(8, 2.5), (12, 2.5)], W), TEXT),
            (stroke([(10, 2.5), (10, 5)], W), TEXT),
            (stroke([(10, 11.5), (10, 8)], W), TEAL),
            (stroke([(10, 11.5), (12.5, 13)], W), TEAL)]


def g_autostop():
    return [(arc(10, 10, 7, W, 110, 430 - 40), TEXT),
            (stroke([(10, 10), (10, 6)], W), TEXT),
            (stroke([(10, 10), (13, 10)], W), TEXT),
            (box(12.5, 12.5, 18.5, 18.5, 1.2), RED)]


def g_scissors():
    return [(ring(6, 14.5, 2.6, W), TEXT), (ring(14, 14.5, 2.6, W), TEXT),
            (stroke([(7.8, 12.4), (15, 3)], W), TEXT),
            (stroke([(12.2, 12.4), (5, 3)], W), TEXT)]


def g_convert():
    return [(stroke([(4, 7), (15.5, 7)], W), TEXT),
            (stroke([(12.5, 4), (15.8, 7), (12.5, 10)], W), TEXT),
            (stroke([(16, 13), (4.5, 13)], W), TEAL),
            (stroke([(7.5, 10), (4.2, 13), (7.5, 16)], W), TEAL)]


def g_keyboard():
    parts = [(outline(box(2, 5, 18, 15.5, 2), W), TEXT)]
    for i in range(4):
        parts.append((box(4.6 + i * 3, 7.6, 5.9 + i * 3, 8.9, 0.3), TEXT))
    for i in range(3):
        parts.append((box(6.1 + i * 3, 10.1, 7.4 + i * 3, 11.4, 0.3), TEXT))
    parts.append((stroke([(7, 13.2), (13, 13.2)], 1.3), TEXT))
    return parts


def g_cursor():
    arrow = polygon([(5, 2.5), (5, 16), (8.3, 12.8), (10.6, 17.8), (12.6, 16.9),
                     (10.4, 12), (15, 12)])
    return [(arrow, TEXT), (outline(arrow, 0.9), BASE)]


def g_skin():
    shirt = polygon([(7, 3), (10, 5), (13, 3), (18, 6), (16, 10), (14.5, 9.2), (14.5, 17),
                     (5.5, 17), (5.5, 9.2), (4, 10), (2, 6)])
    return [(outline(shirt, W * 0.85), TEXT), (circle(10, 11.5, 1.6), TEAL)]


def g_help():
    return [(ring(10, 10, 8, W), TEXT),
            (arc(10, 7.8, 2.8, W, 180, 405), TEXT),
            (stroke([(11.98, 9.78), (10, 11.2), (10, 12.3)], W), TEXT),
            (circle(10, 14.8, 1.1), TEXT)]


def g_gear(col=TEXT):
    teeth = []
    for k in range(8):
        a = math.radians(k * 45)
        teeth.append(stroke([(10 + 4 * math.cos(a), 10 + 4 * math.sin(a)),
                             (10 + 7.3 * math.cos(a), 10 + 7.3 * math.sin(a))], 2.6))
    body = union(circle(10, 10, 5.6), *teeth)
    return [(minus(body, circle(10, 10, 2.4)), col)]


def g_region():
    parts = []
    for (x, y, sx, sy) in ((3, 3, 1, 1), (17, 3, -1, 1), (3, 17, 1, -1), (17, 17, -1, -1)):
        parts.append((stroke([(x, y + 4 * sy), (x, y), (x + 4 * sx, y)], W), TEXT))
    parts.append((box(7.5, 7.5, 12.5, 12.5, 1), RED))
    return parts


def g_board():
    return [(outline(box(2.5, 3, 17.5, 13.5, 1.2), W), TEXT),
            (stroke([(6, 17.5), (8, 13.5)], W), TEXT), (stroke([(14, 17.5), (12, 13.5)], W), TEXT),
            (stroke([(5.5, 10.5), (8.5, 7.5), (11, 9.5), (14.5, 6)], 1.4), TEAL)]


def g_fullscreen():
    return [(outline(box(2, 3.5, 18, 14.5, 1.5), W), TEXT),
            (stroke([(7, 17.5), (13, 17.5)], W), TEXT), (stroke([(10, 14.5), (10, 17.5)], W), TEXT)]


def g_camera():
    return [(outline(box(2, 5.5, 13, 14.5, 2), W), TEXT),
            (polygon([(13.5, 10), (18, 6.8), (18, 13.2)]), TEXT),
            (circle(5.5, 8.5, 1.1), TEAL)]


def g_screenshot():
    return [(stroke([(5, 2), (5, 15), (18, 15)], W), TEXT),
            (stroke([(2, 5), (15, 5), (15, 18)], W), TEXT),
            (box(8, 8, 12, 12, 0.8), TEAL)]


def g_folder():
    shape = polygon([(2, 4.5), (8, 4.5), (10, 6.5), (18, 6.5), (18, 16), (2, 16)])
    return [(outline(shape, W), TEXT), (stroke([(2.5, 9), (17.5, 9)], 1.2), TEXT)]


def g_cancel():
    return [(ring(10, 10, 7.5, W), RED),
            (stroke([(7, 7), (13, 13)], W), RED), (stroke([(13, 7), (7, 13)], W), RED)]


# --- glyphs of the 16 x 16 buttons -------------------------------------------------
def g_info():
    return [(circle(10, 10, 8.5), BLUE), (box(9, 8.5, 11, 15, 0.6), WHITE),
            (circle(10, 5.6, 1.3), WHITE)]


def g_menu():
    return [(stroke([(5, 8), (10, 13), (15, 8)], 2.2), TEXT)]


def g_update():
    return [(circle(10, 10, 8.5), GREEN),
            (stroke([(10, 15), (10, 5.5)], 2.2), WHITE),
            (stroke([(6, 9.2), (10, 5.3), (14, 9.2)], 2.2), WHITE)]


def g_clock_small():
    return [(ring(10, 10, 7.5, 2.2), AMBER), (stroke([(10, 10), (10, 5.5)], 2.2), AMBER),
            (stroke([(10, 10), (13.5, 12)], 2.2), AMBER)]


def g_stop_small():
    return [(ring(10, 10, 7.5, 2.2), AMBER), (box(7, 7, 13, 13, 1), AMBER)]


def g_tray(w, h):
    cx = w / 2.0
    return [(stroke([(cx, 3.5), (cx, 10)], 1.4), TEXT),
            (stroke([(cx - 3, 7.2), (cx, 10.2), (cx + 3, 7.2)], 1.4), TEXT),
            (stroke([(cx - 5, 13), (cx + 5, 13)], 1.4), TEXT)]


# --- the recording buttons -------------------------------------------------------------
def record_button(state, stop=False):
    pic = Picture(64, 64)
    glow = {"": 0.0, "_hot": 0.10, "_down": 0.04}[state]
    if glow:
        pic.draw(circle(32, 32, 31), WHITE, glow)
    pic.draw(ring(32, 32, 27, 3.0), TEXT, 0.92)
    col = {"": RED, "_hot": RED_HOT, "_down": RED_DOWN}[state]
    if stop:
        pic.draw(box(22, 22, 42, 42, 4), col)
    else:
        pic.draw(circle(32, 32, 17), col)
        pic.draw(circle(26.5, 26, 5), WHITE, 0.18)
    return pic


def pause_button(state, resume=False):
    pic = Picture(32, 32)
    glow = {"": 0.0, "_hot": 0.12, "_down": 0.05}[state]
    if glow:
        pic.draw(circle(16, 16, 15.5), WHITE, glow)
    col = AMBER if resume else TEXT
    pic.draw(ring(16, 16, 13.5, 2.0), col, 0.92)
    if resume:
        pic.draw(polygon([(13, 10), (22, 16), (13, 22)]), col)
    else:
        pic.draw(box(11, 10, 14.2, 22, 1), col)
        pic.draw(box(17.8, 10, 21, 22, 1), col)
    return pic


def settings_pill(state):
    """The settings button: a pill with a gear; the button draws its text."""
    fill, border = {"": ((255, 255, 255, 0.06), (255, 255, 255, 0.16)),
                    "_hot": ((255, 255, 255, 0.14), (255, 255, 255, 0.26)),
                    "_down": ((255, 255, 255, 0.05), (255, 255, 255, 0.12))}[state]
    pic = Picture(66, 28)
    shape = box(0.5, 0.5, 65.5, 27.5, 6)
    pic.draw(shape, fill[:3], fill[3])
    pic.draw(outline(shape, 1.0), border[:3], border[3])
    render_glyph(pic, g_gear(), 8, 6, 16)
    return pic


ICON_BUTTONS = {
    "ic_mic": lambda: g_mic(), "ic_mic_off": lambda: g_mic(True),
    "ic_speaker": lambda: g_speaker(), "ic_speaker_off": lambda: g_speaker(True),
    "ic_caption": g_caption, "ic_watermark": g_watermark,
    "ic_countdown": g_countdown, "ic_autostop": g_autostop,
    "ic_edit": g_scissors, "ic_convert": g_convert,
    "ic_shortcut": g_keyboard, "ic_cursor": g_cursor,
    "ic_skin": g_skin, "ic_help": g_help,
    "ic_region": g_region, "ic_board": g_board, "ic_fullscreen": g_fullscreen,
    "ic_camera": g_camera, "ic_screenshot": g_screenshot,
    "ic_folder": g_folder, "ic_cancel": g_cancel,
}

# 16 x 16 pictures without states: the update notice, the timed start and
# auto-stop indicators, the help strip's mark.
INDICATORS = {"ic_update": g_update, "ic_timed_start": g_clock_small,
              "ic_auto_stop": g_stop_small, "ic_info": g_info}


def draw():
    out = {}
    for name, glyph in ICON_BUTTONS.items():
        for state, pic in icon_button(glyph()).items():
            out["skin/%s%s.png" % (name, state)] = pic
    for state in STATES:
        out["skin/btn_settings%s.png" % state] = settings_pill(state)
        out["skin/rec_start%s.png" % state] = record_button(state)
        out["skin/rec_stop%s.png" % state] = record_button(state, stop=True)
        out["skin/rec_pause%s.png" % state] = pause_button(state)
        out["skin/rec_resume%s.png" % state] = pause_button(state, resume=True)
    for state, pic in title_button(22, 17, g_tray, (255, 255, 255, 0.14),
                                   (255, 255, 255, 0.07)).items():
        out["skin/btn_tray%s.png" % state] = pic
    # The tips-and-about menu button: the arrow dimmed when idle.
    for n, alpha, bg in (("1", 0.75, None), ("2", 1.0, HOVER), ("3", 1.0, PRESS)):
        pic = Picture(16, 16)
        if bg:
            pic.draw(box(0, 0, 16, 16, 3), bg[:3], bg[3])
        render_glyph(pic, g_menu(), 0, 0, 16, alpha)
        out["skin/expand_btn_%s.png" % n] = pic
    for name, glyph in INDICATORS.items():
        pic = Picture(16, 16)
        render_glyph(pic, glyph(), 0, 0, 16)
        out["skin/%s.png" % name] = pic
    return out
