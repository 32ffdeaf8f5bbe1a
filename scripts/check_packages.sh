#!/usr/bin/env bash
# Builds the Debian package and the Windows ZIP with CPack and checks what is in
# them, then runs the program from each on a copy of the example node.
#
#   bash scripts/check_packages.sh <native release build> <MinGW build> <wine loader>
#
# Both builds must be configured and built already (scripts/test.sh, stage
# "package", does it). Packages and scratch trees go to <native build>/package-check.
set -euo pipefail

ZIRKA_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
NATIVE=$(cd "$1" && pwd) MINGW=$(cd "$2" && pwd) WINE=$3
WORK=$NATIVE/package-check
VERSION=$(sed -n 's/^project(zirka VERSION \([0-9.]*\).*/\1/p' "$ZIRKA_ROOT/CMakeLists.txt")

fail() { echo "package check FAILED: $*" >&2; exit 1; }
step() { echo "-- $*"; }

# The sorted file names (not directories) of a .deb, without the leading "./".
deb_files() { dpkg-deb -c "$1" | awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 }' | sort; }

# same_list <what> <expected (one a line)> <actual>
same_list() {
  if [[ $2 != "$3" ]]; then
    diff <(echo "$2") <(echo "$3") >&2 || true
    fail "$1 differs from what is expected (- expected, + found)"
  fi
}

# lint_pages <page...>: mandoc without any message, and man renders each page
# without a complaint.
lint_pages() {
  local page out
  mandoc -T lint -W warning "$@" || fail "mandoc -T lint: $*"
  for page in "$@"; do
    out=$(MANWIDTH=80 man -l "$page" 2>&1 >/dev/null) || fail "man -l $page"
    [[ -z $out ]] || fail "man -l $page: $out"
    MANWIDTH=80 man -l "$page" 2>/dev/null | grep -q '^NAME' || fail "man -l $page shows no NAME"
  done
}

# fresh_node <dir>: a copy of the example node, the drive D: of a run.
fresh_node() {
  rm -rf "$1"
  cp -r "$ZIRKA_ROOT/examples/node" "$1"
}

# check_counted <node> <errorlevel> <what ran>: the first run on the example node
# ends with errorlevel 0 and raises ARJ250.EXE's counter from [003] to [006].
check_counted() {
  [[ $2 == 0 ]] || { cat "$1.screen" >&2; fail "$3 ended with errorlevel $2, not 0"; }
  grep -q '^ARJ250.EXE   \[006\]' "$1/FILES/UTIL/FILES.BBS" ||
    fail "$3 did not raise ARJ250.EXE to [006]"
  grep -q '^Last_Time ' "$1/FIDO/ZIRKA.CTL" || fail "$3 stored no Last_Time"
}

# check_preview <node> <errorlevel> <what ran>: a preview of a fresh example node
# (a copy of it in <node>.before) ended with errorlevel 0, showed the changes and
# left every file of the node as it was, adding none (<node>.diff is empty).
check_preview() {
  [[ $2 == 0 ]] || { cat "$1.preview" >&2; fail "$3 -n ended with errorlevel $2, not 0"; }
  grep -aq 'ARJ250.EXE    \[003\] -> \[006\]' "$1.preview" || fail "$3 -n did not show ARJ250.EXE"
  [[ ! -s $1.diff ]] || { cat "$1.diff" >&2; fail "$3 -n changed the node"; }
}

# node_diff <node>: how the node differs from <node>.before, into <node>.diff.
node_diff() { diff -r "$1.before" "$1" >"$1.diff" 2>&1 || true; }

# same_changes <node> <what ran>: the real run changed exactly the list entries the
# preview (<node>.preview) showed, list by list, with the same counter fields.
same_changes() {
  python3 - "$1.before" "$1" "$1.preview" <<'PY' || fail "$2 did not make the changes its preview showed"
import os, re, sys
before, after, preview = sys.argv[1:]
def field(line):
    m = re.match(rb"[^\[]{0,19}(\[[^\]]{0,5}\])", line)
    return m.group(1) if m else b"(none)"
made = []
for area in ("UTIL", "NODELIST"):
    rel = os.path.join("FILES", area, "FILES.BBS")
    old = open(os.path.join(before, rel), "rb").read().split(b"\r\n")
    new = open(os.path.join(after, rel), "rb").read().split(b"\r\n")
    changed = [(n.split()[0], field(o), b"->", field(n)) for o, n in zip(old, new) if o != n]
    if changed:
        made += [(b"D:\\FILES\\" + area.encode() + b"\\FILES.BBS",)] + changed
shown = []
for line in open(preview, "rb").read().replace(b"\r", b"").split(b"\n"):
    if line.startswith(b"D:\\"):
        shown.append((line,))
    elif b" -> " in line:
        shown.append(tuple(line.split()[1:]))
if made != shown:
    print("made: ", made, "\nshown:", shown, file=sys.stderr)
    sys.exit(1)
PY
}

