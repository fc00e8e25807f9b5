#!/usr/bin/env bash
# Installs what is needed, builds, and starts the viewer from the source root (where it
# finds its style sheet, icons and sprites).
set -euo pipefail
cd "$(dirname "$0")/.."
./tools/setup.sh
exec ./build/app/brisavela "$@"
