#!/usr/bin/env bash
# Drives window_probe.exe with the real X pointer: hover, held-button capture, caption drag,
# the close button, and the box shown for a skin that cannot be loaded.
#   window_input_driver.sh PROBE.exe
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/../../../scripts/wine-env.sh"
probe=$(readlink -f "$1")
d=$(dirname "$probe")
while [ "$d" != "/" ] && [ ! -f "$d/CMakeCache.txt" ]; do d=$(dirname "$d"); done
vx_wine_setup "$d/wine"
vx_ensure_display || exit 125
vx_ensure_pristine
export WINEPREFIX=$VX_PRISTINE
vx_start_server "$WINEPREFIX"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail=0
check() { if eval "$2"; then echo "ok: $1"; else echo "FAIL: $1"; fail=1; fi; }

skin='<Window size="400,300" caption="0,0,0,40"><VerticalLayout bkcolor="#FF303030">
<HorizontalLayout height="40"><Label name="title" text="drag me"/><Button name="closebtn" width="40" bkcolor="#FFAA0000"/></HorizontalLayout>
<Button name="one" height="60" richevent="true" bkcolor="#FF0000AA"/>
<Button name="two" height="60" bkcolor="#FF00AA00"/>
</VerticalLayout></Window>'

"$WINE64" "$probe" "$skin" >"$work/out.txt" 2>/dev/null &
pid=$!
win=$(timeout 30 xdotool search --sync --onlyvisible --name '^vx-probe$' | head -1)
check "probe window appears" '[ -n "$win" ]'
if [ -n "$win" ]; then
  eval "$(xdotool getwindowgeometry --shell "$win")"   # X Y WIDTH HEIGHT
  x0=$X; y0=$Y
  # Hover: entering and leaving "one" (y 40..100).
  xdotool mousemove $((x0 + 200)) $((y0 + 70)); sleep 0.5
  xdotool mousemove $((x0 + 200)) $((y0 + 130)); sleep 0.5
  check "hover enters and leaves" 'grep -q "^mouseenter:one" "$work/out.txt" && grep -q "^mouseleave:one" "$work/out.txt"'
  # Press on "one", release over "two": no click.
  xdotool mousemove $((x0 + 200)) $((y0 + 70)); sleep 0.3
  xdotool mousedown 1; sleep 0.2
  xdotool mousemove $((x0 + 200)) $((y0 + 130)); sleep 0.3
  xdotool mouseup 1; sleep 0.4
  check "press, move out, release: no click" '! grep -q "^click:" "$work/out.txt"'
  # Press on "one", wander out and back in, release: a click.
  xdotool mousemove $((x0 + 200)) $((y0 + 70)); sleep 0.3
  xdotool mousedown 1; sleep 0.2
  xdotool mousemove $((x0 + 200)) $((y0 + 130)); sleep 0.2
  xdotool mousemove $((x0 + 200)) $((y0 + 70)); sleep 0.2
  xdotool mouseup 1; sleep 0.4
  check "release back inside clicks once" '[ "$(grep -c "^click:one" "$work/out.txt")" = 1 ]'
  # Caption drag on the title label moves the window.
  xdotool mousemove $((x0 + 100)) $((y0 + 20)); sleep 0.3
  xdotool mousedown 1; sleep 0.3
  xdotool mousemove $((x0 + 150)) $((y0 + 60)); sleep 0.3
  xdotool mousemove $((x0 + 160)) $((y0 + 70)); sleep 0.3
  xdotool mouseup 1; sleep 0.5
  eval "$(xdotool getwindowgeometry --shell "$win")"
  check "caption drag moves the window" '[ "$X" -gt "$x0" ] && [ "$Y" -gt "$y0" ]'
  # The close button ends the modal loop with 1.
  xdotool mousemove $((X + 380)) $((Y + 20)); sleep 0.3
  xdotool click 1; sleep 0.5
fi
timeout 20 tail --pid=$pid -f /dev/null
wait $pid; rc=$?
check "close button click" 'grep -q "^click:closebtn" "$work/out.txt"'
check "modal result 1 is the exit code" '[ "$rc" = 1 ]'

# A skin that cannot be loaded: the error box, then exit code 1.
"$WINE64" "$probe" "no_such_skin.xml" >/dev/null 2>&1 &
pid=$!
box=$(timeout 30 xdotool search --sync --onlyvisible --name '^Lomar$' | head -1)
check "failure box titled Lomar" '[ -n "$box" ]'
[ -n "$box" ] && { xdotool windowactivate --sync "$box" 2>/dev/null; xdotool key --window "$box" Return; }
timeout 20 tail --pid=$pid -f /dev/null
wait $pid; rc=$?
check "failure exits with 1" '[ "$rc" = 1 ]'
cat "$work/out.txt"
exit $fail
