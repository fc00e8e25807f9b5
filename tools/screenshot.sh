#!/usr/bin/env bash
# Starts the viewer on a private X display with its own data and settings folders, lets a
# list of xdotool steps act on it, and writes a screenshot after each "shot NAME" step.
#
#   tools/screenshot.sh OUTDIR [STEP...]
#   steps: "sleep N", "key KEYS", "click X Y [BUTTON]" (2: middle, which sets a slider where it
#          is clicked), "drag X1 Y1 X2 Y2", "shot NAME", "set KEY=VALUE" (settings,
#          before the start only), "db FILE" (a database file to start with), "demo" (before
#          the start only: the demo server and the demo profile, as the run command has them)
#   VIEWER (default build/app/brisavela) and VIEWER_DIR (default: the source root) name the
#   program to start and its working directory, e.g. an installed viewer started from "/".
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "$1"); shift
mkdir -p "$out"
home=$(mktemp -d /tmp/brisavela-shot-XXXXXX)
export XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config" XDG_CONFIG_DIRS="$home/xdg" TMPDIR="$home/tmp"
mkdir -p "$XDG_DATA_HOME/Brisavela2023" "$XDG_CONFIG_HOME/brisavela.org" "$XDG_CONFIG_DIRS" "$TMPDIR"
settings="$XDG_CONFIG_HOME/brisavela.org/Brisavela.conf"
echo "[General]" > "$settings"

steps=()
demo=""
for step in "$@"; do
  case "$step" in
    demo) demo=1 ;;
    set\ *) echo "${step#set }" >> "$settings" ;;
    db\ *) cp "${step#db }" "$XDG_DATA_HOME/Brisavela2023/brisavela2024.db" ;;
    *) steps+=("$step") ;;
  esac
done

display=:$((90 + RANDOM % 9))
Xvfb "$display" -screen 0 1000x800x24 >/dev/null 2>&1 &
xvfb=$!
viewer=""
server=""
trap 'kill $viewer $xvfb $server 2>/dev/null || true; rm -rf "$home"' EXIT
if [ -n "$demo" ]; then
  live_start=$(( $(date +%s) / 60 * 60 - 1800 ))
  ./build/tools/demoserver/brisavela-demoserver --port 0 --live-start "$live_start" \
    --tile-cache "$home/tiles" >"$home/server.log" &
  server=$!
  for _ in $(seq 100); do grep -q "http://" "$home/server.log" && break; sleep 0.05; done
  url=$(grep -o "http://127.0.0.1:[0-9]*/" "$home/server.log")
  ./build/tools/demoprofile/brisavela-demoprofile --server "$url" --live-start "$live_start"
fi
export DISPLAY=$display
sleep 1
viewer_bin=$(realpath "${VIEWER:-build/app/brisavela}")
(cd "${VIEWER_DIR:-.}" && exec "$viewer_bin") >"$out/viewer.log" 2>&1 &
viewer=$!
sleep 3
for step in "${steps[@]}"; do
  case "$step" in
    sleep\ *) sleep "${step#sleep }" ;;
    key\ *) xdotool search --sync --onlyvisible --class brisavela windowactivate --sync 2>/dev/null || true
            xdotool key ${step#key } ;;
    click\ *) read -r x y button <<<"${step#click }"; xdotool mousemove "$x" "$y" click "${button:-1}" ;;
    drag\ *) read -r x1 y1 x2 y2 <<<"${step#drag }"
            xdotool mousemove "$x1" "$y1" mousedown 1 mousemove "$(( (x1 + x2) / 2 ))" "$y2" mousemove "$x2" "$y2" mouseup 1 ;;
    shot\ *) import -window root "$out/${step#shot }.png" ;;
    *) echo "unknown step: $step" >&2 ;;
  esac
done
