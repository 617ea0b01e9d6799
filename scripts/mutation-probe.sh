#!/usr/bin/env bash
# The mutation probe: each one-line fault of scripts/mutations.txt (or the file given) is put into
# the tree in turn, the program and its tests built, and the tests that may catch it run; then the
# file is put back. Prints, per fault, "caught" or "SURVIVED" and at the end how many were caught.
# It builds in its own directory (default build/probe, no sanitizers, for speed) and restores
# every file it touched, also when it is interrupted.
#   scripts/mutation-probe.sh [MUTATIONS] [--all]   --all: the whole suite for every fault
# TOLM_PROBE_BUILD_DIR: the build directory; TOLM_PROBE_TIMEOUT: each test's limit in seconds
# (300; a fault that makes a test hang is caught when the limit ends it).
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
list=$root/scripts/mutations.txt
whole=0
for a in "$@"; do
  case $a in
    --all) whole=1 ;;
    *) list=$a ;;
  esac
done
build=${TOLM_PROBE_BUILD_DIR:-$root/build/probe}
limit=${TOLM_PROBE_TIMEOUT:-300}
export QT_QPA_PLATFORM=offscreen
unset DISPLAY WAYLAND_DISPLAY

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTOLM_BENCH=OFF >/dev/null || exit 2
echo "probe: building the tree as it stands"
cmake --build "$build" -j2 >/dev/null || { echo "probe: the tree does not build"; exit 2; }

backup=$(mktemp)
current=""
restore() {
  if [[ -n "$current" ]]; then
    cp "$backup" "$root/$current"
    current=""
  fi
}
trap 'restore; rm -f "$backup"; exit 130' INT TERM

# apply FILE OLD NEW: replaces the one occurrence of OLD ("\n" for a line break) with NEW.
apply() {
  python3 - "$root/$1" "$2" "$3" <<'PY'
import sys
path, old, new = sys.argv[1], sys.argv[2].replace('\\n', '\n'), sys.argv[3].replace('\\n', '\n')
text = open(path).read()
if text.count(old) != 1:
    sys.exit(f"{text.count(old)} occurrences")
open(path, 'w').write(text.replace(old, new))
PY
}

total=0
caught=0
while IFS=$'\t' read -r file old new tests; do
  [[ -z "$file" || "$file" == \#* ]] && continue
  total=$((total + 1))
  label="$file: $old -> $new"
  cp "$root/$file" "$backup"
  current=$file
  if ! why=$(apply "$file" "$old" "$new" 2>&1); then
    echo "probe: cannot apply ($why): $label"
    restore
    continue
  fi
  if ! cmake --build "$build" -j2 >/dev/null 2>&1; then
    echo "not built  $label"
    restore
    continue
  fi
  filter=()
  if ((whole == 0)) && [[ -n "$tests" && "$tests" != "." ]]; then
    filter=(-R "$tests")
  fi
  if ctest --test-dir "$build" -j2 --timeout "$limit" -LE soak -E '^(layers|undeclared_include)' "${filter[@]}" >/dev/null 2>&1; then
    echo "SURVIVED   $label"
  else
    echo "caught     $label"
    caught=$((caught + 1))
  fi
  restore
done <"$list"
rm -f "$backup"
# The last fault's objects are rebuilt from the restored tree on the next run.
echo "probe: $caught of $total faults caught"
