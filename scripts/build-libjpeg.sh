#!/usr/bin/env bash
# Builds libjpeg (Debian's libjpeg-turbo source package) as a static library
# for the Windows targets: build/libjpeg-i686 and build/libjpeg-x86_64, each
# with include/ and lib/libjpeg.a. Nothing is done for an architecture whose
# library is already there.
#
# The source package is fetched with a private apt configuration below
# build/libjpeg-src/apt (its own source list, package lists and cache), so the
# system's package lists are never touched.
#
# Usage: scripts/build-libjpeg.sh [i686] [x86_64]   (default: both)
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD="$ROOT/build"
ARCHS=("$@")
[ ${#ARCHS[@]} -eq 0 ] && ARCHS=(i686 x86_64)

# The decoder goes into the installer, whose size counts: optimised for size,
# every function and datum in a section of its own so that the installer's
# link drops what the decoder never reaches. A library built with other
# settings (recorded beside it) is built again. Its messages are formatted
# and its memory setting read with the system C runtime's printf and scanf
# (imported), not MinGW's own (linked into the program).
BUILD_TYPE=MinSizeRel
C_FLAGS="-ffunction-sections -fdata-sections -D__USE_MINGW_ANSI_STDIO=0"
SETTINGS="$BUILD_TYPE $C_FLAGS"

todo=()
for arch in "${ARCHS[@]}"; do
  case "$arch" in
    i686 | x86_64) ;;
    *) echo "build-libjpeg: unknown architecture '$arch' (i686 or x86_64)" >&2; exit 2 ;;
  esac
  lib="$BUILD/libjpeg-$arch/lib"
  [ -f "$lib/libjpeg.a" ] && [ -f "$BUILD/libjpeg-$arch/include/jpeglib.h" ] &&
    [ "$(cat "$lib/settings" 2>/dev/null)" = "$SETTINGS" ] || todo+=("$arch")
done
[ ${#todo[@]} -eq 0 ] && exit 0

for tool in apt-get dpkg-source cmake; do
  command -v "$tool" >/dev/null || { echo "build-libjpeg: '$tool' is missing (run scripts/install-deps.sh)" >&2; exit 1; }
done

WORK="$BUILD/libjpeg-src"
APT="$WORK/apt"

# --- fetch the source package (once) -----------------------------------------
src_dir() { find "$WORK" -maxdepth 1 -type d -name 'libjpeg-turbo-*' | sort | tail -n 1; }

if [ -z "$(src_dir)" ]; then
  mkdir -p "$APT/sources.list.d" "$APT/lists/partial" "$APT/cache/archives/partial" "$APT/preferences.d"
  : >"$APT/sources.list"
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    sed -E 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources >"$APT/sources.list.d/debian.sources"
  elif [ -f /etc/apt/sources.list ]; then
    # Older systems keep the Debian entry in the one-line format.
    sed -nE 's/^deb[[:space:]]+/deb-src /p' /etc/apt/sources.list >"$APT/sources.list.d/debian.list"
  else
    echo "build-libjpeg: no Debian apt source found in /etc/apt" >&2
    exit 1
  fi
  APT_OPTS=(
    -o "Dir::Etc::SourceList=$APT/sources.list"
    -o "Dir::Etc::SourceParts=$APT/sources.list.d"
    -o "Dir::Etc::PreferencesParts=$APT/preferences.d"
    -o "Dir::State::Lists=$APT/lists"
    -o "Dir::Cache=$APT/cache"
    -o "APT::Sandbox::User=root"
  )
  echo "build-libjpeg: fetching Debian's libjpeg-turbo source package"
  apt-get "${APT_OPTS[@]}" -qq update
  (cd "$WORK" && apt-get "${APT_OPTS[@]}" -qq source --download-only libjpeg-turbo)
  dsc=$(find "$WORK" -maxdepth 1 -name 'libjpeg-turbo_*.dsc' | sort | tail -n 1)
  [ -n "$dsc" ] || { echo "build-libjpeg: the source package was not downloaded" >&2; exit 1; }
  (cd "$WORK" && dpkg-source --no-copy -x "$(basename "$dsc")" >/dev/null)
fi
SRC=$(src_dir)
[ -n "$SRC" ] || { echo "build-libjpeg: unpacking the source package failed" >&2; exit 1; }

# --- cross-compile the static library, once per architecture -----------------
for arch in "${todo[@]}"; do
  out="$BUILD/libjpeg-$arch"
  obj="$WORK/build-$arch"
  echo "build-libjpeg: building $(basename "$SRC") for $arch"
  rm -rf "$obj" "$out"
  cmake -S "$SRC" -B "$obj" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-mingw-$arch.cmake" \
    -DCMAKE_BUILD_TYPE="$BUILD_TYPE" -DCMAKE_C_FLAGS="$C_FLAGS" -DCMAKE_INSTALL_PREFIX="$obj/unused-prefix" \
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
    -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF -DWITH_JAVA=OFF \
    -DREQUIRE_SIMD=OFF >"$obj.log" 2>&1 || { cat "$obj.log" >&2; exit 1; }
  cmake --build "$obj" --target jpeg-static >>"$obj.log" 2>&1 || { tail -n 40 "$obj.log" >&2; exit 1; }
  lib=$(find "$obj" -maxdepth 1 -name 'libjpeg*.a' | head -n 1)
  [ -n "$lib" ] || { echo "build-libjpeg: no static library was produced for $arch" >&2; exit 1; }
  mkdir -p "$out/include" "$out/lib.tmp"
  cp "$SRC/jpeglib.h" "$SRC/jmorecfg.h" "$SRC/jerror.h" "$obj/jconfig.h" "$out/include/"
  cp "$lib" "$out/lib.tmp/libjpeg.a"
  echo "$SETTINGS" >"$out/lib.tmp/settings"
  mv "$out/lib.tmp" "$out/lib"
  echo "build-libjpeg: $out"
done
