#!/usr/bin/env python3
"""Convert an 8-pixel-wide PC Screen Font (PSF1 or PSF2, gzipped or not) to the game's built-in font.

Writes a C++ source defining grotmere::kFontGlyphs[96][16], the glyphs for codes 32 to 127,
row by row with bit 7 the leftmost pixel. Each code is looked up through the font's Unicode
table when it has one, because console fonts often order their glyphs by a code page rather
than by ASCII; without a table (or without an entry for the code) glyph number == code is used.

The game's cell is 8 x 16, but its text lines and map cells are only 10 pixels apart, so a font
shorter than 16 rows is welcome: its glyphs are put TOP rows down in the cell (default 0) and the
rows below them stay blank. A few glyphs are then replaced by our own (OWN_GLYPHS), where the
font draws two characters a player must tell apart almost alike.

Usage: psf_to_cpp.py [--top TOP] FONT.psf[.gz] OUTPUT.cpp
"""

import gzip
import os
import struct
import sys
import textwrap

PSF1_MAGIC = b"\x36\x04"
PSF1_MODE512 = 0x01
PSF1_MODEHASTAB = 0x02
PSF1_MODESEQ = 0x04
PSF1_SEPARATOR = 0xFFFF
PSF1_STARTSEQ = 0xFFFE

PSF2_MAGIC = b"\x72\xb5\x4a\x86"
PSF2_HAS_UNICODE_TABLE = 0x01
PSF2_SEPARATOR = 0xFF
PSF2_STARTSEQ = 0xFE

FIRST_CODE = 32
CODE_COUNT = 96
GLYPH_WIDTH = 8
GLYPH_HEIGHT = 16

# Our own glyphs, 8 rows each, put at the same place as the font's. The 8 x 8 VGA font's "l"
# differs from its "I" by one pixel; ours ends in a foot to the right.
OWN_GLYPHS = {
    "VGA8": {
        ord("l"): [0x38, 0x18, 0x18, 0x18, 0x18, 0x18, 0x0E, 0x00],
    },
}

# Where each font comes from and under which terms, for the generated file's header.
FONT_TERMS = {
    "Terminus": "Terminus Font, SIL Open Font License 1.1",
    "VGA8": "the 8 x 8 VGA console font of console-setup, public domain",
}


class FontError(Exception):
    pass


def read_font_bytes(path):
    with open(path, "rb") as f:
        data = f.read()
    if data[:2] == b"\x1f\x8b":
        data = gzip.decompress(data)
    return data


def parse_psf1_table(table, glyph_count):
    """Maps each single code point to the first glyph that lists it; sequences are ignored."""
    mapping = {}
    pos = 0
    for glyph in range(glyph_count):
        in_sequence = False
        while True:
            if pos + 2 > len(table):
                raise FontError("PSF1 Unicode table is truncated")
            (value,) = struct.unpack_from("<H", table, pos)
            pos += 2
            if value == PSF1_SEPARATOR:
                break
            if value == PSF1_STARTSEQ:
                in_sequence = True
            elif not in_sequence:
                mapping.setdefault(value, glyph)
    return mapping


def parse_psf1(data):
    if len(data) < 4:
        raise FontError("PSF1 header is truncated")
    mode, charsize = data[2], data[3]
    glyph_count = 512 if mode & PSF1_MODE512 else 256
    glyph_end = 4 + glyph_count * charsize
    if len(data) < glyph_end:
        raise FontError("PSF1 glyph data is truncated")
    glyphs = [data[4 + i * charsize : 4 + (i + 1) * charsize] for i in range(glyph_count)]
    mapping = None
    if mode & (PSF1_MODEHASTAB | PSF1_MODESEQ):
        mapping = parse_psf1_table(data[glyph_end:], glyph_count)
    # PSF1 glyphs are always 8 pixels wide, one byte per row.
    return glyphs, GLYPH_WIDTH, charsize, mapping


def parse_psf2_table(table, glyph_count):
    """Maps each single code point to the first glyph that lists it; sequences are ignored."""
    mapping = {}
    pos = 0
    for glyph in range(glyph_count):
        end = table.find(bytes([PSF2_SEPARATOR]), pos)
        if end < 0:
            raise FontError("PSF2 Unicode table is truncated")
        entry = table[pos:end]
        pos = end + 1
        singles = entry.split(bytes([PSF2_STARTSEQ]), 1)[0]
        for ch in singles.decode("utf-8", errors="strict"):
            mapping.setdefault(ord(ch), glyph)
    return mapping


