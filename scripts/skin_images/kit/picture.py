"""An RGBA picture that shapes are drawn into, and its PNG encoding (plain
zlib, no imaging library)."""
import struct
import zlib

from .shapes import clamp


class Picture:
    def __init__(self, w, h, fill=(0, 0, 0, 0)):
        self.w, self.h = w, h
        self.px = [[list(map(float, fill[:3])) + [fill[3] / 255.0] for _ in range(w)]
                   for _ in range(h)]

    def blend(self, x, y, rgb, a):
        if a <= 0:
            return
        p = self.px[y][x]
        out_a = a + p[3] * (1 - a)
        if out_a <= 0:
            return
        for i in range(3):
            p[i] = (rgb[i] * a + p[i] * p[3] * (1 - a)) / out_a
        p[3] = out_a

    def draw(self, sdf, rgb, alpha=1.0, dx=0.0, dy=0.0, scale=1.0):
        """Fills the shape; shapes are in a unit where `scale` pixels make one.
        A pixel is covered by as much of the shape as lies within half a
        pixel of its centre, which is the whole anti-aliasing."""
        for y in range(self.h):
            for x in range(self.w):
                d = sdf((x + 0.5 - dx) / scale, (y + 0.5 - dy) / scale) * scale
                cov = clamp(0.5 - d)
                if cov > 0:
                    self.blend(x, y, rgb, cov * alpha)

    def shade(self, fn):
        """fn(x, y) -> (r, g, b, a) laid over every pixel."""
        for y in range(self.h):
            for x in range(self.w):
                r, g, b, a = fn(x, y)
                self.blend(x, y, (r, g, b), a)

    def rgba_rows(self):
        rows = []
        for row in self.px:
            line = bytearray()
            for r, g, b, a in row:
                line += bytes((int(round(clamp(r, 0, 255))), int(round(clamp(g, 0, 255))),
                               int(round(clamp(b, 0, 255))), int(round(clamp(a) * 255))))
            rows.append(bytes(line))
        return rows

    def png(self):
        raw = b"".join(b"\x00" + row for row in self.rgba_rows())

        def chunk(tag, data):
            c = struct.pack(">I", len(data)) + tag + data
            return c + struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF)
        return (b"\x89PNG\r\n\x1a\n"
                + chunk(b"IHDR", struct.pack(">IIBBBBB", self.w, self.h, 8, 6, 0, 0, 0))
                + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))
