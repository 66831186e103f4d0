"""The national flags of the image list, each drawn from its construction sheet's proportions.

Every flag is a function of (u, v) in the flag's own design units, (0, 0) top-left of the hoist.
"""
import math

from raster import Star, hexrgb, in_circle, in_polygon, rotate, segment_distance

WHITE = (255, 255, 255)
BLACK = (0, 0, 0)


def bands(colours, t):
    """The band of t in [0, 1) when the bands share the length equally."""
    return colours[min(len(colours) - 1, int(t * len(colours)))]


def horizontal(*colours, uw=3, uh=2):
    return lambda u, v: bands(colours, v / uh)


def vertical(*colours, uw=3, uh=2):
    return lambda u, v: bands(colours, u / uw)


# The union flag in 60 x 30 units, shared by three flags.
UK_BLUE = hexrgb("#012169")
UK_RED = hexrgb("#C8102E")


def union_flag(u, v):
    dx, dy = u - 30.0, v - 15.0
    if abs(dx) < 3 or abs(dy) < 3:
        return UK_RED
    if abs(dx) < 5 or abs(dy) < 5:
        return WHITE
    norm = math.hypot(60, 30)
    d1 = (dx * 30 - dy * 60) / norm  # across the diagonal from the top hoist corner
    d2 = (dx * 30 + dy * 60) / norm  # across the diagonal from the bottom hoist corner
    on_first = (dx < 0) == (dy < 0)
    d = d1 if on_first else d2
    if abs(d) < 3:
        # The red saltire lies beside the centre line, turning round like a pinwheel.
        if on_first:
            side = -d if dx < 0 else d
        else:
            side = -d if dx > 0 else d
        return UK_RED if 0 < side < 2 else WHITE
    return UK_BLUE


def united_kingdom(u, v):
    return union_flag(u, v)


def united_states(u, v):
    # 19 x 10 units drawn 25 x 13 pixels, so that each of the 13 stripes is one pixel row and
    # the canton (7 stripes tall, 7.6 units wide) is 10 x 7 pixels.
    blue, red = hexrgb("#3C3B6E"), hexrgb("#B22234")
    stripe = min(12, int(v * 13 / 10))
    if u < 7.6 and stripe < 7:
        px = int(u / 0.76)
        # The stars as staggered dots, one pixel each.
        if px < 9 and (px % 2 == 1) == (stripe % 2 == 1) and 0 < stripe < 6 and px > 0:
            return hexrgb("#E6E6F0")
        return blue
    return red if stripe % 2 == 0 else WHITE


def southern_cross_stars(stars, colour, rim=None):
    def paint(u, v):
        for star, rimmed in stars:
            if (u, v) in star:
                return colour
            if rim and (u, v) in rimmed:
                return rim
        return None

    return paint


def australia():
    blue = UK_BLUE
    # 60 x 30 units; the stars are drawn a little larger than the sheet so that they show.
    points = [(45, 25, 2.6, 7), (45, 5, 2.4, 7), (37.5, 12.8, 2.4, 7), (52.3, 11.2, 2.4, 7),
              (48.5, 16.0, 1.5, 5)]
    stars = [Star(x, y, r, n, 0.45) for x, y, r, n in points]
    commonwealth = Star(15, 22.5, 4.2, 7, 0.45)

    def paint(u, v):
        if u < 30 and v < 15:
            return union_flag(u * 2, v * 2)
        if (u, v) in commonwealth or any((u, v) in s for s in stars):
            return WHITE
        return blue

    return paint


def new_zealand():
    red = UK_RED
    points = [(45, 25.2, 2.9), (45, 6.0, 2.6), (38.5, 13.5, 2.6), (51.6, 11.5, 2.3)]
    stars = [(Star(x, y, r, 5, 0.42), Star(x, y, r + 1.3, 5, 0.42)) for x, y, r in points]
    paint_stars = southern_cross_stars(stars, red, WHITE)

    def paint(u, v):
        if u < 30 and v < 15:
            return union_flag(u * 2, v * 2)
        return paint_stars(u, v) or UK_BLUE

    return paint


