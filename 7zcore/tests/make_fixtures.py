#!/usr/bin/env python3
"""Builds the 7z fixtures for the tests into OUT:

  good-*.7z         archives the real 7zz makes now from small trees, with the tree that
                    `7zz x` extracts from each as the reference (ref/<name>)
  good-crafted-*    archives written by sevenzip.py, with the tree they must give
  bad-*, unsupported-*, limit-*   hostile archives and the result they must give

manifest.tsv lists: archive, expected result, expected tree (or -), a file to create in the
destination first (or -), and what the case is about.
"""
import os
import shutil
import stat
import struct
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import sevenzip as sz  # noqa: E402

OUT = os.path.abspath(sys.argv[1])
WINE_PE = "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows"
rows = []


def row(archive, expected, tree="-", pre="-", what=""):
    rows.append("\t".join([archive, expected, tree, pre, what]))


def filetime(seconds, hundreds=0):
    return (seconds + 11644473600) * 10000000 + hundreds


def write_tree(root, files, dirs=(), mtimes=None):
    for d in dirs:
        os.makedirs(os.path.join(root, d), exist_ok=True)
    for name, data in files.items():
        path = os.path.join(root, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)


def build_mixed_tree(root):
    pes = sorted((os.path.getsize(os.path.join(WINE_PE, n)), n) for n in os.listdir(WINE_PE)
                 if n.endswith((".dll", ".exe")) and 100_000 < os.path.getsize(os.path.join(WINE_PE, n)) < 300_000)
    files = {}
    for _, n in pes[:3]:
        with open(os.path.join(WINE_PE, n), "rb") as f:
            files["bin/" + n] = f.read()
    files["text/numbers.txt"] = "".join(f"{i}\n" for i in range(40000)).encode()
    files["text/repeat.txt"] = b"the quick brown fox jumps over the lazy dog\n" * 3000
    files["random.bin"] = os.urandom(150_000)
    files["empty.txt"] = b""
    files["nested/a/b/c/deep.txt"] = b"deep\n"
    files["中文目录/文件.txt"] = "内容\n".encode()
    files["Ünïcödé ñame.txt"] = b"latin\n"
    files["日本語.txt"] = b"ja\n"
    files["한국어.txt"] = b"ko\n"
    files["emoji-\U0001F600.txt"] = b"astral\n"
    files["readonly.txt"] = b"read only\n"
    write_tree(root, files, dirs=["emptydir", "nested/a/emptyinner"])
    os.chmod(os.path.join(root, "readonly.txt"), 0o444)
    # Distinct modification times, with sub-second parts.
    t = 1_000_000_000
    for dirpath, dirnames, filenames in sorted(os.walk(root, topdown=False)):
        for n in filenames + dirnames:
            t += 7777
            p = os.path.join(dirpath, n)
            os.utime(p, ns=(t * 10**9 + 123456700, t * 10**9 + 123456700), follow_symlinks=False)


