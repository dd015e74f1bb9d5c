"""Windows icon and cursor files (what windres links in as ICON and CURSOR
resources) made of 32-bit pictures."""
import struct


def _dib(pic):
    """The image of one entry: a bottom-up BGRA bitmap twice the picture's
    height (the XOR image over the AND mask, as the format counts it) and
    the mask, set where the picture is fully transparent so that systems
    which ignore the alpha channel still see the shape."""
    w, h = pic.w, pic.h
    bih = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = pic.rgba_rows()
    xor = b"".join(bytes(b for i in range(0, len(row), 4)
                         for b in (row[i + 2], row[i + 1], row[i], row[i + 3]))
                   for row in reversed(rows))
    mask_stride = ((w + 31) // 32) * 4
    mask = b""
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x in range(w):
            if row[x * 4 + 3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits)
    return bih + xor + mask


def _directory(kind, entries):
    """entries: (picture, two 16-bit fields of the entry)"""
    header = struct.pack("<HHH", 0, kind, len(entries))
    table, blobs = b"", b""
    offset = 6 + 16 * len(entries)
    for pic, (f1, f2) in entries:
        blob = _dib(pic)
        table += struct.pack("<BBBBHHII", pic.w % 256, pic.h % 256, 0, 0, f1, f2,
                             len(blob), offset)
        offset += len(blob)
        blobs += blob
    return header + table + blobs


def ico(pictures):
    """An icon file: one 32-bit image per size (planes 1, 32 bits)."""
    return _directory(1, [(pic, (1, 32)) for pic in pictures])


def cur(pic, hot_x, hot_y):
    """A cursor file of one 32-bit image whose hot spot is pixel
    (hot_x, hot_y), counted from the top left."""
    if not (0 <= hot_x < pic.w and 0 <= hot_y < pic.h):
        raise ValueError("hot spot (%d, %d) outside the %d x %d cursor"
                         % (hot_x, hot_y, pic.w, pic.h))
    return _directory(2, [(pic, (hot_x, hot_y))])
