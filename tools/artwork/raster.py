"""Supersampled rendering of shape functions into RGBA pixels, and small geometry helpers."""
import math


def hexrgb(text):
    text = text.lstrip("#")
    return tuple(int(text[i:i + 2], 16) for i in (0, 2, 4))


def render(shade, width, height, ss=8):
    """Averages shade(x, y) over ss x ss samples per pixel; shade returns (r, g, b[, a]) or None.

    Coordinates are in pixels, (0, 0) the top-left corner of the image."""
    pixels = []
    n = ss * ss
    offsets = [(i + 0.5) / ss for i in range(ss)]
    for py in range(height):
        for px in range(width):
            r = g = b = a = 0.0
            for oy in offsets:
                for ox in offsets:
                    c = shade(px + ox, py + oy)
                    if c is None:
                        continue
                    alpha = c[3] / 255.0 if len(c) > 3 else 1.0
                    r += c[0] * alpha
                    g += c[1] * alpha
                    b += c[2] * alpha
                    a += alpha
            if a <= 0:
                pixels.append((0, 0, 0, 0))
                continue
            pixels.append((round(r / a), round(g / a), round(b / a), round(255 * a / n)))
    return pixels


def blank(width, height):
    return [(0, 0, 0, 0)] * (width * height)


def darker(rgb, factor):
    return tuple(round(c * factor) for c in rgb[:3])


def mix(c1, c2, t):
    """c1 when t = 0, c2 when t = 1."""
    return tuple(round(c1[i] + (c2[i] - c1[i]) * t) for i in range(3))


# Geometry ---------------------------------------------------------------------------------------

def in_polygon(x, y, points):
    """Even-odd rule."""
    inside = False
    n = len(points)
    j = n - 1
    for i in range(n):
        xi, yi = points[i]
        xj, yj = points[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            inside = not inside
        j = i
    return inside


def star_points(cx, cy, outer, inner, points=5, angle=-90.0):
    """Vertices of a star; the first tip points at angle degrees (-90 = up, y grows down)."""
    out = []
    for k in range(points * 2):
        r = outer if k % 2 == 0 else inner
        a = math.radians(angle + k * 180.0 / points)
        out.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return out


class Star:
    """A star with a bounding-box test in front of the polygon test."""

    def __init__(self, cx, cy, outer, points=5, ratio=0.382, angle=-90.0):
        self.box = (cx - outer, cy - outer, cx + outer, cy + outer)
        self.points = star_points(cx, cy, outer, outer * ratio, points, angle)

    def __contains__(self, p):
        x, y = p
        x0, y0, x1, y1 = self.box
        return x0 <= x <= x1 and y0 <= y <= y1 and in_polygon(x, y, self.points)


def in_circle(x, y, cx, cy, r):
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def segment_distance(x, y, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
    return math.hypot(x - ax - t * dx, y - ay - t * dy)


def rotate(x, y, cx, cy, degrees):
    """(x, y) turned about (cx, cy) by degrees (clockwise on screen, y grows down)."""
    a = math.radians(degrees)
    dx, dy = x - cx, y - cy
    return cx + dx * math.cos(a) - dy * math.sin(a), cy + dx * math.sin(a) + dy * math.cos(a)
