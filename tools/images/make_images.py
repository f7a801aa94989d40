#!/usr/bin/env python3
"""Rebuilds the bar's built-in pictures in src/bar/res/ from the Tango icons.

    make_images.py               rebuild II, IM, SI, SM, T, M, B (16 px), their
                                 24 and 32 px forms (II24 ... B32) and zorv.ico
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
MARKER_W, MARKER_H = 22, 20   # at 16 px; the larger markers scale with the icon
# Icon sizes with their own pictures: 16 px at 100 %, 24 px at 150 % and 32 px
# at 200 % scaling. The 16 px resources have plain names (II), the others
# carry the size (II24, II32).
SIZES = (16, 24, 32)

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


def suffix(size):
    """Resource name ending of a size: "" for 16 px, else the size."""
    return "" if size == 16 else str(size)


def tango_path(tango, name, size):
    return os.path.join(tango, "%dx%d" % (size, size), name + ".png")


def load_rgba(tango, name, size=16):
    path = tango_path(tango, name, size)
    if not os.path.isfile(path):
        raise SystemExit("missing Tango icon: " + path)
    raw = subprocess.run(["convert", path, "-depth", "8", "rgba:-"],
                         check=True, stdout=subprocess.PIPE).stdout
    if len(raw) != size * size * 4:
        raise SystemExit("unexpected size of " + path)
    return [tuple(raw[i:i + 4]) for i in range(0, len(raw), 4)]


def pad(rgba, size, border):
    """A size x size picture in the middle of a clear border."""
    outer = size + 2 * border
    out = [(0, 0, 0, 0)] * (outer * outer)
    for y in range(size):
        start = (y + border) * outer + border
        out[start:start + size] = rgba[y * size:(y + 1) * size]
    return out


def shrink(rgba, size, target):
    """Area-average a size x size picture down to target x target. Colours
    are weighted by alpha so that clear pixels do not darken the edges.
    Integer weights: source pixel i covers [i*target, (i+1)*target) and
    target pixel d covers [d*size, (d+1)*size) on a common scale."""
    def weights(d):
        lo, hi = d * size, (d + 1) * size
        return [(i, min(hi, (i + 1) * target) - max(lo, i * target))
                for i in range(lo // target, (hi - 1) // target + 1)]
    area = size * size                    # the weights of one target pixel
    out = []
    for dy in range(target):
        for dx in range(target):
            sums = [0, 0, 0, 0]
            for sy, wy in weights(dy):
                for sx, wx in weights(dx):
                    r, g, b, a = rgba[sy * size + sx]
                    w = wy * wx * a
                    sums[0] += r * w
                    sums[1] += g * w
                    sums[2] += b * w
                    sums[3] += w
            if sums[3] == 0:
                out.append((0, 0, 0, 0))
                continue
            out.append(tuple((sums[k] + sums[3] // 2) // sums[3] for k in range(3))
                       + ((sums[3] + area // 2) // area,))
    return out


def load_icon(tango, name, size):
    """One icon at size px from a Tango drawing of that size, never from a
    smaller one. 24 px: Tango's 24x24, else its 22x22 with a clear 1-pixel
    border (the same picture, not resampled), else the 32x32 scaled down.
    Returns the pixels and where they came from ("24", "22" or "32")."""
    if size == 24 and not os.path.isfile(tango_path(tango, name, 24)):
        if os.path.isfile(tango_path(tango, name, 22)):
            return pad(load_rgba(tango, name, 22), 22, 1), "22"
        if os.path.isfile(tango_path(tango, name, 32)):
            return shrink(load_rgba(tango, name, 32), 32, 24), "32"
    return load_rgba(tango, name, size), str(size)


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

def nearest(palette, rgb, cache):
    """Index of the palette entry nearest to rgb, the squared differences
    weighted 2:4:3 for red, green and blue; the lowest index on a tie."""
    hit = cache.get(rgb)
    if hit is None:
        r, g, b = rgb
        hit = min((2 * (pr - r) ** 2 + 4 * (pg - g) ** 2 + 3 * (pb - b) ** 2, i)
                  for i, (pr, pg, pb) in enumerate(palette))[1]
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
    def error(box):                       # None: a single colour, cannot split
        return sum(_box_stats(box)[2]) if len(box) > 1 else None

    boxes = [sorted(histogram.items())]
    errors = [error(boxes[0])]
    while len(boxes) < count:
        scored = [(e, i) for i, e in enumerate(errors) if e is not None]
        if not scored:
            break
        _, worst = max(scored)
        halves = list(_split(boxes[worst]))
        boxes[worst:worst + 1] = halves
        errors[worst:worst + 1] = [error(h) for h in halves]
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
    """256 colours: black (the clear pixels), white, then the icons' own.
    Every icon size gets its own palette from its own pixels."""
    histogram = {}
    for pixels in icons:
        for rgb in pixels:
            if rgb is not None:
                histogram[rgb] = histogram.get(rgb, 0) + 1
    own = refine(median_cut(histogram, 254), histogram)
    palette = [(0, 0, 0), (255, 255, 255)] + sorted(own)
    return palette + [(0, 0, 0)] * (256 - len(palette))


# ---------------------------------------------------------------- strips

def place(icons, width, height, per_row, size=16):
    """Lay size x size icons ({position: pixels}) into a grid of rgb-or-None
    rows; icon pos sits at x = size*(pos mod per_row), y = size*(pos div per_row)."""
    grid = [[None] * width for _ in range(height)]
    for pos, pixels in icons.items():
        left, top = size * (pos % per_row), size * (pos // per_row)
        for i, rgb in enumerate(pixels):
            grid[top + i // size][left + i % size] = rgb
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


def load_all(tango, table, size, origins=None):
    """{number: rgba} of a data file's icons at size px. origins, when given,
    gets {(name, size): source size} for each icon that had no Tango drawing
    of that size."""
    origins = {} if origins is None else origins
    icons = {}
    for n, (name, _) in table.items():
        icons[n], origin = load_icon(tango, name, size)
        if origin != str(size):
            origins[(name, size)] = origin
    return icons


def build_builtin(tango, table, size=16, origins=None):
    bad = [n for n in table if not 1 <= n <= SLOTS]
    if bad:
        raise SystemExit("slot numbers out of range: %s" % bad)
    icons = {n - 1: flatten(rgba) for n, rgba in
             load_all(tango, table, size, origins).items()}
    palette = make_palette(icons[k] for k in sorted(icons))
    grid = place(icons, size * PER_ROW, size * (SLOTS // PER_ROW), PER_ROW, size)
    return encode_pair(grid, palette, 8)


def saturate(rgb, factor):
    h, l, s = colorsys.rgb_to_hls(*(c / 255 for c in rgb))
    return tuple(int(round(c * 255)) for c in colorsys.hls_to_rgb(h, l, min(1.0, s * factor)))


def build_small(tango, table, size=16, origins=None):
    if sorted(table) != list(range(SMALL)):
        raise SystemExit("small images must be numbered 0 to %d" % (SMALL - 1))
    icons = {n: [None if rgb is None else saturate(rgb, SMALL_SATURATION)
                 for rgb in flatten(rgba)]
             for n, rgba in load_all(tango, table, size, origins).items()}
    grid = place(icons, size * SMALL, size, SMALL, size)
    return encode_pair(grid, bmpfile.WINDOWS16, 4)


# --------------------------------------------------------------- markers
# Black pixels are the marker, white ones leave the bar as it is. The shapes
# are described at 16 px (a 22 x 20 cell, lines 2 pixels thick) and drawn
# at 24 and 32 px with every length scaled by 1.5 and 2: cells of 33 x 30
# and 44 x 40, lines 3 and 4 pixels thick. Arrow heads keep their 45 degree
# sides, so a head narrows by one pixel on each side per row.

def _px(length, size):
    """A length given at 16 px, in pixels at size px."""
    return int(length * size / 16 + 0.5)


def marker_size(size):
    return _px(MARKER_W, size), _px(MARKER_H, size)


def _blank_marker(size):
    width, height = marker_size(size)
    return [[1] * width for _ in range(height)]


def _ink(rows, x0, x1, y):
    for x in range(max(x0, 0), min(x1, len(rows[y]) - 1) + 1):
        rows[y][x] = 0


def _centred(rows, width, y):
    """Ink width pixels in the middle of row y. The cell width and every
    span have the same parity, so the shapes stay exactly symmetric."""
    left = len(rows[y]) - width
    assert left % 2 == 0, "span %d not centred in %d" % (width, len(rows[y]))
    _ink(rows, left // 2, left // 2 + width - 1, y)


def _head(rows, line, count, y_of):
    """An arrow head of count rows narrowing to the line width at its tip;
    y_of(k) is the row of the head's k-th row from its broad end."""
    for k in range(count):
        _centred(rows, line + 2 * (count - 1 - k), y_of(k))


