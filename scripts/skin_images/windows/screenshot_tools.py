"""The screenshot's tool bar (shot_screen_tool_wnd.xml): a 16 x 16 button
per drawing tool, each with a normal, hot and pushed picture, and the two
text buttons that leave and finish the screenshot."""
from skin_images.kit import *

SIZE = 16
W = ICON_LINE * 1.15


def g_none():
    """No tool: an arrow pointer."""
    return [(polygon([(5, 2.5), (5, 16.5), (8.6, 13), (11.2, 18), (13.4, 17), (10.8, 12.2),
                      (15.5, 12)]), TEXT)]


def g_pen():
    body = polygon([(6, 17.5), (2.5, 14), (13.5, 3), (17, 6.5)])
    nib = polygon([(2.5, 14), (6, 17.5), (1.5, 18.5)])
    return [(outline(body, W * 0.8), TEXT), (nib, RED)]


def g_highlighter():
    """A broad marker over a yellow band."""
    band = box(2, 14.5, 18, 18.5, 1)
    body = polygon([(5, 12.5), (10.5, 3), (15.5, 6), (10, 15.5)])
    return [(band, AMBER), (outline(body, W * 0.8), TEXT)]


def g_rectangle():
    return [(outline(box(3, 5, 17, 15, 1), W), TEXT)]


def g_text():
    """A serif T."""
    return [(stroke([(4, 4), (16, 4)], W * 1.2), TEXT), (stroke([(10, 4), (10, 16.5)], W * 1.2), TEXT),
            (stroke([(7.5, 16.5), (12.5, 16.5)], W), TEXT)]


def g_eraser():
    body = polygon([(3, 12.5), (11, 4.5), (17, 10.5), (9, 18.5)])
    tip = polygon([(3, 12.5), (6.5, 9), (12.5, 15), (9, 18.5)])
    return [(outline(body, W * 0.8), TEXT), (tip, RED)]


def g_line_width():
    """Three lines, thin to thick."""
    return [(stroke([(3, 5), (17, 5)], 1.0), TEXT), (stroke([(3, 10), (17, 10)], 2.0), TEXT),
            (stroke([(3, 15.5), (17, 15.5)], 3.2), TEXT)]


def g_arrow():
    return [(stroke([(3.5, 16.5), (14, 6)], W), TEXT),
            (polygon([(16.5, 3.5), (16.5, 11), (9, 3.5)]), RED)]


def g_number():
    """A badge holding 1."""
    return [(circle(10, 10, 8), RED), (stroke([(8.2, 7.2), (10.4, 5.4), (10.4, 14.6)], 1.9), WHITE)]


def g_letter():
    """A badge holding A."""
    return [(circle(10, 10, 8), BLUE), (stroke([(6.6, 14.5), (10, 5.2), (13.4, 14.5)], 1.8), WHITE),
            (stroke([(7.9, 11.3), (12.1, 11.3)], 1.6), WHITE)]


def g_undo():
    return [(arc(10.5, 11, 6, W, 200, 450), TEXT), (polygon([(1.5, 8.5), (8, 6), (6, 12.5)]), TEXT)]


def g_redo():
    return [(arc(9.5, 11, 6, W, 90, 340), TEXT), (polygon([(18.5, 8.5), (12, 6), (14, 12.5)]), TEXT)]


def g_clear():
    """A bin."""
    return [(outline(box(5, 6.5, 15, 18, 1.2), W), TEXT), (stroke([(3, 4.5), (17, 4.5)], W), TEXT),
            (stroke([(8, 2.5), (12, 2.5)], W), TEXT), (stroke([(8.3, 9), (8.3, 15.5)], 1.2), MUTED),
            (stroke([(11.7, 9), (11.7, 15.5)], 1.2), MUTED)]


BUTTONS = {
    "shot_none": g_none,
    "shot_pen": g_pen,
    "shot_highlighter": g_highlighter,
    "shot_rectangle": g_rectangle,
    "shot_text": g_text,
    "shot_eraser": g_eraser,
    "shot_line_width": g_line_width,
    "shot_arrow": g_arrow,
    "shot_number": g_number,
    "shot_letter": g_letter,
    "shot_undo": g_undo,
    "shot_redo": g_redo,
    "shot_clear": g_clear,
}


def draw():
    out = {}
    for name, glyph in BUTTONS.items():
        for state in STATES:
            out["skin/%s%s.png" % (name, state)] = tool_button(glyph(), state, SIZE)
    # The text buttons: quiet for leaving, teal for finishing.
    for state, (quiet, done) in {"": ((58, 66, 74, 1.0), (44, 160, 148, 1.0)),
                                 "_hot": ((74, 84, 94, 1.0), (62, 186, 172, 1.0)),
                                 "_down": ((48, 54, 61, 1.0), (36, 136, 126, 1.0))}.items():
        out["skin/shot_text_btn%s.png" % state] = pill(quiet, (96, 106, 116, 1.0))
        out["skin/shot_done_btn%s.png" % state] = pill(done, (90, 214, 198, 1.0))
    return out
