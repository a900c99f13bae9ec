#!/usr/bin/env bash
# Loads generated package descriptions of 100, 1,000 and 10,000 models (shaped
# like examples/demo-package/Setup.ini) three ways and prints one table: our
# profile reader natively, our reader inside a 64-bit Windows program under
# Wine, and Wine's GetPrivateProfileStringW key by key. Each load reads the
# section list and then, per model, the keys the package description reads.
# Usage: scripts/bench-profile.sh [MODELS...]
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
source scripts/wine-env.sh
sizes=("$@")
[ ${#sizes[@]} -eq 0 ] && sizes=(100 1000 10000)

scripts/install-deps.sh
for preset in native win64; do
  [ -f "build/$preset/build.ninja" ] || cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" --target profile_bench >/dev/null
done
NATIVE=$ROOT/build/native/tests/profile_bench
WINBENCH=$ROOT/build/win64/bench/profile_bench.exe
OUT=$ROOT/build/bench
mkdir -p "$OUT"

export WINEPREFIX=$OUT/wine-prefix
if [ ! -f "$WINEPREFIX/system.reg" ]; then wine_prefix "$WINEPREFIX"; fi

# field NAME LINE: the value of NAME=... in a result line.
field() { sed -n "s/.*$1=\([^ ]*\).*/\1/p" <<<"$2"; }
# best3 CMD...: the fastest of three loads (the line of the fastest).
best3() {
  local best="" line s
  for _ in 1 2 3; do
    line=$("$@" | tr -d '\r')
    s=$(field seconds "$line")
    if [ -z "$best" ] || awk "BEGIN{exit !($s < $(field seconds "$best"))}"; then best=$line; fi
  done
  echo "$best"
}

printf '%8s | %12s %9s | %12s %9s | %14s %9s | %7s\n' models "ours native" "us/model" "ours Wine" "us/model" \
  "platform Wine" "us/model" ratio
for n in "${sizes[@]}"; do
  file=$OUT/setup-$n.ini
  "$NATIVE" gen "$n" "$file"
  win=$(winpath "$file")
  a=$(best3 "$NATIVE" ours "$file")
  b=$(best3 "$WINE" "$WINBENCH" ours "$win")
  c=$("$WINE" "$WINBENCH" platform "$win" | tr -d '\r')
  for l in "$a" "$b" "$c"; do
    [ "$(field chars "$l")" = "$(field chars "$a")" ] || { echo "the readers disagree at $n models: $a / $c" >&2; exit 1; }
  done
  awk -v n="$n" -v a="$(field seconds "$a")" -v b="$(field seconds "$b")" -v c="$(field seconds "$c")" 'BEGIN {
    printf "%8d | %10.1f ms %9.2f | %10.1f ms %9.2f | %12.1f ms %9.2f | %6.0fx\n",
      n, a * 1000, a * 1e6 / n, b * 1000, b * 1e6 / n, c * 1000, c * 1e6 / n, c / b }'
done
echo "ratio: the platform's load under Wine / our reader's load under Wine"
/usr/lib/wine/wineserver64 -k 2>/dev/null || true
