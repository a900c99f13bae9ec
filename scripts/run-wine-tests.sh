#!/usr/bin/env bash
# Runs the Windows test programs of the x86-64 build under Wine, in one fresh
# prefix on a virtual display. Prints GoogleTest's output of each program.
set -uo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
source scripts/wine-env.sh

BUILD=${DS_WIN64_BUILD:-$ROOT/build/win64}
TESTS_DIR=$BUILD/wine-tests
[ -d "$TESTS_DIR" ] || { echo "no Wine test programs in $TESTS_DIR; build the win64 preset first" >&2; exit 1; }

# The display first: Wine's desktop process, started with the prefix, keeps
# the display it found.
DS_FORCE_XVFB=1 start_xvfb || exit 1
trap 'stop_xvfb; /usr/lib/wine/wineserver64 -k 2>/dev/null' EXIT
export LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8
wine_prefix "${DS_WINE_PREFIX:-$ROOT/build/wine-prefix}"
# Wine draws the window frames itself, so screenshots show the titles.
"$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1

export DS_ROOT="$ROOT" DS_WIN64_BUILD="$BUILD"
export DS_ROOT_WIN DS_DIST_WIN64 DS_DIST_WIN32 DS_WINE_TESTS_WIN
DS_ROOT_WIN=$(winpath "$ROOT")
DS_DIST_WIN64=$(winpath "$ROOT/dist/win64")
DS_DIST_WIN32=$(winpath "$ROOT/dist/win32" 2>/dev/null || echo "")
DS_WINE_TESTS_WIN=$(winpath "$TESTS_DIR")

status=0
for prep in tests/wine/*/prepare.sh; do
  [ -f "$prep" ] || continue
  echo "== prepare ${prep%/prepare.sh}"
  WINE=$WINE bash "$prep" || { echo "prepare failed: $prep"; status=1; }
done
"$WINE" wineboot -u >/dev/null 2>&1 || true

for exe in "$TESTS_DIR"/*_wine_tests.exe; do
  [ -f "$exe" ] || continue
  echo "== wine $(basename "$exe")"
  log=$(mktemp)
  timeout 900 "$WINE" "$exe" --gtest_color=no >"$log" 2>&1
  rc=$?
  tr -d '\r' <"$log" | grep -v -E '^[0-9a-f]{4}:(fixme|err|warn)'
  if [ "$rc" -ne 0 ]; then
    echo "== $(basename "$exe") exited with $rc"
    # A program that died before GoogleTest's summary still counts as failed.
    grep -q 'FAILED TEST' "$log" || echo "[  FAILED  ] 1 test: $(basename "$exe") ended without a summary"
    status=1
  fi
  rm -f "$log"
done
exit $status
