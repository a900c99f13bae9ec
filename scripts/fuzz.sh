#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, ASan and UBSan) in build/fuzz and runs
# one of them from its seed corpus. Usage: scripts/fuzz.sh NAME SECONDS [libFuzzer options...]
# NAME is a file of fuzz/targets without ".cpp"; "scripts/fuzz.sh --build" only builds.
# New inputs go to build/fuzz/corpus/NAME (the seeds in fuzz/corpus/NAME stay
# as they are); a finding is written to build/fuzz/findings/ and the script
# exits non-zero.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
OUT=$ROOT/build/fuzz

if ! command -v clang++ >/dev/null || ! ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1; then
  scripts/install-deps.sh
fi
if [ ! -f "$OUT/build.ninja" ]; then
  cmake -S fuzz -B "$OUT" -G Ninja -DCMAKE_CXX_COMPILER=clang++ >/dev/null
fi
cmake --build "$OUT" -j2 >/dev/null || cmake --build "$OUT" -j1
[ "${1:-}" = "--build" ] && exit 0

name=${1:?usage: scripts/fuzz.sh NAME SECONDS}
seconds=${2:?usage: scripts/fuzz.sh NAME SECONDS}
shift 2
bin=$OUT/fuzz_$name
[ -x "$bin" ] || { echo "no fuzz target $name (see fuzz/targets/)" >&2; exit 2; }
mkdir -p "$OUT/corpus/$name" "$OUT/findings"
exec "$bin" -max_total_time="$seconds" -print_final_stats=1 -rss_limit_mb=2048 -timeout=20 \
  -artifact_prefix="$OUT/findings/$name-" "$@" "$OUT/corpus/$name" "fuzz/corpus/$name"
