"""A baseline JPEG writer (JFIF, YCbCr 4:2:0, the standard's example
quantisation and Huffman tables) for the pictures that layouts name as
.jpg files, without an imaging library."""
import math
import struct

# The example tables of the JPEG standard (Annex K), in row order.
_LUMA_Q = [16, 11, 10, 16, 24, 40, 51, 61, 12, 12, 14, 19, 26, 58, 60, 55,
           14, 13, 16, 24, 40, 57, 69, 56, 14, 17, 22, 29, 51, 87, 80, 62,
           18, 22, 37, 56, 68, 109, 103, 77, 24, 35, 55, 64, 81, 104, 113, 92,
           49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99]
_CHROMA_Q = [17, 18, 24, 47] + [99] * 4 + [18, 21, 26, 66] + [99] * 4 + \
            [24, 26, 56] + [99] * 5 + [47, 66] + [99] * 6 + [99] * 32

_DC_BITS = [0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0]
_DC_VALS = list(range(12))
_AC_BITS = [0, 2, 1, 3, 3, 2, 4, 3, 5, 5, 4, 4, 0, 0, 1, 0x7d]
_AC_VALS = [
    0x01, 0x02, 0x03, 0x00, 0x04, 0x11, 0x05, 0x12, 0x21, 0x31, 0x41, 0x06, 0x13, 0x51, 0x61,
    0x07, 0x22, 0x71, 0x14, 0x32, 0x81, 0x91, 0xa1, 0x08, 0x23, 0x42, 0xb1, 0xc1, 0x15, 0x52,
    0xd1, 0xf0, 0x24, 0x33, 0x62, 0x72, 0x82, 0x09, 0x0a, 0x16, 0x17, 0x18, 0x19, 0x1a, 0x25,
    0x26, 0x27, 0x28, 0x29, 0x2a, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39, 0x3a, 0x43, 0x44, 0x45,
    0x46, 0x47, 0x48, 0x49, 0x4a, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59, 0x5a, 0x63, 0x64,
    0x65, 0x66, 0x67, 0x68, 0x69, 0x6a, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7a, 0x83,
    0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8a, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97, 0x98, 0x99,
    0x9a, 0xa2, 0xa3, 0xa4, 0xa5, 0xa6, 0xa7, 0xa8, 0xa9, 0xaa, 0xb2, 0xb3, 0xb4, 0xb5, 0xb6,
    0xb7, 0xb8, 0xb9, 0xba, 0xc2, 0xc3, 0xc4, 0xc5, 0xc6, 0xc7, 0xc8, 0xc9, 0xca, 0xd2, 0xd3,
    0xd4, 0xd5, 0xd6, 0xd7, 0xd8, 0xd9, 0xda, 0xe1, 0xe2, 0xe3, 0xe4, 0xe5, 0xe6, 0xe7, 0xe8,
    0xe9, 0xea, 0xf1, 0xf2, 0xf3, 0xf4, 0xf5, 0xf6, 0xf7, 0xf8, 0xf9, 0xfa]


def _zigzag():
    order = sorted(((x + y, y if (x + y) % 2 else x, y * 8 + x)
                    for y in range(8) for x in range(8)))
    return [i for _, _, i in order]


_ZIGZAG = _zigzag()
# The one-dimensional DCT as a matrix, with the 1/4 of the 2-D transform
# split between its two passes.
_DCT = [[(math.sqrt(0.5) if u == 0 else 1.0) * 0.5 * math.cos((2 * x + 1) * u * math.pi / 16)
         for x in range(8)] for u in range(8)]


