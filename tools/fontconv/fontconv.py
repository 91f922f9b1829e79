#!/usr/bin/env python3
"""Builds toolkit/fontdata.cpp, the glyph tables of Gloomhold's five built-in
fonts, from the public-domain X11 "misc-fixed" bitmap fonts (Debian package
xfonts-base, /usr/share/fonts/X11/misc/*.pcf.gz). See docs/fonts.md.

    python3 tools/fontconv/fontconv.py [FONT_DIR] > toolkit/fontdata.cpp

The PCF files are read directly (no pcf2bdf needed). Each glyph becomes
height + 1 words: the advance, then one word per row, bit 0 leftmost.
"""
import gzip
import os
import struct
import sys

PCF_PROPERTIES = 1 << 0
PCF_ACCELERATORS = 1 << 1
PCF_METRICS = 1 << 2
PCF_BITMAPS = 1 << 3
PCF_BDF_ENCODINGS = 1 << 5
PCF_BDF_ACCELERATORS = 1 << 8

FIRST, LAST = 32, 127


class Reader:
    def __init__(self, data, offset, fmt):
        self.data, self.pos = data, offset
        self.big = bool(fmt & 4)

    def take(self, code, size):
        value = struct.unpack_from((">" if self.big else "<") + code, self.data, self.pos)[0]
        self.pos += size
        return value

    def i32(self):
        return self.take("i", 4)

    def i16(self):
        return self.take("h", 2)

    def u8(self):
        value = self.data[self.pos]
        self.pos += 1
        return value


