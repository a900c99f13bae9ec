#!/usr/bin/env bash
# Prefix set-up for the welcome tests. The searching dialog's fixed texts are
# Chinese in Tahoma; Windows links Tahoma to a CJK font for such characters
# (FontLink\SystemLink). The prefix gets the same link to the CJK font
# installed here, so the screenshots show the texts in any locale.
set -euo pipefail
"$WINE" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
  /v Tahoma /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei' /f >/dev/null
