#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need. Quiet and quick
# when everything is already there.
set -euo pipefail

PKGS=(
  cmake ninja-build g++ pkg-config
  g++-mingw-w64-i686-win32 g++-mingw-w64-x86-64-win32 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  libgtest-dev googletest libjpeg-dev zlib1g-dev libz-mingw-w64-dev python3
  wine wine64 xvfb xauth x11-utils imagemagick fonts-wqy-microhei
  dpkg-dev file locales xdotool
  clang libclang-rt-dev
)

missing=()
for p in "${PKGS[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The 32-bit Wine (WoW64 and 32-bit prefixes) where this machine runs 32-bit
# programs; elsewhere the Wine tests report those configurations as not run.
source "$(dirname "$0")/runs32.sh"
if runs32 && ! dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q "install ok installed"; then
  echo "installing: wine32:i386"
  export DEBIAN_FRONTEND=noninteractive
  dpkg --print-foreign-architectures | grep -qx i386 || $SUDO dpkg --add-architecture i386
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends wine32:i386 >/dev/null
fi

# Wine takes the system language from the Unix locale: the Chinese ones must exist.
want=(en_US.UTF-8 zh_CN.UTF-8 zh_TW.UTF-8 zh_HK.UTF-8 zh_SG.UTF-8)
have=$(locale -a 2>/dev/null | tr 'A-Z' 'a-z')
need=0
for l in "${want[@]}"; do
  n=$(echo "$l" | tr 'A-Z' 'a-z' | sed 's/utf-8/utf8/')
  echo "$have" | grep -qx "$n" || need=1
done
if [ $need -eq 1 ]; then
  for l in "${want[@]}"; do
    grep -q "^$l UTF-8" /etc/locale.gen 2>/dev/null || echo "$l UTF-8" | $SUDO tee -a /etc/locale.gen >/dev/null
  done
  $SUDO locale-gen >/dev/null
fi
