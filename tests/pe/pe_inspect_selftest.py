#!/usr/bin/env python3
"""Shows that pe_inspect.py notices each fault it is meant to catch: takes a PE file that
passes, damages a copy in one way per row, and expects the check to fail with the row's
message.

    pe_inspect_selftest.py FILE [pe_inspect options...]
"""
import os
import struct
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))


def pe_offset(d):
    return struct.unpack_from("<I", d, 0x3C)[0]


def set_machine(d):
    d[pe_offset(d) + 4:pe_offset(d) + 6] = struct.pack("<H", 0x1C0)   # ARM


def set_console(d):
    d[pe_offset(d) + 24 + 68:pe_offset(d) + 24 + 70] = struct.pack("<H", 3)


def replace(old, new, count=1):
    assert len(old) == len(new)

    def mutate(d):
        at = bytes(d).find(old)
        if at < 0:
            raise LookupError(f"{old!r} not found")
        for _ in range(count):
            at = bytes(d).find(old)
            d[at:at + len(old)] = new
    return mutate


def u16(text):
    return text.encode("utf-16-le")


def truncate(d):
    del d[len(d) // 3:]


# (what is damaged, mutation, text the failure must contain)
CASES = [
    ("machine field", set_machine, "machine"),
    ("subsystem", set_console, "subsystem"),
    ("a runtime DLL import", replace(b"USER32.dll", b"libgcc.dll"), "runtime DLL"),
    ("a non-system DLL import", replace(b"USER32.dll", b"ZLIB01.dll"), "not a system DLL"),
    ("version string", replace(u16("9.3.3.0"), u16("9.3.3.1")), "FileVersion"),
    ("product name missing", replace(u16("ProductName"), u16("ProductNamf")), "ProductName"),
    ("manifest uiAccess", replace(b'uiAccess="false"', b'uiAccess="true" '), "uiAccess"),
    ("common controls version", replace(b'version="6.0.0.0"', b'version="5.8.0.0"'), "Common-Controls version"),
    ("file cut short", truncate, "malformed"),
]


def run(path, opts):
    p = subprocess.run([sys.executable, os.path.join(HERE, "pe_inspect.py"), path] + opts,
                       capture_output=True, text=True)
    return p.returncode, p.stdout + p.stderr


def main():
    path, opts = sys.argv[1], sys.argv[2:]
    rc, out = run(path, opts)
    if rc != 0:
        print("the undamaged file must pass first:\n" + out)
        return 1
    original = open(path, "rb").read()
    bad = 0
    with tempfile.TemporaryDirectory() as tmp:
        for what, mutate, expect in CASES:
            d = bytearray(original)
            try:
                mutate(d)
            except LookupError as e:
                print(f"FAIL {what}: cannot damage the file: {e}")
                bad += 1
                continue
            damaged = os.path.join(tmp, "damaged.exe")
            open(damaged, "wb").write(d)
            rc, out = run(damaged, opts)
            if rc == 0 or expect not in out:
                print(f"FAIL {what}: exit {rc}, expected a failure mentioning {expect!r}:\n{out}")
                bad += 1
            else:
                print(f"ok   {what}")
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