class PcfFont:
    """The glyphs of one PCF font as rows of 0/1 cells over its whole cell:
    ascent + descent rows, columns from the origin."""

    def __init__(self, path):
        data = gzip.open(path).read() if path.endswith(".gz") else open(path, "rb").read()
        if data[:4] != b"\x01fcp":
            raise ValueError(path + ": not a PCF font")
        count = struct.unpack_from("<i", data, 4)[0]
        tables = {}
        for i in range(count):
            kind, fmt, size, offset = struct.unpack_from("<iiii", data, 8 + 16 * i)
            tables[kind] = (fmt, offset)
        self.data = data
        self.tables = tables
        self.readAccelerators()
        self.readMetrics()
        self.readBitmaps()
        self.readEncodings()

    def table(self, kind):
        fmt, offset = self.tables[kind]
        # Every table repeats its format word, always little-endian.
        fmt = struct.unpack_from("<i", self.data, offset)[0]
        return Reader(self.data, offset + 4, fmt), fmt

    def readAccelerators(self):
        kind = PCF_BDF_ACCELERATORS if PCF_BDF_ACCELERATORS in self.tables else PCF_ACCELERATORS
        r, _ = self.table(kind)
        r.pos += 8  # eight flag bytes
        self.ascent = r.i32()
        self.descent = r.i32()

    def readMetrics(self):
        r, fmt = self.table(PCF_METRICS)
        self.metrics = []
        if fmt & 0x100:
            for _ in range(r.i16()):
                lsb, rsb, width, ascent, descent = (r.u8() - 0x80 for _ in range(5))
                self.metrics.append((lsb, rsb, width, ascent, descent))
        else:
            for _ in range(r.i32()):
                lsb, rsb, width, ascent, descent, _attributes = (r.i16() for _ in range(6))
                self.metrics.append((lsb, rsb, width, ascent, descent))

    def readBitmaps(self):
        r, fmt = self.table(PCF_BITMAPS)
        count = r.i32()
        offsets = [r.i32() for _ in range(count)]
        r.pos += 16  # the four possible bitmap sizes
        base = r.pos
        pad = 1 << (fmt & 3)
        unit = 1 << ((fmt >> 4) & 3)
        msbFirstBytes = bool(fmt & 4)
        msbFirstBits = bool(fmt & 8)
        self.bitmaps = []
        for index in range(count):
            lsb, rsb, width, ascent, descent = self.metrics[index]
            inkWidth = rsb - lsb
            rowBytes = ((inkWidth + 7) // 8 + pad - 1) // pad * pad
            rows = []
            for row in range(ascent + descent):
                start = base + offsets[index] + row * rowBytes
                raw = bytearray(self.data[start:start + rowBytes])
                if unit > 1 and msbFirstBytes != msbFirstBits:
                    for u in range(0, len(raw), unit):
                        raw[u:u + unit] = raw[u:u + unit][::-1]
                cells = []
                for column in range(inkWidth):
                    byte = raw[column // 8]
                    bit = 7 - column % 8 if msbFirstBits else column % 8
                    cells.append((byte >> bit) & 1)
                rows.append(cells)
            self.bitmaps.append(rows)

    def readEncodings(self):
        r, _ = self.table(PCF_BDF_ENCODINGS)
        min2, max2, min1, max1, default = (r.i16() for _ in range(5))
        span = max2 - min2 + 1
        indices = [r.i16() & 0xFFFF for _ in range(span * (max1 - min1 + 1))]
        self.encoding = {}
        for code in range(FIRST, LAST + 1):
            byte1, byte2 = code >> 8, code & 255
            if min1 <= byte1 <= max1 and min2 <= byte2 <= max2:
                glyph = indices[(byte1 - min1) * span + byte2 - min2]
                if glyph != 0xFFFF:
                    self.encoding[code] = glyph

    def cell(self, code):
        """The glyph of code as a full cell (ascent + descent rows), with its
        advance; a missing glyph (such as 127 in most fonts) is blank."""
        height = self.ascent + self.descent
        if code not in self.encoding:
            width = self.metrics[0][2] if self.metrics else 0
            return width, [[0] * 32 for _ in range(height)]
        index = self.encoding[code]
        lsb, rsb, width, ascent, descent = self.metrics[index]
        grid = [[0] * 32 for _ in range(height)]
        for row, cells in enumerate(self.bitmaps[index]):
            y = self.ascent - ascent + row
            for column, value in enumerate(cells):
                x = lsb + column
                if value and 0 <= y < height and 0 <= x < 32:
                    grid[y][x] = 1
        return width, grid


def pack(grid, advance, height):
    words = [advance]
    for y in range(height):
        word = 0
        for x in range(advance):
            if grid[y][x]:
                word |= 1 << x
        words.append(word)
    return words


def fixedFont(font, height, advance, top=0, left=0):
    """Every glyph in a cell of the given size, shifted down by top rows and
    right by left columns."""
    glyphs = []
    for code in range(FIRST, LAST + 1):
        _, grid = font.cell(code)
        moved = [[0] * 32 for _ in range(height)]
        for y, row in enumerate(grid):
            for x, value in enumerate(row):
                if value and 0 <= y + top < height and 0 <= x + left < 32:
                    moved[y + top][x + left] = 1
        glyphs.append(pack(moved, advance, height))
    return glyphs


def proportionalFont(font, height, spaceWidth):
    """Each glyph cut to its ink plus one column of spacing on the right."""
    glyphs = []
    for code in range(FIRST, LAST + 1):
        _, grid = font.cell(code)
        columns = [x for x in range(32) if any(grid[y][x] for y in range(len(grid)))]
        if not columns:
            glyphs.append(pack([[0] * 32] * height, spaceWidth, height))
            continue
        first, last = columns[0], columns[-1]
        trimmed = [row[first:] + [0] * first for row in grid]
        glyphs.append(pack(trimmed, max(2, last - first + 2), height))
    return glyphs


def doubledFont(font, height, top=0):
    """Each pixel of the source becomes a 2 x 2 block, smoothed with the
    Scale2x rule (a block's corner takes the colour of the two neighbours
    meeting there when they agree and the other two differ), so diagonals
    come out as steps of one pixel instead of two."""
    glyphs = []
    for code in range(FIRST, LAST + 1):
        width, grid = font.cell(code)
        rows, columns = len(grid), 32

        def at(y, x):
            return grid[y][x] if 0 <= y < rows and 0 <= x < columns else 0

        big = [[0] * 32 for _ in range(height)]
        for y in range(rows):
            for x in range(16):
                p = at(y, x)
                a, b, c, d = at(y - 1, x), at(y, x + 1), at(y, x - 1), at(y + 1, x)
                quad = [p, p, p, p]
                if c == a and c != d and a != b:
                    quad[0] = a
                if a == b and a != c and b != d:
                    quad[1] = b
                if d == c and d != b and c != a:
                    quad[2] = c
                if b == d and b != a and d != c:
                    quad[3] = d
                for k, (dy, dx) in enumerate(((0, 0), (0, 1), (1, 0), (1, 1))):
                    yy, xx = 2 * y + dy + top, 2 * x + dx
                    if quad[k] and 0 <= yy < height and xx < 2 * width:
                        big[yy][xx] = 1
        glyphs.append(pack(big, 2 * width, height))
    return glyphs


def check(name, glyphs, height, minWidth, maxWidth):
    for code, words in zip(range(FIRST, LAST + 1), glyphs):
        advance = words[0]
        if not minWidth <= advance <= maxWidth:
            raise ValueError("%s: advance %d of code %d" % (name, advance, code))
        for word in words[1:]:
            if word >> advance:
                raise ValueError("%s: ink beyond the advance in code %d" % (name, code))
        if len(words) != height + 1:
            raise ValueError(name + ": wrong height")


def emit(fonts, sources):
    out = []
    out.append("// Generated by tools/fontconv/fontconv.py from the public-domain X11")
    out.append("// misc-fixed fonts; see docs/fonts.md. Do not edit by hand: change the")
    out.append("// converter and run it again.")
    out.append('#include "toolkit/fontdata.h"')
    out.append("")
    out.append("namespace {")
    out.append("")
    out.append("// One glyph after another, a comment naming each; the layout is the")
    out.append("// converter's, so the formatter leaves it alone.")
    out.append("// clang-format off")
    for index, (height, glyphs) in enumerate(fonts):
        out.append("")
        out.append("// Font %d: %s" % (index, sources[index]))
        out.append("const uint16_t FONT%d[] = {" % index)
        for code, words in zip(range(FIRST, LAST + 1), glyphs):
            shown = chr(code) if 32 < code < 127 and chr(code) != "\\" else "code %d" % code
            out.append("    // %s" % shown)
            for start in range(0, len(words), 11):
                out.append("    " + ", ".join("0x%04X" % w for w in words[start:start + 11]) + ",")
        out.append("};")
    out.append("// clang-format on")
    out.append("")
    out.append("} // namespace")
    out.append("")
    out.append("const int32_t builtinFontHeights[BUILTIN_FONT_COUNT] = {%s};"
               % ", ".join(str(h) for h, _ in fonts))
    out.append("const uint16_t* const builtinFontGlyphs[BUILTIN_FONT_COUNT] = {%s};"
               % ", ".join("FONT%d" % i for i in range(len(fonts))))
    return "\n".join(out) + "\n"


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else "/usr/share/fonts/X11/misc"
    load = lambda name: PcfFont(os.path.join(folder, name + ".pcf.gz"))
    bold = load("7x13B")
    thin = load("7x13")
    wide = load("8x13")
    narrow = load("6x13")
    large = load("8x13B")

    fonts = [
        (13, fixedFont(bold, 13, 7)),
        (13, fixedFont(thin, 13, 7)),
        # 8x13 with a blank row above and below.
        (15, fixedFont(wide, 15, 8, top=1)),
        (13, proportionalFont(narrow, 13, 4)),
        # 8x13B doubled (smoothed) to 16 x 26, with a blank row at the bottom.
        (27, doubledFont(large, 27)),
    ]
    sources = [
        "7x13B (bold), 7 x 13",
        "7x13, 7 x 13",
        "8x13, one blank row above and below, 8 x 15",
        "6x13, each glyph cut to its ink plus one column, space 4 wide",
        "8x13B doubled with Scale2x smoothing, 16 x 27",
    ]
    check("font 0", fonts[0][1], 13, 7, 7)
    check("font 1", fonts[1][1], 13, 7, 7)
    check("font 2", fonts[2][1], 15, 8, 8)
    check("font 3", fonts[3][1], 13, 2, 13)
    check("font 4", fonts[4][1], 27, 16, 16)
    sys.stdout.write(emit(fonts, sources))


if __name__ == "__main__":
    main()
