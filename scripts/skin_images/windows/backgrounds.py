"""The skin backgrounds every window lays under its controls: the layouts'
own tile and the built-in skins the user chooses from."""
import math

from skin_images.kit import *

# The built-in skins are the main window's size; every other window tiles
# them, so each pattern's period divides both sides (550 x 150).
SKIN_W, SKIN_H = 550, 150


def dots(base, dot_rgb, alpha, period=25, radius=2.2):
    pic = Picture(SKIN_W, SKIN_H, base + (255,))

    def d(x, y):
        cx = (x % period) - period / 2.0
        cy = (y % period) - period / 2.0
        return dot_rgb + (alpha * clamp(radius - math.hypot(cx, cy)),)
    pic.shade(d)
    return pic


def grid(base, line_rgb, alpha, period=25):
    pic = Picture(SKIN_W, SKIN_H, base + (255,))

    def g(x, y):
        on = (x % period == 0) or (y % period == 0)
        return line_rgb + (alpha if on else 0.0,)
    pic.shade(g)
    return pic


def waves(base, line_rgb, alpha, period=50):
    """Soft horizontal bands whose height follows a sine across the width;
    one period of the sine spans the whole picture so it tiles."""
    pic = Picture(SKIN_W, SKIN_H, base + (255,))

    def w(x, y):
        offset = 8.0 * math.sin(2 * math.pi * x / SKIN_W)
        t = ((y + offset) % period) / period
        return line_rgb + (alpha * (0.5 + 0.5 * math.cos(2 * math.pi * t)),)
    pic.shade(w)
    return pic


def checks(base, other_rgb, alpha, period=50):
    pic = Picture(SKIN_W, SKIN_H, base + (255,))

    def c(x, y):
        on = ((x // period) + (y // period)) % 2 == 0
        return other_rgb + (alpha if on else 0.0,)
    pic.shade(c)
    return pic


def draw():
    pictures = {
        "skin/mainui_back.png": skin_background(50, 50, (28, 28, 30), 0.035),
        # The default skin, which the configuration names when it has none.
        "skin/mainui_back7.png": skin_background(550, 150, BASE, 0.03),
    }
    # The chooser's built-in skins ("mainui_back1" is the layouts' own
    # colours and has no picture).
    built_in = {
        2: skin_background(SKIN_W, SKIN_H, (24, 44, 70), 0.05),
        3: dots((40, 40, 46), (120, 200, 255), 0.35),
        4: skin_background(SKIN_W, SKIN_H, (58, 28, 40), 0.05),
        5: grid((20, 52, 46), (120, 230, 200), 0.16),
        6: waves((36, 30, 60), (170, 140, 255), 0.16),
        8: skin_background(SKIN_W, SKIN_H, (70, 46, 20), 0.05, period=25),
        9: dots((18, 24, 32), (255, 255, 255), 0.22, period=10, radius=1.2),
        10: checks((32, 36, 42), (255, 255, 255), 0.04),
        11: waves((16, 48, 64), (90, 210, 230), 0.14),
        12: grid((46, 24, 24), (255, 140, 120), 0.14, period=50),
        13: skin_background(SKIN_W, SKIN_H, (26, 58, 34), 0.05),
        14: dots((60, 44, 66), (255, 190, 240), 0.30, period=50, radius=4.0),
        15: checks((14, 30, 54), (120, 170, 255), 0.08, period=25),
        16: waves((52, 52, 52), (255, 255, 255), 0.08, period=25),
        17: grid((30, 30, 30), (245, 166, 36), 0.18, period=10),
        18: skin_background(SKIN_W, SKIN_H, (8, 8, 10), 0.06, period=10),
    }
    for n, pic in built_in.items():
        pictures["skin/mainui_back%d.png" % n] = pic
    return pictures
