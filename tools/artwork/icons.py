"""The pictures of the image list that are not flags, and the program's own icon."""
import math

from raster import hexrgb, in_circle, mix, render, rotate, segment_distance


def gear(x, y, cx, cy, outer, inner, teeth, hole, phase=0.0):
    """0 outside, 1 on the outline band, 2 in the body; the hole counts as outside."""
    r = math.hypot(x - cx, y - cy)
    if r < hole or r > outer + 0.8:
        return 0
    t = (math.atan2(y - cy, x - cx) / (2 * math.pi) * teeth + phase) % 1.0
    # A trapezoid tooth: flanks over a fifth of the pitch each.
    if t < 0.3:
        edge = outer
    elif t < 0.5:
        edge = outer - (outer - inner) * (t - 0.3) / 0.2
    elif t < 0.8:
        edge = inner
    else:
        edge = inner + (outer - inner) * (t - 0.8) / 0.2
    if r > edge + 0.8:
        return 0
    if r > edge or r < hole + 0.8:
        return 1
    return 2


def document_with_gears(size):
    page, line, ink = hexrgb("#FBFBF8"), hexrgb("#A9B3BF"), hexrgb("#4A5360")
    steel, steel_dark = hexrgb("#6F8FB5"), hexrgb("#243A57")
    gold, gold_dark = hexrgb("#F2B82B"), hexrgb("#6E4A05")
    left, top, right, bottom, fold = 3.5, 1.5, 21.5, 29.5, 6.0

    def shade(x, y):
        g = gear(x, y, 26.0, 11.5, 5.6, 4.2, 8, 1.6, 0.25)
        if g:
            return gold_dark if g == 1 else gold
        g = gear(x, y, 19.5, 21.5, 9.3, 7.2, 10, 2.6)
        if g:
            if g == 2 and in_circle(x, y, 19.5, 21.5, 4.6) and not in_circle(x, y, 19.5, 21.5, 3.6):
                return steel_dark
            return steel_dark if g == 1 else steel
        if not (left <= x <= right and top <= y <= bottom):
            return None
        if x - (right - fold) > y - top:  # the folded corner
            return None
        on_edge = min(x - left, right - x, y - top, bottom - y) < 1.0
        on_fold = abs((x - (right - fold)) - (y - top)) < 0.7
        if on_edge or on_fold:
            return ink
        if x > right - fold and y < top + fold:
            return hexrgb("#D5DAE0")
        if 7 <= x <= 17 and any(abs(y - ly) < 0.6 for ly in (8, 11.5, 15)):
            return line
        return page

    return render(shade, size, size)


def globe_with_surfer(size):
    ocean, deep, land = hexrgb("#3C8FE6"), hexrgb("#174C9C"), hexrgb("#3BAA48")
    rim, grid = hexrgb("#0F3266"), hexrgb("#8CC0F4")
    board, board_edge, body = hexrgb("#FF8A1F"), hexrgb("#8A3C00"), hexrgb("#1E1E1E")
    cx, cy, radius = 16.0, 20.5, 11.0
    blobs = [(10.5, 15.5, 4.5, 3.2), (12.5, 22.5, 2.6, 4.6), (20.5, 14.0, 3.4, 2.4),
             (21.5, 21.0, 2.8, 4.4), (25.0, 16.5, 1.6, 1.6)]

    def surfer(x, y):
        if in_circle(x, y, 15.4, 2.3, 1.5):
            return body
        limbs = [((15.7, 3.6), (16.6, 6.0)), ((12.6, 4.6), (19.8, 3.4)),
                 ((16.6, 6.0), (14.2, 8.2)), ((16.6, 6.0), (18.9, 8.0))]
        if any(segment_distance(x, y, *a, *b) < 0.75 for a, b in limbs):
            return body
        bx, by = rotate(x, y, 16.5, 9.0, 8)
        e = ((bx - 16.5) / 7.6) ** 2 + ((by - 9.0) / 1.35) ** 2
        if e <= 1:
            return board if e < 0.55 else board_edge
        return None

    def shade(x, y):
        s = surfer(x, y)
        if s:
            return s
        d = math.hypot(x - cx, y - cy)
        if d > radius:
            return None
        if d > radius - 1.0:
            return rim
        if any(((x - bx) / rx) ** 2 + ((y - by) / ry) ** 2 <= 1 for bx, by, rx, ry in blobs):
            colour = land
        elif abs(y - cy) < 0.35 or abs(((x - cx) / (radius * 0.45)) ** 2 +
                                           ((y - cy) / radius) ** 2 - 1) < 0.07:
            colour = grid
        else:
            colour = ocean
        # Light from the top left.
        light = math.hypot(x - (cx - 4), y - (cy - 4)) / (radius * 1.6)
        return mix(colour, deep, min(1.0, max(0.0, light - 0.25)))

    return render(shade, size, size)


