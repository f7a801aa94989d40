"""Minimal writers and readers for the picture formats the bar ships.

Only what the resources need: uncompressed palette BMPs of 1, 4 and 8 bits
per pixel (BITMAPINFOHEADER, bottom-up rows padded to 4 bytes) and icon files
holding 32-bit DIB images with their AND masks.
"""

import struct

# The 16 colours of the standard Windows palette, in the order 4-bit DIBs use.
WINDOWS16 = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]

# Masks and markers: index 0 is black (opaque / ink), index 1 white (clear).
MONO = [(0, 0, 0), (255, 255, 255)]

PELS_PER_METER = 2835  # 72 dpi; fixed so the files are byte-identical per run


def _row_stride(width, bpp):
    return ((width * bpp + 31) // 32) * 4


def _pack_row(indices, bpp, stride):
    out = bytearray(stride)
    per_byte = 8 // bpp
    for x, value in enumerate(indices):
        shift = 8 - bpp * (x % per_byte + 1)
        out[x // per_byte] |= (value & ((1 << bpp) - 1)) << shift
    return bytes(out)


def encode_bmp(rows, bpp, palette):
    """rows: top-down list of lists of palette indices."""
    height = len(rows)
    width = len(rows[0])
    stride = _row_stride(width, bpp)
    pixels = b"".join(_pack_row(row, bpp, stride) for row in reversed(rows))
    pal = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
    offset = 14 + 40 + len(pal)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bpp, 0, len(pixels),
                       PELS_PER_METER, PELS_PER_METER, len(palette), 0)
    head = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return head + info + pal + pixels


class Bmp:
    """A decoded palette BMP: width, height, bpp, palette and index rows."""

    def __init__(self, width, height, bpp, palette, rows):
        self.width, self.height, self.bpp = width, height, bpp
        self.palette, self.rows = palette, rows

    def rgb(self, x, y):
        return self.palette[self.rows[y][x]]


def decode_bmp(data):
    magic, size, _, _, offset = struct.unpack_from("<2sIHHI", data, 0)
    if magic != b"BM" or size != len(data):
        raise ValueError("not a complete BMP file")
    (hsize, width, height, planes, bpp, compression, _, _, _, used,
     _) = struct.unpack_from("<IiiHHIIiiII", data, 14)
    if hsize != 40 or planes != 1 or compression != 0 or height <= 0:
        raise ValueError("unsupported BMP header")
    if bpp not in (1, 4, 8):
        raise ValueError("unsupported bit depth %d" % bpp)
    count = used or (1 << bpp)
    palette = []
    for i in range(count):
        b, g, r, _ = struct.unpack_from("<BBBB", data, 54 + 4 * i)
        palette.append((r, g, b))
    stride = _row_stride(width, bpp)
    per_byte = 8 // bpp
    rows = []
    for y in range(height):
        start = offset + (height - 1 - y) * stride
        line = data[start:start + stride]
        row = []
        for x in range(width):
            shift = 8 - bpp * (x % per_byte + 1)
            row.append((line[x // per_byte] >> shift) & ((1 << bpp) - 1))
        rows.append(row)
    return Bmp(width, height, bpp, palette, rows)


def _icon_image(rgba, size):
    """One icon image: 32-bit BGRA rows bottom-up, then the AND mask."""
    info = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = bytearray()
    for y in reversed(range(size)):
        for x in range(size):
            r, g, b, a = rgba[y * size + x]
            colour += bytes((b, g, r, a))
    stride = _row_stride(size, 1)
    mask = b"".join(
        _pack_row([1 if rgba[y * size + x][3] == 0 else 0 for x in range(size)], 1, stride)
        for y in reversed(range(size)))
    return info + bytes(colour) + mask


def encode_ico(images):
    """images: list of (size, rgba list of size*size (r, g, b, a) tuples)."""
    blobs = [(size, _icon_image(rgba, size)) for size, rgba in images]
    out = bytearray(struct.pack("<HHH", 0, 1, len(blobs)))
    offset = 6 + 16 * len(blobs)
    for size, blob in blobs:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    for _, blob in blobs:
        out += blob
    return bytes(out)


def decode_ico_sizes(data):
    """(width, height, bits) of each image of an icon file."""
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    if reserved != 0 or kind != 1:
        raise ValueError("not an icon file")
    result = []
    for i in range(count):
        w, h, _, _, _, bits, length, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        if offset + length > len(data):
            raise ValueError("icon image outside the file")
        result.append((w or 256, h or 256, bits))
    return result
