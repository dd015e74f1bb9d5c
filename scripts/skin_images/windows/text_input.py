"""The text box of the drawing surfaces: the strip at its top that the user
drags it by (input_move_bk.png), tiled across the box: a dark band with a
row of light grip dots."""
from skin_images.kit import *

TILE_W, TILE_H = 6, 9
BAND = (58, 64, 72)
DOT = (196, 204, 214)


def move_bar():
    pic = Picture(TILE_W, TILE_H, BAND + (255,))
    pic.draw(circle(3.0, 4.5, 1.2), DOT)
    return pic


def draw():
    return {"skin/input_move_bk.png": move_bar()}