def run(cmd, cwd=None):
    r = subprocess.run(cmd, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    if r.returncode != 0:
        sys.exit(f"failed: {' '.join(cmd)}\n{r.stdout.decode(errors='replace')}")


def make_7zz(name, tree, switches, expected="ok"):
    archive = os.path.join(OUT, name + ".7z")
    run(["7zz", "a", "-t7z", "-bd", "-y"] + switches + [archive, "."], cwd=tree)
    ref = os.path.join("ref", name)
    if expected == "ok":
        run(["7zz", "x", "-bd", "-y", "-o" + os.path.join(OUT, ref), archive])
        row(name + ".7z", "ok", ref, what="7zz " + " ".join(switches))
    else:
        row(name + ".7z", expected, what="7zz " + " ".join(switches))


def good_7zz():
    mixed = os.path.join(OUT, "src", "mixed")
    build_mixed_tree(mixed)
    for level in range(10):
        make_7zz(f"good-mx{level}", mixed, [f"-mx{level}"])
    for d in ["64k", "1m", "16m", "64m"]:
        make_7zz(f"good-lzma-d{d}", mixed, ["-m0=LZMA:d=" + d])
    for d in ["64k", "64m"]:
        make_7zz(f"good-lzma2-d{d}", mixed, ["-m0=LZMA2:d=" + d])
    # Several LZMA2 blocks (dictionary resets) from a small block size with two threads.
    make_7zz("good-lzma2-blocks", mixed, ["-m0=LZMA2:d=64k:c=128k", "-mmt=2"])
    make_7zz("good-solid-off", mixed, ["-ms=off"])
    # A folder per file, stored, plain header: the tests can damage any folder's bytes.
    make_7zz("good-copy-solid-off", mixed, ["-m0=Copy", "-ms=off", "-mhc=off"])
    make_7zz("good-solid-2files", mixed, ["-ms=2f"])
    make_7zz("good-hc-off", mixed, ["-mhc=off"])
    make_7zz("good-hc-on", mixed, ["-mhc=on"])
    make_7zz("good-bcj-lzma2", mixed, ["-m0=BCJ", "-m1=LZMA2"])
    make_7zz("good-bcj2-lzma", mixed, ["-m0=BCJ2", "-m1=LZMA:d=1m", "-m2=LZMA:d=64k", "-m3=LZMA:d=64k",
                                       "-mb0s0:1", "-mb0s1:2", "-mb0s2:3"])
    make_7zz("good-arm64", mixed, ["-m0=ARM64", "-m1=LZMA2"])
    make_7zz("good-delta4", mixed, ["-m0=Delta:4", "-m1=LZMA2"])
    make_7zz("good-delta256", mixed, ["-m0=Delta:256", "-m1=LZMA"])
    make_7zz("good-copy", mixed, ["-m0=Copy"])
    for method in ["Deflate", "BZip2", "PPMd"]:
        make_7zz("unsupported-" + method.lower(), mixed, ["-m0=" + method], expected="unsupported")
    make_7zz("unsupported-aes", mixed, ["-pSecret"], expected="unsupported")
    make_7zz("unsupported-aes-header", mixed, ["-pSecret", "-mhe=on"], expected="unsupported")


def crafted_expect(name, entries):
    """Writes the tree an archive of sevenzip.Entry items must extract to."""
    root = os.path.join(OUT, "expect", name)
    for e in entries:
        path = os.path.join(root, e.name)
        if e.is_dir:
            os.makedirs(path, exist_ok=True)
        else:
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, "wb") as f:
                f.write(e.data or b"")
    for e in entries:
        if e.mtime is not None:
            ns = (e.mtime - 11644473600 * 10**7) * 100
            os.utime(os.path.join(root, e.name), ns=(ns, ns))
    return os.path.join("expect", name)


def save(name, data):
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(data)


def lzma2_chunks(stream):
    """Control bytes of the chunks of a raw LZMA2 stream."""
    out, i = [], 0
    while stream[i] != 0:
        c = stream[i]
        out.append(c if c < 0x80 else c & 0xE0)
        if c in (1, 2):
            i += 3 + (stream[i + 1] << 8 | stream[i + 2]) + 1
        else:
            i += (6 if c >= 0xC0 else 5) + (stream[i + 3] << 8 | stream[i + 4]) + 1
    return out


