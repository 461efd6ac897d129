#!/usr/bin/env python3
"""Writes Graphics_test.bmp: a 16 x 8 monochrome bitmap, black where (x + 2 * y) % 5 == 0, else white.
The test that loads it as a resource checks every pixel against the same rule."""
import struct

W, H = 16, 8
stride = ((W + 31) // 32) * 4
rows = b""
for y in reversed(range(H)):  # bottom-up
    bits = 0
    for x in range(W):
        white = (x + 2 * y) % 5 != 0
        bits |= white << (W - 1 - x)
    rows += bits.to_bytes(W // 8, "big").ljust(stride, b"\0")
palette = bytes([0, 0, 0, 0, 255, 255, 255, 0])
info = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 1, 0, len(rows), 0, 0, 2, 0)
offset = 14 + len(info) + len(palette)
header = struct.pack("<2sIHHI", b"BM", offset + len(rows), 0, 0, offset)
with open("Graphics_test.bmp", "wb") as f:
    f.write(header + info + palette + rows)
