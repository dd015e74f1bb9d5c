"""The tool window of drawing on the screen (realtime_graffiti_tool_wnd.xml):
sixteen small square buttons in two rows, each a line glyph in the 20 x 20
design box, shrunk to 16 x 16, with its hot and pushed states."""
from skin_images.kit import *

L = ICON_LINE


def g_none():
    # An arrow pointer: the mouse does not draw.
    return [(polygon([(5, 3), (15, 11), (10.5, 11.5), (13, 17), (11, 18), (8.5, 12.5), (5, 15)]),
             TEXT)]


def g_pen():
    return [(stroke([(4, 16), (15, 5)], 3.0), TEXT), (polygon([(3, 17), (4, 14), (6, 16)]), AMBER)]


def g_highlighter():
    return [(stroke([(5, 15), (14, 6)], 5.0), AMBER), (stroke([(3, 18), (17, 18)], L), TEXT)]


def g_rectangle():
    return [(outline(box(3.5, 5.5, 16.5, 14.5), L / 2), TEXT)]


def g_eraser():
    return [(polygon([(3, 13), (10, 6), (16, 12), (11, 17), (6, 17)]), TEXT),
            (polygon([(3, 13), (6.5, 9.5), (12.5, 15.5), (11, 17), (6, 17)]), RED)]


def g_text():
    return [(stroke([(4, 4), (16, 4)], 2.2), TEXT), (stroke([(10, 4), (10, 17)], 2.2), TEXT)]


def g_line_width():
    return [(stroke([(3, 5), (17, 5)], 1.0), TEXT), (stroke([(3, 10), (17, 10)], 2.0), TEXT),
            (stroke([(3, 15.5), (17, 15.5)], 3.2), TEXT)]


def g_arrow():
    return [(stroke([(4, 16), (14, 6)], L), TEXT), (polygon([(16, 4), (8.5, 6), (14, 11.5)]), TEXT)]


def g_number():
    return [(ring(10, 10, 7, L), TEXT), (stroke([(8.5, 7), (10.5, 5.8), (10.5, 14)], L), TEXT)]


def g_letter():
    return [(ring(10, 10, 7, L), TEXT),
            (stroke([(7, 14), (10, 5.8), (13, 14)], L), TEXT), (stroke([(8, 11.5), (12, 11.5)], L), TEXT)]


def g_undo():
    return [(arc(11, 11, 5.5, L, 180, 450), TEXT), (polygon([(2.5, 11), (8.5, 11), (5.5, 6.5)]), TEXT)]


def g_redo():
    return [(arc(9, 11, 5.5, L, 90, 360), TEXT), (polygon([(17.5, 11), (11.5, 11), (14.5, 6.5)]), TEXT)]


def g_clear():
    return [(outline(box(5.5, 6.5, 14.5, 17.5, 1.5), L / 2), TEXT), (stroke([(3, 5), (17, 5)], L), TEXT),
            (stroke([(8.5, 3), (11.5, 3)], L), TEXT)]


def g_complete():
    return [(stroke([(4, 10.5), (8.5, 15), (16, 5.5)], 2.2), GREEN)]


def g_exit():
    return [(stroke([(5, 5), (15, 15)], 2.2), RED), (stroke([(15, 5), (5, 15)], 2.2), RED)]


def g_minimise():
    return [(stroke([(5, 13), (15, 13)], L), TEXT)]


def g_close():
    return [(stroke([(6, 6), (14, 14)], L), TEXT), (stroke([(14, 6), (6, 14)], L), TEXT)]


BUTTONS = {
    "graffiti_none": g_none,
    "graffiti_pen": g_pen,
    "graffiti_highlighter": g_highlighter,
    "graffiti_rectangle": g_rectangle,
    "graffiti_eraser": g_eraser,
    "graffiti_text": g_text,
    "graffiti_line_width": g_line_width,
    "graffiti_arrow": g_arrow,
    "graffiti_number": g_number,
    "graffiti_letter": g_letter,
    "graffiti_undo": g_undo,
    "graffiti_redo": g_redo,
    "graffiti_clear": g_clear,
    "graffiti_complete": g_complete,
    "graffiti_exit": g_exit,
    "graffiti_min": g_minimise,
    "graffiti_close": g_close,
}


def draw():
    out = {}
    for name, glyph in BUTTONS.items():
        for state, pic in icon_button(glyph(), size=16, glyph_size=15).items():
            out["skin/%s%s.png" % (name, state)] = pic
    return out
