#!/usr/bin/env bash
# Builds the viewer and the demo tools (not the tests), starts the bundled demo server on
# the first free port from 8380, prepares the demo's own profile under build/demo-profile
# and starts the viewer in it, from the source root, where it finds its style sheet,
# icons and sprites. A user's real settings and database are never touched. The demo
# server stops when the viewer does.
set -euo pipefail
cd "$(dirname "$0")/.."
./tools/setup.sh brisavela brisavela-demoserver brisavela-demoprofile

port=8380
while (exec 3<>/dev/tcp/127.0.0.1/$port) 2>/dev/null; do
  port=$((port + 1))
  [ $port -lt 8400 ] || { echo "no free port between 8380 and 8399" >&2; exit 1; }
done

profile=$PWD/build/demo-profile
export XDG_DATA_HOME=$profile/data XDG_CONFIG_HOME=$profile/config XDG_CONFIG_DIRS=$profile/xdg
export XDG_CACHE_HOME=$profile/cache
mkdir -p "$XDG_DATA_HOME" "$XDG_CONFIG_HOME" "$XDG_CONFIG_DIRS" "$XDG_CACHE_HOME"

# The live race started half an hour ago; server and profile must agree on when.
live_start=$(( $(date +%s) / 60 * 60 - 1800 ))
# DEMO_SERVER_ARGS may hold further options, for example "--offer-update 2.25.0".
# shellcheck disable=SC2086
./build/tools/demoserver/brisavela-demoserver --port "$port" --live-start "$live_start" \
  --tile-cache "$profile/server-tiles" ${DEMO_SERVER_ARGS:-} &
server=$!
trap 'kill "$server" 2>/dev/null || true' EXIT
for _ in $(seq 100); do
  (exec 3<>/dev/tcp/127.0.0.1/$port) 2>/dev/null && break
  kill -0 "$server" 2>/dev/null || { echo "the demo server did not start" >&2; exit 1; }
  sleep 0.05
done

./build/tools/demoprofile/brisavela-demoprofile --server "http://127.0.0.1:$port/" --live-start "$live_start"
./build/app/brisavela "$@"
