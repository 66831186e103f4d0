"""The clock skins: a 15-cell GIF digit strip and a Winamp-style 5 x 6 character font bitmap."""
import os

import imgio
from raster import segment_distance

FOLDER_SKIN = "Korvane Green LCD"

# GIF strip: cells 0-9 digits, 10 colon, 11-12 the AM mark, 13-14 the PM mark.
CELL_W, CELL_H, CELLS = 10, 18, 15
LCD_BACK = (10, 24, 14)
LCD_GHOST = (26, 52, 32)
LCD_ON = (92, 255, 118)

# Seven segments in cell coordinates (before the slant), a to g.
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
SLANT = 0.12
THICK = 0.85  # half the stroke width, pixels

# 5 x 7 letters of the AM/PM marks.
MARK_LETTERS = {
    "A": [".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "P": ["####.", "#...#", "#...#", "####.", "#....", "#....", "#...."],
    "M": ["#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"],
}


def _unslant(x, y):
    return x - (9.0 - y) * SLANT, y


def _coverage(inside, x0, y0, ss=8):
    hits = 0
    for sy in range(ss):
        for sx in range(ss):
            if inside(x0 + (sx + 0.5) / ss, y0 + (sy + 0.5) / ss):
                hits += 1
    return hits / (ss * ss)


def _digit_cell(lit):
    """(on, ghost) coverage per pixel of one seven-segment cell, lit the given segments."""
    def on_segment(names):
        def inside(x, y):
            ux, uy = _unslant(x, y)
            return any(segment_distance(ux, uy, *SEGMENTS[n][0], *SEGMENTS[n][1]) < THICK
                       for n in names)
        return inside

    dark = "".join(n for n in SEGMENTS if n not in lit)
    on, ghost = on_segment(lit), on_segment(dark)
    return [[(_coverage(on, x, y), _coverage(ghost, x, y)) for x in range(CELL_W)]
            for y in range(CELL_H)]


def _colon_cell():
    def inside(x, y):
        ux, uy = _unslant(x, y)
        return any((ux - 5.0) ** 2 + (uy - cy) ** 2 < 1.25 ** 2 for cy in (6.0, 12.0))
    return [[(_coverage(inside, x, y), 0.0) for x in range(CELL_W)] for y in range(CELL_H)]


def _mark_cells(word):
    """The two-cell mark: crisp 5 x 7 letters, bottom-aligned with the digits."""
    width = 2 * CELL_W
    grid = [[(0.0, 0.0)] * width for _ in range(CELL_H)]
    x0, y0 = (width - 11) // 2, 9
    for i, letter in enumerate(word):
        for row, bits in enumerate(MARK_LETTERS[letter]):
            for col, bit in enumerate(bits):
                if bit == "#":
                    grid[y0 + row][x0 + i * 6 + col] = (1.0, 0.0)
    return grid


def _quantised_colour(on, ghost):
    on = round(on * 8) / 8
    ghost = min(round(ghost * 8) / 8, 1.0 - on)
    back = 1.0 - on - ghost
    return tuple(round(LCD_ON[i] * on + LCD_GHOST[i] * ghost + LCD_BACK[i] * back)
                 for i in range(3))


def gif_strip_pixels():
    cells = [_digit_cell(DIGITS[d]) for d in range(10)] + [_colon_cell()]
    rows = []
    for y in range(CELL_H):
        row = []
        for cell in cells:
            row += cell[y]
        rows.append(row)
    for word in ("AM", "PM"):
        mark = _mark_cells(word)
        for y in range(CELL_H):
            rows[y] += mark[y]
    return [_quantised_colour(*c) for row in rows for c in row]


def write_gif_strip(path):
    """Writes the strip; returns (width, RGBA pixels) for the contact sheet."""
    os.makedirs(os.path.dirname(path), exist_ok=True)
    rgb = gif_strip_pixels()
    width = CELL_W * CELLS
    palette = sorted(set(rgb))
    lookup = {c: i for i, c in enumerate(palette)}
    imgio.write_gif(path, width, CELL_H, [lookup[c] for c in rgb], palette)
    return width, [c + (255,) for c in rgb]


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


def text_bmp_pixels():
    width, height = AMP_W * AMP_COLUMNS, AMP_H * AMP_ROWS
    pixels = [AMP_BACK] * (width * height)
    for (col, row), glyph in amp_layout().items():
        for gy, bits in enumerate(glyph):
            for gx, bit in enumerate(bits):
                if bit == "#":
                    pixels[(row * AMP_H + gy) * width + col * AMP_W + gx] = AMP_INK
    return width, height, pixels


def write_text_bmp(path):
    """Writes the font; returns (width, RGBA pixels) for the contact sheet."""
    os.makedirs(os.path.dirname(path), exist_ok=True)
    width, height, pixels = text_bmp_pixels()
    imgio.write_bmp24(path, width, height, pixels)
    return width, [c + (255,) for c in pixels]
