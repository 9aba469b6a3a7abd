#!/usr/bin/env python3
"""Counts the independently decodable blocks of the LZMA2 streams in a 7z archive.

    lzma2_blocks.py ARCHIVE.7z [--min-resets N] [--max-size-of OTHER.7z PERCENT]

The packed streams of a 7z archive lie between the 32-byte start header and the header
block; with a compressed header, the header's own packed stream (LZMA) comes last and is left
out, found through the position in the encoded header's pack info. When every coder that owns a packed stream is LZMA2 (the case for our payload: LZMA2
alone, or BCJ in front of LZMA2), those bytes are a sequence of LZMA2 streams, each a chain
of chunks ending with a 0x00 control byte. Each chunk header gives its own sizes, so the
chunks can be walked without decoding. A chunk that resets the dictionary (control 0x01, or
an LZMA chunk with control 0xE0 and above) starts a block that a parallel extractor can
decode on its own.

Prints "streams=S chunks=C resets=R packed=P" and exits 1 when the walk does not end exactly
at the header, or when a given limit is not met.
"""
import os
import struct
import sys


def walk(data, start, end):
    streams = chunks = resets = 0
    pos = start
    while pos < end:
        streams += 1
        first = True
        while True:
            if pos >= end:
                raise ValueError(f"stream runs past the packed area at {pos}")
            c = data[pos]
            if c == 0x00:
                pos += 1
                break
            if c in (0x01, 0x02):
                size = struct.unpack(">H", data[pos + 1:pos + 3])[0] + 1
                resets += c == 0x01
                pos += 3 + size
            elif c >= 0x80:
                packed = struct.unpack(">H", data[pos + 3:pos + 5])[0] + 1
                mode = (c >> 5) & 3
                resets += mode == 3
                pos += 5 + (1 if mode >= 2 else 0) + packed
            else:
                raise ValueError(f"bad LZMA2 control byte 0x{c:02X} at {pos}")
            if first and not (c == 0x01 or c >= 0xE0):
                raise ValueError(f"stream at {pos} does not start with a dictionary reset")
            first = False
            chunks += 1
    if pos != end:
        raise ValueError(f"walk ended at {pos}, header starts at {end}")
    return streams, chunks, resets


def read_number(data, pos):
    """A 7z variable-length number: leading one bits of the first byte count the extra bytes."""
    first, mask, value = data[pos], 0x80, 0
    pos += 1
    for i in range(8):
        if not first & mask:
            return value | ((first & (mask - 1)) << (8 * i)), pos
        value |= data[pos] << (8 * i)
        pos += 1
        mask >>= 1
    return value, pos


def packed_end(data, next_offset):
    """End of the payload's packed streams: the header, or the encoded header's packed stream."""
    header = 32 + next_offset
    if data[header] == 0x17 and data[header + 1] == 0x06:   # kEncodedHeader, kPackInfo
        pack_pos, _ = read_number(data, header + 2)
        return 32 + pack_pos
    return header


def main():
    args = sys.argv[1:]
    path = args.pop(0)
    min_resets, other, percent = None, None, None
    while args:
        opt = args.pop(0)
        if opt == "--min-resets":
            min_resets = int(args.pop(0))
        elif opt == "--max-size-of":
            other, percent = args.pop(0), float(args.pop(0))
    data = open(path, "rb").read()
    if data[:6] != b"7z\xbc\xaf\x27\x1c":
        print("not a 7z archive")
        return 1
    next_offset = struct.unpack("<Q", data[12:20])[0]
    try:
        end = packed_end(data, next_offset)
        streams, chunks, resets = walk(data, 32, end)
    except ValueError as e:
        print(f"{path}: {e}")
        return 1
    print(f"{os.path.basename(path)}: streams={streams} chunks={chunks} resets={resets} packed={end - 32} "
          f"size={len(data)}")
    ok = True
    if min_resets is not None and resets < min_resets:
        print(f"only {resets} dictionary resets, wanted at least {min_resets}")
        ok = False
    if other:
        base = os.path.getsize(other)
        grow = (len(data) - base) * 100.0 / base
        print(f"size {len(data)} vs {base}: {grow:+.2f} %")
        if grow > percent:
            print(f"more than {percent} % larger than {os.path.basename(other)}")
            ok = False
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
