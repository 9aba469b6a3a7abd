#!/usr/bin/env bash
# Extraction speed and peak memory, side by side: vx7z against 7zz (one thread and default)
# and bsdtar, on a payload of real x86_64 PE files packed with `7zz a -t7z -mx5`.
# Prints figures; asserts nothing.
#   bench.sh [WORK_DIR]   (default /tmp/vx7z-bench; the archive is kept there between runs)
# Environment: RUNS (default 5), MIN_MB (payload size, default 300), VX7Z (a built vx7z to use).
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
repo=$(cd "$here/../.." && pwd)
work=${1:-/tmp/vx7z-bench}
runs=${RUNS:-5}
min_mb=${MIN_MB:-300}
pe_dir=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows
mkdir -p "$work"

# Our tool, built Release from this folder alone so that other folders cannot break it.
if [ -z "${VX7Z:-}" ]; then
  src=$work/src
  mkdir -p "$src"
  ln -sfn "$repo/cmake" "$src/cmake"
  ln -sfn "$repo/scripts" "$src/scripts"
  ln -sfn "$repo/7zcore" "$src/7zcore"
  cat >"$src/CMakeLists.txt" <<'CM'
cmake_minimum_required(VERSION 3.25)
project(VxBench7z LANGUAGES C CXX)
include(cmake/VxCommon.cmake)
add_subdirectory(7zcore)
CM
  cmake -S "$src" -B "$work/build" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$work/build" --target vx7z -j2 >/dev/null
  VX7Z=$work/build/7zcore/vx7z
fi

# Payload: the PE files, repeated until at least MIN_MB; packed once as 7zz does by default
# on this machine, and once with four compression threads (as on a many-core build machine),
# which splits LZMA2 into blocks with dictionary resets that we decode in parallel.
payload=$work/payload
make_payload() {
  [ -d "$payload" ] && return
  mkdir -p "$payload"
  local copy=0
  while [ "$(du -sm "$payload" | cut -f1)" -lt "$min_mb" ]; do
    mkdir -p "$payload/copy$copy"
    cp "$pe_dir"/*.dll "$pe_dir"/*.exe "$payload/copy$copy/" 2>/dev/null || true
    copy=$((copy + 1))
  done
}
pack() {  # pack ARCHIVE SWITCHES...
  local archive=$1; shift
  [ -f "$archive" ] && return
  make_payload
  echo "packing $(du -sm "$payload" | cut -f1) MB with 7zz $* ..."
  (cd "$payload" && 7zz a -t7z "$@" -bd "$archive.part" . >/dev/null && mv "$archive.part" "$archive")
}
pack "$work/payload-mx5.7z" -mx5
pack "$work/payload-mx5-mmt4.7z" -mx5 -mmt=4
rm -rf "$payload"

bench_archive() {
archive=$1
echo
unpacked=$("$VX7Z" l "$archive" | awk '/^folder/ {s += $(NF-3)} END {print s}')
echo "archive: $archive, $(($(stat -c %s "$archive") / 1048576)) MB packed, $((unpacked / 1048576)) MB unpacked"
"$VX7Z" l "$archive" | grep '^folder'

# One timed run: prints "wall_seconds peak_rss_kb".
measure() {
  local out=$work/out
  rm -rf "$out"
  mkdir -p "$out"
  sync
  /usr/bin/time -f "%e %M" -o "$work/time.txt" "$@" >/dev/null 2>&1 || { echo "FAILED: $*" >&2; cat "$work/time.txt" >&2; }
  rm -rf "$out"
  tail -1 "$work/time.txt"
}

median() { sort -n | awk '{a[NR] = $1} END {print a[int((NR + 1) / 2)]}'; }

declare -A wall rss
tools=(vx7z "7zz-mmt1" 7zz bsdtar)
# Runs interleave the tools, so that a slow spell of a shared machine hits them all alike.
declare -A walls rsss
for ((i = 0; i < runs; i++)); do
  for tool in "${tools[@]}"; do
    case $tool in
      vx7z) r=$(measure "$VX7Z" x "$archive" "$work/out") ;;
      7zz-mmt1) r=$(measure 7zz x -mmt=1 -y -bd "-o$work/out" "$archive") ;;
      7zz) r=$(measure 7zz x -y -bd "-o$work/out" "$archive") ;;
      bsdtar) r=$(measure bsdtar -xf "$archive" -C "$work/out") ;;
    esac
    walls[$tool]+="${r% *} "
    rsss[$tool]+="${r#* } "
  done
done
for tool in "${tools[@]}"; do
  wall[$tool]=$(printf '%s\n' ${walls[$tool]} | median)
  rss[$tool]=$(printf '%s\n' ${rsss[$tool]} | median)
  printf '%-10s wall %6.2f s (runs: %s)  peak RSS %6.1f MiB  %6.1f MB/s\n' "$tool" "${wall[$tool]}" "${walls[$tool]% }" \
    "$(echo "${rss[$tool]} / 1024" | bc -l)" "$(echo "$unpacked / 1000000 / ${wall[$tool]}" | bc -l)"
done
echo
for ref in "7zz-mmt1" 7zz bsdtar; do
  printf 'vx7z / %-9s time %.2f x   memory %.2f x\n' "$ref" "$(echo "${wall[vx7z]} / ${wall[$ref]}" | bc -l)" \
    "$(echo "${rss[vx7z]} / ${rss[$ref]}" | bc -l)"
done
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
}

bench_archive "$work/payload-mx5.7z"
bench_archive "$work/payload-mx5-mmt4.7z"
