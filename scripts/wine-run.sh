#!/usr/bin/env bash
# Runs one Windows program under 64-bit Wine for CTest and passes its exit code through.
#   wine-run.sh PROGRAM.exe [ARGS...]
# The prefix lives in the build folder (found from the program's path) and is created once.
# VX_FRESH_PREFIX=1 gives the program a copy of the pristine prefix, removed afterwards
# (VX_KEEP_PREFIX=1 keeps it). VX_WINE_STATE overrides where prefix and display state live.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/wine-env.sh"

prog=$(readlink -f "$1"); shift
state=${VX_WINE_STATE:-}
if [ -z "$state" ]; then
  d=$(dirname "$prog")
  while [ "$d" != "/" ] && [ ! -f "$d/CMakeCache.txt" ]; do d=$(dirname "$d"); done
  [ "$d" = "/" ] && d=$(dirname "$prog")
  state=$d/wine
fi
vx_wine_setup "$state"
vx_ensure_display || exit 125
vx_ensure_pristine

prefix=$VX_PRISTINE
fresh=""
if [ "${VX_FRESH_PREFIX:-0}" = 1 ]; then
  fresh=$(mktemp -d "$VX_WINE_STATE/fresh.XXXXXX")
  prefix=$fresh/prefix
  vx_fresh_prefix "$prefix"
fi
export WINEPREFIX=$prefix
vx_start_server "$prefix"
export VX_WINEPREFIX_UNIX=$prefix

# The program's output goes through a file: Wine helpers it starts may live on after it.
out=$(mktemp "$VX_WINE_STATE/out.XXXXXX")
"$WINE64" "$prog" "$@" </dev/null >"$out" 2>&1
rc=$?
cat "$out"; rm -f "$out"

if [ -n "$fresh" ]; then
  vx_stop_server "$prefix"
  [ "${VX_KEEP_PREFIX:-0}" = 1 ] && echo "wine-run: kept $prefix" || rm -rf "$fresh"
fi
exit $rc
