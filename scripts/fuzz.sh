#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang and runs each of them: first on its seed
# corpus (fuzz/corpus/<target>/, every seed must pass), then for SECONDS seconds (default 60).
# Prints the executions and findings of every target; exits 1 when any target has a finding.
#   scripts/fuzz.sh [SECONDS]
# New inputs gather in <build>/fuzz/work/<target>/, findings in <build>/fuzz/findings/.
# The build directory is build/fuzz, or TOLM_FUZZ_BUILD_DIR. The targets need no network: they
# run in a network namespace of their own when there is the privilege for one.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TOLM_FUZZ_BUILD_DIR:-$root/build/fuzz}
seconds=${1:-60}
[[ "$seconds" =~ ^[0-9]+$ ]] || { echo "usage: scripts/fuzz.sh [SECONDS]" >&2; exit 2; }

"$root/scripts/setup.sh"

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DTOLM_FUZZ=ON -DTOLM_TESTS=OFF -DTOLM_BENCH=OFF >/dev/null
cmake --build "$build" -j2 --target fuzz

isolate=()
if unshare -n true 2>/dev/null; then
  isolate=(unshare -n)
fi
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

findings=0
mkdir -p "$build/fuzz/findings"
for program in "$build"/fuzz/bin/fuzz_*; do
  name=$(basename "$program")
  [[ "$name" == fuzz_corpus ]] && continue
  target=${name#fuzz_}
  seeds=$root/fuzz/corpus/$target
  work=$build/fuzz/work/$target
  log=$build/fuzz/work/$target.log
  mkdir -p "$work"
  prefix=$build/fuzz/findings/$target-
  status=0
  # Every seed, once; then the timed run, which starts from the seeds and what earlier runs found.
  "${isolate[@]}" "$program" -runs=0 -timeout=60 -artifact_prefix="$prefix" "$seeds" \
    >"$log" 2>&1 || status=$?
  if [[ $status -eq 0 ]]; then
    "${isolate[@]}" "$program" -max_total_time="$seconds" -timeout=60 -print_final_stats=1 \
      -artifact_prefix="$prefix" "$work" "$seeds" >>"$log" 2>&1 || status=$?
  fi
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | tail -1 | grep -o '[0-9]*$' || true)
  if [[ $status -ne 0 ]]; then
    findings=$((findings + 1))
    echo "fuzz: $name: FINDING after ${runs:-0} executions (see $log)"
    grep -E 'broken invariant|ERROR: |runtime error|Test unit written' "$log" | head -5 | sed 's/^/  /'
  else
    echo "fuzz: $name: ${runs:-0} executions in $seconds s, no finding"
  fi
done
[[ $findings -eq 0 ]] || { echo "fuzz: $findings target(s) with findings"; exit 1; }
