"""Signed distance functions: f(x, y) is the distance in pixels from the
point to the shape's edge, negative inside. Shapes combine with union and
minus, and any of them becomes an outline; Picture.draw turns the distance
into anti-aliased coverage."""
import math


def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def ring(cx, cy, r, w):
    return lambda x, y: abs(math.hypot(x - cx, y - cy) - r) - w / 2.0


def box(x0, y0, x1, y1, rad=0.0):
    cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
    hx, hy = (x1 - x0) / 2.0 - rad, (y1 - y0) / 2.0 - rad

    def d(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - rad
    return d


def outline(sdf, w):
    return lambda x, y: abs(sdf(x, y)) - w / 2.0


def seg_dist(x, y, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    L = dx * dx + dy * dy
    t = 0.0 if L == 0 else clamp(((x - ax) * dx + (y - ay) * dy) / L)
    return math.hypot(x - (ax + t * dx), y - (ay + t * dy))


def stroke(points, w):
    """A polyline with round joins and caps."""
    def d(x, y):
        return min(seg_dist(x, y, *points[i], *points[i + 1])
                   for i in range(len(points) - 1)) - w / 2.0
    return d


def polygon(points):
    n = len(points)

    def d(x, y):
        dist = min(seg_dist(x, y, *points[i], *points[(i + 1) % n]) for i in range(n))
        inside = False
        j = n - 1
        for i in range(n):
            xi, yi = points[i]
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                inside = not inside
            j = i
        return -dist if inside else dist
    return d


def arc(cx, cy, r, w, a0, a1):
    """Part of a ring from angle a0 to a1 (degrees, clockwise on screen,
    0 = right), with round ends."""
    a0r, a1r = math.radians(a0), math.radians(a1)
    ends = [(cx + r * math.cos(a), cy + r * math.sin(a)) for a in (a0r, a1r)]

    def d(x, y):
        ang = math.atan2(y - cy, x - cx)
        rel = (ang - a0r) % (2 * math.pi)
        if rel <= (a1r - a0r) % (2 * math.pi) or a1 - a0 >= 360:
            return abs(math.hypot(x - cx, y - cy) - r) - w / 2.0
        return min(math.hypot(x - ex, y - ey) for ex, ey in ends) - w / 2.0
    return d


def union(*fs):
    return lambda x, y: min(f(x, y) for f in fs)


def minus(a, b):
    return lambda x, y: max(a(x, y), -b(x, y))
