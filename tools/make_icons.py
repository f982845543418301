#!/usr/bin/env python3
"""Draws Brisolt's program icons (a small grid of buttons, one of them lit) into src/res/*.ico."""
import struct, os

def pixel(size, x, y):
    # rounded dark-blue tile, a 3 x 2 grid of light buttons, the first one orange
    r = size // 6
    inside = True
    for cx, cy in ((r, r), (size - 1 - r, r), (r, size - 1 - r), (size - 1 - r, size - 1 - r)):
        if (x < r or x > size - 1 - r) and (y < r or y > size - 1 - r):
            if (x - cx) ** 2 + (y - cy) ** 2 > r * r:
                inside = False
    if not inside:
        return (0, 0, 0, 0)
    m = max(2, size // 8)
    gap = max(1, size // 16)
    cw = (size - 2 * m - 2 * gap) // 3
    ch = (size - 2 * m - gap) // 2
    for row in range(2):
        for col in range(3):
            bx = m + col * (cw + gap)
            by = m + row * (ch + gap)
            if bx <= x < bx + cw and by <= y < by + ch:
                edge = x == bx or y == by or x == bx + cw - 1 or y == by + ch - 1
                if row == 0 and col == 0:
                    return (200, 90, 20, 255) if edge else (245, 150, 40, 255)
                return (150, 160, 180, 255) if edge else (230, 235, 245, 255)
    return (40, 60, 110, 255)

def image(size):
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = bytearray()
    for y in range(size - 1, -1, -1):
        for x in range(size):
            r, g, b, a = pixel(size, x, y)
            xor += bytes((b, g, r, a))
    stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for y in range(size - 1, -1, -1):
        row = bytearray(stride)
        for x in range(size):
            if pixel(size, x, y)[3] == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    return header + bytes(xor) + bytes(mask)

def write_ico(path, sizes):
    images = [image(s) for s in sizes]
    out = struct.pack('<HHH', 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, data in zip(sizes, images):
        out += struct.pack('<BBBBHHII', s % 256, s % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for data in images:
        out += data
    with open(path, 'wb') as f:
        f.write(out)

here = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'src', 'res')
write_ico(os.path.join(here, 'brisolt.ico'), [32, 16, 48])
write_ico(os.path.join(here, 'brisolt_small.ico'), [16])
