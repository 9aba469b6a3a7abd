#!/usr/bin/env python3
"""Packs the installer's skin folder into the ZIP archive the executable carries as a resource.

    pack_skin.py SKIN_DIR OUT.zip

Members: the skin XML files at the root and the images of the asset folders, stored with
forward slashes and an entry of their own for every folder. The archive is reproducible:
sorted names, one fixed timestamp, deflate.
"""
import os
import sys
import zipfile

SKIN_FILES = (".xml",)
IMAGE_FILES = (".png", ".bmp", ".jpg", ".gif")
NOT_PACKED = {"tests", "tools", "preview"}   # folders of the repository, not of the archive
STAMP = (2024, 1, 1, 0, 0, 0)


def collect(root):
    files = []
    for name in os.listdir(root):
        if os.path.isfile(os.path.join(root, name)) and name.lower().endswith(SKIN_FILES):
            files.append(name)
    for top in os.listdir(root):
        if top in NOT_PACKED or not os.path.isdir(os.path.join(root, top)):
            continue
        for dirpath, _, names in os.walk(os.path.join(root, top)):
            rel = os.path.relpath(dirpath, root).replace(os.sep, "/")
            files += [f"{rel}/{n}" for n in names if n.lower().endswith(IMAGE_FILES)]
    return sorted(files)


def folders_of(files):
    out = set()
    for f in files:
        parts = f.split("/")[:-1]
        for i in range(1, len(parts) + 1):
            out.add("/".join(parts[:i]) + "/")
    return sorted(out)


def main():
    root, out = sys.argv[1], sys.argv[2]
    files = collect(root)
    tmp = out + ".tmp"
    with zipfile.ZipFile(tmp, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as zf:
        for folder in folders_of(files):
            info = zipfile.ZipInfo(folder, STAMP)
            info.external_attr = 0o40755 << 16 | 0x10   # directory, also for Windows readers
            zf.writestr(info, b"")
        for f in files:
            info = zipfile.ZipInfo(f, STAMP)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.external_attr = 0o644 << 16
            with open(os.path.join(root, f), "rb") as fh:
                zf.writestr(info, fh.read())
    os.replace(tmp, out)


if __name__ == "__main__":
    main()
