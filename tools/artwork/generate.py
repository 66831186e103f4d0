"""Draws the project's pictures, skins and icons into data/ (run from anywhere).

    python3 tools/artwork/generate.py [--out DATA_DIR] [--sheet PATH]
"""
import argparse
import os
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import flags  # noqa: E402
import icons  # noqa: E402
import imgio  # noqa: E402
import skins  # noqa: E402
from raster import blank, darker, render  # noqa: E402

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
DATA = os.path.join(ROOT, "data")
CELL = 32


def flag_cell(units_w, units_h, width, height, painter):
    """The flag centred on a transparent cell, with a one-pixel outline darker than its edge."""
    body = render(lambda x, y: painter(x * units_w / width, y * units_h / height), width, height)
    cell = blank(CELL, CELL)
    x0, y0 = (CELL - width) // 2, (CELL - height) // 2
    for y in range(-1, height + 1):
        for x in range(-1, width + 1):
            inside = 0 <= x < width and 0 <= y < height
            if inside:
                pixel = body[y * width + x]
            else:
                edge = body[min(max(y, 0), height - 1) * width + min(max(x, 0), width - 1)]
                pixel = darker(edge, 0.55) + (255,)
            cell[(y0 + y) * CELL + x0 + x] = pixel
    return cell


def image_list():
    """{index: (width, pixels)} for the 34 pictures."""
    pictures = {}
    for index, (_, uw, uh, w, h, painter) in flags.catalogue().items():
        pictures[index] = (CELL, flag_cell(uw, uh, w, h, painter))
    pictures[1] = (CELL, icons.document_with_gears(CELL))
    pictures[3] = (CELL, icons.globe_with_surfer(CELL))
    pictures[4] = (64, icons.trefoil_disc(64))
    pictures[33] = (CELL, icons.lamp(CELL, lit=False))
    pictures[34] = (CELL, icons.lamp(CELL, lit=True))
    return pictures


def contact_sheet(path, groups, scale=3, gap=4):
    """Every picture on a light checkerboard (to show transparency), enlarged scale times."""
    rows = [g for g in groups if g]
    width = max(sum(w * scale + gap for w, _ in row) + gap for row in rows)
    heights = [max(len(p) // w for w, p in row) * scale + gap for row in rows]
    height = sum(heights) + gap
    sheet = [(60, 60, 60, 255)] * (width * height)
    y0 = gap
    for row, row_height in zip(rows, heights):
        x0 = gap
        for w, pixels in row:
            h = len(pixels) // w
            for y in range(h * scale):
                for x in range(w * scale):
                    p = pixels[(y // scale) * w + x // scale]
                    check = 200 if ((x // 6) + (y // 6)) % 2 else 235
                    a = p[3] / 255.0
                    sheet[(y0 + y) * width + x0 + x] = tuple(
                        round(p[i] * a + check * (1 - a)) for i in range(3)) + (255,)
            x0 += w * scale + gap
        y0 += row_height
    imgio.write_png(path, width, height, sheet)


def strip_sample(strip, text, pm):
    """The strip's cells laid out as the overlay lays them: digits at code - 48, ":" cell 10,
    cells rounded half to even, what lies outside the image left as background."""
    width, pixels = strip
    cw, ch = round(width / skins.CELLS), len(pixels) // width
    cells = [10 if c == ":" else ord(c) - 48 for c in text]
    out_w = (len(cells) + 2) * cw
    out = [pixels[width + width - 1]] * (out_w * ch)
    for pos, cell in enumerate(cells + [13 if pm else 11, 14 if pm else 12]):
        for y in range(ch):
            for x in range(min(cw, width - cell * cw)):
                out[y * out_w + pos * cw + x] = pixels[y * width + cell * cw + x]
    return out_w, out


def font_sample(font, lines):
    """Two lines of text in the 5 x 6 font, the second 7 pixels below the first."""
    width, pixels = font
    out_w = max(len(line) for line in lines) * skins.AMP_W
    out_h = 2 * skins.AMP_H + 1
    back = pixels[7 * width + 145]
    out = [back] * (out_w * out_h)
    for row, line in enumerate(lines):
        for pos, c in enumerate(line.lower()):
            if c.isalpha():
                col, glyph_row = ord(c) - 97, 0
            elif c == " ":
                col, glyph_row = 29, 0
            elif c in ":.":
                col, glyph_row = (12 if c == ":" else 27), 1
            else:
                col, glyph_row = ord(c) - 48, 1
            for y in range(skins.AMP_H):
                for x in range(skins.AMP_W):
                    src = (glyph_row * skins.AMP_H + y) * width + col * skins.AMP_W + x
                    out[(row * 7 + y) * out_w + pos * skins.AMP_W + x] = pixels[src]
    return out_w, out


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--sheet", default=os.path.join(os.path.dirname(__file__),
                                                        "contact_sheet.png"))
    parser.add_argument("--out", default=DATA, help="the data folder to write (default: data/)")
    args = parser.parse_args()
    data = args.out

    iml = os.path.join(data, "images", "iml")
    os.makedirs(iml, exist_ok=True)
    pictures = image_list()
    for index in range(1, 35):
        w, pixels = pictures[index]
        imgio.write_png(os.path.join(iml, "%02d.png" % index), w, len(pixels) // w, pixels)

    program_icons = []
    for size in (16, 32, 48, 64, 128):
        pixels = icons.program_icon(size)
        imgio.write_png(os.path.join(data, "images", "korvane-%d.png" % size), size, size, pixels)
        program_icons.append((size, pixels))
    # The tray's picture after a failed synchronisation.
    imgio.write_png(os.path.join(data, "images", "korvane-failed-32.png"), 32, 32,
                    icons.program_icon(32, failed=True))

    skin_dir = os.path.join(data, "Skins")
    strips = [skins.write_gif_strip(skin_dir, look) for look in skins.STRIPS]
    fonts = [skins.write_text_bmp(skin_dir, look) for look in skins.FONTS]

    ordered = [pictures[i] for i in range(1, 35)]
    samples = [strip_sample(strips[0], "12:45", True), strip_sample(strips[0], "9:05", False)]
    samples += [strip_sample(s, "10:38", True) for s in strips[1:]]
    fonts_used = [font_sample(f, [" 7  KRV v 4.0 ", "Dec 3:05:07 PM"]) for f in fonts]
    contact_sheet(args.sheet, [ordered[0:4], ordered[4:18], ordered[18:32], ordered[32:34],
                               program_icons, strips[:2], strips[2:] + fonts, samples,
                               fonts_used])


if __name__ == "__main__":
    main()
