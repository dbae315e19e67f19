"""Tests of tools/harness.py: XWD, PNG, registry views per architecture, the virtual display.

Run: python3 -m unittest discover -s tools -p 'test_*.py'
"""

import os
import shutil
import struct
import sys
import tempfile
import unittest
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import harness  # noqa: E402

# A 3 x 2 picture, top row first.
PIXELS = [[(255, 0, 0), (0, 255, 0), (0, 0, 255)],
          [(1, 2, 3), (250, 251, 252), (16, 32, 64)]]


def xwd(pixels, bits=32, byte_order=0, masks=(0xFF0000, 0xFF00, 0xFF), pad=0, ncolors=0,
        version=7):
    """An xwd dump of pixels: header, window name, colour map, then the rows, each padded by
    pad bytes, as the X server lays them out."""
    width, height = len(pixels[0]), len(pixels)
    size = bits // 8
    name = b"root\0"
    header_size = 4 * 25 + len(name)
    line = size * width + pad
    fields = [header_size, version, 2, 24, width, height, 0, byte_order, 32, byte_order, 32, bits,
              line, 4] + list(masks) + [8, 256, ncolors, width, height, 0, 0, 0]
    data = struct.pack(">25I", *fields) + name + bytes(12 * ncolors)
    order = "little" if byte_order == 0 else "big"
    for row in pixels:
        for rgb in row:
            value = 0
            for channel, mask in zip(rgb, masks):
                value |= channel << ((mask & -mask).bit_length() - 1)
            data += value.to_bytes(size, order)
        data += bytes(pad)
    return data


def packed(pixels):
    return [bytes(c for p in row for c in p) for row in pixels]


class DecodeXwdTest(unittest.TestCase):
    def test_layouts_decode_to_the_same_picture(self):
        cases = [
            ("32-bit B G R X, as Xvfb writes it", xwd(PIXELS)),
            ("32-bit, most significant byte first", xwd(PIXELS, byte_order=1)),
            ("32-bit, R and B swapped in the masks", xwd(PIXELS, masks=(0xFF, 0xFF00, 0xFF0000))),
            ("24-bit packed, rows padded", xwd(PIXELS, bits=24, pad=3)),
            ("24-bit, most significant byte first", xwd(PIXELS, bits=24, byte_order=1)),
            ("a colour map before the pixels", xwd(PIXELS, ncolors=5)),
        ]
        for name, data in cases:
            with self.subTest(name):
                self.assertEqual(harness.decode_xwd(data), (3, 2, packed(PIXELS)))

    def test_a_region(self):
        data = xwd(PIXELS, pad=4)
        self.assertEqual(harness.decode_xwd(data, (1, 1, 2, 1)),
                         (2, 1, packed([PIXELS[1][1:]])))
        self.assertEqual(harness.decode_xwd(data, (2, 0, 1, 2)),
                         (1, 2, packed([[PIXELS[0][2]], [PIXELS[1][2]]])))

    def test_dumps_it_cannot_read_are_refused(self):
        good = xwd(PIXELS)
        cases = [
            ("too short for the header", good[:60], None),
            ("version 6", xwd(PIXELS, version=6), None),
            ("16 bits per pixel", xwd([[(1, 2, 3)]], bits=16, masks=(0xF800, 0x7E0, 0x1F)), None),
            ("channels not on byte boundaries",
             xwd(PIXELS, masks=(0x3FF00000, 0xFFC00, 0x3FF)), None),
            ("pixels cut off", good[:-5], None),
            ("region past the right edge", good, (2, 0, 2, 1)),
            ("region above the top", good, (0, -1, 1, 1)),
            ("empty region", good, (0, 0, 0, 1)),
        ]
        for name, data, box in cases:
            with self.subTest(name):
                with self.assertRaises(ValueError):
                    harness.decode_xwd(data, box)


