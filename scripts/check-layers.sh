#!/usr/bin/env bash
# Keeps the layers true: fails when a file includes a layer above its own.
#   core/                      Qt Core only, and nothing of the program above core/
#   link/ (but link/ui/)       core/ and link/ only; no window
#   a subsystem's core         register/, download/, maintenance/, viewer/, health/ except their ui/
#                              folders and files named after a window (BRIX..., ...Dialog,
#                              ...Page, ...Window): no window layer, no app/, no ui/, no Qt
#                              Widgets, Qt PrintSupport, Qt UiTools or chart component
#   toolkit/                   nothing of app/, the link or a subsystem
# Prints every offending include and exits 1 when there is one.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

# Header names of the Qt modules that draw windows: the class headers of the installed Qt
# Widgets, PrintSupport and UiTools, and their module headers.
qt_include=$(dirname "$(find /usr/include -maxdepth 4 -type d -name QtWidgets 2>/dev/null | head -1)" 2>/dev/null || true)
window_headers="QtWidgets|QtPrintSupport|QtUiTools|qcustomplot\.h"
if [[ -n "$qt_include" && -d "$qt_include/QtWidgets" ]]; then
  classes=$(ls "$qt_include/QtWidgets" "$qt_include/QtPrintSupport" "$qt_include/QtUiTools" \
    2>/dev/null | grep -E '^Q[A-Za-z0-9]+$' | sort -u | paste -sd'|' -)
  [[ -n "$classes" ]] && window_headers="$window_headers|$classes"
fi

failures=0
# check <file> <extended regex of forbidden include targets> <what the layer is>
check() {
  local file=$1 forbidden=$2 layer=$3 line
  while IFS= read -r line; do
    echo "layers: $file ($layer) includes ${line#*:}"
    failures=$((failures + 1))
  done < <(grep -nE "^[[:space:]]*#[[:space:]]*include[[:space:]]*[<\"]($forbidden)([/>\"]|$)" "$file" || true)
}

program_above_core='toolkit|link|register|download|maintenance|viewer|health|app|sim'
widgets="$window_headers"

sources() { find "$@" -type f \( -name '*.h' -o -name '*.cpp' \) 2>/dev/null | sort; }

for f in $(sources core); do
  check "$f" "$program_above_core|$widgets" "core"
done
for f in $(sources link); do
  [[ $f == link/ui/* ]] && continue
  check "$f" "toolkit|register|download|maintenance|viewer|health|app|sim|link/ui|$widgets" "link core"
done
for subsystem in register download maintenance viewer health; do
  [[ -d $subsystem ]] || continue
  for f in $(sources "$subsystem"); do
    case "$f" in
      */ui/*) continue ;;
    esac
    name=$(basename "$f")
    name=${name%.*}
    # A file named after its window shows that window.
    [[ $name == BRIX* || $name == *Dialog || $name == *Page || $name == *Window ]] && continue
    check "$f" "toolkit|app|[a-z]+/ui|$widgets" "$subsystem core"
  done
done
for f in $(sources toolkit); do
  check "$f" "link|register|download|maintenance|viewer|health|app|sim" "window layer"
done

if ((failures > 0)); then
  echo "layers: $failures include(s) against the layers" >&2
  exit 1
fi
echo "layers: every core keeps to its layer"
