"""Minimal 7z writer for test fixtures: any header, right or deliberately wrong.

Archives are built from parts so that a hostile case changes one field and keeps the
rest valid. Packed data comes from Python's lzma module (raw LZMA / LZMA2) or is stored.
"""
import lzma
import struct
import zlib

SIG = b"7z\xbc\xaf\x27\x1c"


def num(v):
    """7z variable-length number."""
    for i in range(8):
        if v < (1 << (8 * i + 7 - i)):
            first = ((0xFF << (8 - i)) & 0xFF) | (v >> (8 * i))
            return bytes([first]) + (v & ((1 << (8 * i)) - 1)).to_bytes(i, "little")
    return b"\xff" + v.to_bytes(8, "little")


def bits(flags):
    out = bytearray((len(flags) + 7) // 8)
    for i, f in enumerate(flags):
        if f:
            out[i // 8] |= 0x80 >> (i % 8)
    return bytes(out)


def crc(data):
    return zlib.crc32(data) & 0xFFFFFFFF


def digests(values):
    return b"\x01" + b"".join(struct.pack("<I", v) for v in values)


COPY = bytes([0x00])
LZMA2 = bytes([0x21])
LZMA = bytes([0x03, 0x01, 0x01])
BCJ = bytes([0x03, 0x03, 0x01, 0x03])
BCJ2 = bytes([0x03, 0x03, 0x01, 0x1B])
DELTA = bytes([0x03])
ARM64 = bytes([0x0A])


def lzma2_prop(dict_size):
    for p in range(40):
        if (2 | (p & 1)) << (p // 2 + 11) >= dict_size:
            return p
    return 40


def raw_lzma2(data, dict_size=1 << 16, preset=6):
    return lzma.compress(data, format=lzma.FORMAT_RAW,
                         filters=[{"id": lzma.FILTER_LZMA2, "preset": preset, "dict_size": dict_size}])


def raw_lzma(data, dict_size=1 << 16, lc=3, lp=0, pb=2):
    return lzma.compress(data, format=lzma.FORMAT_RAW,
                         filters=[{"id": lzma.FILTER_LZMA1, "dict_size": dict_size, "lc": lc, "lp": lp, "pb": pb}])


def lzma_props(dict_size, lc=3, lp=0, pb=2):
    return bytes([(pb * 5 + lp) * 9 + lc]) + struct.pack("<I", dict_size)


class Coder:
    def __init__(self, method, props=None, nin=1, nout=1):
        self.method, self.props, self.nin, self.nout = method, props, nin, nout

    def encode(self):
        flags = len(self.method)
        if self.nin != 1 or self.nout != 1:
            flags |= 0x10
        if self.props is not None:
            flags |= 0x20
        out = bytes([flags]) + self.method
        if flags & 0x10:
            out += num(self.nin) + num(self.nout)
        if self.props is not None:
            out += num(len(self.props)) + self.props
        return out


class Folder:
    """coders, bind pairs (in, out), packed in-stream indices, unpack size per out-stream."""

    def __init__(self, coders, unpack_sizes, bind_pairs=(), packed=None, crc=None):
        self.coders, self.unpack_sizes = coders, list(unpack_sizes)
        self.bind_pairs, self.packed, self.crc = list(bind_pairs), packed, crc

    def encode(self):
        out = num(len(self.coders)) + b"".join(c.encode() for c in self.coders)
        for i, o in self.bind_pairs:
            out += num(i) + num(o)
        total_in = sum(c.nin for c in self.coders)
        if self.packed is not None and total_in - len(self.bind_pairs) > 1:
            out += b"".join(num(p) for p in self.packed)
        return out


def streams_info(pack_sizes, folders, substreams=None, pack_pos=0):
    """substreams: per folder a list of (size, crc) or None for the default single stream."""
    out = b"\x06" + num(pack_pos) + num(len(pack_sizes)) + b"\x09" + b"".join(num(s) for s in pack_sizes) + b"\x00"
    out += b"\x07\x0b" + num(len(folders)) + b"\x00" + b"".join(f.encode() for f in folders)
    out += b"\x0c" + b"".join(num(s) for f in folders for s in f.unpack_sizes)
    if any(f.crc is not None for f in folders):
        out += b"\x0a" + b"\x00" + bits([f.crc is not None for f in folders])
        out += b"".join(struct.pack("<I", f.crc) for f in folders if f.crc is not None)
    out += b"\x00"
    if substreams is not None:
        out += b"\x08\x0d" + b"".join(num(len(s)) for s in substreams)
        out += b"\x09" + b"".join(num(size) for s in substreams for size, _ in s[:-1])
        known = [len(s) == 1 and f.crc is not None for f, s in zip(folders, substreams)]
        out += b"\x0a" + digests([c for k, s in zip(known, substreams) if not k for _, c in s])
        out += b"\x00"
    return out + b"\x00"


class Entry:
    def __init__(self, name, data=None, is_dir=False, anti=False, attrib=None, mtime=None):
        self.name, self.data, self.is_dir, self.anti = name, data, is_dir, anti
        self.attrib, self.mtime = attrib, mtime

    @property
    def has_stream(self):
        return self.data is not None and len(self.data) > 0


def prop(pid, body):
    return num(pid) + num(len(body)) + body


def files_info(entries, extra_props=b""):
    n = len(entries)
    out = num(n)
    empty = [not e.has_stream for e in entries]
    if any(empty):
        out += prop(0x0E, bits(empty))
        empties = [e for e in entries if not e.has_stream]
        out += prop(0x0F, bits([not e.is_dir for e in empties]))
        if any(e.anti for e in empties):
            out += prop(0x10, bits([e.anti for e in empties]))
    out += prop(0x11, b"\x00" + b"".join(e.name.encode("utf-16-le") + b"\x00\x00" for e in entries))
    if any(e.mtime is not None for e in entries):
        defined = [e.mtime is not None for e in entries]
        body = (b"\x01" if all(defined) else b"\x00" + bits(defined)) + b"\x00"
        body += b"".join(struct.pack("<Q", e.mtime) for e in entries if e.mtime is not None)
        out += prop(0x14, body)
    if any(e.attrib is not None for e in entries):
        defined = [e.attrib is not None for e in entries]
        body = (b"\x01" if all(defined) else b"\x00" + bits(defined)) + b"\x00"
        body += b"".join(struct.pack("<I", e.attrib) for e in entries if e.attrib is not None)
        out += prop(0x15, body)
    return out + extra_props + b"\x00"


def container(packed, header, offset_delta=0, size_delta=0):
    """Signature header + packed data + header; the deltas falsify the header location."""
    nh_off = len(packed) + offset_delta
    nh_size = len(header) + size_delta
    tail = struct.pack("<QQI", nh_off, nh_size, crc(header))
    return SIG + b"\x00\x04" + struct.pack("<I", crc(tail)) + tail + packed + header


def simple_archive(entries, method="copy", dict_size=1 << 16, encode_header=False, folder_crc=False):
    """One solid folder holding every entry with data, in entry order."""
    data = b"".join(e.data for e in entries if e.has_stream)
    subs = [(len(e.data), crc(e.data)) for e in entries if e.has_stream]
    if method == "copy":
        packed, coder = data, Coder(COPY)
    elif method == "lzma2":
        packed, coder = raw_lzma2(data, dict_size), Coder(LZMA2, bytes([lzma2_prop(dict_size)]))
    else:
        packed, coder = raw_lzma(data, dict_size), Coder(LZMA, lzma_props(dict_size))
    header = b"\x01"
    if subs:
        folder = Folder([coder], [len(data)], crc=crc(data) if folder_crc else None)
        header += b"\x04" + streams_info([len(packed)], [folder], [subs])
    header += b"\x05" + files_info(entries) + b"\x00"
    if encode_header:
        return encoded(packed, header)
    return container(packed, header)


def encoded(packed, header):
    """Stores the header in an extra Copy folder after the packed data (an encoded header)."""
    folder = Folder([Coder(COPY)], [len(header)], crc=crc(header))
    outer = b"\x17" + streams_info([len(header)], [folder], pack_pos=len(packed))
    return container(packed + header, outer)
