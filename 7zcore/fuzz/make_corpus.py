#!/usr/bin/env python3
"""Seed corpus for the archive fuzzer: small archives that the real 7zz makes now, with
every method we decode, plus a few written by the test writer. make_corpus.py OUT"""
import os
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests"))
import sevenzip as sz  # noqa: E402

out = os.path.abspath(sys.argv[1])
shutil.rmtree(out, ignore_errors=True)
os.makedirs(out)
tree = out + ".tree"
shutil.rmtree(tree, ignore_errors=True)
os.makedirs(os.path.join(tree, "d", "empty"))
with open(os.path.join(tree, "d", "text.txt"), "wb") as f:
    f.write(b"".join(b"line %d of some text\n" % i for i in range(300)))
with open(os.path.join(tree, "code.exe"), "wb") as f:
    # Something with E8/E9 and ARM64-looking words for the branch filters.
    f.write(bytes((i * 7) & 0xFF if i % 5 else 0xE8 for i in range(3000)) + b"\x00\x00\x00\x94" * 200)
with open(os.path.join(tree, "名前.bin"), "wb") as f:
    f.write(os.urandom(700))
open(os.path.join(tree, "zero"), "wb").close()

switches = [["-mx0"], ["-mx1"], ["-mx5"], ["-mx9"], ["-mhc=off"], ["-ms=off"], ["-m0=LZMA"],
            ["-m0=BCJ2", "-m1=LZMA", "-m2=LZMA", "-m3=LZMA", "-mb0s0:1", "-mb0s1:2", "-mb0s2:3"],
            ["-m0=ARM64", "-m1=LZMA2"], ["-m0=Delta:2", "-m1=LZMA"], ["-m0=BCJ", "-m1=LZMA2", "-mhc=off"]]
for i, sw in enumerate(switches):
    subprocess.run(["7zz", "a", "-t7z", "-bd", "-y"] + sw + [os.path.join(out, f"seed-{i}.7z"), "."], cwd=tree,
                   check=True, stdout=subprocess.DEVNULL)
entries = [sz.Entry("a.txt", b"abc" * 100, mtime=0, attrib=0x20), sz.Entry("dir", None, is_dir=True),
           sz.Entry("../x", b"x"), sz.Entry("gone", None, anti=True)]
for i, (method, enc) in enumerate([("copy", False), ("lzma2", True), ("lzma", False)]):
    with open(os.path.join(out, f"crafted-{i}.7z"), "wb") as f:
        f.write(sz.simple_archive(entries, method=method, encode_header=enc))
shutil.rmtree(tree)
print(len(os.listdir(out)), "seeds")
