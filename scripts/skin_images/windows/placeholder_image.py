"""The placeholder picture (resource 146) shown where an image is expected
but none is available yet: a framed landscape, the usual sign for a
picture."""
from skin_images.kit import *

SIZE = 64


def placeholder():
    pic = Picture(SIZE, SIZE)
    frame = box(4, 8, 60, 56, 6)
    pic.draw(frame, (44, 52, 60))
    pic.draw(outline(frame, 2.0), MUTED)
    pic.draw(circle(44, 22, 5), AMBER)
    hills = minus(union(polygon([(8, 52), (24, 30), (38, 52)]),
                        polygon([(28, 52), (42, 36), (56, 52)])),
                  box(-10, 52, 74, 70))
    pic.draw(hills, TEAL)
    pic.draw(polygon([(28, 52), (42, 36), (56, 52)]), (58, 170, 156))
    return pic


def draw():
    return {"app/res/placeholder.png": placeholder()}
