"""The nine pages of the feature guide (guide_wnd.xml): 680 x 370 pictures
under the window's two captions, each a small drawing of the part of the
program the page presents. The captions are drawn by the window in black
on the light pages and in white on the dark ones, so each page keeps the
places of its captions calm in the matching tone."""
import math

from skin_images.kit import *
from skin_images.windows import _jpeg
from skin_images.windows.program_icon import logo

W, H = 680, 370
DARK_TEXT = (40, 46, 54)


def page(top, bottom):
    """A page filled with a vertical blend from the top colour to the
    bottom one."""
    pic = Picture(W, H, top + (255,))
    pic.shade(lambda x, y: bottom + (y / (H - 1.0),))
    return pic


def paint(pic, sdf, rgb, alpha=1.0, area=None):
    """Picture.draw limited to the pixels of area (x0, y0, x1, y1): the
    pages are large and their shapes small."""
    x0, y0, x1, y1 = area if area else (0, 0, pic.w, pic.h)
    for y in range(max(0, int(y0)), min(pic.h, int(math.ceil(y1)))):
        for x in range(max(0, int(x0)), min(pic.w, int(math.ceil(x1)))):
            cov = clamp(0.5 - sdf(x + 0.5, y + 0.5))
            if cov > 0:
                pic.blend(x, y, rgb, cov * alpha)


def rect(pic, x0, y0, x1, y1, rgb, alpha=1.0, rad=0.0):
    paint(pic, box(x0, y0, x1, y1, rad), rgb, alpha, (x0 - 1, y0 - 1, x1 + 1, y1 + 1))


def frame(pic, x0, y0, x1, y1, rgb, width=1.0, alpha=1.0, rad=0.0):
    paint(pic, outline(box(x0, y0, x1, y1, rad), width), rgb, alpha,
          (x0 - width, y0 - width, x1 + width, y1 + width))


def dot(pic, cx, cy, r, rgb, alpha=1.0):
    paint(pic, circle(cx, cy, r), rgb, alpha, (cx - r - 1, cy - r - 1, cx + r + 1, cy + r + 1))


def line(pic, points, width, rgb, alpha=1.0):
    xs, ys = [p[0] for p in points], [p[1] for p in points]
    pad = width + 1
    paint(pic, stroke(points, width), rgb, alpha,
          (min(xs) - pad, min(ys) - pad, max(xs) + pad, max(ys) + pad))


def shadow(pic, x0, y0, x1, y1, rad=8.0, depth=10):
    """A soft shadow under a window drawn at (x0, y0, x1, y1)."""
    for i in range(depth, 0, -2):
        rect(pic, x0 - i / 2.0, y0 + i / 2.0, x1 + i / 2.0, y1 + i, (0, 0, 0), 0.035, rad + i)


def stamp(pic, small, x0, y0):
    """Lays a smaller picture over the page at (x0, y0)."""
    for y in range(small.h):
        for x in range(small.w):
            r, g, b, a = small.px[y][x]
            if a > 0:
                pic.blend(x0 + x, y0 + y, (r, g, b), a)


