"""Image file writers (PNG, GIF89a, 24-bit BMP) and a PNG reader, standard library only."""
import struct
import zlib


def _chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def write_png(path, width, height, pixels):
    """pixels: row-major list of (r, g, b, a) tuples, 0..255."""
    raw = bytearray()
    for y in range(height):
        raw.append(0)  # filter: none
        for r, g, b, a in pixels[y * width:(y + 1) * width]:
            raw += bytes((r, g, b, a))
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(_chunk(b"IHDR", header))
        f.write(_chunk(b"IDAT", zlib.compress(bytes(raw), 9)))
        f.write(_chunk(b"IEND", b""))


def _lzw(indices, min_code_size):
    """GIF variable-length LZW: returns the code stream as bytes."""
    clear = 1 << min_code_size
    end = clear + 1
    out = bytearray()
    bits = 0
    nbits = 0

    def emit(code, size):
        nonlocal bits, nbits
        bits |= code << nbits
        nbits += size
        while nbits >= 8:
            out.append(bits & 0xFF)
            bits >>= 8
            nbits -= 8

    def reset():
        return {bytes([i]): i for i in range(clear)}, end + 1, min_code_size + 1

    table, next_code, size = reset()
    emit(clear, size)
    prefix = b""
    for index in indices:
        candidate = prefix + bytes([index])
        if candidate in table:
            prefix = candidate
            continue
        emit(table[prefix], size)
        if next_code < 4096:
            table[candidate] = next_code
            next_code += 1
            # The decoder widens one code later than the encoder adds the entry.
            if next_code > (1 << size) and size < 12:
                size += 1
        else:
            emit(clear, size)
            table, next_code, size = reset()
        prefix = bytes([index])
    if prefix:
        emit(table[prefix], size)
        # The decoder adds an entry for this code too and may widen before reading the end.
        if next_code >= (1 << size) and size < 12:
            size += 1
    emit(end, size)
    if nbits:
        out.append(bits & 0xFF)
    return bytes(out)


def write_gif(path, width, height, indices, palette):
    """indices: row-major palette indices; palette: list of (r, g, b), at most 256."""
    if not 1 <= len(palette) <= 256:
        raise ValueError("a GIF palette holds 1 to 256 colours")
    depth = max(1, (len(palette) - 1).bit_length())
    table = list(palette) + [(0, 0, 0)] * ((1 << depth) - len(palette))
    min_code_size = max(2, depth)
    data = _lzw(indices, min_code_size)
    with open(path, "wb") as f:
        f.write(b"GIF89a")
        f.write(struct.pack("<HHBBB", width, height, 0x80 | ((depth - 1) << 4) | (depth - 1), 0, 0))
        for rgb in table:
            f.write(bytes(rgb))
        f.write(b"," + struct.pack("<HHHHB", 0, 0, width, height, 0))
        f.write(bytes([min_code_size]))
        for i in range(0, len(data), 255):
            block = data[i:i + 255]
            f.write(bytes([len(block)]) + block)
        f.write(b"\x00;")


def write_bmp24(path, width, height, pixels):
    """pixels: row-major list of (r, g, b); stored bottom-up with rows padded to 4 bytes."""
    stride = (width * 3 + 3) & ~3
    image = bytearray()
    for y in range(height - 1, -1, -1):
        row = bytearray()
        for r, g, b in pixels[y * width:(y + 1) * width]:
            row += bytes((b, g, r))
        image += row + b"\x00" * (stride - len(row))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(image), 3780, 3780, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(image), 0, 0, 14 + len(info))
    with open(path, "wb") as f:
        f.write(header + info + image)


def read_png(path):
    """Reads the 8-bit RGBA, non-interlaced PNGs that write_png makes: (width, height, pixels)."""
    with open(path, "rb") as f:
        data = f.read()
    pos = 8
    idat = b""
    width = height = 0
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height = struct.unpack(">II", body[:8])
            if body[8:10] != b"\x08\x06":
                raise ValueError(path + ": only 8-bit RGBA is read")
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    raw = zlib.decompress(idat)
    stride = width * 4
    pixels = []
    previous = bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        row = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = row[i - 4] if i >= 4 else 0
            up = previous[i]
            ul = previous[i - 4] if i >= 4 else 0
            if kind == 1:
                row[i] = (row[i] + left) & 0xFF
            elif kind == 2:
                row[i] = (row[i] + up) & 0xFF
            elif kind == 3:
                row[i] = (row[i] + (left + up) // 2) & 0xFF
            elif kind == 4:
                p = left + up - ul
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - ul)
                pred = left if pa <= pb and pa <= pc else (up if pb <= pc else ul)
                row[i] = (row[i] + pred) & 0xFF
        pixels += [tuple(row[i:i + 4]) for i in range(0, stride, 4)]
        previous = row
    return width, height, pixels
