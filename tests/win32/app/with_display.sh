#!/usr/bin/env bash
# Runs a command on a private virtual display large enough for the window at 150 %.
# The Wine prefix's server is stopped before and after, so that every Wine process of the
# run draws on this display and none outlives it.
set -uo pipefail
stop_wine() {
  [ -n "${PAGINOR_WINEPREFIX:-}" ] || return 0
  WINEPREFIX=$PAGINOR_WINEPREFIX-win64 timeout 30 /usr/lib/wine/wineserver -k 2>/dev/null || true
  WINEPREFIX=$PAGINOR_WINEPREFIX-win64 timeout 30 /usr/lib/wine/wineserver -w 2>/dev/null || true
}
stop_wine
xvfb-run -a -s "-screen 0 1600x1200x24" "$@"
status=$?
stop_wine
exit $status
