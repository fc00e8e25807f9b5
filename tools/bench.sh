#!/usr/bin/env bash
# Builds and runs the benchmarks (headless). They are not part of the test suite.
#   tools/bench.sh            every benchmark at its full size (minutes)
#   tools/bench.sh --smoke    every benchmark on a small race: they still run, nothing is judged
set -euo pipefail
cd "$(dirname "$0")/.."
./tools/setup.sh
export QT_QPA_PLATFORM=offscreen
smoke=false
[ "${1:-}" = "--smoke" ] && smoke=true
declare -A small=(
  [bench_ingest]="5 200 2000 1"
  [bench_race_analysis]="5 500"
  [bench_race_load]="5 500"
  [bench_replay]="5 500 3"
  [bench_replay_additions]="5 500"
  [bench_track_export]="5 500 1"
  [bench_track_index]="5 500"
  [bench_track_memory]="5 500"
)
for b in build/bench/bench_*; do
  [ -f "$b" ] && [ -x "$b" ] || continue
  name=${b##*/}
  echo "== $name"
  if $smoke; then
    # shellcheck disable=SC2086
    timeout 300 "$b" ${small[$name]:-}
  else
    "$b"
  fi
done
