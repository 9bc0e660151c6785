#!/usr/bin/env bash
# Builds the libFuzzer targets with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer, replays each committed corpus and fuzzes each
# target for SECONDS (default 10), FUZZ_JOBS at once (default: one a core):
#   scripts/fuzz.sh [SECONDS]
# FUZZ_TARGETS names the targets to run (default: all six).
# New inputs go to build/fuzz/corpus/<target>, findings to
# build/fuzz/findings/. Exits non-zero when a target fails.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
seconds=${1:-10}

bash scripts/install-deps.sh
out=build/fuzz
if [ ! -f "$out/CMakeCache.txt" ]; then
  cmake -S . -B "$out" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARNWICK_SANITIZE=ON -DTARNWICK_FUZZ=ON \
    -DTARNWICK_TESTS=OFF -DTARNWICK_BENCH=OFF >/dev/null
fi
cmake --build "$out"

read -r -a targets <<<"${FUZZ_TARGETS:-Wildcard BlockList Definitions SquashLog Address Response}"
mkdir -p "$out/findings" "$out/logs"
run_target() {
  local t=$1 prefix=()
  mkdir -p "$out/corpus/$t"
  # The address target looks hosts up: in a network namespace of its own
  # every lookup but localhost fails at once, and nothing leaves the machine.
  [ "$t" = Address ] && prefix=(unshare --net)
  "${prefix[@]}" "$out/tests/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -max_len=8192 -print_final_stats=1 -artifact_prefix="$out/findings/$t-" \
    "$out/corpus/$t" "tests/fuzz/corpus/$t" >"$out/logs/$t.log" 2>&1
}

jobs=${FUZZ_JOBS:-$(nproc)}
declare -A status
pids=()
for t in "${targets[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do sleep 0.2; done
  run_target "$t" &
  pids+=("$!:$t")
done
failed=0
for entry in "${pids[@]}"; do
  if wait "${entry%%:*}"; then status[${entry#*:}]=passed; else status[${entry#*:}]=FAILED; failed=1; fi
done

printf '%-12s %-7s %12s %6s %7s %8s\n' target result runs cov ft corpus
for t in "${targets[@]}"; do
  log="$out/logs/$t.log"
  runs=$(sed -n 's/^Done \([0-9]*\) runs.*/\1/p' "$log" | tail -1)
  last=$(grep -E '^#[0-9]+' "$log" | tail -1)
  cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
  ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
  corp=$(sed -n 's/.* corp: \([0-9]*\).*/\1/p' <<<"$last")
  printf '%-12s %-7s %12s %6s %7s %8s\n' "$t" "${status[$t]}" "${runs:--}" "${cov:--}" "${ft:--}" "${corp:--}"
  if [ "${status[$t]}" != passed ]; then
    echo "--- $log (tail)"
    tail -30 "$log"
  fi
done
exit $failed
