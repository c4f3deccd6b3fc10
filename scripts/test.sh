#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test: the Linux build, the same
# under AddressSanitizer and UndefinedBehaviorSanitizer, the fuzz targets for a bounded
# time, and the Windows build under Wine. Pass preset names to run only those.
set -uo pipefail
cd "$(dirname "$0")/.."

./scripts/setup.sh || { echo "setup failed"; exit 1; }

presets=("$@")
[ ${#presets[@]} -gt 0 ] || presets=(linux asan fuzz windows)

# Worktrees and clean clones share one compiler cache.
export CCACHE_BASEDIR=$PWD

# The Windows tests run in a Wine prefix of the build tree's own.
export PAGINOR_WINEPREFIX=${PAGINOR_WINEPREFIX:-$PWD/build/wineprefix}

passed=0
failed=0
windows_route=""
broken=()
log_dir=build/logs
mkdir -p "$log_dir"

build() {  # preset [cmake configure args...]
  local p=$1; shift
  cmake --preset "$p" "$@" >"$log_dir/$p-configure.log" 2>&1 || { cat "$log_dir/$p-configure.log"; return 1; }
  cmake --build --preset "$p" 2>&1 | tee "$log_dir/$p-build.log" | grep -E 'error|warning:' | head -50
  return "${PIPESTATUS[0]}"
}

run_tests() {  # preset [ctest args...]
  local p=$1; shift
  local out="$log_dir/$p-ctest.log"
  ctest --preset "$p" "$@" 2>&1 | tee "$out" | grep -vE "^\s*(Start|[0-9]+/[0-9]+ Test)" || true
  local line total bad
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$out" | tail -1)
  if [ -z "$line" ]; then
    echo "[$p] no test summary"; broken+=("$p"); return
  fi
  total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")
  bad=$(sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/' <<<"$line")
  passed=$((passed + total - bad))
  failed=$((failed + bad))
  [ "$bad" = 0 ] || broken+=("$p")
}

for p in "${presets[@]}"; do
  echo "=== $p"
  case "$p" in
    windows)
      # The Windows tests run from the build that ships, the 32-bit one, wherever the
      # kernel starts 32-bit programs (check, never assume: some kernels have IA-32
      # emulation switched off); elsewhere, or with PAGINOR_WINDOWS_TESTS=win64, from the
      # 64-bit build under wine64. Both builds are compiled every time; the 64-bit one
      # comes first, as its stand-in browsers are the 64-bit browsers of the mixed cases.
      route=win64
      if [ "${PAGINOR_WINDOWS_TESTS:-}" != win64 ] && /usr/lib/wine/wine --version >/dev/null 2>&1; then
        route=win32
      fi
      windows_route="$route ($([ $route = win32 ] && echo "32-bit build under wine" || echo "64-bit build under wine64"))"
      echo "Windows tests from the $windows_route"
      start=$SECONDS
      if [ $route = win32 ]; then
        build win64 || { broken+=(win64-build); continue; }
        build win32 -DPAGINOR_TESTS=ON || { broken+=(win32-build); continue; }
      else
        build win32 -DPAGINOR_TESTS=OFF || { broken+=(win32-build); continue; }
        build win64 || { broken+=(win64-build); continue; }
      fi
      run_tests $route
      echo "[windows] $windows_route: $((SECONDS - start)) s"
      ;;
    *)
      build "$p" || { broken+=("$p-build"); continue; }
      run_tests "$p"
      ;;
  esac
done

echo
[ ${#broken[@]} = 0 ] || echo "failing: ${broken[*]}"
echo "total: $passed passed, $failed failed${windows_route:+ (Windows tests: $windows_route)}"
[ ${#broken[@]} = 0 ] && [ "$failed" = 0 ] && [ "$passed" -gt 0 ]