def good_crafted():
    t = filetime(1_300_000_000, 1234567)
    # LZMA2 with every chunk kind: stored chunks (random data), LZMA chunks with state resets
    # after them, and a dictionary reset in the middle (two streams joined).
    part1 = os.urandom(70_000) + b"abc" * 40_000 + os.urandom(150_000) + b"def" * 30_000
    part2 = b"xyz" * 50_000 + os.urandom(66_000) + b"tail" * 1000
    s1, s2 = sz.raw_lzma2(part1), sz.raw_lzma2(part2)
    stream = s1[:-1] + s2
    kinds = lzma2_chunks(stream)
    assert {1, 2, 0x80, 0xA0, 0xE0} <= set(kinds) and 0xE0 in kinds[1:], kinds
    data = part1 + part2
    entries = [sz.Entry("all-chunks.bin", data, mtime=t)]
    folder = sz.Folder([sz.Coder(sz.LZMA2, bytes([sz.lzma2_prop(1 << 16)]))], [len(data)])
    header = b"\x01\x04" + sz.streams_info([len(stream)], [folder], [[(len(data), sz.crc(data))]])
    header += b"\x05" + sz.files_info(entries) + b"\x00"
    save("good-crafted-lzma2-chunks.7z", sz.container(stream, header))
    row("good-crafted-lzma2-chunks.7z", "ok", crafted_expect("lzma2-chunks", entries), what="LZMA2 chunk kinds")

    # A 4 GiB dictionary declared for a tiny folder: allocated at the folder's size.
    small = [sz.Entry("small.txt", b"tiny folder, huge dictionary\n" * 20, mtime=t)]
    raw = sz.raw_lzma(small[0].data)
    for method, props, packed, name in [
            (sz.LZMA, sz.lzma_props(0xFFFFFFFF), raw, "lzma"),
            (sz.LZMA2, bytes([40]), sz.raw_lzma2(small[0].data), "lzma2")]:
        folder = sz.Folder([sz.Coder(method, props)], [len(small[0].data)])
        header = b"\x01\x04" + sz.streams_info([len(packed)], [folder], [[(len(small[0].data), sz.crc(small[0].data))]])
        header += b"\x05" + sz.files_info(small) + b"\x00"
        save(f"good-crafted-4g-dict-{name}.7z", sz.container(packed, header))
        row(f"good-crafted-4g-dict-{name}.7z", "ok", crafted_expect("4g-dict", small), what=f"{name} 4 GiB dictionary")

    # Nothing but an empty folder and an empty file: the progress total is 0.
    empty = [sz.Entry("only-dir", None, is_dir=True, mtime=t), sz.Entry("only-dir/zero.txt", b"", mtime=t)]
    save("good-crafted-no-data.7z", sz.simple_archive(empty))
    row("good-crafted-no-data.7z", "ok", crafted_expect("no-data", empty), what="no entry with data")

    # One name for two files with data, each in a folder of its own: the later one stays, even
    # though its folder is far quicker to decode than the earlier, larger one.
    dup = [sz.Entry("same.txt", os.urandom(256 << 10), mtime=t), sz.Entry("same.txt", b"second\n", mtime=t)]
    folders = [sz.Folder([sz.Coder(sz.COPY)], [len(e.data)]) for e in dup]
    header = b"\x01\x04" + sz.streams_info([len(e.data) for e in dup], folders, [[(len(e.data), sz.crc(e.data))] for e in dup])
    header += b"\x05" + sz.files_info(dup) + b"\x00"
    save("good-crafted-duplicate-names.7z", sz.container(b"".join(e.data for e in dup), header))
    row("good-crafted-duplicate-names.7z", "ok", crafted_expect("duplicate-names", dup[1:]),
        what="the later of two files with one name stays")

    # Two names that are one file on Windows only (the tests check each platform's outcome).
    case = [sz.Entry("Same.txt", os.urandom(256 << 10), mtime=t), sz.Entry("same.txt", b"second\n", mtime=t)]
    save("good-crafted-case-names.7z", sz.simple_archive(case))

    # Attributes: read-only and hidden; an encoded (stored) header.
    attrs = [sz.Entry("ro.txt", b"ro\n", attrib=0x21, mtime=t), sz.Entry("hid.txt", b"hidden\n", attrib=0x22, mtime=t),
             sz.Entry("plain.txt", b"plain\n", attrib=0x20, mtime=t)]
    save("good-crafted-attrs.7z", sz.simple_archive(attrs, encode_header=True))
    row("good-crafted-attrs.7z", "ok", crafted_expect("attrs", attrs), what="read-only and hidden attributes")

    # Names that must be cleaned or made safe; each lands at the given safe path.
    unsafe = [("a/../../x1.txt", "x1.txt"), ("C:\\x2.txt", "x2.txt"), ("\\\\server\\share\\x3.txt", "server/share/x3.txt"),
              ("\\\\?\\C:\\x4.txt", "_/C_/x4.txt"), ("/abs/x5.txt", "abs/x5.txt"), ("../../x6.txt", "x6.txt"),
              ("d/..\\..\\x7.txt", "x7.txt"), ("CON", "_CON"), ("NUL.txt", "_NUL.txt"), ("com1.log", "_com1.log"),
              ("trail.", "trail_"), ("space ", "space_"), ("x:stream", "stream"), ("dir/x:stream", "dir/x_stream"), ("q?.txt", "q_.txt")]
    entries = [sz.Entry(n, f"{i}\n".encode(), mtime=t) for i, (n, _) in enumerate(unsafe)]
    save("bad-names.7z", sz.simple_archive(entries))
    expect = [sz.Entry(safe, f"{i}\n".encode(), mtime=t) for i, (_, safe) in enumerate(unsafe)]
    row("bad-names.7z", "ok", crafted_expect("names", expect), what="names escaping or unsafe on Windows")

    # A symbolic link (POSIX mode in the attributes) and a reparse point: neither created.
    links = [sz.Entry("real.txt", b"real\n", mtime=t),
             sz.Entry("link", b"/etc/passwd", attrib=0x8020 | (0xA1FF << 16), mtime=t),
             sz.Entry("reparse", b"C:\\Windows", attrib=0x420, mtime=t)]
    save("bad-symlinks.7z", sz.simple_archive(links, method="lzma2"))
    row("bad-symlinks.7z", "ok", crafted_expect("symlinks", links[:1]), what="links are not created")

    # An anti-item must not delete the file that is already there.
    anti = [sz.Entry("keep.txt", None, anti=True, mtime=t), sz.Entry("other.txt", b"o\n", mtime=t)]
    save("bad-anti.7z", sz.simple_archive(anti))
    expect = [sz.Entry("keep.txt", b"precious\n"), sz.Entry("other.txt", b"o\n", mtime=t)]
    row("bad-anti.7z", "ok", crafted_expect("anti", expect), pre="keep.txt", what="anti-item deletes nothing")


