#!/usr/bin/env python3
"""Draws the pictures of the program's skin package (skin/*.png) and the
program icon (app/res/orbisk.ico).

    make-skin-images.py [TREE_ROOT]

Every picture is drawn here from simple shapes (circles, rounded boxes,
strokes, polygons) with analytic anti-aliasing; nothing is taken from
anywhere else. Plain zlib, no imaging library. The results are kept in the
tree: run the script again after changing a drawing.
"""
import math
import os
import struct
import sys
import zlib

# --- palette -----------------------------------------------------------------
BASE = (30, 35, 40)          # window background
BASE_LINE = (255, 255, 255)  # faint pattern lines (drawn with low alpha)
TEXT = (232, 236, 240)
MUTED = (160, 170, 180)
RED = (232, 72, 78)
RED_HOT = (246, 98, 103)
RED_DOWN = (200, 56, 62)
AMBER = (245, 166, 36)
TEAL = (72, 206, 190)
BLUE = (88, 160, 255)
GREEN = (86, 200, 120)


def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


# --- signed distances (pixels; negative inside) -------------------------------
def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def ring(cx, cy, r, w):
    return lambda x, y: abs(math.hypot(x - cx, y - cy) - r) - w / 2.0


def box(x0, y0, x1, y1, rad=0.0):
    cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
    hx, hy = (x1 - x0) / 2.0 - rad, (y1 - y0) / 2.0 - rad

    def d(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - rad
    return d


def outline(sdf, w):
    return lambda x, y: abs(sdf(x, y)) - w / 2.0


def seg_dist(x, y, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    L = dx * dx + dy * dy
    t = 0.0 if L == 0 else clamp(((x - ax) * dx + (y - ay) * dy) / L)
    return math.hypot(x - (ax + t * dx), y - (ay + t * dy))


def stroke(points, w):
    """A polyline with round joins and caps."""
    def d(x, y):
        return min(seg_dist(x, y, *points[i], *points[i + 1])
                   for i in range(len(points) - 1)) - w / 2.0
    return d


def polygon(points):
    n = len(points)

    def d(x, y):
        dist = min(seg_dist(x, y, *points[i], *points[(i + 1) % n]) for i in range(n))
        inside = False
        j = n - 1
        for i in range(n):
            xi, yi = points[i]
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                inside = not inside
            j = i
        return -dist if inside else dist
    return d


def arc(cx, cy, r, w, a0, a1):
    """Part of a ring from angle a0 to a1 (degrees, clockwise on screen,
    0 = right), with round ends."""
    a0r, a1r = math.radians(a0), math.radians(a1)
    ends = [(cx + r * math.cos(a), cy + r * math.sin(a)) for a in (a0r, a1r)]

    def d(x, y):
        ang = math.atan2(y - cy, x - cx)
        rel = (ang - a0r) % (2 * math.pi)
        if rel <= (a1r - a0r) % (2 * math.pi) or a1 - a0 >= 360:
            return abs(math.hypot(x - cx, y - cy) - r) - w / 2.0
        return min(math.hypot(x - ex, y - ey) for ex, ey in ends) - w / 2.0
    return d


def union(*fs):
    return lambda x, y: min(f(x, y) for f in fs)


def minus(a, b):
    return lambda x, y: max(a(x, y), -b(x, y))


# --- pictures --------------------------------------------------------------------
class Picture:
    def __init__(self, w, h, fill=(0, 0, 0, 0)):
        self.w, self.h = w, h
        self.px = [[list(map(float, fill[:3])) + [fill[3] / 255.0] for _ in range(w)]
                   for _ in range(h)]

    def blend(self, x, y, rgb, a):
        if a <= 0:
            return
        p = self.px[y][x]
        out_a = a + p[3] * (1 - a)
        if out_a <= 0:
            return
        for i in range(3):
            p[i] = (rgb[i] * a + p[i] * p[3] * (1 - a)) / out_a
        p[3] = out_a

    def draw(self, sdf, rgb, alpha=1.0, dx=0.0, dy=0.0, scale=1.0):
        """Fills the shape; shapes are in a unit where `scale` pixels make one."""
        for y in range(self.h):
            for x in range(self.w):
                d = sdf((x + 0.5 - dx) / scale, (y + 0.5 - dy) / scale) * scale
                cov = clamp(0.5 - d)
                if cov > 0:
                    self.blend(x, y, rgb, cov * alpha)

    def shade(self, fn):
        """fn(x, y) -> (r, g, b, a) laid over every pixel."""
        for y in range(self.h):
            for x in range(self.w):
                r, g, b, a = fn(x, y)
                self.blend(x, y, (r, g, b), a)

    def rgba_rows(self):
        rows = []
        for row in self.px:
            line = bytearray()
            for r, g, b, a in row:
                line += bytes((int(round(clamp(r, 0, 255))), int(round(clamp(g, 0, 255))),
                               int(round(clamp(b, 0, 255))), int(round(clamp(a) * 255))))
            rows.append(bytes(line))
        return rows

    def png(self):
        raw = b"".join(b"\x00" + row for row in self.rgba_rows())

        def chunk(tag, data):
            c = struct.pack(">I", len(data)) + tag + data
            return c + struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF)
        return (b"\x89PNG\r\n\x1a\n"
                + chunk(b"IHDR", struct.pack(">IIBBBBB", self.w, self.h, 8, 6, 0, 0, 0))
                + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


# --- glyphs: functions of a 20 x 20 box returning [(sdf, colour)] ----------------
W = 1.7  # stroke width of the line icons


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


def g_info():
    return [(circle(10, 10, 8.5), BLUE), (box(9, 8.5, 11, 15, 0.6), (255, 255, 255)),
            (circle(10, 5.6, 1.3), (255, 255, 255))]


def g_menu():
    return [(stroke([(5, 8), (10, 13), (15, 8)], 2.2), TEXT)]


def g_update():
    return [(circle(10, 10, 8.5), GREEN),
            (stroke([(10, 15), (10, 5.5)], 2.2), (255, 255, 255)),
            (stroke([(6, 9.2), (10, 5.3), (14, 9.2)], 2.2), (255, 255, 255))]


def g_clock_small():
    return [(ring(10, 10, 7.5, 2.2), AMBER), (stroke([(10, 10), (10, 5.5)], 2.2), AMBER),
            (stroke([(10, 10), (13.5, 12)], 2.2), AMBER)]


def g_stop_small():
    return [(ring(10, 10, 7.5, 2.2), AMBER), (box(7, 7, 13, 13, 1), AMBER)]


def render_glyph(pic, glyph, x0, y0, size, alpha=1.0):
    scale = size / 20.0
    for sdf, col in glyph:
        pic.draw(sdf, col, alpha, dx=x0, dy=y0, scale=scale)


# --- buttons ---------------------------------------------------------------------
HOVER = (255, 255, 255, 0.13)
PRESS = (255, 255, 255, 0.07)


def icon_button(glyph, size=30, glyph_size=20):
    """Normal, hot and pushed pictures of a square icon button."""
    out = {}
    off = (size - glyph_size) / 2.0
    for state, bg in (("", None), ("_hot", HOVER), ("_down", PRESS)):
        pic = Picture(size, size)
        if bg:
            pic.draw(box(0.5, 0.5, size - 0.5, size - 0.5, 5), bg[:3], bg[3])
        render_glyph(pic, glyph, off, off + (0.6 if state == "_down" else 0), glyph_size)
        out[state] = pic
    return out


def title_button(w, h, glyph_fn, hot_bg, down_bg):
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
    pic = Picture(size, size)
    shape = box(0.5, 0.5, size - 0.5, size - 0.5, rad)
    pic.draw(shape, fill[:3], fill[3])
    pic.draw(outline(shape, 1.0), border[:3], border[3])
    return pic


def record_button(state, stop=False):
    pic = Picture(64, 64)
    glow = {"": 0.0, "_hot": 0.10, "_down": 0.04}[state]
    if glow:
        pic.draw(circle(32, 32, 31), (255, 255, 255), glow)
    pic.draw(ring(32, 32, 27, 3.0), TEXT, 0.92)
    col = {"": RED, "_hot": RED_HOT, "_down": RED_DOWN}[state]
    if stop:
        pic.draw(box(22, 22, 42, 42, 4), col)
    else:
        pic.draw(circle(32, 32, 17), col)
        pic.draw(circle(26.5, 26, 5), (255, 255, 255), 0.18)
    return pic


def pause_button(state, resume=False):
    pic = Picture(32, 32)
    glow = {"": 0.0, "_hot": 0.12, "_down": 0.05}[state]
    if glow:
        pic.draw(circle(16, 16, 15.5), (255, 255, 255), glow)
    col = AMBER if resume else TEXT
    pic.draw(ring(16, 16, 13.5, 2.0), col, 0.92)
    if resume:
        pic.draw(polygon([(13, 10), (22, 16), (13, 22)]), col)
    else:
        pic.draw(box(11, 10, 14.2, 22, 1), col)
        pic.draw(box(17.8, 10, 21, 22, 1), col)
    return pic


# --- backgrounds -------------------------------------------------------------------
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


def logo(size):
    """The program's mark: an orbit around a recording dot."""
    pic = Picture(size, size)
    s = size / 32.0
    pic.draw(box(1, 1, 31, 31, 7.5), (34, 41, 48), 1.0, scale=s)
    pic.draw(outline(box(1, 1, 31, 31, 7.5), 1.0), (70, 82, 94), 1.0, scale=s)
    pic.draw(ring(16, 16, 10, 2.6), TEAL, 1.0, scale=s)
    pic.draw(circle(16, 16, 5.5), RED, 1.0, scale=s)
    pic.draw(circle(25, 9, 2.6), TEXT, 1.0, scale=s)
    return pic


def ico(pictures):
    """A Windows icon file of 32-bit DIB images (with their AND masks)."""
    header = struct.pack("<HHH", 0, 1, len(pictures))
    entries, blobs = b"", b""
    offset = 6 + 16 * len(pictures)
    for pic in pictures:
        w, h = pic.w, pic.h
        bih = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, 0, 0, 0, 0, 0)
        rows = pic.rgba_rows()
        xor = b"".join(bytes(b for i in range(0, len(row), 4)
                             for b in (row[i + 2], row[i + 1], row[i], row[i + 3]))
                       for row in reversed(rows))
        mask_stride = ((w + 31) // 32) * 4
        mask = b""
        for row in reversed(rows):
            bits = bytearray(mask_stride)
            for x in range(w):
                if row[x * 4 + 3] == 0:
                    bits[x // 8] |= 0x80 >> (x % 8)
            mask += bytes(bits)
        blob = bih + xor + mask
        entries += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
        blobs += blob
    return header + entries + blobs


# --- the skin -------------------------------------------------------------------------
def build(root):
    skin = os.path.join(root, "skin")
    os.makedirs(skin, exist_ok=True)
    files = {}

    # Backgrounds: the layouts' own tile and the default skin.
    files["mainui_back.png"] = skin_background(50, 50, (28, 28, 30), 0.035)
    files["mainui_back7.png"] = skin_background(550, 150, BASE, 0.03)

    files["icon.png"] = logo(16)

    icons = {
        "ic_mic": g_mic(), "ic_mic_off": g_mic(True),
        "ic_speaker": g_speaker(), "ic_speaker_off": g_speaker(True),
        "ic_caption": g_caption(), "ic_watermark": g_watermark(),
        "ic_countdown": g_countdown(), "ic_autostop": g_autostop(),
        "ic_edit": g_scissors(), "ic_convert": g_convert(),
        "ic_shortcut": g_keyboard(), "ic_cursor": g_cursor(),
        "ic_skin": g_skin(), "ic_help": g_help(),
        "ic_region": g_region(), "ic_board": g_board(), "ic_fullscreen": g_fullscreen(),
        "ic_camera": g_camera(), "ic_screenshot": g_screenshot(),
        "ic_folder": g_folder(), "ic_cancel": g_cancel(),
    }
    for name, glyph in icons.items():
        for state, pic in icon_button(glyph).items():
            files[name + state + ".png"] = pic

    # The settings button: a pill with a gear; the button draws its text.
    for state, fill, border in (("", (255, 255, 255, 0.06), (255, 255, 255, 0.16)),
                                ("_hot", (255, 255, 255, 0.14), (255, 255, 255, 0.26)),
                                ("_down", (255, 255, 255, 0.05), (255, 255, 255, 0.12))):
        pic = Picture(66, 28)
        shape = box(0.5, 0.5, 65.5, 27.5, 6)
        pic.draw(shape, fill[:3], fill[3])
        pic.draw(outline(shape, 1.0), border[:3], border[3])
        render_glyph(pic, g_gear(), 8, 6, 16)
        files["btn_settings" + state + ".png"] = pic

    # Text buttons stretch a nine-grid pill (corner 8).
    files["pill.png"] = pill((255, 255, 255, 0.06), (255, 255, 255, 0.16))
    files["pill_hot.png"] = pill((255, 255, 255, 0.14), (255, 255, 255, 0.28))
    files["pill_down.png"] = pill((255, 255, 255, 0.04), (255, 255, 255, 0.12))
    files["pill_accent.png"] = pill(RED + (0.90,), RED + (1.0,))
    files["pill_accent_hot.png"] = pill(RED_HOT + (0.95,), RED_HOT + (1.0,))
    files["pill_accent_down.png"] = pill(RED_DOWN + (1.0,), RED_DOWN + (1.0,))

    for state in ("", "_hot", "_down"):
        files["rec_start" + state + ".png"] = record_button(state)
        files["rec_stop" + state + ".png"] = record_button(state, stop=True)
        files["rec_pause" + state + ".png"] = pause_button(state)
        files["rec_resume" + state + ".png"] = pause_button(state, resume=True)

    # Window buttons of the title row.
    def g_tray(w, h):
        cx = w / 2.0
        return [(stroke([(cx, 3.5), (cx, 10)], 1.4), TEXT),
                (stroke([(cx - 3, 7.2), (cx, 10.2), (cx + 3, 7.2)], 1.4), TEXT),
                (stroke([(cx - 5, 13), (cx + 5, 13)], 1.4), TEXT)]

    def g_min(w, h):
        return [(stroke([(w / 2.0 - 5, h / 2.0 + 1), (w / 2.0 + 5, h / 2.0 + 1)], 1.4), TEXT)]

    def g_close(w, h):
        cx, cy = w / 2.0, h / 2.0
        return [(stroke([(cx - 4, cy - 4), (cx + 4, cy + 4)], 1.4), TEXT),
                (stroke([(cx + 4, cy - 4), (cx - 4, cy + 4)], 1.4), TEXT)]

    hot, down = (255, 255, 255, 0.14), (255, 255, 255, 0.07)
    for name, w, fn, hbg, dbg in (("btn_tray", 22, g_tray, hot, down),
                                  ("btn_min", 28, g_min, hot, down),
                                  ("btn_close", 45, g_close, RED + (1.0,), RED_DOWN + (1.0,))):
        for state, pic in title_button(w, 17, fn, hbg, dbg).items():
            files[name + state + ".png"] = pic

    # 16 x 16 buttons: the tips-and-about menu, the update notice, the timed
    # start and auto-stop indicators, the help strip's mark.
    for n, alpha, bg in (("1", 0.75, None), ("2", 1.0, HOVER), ("3", 1.0, PRESS)):
        pic = Picture(16, 16)
        if bg:
            pic.draw(box(0, 0, 16, 16, 3), bg[:3], bg[3])
        render_glyph(pic, g_menu(), 0, 0, 16, alpha)
        files["expand_btn_%s.png" % n] = pic
    for name, glyph in (("ic_update", g_update()), ("ic_timed_start", g_clock_small()),
                        ("ic_auto_stop", g_stop_small()), ("ic_info", g_info())):
        pic = Picture(16, 16)
        render_glyph(pic, glyph, 0, 0, 16)
        files[name + ".png"] = pic

    for name, pic in sorted(files.items()):
        with open(os.path.join(skin, name), "wb") as f:
            f.write(pic.png())

    res = os.path.join(root, "app", "res")
    os.makedirs(res, exist_ok=True)
    with open(os.path.join(res, "orbisk.ico"), "wb") as f:
        f.write(ico([logo(16), logo(24), logo(32), logo(48)]))
    return len(files)


if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(here)
    print("%d pictures written" % build(root))
