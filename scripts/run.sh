#!/usr/bin/env bash
# Builds TOLM and the simulated unit, starts the simulator on 127.0.0.1 and TOLM against it, with
# TOLM's own demo settings store, home and data directory (never the user's).
#   TOLM_SIM_PORT  the simulator's port (default 4242)
#   TOLM_SIM_ARGS  more options for quor-sim, e.g. "--mode main-upload" or "--erase-ms 5000"
# Arguments are passed on to tolm (e.g. -l1 -pvrkzt).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TOLM_RUN_BUILD_DIR:-$root/build/run}
demo=${TOLM_DEMO_DIR:-$root/build/demo}

"$root/scripts/setup.sh"

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" ]]; then
  echo "run: no display found. TOLM is a desktop program; start it under a virtual display:" >&2
  echo "  xvfb-run -a $0" >&2
  echo "(or set QT_QPA_PLATFORM=offscreen to run it without showing anything)" >&2
  exit 2
fi

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTOLM_TESTS=OFF -DTOLM_BENCH=OFF >/dev/null
cmake --build "$build" -j2 --target tolm quor-sim tolm-demo-register

# The demo's own home: settings store, communication log, response files, data directory.
mkdir -p "$demo/home/.config/Korvel" "$demo/runtime"
chmod 700 "$demo/runtime"
export HOME="$demo/home"
export XDG_CONFIG_HOME="$demo/home/.config"
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$demo/runtime}"
settings="$XDG_CONFIG_HOME/Korvel/QUOR.conf"
first_run=0
[[ -f "$settings" ]] || first_run=1

# set_general KEY VALUE: writes one key of the settings store's [General] section.
set_general() {
  local key=$1 value=$2 tmp
  [[ -f "$settings" ]] || printf '[General]\n' >"$settings"
  grep -q '^\[General\]' "$settings" || { tmp=$(cat "$settings"); printf '[General]\n\n%s\n' "$tmp" >"$settings"; }
  tmp=$(mktemp)
  awk -v k="$key" -v v="$value" '
    /^\[/ { section = $0 }
    section == "[General]" && index($0, k "=") == 1 { next }
    { print }
    $0 == "[General]" { print k "=" v }
  ' "$settings" >"$tmp" && mv "$tmp" "$settings"
}
port=${TOLM_SIM_PORT:-4242}
set_general "IP%20Address" "127.0.0.1"
set_general "Port" "$port"
set_general "DataDir" "$demo/home/QUOR-data"
# On the demo's first run only, two sample aircraft whose engines the simulator serves, so that
# F5, F5, F5 downloads at once. Their data lands under build/demo/home/QUOR-data.
if ((first_run)); then
  "$build/bin/tolm-demo-register"
fi

# shellcheck disable=SC2086
"$build/bin/quor-sim" --port "$port" ${TOLM_SIM_ARGS:-} &
sim=$!
trap 'kill "$sim" 2>/dev/null; wait "$sim" 2>/dev/null' EXIT
sleep 0.5
kill -0 "$sim" 2>/dev/null || { echo "run: the simulated unit did not start (port $port in use?)" >&2; exit 1; }

"$build/bin/tolm" "$@"
