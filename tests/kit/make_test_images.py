#!/usr/bin/env python3
"""Writes the pictures of the window kit's test skin (skin/*.png): a shadow
whose alpha fades from the middle out, so tests can tell it from nothing.
Plain zlib; run it after changing a picture here (they are kept in the tree).
"""
import os
import struct
import zlib

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "skin")


def png(name, width, height, pixel):
    raw = b"".join(b"\x00" + b"".join(bytes(pixel(x, y)) for x in range(width))
                   for y in range(height))

    def chunk(tag, data):
        c = struct.pack(">I", len(data)) + tag + data
        return c + struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF)

    data = b"\x89PNG\r\n\x1a\n"
    data += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
    data += chunk(b"IDAT", zlib.compress(raw, 9))
    data += chunk(b"IEND", b"")
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)


def shadow(x, y, size=24, edge=8):
    d = min(x, y, size - 1 - x, size - 1 - y)
    alpha = 0x80 if d >= edge else (0x80 * (d + 1)) // (edge + 1)
    return (0, 0, 0, alpha)


png("kit_shadow.png", 24, 24, shadow)
png("kit_tile.png", 8, 8, lambda x, y: (40, 120, 200, 255))