def main_window(pic, x, y, s=0.6):
    """The main window (550 x 150) at scale s: title row, time, the mode
    pills, the tool buttons and the big record button."""
    w, h = 550 * s, 150 * s
    shadow(pic, x, y, x + w, y + h)
    rect(pic, x, y, x + w, y + h, BASE, 1.0, 6)
    rect(pic, x, y, x + w, y + 24 * s, (255, 255, 255), 0.06, 6)
    stamp(pic, logo(int(16 * s) + 2), int(x + 4 * s), int(y + 3 * s))
    for i in range(3):
        rect(pic, x + w - (70 - 22 * i) * s, y + 8 * s, x + w - (58 - 22 * i) * s, y + 10 * s,
             TEXT, 0.7)
    for i, pw in enumerate((118, 64, 64)):
        px = x + (138 + (0, 124, 194)[i]) * s
        rect(pic, px, y + 32 * s, px + pw * s, y + 60 * s, (255, 255, 255), 0.10, 5 * s)
    for i in range(4):
        rect(pic, x + (138 + 34 * i) * s, y + 68 * s, x + (164 + 34 * i) * s, y + 94 * s,
             (255, 255, 255), 0.08, 4 * s)
    rect(pic, x + 14 * s, y + 32 * s, x + 108 * s, y + 50 * s, TEXT, 0.12, 3 * s)
    dot(pic, x + 462 * s, y + 64 * s, 30 * s, RED)
    dot(pic, x + 462 * s, y + 64 * s, 11 * s, WHITE, 0.95)
    rect(pic, x + 1, y + h - 28 * s, x + w - 1, y + h - 1, (255, 255, 255), 0.05, 0)
    for i in range(9):
        dot(pic, x + (24 + 32 * i) * s, y + h - 14 * s, 6 * s, TEXT, 0.45)


def float_bar(pic, x, y, s=2.0):
    """The floating recording bar (180 x 35) at scale s."""
    w, h = 180 * s, 35 * s
    shadow(pic, x, y, x + w, y + h, 4 * s)
    rect(pic, x, y, x + w, y + h, BASE, 1.0, 4 * s)
    rect(pic, x + 6 * s, y + 13 * s, x + 60 * s, y + 22 * s, TEAL, 0.85, 2 * s)
    for i, cx in enumerate((74, 95, 115)):
        dot(pic, x + cx * s, y + 18 * s, 6 * s, TEXT, 0.55)
    dot(pic, x + 134 * s, y + 18 * s, 7 * s, RED)
    rect(pic, x + 147 * s, y + 12 * s, x + 150 * s, y + 24 * s, TEXT)
    rect(pic, x + 153 * s, y + 12 * s, x + 156 * s, y + 24 * s, TEXT)
    for i in range(3):
        dot(pic, x + 168 * s, y + (13 + 5 * i) * s, 1.3 * s, TEXT)


def film(pic, x0, y0, x1, y1, top, bottom):
    """A video picture: a landscape of two hills under a sky."""
    rect(pic, x0, y0, x1, y1, top)
    w, h = x1 - x0, y1 - y0
    paint(pic, lambda px, py: (py - (y0 + h * 0.62 + 18 * math.sin((px - x0) / w * 5.0))),
          bottom, 1.0, (x0, y0, x1, y1))
    paint(pic, lambda px, py: (py - (y0 + h * 0.75 + 10 * math.sin((px - x0) / w * 9.0 + 1))),
          tuple(int(c * 0.7) for c in bottom), 1.0, (x0, y0, x1, y1))
    dot(pic, x0 + w * 0.78, y0 + h * 0.28, h * 0.11, AMBER, 0.95)


def page_mainframe1():
    pic = page((246, 249, 252), (214, 226, 238))
    for i in range(6):
        dot(pic, 60 + 115 * i, 150 + 60 * math.sin(i), 90, TEAL, 0.03)
    main_window(pic, 175, 140, 0.6)
    return pic


def page_mainframe2():
    pic = page((22, 60, 66), (12, 22, 30))
    for i in range(12):
        line(pic, [(0, 140 + 22 * i), (W, 110 + 22 * i)], 1.0, TEAL, 0.06)
    main_window(pic, 120, 150, 0.80)
    return pic


def page_float_wnd():
    pic = page((250, 247, 240), (232, 222, 206))
    float_bar(pic, 250, 150, 2.0)
    # The detail popup beside the bar, behind it.
    rect(pic, 70, 195, 275, 290, (48, 48, 48), 1.0, 4)
    for i in range(5):
        rect(pic, 84, 207 + 16 * i, 84 + (150, 120, 90, 160, 130)[i], 215 + 16 * i, TEXT, 0.75)
    float_bar(pic, 250, 150, 2.0)
    return pic