def canada():
    red = hexrgb("#D52B1E")
    # The leaf in units of the white square (16 x 16 of a 32 x 16 flag), y growing down.
    half = [(0.0, 1.2), (1.0, 3.1), (2.0, 2.5), (1.6, 6.9), (3.3, 5.1), (3.6, 6.1), (5.8, 5.0),
            (5.1, 7.4), (5.9, 7.8), (3.2, 10.2), (3.6, 11.3), (0.45, 10.8), (0.55, 14.4)]
    leaf = [(8 + x, y) for x, y in half] + [(8 - x, y) for x, y in reversed(half)]

    def paint(u, v):
        if u < 8 or u >= 24:
            return red
        return red if in_polygon(u - 8, v, leaf) else WHITE

    return paint


def czech(u, v):
    blue, red = hexrgb("#11457E"), hexrgb("#D7141A")
    if u < 1.5 * (1 - abs(v - 1)):
        return blue
    return WHITE if v < 1 else red


def nordic(field, cross, x0, x1, y0, y1, inner=None):
    def paint(u, v):
        if inner:
            ix0, ix1, iy0, iy1, colour = inner
            if ix0 <= u < ix1 or iy0 <= v < iy1:
                return colour
        if x0 <= u < x1 or y0 <= v < y1:
            return cross
        return field

    return paint


def spain(u, v):
    red, yellow = hexrgb("#AA151B"), hexrgb("#F1BF00")
    if not 0.5 <= v < 1.5:
        return red
    # A plain crowned shield in place of the arms, two fifths of the way from the hoist.
    if 0.8 <= u <= 1.2 and 0.62 <= v <= 1.38:
        if v < 0.74:
            return hexrgb("#C8A000") if u > 0.86 and u < 1.14 else yellow
        inner = 0.84 <= u <= 1.16 and 0.78 <= v <= 1.30 and (v < 1.15 or in_circle(u, v, 1.0, 1.12, 0.17))
        if inner:
            return red if u < 1.0 else hexrgb("#C8102E")
        if v < 1.15 or in_circle(u, v, 1.0, 1.12, 0.2):
            return hexrgb("#AD7C0E")
    return yellow


def portugal(u, v):
    green, red, yellow = hexrgb("#046A38"), hexrgb("#DA291C"), hexrgb("#FFE100")
    cx, cy = 1.2, 1.0
    d = math.hypot(u - cx, v - cy)
    if d < 0.5:
        shield = abs(u - cx) < 0.2 and -0.24 < v - cy < 0.2 + 0.06 * (1 - ((u - cx) / 0.2) ** 2)
        if shield:
            inner = abs(u - cx) < 0.12 and -0.16 < v - cy < 0.14
            return WHITE if inner else red
        if d > 0.38 or abs(v - cy) < 0.05:
            return yellow
    return green if u < 1.2 else red


def sweden():
    return nordic(hexrgb("#006AA7"), hexrgb("#FECC00"), 5, 7, 4, 6)


def norway():
    return nordic(hexrgb("#BA0C2F"), WHITE, 6, 10, 6, 10, (7, 9, 7, 9, hexrgb("#00205B")))


def denmark():
    return nordic(hexrgb("#C8102E"), WHITE, 12, 16, 12, 16)


def singapore():
    red = hexrgb("#EF3340")
    stars = [Star(17.0 + 3.3 * math.sin(math.radians(a)), 8.8 - 3.3 * math.cos(math.radians(a)),
                  1.45, 5, 0.42) for a in (0, 72, 144, 216, 288)]

    def paint(u, v):
        if v >= 18:
            return WHITE
        if in_circle(u, v, 11.0, 9.0, 6.6) and not in_circle(u, v, 13.5, 9.0, 6.0):
            return WHITE
        if any((u, v) in s for s in stars):
            return WHITE
        return red

    return paint


