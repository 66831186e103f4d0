"""The clock skins: 15-cell GIF digit strips and Winamp-style 5 x 6 character font bitmaps."""
import functools
import os

import imgio
from raster import segment_distance

FOLDER_SKIN = "Korvane Green LCD"

# GIF strip: cells 0-9 digits, 10 colon, 11-12 the AM mark, 13-14 the PM mark.
CELLS = 15


class StripLook:
    """One strip skin: cell size, image width (may cut the last cells), colours and shapes."""

    def __init__(self, file, cell_w, cell_h, back, ghost, on, width=None, slant=0.0, thick=0.85,
                 colon_r=1.25, mark_x0=None, mark_y0=None, style="segments"):
        self.file, self.cell_w, self.cell_h = file, cell_w, cell_h
        self.width = width if width is not None else cell_w * CELLS
        self.back, self.ghost, self.on = back, ghost, on
        self.slant, self.thick, self.colon_r, self.style = slant, thick, colon_r, style
        self.mark_x0 = mark_x0 if mark_x0 is not None else (2 * cell_w - 11) // 2
        self.mark_y0 = mark_y0 if mark_y0 is not None else cell_h // 2


# The default: green slanted segments, 10 x 18 cells. Amber: upright segments in 11 x 20 cells
# on a 158-pixel strip, so the last four columns of the PM mark lie outside the image (the mark's
# letters sit in its first 13 columns). Blue: a 5 x 7 dot matrix in 16 x 24 cells.
DEFAULT = StripLook("KRV_Default Skin.gif", 10, 18, (10, 24, 14), (26, 52, 32), (92, 255, 118),
                    slant=0.12)
AMBER = StripLook("KRV_Amber Narrow.gif", 11, 20, (30, 14, 4), (52, 28, 10), (255, 178, 52),
                  width=158, thick=0.95, colon_r=1.35, mark_x0=1, mark_y0=10)
BLUE = StripLook("KRV_Blue Dots.gif", 16, 24, (8, 16, 48), (15, 27, 66), (150, 218, 255),
                 mark_x0=1, mark_y0=2.5, style="dots")
STRIPS = [DEFAULT, AMBER, BLUE]

# Seven segments in 10 x 18 cell coordinates (before the slant), a to g; scaled to the cell.
SEGMENTS = {
    "a": ((2.7, 3.0), (7.3, 3.0)),
    "b": ((8.0, 3.7), (8.0, 8.3)),
    "c": ((8.0, 9.7), (8.0, 14.3)),
    "d": ((2.7, 15.0), (7.3, 15.0)),
    "e": ((2.0, 9.7), (2.0, 14.3)),
    "f": ((2.0, 3.7), (2.0, 8.3)),
    "g": ((2.7, 9.0), (7.3, 9.0)),
}
DIGITS = ["abcdef", "bc", "abdeg", "abcdg", "bcfg", "acdfg", "acdefg", "abc", "abcdefg", "abcdfg"]

