#!/usr/bin/env bash
# Runs Zirka on the example binkd node that ships in examples/binkd-node.
#
#   bash scripts/demo_binkd.sh
#
# NOT YET WORKING: the node's control file uses BINKD_CFG and KEEP_NAME_CASE,
# which the program does not read yet; until it does, the runs find no log and
# end with errorlevel 1. This is the demo step for binkd nodes, kept apart from
# scripts/demo.sh until the program supports them.
#
# The node is copied to a scratch directory first, so the shipped files stay as
# they are. Its paths are POSIX paths relative to the node's directory, so each
# run starts inside the copy: cd <copy> && zirka -c=etc/zirka.ctl. The program
# is built when needed (build-demo/), as scripts/demo.sh does.
set -euo pipefail

ZIRKA_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${ZIRKA_DEMO_BUILD_DIR:-$ZIRKA_ROOT/build-demo}
# shellcheck source=scripts/common.sh
source "$ZIRKA_ROOT/scripts/common.sh"

# The program's own files are DOS text (CP866); the node's lists stay as they are.
show() {
  if [[ $(locale charmap 2>/dev/null) == UTF-8 ]] && command -v iconv >/dev/null; then
    iconv -f CP866 -t UTF-8 | tr -d '\r'
  else
    tr -d '\r'
  fi
}

heading() { printf '\n\033[1m%s\033[0m\n' "$*"; }

build() {
  ensure_packages "${ZIRKA_DEMO_PACKAGES[@]}"
  if [[ ! -x $BUILD/src/zirka ]]; then
    echo "== Building zirka in $BUILD"
    cmake -S "$ZIRKA_ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=Release -DZIRKA_BUILD_TESTS=OFF >/dev/null
  fi
  cmake --build "$BUILD" -j2 --target zirka >/dev/null
}

# run_zirka <node>: one run from inside the node; shows its screen.
run_zirka() {
  local node=$1
  local status=0
  (cd "$node" && "$BUILD/src/zirka" -c=etc/zirka.ctl) >"$node.screen" || status=$?
  show <"$node.screen"
  echo "(errorlevel $status)"
}

main() {
  build
  local scratch
  scratch=$(mktemp -d "${TMPDIR:-/tmp}/zirka-binkd-demo.XXXXXX")
  local node=$scratch/binkd-node
  cp -r "$ZIRKA_ROOT/examples/binkd-node" "$node"

  heading "The example binkd node, copied to $node"
  (cd "$node" && find . -type f | sort)

  heading "First run: cd $node && zirka -c=etc/zirka.ctl"
  run_zirka "$node"

  local list
  for list in files/util/files.bbs files/nodelist/files.bbs; do
    heading "$list (changes against the shipped list)"
    if diff -u --label shipped --label now <(show <"$ZIRKA_ROOT/examples/binkd-node/$list") \
      <(show <"$node/$list"); then
      echo "(unchanged)"
    fi
  done

  heading "Second run: the same sends are not counted again"
  run_zirka "$node"

  local file
  for file in log/zirka.rep log/zirka.log; do
    heading "$file"
    # The program writes the names it was given in upper case: find either spelling.
    local found
    found=$(cd "$node" && find . -ipath "./$file" -print -quit)
    if [[ -n $found ]]; then show <"$node/$found"; echo; else echo "(not written)"; fi
  done
  heading "etc/zirka.ctl after both runs (Last_Time is stored at its end)"
  show <"$node/etc/zirka.ctl" | tail -n 4

  echo
  echo "The node stays in $scratch for a closer look."
}

main "$@"
