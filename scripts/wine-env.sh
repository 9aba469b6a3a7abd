# Shared Wine and display plumbing, sourced by the runner, the journeys and the demo.
#
#   vx_wine_setup STATE_DIR   sets WINE64, WINESERVER, WINEDEBUG, VX_WINE_STATE
#   vx_ensure_display         gives DISPLAY a live X server (starts Xvfb when none is set)
#   vx_ensure_pristine        creates the shared prefix once: fonts mapped, user folders real
#   vx_fresh_prefix DIR       copies the pristine prefix to DIR (cheap compared to creating one)
#   vx_start_server PREFIX    starts a persistent wineserver for PREFIX, detached from our pipes
#   vx_stop_server PREFIX     ends that prefix's wineserver and every Wine process in it
#
# Wine processes that outlive a program (wineserver, services, explorer) must never hold the
# standard output of a test: CTest would wait for them. Everything long-lived is started here
# with its descriptors on /dev/null.

vx_wine_setup() {
  VX_WINE_STATE=$1
  mkdir -p "$VX_WINE_STATE"
  WINE64=${WINE64:-/usr/lib/wine/wine64}
  WINESERVER=${WINESERVER:-/usr/lib/wine/wineserver64}
  export WINEDEBUG=${VX_WINEDEBUG:--all}
  export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
  export LC_ALL=C.UTF-8
  export WINEARCH=win64
  VX_PRISTINE=$VX_WINE_STATE/prefix
}

vx_display_alive() {
  [ -n "${1:-}" ] && xdpyinfo -display "$1" >/dev/null 2>&1
}

vx_ensure_display() {
  if [ -n "${DISPLAY:-}" ] && vx_display_alive "$DISPLAY"; then return 0; fi
  local file=$VX_WINE_STATE/display
  exec 8>"$VX_WINE_STATE/display.lock"
  flock 8
  if [ -f "$file" ] && vx_display_alive "$(cat "$file")"; then
    export DISPLAY=$(cat "$file"); flock -u 8; return 0
  fi
  local n
  for n in $(seq 90 199); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    setsid Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp -ac </dev/null >/dev/null 2>&1 &
    local i
    for i in $(seq 1 50); do
      vx_display_alive ":$n" && break
      sleep 0.1
    done
    if vx_display_alive ":$n"; then
      echo ":$n" >"$file"; export DISPLAY=":$n"; flock -u 8; return 0
    fi
  done
  flock -u 8
  echo "wine-env: could not start Xvfb" >&2
  return 1
}

vx_start_server() {
  WINEPREFIX=$1 setsid "$WINESERVER" -p </dev/null >/dev/null 2>&1 || true
  # Start the prefix's own services now, so that no test program ends up as their parent.
  WINEPREFIX=$1 "$WINE64" cmd /c exit </dev/null >/dev/null 2>&1 || true
}

vx_stop_server() {
  WINEPREFIX=$1 "$WINESERVER" -k </dev/null >/dev/null 2>&1 || true
  WINEPREFIX=$1 "$WINESERVER" -w </dev/null >/dev/null 2>&1 || true
}

# Replace the links to the Unix home by real folders: a shortcut test must write inside the prefix.
vx_unlink_user_folders() {
  local d
  for d in "$1"/drive_c/users/*/; do
    local f
    for f in Desktop Documents Downloads Music Pictures Videos Templates "My Documents"; do
      if [ -L "$d$f" ]; then rm -f "$d$f"; mkdir -p "$d$f"; fi
    done
  done
}

vx_ensure_pristine() {
  exec 9>"$VX_WINE_STATE/prefix.lock"
  flock 9
  if [ ! -f "$VX_PRISTINE/.vx-ready" ]; then
    rm -rf "$VX_PRISTINE"
    echo "wine-env: creating Wine prefix $VX_PRISTINE (once)" >&2
    WINEPREFIX=$VX_PRISTINE "$WINE64" wineboot --init </dev/null >/dev/null 2>&1
    local key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
    local pair
    for pair in "微软雅黑=WenQuanYi Micro Hei" "Microsoft YaHei=WenQuanYi Micro Hei" \
                "Arial=Liberation Sans" "Arial Narrow=Liberation Sans"; do
      WINEPREFIX=$VX_PRISTINE "$WINE64" reg add "$key" /v "${pair%%=*}" /t REG_SZ \
        /d "${pair#*=}" /f </dev/null >/dev/null 2>&1
    done
    # Wine's own dialogs (message boxes, the folder picker) draw with Tahoma, which has no
    # Chinese glyphs: link it to the Chinese font, as a Chinese system links its UI font.
    WINEPREFIX=$VX_PRISTINE "$WINE64" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
      /v Tahoma /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei' /f </dev/null >/dev/null 2>&1
    # Let the server end by itself: it writes the registry to disk as it exits.
    WINEPREFIX=$VX_PRISTINE "$WINESERVER" -w </dev/null >/dev/null 2>&1 || true
    vx_unlink_user_folders "$VX_PRISTINE"
    touch "$VX_PRISTINE/.vx-ready"
  fi
  flock -u 9
}

vx_fresh_prefix() {
  rm -rf "$1"
  mkdir -p "$(dirname "$1")"
  cp -a "$VX_PRISTINE" "$1"
}