def hostile():
    t = filetime(1_300_000_000)
    files = [sz.Entry("f1.txt", b"hello world\n" * 50, mtime=t), sz.Entry("f2.txt", b"second file\n" * 30, mtime=t)]
    data = b"".join(e.data for e in files)
    subs = [[(len(e.data), sz.crc(e.data)) for e in files]]

    def archive(packed, folders, substreams, entries=files, extra=b"", **kw):
        header = b"\x01\x04" + sz.streams_info([len(p) for p in packed] if isinstance(packed, list) else [len(packed)],
                                               folders, substreams)
        header += b"\x05" + sz.files_info(entries, extra) + b"\x00"
        body = b"".join(packed) if isinstance(packed, list) else packed
        return sz.container(body, header, **kw)

    copy = sz.Folder([sz.Coder(sz.COPY)], [len(data)])
    good = archive(data, [copy], subs)
    save("bad-header-offset.7z", archive(data, [copy], subs, offset_delta=1000))
    row("bad-header-offset.7z", "corrupt", what="header offset past the end")
    save("bad-header-size.7z", archive(data, [copy], subs, size_delta=1000))
    row("bad-header-size.7z", "corrupt", what="header size past the end")
    save("bad-crc-header.7z", good[:-3] + bytes([good[-3] ^ 1]) + good[-2:])
    row("bad-crc-header.7z", "corrupt", what="header CRC mismatch")
    bad_data = bytearray(good)
    bad_data[40] ^= 0xFF
    save("bad-crc-data.7z", bytes(bad_data))
    expect_first = [sz.Entry("f1.txt", bytes(bad_data[32:32 + len(files[0].data)]))]
    row("bad-crc-data.7z", "corrupt", crafted_expect("crc-data", expect_first), what="file CRC mismatch, file stays")
    save("bad-truncated.7z", good[: len(good) // 2])
    row("bad-truncated.7z", "corrupt", what="archive cut in half")

    # Nested encoded header.
    header = b"\x01\x04" + sz.streams_info([len(data)], [copy], subs) + b"\x05" + sz.files_info(files) + b"\x00"
    inner = sz.Folder([sz.Coder(sz.COPY)], [len(header)], crc=sz.crc(header))
    inner_hdr = b"\x17" + sz.streams_info([len(header)], [inner], pack_pos=len(data))
    outer = sz.Folder([sz.Coder(sz.COPY)], [len(inner_hdr)], crc=sz.crc(inner_hdr))
    outer_hdr = b"\x17" + sz.streams_info([len(inner_hdr)], [outer], pack_pos=len(data) + len(header))
    save("bad-nested-encoded-header.7z", sz.container(data + header + inner_hdr, outer_hdr))
    row("bad-nested-encoded-header.7z", "corrupt", what="encoded header decoding to another encoded header")

    # Counts far beyond what the header bytes can hold.
    def with_header(h):
        return sz.container(data, h)
    save("bad-count-files.7z", with_header(b"\x01\x04" + sz.streams_info([len(data)], [copy], subs) + b"\x05" + sz.num(10**12) + b"\x00\x00"))
    row("bad-count-files.7z", "corrupt", what="file count beyond the header")
    save("bad-count-packs.7z", with_header(b"\x01\x04\x06\x00" + sz.num(2**40) + b"\x09\x01\x00\x00\x00"))
    row("bad-count-packs.7z", "corrupt", what="pack stream count beyond the header")
    save("bad-count-folders.7z", with_header(b"\x01\x04\x06\x00\x01\x09" + sz.num(len(data)) + b"\x00\x07\x0b" + sz.num(2**50) + b"\x00\x00"))
    row("bad-count-folders.7z", "corrupt", what="folder count beyond the header")
    sub_big = b"\x01\x04" + sz.streams_info([len(data)], [copy]).rstrip(b"\x00")
    save("bad-count-substreams.7z", with_header(
        b"\x01\x04\x06\x00\x01\x09" + sz.num(len(data)) + b"\x00\x07\x0b\x01\x00" + copy.encode() + b"\x0c" + sz.num(len(data)) +
        b"\x00\x08\x0d" + sz.num(2**33) + b"\x00\x00\x00"))
    row("bad-count-substreams.7z", "corrupt", what="substream count beyond the header")
    del sub_big

    # Substream sizes adding up to more than their folder.
    save("bad-substream-sizes.7z", archive(data, [copy], [[(len(data) + 5, 0), (1, 0)]]))
    row("bad-substream-sizes.7z", "corrupt", what="substreams larger than their folder")

    # Duplicate file property records.
    save("bad-duplicate-names.7z", archive(data, [copy], subs, extra=sz.prop(0x11, b"\x00" + "a\0b\0".encode("utf-16-le"))))
    row("bad-duplicate-names.7z", "corrupt", what="two name records")
    dirs = files + [sz.Entry("d", None, is_dir=True)]
    save("bad-duplicate-emptystream.7z", archive(data, [copy], subs, entries=dirs, extra=sz.prop(0x0E, sz.bits([0, 0, 1]))))
    row("bad-duplicate-emptystream.7z", "corrupt", what="two empty-stream records")

    # Bind pairs forming a cycle: coders 1 and 2 feed each other, coder 0 reads the pack stream.
    cyc = sz.Folder([sz.Coder(sz.DELTA, b"\x00"), sz.Coder(sz.DELTA, b"\x00"), sz.Coder(sz.DELTA, b"\x00")],
                    [len(data)] * 3, bind_pairs=[(1, 2), (2, 1)], packed=[0])
    save("bad-bind-cycle.7z", archive(data, [cyc], subs))
    row("bad-bind-cycle.7z", "corrupt", what="bind pairs in a cycle")
    # BCJ2 with two inputs instead of four.
    bcj2 = sz.Folder([sz.Coder(sz.BCJ2, None, nin=2), sz.Coder(sz.COPY)], [len(data), len(data)],
                     bind_pairs=[(0, 1)], packed=[2, 1])
    save("bad-bcj2-streams.7z", archive([data, b"\x00" * 5], [bcj2], subs))
    row("bad-bcj2-streams.7z", "corrupt", what="BCJ2 folder with too few streams")

    # LZMA2 control bytes.
    good2 = sz.raw_lzma2(data)
    for name, stream, what in [
            ("bad-lzma2-control.7z", b"\x03" + good2[1:], "LZMA2 control byte 3"),
            ("bad-lzma2-no-dict-reset.7z", bytes([0xC0]) + good2[1:], "first LZMA2 chunk without dictionary reset"),
            ("bad-lzma2-lclp.7z", good2[:5] + bytes([(0 * 5 + 1) * 9 + 4]) + good2[6:], "LZMA2 lc + lp > 4"),
            ("bad-lzma2-no-end.7z", good2[:-1], "LZMA2 stream without end byte"),
            ("bad-lzma2-chunk-size.7z", good2[:3] + bytes([good2[3], (good2[4] + 1) & 0xFF]) + good2[5:], "LZMA2 packed size off by one")]:
        folder = sz.Folder([sz.Coder(sz.LZMA2, b"\x10")], [len(data)])
        save(name, archive(stream, [folder], subs))
        row(name, "corrupt", what=what)
    # LZMA data cut short while the sizes agree.
    raw = sz.raw_lzma(data)
    folder = sz.Folder([sz.Coder(sz.LZMA, sz.lzma_props(1 << 16))], [len(data)])
    save("bad-lzma-truncated.7z", archive(raw[: len(raw) // 2], [folder], subs))
    row("bad-lzma-truncated.7z", "corrupt", what="LZMA stream cut short")
    # Pack stream declared longer than the file.
    save("bad-pack-size.7z", sz.container(data, b"\x01\x04" + sz.streams_info([len(data) + 10**6], [copy], subs) +
                                          b"\x05" + sz.files_info(files) + b"\x00"))
    row("bad-pack-size.7z", "corrupt", what="pack stream past the end of the archive")
    # A dictionary the memory budget cannot hold: the folder is large and declares 1.5 GiB.
    big = sz.Folder([sz.Coder(sz.LZMA, sz.lzma_props(0x60000000))], [1 << 40])
    save("limit-dictionary.7z", archive(raw, [big], [[(1 << 40, 0)]], entries=[sz.Entry("huge.bin", b"x")]))
    row("limit-dictionary.7z", "memoryLimit", what="dictionary over the memory limit")
    # Methods we do not know.
    odd = sz.Folder([sz.Coder(bytes([0x04, 0x01, 0x08]))], [len(data)])
    save("unsupported-deflate-crafted.7z", archive(data, [odd], subs))
    row("unsupported-deflate-crafted.7z", "unsupported", what="Deflate coder")


def main():
    if os.path.exists(OUT):
        for dirpath, dirnames, filenames in os.walk(OUT):
            for n in dirnames + filenames:
                p = os.path.join(dirpath, n)
                if not os.path.islink(p):
                    os.chmod(p, 0o755 if os.path.isdir(p) else 0o644)
        shutil.rmtree(OUT)
    os.makedirs(OUT)
    good_7zz()
    good_crafted()
    hostile()
    with open(os.path.join(OUT, "manifest.tsv"), "w", encoding="utf-8") as f:
        f.write("\n".join(rows) + "\n")
    print(f"{len(rows)} fixtures in {OUT}")


if __name__ == "__main__":
    main()
