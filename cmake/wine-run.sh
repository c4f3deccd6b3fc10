#!/usr/bin/env bash
# Runs a Windows program under Wine for CTest: picks wine32 or wine64 by the program's
# PE header, keeps a project-owned prefix per architecture, sets the Chinese ANSI code
# page (936) and bounds the run so a hung program cannot stall the suite.
# PAGINOR_WINE_ARCH=win64 runs a 32-bit program in the 64-bit prefix, as on a 64-bit
# Windows (WoW64): both loaders then share the 64-bit wineserver.
set -euo pipefail
exe=$1; shift

pe_machine() {  # prints 14c (i386) or 8664 (amd64)
  local off
  off=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
  od -An -tx2 -j$((off + 4)) -N2 "$1" | tr -d ' '
}

case "$(pe_machine "$exe")" in
  14c|014c) arch=win32; loader=/usr/lib/wine/wine;   server=/usr/lib/wine/wineserver32 ;;
  8664)     arch=win64; loader=/usr/lib/wine/wine64; server=/usr/lib/wine/wineserver64 ;;
  *) echo "wine-run: $exe is not a Windows program" >&2; exit 2 ;;
esac
[ -x "$server" ] || server=/usr/lib/wine/wineserver
if [ "${PAGINOR_WINE_ARCH:-$arch}" = win64 ] && [ "$arch" = win32 ]; then
  arch=win64 server=/usr/lib/wine/wineserver64
fi

export WINEARCH=$arch WINEDEBUG=${WINEDEBUG:--all} WINELOADER=$loader WINESERVER=$server
export WINEPREFIX=${PAGINOR_WINEPREFIX:-${TMPDIR:-/tmp}/paginor-wine-$(id -u)}-$arch
locale=(env LC_ALL=zh_CN.UTF-8 LANG=zh_CN.UTF-8)

mkdir -p "$(dirname "$WINEPREFIX")"
(
  flock 9
  if [ ! -f "$WINEPREFIX/.ready" ]; then
    rm -rf "$WINEPREFIX"
    # Only the 64-bit loader can make a 64-bit prefix.
    boot=$loader
    [ "$arch" = win64 ] && boot=/usr/lib/wine/wine64
    "${locale[@]}" timeout 300 "$boot" wineboot -i >/dev/null 2>&1 || true
    timeout 120 "$server" -w || true
    touch "$WINEPREFIX/.ready"
  fi
) 9>"$WINEPREFIX.lock"

exec "${locale[@]}" timeout --kill-after=10 "${PAGINOR_WINE_TIMEOUT:-600}" "$loader" "$exe" "$@"
