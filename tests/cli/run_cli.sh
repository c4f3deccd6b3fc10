#!/usr/bin/env bash
# Runs paginor-cli from the repository root and checks what it did.
# usage: run_cli.sh CLI ROOT STATUS STDOUT STDERR ARGS...
#   STATUS  the exit status expected
#   STDOUT  a file holding the exact standard output expected, or "-" to skip the check
#   STDERR  text that standard error must contain, or "-" for an empty standard error
set -u
cli=$1 root=$2 status=$3 expected_out=$4 expected_err=$5
shift 5
cd "$root" || exit 1

out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
"$cli" "$@" >"$out" 2>"$err"
actual=$?

failed=0
if [ "$actual" != "$status" ]; then
  echo "exit status $actual, expected $status"
  failed=1
fi
if [ "$expected_out" != "-" ] && ! diff -u "$expected_out" "$out"; then
  echo "standard output differs from $expected_out (above: - expected, + actual)"
  failed=1
fi
if [ "$expected_err" = "-" ]; then
  if [ -s "$err" ]; then
    echo "unexpected standard error:"; cat "$err"; failed=1
  fi
elif ! grep -qF -- "$expected_err" "$err"; then
  echo "standard error lacks \"$expected_err\":"; cat "$err"; failed=1
fi
exit $failed
