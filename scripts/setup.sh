#!/usr/bin/env bash
# Installs every Debian package the build and the tests need. Safe to run again.
set -euo pipefail

SUDO=""
[ "$(id -u)" = 0 ] || SUDO=sudo
export DEBIAN_FRONTEND=noninteractive

packages=(
  cmake make g++ ninja-build pkg-config ccache
  libgtest-dev libgmock-dev libbenchmark-dev libgumbo-dev
  clang libclang-rt-14-dev
  g++-mingw-w64-i686-posix mingw-w64-i686-dev
  g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
  wine wine32:i386 wine64 xvfb xauth
  fonts-arphic-uming python3
  locales
)

need_i386=0
dpkg --print-foreign-architectures | grep -qx i386 || need_i386=1

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ "$need_i386" = 1 ] || [ ${#missing[@]} -gt 0 ]; then
  [ "$need_i386" = 1 ] && $SUDO dpkg --add-architecture i386
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Wine takes the ANSI code page (936) and the encoding of file names from zh_CN; the
# number tests check that a decimal-comma locale (de_DE) does not change formulas.
for loc in zh_CN de_DE; do
  locale -a 2>/dev/null | grep -qiE "^$loc\.utf-?8$" || $SUDO localedef -i "$loc" -f UTF-8 "$loc.UTF-8"
done
