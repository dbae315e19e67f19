"""Tests of tools/bmp.py, and of the committed menu artwork it reads.

Run: python3 -m unittest discover -s tools -p 'test_*.py'
"""

import os
import struct
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import bmp  # noqa: E402
import facts  # noqa: E402

ART = os.path.join(HERE, os.pardir, "launcher", "art")

K = (0, 0, 0)          # left black: skipped by the RLE8 codes
R, B, W = (255, 0, 0), (0, 0, 255), (250, 250, 250)
# Index 0 is green so that pixels wrongly filled from it stand out.
PALETTE = [(10, 200, 30), R, B, W]


def bmp_file(width, height, bits, compression, body, palette=PALETTE, info=None):
    """A BMP with a 40-byte header around the given pixel data."""
    pal = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    offset = 14 + 40 + len(pal)
    info = info or struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits,
                               compression, len(body), 0, 0, len(palette), 0)
    return (struct.pack("<2sIHHI", b"BM", offset + len(body), 0, 0, offset)
            + info + pal + body)


# A 6 x 4 RLE8 picture that uses every escape. Rows are coded bottom first.
RLE_CODES = bytes([
    3, 1, 0, 3, 2, 3, 1, 0, 0, 0,   # run of 3; absolute run of 3 + pad byte; end of line
    2, 3, 0, 2, 2, 1, 2, 1, 0, 0,   # run of 2; delta +2 right, +1 up; run of 2; end of line
    1, 2, 0, 1,                     # one pixel on the top row, then end of bitmap
])
RLE_PIXELS = [                      # top row first
    [B, K, K, K, K, K],
    [K, K, K, K, R, R],
    [W, W, K, K, K, K],
    [R, R, R, B, W, R],
]


class DecodeTest(unittest.TestCase):
    def test_pictures(self):
        cases = [
            ("RLE8 with every escape", bmp_file(6, 4, 8, 1, RLE_CODES), RLE_PIXELS),
            ("RLE8 ending on the data, without end of bitmap",
             bmp_file(2, 1, 8, 1, bytes([1, 1, 1, 2])), [[R, B]]),
            # Width 3: each row is padded by one byte to four.
            ("8-bit bottom-up", bmp_file(3, 2, 8, 0, bytes([1, 2, 3, 0, 0, 1, 2, 0])),
             [[(10, 200, 30), R, B], [R, B, W]]),
            ("8-bit top-down", bmp_file(3, -2, 8, 0, bytes([1, 2, 3, 0, 0, 1, 2, 0])),
             [[R, B, W], [(10, 200, 30), R, B]]),
            # Width 1: three bytes of colour, one of padding per row.
            ("24-bit", bmp_file(1, 2, 24, 0, bytes([3, 2, 1, 0, 30, 20, 10, 0]), []),
             [[(10, 20, 30)], [(1, 2, 3)]]),
        ]
        for name, data, expected in cases:
            with self.subTest(name):
                width, height, pixels = bmp.decode(data)
                self.assertEqual((width, height), (len(expected[0]), len(expected)))
                self.assertEqual(pixels, expected)

    def test_load_reads_a_file(self):
        with tempfile.TemporaryDirectory() as tmp:
            path = os.path.join(tmp, "tiny.bmp")
            with open(path, "wb") as f:
                f.write(bmp_file(6, 4, 8, 1, RLE_CODES))
            self.assertEqual(bmp.load(path), (6, 4, RLE_PIXELS))

    def test_damaged_files_are_refused(self):
        good = bmp_file(6, 4, 8, 1, RLE_CODES)
        cases = [
            ("not a BMP", b"PK" + good[2:]),
            ("truncated header", good[:30]),
            ("run past the end of a row", bmp_file(2, 1, 8, 1, bytes([3, 1, 0, 1]))),
            ("absolute run past the end of a row",
             bmp_file(2, 1, 8, 1, bytes([0, 3, 1, 1, 1, 0, 0, 1]))),
            ("code cut off", bmp_file(6, 4, 8, 1, bytes([0, 5, 1, 2]))),
            ("delta out of the picture", bmp_file(2, 2, 8, 1, bytes([0, 2, 0, 3, 0, 1]))),
            ("rows past the top", bmp_file(1, 1, 8, 1, bytes([0, 0, 1, 1, 0, 1]))),
            ("index outside the palette", bmp_file(1, 1, 8, 1, bytes([1, 4, 0, 1]))),
            ("uncompressed pixels cut off", bmp_file(3, 2, 8, 0, bytes(6))),
            ("top-down RLE8", bmp_file(6, -4, 8, 1, RLE_CODES)),
            ("4-bit", bmp_file(2, 1, 4, 0, bytes(4))),
            ("core header", bmp_file(1, 1, 8, 0, bytes(16),
                                     info=struct.pack("<IHHHH", 12, 1, 1, 1, 8))),
        ]
        for name, data in cases:
            with self.subTest(name):
                with self.assertRaises(bmp.BmpError):
                    bmp.decode(data)


# name, size, and where the overlay goes on the background
ART_FILES = [("back.bmp", facts.MENU_SIZE, None)] + [
    ("%s.bmp" % picture, facts.BUTTONS[button][2:], facts.BUTTONS[button][:2])
    for picture, button in (("start_a", "start"), ("start_b", "start"), ("install", "install"),
                            ("readme", "readme"), ("exit", "exit"))]


class ArtTest(unittest.TestCase):
    def test_files_are_8_bit_bottom_up_with_a_40_byte_header(self):
        for name, size, _ in ART_FILES:
            with self.subTest(name):
                with open(os.path.join(ART, name), "rb") as f:
                    data = f.read()
                header, width, height, _, bits, compression = struct.unpack_from(
                    "<IiiHHI", data, 14)
                self.assertEqual((header, (width, height), bits), (40, size, 8))
                self.assertIn(compression, (0, 1))
                self.assertEqual(struct.unpack_from("<I", data, 2)[0], len(data))

    def test_overlays_differ_from_the_background_but_blend_at_the_corners(self):
        _, _, back = bmp.load(os.path.join(ART, "back.bmp"))
        for name, (w, h), (left, top) in ART_FILES[1:]:
            with self.subTest(name):
                width, height, pixels = bmp.load(os.path.join(ART, name))
                self.assertEqual((width, height), (w, h))
                under = [row[left:left + w] for row in back[top:top + h]]
                self.assertNotEqual(pixels, under)
                # The frame's corners are cut off: the background shows there.
                for x, y in ((0, 0), (w - 1, 0), (0, h - 1), (w - 1, h - 1)):
                    self.assertEqual(pixels[y][x], under[y][x], (x, y))


if __name__ == "__main__":
    unittest.main()
