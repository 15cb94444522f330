#!/usr/bin/env python3
"""Writes the malformed inputs of this folder and CASES.tsv.

Each case is a small file that the converter must refuse with a given exit
code and a message containing a given phrase, leaving no output file. The
files are built here byte by byte, independently of the converter's writer.
Run it from anywhere; it rewrites the folder it lives in.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
UIDS = struct.pack('<4I', 0x10000037, 0x10000042, 0, 0x47396439)


def bitmap_header(size, w, h, bpp, colour, comp, struct_size=40, palette=0):
    return struct.pack('<10i', size, struct_size, w, h, 0, 0, bpp, colour, palette, comp)


def mbm(w, h, bpp, colour, comp, data, **kw):
    """One-bitmap file laid out as the SDK tool lays it out."""
    size = kw.pop('size', 40 + len(data))
    rec = bitmap_header(size, w, h, bpp, colour, comp, **kw) + data
    trailer = 20 + len(rec)
    return UIDS + struct.pack('<I', trailer) + rec + struct.pack('<II', 1, 20)


def with_trailer(body, count, offsets, trailer=None):
    t = len(UIDS) + 4 + len(body) if trailer is None else trailer
    return UIDS + struct.pack('<I', t) + body + struct.pack('<I', count) + b''.join(struct.pack('<I', o) for o in offsets)


def bmp(w, h, bpp, comp=0, info_size=40, pixels=b'', palette=b'', clr_used=0, off_bits=None):
    info = struct.pack('<IiiHHIIiiII', info_size, w, h, 1, bpp, comp, 0, 0, 0, clr_used, 0)
    info = info.ljust(info_size, b'\0')
    off = 14 + len(info) + len(palette) if off_bits is None else off_bits
    return b'BM' + struct.pack('<IHHI', off + len(pixels), 0, 0, off) + info + palette + pixels


GOOD_8BIT_ROW = bytes([1, 2, 3, 4])

# (file, how it is used: "u" unpack or a pack depth, exit code, phrase in the message, bytes)
CASES = [
    ('empty.mbm', 'u', 4, 'too short', b''),
    ('short-header.mbm', 'u', 4, 'too short', UIDS[:10]),
    ('wrong-uid.mbm', 'u', 4, 'wrong UIDs', struct.pack('<5I', 0x10000037, 0x10000041, 0, 0x47396439, 20)),
    ('trailer-past-end.mbm', 'u', 4, 'trailer offset', UIDS + struct.pack('<I', 0xFFFFFFF0)),
    ('no-bitmaps.mbm', 'u', 4, 'no bitmaps', with_trailer(b'', 0, [])),
    ('count-overflows.mbm', 'u', 4, 'file ends first', with_trailer(b'', 0x40000001, [20])),
    ('offset-past-end.mbm', 'u', 4, 'past the end', with_trailer(b'', 1, [0x7FFFFFF0])),
    ('record-size-past-end.mbm', 'u', 4, 'does not fit', mbm(1, 1, 8, 0, 0, GOOD_8BIT_ROW, size=4000)),
    ('record-size-negative.mbm', 'u', 4, 'does not fit', mbm(1, 1, 8, 0, 0, GOOD_8BIT_ROW, size=-8)),
    ('struct-size-wrong.mbm', 'u', 4, 'header size', mbm(1, 1, 8, 0, 0, GOOD_8BIT_ROW, struct_size=44)),
    ('zero-width.mbm', 'u', 4, 'outside 1..32767', mbm(0, 1, 8, 0, 0, b'')),
    ('negative-height.mbm', 'u', 4, 'outside 1..32767', mbm(4, -1, 8, 0, 0, GOOD_8BIT_ROW)),
    ('width-over-limit.mbm', 'u', 4, 'outside 1..32767', mbm(40000, 1, 8, 0, 0, GOOD_8BIT_ROW)),
    ('decodes-too-large.mbm', 'u', 4, 'over the limit', mbm(32767, 32767, 32, 1, 5, b'\x7f\0\0\0')),
    ('size-product-overflows.mbm', 'u', 4, 'over the limit', mbm(32767, 32767, 24, 1, 0, GOOD_8BIT_ROW)),
    ('unknown-depth.mbm', 'u', 12, 'unsupported depth', mbm(1, 1, 7, 0, 0, GOOD_8BIT_ROW)),
    ('grey-twelve-bit.mbm', 'u', 12, 'unsupported depth', mbm(1, 1, 12, 0, 0, GOOD_8BIT_ROW)),
    ('unknown-compression.mbm', 'u', 9, 'compression 7', mbm(1, 1, 8, 0, 7, GOOD_8BIT_ROW)),
    ('compression-for-other-depth.mbm', 'u', 9, 'compression 3', mbm(1, 1, 8, 0, 3, b'\x01\0\0')),
    ('palette-entries.mbm', 'u', 14, 'palette', mbm(1, 1, 8, 0, 0, GOOD_8BIT_ROW, palette=16)),
    ('raw-data-short.mbm', 'u', 4, 'expected 8', mbm(2, 2, 8, 0, 0, GOOD_8BIT_ROW)),
    ('rle-run-overruns.mbm', 'u', 11, 'past the end of the bitmap', mbm(4, 1, 8, 0, 1, b'\x7f\x01')),
    ('rle-stream-ends-early.mbm', 'u', 11, 'before the bitmap is filled', mbm(8, 2, 8, 0, 1, b'\x0e\x01')),
    ('rle-extra-token.mbm', 'u', 11, 'past the end of the bitmap', mbm(4, 1, 8, 0, 1, b'\x03\x01\x00\x02')),
    ('rle-literal-cut.mbm', 'u', 11, 'ends inside a token', mbm(4, 1, 8, 0, 1, b'\xfc\x01\x02')),
    ('rle12-odd-length.mbm', 'u', 11, 'odd length', mbm(2, 1, 12, 1, 2, b'\x00\x10\x00')),
    ('rle24-unit-cut.mbm', 'u', 11, 'ends inside a token', mbm(4, 1, 24, 1, 4, b'\x03\x01\x02')),
    ('rle-claims-huge-bitmap.mbm', 'u', 11, 'too short to fill', mbm(32767, 2000, 8, 0, 1, b'\x7f\x00\x7f\x00')),
    ('not-a-bmp.bmp', 'c24', 4, 'no BM signature', b'GIF89a' + bytes(40)),
    ('bmp-header-cut.bmp', 'c24', 4, 'info header', bmp(1, 1, 24, pixels=b'\0\0\0\0')[:30]),
    ('bmp-info-size-odd.bmp', 'c24', 4, 'info header size 20', bmp(1, 1, 24, info_size=40, pixels=b'\0' * 4)[:14] + struct.pack('<I', 20) + bytes(40)),
    ('bmp-zero-width.bmp', 'c24', 4, 'outside 1..32767', bmp(0, 1, 24)),
    ('bmp-huge.bmp', 'c24', 4, 'too large', bmp(32767, 32767, 24, pixels=b'\0' * 16)),
    ('bmp-height-most-negative.bmp', 'c24', 4, 'outside 1..32767', bmp(1, -2**31, 24, pixels=b'\0' * 4)),
    ('bmp-pixels-cut.bmp', 'c24', 4, 'truncated', bmp(16, 16, 24, pixels=b'\0' * 100)),
    ('bmp-offbits-past-end.bmp', 'c24', 4, 'data area', bmp(1, 1, 24, pixels=b'\0' * 4, off_bits=100000)),
    ('bmp-offbits-in-header.bmp', 'c24', 4, 'data area', bmp(1, 1, 24, pixels=b'\0' * 4, off_bits=20)),
    ('bmp-depth-3.bmp', 'c24', 4, 'bit depth 3', bmp(1, 1, 3, pixels=b'\0' * 4)),
    ('bmp-jpeg.bmp', 'c24', 9, 'compression 4', bmp(1, 1, 24, comp=4, pixels=b'\0' * 4)),
    ('bmp-palette-over-256.bmp', 'c8', 4, 'larger than 256', bmp(1, 1, 8, pixels=b'\0' * 4, palette=bytes(1200), clr_used=300)),
    ('bmp-rle-top-down.bmp', 'c8', 4, 'top-down', bmp(1, -1, 8, comp=1, pixels=b'\0\1', palette=bytes(8), clr_used=2)),
]


def main():
    for name in os.listdir(HERE):
        if name.endswith(('.mbm', '.bmp')):
            os.remove(os.path.join(HERE, name))
    with open(os.path.join(HERE, 'CASES.tsv'), 'w', encoding='utf-8') as tsv:
        tsv.write('# file\tuse\texit_code\tmessage_contains\n')
        for name, use, code, phrase, data in CASES:
            with open(os.path.join(HERE, name), 'wb') as f:
                f.write(data)
            tsv.write(f'{name}\t{use}\t{code}\t{phrase}\n')


if __name__ == '__main__':
    main()
