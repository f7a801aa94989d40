#!/usr/bin/env python3
"""Rebuilds the bar's built-in pictures in src/bar/res/ from the Tango icons.

    make_images.py               rebuild II, IM, SI, SM, T, M, B and zorv.ico
    make_images.py --check       verify the committed pictures (and, when the
                                 Tango icons are installed, that a rebuild
                                 gives the same bytes)
    make_images.py --preview DIR write enlarged PNG previews into DIR

The icon choice lives in builtin_icons.txt and small_icons.txt beside this
script; docs/images.md documents the result.

Needs python3 and ImageMagick's `convert` (only to decode the PNG sources);
the icons come from the Debian package tango-icon-theme (public domain).
The output depends only on the sources, so every run gives the same bytes.
"""

import argparse
import colorsys
import os
import re
import subprocess
import sys

import bmpfile

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.normpath(os.path.join(HERE, "..", ".."))
DEFAULT_OUT = os.path.join(REPO, "src", "bar", "res")
DEFAULT_TANGO = "/usr/share/icons/Tango"
DOC = os.path.join(REPO, "docs", "images.md")

SLOTS = 200          # built-in icons "**1" ... "**200"
PER_ROW = 100        # icons per row of II/IM
SMALL = 16           # small images in SI/SM
MARKER_W, MARKER_H = 22, 20

# Half-transparent edge pixels that survive the mask are blended onto a light
# grey close to the usual 3D-face colours, the background they are drawn on.
FACE = (212, 208, 200)
ALPHA_OPAQUE = 128   # alpha from which a pixel counts as part of the icon
# Tango's soft tones fall onto the greys of the 16-colour palette; a little
# more saturation keeps blues, greens and reds recognisable there.
SMALL_SATURATION = 1.5


# ----------------------------------------------------------------- sources

def read_table(path):
    """number -> (tango name, description) from one of the data files."""
    table = {}
    with open(path, encoding="utf-8") as f:
        for lineno, line in enumerate(f, 1):
            line = line.strip()
            if not line or line.startswith("#"):
                continue
            parts = line.split(None, 2)
            if len(parts) < 2:
                raise SystemExit("%s:%d: expected 'number name description'" % (path, lineno))
            number = int(parts[0])
            if number in table:
                raise SystemExit("%s:%d: number %d listed twice" % (path, lineno, number))
            table[number] = (parts[1], parts[2] if len(parts) > 2 else "")
    names = [name for name, _ in table.values()]
    if len(set(names)) != len(names):
        raise SystemExit("%s: an icon is listed twice" % path)
    return table


def load_rgba(tango, name, size=16):
    path = os.path.join(tango, "%dx%d" % (size, size), name + ".png")
    if not os.path.isfile(path):
        raise SystemExit("missing Tango icon: " + path)
    raw = subprocess.run(["convert", path, "-depth", "8", "rgba:-"],
                         check=True, stdout=subprocess.PIPE).stdout
    if len(raw) != size * size * 4:
        raise SystemExit("unexpected size of " + path)
    return [tuple(raw[i:i + 4]) for i in range(0, len(raw), 4)]