def _head_rows(rows_at_16, size):
    """Rows of a head: its slope stays, so it grows with the cell."""
    return _px(rows_at_16 - 1, size) + 1


def marker_between(size=16):
    """"T": an insertion bar with arrow heads on the image's centre line, so
    that drawn half a button width left of a cell it marks the gap."""
    rows = _blank_marker(size)
    line = _px(2, size)                   # at 16 px the bar covers columns 10 and 11
    for y in range(len(rows)):
        _centred(rows, line, y)
    count = _head_rows(4, size)           # heads pointing at the gap
    _head(rows, line, count, lambda k: k)
    _head(rows, line, count, lambda k: len(rows) - 1 - k)
    return rows


def marker_into_arrow(size=16):
    """"M": a downward arrow in the middle of a cell (drop into the button)."""
    rows = _blank_marker(size)
    line, top = _px(2, size), _px(11, size)
    for y in range(_px(2, size), top + 1):
        _centred(rows, line, y)
    _head(rows, line, _head_rows(6, size), lambda k: top + k)
    return rows


def marker_onto(size=16):
    """"B": a frame around a whole button cell, leaving the icon (at 16 px
    rows 2..17) visible: the drop goes into that button's menu."""
    rows = _blank_marker(size)
    line = _px(2, size)
    height, width = len(rows), len(rows[0])
    for y in range(height):
        for x in range(width):
            if x < line or x >= width - line or y < line or y >= height - line:
                rows[y][x] = 0
    _head(rows, line, _head_rows(3, size), lambda k: line + k)   # a small notch pointing down
    return rows


