"""Checks the committed artwork: it is what the generator makes, and it has the layout the
program relies on. Needs ImageMagick's convert to decode the GIF and the BMP independently.

    python3 tools/artwork/check.py            # everything
    python3 tools/artwork/check.py --skins    # only the skins (what the tests run)
"""
import filecmp
import os
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import imgio  # noqa: E402
import skins  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.path.abspath(os.path.join(HERE, "..", "..", "data"))
GIFS = [os.path.join("Skins", look.file) for look in skins.STRIPS]
BMPS = [os.path.join("Skins", look.path) for look in skins.FONTS]
FILES = ([os.path.join("images", "iml", "%02d.png" % i) for i in range(1, 35)] +
         [os.path.join("images", "korvane-%d.png" % s) for s in (16, 32, 48, 64, 128)] +
         GIFS + BMPS)

failures = []


def expect(condition, message):
    if not condition:
        failures.append(message)


def decode(path):
    """(width, height, rgb bytes) as ImageMagick reads the file."""
    size = subprocess.run(["identify", "-format", "%w %h", path], capture_output=True,
                          check=True, text=True).stdout.split()
    rgb = subprocess.run(["convert", path, "rgb:-"], capture_output=True, check=True).stdout
    return int(size[0]), int(size[1]), rgb


def main():
    skins_only = "--skins" in sys.argv[1:]
    names = GIFS + BMPS if skins_only else FILES
    with tempfile.TemporaryDirectory() as fresh:
        if skins_only:
            for look in skins.STRIPS:
                skins.write_gif_strip(os.path.join(fresh, "Skins"), look)
            for look in skins.FONTS:
                skins.write_text_bmp(os.path.join(fresh, "Skins"), look)
        else:
            subprocess.run([sys.executable, os.path.join(HERE, "generate.py"), "--out", fresh,
                            "--sheet", os.path.join(fresh, "sheet.png")], check=True)
        for name in names:
            expect(os.path.exists(os.path.join(DATA, name)), name + " is not committed")
            expect(os.path.exists(os.path.join(DATA, name)) and
                   filecmp.cmp(os.path.join(fresh, name), os.path.join(DATA, name), shallow=False),
                   name + " differs from what the generator makes now")

    for i in range(1, 35) if not skins_only else []:
        w, h, pixels = imgio.read_png(os.path.join(DATA, "images", "iml", "%02d.png" % i))
        side = 64 if i == 4 else 32
        expect((w, h) == (side, side), "picture %d is %d x %d" % (i, w, h))
        if i == 2 or 5 <= i <= 32:
            expect(pixels[0][3] == 0 and pixels[-1][3] == 0, "flag %d fills its cell" % i)
            expect(pixels[16 * 32 + 16][3] == 255, "flag %d has a hole in its middle" % i)

    for name, look in zip(GIFS, skins.STRIPS):
        w, h, rgb = decode(os.path.join(DATA, name))
        expect((w, h) == (look.width, look.cell_h), "%s is %d x %d" % (name, w, h))
        expect(round(w / skins.CELLS) == look.cell_w, "%s: cell width %d" % (name, w))
        expect(rgb == b"".join(bytes(c) for c in skins.gif_strip_pixels(look)),
               name + " does not decode to the strip's pixels")
        pixel = lambda x, y: rgb[(y * w + x) * 3:(y * w + x) * 3 + 3]  # noqa: E731
        expect(pixel(w - 1, 1) == bytes(look.back), name + ": background at (w-1, 1)")
        expect(pixel(1, 1) == bytes(look.back), name + ": background at (1, 1)")

    for name, look in zip(BMPS, skins.FONTS):
        w, h, rgb = decode(os.path.join(DATA, name))
        bw, bh, pixels = skins.text_bmp_pixels(look)
        expect((w, h) == (bw, bh), "%s is %d x %d" % (name, w, h))
        expect(rgb == b"".join(bytes(c) for c in pixels), name + " does not decode to the font")
        expect(rgb[(7 * w + 145) * 3:(7 * w + 145) * 3 + 3] == bytes(look.back),
               name + ": background at (145, 7)")

    for message in failures:
        print("FAIL:", message)
    print("%d file(s) checked, %d failure(s)" % (len(names), len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
