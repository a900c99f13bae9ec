#!/usr/bin/env bash
# Screenshots of the main window in English, Simplified and Traditional
# Chinese, on the demo package, into docs/screenshots/. Needs the win64 build.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
OUT=$ROOT/docs/screenshots
mkdir -p "$OUT"
[ -f dist/win64/DriverSetup.exe ] || scripts/build.sh win64 >/dev/null

source scripts/wine-env.sh
DS_FORCE_XVFB=1 start_xvfb
trap 'stop_xvfb; /usr/lib/wine/wineserver64 -k 2>/dev/null || true' EXIT
export LC_ALL=en_US.UTF-8
wine_prefix "$ROOT/build/screenshot-prefix"
"$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1

STAGE=$ROOT/build/screenshot-package
rm -rf "$STAGE"
cp -r examples/demo-package "$STAGE"
cp dist/win64/DriverSetup.exe "$STAGE/"

# shoot LOCALE NAME [ACTIONS...]: starts the installer in that locale, waits
# for its window, optionally acts on it ("click:X,Y" in window coordinates,
# otherwise a key name typed into the window), and saves the window.
shoot() {
  local locale=$1 name=$2
  shift 2
  /usr/lib/wine/wineserver64 -k 2>/dev/null || true
  (cd "$STAGE" && LC_ALL=$locale LANG=$locale "$WINE" DriverSetup.exe >/dev/null 2>&1 &)
  local wid=""
  for _ in $(seq 150); do
    wid=$(xdotool search --onlyvisible --class driversetup.exe 2>/dev/null | tail -1 || true)
    [ -n "$wid" ] && break
    sleep 0.2
  done
  [ -n "$wid" ] || { echo "no window for $name" >&2; return 1; }
  sleep 2
  xdotool windowfocus "$wid" 2>/dev/null || true
  for a in "$@"; do
    case "$a" in
      click:*)
        xdotool mousemove --window "$wid" $(echo "${a#click:}" | tr , ' ')
        xdotool click 1 ;;
      mousemove:*)
        xdotool mousemove --window "$wid" $(echo "${a#mousemove:}" | tr , ' ') ;;
      *) xdotool key "$a" ;;
    esac
    sleep 0.5
  done
  import -window "$wid" "$OUT/$name.png"
  echo "$OUT/$name.png"
}

shoot en_US.UTF-8 main-en
shoot zh_CN.UTF-8 main-zh-cn
shoot zh_TW.UTF-8 main-zh-tw
# A click beside the models clears the selection: Install and the links are off.
shoot en_US.UTF-8 main-en-no-selection "click:205,190" "click:60,320"
# The third model ships no manual, so that link is disabled; the pointer rests
# on the guide link, which turns blue and shows its file in the status bar.
shoot en_US.UTF-8 main-en-hover-link "click:205,190" "mousemove:270,100"
