#!/usr/bin/env python3
"""Draws Vexlo's artwork: the 16 x 15 toolbox bitmaps of Tarvo's controls and
the application icon (SVG, and PNGs in the icon sizes). Run by hand when the
artwork changes; its results are committed. Needs nothing but Python."""
import math
import os
import struct
import sys
import zlib

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))

# Toolbox bitmaps, one character per pixel, on the button face.
PALETTE = {
    ".": (0xC0, 0xC0, 0xC0),  # button face
    "b": (0x00, 0x00, 0x80),  # active caption, dark
    "B": (0x10, 0x84, 0xD0),  # active caption, light
    "w": (0xFF, 0xFF, 0xFF),
    "k": (0x00, 0x00, 0x00),
    "o": (0xE0, 0x60, 0x00),  # glow, deep
    "y": (0xFF, 0xD0, 0x40),  # glow, bright
}

SHAPED_LABEL = [  # resource 30001: a caption on a disc
    "................",
    ".....bbbbbb.....",
    "...bbBBBBBBbb...",
    "..bBBBBwwBBBBb..",
    "..bBBBwwwBBBBb..",
    ".bBBBBBwwBBBBBb.",
    ".bBBBBBwwBBBBBb.",
    ".bBBBBBwwBBBBBb.",
    ".bBBBBBwwBBBBBb.",
    ".bBBBBBwwBBBBBb.",
    "..bBBBwwwwBBBb..",
    "..bBBBBBBBBBBb..",
    "...bbBBBBBBbb...",
    ".....bbbbbb.....",
    "................",
]

GLOWING_LABEL = [  # resource 30000: a caption whose colour pulses
    "................",
    "....y..y...y....",
    ".....y.oo.y.....",
    "......oooo......",
    "..y..oo..oo..y..",
    ".....oo..oo.....",
    "....oo....oo....",
    "....oooooooo....",
    "...oo......oo...",
    "...oo......oo...",
    "..oo........oo..",
    "................",
    ".kkkkkkkkkkkkkk.",
    ".k............k.",
    ".kkkkkkkkkkkkkk.",
]


def write_bmp(path, rows):
    """A 24-bit uncompressed BMP, rows bottom-up, each padded to 4 bytes."""
    height, width = len(rows), len(rows[0])
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):
        assert len(row) == width, row
        for char in row:
            r, g, b = PALETTE[char]
            pixels += bytes((b, g, r))
        pixels += bytes(stride - width * 3)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as out:
        out.write(header + info + pixels)


# The application icon: a rounded blue tile, an orange step disc, and a white
# password field with three dots. Coordinates on a 256 grid.
TILE = (16, 16, 224, 224, 40)  # x, y, w, h, corner radius
DISC = (128, 104, 64)          # centre x, centre y, radius
FIELD = (40, 168, 176, 48, 14)
DOTS = [(84, 192, 9), (128, 192, 9), (172, 192, 9)]
TILE_COLOUR = (0x1F, 0x4E, 0x8C)
DISC_COLOUR = (0xF2, 0xA9, 0x00)
FIELD_COLOUR = (0xFF, 0xFF, 0xFF)
DOT_COLOUR = (0x1F, 0x2A, 0x3A)


def hex_colour(c):
    return "#%02x%02x%02x" % c


def icon_svg():
    x, y, w, h, r = TILE
    fx, fy, fw, fh, fr = FIELD
    cx, cy, cr = DISC
    dots = "\n".join('  <circle cx="%d" cy="%d" r="%d" fill="%s"/>' % (dx, dy, dr, hex_colour(DOT_COLOUR))
                     for dx, dy, dr in DOTS)
    return f"""<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 256 256">
  <rect x="{x}" y="{y}" width="{w}" height="{h}" rx="{r}" fill="{hex_colour(TILE_COLOUR)}"/>
  <circle cx="{cx}" cy="{cy}" r="{cr}" fill="{hex_colour(DISC_COLOUR)}"/>
  <rect x="{fx}" y="{fy}" width="{fw}" height="{fh}" rx="{fr}" fill="{hex_colour(FIELD_COLOUR)}"/>
{dots}
</svg>
"""


def inside_rounded(px, py, rect):
    x, y, w, h, r = rect
    if px < x or py < y or px > x + w or py > y + h:
        return False
    nx = min(max(px, x + r), x + w - r)
    ny = min(max(py, y + r), y + h - r)
    return (px - nx) ** 2 + (py - ny) ** 2 <= r * r


def inside_circle(px, py, circle):
    cx, cy, r = circle
    return (px - cx) ** 2 + (py - cy) ** 2 <= r * r


def icon_sample(px, py):
    """The colour at a point of the 256 grid, or None where it is transparent."""
    for dot in DOTS:
        if inside_circle(px, py, dot):
            return DOT_COLOUR
    if inside_rounded(px, py, FIELD):
        return FIELD_COLOUR
    if inside_circle(px, py, DISC):
        return DISC_COLOUR
    if inside_rounded(px, py, TILE):
        return TILE_COLOUR
    return None


def icon_png(size, samples=4):
    scale = 256.0 / size
    raw = bytearray()
    for row in range(size):
        raw.append(0)
        for column in range(size):
            total = [0, 0, 0, 0]
            for sy in range(samples):
                for sx in range(samples):
                    colour = icon_sample((column + (sx + 0.5) / samples) * scale,
                                         (row + (sy + 0.5) / samples) * scale)
                    if colour:
                        total[0] += colour[0]
                        total[1] += colour[1]
                        total[2] += colour[2]
                        total[3] += 255
            covered = total[3] / 255
            if covered:
                raw += bytes((round(total[0] / covered), round(total[1] / covered), round(total[2] / covered),
                              round(total[3] / samples / samples)))
            else:
                raw += bytes(4)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def main():
    bitmaps = os.path.join(ROOT, "controls", "resources", "bitmaps")
    os.makedirs(bitmaps, exist_ok=True)
    write_bmp(os.path.join(bitmaps, "30000.bmp"), GLOWING_LABEL)
    write_bmp(os.path.join(bitmaps, "30001.bmp"), SHAPED_LABEL)
    icons = os.path.join(ROOT, "packaging", "icons")
    os.makedirs(icons, exist_ok=True)
    with open(os.path.join(icons, "org.vexlo.Vexlo.svg"), "w") as out:
        out.write(icon_svg())
    for size in (16, 32, 48, 256):
        with open(os.path.join(icons, "org.vexlo.Vexlo-%d.png" % size), "wb") as out:
            out.write(icon_png(size))
    return 0


if __name__ == "__main__":
    sys.exit(main())