def read_png(data):
    """(width, height, rows) of a PNG as png_bytes writes it, checking every chunk's CRC."""
    assert data[:8] == b"\x89PNG\r\n\x1a\n"
    at, chunks = 8, []
    while at < len(data):
        length, = struct.unpack_from(">I", data, at)
        kind, body = data[at + 4:at + 8], data[at + 8:at + 8 + length]
        crc, = struct.unpack_from(">I", data, at + 8 + length)
        assert crc == zlib.crc32(kind + body) & 0xFFFFFFFF, kind
        chunks.append((kind, body))
        at += 12 + length
    assert [k for k, _ in chunks] == [b"IHDR", b"IDAT", b"IEND"]
    width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", chunks[0][1])
    assert (depth, colour, interlace) == (8, 2, 0)
    raw = zlib.decompress(chunks[1][1])
    stride = 1 + 3 * width
    lines = [raw[i:i + stride] for i in range(0, len(raw), stride)]
    assert all(line[0] == 0 for line in lines)  # filter type None on every row
    return width, height, [line[1:] for line in lines]


class PngTest(unittest.TestCase):
    def test_written_file_reads_back(self):
        rows = packed(PIXELS)
        with tempfile.TemporaryDirectory() as tmp:
            path = os.path.join(tmp, "shot.png")
            harness.write_png(path, rows)
            with open(path, "rb") as f:
                self.assertEqual(read_png(f.read()), (3, 2, rows))

    def test_a_screen_from_a_dump(self):
        data = xwd([[(x, y, x ^ y) for x in range(200)] for y in range(50)], bits=24, pad=1)
        _, _, rows = harness.decode_xwd(data)
        self.assertEqual(read_png(harness.png_bytes(rows)), (200, 50, rows))


class WineTest(unittest.TestCase):
    def test_registry_views_per_architecture(self):
        # Wine reads its drive map from the 64-bit view: a 64-bit prefix needs /reg:64, and the
        # 32-bit programs under WoW64 read HKLM\Software from the 32-bit one as well.
        cases = [("wow64", [["/reg:64"], ["/reg:32"]], "win64"),
                 ("win32", [[]], "win32"),
                 ("x64", [["/reg:64"]], "win64")]
        for arch, views, kind in cases:
            with self.subTest(arch):
                wine = harness.Wine(arch, "/nonexistent/prefix")
                self.assertEqual(wine.env["WINEARCH"], kind)
                self.assertEqual(wine.env["KELVARO_ARCH"], arch)
                self.assertEqual(wine.env["WINEPREFIX"], "/nonexistent/prefix")
                self.assertTrue(wine.env["PATH"].startswith(harness.WINEBIN + os.pathsep))
                commands = wine.reg_commands("add", r"HKLM\Software\Wine\Drives", "/v", "e:",
                                             "/d", "cdrom")
                self.assertEqual(commands, [
                    [os.path.join(harness.WINEBIN, "wine"), "reg", "add",
                     r"HKLM\Software\Wine\Drives", "/v", "e:", "/d", "cdrom", "/f"] + view
                    for view in views])

    def test_key_values(self):
        self.assertEqual(harness.key_values("count=1\r\ncwd=C:\\a=b\r\nnoise\nx=\n"),
                         {"count": "1", "cwd": "C:\\a=b", "x": ""})


@unittest.skipUnless(shutil.which("Xvfb") and shutil.which("xwd"), "needs Xvfb and xwd")
class DisplayTest(unittest.TestCase):
    def test_two_displays_start_capture_and_stop(self):
        first = harness.Display.start()
        try:
            second = harness.Display.start()
            try:
                self.assertNotEqual(first.name, second.name)
                width, height, rows = harness.decode_xwd(harness.capture(second.name))
                self.assertEqual((width, height), harness.SCREEN_SIZE)
                self.assertEqual(len(rows), height)
            finally:
                second.stop()
            self.assertIsNotNone(second.process.poll())
        finally:
            first.stop()


if __name__ == "__main__":
    unittest.main()
