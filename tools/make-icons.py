#!/usr/bin/env python3
"""Draws Tidemark's six icons and writes them as .ico files (16, 20, 24, 32,
40, 48 and 64 pixels, 32-bit with alpha, and a 256-pixel PNG image), so they
stay crisp at every scaling from 100 % to 200 % and in large shell views. Run it after changing a design; the .ico files are kept in the
repository beside the sources that embed them.

The designs: a rounded tile (memory) with a white tide line across it whose
height shows how full memory is. Blue tile: normal use; yellow: high use;
red: high use with little free memory. The two pictures of each colour differ
(solid tile / tile with a light inner ring and the line raised), so the
ten-minute alternation is visible. The program's own icon is a teal tile.
"""
import math
import os
import struct
import sys
import zlib

SIZES = (16, 20, 24, 32, 40, 48, 64, 256)
PNG_SIZES = (256,)   # stored compressed, as the shell expects of the largest image

DESIGNS = {
    # name: (tile colour, edge colour, tide height 0..1, ringed)
    "Tidemark": ((0x1F, 0x9E, 0x9A), (0x0B, 0x55, 0x53), 0.45, False),
    "Frm_00_Blue": ((0x2B, 0x6C, 0xE0), (0x12, 0x33, 0x80), 0.45, True),
    "Frm_01_Yellow": ((0xF2, 0xC0, 0x1E), (0x8A, 0x68, 0x00), 0.70, False),
    "Frm_02_Yellow": ((0xF2, 0xC0, 0x1E), (0x8A, 0x68, 0x00), 0.80, True),
    "Frm_03_Red": ((0xE0, 0x2B, 0x2B), (0x78, 0x0C, 0x0C), 0.85, False),
    "Frm_04_Red": ((0xE0, 0x2B, 0x2B), (0x78, 0x0C, 0x0C), 0.93, True),
}


def coverage(x, y, size, inset, radius):
    """Fraction of the pixel (x, y) inside a rounded square, 4x4 supersampled."""
    hits = 0
    lo, hi = inset, size - inset
    for sy in range(4):
        for sx in range(4):
            px, py = x + (sx + 0.5) / 4, y + (sy + 0.5) / 4
            cx = min(max(px, lo + radius), hi - radius)
            cy = min(max(py, lo + radius), hi - radius)
            if lo <= px <= hi and lo <= py <= hi and (px - cx) ** 2 + (py - cy) ** 2 <= radius ** 2:
                hits += 1
    return hits / 16


def draw(size, tile, edge, tide, ringed):
    pixels = []
    radius = max(2.0, size * 0.22)
    stroke = max(1.0, size / 16)
    water = size * (1 - tide)   # y of the tide line
    for y in range(size):
        row = []
        for x in range(size):
            outer = coverage(x, y, size, 0.5, radius)
            inner = coverage(x, y, size, 0.5 + stroke, max(1.0, radius - stroke))
            if outer == 0:
                row.append((0, 0, 0, 0))
                continue
            colour = tile if inner > 0.5 else edge
            if ringed and inner > 0.5:
                ring = coverage(x, y, size, 0.5 + stroke * 2.5, max(1.0, radius - stroke * 2.5))
                if ring < 0.5:
                    colour = tuple(min(255, c + (255 - c) // 2) for c in tile)
            # The tide: a gentle wave, white, above it the tile is lighter.
            wave = water + math.sin((x / size) * 2 * math.pi) * size * 0.06
            if inner > 0.5:
                if abs(y + 0.5 - wave) <= max(0.75, stroke * 0.9):
                    colour = (255, 255, 255)
                elif y + 0.5 < wave:
                    colour = tuple(min(255, c + (255 - c) // 3) for c in colour)
            row.append(colour + (int(round(255 * outer)),))
        pixels.append(row)
    return pixels


def bmp_entry(pixels):
    size = len(pixels)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    body = bytearray()
    for row in reversed(pixels):          # bottom-up
        for r, g, b, a in row:
            body += bytes((b, g, r, a))
    mask_row = ((size + 31) // 32) * 4
    body += bytes(mask_row * size)        # AND mask: all opaque, alpha decides
    return header + bytes(body)


def png_entry(pixels):
    size = len(pixels)
    raw = bytearray()
    for row in pixels:
        raw.append(0)                     # no filter
        for r, g, b, a in row:
            raw += bytes((r, g, b, a))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b"")


def write_ico(path, images):
    entries, blobs = [], []
    offset = 6 + 16 * len(images)
    for size, data in images:
        entries.append(struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset))
        blobs.append(data)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(struct.pack("<HHH", 0, 1, len(images)))
        for e in entries:
            f.write(e)
        for b in blobs:
            f.write(b)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "monitor", "windows", "icons")
    os.makedirs(out, exist_ok=True)
    for name, (tile, edge, tide, ringed) in DESIGNS.items():
        images = [(s, (png_entry if s in PNG_SIZES else bmp_entry)(draw(s, tile, edge, tide, ringed))) for s in SIZES]
        write_ico(os.path.join(out, name + ".ico"), images)
        print("wrote", name + ".ico")


if __name__ == "__main__":
    main()
