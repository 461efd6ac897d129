#!/usr/bin/env python3
"""picture-data.py CLASS IN OUT: writes a picture as a form description stores it (the graphic's
class name as a length-prefixed string, the 32-bit length of the image, the image's bytes)."""
import struct
import sys

cls, src, dst = sys.argv[1:4]
data = open(src, "rb").read()
with open(dst, "wb") as out:
    out.write(bytes([len(cls)]) + cls.encode("ascii") + struct.pack("<i", len(data)) + data)
