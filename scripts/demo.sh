#!/usr/bin/env bash
# Runs Zirka on the example nodes that ship in examples/ and shows what it did:
# examples/node (T-Mail, DOS paths on drive D:), examples/binkd-node (binkd on
# Linux, relative POSIX paths, lower-case lists, long names), examples/argus-node
# (Argus on Windows, drive D:) and examples/qico-node (qico-ng on Linux).
#
#   bash scripts/demo.sh
#
# Each node is copied to a scratch directory first, so the shipped files stay as
# they are. The program is built when needed (build-demo/), after installing what
# is missing when run as root. Then it runs twice on each node: the first run
# counts the sends in the mailer's log (and, on the T-Mail node, writes the bulletin
# of the top downloads), the second finds nothing new, so nothing is counted twice.
# The Argus and qico nodes run once each.
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

# run_zirka <node> <args...>: one run inside the node, with drive D: at the node;
# shows its screen.
run_zirka() {
  local node=$1
  shift
  local status=0
  (cd "$node" && ZIRKA_DRIVE_D=$node "$BUILD/src/zirka" "$@") >"$node.screen" || status=$?
  show <"$node.screen"
  echo "(errorlevel $status)"
}

# show_changes <shipped node> <node> <lists...>: each list against the shipped one.
show_changes() {
  local shipped=$1 node=$2 list
  shift 2
  for list in "$@"; do
    heading "$list (changes against the shipped list)"
    if diff -u --label shipped --label now <(show <"$shipped/$list") <(show <"$node/$list"); then
      echo "(unchanged)"
    fi
  done
}

# The binkd node: its paths are relative to the node's directory, so each run
# starts inside the copy: cd <copy> && zirka -c=etc/zirka.ctl.
binkd_demo() {
  local scratch=$1
  local node=$scratch/binkd-node
  cp -r "$ZIRKA_ROOT/examples/binkd-node" "$node"

  heading "The example binkd node, copied to $node"
  (cd "$node" && find . -type f | sort)

  heading "First run: cd $node && zirka -c=etc/zirka.ctl"
  run_zirka "$node" -c=etc/zirka.ctl
  show_changes "$ZIRKA_ROOT/examples/binkd-node" "$node" files/util/files.bbs files/nodelist/files.bbs \
    files/linux/files.bbs

  heading "Second run: the same sends are not counted again"
  run_zirka "$node" -c=etc/zirka.ctl

  local file found
  for file in log/zirka.rep log/zirka.log; do
    heading "$file"
    # The program creates the files it names in upper case: find either spelling.
    found=$(cd "$node" && find . -ipath "./$file" -print -quit)
    if [[ -n $found ]]; then show <"$node/$found"; echo; else echo "(not written)"; fi
  done
  heading "etc/zirka.ctl after both runs (Last_Time is stored at its end)"
  show <"$node/etc/zirka.ctl" | tail -n 4
}

# mailer_demo <scratch> <node name> <-c= argument> <report> <lists...>: one run on
# a copy of an example node, from inside it, with what it changed and its report.
mailer_demo() {
  local scratch=$1 name=$2 ctl=$3 report=$4
  shift 4
  local node=$scratch/$name found
  cp -r "$ZIRKA_ROOT/examples/$name" "$node"
  heading "The example node $name, copied to $node: zirka $ctl"
  run_zirka "$node" "$ctl"
  show_changes "$ZIRKA_ROOT/examples/$name" "$node" "$@"
  heading "$report"
  found=$(cd "$node" && find . -ipath "./$report" -print -quit)
  if [[ -n $found ]]; then show <"$node/$found"; echo; else echo "(not written)"; fi
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

  show_changes "$ZIRKA_ROOT/examples/node" "$node" FILES/UTIL/FILES.BBS FILES/NODELIST/FILES.BBS

  heading "D:\\FIDO\\TOP.TXT: the bulletin of the node's top downloads (BULLETIN in ZIRKA.CTL)"
  show <"$node/FIDO/TOP.TXT"

  heading "Second run: the same sends are not counted again"
  run_zirka "$node" '-c=D:\FIDO\ZIRKA.CTL'

  for file in FIDO/ZIRKA.REP FIDO/ZIRKA.LOG; do
    heading "D:\\${file//\//\\}"
    if [[ -f $node/$file ]]; then show <"$node/$file"; echo; else echo "(not written)"; fi
  done
  heading "D:\\FIDO\\ZIRKA.CTL after both runs (Last_Time is stored at its end)"
  show <"$node/FIDO/ZIRKA.CTL" | tail -n 4

  binkd_demo "$scratch"
  mailer_demo "$scratch" argus-node '-c=D:\FIDO\ZIRKA.CTL' FIDO/ZIRKA.REP \
    FILES/UTIL/FILES.BBS FILES/NODELIST/FILES.BBS
  mailer_demo "$scratch" qico-node -c=etc/zirka.ctl log/zirka.rep files/util/files.bbs

  echo
  echo "The nodes stay in $scratch for a closer look."
}

main "$@"
