#!/usr/bin/env bash
# Builds and runs the benchmarks (headless). They are not part of the test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
./tools/setup.sh
export QT_QPA_PLATFORM=offscreen
for b in build/bench/bench_*; do
  echo "== ${b##*/}"
  "$b" "$@"
done
