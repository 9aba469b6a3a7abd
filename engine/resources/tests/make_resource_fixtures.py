#!/usr/bin/env python3
"""Writes the resource tests' files: a skin folder, a skin archive, images made by Pillow and a
font file with a family name of its own.

    make_resource_fixtures.py OUTDIR

OUTDIR/skin/...            folder-mode files (subfolders, names in mixed case)
OUTDIR/skin.zip            the same kind of files as archive entries, plus images and the font
OUTDIR/plain/...           files found only as plain paths
OUTDIR/img/*.png|jpg|...   good-, bad- and unsupported- images
OUTDIR/fonts/VxSkinTest.ttf  Liberation Sans with its family renamed "Vxskintest Sans", so that
                           it can only be found after it was imported
"""
import os
import shutil
import struct
import sys
import zipfile
import zlib

from PIL import Image

ALPHA_PIXELS = [
    (200, 100, 50, 128), (255, 0, 255, 255), (10, 20, 30, 0), (255, 255, 255, 255),
    (0, 0, 0, 255), (255, 0, 255, 128), (100, 150, 200, 64), (1, 2, 3, 255),
]
OPAQUE_PIXELS = [
    (255, 0, 255), (10, 20, 30), (255, 0, 255),
    (0, 255, 0), (255, 0, 254), (255, 255, 255),
]
FONT_SOURCE = "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf"


def png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def images(out):
    img = os.path.join(out, "img")
    os.makedirs(img)
    a = Image.new("RGBA", (4, 2))
    a.putdata(ALPHA_PIXELS)
    a.save(os.path.join(img, "good-alpha.png"))
    o = Image.new("RGB", (3, 2))
    o.putdata(OPAQUE_PIXELS)
    o.save(os.path.join(img, "good-opaque.png"))
    Image.new("RGB", (8, 8), (40, 80, 120)).save(os.path.join(img, "good-photo.jpg"), quality=95)
    o.save(os.path.join(img, "good-opaque.bmp"))
    Image.new("P", (5, 3), 0).save(os.path.join(img, "good-frame.gif"))
    with open(os.path.join(img, "good-alpha.png"), "rb") as f:
        png = f.read()
    write(os.path.join(img, "bad-truncated.png"), png[:60])
    write(os.path.join(img, "bad-text.png"), b"this is not an image\n")
    # A valid header announcing 60000 x 60000 pixels and no data: refused before decoding.
    ihdr = struct.pack(">IIBBBBB", 60000, 60000, 8, 6, 0, 0, 0)
    write(os.path.join(img, "bad-huge.png"),
          b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", ihdr) + png_chunk(b"IDAT", zlib.compress(b"\0" * 64))
          + png_chunk(b"IEND", b""))
    return png


def renamed_font():
    with open(FONT_SOURCE, "rb") as f:
        data = f.read()
    for old, new in ((b"Liberation", b"Vxskintest"),):
        data = data.replace(old, new)
        data = data.replace(old.decode().encode("utf-16-be"), new.decode().encode("utf-16-be"))
    return data


def main():
    out = os.path.abspath(sys.argv[1])
    shutil.rmtree(out, ignore_errors=True)
    os.makedirs(out)
    write(os.path.join(out, "skin", "Images", "Sub", "Pic.txt"), b"from the folder")
    write(os.path.join(out, "skin", "res.xml"),
          b'<Res><Image id="logo" path="img\\good-alpha.png"/><Group><Group>'
          b'<Image id="deep" path="deep.png"/></Group></Group></Res>')
    write(os.path.join(out, "plain", "only-plain.txt"), b"plain path")
    png = images(out)
    font = renamed_font()
    write(os.path.join(out, "fonts", "VxSkinTest.ttf"), font)
    with zipfile.ZipFile(os.path.join(out, "skin.zip"), "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr("Images/Sub/Pic.txt", b"from the archive")
        z.writestr("img/good-alpha.png", png)
        with open(os.path.join(out, "img", "good-opaque.png"), "rb") as f:
            z.writestr("img/good-opaque.png", f.read())
        z.writestr("fonts/VxSkinTest.ttf", font)
        z.writestr("res.xml", b'<Res><Xml id="main" path="Main.xml"/></Res>')
    return 0


if __name__ == "__main__":
    sys.exit(main())