def build_markers(size=16):
    return {name + suffix(size): bmpfile.encode_bmp(draw(size), 1, bmpfile.MONO)
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
    24: (5, 18, (2, 9, 16), 6, 7, 16),
    32: (7, 24, (3, 12, 21), 8, 10, 21),
    48: (10, 37, (4, 18, 32), 12, 15, 32),
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
    return bmpfile.encode_ico([(s, draw_program_icon(s)) for s in sorted(ICON_LAYOUT)])


# -------------------------------------------------------------- building

def build_all(tango, origins=None):
    """file name -> bytes of every picture of src/bar/res/. origins, when
    given, receives {(icon, size): source size} for the icons that had no
    Tango drawing of their size."""
    builtin = read_table(os.path.join(HERE, "builtin_icons.txt"))
    small = read_table(os.path.join(HERE, "small_icons.txt"))
    files = {}
    for size in SIZES:
        end = suffix(size) + ".bmp"
        files["II" + end], files["IM" + end] = build_builtin(tango, builtin, size, origins)
        files["SI" + end], files["SM" + end] = build_small(tango, small, size, origins)
        for name, data in build_markers(size).items():
            files[name + ".bmp"] = data
    files["zorv.ico"] = build_icon()
    return files


def write_outputs(files, out):
    os.makedirs(out, exist_ok=True)
    for name in sorted(files):
        with open(os.path.join(out, name), "wb") as f:
            f.write(files[name])
        print("wrote %-10s %6d bytes" % (name, len(files[name])))


# ----------------------------------------------------------------- check

def _expected():
    """file: (width, height, bits per pixel) of every picture."""
    files = {}
    for size in SIZES:
        end = suffix(size) + ".bmp"
        files["II" + end] = (size * PER_ROW, size * (SLOTS // PER_ROW), 8)
        files["IM" + end] = (size * PER_ROW, size * (SLOTS // PER_ROW), 1)
        files["SI" + end] = (size * SMALL, size, 4)
        files["SM" + end] = (size * SMALL, size, 1)
        for name in "TMB":
            files[name + end] = marker_size(size) + (1,)
    return files


EXPECTED = _expected()
RESOURCES = [name[:-4] for name in EXPECTED]


def opaque_count(mask, pos, per_row, size=16):
    left, top = size * (pos % per_row), size * (pos // per_row)
    return sum(mask.rgb(left + x, top + y) == (0, 0, 0)
               for y in range(size) for x in range(size))


def check_pair(pics, picture, mask, per_row, wanted, problems, size=16):
    """Mask is black/white; clear pixels are black; wanted icons are drawn."""
    pic, msk = pics[picture], pics[mask]
    if set(msk.palette) != {(0, 0, 0), (255, 255, 255)}:
        problems.append(mask + ": palette is not black and white")
    stray = [(x, y) for y in range(pic.height) for x in range(pic.width)
             if msk.rgb(x, y) != (0, 0, 0) and pic.rgb(x, y) != (0, 0, 0)]
    if stray:
        problems.append("%s: %d clear pixels are not black, first at %s" % (
            picture, len(stray), stray[0]))
    for pos in range(pic.width // size * (pic.height // size)):
        count = opaque_count(msk, pos, per_row, size)
        if (pos in wanted) != (count > 0):
            problems.append("%s: icon at position %d is %s" % (
                mask, pos, "empty" if pos in wanted else "drawn but not listed"))


def check_markers(pics, size, problems):
    end = suffix(size) + ".bmp"
    line = _px(2, size)
    for name in "TMB":
        rows = pics[name + end].rows
        ink = sum(v == 0 for row in rows for v in row)
        if not 0 < ink < len(rows) * len(rows[0]):
            problems.append(name + end + ": marker is blank or solid")
        elif any(row != row[::-1] for row in rows):
            problems.append(name + end + ": the marker is not symmetric")
    t = pics["T" + end].rows
    if sum(v == 0 for v in t[len(t) // 2]) != line:
        problems.append("T%s: the insertion bar is not %d pixels wide" % (end, line))
    b = pics["B" + end].rows
    if sum(v == 0 for v in b[len(b) // 2]) != 2 * line:
        problems.append("B%s: the frame is not %d pixels thick" % (end, line))


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
            continue
        pics[name] = pic
    return pics


def check_resources(out, problems):
    try:
        with open(os.path.join(out, "zorv.ico"), "rb") as f:
            sizes = bmpfile.decode_ico_sizes(f.read())
        if sizes != [(s, s, 32) for s in sorted(ICON_LAYOUT)]:
            problems.append("zorv.ico: images %s" % sizes)
    except (OSError, ValueError) as e:
        problems.append("zorv.ico: %s" % e)
    try:
        with open(os.path.join(out, "images.rc"), encoding="utf-8") as f:
            words = [line.split() for line in f if line.strip() and not line.startswith("//")]
    except OSError as e:
        problems.append("images.rc: %s" % e)
        return
    declared = {w[0]: w[1:] for w in words if len(w) >= 3}
    for name in RESOURCES:
        if declared.get(name) != ["BITMAP", '"bar/res/%s.bmp"' % name]:
            problems.append("images.rc: no BITMAP %s from bar/res/%s.bmp" % (name, name))
    if declared.get("1") != ["ICON", '"bar/res/zorv.ico"']:
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
    for size in SIZES:
        end = suffix(size) + ".bmp"
        ii, im, si, sm = ("II" + end, "IM" + end, "SI" + end, "SM" + end)
        if ii in pics and im in pics:
            check_pair(pics, ii, im, PER_ROW, {n - 1 for n in builtin}, problems, size)
            if opaque_count(pics[im], 2, PER_ROW, size) < size * size // 4:
                problems.append(im + ": icon 3 (the program fallback) is empty")
            palette = pics[ii].palette
            if len(palette) != 256 or palette[:2] != [(0, 0, 0), (255, 255, 255)]:
                problems.append(ii + ": palette is not 256 colours from black and white")
        if si in pics and sm in pics:
            check_pair(pics, si, sm, SMALL, set(range(SMALL)), problems, size)
            if pics[si].palette != bmpfile.WINDOWS16:
                problems.append(si + ": not the standard 16-colour palette")
        if all(n + end in pics for n in "TMB"):
            check_markers(pics, size, problems)
    check_resources(out, problems)
    check_doc(builtin, read_table(os.path.join(HERE, "small_icons.txt")), problems)
    if os.path.isdir(tango):
        for name, data in sorted(build_all(tango).items()):
            try:
                with open(os.path.join(out, name), "rb") as f:
                    same = f.read() == data
            except OSError:
                continue                  # reported above
            if not same:
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


def _sheet(pic, msk, per_row, count, columns, size=16):
    """Three panels side by side: icon over a loud checker (shows the mask
    at work), the raw picture and the raw mask; icons in a grid with gaps."""
    cell = size + 2
    rows_n = (count + columns - 1) // columns
    pw, ph = columns * cell, rows_n * cell
    canvas = [[(128, 128, 128)] * (3 * pw + 8) for _ in range(ph)]
    for pos in range(count):
        sx, sy = size * (pos % per_row), size * (pos // per_row)
        dx, dy = 1 + cell * (pos % columns), 1 + cell * (pos // columns)
        for y in range(size):
            for x in range(size):
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


def _marker_sheet(out):
    """One line per size: the markers T, M and B, then the program icon of
    that size (and of 48 px on the 32 px line), on the grey of the bar."""
    lines = []
    for size in SIZES:
        blocks = []
        for name in "TMB":
            marker = _decode(out, name + suffix(size) + ".bmp")
            blocks.append([[marker.rgb(x, y) for x in range(marker.width)]
                           for y in range(marker.height)])
        icons = [size] + ([s for s in sorted(ICON_LAYOUT) if s > size]
                          if size == SIZES[-1] else [])
        for icon in icons:
            pixels = draw_program_icon(icon)
            blocks.append([[pixels[y * icon + x][:3] if pixels[y * icon + x][3] else None
                            for x in range(icon)] for y in range(icon)])
        lines.append(blocks)
    width = max(sum(len(b[0]) + 4 for b in blocks) for blocks in lines) + 4
    height = sum(max(len(b) for b in blocks) + 4 for blocks in lines) + 4
    canvas = [[(192, 192, 192)] * width for _ in range(height)]
    top = 4
    for blocks in lines:
        left = 4
        for block in blocks:
            for y, row in enumerate(block):
                for x, rgb in enumerate(row):
                    if rgb is not None:
                        canvas[top + y][left + x] = rgb
            left += len(block[0]) + 4
        top += max(len(b) for b in blocks) + 4
    return canvas


def preview(out, target):
    os.makedirs(target, exist_ok=True)
    for size in SIZES:
        end = suffix(size)
        zoom = 3 if size == 16 else 2
        pic, msk = _decode(out, "II%s.bmp" % end), _decode(out, "IM%s.bmp" % end)
        _save_png(_sheet(pic, msk, PER_ROW, SLOTS, 20, size),
                  os.path.join(target, "builtin%s.png" % end), zoom)
        pic, msk = _decode(out, "SI%s.bmp" % end), _decode(out, "SM%s.bmp" % end)
        _save_png(_sheet(pic, msk, SMALL, SMALL, SMALL, size),
                  os.path.join(target, "small%s.png" % end), zoom + 1)
    _save_png(_marker_sheet(out), os.path.join(target, "markers.png"), 5)


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
    origins = {}
    write_outputs(build_all(args.tango, origins), args.out)
    for (name, size), origin in sorted(origins.items()):
        how = "the %s px drawing with a clear border" % origin if origin == "22" else \
              "the %s px drawing scaled down" % origin
        print("note: %s has no %d px drawing, used %s" % (name, size, how))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
