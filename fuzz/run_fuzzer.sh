#!/usr/bin/env bash
# Runs one fuzz target for a bounded time from a copy of its seed corpus. Any crash,
# leak or sanitizer report fails the run, and so does an input that runs for 10 s:
# the targets check their own processor time far below that.
set -euo pipefail
target=$1 seeds=$2 seconds=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/corpus"
[ -d "$seeds" ] && cp -r "$seeds"/. "$work/corpus/" 2>/dev/null || true
"$target" -max_total_time="$seconds" -timeout=10 -report_slow_units=0 \
  -rss_limit_mb=2048 -max_len=4096 -print_final_stats=1 \
  -artifact_prefix="$work/" "$work/corpus" >"$work/log" 2>&1 || { tail -60 "$work/log"; exit 1; }
grep -E 'stat::number_of_executed_units|Done' "$work/log" | tail -2
