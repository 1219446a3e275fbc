#!/usr/bin/env python3
"""Draws Tessaly's icon (resource 102) and writes it as a Windows .ico file.

    python3 resources/make_icon.py resources/tessaly.ico
    python3 resources/make_icon.py --locked resources/tessaly_locked.ico

The picture is four tiles of a desktop, each a rounded square in its own
colour, on a transparent background: the icons Tessaly keeps in place.  The
file holds a 16x16 and a 32x32 image, 32 bits per pixel with an AND mask, as
LoadImageA expects.  With --locked, a small padlock stands over the
bottom-right tile: the tray icon while the lock holds the icons (resource
105).  The output is checked in; run this again only to change the drawing.
"""
import struct
import sys

# Tile colours (R, G, B), top-left, top-right, bottom-left, bottom-right.
TILES = [(0x2E, 0x7D, 0xB8), (0xE8, 0x9A, 0x2C), (0x4C, 0xA8, 0x5A), (0xC8, 0x4B, 0x5E)]
OUTLINE = (0x20, 0x24, 0x30)


def pixel(size, x, y):
    """Returns (r, g, b, a) of one pixel; y grows downwards."""
    gap = 1 if size <= 16 else 2
    half = size // 2
    col = 0 if x < half else 1
    row = 0 if y < half else 1
    # Coordinates inside the tile, the gap between tiles left transparent.
    tx = x - col * half
    ty = y - row * half
    lo, hi = (gap, half - 1) if col else (0, half - 1 - gap)
    loy, hiy = (gap, half - 1) if row else (0, half - 1 - gap)
    if not (lo <= tx <= hi and loy <= ty <= hiy):
        return (0, 0, 0, 0)
    # Cut the corners for a rounded look.
    corner = (tx in (lo, hi)) and (ty in (loy, hiy))
    if corner:
        return (0, 0, 0, 0)
    edge = tx in (lo, hi) or ty in (loy, hiy)
    r, g, b = OUTLINE if edge else TILES[row * 2 + col]
    return (r, g, b, 255)


SHACKLE = (0x30, 0x34, 0x40)
BODY = (0xF2, 0xC2, 0x30)


def padlock(size, x, y):
    """The padlock's (r, g, b, a) at one pixel, or None where it is not."""
    # The lock fills the bottom-right part: a body below, a shackle above it.
    scale = size / 16.0
    left, right = int(8 * scale), size - 1
    body_top = int(11 * scale)
    shackle_top = int(7 * scale)
    if left <= x <= right and body_top <= y <= size - 1:
        edge = x in (left, right) or y in (body_top, size - 1)
        return (SHACKLE if edge else BODY) + (255,)
    inner_left, inner_right = left + int(2 * scale), right - int(2 * scale)
    if shackle_top <= y < body_top and x in range(inner_left, inner_left + max(1, int(scale))):
        return SHACKLE + (255,)
    if shackle_top <= y < body_top and x in range(inner_right - max(1, int(scale)) + 1, inner_right + 1):
        return SHACKLE + (255,)
    if y in range(shackle_top, shackle_top + max(1, int(scale))) and inner_left <= x <= inner_right:
        return SHACKLE + (255,)
    return None


def image(size, locked=False):
    """BITMAPINFOHEADER, bottom-up BGRA rows, then the AND mask."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = []
    mask_rows = []
    mask_stride = ((size + 31) // 32) * 4
    for y in reversed(range(size)):
        row = bytearray()
        mask = bytearray(mask_stride)
        for x in range(size):
            lock = padlock(size, x, y) if locked else None
            r, g, b, a = lock if lock else pixel(size, x, y)
            row += bytes((b, g, r, a))
            if a == 0:
                mask[x // 8] |= 0x80 >> (x % 8)
        rows.append(bytes(row))
        mask_rows.append(bytes(mask))
    return header + b"".join(rows) + b"".join(mask_rows)


def main():
    args = sys.argv[1:]
    locked = "--locked" in args
    args = [a for a in args if a != "--locked"]
    out = args[0] if args else ("tessaly_locked.ico" if locked else "tessaly.ico")
    sizes = [16, 32]
    images = [image(s, locked) for s in sizes]
    data = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for size, img in zip(sizes, images):
        data += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    data += b"".join(images)
    with open(out, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