# check_conffile <deb> <unpacked root>: /etc/zirka/zirka.ctl is the package's one
# conffile, the shipped sample, every line of it empty or a comment; with its
# keyword lines taken out of their comments, zirka -t knows every keyword in it.
check_conffile() {
  local ctl=$2/etc/zirka/zirka.ctl control=$WORK/deb-control
  rm -rf "$control"
  dpkg-deb -e "$1" "$control"
  [[ $(cat "$control/conffiles" 2>/dev/null) == /etc/zirka/zirka.ctl ]] ||
    fail "conffiles does not name just /etc/zirka/zirka.ctl"
  cmp -s "$ctl" "$ZIRKA_ROOT/examples/etc/zirka.ctl" || fail "/etc/zirka/zirka.ctl is not the sample"
  ! grep -Eqv '^(;.*)?$' "$ctl" || fail "/etc/zirka/zirka.ctl has a line that is not commented out"
  sed -E 's/^;([A-Z_]+ )/\1/' "$ctl" >"$WORK/uncommented.ctl"
  grep -q '^AREA ' "$WORK/uncommented.ctl" || fail "the sample has no AREA line to take out of its comment"
  "$2/usr/bin/zirka" -t "-c=$WORK/uncommented.ctl" >"$WORK/uncommented.check" || true
  grep -q '^!WARN-Area without a list' "$WORK/uncommented.check" || fail "zirka -t did not check the sample"
  ! grep -q 'unknown keyword' "$WORK/uncommented.check" ||
    fail "the sample holds a keyword that zirka -t does not know: $(grep 'unknown' "$WORK/uncommented.check")"
}

check_deb() {
  step "Debian package"
  rm -f "$NATIVE"/zirka_*.deb
  (cd "$NATIVE" && cpack -G DEB >"$WORK/cpack-deb.log" 2>&1) ||
    { cat "$WORK/cpack-deb.log" >&2; fail "cpack -G DEB"; }
  local deb
  deb=$(echo "$NATIVE"/zirka_"$VERSION"_*.deb)
  [[ -f $deb ]] || fail "no zirka_${VERSION}_*.deb in $NATIVE"

  same_list "the .deb's file list" "$(printf '%s\n' \
    etc/zirka/zirka.ctl \
    usr/bin/zirka \
    usr/share/doc/zirka/README.md \
    usr/share/doc/zirka/examples/ZIRKA.CTL \
    usr/share/man/man1/zirka.1 \
    usr/share/man/man5/zirka.ctl.5 | sort)" "$(deb_files "$deb")"

  local arch
  arch=$(dpkg --print-architecture)
  [[ $(dpkg-deb -f "$deb" Package) == zirka ]] || fail "Package is not zirka"
  [[ $(dpkg-deb -f "$deb" Version) == "$VERSION" ]] || fail "Version is not $VERSION"
  [[ $(dpkg-deb -f "$deb" Architecture) == "$arch" ]] || fail "Architecture is not $arch"
  [[ $(dpkg-deb -f "$deb" Depends) == *libc6* ]] || fail "Depends does not name libc6"
  [[ -n $(dpkg-deb -f "$deb" Maintainer) ]] || fail "no Maintainer"
  [[ -n $(dpkg-deb -f "$deb" Description) ]] || fail "no Description"

  local root=$WORK/deb-root
  rm -rf "$root"
  dpkg -x "$deb" "$root"
  lint_pages "$root/usr/share/man/man1/zirka.1" "$root/usr/share/man/man5/zirka.ctl.5"
  cmp -s "$root/usr/share/doc/zirka/examples/ZIRKA.CTL" \
    "$ZIRKA_ROOT/examples/node/FIDO/ZIRKA.CTL" || fail "the sample ZIRKA.CTL is not the shipped one"
  check_conffile "$deb" "$root"

  local node=$WORK/deb-node status=0
  fresh_node "$node"
  "$root/usr/bin/zirka" --help >"$node.help" || fail "installed zirka --help failed"
  grep -q '^Usage: zirka' "$node.help" || fail "installed zirka --help shows no usage"
  rm -rf "$node.before" && cp -a "$node" "$node.before"
  (cd "$node" && ZIRKA_DRIVE_D=$node "$root/usr/bin/zirka" -n '-c=D:\FIDO\ZIRKA.CTL') \
    >"$node.preview" || status=$?
  node_diff "$node"
  check_preview "$node" "$status" "the installed zirka"
  (cd "$node" && ZIRKA_DRIVE_D=$node "$root/usr/bin/zirka" '-c=D:\FIDO\ZIRKA.CTL') \
    >"$node.screen" || status=$?
  check_counted "$node" "$status" "the installed zirka"
  same_changes "$node" "the installed zirka"
  echo "   $(basename "$deb"): files, conffile, control fields, manual pages, a preview and a run: OK"
}

