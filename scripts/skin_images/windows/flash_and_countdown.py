"""The windows around a recording: the flash frame drawn around the recorded
region (flash_wnd.png, a nine-grid with corners 40,50,40,40 whose inside is
left out) and the clock of the countdown window (clock_countdown.png)."""
import math

from skin_images.kit import *

INK = (16, 18, 20)

# The frame image: the window stretches its middle, so only the corners
# need their full size.
FRAME_W, FRAME_H = 100, 110
# The frame is 4 pixels wide: the recorded area starts right inside it.
FRAME = 4
# Corner ticks show where the frame is pulled to resize it.
TICK = 14


def flash_frame():
    pic = Picture(FRAME_W, FRAME_H)

    def px(x, y):
        d = min(x, y, FRAME_W - 1 - x, FRAME_H - 1 - y)
        if d >= FRAME:
            return (0, 0, 0, 0)
        near_corner = ((x < TICK or x >= FRAME_W - TICK) and
                       (y < TICK or y >= FRAME_H - TICK))
        if d == 0:
            return INK + (0.85,)
        if d == FRAME - 1:
            return INK + (0.55,)
        return (WHITE if near_corner else RED) + (1.0,)
    pic.shade(px)
    return pic


def clock():
    pic = Picture(48, 48)
    c = 24.5
    pic.draw(circle(c, 27, 17), BASE, 0.9)
    pic.draw(ring(c, 27, 16, 3.2), TEXT)
    pic.draw(box(20.5, 4, 28.5, 8.5, 1.5), TEXT)
    pic.draw(stroke([(c, 8), (c, 11)], 3.0), TEXT)
    pic.draw(stroke([(36.5, 13), (39, 10.5)], 3.0), TEXT)
    for k in range(12):
        a = math.radians(k * 30)
        r0 = 11.5 if k % 3 else 10.0
        pic.draw(stroke([(c + r0 * math.cos(a), 27 + r0 * math.sin(a)),
                         (c + 13 * math.cos(a), 27 + 13 * math.sin(a))], 1.4), MUTED)
    pic.draw(stroke([(c, 27), (c, 16.5)], 2.6), RED)
    pic.draw(stroke([(c, 27), (31, 31)], 2.2), TEXT)
    pic.draw(circle(c, 27, 2.2), RED)
    return pic


def draw():
    return {"skin/flash_wnd.png": flash_frame(), "skin/clock_countdown.png": clock()}
