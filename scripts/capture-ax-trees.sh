#!/usr/bin/env bash
# Captures again the accessibility trees of the example pages from Debian's Chromium
# (tests/browser/data/ax/). The trees are committed: the build and the tests never need
# Chromium, only a change to the pages or to the capture does.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v chromium >/dev/null; then
  SUDO=""
  [ "$(id -u)" = 0 ] || SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends chromium >/dev/null
fi
exec /usr/bin/python3 scripts/capture_ax_trees.py "$(command -v chromium)"
