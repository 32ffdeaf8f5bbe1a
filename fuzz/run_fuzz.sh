#!/usr/bin/env bash
# Runs the libFuzzer targets.
#
#   run_fuzz.sh replay BINARY DIR...      run every file in the DIRs once, no mutation
#   run_fuzz.sh fuzz BINARY SECONDS WORK SEEDS SAVED [DICT]
#                                         fuzz one target for SECONDS from its seeds and
#                                         saved regressions, growing a corpus in WORK
#   run_fuzz.sh all BUILD_DIR SECONDS     replay, then fuzz, every target built in
#                                         BUILD_DIR (a -DZIRKA_FUZZ=ON build), with a
#                                         summary of executions per target
#
# A failing input is kept in WORK/artifacts; save it as fuzz/regressions/<target>/<name>
# so that every later run replays it.
set -uo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
export ASAN_OPTIONS="${ASAN_OPTIONS:-halt_on_error=1:detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}"

replay() {
  local binary="$1"
  shift
  local files=()
  local dir
  for dir in "$@"; do
    [[ -d "$dir" ]] || continue
    while IFS= read -r -d '' f; do files+=("$f"); done < <(find "$dir" -type f -print0 | sort -z)
  done
  if ((${#files[@]} == 0)); then
    echo "replay $(basename "$binary"): nothing to replay"
    return 0
  fi
  local log
  log="$(mktemp)"
  if "$binary" -runs=1 "${files[@]}" >"$log" 2>&1; then
    echo "replay $(basename "$binary"): ${#files[@]} input(s) pass"
    rm -f "$log"
    return 0
  fi
  tail -n 60 "$log"
  rm -f "$log"
  echo "replay $(basename "$binary"): FAILED"
  return 1
}

# Prints the number of executions; returns libFuzzer's status.
fuzz() {
  local binary="$1" seconds="$2" work="$3" seeds="$4" saved="$5" dict="${6:-}"
  mkdir -p "$work/corpus" "$work/artifacts"
  local args=(-max_total_time="$seconds" -print_final_stats=1 -timeout=10 -rss_limit_mb=2048
              -max_len=4096 -artifact_prefix="$work/artifacts/")
  [[ -n "$dict" && -f "$dict" ]] && args+=(-dict="$dict")
  local dirs=("$work/corpus" "$seeds")
  [[ -d "$saved" ]] && dirs+=("$saved")
  local status=0
  touch "$work/started"
  "$binary" "${args[@]}" "${dirs[@]}" >"$work/fuzz.log" 2>&1 || status=$?
  local units
  units="$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$work/fuzz.log" | grep -o '[0-9]*$' | tail -n 1)"
  echo "${units:-0}"
  if ((status != 0)); then
    tail -n 60 "$work/fuzz.log" >&2
    echo "failing input(s) of this run, kept in $work/artifacts:" >&2
    find "$work/artifacts" -type f -newer "$work/started" -printf '  %f\n' >&2
  fi
  return "$status"
}

all() {
  local build="$1" seconds="$2"
  local failed=0 summary="" name
  for dir in "$here"/corpus/*/; do
    name="$(basename "$dir")"
    local binary="$build/fuzz/fuzz_$name"
    if [[ ! -x "$binary" ]]; then
      echo "fuzz_$name is not built in $build" >&2
      failed=1
      continue
    fi
    replay "$binary" "$here/corpus/$name" "$here/regressions/$name" || failed=1
    local units status=0
    units="$(fuzz "$binary" "$seconds" "$build/fuzz/work/$name" "$here/corpus/$name" \
             "$here/regressions/$name" "$here/dict/$name.dict")" || status=$?
    if ((status != 0)); then
      failed=1
      summary+="$(printf '  %-15s %10s executions in %ss  FAILED' "$name" "$units" "$seconds")"$'\n'
    else
      summary+="$(printf '  %-15s %10s executions in %ss' "$name" "$units" "$seconds")"$'\n'
    fi
  done
  echo "Fuzzing summary:"
  printf '%s' "$summary"
  return "$failed"
}

mode="${1:-}"
shift || true
case "$mode" in
  replay) replay "$@" ;;
  fuzz) fuzz "$@" ;;
  all) all "$@" ;;
  *)
    echo "usage: $0 replay BINARY DIR... | fuzz BINARY SECONDS WORK SEEDS SAVED [DICT] | all BUILD_DIR SECONDS" >&2
    exit 2
    ;;
esac
