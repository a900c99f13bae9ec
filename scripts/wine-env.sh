# Shared helpers for the scripts that run Windows programs under Wine.
# Source it; it defines WINE and the functions below.

WINE=/usr/lib/wine/wine64
WINE32=/usr/lib/wine/wine  # the 32-bit loader (Debian's wine32:i386)
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}

# wine_prefix DIR: a fresh, initialised prefix in DIR.
wine_prefix() {
  export WINEPREFIX="$1"
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  "$WINE" wineboot -i >/dev/null 2>&1 || true
  /usr/lib/wine/wineserver64 -w 2>/dev/null || wineserver -w 2>/dev/null || true
}

# wine_lang LANGID: the system default language of the prefix (e.g. 0804).
# Wine takes it from the Unix locale of the programs it starts.
wine_locale_for() {
  case "$1" in
    0804|1004) echo zh_CN.UTF-8 ;;
    0404|0c04|1404) echo zh_TW.UTF-8 ;;
    *) echo en_US.UTF-8 ;;
  esac
}

# start_xvfb: a virtual display unless one is given; sets DISPLAY.
start_xvfb() {
  if [ -n "${DISPLAY:-}" ] && [ -z "${DS_FORCE_XVFB:-}" ]; then return 0; fi
  local n=${DS_XVFB_DISPLAY:-$((90 + RANDOM % 100))}
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  XVFB_PID=$!
  export DISPLAY=":$n"
  for _ in $(seq 50); do
    xdpyinfo -display "$DISPLAY" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "Xvfb did not start on $DISPLAY" >&2
  return 1
}

stop_xvfb() {
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
  XVFB_PID=
}

# winpath UNIXPATH: the Z:\ form Wine gives a Unix path.
winpath() {
  local p
  p=$(readlink -f "$1")
  echo "Z:${p//\//\\}"
}

# wine_config NAME: the loaders of a test configuration. WINE runs the
# prefix's own programs (wineboot, reg), RUN_WINE the programs under test:
#   win64  64-bit prefix, 64-bit programs
#   wow64  64-bit prefix, 32-bit programs (WoW64)
#   win32  32-bit prefix, 32-bit programs
wine_config() {
  case "$1" in
    win64) WINE=/usr/lib/wine/wine64 RUN_WINE=/usr/lib/wine/wine64 WINEARCH=win64 ;;
    wow64) WINE=/usr/lib/wine/wine64 RUN_WINE=$WINE32 WINEARCH=win64 ;;
    win32) WINE=$WINE32 RUN_WINE=$WINE32 WINEARCH=win32 ;;
    *) echo "unknown Wine configuration $1" >&2; return 1 ;;
  esac
  export WINEARCH DS_WINE_CONFIG=$1
}
