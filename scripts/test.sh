#!/usr/bin/env bash
# Builds TOLM with AddressSanitizer and UndefinedBehaviorSanitizer, every warning an error, and
# runs the whole test suite; then checks the format and runs clang-tidy; then builds the fuzz
# targets with clang and runs each briefly.
# The suite runs inside a fresh network namespace where only loopback exists, when the
# privilege for it is there, so that no test can reach any address but 127.0.0.1.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TOLM_TEST_BUILD_DIR:-$root/build/test}

"$root/scripts/setup.sh"
"$root/scripts/check-layers.sh"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTOLM_SANITIZE=ON -DTOLM_WERROR=ON >/dev/null
cmake --build "$build" -j2

# Tests never see the user's home, settings or display.
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/tests/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
unset DISPLAY WAYLAND_DISPLAY

# The download's fault soak takes minutes: it runs alone with "ctest -L soak".
run_ctest="ctest --test-dir '$build' --output-on-failure -j2 --timeout 600 -LE soak"
status=0
if unshare -n true 2>/dev/null; then
  echo "test: running the suite in its own network namespace (loopback only)"
  unshare -n sh -c "ip link set lo up && $run_ctest" || status=$?
else
  echo "test: no privilege for a network namespace; running the suite directly"
  eval "$run_ctest" || status=$?
fi

# The format check and clang-tidy over the program's sources.
echo "test: format and lint"
"$root/scripts/lint.sh" "$build" || status=$?

# The fuzz targets, built with clang: every seed, then a few seconds each, so that they keep
# building and running (scripts/fuzz.sh SECONDS runs them longer).
echo "test: fuzz targets"
TOLM_FUZZ_BUILD_DIR="$build-fuzz" "$root/scripts/fuzz.sh" 5 || status=$?
exit "$status"
