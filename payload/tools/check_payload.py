#!/usr/bin/env python3
"""Checks that each payload archive holds exactly the staged product: the same files with the
same sizes and CRCs, folders as in the stage, nothing else, and that 7-Zip tests it clean.

    check_payload.py STAGE_DIR 7ZZ ARCHIVE.7z...
"""
import os
import subprocess
import sys
import zlib


def staged(root):
    files, dirs = {}, set()
    for dirpath, dirnames, names in os.walk(root):
        rel = os.path.relpath(dirpath, root)
        if rel != ".":
            dirs.add(rel.replace(os.sep, "/"))
        for n in names:
            p = os.path.join(dirpath, n)
            data = open(p, "rb").read()
            key = os.path.relpath(p, root).replace(os.sep, "/")
            files[key] = (len(data), f"{zlib.crc32(data):08X}")
    return files, dirs


def listed(tool, archive):
    out = subprocess.run([tool, "l", "-slt", "-ba", archive], capture_output=True, text=True, check=True).stdout
    files, dirs, entry = {}, set(), {}
    for line in out.splitlines() + [""]:
        if not line.strip():
            if "Path" in entry:
                path = entry["Path"].replace("\\", "/")
                if entry.get("Folder") == "+" or "D" in entry.get("Attributes", "").split(" ")[0]:
                    dirs.add(path)
                else:
                    files[path] = (int(entry["Size"]), entry.get("CRC", ""))
            entry = {}
            continue
        key, _, value = line.partition(" = ")
        entry[key] = value
    return files, dirs


def main():
    stage, tool, archives = sys.argv[1], sys.argv[2], sys.argv[3:]
    want_files, want_dirs = staged(stage)
    bad = 0
    if not want_files:
        print("the stage is empty")
        return 1
    for a in archives:
        test = subprocess.run([tool, "t", a], capture_output=True, text=True)
        if test.returncode != 0:
            print(f"{a}: 7zz t failed:\n{test.stdout}{test.stderr}")
            bad += 1
        files, dirs = listed(tool, a)
        for p in sorted(want_files.keys() - files.keys()):
            print(f"{a}: missing {p}")
            bad += 1
        for p in sorted(files.keys() - want_files.keys()):
            print(f"{a}: unexpected {p}")
            bad += 1
        for p in sorted(want_files.keys() & files.keys()):
            if files[p] != want_files[p]:
                print(f"{a}: {p} is {files[p]}, staged {want_files[p]}")
                bad += 1
        if dirs != want_dirs:
            print(f"{a}: folders {sorted(dirs)} != staged {sorted(want_dirs)}")
            bad += 1
        print(f"{os.path.basename(a)}: {len(files)} files, {len(dirs)} folders, {os.path.getsize(a)} bytes")
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
