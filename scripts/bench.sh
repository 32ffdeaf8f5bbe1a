#!/usr/bin/env bash
# Measures Zirka's speed and memory: Google Benchmark over the hot paths, then
# whole runs of the release build on generated nodes whose logs differ in size
# (time and peak memory of each), to show that the run is linear in the size of
# the logs and that its memory does not grow with them.
#
#   bash scripts/bench.sh [log MiB ...]      (default: 128 512)
set -euo pipefail

ZIRKA_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${ZIRKA_BENCH_BUILD_DIR:-$ZIRKA_ROOT/build-bench}
SCRATCH=${ZIRKA_BENCH_SCRATCH:-$(mktemp -d)}
# shellcheck source=scripts/common.sh
source "$ZIRKA_ROOT/scripts/common.sh"

ensure_packages cmake make g++ libbenchmark-dev time
configure_and_build "$BUILD" -DCMAKE_BUILD_TYPE=Release -DZIRKA_BENCH=ON -DZIRKA_BUILD_TESTS=OFF

echo "== Hot paths"
"$BUILD/bench/zirka_bench" --benchmark_counters_tabular=true

echo "== Whole runs (100 areas x 2000 entries, FIRST_ONLY No)"
sizes=("$@")
((${#sizes[@]})) || sizes=(128 512)
for mib in "${sizes[@]}"; do
  node=$SCRATCH/node-$mib
  rm -rf "$node"
  "$BUILD/bench/zirka_make_node" "$node" "$mib" 100 2000
  cp "$BUILD/src/zirka" "$node/fido/zirka"
  # Forced, so that every line of the log is scanned.
  ZIRKA_DRIVE_D=$node /usr/bin/time -f "   log $mib MiB: %e s elapsed, %M KiB peak memory" \
    "$node/fido/zirka" -f >"$node/screen.txt" || true
  tail -n 2 "$node/screen.txt"
  rm -rf "$node"
done
