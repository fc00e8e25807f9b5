#!/usr/bin/env bash
# Builds the fuzz targets with clang into build-fuzz/ and runs each one for a while from its
# seed corpus (tests/fuzz/corpus/<target>) and dictionary. Fails when any target finds a
# crash, undefined behaviour, a leak, a hang or a broken invariant; the input that did it is
# kept in build-fuzz/findings/<target>/. Inputs that reached new code stay in
# build-fuzz/corpus/<target> for the next run.
#   tools/fuzz.sh [SECONDS] [TARGET...]     (default: 30 seconds, every target)
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-30}
[ $# -gt 0 ] && shift
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(position_line boat_line feed_reader version_compare tile_grid)

if ! command -v clang++-14 >/dev/null; then
  echo "fuzz: clang++-14 is missing; tools/setup.sh installs it" >&2
  exit 2
fi
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 \
  -DBRISAVELA_FUZZ=ON "${launcher[@]}" >/dev/null
cmake --build build-fuzz -j2 --target "${targets[@]/#/fuzz_}"

status=0
for target in "${targets[@]}"; do
  work=build-fuzz/corpus/$target
  findings=build-fuzz/findings/$target
  log=build-fuzz/$target.log
  mkdir -p "$work" "$findings"
  dict=()
  [ -f "tests/fuzz/$target.dict" ] && dict=(-dict="tests/fuzz/$target.dict")
  if build-fuzz/tests/fuzz/fuzz_"$target" "${dict[@]}" -max_total_time="$seconds" -timeout=10 \
      -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$findings/" \
      "$work" "tests/fuzz/corpus/$target" >"$log" 2>&1; then
    result=ok
  else
    result="FINDING (see $log and $findings/)"
    status=1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  coverage=$(grep -oE 'cov: [0-9]+ ft: [0-9]+' "$log" | tail -1)
  echo "fuzz $target: ${runs:-?} runs, ${coverage:-no coverage line}, $result"
done
exit $status
