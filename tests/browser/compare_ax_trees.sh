#!/usr/bin/env bash
# On every example page (and those of tests/browser/data/ax-site) and command, the Chrome/Edge/Firefox kind walking the page's
# tree as Chromium served it (tests/browser/data/ax) must do what the engine does on the
# page's HTML: the same log and the same destination, except where
# tests/browser/data/ax/differences.txt says why not. The line that says the markup is
# made up is left out.
# Usage: compare_ax_trees.sh PAGINOR_CLI SOURCE_DIR
set -uo pipefail
cli=$1
cd "$2" || exit 2
made_up='页面未提供源代码'
# The tree follows a link of the page to an address the engine navigates to, and a
# link's text is its accessible name: the destination is what must agree.
destination() { sed -E 's/^(clicked|navigated): ([^ ]*).*/to: \2/'; }
allowed() { awk -v c="$1" -v a="$2" '$1 == c && $2 == a { print $3 }' tests/browser/data/ax/differences.txt; }
compared=0 failed=0
for map in examples/*/site.map tests/browser/data/ax-site/site.map; do
  site=$(dirname "$map")
  trees=tests/browser/data/ax/$(basename "$site")
  extra=()
  [ -f "$site/xy.txt" ] && extra+=(--xy "$site/xy.txt")
  [ "$(basename "$site")" = smart ] && extra+=(--smart)
  while read -r address file; do
    case $address in ''|'#'*) continue ;; esac
    for command in prev next first last; do
      args=(turn "$command" "$address" --site "$site" --rules examples/last.pgt "${extra[@]}")
      html=$("$cli" "${args[@]}" 2>&1 | destination)
      tree=$("$cli" "${args[@]}" --tree "$trees" 2>&1 | grep -v "$made_up" | destination)
      compared=$((compared + 1))
      [ "$html" = "$tree" ] && continue
      allow=$(allowed "$command" "$address")
      if [ "$allow" = link ] || { [ "$allow" = log ] &&
           [ "$(grep '^to: ' <<<"$html")" = "$(grep '^to: ' <<<"$tree")" ]; }; then
        continue
      fi
      failed=$((failed + 1))
      echo "DIFFERS: $command on $address ($file)"
      diff <(echo "$html") <(echo "$tree") | sed 's/^/    /'
    done
  done < "$map"
done
echo "$compared commands compared, $failed differ without a reason in differences.txt"
[ "$failed" = 0 ] && [ "$compared" -gt 200 ]