def flatten(rgba):
    """Threshold the alpha: an (r, g, b) per opaque pixel, None where clear."""
    out = []
    for r, g, b, a in rgba:
        if a < ALPHA_OPAQUE:
            out.append(None)
            continue
        out.append(tuple((c * a + f * (255 - a) + 127) // 255 for c, f in zip((r, g, b), FACE)))
    return out


# -------------------------------------------------------------- colours

def distance(p, q):
    dr, dg, db = p[0] - q[0], p[1] - q[1], p[2] - q[2]
    return 2 * dr * dr + 4 * dg * dg + 3 * db * db


def nearest(palette, rgb, cache):
    hit = cache.get(rgb)
    if hit is None:
        hit = min(range(len(palette)), key=lambda i: (distance(palette[i], rgb), i))
        cache[rgb] = hit
    return hit


def _box_stats(box):
    total = sum(n for _, n in box)
    mean = [sum(c[k] * n for c, n in box) / total for k in range(3)]
    spread = [sum(n * (c[k] - mean[k]) ** 2 for c, n in box) for k in range(3)]
    return total, mean, spread


def _split(box):
    _, _, spread = _box_stats(box)
    axis = max(range(3), key=lambda k: (spread[k], -k))
    ordered = sorted(box, key=lambda cn: (cn[0][axis], cn[0]))
    half = sum(n for _, n in ordered) / 2
    run = 0
    for cut, (_, n) in enumerate(ordered, 1):
        run += n
        if run >= half:
            break
    cut = min(max(cut, 1), len(ordered) - 1)
    return ordered[:cut], ordered[cut:]


def median_cut(histogram, count):
    """Deterministic median cut: split the box with the largest error."""
    boxes = [sorted(histogram.items())]
    while len(boxes) < count:
        scored = [(sum(_box_stats(b)[2]), i) for i, b in enumerate(boxes) if len(b) > 1]
        if not scored:
            break
        _, worst = max(scored)
        boxes[worst:worst + 1] = list(_split(boxes[worst]))
    return [tuple(int(round(v)) for v in _box_stats(b)[1]) for b in boxes]


def refine(palette, histogram, rounds=2):
    """A few k-means rounds pull the entries onto the colours actually used."""
    for _ in range(rounds):
        sums = [[0, 0, 0, 0] for _ in palette]
        cache = {}
        for rgb, n in sorted(histogram.items()):
            s = sums[nearest(palette, rgb, cache)]
            s[0] += rgb[0] * n
            s[1] += rgb[1] * n
            s[2] += rgb[2] * n
            s[3] += n
        palette = [tuple(int(round(s[k] / s[3])) for k in range(3)) if s[3] else p
                   for s, p in zip(sums, palette)]
    return palette


def make_palette(icons):
    """256 colours: black (the clear pixels), white, then the icons' own."""
    histogram = {}
    for pixels in icons:
        for rgb in pixels:
            if rgb is not None:
                histogram[rgb] = histogram.get(rgb, 0) + 1
    own = refine(median_cut(histogram, 254), histogram)
    palette = [(0, 0, 0), (255, 255, 255)] + sorted(own)
    return palette + [(0, 0, 0)] * (256 - len(palette))


# ---------------------------------------------------------------- strips

def place(icons, width, height, per_row):
    """Lay 16x16 icons ({position: pixels}) into a grid of rgb-or-None rows."""
    grid = [[None] * width for _ in range(height)]
    for pos, pixels in icons.items():
        left, top = 16 * (pos % per_row), 16 * (pos // per_row)
        for i, rgb in enumerate(pixels):
            grid[top + i // 16][left + i % 16] = rgb
    return grid


def encode_pair(grid, palette, bpp):
    """Picture and mask of a grid; clear pixels are black in the picture so
    that mask-AND then picture-OR drawing leaves the background alone."""
    cache = {}
    picture = [[0 if rgb is None else nearest(palette, rgb, cache) for rgb in row]
               for row in grid]
    mask = [[1 if rgb is None else 0 for rgb in row] for row in grid]
    return (bmpfile.encode_bmp(picture, bpp, palette),
            bmpfile.encode_bmp(mask, 1, bmpfile.MONO))


def build_builtin(tango, table):
    icons = {n - 1: flatten(load_rgba(tango, name)) for n, (name, _) in table.items()}
    bad = [n for n in table if not 1 <= n <= SLOTS]
    if bad:
        raise SystemExit("slot numbers out of range: %s" % bad)
    palette = make_palette(icons[k] for k in sorted(icons))
    grid = place(icons, 16 * PER_ROW, 16 * (SLOTS // PER_ROW), PER_ROW)
    return encode_pair(grid, palette, 8)


def saturate(rgb, factor):
    h, l, s = colorsys.rgb_to_hls(*(c / 255 for c in rgb))
    return tuple(int(round(c * 255)) for c in colorsys.hls_to_rgb(h, l, min(1.0, s * factor)))


def build_small(tango, table):
    if sorted(table) != list(range(SMALL)):
        raise SystemExit("small images must be numbered 0 to %d" % (SMALL - 1))
    icons = {n: [None if rgb is None else saturate(rgb, SMALL_SATURATION)
                 for rgb in flatten(load_rgba(tango, name))]
             for n, (name, _) in table.items()}
    grid = place(icons, 16 * SMALL, 16, SMALL)
    return encode_pair(grid, bmpfile.WINDOWS16, 4)


# --------------------------------------------------------------- markers
# Black pixels are the marker, white ones leave the bar as it is.

def _blank_marker():
    return [[1] * MARKER_W for _ in range(MARKER_H)]


def _ink(rows, x0, x1, y):
    for x in range(max(x0, 0), min(x1, MARKER_W - 1) + 1):
        rows[y][x] = 0


def marker_between():
    """"T": an insertion bar with arrow heads on the image's centre line, so
    that drawn half a button width left of a cell it marks the gap."""
    rows = _blank_marker()
    mid = MARKER_W // 2 - 1               # the bar covers columns 10 and 11
    for y in range(MARKER_H):
        _ink(rows, mid, mid + 1, y)
    for k in range(4):                    # heads pointing at the gap
        _ink(rows, mid - 3 + k, mid + 4 - k, k)
        _ink(rows, mid - 3 + k, mid + 4 - k, MARKER_H - 1 - k)
    return rows


def marker_into_arrow():
    """"M": a downward arrow in the middle of a cell (drop into the button)."""
    rows = _blank_marker()
    mid = MARKER_W // 2 - 1
    for y in range(2, 12):
        _ink(rows, mid, mid + 1, y)
    for k in range(6):
        _ink(rows, mid - 5 + k, mid + 6 - k, 11 + k)
    return rows


def marker_onto():
    """"B": a two-pixel frame around a whole button cell, leaving the icon
    (at 2..17) visible: the drop goes into that button's menu."""
    rows = _blank_marker()
    for y in range(MARKER_H):
        for x in range(MARKER_W):
            if x < 2 or x >= MARKER_W - 2 or y < 2 or y >= MARKER_H - 2:
                rows[y][x] = 0
    for k in range(3):                    # a small notch pointing down
        _ink(rows, MARKER_W // 2 - 3 + k, MARKER_W // 2 + 2 - k, 2 + k)
    return rows


def build_markers():
    return {name: bmpfile.encode_bmp(draw(), 1, bmpfile.MONO)
            for name, draw in (("T", marker_between), ("M", marker_into_arrow),
                               ("B", marker_onto))}


# ---------------------------------------------------------- program icon
# A small launcher bar in Tango colours: an aluminium strip with three
# coloured buttons. Drawn, not taken from a theme, so it is our own mark.

def _hex(text):
    return tuple(int(text[i:i + 2], 16) for i in (0, 2, 4))


ALUMINIUM = (_hex("eeeeec"), _hex("babdb6"), _hex("2e3436"))
BUTTONS = [(_hex("729fcf"), _hex("204a87")), (_hex("8ae234"), _hex("4e9a06")),
           (_hex("fcaf3e"), _hex("ce5c00"))]
ICON_LAYOUT = {  # size: (bar top, bar bottom, button lefts, width, top, bottom)
    16: (3, 12, (2, 6, 10), 4, 5, 10),
    32: (7, 24, (3, 12, 21), 8, 10, 21),
}


def _fill(canvas, size, x0, y0, x1, y1, rgb):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            canvas[y * size + x] = rgb + (255,)


def draw_program_icon(size):
    top, bottom, lefts, bw, btop, bbottom = ICON_LAYOUT[size]
    light, dark, edge = ALUMINIUM
    canvas = [(0, 0, 0, 0)] * (size * size)
    _fill(canvas, size, 0, top, size - 1, bottom, edge)
    for y in range(top + 1, bottom):
        t = (y - top - 1) / max(bottom - top - 2, 1)
        shade = tuple(int(round(a + (b - a) * t)) for a, b in zip(light, dark))
        _fill(canvas, size, 1, y, size - 2, y, shade)
    for y in (top, bottom):               # rounded ends
        canvas[y * size] = canvas[y * size + size - 1] = (0, 0, 0, 0)
    for x0, (fill, border) in zip(lefts, BUTTONS):
        _fill(canvas, size, x0, btop, x0 + bw - 1, bbottom, border)
        _fill(canvas, size, x0 + 1, btop + 1, x0 + bw - 2, bbottom - 1, fill)
        if bw > 4:                        # a highlight where the button has room
            _fill(canvas, size, x0 + 1, btop + 1, x0 + bw - 2, btop + 1, (255, 255, 255))
    return canvas


def build_icon():
    return bmpfile.encode_ico([(s, draw_program_icon(s)) for s in (16, 32)])


# -------------------------------------------------------------- building

def build_all(tango):
    """file name -> bytes of every picture of src/bar/res/."""
    builtin = read_table(os.path.join(HERE, "builtin_icons.txt"))
    small = read_table(os.path.join(HERE, "small_icons.txt"))
    files = {}
    files["II.bmp"], files["IM.bmp"] = build_builtin(tango, builtin)
    files["SI.bmp"], files["SM.bmp"] = build_small(tango, small)
    for name, data in build_markers().items():
        files[name + ".bmp"] = data
    files["zorv.ico"] = build_icon()
    return files


def write_outputs(files, out):
    os.makedirs(out, exist_ok=True)
    for name in sorted(files):
        with open(os.path.join(out, name), "wb") as f:
            f.write(files[name])
        print("wrote %-9s %6d bytes" % (name, len(files[name])))


# ----------------------------------------------------------------- check

EXPECTED = {  # file: (width, height, bits per pixel)
    "II.bmp": (16 * PER_ROW, 16 * (SLOTS // PER_ROW), 8),
    "IM.bmp": (16 * PER_ROW, 16 * (SLOTS // PER_ROW), 1),
    "SI.bmp": (16 * SMALL, 16, 4),
    "SM.bmp": (16 * SMALL, 16, 1),
    "T.bmp": (MARKER_W, MARKER_H, 1),
    "M.bmp": (MARKER_W, MARKER_H, 1),
    "B.bmp": (MARKER_W, MARKER_H, 1),
}
RESOURCES = ["II", "IM", "SI", "SM", "T", "M", "B"]


def opaque_count(mask, pos, per_row):
    left, top = 16 * (pos % per_row), 16 * (pos // per_row)
    return sum(mask.rgb(left + x, top + y) == (0, 0, 0) for y in range(16) for x in range(16))


def check_pair(pics, picture, mask, per_row, wanted, problems):
    """Mask is black/white; clear pixels are black; wanted icons are drawn."""
    pic, msk = pics[picture], pics[mask]
    if set(msk.palette) != {(0, 0, 0), (255, 255, 255)}:
        problems.append(mask + ": palette is not black and white")
    stray = [(x, y) for y in range(pic.height) for x in range(pic.width)
             if msk.rgb(x, y) != (0, 0, 0) and pic.rgb(x, y) != (0, 0, 0)]
    if stray:
        problems.append("%s: %d clear pixels are not black, first at %s" % (
            picture, len(stray), stray[0]))
    for pos in range(pic.width // 16 * (pic.height // 16)):
        count = opaque_count(msk, pos, per_row)
        if (pos in wanted) != (count > 0):
            problems.append("%s: icon at position %d is %s" % (
                mask, pos, "empty" if pos in wanted else "drawn but not listed"))


def check_markers(pics, problems):
    for name in "TMB":
        ink = sum(v == 0 for row in pics[name + ".bmp"].rows for v in row)
        if not 0 < ink < MARKER_W * MARKER_H:
            problems.append(name + ".bmp: marker is blank or solid")
    t = pics["T.bmp"].rows
    if any(row != row[::-1] for row in t):
        problems.append("T.bmp: the insertion marker is not centred")


def check_files(out, problems):
    pics = {}
    for name, (w, h, bpp) in EXPECTED.items():
        try:
            with open(os.path.join(out, name), "rb") as f:
                pic = bmpfile.decode_bmp(f.read())
        except (OSError, ValueError) as e:
            problems.append("%s: %s" % (name, e))
            continue
        if (pic.width, pic.height, pic.bpp) != (w, h, bpp):
            problems.append("%s: %dx%d at %d bpp, expected %dx%d at %d bpp" % (
                name, pic.width, pic.height, pic.bpp, w, h, bpp))
        pics[name] = pic
    return pics


def check_resources(out, problems):
    try:
        with open(os.path.join(out, "zorv.ico"), "rb") as f:
            sizes = bmpfile.decode_ico_sizes(f.read())
        if sizes != [(16, 16, 32), (32, 32, 32)]:
            problems.append("zorv.ico: images %s" % sizes)
    except (OSError, ValueError) as e:
        problems.append("zorv.ico: %s" % e)
    try:
        with open(os.path.join(out, "images.rc"), encoding="utf-8") as f:
            words = [line.split() for line in f if line.strip() and not line.startswith("//")]
    except OSError as e:
        problems.append("images.rc: %s" % e)
        return
    declared = {w[0]: w[1] for w in words if len(w) >= 3}
    for name in RESOURCES:
        if declared.get(name) != "BITMAP":
            problems.append("images.rc: no BITMAP " + name)
    if declared.get("1") != "ICON":
        problems.append("images.rc: no ICON 1")


def check_doc(builtin, small, problems):
    """The tables of docs/images.md must name the same icons as the data."""
    try:
        with open(DOC, encoding="utf-8") as f:
            text = f.read()
    except OSError as e:
        problems.append("images.md: %s" % e)
        return
    found_builtin = {int(n): name for n, name in
                     re.findall(r"^\| (\d+) \| `\*\*\d+` \| `([^`]+)` \|", text, re.M)}
    found_small = {int(n): name for n, name in
                   re.findall(r"^\| (\d+) \| \d+ \| `([^`]+)` \|", text, re.M)}
    for label, found, table in (("built-in", found_builtin, builtin),
                                ("small", found_small, small)):
        if found != {n: name for n, (name, _) in table.items()}:
            problems.append("images.md: the %s icon table differs from the data file" % label)


def check(out, tango):
    problems = []
    pics = check_files(out, problems)
    builtin = read_table(os.path.join(HERE, "builtin_icons.txt"))
    if "II.bmp" in pics and "IM.bmp" in pics:
        check_pair(pics, "II.bmp", "IM.bmp", PER_ROW, {n - 1 for n in builtin}, problems)
        if opaque_count(pics["IM.bmp"], 2, PER_ROW) < 64:
            problems.append("IM.bmp: icon 3 (the program fallback) is empty")
    if "SI.bmp" in pics and "SM.bmp" in pics:
        check_pair(pics, "SI.bmp", "SM.bmp", SMALL, set(range(SMALL)), problems)
        if pics["SI.bmp"].palette != bmpfile.WINDOWS16:
            problems.append("SI.bmp: not the standard 16-colour palette")
    if all(n + ".bmp" in pics for n in "TMB"):
        check_markers(pics, problems)
    check_resources(out, problems)
    check_doc(builtin, read_table(os.path.join(HERE, "small_icons.txt")), problems)
    if os.path.isdir(tango):
        for name, data in sorted(build_all(tango).items()):
            with open(os.path.join(out, name), "rb") as f:
                if f.read() != data:
                    problems.append(name + ": differs from a fresh build")
    else:
        print("note: %s not installed, skipped the rebuild comparison" % tango)
    for p in problems:
        print("FAIL " + p)
    print("check: %s" % ("%d problem(s)" % len(problems) if problems else "all pictures OK"))
    return 1 if problems else 0


# --------------------------------------------------------------- preview

def _checker(x, y):
    return (255, 0, 255) if (x // 4 + y // 4) % 2 else (0, 200, 255)


def _sheet(pic, msk, per_row, count, columns):
    """Three panels side by side: icon over a loud checker (shows the mask
    at work), the raw picture and the raw mask; icons in a grid with gaps."""
    cell = 18
    rows_n = (count + columns - 1) // columns
    pw, ph = columns * cell, rows_n * cell
    canvas = [[(128, 128, 128)] * (3 * pw + 8) for _ in range(ph)]
    for pos in range(count):
        sx, sy = 16 * (pos % per_row), 16 * (pos // per_row)
        dx, dy = 1 + cell * (pos % columns), 1 + cell * (pos // columns)
        for y in range(16):
            for x in range(16):
                colour, clear = pic.rgb(sx + x, sy + y), msk.rgb(sx + x, sy + y) != (0, 0, 0)
                canvas[dy + y][dx + x] = _checker(x, y) if clear else colour
                canvas[dy + y][pw + 4 + dx + x] = colour
                canvas[dy + y][2 * pw + 8 + dx + x] = msk.rgb(sx + x, sy + y)
    return canvas


def _save_png(canvas, path, scale):
    h, w = len(canvas), len(canvas[0])
    ppm = b"P6 %d %d 255\n" % (w, h) + b"".join(bytes(c) for row in canvas for c in row)
    subprocess.run(["convert", "ppm:-", "-scale", "%d%%" % (100 * scale), path],
                   input=ppm, check=True)
    print("preview " + path)


def _decode(out, name):
    with open(os.path.join(out, name), "rb") as f:
        return bmpfile.decode_bmp(f.read())


def preview(out, target):
    os.makedirs(target, exist_ok=True)
    pic, msk = _decode(out, "II.bmp"), _decode(out, "IM.bmp")
    _save_png(_sheet(pic, msk, PER_ROW, SLOTS, 20), os.path.join(target, "builtin.png"), 3)
    pic, msk = _decode(out, "SI.bmp"), _decode(out, "SM.bmp")
    _save_png(_sheet(pic, msk, SMALL, SMALL, SMALL), os.path.join(target, "small.png"), 4)
    canvas = [[(192, 192, 192)] * (4 * (MARKER_W + 4) + 36) for _ in range(36)]
    for i, name in enumerate("TMB"):
        marker = _decode(out, name + ".bmp")
        for y in range(MARKER_H):
            for x in range(MARKER_W):
                canvas[2 + y][2 + i * (MARKER_W + 4) + x] = marker.rgb(x, y)
    for size, left in ((16, 3 * (MARKER_W + 4) + 2), (32, 3 * (MARKER_W + 4) + 22)):
        for i, (r, g, b, a) in enumerate(draw_program_icon(size)):
            x, y = i % size, i // size
            if a:
                canvas[2 + y][left + x] = (r, g, b)
    _save_png(canvas, os.path.join(target, "markers.png"), 6)


# ------------------------------------------------------------------ main

def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--check", action="store_true", help="verify the pictures")
    parser.add_argument("--preview", metavar="DIR", help="write enlarged PNG previews")
    parser.add_argument("--tango", default=DEFAULT_TANGO, help="Tango icon theme folder")
    parser.add_argument("--out", default=DEFAULT_OUT, help="output folder")
    args = parser.parse_args(argv)
    if args.check:
        return check(args.out, args.tango)
    if args.preview:
        preview(args.out, args.preview)
        return 0
    if not os.path.isdir(args.tango):
        raise SystemExit("%s not found: apt-get install tango-icon-theme" % args.tango)
    write_outputs(build_all(args.tango), args.out)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
