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
import struct
import subprocess
import sys
import time
import zlib

# Run from the source tree: leave no bytecode behind in it.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
import bmp  # noqa: E402
import facts  # noqa: E402

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


class XwdError(ValueError):
    pass


def capture_root():
    """The root window as (width, height, bytes per line, bytes per pixel, channel byte offsets,
    pixel bytes)."""
    data = subprocess.run(["xwd", "-root", "-silent"], check=True,
                          stdout=subprocess.PIPE).stdout
    # The header is 25 big-endian 32-bit fields, then the window name, then the colour map.
    fields = struct.unpack_from(">25I", data, 0)
    (header_size, version, _, _, width, height, _, byte_order, _, _, _, bits_per_pixel,
     bytes_per_line, _, red, green, blue, _, _, ncolors) = fields[:20]
    # With Wine's windows on it, the same display can come back packed as 24 bits per pixel.
    if version != 7 or bits_per_pixel not in (24, 32):
        raise XwdError("xwd version %d, %d bits per pixel: want version 7, 24 or 32 bits"
                       % (version, bits_per_pixel))
    size = bits_per_pixel // 8
    offsets = []
    for mask in (red, green, blue):
        shift = mask.bit_length() - 8
        if shift < 0 or shift % 8 or mask != 0xff << shift:
            raise XwdError("colour masks %x %x %x: want whole bytes" % (red, green, blue))
        offsets.append(shift // 8 if byte_order == 0 else size - 1 - shift // 8)
    start = header_size + 12 * ncolors
    return width, height, bytes_per_line, size, offsets, data[start:]


def client_rows(shot, origin):
    """The client area out of a capture, as rows of packed RGB bytes."""
    width, height, stride, size, (ri, gi, bi), pixels = shot
    ox, oy = origin
    if ox < 0 or oy < 0 or ox + CLIENT_W > width or oy + CLIENT_H > height:
        raise XwdError("client area at %d,%d does not fit the %d x %d screen"
                       % (ox, oy, width, height))
    rows = []
    for y in range(oy, oy + CLIENT_H):
        line = pixels[y * stride + size * ox:y * stride + size * (ox + CLIENT_W)]
        row = bytearray(3 * CLIENT_W)
        row[0::3], row[1::3], row[2::3] = line[ri::size], line[gi::size], line[bi::size]
        rows.append(bytes(row))
    return rows


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


def write_png(path, rows):
    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body
                + struct.pack(">I", zlib.crc32(kind + body) & 0xffffffff))
    raw = b"".join(b"\0" + r for r in rows)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n"
                + chunk(b"IHDR", struct.pack(">IIBBBBB", len(rows[0]) // 3, len(rows),
                                             8, 2, 0, 0, 0))
                + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


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
        write_png(save + "-actual.png", actual)
        write_png(save + "-expected.png", expected)
        marks = {(x, y) for x, y, _, _ in diff}
        write_png(save + "-diff.png",
                  [bytes(b for x in range(CLIENT_W)
                         for b in ((255, 0, 255) if (x, y) in marks else (0, 0, 0)))
                   for y in range(CLIENT_H)])
        print("  saved %s-{actual,expected,diff}.png" % save)


def match(args):
    expected = expected_picture(args.art, args.show)
    origin = tuple(int(v) for v in args.origin.split(","))
    deadline = time.monotonic() + args.timeout
    while True:
        actual = client_rows(capture_root(), origin)
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
    except (XwdError, bmp.BmpError, subprocess.CalledProcessError) as e:
        print("FAIL: %s" % e)
        return 1


if __name__ == "__main__":
    sys.exit(main())
