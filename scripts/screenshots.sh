#!/usr/bin/env bash
# Pictures of every page and dialog of TOLM, for a look at its forms: builds TOLM, the simulated
# unit and tolm-screenshots, starts the simulator on 127.0.0.1 and lets tolm-screenshots walk
# through the program at the Administrator level against it, with a fresh settings store, home
# and data directory of its own (never the user's). The pictures land in the folder given
# (default build/screenshots); the controls found squeezed are printed, and the exit status is
# 3 when there is one.
#   TOLM_SHOTS_BUILD_DIR  the build folder (default build/shots)
#   TOLM_SIM_PORT         the simulator's port (default 4343)
# Runs under a virtual display of 1280x1024 when xvfb-run is there, else offscreen.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TOLM_SHOTS_BUILD_DIR:-$root/build/shots}
out=$(mkdir -p "${1:-$root/build/screenshots}" && cd "${1:-$root/build/screenshots}" && pwd)

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTOLM_TESTS=OFF -DTOLM_BENCH=OFF >/dev/null
cmake --build "$build" -j2 --target tolm-screenshots quor-sim tolm-demo-register

demo=$(mktemp -d "${TMPDIR:-/tmp}/tolm-shots.XXXXXX")
sim=
cleanup() {
  [[ -n $sim ]] && { kill "$sim" 2>/dev/null; wait "$sim" 2>/dev/null || true; }
  rm -rf "$demo"
}
trap cleanup EXIT
mkdir -p "$demo/home/.config/Korvel" "$demo/runtime"
chmod 700 "$demo/runtime"
export HOME="$demo/home"
export XDG_CONFIG_HOME="$demo/home/.config"
export XDG_RUNTIME_DIR="$demo/runtime"
port=${TOLM_SIM_PORT:-4343}
printf '[General]\nIP%%20Address=127.0.0.1\nPort=%s\nDataDir=%s\n' "$port" "$demo/home/QUOR-data" \
  >"$XDG_CONFIG_HOME/Korvel/QUOR.conf"
"$build/bin/tolm-demo-register"

"$build/bin/quor-sim" --port "$port" &
sim=$!
sleep 0.5
kill -0 "$sim" 2>/dev/null || { echo "screenshots: the simulated unit did not start (port $port in use?)" >&2; exit 1; }

rm -f "$out"/*.png
export TOLM_SCREENSHOT_DIR="$out"
status=0
if command -v xvfb-run >/dev/null; then
  xvfb-run -a -s "-screen 0 1280x1024x24" "$build/bin/tolm-screenshots" -l1 -pvrkzt || status=$?
else
  QT_QPA_PLATFORM=offscreen "$build/bin/tolm-screenshots" -l1 -pvrkzt || status=$?
fi
echo "screenshots: pictures in $out"
exit "$status"
