#!/usr/bin/env bash
# Screenshots of the install's message boxes (connect prompt, old-driver
# prompt, success on LPT1: and on USB001) and of its failure boxes
# (failure-folder-name, failure-copy, failure-print-ui) in English and
# Simplified Chinese, into docs/screenshots/.
# Runs the Wine test of whole installs in a fresh prefix per language. Needs
# the win64 build. Arguments go to the test program (e.g.
# --gtest_filter=InstallFlow.DriverFile* for the shots of one test).
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
OUT=$ROOT/docs/screenshots
mkdir -p "$OUT"
[ -f build/win64/wine-tests/flow_wine_tests.exe ] || scripts/build.sh win64 >/dev/null
source scripts/wine-env.sh
DS_FORCE_XVFB=1 start_xvfb
trap 'stop_xvfb; /usr/lib/wine/wineserver64 -k 2>/dev/null || true' EXIT

export DS_ROOT="$ROOT" DS_WIN64_BUILD="$ROOT/build/win64"
export DS_ROOT_WIN DS_DIST_WIN64 DS_WINE_TESTS_WIN DS_SCREENSHOT_DIR_WIN DS_SHOT_LANG
DS_ROOT_WIN=$(winpath "$ROOT")
DS_DIST_WIN64=$(winpath "$ROOT/dist/win64")
DS_WINE_TESTS_WIN=$(winpath "$DS_WIN64_BUILD/wine-tests")
DS_SCREENSHOT_DIR_WIN=$(winpath "$OUT")
status=0
for pair in en_US.UTF-8:en zh_CN.UTF-8:zh-cn; do
  export LANG=${pair%%:*} LC_ALL=${pair%%:*}
  DS_SHOT_LANG=${pair##*:}
  /usr/lib/wine/wineserver64 -k 2>/dev/null || true
  wine_prefix "$ROOT/build/shots-$DS_SHOT_LANG"
  "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  WINE=$WINE bash tests/wine/spooler/prepare.sh
  WINE=$WINE bash tests/wine/inst2k/prepare.sh
  "$WINE" "$DS_WIN64_BUILD/wine-tests/flow_wine_tests.exe" --gtest_color=no "$@" 2>&1 | tr -d '\r' |
    grep -E '^\[  (PASSED|FAILED)' || status=1
done
ls "$OUT"/install-*.png "$OUT"/failure-*.png
exit $status