# 5 x 7 letters of the AM/PM marks.
MARK_LETTERS = {
    "A": [".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "P": ["####.", "#...#", "#...#", "####.", "#....", "#....", "#...."],
    "M": ["#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"],
}

# 5 x 7 dot-matrix figures of the dot style.
DOT_FIGURES = {
    "0": [".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."],
    "1": ["..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."],
    "2": [".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"],
    "3": ["####.", "....#", "....#", ".###.", "....#", "....#", "####."],
    "4": ["...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."],
    "5": ["#####", "#....", "####.", "....#", "....#", "#...#", ".###."],
    "6": ["..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."],
    "7": ["#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."],
    "8": [".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."],
    "9": [".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."],
    ":": [".....", ".....", "..#..", ".....", "..#..", ".....", "....."],
}
DOT_PITCH, DOT_RADIUS = 3, 1.2


def _coverage(inside, x0, y0, ss=8):
    hits = 0
    for sy in range(ss):
        for sx in range(ss):
            if inside(x0 + (sx + 0.5) / ss, y0 + (sy + 0.5) / ss):
                hits += 1
    return hits / (ss * ss)


def _cell_grid(look, on, ghost, width):
    """(on, ghost) coverage per pixel of a width-wide cell from two inside-tests."""
    return [[(_coverage(on, x, y), _coverage(ghost, x, y) if ghost else 0.0)
             for x in range(width)] for y in range(look.cell_h)]


def _segment_cell(look, lit):
    sx, sy = look.cell_w / 10.0, look.cell_h / 18.0

    def on_segment(names):
        def inside(x, y):
            ux = x - (look.cell_h / 2.0 - y) * look.slant
            return any(segment_distance(ux, y, a[0] * sx, a[1] * sy, b[0] * sx, b[1] * sy)
                       < look.thick for a, b in (SEGMENTS[n] for n in names))
        return inside

    dark = "".join(n for n in SEGMENTS if n not in lit)
    return _cell_grid(look, on_segment(lit), on_segment(dark), look.cell_w)


def _segment_colon(look):
    sx, sy = look.cell_w / 10.0, look.cell_h / 18.0

    def inside(x, y):
        ux = x - (look.cell_h / 2.0 - y) * look.slant
        return any((ux - 5.0 * sx) ** 2 + (y - cy * sy) ** 2 < look.colon_r ** 2
                   for cy in (6.0, 12.0))
    return _cell_grid(look, inside, None, look.cell_w)


def _dots_inside(rows, x0, y0):
    """An inside-test for the round dots of a 5 x 7 pattern whose top-left dot cell is at x0, y0;
    lit selects the '#' dots, else the '.' dots."""
    def make(lit):
        centres = [(x0 + c * DOT_PITCH + DOT_PITCH / 2.0, y0 + r * DOT_PITCH + DOT_PITCH / 2.0)
                   for r, bits in enumerate(rows) for c, bit in enumerate(bits)
                   if (bit == "#") == lit]

        def inside(x, y):
            return any((x - cx) ** 2 + (y - cy) ** 2 < DOT_RADIUS ** 2 for cx, cy in centres)
        return inside
    return make(True), make(False)


def _dot_cell(look, rows):
    on, ghost = _dots_inside(rows, 0.5, 2.5)
    return _cell_grid(look, on, ghost, look.cell_w)


def _mark_cells(look, word):
    """The two-cell mark: crisp 5 x 7 letters (dots in the dot style)."""
    width = 2 * look.cell_w
    if look.style == "dots":
        ons, ghosts = zip(*(_dots_inside(MARK_LETTERS[letter], look.mark_x0 + i * 5 * DOT_PITCH,
                                         look.mark_y0) for i, letter in enumerate(word)))
        return _cell_grid(look, lambda x, y: any(f(x, y) for f in ons),
                          lambda x, y: any(f(x, y) for f in ghosts), width)
    grid = [[(0.0, 0.0)] * width for _ in range(look.cell_h)]
    for i, letter in enumerate(word):
        for row, bits in enumerate(MARK_LETTERS[letter]):
            for col, bit in enumerate(bits):
                if bit == "#":
                    grid[look.mark_y0 + row][look.mark_x0 + i * 6 + col] = (1.0, 0.0)
    return grid


def _quantised_colour(look, on, ghost):
    on = round(on * 8) / 8
    ghost = min(round(ghost * 8) / 8, 1.0 - on)
    back = 1.0 - on - ghost
    return tuple(round(look.on[i] * on + look.ghost[i] * ghost + look.back[i] * back)
                 for i in range(3))


@functools.lru_cache(maxsize=None)
def gif_strip_pixels(look=DEFAULT):
    """Row-major RGB pixels of the strip, look.width wide (cut after the designed cells)."""
    if look.style == "dots":
        cells = [_dot_cell(look, DOT_FIGURES[str(d)]) for d in range(10)]
        cells.append(_dot_cell(look, DOT_FIGURES[":"]))
    else:
        cells = [_segment_cell(look, DIGITS[d]) for d in range(10)] + [_segment_colon(look)]
    cells += [_mark_cells(look, "AM"), _mark_cells(look, "PM")]
    rows = []
    for y in range(look.cell_h):
        row = []
        for cell in cells:
            row += cell[y]
        rows.append(row[:look.width])
    return tuple(_quantised_colour(look, *c) for row in rows for c in row)


def write_gif_strip(folder, look=DEFAULT):
    """Writes the strip; returns (width, RGBA pixels) for the contact sheet."""
    os.makedirs(folder, exist_ok=True)
    rgb = gif_strip_pixels(look)
    palette = sorted(set(rgb))
    lookup = {c: i for i, c in enumerate(palette)}
    imgio.write_gif(os.path.join(folder, look.file), look.width, look.cell_h,
                    [lookup[c] for c in rgb], palette)
    return look.width, [c + (255,) for c in rgb]


# Winamp-style font: 5 x 6 cells, row 0 letters (blank at column 29), row 1 digits,
# ":" at column 12 and "." at column 27. Glyphs are 4 x 5 with the spacing inside the cell.
AMP_W, AMP_H, AMP_COLUMNS, AMP_ROWS = 5, 6, 31, 2
AMP_BACK = (12, 20, 16)
AMP_INK = (124, 255, 146)

LETTERS = {
    "a": [".##.", "#..#", "####", "#..#", "#..#"], "b": ["###.", "#..#", "###.", "#..#", "###."],
    "c": [".###", "#...", "#...", "#...", ".###"], "d": ["###.", "#..#", "#..#", "#..#", "###."],
    "e": ["####", "#...", "###.", "#...", "####"], "f": ["####", "#...", "###.", "#...", "#..."],
    "g": [".###", "#...", "#.##", "#..#", ".###"], "h": ["#..#", "#..#", "####", "#..#", "#..#"],
    "i": ["###.", ".#..", ".#..", ".#..", "###."], "j": ["..##", "...#", "...#", "#..#", ".##."],
    "k": ["#..#", "#.#.", "##..", "#.#.", "#..#"], "l": ["#...", "#...", "#...", "#...", "####"],
    "m": ["#..#", "####", "####", "#..#", "#..#"], "n": ["#..#", "##.#", "#.##", "#..#", "#..#"],
    "o": [".##.", "#..#", "#..#", "#..#", ".##."], "p": ["###.", "#..#", "###.", "#...", "#..."],
    "q": [".##.", "#..#", "#..#", "#.#.", ".#.#"], "r": ["###.", "#..#", "###.", "#.#.", "#..#"],
    "s": [".###", "#...", ".##.", "...#", "###."], "t": ["###.", ".#..", ".#..", ".#..", ".#.."],
    "u": ["#..#", "#..#", "#..#", "#..#", ".##."], "v": ["#..#", "#..#", "#..#", ".##.", ".##."],
    "w": ["#..#", "#..#", "####", "####", "#..#"], "x": ["#..#", "#..#", ".##.", "#..#", "#..#"],
    "y": ["#.#.", "#.#.", ".#..", ".#..", ".#.."], "z": ["####", "...#", ".##.", "#...", "####"],
}
FIGURES = {
    "0": [".##.", "#.##", "##.#", "#..#", ".##."], "1": [".#..", "##..", ".#..", ".#..", "###."],
    "2": ["###.", "...#", ".##.", "#...", "####"], "3": ["###.", "...#", ".##.", "...#", "###."],
    "4": ["#..#", "#..#", "####", "...#", "...#"], "5": ["####", "#...", "###.", "...#", "###."],
    "6": [".##.", "#...", "###.", "#..#", ".##."], "7": ["####", "...#", "..#.", ".#..", ".#.."],
    "8": [".##.", "#..#", ".##.", "#..#", ".##."], "9": [".##.", "#..#", ".###", "...#", ".##."],
    ":": ["....", ".#..", "....", ".#..", "...."], ".": ["....", "....", "....", "....", ".#.."],
}


def amp_layout():
    """{(column, row): glyph rows} of the font bitmap."""
    layout = {}
    for i, ch in enumerate("abcdefghijklmnopqrstuvwxyz"):
        layout[(i, 0)] = LETTERS[ch]
    for d in range(10):
        layout[(d, 1)] = FIGURES[str(d)]
    layout[(12, 1)] = FIGURES[":"]
    layout[(27, 1)] = FIGURES["."]
    return layout


class FontLook:
    """One 5 x 6 character font bitmap: where it goes and its colours; shadow is drawn one
    pixel right and down of the ink, inside the cell's spacing."""

    def __init__(self, path, back, ink, shadow=None):
        self.path, self.back, self.ink, self.shadow = path, back, ink, shadow


# A folder skin (its text.bmp) and a bitmap listed and loaded directly.
GREEN_FONT = FontLook(os.path.join(FOLDER_SKIN, "text.bmp"), AMP_BACK, AMP_INK)
AMBER_FONT = FontLook("AMP_Amber Shadow.bmp", (18, 10, 4), (255, 186, 70), (110, 58, 14))
FONTS = [GREEN_FONT, AMBER_FONT]


def text_bmp_pixels(look=GREEN_FONT):
    width, height = AMP_W * AMP_COLUMNS, AMP_H * AMP_ROWS
    pixels = [look.back] * (width * height)
    layers = ([(1, look.shadow)] if look.shadow else []) + [(0, look.ink)]
    for offset, colour in layers:
        for (col, row), glyph in amp_layout().items():
            for gy, bits in enumerate(glyph):
                for gx, bit in enumerate(bits):
                    if bit == "#":
                        y, x = row * AMP_H + gy + offset, col * AMP_W + gx + offset
                        pixels[y * width + x] = colour
    return width, height, pixels


def write_text_bmp(folder, look=GREEN_FONT):
    """Writes the font; returns (width, RGBA pixels) for the contact sheet."""
    path = os.path.join(folder, look.path)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    width, height, pixels = text_bmp_pixels(look)
    imgio.write_bmp24(path, width, height, pixels)
    return width, [c + (255,) for c in pixels]
