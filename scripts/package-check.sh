#!/usr/bin/env bash
# Installs TOLM's Debian package on this machine with apt-get (sudo when not root) and tries it:
# the installed files, quor-raw, and tolm started under a virtual display with a private home
# and settings store whose unit address is 127.0.0.1, inside a network namespace of its own
# when the machine allows one. The package stays installed: `apt-get remove tolm` removes it.
# Usage: scripts/package-check.sh [PACKAGE.deb]   (default: the one scripts/package.sh built)
# It needs nothing else from the repository, so it can be copied beside a package and run alone.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

deb=${1:-}
if [[ -z "$deb" ]]; then
  shopt -s nullglob
  found=("$here"/../build/package/tolm_*.deb)
  shopt -u nullglob
  [[ ${#found[@]} -eq 1 ]] || { echo "package-check: build the package first (scripts/package.sh) or name it" >&2; exit 2; }
  deb=${found[0]}
fi
deb=$(readlink -f "$deb")
[[ -f "$deb" ]] || { echo "package-check: $deb not found" >&2; exit 2; }

as_root=()
if [[ $(id -u) -ne 0 ]]; then
  command -v sudo >/dev/null || { echo "package-check: installing needs root or sudo" >&2; exit 1; }
  as_root=(sudo)
fi
apt_install() {
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$@" >/dev/null
}

failures=0
ok() { echo "ok:   $*"; }
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

echo "package-check: installing $deb"
"${as_root[@]}" apt-get update -qq >/dev/null
apt_install "$deb"
version=$(dpkg-query -W -f='${Version}' tolm)
ok "tolm $version installed"

# The program and what it looks up beside its executable, wherever the command's link leads.
tolm=$(command -v tolm) || { fail "no tolm command"; exit 1; }
program=$(readlink -f "$tolm")
dir=$(dirname "$program")
missing=()
for f in QUOR.znc Tolm.znc BRIX_AutoDownloadHelp.txt BRIX_ClearHelp.txt BRIX_AircraftInfoHelp.txt \
         BRIX_OtherFunctionsHelp.txt BRIX_UtilitiesHelp.txt DOC-604-Rev3.pdf releasenotes.pdf; do
  [[ -s "$dir/$f" ]] || missing+=("$f")
done
if [[ ${#missing[@]} -eq 0 ]]; then ok "$tolm -> $program, with its resource, help and PDF files"
else fail "missing beside $program: ${missing[*]}"; fi
for pdf in "$dir/DOC-604-Rev3.pdf" "$dir/releasenotes.pdf"; do
  [[ "$(head -c 5 "$pdf" 2>/dev/null)" == "%PDF-" ]] || fail "$pdf is not a PDF"
done

quor_raw=$(command -v quor-raw) || { fail "no quor-raw command"; exit 1; }
for binary in "$program" "$quor_raw"; do
  unresolved=$(ldd "$binary" | grep 'not found' || true)
  if [[ -z "$unresolved" ]]; then ok "$binary: every library found"; else fail "$binary: $unresolved"; fi
done

desktop=/usr/share/applications/tolm.desktop
if [[ -f "$desktop" ]] && grep -qx 'Name=TOLM for QUOR' "$desktop"; then
  exec_cmd=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
  icon=$(sed -n 's/^Icon=//p' "$desktop")
  icons=(/usr/share/icons/hicolor/*/apps/"$icon".*)
  if command -v "$exec_cmd" >/dev/null && [[ -f "${icons[0]}" ]]; then
    ok "desktop entry: Exec=$exec_cmd, Icon=$icon (${#icons[@]} sizes)"
  else
    fail "desktop entry: Exec=$exec_cmd or Icon=$icon not installed"
  fi
else
  fail "no desktop entry named \"TOLM for QUOR\" at $desktop"
fi

# Everything the programs write goes under a private home, removed at the end.
tmp=$(mktemp -d)
tolm_pid=
cleanup() {
  # A tolm left running by a probe that timed out.
  if [[ -n "$tolm_pid" && "$(readlink "/proc/$tolm_pid/exe" 2>/dev/null)" == "$program" ]]; then
    kill "$tolm_pid"
  fi
  rm -rf "$tmp"
}
trap cleanup EXIT
home=$tmp/home
mkdir -p "$home/.config/Korvel" "$home/QUOR-data" "$tmp/runtime"
chmod 700 "$tmp/runtime"
export HOME=$home XDG_CONFIG_HOME=$home/.config XDG_CACHE_HOME=$home/.cache
export XDG_DATA_HOME=$home/.local/share XDG_RUNTIME_DIR=$tmp/runtime
settings=$XDG_CONFIG_HOME/Korvel/QUOR.conf
cat >"$settings" <<EOF
[General]
IP%20Address=127.0.0.1
Port=4242
ConnectTimeout=1
DataDir=$home/QUOR-data
EOF

if "$quor_raw" --help 2>&1 | grep -q '^Usage: quor-raw'; then ok "quor-raw --help"
else fail "quor-raw --help: $("$quor_raw" --help 2>&1 | head -3)"; fi
# The fleet status opens the flight index, an SQLite database: the Qt SQLite driver is there.
if status=$("$quor_raw" status "$home/QUOR-data" 2>"$tmp/quor-raw.err") && [[ "$status" == "Fleet status"* ]]; then
  ok "quor-raw status, over its SQLite flight index"
else
  fail "quor-raw status: $(cat "$tmp/quor-raw.err")"
fi

# The window check needs an X server and xwininfo, installed after the package so that they
# cannot stand in for one of its dependencies.
tools=()
command -v xvfb-run >/dev/null || tools+=(xvfb)
command -v xauth >/dev/null || tools+=(xauth)
command -v xwininfo >/dev/null || tools+=(x11-utils)
if [[ ${#tools[@]} -gt 0 ]]; then
  echo "package-check: installing ${tools[*]} for the window check"
  apt_install --no-install-recommends "${tools[@]}"
fi

# Run inside xvfb-run: starts tolm, waits for its main window (up to 15 s), keeps it at least
# 3 s, lists the top-level windows and ends it.
cat >"$tmp/probe.sh" <<'EOF'
tolm >"$TMP_DIR/tolm.log" 2>&1 &
pid=$!
echo "$pid" >"$TMP_DIR/tolm.pid"
main=
for _ in $(seq 30); do
  sleep 0.5
  kill -0 "$pid" 2>/dev/null || break
  for id in $(xwininfo -root -children | awk '/" TOLM for QUOR ":/ {print $1}'); do
    info=$(xwininfo -id "$id")
    width=$(awk '/Width:/ {print $2}' <<<"$info")
    height=$(awk '/Height:/ {print $2}' <<<"$info")
    if grep -q 'Map State: IsViewable' <<<"$info" && ((width >= 600 && height >= 400)); then
      main="$id ${width}x${height}"
    fi
  done
  [[ -n "$main" ]] && break
done
[[ -n "$main" ]] && sleep 3
if kill -0 "$pid" 2>/dev/null; then echo "running"; else echo "ended"; fi
echo "main window: ${main:-none}"
xwininfo -root -children | grep -E '^ +0x[0-9a-f]+ "' | grep -v '"Qt ' || true
kill "$pid" 2>/dev/null
wait "$pid" 2>/dev/null
exit 0
EOF

isolate=()
if [[ $(id -u) -eq 0 ]] && unshare -n true 2>/dev/null; then
  isolate=(unshare -n)
elif unshare -rn true 2>/dev/null; then
  isolate=(unshare -rn)
fi
where="a network namespace with only loopback"
[[ ${#isolate[@]} -gt 0 ]] || where="this machine's network (no namespace available), unit address 127.0.0.1"
echo "package-check: starting tolm under xvfb-run in $where"
probe=$(TMP_DIR=$tmp timeout 60 "${isolate[@]}" xvfb-run -a -s "-screen 0 1280x1024x24" \
          bash "$tmp/probe.sh" 2>&1) || true
printf '      %s\n' "${probe//$'\n'/$'\n'      }"
tolm_pid=$(cat "$tmp/tolm.pid" 2>/dev/null || true)
if grep -qx running <<<"$probe" && grep -q '^main window: 0x' <<<"$probe"; then
  ok "tolm showed its main window \" TOLM for QUOR \" and ran on for 3 s"
else
  fail "tolm did not come up; its output:"
  sed 's/^/      /' "$tmp/tolm.log" 2>/dev/null || true
fi
grep -q '"Error"' <<<"$probe" && fail "tolm showed an \"Error\" box (a resource file not found?)"
# The program read the private store: it wrote its version there and kept the unit address.
if grep -q '^Version=' "$settings" && grep -qx 'IP%20Address=127.0.0.1' "$settings"; then
  ok "tolm used the private settings store (unit address 127.0.0.1)"
else
  fail "tolm did not use $settings"
fi

if ((failures)); then
  echo "package-check: $failures check(s) failed"
  exit 1
fi
echo "package-check: tolm $version installs and starts"
