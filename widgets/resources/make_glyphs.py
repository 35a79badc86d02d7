#!/usr/bin/env python3
"""Writes the 16 x 16 browse-button glyphs FOLD (a folder) and FILE (a page) as 24-bit BMP files.

The bottom-left pixel is the background, which the buttons draw transparent. Run it again after
changing a picture; the BMP files are kept in the repository beside it.
"""
import os
import struct

PALETTE = {
    ".": (255, 0, 255),   # background (transparent)
    "k": (0, 0, 0),       # outline
    "y": (255, 214, 90),  # folder face
    "o": (214, 160, 40),  # folder shade
    "w": (255, 255, 255), # paper
    "g": (192, 192, 192), # folded corner
    "b": (0, 70, 170),    # text lines
}

FOLD = [
    "................",
    "................",
    "..kkkkk.........",
    ".kyyyyyk........",
    "kyyyyyyykkkkkkk.",
    "kyyyyyyyyyyyyyk.",
    "koooooooooooooko",
    "kyyyyyyyyyyyyyko",
    "kyyyyyyyyyyyyyko",
    "kyyyyyyyyyyyyyko",
    "kyyyyyyyyyyyyyko",
    "kyyyyyyyyyyyyyko",
    "kyyyyyyyyyyyyyko",
    "kkkkkkkkkkkkkkko",
    ".ooooooooooooooo",
    "................",
]

FILE = [
    "................",
    "..kkkkkkkk......",
    "..kwwwwwwkk.....",
    "..kwwwwwwkgk....",
    "..kwbbbbwkggk...",
    "..kwwwwwwkkkkk..",
    "..kwbbbbbbbbwk..",
    "..kwwwwwwwwwwk..",
    "..kwbbbbbbbbwk..",
    "..kwwwwwwwwwwk..",
    "..kwbbbbbbbbwk..",
    "..kwwwwwwwwwwk..",
    "..kwbbbbbwwwwk..",
    "..kwwwwwwwwwwk..",
    "..kkkkkkkkkkkk..",
    "................",
]


def write_bmp(path, rows):
    height, width = len(rows), len(rows[0])
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):  # BMP rows run bottom to top
        line = bytearray()
        for ch in row:
            r, g, b = PALETTE[ch]
            line += bytes((b, g, r))
        line += b"\0" * (stride - len(line))
        pixels += line
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(pixels), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + pixels)


if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    write_bmp(os.path.join(here, "fold.bmp"), FOLD)
    write_bmp(os.path.join(here, "file.bmp"), FILE)
