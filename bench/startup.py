#!/usr/bin/env python3
"""Start-up benchmark: how long a bare window, Velloran's main window and Drellmark's account
dialog take from process start to a viewable window, and where each program's start goes.

Runs inside bench/startup (an X display, the project's Wine prefix with its wineserver up, and
VELLORAN_SERVER_BASE naming a running content server). Each round starts the bare window, then
Velloran, then Drellmark, so all three share the machine's load of the moment; the medians and
their ratios are printed beside the goals. A window is viewable when the X server maps it: the
script polls the root window's children every 2 ms through Xlib.
"""

import argparse
import ctypes
import os
import re
import statistics
import subprocess
import sys
import time

X = ctypes.cdll.LoadLibrary("libX11.so.6")


class XWindowAttributes(ctypes.Structure):
    _fields_ = [("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int), ("height", ctypes.c_int),
                ("border_width", ctypes.c_int), ("depth", ctypes.c_int), ("visual", ctypes.c_void_p),
                ("root", ctypes.c_ulong), ("class_", ctypes.c_int), ("bit_gravity", ctypes.c_int),
                ("win_gravity", ctypes.c_int), ("backing_store", ctypes.c_int),
                ("backing_planes", ctypes.c_ulong), ("backing_pixel", ctypes.c_ulong),
                ("save_under", ctypes.c_int), ("colormap", ctypes.c_ulong), ("map_installed", ctypes.c_int),
                ("map_state", ctypes.c_int), ("all_event_masks", ctypes.c_long),
                ("your_event_mask", ctypes.c_long), ("do_not_propagate_mask", ctypes.c_long),
                ("override_redirect", ctypes.c_int), ("screen", ctypes.c_void_p)]


IS_VIEWABLE = 2
X.XOpenDisplay.restype = ctypes.c_void_p
X.XOpenDisplay.argtypes = [ctypes.c_char_p]
X.XDefaultRootWindow.restype = ctypes.c_ulong
X.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
X.XQueryTree.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong),
                         ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.POINTER(ctypes.c_ulong)),
                         ctypes.POINTER(ctypes.c_uint)]
X.XGetWindowAttributes.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(XWindowAttributes)]
X.XFetchName.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_char_p)]
X.XFree.argtypes = [ctypes.c_void_p]
# Windows come and go between the listing and the question: such errors are not fatal here.
ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)(lambda display, event: 0)
X.XSetErrorHandler(ERROR_HANDLER)


class Display:
    def __init__(self):
        self.display = X.XOpenDisplay(None)
        if not self.display:
            sys.exit("startup.py: cannot open the X display")
        self.root = X.XDefaultRootWindow(self.display)

    def viewable(self, title):
        """Whether a top-level window with this title is mapped and viewable."""
        root, parent = ctypes.c_ulong(), ctypes.c_ulong()
        children, count = ctypes.POINTER(ctypes.c_ulong)(), ctypes.c_uint()
        if not X.XQueryTree(self.display, self.root, ctypes.byref(root), ctypes.byref(parent),
                            ctypes.byref(children), ctypes.byref(count)):
            return False
        try:
            for i in range(count.value):
                attributes = XWindowAttributes()
                if not X.XGetWindowAttributes(self.display, children[i], ctypes.byref(attributes)):
                    continue
                if attributes.map_state != IS_VIEWABLE:
                    continue
                name = ctypes.c_char_p()
                if X.XFetchName(self.display, children[i], ctypes.byref(name)) and name.value is not None:
                    found = name.value.decode("latin-1") == title
                    X.XFree(name)
                    if found:
                        return True
        finally:
            if count.value:
                X.XFree(children)
        return False


def time_to_viewable(display, wine_run, exe, title, limit=30.0):
    """Seconds from starting exe under Wine to its window titled title being viewable."""
    folder = os.path.dirname(exe)
    start = time.monotonic()
    process = subprocess.Popen([wine_run, exe], cwd=folder, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        while not display.viewable(title):
            if time.monotonic() - start > limit or process.poll() is not None:
                return None
            time.sleep(0.002)
        return time.monotonic() - start
    finally:
        time.sleep(0.2)
        process.kill()
        process.wait()
        time.sleep(0.3)  # the process goes away before the next one starts


def breakdown(wine_run, exe, runs):
    """The phases a breakdown program prints, each the median over runs."""
    values, order, failures = {}, [], 0
    for _ in range(runs):
        out = subprocess.run([wine_run, exe], cwd=os.path.dirname(exe), capture_output=True, text=True,
                             timeout=60).stdout
        phases = re.findall(r"^  (.+?)\s+(-?\d+\.\d)(.*)$", out, re.M)
        if not phases:
            failures += 1
            continue
        for name, ms, extra in phases:
            if name not in values:
                order.append(name)
                values[name] = []
            values[name].append((float(ms), extra))
    if failures:
        print("  (%d of %d runs printed nothing)" % (failures, runs))
    for name in order:
        ms = statistics.median(v for v, _ in values[name])
        extras = [re.findall(r"-?\d+\.\d", e) for _, e in values[name] if e.strip()]
        extra = ""
        if extras:
            inner = statistics.median(float(e[0]) for e in extras)
            extra = re.sub(r"-?\d+\.\d", "%.1f" % inner, values[name][0][1], count=1)
        print("  %-46s %7.1f%s" % (name, ms, extra))


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--bin", required=True, help="the Windows build's bin folder")
    parser.add_argument("--wine-run", required=True, help="the build's wine-run wrapper")
    parser.add_argument("--rounds", type=int, default=9)
    parser.add_argument("--breakdown-runs", type=int, default=5)
    args = parser.parse_args()
    exe = lambda name: os.path.join(args.bin, name)
    display = Display()
    subjects = [("bare window", exe("Startup_bare.exe"), "Bare window"),
                ("Velloran's main window", exe("Velloran.exe"), "Velloran"),
                ("Drellmark's account dialog", exe("Drellmark.exe"), "Input")]
    goals = {"Velloran's main window": 2.5, "Drellmark's account dialog": 2.0}

    for _, path, title in subjects:  # once each, unmeasured: files and libraries into the caches
        time_to_viewable(display, args.wine_run, path, title)
    times = {name: [] for name, _, _ in subjects}
    for _ in range(args.rounds):
        for name, path, title in subjects:
            seconds = time_to_viewable(display, args.wine_run, path, title)
            if seconds is None:
                sys.exit("startup.py: %s did not become viewable" % name)
            times[name].append(seconds * 1000)

    print("Start-up, from process start to a viewable window (median of %d rounds, ms)" % args.rounds)
    bare = statistics.median(times["bare window"])
    for name, _, _ in subjects:
        ms = statistics.median(times[name])
        line = "  %-28s %7.1f  (%.1f to %.1f)" % (name, ms, min(times[name]), max(times[name]))
        if name in goals:
            line += "   %4.2f x the bare window; goal: at most %.1f x = %.1f" % (ms / bare, goals[name],
                                                                                  goals[name] * bare)
        print(line)
    for program in ("Velloran", "Drellmark"):
        print("%s, where the start goes (median of %d runs, ms since the process was created):" %
              (program, args.breakdown_runs))
        breakdown(args.wine_run, exe("Startup_%s_bench.exe" % program), args.breakdown_runs)


if __name__ == "__main__":
    main()
