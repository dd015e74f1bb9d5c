"""The program's mark, an orbit around a recording dot: the title rows'
icon.png and the icon of the executable, its windows and the tray."""
from skin_images.kit import *


def logo(size):
    pic = Picture(size, size)
    s = size / 32.0
    pic.draw(box(1, 1, 31, 31, 7.5), (34, 41, 48), 1.0, scale=s)
    pic.draw(outline(box(1, 1, 31, 31, 7.5), 1.0), (70, 82, 94), 1.0, scale=s)
    pic.draw(ring(16, 16, 10, 2.6), TEAL, 1.0, scale=s)
    pic.draw(circle(16, 16, 5.5), RED, 1.0, scale=s)
    pic.draw(circle(25, 9, 2.6), TEXT, 1.0, scale=s)
    return pic


def draw():
    return {
        "skin/icon.png": logo(16),
        # Drawn at each size rather than scaled, so the small ones stay sharp.
        "app/res/orbisk.ico": ico([logo(16), logo(24), logo(32), logo(48)]),
    }
