"""Decode and encode the Windows BMP files of the menu artwork, with the standard library.

Reads BITMAPINFOHEADER files (and the later, longer headers, whose first 40
bytes are the same) holding 8-bit palettised pixels, uncompressed or BI_RLE8,
or 24-bit uncompressed pixels; bottom-up or, when uncompressed, top-down.

    width, height, pixels = bmp.load("launcher/art/back.bmp")
    r, g, b = pixels[y][x]          # row 0 is the top of the picture

Pixels that an RLE8 delta escape or an early end of line or bitmap skips are
left black, as Windows leaves them when it loads such a file.

Writes 8-bit palettised files, bottom-up, plain or BI_RLE8 (tools/make-art):

    data = bmp.encode(width, height, indices, palette, rle=True)
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


def encode(width, height, indices, palette, rle):
    """A bottom-up 8-bit BMP with a 40-byte header: indices[y][x] is a palette index, row 0
    the top; palette holds (r, g, b) tuples. BI_RLE8 when rle, else plain."""
    if rle:
        body = encode_rle8(indices)
        compression = BI_RLE8
    else:
        stride = (width + 3) & ~3
        body = b"".join(bytes(row) + b"\x00" * (stride - width) for row in reversed(indices))
        compression = BI_RGB
    colours = len(palette)
    offset = 14 + 40 + 4 * colours
    head = struct.pack("<2sIHHI", b"BM", offset + len(body), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, compression,
                       len(body), 2835, 2835, colours, 0)
    pal = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    return head + info + pal + body


def encode_rle8(indices):
    """The BI_RLE8 stream of rows of palette indices (top row first): each row coded, then
    end of line, and end of bitmap after the last."""
    body = bytearray()
    for r, row in enumerate(reversed(indices)):
        body += encode_rle8_row(row)
        body += b"\x00\x00" if r < len(indices) - 1 else b"\x00\x01"
    return bytes(body)


def encode_rle8_row(row):
    """One row of palette indices as BI_RLE8 codes, the fewest bytes first.

    Works on the row's runs of equal pixels: each run is either sent as encoded runs (2 bytes
    per 255 pixels) or merged with its neighbours into an absolute-mode block (2 bytes + pixels,
    padded to a word; 3 to 255 pixels, as fewer would read as an escape), whichever costs fewer
    bytes in total.
    """
    runs = []
    for v in row:
        if runs and runs[-1][0] == v:
            runs[-1][1] += 1
        else:
            runs.append([v, 1])
    n = len(runs)
    best = [0] + [None] * n   # best[i]: bytes for the first i runs
    how = [None] * (n + 1)
    for i in range(n):
        if best[i] is None:
            continue
        v, length = runs[i]
        cost = best[i] + 2 * -(-length // 255)
        if best[i + 1] is None or cost < best[i + 1]:
            best[i + 1], how[i + 1] = cost, (i, "run")
        total = 0
        for j in range(i, n):
            total += runs[j][1]
            if total > 255:
                break
            if total >= 3:
                cost = best[i] + 2 + total + (total & 1)
                if best[j + 1] is None or cost < best[j + 1]:
                    best[j + 1], how[j + 1] = cost, (i, "abs")
    pieces = []
    k = n
    while k:
        i, kind = how[k]
        pieces.append((i, k, kind))
        k = i
    out = bytearray()
    for i, k, kind in reversed(pieces):
        if kind == "run":
            v, length = runs[i]
            while length:
                step = min(255, length)
                out += bytes((step, v))
                length -= step
        else:
            block = []
            for v, length in runs[i:k]:
                block += [v] * length
            out += bytes((0, len(block))) + bytes(block)
            if len(block) & 1:
                out.append(0)
    return bytes(out)
