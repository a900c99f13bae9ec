#!/usr/bin/env bash
# The installer's start in steps: builds the 64-bit installer with timing marks
# (scripts/start-steps.py), runs it RUNS times with 3 models in the benchmark's
# package beside the minimal program (as scripts/bench.sh does), prints each
# step's median in ms, and builds the installer again without the marks.
# Needs a clean tree and a run of scripts/bench.sh before (its packages).
# Usage: scripts/bench-steps.sh [RUNS]   (default 9)
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
RUNS=${1:-9}
MARKED=(win32/installer/WinMain.cpp win32/installer/MainWindow.cpp installer/uMain.cpp)
[ -z "$(git status --porcelain -- "${MARKED[@]}" installer/StartMark.cpp)" ] || {
  echo "bench-steps: commit or stash the changes of ${MARKED[*]} first" >&2
  exit 1
}
OUT=$ROOT/build/bench
BIN=$ROOT/build/win64/bench
[ -d "$OUT/pkg-3" ] || { echo "bench-steps: run scripts/bench.sh first" >&2; exit 1; }
source scripts/wine-env.sh

restore() {
  git checkout -- "${MARKED[@]}"
  rm -f installer/StartMark.cpp
  cmake --build build/win64 --target DriverSetup >/dev/null
}
trap 'restore; /usr/lib/wine/wineserver64 -k 2>/dev/null || true; stop_xvfb' EXIT
python3 scripts/start-steps.py
cmake --preset win64 >/dev/null
cmake --build build/win64 --target DriverSetup >/dev/null

export WINEPREFIX=$OUT/wine-prefix
start_xvfb
cp dist/win64/DriverSetup.exe "$OUT/pkg-3/"
marks=$(mktemp)
DS_STARTMARK=$(winpath "$marks") "$WINE" "$BIN/start_bench.exe" "$RUNS" \
  3 "$(winpath "$OUT/minimal")" "$(winpath "$BIN/minimal_window.exe")" \
  3 "$(winpath "$OUT/pkg-3")" "$(winpath "$OUT/pkg-3/DriverSetup.exe")" | tr -d '\r'
python3 - "$marks" <<'PY'
import collections, statistics, sys
steps = collections.OrderedDict()
for run in open(sys.argv[1]).read().split('--\n'):
    seen = collections.Counter()
    for line in run.strip().splitlines():
        what, ms = line.rsplit(' ', 1)
        seen[what] += 1
        key = f'{what} ({seen[what]})' if what.startswith('  ') else what
        steps.setdefault(key, []).append(float(ms))
print('step medians of the installer with 3 models (ms):')
for what, ms in steps.items():
    print(f'  {what:40s} {statistics.median(ms):8.2f}')
print(f'  {"sum of the medians":40s} {sum(statistics.median(v) for v in steps.values()):8.2f}')
PY
rm -f "$marks"
# The packages get the installer without marks again.
restore
trap '/usr/lib/wine/wineserver64 -k 2>/dev/null || true; stop_xvfb' EXIT
cp dist/win64/DriverSetup.exe "$OUT/pkg-3/"
