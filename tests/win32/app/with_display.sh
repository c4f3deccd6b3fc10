#!/usr/bin/env bash
# Runs a command on a private virtual display large enough for the window at 150 %.
# The Wine prefixes' servers are stopped before and after, so that every Wine process of
# the run draws on this display and none outlives it.
set -uo pipefail
stop_wine() {
  [ -n "${PAGINOR_WINEPREFIX:-}" ] || return 0
  local arch server
  for arch in win32 win64; do
    server=/usr/lib/wine/wineserver64
    [ $arch = win32 ] && [ -x /usr/lib/wine/wineserver32 ] && server=/usr/lib/wine/wineserver32
    [ -d "$PAGINOR_WINEPREFIX-$arch" ] || continue
    WINEPREFIX=$PAGINOR_WINEPREFIX-$arch timeout 30 $server -k 2>/dev/null || true
    WINEPREFIX=$PAGINOR_WINEPREFIX-$arch timeout 30 $server -w 2>/dev/null || true
  done
}
stop_wine
xvfb-run -a -s "-screen 0 1600x1200x24" "$@"
status=$?
stop_wine
exit $status
