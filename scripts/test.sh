#!/usr/bin/env bash
# Installs what is missing, builds every configuration and runs every suite:
# native, native under AddressSanitizer and UndefinedBehaviorSanitizer, and the
# 32-bit and 64-bit Windows builds under Wine, and the fuzz targets briefly.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/install-deps.sh
source scripts/build-lib.sh

tarnwick_configure_all
tarnwick_build_all

results=()
failed=0
run_ctest() {
  local name=$1 dir=$2
  echo "== $name: ctest"
  if ctest --test-dir "$dir" --output-on-failure --timeout 900; then
    results+=("$name: passed")
  else
    results+=("$name: FAILED")
    failed=1
  fi
}

run_ctest native build/native
run_ctest sanitized build/asan

source scripts/wine-env.sh
tarnwick_wine_prefix
tarnwick_display_up
tarnwick_wineserver -p
# The first program of a Wine session starts the session's background
# processes (services, device host), which live as long as the persistent
# server. Start them here with their output detached, or they would inherit
# ctest's output pipe and ctest would wait for them until its time-out.
tarnwick_wine cmd /c exit </dev/null >/dev/null 2>&1 || true
trap 'tarnwick_wineserver -k 2>/dev/null || true; tarnwick_display_down' EXIT
if [ "$TARNWICK_WINE32" = 1 ]; then
  run_ctest win32 build/win32
else
  echo "== win32: built, not run: this kernel runs no 32-bit programs, so Wine's 32-bit loader cannot start"
  results+=("win32: built, not run (no 32-bit emulation in this kernel)")
fi
run_ctest win64 build/win64

echo "== fuzzing: each corpus replayed, each target 10 s ('make fuzz' for longer runs)"
if bash scripts/fuzz.sh 10; then
  results+=("fuzzing: passed")
else
  results+=("fuzzing: FAILED")
  failed=1
fi

echo "== benchmarks (short run; 'make bench' for full figures)"
if ! build/native/bench/tarnwick_bench --benchmark_min_time=0.01 >/dev/null; then
  results+=("benchmarks: FAILED")
  failed=1
else
  results+=("benchmarks: ran")
fi

echo
echo "== summary"
printf '  %s\n' "${results[@]}"
python3 scripts/count-tests.py build/native build/asan build/win32 build/win64 || true
exit $failed
