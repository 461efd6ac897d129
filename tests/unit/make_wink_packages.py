#!/usr/bin/env python3
"""Makes the wink packages the keeper's tests preview: cabinets made with gcab from small files of
our own, one with two movies, one whose names try to leave the unpack folder, and one that is no
cabinet at all. Usage: make_wink_packages.py OUTDIR"""
import os
import subprocess
import sys
import tempfile

out = sys.argv[1]
os.makedirs(out, exist_ok=True)


def cabinet(name, files, renames=()):
    with tempfile.TemporaryDirectory() as work:
        for file_name, data in files:
            with open(os.path.join(work, file_name), "wb") as f:
                f.write(data)
        cab = os.path.join(work, "made.cab")
        subprocess.run(["gcab", "-c", "-n", cab] + [f for f, _ in files], cwd=work, check=True)
        data = open(cab, "rb").read()
        # Names sit in the cabinet uncovered by any checksum: same-length swaps give names gcab
        # itself would never write.
        for old, new in renames:
            assert len(old) == len(new) and old in data
            data = data.replace(old, new)
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)


movie = b"FWS\x06\x15\x00\x00\x00" + bytes(13)
cabinet("twomovies.dat", [("first.swf", movie), ("second.swf", movie + b"2"), ("readme.txt", b"two movies\r\n")])
cabinet("escape.dat", [("zz_evil1.swf", movie), ("xevil2.swf", movie)],
        [(b"zz_evil1.swf", b"..\\evil1.swf"), (b"xevil2.swf", b"\\evil2.swf")])
with open(os.path.join(out, "notacab.dat"), "wb") as f:
    f.write(b"MSCF? no: just some bytes that are not a cabinet\r\n" * 4)
