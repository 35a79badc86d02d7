#!/usr/bin/env python3
"""Writes alpha-disc.png, the test and gallery picture with transparency: 48 x 48 pixels, an
opaque green disc of radius 12 in the middle, a half-transparent white ring to radius 18, and
fully transparent corners. Run it again after changing the picture."""
import math
import os
import struct
import zlib


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def pixel(x, y):
    d = math.hypot(x + 0.5 - 24, y + 0.5 - 24)
    if d < 12:
        return (0, 160, 0, 255)
    if d < 18:
        return (255, 255, 255, 128)
    return (0, 0, 0, 0)


def main():
    size = 48
    raw = bytearray()
    for y in range(size):
        raw.append(0)  # no filter
        for x in range(size):
            raw += bytes(pixel(x, y))
    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    png += chunk(b"IEND", b"")
    here = os.path.dirname(os.path.abspath(__file__))
    with open(os.path.join(here, "alpha-disc.png"), "wb") as f:
        f.write(png)


if __name__ == "__main__":
    main()