def slovenia():
    white, blue, red = WHITE, hexrgb("#005CE5"), hexrgb("#ED1C24")
    # 36 x 18 units: the arms straddle the white and blue bands near the hoist.
    x0, x1, top, bottom = 7.0, 12.8, 3.8, 10.6

    def shield(u, v):
        if not x0 <= u <= x1 or v < top:
            return None
        mid = (x0 + x1) / 2
        half = (x1 - x0) / 2
        floor = bottom - 2.4 * ((u - mid) / half) ** 2
        if v > floor:
            return None
        edge = min(u - x0, x1 - u, v - top, floor - v)
        if edge < 0.55:
            return red
        peak = 8.6 - 2.4 * max(0.0, 1 - abs(u - mid) / 2.2)
        if v > peak:
            return white
        return blue

    def paint(u, v):
        return shield(u, v) or bands((white, blue, red), v / 18)

    return paint


def venezuela():
    yellow, blue, red = hexrgb("#FFCC00"), hexrgb("#00247D"), hexrgb("#CF142B")
    stars = []
    for k in range(8):
        a = math.radians(-70 + k * 20)
        stars.append(Star(1.5 + 0.62 * math.sin(a), 1.23 - 0.62 * math.cos(a), 0.1, 5, 0.4))

    def paint(u, v):
        if 2 / 3 <= v < 4 / 3 and any((u, v) in s for s in stars):
            return WHITE
        return bands((yellow, blue, red), v / 2)

    return paint


def south_africa():
    red, blue = hexrgb("#E03C31"), hexrgb("#001489")
    green, gold = hexrgb("#007749"), hexrgb("#FFB81C")
    join_x = 32.0  # where the arms meet, in 90 x 60 units

    def paint(u, v):
        d = min(segment_distance(u, v, 0, 0, join_x, 30), segment_distance(u, v, 0, 60, join_x, 30),
                segment_distance(u, v, join_x, 30, 200, 30))
        inside = u < join_x and abs(v - 30) < 30 * (1 - u / join_x)
        if d < 6:
            return green
        if d < 10:
            return gold if inside else WHITE
        if inside:
            return BLACK
        return red if v < 30 else blue

    return paint


def japan(u, v):
    return hexrgb("#BC002D") if in_circle(u, v, 1.5, 1.0, 0.6) else WHITE


def south_korea():
    red, blue = hexrgb("#CD2E3A"), hexrgb("#0047A0")
    cx, cy, radius = 36.0, 24.0, 12.0  # 72 x 48 units
    tilt = math.degrees(math.atan2(2, 3))

    def trigram(u, v, tx, ty, broken):
        # Three bars across the line to the centre, drawn a little bolder than the sheet.
        nx, ny = cx - tx, cy - ty
        length = math.hypot(nx, ny)
        nx, ny = nx / length, ny / length
        along = (u - tx) * nx + (v - ty) * ny
        across = -(u - tx) * ny + (v - ty) * nx
        if abs(across) > 4.2:
            return False
        for bar, gap in enumerate(broken):
            if abs(along - (bar - 1) * 3.4) < 1.1:
                return not (gap and abs(across) < 0.7)
        return False

    corners = [(-1, -1, (False, False, False)), (1, -1, (True, False, True)),
               (-1, 1, (False, True, False)), (1, 1, (True, True, True))]

    def paint(u, v):
        if in_circle(u, v, cx, cy, radius):
            x, y = rotate(u, v, cx, cy, -tilt)
            dx, dy = x - cx, y - cy
            if in_circle(dx, dy, -radius / 2, 0, radius / 2):
                return red
            if in_circle(dx, dy, radius / 2, 0, radius / 2):
                return blue
            return red if dy < 0 else blue
        for sx, sy, broken in corners:
            tx, ty = cx + sx * 21.5, cy + sy * 14.3
            if trigram(u, v, tx, ty, broken):
                return BLACK
        return WHITE

    return paint


def brazil(u, v):
    green, yellow, blue = hexrgb("#009739"), hexrgb("#FEDD00"), hexrgb("#012169")
    # 20 x 14 units.
    if in_circle(u, v, 10, 7, 3.5):
        band = math.hypot(u - 8.0, v - 19.0)
        if 12.0 < band < 12.9:
            return WHITE
        return blue
    if abs(u - 10) / 8.3 + abs(v - 7) / 5.3 <= 1:
        return yellow
    return green


