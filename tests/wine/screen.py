#!/usr/bin/env python3
"""Compares the menu on the virtual display, pixel by pixel, with the artwork it must show.

    screen.py match --art DIR [--show OVERLAY]... [--origin X,Y] [--timeout S] [--save PREFIX]

The expected picture is built from the bitmap files alone: back.bmp at client (0, 0), clipped
to the 448 x 406 client area, then each OVERLAY (start_a, start_b, install, readme, exit) over
its button. The screen is captured with xwd until it shows exactly that picture or the time is
up; on a mismatch it prints what differs, names the known state the screen shows if there is
one, and writes PREFIX-actual.png, PREFIX-expected.png and PREFIX-diff.png.
"""

import argparse
import os
import subprocess
import sys
import time

# Run from the source tree: leave no bytecode behind in it.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
import bmp  # noqa: E402
import facts  # noqa: E402
import harness  # noqa: E402

CLIENT_W, CLIENT_H = facts.CLIENT_SIZE

# Where each overlay goes: left, top, width, height in client coordinates.
BUTTONS = dict(facts.BUTTONS, start_a=facts.BUTTONS["start"], start_b=facts.BUTTONS["start"])
del BUTTONS["start"]


def expected_picture(art, shows):
    """Rows of packed RGB bytes, CLIENT_W x CLIENT_H, as the menu must paint them."""
    _, _, back = bmp.load(os.path.join(art, "back.bmp"))
    rows = [bytearray(b"".join(bytes(p) for p in back[y][:CLIENT_W])) for y in range(CLIENT_H)]
    for name in shows:
        left, top, width, height = BUTTONS[name]
        _, _, over = bmp.load(os.path.join(art, name + ".bmp"))
        for y in range(height):
            rows[top + y][3 * left:3 * (left + width)] = b"".join(bytes(p) for p in over[y][:width])
    return [bytes(r) for r in rows]


def client_rows(origin):
    """The client area on the screen now, as rows of packed RGB bytes."""
    return harness.decode_xwd(harness.capture(), tuple(origin) + (CLIENT_W, CLIENT_H))[2]


def differences(actual, expected):
    """(x, y, actual rgb, expected rgb) of every pixel that differs."""
    found = []
    for y, (a, e) in enumerate(zip(actual, expected)):
        if a == e:
            continue
        for x in range(CLIENT_W):
            if a[3 * x:3 * x + 3] != e[3 * x:3 * x + 3]:
                found.append((x, y, tuple(a[3 * x:3 * x + 3]), tuple(e[3 * x:3 * x + 3])))
    return found


def known_states(art):
    """Every picture the menu can show with its artwork, by the overlays it has."""
    for start in (None, "start_a", "start_b"):
        for lit in (None, "install", "readme", "exit"):
            shows = [s for s in (start, lit) if s]
            yield shows, expected_picture(art, shows)


def describe(shows):
    return "+".join(shows) if shows else "background alone"


def report_mismatch(art, shows, actual, expected, save):
    diff = differences(actual, expected)
    xs = [d[0] for d in diff]
    ys = [d[1] for d in diff]
    print("FAIL: want %s; %d of %d pixels differ, within x %d..%d, y %d..%d (client coordinates)"
          % (describe(shows), len(diff), CLIENT_W * CLIENT_H, min(xs), max(xs), min(ys), max(ys)))
    for x, y, a, e in diff[:8]:
        print("  (%d, %d): screen %s, artwork %s" % (x, y, a, e))
    seen = [s for s, picture in known_states(art) if picture == actual]
    print("  the screen shows %s" % (describe(seen[0]) if seen else
                                     "none of the pictures the artwork can make"))
    if save:
        os.makedirs(os.path.dirname(os.path.abspath(save)), exist_ok=True)
        harness.write_png(save + "-actual.png", actual)
        harness.write_png(save + "-expected.png", expected)
        marks = {(x, y) for x, y, _, _ in diff}
        harness.write_png(save + "-diff.png",
                          [bytes(b for x in range(CLIENT_W)
                                 for b in ((255, 0, 255) if (x, y) in marks else (0, 0, 0)))
                           for y in range(CLIENT_H)])
        print("  saved %s-{actual,expected,diff}.png" % save)


def match(args):
    expected = expected_picture(args.art, args.show)
    origin = tuple(int(v) for v in args.origin.split(","))
    deadline = time.monotonic() + args.timeout
    while True:
        actual = client_rows(origin)
        if actual == expected:
            print("ok: screen shows %s" % describe(args.show))
            return 0
        if time.monotonic() >= deadline:
            report_mismatch(args.art, args.show, actual, expected, args.save)
            return 1
        time.sleep(0.05)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    sub = parser.add_subparsers(dest="command", required=True)
    m = sub.add_parser("match", help="wait until the screen shows the expected picture")
    m.add_argument("--art", required=True, help="folder with back.bmp and the overlays")
    m.add_argument("--show", action="append", default=[], choices=sorted(BUTTONS),
                   help="an overlay that must be drawn (repeatable)")
    m.add_argument("--origin", default="%d,%d" % facts.CLIENT_ORIGIN, help="screen position of client (0, 0)")
    m.add_argument("--timeout", type=float, default=10, help="seconds to wait for the picture")
    m.add_argument("--save", help="path prefix for the pictures written on a mismatch")
    args = parser.parse_args()
    try:
        return match(args)
    except (ValueError, subprocess.CalledProcessError) as e:
        print("FAIL: %s" % e)
        return 1


if __name__ == "__main__":
    sys.exit(main())