def _scaled(table, quality):
    scale = 5000 / quality if quality < 50 else 200 - 2 * quality
    return [min(255, max(1, (q * scale + 50) // 100)) for q in table]


def _codes(bits, vals):
    """{symbol: (code, length)} of a table given as counts per length."""
    out, code, k = {}, 0, 0
    for length in range(1, 17):
        for _ in range(bits[length - 1]):
            out[vals[k]] = (code, length)
            code += 1
            k += 1
        code <<= 1
    return out


_DC_CODES = _codes(_DC_BITS, _DC_VALS)
_AC_CODES = _codes(_AC_BITS, _AC_VALS)
assert sorted(_AC_VALS) == sorted([0x00, 0xf0] + [r << 4 | s for r in range(16)
                                                 for s in range(1, 11)])


class _Bits:
    def __init__(self):
        self.out = bytearray()
        self.acc = 0
        self.n = 0

    def put(self, code, length):
        self.acc = (self.acc << length) | code
        self.n += length
        while self.n >= 8:
            self.n -= 8
            byte = (self.acc >> self.n) & 0xFF
            self.out.append(byte)
            if byte == 0xFF:
                self.out.append(0)
        self.acc &= (1 << self.n) - 1

    def flush(self):
        if self.n:
            self.put((1 << (8 - self.n)) - 1, 8 - self.n)


def _magnitude(v):
    """(size category, bits) of a coefficient as the entropy coder writes it."""
    a = -v if v < 0 else v
    size = a.bit_length()
    return size, (v if v >= 0 else v + (1 << size) - 1)


def _block(bits, samples, q, prev_dc):
    """Transforms, quantises and writes one 8 x 8 block (64 level-shifted
    samples, row order); returns its DC value."""
    d = _DCT
    rows = [samples[r * 8:r * 8 + 8] for r in range(8)]
    tmp = [[sum(c * s for c, s in zip(d[u], row)) for u in range(8)] for row in rows]
    coef = [0.0] * 64
    for u in range(8):
        col = [tmp[y][u] for y in range(8)]
        for v in range(8):
            coef[v * 8 + u] = sum(c * s for c, s in zip(d[v], col))
    zz = [int(round(coef[i] / q[i])) for i in _ZIGZAG]
    dc = zz[0]
    size, value = _magnitude(dc - prev_dc)
    bits.put(*_DC_CODES[size])
    if size:
        bits.put(value, size)
    run = 0
    for k in range(1, 64):
        v = zz[k]
        if v == 0:
            run += 1
            continue
        while run > 15:
            bits.put(*_AC_CODES[0xF0])
            run -= 16
        size, value = _magnitude(v)
        bits.put(*_AC_CODES[run << 4 | size])
        bits.put(value, size)
        run = 0
    if run:
        bits.put(*_AC_CODES[0x00])
    return dc


def _segment(marker, payload):
    return struct.pack(">BBH", 0xFF, marker, len(payload) + 2) + payload


def encode(pic, quality=90):
    """The picture (its colours; the alpha is ignored) as JPEG bytes."""
    w, h = pic.w, pic.h
    mw, mh = (w + 15) // 16, (h + 15) // 16
    W, H = mw * 16, mh * 16
    ys, cbs, crs = [], [], []
    for y in range(H):
        row = pic.px[min(y, h - 1)]
        yr, cbr, crr = [], [], []
        for x in range(W):
            r, g, b = row[min(x, w - 1)][:3]
            yr.append(0.299 * r + 0.587 * g + 0.114 * b - 128)
            cbr.append(-0.168736 * r - 0.331264 * g + 0.5 * b)
            crr.append(0.5 * r - 0.418688 * g - 0.081312 * b)
        ys.append(yr)
        cbs.append(cbr)
        crs.append(crr)

    def half(plane):
        return [[(plane[2 * y][2 * x] + plane[2 * y][2 * x + 1] + plane[2 * y + 1][2 * x]
                  + plane[2 * y + 1][2 * x + 1]) / 4 for x in range(W // 2)]
                for y in range(H // 2)]
    cbs, crs = half(cbs), half(crs)

    ql, qc = _scaled(_LUMA_Q, quality), _scaled(_CHROMA_Q, quality)

    def samples(plane, x0, y0):
        return [v for r in plane[y0:y0 + 8] for v in r[x0:x0 + 8]]

    bits = _Bits()
    dy = dcb = dcr = 0
    for my in range(mh):
        for mx in range(mw):
            for by, bx in ((0, 0), (0, 8), (8, 0), (8, 8)):
                dy = _block(bits, samples(ys, mx * 16 + bx, my * 16 + by), ql, dy)
            dcb = _block(bits, samples(cbs, mx * 8, my * 8), qc, dcb)
            dcr = _block(bits, samples(crs, mx * 8, my * 8), qc, dcr)
    bits.flush()

    out = b"\xFF\xD8"
    out += _segment(0xE0, b"JFIF\0" + struct.pack(">BBBHHBB", 1, 1, 0, 1, 1, 0, 0))
    out += _segment(0xDB, bytes([0]) + bytes(ql[i] for i in _ZIGZAG)
                    + bytes([1]) + bytes(qc[i] for i in _ZIGZAG))
    out += _segment(0xC0, struct.pack(">BHHB", 8, h, w, 3)
                    + bytes([1, 0x22, 0, 2, 0x11, 1, 3, 0x11, 1]))
    out += _segment(0xC4, bytes([0x00]) + bytes(_DC_BITS) + bytes(_DC_VALS)
                    + bytes([0x10]) + bytes(_AC_BITS) + bytes(_AC_VALS))
    out += _segment(0xDA, bytes([3, 1, 0x00, 2, 0x00, 3, 0x00, 0, 63, 0]))
    out += bytes(bits.out) + b"\xFF\xD9"
    return out