def croatia():
    red, blue = hexrgb("#FF0000"), hexrgb("#171796")
    # 60 x 30 units; the checks are two units square, one pixel at the drawn size.
    x0, x1, top, bottom = 24.0, 34.0, 8.0, 20.0

    def arms(u, v):
        if x0 <= u < x1 and 4.0 <= v < top:
            shield = int((u - x0) / 2)
            if v < 6.0:  # the points of the crown's five small shields
                return blue if shield % 2 == 0 else None
            return blue if shield % 2 == 0 else hexrgb("#3C8DE0")
        if not (x0 <= u < x1 and top <= v):
            return None
        mid = (x0 + x1) / 2
        if v > bottom + 2.5 * (1 - ((u - mid) / 5.0) ** 2):
            return None
        check = (int((u - x0) / 2) + int((v - top) / 2)) % 2
        return red if check == 0 else WHITE

    def paint(u, v):
        return arms(u, v) or bands((red, WHITE, blue), v / 30)

    return paint


def chile():
    blue, red = hexrgb("#0039A6"), hexrgb("#D52B1E")
    star = Star(0.5, 0.5, 0.27, 5, 0.382)

    def paint(u, v):
        if v >= 1:
            return red
        if u < 1:
            return WHITE if (u, v) in star else blue
        return WHITE

    return paint


# (label, design units wide, high, pixels wide, high, painter) in image-list order.
def catalogue():
    return {
        2: ("United States", 19, 10, 25, 13, united_states),
        5: ("Australia", 60, 30, 30, 15, australia()),
        6: ("Belgium", 15, 13, 26, 22, vertical(hexrgb("#1A1A1A"), hexrgb("#FDDA24"),
                                                 hexrgb("#EF3340"), uw=15, uh=13)),
        7: ("Canada", 32, 16, 30, 15, canada()),
        8: ("Czech Republic", 3, 2, 30, 20, czech),
        9: ("Denmark", 37, 28, 30, 23, denmark()),
        10: ("Spain", 3, 2, 30, 20, spain),
        11: ("Ireland", 3, 1.5, 30, 15, vertical(hexrgb("#169B62"), WHITE, hexrgb("#FF883E"),
                                                 uw=3, uh=1.5)),
        12: ("Italy", 3, 2, 30, 20, vertical(hexrgb("#009246"), WHITE, hexrgb("#CE2B37"))),
        13: ("Netherlands", 3, 2, 30, 20, horizontal(hexrgb("#AE1C28"), WHITE, hexrgb("#21468B"))),
        14: ("Norway", 22, 16, 30, 22, norway()),
        15: ("New Zealand", 60, 30, 30, 15, new_zealand()),
        16: ("Poland", 8, 5, 30, 19, horizontal(WHITE, hexrgb("#DC143C"), uw=8, uh=5)),
        17: ("Portugal", 3, 2, 30, 20, portugal),
        18: ("Romania", 3, 2, 30, 20, vertical(hexrgb("#002B7F"), hexrgb("#FCD116"),
                                               hexrgb("#CE1126"))),
        19: ("Russia", 3, 2, 30, 20, horizontal(WHITE, hexrgb("#0039A6"), hexrgb("#D52B1E"))),
        20: ("Sweden", 16, 10, 30, 19, sweden()),
        21: ("Singapore", 54, 36, 30, 20, singapore()),
        22: ("Slovenia", 36, 18, 30, 15, slovenia()),
        23: ("United Kingdom", 60, 30, 30, 15, united_kingdom),
        24: ("Venezuela", 3, 2, 30, 20, venezuela()),
        25: ("South Africa", 90, 60, 30, 20, south_africa()),
        26: ("Japan", 3, 2, 30, 20, japan),
        27: ("South Korea", 72, 48, 30, 20, south_korea()),
        28: ("Brazil", 20, 14, 30, 21, brazil),
        29: ("France", 3, 2, 30, 20, vertical(hexrgb("#0055A4"), WHITE, hexrgb("#EF4135"))),
        30: ("Croatia", 60, 30, 30, 15, croatia()),
        31: ("Hungary", 2, 1, 30, 15, horizontal(hexrgb("#CE2939"), WHITE, hexrgb("#477050"),
                                                 uw=2, uh=1)),
        32: ("Chile", 3, 2, 30, 20, chile()),
    }
