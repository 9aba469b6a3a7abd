#!/usr/bin/env bash
# The demo: builds the Windows distribution folder, prepares a Wine prefix and runs the installer.
# With a display (DISPLAY set and reachable) the wizard opens there for you to click through.
# Without one it runs in Xvfb and performs a quick install as a user would, saving a screenshot
# of every page under build/windows-x64/demo/.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
bash scripts/install-deps.sh || exit 1
cmake --preset windows-x64 >/dev/null && cmake --build --preset windows-x64 || exit 1

build=$root/build/windows-x64
dist=$build/dist
if [ ! -f "$dist/OstrelSetup.exe" ]; then
  echo "demo: the distribution folder has no installer: $dist" >&2
  exit 1
fi
echo "Distribution folder: $dist"
ls -l "$dist"

if [ -n "${DISPLAY:-}" ] && xdpyinfo -display "$DISPLAY" >/dev/null 2>&1; then
  . scripts/wine-env.sh
  vx_wine_setup "$build/wine"
  vx_ensure_pristine
  prefix=$build/demo/prefix
  vx_fresh_prefix "$prefix"
  setup=$prefix/drive_c/users/$(id -un)/Downloads/OstrelSetup
  mkdir -p "$setup" && cp "$dist"/* "$setup"/
  echo "Running the installer on $DISPLAY (prefix $prefix)"
  WINEPREFIX=$prefix "$WINE64" "$setup/OstrelSetup.exe"
  echo "The installer ended with exit code $?"
  exit 0
fi

echo "No display: a quick install in Xvfb, with a screenshot of every page."
cmake --build --preset windows-x64 --target lnkinfo >/dev/null || exit 1
lnkinfo=$(find "$build" -name lnkinfo.exe | head -n 1)
/usr/bin/python3 tests/journeys/journeys.py --dist "$dist" --build "$build" --out "$build/demo" \
  --lnkinfo "$lnkinfo" quick_install || exit 1
echo "Screenshots:"
ls "$build/demo/quick_install/"*.png
