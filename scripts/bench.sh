#!/usr/bin/env bash
# The installer's size and first seconds, in one run:
#  - the sizes of what ships (and of the components it embeds);
#  - under Wine, the time from start until the first window shows its model
#    list: the installer with 3 models against a minimal program that shows
#    one window with a three-item list view (built here, tests/bench), and the
#    installer with 100 models against 3 models. Medians of RUNS alternated
#    runs in one prefix.
#  - where this machine runs 32-bit programs, the shipped 32-bit installer in
#    a WoW64 prefix against the same minimal program.
# The profile reader has its own benchmark: scripts/bench-profile.sh.
# Usage: scripts/bench.sh [RUNS]   (default 9)
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
RUNS=${1:-9}
source scripts/wine-env.sh

scripts/install-deps.sh
scripts/build.sh win64 win32 >build/bench-build.log 2>&1 || { tail -30 build/bench-build.log; exit 1; }

echo "sizes (bytes):"
for f in dist/win32/DriverSetup.exe dist/win64/DriverSetup.exe dist/win32/inst2k.dll dist/win64/inst2k64.dll \
  dist/win64/PrnSetup64.exe; do
  printf '  %-30s %9s\n' "$f" "$(stat -c %s "$f")"
done

OUT=$ROOT/build/bench
BIN=$ROOT/build/win64/bench
mkdir -p "$OUT"
export WINEPREFIX=$OUT/wine-prefix
if [ ! -f "$WINEPREFIX/system.reg" ]; then wine_prefix "$WINEPREFIX"; fi
start_xvfb
trap '/usr/lib/wine/wineserver64 -k 2>/dev/null || true; stop_xvfb' EXIT

# A package folder of N models with the 64-bit installer in it.
for n in 3 100; do
  rm -rf "$OUT/pkg-$n"
  mkdir -p "$OUT/pkg-$n"
  cp dist/win64/DriverSetup.exe "$OUT/pkg-$n/"
  "$WINE" "$BIN/profile_bench.exe" gen "$n" "$(winpath "$OUT/pkg-$n")\\Setup.ini" >/dev/null
  # Each model's driver folder and INF, which loading checks.
  iconv -f UTF-16 -t UTF-8 "$OUT/pkg-$n/Setup.ini" | tr -d '\r' | sed -n 's/^DriverDir=\\//p' | tr '\\' / |
    while read -r dir; do
      mkdir -p "$OUT/pkg-$n/$dir"
      touch "$OUT/pkg-$n/$dir/$(basename "$dir").inf"
    done
done
mkdir -p "$OUT/minimal"

result=$("$WINE" "$BIN/start_bench.exe" "$RUNS" \
  3 "$(winpath "$OUT/minimal")" "$(winpath "$BIN/minimal_window.exe")" \
  3 "$(winpath "$OUT/pkg-3")" "$(winpath "$OUT/pkg-3/DriverSetup.exe")" \
  100 "$(winpath "$OUT/pkg-100")" "$(winpath "$OUT/pkg-100/DriverSetup.exe")" | tr -d '\r')
median() { sed -n "s/^program=$1 .*median_ms=\([0-9.]*\).*/\1/p" <<<"$result"; }
runs() { sed -n "s/^program=$1 .*runs_ms=\([0-9,]*\),$/\1/p" <<<"$result"; }
m=$(median 1) a=$(median 2) b=$(median 3)
echo "first window with its list shown, under Wine (median of $RUNS alternated runs, ms):"
printf '  %-34s %8.1f   (%s)\n' "minimal program, 3 items" "$m" "$(runs 1)"
printf '  %-34s %8.1f   (%s)\n' "installer, 3 models" "$a" "$(runs 2)"
printf '  %-34s %8.1f   (%s)\n' "installer, 100 models" "$b" "$(runs 3)"
awk -v m="$m" -v a="$a" -v b="$b" 'BEGIN {
  printf "ratio installer (3 models) / minimal program: %.2fx\n", a / m
  printf "ratio 100 models / 3 models:                  %.2fx\n", b / a }'

# The shipped 32-bit installer, where this machine runs 32-bit programs: the
# same 3 models in a 64-bit (WoW64) prefix, against the same minimal program.
source scripts/runs32.sh
if ! runs32 || [ ! -x "$WINE32" ]; then
  echo "32-bit installer: not timed (${RUNS32_REASON:-no 32-bit Wine at $WINE32})"
  exit 0
fi
/usr/lib/wine/wineserver64 -k 2>/dev/null || true
rm -rf "$OUT/pkg-3-x86"
cp -r "$OUT/pkg-3" "$OUT/pkg-3-x86"
cp dist/win32/DriverSetup.exe "$OUT/pkg-3-x86/"
export WINEPREFIX=$OUT/wine-prefix-wow64
if [ ! -f "$WINEPREFIX/system.reg" ]; then wine_prefix "$WINEPREFIX"; fi
result=$("$WINE" "$BIN/start_bench.exe" "$RUNS" \
  3 "$(winpath "$OUT/minimal")" "$(winpath "$BIN/minimal_window.exe")" \
  3 "$(winpath "$OUT/pkg-3-x86")" "$(winpath "$OUT/pkg-3-x86/DriverSetup.exe")" | tr -d '\r')
m=$(median 1) a=$(median 2)
echo "the shipped 32-bit installer in a WoW64 prefix (median of $RUNS alternated runs, ms):"
printf '  %-34s %8.1f   (%s)\n' "minimal program, 3 items" "$m" "$(runs 1)"
printf '  %-34s %8.1f   (%s)\n' "32-bit installer, 3 models" "$a" "$(runs 2)"
awk -v m="$m" -v a="$a" 'BEGIN { printf "ratio 32-bit installer / minimal program:     %.2fx\n", a / m }'
