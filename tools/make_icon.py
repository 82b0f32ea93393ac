#!/usr/bin/env python3
"""Draws the launcher's application icon (resource 103): one 64 x 64 32-bit
image, a jewel-blue rounded badge with a golden "Z" blade. Writes an .ico with
a bottom-up BGRA DIB and its AND mask. Pure Python so the build needs nothing
extra; run it again after changing the drawing:

    python3 tools/make_icon.py resources/varnelTemplate.ico
"""
import math
import struct
import sys

SIZE = 64
SS = 4  # supersampling per axis for smooth edges


def inside_round_rect(x, y, x0, y0, x1, y1, r):
    cx = min(max(x, x0 + r), x1 - r)
    cy = min(max(y, y0 + r), y1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def inside_polygon(x, y, pts):
    inside = False
    j = len(pts) - 1
    for i in range(len(pts)):
        xi, yi = pts[i]
        xj, yj = pts[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            inside = not inside
        j = i
    return inside


# The "Z": top bar, diagonal blade, bottom bar, as one outline.
Z = [(16, 14), (49, 14), (49, 22), (28, 42), (49, 42), (49, 50),
     (15, 50), (15, 42), (36, 22), (16, 22)]


def shade(x, y):
    """Premultiplied-free RGBA of one sample point, or None outside."""
    if not inside_round_rect(x, y, 2, 2, 62, 62, 13):
        return None
    # Rim: a thin bright border ring.
    rim = not inside_round_rect(x, y, 4.5, 4.5, 59.5, 59.5, 11)
    if rim:
        t = y / SIZE
        return (int(150 + 90 * (1 - t)), int(190 + 50 * (1 - t)), 255, 255)
    if inside_polygon(x, y, Z):
        # Gold with a vertical sheen.
        t = (y - 14) / 36.0
        s = 0.5 + 0.5 * math.cos(t * math.pi * 1.6)
        return (int(200 + 55 * s), int(140 + 80 * s), int(30 + 60 * s), 255)
    if inside_polygon(x - 2, y - 2, Z):
        return (8, 16, 40, 255)  # drop shadow of the blade
    # Radial deep-blue body with a highlight towards the top left.
    d = math.hypot(x - 22, y - 18) / 60.0
    g = max(0.0, 1.0 - d)
    return (int(20 + 60 * g), int(50 + 110 * g), int(120 + 120 * g), 255)


def render():
    pixels = []
    for py in range(SIZE):
        row = []
        for px in range(SIZE):
            acc = [0, 0, 0, 0]
            for sy in range(SS):
                for sx in range(SS):
                    c = shade(px + (sx + 0.5) / SS, py + (sy + 0.5) / SS)
                    if c:
                        for k in range(3):
                            acc[k] += c[k] * c[3]
                        acc[3] += c[3]
            n = SS * SS
            a = acc[3] / n
            if a <= 0:
                row.append((0, 0, 0, 0))
            else:
                row.append(tuple(int(acc[k] / acc[3]) for k in range(3)) + (int(round(a)),))
        pixels.append(row)
    return pixels


def write_ico(path, pixels):
    xor = bytearray()
    for row in reversed(pixels):  # DIBs are bottom-up
        for r, g, b, a in row:
            xor += bytes((b, g, r, a))
    mask_stride = ((SIZE + 31) // 32) * 4
    and_mask = bytearray()
    for row in reversed(pixels):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        and_mask += bits
    header = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE * 2, 1, 32, 0,
                         len(xor) + len(and_mask), 0, 0, 0, 0)
    image = header + xor + and_mask
    ico = struct.pack('<HHH', 0, 1, 1)
    ico += struct.pack('<BBBBHHII', SIZE, SIZE, 0, 0, 1, 32, len(image), 6 + 16)
    with open(path, 'wb') as f:
        f.write(ico + image)


if __name__ == '__main__':
    write_ico(sys.argv[1] if len(sys.argv) > 1 else 'varnelTemplate.ico', render())
