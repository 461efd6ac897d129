#!/usr/bin/env python3
"""Draws MenuGlyphs.bmp, the system menu's glyph strip: 64 x 16, 1 bit per pixel, four 16 x 16
glyphs (restore, maximise, minimise, close), black strokes on white (white is the mask colour).
Run it from this folder to redraw the committed bitmap."""
import struct

W, H = 64, 16
ink = [[False] * W for _ in range(H)]


def box(g, x0, y0, x1, y1, fill_white=False):
    """Window outline with a two-pixel title bar; inclusive corners, glyph g's own coordinates."""
    ox = g * 16
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            edge = x in (x0, x1) or y in (y1, y0, y0 + 1)
            if edge:
                ink[y][ox + x] = True
            elif fill_white:
                ink[y][ox + x] = False


# restore: a window behind and one in front of it
box(0, 5, 2, 13, 9)
box(0, 2, 6, 10, 13, fill_white=True)
# maximise: one window
box(1, 3, 3, 12, 12)
# minimise: a bar
for y in (11, 12):
    for x in range(4, 12):
        ink[y][32 + x] = True
# close: a cross two pixels thick
for i in range(4, 12):
    for x in {i, min(i + 1, 11)}:
        ink[i][48 + x] = True
        ink[i][48 + 15 - x] = True

row_bytes = ((W + 31) // 32) * 4
pixels = bytearray()
for y in reversed(range(H)):  # BMP rows run bottom-up
    row = bytearray(row_bytes)
    for x in range(W):
        if not ink[y][x]:  # palette index 1 = white
            row[x // 8] |= 0x80 >> (x % 8)
    pixels += row
palette = bytes([0, 0, 0, 0, 255, 255, 255, 0])
info = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 1, 0, len(pixels), 2835, 2835, 2, 2)
offset = 14 + len(info) + len(palette)
header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
with open("MenuGlyphs.bmp", "wb") as f:
    f.write(header + info + palette + pixels)
