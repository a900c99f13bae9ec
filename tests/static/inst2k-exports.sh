#!/usr/bin/env bash
# The device-install library's exports as the linker left them (both builds:
# the nine plain names, no stdcall "@N" decoration), the machine types, and
# no MinGW runtime DLL among the imports of the library and the host.
set -u
cd "${DS_ROOT:-.}"
fails=0
ok() { echo "ok - $*"; }
no() { echo "not ok - $*"; fails=$((fails + 1)); }

want=$(printf '%s\n' EnableRootID FuncFindExistDevice FuncInst2K Inst2k_IsInlineDeviceExist Inst2k_RegistryInf \
  LastInstallErrorCode RefreshHW SetDebugMode ShowErrorCode)

# exports OBJDUMP FILE: the export names, one a line, sorted.
exports() {
  "$1" -p "$2" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | sed -n 's/^[[:space:]]*\[ *[0-9]*\] //p' | sort
}

check_binary() {  # OBJDUMP FILE MACHINE
  local objdump=$1 file=$2 machine=$3
  if [ ! -f "$file" ]; then
    no "$file exists"
    return 1
  fi
  if "$objdump" -f "$file" | grep -q "file format $machine\$"; then ok "$file is $machine"; else no "$file is $machine"; fi
  local runtime
  runtime=$("$objdump" -p "$file" | sed -n 's/^[[:space:]]*DLL Name: //p' | grep -i -E 'libgcc|libstdc|libwinpthread|mingw' || true)
  if [ -z "$runtime" ]; then ok "$file needs no MinGW runtime DLL"; else no "$file imports $runtime"; fi
}

for pair in "i686-w64-mingw32-objdump dist/win32/inst2k.dll pei-i386" \
  "x86_64-w64-mingw32-objdump dist/win64/inst2k64.dll pei-x86-64"; do
  set -- $pair
  check_binary "$1" "$2" "$3" || continue
  got=$(exports "$1" "$2")
  if [ "$got" = "$want" ]; then
    ok "$2 exports exactly the nine functions"
  else
    no "$2 exports exactly the nine functions (got: $(echo $got))"
  fi
  if echo "$got" | grep -q '@'; then no "$2 export names carry no @N"; else ok "$2 export names carry no @N"; fi
done

if check_binary x86_64-w64-mingw32-objdump dist/win64/PrnSetup64.exe pei-x86-64; then
  if x86_64-w64-mingw32-objdump -p dist/win64/PrnSetup64.exe | grep -q '^Subsystem.*(Windows CUI)'; then
    ok "dist/win64/PrnSetup64.exe is a console program"
  else
    no "dist/win64/PrnSetup64.exe is a console program"
  fi
fi

[ "$fails" -eq 0 ]
