#!/usr/bin/env bash
# A payload of about a gigabyte for the journey that closes the installer during a long
# extraction: real Windows executables (those Wine ships), packed quickly with the real 7-Zip.
# Its folders are decoded on two threads in a few seconds, so it must be large for the closing
# to land while the extraction still runs.
#   make_big_payload.sh OUT.7z [MEGABYTES]
set -euo pipefail
out=$1
want=$(( ${2:-960} * 1024 * 1024 ))
[ -f "$out" ] && exit 0
src=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree/Kestvane/bin"
total=0
round=0
while [ "$total" -lt "$want" ]; do
  for f in "$src"/*.dll "$src"/*.exe; do
    [ -f "$f" ] || continue
    cp "$f" "$tree/Kestvane/bin/r${round}_$(basename "$f")"
    total=$(( total + $(stat -c %s "$f") ))
    [ "$total" -ge "$want" ] && break
  done
  round=$(( round + 1 ))
done
printf 'MZ' > "$tree/VXApp.exe"
printf 'MZ' > "$tree/VXUnInstall.exe"
rm -f "$out.tmp"
(cd "$tree" && 7zz a -t7z -mx1 -bd -bso0 "$out.tmp" .)
mv "$out.tmp" "$out"
