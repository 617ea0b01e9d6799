#!/usr/bin/env bash
# The format check and clang-tidy over the program's sources, with the tree's .clang-format and
# .clang-tidy. Needs a configured build directory for its compile commands (default build/test).
# Prints each finding; fails when there is one.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-${TOLM_TEST_BUILD_DIR:-$root/build/test}}
cd "$root"

program=(core formats toolkit link register download maintenance viewer health app sim tools docs)
status=0

# Every source file of the tree (a checkout need not be a git repository).
sources_of() {
  find "$@" -path '*/build' -prune -o \( -name '*.cpp' -o -name '*.h' \) -type f -print | sort
}

echo "lint: clang-format"
unformatted=$(sources_of "${program[@]}" tests fuzz bench |
  xargs clang-format --dry-run --Werror 2>&1 | grep -E 'error:' | cut -d: -f1 | sort -u || true)
if [[ -n "$unformatted" ]]; then
  echo "$unformatted"
  echo "lint: the files above are not formatted (clang-format -i FILE)"
  status=1
fi

echo "lint: clang-tidy"
mapfile -t sources < <(sources_of "${program[@]}" | grep '\.cpp$')
out=$(run-clang-tidy -quiet -j "${TOLM_LINT_JOBS:-2}" -p "$build" "${sources[@]/#/$root/}" 2>/dev/null |
  grep -E '(warning|error): ' | sort -u || true)
if [[ -n "$out" ]]; then
  echo "$out"
  echo "lint: clang-tidy found $(wc -l <<<"$out") finding(s)"
  status=1
fi
exit "$status"
