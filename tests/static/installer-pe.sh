#!/usr/bin/env bash
# The shipped installers: machine type, subsystem and the embedded resources.
set -u
cd "${DS_ROOT:-.}"
fails=0
ok() { echo "ok - $*"; }
no() { echo "not ok - $*"; fails=$((fails + 1)); }
check() { if eval "$2"; then ok "$1"; else no "$1"; fi; }

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

for arch in win32 win64; do
  exe=dist/$arch/DriverSetup.exe
  if [ ! -f "$exe" ]; then
    no "$exe exists"
    continue
  fi
  python3 tests/static/pe_resources.py "$exe" >"$tmp/$arch.txt" 2>&1 || no "$exe parses as PE"
  want=i386
  [ $arch = win64 ] && want=x86-64
  check "$exe is a $want program" "grep -qx 'machine $want' $tmp/$arch.txt"
  for name in RC_STRINGS_INI_CN RC_STRINGS_INI_CHT RC_STRINGS_INI_EN INST2KDLL INST2K64DLL PRNSETUP64EXE; do
    check "$exe carries RCDATA $name" "grep -q '^10 $name ' $tmp/$arch.txt"
  done
  # Every logo, packed, unpacks to its bitmap file byte for byte.
  for logo in resources/logos/*.bmp; do
    id=$(basename "$logo" .bmp | tr a-z A-Z)
    python3 tests/static/pe_resources.py "$exe" --dump 10 "$id" "$tmp/logo.z" &&
      python3 scripts/pack-resource.py --unpack "$tmp/logo.z" "$tmp/logo.bmp" 2>/dev/null
    check "$exe: $id unpacks to $logo" "cmp -s $tmp/logo.bmp $logo"
  done
  check "$exe carries a manifest, a version resource and an icon" \
    "grep -q '^24 1 ' $tmp/$arch.txt && grep -q '^16 1 ' $tmp/$arch.txt && grep -q '^14 MAINICON ' $tmp/$arch.txt"
  # The embedded strings files, packed, are the built-in ones byte for byte.
  for lang in CN CHT EN; do
    python3 tests/static/pe_resources.py "$exe" --dump 10 "RC_STRINGS_INI_$lang" "$tmp/s.z" &&
      python3 scripts/pack-resource.py --unpack "$tmp/s.z" "$tmp/s.ini" 2>/dev/null
    check "$exe: RC_STRINGS_INI_$lang equals resources/Strings_$lang.ini" "cmp -s $tmp/s.ini resources/Strings_$lang.ini"
  done
  # The components have the right bitness: the library for the installer's
  # own process, the 64-bit library and host always x86-64.
  # They are stored packed and unpack to the built ones byte for byte.
  for res in INST2KDLL INST2K64DLL PRNSETUP64EXE; do
    python3 tests/static/pe_resources.py "$exe" --dump 10 "$res" "$tmp/$res.z"
    python3 scripts/pack-resource.py --unpack "$tmp/$res.z" "$tmp/$res.bin" 2>/dev/null || rm -f "$tmp/$res.bin"
    m=$(python3 tests/static/pe_resources.py "$tmp/$res.bin" 2>/dev/null | head -1)
    expect="machine x86-64"
    built=dist/win64/inst2k64.dll
    [ $res = INST2KDLL ] && [ $arch = win32 ] && expect="machine i386" && built=dist/win32/inst2k.dll
    [ $res = INST2KDLL ] && [ $arch = win64 ] && built=build/win64/inst2k/inst2k.dll
    [ $res = PRNSETUP64EXE ] && built=dist/win64/PrnSetup64.exe
    check "$exe: $res is a PE with $expect" "[ '$m' = '$expect' ]"
    check "$exe: $res unpacks to $built" "cmp -s $tmp/$res.bin $built"
  done
done
# The installer ships beside every driver package: it stays small.
size=$(stat -c %s dist/win32/DriverSetup.exe 2>/dev/null || echo 0)
check "dist/win32/DriverSetup.exe is at most 1,000,000 bytes (it has $size)" "[ $size -gt 0 ] && [ $size -le 1000000 ]"
# The manifest cannot include the version header: it must name the same version.
version=$(sed -n 's/^#define DS_VERSION_[A-Z]* \([0-9][0-9]*\)$/\1/p' installer/ProgramVersion.h | paste -sd.)
check "manifest's assembly version is the program's version $version (installer/ProgramVersion.h)" \
  "grep -q 'PrinterDriverSetup\" version=\"$version\"' win32/installer/DriverSetup.manifest"
check "manifest asks for administrator rights and common controls 6" \
  "grep -q requireAdministrator win32/installer/DriverSetup.manifest && grep -q Common-Controls win32/installer/DriverSetup.manifest"
[ $fails -eq 0 ]