def trefoil_disc(size):
    c = size / 2.0
    unit = size / 64.0
    blue, deep, rim = hexrgb("#2A6EE0"), hexrgb("#0D2F85"), hexrgb("#0A1F5C")
    yellow = hexrgb("#FFD21F")

    def shade(x, y):
        dx, dy = x - c, y - c
        d = math.hypot(dx, dy) / unit
        if d > 31:
            return None
        if d > 29.3:
            return rim
        if d < 4.6:
            return yellow
        angle = math.degrees(math.atan2(dy, dx)) % 360
        for centre in (90, 210, 330):  # one blade down, two up
            if abs((angle - centre + 180) % 360 - 180) <= 30 and 7.4 <= d <= 23.5:
                return yellow
        return mix(blue, deep, min(1.0, d / 29.3) ** 1.5)

    return render(shade, size, size)


def lamp(size, lit):
    c = size / 2.0
    bezel, bezel_dark = hexrgb("#6B716D"), hexrgb("#2A2E2B")
    if lit:
        centre, edge, shine = hexrgb("#B8FFB0"), hexrgb("#13A322"), (255, 255, 255, 230)
    else:
        centre, edge, shine = hexrgb("#3D4A40"), hexrgb("#1A231D"), (150, 165, 155, 150)

    def shade(x, y):
        d = math.hypot(x - c, y - c)
        if d > 8.0:
            if lit and d < 10.5:
                return (60, 255, 80, round(90 * (10.5 - d) / 2.5))
            return None
        if d > 6.6:
            return mix(bezel, bezel_dark, (y - (c - 8)) / 16.0)
        if ((x - (c - 2.3)) / 2.4) ** 2 + ((y - (c - 2.6)) / 1.6) ** 2 <= 1:
            return shine
        spot = math.hypot(x - (c - 1.5), y - (c - 1.5)) / 7.5
        return mix(centre, edge, min(1.0, spot))

    # A lit lamp draws its glow over the transparent cell.
    return render(shade, size, size)


def program_icon(size, failed=False):
    """A clock face at ten past ten with a green tick: the time is right. Failed: a red badge
    with a white cross instead, so that a failure never shows the sign of success."""
    ring, face, ink = hexrgb("#1F3C73"), hexrgb("#F7F9FC"), hexrgb("#1B2433")
    red, green = hexrgb("#D7263D"), hexrgb("#22A447")
    small = size <= 16
    # Small sizes get bolder strokes so that the hands and the tick survive.
    hour_w, minute_w, tick_w = (0.07, 0.06, 0.055) if small else (0.04, 0.03, 0.03)

    def hand(x, y, angle, length, width):
        a = math.radians(angle - 90)
        return segment_distance(x, y, 0.45, 0.45, 0.45 + length * math.cos(a),
                                0.45 + length * math.sin(a)) < width

    def shade(px, py):
        x, y = px / size, py / size
        # The badge sits over the face at the bottom right.
        bd = math.hypot(x - 0.77, y - 0.77)
        if bd < 0.21:
            if bd > 0.17:
                return face
            if failed:
                cross = (segment_distance(x, y, 0.70, 0.70, 0.84, 0.84) < tick_w or
                         segment_distance(x, y, 0.70, 0.84, 0.84, 0.70) < tick_w)
                return face if cross else red
            tick = (segment_distance(x, y, 0.685, 0.77, 0.75, 0.835) < tick_w or
                    segment_distance(x, y, 0.75, 0.835, 0.86, 0.71) < tick_w)
            return face if tick else green
        d = math.hypot(x - 0.45, y - 0.45)
        if d > 0.44:
            return None
        if d > 0.37:
            return ring
        if hand(x, y, 300, 0.18, hour_w) or hand(x, y, 60, 0.28, minute_w):
            return ink
        if not small and hand(x, y, 165, 0.3, 0.012):
            return red
        if d < 0.035:
            return ink
        angle = math.degrees(math.atan2(y - 0.45, x - 0.45)) % 30
        near = min(angle, 30 - angle)
        quarter = round(math.degrees(math.atan2(y - 0.45, x - 0.45)) / 30) % 3 == 0
        long_tick = 0.27 if quarter else 0.31
        if d > long_tick and near * math.pi / 180 * d < (0.025 if quarter else 0.014):
            if quarter or not small:
                return ink
        return face

    return render(shade, size, size, ss=8 if size <= 64 else 4)
