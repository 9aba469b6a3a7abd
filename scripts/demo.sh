#!/usr/bin/env bash
# The demo: builds the Windows distribution and shows what the build can show so far.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
bash scripts/install-deps.sh || exit 1
cmake --preset windows-x64 >/dev/null && cmake --build --preset windows-x64 || exit 1
cmake --preset windows-x86 >/dev/null && cmake --build --preset windows-x86 || exit 1

dist=$root/build/windows-x64/dist
if [ -x scripts/demo-run.sh ] && [ -f "$dist/OstrelSetup.exe" ]; then
  exec bash scripts/demo-run.sh "$dist"
fi
echo
echo "Built: build/windows-x64 (runs under Wine) and build/windows-x86 (the shipping 32-bit build)."
if [ -d "$dist" ]; then
  echo "Distribution folder so far: $dist"
  ls -l "$dist"
fi
echo "The wizard itself cannot be shown yet: the installer application is not built so far."
