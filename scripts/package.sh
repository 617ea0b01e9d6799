#!/usr/bin/env bash
# Builds the Debian package of TOLM (Release, no tests, no benchmarks) and leaves it in
# build/package/tolm_<version>_<architecture>.deb. scripts/package-check.sh installs and tries it.
#   TOLM_PACKAGE_BUILD_DIR  the build directory (default build/package)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TOLM_PACKAGE_BUILD_DIR:-$root/build/package}

"$root/scripts/setup.sh"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DTOLM_TESTS=OFF -DTOLM_BENCH=OFF -DTOLM_SANITIZE=OFF -DTOLM_FUZZ=OFF >/dev/null
cmake --build "$build" -j2
# A package left from an earlier version would be taken for this one.
rm -f "$build"/tolm_*.deb
(cd "$build" && cpack -G DEB)

deb=$(ls "$build"/tolm_*.deb)
echo "package: $deb"
dpkg-deb --field "$deb" Package Version Architecture Depends
