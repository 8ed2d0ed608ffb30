#!/usr/bin/env python3
"""Checks that a window's close box in a screenshot shows the close glyph, not a letter.

Without the system's symbol font, Wine draws the caption buttons' glyphs as the letters they are
coded as: the close box shows "r". The close glyph is a cross, the same mirrored left to right
and top to bottom; a letter is not. The black pixels in the caption's right end are taken as the
glyph (the button's shadows are grey, the caption coloured).
   caption_glyph.py <screenshot.png> <left,top,right,bottom of the window on it>
Exit 0 when the glyph is a cross; 1, saying what was found, otherwise."""
import subprocess
import sys

DARK = 48           # a glyph pixel: every channel below this
CORNER_WIDTH = 40   # the close box lies in this many pixels at the caption's right end
CORNER_HEIGHT = 30
MATCHING = 0.85     # share of glyph pixels whose mirror images are glyph pixels too


def grey_pixels(png, left, top, width, height):
    """The region as rows of grey levels (0-255), cut by ImageMagick."""
    raw = subprocess.run(["convert", png, "-crop", f"{width}x{height}+{left}+{top}", "+repage",
                          "-colorspace", "gray", "-depth", "8", "gray:-"],
                         check=True, capture_output=True).stdout
    if len(raw) != width * height:
        sys.exit(f"caption_glyph: the region {width}x{height}+{left}+{top} is not inside {png}")
    return [raw[row * width:(row + 1) * width] for row in range(height)]


def mirrored_share(points):
    """How many of the points have their left-right and top-bottom mirror images among them
    (within a pixel: an even-sized cross has no single centre)."""
    xs = [x for x, _ in points]
    ys = [y for _, y in points]
    centre_x, centre_y = min(xs) + max(xs), min(ys) + max(ys)
    near = {(x + dx, y + dy) for x, y in points for dx in (-1, 0, 1) for dy in (-1, 0, 1)}
    both = sum(1 for x, y in points if (centre_x - x, y) in near and (x, centre_y - y) in near)
    return both / len(points)


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    left, top, right, bottom = (int(v) for v in sys.argv[2].split(","))
    width, height = min(CORNER_WIDTH, right - left), min(CORNER_HEIGHT, bottom - top)
    rows = grey_pixels(sys.argv[1], right - width, top, width, height)
    glyph = [(x, y) for y, row in enumerate(rows) for x, level in enumerate(row) if level < DARK]
    if len(glyph) < 6:
        print(f"caption_glyph: no glyph in the close box ({len(glyph)} black pixels)")
        return 1
    share = mirrored_share(glyph)
    if share < MATCHING:
        print(f"caption_glyph: the close box shows no cross: {len(glyph)} black pixels, "
              f"{share:.0%} of them mirrored (a letter where the glyph should be?)")
        return 1
    print(f"caption_glyph: a cross ({len(glyph)} black pixels, {share:.0%} mirrored)")
    return 0


sys.exit(main())
