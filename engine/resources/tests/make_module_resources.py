#!/usr/bin/env python3
"""Writes the files the Windows test program carries as module resources (at build time).

    make_module_resources.py OUTDIR   ->  OUTDIR/resource.png (2 x 1, RGBA), OUTDIR/catalog.xml
"""
import os
import sys

from PIL import Image

out = sys.argv[1]
image = Image.new("RGBA", (2, 1))
image.putdata([(0, 0, 255, 255), (255, 255, 0, 51)])
image.save(os.path.join(out, "resource.png"))
with open(os.path.join(out, "catalog.xml"), "wb") as f:
    f.write(b'<Res><Image id="fromres" path="img\\good-opaque.png"/></Res>')
