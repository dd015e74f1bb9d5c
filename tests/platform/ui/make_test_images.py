#!/usr/bin/env python3
"""Writes the pictures of the UI library's test skin (skin/*.png).

Run it after changing a picture here; the PNGs are kept in the tree. Plain
zlib, no imaging library needed. Colours are exact, so tests can check
decoded pixels.
"""
import os
import struct
import zlib

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "skin")


def png(name, width, height, pixel):
    """pixel(x, y) -> (r, g, b, a)"""
    raw = b""
    for y in range(height):
        raw += b"\x00" + b"".join(bytes(pixel(x, y)) for x in range(width))

    def chunk(tag, data):
        c = struct.pack(">I", len(data)) + tag + data
        return c + struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF)

    data = b"\x89PNG\r\n\x1a\n"
    data += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
    data += chunk(b"IDAT", zlib.compress(raw, 9))
    data += chunk(b"IEND", b"")
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)


def button(fill, edge):
    def pixel(x, y):
        w, h = 80, 28
        if x in (0, w - 1) or y in (0, h - 1):
            return edge + (255,)
        shade = 18 if y < h // 2 else 0
        return tuple(min(255, c + shade) for c in fill) + (255,)
    return pixel


def main():
    os.makedirs(HERE, exist_ok=True)
    # Exact pixels for the decoder test: opaque red, half-transparent green,
    # transparent blue, opaque white.
    quad = {(0, 0): (255, 0, 0, 255), (1, 0): (0, 255, 0, 128),
            (0, 1): (0, 0, 255, 0), (1, 1): (255, 255, 255, 255)}
    png("quad.png", 2, 2, lambda x, y: quad[(x, y)])
    png("btn_normal.png", 80, 28, button((52, 120, 200), (30, 70, 130)))
    png("btn_hot.png", 80, 28, button((82, 150, 230), (30, 70, 130)))
    png("btn_pushed.png", 80, 28, button((30, 80, 150), (20, 50, 100)))
    png("btn_disabled.png", 80, 28, button((150, 150, 150), (110, 110, 110)))
    # Option and check box marks: a 16x16 box, filled when selected.
    def box(filled):
        def pixel(x, y):
            if x in (0, 15) or y in (0, 15):
                return (60, 60, 60, 255)
            if filled and 4 <= x <= 11 and 4 <= y <= 11:
                return (40, 160, 80, 255)
            return (255, 255, 255, 255)
        return pixel
    png("mark_off.png", 16, 16, box(False))
    png("mark_on.png", 16, 16, box(True))
    # A tile for tiled backgrounds: two shades in a checker.
    png("bk_tile.png", 16, 16,
        lambda x, y: (236, 240, 245, 255) if (x // 8 + y // 8) % 2 else (225, 231, 238, 255))
    # A panel frame for nine-grid drawing: 6-pixel dark border, light
    # translucent centre.
    png("panel.png", 24, 24,
        lambda x, y: (70, 110, 160, 255) if min(x, y, 23 - x, 23 - y) < 6
        else (255, 255, 255, 200))
    # A recording frame like the flash window's: an opaque 8-pixel orange
    # border around a centre that a hole leaves out.
    png("flash_frame.png", 32, 32,
        lambda x, y: (230, 90, 30, 255) if min(x, y, 31 - x, 31 - y) < 8
        else (255, 255, 255, 255))


if __name__ == "__main__":
    main()
