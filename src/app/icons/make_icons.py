#!/usr/bin/env python3
"""Draws the program's icon: a white tile reading "A" over "10" (hexadecimal A
is decimal 10), as 16-colour indexed PNGs of 16, 32 and 48 pixels and an SVG
of the same pixels. Deterministic; run it again after changing the drawing.

The larger PNGs are the same pixels, each drawn as a square of whole pixels,
so that they stay sharp: 64 and 96 for the window on a screen of double
density, and 64 to 256 for the desktop's icon theme.

    src/app/icons/make_icons.py
"""
import pathlib
import struct
import zlib

# Index 0 is transparent; the others are the classic 16-colour palette.
PALETTE = [
    (0, 0, 0, 0),         # . transparent
    (0, 0, 0, 255),       # k black
    (128, 0, 0, 255),     # m maroon
    (0, 128, 0, 255),     # g green
    (128, 128, 0, 255),   # o olive
    (0, 0, 128, 255),     # n navy
    (128, 0, 128, 255),   # p purple
    (0, 128, 128, 255),   # t teal
    (192, 192, 192, 255), # s silver
    (128, 128, 128, 255), # d gray
    (255, 0, 0, 255),     # r red
    (0, 255, 0, 255),     # l lime
    (255, 255, 0, 255),   # y yellow
    (0, 0, 255, 255),     # b blue
    (255, 0, 255, 255),   # f fuchsia
    (255, 255, 255, 255), # w white
]
KEYS = ".kmgonptsdrlybfw"

DRAWING = [
    "................",
    ".dddddddddddddd.",
    ".dwwwwwrrwwwwwsd",
    ".dwwwwrwwrwwwwsd",
    ".dwwwwrrrrwwwwsd",
    ".dwwwwrwwrwwwwsd",
    ".dwwwwwkkwwwwwsd",
    ".dwwwwwkkwwwwwsd",
    ".dwwwkkkkkkwwwsd",
    ".dwwwwkkkkwwwwsd",
    ".dwwwgwwwggwwwsd",
    ".dwwggwwgwwgwwsd",
    ".dwwwgwwgwwgwwsd",
    ".dwwgggwwggwwwsd",
    ".dssssssssssssdd",
    "..dddddddddddd..",
]


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))


def png(scale):
    size = 16 * scale
    rows = []
    for line in DRAWING:
        indices = [KEYS.index(c) for c in line for _ in range(scale)]
        packed = bytes((indices[i] << 4) | indices[i + 1] for i in range(0, size, 2))
        rows.extend([b"\0" + packed] * scale)
    return b"".join([
        b"\x89PNG\r\n\x1a\n",
        chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 4, 3, 0, 0, 0)),
        chunk(b"PLTE", b"".join(bytes(c[:3]) for c in PALETTE)),
        chunk(b"tRNS", bytes(c[3] for c in PALETTE)),
        chunk(b"IDAT", zlib.compress(b"".join(rows), 9)),
        chunk(b"IEND", b""),
    ])


def svg():
    rects = []
    for y, line in enumerate(DRAWING):
        for x, key in enumerate(line):
            if key != ".":
                r, g, b, _ = PALETTE[KEYS.index(key)]
                rects.append(f'<rect x="{x}" y="{y}" width="1" height="1" fill="#{r:02x}{g:02x}{b:02x}"/>')
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="16" height="16" viewBox="0 0 16 16" '
            'shape-rendering="crispEdges">\n' + "\n".join(rects) + "\n</svg>\n")


def main():
    here = pathlib.Path(__file__).resolve().parent
    for scale in (1, 2, 3, 4, 6, 8, 16):
        (here / f"vantrigo-{16 * scale}.png").write_bytes(png(scale))
    (here / "vantrigo.svg").write_text(svg())


if __name__ == "__main__":
    main()
