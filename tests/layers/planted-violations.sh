#!/usr/bin/env bash
# The layer check against a small tree shaped like the real one: clean, it passes; with one
# violation of each kind planted, it fails and names the planted include.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
check="$root/scripts/check-layers.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

clean() {
  rm -rf "$work/tree"
  mkdir -p "$work/tree/scripts"
  cp "$root/scripts/layers.txt" "$work/tree/scripts/"
  local f
  for f in core/Clock.h toolkit/ZafWindow.h link/CommandTable.h link/LinkContext.h \
           link/ui/UnitLink.h formats/AircraftRecord.h register/ui/AircraftLists.h \
           download/RawFlightFile.h download/ui/BRIXAutoDownload.h maintenance/UploadKind.h \
           maintenance/ui/BRIXEraseProgress.h viewer/Spectrum.h viewer/ui/Plot2D.h \
           health/Trend.h app/BRIXWindow.h sim/UnitSimulator.h tests/support/FakeDialogs.h; do
    mkdir -p "$work/tree/$(dirname "$f")"
    printf '#pragma once\n' >"$work/tree/$f"
  done
  # What the layers allow, so that the clean tree is not empty of includes.
  printf '#include "core/Clock.h"\n#include <QString>\n' >>"$work/tree/link/LinkContext.h"
  printf '#include "link/LinkContext.h"\n#include "toolkit/ZafWindow.h"\n#include <QWidget>\n' \
    >>"$work/tree/link/ui/UnitLink.h"
  printf '#include "link/CommandTable.h"\n' >>"$work/tree/sim/UnitSimulator.h"
  printf '#include "../Spectrum.h"\n#include <qcustomplot.h>\n' >>"$work/tree/viewer/ui/Plot2D.h"
}

failures=0
# plant <name> <file> <line>: the check must fail and name <file>.
plant() {
  local name=$1 file=$2 line=$3 out
  clean
  mkdir -p "$work/tree/$(dirname "$file")"
  printf '%s\n' "$line" >>"$work/tree/$file"
  if out=$("$check" --root "$work/tree" 2>&1); then
    echo "FAIL: $name: the check passed with $file including: $line"
    failures=$((failures + 1))
  elif ! grep -q "$file" <<<"$out"; then
    echo "FAIL: $name: the check failed without naming $file: $out"
    failures=$((failures + 1))
  else
    echo "ok:   $name"
  fi
}

clean
if ! out=$("$check" --root "$work/tree" 2>&1); then
  echo "FAIL: the clean tree does not pass: $out"
  failures=$((failures + 1))
else
  echo "ok:   the clean tree passes"
fi

plant "a layer includes one above it" core/Config.cpp '#include "link/LinkContext.h"'
plant "a core includes a sibling core it may not" register/AircraftStore.cpp '#include "download/RawFlightFile.h"'
plant "a core includes its own windows" download/Filing.cpp '#include "download/ui/BRIXAutoDownload.h"'
plant "a core includes the window layer" maintenance/Steps.cpp '#include "toolkit/ZafWindow.h"'
plant "a relative include climbs into the window layer" viewer/Scan.cpp '#include "../toolkit/ZafWindow.h"'
plant "a relative include climbs out of the tree" viewer/Scan.cpp '#include "../../outside.h"'
plant "a core file named like a window draws one" download/BRIXFiling.cpp '#include <QWidget>'
plant "a core uses Qt Gui" health/Colours.cpp '#include <QColor>'
plant "a core uses a Qt Widgets module path" register/Lists.cpp '#include <QtWidgets/QComboBox>'
plant "windows include a sibling's windows" maintenance/ui/Page.cpp '#include "register/ui/AircraftLists.h"'
plant "the chart component outside the viewer's windows" register/ui/Chart.cpp '#include <qcustomplot.h>'
plant "the window layer includes the program above it" toolkit/ZafTimer.cpp '#include "app/BRIXWindow.h"'
plant "the simulator uses the program's codecs" sim/ResponseFrame.cpp '#include "link/LinkContext.h"'
plant "the raw settings store outside core" viewer/ui/Plot.cpp '#include <QSettings>'
plant "a folder the table does not name" newfolder/Thing.cpp '#include "core/Clock.h"'

if ((failures > 0)); then
  echo "$failures planted violation(s) not caught"
  exit 1
fi