check_zip() {
  step "Windows ZIP"
  rm -f "$MINGW"/zirka-*.zip
  (cd "$MINGW" && cpack -G ZIP >"$WORK/cpack-zip.log" 2>&1) ||
    { cat "$WORK/cpack-zip.log" >&2; fail "cpack -G ZIP"; }
  local zip=$MINGW/zirka-$VERSION-win64.zip top=zirka-$VERSION-win64
  [[ -f $zip ]] || fail "no $(basename "$zip") in $MINGW"

  local root=$WORK/zip-root
  rm -rf "$root"
  mkdir -p "$root"
  (cd "$root" && cmake -E tar xf "$zip")
  same_list "the ZIP's file list" "$(printf '%s\n' \
    "$top/EXAMPLES/ZIRKA.CTL" "$top/README.TXT" "$top/zirka.exe" | sort)" \
    "$(cd "$root" && find . -type f | sed 's|^\./||' | sort)"
  local text
  for text in "$top/README.TXT" "$top/EXAMPLES/ZIRKA.CTL"; do
    # Every line ends in CR LF: no LF without its CR, no CR doubled.
    python3 - "$root/$text" <<'PY' || fail "$text is not CR LF text"
import sys
data = open(sys.argv[1], "rb").read()
sys.exit(not data.endswith(b"\r\n") or data.count(b"\n") != data.count(b"\r\n")
         or b"\r\r" in data)
PY
  done

  # zirka.exe from the ZIP under Wine, its drive D: the node (tests/e2e does the same).
  local prefix=$WORK/wineprefix node=$WORK/zip-node status=0
  bash "$ZIRKA_ROOT/tests/e2e/wine_prefix.sh" setup "$WINE" "$prefix"
  fresh_node "$node"
  rm -rf "$node.before" && cp -a "$node" "$node.before"
  ln -sfn "$node" "$prefix/dosdevices/d:"
  run_exe() {
    (cd "$node" && unset DISPLAY && WINEPREFIX=$prefix WINEDEBUG=-all \
      "$WINE" "$root/$top/zirka.exe" "$@" '-c=D:\FIDO\ZIRKA.CTL' </dev/null) 2>>"$node.err"
  }
  local preview_status=0
  : >"$node.err"
  run_exe /n >"$node.preview" || preview_status=$?
  node_diff "$node"
  run_exe >"$node.screen" || status=$?
  bash "$ZIRKA_ROOT/tests/e2e/wine_prefix.sh" cleanup "$WINE" "$prefix"
  check_preview "$node" "$preview_status" "zirka.exe from the ZIP under Wine"
  check_counted "$node" "$status" "zirka.exe from the ZIP under Wine"
  same_changes "$node" "zirka.exe from the ZIP under Wine"
  echo "   $(basename "$zip"): files, CR LF text, a preview and a run under Wine: OK"
}

main() {
  mkdir -p "$WORK"
  step "Manual pages in the source tree"
  lint_pages "$ZIRKA_ROOT"/doc/*
  check_deb
  check_zip
}

main "$@"
