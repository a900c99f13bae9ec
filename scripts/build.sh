#!/usr/bin/env bash
# Builds every preset in order: the native tests (plain and sanitized), the
# x86-64 Windows build (64-bit components, the 64-bit installer and the Wine
# test programs) and the i686 build (whose installer embeds the 64-bit
# components). Usage: scripts/build.sh [native|win64|win32|all]...
set -euo pipefail
cd "$(dirname "$0")/.."

what=("$@")
[ ${#what[@]} -eq 0 ] && what=(all)

want() {
  local w
  for w in "${what[@]}"; do
    [ "$w" = all ] || [ "$w" = "$1" ] && return 0
  done
  return 1
}

build() {
  local preset=$1
  echo "== build $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
}

if want native; then
  build native
  build native-asan
fi
if want win64 || want win32; then
  scripts/build-libjpeg.sh
fi
want win64 && build win64
want win32 && build win32
exit 0
