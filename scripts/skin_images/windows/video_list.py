"""The video list (avi_list_wnd.xml) and its menu (video_list_menu.xml):
the play and delete buttons, and the menu's picture (video_menu_bk.png), which draws the menu's
own shadow in its outer 8 pixels (corner '40,8,8,8': the left band of the
items' icons stays a fixed 40 pixels)."""
from skin_images.kit import *

W = ICON_LINE


def g_play():
    return [(ring(10, 10, 7.5, W), TEXT),
            (polygon([(8, 6.3), (14.2, 10), (8, 13.7)]), TEAL)]


def g_delete():
    return [(stroke([(4, 5.5), (16, 5.5)], W), TEXT),
            (stroke([(8, 5.5), (8.5, 3), (11.5, 3), (12, 5.5)], 1.4), TEXT),
            (outline(box(5.5, 5.5, 14.5, 17, 1.5), W), TEXT),
            (stroke([(8.5, 8.5), (8.5, 14)], 1.3), RED),
            (stroke([(11.5, 8.5), (11.5, 14)], 1.3), RED)]


def menu_background(w=64, h=48, edge=8, band=40):
    """A dark panel with a faint band for the items' icons, inside a soft
    shadow that fades out over `edge` pixels."""
    pic = Picture(w, h)
    panel = box(edge, edge, w - edge, h - edge, 2)

    def shadow(x, y):
        d = panel(x + 0.5, y + 0.5 - 1.0)  # a little lower, as light from above
        if d <= 0:
            return (0, 0, 0, 0.0)
        t = clamp(1.0 - d / edge)
        return (0, 0, 0, 0.42 * t * t)
    pic.shade(shadow)
    pic.draw(panel, BASE)
    pic.draw(box(edge, edge, band, h - edge, 0), WHITE, 0.05)
    pic.draw(box(band - 1, edge + 3, band, h - edge - 3, 0), WHITE, 0.10)
    pic.draw(outline(panel, 1.0), WHITE, 0.14)
    return pic


def draw():
    out = {"skin/video_menu_bk.png": menu_background()}
    for name, glyph in (("ic_play", g_play()), ("ic_delete", g_delete())):
        for state, pic in icon_button(glyph, size=24, glyph_size=18).items():
            out["skin/%s%s.png" % (name, state)] = pic
    return out
