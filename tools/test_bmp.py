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


class EncodeTest(unittest.TestCase):
    # Index 4 is a colour of its own, 5 and 6 as well: the 7-colour palette below.
    CODEC_PALETTE = PALETTE + [(1, 2, 3), (40, 50, 60), (7, 8, 9)]

    def round_trip(self, indices, rle=True):
        width, height = len(indices[0]), len(indices)
        data = bmp.encode(width, height, indices, self.CODEC_PALETTE, rle)
        self.assertEqual(bmp.decode(data), (
            width, height, [[self.CODEC_PALETTE[i] for i in row] for row in indices]))
        return data

    def test_encoded_pictures_decode_to_their_pixels(self):
        noise = [1, 2, 3, 4, 5, 6] * 50
        cases = [
            ("one pixel", [[3]]),
            ("two pixels, too few for absolute mode", [[1, 2]]),
            ("a run of exactly 255", [[2] * 255]),
            ("a run past 255 and past 510", [[1] * 600, [2] * 600]),
            ("absolute block of odd length, padded", [[1, 2, 3, 1, 2, 0, 0, 0, 0, 0, 0]]),
            # No two neighbours alike for 300 pixels: absolute blocks of at most 255.
            ("absolute past 255", [noise]),
            ("runs and absolute blocks mixed, rows of each",
             [[0] * 40 + [1, 2, 3, 4, 5] + [6] * 300, noise + noise[:45], [5] * 345]),
            ("many end-of-lines", [[r % 7] * 9 for r in range(40)]),
        ]
        for name, indices in cases:
            with self.subTest(name):
                self.round_trip(indices)
                self.round_trip(indices, rle=False)

    def test_rle8_picks_absolute_mode_for_noise_and_runs_for_flat_rows(self):
        noise = bmp.encode_rle8_row([1, 2, 3, 4, 5, 6] * 50)
        flat = bmp.encode_rle8_row([4] * 300)
        self.assertEqual(flat, bytes((255, 4, 45, 4)))
        # Two absolute blocks of even length (no padding byte) beat 300 one-pixel runs.
        self.assertEqual(len(noise), 2 + 2 + 300)
        self.assertEqual(noise[0], 0)
        self.assertGreaterEqual(noise[1], 3)

    def test_the_art_encodes_back_to_its_committed_bytes(self):
        # make-art writes each file with bmp.encode: decoding then re-encoding one gives the
        # same bytes, so a change to the encoder shows here before the artwork is regenerated.
        with open(os.path.join(ART, "back.bmp"), "rb") as f:
            data = f.read()
        offset, = struct.unpack_from("<I", data, 10)
        width, height, _, _, compression, _, _, _, colours, _ = struct.unpack_from(
            "<iiHHIIiiII", data, 18)
        palette = [(data[i + 2], data[i + 1], data[i]) for i in range(54, 54 + 4 * colours, 4)]
        _, _, pixels = bmp.decode(data)
        lookup = {c: i for i, c in enumerate(palette)}
        indices = [[lookup[p] for p in row] for row in pixels]
        self.assertEqual(offset, 54 + 4 * colours)
        self.assertEqual(bmp.encode(width, height, indices, palette, compression == 1), data)


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
