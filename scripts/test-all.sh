#!/usr/bin/env bash
# The project's whole test run: installs what is missing, builds every preset, runs the native
# suite (plain and with sanitizers), the Windows suite under Wine, the 32-bit PE inspection and
# the fuzz targets for a bounded time. Ends non-zero when anything fails.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

bash scripts/install-deps.sh || exit 1

presets=(native native-asan windows-x64 windows-x86 fuzz)
failed_steps=()
total_passed=0
total_failed=0

step() {
  local name=$1; shift
  echo "=== $name"
  local start=$SECONDS
  if "$@"; then
    echo "=== $name: ok ($((SECONDS - start)) s)"
  else
    echo "=== $name: FAILED ($((SECONDS - start)) s)"
    failed_steps+=("$name")
  fi
}

run_ctest() {
  local preset=$1 log
  log=$(mktemp)
  ctest --preset "$preset" 2>&1 | tee "$log"
  local rc=${PIPESTATUS[0]}
  # "N% tests passed, F tests failed out of T"
  local line
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  if [ -n "$line" ]; then
    local f t
    f=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
    t=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\2/' <<<"$line")
    total_failed=$((total_failed + f))
    total_passed=$((total_passed + t - f))
  fi
  rm -f "$log"
  return "$rc"
}

for p in "${presets[@]}"; do
  step "configure $p" cmake --preset "$p"
  step "build $p" cmake --build --preset "$p"
done
for p in "${presets[@]}"; do
  step "test $p" run_ctest "$p"
done

# Wine servers and the display we started are not needed any more.
for d in build/windows-x64/wine build/windows-x86/wine; do
  if [ -d "$d/prefix" ]; then WINEPREFIX=$root/$d/prefix /usr/lib/wine/wineserver64 -k 2>/dev/null || true; fi
done

echo
if [ ${#failed_steps[@]} -gt 0 ]; then
  echo "failed steps: ${failed_steps[*]}"
fi
echo "${total_passed} passed, ${total_failed} failed"
[ ${#failed_steps[@]} -eq 0 ] && [ "$total_failed" -eq 0 ]
