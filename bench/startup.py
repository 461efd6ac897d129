#!/usr/bin/env python3
"""Start-up benchmark: how long a bare window, Velloran's main window and Drellmark's account
dialog take from process start to a viewable window and to completely painted, where each program's
start goes, how often each window of theirs painted as it came on screen, and how their main window
and account dialog compare with plain peers.

Runs inside bench/startup (an X display, the project's Wine prefix with its wineserver up, and
VELLORAN_SERVER_BASE naming a running content server). Each round starts the bare window, then
Velloran, then Drellmark, so all three share the machine's load of the moment. A window is viewable
when the X server maps it: the script polls the root window's children every 2 ms through Xlib. It
is completely painted when nothing of it or its children is left to paint and it has painted since
it was shown: the programs that show where the start goes (and the bare window, asked to) watch for
that themselves and count every paint on the way; those figures are printed beside the goals. Asked
for "plain", those programs make the same forms from the same descriptions with the skin component
left out: the skinned window's stretch from shown to completely painted is set against its plain
peer's, the two runs taking turns.
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


PAINTED = re.compile(r"^(.+): shown at (-?\d+\.\d) ms, completely painted at (-?\d+\.\d) ms$", re.M)
PAINTS = re.compile(r"^    (.+?)\s+paint (\d+) frame (\d+)$")


def run_breakdown(wine_run, exe, runs, variants):
    """For each list of arguments in variants, each run's output of a breakdown program given them;
    the variants take turns, so they share the machine's load. Runs that printed nothing are counted."""
    outputs, failures = [[] for _ in variants], 0
    for _ in range(runs):
        for arguments, kept in zip(variants, outputs):
            out = subprocess.run([wine_run, exe] + arguments, cwd=os.path.dirname(exe), capture_output=True,
                                 text=True, timeout=60).stdout
            if re.search(r"^  (.+?)\s+(-?\d+\.\d)", out, re.M):
                kept.append(out)
            else:
                failures += 1
    if failures:
        print("  (%d of %d runs printed nothing)" % (failures, runs * len(variants)))
    return outputs


def print_phases(outputs):
    """The phases the runs print, each the median over the runs."""
    values, order = {}, []
    for out in outputs:
        for name, ms, extra in re.findall(r"^  (.+?)\s+(-?\d+\.\d)(.*)$", out, re.M):
            if name not in values:
                order.append(name)
                values[name] = []
            values[name].append((float(ms), extra))
    for name in order:
        ms = statistics.median(v for v, _ in values[name])
        extras = [re.findall(r"-?\d+\.\d", e) for _, e in values[name] if e.strip()]
        extra = ""
        if extras:
            inner = statistics.median(float(e[0]) for e in extras)
            extra = re.sub(r"-?\d+\.\d", "%.1f" % inner, values[name][0][1], count=1)
        print("  %-46s %7.1f%s" % (name, ms, extra))


def painted_windows(outputs):
    """For each watched window: the medians of its shown and completely painted times, and for each
    window of it the most paints of any run (client, frame)."""
    windows = {}
    for out in outputs:
        blocks = re.split(r"^(?=\S.*: shown at )", out, flags=re.M)
        for block in blocks:
            head = PAINTED.match(block)
            if not head:
                continue
            entry = windows.setdefault(head.group(1), {"shown": [], "painted": [], "paints": {}})
            entry["shown"].append(float(head.group(2)))
            entry["painted"].append(float(head.group(3)))
            for line in block.splitlines()[1:]:
                m = PAINTS.match(line)
                if m:
                    most = entry["paints"].get(m.group(1), (0, 0))
                    entry["paints"][m.group(1)] = (max(most[0], int(m.group(2))), max(most[1], int(m.group(3))))
    return windows


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--bin", required=True, help="the Windows build's bin folder")
    parser.add_argument("--wine-run", required=True, help="the build's wine-run wrapper")
    parser.add_argument("--rounds", type=int, default=9)
    parser.add_argument("--breakdown-runs", type=int, default=5)
    parser.add_argument("--target", default="this", help="the build's target, for the report")
    args = parser.parse_args()
    exe = lambda name: os.path.join(args.bin, name)
    display = Display()
    subjects = [("bare window", exe("Startup_bare.exe"), "Bare window"),
                ("Velloran's main window", exe("Velloran.exe"), "Velloran"),
                ("Drellmark's account dialog", exe("Drellmark.exe"), "Input")]

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
        if name != "bare window":
            line += "   %4.2f x the bare window" % (ms / bare)
        print(line)
    painted, plain = {}, {}
    for program in ("Velloran", "Drellmark"):
        print("%s, where the start goes (median of %d runs, ms since the process was created):" %
              (program, args.breakdown_runs))
        skinned, unskinned = run_breakdown(args.wine_run, exe("Startup_%s_bench.exe" % program),
                                           args.breakdown_runs, [[], ["plain"]])
        print_phases(skinned)
        painted.update(painted_windows(skinned))
        plain.update(painted_windows(unskinned))

    outputs = [subprocess.run([args.wine_run, exe("Startup_bare.exe"), "painted"], cwd=args.bin,
                              capture_output=True, text=True, timeout=60).stdout
               for _ in range(args.breakdown_runs)]
    bare_window = painted_windows(outputs).get("Bare window")
    if not bare_window:
        sys.exit("startup.py: the bare window did not report its paint")
    bare = statistics.median(bare_window["painted"])
    print("Completely painted (nothing of the window or its children left to paint), median of %d runs, "
          "ms since the process was created:" % args.breakdown_runs)
    goals = {"Velloran's main window": (4.0, 30.0), "Drellmark's account dialog": (3.0, 15.0)}
    stretch = lambda entry: statistics.median(p - s for p, s in zip(entry["painted"], entry["shown"]))
    rows = [("Bare window", bare_window)] + list(painted.items())
    rows += [("Plain peer of " + name, entry) for name, entry in plain.items() if name in goals]
    for name, entry in rows:
        done = statistics.median(entry["painted"])
        line = "  %-40s %7.1f  %4.2f x the bare window; shown to completely painted %5.1f" % (
            name, done, done / bare, stretch(entry))
        if name in goals:
            ratio, most = goals[name]
            line += "   goals: at most %.1f x = %.1f; at most %.0f" % (ratio, ratio * bare, most)
        print(line)
    print("Skinned against its plain peer, shown to completely painted (medians above, ms), on %s:" % args.target)
    for name in goals:
        if name not in painted or name not in plain:
            sys.exit("startup.py: %s or its plain peer did not report its paint" % name)
        skinned, unskinned = stretch(painted[name]), stretch(plain[name])
        print("  %-28s %5.1f / %5.1f = %4.2f   goal: at most 1.2" %
              (name, skinned, unskinned, skinned / unskinned))
    print("Paints of each window from shown to completely painted, the most of any run (client, frame):")
    for name, entry in painted.items():
        print("  %s" % name)
        for window, (client, frame) in entry["paints"].items():
            mark = "" if client <= 1 and frame <= 1 else "   more than once"
            print("    %-44s %d %d%s" % (window, client, frame, mark))


if __name__ == "__main__":
    main()
