"""The popup menus' panel (menu_bk.png): a white panel with a thin grey
border in a soft shadow. Layouts stretch it as a nine-grid with corner
40,8,8,8, so the panel's edges and the shadow stay within those margins."""
from skin_images.kit import *

W, H = 64, 48
PANEL = (255, 255, 255)
BORDER = (196, 202, 210)


def panel():
    pic = Picture(W, H)
    # The shadow: a blurred box a little lower than the panel.
    for i in range(6, 0, -1):
        pic.draw(box(3.5 - i * 0.5, 3.5 - i * 0.4, W - 3.5 + i * 0.5, H - 2.5 + i * 0.5, 5 + i),
                 (0, 0, 0), 0.035)
    shape = box(3.5, 2.5, W - 3.5, H - 4.5, 4)
    pic.draw(shape, PANEL)
    pic.draw(outline(shape, 1.0), BORDER)
    return pic


def draw():
    return {"skin/menu_bk.png": panel()}
