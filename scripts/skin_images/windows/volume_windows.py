"""The microphone and speaker windows (micphone_volume_wnd.xml,
speaker_volume_wnd.xml): the volume slider's track, its filled part and its
thumb. Track and fill stretch as nine-grids (corner '3,3,3,3')."""
from skin_images.kit import *


def bar(rgb, alpha, w=24, h=14, thickness=6):
    pic = Picture(w, h)
    top = (h - thickness) / 2.0
    pic.draw(box(0.5, top, w - 0.5, top + thickness, thickness / 2.0), rgb, alpha)
    return pic


def thumb(hot, w=12, h=14):
    pic = Picture(w, h)
    shape = box(1, 1, w - 1, h - 1, 3)
    pic.draw(shape, WHITE if hot else TEXT)
    pic.draw(outline(shape, 1.0), TEAL, 0.9 if hot else 0.5)
    return pic


def draw():
    return {
        "skin/volume_track.png": bar(WHITE, 0.16),
        "skin/volume_fill.png": bar(TEAL, 1.0),
        "skin/volume_thumb.png": thumb(False),
        "skin/volume_thumb_hot.png": thumb(True),
    }
