#!/usr/bin/env bash
# Installs the print UI stand-in (test equipment) into the Wine prefix: Wine's
# own printui.dll does nothing, so rundll32 is made to load ours instead.
set -euo pipefail
: "${WINE:?}" "${WINEPREFIX:?}"
source "$(dirname "$0")/../standins.sh"
install_standin printui.dll
"$WINE" reg add 'HKCU\Software\Wine\DllOverrides' /v printui /d native /f >/dev/null 2>&1
