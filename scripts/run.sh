#!/usr/bin/env bash
# Builds TOLM and starts it with its own demo settings store, home and data directory (never the
# user's), talking to a unit on 127.0.0.1.
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
cmake --build "$build" -j2 --target tolm

# The demo's own home: settings store, communication log, response files, data directory.
mkdir -p "$demo/home/.config/Korvel" "$demo/runtime"
chmod 700 "$demo/runtime"
export HOME="$demo/home"
export XDG_CONFIG_HOME="$demo/home/.config"
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$demo/runtime}"
settings="$XDG_CONFIG_HOME/Korvel/QUOR.conf"

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
set_general "IP%20Address" "127.0.0.1"
set_general "DataDir" "$demo/home/QUOR-data"

exec "$build/bin/tolm" "$@"
