#!/usr/bin/env bash
# Runs the Windows test programs under Wine in three configurations, each in
# a fresh prefix of its own, on one virtual display:
#   win64  the x86-64 installer and every x86-64 test program, 64-bit prefix
#   wow64  the shipped 32-bit installer and the i686 test programs in a
#          64-bit prefix: detection and Plug and Play go through the host
#   win32  the same programs in a 32-bit prefix: the 32-bit library works in
#          the installer's process, and its own tests run there too
# Prints GoogleTest's output of each program and, per configuration, one line
# "wine NAME: N passed, N failed", or "wine NAME: not run (REASON)" when this
# machine runs no 32-bit programs. DS_WINE_CONFIGS picks configurations.
set -uo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
source scripts/wine-env.sh
source scripts/runs32.sh

export DS_WIN64_BUILD=${DS_WIN64_BUILD:-$ROOT/build/win64} DS_WIN32_BUILD=${DS_WIN32_BUILD:-$ROOT/build/win32}
[ -d "$DS_WIN64_BUILD/wine-tests" ] || { echo "no Wine test programs in $DS_WIN64_BUILD; build the win64 preset first" >&2; exit 1; }
PREFIX_BASE=${DS_WINE_PREFIX:-$ROOT/build/wine-prefix}

# What each configuration runs: PROGRAM[=GTEST-FILTER] ("*": every program).
# The 32-bit ones leave out the host's planting run (the same 64-bit host as
# in win64) and the checks of every build's resources (win64 reads them all;
# the i686 inst2k program has no host tests); a test named *Wow64* runs in
# the WoW64 prefix only.
declare -A RUNS=(
  [win64]="*"
  [wow64]="installer flow planting=-PlantingTest.HostAndLibrary*"
  [win32]="installer flow planting=-PlantingTest.HostAndLibrary* inst2k=Inst2kDevice.*:Inst2kExports.*Bit*"
)

# The display first: Wine's desktop process, started with the prefix, keeps
# the display it found.
DS_FORCE_XVFB=1 start_xvfb || exit 1
trap 'stop_xvfb; /usr/lib/wine/wineserver64 -k 2>/dev/null' EXIT
export LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8
export DS_ROOT="$ROOT" DS_ROOT_WIN DS_DIST_WIN64 DS_DIST_WIN32 DS_WINE_TESTS_WIN DS_DIST_INSTALLER
DS_ROOT_WIN=$(winpath "$ROOT")
DS_DIST_WIN64=$(winpath "$ROOT/dist/win64")
DS_DIST_WIN32=$(winpath "$ROOT/dist/win32" 2>/dev/null || echo "")

# run_program EXE FILTER: one test program; a program that died before
# GoogleTest's summary still counts as failed.
run_program() {
  local exe=$1 filter=$2 log rc
  echo "== wine $DS_WINE_CONFIG $(basename "$exe")${filter:+ --gtest_filter=$filter}"
  log=$(mktemp)
  timeout 900 "$RUN_WINE" "$exe" --gtest_color=no ${filter:+"--gtest_filter=$filter"} >"$log" 2>&1
  rc=$?
  tr -d '\r' <"$log" | grep -v -E '^[0-9a-f]{4}:(fixme|err|warn)'
  if [ "$rc" -ne 0 ]; then
    echo "== $(basename "$exe") exited with $rc"
    grep -q 'FAILED TEST' "$log" || echo "[  FAILED  ] 1 test: $(basename "$exe") ended without a summary"
  fi
  rm -f "$log"
}

# run_config NAME: a fresh prefix, the stand-ins, the configuration's programs.
run_config() {
  local config=$1 build entry program filter wow64only='*Wow64*' entries
  wine_config "$config" || return 1
  if [ "$config" = win64 ]; then
    build=$DS_WIN64_BUILD DS_DIST_INSTALLER=$DS_DIST_WIN64
  else
    build=$DS_WIN32_BUILD DS_DIST_INSTALLER=$DS_DIST_WIN32
    [ -x "$WINE32" ] || { echo "[  FAILED  ] 1 test: no 32-bit Wine loader ($WINE32)"; return; }
  fi
  [ -d "$build/wine-tests" ] || { echo "[  FAILED  ] 1 test: no test programs in $build/wine-tests"; return; }
  DS_WINE_TESTS_WIN=$(winpath "$build/wine-tests")
  if [ "$config" = win64 ]; then wine_prefix "$PREFIX_BASE"; else wine_prefix "$PREFIX_BASE-$config"; fi
  # Wine draws the window frames itself, so screenshots show the titles.
  "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  for prep in tests/wine/*/prepare.sh; do
    echo "== prepare ${prep%/prepare.sh} ($config)"
    WINE=$WINE bash "$prep" || echo "[  FAILED  ] 1 test: prepare failed: $prep"
  done
  "$WINE" wineboot -u >/dev/null 2>&1 || true

  read -ra entries <<<"${RUNS[$config]}"  # no file name expansion of "*"
  for entry in "${entries[@]}"; do
    program=${entry%%=*} filter=
    [ "$entry" != "$program" ] && filter=${entry#*=}
    if [ "$config" != wow64 ]; then
      case "$filter" in
        "") filter="-$wow64only" ;;
        *-*) filter="$filter:$wow64only" ;;
        *) filter="$filter-$wow64only" ;;
      esac
    fi
    if [ "$program" = "*" ]; then
      for exe in "$build"/wine-tests/*_wine_tests.exe; do run_program "$exe" "$filter"; done
    else
      run_program "$build/wine-tests/${program}_wine_tests.exe" "$filter"
    fi
  done
  /usr/lib/wine/wineserver64 -k 2>/dev/null
  /usr/lib/wine/wineserver64 -w 2>/dev/null
}

status=0
for config in ${DS_WINE_CONFIGS:-win64 wow64 win32}; do
  if [ "$config" != win64 ] && [ -z "${DS_WINE_ASSUME_32:-}" ] && ! runs32; then
    echo "wine $config: not run ($RUNS32_REASON)"
    continue
  fi
  out=$(mktemp)
  run_config "$config" 2>&1 | tee "$out"
  p=$(grep -E '^\[  PASSED  \] [0-9]+ test' "$out" | awk '{s+=$4} END {print s+0}')
  f=$(grep -E '^\[  FAILED  \] [0-9]+ test' "$out" | awk '{s+=$4} END {print s+0}')
  rm -f "$out"
  if [ "$p" -eq 0 ] && [ "$f" -eq 0 ]; then
    echo "[  FAILED  ] 1 test: no test ran in $config"
    f=1
  fi
  [ "$f" -eq 0 ] || status=1
  echo "wine $config: $p passed, $f failed"
done
exit $status