def page_video_editor():
    pic = page((30, 36, 46), (10, 12, 18))
    x0, y0, x1, y1 = 130, 108, 560, 244
    shadow(pic, x0, y0, x1, y1)
    rect(pic, x0, y0, x1, y1, BASE, 1.0, 6)
    film(pic, x0 + 10, y0 + 10, x1 - 10, y1 - 44, (120, 170, 220), (70, 140, 90))
    rect(pic, x0 + 10, y1 - 30, x1 - 10, y1 - 18, (255, 255, 255), 0.12, 3)
    rect(pic, x0 + 130, y1 - 30, x0 + 270, y1 - 18, TEAL, 0.9, 3)
    for bx in (x0 + 130, x0 + 270):
        rect(pic, bx - 2, y1 - 36, bx + 2, y1 - 12, WHITE)
    return pic


def page_wnd_model():
    pic = page((26, 32, 52), (12, 14, 26))
    # A desktop with one window picked out by the selection frame.
    rect(pic, 40, 150, 300, 330, (255, 255, 255), 0.05, 6)
    rect(pic, 70, 176, 270, 300, (236, 240, 244), 1.0, 4)
    rect(pic, 70, 176, 270, 192, BLUE, 1.0, 4)
    for i in range(5):
        rect(pic, 84, 204 + 16 * i, 84 + (150, 110, 170, 90, 130)[i], 212 + 16 * i, DARK_TEXT, 0.6)
    frame(pic, 64, 170, 276, 306, RED, 2.0)
    for cx, cy in ((64, 170), (276, 170), (64, 306), (276, 306), (170, 170), (170, 306)):
        rect(pic, cx - 4, cy - 4, cx + 4, cy + 4, RED)
    # A slide being written on.
    rect(pic, 380, 150, 600, 200, (255, 255, 255), 0.06, 6)
    line(pic, [(396, 186), (430, 166), (452, 184), (488, 160), (520, 180)], 3.0, AMBER)
    return pic


def page_custom_skin():
    pic = page((40, 30, 58), (16, 12, 26))
    swatches = [((30, 35, 40), TEAL), ((64, 28, 36), RED), ((24, 48, 72), BLUE),
                ((36, 56, 40), GREEN), ((72, 56, 30), AMBER)]
    for i, (base, accent) in enumerate(swatches):
        x0 = 80 + 108 * i
        shadow(pic, x0, 120, x0 + 92, 250, 6, 8)
        rect(pic, x0, 120, x0 + 92, 250, base, 1.0, 6)
        for k in range(10):
            line(pic, [(x0 + 8 * k - 40, 250), (x0 + 8 * k + 60, 120)], 1.0, accent, 0.12)
        rect(pic, x0 + 10, 132, x0 + 82, 142, (255, 255, 255), 0.25, 3)
        dot(pic, x0 + 46, 205, 20, accent)
    frame(pic, 184, 116, 280, 254, WHITE, 2.0, 1.0, 8)
    return pic


def page_convert_format():
    pic = page((16, 44, 52), (8, 18, 24))

    def document(x0, y0, tint):
        paint(pic, polygon([(x0, y0), (x0 + 70, y0), (x0 + 96, y0 + 26), (x0 + 96, y0 + 128),
                            (x0, y0 + 128)]), (236, 240, 244), 1.0,
              (x0 - 1, y0 - 1, x0 + 98, y0 + 130))
        paint(pic, polygon([(x0 + 70, y0), (x0 + 96, y0 + 26), (x0 + 70, y0 + 26)]),
              (190, 200, 210), 1.0, (x0 + 69, y0 - 1, x0 + 98, y0 + 28))
        rect(pic, x0 + 14, y0 + 80, x0 + 82, y0 + 108, tint, 1.0, 4)
        paint(pic, polygon([(x0 + 40, y0 + 38), (x0 + 62, y0 + 54), (x0 + 40, y0 + 70)]), tint,
              1.0, (x0 + 38, y0 + 36, x0 + 64, y0 + 72))

    document(130, 110, RED)
    document(450, 110, TEAL)
    line(pic, [(260, 174), (410, 174)], 8.0, WHITE, 0.9)
    paint(pic, polygon([(400, 152), (432, 174), (400, 196)]), WHITE, 0.9, (398, 150, 434, 198))
    for i in range(3):
        rect(pic, 280 + 40 * i, 214, 310 + 40 * i, 230, (255, 255, 255), 0.15, 4)
    return pic


