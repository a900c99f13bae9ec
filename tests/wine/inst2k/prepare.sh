#!/usr/bin/env bash
# Installs the newdev.dll stand-in (test equipment) into the Wine prefix:
# Wine's UpdateDriverForPlugAndPlayDevices succeeds for any hardware ID, so
# the library's failure paths (no present device: 0xE000020B) need ours.
set -euo pipefail
: "${WINE:?}" "${WINEPREFIX:?}"
source "$(dirname "$0")/../standins.sh"
install_standin newdev.dll
"$WINE" reg add 'HKCU\Software\Wine\DllOverrides' /v newdev /d native,builtin /f >/dev/null 2>&1
