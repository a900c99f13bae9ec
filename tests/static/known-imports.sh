#!/usr/bin/env bash
# What ships imports only the system's known libraries, which the loader
# takes from the system folder whatever lies beside the program; every other
# library (newdev, cfgmgr32, uxtheme, winspool.drv ...) is loaded from the
# system folder at run time, common controls too (a static import would be
# loaded with its own dependencies before the program can restrict the
# search).
set -u
cd "${DS_ROOT:-.}"
fails=0
ok() { echo "ok - $*"; }
no() { echo "not ok - $*"; fails=$((fails + 1)); }

known="kernel32.dll user32.dll gdi32.dll advapi32.dll shell32.dll shlwapi.dll ole32.dll oleaut32.dll comdlg32.dll
setupapi.dll msvcrt.dll ws2_32.dll imm32.dll rpcrt4.dll sechost.dll combase.dll"

# imports FILE: the libraries FILE imports, lower case, one a line.
imports() { x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^\tDLL Name: //p' | tr 'A-Z' 'a-z'; }

for file in dist/win64/DriverSetup.exe dist/win32/DriverSetup.exe dist/win64/PrnSetup64.exe dist/win64/inst2k64.dll \
  dist/win32/inst2k.dll; do
  if [ ! -f "$file" ]; then
    no "$file exists"
    continue
  fi
  allowed=" $(echo $known) "
  bad=""
  for dll in $(imports "$file"); do
    [[ $allowed == *" $dll "* ]] || bad="$bad $dll"
  done
  if [ -z "$bad" ]; then ok "$file imports only known libraries"; else no "$file imports$bad"; fi
done
[ $fails -eq 0 ]