def page_realtime_graffiti():
    pic = page((28, 40, 36), (10, 16, 14))
    x0, y0, x1, y1 = 110, 98, 570, 296
    shadow(pic, x0, y0, x1, y1)
    rect(pic, x0, y0, x1, y1, (244, 246, 248), 1.0, 6)
    for i in range(6):
        rect(pic, x0 + 24, y0 + 30 + 22 * i, x0 + 24 + (240, 200, 260, 150, 220, 180)[i],
             y0 + 38 + 22 * i, DARK_TEXT, 0.35)
    pts = [(x0 + 300 + 60 * math.cos(t / 10.0) * (1 - t / 80.0),
            y0 + 100 + 50 * math.sin(t / 10.0) * (1 - t / 80.0)) for t in range(0, 63, 3)]
    line(pic, pts, 4.0, RED)
    line(pic, [(x0 + 30, y0 + 170), (x0 + 120, y0 + 160), (x0 + 220, y0 + 174)], 4.0, BLUE)
    # The pen.
    paint(pic, stroke([(x1 - 40, y0 + 40), (x1 - 110, y0 + 110)], 14.0), AMBER, 1.0,
          (x1 - 125, y0 + 25, x1 - 25, y0 + 125))
    paint(pic, polygon([(x1 - 116, y0 + 104), (x1 - 104, y0 + 116), (x1 - 124, y0 + 124)]),
          DARK_TEXT, 1.0, (x1 - 126, y0 + 102, x1 - 102, y0 + 126))
    return pic


def page_game_model():
    pic = page((70, 16, 20), (14, 6, 10))
    for i in range(16):
        y = 100 + 12 * i
        length = 120 + (i * 53) % 200
        line(pic, [(40 + (i * 37) % 120, y), (40 + (i * 37) % 120 + length, y)], 2.0,
             AMBER if i % 3 == 0 else WHITE, 0.25)
    # A gamepad.
    cx, cy = 450, 196
    pad = union(box(cx - 90, cy - 38, cx + 90, cy + 38, 30), circle(cx - 70, cy + 30, 34),
                circle(cx + 70, cy + 30, 34))
    paint(pic, pad, (236, 240, 244), 1.0, (cx - 106, cy - 40, cx + 106, cy + 66))
    rect(pic, cx - 78, cy - 6, cx - 42, cy + 6, DARK_TEXT, 1.0, 2)
    rect(pic, cx - 66, cy - 18, cx - 54, cy + 18, DARK_TEXT, 1.0, 2)
    for dx, dy, col in ((58, -10, RED), (74, 6, GREEN), (42, 6, BLUE), (58, 22, AMBER)):
        dot(pic, cx + dx, cy + dy, 7, col)
    return pic


PAGES = {
    "guide_mainframe1.jpg": page_mainframe1,
    "guide_mainframe2.jpg": page_mainframe2,
    "guide_float_wnd.jpg": page_float_wnd,
    "guide_video_editor.jpg": page_video_editor,
    "guide_wnd_model.jpg": page_wnd_model,
    "guide_custom_skin.jpg": page_custom_skin,
    "guide_convert_format.jpg": page_convert_format,
    "guide_realtime_graffiti.jpg": page_realtime_graffiti,
    "guide_game_model.jpg": page_game_model,
}


def draw():
    return {"skin/" + name: _jpeg.encode(fn()) for name, fn in PAGES.items()}