def parse_psf2(data):
    if len(data) < 32:
        raise FontError("PSF2 header is truncated")
    (_, _, headersize, flags, length, charsize, height, width) = struct.unpack_from(
        "<4sIIIIIII", data, 0
    )
    if charsize != height * ((width + 7) // 8):
        raise FontError("PSF2 glyph size does not match its width and height")
    glyph_end = headersize + length * charsize
    if len(data) < glyph_end:
        raise FontError("PSF2 glyph data is truncated")
    glyphs = [
        data[headersize + i * charsize : headersize + (i + 1) * charsize] for i in range(length)
    ]
    mapping = None
    if flags & PSF2_HAS_UNICODE_TABLE:
        mapping = parse_psf2_table(data[glyph_end:], length)
    return glyphs, width, height, mapping


def parse_psf(data):
    if data[:4] == PSF2_MAGIC:
        return parse_psf2(data)
    if data[:2] == PSF1_MAGIC:
        return parse_psf1(data)
    raise FontError("not a PSF1 or PSF2 font")


def glyph_for_code(code, glyphs, mapping):
    # In a font with a Unicode table the glyph numbers follow its own code page, so a code the
    # table does not list (DEL in most console fonts) gets a blank glyph rather than whatever
    # accented letter happens to sit at that number.
    blank = bytes(len(glyphs[0]) if glyphs else GLYPH_HEIGHT)
    if mapping is not None:
        return glyphs[mapping[code]] if code in mapping else blank
    if code < len(glyphs):
        return glyphs[code]
    return blank


def font_key(source_name, table):
    """The entry of a per-font table whose key the font's file name contains, or None."""
    for key, value in table.items():
        if key in source_name:
            return value
    return None


def place(glyph, top):
    """The font's rows put top rows down in a blank 16-row cell."""
    return bytes(top) + bytes(glyph) + bytes(GLYPH_HEIGHT - top - len(glyph))


def pick_glyphs(data, top=0, source_name=""):
    glyphs, width, height, mapping = parse_psf(data)
    if width != GLYPH_WIDTH or top < 0 or top + height > GLYPH_HEIGHT:
        raise FontError(
            f"font is {width} x {height} placed {top} rows down; the game's cell is"
            f" {GLYPH_WIDTH} x {GLYPH_HEIGHT}"
        )
    codes = range(FIRST_CODE, FIRST_CODE + CODE_COUNT)
    own = font_key(source_name, OWN_GLYPHS) or {}
    rows = []
    for code in codes:
        glyph = own[code] if code in own else glyph_for_code(code, glyphs, mapping)[:height]
        rows.append(place(glyph, top))
    return rows


def printable(code):
    ch = chr(code)
    if code == 127:
        return "DEL"
    if ch == "\\":
        return "backslash"
    return f"'{ch}'"


def render_cpp(rows, source_name, command):
    terms = font_key(source_name, FONT_TERMS) or "see its licence"
    header = (
        f"Generated by {command} from {source_name} ({terms}: see platform/FONT-LICENSE.txt)."
        " Do not edit by hand: change the script or the font and run it again."
    )
    # Wrapped as clang-format would, so that it leaves the generated text as it is.
    out = ["// " + line for line in textwrap.wrap(header, 97, break_long_words=False)]
    out += [
        "",
        '#include "platform/canvas.hpp"',
        "",
        "namespace grotmere {",
        "",
        f"const uint8_t kFontGlyphs[{CODE_COUNT}][{GLYPH_HEIGHT}] = {{",
    ]
    for index, glyph in enumerate(rows):
        code = FIRST_CODE + index
        # Two lines of eight rows each keep the file within the project's line length, so
        # clang-format leaves the generated text as it is.
        first = ", ".join(f"0x{b:02x}" for b in glyph[:8])
        second = ", ".join(f"0x{b:02x}" for b in glyph[8:])
        out.append(f"    {{{first},  // {code} {printable(code)}")
        out.append(f"     {second}}},")
    out += ["};", "", "}  // namespace grotmere", ""]
    return "\n".join(out)


def main(argv):
    args = argv[1:]
    top = 0
    if len(args) == 4 and args[0] == "--top" and args[1].isdigit():
        top = int(args[1])
        args = args[2:]
    if len(args) != 2:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    font_path, output_path = args
    source_name = os.path.basename(font_path)
    try:
        rows = pick_glyphs(read_font_bytes(font_path), top, source_name)
    except (OSError, FontError, UnicodeDecodeError, struct.error) as e:
        print(f"psf_to_cpp: {font_path}: {e}", file=sys.stderr)
        return 1
    placed = f"--top {top} " if top else ""
    command = f"tools/psf_to_cpp.py {placed}{font_path} {output_path}"
    text = render_cpp(rows, source_name, command)
    with open(output_path, "w", encoding="ascii") as f:
        f.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
