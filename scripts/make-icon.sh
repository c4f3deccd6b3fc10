#!/usr/bin/env bash
# Draws app/win32/paginor.ico, the icon of every executable, from the same picture as the
# tray icon (app/icon_art.cpp) at 16 to 256 pixels. Run it after changing the picture and
# commit the file it writes; the Linux tests check that the two still agree.
set -euo pipefail
cd "$(dirname "$0")/.."
export CCACHE_BASEDIR=$PWD
cmake --preset linux >/dev/null
cmake --build --preset linux --target paginor-icon
build/linux/app/paginor-icon app/win32/paginor.ico
echo "wrote app/win32/paginor.ico"
