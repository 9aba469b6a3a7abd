#!/usr/bin/env python3
"""vx7z on the command line: exit codes, printed reasons, an extraction equal to 7zz's.

cli_test.py VX7Z FIXTURES SCRATCH [WINE_RUNNER]
"""
import filecmp
import os
import shutil
import subprocess
import sys

tool, fixtures, scratch = sys.argv[1:4]
runner = sys.argv[4] if len(sys.argv) > 4 and sys.argv[4] else None
failures = []


def host(p):
    return "Z:" + p if runner else p


def run(*args):
    cmd = ([runner] if runner else []) + [tool] + [str(a) for a in args]
    r = subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    return r.returncode, r.stdout.decode("utf-8", "replace")


def check(cond, what):
    if not cond:
        failures.append(what)


def same_tree(a, b):
    cmp = filecmp.dircmp(a, b)
    if cmp.left_only or cmp.right_only or cmp.diff_files or cmp.funny_files:
        return False
    match, mismatch, errors = filecmp.cmpfiles(a, b, cmp.common_files, shallow=False)
    return not mismatch and not errors and all(same_tree(os.path.join(a, d), os.path.join(b, d)) for d in cmp.common_dirs)


shutil.rmtree(scratch, ignore_errors=True)
os.makedirs(scratch)
dest = os.path.join(scratch, "x")
rc, out = run("x", host(os.path.join(fixtures, "good-mx9.7z")), host(dest))
check(rc == 0, f"x good-mx9 exit {rc}: {out}")
check(rc == 0 and same_tree(os.path.join(fixtures, "ref", "good-mx9"), dest), "x good-mx9 differs from 7zz x")

rc, out = run("t", host(os.path.join(fixtures, "good-bcj2-lzma.7z")))
check(rc == 0, f"t good-bcj2-lzma exit {rc}: {out}")

rc, out = run("l", host(os.path.join(fixtures, "good-mx9.7z")))
check(rc == 0 and "BCJ2" in out and "numbers.txt" in out and "中文目录" in out, f"l output: {out}")

for archive, words in [("unsupported-deflate.7z", ["unsupported", "Deflate"]),
                       ("unsupported-aes.7z", ["unsupported", "AES"]),
                       ("bad-crc-data.7z", ["corrupt", "CRC"]),
                       ("bad-lzma2-control.7z", ["corrupt", "control"]),
                       ("no-such.7z", ["I/O"])]:
    rc, out = run("t", host(os.path.join(fixtures, archive)))
    check(rc != 0 and all(w in out for w in words), f"t {archive}: exit {rc}, {out!r}")

rc, out = run("q")
check(rc != 0 and "usage" in out, f"bad command: exit {rc}, {out!r}")

shutil.rmtree(scratch, ignore_errors=True)
for f in failures:
    print("FAIL:", f)
print("ok" if not failures else f"{len(failures)} failures")
sys.exit(1 if failures else 0)
