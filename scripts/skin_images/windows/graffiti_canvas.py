"""Drawing on the screen: the pen cursor (resource 147) and the canvas fill
(resource 145) that the transparent drawing canvas lays under the strokes."""
import math

from skin_images.kit import *

PEN_SIZE = 32
# The nib's point, at the bottom left: the pixel the stroke starts from.
TIP = (1, 30)

INK = (16, 18, 20)


def pen():
    """A pen lying at 45 degrees, nib down at the bottom left."""
    pic = Picture(PEN_SIZE, PEN_SIZE)
    tx, ty = TIP[0] + 0.5, TIP[1] + 0.5
    ux, uy = math.sqrt(0.5), -math.sqrt(0.5)   # along the pen, towards its end
    vx, vy = math.sqrt(0.5), math.sqrt(0.5)    # across it

    def at(t, s):
        return (tx + t * ux + s * vx, ty + t * uy + s * vy)

    half = 3.5
    nib = polygon([at(0, 0), at(4, -1.6), at(4, 1.6)])
    cone = polygon([at(0, 0), at(9, -half), at(9, half)])
    body = polygon([at(9, -half), at(31, -half), at(31, half), at(9, half)])
    end = circle(*at(31, 0), half)
    band = polygon([at(26, -half), at(29, -half), at(29, half), at(26, half)])
    silhouette = union(cone, body, end)
    # The dark edge first, a little wider than the shape, so the pen stays
    # visible on white paper and on a dark desktop alike.
    pic.draw(outline(silhouette, 2.2), INK, 0.9)
    pic.draw(cone, (236, 214, 178))
    pic.draw(body, TEXT)
    pic.draw(end, TEXT)
    pic.draw(band, TEAL)
    pic.draw(nib, RED)
    return pic


def canvas_fill():
    """Almost invisible: the layered canvas catches the mouse only where its
    alpha is not zero, so the fill keeps the whole canvas clickable."""
    return Picture(100, 100, (254, 254, 254, 3))


def draw():
    return {"app/res/cursor_pen.cur": cur(pen(), *TIP),
            "app/res/canvas_fill.png": canvas_fill()}
