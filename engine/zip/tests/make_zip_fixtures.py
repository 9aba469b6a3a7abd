#!/usr/bin/env python3
"""Writes the ZIP reader's test archives with the real tools.

    make_zip_fixtures.py [--cmake CMAKE] OUTDIR

OUTDIR/src holds the small source files; each good-*.zip is made from them by Info-ZIP zip,
cmake -E tar or Python's zipfile. The script checks that each archive really has the feature
it is meant to cover (stored, deflated, encrypted, data descriptors) and fails otherwise.
"""
import argparse
import io
import os
import random
import shutil
import subprocess
import sys
import zipfile

PASSWORD = "s3cret"

# Entries of the Python-made archive: stored name -> content. The names cover ASCII case
# variants, non-ASCII UTF-8 and stored names that try to climb out of a destination folder.
PY_ENTRIES = [
    ("ReadMe.txt", b"lower-case variant"),
    ("README.TXT", b"upper-case variant"),
    ("\u00dcber/\u56fe\u7247.txt", b"non-ascii name"),
    ("\u00fcber/\u56fe\u7247.txt", b"non-ascii lower-case u"),
    ("../evil.txt", b"parent step"),
    ("/rooted.txt", b"leading slash"),
    ("C:/drive.txt", b"drive prefix"),
    ("a/../../deep.txt", b"inner parent step"),
    ("folder/", b""),
]


def write_sources(src):
    os.makedirs(os.path.join(src, "sub"), exist_ok=True)
    with open(os.path.join(src, "hello.txt"), "wb") as f:
        f.write(b"Hello, skin!\n" * 40)
    with open(os.path.join(src, "empty.txt"), "wb"):
        pass
    with open(os.path.join(src, "sub", "inner.txt"), "wb") as f:
        f.write(b"inner file\n")
    # Mostly incompressible, so that the compressed data spans several 16 KiB input chunks.
    rng = random.Random(1234)
    data = bytearray()
    for i in range(12):
        data += bytes(rng.getrandbits(8) for _ in range(5000))
        data += b"repeated text block %d " % i * 50
    with open(os.path.join(src, "big.bin"), "wb") as f:
        f.write(data)
    os.utime(os.path.join(src, "hello.txt"), (1600000000, 1600000000))


def run(cmd, cwd, stdout=None):
    subprocess.run(cmd, cwd=cwd, check=True, stdout=stdout)


def infozip(out, src, name, options, files):
    path = os.path.join(out, name)
    if os.path.exists(path):
        os.remove(path)
    run(["zip", "-q"] + options + [path] + files, cwd=src)


def infozip_streamed(out, src, name, options, files):
    # Output to a pipe: zip cannot seek back and writes data descriptors.
    path = os.path.join(out, name)
    proc = subprocess.run(["zip", "-q", "-fz-"] + options + ["-"] + files, cwd=src,
                          check=True, stdout=subprocess.PIPE)
    with open(path, "wb") as f:
        f.write(proc.stdout)


class Unseekable(io.RawIOBase):
    """A write-only stream: zipfile then writes data descriptors."""

    def __init__(self):
        self.data = bytearray()

    def writable(self):
        return True

    def write(self, b):
        self.data += b
        return len(b)


def python_archives(out):
    with zipfile.ZipFile(os.path.join(out, "good-python.zip"), "w", zipfile.ZIP_DEFLATED) as z:
        for name, data in PY_ENTRIES:
            info = zipfile.ZipInfo(name, date_time=(2021, 6, 15, 13, 45, 30))
            info.compress_type = zipfile.ZIP_DEFLATED
            info.external_attr = (0o40755 << 16 | 0x10) if name.endswith("/") else (0o100444 << 16)
            z.writestr(info, data)
    stream = Unseekable()
    with zipfile.ZipFile(stream, "w") as z:
        with z.open(zipfile.ZipInfo("stored.txt"), "w") as f:
            f.write(b"stored behind a data descriptor\n" * 20)
        info = zipfile.ZipInfo("deflated.txt")
        info.compress_type = zipfile.ZIP_DEFLATED
        with z.open(info, "w") as f:
            f.write(b"deflated behind a data descriptor\n" * 20)
    with open(os.path.join(out, "good-python-streamed.zip"), "wb") as f:
        f.write(stream.data)


def expect(path, **want):
    """Fails unless every entry of the archive has the wanted flags and methods."""
    with zipfile.ZipFile(path) as z:
        infos = [i for i in z.infolist() if not i.is_dir()]
        if not infos:
            sys.exit("%s: no entries" % path)
        for i in infos:
            if "encrypted" in want and bool(i.flag_bits & 1) != want["encrypted"]:
                sys.exit("%s: %s encrypted flag is %d" % (path, i.filename, i.flag_bits & 1))
            if "descriptor" in want and bool(i.flag_bits & 8) != want["descriptor"]:
                sys.exit("%s: %s descriptor flag is %d" % (path, i.filename, i.flag_bits & 8))
            if "method" in want and i.file_size > 100 and i.compress_type != want["method"]:
                sys.exit("%s: %s method %d" % (path, i.filename, i.compress_type))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cmake", default="cmake")
    parser.add_argument("outdir")
    args = parser.parse_args()
    out = os.path.abspath(args.outdir)
    src = os.path.join(out, "src")
    shutil.rmtree(out, ignore_errors=True)
    os.makedirs(out)
    write_sources(src)
    files = ["hello.txt", "empty.txt", "sub/inner.txt", "big.bin"]

    infozip(out, src, "good-infozip-stored.zip", ["-0", "-X"], files)
    infozip(out, src, "good-infozip-deflated.zip", ["-9"], files)
    infozip(out, src, "good-infozip-encrypted.zip", ["-P", PASSWORD], files)
    infozip_streamed(out, src, "good-infozip-streamed.zip", [], ["hello.txt", "big.bin"])
    infozip_streamed(out, src, "good-infozip-streamed-encrypted.zip", ["-P", PASSWORD],
                     ["hello.txt", "big.bin"])
    # 7-Zip encrypts without a data descriptor: the check byte is then the CRC's high byte.
    run(["7zz", "a", "-bd", "-bso0", "-tzip", "-mmt=1", "-mem=ZipCrypto", "-p" + PASSWORD,
         os.path.join(out, "good-7zip-encrypted.zip")] + files, cwd=src)
    run([args.cmake, "-E", "tar", "cf", os.path.join(out, "good-cmake.zip"), "--format=zip"]
        + files, cwd=src)
    python_archives(out)

    expect(os.path.join(out, "good-infozip-stored.zip"), method=0, encrypted=False, descriptor=False)
    expect(os.path.join(out, "good-infozip-deflated.zip"), method=8, encrypted=False, descriptor=False)
    expect(os.path.join(out, "good-infozip-encrypted.zip"), encrypted=True)
    expect(os.path.join(out, "good-infozip-streamed.zip"), descriptor=True, encrypted=False)
    expect(os.path.join(out, "good-infozip-streamed-encrypted.zip"), descriptor=True, encrypted=True)
    expect(os.path.join(out, "good-7zip-encrypted.zip"), descriptor=False, encrypted=True)
    expect(os.path.join(out, "good-python-streamed.zip"), descriptor=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
