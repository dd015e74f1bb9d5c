"""Pictures of the information windows: the about window's large mark
(about_soft_wnd.xml), the guide's page buttons and its close button, which
sit on the page pictures rather than on the skin (guide_wnd.xml), and the
icons of the tips-and-about menu (tips_menu_wnd.xml), which the tips window
wears in its title too."""
from skin_images.kit import *
from skin_images.windows.program_icon import logo


def page_button(forward, hot):
    """A round button with a chevron, dark enough to read on a light page
    and light-edged enough to read on a dark one."""
    pic = Picture(32, 32)
    pic.draw(circle(16, 16, 15), (20, 24, 28), 0.72 if hot else 0.45)
    pic.draw(ring(16, 16, 15, 1.2), WHITE, 0.55 if hot else 0.35)
    if forward:
        pts = [(13, 9), (20, 16), (13, 23)]
    else:
        pts = [(19, 9), (12, 16), (19, 23)]
    pic.draw(stroke(pts, 2.6), WHITE)
    return pic


def guide_close(w=45, h=17):
    pic = Picture(w, h)
    pic.draw(box(0, 0, w, h, 0), (20, 24, 28), 0.45)
    cx, cy = w / 2.0, h / 2.0
    pic.draw(stroke([(cx - 4, cy - 4), (cx + 4, cy + 4)], 1.4), WHITE)
    pic.draw(stroke([(cx + 4, cy - 4), (cx - 4, cy + 4)], 1.4), WHITE)
    return pic


def light_bulb():
    pic = Picture(16, 16)
    pic.draw(circle(8, 6.5, 4.8), AMBER)
    pic.draw(box(5.6, 10, 10.4, 12.2, 0.6), AMBER)
    pic.draw(box(6, 12.8, 10, 14.6, 0.8), MUTED)
    pic.draw(stroke([(7, 7.5), (8, 9.5), (9, 7.5)], 0.9), WHITE, 0.9)
    return pic


def about_mark():
    """An "i" in a ring, in the program's teal."""
    pic = Picture(16, 16)
    pic.draw(circle(8, 8, 7.2), TEAL)
    pic.draw(circle(8, 4.6, 1.2), WHITE)
    pic.draw(box(7, 6.8, 9, 12.4, 0.5), WHITE)
    return pic


def draw():
    return {
        "skin/icon_big.png": logo(72),
        "skin/guide_previous.png": page_button(False, False),
        "skin/guide_previous_hot.png": page_button(False, True),
        "skin/guide_next.png": page_button(True, False),
        "skin/guide_next_hot.png": page_button(True, True),
        "skin/guide_close.png": guide_close(),
        "skin/Help_Light_Bulb_16.png": light_bulb(),
        "skin/about_soft_16.png": about_mark(),
    }
