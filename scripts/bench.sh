#!/usr/bin/env bash
# Measures Zirka's speed and memory: Google Benchmark over the hot paths, then the
# performance judge, ../shared/bench/measure.sh, on the release build: the floor
# (every input read once, every list copied with fsync), the awk peer and Zirka on
# fresh copies of one generated node, side by side, with their ratios, peak memory
# and the check that Zirka and the peer leave the same counters.
#
#   bash scripts/bench.sh [measure.sh options]   (default: --preset default)
#   bash scripts/bench.sh --preset large         (1 GB of logs, 500,000 entries)
#   bash scripts/bench.sh --scaling              (1x, 2x and 4x the default node)
set -euo pipefail

ZIRKA_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${ZIRKA_BENCH_BUILD_DIR:-$ZIRKA_ROOT/build-bench}
MEASURE=${ZIRKA_MEASURE:-$ZIRKA_ROOT/../shared/bench/measure.sh}
# shellcheck source=scripts/common.sh
source "$ZIRKA_ROOT/scripts/common.sh"

ensure_packages cmake make g++ libbenchmark-dev time python3 mawk
configure_and_build "$BUILD" -DCMAKE_BUILD_TYPE=Release -DZIRKA_BENCH=ON -DZIRKA_BUILD_TESTS=OFF

echo "== Hot paths"
"$BUILD/bench/zirka_bench" --benchmark_counters_tabular=true

echo "== Whole runs: floor, awk peer and zirka ($MEASURE)"
if [[ ! -x $MEASURE ]]; then
  echo "bench.sh: $MEASURE not found; set ZIRKA_MEASURE to the measure.sh to use" >&2
  exit 1
fi
args=("$@")
((${#args[@]})) || args=(--preset default)
"$MEASURE" "$BUILD/src/zirka" "${args[@]}"
