#!/usr/bin/env bash
# Takes the screenshots of the welcome splash and the searching dialog,
# docs/screenshots/splash.png and docs/screenshots/searching.png, by running the
# welcome Wine tests that show them on a virtual display.
#
# Usage: scripts/screenshots-welcome.sh [x86_64 build folder]
#        (default build/screenshots-win64; an existing build is reused)
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${1:-$ROOT/build/screenshots-win64}

"$ROOT/scripts/install-deps.sh"
"$ROOT/scripts/build-libjpeg.sh" x86_64
if [ ! -f "$BUILD/build.ninja" ]; then
  cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-mingw-x86_64.cmake" -DDS_DIST_DIR="$BUILD/dist" >/dev/null
fi
cmake --build "$BUILD" --target welcome_wine_tests

# shellcheck source=scripts/wine-env.sh
source "$ROOT/scripts/wine-env.sh"
PREFIX=$(mktemp -d /tmp/ds-welcome-shots.XXXXXX)
cleanup() {
  WINEPREFIX="$PREFIX" /usr/lib/wine/wineserver64 -k 2>/dev/null || true
  stop_xvfb
  rm -rf "$PREFIX"
}
trap cleanup EXIT
DS_FORCE_XVFB=1 start_xvfb
export LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8
wine_prefix "$PREFIX"
# Wine draws the window frames itself (there is no window manager), so the
# dialog's caption shows.
"$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
WINE="$WINE" WINEPREFIX="$PREFIX" DS_ROOT="$ROOT" DS_WIN64_BUILD="$BUILD" "$ROOT/tests/wine/welcome/prepare.sh"

DS_ROOT_WIN=$(winpath "$ROOT") DS_SCREENSHOT_DIR_WIN=$(winpath "$ROOT/docs/screenshots") "$WINE" "$BUILD/wine-tests/welcome_wine_tests.exe" \
  --gtest_filter='*MakersSplash*:*EscapeClosesIt*'
ls -l "$ROOT/docs/screenshots/splash.png" "$ROOT/docs/screenshots/searching.png"
