#!/usr/bin/env bash
# Installs what is needed, builds, starts the bundled demo tracking server (unless one is
# already listening) and then the viewer, from the source root, where it finds its style
# sheet, icons and sprites. The demo server stops when the viewer does.
set -euo pipefail
cd "$(dirname "$0")/.."
./tools/setup.sh

server=""
if ! (exec 3<>/dev/tcp/127.0.0.1/8380) 2>/dev/null; then
  # DEMO_SERVER_ARGS may hold further options, for example "--offer-update 2.25.0".
  # shellcheck disable=SC2086
  ./build/tools/demoserver/brisavela-demoserver --port 8380 ${DEMO_SERVER_ARGS:-} &
  server=$!
  trap 'kill "$server" 2>/dev/null || true' EXIT
  sleep 0.5
fi
./build/app/brisavela "$@"
