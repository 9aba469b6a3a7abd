#!/usr/bin/env bash
# Writes a small tabbed skin, previews page 1 of its tab layout with skinview and checks the
# PNG's size and pixels with PIL.
#   skinview_check.sh WINE_RUN SKINVIEW.exe PYTHON
set -euo pipefail
run=$1 exe=$2 py=$3
work=$(mktemp -d "$(dirname "$exe")/skinview_check.XXXXXX")
trap 'rm -rf "$work"' EXIT
cat >"$work/view.xml" <<'XML'
<Window size="120,80" bktrans="true">
  <VerticalLayout>
    <Control height="20" bkimage="red.bmp"/>
    <TabLayout name="pages">
      <Control bkcolor="#FF00FF00"/>
      <Control bkcolor="#FF0000FF"/>
    </TabLayout>
  </VerticalLayout>
</Window>
XML
# An opaque 120 x 20 red image for the top row (24-bit BMP).
"$py" - "$work/red.bmp" <<'PY'
import struct, sys
w, h = 120, 20
row = b"\x00\x00\xff" * w
data = row * h
head = b"BM" + struct.pack("<IHHI", 54 + len(data), 0, 0, 54)
info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 0, 0, 0, 0)
open(sys.argv[1], "wb").write(head + info + data)
PY
"$run" "$exe" "$work/view.xml" --select pages=1 --out "$work/out.png"
"$py" - "$work/out.png" <<'PY'
import struct, sys, zlib
# Reads the PNG back (8-bit RGBA, no interlace; skinview writes filter 0 rows).
png = open(sys.argv[1], "rb").read()
assert png[:8] == b"\x89PNG\r\n\x1a\n"
pos, idat = 8, b""
while pos < len(png):
    n, = struct.unpack(">I", png[pos:pos + 4]); kind = png[pos + 4:pos + 8]; body = png[pos + 8:pos + 8 + n]
    assert zlib.crc32(kind + body) == struct.unpack(">I", png[pos + 8 + n:pos + 12 + n])[0], kind
    if kind == b"IHDR": w, h, depth, colour = struct.unpack(">IIBB", body[:10])
    if kind == b"IDAT": idat += body
    pos += 12 + n
assert (w, h, depth, colour) == (120, 80, 8, 6), (w, h, depth, colour)
raw = zlib.decompress(idat)
def px(x, y):
    at = y * (w * 4 + 1) + 1 + x * 4
    assert raw[y * (w * 4 + 1)] == 0
    return tuple(raw[at:at + 4])
assert px(5, 5) == (255, 0, 0, 255), px(5, 5)        # opaque image in a layered frame keeps alpha 255
assert px(60, 50) == (0, 0, 255, 255), px(60, 50)    # page 1 of the tab layout selected
print("skinview preview ok")
PY
# A skin that does not build is refused with exit code 1 and no box.
if "$run" "$exe" "$work/missing.xml" --out "$work/none.png"; then echo "missing skin accepted"; exit 1; fi
test ! -e "$work/none.png"
