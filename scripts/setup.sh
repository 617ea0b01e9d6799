#!/usr/bin/env bash
# Installs every package that building, running and testing TOLM needs on Debian 12.
# Quick and silent when everything is already there; uses sudo only when not root.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev qt6-tools-dev qt6-tools-dev-tools
  libqt6sql6-sqlite libsqlite3-dev
  libqcustomplot-dev
  libgtest-dev libgmock-dev libbenchmark-dev libfftw3-dev
  clang libclang-rt-14-dev llvm clang-format clang-tidy
  fonts-dejavu-core locales
  iproute2 util-linux
  tar gzip
  poppler-utils
  xvfb xauth
  dpkg-dev file
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

as_root=()
if [[ $(id -u) -ne 0 ]]; then
  command -v sudo >/dev/null || { echo "setup: installing ${missing[*]} needs root or sudo" >&2; exit 1; }
  as_root=(sudo)
fi
echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq >/dev/null
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
