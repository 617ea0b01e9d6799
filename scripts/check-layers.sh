#!/usr/bin/env bash
# Keeps the layers true: every source file of the tree belongs to the folder of scripts/layers.txt
# that holds it (the longest that does), and includes only its own folder, the folders and files
# that line names, and the Qt modules it names ("Chart" is the chart component, "Settings" the
# raw settings store). Relative includes are resolved first; a folder
# that the table does not name is an error, and no file is exempt because of its name.
#   scripts/check-layers.sh [--root DIR] [--table FILE]
# Prints every offending include and exits 1 when there is one.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
table=""
while (($#)); do
  case $1 in
    --root) root=$(cd "$2" && pwd); shift 2 ;;
    --table) table=$2; shift 2 ;;
    *) echo "usage: check-layers.sh [--root DIR] [--table FILE]" >&2; exit 2 ;;
  esac
done
table=${table:-$root/scripts/layers.txt}
[[ -r $table ]] || { echo "layers: no table $table" >&2; exit 2; }
cd "$root"

# Which Qt module each class header belongs to ("QWidget QtWidgets"), from the installed headers.
qt_dir=$(dirname "$(find /usr/include -maxdepth 4 -type d -name QtCore 2>/dev/null | head -1)" 2>/dev/null || true)
classes=$(mktemp)
trap 'rm -f "$classes"' EXIT
if [[ -n "$qt_dir" && -d "$qt_dir" ]]; then
  for module in "$qt_dir"/Qt*; do
    [[ -d $module ]] || continue
    name=$(basename "$module")
    find "$module" -maxdepth 1 -type f -name 'Q*' -printf "%f $name\n" 2>/dev/null |
      grep -E '^Q[A-Za-z0-9]+ ' || true
  done >"$classes"
fi

# The sources: every C++ file of the tree but the build folders.
mapfile -t files < <(find . \( -path ./.git -o -path './build*' -o -name '.?*' \) -prune -o \
  -type f \( -name '*.h' -o -name '*.cpp' \) -print | sed 's|^\./||' | sort)
[[ ${#files[@]} -gt 0 ]] || { echo "layers: no sources under $root" >&2; exit 2; }

# First every file ("F<TAB>path"), then every include line ("I<TAB>file<TAB>line<TAB>text"); one
# awk run judges them all.
{
  printf 'F\t%s\n' "${files[@]}"
  for f in "${files[@]}"; do
    grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]' "$f" | sed "s|^|I\t$f\t|; s|:|\t|" || true
  done
} | awk -F'\t' -v tableFile="$table" -v classFile="$classes" '
function trim(s) { gsub(/^[ \t]+|[ \t]+$/, "", s); return s }
# The folder of the table that holds a path: the longest folder that is a prefix of it.
function layerOf(path,    best, f) {
  best = ""
  for (f in allowed) {
    if (index(path "/", f "/") == 1 && length(f) > length(best)) best = f
  }
  return best
}
# A path with its "." and ".." parts resolved; "" when it climbs out of the tree.
function normal(path,    n, i, parts, out, k) {
  n = split(path, parts, "/")
  k = 0
  for (i = 1; i <= n; i++) {
    if (parts[i] == "" || parts[i] == ".") continue
    if (parts[i] == "..") { if (k == 0) return ""; k--; continue }
    out[++k] = parts[i]
  }
  path = ""
  for (i = 1; i <= k; i++) path = path (i > 1 ? "/" : "") out[i]
  return path
}
function dirOf(path) { return path ~ /\// ? substr(path, 1, match(path, /\/[^\/]*$/) - 1) : "" }
function mayInclude(layer, target, targetLayer,    n, i, list) {
  if (targetLayer == layer) return 1
  n = split(allowed[layer], list, " ")
  for (i = 1; i <= n; i++) if (list[i] == targetLayer || list[i] == target) return 1
  return 0
}
function mayUseQt(layer, module,    n, i, list) {
  n = split(qt[layer], list, " ")
  for (i = 1; i <= n; i++) if ("Qt" list[i] == module || list[i] == module) return 1
  return 0
}
function complain(file, line, what) {
  printf "layers: %s:%s (%s) %s\n", file, line, layerOf(file), what
  failures++
}
BEGIN {
  while ((getline row < tableFile) > 0) {
    sub(/#.*/, "", row)
    if (trim(row) == "") continue
    split(row, cell, "|")
    folder = trim(cell[1])
    allowed[folder] = trim(cell[2]); gsub(/[ \t]+/, " ", allowed[folder])
    qt[folder] = trim(cell[3]); gsub(/[ \t]+/, " ", qt[folder])
  }
  while ((getline row < classFile) > 0) { split(row, c, " "); moduleOf[c[1]] = c[2] }
  failures = 0
}
$1 == "F" {
  inTree[$2] = 1
  if (layerOf($2) == "") { printf "layers: %s is in no folder of the table\n", $2; failures++ }
  next
}
{
  file = $2; line = $3; text = $4
  layer = layerOf(file)
  if (layer == "") next
  if (match(text, /"[^"]+"/)) {
    target = substr(text, RSTART + 1, RLENGTH - 2)
    local = normal(dirOf(file) "/" target)
    if (target ~ /^\.\.?\//) {
      if (local == "") { complain(file, line, "includes \"" target "\", outside the tree"); next }
      resolved = local
    } else if (local in inTree) {
      resolved = local
    } else if (normal(target) in inTree) {
      resolved = normal(target)
    } else {
      next  # generated (moc, ui_) or missing: the compiler tells
    }
    targetLayer = layerOf(resolved)
    if (!mayInclude(layer, resolved, targetLayer))
      complain(file, line, "includes \"" target "\" (" targetLayer ")")
    next
  }
  if (match(text, /<[^>]+>/)) {
    target = substr(text, RSTART + 1, RLENGTH - 2)
    module = ""
    if (target == "qcustomplot.h") module = "Chart"
    else if (target == "QSettings") module = "Settings"  # the store is opened in core/ alone
    else if (target in moduleOf) module = moduleOf[target]
    else if (target ~ /^Qt[A-Za-z]+(\/|$)/) { module = target; sub(/\/.*/, "", module) }
    if (module == "") next  # the standard library or the system
    if (!mayUseQt(layer, module)) complain(file, line, "includes <" target "> (" module ")")
  }
}
END {
  if (failures > 0) { printf "layers: %d include(s) against the layers\n", failures > "/dev/stderr"; exit 1 }
  print "layers: every file keeps to its layer"
}'
