#!/usr/bin/env bash
# Builds the Debian package of the viewer: the usual build (see setup.sh), then
# `cpack -G DEB`, whose dependencies dpkg-shlibdeps reads from the executable. The package
# lands in OUTDIR (default: the build folder).
#   tools/package.sh [OUTDIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${BUILD_DIR:-build}"
out=$(realpath -m "${1:-$build_dir}")
./tools/setup.sh brisavela
mkdir -p "$out"
cpack -G DEB --config "$build_dir/CPackConfig.cmake" -B "$out"
rm -rf "$out/_CPack_Packages"
ls -1 "$out"/brisavela_*.deb
