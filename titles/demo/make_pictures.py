#!/usr/bin/env python3
"""Draws the demo title's pictures: a landscape in many colours (stored as a
32-bit picture) and a logo in a few (stored as an 8-bit one)."""
import math
import struct
import zlib
from pathlib import Path


def write_png(path, width, height, pixel):
    rows = bytearray()
    for y in range(height):
        rows.append(0)
        for x in range(width):
            rows.extend(pixel(x, y))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    Path(path).write_bytes(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                           chunk(b"IDAT", zlib.compress(bytes(rows), 9)) + chunk(b"IEND", b""))


def mix(a, b, t):
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))


def landscape(x, y, width=220, height=140):
    sun_x, sun_y = 160, 38
    if (x - sun_x) ** 2 + (y - sun_y) ** 2 <= 18 ** 2:
        return (255, 214, 64)
    far = 88 + 14 * math.sin(x / 23.0) + 6 * math.sin(x / 7.0)
    near = 108 + 10 * math.sin(x / 31.0 + 2.0)
    if y >= near:
        return mix((72, 150, 60), (30, 90, 30), (y - near) / (height - near + 1))
    if y >= far:
        return mix((120, 140, 170), (70, 100, 120), (y - far) / (near - far + 1))
    glow = max(0.0, 1.0 - math.hypot(x - sun_x, y - sun_y) / 90.0)
    return mix(mix((70, 130, 210), (200, 225, 250), y / far), (255, 240, 200), glow * 0.6)


def logo(x, y):
    cx, cy = 48, 48
    r = math.hypot(x - cx, y - cy)
    if 30 <= r <= 40:
        return (20, 60, 140)
    if r < 22:
        return (240, 150, 30)
    if abs(x - cx) < 3 or abs(y - cy) < 3:
        return (20, 60, 140) if r < 44 else (244, 241, 234)
    return (244, 241, 234)


if __name__ == "__main__":
    here = Path(__file__).resolve().parent
    write_png(here / "landscape.png", 220, 140, landscape)
    write_png(here / "logo.png", 96, 96, logo)
