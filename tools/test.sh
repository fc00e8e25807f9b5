#!/usr/bin/env bash
# Installs what is needed, builds, and runs the whole test suite headless. BUILD_DIR and
# BUILD_TYPE choose another build (see setup.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
./tools/setup.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "${BUILD_DIR:-build}" --output-on-failure -j2 "$@"
