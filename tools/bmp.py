"""Decode the Windows BMP files of the menu artwork, with the standard library.

Reads BITMAPINFOHEADER files (and the later, longer headers, whose first 40
bytes are the same) holding 8-bit palettised pixels, uncompressed or BI_RLE8,
or 24-bit uncompressed pixels; bottom-up or, when uncompressed, top-down.

    width, height, pixels = bmp.load("launcher/art/back.bmp")
    r, g, b = pixels[y][x]          # row 0 is the top of the picture

Pixels that an RLE8 delta escape or an early end of line or bitmap skips are
left black, as Windows leaves them when it loads such a file.
"""

import struct

BI_RGB = 0
BI_RLE8 = 1
BLACK = (0, 0, 0)


class BmpError(ValueError):
    """The file is not a BMP this module can read, or it is damaged."""


def load(path):
    """Return (width, height, pixels) for the BMP at path; see decode()."""
    with open(path, "rb") as f:
        return decode(f.read())


def decode(data):
    """Return (width, height, pixels): pixels[y][x] is an (r, g, b) tuple."""
    if len(data) < 54 or data[:2] != b"BM":
        raise BmpError("not a BMP file")
    offset, = struct.unpack_from("<I", data, 10)
    (header, width, height, planes, bits, compression, size_image,
     _, _, colours_used, _) = struct.unpack_from("<IiiHHIIiiII", data, 14)
    if header < 40:
        raise BmpError("header of %d bytes: only BITMAPINFOHEADER and later" % header)
    if width <= 0 or height == 0 or planes != 1:
        raise BmpError("bad size %d x %d or %d planes" % (width, height, planes))
    top_down = height < 0
    height = abs(height)

    if bits == 8:
        count = colours_used or 256
        if count > 256:
            raise BmpError("%d palette entries" % count)
        start = 14 + header
        if start + 4 * count > offset:
            raise BmpError("palette runs into the pixels")
        palette = [(data[i + 2], data[i + 1], data[i])
                   for i in range(start, start + 4 * count, 4)]
        if compression == BI_RGB:
            rows = _plain(data, offset, width, height, 1,
                          lambda row, x: _colour(palette, row[x]))
        elif compression == BI_RLE8:
            if top_down:
                raise BmpError("an RLE8 bitmap cannot be top-down")
            end = offset + size_image if size_image else len(data)
            rows = _rle8(data[offset:end], width, height, palette)
        else:
            raise BmpError("8-bit compression %d not supported" % compression)
    elif bits == 24:
        if compression != BI_RGB:
            raise BmpError("24-bit compression %d not supported" % compression)
        rows = _plain(data, offset, width, height, 3,
                      lambda row, x: (row[3 * x + 2], row[3 * x + 1], row[3 * x]))
    else:
        raise BmpError("%d bits per pixel not supported" % bits)

    if not top_down:
        rows.reverse()
    return width, height, rows


def _colour(palette, index):
    if index >= len(palette):
        raise BmpError("pixel index %d outside a palette of %d" % (index, len(palette)))
    return palette[index]


def _plain(data, offset, width, height, bytes_per_pixel, pixel):
    """Rows in file order of an uncompressed bitmap (rows padded to 4 bytes)."""
    stride = (width * bytes_per_pixel + 3) & ~3
    if offset + stride * height > len(data):
        raise BmpError("file ends inside the pixels")
    rows = []
    for y in range(height):
        row = data[offset + y * stride:offset + y * stride + width * bytes_per_pixel]
        rows.append([pixel(row, x) for x in range(width)])
    return rows


def _rle8(data, width, height, palette):
    """Rows in file order (bottom row first) of a BI_RLE8 pixel stream."""
    rows = [[BLACK] * width for _ in range(height)]
    x = y = i = 0

    def need(n):
        if i + n > len(data):
            raise BmpError("RLE8 data ends inside a code")

    def put(index, count):
        nonlocal x
        if y >= height or x + count > width:
            raise BmpError("RLE8 run leaves the bitmap at row %d" % y)
        colour = _colour(palette, index)
        rows[y][x:x + count] = [colour] * count
        x += count

    while i < len(data):
        need(2)
        first, second = data[i], data[i + 1]
        i += 2
        if first:                      # encoded run
            put(second, first)
        elif second == 0:              # end of line
            x, y = 0, y + 1
        elif second == 1:              # end of bitmap
            break
        elif second == 2:              # delta: move right and up
            need(2)
            x, y = x + data[i], y + data[i + 1]
            i += 2
            if x > width or y > height:
                raise BmpError("RLE8 delta leaves the bitmap")
        else:                          # absolute run, padded to a word
            need(second)
            for index in data[i:i + second]:
                put(index, 1)
            i += second + (second & 1)
    return rows
