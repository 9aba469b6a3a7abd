#!/usr/bin/env bash
# Screenshots of the installer's four pages and its message box as the engine draws them, made
# with skinview from the packed skin archive:
#   screenshots.sh WINE_RUN SKINVIEW.exe SKIN.zip OUT_DIR
# Writes page0-welcome.png ... page3-completion.png and msgbox.png into OUT_DIR and checks
# that each has its window's size.
set -euo pipefail
run=$1 exe=$2 zip=$3 out=$4
mkdir -p "$out"
names=(welcome options progress completion)
for i in 0 1 2 3; do
  "$run" "$exe" "$zip" --file VXMainFrame.xml --select "tabInstall=$i" --out "$out/page$i-${names[$i]}.png"
done
"$run" "$exe" "$zip" --file VXMsgBox.xml --out "$out/msgbox.png"
for f in "$out"/page?-*.png; do
  size=$(identify -format '%wx%h' "$f")
  [ "$size" = 700x420 ] || { echo "$f is $size, not 700x420"; exit 1; }
done
size=$(identify -format '%wx%h' "$out/msgbox.png")
[ "$size" = 417x212 ] || { echo "msgbox.png is $size, not 417x212"; exit 1; }
echo "screenshots in $out"
