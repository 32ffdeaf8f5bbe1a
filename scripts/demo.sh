#!/usr/bin/env bash
# Runs Zirka on the example node that ships in examples/node and shows what it did.
#
#   bash scripts/demo.sh
#
# The node is copied to a scratch directory first, so the shipped files stay as
# they are. The program is built when needed (build-demo/), after installing what
# is missing when run as root. Then it runs twice: the first run counts the sends
# in the mailer's log, the second finds nothing new, so nothing is counted twice.
set -euo pipefail

ZIRKA_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${ZIRKA_DEMO_BUILD_DIR:-$ZIRKA_ROOT/build-demo}
# shellcheck source=scripts/common.sh
source "$ZIRKA_ROOT/scripts/common.sh"

# OEM (CP866) text as this terminal wants it.
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

# run_zirka <node> <args...>: one run with drive D: at the node; shows its screen.
run_zirka() {
  local node=$1
  shift
  local status=0
  (cd "$node" && ZIRKA_DRIVE_D=$node "$BUILD/src/zirka" "$@") >"$node.screen" || status=$?
  show <"$node.screen"
  echo "(errorlevel $status)"
}

main() {
  build
  local scratch
  scratch=$(mktemp -d "${TMPDIR:-/tmp}/zirka-demo.XXXXXX")
  local node=$scratch/node
  cp -r "$ZIRKA_ROOT/examples/node" "$node"

  heading "The example node, copied to $node (the program's drive D:)"
  (cd "$node" && find . -type f | sort)

  heading "First run: zirka -c=D:\\FIDO\\ZIRKA.CTL"
  run_zirka "$node" '-c=D:\FIDO\ZIRKA.CTL'

  local list
  for list in FILES/UTIL/FILES.BBS FILES/NODELIST/FILES.BBS; do
    heading "D:\\${list//\//\\} (changes against the shipped list)"
    if diff -u --label shipped --label now <(show <"$ZIRKA_ROOT/examples/node/$list") \
      <(show <"$node/$list"); then
      echo "(unchanged)"
    fi
  done

  heading "Second run: the same sends are not counted again"
  run_zirka "$node" '-c=D:\FIDO\ZIRKA.CTL'

  for file in FIDO/ZIRKA.REP FIDO/ZIRKA.LOG; do
    heading "D:\\${file//\//\\}"
    if [[ -f $node/$file ]]; then show <"$node/$file"; echo; else echo "(not written)"; fi
  done
  heading "D:\\FIDO\\ZIRKA.CTL after both runs (Last_Time is stored at its end)"
  show <"$node/FIDO/ZIRKA.CTL" | tail -n 4

  echo
  echo "The node stays in $scratch for a closer look."
}

main "$@"
