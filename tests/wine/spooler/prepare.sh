#!/usr/bin/env bash
# Installs the print UI stand-in (test equipment) into the Wine prefix: Wine's
# own printui.dll does nothing, so rundll32 is made to load ours instead.
set -euo pipefail
: "${WINE:?}" "${WINEPREFIX:?}" "${DS_WIN64_BUILD:?}"
src="$DS_WIN64_BUILD/wine-tests/printui.dll"
[ -f "$src" ] || { echo "prepare spooler: $src not built" >&2; exit 1; }
cp -f "$src" "$WINEPREFIX/drive_c/windows/system32/printui.dll"
"$WINE" reg add 'HKCU\Software\Wine\DllOverrides' /v printui /d native /f >/dev/null 2>&1
