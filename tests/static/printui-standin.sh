#!/usr/bin/env bash
# The print UI stand-in is test equipment: it is built beside the Wine tests,
# exports the entry points rundll32 looks for, and never lands in dist/.
set -u
cd "${DS_ROOT:-.}"
fails=0
ok() { echo "ok - $*"; }
no() { echo "not ok - $*"; fails=$((fails + 1)); }

for arch in win32 win64; do
  found=$(find "dist/$arch" -iname 'printui*' 2>/dev/null | head -1)
  if [ -z "$found" ]; then ok "dist/$arch holds no print UI stand-in"; else no "dist/$arch holds $found"; fi
done

# Both builds' stand-ins, the 32-bit one under plain (undecorated) names.
for dll in "${DS_WIN64_BUILD:-build/win64}/wine-tests/printui.dll" "${DS_WIN32_BUILD:-build/win32}/wine-tests/printui.dll"; do
  if [ ! -f "$dll" ]; then
    no "$dll is built"
    continue
  fi
  exports=$(x86_64-w64-mingw32-objdump -p "$dll" 2>/dev/null || i686-w64-mingw32-objdump -p "$dll" 2>/dev/null)
  for entry in PrintUIEntryW PrintUIEntry; do
    if grep -qE "\] $entry\$" <<<"$exports"; then ok "$dll exports $entry"; else no "$dll exports $entry"; fi
  done
done
exit $((fails > 0))
