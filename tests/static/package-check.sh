#!/usr/bin/env bash
# The package check's two front ends agree: build/native/driversetup-check and
# "DriverSetup.exe /check" under Wine give the same report and exit code on
# the demo package and on copies of it with one fault each.
set -u
cd "${DS_ROOT:-.}"
. scripts/wine-env.sh
fails=0
ok() { echo "ok - $*"; }
no() { echo "not ok - $*"; fails=$((fails + 1)); }

native=${DS_NATIVE_BUILD:-build/native}/driversetup-check
exe=dist/win64/DriverSetup.exe
for f in "$native" "$exe"; do [ -x "$f" ] || [ -f "$f" ] || { no "$f is built"; exit 1; }; done

work=$(mktemp -d /tmp/pkgcheck-XXXXXX)
trap 'rm -rf "$work"' EXIT
export WINEPREFIX=${DS_WINE_PREFIX:-$work/prefix}
[ -d "$WINEPREFIX" ] || wine_prefix "$WINEPREFIX"

# package NAME PYTHON: a copy of the demo package, changed by PYTHON (in the copy's folder).
package() {
  cp -r examples/demo-package "$work/$1"
  (cd "$work/$1" && python3 -c "
def edit(path, old, new, enc='ascii'):
    t = open(path, 'rb').read().decode(enc)
    assert old in t, old
    open(path, 'wb').write(t.replace(old, new, 1).encode(enc))
$2")
}
package demo ""
package driver-ver "edit('Drivers/TS2100/TS2100.inf', '06/01/2026', '13/01/2026')"
package hardware-id "edit('Setup.ini', 'TessaronTS-3200C3D4', 'TessaronTS-3200', 'utf-16')"
package missing-file "import os; os.remove('Drivers/TS5400/TS5400.GPD')"
package no-provider "edit('Drivers/TS3200/TS3200.inf', 'ProviderName=\"Tessaron\"', '')"

for name in demo driver-ver hardware-id missing-file no-provider; do
  json_too=
  case $name in demo | hardware-id) json_too=--json ;; esac
  for json in "" $json_too; do
    "$native" $json "$work/$name" >"$work/native.out" 2>&1
    n=$?
    "$WINE" "$exe" /check $json "$(winpath "$work/$name")" >"$work/wine.out" 2>/dev/null
    w=$?
    if [ $n -eq $w ] && cmp -s "$work/native.out" "$work/wine.out"; then
      ok "$name${json:+ $json}: both report the same (exit $n, $(grep -c . "$work/native.out") lines)"
    else
      no "$name${json:+ $json}: native exit $n, /check exit $w"
      diff "$work/native.out" "$work/wine.out" | head -5
    fi
  done
done
exit $((fails > 0))
