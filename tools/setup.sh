#!/usr/bin/env bash
# Installs what the build, the tests and the screenshots need, then configures and builds
# into build/ (or $BUILD_DIR, as $BUILD_TYPE): everything, or only the targets named as
# arguments. SANITIZE=1 builds with AddressSanitizer and UndefinedBehaviorSanitizer (meant
# for BUILD_TYPE=Debug). Safe to run again: apt is asked only for packages that are missing.
#   tools/setup.sh [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  build-essential cmake ninja-build ccache pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libqt6sql6-sqlite libgl-dev
  libsodium-dev libsqlite3-dev
  xvfb xauth xdotool imagemagick fonts-dejavu-core fonts-liberation2
  libxml2-utils gdal-bin desktop-file-utils appstream dpkg-dev
  clang-14 libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  as_root=()
  [ "$(id -u)" -eq 0 ] || as_root=(sudo)
  echo "Installing: ${missing[*]}"
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
build_dir="${BUILD_DIR:-build}"
sanitize=OFF
[ "${SANITIZE:-0}" = 1 ] && sanitize=ON
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" \
  -DBRISAVELA_SANITIZE="$sanitize" "${launcher[@]}" >/dev/null
if [ $# -gt 0 ]; then
  cmake --build "$build_dir" -j2 --target "$@"
else
  cmake --build "$build_dir" -j2
fi
