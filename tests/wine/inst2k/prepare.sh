#!/usr/bin/env bash
# Installs the newdev.dll stand-in (test equipment) into the Wine prefix:
# Wine's UpdateDriverForPlugAndPlayDevices succeeds for any hardware ID, so
# the library's failure paths (no present device: 0xE000020B) need ours.
set -euo pipefail
: "${WINE:?}" "${WINEPREFIX:?}" "${DS_WIN64_BUILD:?}"
src="$DS_WIN64_BUILD/wine-tests/newdev.dll"
[ -f "$src" ] || { echo "prepare inst2k: $src not built" >&2; exit 1; }
cp -f "$src" "$WINEPREFIX/drive_c/windows/system32/newdev.dll"
"$WINE" reg add 'HKCU\Software\Wine\DllOverrides' /v newdev /d native,builtin /f >/dev/null 2>&1
